#include "model/engine/universe.h"

#include "model/engine/backgrounduniverse.h"
#include "model/engine/bitmix.h"
#include "model/engine/classicuniverse.h"
#include "model/engine/griduniverse.h"
#include "model/engine/packedrows.h"
#include "model/engine/randombits.h"
#include "model/engine/stripuniverse.h"
#include "model/engine/unboundeduniverse.h"

#include <string>
#include <vector>

std::unique_ptr<Universe> Universe::create(const Topology &topology, const Rule &rule)
{
    if (topology.isStrip() && !topology.isValid())
        throw UniverseError("An endless strip of " + std::to_string(topology.across())
            + " cells across cannot be made: at least 1, at most " + std::to_string(Topology::MaxStripSide) + ".");
    if (!topology.isValid())
        throw UniverseError("A universe of " + std::to_string(topology.width()) + " x "
            + std::to_string(topology.height()) + " cells cannot be made: at most "
            + std::to_string(Topology::MaxBoundedCells) + " cells, at least 1 each way.");
    if (topology.isStrip())
        return std::make_unique<StripUniverse>(topology, rule);
    switch (topology.kind()) {
    case Topology::Kind::Classic:
        return std::make_unique<ClassicUniverse>(PackedField(), rule);
    case Topology::Kind::Plane:
    case Topology::Kind::Torus:
    case Topology::Kind::KleinBottle:
    case Topology::Kind::CrossSurface:
    case Topology::Kind::Sphere:
        return std::make_unique<GridUniverse>(topology, rule);
    case Topology::Kind::Unbounded:
        break;
    }
    if ((rule.birthCounts() & 1U) != 0)
        return std::make_unique<BackgroundUniverse>(rule);
    return std::make_unique<UnboundedUniverse>(rule);
}

void Universe::clearInside(const CellRect &area)
{
    std::vector<CellPoint> cells;
    forEachLiveCell(area, [&cells](std::int64_t x, std::int64_t y) { cells.push_back({ x, y }); });
    for (const CellPoint &cell : cells)
        setCell(cell.x, cell.y, false);
}

void Universe::clearOutside(const CellRect &area)
{
    const std::optional<CellRect> box = boundingBox();
    if (!box)
        return;
    std::vector<CellPoint> cells;
    forEachLiveCell(*box, [&](std::int64_t x, std::int64_t y) {
        if (!area.contains(x, y))
            cells.push_back({ x, y });
    });
    for (const CellPoint &cell : cells)
        setCell(cell.x, cell.y, false);
}

void Universe::combine(const Universe &source, const CellRect &area, Combination how)
{
    if (&source == this) {
        combine(*clone(), area, how);
        return;
    }
    if (how == Combination::Copy)
        clearInside(area);
    source.forEachCell(area, [&](std::int64_t x, std::int64_t y, std::uint8_t state) {
        setState(x, y, how == Combination::Xor && cell(x, y) ? 0 : state);
    });
}

void Universe::forEachCell(
    const CellRect &area, const std::function<void(std::int64_t x, std::int64_t y, std::uint8_t state)> &visit) const
{
    forEachLiveCell(area, [&visit](std::int64_t x, std::int64_t y) { visit(x, y, 1); });
}

void Universe::fillRandom(const CellRect &area, double density, std::uint64_t seed)
{
    clearInside(area);
    RandomBits cells(density, seed);
    const std::uint64_t width = static_cast<std::uint64_t>(area.right - area.left) + 1;
    for (std::int64_t y = area.top; y <= area.bottom; ++y) {
        for (std::uint64_t offset = 0; offset < width; offset += 64) {
            std::uint64_t word = cells.next();
            if (width - offset < 64)
                word &= (std::uint64_t(1) << (width - offset)) - 1;
            for (; word != 0; word &= word - 1)
                setCell(area.left + static_cast<std::int64_t>(offset) + __builtin_ctzll(word), y, true);
        }
    }
}

std::uint64_t Universe::shapeHash() const
{
    const std::optional<CellRect> box = boundingBox();
    if (!box)
        return 0;
    // Invertible steps, as in PackedRows::hash(), so that each cell changes the digest.
    std::uint64_t digest = BitMix::finalise(static_cast<std::uint64_t>(box->right - box->left));
    const auto add = [&digest](std::uint64_t value) { digest = BitMix::fold(digest, value); };
    add(static_cast<std::uint64_t>(box->bottom - box->top));
    forEachCell(*box, [&](std::int64_t x, std::int64_t y, std::uint8_t state) {
        add(static_cast<std::uint64_t>(x - box->left));
        add(static_cast<std::uint64_t>(y - box->top));
        // Two-state universes give the digests they always gave.
        if (state > 1)
            add(state);
    });
    return BitMix::finalise(digest);
}

bool Universe::equalsShifted(const Universe &other, std::int64_t dx, std::int64_t dy) const
{
    if (population() != other.population())
        return false;
    const std::optional<CellRect> box = boundingBox();
    if (!box)
        return true;
    // As many cells on both sides, so that finding each of this one's in the
    // other finds them all.
    bool same = true;
    forEachCell(*box, [&](std::int64_t x, std::int64_t y, std::uint8_t state) {
        std::int64_t movedX = 0;
        std::int64_t movedY = 0;
        if (same
            && (__builtin_add_overflow(x, dx, &movedX) || __builtin_add_overflow(y, dy, &movedY)
                || other.state(movedX, movedY) != state))
            same = false;
    });
    return same;
}

CellRect Universe::extent(const Topology &topology)
{
    if (topology.isBounded())
        return { 0, 0, topology.width() - 1, topology.height() - 1 };
    if (topology.isStrip() && topology.width() == 0)
        return { -CoordinateLimit, 0, CoordinateLimit, topology.height() - 1 };
    if (topology.isStrip())
        return { 0, -CoordinateLimit, topology.width() - 1, CoordinateLimit };
    return { -CoordinateLimit, -CoordinateLimit, CoordinateLimit, CoordinateLimit };
}
