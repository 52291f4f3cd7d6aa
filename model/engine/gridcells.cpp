#include "model/engine/gridcells.h"

#include <algorithm>
#include <cstring>
#include <utility>

GridCells::GridCells(std::int64_t width, std::int64_t height, Words words)
    : width(width)
    , height(height)
    , words(std::move(words))
{
}

std::shared_ptr<GridCells> GridCells::dead(std::int64_t width, std::int64_t height)
{
    Words words(static_cast<std::size_t>(PackedRows::wordsPerRow(width) * height));
    std::fill(words.begin(), words.end(), 0);
    return std::make_shared<GridCells>(width, height, std::move(words));
}

std::shared_ptr<GridCells> GridCells::copy() const
{
    Words copied(words.size());
    std::memcpy(copied.data(), words.data(), words.size() * sizeof(Word));
    return std::make_shared<GridCells>(width, height, std::move(copied));
}

GridCells::Word *GridCells::change()
{
    summaries.forget();
    return words.data();
}

GridCells::Words GridCells::release()
{
    change();
    return std::move(words);
}

std::uint64_t GridCells::population() const
{
    return summaries.population([this] { return rows().population(); });
}

std::uint64_t GridCells::hash(std::uint64_t seed) const
{
    return summaries.hash(seed, [this, seed] { return rows().hash(seed); });
}

std::optional<CellRect> GridCells::boundingBox() const
{
    return summaries.boundingBox([this] { return rows().boundingBox(); });
}

void GridCells::summarise(std::uint64_t seed) const
{
    population();
    hash(seed);
    boundingBox();
    if (hasOverview())
        overview();
}

void GridCells::render(
    const CellRect &area, int shift, std::uint8_t *pixels, int columns, int rows, std::ptrdiff_t stride) const
{
    constexpr std::int64_t BlockMask = (std::int64_t(1) << BlockShift) - 1;
    // A pixel covers whole blocks only if the area starts on one and ends on one or past the cells.
    const bool whole = (area.left & BlockMask) == 0 && (area.top & BlockMask) == 0
        && (area.right >= width - 1 || ((area.right + 1) & BlockMask) == 0)
        && (area.bottom >= height - 1 || ((area.bottom + 1) & BlockMask) == 0);
    if (!hasOverview() || shift < BlockShift || !whole) {
        this->rows().render(area, shift, pixels, columns, rows, stride);
        return;
    }
    const std::shared_ptr<const std::vector<Word>> blocks = overview();
    const CellRect scaled { area.left >> BlockShift, area.top >> BlockShift, area.right >> BlockShift,
        area.bottom >> BlockShift };
    PackedRows(blocks->data(), (width + BlockMask) >> BlockShift, (height + BlockMask) >> BlockShift)
        .render(scaled, shift - BlockShift, pixels, columns, rows, stride);
}

std::shared_ptr<const std::vector<GridCells::Word>> GridCells::overview() const
{
    return summaries.overview([this] { return makeOverview(); });
}

std::vector<GridCells::Word> GridCells::makeOverview() const
{
    static_assert(BlockShift == 3, "a word's bits are gathered a byte to a block");
    const std::int64_t rowWords = PackedRows::wordsPerRow(width);
    const std::int64_t across = (width + 7) / 8;
    const std::int64_t down = (height + 7) / 8;
    const std::int64_t blockWords = PackedRows::wordsPerRow(across);
    std::vector<Word> blocks(static_cast<std::size_t>(blockWords * down), 0);
    std::vector<Word> merged(static_cast<std::size_t>(rowWords));
    for (std::int64_t band = 0; band < down; ++band) {
        std::fill(merged.begin(), merged.end(), 0);
        for (std::int64_t y = 8 * band; y < std::min(8 * band + 8, height); ++y) {
            const Word *row = words.data() + y * rowWords;
            for (std::int64_t k = 0; k < rowWords; ++k)
                merged[static_cast<std::size_t>(k)] |= row[k];
        }
        Word *target = blocks.data() + band * blockWords;
        for (std::int64_t k = 0; k < rowWords; ++k) {
            Word any = merged[static_cast<std::size_t>(k)];
            if (any == 0)
                continue;
            // Bit 8 g of `any` tells whether byte g had a live cell; the multiplication gathers those 8 bits.
            any |= any >> 4;
            any |= any >> 2;
            any |= any >> 1;
            const Word gathered = ((any & 0x0101010101010101ULL) * 0x0102040810204080ULL) >> 56;
            target[k / 8] |= gathered << (8 * (k % 8));
        }
    }
    return blocks;
}
