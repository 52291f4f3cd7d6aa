#ifndef PACKEDFIELD_H
#define PACKEDFIELD_H

#include <array>
#include <cstdint>

#include "model/engine/gamefield.h"

class Rule;

// The visible 120 x 120 cells of a field in one bit each: 1,920 bytes instead
// of the 59,536 of a cell buffer, so that a long history of fields fits in a
// few MiB, and so that a generation is computed 64 cells at a time: fast
// enough to run a pattern a million generations ahead.
class PackedField
{
public:
    // All cells dead.
    PackedField() = default;

    // The interior of a BufferSize x BufferSize row-pointer buffer, as
    // GameField::snapshot() returns it; only cells equal to 1 count as alive.
    static PackedField fromBuffer(GameField::Cell *const *buffer);
    // Writes every interior cell of such a buffer, 1 alive and 0 dead; the border stays.
    void toBuffer(GameField::Cell **buffer) const;

    // row and column 1..FieldSize, as in a cell buffer.
    bool isAlive(int row, int column) const { return (words[wordIndex(row, column)] >> bitIndex(column)) & 1U; }
    void setAlive(int row, int column, bool alive);
    // The cells as FieldSize rows of two words, laid out as `words` below,
    // for code that works on whole words.
    const std::uint64_t *data() const { return words.data(); }

    // Live cells, 0..CellCount.
    int population() const;
    // A 64-bit digest of the cells: equal fields give equal hashes.
    std::uint64_t hash() const;
    // The next generation under `rule`, with everything beyond the edge dead:
    // exactly what GameField::nextGeneration() gives.
    PackedField next(const Rule &rule) const;

    bool operator==(const PackedField &other) const { return words == other.words; }
    bool operator!=(const PackedField &other) const { return words != other.words; }

private:
    using Word = std::uint64_t;
    static constexpr int WordsPerRow = 2; // columns 1..64, then 65..120 in the low 56 bits
    static constexpr Word LastWordMask = (Word(1) << (GameField::FieldSize - 64)) - 1;

    static int wordIndex(int row, int column) { return (row - 1) * WordsPerRow + (column - 1) / 64; }
    static int bitIndex(int column) { return (column - 1) % 64; }

    // Row r (0-based) in words[2r] and words[2r + 1]; bit i of a word is
    // column 64 * (word within the row) + i + 1. Bits past column 120 stay 0.
    std::array<Word, GameField::FieldSize * WordsPerRow> words {};
};

#endif // PACKEDFIELD_H
