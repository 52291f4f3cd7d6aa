#include "model/engine/statecells.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>

#include "model/engine/bitmix.h"
#include "model/engine/packedrows.h"

namespace
{

// `state` into a pixel holding the lowest state not 0 so far, or 0.
void lowest(std::uint8_t &pixel, std::uint8_t state)
{
    if (state != 0 && (pixel == 0 || state < pixel))
        pixel = state;
}

} // namespace

StateCells::StateCells(std::int64_t width, std::int64_t height, StateBytes bytes)
    : width(width)
    , height(height)
    , cells(std::move(bytes))
{
}

StateBytes &StateCells::change()
{
    summaries.forget();
    return cells;
}

std::uint64_t StateCells::population() const
{
    return summaries.population([this] {
        return static_cast<std::uint64_t>(
            cells.size() - static_cast<std::size_t>(std::count(cells.begin(), cells.end(), 0)));
    });
}

std::optional<CellRect> StateCells::boundingBox() const
{
    return summaries.boundingBox([this] { return findBox(); });
}

std::optional<CellRect> StateCells::findBox() const
{
    std::optional<CellRect> box;
    for (std::int64_t y = 0; y < height; ++y) {
        const auto row = cells.begin() + y * width;
        const auto first = std::find_if(row, row + width, [](std::uint8_t state) { return state != 0; });
        if (first == row + width)
            continue;
        const auto last = std::find_if(std::make_reverse_iterator(row + width), std::make_reverse_iterator(row),
            [](std::uint8_t state) { return state != 0; });
        const std::int64_t left = first - row;
        const std::int64_t right = last.base() - row - 1;
        if (!box)
            box = CellRect { left, y, right, y };
        box->left = std::min(box->left, left);
        box->right = std::max(box->right, right);
        box->bottom = y;
    }
    return box;
}

std::uint64_t StateCells::hash(std::uint64_t seed) const
{
    return summaries.hash(seed, [this, seed] { return findHash(seed); });
}

std::uint64_t StateCells::findHash(std::uint64_t seed) const
{
    // The cells not 0 packed into rows of bits and digested as PackedRows
    // digests the same cells of two states, so that a grid of states 0 and 1
    // hashes alike kept either way; the states past 1 are then mixed in.
    using Word = PackedRows::Word;
    constexpr Word HighBits = 0x8080808080808080ULL;
    constexpr Word Multiplier = 0x9E3779B97F4A7C15ULL;
    PackedRows::Digest digest(seed);
    Word packed[64]; // digested 64 words at a time
    std::size_t held = 0;
    Word beyond = BitMix::finalise(~seed);
    bool anyBeyond = false;
    const std::int64_t rowWords = PackedRows::wordsPerRow(width);
    for (std::int64_t y = 0; y < height; ++y) {
        const std::uint8_t *row = cells.data() + y * width;
        for (std::int64_t k = 0; k < rowWords; ++k) {
            Word word = 0;
            for (std::int64_t x = 64 * k; x < std::min(64 * k + 64, width); x += 8) {
                Word eight = 0;
                std::memcpy(&eight, row + x, static_cast<std::size_t>(std::min<std::int64_t>(8, width - x)));
                // The top bit of each byte not 0, gathered into 8 bits by a multiplication that never carries.
                const Word notZero = (((eight & ~HighBits) + ~HighBits) | eight) & HighBits;
                word |= ((notZero >> 7) * 0x0102040810204080ULL) >> 56 << (x % 64);
                if ((eight & ~Word(0x0101010101010101ULL)) != 0) {
                    anyBeyond = true;
                    beyond = BitMix::fold(beyond, eight ^ static_cast<Word>(y * width + x) * Multiplier);
                }
            }
            packed[held++] = word;
            if (held == std::size(packed)) {
                digest.add(packed, held);
                held = 0;
            }
        }
    }
    digest.add(packed, held);
    return anyBeyond ? BitMix::finalise(digest.result() ^ beyond) : digest.result();
}

void StateCells::summarise(std::uint64_t seed) const
{
    population();
    hash(seed);
    boundingBox();
    overviews();
}

std::shared_ptr<const StateCells::Overviews> StateCells::overviews() const
{
    if (width * height < OverviewCells)
        return nullptr;
    return summaries.overview([this] { return makeOverviews(); });
}

StateCells::Overviews StateCells::makeOverviews() const
{
    Overviews made;
    // Each from the one before, the first from the cells, until one is a few thousand squares.
    std::int64_t columns = width;
    std::int64_t rows = height;
    const std::uint8_t *from = cells.data();
    for (int shift = BlockShift; columns * rows > 4096; shift += BlockShift) {
        Overview next;
        next.shift = shift;
        next.columns = (columns + (1 << BlockShift) - 1) >> BlockShift;
        next.rows = (rows + (1 << BlockShift) - 1) >> BlockShift;
        next.states.assign(static_cast<std::size_t>(next.columns * next.rows), 0);
        for (std::int64_t y = 0; y < rows; ++y) {
            const std::uint8_t *line = from + y * columns;
            std::uint8_t *out = next.states.data() + (y >> BlockShift) * next.columns;
            for (std::int64_t x = 0; x < columns; ++x)
                lowest(out[x >> BlockShift], line[x]);
        }
        columns = next.columns;
        rows = next.rows;
        made.push_back(std::move(next));
        from = made.back().states.data();
    }
    return made;
}

void StateCells::render(
    const CellRect &area, int shift, std::uint8_t *pixels, int columns, int rows, std::ptrdiff_t stride) const
{
    for (int row = 0; row < rows; ++row)
        std::fill(pixels + row * stride, pixels + row * stride + columns, 0);
    if (columns <= 0 || rows <= 0)
        return;
    // The cells the pixels cover, at most 2^62 past area's top-left corner.
    const auto reach = [shift](std::int64_t from, int count) {
        const std::uint64_t pixelCount = static_cast<std::uint64_t>(count);
        const std::uint64_t span
            = 64 - __builtin_clzll(pixelCount) + shift <= 63 ? (pixelCount << shift) - 1 : UINT64_MAX;
        // Unsigned, so that a `from` below 0 cannot overflow.
        const std::uint64_t room = static_cast<std::uint64_t>(INT64_MAX) - static_cast<std::uint64_t>(from);
        return span > room ? INT64_MAX : static_cast<std::int64_t>(static_cast<std::uint64_t>(from) + span);
    };
    const std::optional<CellRect> cut
        = CellRect { area.left, area.top, reach(area.left, columns), reach(area.top, rows) }.intersected(
            CellRect { 0, 0, width - 1, height - 1 });
    if (!cut)
        return;
    // The coarsest overview whose squares each pixel covers whole: the pixels' corners lie on its squares' corners.
    const std::shared_ptr<const Overviews> all = shift >= BlockShift ? overviews() : nullptr;
    const Overview *from = nullptr;
    for (std::size_t level = 0; all && level < all->size(); ++level) {
        const Overview &overview = (*all)[level];
        const std::int64_t mask = (std::int64_t(1) << overview.shift) - 1;
        if (overview.shift <= shift && (area.left & mask) == 0 && (area.top & mask) == 0)
            from = &overview;
    }
    if (from) {
        const int at = from->shift;
        for (std::int64_t y = cut->top >> at; y <= cut->bottom >> at; ++y) {
            std::uint8_t *line = pixels + (((y << at) - area.top) >> shift) * stride;
            const std::uint8_t *squares = from->states.data() + y * from->columns;
            for (std::int64_t x = cut->left >> at; x <= cut->right >> at; ++x)
                lowest(line[((x << at) - area.left) >> shift], squares[x]);
        }
        return;
    }
    for (std::int64_t y = cut->top; y <= cut->bottom; ++y) {
        std::uint8_t *line = pixels + ((y - area.top) >> shift) * stride;
        const std::uint8_t *states = cells.data() + y * width;
        for (std::int64_t x = cut->left; x <= cut->right; ++x)
            lowest(line[(x - area.left) >> shift], states[x]);
    }
}
