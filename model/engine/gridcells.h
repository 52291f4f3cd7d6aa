#ifndef GRIDCELLS_H
#define GRIDCELLS_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "model/engine/cellsummaries.h"
#include "model/engine/keptallocator.h"
#include "model/engine/packedrows.h"

// The cells of a GridUniverse, one bit a cell as PackedRows reads them,
// shared by its clones until one of them changes its own: a clone of the
// largest grid (128 MiB) costs a pointer, so that a run's thread, the undo
// steps and the saved state can all hold one. What is read off cells that no
// longer change is worked out once for all that share them, on whichever
// thread asks first: the population, the hash, the box of the live cells and, for a large grid, an
// overview of one bit per Block x Block cells that the view draws from when
// zoomed out, so that a picture of the whole grid costs its pixels rather
// than a pass over the cells. The buffer comes from KeptBlocks and goes back there.
class GridCells
{
public:
    using Word = PackedRows::Word;
    using Words = std::vector<Word, KeptAllocator<Word>>;

    // The overview's cells are squares of 2^BlockShift cells a side.
    static constexpr int BlockShift = 3;
    // Cells from which on a grid keeps an overview.
    static constexpr std::int64_t OverviewCells = std::int64_t(1) << 22;

    // `words` holds height rows of PackedRows::wordsPerRow(width) words, the bits past the last column 0.
    GridCells(std::int64_t width, std::int64_t height, Words words);
    GridCells(const GridCells &) = delete;
    GridCells &operator=(const GridCells &) = delete;

    // Dead cells. Throws std::bad_alloc.
    static std::shared_ptr<GridCells> dead(std::int64_t width, std::int64_t height);
    // A copy of the cells to change, sharing nothing. Throws std::bad_alloc.
    std::shared_ptr<GridCells> copy() const;

    PackedRows rows() const { return PackedRows(words.data(), width, height); }
    const Word *data() const { return words.data(); }
    std::size_t size() const { return words.size(); }
    // The cells to change, by the one holder: what was worked out of them is forgotten.
    Word *change();
    // The buffer itself, taken by the one holder, to fill again; the cells are then gone.
    Words release();

    std::uint64_t population() const;
    std::uint64_t hash(std::uint64_t seed) const;
    std::optional<CellRect> boundingBox() const;
    // PackedRows::render(), from the overview where a pixel covers whole blocks of it.
    void render(
        const CellRect &area, int shift, std::uint8_t *pixels, int columns, int rows, std::ptrdiff_t stride) const;
    // Works out the population, hash(seed), bounding box and overview now, where it costs
    // the window nothing: a pass over the cells each.
    void summarise(std::uint64_t seed) const;

private:
    bool hasOverview() const { return width * height >= OverviewCells; }
    // The overview, made first if need be.
    std::shared_ptr<const std::vector<Word>> overview() const;
    std::vector<Word> makeOverview() const;

    std::int64_t width;
    std::int64_t height;
    Words words;
    // The overview: rows of wordsPerRow(blocks across) words.
    mutable CellSummaries<std::vector<Word>> summaries;
};

#endif // GRIDCELLS_H
