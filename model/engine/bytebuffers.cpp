#include "model/engine/bytebuffers.h"

#include <mutex>

#include "model/engine/largepages.h"

namespace
{

struct Block {
    std::uint8_t *start;
    std::size_t bytes;
};

struct Kept {
    std::mutex mutex;
    std::vector<Block> blocks; // oldest first
    std::size_t bytes = 0;
};

// Never destroyed: grids destroyed during the program's exit still give theirs back.
Kept &kept()
{
    static Kept *const all = new Kept;
    return *all;
}

void release(const std::vector<Block> &blocks) noexcept
{
    for (const Block &block : blocks)
        LargePages<std::uint8_t>().deallocate(block.start, block.bytes);
}

} // namespace

std::uint8_t *ByteBuffers::allocate(std::size_t count)
{
    if (count < SmallestKept)
        return static_cast<std::uint8_t *>(::operator new(count));
    Kept &pool = kept();
    {
        const std::lock_guard<std::mutex> lock(pool.mutex);
        for (auto it = pool.blocks.end(); it != pool.blocks.begin();) {
            --it;
            if (it->bytes == count) {
                std::uint8_t *found = it->start;
                pool.blocks.erase(it);
                pool.bytes -= count;
                return found;
            }
        }
    }
    try {
        return LargePages<std::uint8_t>().allocate(count);
    } catch (const std::bad_alloc &) {
    }
    std::vector<Block> dropped;
    {
        const std::lock_guard<std::mutex> lock(pool.mutex);
        dropped.swap(pool.blocks);
        pool.bytes = 0;
    }
    release(dropped);
    return LargePages<std::uint8_t>().allocate(count);
}

void ByteBuffers::deallocate(std::uint8_t *block, std::size_t count) noexcept
{
    if (count < SmallestKept) {
        ::operator delete(block);
        return;
    }
    if (count > KeptBytes) {
        LargePages<std::uint8_t>().deallocate(block, count);
        return;
    }
    std::vector<Block> dropped;
    bool keptIt = false;
    {
        Kept &pool = kept();
        const std::lock_guard<std::mutex> lock(pool.mutex);
        try {
            dropped.reserve(pool.blocks.size());
            pool.blocks.reserve(pool.blocks.size() + 1);
            keptIt = true;
        } catch (const std::bad_alloc &) {
        }
        if (keptIt) {
            // The oldest go first: a run's blocks are the latest.
            std::size_t oldest = 0;
            while (pool.bytes + count > KeptBytes) {
                pool.bytes -= pool.blocks[oldest].bytes;
                dropped.push_back(pool.blocks[oldest++]);
            }
            pool.blocks.erase(pool.blocks.begin(), pool.blocks.begin() + static_cast<std::ptrdiff_t>(oldest));
            pool.blocks.push_back(Block { block, count });
            pool.bytes += count;
        }
    }
    if (!keptIt)
        LargePages<std::uint8_t>().deallocate(block, count);
    release(dropped);
}

std::size_t ByteBuffers::keptBytes()
{
    Kept &pool = kept();
    const std::lock_guard<std::mutex> lock(pool.mutex);
    return pool.bytes;
}
