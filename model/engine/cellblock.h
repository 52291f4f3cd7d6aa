#ifndef CELLBLOCK_H
#define CELLBLOCK_H

#include <array>
#include <cstdint>

// 64 x 64 cells on the unbounded plane, moved between engines whole: the
// tiles hold their cells so, and HashLife builds its squares from them far
// faster than cell by cell.
struct CellBlock {
    static constexpr int Level = 6; // the block is a square of 2^Level cells each way

    std::int64_t left; // the top-left cell; both multiples of 64
    std::int64_t top;
    std::array<std::uint64_t, 64> rows; // bit x of rows[y]: the cell (left + x, top + y)
};

#endif // CELLBLOCK_H
