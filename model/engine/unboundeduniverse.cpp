#include "model/engine/unboundeduniverse.h"

#include <algorithm>
#include <chrono>
#include <utility>
#include <vector>

#include "model/engine/packedrows.h"

namespace
{

// Cells moved from one engine to the other this many at a time, so that the
// move never holds more than a few MiB of them.
constexpr std::size_t Batch = std::size_t(1) << 16;

template <typename Target> void copyCells(const Universe &source, Target &target)
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

UnboundedUniverse::UnboundedUniverse(const Rule &rule)
    : jumps(HashLife(rule))
{
}

UnboundedUniverse::UnboundedUniverse(const HashLife &cells)
    : jumps(cells)
{
}

UnboundedUniverse::UnboundedUniverse(const UnboundedUniverse &other)
    : jumps(other.jumps)
    , steps(other.steps ? std::make_unique<TileLife>(*other.steps) : nullptr)
    , tileReach(other.tileReach)
{
}

UnboundedUniverse &UnboundedUniverse::operator=(const UnboundedUniverse &other)
{
    if (this != &other) {
        std::unique_ptr<TileLife> copied = other.steps ? std::make_unique<TileLife>(*other.steps) : nullptr;
        jumps = other.jumps;
        steps = std::move(copied);
        tileReach = other.tileReach;
    }
    return *this;
}

UnboundedUniverse::~UnboundedUniverse() = default;

HashLife UnboundedUniverse::quadtree() const
{
    if (jumps)
        return *jumps;
    HashLife cells(steps->rule());
    copyCells(*steps, cells);
    return cells;
}

void UnboundedUniverse::setCells(std::vector<CellPoint> cells)
{
    tileReach = std::numeric_limits<std::uint64_t>::max();
    if (jumps)
        jumps->setCells(std::move(cells));
    else
        steps->setCells(cells);
}

std::unique_ptr<Universe> UnboundedUniverse::clone() const { return std::make_unique<UnboundedUniverse>(*this); }

void UnboundedUniverse::setRule(const Rule &rule)
{
    engine().setRule(rule);
    tileReach = std::numeric_limits<std::uint64_t>::max();
}

void UnboundedUniverse::setCell(std::int64_t x, std::int64_t y, bool alive)
{
    engine().setCell(x, y, alive);
    tileReach = std::numeric_limits<std::uint64_t>::max();
}

void UnboundedUniverse::clear()
{
    engine().clear();
    tileReach = std::numeric_limits<std::uint64_t>::max();
}

void UnboundedUniverse::clearInside(const CellRect &area) { engine().clearInside(area); }

void UnboundedUniverse::clearOutside(const CellRect &area) { engine().clearOutside(area); }

void UnboundedUniverse::combine(const Universe &source, const CellRect &area, Combination how)
{
    const auto *const unbounded = dynamic_cast<const UnboundedUniverse *>(&source);
    engine().combine(unbounded ? unbounded->engine() : source, area, how);
}

void UnboundedUniverse::fillRandom(const CellRect &area, double density, std::uint64_t seed)
{
    engine().fillRandom(area, density, seed);
}

HashLife UnboundedUniverse::cellsIn(const CellRect &area) const
{
    if (jumps)
        return jumps->cellsIn(area);
    HashLife cells = HashLife::fromCells(*steps, area);
    cells.setRule(steps->rule());
    return cells;
}

void UnboundedUniverse::forEachLiveCell(
    const CellRect &area, const std::function<void(std::int64_t x, std::int64_t y)> &visit) const
{
    engine().forEachLiveCell(area, visit);
}

void UnboundedUniverse::render(
    const CellRect &area, int shift, std::uint8_t *pixels, int columns, int rows, std::ptrdiff_t stride) const
{
    engine().render(area, shift, pixels, columns, rows, stride);
}

void UnboundedUniverse::advance(std::uint64_t generations)
{
    if (generations <= TileLife::StepLimit || engine().population() > TileLimit) {
        advanceBy(generations);
        return;
    }
    // A jump may pass from one engine to the other half-way: what it had done
    // is undone if the second cannot finish.
    const UnboundedUniverse before(*this);
    try {
        advanceBy(generations);
    } catch (...) {
        *this = before;
        throw;
    }
}

void UnboundedUniverse::advanceBy(std::uint64_t generations)
{
    using Clock = std::chrono::steady_clock;
    // The tiles keep a jump while what is left of it would take them less
    // than this; past it HashLife, whose cost follows what is new in the
    // pattern rather than the generations, takes over.
    constexpr std::chrono::duration<double> TileBudget(0.25);
    // The pace is taken over a few generations first, so that a jump that is
    // HashLife's costs the tiles a moment only.
    constexpr std::uint64_t FirstChunk = 16;
    if (jumps && generations > tileReach) {
        jumps->advance(generations);
        return;
    }
    std::uint64_t chunk = FirstChunk;
    while (generations > 0) {
        if (engine().population() > TileLimit) {
            useHashLife();
            engine().advance(generations);
            return;
        }
        useTileLife();
        const std::uint64_t step = std::min({ generations, chunk, TileLife::StepLimit });
        const Clock::time_point start = Clock::now();
        engine().advance(step);
        generations -= step;
        const std::chrono::duration<double> spent = Clock::now() - start;
        if (generations > 0 && spent * (static_cast<double>(generations) / static_cast<double>(step)) > TileBudget) {
            tileReach = static_cast<std::uint64_t>(static_cast<double>(step) * (TileBudget / spent));
            useHashLife();
            engine().advance(generations);
            return;
        }
        chunk *= 2;
    }
}

std::uint64_t UnboundedUniverse::hash() const
{
    const std::optional<CellRect> box = boundingBox();
    if (!box)
        return 0;
    return PackedRows::finalise(shapeHash() ^ PackedRows::finalise(static_cast<std::uint64_t>(box->left))
        ^ (PackedRows::finalise(static_cast<std::uint64_t>(box->top)) << 1));
}

bool UnboundedUniverse::equals(const Universe &other) const { return equalsShifted(other, 0, 0); }

bool UnboundedUniverse::equalsShifted(const Universe &other, std::int64_t dx, std::int64_t dy) const
{
    if (other.topology() != topology())
        return false;
    // Two quadtrees compare square by square.
    if (const auto *unbounded = dynamic_cast<const UnboundedUniverse *>(&other))
        return engine().equalsShifted(unbounded->engine(), dx, dy);
    return engine().equalsShifted(other, dx, dy);
}

const Universe &UnboundedUniverse::engine() const
{
    if (jumps)
        return *jumps;
    return *steps;
}

Universe &UnboundedUniverse::engine()
{
    if (jumps)
        return *jumps;
    return *steps;
}

void UnboundedUniverse::useHashLife()
{
    if (jumps)
        return;
    HashLife cells(steps->rule());
    copyCells(*steps, cells);
    jumps = std::move(cells);
    steps.reset();
}

void UnboundedUniverse::useTileLife()
{
    if (steps)
        return;
    auto cells = std::make_unique<TileLife>(jumps->rule());
    copyCells(*jumps, *cells);
    steps = std::move(cells);
    jumps.reset();
}
