#ifndef KEPTBLOCKS_H
#define KEPTBLOCKS_H

#include <cstddef>

// Where the large grids get their cells, whether a bit or a byte a cell: a
// grid of 16,384 x 16,384 cells takes 32 or 256 MiB, a run makes one every
// generation and Stop converts the saved state into one. Memory fresh from
// the system is paid for page by page when first touched, which costs more
// than a generation's step, so the blocks given up are kept for the next one
// of the same size, laid on large pages, up to KeptBytes for all grids of any
// kind together. Safe to use from any thread; never destroyed, so that grids
// destroyed during the program's exit still give theirs back.
class KeptBlocks
{
public:
    // Bytes of blocks kept unused at most.
    static constexpr std::size_t KeptBytes = std::size_t(256) << 20;
    // Blocks below this many bytes are left to the heap.
    static constexpr std::size_t SmallestKept = std::size_t(1) << 20;

    // A block of `bytes` bytes of unspecified values, aligned as operator new
    // aligns: the latest kept of that size, or a new one. Throws
    // std::bad_alloc, having let go of every kept block first.
    static void *take(std::size_t bytes);
    // Keeps `block`, from take(bytes), for a later take(), letting the oldest
    // go beyond KeptBytes, or frees it.
    static void give(void *block, std::size_t bytes) noexcept;
    // Bytes of the blocks kept now.
    static std::size_t keptBytes();

    KeptBlocks() = delete;
};

#endif // KEPTBLOCKS_H
