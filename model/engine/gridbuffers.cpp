#include "model/engine/gridbuffers.h"

#include <mutex>
#include <new>
#include <utility>

namespace
{

struct Kept {
    std::mutex mutex;
    std::vector<GridBuffers::Words> buffers; // oldest first
    std::size_t bytes = 0;
};

// Never destroyed: grids destroyed during the program's exit still give theirs back.
Kept &kept()
{
    static Kept *const all = new Kept;
    return *all;
}

std::size_t bytesOf(const GridBuffers::Words &words) { return words.size() * sizeof(GridBuffers::Word); }

} // namespace

GridBuffers::Words GridBuffers::take(std::size_t count)
{
    Kept &pool = kept();
    {
        const std::lock_guard<std::mutex> lock(pool.mutex);
        for (auto it = pool.buffers.end(); it != pool.buffers.begin();) {
            --it;
            if (it->size() == count) {
                Words found = std::move(*it);
                pool.buffers.erase(it);
                pool.bytes -= bytesOf(found);
                return found;
            }
        }
    }
    try {
        return Words(count);
    } catch (const std::bad_alloc &) {
    }
    std::vector<Words> dropped;
    {
        const std::lock_guard<std::mutex> lock(pool.mutex);
        dropped.swap(pool.buffers);
        pool.bytes = 0;
    }
    dropped.clear();
    return Words(count);
}

void GridBuffers::give(Words &&words) noexcept
{
    Words given = std::move(words);
    words = Words();
    const std::size_t bytes = bytesOf(given);
    if (bytes < SmallestKept || bytes > KeptBytes)
        return;
    std::vector<Words> dropped;
    Kept &pool = kept();
    const std::lock_guard<std::mutex> lock(pool.mutex);
    try {
        dropped.reserve(pool.buffers.size());
        pool.buffers.reserve(pool.buffers.size() + 1);
    } catch (const std::bad_alloc &) {
        return; // freed instead
    }
    // The oldest go first: a run's buffers are the latest.
    std::size_t oldest = 0;
    while (pool.bytes + bytes > KeptBytes) {
        pool.bytes -= bytesOf(pool.buffers[oldest]);
        dropped.push_back(std::move(pool.buffers[oldest++]));
    }
    pool.buffers.erase(pool.buffers.begin(), pool.buffers.begin() + static_cast<std::ptrdiff_t>(oldest));
    pool.buffers.push_back(std::move(given));
    pool.bytes += bytes;
}

std::size_t GridBuffers::keptBytes()
{
    Kept &pool = kept();
    const std::lock_guard<std::mutex> lock(pool.mutex);
    return pool.bytes;
}
