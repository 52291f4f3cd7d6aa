#include "model/analysis/stabilisation.h"

#include <algorithm>
#include <limits>
#include <unordered_map>

#include "model/analysis/celllist.h"
#include "model/analysis/objectlibrary.h"
#include "model/engine/bitmix.h"

namespace
{

constexpr std::int64_t Never = std::numeric_limits<std::int64_t>::max();
// Generations between two looks for escaping ships: a ship is taken out this much late at most.
constexpr std::int64_t ShipLookInterval = 16;
// Clusters up to this many cells are tried as spaceships, for up to ShipPeriodLimit generations.
constexpr std::size_t ShipCellLimit = 64;
constexpr int ShipPeriodLimit = 64;
// Cells a spaceship's phase may be wider or taller than the phase it was seen in.
constexpr std::int64_t ShipSpread = 6;
// Cells this far apart in x or in y cannot change each other within a generation.
constexpr std::int64_t Apart = 3;
constexpr std::size_t CheckpointLimit = 256;

std::int64_t floorDivision(std::int64_t value, std::int64_t divisor)
{
    const std::int64_t quotient = value / divisor;
    return quotient * divisor > value ? quotient - 1 : quotient;
}

CellRect moved(const CellRect &box, std::int64_t dx, std::int64_t dy)
{
    return { box.left + dx, box.top + dy, box.right + dx, box.bottom + dy };
}

CellRect united(const CellRect &a, const CellRect &b)
{
    return { std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
        std::max(a.bottom, b.bottom) };
}

// How far apart two boxes are: the larger of the gaps in x and in y.
std::int64_t gap(const CellRect &a, const CellRect &b)
{
    return std::max(std::max(a.left - b.right, b.left - a.right), std::max(a.top - b.bottom, b.top - a.bottom));
}

} // namespace

std::uint64_t Stabilisation::Result::escapingCount() const
{
    std::uint64_t count = 0;
    for (const CensusEntry &entry : census)
        count += entry.escaping ? entry.count : 0;
    return count;
}

std::vector<std::string> Stabilisation::Result::lines(std::int64_t generationLimit) const
{
    switch (outcome) {
    case Outcome::DiedOut:
        return { "dies out, lifespan " + std::to_string(lifespan()) };
    case Outcome::Stable: {
        const std::string cells = !backgroundAlive ? std::to_string(population) + (population == 1 ? " cell" : " cells")
            : population == 0                      ? std::string("every cell alive")
                                                   : "every cell alive but " + std::to_string(population);
        std::vector<std::string> result { "lifespan " + std::to_string(lifespan()) + ", " + cells + ", period "
            + std::to_string(period) + (backgroundBlinks ? ", on a background that blinks" : "") };
        for (const CensusEntry &entry : census)
            result.push_back("  " + entry.label());
        return result;
    }
    case Outcome::Grows:
        return growth->lines();
    case Outcome::Running:
    case Outcome::NotStable:
        break;
    }
    // A census that stopped short, at a pattern too large to follow, says how far it looked.
    const std::int64_t looked = std::min(generationLimit, lastGeneration - firstGeneration);
    return { "not stable after " + std::to_string(looked) + " generations" };
}

Stabilisation::Stabilisation(
    const std::vector<CellPoint> &cells, const Rule &rule, std::int64_t firstGeneration, bool backgroundAlive)
    : rule(DifferencePlane::followedRule(rule))
    , firstGeneration(firstGeneration)
    , generation(firstGeneration)
    , rest(this->rule, backgroundAlive)
    , lastEventGeneration(firstGeneration)
    , checkpointInterval(64)
{
    rest.setCells(cells);
    answer.firstGeneration = firstGeneration;
    answer.lastGeneration = firstGeneration;
    examine();
}

void Stabilisation::advance(std::int64_t generations)
{
    for (std::int64_t i = 0; i < generations && !isSettled(); ++i) {
        if (generation == Never)
            throw UniverseError("the generation count would pass " + std::to_string(Never));
        rest.step();
        ++generation;
        answer.lastGeneration = generation;
        examine();
        if (!isSettled() && Growth::looksAt(generation - firstGeneration))
            lookForGrowth();
    }
}

const Stabilisation::Result &Stabilisation::run(std::int64_t generationLimit)
{
    const std::int64_t left = generationLimit - (generation - firstGeneration);
    if (left > 0)
        advance(left);
    if (isSettled())
        return answer;
    answer.outcome = Outcome::NotStable;
    const std::int64_t looked = generation - firstGeneration;
    const auto earlier = lookedPopulations.find(Growth::lastLookByHalf(looked));
    if (looked == generationLimit && earlier != lookedPopulations.end()) {
        answer.growth = Growth::ofPopulation(earlier->first, earlier->second, looked, population());
        if (answer.growth)
            answer.outcome = Outcome::Grows;
    }
    return answer;
}

std::vector<CellPoint> Stabilisation::cells() const
{
    std::vector<CellPoint> result = rest.cells();
    for (const std::size_t index : escaping) {
        const std::vector<CellPoint> ship = shipCells(ships[index], generation);
        result.insert(result.end(), ship.begin(), ship.end());
    }
    return result;
}

void Stabilisation::lookForGrowth()
{
    std::vector<CellPoint> whole = cells();
    lookedPopulations.emplace(generation - firstGeneration, whole.size());
    // Stepping a large pattern for its growth would keep a window's slice waiting.
    if (whole.size() > Growth::CellLimit)
        return;
    std::sort(whole.begin(), whole.end(), CellList::rowByRow);
    answer.growth = Growth::repeating(whole, rule, rest.backgroundAlive());
    if (answer.growth)
        answer.outcome = Outcome::Grows;
}

std::uint64_t Stabilisation::population() const
{
    std::uint64_t count = rest.population();
    for (const std::size_t index : escaping)
        count += shipCells(ships[index], generation).size();
    return count;
}

void Stabilisation::examine()
{
    returnShipsNearRest();
    if ((generation - firstGeneration) % ShipLookInterval == 0)
        removeEscapingShips();
    if (lastEventGeneration == generation && !events.empty()) {
        seen.clear();
        cycle.reset();
    }
    keepCheckpoint();
    if (!cycle)
        findCycle();
    if (cycle && shipsApartFromCycle())
        finish();
}

void Stabilisation::returnShipsNearRest()
{
    std::optional<CellRect> box;
    while (!looks.empty() && looks.top().first <= generation) {
        const auto [at, index] = looks.top();
        looks.pop();
        if (ships[index].returnedAt != Never || ships[index].nextLook != at)
            continue;
        if (!box)
            box = rest.boundingBox();
        if (!box) {
            // Nothing comes near an empty rest, which stays empty.
            looks = {};
            return;
        }
        // A box grows by at most a cell on each side in a generation (the
        // rest's grows more only when a ship is put back), so that the gap
        // between two closes by at most two.
        const std::int64_t distance = gap(shipBox(ships[index], generation), *box);
        if (distance >= Apart) {
            lookAt(index, generation + std::min((distance - Apart) / 2 + 1, Never - generation));
            continue;
        }
        putBack(index);
        box.reset();
    }
}

void Stabilisation::takeOut(Ship ship)
{
    const std::size_t index = ships.size();
    setCells(rest, shipCells(ship, generation), false);
    events.push_back({ generation, index, true });
    lastEventGeneration = generation;
    escaping.push_back(index);
    ships.push_back(std::move(ship));
    joinFleet(index);
    lookAt(index, generation);
}

void Stabilisation::putBack(std::size_t index)
{
    rest.setCells(shipCells(ships[index], generation));
    ships[index].returnedAt = generation;
    events.push_back({ generation, index, false });
    lastEventGeneration = generation;
    escaping.erase(std::find(escaping.begin(), escaping.end(), index));
    leaveFleet(index);
    for (const std::size_t out : escaping)
        lookAt(out, generation);
}

void Stabilisation::lookAt(std::size_t index, std::int64_t at)
{
    ships[index].nextLook = at;
    looks.push({ at, index });
}

void Stabilisation::joinFleet(std::size_t index)
{
    const Ship &ship = ships[index];
    const std::int64_t periods = floorDivision(ship.anchorGeneration, ship.period);
    const std::int64_t residue = ship.anchorGeneration - periods * ship.period;
    auto fleet = std::find_if(fleets.begin(), fleets.end(), [&ship, residue](const Fleet &f) {
        return f.dx == ship.dx && f.dy == ship.dy && f.period == ship.period && f.residue == residue;
    });
    if (fleet == fleets.end())
        fleet = fleets.insert(fleets.end(), { ship.dx, ship.dy, ship.period, residue, {}, {} });
    for (int r = 0; r < ship.period; ++r) {
        const CellRect box
            = moved(moverOf(ship, ship.anchorGeneration + r).box, -periods * ship.dx, -periods * ship.dy);
        if (fleet->hulls.size() <= static_cast<std::size_t>(r))
            fleet->hulls.push_back(box);
        else
            fleet->hulls[static_cast<std::size_t>(r)] = united(fleet->hulls[static_cast<std::size_t>(r)], box);
    }
    fleet->members.push_back(index);
}

void Stabilisation::leaveFleet(std::size_t index)
{
    for (auto fleet = fleets.begin(); fleet != fleets.end(); ++fleet) {
        std::vector<std::size_t> others = fleet->members;
        const auto member = std::find(others.begin(), others.end(), index);
        if (member == others.end())
            continue;
        others.erase(member);
        fleets.erase(fleet);
        for (const std::size_t other : others)
            joinFleet(other);
        return;
    }
}

void Stabilisation::removeEscapingShips()
{
    const std::vector<std::vector<CellPoint>> clusters = CellList::clusters(rest.cells(), 2);
    std::vector<CellRect> boxes;
    for (const std::vector<CellPoint> &cluster : clusters)
        boxes.push_back(CellList::box(cluster));
    if (clusters.empty())
        return;
    // A ship near another cluster may be changed by it: checked against each
    // one near, found by squares of the plane, not against the box of all
    // others, which may hold it between two.
    constexpr std::int64_t Square = 16;
    const auto squareKey = [](std::int64_t x, std::int64_t y) {
        return BitMix::finalise(std::uint64_t(x) * 0x9E3779B97F4A7C15ULL ^ std::uint64_t(y));
    };
    const auto forSquares = [](const CellRect &box, std::int64_t margin, auto visit) {
        for (std::int64_t y = floorDivision(box.top - margin, Square); y <= floorDivision(box.bottom + margin, Square);
             ++y) {
            for (std::int64_t x = floorDivision(box.left - margin, Square);
                 x <= floorDivision(box.right + margin, Square); ++x)
                visit(x, y);
        }
    };
    std::unordered_map<std::uint64_t, std::vector<std::size_t>> squares;
    std::vector<std::size_t> large; // clusters over many squares, checked against every one
    for (std::size_t j = 0; j < clusters.size(); ++j) {
        if ((boxes[j].right - boxes[j].left) / Square * ((boxes[j].bottom - boxes[j].top) / Square) > 16)
            large.push_back(j);
        else
            forSquares(boxes[j], 0, [&](std::int64_t x, std::int64_t y) { squares[squareKey(x, y)].push_back(j); });
    }
    // Whether a cluster is apart from the box of all others: most ships
    // leave that way, and a new shape anywhere else is tried only at every
    // fourth look, since a chaotic pattern breaks into many.
    const auto edge = [&boxes](auto side) {
        std::pair<std::size_t, std::size_t> two { 0, boxes.size() > 1 ? 1 : 0 };
        if (side(boxes[two.second]) < side(boxes[two.first]))
            std::swap(two.first, two.second);
        for (std::size_t i = 2; i < boxes.size(); ++i) {
            if (side(boxes[i]) < side(boxes[two.first]))
                two = { i, two.first };
            else if (side(boxes[i]) < side(boxes[two.second]))
                two.second = i;
        }
        return two;
    };
    const auto lefts = edge([](const CellRect &b) { return b.left; });
    const auto tops = edge([](const CellRect &b) { return b.top; });
    const auto rights = edge([](const CellRect &b) { return -b.right; });
    const auto bottoms = edge([](const CellRect &b) { return -b.bottom; });
    const auto other = [](const std::pair<std::size_t, std::size_t> &two, std::size_t i) {
        return two.first == i ? two.second : two.first;
    };
    const bool everywhere = (generation - firstGeneration) % (4 * ShipLookInterval) == 0;
    const auto outskirts = [&](std::size_t i) {
        const CellRect others { boxes[other(lefts, i)].left, boxes[other(tops, i)].top, boxes[other(rights, i)].right,
            boxes[other(bottoms, i)].bottom };
        return everywhere || clusters.size() == 1 || gap(boxes[i], others) >= Apart;
    };
    std::vector<std::size_t> candidates;
    std::vector<bool> candidate(clusters.size(), false);
    for (std::size_t i = 0; i < clusters.size(); ++i) {
        const std::optional<bool> known = clusters[i].size() > ShipCellLimit ? false : moves(clusters[i], false);
        if (known == false)
            continue;
        bool alone = true;
        const auto check = [&](std::size_t j) { alone = alone && (j == i || gap(boxes[i], boxes[j]) >= Apart); };
        std::for_each(large.begin(), large.end(), check);
        forSquares(boxes[i], Apart, [&](std::int64_t x, std::int64_t y) {
            const auto near = squares.find(squareKey(x, y));
            if (near != squares.end())
                std::for_each(near->second.begin(), near->second.end(), check);
        });
        if (!alone || !(known ? *known : moves(clusters[i], outskirts(i)).value_or(false)))
            continue;
        candidates.push_back(i);
        candidate[i] = true;
    }
    if (candidates.empty())
        return;

    std::optional<CellRect> restBox;
    for (std::size_t i = 0; i < clusters.size(); ++i) {
        if (!candidate[i])
            restBox = restBox ? united(*restBox, boxes[i]) : boxes[i];
    }
    std::vector<Ship> leaving;
    for (const std::size_t i : candidates)
        leaving.push_back(shipOf(shapeOf(clusters[i]), { boxes[i].left, boxes[i].top }));
    // Ships that keep near each other at one velocity move as one, a fleet
    // whose parts may never touch: one ship, if together they come back moved
    // as each does alone.
    for (bool joined = true; joined;) {
        joined = false;
        for (std::size_t k = 0; k < leaving.size() && !joined; ++k) {
            const Mover mover = moverOf(leaving[k], generation);
            for (std::size_t j = k + 1; j < leaving.size() && !joined; ++j) {
                const Ship &other = leaving[j];
                if (other.dx != mover.dx || other.dy != mover.dy || other.period != mover.period
                    || apart(mover, moverOf(other, generation)))
                    continue;
                std::vector<CellPoint> cells = shipCells(leaving[k], generation);
                const std::vector<CellPoint> more = shipCells(other, generation);
                cells.insert(cells.end(), more.begin(), more.end());
                const Shape &shape = shapeOf(cells);
                if (!shape.moves || shape.dx != mover.dx || shape.dy != mover.dy || shape.period != mover.period)
                    continue;
                const CellRect box = CellList::box(cells);
                leaving[k] = shipOf(shape, { box.left, box.top });
                leaving.erase(leaving.begin() + static_cast<std::ptrdiff_t>(j));
                joined = true;
            }
        }
    }
    // Those not apart for ever from the rest, from the ships out already and
    // from each other stay, and become part of the rest.
    for (bool stayed = true; stayed;) {
        stayed = false;
        for (std::size_t k = 0; k < leaving.size() && !stayed; ++k) {
            const Mover mover = moverOf(leaving[k], generation);
            bool free = (!restBox || apart(mover, Mover { *restBox, 0, 0, 1 })) && apartFromEscaping(mover);
            for (std::size_t j = 0; j < leaving.size(); ++j)
                free = free && (j == k || apart(mover, moverOf(leaving[j], generation)));
            if (!free) {
                restBox = restBox ? united(*restBox, mover.box) : mover.box;
                leaving.erase(leaving.begin() + static_cast<std::ptrdiff_t>(k));
                stayed = true;
            }
        }
    }
    for (Ship &ship : leaving)
        takeOut(std::move(ship));
}

void Stabilisation::findCycle()
{
    const std::uint64_t hash = rest.hash();
    std::vector<std::int64_t> &same = seen[hash];
    for (const std::int64_t earlier : same) {
        if (!restBetween(earlier, earlier).front().equals(rest))
            continue;
        // The rest repeats: its phases from now on, up to its smallest period.
        Cycle found;
        found.generation = generation;
        found.phases.push_back(rest);
        found.box = rest.boundingBox();
        for (std::int64_t k = 1; k < generation - earlier; ++k) {
            DifferencePlane next = found.phases.back();
            next.step();
            if (next.equals(rest))
                break;
            if (const std::optional<CellRect> box = next.boundingBox())
                found.box = found.box ? united(*found.box, *box) : *box;
            found.phases.push_back(std::move(next));
        }
        cycle = std::move(found);
        return;
    }
    same.push_back(generation);
}

bool Stabilisation::shipsApartFromCycle() const
{
    return !cycle->box || apartFromEscaping(Mover { *cycle->box, 0, 0, 1 });
}

void Stabilisation::finish()
{
    // The ships may have taken generations more to be apart from the rest:
    // the phases count from where the cycle was found.
    const std::int64_t found = cycle->generation;
    const auto period = static_cast<std::int64_t>(cycle->phases.size());
    std::vector<std::uint64_t> populations;
    for (const DifferencePlane &phase : cycle->phases)
        populations.push_back(phase.population());
    std::uint64_t shipCellCount = 0;
    for (const std::size_t index : escaping)
        shipCellCount += ships[index].phases.front().size();

    // Back through the generations while each is the cycle's phase and the escaping ships, exactly.
    std::int64_t since = found;
    for (std::int64_t high = found - 1; high >= firstGeneration && since == high + 1;) {
        const std::int64_t low = std::max(firstGeneration, std::prev(checkpoints.upper_bound(high))->first);
        const std::vector<DifferencePlane> rests = restBetween(low, high);
        for (std::int64_t g = high; g >= low; --g) {
            DifferencePlane whole = rests[static_cast<std::size_t>(g - low)];
            for (const Ship &ship : ships) {
                if (ship.removedAt <= g && g < ship.returnedAt)
                    whole.setCells(shipCells(ship, g));
            }
            const auto phase = static_cast<std::size_t>(((g - found) % period + period) % period);
            DifferencePlane expected = cycle->phases[phase];
            for (const std::size_t index : escaping)
                expected.setCells(shipCells(ships[index], g));
            if (!whole.equals(expected) || expected.population() != populations[phase] + shipCellCount)
                break;
            since = g;
        }
        high = low - 1;
    }

    answer.stableSince = since;
    answer.period = static_cast<int>(period);
    answer.population
        = populations[static_cast<std::size_t>(((since - found) % period + period) % period)] + shipCellCount;
    const DifferencePlane &first
        = cycle->phases[static_cast<std::size_t>(((since - found) % period + period) % period)];
    answer.backgroundAlive = first.backgroundAlive();
    answer.backgroundBlinks = !first.steadyBackground();
    // A plane left all alive, or alive every other generation, has not died out.
    const bool dead = answer.population == 0 && !answer.backgroundAlive && !answer.backgroundBlinks;
    answer.outcome = dead ? Outcome::DiedOut : Outcome::Stable;
    Census census(rule, cycle->phases.front().backgroundAlive());
    if (cycle->box)
        census.add(cycle->phases.front().cells(), static_cast<int>(period), false);
    for (const std::size_t index : escaping)
        census.add(shipCells(ships[index], found), ships[index].period, true);
    answer.census = census.entries();
}

const Stabilisation::Shape &Stabilisation::shapeOf(const std::vector<CellPoint> &cluster)
{
    const std::vector<CellPoint> cells = ObjectLibrary::normalised(cluster);
    const std::string key = ObjectLibrary::shapeKey(cells);
    const std::string backgroundKey = key + (rest.backgroundAlive() ? 'L' : 'D');
    const auto known = shapes.find(backgroundKey);
    if (known != shapes.end())
        return known->second;
    Shape shape;
    DifferencePlane plane(rule, rest.backgroundAlive());
    plane.setCells(cells);
    shape.phases.push_back(cells);
    shape.boxes.push_back(CellList::box(cells));
    for (int k = 1; k <= ShipPeriodLimit; ++k) {
        plane.step();
        std::vector<CellPoint> now = plane.cells();
        if (now.empty() || now.size() > 2 * cells.size() + 8)
            break;
        // A spaceship keeps about its size in every phase: a cluster that spreads is none.
        const CellRect box = CellList::box(now);
        if (box.right - box.left > shape.boxes.front().right + ShipSpread
            || box.bottom - box.top > shape.boxes.front().bottom + ShipSpread)
            break;
        if (plane.backgroundAlive() == rest.backgroundAlive()
            && ObjectLibrary::shapeKey(ObjectLibrary::normalised(now)) == key) {
            shape.moves = box.left != 0 || box.top != 0;
            shape.period = k;
            shape.dx = box.left;
            shape.dy = box.top;
            break;
        }
        shape.phases.push_back(std::move(now));
        shape.boxes.push_back(box);
    }
    if (!shape.moves) {
        shape.phases.clear();
        shape.boxes.clear();
    }
    return shapes.emplace(backgroundKey, std::move(shape)).first->second;
}

Stabilisation::Ship Stabilisation::shipOf(const Shape &shape, CellPoint anchor) const
{
    Ship ship;
    ship.phases = shape.phases;
    ship.boxes = shape.boxes;
    ship.period = shape.period;
    ship.dx = shape.dx;
    ship.dy = shape.dy;
    ship.anchorGeneration = generation;
    ship.anchor = anchor;
    ship.removedAt = generation;
    ship.returnedAt = Never;
    return ship;
}

std::optional<bool> Stabilisation::moves(const std::vector<CellPoint> &cluster, bool tryNewShape)
{
    const CellRect box = CellList::box(cluster);
    std::uint64_t digest = cluster.size() ^ (rest.backgroundAlive() ? 0xB0B0B0B0B0B0B0B0ULL : 0);
    for (const CellPoint &cell : cluster)
        digest = BitMix::finalise(digest ^ (std::uint64_t(cell.x - box.left) << 32 | std::uint64_t(cell.y - box.top)));
    const auto known = movesByDigest.find(digest);
    if (known != movesByDigest.end())
        return known->second;
    if (!tryNewShape)
        return std::nullopt;
    return movesByDigest.emplace(digest, shapeOf(cluster).moves).first->second;
}

std::vector<CellPoint> Stabilisation::shipCells(const Ship &ship, std::int64_t at) const
{
    const std::int64_t k = at - ship.anchorGeneration;
    const std::int64_t periods = floorDivision(k, ship.period);
    const auto phase = static_cast<std::size_t>(k - periods * ship.period);
    std::vector<CellPoint> cells = ship.phases[phase];
    const std::int64_t dx = ship.anchor.x + periods * ship.dx;
    const std::int64_t dy = ship.anchor.y + periods * ship.dy;
    for (CellPoint &cell : cells)
        cell = { cell.x + dx, cell.y + dy };
    return cells;
}

CellRect Stabilisation::shipBox(const Ship &ship, std::int64_t at) const
{
    const std::int64_t k = at - ship.anchorGeneration;
    const std::int64_t periods = floorDivision(k, ship.period);
    return moved(ship.boxes[static_cast<std::size_t>(k - periods * ship.period)], ship.anchor.x + periods * ship.dx,
        ship.anchor.y + periods * ship.dy);
}

Stabilisation::Mover Stabilisation::moverOf(const Ship &ship, std::int64_t at) const
{
    CellRect box = shipBox(ship, at);
    for (int k = 1; k < ship.period; ++k)
        box = united(box, shipBox(ship, at + k));
    return { box, ship.dx, ship.dy, ship.period };
}

bool Stabilisation::apartFromEscaping(const Mover &mover) const
{
    for (const Fleet &fleet : fleets) {
        const std::int64_t periods = floorDivision(generation - fleet.residue, fleet.period);
        const CellRect &hull
            = fleet.hulls[static_cast<std::size_t>(generation - fleet.residue - periods * fleet.period)];
        if (apart(mover, { moved(hull, periods * fleet.dx, periods * fleet.dy), fleet.dx, fleet.dy, fleet.period }))
            continue;
        for (const std::size_t member : fleet.members) {
            if (!apart(mover, moverOf(ships[member], generation)))
                return false;
        }
    }
    return true;
}

bool Stabilisation::apart(const Mover &a, const Mover &b)
{
    // `high` stays beyond `low` along one axis when it starts far enough
    // beyond, rounding each one's moves against it, and moves at least as
    // fast that way.
    const auto beyond = [](std::int64_t highEdge, std::int64_t highMove, int highPeriod, std::int64_t lowEdge,
                            std::int64_t lowMove, int lowPeriod) {
        const std::int64_t start
            = highEdge - lowEdge - std::max<std::int64_t>(highMove, 0) - std::max<std::int64_t>(-lowMove, 0);
        return start >= Apart && highMove * lowPeriod >= lowMove * highPeriod;
    };
    return beyond(b.box.left, b.dx, b.period, a.box.right, a.dx, a.period)
        || beyond(a.box.left, a.dx, a.period, b.box.right, b.dx, b.period)
        || beyond(b.box.top, b.dy, b.period, a.box.bottom, a.dy, a.period)
        || beyond(a.box.top, a.dy, a.period, b.box.bottom, b.dy, b.period);
}

std::vector<DifferencePlane> Stabilisation::restBetween(std::int64_t from, std::int64_t to) const
{
    auto checkpoint = std::prev(checkpoints.upper_bound(from));
    DifferencePlane plane = checkpoint->second;
    auto event = std::upper_bound(events.begin(), events.end(), checkpoint->first,
        [](std::int64_t at, const Event &e) { return at < e.generation; });
    std::vector<DifferencePlane> result;
    for (std::int64_t g = checkpoint->first; g <= to; ++g) {
        if (g > checkpoint->first) {
            plane.step();
            for (; event != events.end() && event->generation == g; ++event)
                applyEvent(plane, *event);
        }
        if (g >= from)
            result.push_back(plane);
    }
    return result;
}

void Stabilisation::applyEvent(DifferencePlane &plane, const Event &event) const
{
    setCells(plane, shipCells(ships[event.ship], event.generation), !event.removed);
}

void Stabilisation::setCells(DifferencePlane &plane, const std::vector<CellPoint> &cells, bool differ)
{
    if (differ) {
        plane.setCells(cells);
        return;
    }
    for (const CellPoint &cell : cells)
        plane.setCell(cell.x, cell.y, false);
}

void Stabilisation::keepCheckpoint()
{
    if ((generation - firstGeneration) % checkpointInterval != 0)
        return;
    checkpoints.emplace(generation, rest);
    if (checkpoints.size() <= CheckpointLimit)
        return;
    // Every other one goes, the first stays: twice as far apart from now on.
    checkpointInterval *= 2;
    for (auto it = checkpoints.begin(); it != checkpoints.end();) {
        if ((it->first - firstGeneration) % checkpointInterval != 0)
            it = checkpoints.erase(it);
        else
            ++it;
    }
}
