#include "model/files/pattern.h"

#include <algorithm>
#include <utility>

#include "model/engine/unboundeduniverse.h"

namespace
{

// Cells handed to HashLife::setCells at once.
constexpr std::size_t Batch = std::size_t(1) << 16;

} // namespace

std::optional<CellPoint> Pattern::offset(const Topology &topology) const
{
    if (topology.isStrip()) {
        // Lengthwise as in the unbounded plane, across as in a bounded universe.
        const bool alongX = topology.width() == 0;
        const std::int64_t size = alongX ? height : width;
        const std::int64_t first = alongX ? top : left;
        const std::optional<CellRect> box = cellBox();
        std::int64_t side = (topology.across() - size) / 2 - first;
        if (positioned && box
            && (alongX ? box->top + topology.centre().y >= 0 && box->bottom + topology.centre().y < topology.height()
                       : box->left + topology.centre().x >= 0 && box->right + topology.centre().x < topology.width()))
            side = alongX ? topology.centre().y : topology.centre().x;
        else if (size > topology.across())
            return std::nullopt;
        const std::int64_t along = positioned ? 0 : alongX ? -(width / 2) - left : -(height / 2) - top;
        return alongX ? CellPoint { along, side } : CellPoint { side, along };
    }
    if (!topology.isBounded()) {
        if (positioned)
            return CellPoint {};
        return CellPoint { -(width / 2) - left, -(height / 2) - top };
    }
    const CellPoint centre = topology.centre();
    if (positioned) {
        const std::optional<CellRect> box = cellBox();
        if (box && centre.x + box->left >= 0 && centre.x + box->right < topology.width() && centre.y + box->top >= 0
            && centre.y + box->bottom < topology.height())
            return centre;
    }
    if (width > topology.width() || height > topology.height())
        return std::nullopt;
    return CellPoint { (topology.width() - width) / 2 - left, (topology.height() - height) / 2 - top };
}

std::string Pattern::misfit(const Topology &topology) const
{
    if (fits(topology))
        return std::string();
    return "the pattern is " + std::to_string(width) + " x " + std::to_string(height) + " cells, larger than "
        + topology.extentText();
}

void Pattern::placeInto(Universe &universe, Placing placing) const
{
    const CellPoint shift = *offset(universe.topology());
    if (placing == Placing::Replace)
        universe.clear();
    const std::optional<CellRect> box = cellBox();
    if (!box)
        return;
    auto *const quadtree = dynamic_cast<HashLife *>(&universe);
    auto *const unbounded = dynamic_cast<UnboundedUniverse *>(&universe);
    if (placing == Placing::Replace && shift == CellPoint {} && listed.empty() && (quadtree || unbounded)) {
        // A copy shares the nodes: no cell is visited.
        HashLife placed = cells;
        placed.setRule(universe.rule());
        if (quadtree)
            *quadtree = placed;
        else
            *unbounded = UnboundedUniverse(placed);
    } else if (!quadtree && !unbounded) {
        forEachCell(*box, [&](std::int64_t x, std::int64_t y) { universe.setCell(x + shift.x, y + shift.y, true); });
    } else {
        const auto setCells = [&](std::vector<CellPoint> batch) {
            if (quadtree)
                quadtree->setCells(std::move(batch));
            else
                unbounded->setCells(std::move(batch));
        };
        std::vector<CellPoint> batch;
        batch.reserve(Batch);
        forEachCell(*box, [&](std::int64_t x, std::int64_t y) {
            batch.push_back({ x + shift.x, y + shift.y });
            if (batch.size() == Batch) {
                setCells(std::move(batch));
                batch.clear();
                batch.reserve(Batch);
            }
        });
        setCells(std::move(batch));
    }
    const int stateCount = universe.rule().stateCount();
    for (const StatedCell &cell : states) {
        if (cell.state < stateCount)
            universe.setState(cell.x + shift.x, cell.y + shift.y, cell.state);
    }
}

PackedField Pattern::centred() const
{
    PackedField field;
    const std::optional<CellRect> box = cellBox();
    if (!box)
        return field;
    const CellPoint shift = *offset(Topology::classic());
    // The +1 makes field rows and columns count from 1.
    forEachCell(*box, [&](std::int64_t x, std::int64_t y) {
        field.setAlive(static_cast<int>(y + shift.y) + 1, static_cast<int>(x + shift.x) + 1, true);
    });
    return field;
}

void Pattern::placeCentred(GameField::Cell **buffer) const { centred().toBuffer(buffer); }

Topology Pattern::universeFor(const Topology &inUse, const Rule &running) const
{
    if (topology)
        return *topology;
    // The classic field runs Life-like rules alone.
    if (running.isLifeLike() || inUse.kind() != Topology::Kind::Classic)
        return fits(inUse) ? inUse : Topology::unbounded();
    return Topology::unbounded();
}

std::optional<CellRect> Pattern::cellBox() const
{
    if (listed.empty())
        return cells.boundingBox();
    return CellRect::around(listed);
}

template <typename Visit> void Pattern::forEachCell(const CellRect &box, Visit visit) const
{
    if (listed.empty()) {
        cells.forEachLiveCell(box, visit);
        return;
    }
    for (const CellPoint &cell : listed)
        visit(cell.x, cell.y);
}
