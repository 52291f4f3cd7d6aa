#ifndef STATEGRID_H
#define STATEGRID_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "model/engine/rule.h"
#include "model/engine/statecells.h"
#include "model/engine/universe.h"

// The cells of a bounded surface one byte each, 0..255, for the rules the
// bit-sliced step of GridUniverse cannot run: more than two states, shapes
// of neighbours rather than counts, other neighbourhoods. Each generation
// looks every cell's neighbours up in a copy of the grid with a border one
// cell wide around it, which the edge rule fills as Topology::wrap() says:
// dead beyond a plane's edges, the cells the edges join elsewhere. Copies
// share the cells (StateCells) until one of them changes its own.
class StateGrid
{
public:
    // All cells 0. Precondition: `shape` is a valid bounded surface other
    // than the classic field. Throws std::bad_alloc when the cells do not fit.
    explicit StateGrid(const Topology &shape);
    // The states of `bytes`, row after row. Precondition: bytes.size() is the shape's width * height.
    StateGrid(const Topology &shape, StateBytes bytes);

    // 0 outside the grid.
    std::uint8_t state(std::int64_t x, std::int64_t y) const
    {
        return x >= 0 && y >= 0 && x < width && y < height ? cells->bytes()[index(x, y)] : 0;
    }
    // Precondition: (x, y) inside the grid.
    void setState(std::int64_t x, std::int64_t y, std::uint8_t state) { change()[index(x, y)] = state; }

    // Puts every cell in state `to[state]`, in one pass, and only if that
    // changes a state; reads no cell where `to` changes none.
    void remap(const std::uint8_t (&to)[256]);
    // Sets every cell of `area` to `state`, or every cell outside it to 0; `area` may reach past the grid.
    void fill(const CellRect &area, std::uint8_t state);
    void clearOutside(const CellRect &area);
    // Sets each cell of `area` to 1 or 0 from the bits RandomBits(density, seed) draws, row by row.
    void fillRandom(const CellRect &area, double density, std::uint64_t seed);

    // Calls `visit` for every cell not 0 inside `area`, row by row from the top, each row from the left.
    void forEachCell(const CellRect &area,
        const std::function<void(std::int64_t x, std::int64_t y, std::uint8_t state)> &visit) const;
    // Writes the rows as bits, 64 cells a word from the left, the bit of
    // cell x being x % 64 of word x / 64 of its row: 1 for a live cell, one
    // in state 1 or, with `odd`, in any odd state, as under history rules.
    // Row y starts at words + y * rowWords. Precondition: rowWords * 64 >=
    // the width, and `words` holds the height * rowWords words.
    void pack(bool odd, std::uint64_t *words, std::int64_t rowWords) const;
    // Cells not 0.
    std::uint64_t population() const { return cells->population(); }
    // The smallest rectangle holding every cell not 0.
    std::optional<CellRect> boundingBox() const { return cells->boundingBox(); }
    // As Universe::render(): a pixel holds the lowest state of its cells not 0, or 0.
    void render(
        const CellRect &area, int shift, std::uint8_t *pixels, int columns, int rows, std::ptrdiff_t stride) const
    {
        cells->render(area, shift, pixels, columns, rows, stride);
    }

    // One generation of `rule`; returns whether any cell changed. Throws
    // std::bad_alloc, changing nothing, when the generation being computed
    // does not fit in memory. Precondition: every state < rule.stateCount().
    bool step(const Rule &rule);

    // A digest of the states and where they are, starting from `seed`.
    std::uint64_t hash(std::uint64_t seed) const { return cells->hash(seed); }
    // Works out population(), hash(seed), boundingBox() and the overviews
    // render() draws from, for this grid and every copy sharing its cells.
    void summarise(std::uint64_t seed) const { cells->summarise(seed); }
    bool operator==(const StateGrid &other) const
    {
        return cells == other.cells || cells->bytes() == other.cells->bytes();
    }

private:
    std::size_t index(std::int64_t x, std::int64_t y) const { return static_cast<std::size_t>(y * width + x); }
    // The cells to change, copied first if a copy of the grid shares them.
    StateBytes &change();
    // The highest state of any cell, 0..255.
    int highest() const;
    // `area` cut to the grid; none when they share no cell.
    std::optional<CellRect> inside(const CellRect &area) const;
    // Fills the border of `live`, (width + 2) x (height + 2) with the grid
    // inside, from the cells just inside the edges.
    void fillBorder(StateBytes &live) const;

    Topology shape;
    std::int64_t width;
    std::int64_t height;
    std::shared_ptr<StateCells> cells; // shared with copies
};

#endif // STATEGRID_H
