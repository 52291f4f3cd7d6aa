#ifndef CELLPLANE_H
#define CELLPLANE_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "model/engine/rule.h"
#include "model/engine/universe.h"

// A finite set of live cells in the unbounded plane, held in squares of
// 64 x 64 bits, that steps one generation at a time. The analysis of a run
// looks at every generation, cuts objects out and steps them alone, many
// thousands of small steps on small patterns; this does each in microseconds
// and copies in a few bytes per square, where the quadtree of HashLife pays
// for its memoisation on every single step.
//
// Cells lie within +-Universe::CoordinateLimit; the rule must not give birth
// on 0 neighbours.
class CellPlane
{
public:
    CellPlane() = default;
    explicit CellPlane(const std::vector<CellPoint> &cells);
    // The live cells of any universe, where they are.
    static CellPlane of(const Universe &universe);

    bool cell(std::int64_t x, std::int64_t y) const;
    // Precondition: |x|, |y| <= Universe::CoordinateLimit.
    void setCell(std::int64_t x, std::int64_t y, bool alive);
    // Sets every cell of `cells` moved by dx, dy to `alive`.
    void setCells(const std::vector<CellPoint> &cells, std::int64_t dx, std::int64_t dy, bool alive);
    void clear() { squares.clear(); }

    bool isEmpty() const { return squares.empty(); }
    std::uint64_t population() const;
    // The smallest rectangle holding every live cell; none when all are dead.
    std::optional<CellRect> boundingBox() const;
    // Every live cell, row by row from the top, each row from the left.
    std::vector<CellPoint> cells() const;
    // The live cells in groups: two cells share a group when both their x and
    // their y differ by at most `reach` (1..2), directly or through others.
    // Each group's cells come row by row; groups in the order of their first cell.
    std::vector<std::vector<CellPoint>> clusters(int reach) const;

    // Advances every cell one generation. Throws UniverseError, leaving the
    // plane as it was, when a cell would pass Universe::CoordinateLimit.
    void step(const Rule &rule);

    // A digest of the live cells and where they are: equal planes give equal hashes.
    std::uint64_t hash() const;
    bool operator==(const CellPlane &other) const;
    bool operator!=(const CellPlane &other) const { return !(*this == other); }

private:
    using Word = std::uint64_t;
    static constexpr int Side = 64;
    using Rows = std::array<Word, Side>; // row r of a square in rows[r], bit i the cell i from its left

    struct SquareKey {
        std::int64_t column; // x / 64, rounded down
        std::int64_t row; // y / 64, rounded down
        bool operator==(const SquareKey &other) const { return column == other.column && row == other.row; }
    };
    struct KeyHash {
        std::size_t operator()(const SquareKey &key) const;
    };
    using Squares = std::unordered_map<SquareKey, Rows, KeyHash>;

    static std::int64_t squareOf(std::int64_t coordinate);
    static bool isEmptySquare(const Rows &rows);
    template <typename Decision> void stepWith(const Decision &decide);

    Squares squares; // no empty square is kept
};

#endif // CELLPLANE_H
