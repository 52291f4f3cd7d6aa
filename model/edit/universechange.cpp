#include "model/edit/universechange.h"

#include <limits>
#include <utility>
#include <vector>

#include "model/engine/unboundeduniverse.h"

UniverseChange::UniverseChange(const Topology &from, const Topology &to)
{
    const CellPoint oldCentre = from.centre();
    const CellPoint newCentre = to.centre();
    shift = { newCentre.x - oldCentre.x, newCentre.y - oldCentre.y };
    // Both extents lie within CoordinateLimit and the centres within them: no overflow.
    const CellRect target = Universe::extent(to);
    keptArea = Universe::extent(from).intersected(
        { target.left - shift.x, target.top - shift.y, target.right - shift.x, target.bottom - shift.y });
}

std::uint64_t UniverseChange::lostCells(const Universe &universe) const
{
    if (universe.backgroundAlive())
        return std::numeric_limits<std::uint64_t>::max();
    const std::uint64_t population = universe.population();
    const std::optional<CellRect> box = universe.boundingBox();
    const std::optional<CellRect> inside = box && keptArea ? box->intersected(*keptArea) : std::nullopt;
    if (!inside)
        return population;
    if (*inside == *box)
        return 0;
    std::uint64_t staying = 0;
    universe.forEachLiveCell(*inside, [&staying](std::int64_t, std::int64_t) { ++staying; });
    return population - staying;
}

void UniverseChange::copy(const Universe &from, Universe &to) const
{
    // A live background fills the whole of a bounded universe, not just around the cells that differ from it.
    const std::optional<CellRect> box
        = from.backgroundAlive() && to.topology().isBounded() ? keptArea : from.boundingBox();
    const std::optional<CellRect> inside = box && keptArea ? box->intersected(*keptArea) : std::nullopt;
    if (!inside)
        return;
    const int stateCount = to.rule().stateCount();
    if (auto *unbounded = dynamic_cast<UnboundedUniverse *>(&to)) {
        // All at once as live cells, then the few in other states one by one.
        std::vector<CellPoint> cells;
        std::vector<std::pair<CellPoint, std::uint8_t>> stated;
        from.forEachCell(*inside, [&](std::int64_t x, std::int64_t y, std::uint8_t state) {
            cells.push_back(moved({ x, y }));
            if (state > 1 && state < stateCount)
                stated.push_back({ cells.back(), state });
        });
        unbounded->setCells(std::move(cells));
        for (const auto &[cell, state] : stated)
            to.setState(cell.x, cell.y, state);
        return;
    }
    from.forEachCell(*inside, [&](std::int64_t x, std::int64_t y, std::uint8_t state) {
        const CellPoint cell = moved({ x, y });
        to.setState(cell.x, cell.y, state < stateCount ? state : 1);
    });
}
