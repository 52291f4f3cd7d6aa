#ifndef STATECELLS_H
#define STATECELLS_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "model/engine/cellsummaries.h"
#include "model/engine/keptallocator.h"
#include "model/engine/universe.h"

// The cells of a grid of a byte a cell, row after row.
using StateBytes = std::vector<std::uint8_t, KeptAllocator<std::uint8_t>>;

// The cells of a StateGrid, a byte each, shared by its clones until one of
// them changes its own, as GridCells shares the bits of two states: a clone
// of the largest grid (1 GiB) then costs a pointer, so that a run's thread,
// the undo steps and the saved state can all hold one. What is read off cells
// that no longer change is worked out once for all that share them, on
// whichever thread asks first: the population, the hash, the box of the cells
// not 0 and, for a large grid, overviews of the lowest state not 0 in every
// square of 8, 64, 512, ... cells a side, which render() draws from zoomed
// out, so that a picture of the whole grid costs about its pixels rather than
// a pass over the cells.
class StateCells
{
public:
    // The first overview's squares are 2^BlockShift cells a side, each next one's 2^BlockShift times as wide.
    static constexpr int BlockShift = 3;
    // Cells from which on the cells keep overviews.
    static constexpr std::int64_t OverviewCells = std::int64_t(1) << 22;

    // `bytes` holds `height` rows of `width` states. Precondition: bytes.size() == width * height.
    StateCells(std::int64_t width, std::int64_t height, StateBytes bytes);
    StateCells(const StateCells &) = delete;
    StateCells &operator=(const StateCells &) = delete;

    const StateBytes &bytes() const { return cells; }
    // The cells to change, by their one holder: what was worked out of them is forgotten.
    StateBytes &change();
    // Cells not 0.
    std::uint64_t population() const;
    // The smallest rectangle holding every cell not 0.
    std::optional<CellRect> boundingBox() const;
    // A digest of the states and where they are, starting from `seed`: for
    // states 0 and 1 alone, PackedRows::hash(seed) of the same cells as bits.
    std::uint64_t hash(std::uint64_t seed) const;
    // As Universe::render(): a pixel holds the lowest state not 0 of its
    // cells, or 0; from an overview where each pixel covers whole squares of it.
    void render(
        const CellRect &area, int shift, std::uint8_t *pixels, int columns, int rows, std::ptrdiff_t stride) const;
    // Works out the population, hash(seed), the box and the overviews now,
    // where it costs the window nothing: a pass over the cells each.
    void summarise(std::uint64_t seed) const;

private:
    // The lowest state not 0 of each square of 2^shift cells a side, 0 for none, row after row.
    struct Overview {
        int shift = 0;
        std::int64_t columns = 0;
        std::int64_t rows = 0;
        StateBytes states;
    };
    using Overviews = std::vector<Overview>;

    // The overviews, made first if need be; none for a small grid.
    std::shared_ptr<const Overviews> overviews() const;
    Overviews makeOverviews() const;
    // A pass over the cells each, for the summaries.
    std::optional<CellRect> findBox() const;
    std::uint64_t findHash(std::uint64_t seed) const;

    std::int64_t width;
    std::int64_t height;
    StateBytes cells; // row after row
    mutable CellSummaries<Overviews> summaries;
};

#endif // STATECELLS_H
