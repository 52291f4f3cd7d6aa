#include "model/analysis/statestabilisation.h"

#include <algorithm>
#include <limits>

#include "model/analysis/statecensus.h"

namespace
{

constexpr std::int64_t Never = std::numeric_limits<std::int64_t>::max();
// Cells nearer than this may change each other within a generation.
constexpr std::int64_t Apart = 3;
// Shapes of groups that are no ship remembered at most; ships are always.
constexpr std::size_t RememberedLimit = std::size_t(1) << 16;

CellRect joined(const CellRect &a, const CellRect &b)
{
    return { std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
        std::max(a.bottom, b.bottom) };
}

CellRect shifted(const CellRect &box, std::int64_t dx, std::int64_t dy)
{
    return { box.left + dx, box.top + dy, box.right + dx, box.bottom + dy };
}

bool boxesApart(const CellRect &a, const CellRect &b)
{
    return a.right + Apart <= b.left || b.right + Apart <= a.left || a.bottom + Apart <= b.top
        || b.bottom + Apart <= a.top;
}

} // namespace

bool StateStabilisation::follows(const Rule &rule) { return rule.stateCount() > 2 && !rule.isHistory(); }

StateStabilisation::StateStabilisation(const Cells &cells, const Rule &rule, std::int64_t firstGeneration)
    : rule(rule)
    , firstGeneration(firstGeneration)
    , generation(firstGeneration)
    , rest(rule)
    , history(Never / 4)
{
    rest.setStates(cells);
    answer.firstGeneration = firstGeneration;
    answer.lastGeneration = firstGeneration;
    examine();
}

void StateStabilisation::advance(std::int64_t generations)
{
    for (std::int64_t i = 0; i < generations && !isSettled(); ++i) {
        if (generation == Never)
            throw UniverseError("the generation count would pass " + std::to_string(Never));
        rest.advance(1);
        ++generation;
        answer.lastGeneration = generation;
        shipPopulation = 0;
        for (const Ship &ship : ships)
            shipPopulation += shipCells(ship, generation).size();
        examine();
    }
}

const Stabilisation::Result &StateStabilisation::run(std::int64_t generationLimit)
{
    advance(firstGeneration + generationLimit - generation);
    if (isSettled())
        return answer;
    answer.growth = growthSoFar();
    answer.outcome = answer.growth ? Stabilisation::Outcome::Grows : Stabilisation::Outcome::NotStable;
    return answer;
}

std::optional<Growth::Report> StateStabilisation::growthSoFar() const
{
    const auto looked = static_cast<std::int64_t>(populations.size()) - 1;
    const std::int64_t earlier = Growth::lastLookByHalf(looked);
    if (earlier <= 0)
        return std::nullopt;
    return Growth::ofPopulation(earlier, populations[static_cast<std::size_t>(earlier)], looked, populations.back());
}

bool StateStabilisation::isSettled() const
{
    return answer.outcome != Stabilisation::Outcome::Running && answer.outcome != Stabilisation::Outcome::NotStable;
}

std::uint64_t StateStabilisation::population() const { return rest.population() + shipPopulation; }

void StateStabilisation::examine()
{
    bool changed = putBackShipsNear();
    changed = takeOutShips() || changed;
    if (changed || restarted) {
        history.reset(rest, generation);
        cycleHull.reset();
    } else {
        history.append(rest, generation);
    }
    restarted = false;
    populations.push_back(population());
    checkSettled();
}

bool StateStabilisation::putBackShipsNear()
{
    const std::optional<CellRect> restBox = rest.boundingBox();
    if (!restBox)
        return false;
    bool any = false;
    for (std::size_t i = 0; i < ships.size();) {
        const Cells cells = shipCells(ships[i], generation);
        if (boxesApart(StatedCellList::box(cells), *restBox)) {
            ++i;
            continue;
        }
        // Ships out are apart from each other for ever: only the rest comes near.
        rest.setStates(cells);
        ships.erase(ships.begin() + static_cast<std::ptrdiff_t>(i));
        any = true;
    }
    return any;
}

bool StateStabilisation::takeOutShips()
{
    if (rest.population() == 0)
        return false;
    const std::vector<Cells> groups = StatedCellList::clusters(StatedCellList::of(rest), Apart - 1);
    // The boxes of the groups before each one and after it: a ship leaves the box of all the others.
    const std::size_t n = groups.size();
    std::vector<std::optional<CellRect>> before(n + 1);
    std::vector<std::optional<CellRect>> after(n + 1);
    for (std::size_t i = 0; i < n; ++i) {
        const CellRect box = StatedCellList::box(groups[i]);
        before[i + 1] = before[i] ? joined(*before[i], box) : box;
    }
    for (std::size_t i = n; i-- > 0;) {
        const CellRect box = StatedCellList::box(groups[i]);
        after[i] = after[i + 1] ? joined(*after[i + 1], box) : box;
    }
    bool any = false;
    for (std::size_t i = 0; i < n; ++i) {
        const std::optional<CellRect> &left = before[i];
        const std::optional<CellRect> &right = after[i + 1];
        const std::optional<CellRect> others = left && right ? joined(*left, *right) : left ? left : right;
        const CellRect box = StatedCellList::box(groups[i]);
        if (groups[i].size() > ShipCellLimit || (others && !boxesApart(box, *others)))
            continue;
        const Shape *shape = shipShape(groups[i]);
        if (!shape)
            continue;
        const Ship ship { shape, generation, { box.left, box.top } };
        const Mover mover = moverOf(ship, generation);
        // The ships taken out before this one are apart from the others' box now too.
        bool free = !others || apart(mover, { *others, 0, 0, 1 });
        for (std::size_t k = 0; k < ships.size() && free; ++k)
            free = apart(mover, moverOf(ships[k], generation));
        if (!free)
            continue;
        Cells dead = groups[i];
        for (StatedCellList::Cell &cell : dead)
            cell.state = 0;
        rest.setStates(dead);
        ships.push_back(ship);
        shipPopulation += groups[i].size();
        any = true;
    }
    return any;
}

void StateStabilisation::checkSettled()
{
    if (!history.isSettled())
        return;
    // The rest moving as a whole may yet meet something: looked at anew.
    if (history.fate() == RunHistory::Fate::Moving) {
        restarted = true;
        return;
    }
    const std::int64_t start = history.cycleStart();
    const std::int64_t period = history.period();
    if (!cycleHull) {
        StateHashLife phase(rest);
        std::optional<CellRect> hull = phase.boundingBox();
        for (std::int64_t t = 1; t < period; ++t) {
            phase.advance(1);
            if (const std::optional<CellRect> box = phase.boundingBox())
                hull = hull ? joined(*hull, *box) : *box;
        }
        cycleHull = hull;
    }
    if (*cycleHull) {
        const Mover still { **cycleHull, 0, 0, 1 };
        for (const Ship &ship : ships) {
            if (!apart(moverOf(ship, generation), still))
                return;
        }
    }
    finish(start, period);
}

void StateStabilisation::finish(std::int64_t start, std::int64_t period)
{
    // The rest repeats in place from `start`: a whole number of periods on it is as it was then.
    StateHashLife phase(rest);
    const std::int64_t behind = (generation - start) % period;
    phase.advance(static_cast<std::uint64_t>(behind == 0 ? 0 : period - behind));
    const Cells restCells = StatedCellList::of(phase);
    answer.outcome
        = restCells.empty() && ships.empty() ? Stabilisation::Outcome::DiedOut : Stabilisation::Outcome::Stable;
    answer.stableSince = start;
    answer.period = static_cast<int>(restCells.empty() ? 1 : period);
    answer.population = populations[static_cast<std::size_t>(start - firstGeneration)];
    StateCensus census(rule);
    if (!restCells.empty())
        census.add(restCells, answer.period, false);
    for (const Ship &ship : ships)
        census.add(ship.shape->phases.front(), ship.shape->period, true);
    answer.census = census.entries();
}

const StateStabilisation::Shape *StateStabilisation::shipShape(const Cells &cells)
{
    const Cells shape = StatedCellList::normalised(cells);
    const std::string key = StatedCellList::key(shape);
    const auto found = shapes.find(key);
    if (found != shapes.end())
        return found->second ? &*found->second : nullptr;
    // Alone it comes back moved, or in place, dies or grows past what a small ship might be.
    std::optional<Shape> ship;
    StateHashLife plane(rule);
    plane.setStates(shape);
    Shape tried;
    tried.phases.push_back(shape);
    tried.hull = StatedCellList::box(shape);
    for (int t = 1; t <= ShipPeriodLimit; ++t) {
        plane.advance(1);
        const Cells now = StatedCellList::of(plane);
        if (now.empty() || now.size() > 4 * shape.size() + 16)
            break;
        const CellRect box = StatedCellList::box(now);
        if (StatedCellList::equal(StatedCellList::normalised(now), shape)) {
            if (box.left != 0 || box.top != 0) {
                tried.period = t;
                tried.dx = box.left;
                tried.dy = box.top;
                ship = std::move(tried);
            }
            break;
        }
        tried.phases.push_back(now);
        tried.hull = joined(tried.hull, box);
    }
    if (!ship && shapes.size() >= RememberedLimit)
        return nullptr;
    const auto kept = shapes.emplace(key, std::move(ship)).first;
    return kept->second ? &*kept->second : nullptr;
}

StateStabilisation::Cells StateStabilisation::shipCells(const Ship &ship, std::int64_t at) const
{
    const Shape &shape = *ship.shape;
    const std::int64_t k = at - ship.anchorGeneration;
    const std::int64_t periods = k / shape.period;
    return StatedCellList::moved(shape.phases[static_cast<std::size_t>(k % shape.period)],
        ship.anchor.x + periods * shape.dx, ship.anchor.y + periods * shape.dy);
}

StateStabilisation::Mover StateStabilisation::moverOf(const Ship &ship, std::int64_t at) const
{
    // From `at` on its cells lie within the hull of the current period moved
    // by (t - at) / period * (dx, dy), give or take less than a period's move
    // either way; exactly so for a period of 1.
    const Shape &shape = *ship.shape;
    const std::int64_t periods = (at - ship.anchorGeneration) / shape.period;
    const CellRect now = shifted(shape.hull, ship.anchor.x + periods * shape.dx, ship.anchor.y + periods * shape.dy);
    if (shape.period == 1)
        return { now, shape.dx, shape.dy, 1 };
    return { joined(shifted(now, -shape.dx, -shape.dy), shifted(now, shape.dx, shape.dy)), shape.dx, shape.dy,
        shape.period };
}

bool StateStabilisation::apart(const Mover &a, const Mover &b)
{
    // Apart along an axis now, and the one behind not gaining on the one ahead.
    const std::int64_t gainX = b.dx * a.period - a.dx * b.period; // b's speed to the right less a's, times both periods
    const std::int64_t gainY = b.dy * a.period - a.dy * b.period;
    return (a.box.right + Apart <= b.box.left && gainX >= 0) || (b.box.right + Apart <= a.box.left && gainX <= 0)
        || (a.box.bottom + Apart <= b.box.top && gainY >= 0) || (b.box.bottom + Apart <= a.box.top && gainY <= 0);
}
