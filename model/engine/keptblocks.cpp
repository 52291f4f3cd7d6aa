#include "model/engine/keptblocks.h"

#include <mutex>
#include <new>
#include <vector>

#include "model/engine/largepages.h"

namespace
{

struct Block {
    void *start;
    std::size_t bytes;
};

struct Pool {
    std::mutex mutex;
    std::vector<Block> blocks; // oldest first
    std::size_t bytes = 0;
};

Pool &pool()
{
    static Pool *const all = new Pool;
    return *all;
}

using Pages = LargePages<unsigned char>;

void release(void *block, std::size_t bytes) noexcept
{
    Pages().deallocate(static_cast<unsigned char *>(block), bytes);
}

void release(const std::vector<Block> &blocks) noexcept
{
    for (const Block &block : blocks)
        release(block.start, block.bytes);
}

} // namespace

void *KeptBlocks::take(std::size_t bytes)
{
    Pool &kept = pool();
    if (bytes >= SmallestKept) {
        const std::lock_guard<std::mutex> lock(kept.mutex);
        for (auto it = kept.blocks.end(); it != kept.blocks.begin();) {
            --it;
            if (it->bytes == bytes) {
                void *found = it->start;
                kept.blocks.erase(it);
                kept.bytes -= bytes;
                return found;
            }
        }
    }
    try {
        return Pages().allocate(bytes);
    } catch (const std::bad_alloc &) {
    }
    std::vector<Block> dropped;
    {
        const std::lock_guard<std::mutex> lock(kept.mutex);
        dropped.swap(kept.blocks);
        kept.bytes = 0;
    }
    release(dropped);
    return Pages().allocate(bytes);
}

void KeptBlocks::give(void *block, std::size_t bytes) noexcept
{
    if (bytes < SmallestKept || bytes > KeptBytes) {
        release(block, bytes);
        return;
    }
    std::vector<Block> dropped;
    bool keptIt = false;
    {
        Pool &kept = pool();
        const std::lock_guard<std::mutex> lock(kept.mutex);
        try {
            dropped.reserve(kept.blocks.size());
            kept.blocks.reserve(kept.blocks.size() + 1);
            keptIt = true;
        } catch (const std::bad_alloc &) {
        }
        if (keptIt) {
            // The oldest go first: a run's blocks are the latest.
            std::size_t oldest = 0;
            while (kept.bytes + bytes > KeptBytes) {
                kept.bytes -= kept.blocks[oldest].bytes;
                dropped.push_back(kept.blocks[oldest++]);
            }
            kept.blocks.erase(kept.blocks.begin(), kept.blocks.begin() + static_cast<std::ptrdiff_t>(oldest));
            kept.blocks.push_back(Block { block, bytes });
            kept.bytes += bytes;
        }
    }
    if (!keptIt)
        release(block, bytes);
    release(dropped);
}

std::size_t KeptBlocks::keptBytes()
{
    Pool &kept = pool();
    const std::lock_guard<std::mutex> lock(kept.mutex);
    return kept.bytes;
}
