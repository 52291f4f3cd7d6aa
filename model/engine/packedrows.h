#ifndef PACKEDROWS_H
#define PACKEDROWS_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "model/engine/bitmix.h"
#include "model/engine/universe.h"

// Reads cells packed 64 to a word, row after row, the way GridUniverse and
// PackedField keep them, so that counting, hashing, finding, visiting and
// drawing cells work on whole words and answer alike for every packed world.
// Row y (0-based) is in words y * wordsPerRow(width) onwards; bit i of the
// row's word k is the cell x = 64 k + i; bits past the last column are 0.
class PackedRows
{
public:
    using Word = std::uint64_t;

    // `words` holds height rows of wordsPerRow(width) words; not owned, it must
    // outlive this view and stay unchanged while it is read. width, height 1..
    PackedRows(const Word *words, std::int64_t width, std::int64_t height)
        : words(words)
        , width(width)
        , height(height)
        , rowWords(wordsPerRow(width))
    {
    }

    static std::int64_t wordsPerRow(std::int64_t width) { return (width + 63) / 64; }
    // The bits of a row's last word that hold cells.
    static Word lastWordMask(std::int64_t width) { return ~Word(0) >> (63 - (width - 1) % 64); }

    // Cells outside 0..width-1, 0..height-1 read as dead.
    bool cell(std::int64_t x, std::int64_t y) const
    {
        return x >= 0 && y >= 0 && x < width && y < height && ((row(y)[x / 64] >> (x % 64)) & 1U) != 0;
    }
    // Live cells, 0..width * height.
    std::uint64_t population() const;
    bool isEmpty() const;
    // A digest of the cells in which every bit of every word reaches every
    // bit of the result; `seed` tells apart worlds of different shapes.
    std::uint64_t hash(std::uint64_t seed) const;
    // Same size and the same cells.
    bool sameCells(const PackedRows &other) const;

    // hash() worked out from the words handed to it in order, a few at a
    // time, so that cells kept another way (a byte each) can be packed a row
    // at a time and digested alike.
    class Digest
    {
    public:
        explicit Digest(std::uint64_t seed);
        // The next `count` words.
        void add(const Word *next, std::size_t count);
        // hash(seed) of the words added so far.
        std::uint64_t result() const;

    private:
        static constexpr std::size_t Lanes = 8;
        std::uint64_t seed;
        Word lanes[Lanes];
        std::size_t added = 0;
    };

    // The Universe operations of the same names, on these cells.
    std::optional<CellRect> boundingBox() const;
    void forEachLiveCell(const CellRect &area, const std::function<void(std::int64_t, std::int64_t)> &visit) const;
    void render(
        const CellRect &area, int shift, std::uint8_t *pixels, int columns, int rows, std::ptrdiff_t stride) const;

private:
    const Word *row(std::int64_t y) const { return words + y * rowWords; }

    const Word *words;
    std::int64_t width;
    std::int64_t height;
    std::int64_t rowWords;
};

#endif // PACKEDROWS_H
