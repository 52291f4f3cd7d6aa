#ifndef KEPTALLOCATOR_H
#define KEPTALLOCATOR_H

#include <cstddef>
#include <new>
#include <utility>

#include "model/engine/keptblocks.h"

// An allocator over KeptBlocks, for the vectors that hold a large grid's
// cells. An element made without a value is left unwritten, so that a vector
// made with a size alone costs no pass over its memory: whoever makes one
// writes every element of it.
template <typename T> class KeptAllocator
{
public:
    static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__, "blocks are aligned as operator new aligns");
    using value_type = T;

    KeptAllocator() = default;
    template <typename U> explicit KeptAllocator(const KeptAllocator<U> &) noexcept { }

    // `count` elements of unspecified values. Throws std::bad_alloc.
    T *allocate(std::size_t count) { return static_cast<T *>(KeptBlocks::take(count * sizeof(T))); }
    void deallocate(T *block, std::size_t count) noexcept { KeptBlocks::give(block, count * sizeof(T)); }

    template <typename U> void construct(U *at) noexcept { ::new (static_cast<void *>(at)) U; }
    template <typename U, typename... Args> void construct(U *at, Args &&...args)
    {
        ::new (static_cast<void *>(at)) U(std::forward<Args>(args)...);
    }

    template <typename U> bool operator==(const KeptAllocator<U> &) const noexcept { return true; }
    template <typename U> bool operator!=(const KeptAllocator<U> &) const noexcept { return false; }
};

#endif // KEPTALLOCATOR_H
