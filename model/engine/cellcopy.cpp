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

// Hands what `each` visits to `take`, `size` items at a time.
template <typename Item, typename Each, typename Take> void inBatches(std::size_t size, Each each, Take take)
{
    std::vector<Item> batch;
    batch.reserve(size);
    each([&](const Item &item) {
        batch.push_back(item);
        if (batch.size() == size) {
            take(std::move(batch));
            batch.clear();
            batch.reserve(size);
        }
    });
    if (!batch.empty())
        take(std::move(batch));
}

// Cells moved 1 MiB of coordinates at a time.
template <typename Target> void copyInto(const Universe &source, Target &target)
{
    const std::optional<CellRect> box = source.boundingBox();
    if (!box)
        return;
    const auto eachCell = [&](auto visit) {
        source.forEachLiveCell(*box, [&](std::int64_t x, std::int64_t y) { visit(CellPoint { x, y }); });
    };
    inBatches<CellPoint>(
        std::size_t(1) << 16, eachCell, [&](std::vector<CellPoint> cells) { target.setCells(std::move(cells)); });
}

// Whole blocks, far faster than cells between the two engines that hold
// them, 1 MiB at a time.
template <typename Source, typename Target> void blocksInto(const Source &source, Target &target)
{
    inBatches<CellBlock>(
        2048, [&](auto visit) { source.forEachBlock(visit); },
        [&](std::vector<CellBlock> blocks) { target.setBlocks(std::move(blocks)); });
}

} // namespace

void CellCopy::into(const Universe &source, HashLife &target)
{
    if (const auto *tiles = dynamic_cast<const TileLife *>(&source))
        blocksInto(*tiles, target);
    else
        copyInto(source, target);
}

void CellCopy::into(const Universe &source, TileLife &target)
{
    if (const auto *plane = dynamic_cast<const HashLife *>(&source))
        blocksInto(*plane, target);
    else
        copyInto(source, target);
}

void CellCopy::into(const Universe &source, StateHashLife &target) { copyInto(source, target); }
