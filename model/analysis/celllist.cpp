#include "model/analysis/celllist.h"

#include <algorithm>

#include "model/analysis/disjointsets.h"
#include "model/engine/backgrounduniverse.h"

namespace
{

// The LifeHistory state no cell crosses.
constexpr std::uint8_t LifeHistoryBoundary = 6;

} // namespace

std::vector<CellPoint> CellList::of(const Universe &universe)
{
    std::vector<CellPoint> cells;
    if (const std::optional<CellRect> box = universe.boundingBox())
        universe.forEachLiveCell(*box, [&cells](std::int64_t x, std::int64_t y) { cells.push_back({ x, y }); });
    return cells;
}

std::vector<CellPoint> CellList::differences(const Universe &universe)
{
    if (const auto *background = dynamic_cast<const BackgroundUniverse *>(&universe))
        return of(background->differences());
    const Rule &rule = universe.rule();
    if (!rule.isHistory())
        return of(universe);
    std::vector<CellPoint> cells;
    if (const std::optional<CellRect> box = universe.boundingBox()) {
        universe.forEachCell(*box, [&](std::int64_t x, std::int64_t y, std::uint8_t state) {
            if (state == LifeHistoryBoundary)
                throw UniverseError("the census follows LifeHistory's live cells as Life, which has no boundary "
                                    "cells (state 6) such as the one at "
                    + std::to_string(x) + ", " + std::to_string(y));
            if (rule.isLive(state))
                cells.push_back({ x, y });
        });
    }
    return cells;
}

CellRect CellList::box(const std::vector<CellPoint> &cells) { return CellRect::around(cells); }

std::vector<std::vector<CellPoint>> CellList::clusters(const std::vector<CellPoint> &cells, int reach)
{
    DisjointSets sets(cells.size());
    // Where each of the rows seen so far starts in `cells`, the latest last.
    std::vector<std::size_t> rowStarts;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const CellPoint cell = cells[i];
        if (i == 0 || cells[i - 1].y != cell.y)
            rowStarts.push_back(i);
        if (i > 0 && cells[i - 1].y == cell.y && cell.x - cells[i - 1].x <= reach)
            sets.join(i - 1, i);
        // The rows above within reach, each searched from its first cell within reach on the left.
        for (std::size_t k = rowStarts.size() - 1; k-- > 0;) {
            const std::size_t begin = rowStarts[k];
            if (cell.y - cells[begin].y > reach)
                break;
            const auto end = cells.begin() + static_cast<std::ptrdiff_t>(rowStarts[k + 1]);
            auto from = std::lower_bound(cells.begin() + static_cast<std::ptrdiff_t>(begin), end, cell.x - reach,
                [](const CellPoint &c, std::int64_t x) { return c.x < x; });
            for (; from != end && from->x <= cell.x + reach; ++from)
                sets.join(static_cast<std::size_t>(from - cells.begin()), i);
        }
    }
    std::vector<std::vector<CellPoint>> groups;
    for (const std::vector<std::size_t> &group : sets.groups()) {
        groups.emplace_back();
        groups.back().reserve(group.size());
        for (const std::size_t i : group)
            groups.back().push_back(cells[i]);
    }
    return groups;
}
