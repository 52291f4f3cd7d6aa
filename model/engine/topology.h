#ifndef TOPOLOGY_H
#define TOPOLOGY_H

#include <cstdint>
#include <string>
#include <string_view>

// One cell's place: x grows to the right, y downwards.
struct CellPoint {
    std::int64_t x = 0;
    std::int64_t y = 0;

    bool operator==(const CellPoint &other) const { return x == other.x && y == other.y; }
    bool operator!=(const CellPoint &other) const { return !(*this == other); }
};

// The shape of the world cells live in: the classic 120 x 120 field, a
// bounded plane or a torus of any size, or the unbounded plane. A value
// apart from the engines, so that files, the command line and the window
// name a universe the same way before any of them makes one.
class Topology
{
public:
    enum class Kind {
        Classic, // 120 x 120, dead outside, run by GameField
        Plane, // width x height, dead outside
        Torus, // width x height, each edge wraps to the opposite one
        Unbounded, // the whole plane, run by HashLife
    };

    static constexpr std::int64_t ClassicSize = 120;
    static constexpr std::int64_t MaxBoundedCells = std::int64_t(1) << 30; // width * height of a plane or torus

    // The classic field.
    Topology() = default;
    static Topology classic() { return Topology(); }
    // width, height 1.. with width * height <= MaxBoundedCells; checked by isValid().
    static Topology plane(std::int64_t width, std::int64_t height) { return Topology(Kind::Plane, width, height); }
    static Topology torus(std::int64_t width, std::int64_t height) { return Topology(Kind::Torus, width, height); }
    static Topology unbounded() { return Topology(Kind::Unbounded, 0, 0); }

    Kind kind() const { return shape; }
    bool isBounded() const { return shape != Kind::Unbounded; }
    // Columns and rows of a bounded universe; 0 for the unbounded plane.
    std::int64_t width() const { return columns; }
    std::int64_t height() const { return rows; }
    // Whether the sizes are usable: 1.. each, at most MaxBoundedCells cells.
    bool isValid() const;
    // The cell that pattern files' position (0, 0) stands for: (60, 60) in
    // the classic field, (width / 2, height / 2) in a plane or torus, (0, 0)
    // in the unbounded plane.
    CellPoint centre() const;
    // Its extent for messages: "the field's 120 x 120 cells", "the torus's 500 x 300 cells", or "the
    // unbounded plane, N cells from the origin each way".
    std::string extentText() const;

    bool operator==(const Topology &other) const
    {
        return shape == other.shape && columns == other.columns && rows == other.rows;
    }
    bool operator!=(const Topology &other) const { return !(*this == other); }

private:
    Topology(Kind kind, std::int64_t width, std::int64_t height)
        : shape(kind)
        , columns(width)
        , rows(height)
    {
    }

    Kind shape = Kind::Classic;
    std::int64_t columns = ClassicSize;
    std::int64_t rows = ClassicSize;
};

#endif // TOPOLOGY_H
