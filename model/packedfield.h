#ifndef PACKEDFIELD_H
#define PACKEDFIELD_H

#include <bitset>

#include "model/gamefield.h"

// The visible 120 x 120 cells of a field in one bit each: 1,800 bytes instead
// of the 59,536 of a cell buffer, so that a long history of fields fits in a
// few MiB.
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

    bool operator==(const PackedField &other) const { return bits == other.bits; }
    bool operator!=(const PackedField &other) const { return bits != other.bits; }

private:
    std::bitset<GameField::CellCount> bits; // row-major, row 1 column 1 first
};

#endif // PACKEDFIELD_H
