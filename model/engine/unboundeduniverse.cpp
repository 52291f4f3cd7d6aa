#include "model/engine/unboundeduniverse.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <exception>
#include <functional>
#include <utility>
#include <vector>

#include "model/engine/bitmix.h"
#include "model/engine/cellcopy.h"
#include "model/engine/enginerace.h"
#include "model/engine/packedrows.h"

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
    CellCopy::into(cells, *stated);
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
    CellCopy::into(*steps, cells);
    return cells;
}

bool UnboundedUniverse::fillsTiles(const std::vector<CellPoint> &cells)
{
    // Enough to be worth a move, too few to make HashLife the stepper anyway.
    constexpr std::size_t Dense = 4096;
    if (cells.size() < Dense || cells.size() > TileLimit)
        return false;
    const CellRect box = CellRect::around(cells);
    // A cell in eight of the box or more: a soup rather than a field of scattered objects.
    const double area = (static_cast<double>(box.right) - static_cast<double>(box.left) + 1)
        * (static_cast<double>(box.bottom) - static_cast<double>(box.top) + 1);
    // The tiles keep two bits a cell of the box at least; where the plane's
    // memory is too small for that, HashLife takes the cells, and says so if
    // they do not fit there either.
    return static_cast<double>(cells.size()) * 8 >= area && area / 4 <= static_cast<double>(HashLife::memoryLimit());
}

void UnboundedUniverse::setCells(std::vector<CellPoint> cells)
{
    if (states) {
        states->setCells(cells);
    } else if (!steps && jumps->population() == 0 && fillsTiles(cells)) {
        // A dense pattern, a soup most likely, steps on the tiles, where it
        // then goes without passing through HashLife.
        auto tiles = std::make_unique<TileLife>(jumps->rule());
        tiles->setCells(cells);
        steps = std::move(tiles);
        jumps.reset();
    } else if (steps) {
        // The HashLife copy kept beside the tiles no longer holds these cells.
        steps->setCells(cells);
        jumps.reset();
    } else {
        jumps->setCells(std::move(cells));
    }
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
        CellCopy::into(kept, cells);
        jumps = std::move(cells);
        states.reset();
    } else {
        auto stated = std::make_unique<StateHashLife>(rule);
        CellCopy::into(engine(), *stated);
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
    if (population() > TileLimit) {
        useHashLife();
        jumps->advance(generations);
    } else if (!racing(generations)) {
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
    if (population() > TileLimit) {
        useHashLife();
        return jumps->advanceUnless(generations, stop);
    }
    if (!racing(generations)) {
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

bool UnboundedUniverse::advanceAlternating(std::uint64_t generations, const Rule &odd, std::atomic<bool> &stop)
{
    // The tiles keep one rule: the pair runs on a copy of the quadtree, which keeps it no longer than the jump.
    if (states) {
        StateHashLife next(*states);
        next.setRules(next.rule(), odd);
        if (!next.advanceUnless(generations, stop))
            return false;
        next.setRule(next.rule());
        *states = next;
        return true;
    }
    useHashLife();
    HashLife next(*jumps);
    next.setRules(next.rule(), odd);
    if (!next.advanceUnless(generations, stop))
        return false;
    next.setRule(next.rule());
    jumps = std::move(next);
    return true;
}

bool UnboundedUniverse::racing(std::uint64_t generations) const
{
    // Moving the cells costs about as much as a few generations of tiles: a
    // short jump from HashLife's cells races rather than moving them first.
    constexpr std::uint64_t ShortJump = 64;
    return generations > TileLife::StepLimit || (jumps && !steps && generations > ShortJump);
}

bool UnboundedUniverse::race(std::uint64_t generations, std::atomic<bool> &stop)
{
    EngineRace race(jumps ? &*jumps : nullptr, steps.get(), generations, lastRace);
    if (!race.run(stop)) {
        // The next race need not build HashLife from the tiles again.
        if (steps && !jumps)
            jumps = race.startingQuadtree();
        return false;
    }
    lastRace = race.history();
    if (race.hashLifeCells()) {
        jumps = std::move(race.hashLifeCells());
        steps.reset();
    } else {
        steps = std::move(race.tileLifeCells());
        jumps.reset();
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
    if (other.topology() != topology() || other.backgroundAlive())
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
    // The cells are about to change in the tiles: HashLife's copy of them goes.
    if (steps) {
        jumps.reset();
        return *steps;
    }
    return *jumps;
}

void UnboundedUniverse::useHashLife()
{
    if (jumps) {
        steps.reset();
        return;
    }
    HashLife cells(steps->rule());
    CellCopy::into(*steps, cells);
    jumps = std::move(cells);
    steps.reset();
}

void UnboundedUniverse::useTileLife()
{
    if (steps) {
        jumps.reset();
        return;
    }
    auto cells = std::make_unique<TileLife>(jumps->rule());
    CellCopy::into(*jumps, *cells);
    steps = std::move(cells);
    jumps.reset();
}
