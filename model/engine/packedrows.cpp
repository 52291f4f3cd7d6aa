#include "model/engine/packedrows.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace
{

using Word = PackedRows::Word;

// A portable build cannot assume the processor's bit-count instruction, and
// without it counting a large world costs several times as much: a copy for
// processors that have it is chosen when the program starts.
__attribute__((target_clones("popcnt", "default"))) std::uint64_t countBits(const Word *words, std::size_t count)
{
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < count; ++i)
        total += static_cast<std::uint64_t>(__builtin_popcountll(words[i]));
    return total;
}

// The distance from `origin` up to `value` (value >= origin), exact for any two 64-bit values.
std::uint64_t offset(std::int64_t value, std::int64_t origin)
{
    return static_cast<std::uint64_t>(value) - static_cast<std::uint64_t>(origin);
}

// origin + distance, for a result known to lie within 64 bits.
std::int64_t atOffset(std::int64_t origin, std::uint64_t distance)
{
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(origin) + distance);
}

// Whether any of the bits first..last (inclusive, counted from bit 0 of words[0]) is set.
bool anyBit(const Word *words, std::uint64_t first, std::uint64_t last)
{
    const std::uint64_t firstWord = first / 64;
    const std::uint64_t lastWord = last / 64;
    const Word firstMask = ~Word(0) << (first % 64);
    const Word lastMask = ~Word(0) >> (63 - last % 64);
    if (firstWord == lastWord)
        return (words[firstWord] & firstMask & lastMask) != 0;
    if ((words[firstWord] & firstMask) != 0)
        return true;
    for (std::uint64_t k = firstWord + 1; k < lastWord; ++k) {
        if (words[k] != 0)
            return true;
    }
    return (words[lastWord] & lastMask) != 0;
}

} // namespace

std::uint64_t PackedRows::population() const { return countBits(words, static_cast<std::size_t>(rowWords * height)); }

bool PackedRows::isEmpty() const
{
    const Word *end = words + rowWords * height;
    return std::all_of(words, end, [](Word word) { return word == 0; });
}

std::uint64_t PackedRows::hash(std::uint64_t seed) const
{
    Digest digest(seed);
    digest.add(words, static_cast<std::size_t>(rowWords * height));
    return digest.result();
}

PackedRows::Digest::Digest(std::uint64_t seed)
    : seed(seed)
{
    for (std::size_t lane = 0; lane < Lanes; ++lane)
        lanes[lane] = BitMix::finalise(seed + lane);
}

void PackedRows::Digest::add(const Word *next, std::size_t count)
{
    // Word i goes to lane i % Lanes; eight independent lanes, so that the multiplications overlap.
    std::size_t i = 0;
    for (; i < count && (added + i) % Lanes != 0; ++i)
        lanes[(added + i) % Lanes] = BitMix::fold(lanes[(added + i) % Lanes], next[i]);
    for (; i + Lanes <= count; i += Lanes) {
        for (std::size_t lane = 0; lane < Lanes; ++lane)
            lanes[lane] = BitMix::fold(lanes[lane], next[i + lane]);
    }
    for (; i < count; ++i)
        lanes[(added + i) % Lanes] = BitMix::fold(lanes[(added + i) % Lanes], next[i]);
    added += count;
}

std::uint64_t PackedRows::Digest::result() const
{
    Word result = BitMix::finalise(seed ^ added);
    for (const Word lane : lanes)
        result = BitMix::finalise(result ^ lane);
    return result;
}

bool PackedRows::sameCells(const PackedRows &other) const
{
    return width == other.width && height == other.height
        && std::memcmp(words, other.words, static_cast<std::size_t>(rowWords * height) * sizeof(Word)) == 0;
}

std::optional<CellRect> PackedRows::boundingBox() const
{
    std::vector<Word> columns(static_cast<std::size_t>(rowWords), 0);
    std::int64_t top = -1;
    std::int64_t bottom = -1;
    for (std::int64_t y = 0; y < height; ++y) {
        const Word *cells = row(y);
        Word any = 0;
        for (std::int64_t k = 0; k < rowWords; ++k) {
            columns[static_cast<std::size_t>(k)] |= cells[k];
            any |= cells[k];
        }
        if (any != 0) {
            if (top < 0)
                top = y;
            bottom = y;
        }
    }
    if (top < 0)
        return std::nullopt;
    const auto first = std::find_if(columns.begin(), columns.end(), [](Word word) { return word != 0; });
    const auto last = std::find_if(columns.rbegin(), columns.rend(), [](Word word) { return word != 0; });
    const std::int64_t left = 64 * (first - columns.begin()) + __builtin_ctzll(*first);
    const std::int64_t right = 64 * (columns.rend() - last - 1) + 63 - __builtin_clzll(*last);
    return CellRect { left, top, right, bottom };
}

void PackedRows::forEachLiveCell(
    const CellRect &area, const std::function<void(std::int64_t, std::int64_t)> &visit) const
{
    const std::int64_t xLow = std::max<std::int64_t>(area.left, 0);
    const std::int64_t xHigh = std::min(area.right, width - 1);
    const std::int64_t yLow = std::max<std::int64_t>(area.top, 0);
    const std::int64_t yHigh = std::min(area.bottom, height - 1);
    if (xLow > xHigh || yLow > yHigh)
        return;
    const std::int64_t firstWord = xLow / 64;
    const std::int64_t lastWord = xHigh / 64;
    for (std::int64_t y = yLow; y <= yHigh; ++y) {
        const Word *cells = row(y);
        for (std::int64_t k = firstWord; k <= lastWord; ++k) {
            Word word = cells[k];
            if (k == firstWord)
                word &= ~Word(0) << (xLow % 64);
            if (k == lastWord)
                word &= ~Word(0) >> (63 - xHigh % 64);
            for (; word != 0; word &= word - 1)
                visit(64 * k + __builtin_ctzll(word), y);
        }
    }
}

void PackedRows::render(
    const CellRect &area, int shift, std::uint8_t *pixels, int columns, int rows, std::ptrdiff_t stride) const
{
    if (columns <= 0 || rows <= 0)
        return;
    for (int r = 0; r < rows; ++r)
        std::memset(pixels + r * stride, 0, static_cast<std::size_t>(columns));
    const std::int64_t xLow = std::max<std::int64_t>(area.left, 0);
    const std::int64_t xHigh = std::min(area.right, width - 1);
    const std::int64_t yLow = std::max<std::int64_t>(area.top, 0);
    const std::int64_t yHigh = std::min(area.bottom, height - 1);
    if (xLow > xHigh || yLow > yHigh)
        return;
    const std::uint64_t firstColumn = offset(xLow, area.left) >> shift;
    if (firstColumn >= static_cast<std::uint64_t>(columns))
        return;
    const std::uint64_t lastColumn = std::min<std::uint64_t>(columns - 1, offset(xHigh, area.left) >> shift);
    const std::int64_t firstWord = xLow / 64;
    const std::int64_t wordCount = xHigh / 64 - firstWord + 1;

    // The rows of one pixel row merged into one, then each pixel read off it
    // a whole word at a time where it covers whole words.
    std::vector<Word> merged(static_cast<std::size_t>(wordCount));
    const auto drawRow = [&](std::uint64_t pixelRow) {
        std::uint8_t *line = pixels + static_cast<std::ptrdiff_t>(pixelRow) * stride;
        const std::uint64_t lastOffset = offset(xHigh, area.left);
        for (std::uint64_t column = firstColumn; column <= lastColumn; ++column) {
            // The pixel's cells from..to, clipped to xLow..xHigh; computed
            // from their offsets to area.left, which never overflow.
            const std::uint64_t begin = column << shift;
            const std::uint64_t end = begin + ((std::uint64_t(1) << shift) - 1);
            const std::int64_t from = column == firstColumn ? xLow : atOffset(area.left, begin);
            const std::int64_t to = end >= lastOffset ? xHigh : atOffset(area.left, end);
            line[column] = anyBit(merged.data(), static_cast<std::uint64_t>(from - 64 * firstWord),
                               static_cast<std::uint64_t>(to - 64 * firstWord))
                ? 1
                : 0;
        }
    };
    bool drawing = false;
    std::uint64_t pixelRow = 0;
    for (std::int64_t y = yLow; y <= yHigh; ++y) {
        const std::uint64_t rowOfY = offset(y, area.top) >> shift;
        if (rowOfY >= static_cast<std::uint64_t>(rows))
            break;
        if (!drawing || rowOfY != pixelRow) {
            if (drawing)
                drawRow(pixelRow);
            std::fill(merged.begin(), merged.end(), 0);
            pixelRow = rowOfY;
            drawing = true;
        }
        const Word *cells = row(y) + firstWord;
        for (std::int64_t k = 0; k < wordCount; ++k)
            merged[static_cast<std::size_t>(k)] |= cells[k];
    }
    if (drawing)
        drawRow(pixelRow);
}
