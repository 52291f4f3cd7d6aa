#ifndef LARGEPAGES_H
#define LARGEPAGES_H

#include <cstddef>
#include <cstdint>
#include <new>

#include <sys/mman.h>

// An allocator for the node store's large tables, read at random: blocks of
// several megabytes are laid on 2 MiB boundaries and the kernel is asked to
// back them with large pages, so that a look-up seldom misses the address
// cache (TLB) as well as the data cache. Smaller blocks come from the heap.
template <typename T> class LargePages
{
public:
    using value_type = T;

    LargePages() = default;
    template <typename U> explicit LargePages(const LargePages<U> &) noexcept { }

    T *allocate(std::size_t count)
    {
        const std::size_t bytes = count * sizeof(T);
        if (bytes < Threshold)
            return static_cast<T *>(::operator new(bytes));
        // Mapped apart from the heap, so that a table given up returns its
        // memory at once rather than staying in the heap for reuse.
        const std::size_t rounded = roundedUp(bytes);
        void *mapped = mmap(nullptr, rounded + PageBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED)
            throw std::bad_alloc();
        const auto start = reinterpret_cast<std::uintptr_t>(mapped);
        const std::uintptr_t aligned = (start + PageBytes - 1) / PageBytes * PageBytes;
        if (aligned > start)
            munmap(mapped, aligned - start);
        if (aligned + rounded < start + rounded + PageBytes)
            munmap(reinterpret_cast<void *>(aligned + rounded), start + PageBytes - aligned);
        void *block = reinterpret_cast<void *>(aligned);
#ifdef MADV_HUGEPAGE
        madvise(block, rounded, MADV_HUGEPAGE);
#endif
        return static_cast<T *>(block);
    }

    void deallocate(T *block, std::size_t count) noexcept
    {
        if (count * sizeof(T) < Threshold)
            ::operator delete(block);
        else
            munmap(block, roundedUp(count * sizeof(T)));
    }

    // Returns the memory of `count` elements from `first`, within a block of
    // large pages, to the system; they read as zero bytes afterwards.
    static void giveBack(T *first, std::size_t count)
    {
        const auto begin = reinterpret_cast<std::uintptr_t>(first);
        const std::uintptr_t from = (begin + SmallPage - 1) / SmallPage * SmallPage;
        const std::uintptr_t to = (begin + count * sizeof(T)) / SmallPage * SmallPage;
        if (from < to)
            madvise(reinterpret_cast<void *>(from), to - from, MADV_DONTNEED);
    }

    template <typename U> bool operator==(const LargePages<U> &) const noexcept { return true; }
    template <typename U> bool operator!=(const LargePages<U> &) const noexcept { return false; }

    static constexpr std::size_t PageBytes = std::size_t(2) << 20;

private:
    static constexpr std::uintptr_t SmallPage = 4096;

    static std::size_t roundedUp(std::size_t bytes) { return (bytes + PageBytes - 1) / PageBytes * PageBytes; }
    static constexpr std::size_t Threshold = 2 * PageBytes;
};

#endif // LARGEPAGES_H
