#include "model/engine/cellcopy.h"

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "model/engine/hashlife.h"
#include "model/engine/statehashlife.h"
#include "model/engine/tilelife.h"

namespace
{

// Cells moved this many at a time: 1 MiB of coordinates.
constexpr std::size_t Batch = std::size_t(1) << 16;

template <typename Target> void copyInto(const Universe &source, Target &target)
{
    const std::optional<CellRect> box = source.boundingBox();
    if (!box)
        return;
    std::vector<CellPoint> batch;
    batch.reserve(Batch);
    source.forEachLiveCell(*box, [&](std::int64_t x, std::int64_t y) {
        batch.push_back({ x, y });
        if (batch.size() == Batch) {
            target.setCells(std::move(batch));
            batch.clear();
            batch.reserve(Batch);
        }
    });
    if (!batch.empty())
        target.setCells(std::move(batch));
}

} // namespace

void CellCopy::into(const Universe &source, HashLife &target)
{
    const auto *tiles = dynamic_cast<const TileLife *>(&source);
    if (!tiles) {
        copyInto(source, target);
        return;
    }
    // 1 MiB of blocks at a time.
    constexpr std::size_t BlockBatch = 2048;
    std::vector<CellBlock> batch;
    batch.reserve(BlockBatch);
    tiles->forEachBlock([&](const CellBlock &block) {
        batch.push_back(block);
        if (batch.size() == BlockBatch) {
            target.setBlocks(std::move(batch));
            batch.clear();
            batch.reserve(BlockBatch);
        }
    });
    if (!batch.empty())
        target.setBlocks(std::move(batch));
}

void CellCopy::into(const Universe &source, TileLife &target) { copyInto(source, target); }

void CellCopy::into(const Universe &source, StateHashLife &target) { copyInto(source, target); }
