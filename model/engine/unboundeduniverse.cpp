#include "model/engine/unboundeduniverse.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <exception>
#include <functional>
#include <thread>
#include <utility>
#include <vector>

#include "model/engine/bitmix.h"
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
{
    if (rule.isLifeLike())
        jumps.emplace(rule);
    else
        states = std::make_unique<StateHashLife>(rule);
}

UnboundedUniverse::UnboundedUniverse(const HashLife &cells)
{
    if (cells.rule().isLifeLike()) {
        jumps = cells;
        return;
    }
    auto stated = std::make_unique<StateHashLife>(cells.rule());
    copyCells(cells, *stated);
    states = std::move(stated);
}

UnboundedUniverse::UnboundedUniverse(const UnboundedUniverse &other)
    : jumps(other.jumps)
    , steps(other.steps ? std::make_unique<TileLife>(*other.steps) : nullptr)
    , states(other.states ? std::make_unique<StateHashLife>(*other.states) : nullptr)
{
}

UnboundedUniverse &UnboundedUniverse::operator=(const UnboundedUniverse &other)
{
    if (this != &other) {
        std::unique_ptr<TileLife> copied = other.steps ? std::make_unique<TileLife>(*other.steps) : nullptr;
        std::unique_ptr<StateHashLife> stated = other.states ? std::make_unique<StateHashLife>(*other.states) : nullptr;
        jumps = other.jumps;
        steps = std::move(copied);
        states = std::move(stated);
    }
    return *this;
}

UnboundedUniverse::~UnboundedUniverse() = default;

HashLife UnboundedUniverse::quadtree() const
{
    if (jumps)
        return *jumps;
    if (states)
        return states->liveCells();
    HashLife cells(steps->rule());
    copyCells(*steps, cells);
    return cells;
}

void UnboundedUniverse::setCells(std::vector<CellPoint> cells)
{
    if (states)
        states->setCells(cells);
    else if (jumps)
        jumps->setCells(std::move(cells));
    else
        steps->setCells(cells);
}

std::unique_ptr<Universe> UnboundedUniverse::clone() const { return std::make_unique<UnboundedUniverse>(*this); }

void UnboundedUniverse::setRule(const Rule &rule)
{
    if (rule.isLifeLike() == !states) {
        engine().setRule(rule);
    } else if (states) {
        StateHashLife kept(*states);
        kept.setRule(rule);
        HashLife cells(rule);
        copyCells(kept, cells);
        jumps = std::move(cells);
        states.reset();
    } else {
        auto stated = std::make_unique<StateHashLife>(rule);
        copyCells(engine(), *stated);
        states = std::move(stated);
        jumps.reset();
        steps.reset();
    }
}

void UnboundedUniverse::setCell(std::int64_t x, std::int64_t y, bool alive) { engine().setCell(x, y, alive); }

void UnboundedUniverse::clear() { engine().clear(); }

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
    if (states)
        return states->liveCells().cellsIn(area);
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
    if (generations == 0)
        return;
    if (states) {
        states->advance(generations);
        return;
    }
    if (engine().population() > TileLimit) {
        useHashLife();
        jumps->advance(generations);
    } else if (generations <= TileLife::StepLimit) {
        useTileLife();
        steps->advance(generations);
    } else {
        std::atomic<bool> finished { false };
        race(generations, finished);
    }
}

bool UnboundedUniverse::advanceUnless(std::uint64_t generations, std::atomic<bool> &stop)
{
    if (generations == 0)
        return true;
    if (states)
        return states->advanceUnless(generations, stop);
    if (engine().population() > TileLimit) {
        useHashLife();
        return jumps->advanceUnless(generations, stop);
    }
    if (generations <= TileLife::StepLimit) {
        useTileLife();
        // The tiles stop at some generation between: a copy of them steps.
        TileLife next(*steps);
        if (!next.advanceUnless(generations, stop))
            return false;
        *steps = std::move(next);
        return true;
    }
    return race(generations, stop);
}

bool UnboundedUniverse::race(std::uint64_t generations, std::atomic<bool> &stop)
{
    // Which engine suits a pattern shows only by running it, so both run at
    // once: the tiles on a thread of their own, HashLife on this one, each on
    // its own copy of the cells, and the first to finish stops the other.
    // The jump then takes about as long as the faster engine alone, on a
    // second core. HashLife keeps its nodes and results whoever wins, and
    // when it holds the cells it jumps from its own root rather than from
    // cells moved in, so that what it computed in one jump serves the next.
    // A jump that HashLife has mostly worked out before, as a run of equal
    // jumps has, ends within a few milliseconds: it gets those alone first,
    // sparing the tiles' thread its start and its share of a loaded machine.
    // Whatever stops it, out of memory or at the edge of the plane, the race
    // still runs: the tiles may finish where HashLife cannot.
    constexpr std::chrono::milliseconds HeadStart(2);
    constexpr std::chrono::duration<double> MinTrial(0.004);
    constexpr double HopelessFactor = 4;
    try {
        if (jumps && jumps->advanceBefore(generations, std::chrono::steady_clock::now() + HeadStart))
            return true;
    } catch (const UniverseError &) {
    }
    // Whoever finishes, or a raised `stop`, ends the other engine.
    std::atomic<bool> finished { false };
    std::atomic<bool> tilesEnded { false };
    std::atomic<std::uint64_t> tileGenerations { 0 };
    std::atomic<std::chrono::steady_clock::rep> tilesStart { 0 };
    TileLife tiles = steps ? *steps : TileLife(jumps->rule());
    std::vector<CellPoint> cells;
    if (jumps) {
        const std::optional<CellRect> box = jumps->boundingBox();
        cells.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(jumps->population(), TileLimit)));
        if (box)
            jumps->forEachLiveCell(*box, [&cells](std::int64_t x, std::int64_t y) { cells.push_back({ x, y }); });
    }
    // Given up while the cells were listed: neither engine starts.
    if (stop)
        return false;
    bool tilesDone = false;
    std::exception_ptr tilesError;
    std::thread stepper([&] {
        try {
            if (!finished) {
                tiles.setCells(cells);
                std::vector<CellPoint>().swap(cells);
                tilesStart = std::chrono::steady_clock::now().time_since_epoch().count();
                tilesDone = tiles.advanceUnless(generations, finished, &tileGenerations);
                if (tilesDone)
                    finished = true;
            }
        } catch (...) {
            tilesError = std::current_exception();
        }
        tilesEnded = true;
    });
    // HashLife gives up, sparing the machine's other core, once it has run
    // for an eighth of the time the tiles will take and its own estimate is
    // far beyond theirs, as it is for chaos, where its memo finds little.
    const auto hashStart = std::chrono::steady_clock::now();
    bool gaveUp = false;
    const std::function<bool()> hopeless = [&] {
        if (stop.load(std::memory_order_relaxed))
            finished = true;
        if (finished.load(std::memory_order_relaxed))
            return true;
        const std::uint64_t stepped = tileGenerations.load(std::memory_order_relaxed);
        const double progress = HashLife::jumpProgress();
        if (stepped == 0 || progress <= 0)
            return false;
        const auto now = std::chrono::steady_clock::now();
        const std::chrono::duration<double> spent = now - hashStart;
        const std::chrono::duration<double> tilesSpent
            = now - std::chrono::steady_clock::time_point(std::chrono::steady_clock::duration(tilesStart.load()));
        const double tilesTotal = tilesSpent.count() * static_cast<double>(generations) / static_cast<double>(stepped);
        gaveUp = spent.count() >= std::max(MinTrial.count(), tilesTotal / 8)
            && spent.count() / progress > HopelessFactor * tilesTotal;
        return gaveUp;
    };
    bool jumped = false;
    std::exception_ptr jumpError;
    std::optional<HashLife> plane;
    try {
        if (jumps) {
            plane = *jumps;
        } else {
            plane.emplace(steps->rule());
            copyCells(*steps, *plane);
        }
        jumped = plane->advanceUnless(generations, hopeless);
    } catch (...) {
        jumpError = std::current_exception();
    }
    if (jumped)
        finished = true;
    while (!tilesEnded) {
        if (stop)
            finished = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    stepper.join();
    if (jumped) {
        jumps = std::move(plane);
        steps.reset();
    } else if (tilesDone) {
        steps = std::make_unique<TileLife>(std::move(tiles));
        jumps.reset();
    } else if (stop) {
        return false;
    } else if (gaveUp && plane) {
        // The tiles failed where HashLife may not.
        if (!plane->advanceUnless(generations, [&stop] { return stop.load(std::memory_order_relaxed); }))
            return false;
        jumps = std::move(plane);
        steps.reset();
    } else if (jumpError || tilesError) {
        std::rethrow_exception(jumpError ? jumpError : tilesError);
    } else {
        return false;
    }
    return true;
}

std::uint64_t UnboundedUniverse::hash() const
{
    if (states)
        return states->hash();
    const std::optional<CellRect> box = boundingBox();
    if (!box)
        return 0;
    return BitMix::finalise(shapeHash() ^ BitMix::finalise(static_cast<std::uint64_t>(box->left))
        ^ (BitMix::finalise(static_cast<std::uint64_t>(box->top)) << 1));
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
    if (states)
        return *states;
    if (jumps)
        return *jumps;
    return *steps;
}

Universe &UnboundedUniverse::engine()
{
    if (states)
        return *states;
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
