#ifndef BYTEBUFFERS_H
#define BYTEBUFFERS_H

#include <cstddef>
#include <cstdint>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

// Where the grids of a byte a cell get their cells, as GridBuffers serves the
// grids of two states: a grid of 16,384 x 16,384 cells takes 256 MiB, a run
// makes one every generation and Stop converts the saved state into one.
// Memory fresh from the system is paid for page by page when first touched,
// which costs more than filling it, so the blocks of byte vectors given up
// are kept for the next vector of the same size, up to KeptBytes, and are
// laid on large pages. A vector made with a size alone is left unfilled:
// whoever makes one writes every byte of it. Safe to use from any thread.
class ByteBuffers
{
public:
    using value_type = std::uint8_t;
    template <typename U> struct rebind {
        static_assert(std::is_same_v<U, std::uint8_t>, "bytes only");
        using other = ByteBuffers;
    };

    // Bytes of blocks kept unused at most.
    static constexpr std::size_t KeptBytes = std::size_t(256) << 20;
    // Blocks below this many bytes are left to the heap.
    static constexpr std::size_t SmallestKept = std::size_t(1) << 20;

    // `count` bytes of unspecified values: a block kept, or a new one.
    // Throws std::bad_alloc, having let go of every kept block first.
    std::uint8_t *allocate(std::size_t count);
    // Keeps the block for a later allocate(), or frees it.
    void deallocate(std::uint8_t *block, std::size_t count) noexcept;

    // Leaves a byte made without a value unwritten.
    template <typename U> void construct(U *at) noexcept { ::new (static_cast<void *>(at)) U; }
    template <typename U, typename... Args> void construct(U *at, Args &&...args)
    {
        ::new (static_cast<void *>(at)) U(std::forward<Args>(args)...);
    }

    // Bytes of the blocks kept now.
    static std::size_t keptBytes();

    bool operator==(const ByteBuffers &) const noexcept { return true; }
    bool operator!=(const ByteBuffers &) const noexcept { return false; }
};

// The cells of a grid of a byte a cell, row after row.
using StateBytes = std::vector<std::uint8_t, ByteBuffers>;

#endif // BYTEBUFFERS_H
