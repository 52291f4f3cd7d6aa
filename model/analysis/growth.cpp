#include "model/analysis/growth.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>

#include "model/analysis/celllist.h"
#include "model/analysis/differenceplane.h"
#include "model/analysis/objectlibrary.h"

namespace
{

// Clusters up to this many cells are tried as spaceships, for up to ShipPeriodLimit generations.
constexpr std::size_t ShipCellLimit = 64;
constexpr int ShipPeriodLimit = 64;
// Cells this far apart in x or in y cannot change each other within a generation.
constexpr std::int64_t Apart = 3;

using Cells = std::vector<CellPoint>; // row by row

// What a cluster does alone: whether it comes back moved, after how long and how far.
struct Motion {
    bool moves = false;
    int period = 0;
    std::int64_t dx = 0;
    std::int64_t dy = 0;
};

// Takes the ships flying away out of a pattern, so that what stays can be
// compared from period to period; it remembers what each shape does alone,
// since a gun's stream repeats a few shapes many times.
class Looker
{
public:
    Looker(const Rule &rule, bool backgroundAlive)
        : rule(rule)
        , background(backgroundAlive)
    {
    }

    // The pattern's spaceships that fly away from the rest, and the rest.
    void split(const Cells &cells, Cells &rest, std::vector<Cells> &ships)
    {
        const std::vector<Cells> clusters = CellList::clusters(cells, 2);
        std::vector<bool> ship(clusters.size(), false);
        std::vector<Motion> motions(clusters.size());
        for (std::size_t i = 0; i < clusters.size(); ++i) {
            if (clusters[i].size() <= ShipCellLimit) {
                motions[i] = motion(clusters[i]);
                ship[i] = motions[i].moves;
            }
        }
        // A ship not heading away from the box of the rest is part of the rest, which then grows.
        for (bool changed = true; changed;) {
            changed = false;
            std::optional<CellRect> box;
            for (std::size_t i = 0; i < clusters.size(); ++i) {
                if (!ship[i]) {
                    const CellRect b = CellList::box(clusters[i]);
                    box = box ? CellRect { std::min(box->left, b.left), std::min(box->top, b.top),
                        std::max(box->right, b.right), std::max(box->bottom, b.bottom) }
                              : b;
                }
            }
            for (std::size_t i = 0; box && i < clusters.size(); ++i) {
                if (ship[i] && !away(CellList::box(clusters[i]), motions[i], *box)) {
                    ship[i] = false;
                    changed = true;
                }
            }
        }
        rest.clear();
        ships.clear();
        for (std::size_t i = 0; i < clusters.size(); ++i) {
            if (ship[i])
                ships.push_back(clusters[i]);
            else
                rest.insert(rest.end(), clusters[i].begin(), clusters[i].end());
        }
        std::sort(rest.begin(), rest.end(), CellList::rowByRow);
    }

    int period(const Cells &ship) { return motion(ship).period; }

private:
    Motion motion(const Cells &cluster)
    {
        const Cells cells = ObjectLibrary::normalised(cluster);
        const std::string key = ObjectLibrary::shapeKey(cells);
        const auto known = motions.find(key);
        if (known != motions.end())
            return known->second;
        Motion found;
        DifferencePlane plane(rule, background);
        plane.setCells(cells);
        for (int k = 1; k <= ShipPeriodLimit; ++k) {
            plane.step();
            const Cells now = plane.cells();
            if (now.empty() || now.size() > 2 * cells.size() + 8)
                break;
            const CellRect box = CellList::box(now);
            if (plane.backgroundAlive() == background
                && ObjectLibrary::shapeKey(ObjectLibrary::normalised(now)) == key) {
                found = { box.left != 0 || box.top != 0, k, box.left, box.top };
                break;
            }
        }
        return motions.emplace(key, found).first->second;
    }

    // Whether a ship in `ship` moving as `motion` gets farther from `rest` along some axis from now on.
    static bool away(const CellRect &ship, const Motion &motion, const CellRect &rest)
    {
        return (ship.left - rest.right >= Apart && motion.dx > 0) || (rest.left - ship.right >= Apart && motion.dx < 0)
            || (ship.top - rest.bottom >= Apart && motion.dy > 0) || (rest.top - ship.bottom >= Apart && motion.dy < 0);
    }

    Rule rule;
    bool background; // alive or not where the cells are looked at
    std::map<std::string, Motion> motions; // by shape key
};

Cells minus(const Cells &a, const Cells &b)
{
    Cells result;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(result), CellList::rowByRow);
    return result;
}

Cells shifted(Cells cells, std::int64_t dx, std::int64_t dy)
{
    for (CellPoint &cell : cells)
        cell = { cell.x + dx, cell.y + dy };
    return cells;
}

bool sameCells(const Cells &a, const Cells &b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(),
            [](const CellPoint &p, const CellPoint &q) { return p.x == q.x && p.y == q.y; });
}

std::string every(int period) { return " every " + std::to_string(period) + " generations"; }

} // namespace

bool Growth::looksAt(std::int64_t generations)
{
    return generations >= FirstLook && generations % FirstLook == 0
        && ((generations / FirstLook) & (generations / FirstLook - 1)) == 0;
}

std::int64_t Growth::lastLookByHalf(std::int64_t generations)
{
    std::int64_t look = 0;
    for (std::int64_t next = FirstLook; next <= generations / 2; next *= 2)
        look = next;
    return look;
}

std::vector<std::string> Growth::Report::lines() const
{
    switch (kind) {
    case Kind::Gun: {
        std::vector<std::string> result { "gun, period " + std::to_string(period) };
        for (const CensusEntry &ship : ships)
            result.push_back("  " + ship.label() + every(period));
        return result;
    }
    case Kind::Puffer:
        return { "puffer, period " + std::to_string(period) + ", moves by (" + std::to_string(dx) + ", "
            + std::to_string(dy) + ")" + every(period) + ", leaves debris" };
    case Kind::Linear:
    case Kind::Quadratic:
    case Kind::Faster:
        break;
    }
    const char *how = kind == Kind::Linear ? "linearly"
        : kind == Kind::Quadratic          ? "quadratically"
                                           : "faster than quadratically";
    return { std::string("grows ") + how + ", " + std::to_string(population) + " cells after "
        + std::to_string(generations) + " generations" };
}

std::optional<Growth::Report> Growth::repeating(
    const std::vector<CellPoint> &cells, const Rule &rule, bool backgroundAlive)
{
    DifferencePlane start(rule, backgroundAlive);
    start.setCells(cells);
    std::vector<std::uint64_t> populations { start.population() };
    DifferencePlane plane = start;
    // A period must bring the background back too: under one that blinks only even ones do.
    std::vector<bool> backgrounds { backgroundAlive };
    for (int t = 1; t <= 2 * PeriodLimit; ++t) {
        plane.step();
        populations.push_back(plane.population());
        backgrounds.push_back(plane.backgroundAlive());
    }
    Looker looker(rule, backgroundAlive);
    for (int q = 1; q <= PeriodLimit; ++q) {
        if (backgrounds[static_cast<std::size_t>(q)] != backgroundAlive)
            continue;
        // A gun or a puffer of period q adds as many cells every q generations.
        const std::uint64_t added = populations[static_cast<std::size_t>(q)] - populations[0];
        if (populations[static_cast<std::size_t>(q)] <= populations[0])
            continue;
        bool steady = true;
        for (std::size_t t = 1; steady && t <= PeriodLimit; ++t)
            steady = populations[t + static_cast<std::size_t>(q)] - populations[t] == added;
        if (!steady)
            continue;

        std::vector<Cells> at { start.cells() };
        DifferencePlane later = start;
        for (int k = 1; k <= 3; ++k) {
            later.advance(static_cast<std::uint64_t>(q));
            at.push_back(later.cells());
        }
        // A gun: the rest as it was, and more ships flying away.
        Cells restBefore;
        Cells restAfter;
        std::vector<Cells> shipsBefore;
        std::vector<Cells> shipsAfter;
        looker.split(at[0], restBefore, shipsBefore);
        looker.split(at[1], restAfter, shipsAfter);
        if (sameCells(restBefore, restAfter) && shipsAfter.size() > shipsBefore.size()) {
            Census before(rule, backgroundAlive);
            Census after(rule, backgroundAlive);
            for (const Cells &ship : shipsBefore)
                before.add(ship, looker.period(ship), true);
            for (const Cells &ship : shipsAfter)
                after.add(ship, looker.period(ship), true);
            Report report;
            report.kind = Kind::Gun;
            report.period = q;
            const std::vector<CensusEntry> old = before.entries();
            for (CensusEntry entry : after.entries()) {
                for (const CensusEntry &was : old)
                    entry.count -= was.singular == entry.singular ? was.count : 0;
                if (entry.count > 0)
                    report.ships.push_back(entry);
            }
            return report;
        }
        // A puffer: what changes in a period changes the same way the next
        // periods, moved, apart from the ships it may send away.
        at[0] = restBefore;
        at[1] = restAfter;
        for (std::size_t k = 2; k < at.size(); ++k) {
            std::vector<Cells> ships;
            Cells rest;
            looker.split(at[k], rest, ships);
            at[k] = std::move(rest);
        }
        // It leaves debris: what stays grows by as much every period. A gun
        // with a ship coming towards it does not.
        const Cells lost = minus(at[0], at[1]);
        const Cells gained = minus(at[1], at[0]);
        if (lost.empty() || gained.size() <= lost.size())
            continue;
        const Cells lostNext = minus(at[1], at[2]);
        if (lostNext.empty())
            continue;
        // Cells lost in one period and the next alike, moved: by as much as their boxes.
        const CellRect from = CellList::box(lost);
        const CellRect to = CellList::box(lostNext);
        const std::int64_t dx = to.left - from.left;
        const std::int64_t dy = to.top - from.top;
        bool moved = dx != 0 || dy != 0;
        for (std::size_t k = 1; moved && k < 3; ++k) {
            const auto n = static_cast<std::int64_t>(k);
            moved = sameCells(minus(at[k], at[k + 1]), shifted(lost, n * dx, n * dy))
                && sameCells(minus(at[k + 1], at[k]), shifted(gained, n * dx, n * dy));
        }
        if (moved) {
            Report report;
            report.kind = Kind::Puffer;
            report.period = q;
            report.dx = dx;
            report.dy = dy;
            return report;
        }
    }
    return std::nullopt;
}

std::optional<Growth::Report> Growth::ofPopulation(
    std::int64_t earlierGenerations, std::uint64_t earlier, std::int64_t generations, std::uint64_t later)
{
    if (earlier == 0 || later <= earlier || earlierGenerations < 1 || generations <= earlierGenerations)
        return std::nullopt;
    // The power of the generations the population follows between the two.
    const double power = std::log(static_cast<double>(later) / static_cast<double>(earlier))
        / std::log(static_cast<double>(generations) / static_cast<double>(earlierGenerations));
    if (power < 0.8)
        return std::nullopt;
    Report report;
    report.kind = power < 1.5 ? Kind::Linear : power < 2.5 ? Kind::Quadratic : Kind::Faster;
    report.generations = generations;
    report.population = later;
    return report;
}
