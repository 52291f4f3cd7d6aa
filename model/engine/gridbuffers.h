#ifndef GRIDBUFFERS_H
#define GRIDBUFFERS_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/engine/largepages.h"

// Where the large grids get their cells: a grid of a billion cells takes
// 128 MiB, and a run makes one every generation. Memory fresh from the system
// is paid for page by page when first touched, which costs more than the
// generation's step itself, so the buffers of grids given up are kept for the
// next grid of the same size, up to KeptBytes, and are laid on large pages.
// Safe to use from any thread.
class GridBuffers
{
public:
    using Word = std::uint64_t;
    using Words = std::vector<Word, LargePages<Word>>;

    // Bytes of buffers kept unused at most.
    static constexpr std::size_t KeptBytes = std::size_t(256) << 20;
    // Buffers below this many bytes are left to the heap.
    static constexpr std::size_t SmallestKept = std::size_t(1) << 20;

    // `count` words of unspecified values: a buffer kept, or a new one.
    // Throws std::bad_alloc, having let go of every kept buffer first.
    static Words take(std::size_t count);
    // Keeps `words` for a later take(), or frees it; leaves it empty.
    static void give(Words &&words) noexcept;
    // Bytes of the buffers kept now.
    static std::size_t keptBytes();

    GridBuffers() = delete;
};

#endif // GRIDBUFFERS_H
