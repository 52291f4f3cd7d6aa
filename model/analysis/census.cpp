#include "model/analysis/census.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <unordered_map>

#include "model/analysis/celllist.h"
#include "model/analysis/differenceplane.h"
#include "model/analysis/disjointsets.h"
#include "model/analysis/statedcelllist.h"

namespace
{

// Pieces up to this many cells are searched for a split into still lifes;
// the search tries at most SplitSteps assignments.
constexpr std::size_t SplitLimit = 64;
constexpr int SplitSteps = 1 << 16;

struct CellHash {
    std::size_t operator()(const CellPoint &cell) const
    {
        return std::hash<std::uint64_t>()(std::uint64_t(cell.x) * 0x9E3779B97F4A7C15ULL ^ std::uint64_t(cell.y));
    }
};

CellPoint topLeft(const std::vector<CellPoint> &cells)
{
    const CellRect box = CellList::box(cells);
    return { box.left, box.top };
}

std::string ofCells(std::uint64_t population)
{
    return std::to_string(population) + (population == 1 ? " cell" : " cells");
}

// The orientation of `cells` whose key is least among those that keep `rule`'s
// neighbourhood, normalised: under hexagonal rules a shape and its quarter turn
// are different objects.
std::vector<CellPoint> canonicalCells(const std::vector<CellPoint> &cells, const Rule &rule)
{
    std::vector<CellPoint> least;
    std::string leastKey;
    for (const int orientation : StatedCellList::symmetries(rule)) {
        std::vector<CellPoint> turned = ObjectLibrary::oriented(cells, orientation);
        std::string key = ObjectLibrary::shapeKey(turned);
        if (orientation == 0 || key < leastKey) {
            leastKey = std::move(key);
            least = std::move(turned);
        }
    }
    return least;
}

} // namespace

void CensusEntry::nameBySize(const std::string &size)
{
    const std::string periodText = "period " + std::to_string(period) + " ";
    switch (kind) {
    case ObjectKind::StillLife:
        singular = "still life of " + size;
        plural = "still lifes of " + size;
        break;
    case ObjectKind::Oscillator:
        singular = periodText + "oscillator of " + size;
        plural = periodText + "oscillators of " + size;
        break;
    case ObjectKind::Spaceship:
        singular = periodText + "spaceship of " + size;
        plural = periodText + "spaceships of " + size;
        break;
    }
}

bool CensusEntry::listedBefore(const CensusEntry &a, const CensusEntry &b)
{
    if (a.count != b.count)
        return a.count > b.count;
    if (a.kind != b.kind)
        return a.kind < b.kind;
    if (a.population != b.population)
        return a.population < b.population;
    return a.singular < b.singular;
}

std::string CensusEntry::label() const
{
    return std::to_string(count) + " " + (count == 1 ? singular : plural) + (escaping ? " (escaping)" : "");
}

Census::Census(const Rule &rule, bool backgroundAlive)
    : rule(DifferencePlane::followedRule(rule))
    , background(backgroundAlive)
{
    const DifferencePlane plane(this->rule, backgroundAlive);
    if (plane.steadyBackground())
        splitRule = plane.steppedRule();
}

void Census::add(std::vector<CellPoint> cells, int generations, bool escaping)
{
    std::sort(cells.begin(), cells.end(), CellList::rowByRow);
    cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
    for (const Phases &piece : split(cells, generations))
        count(piece, escaping);
}

std::vector<CensusEntry> CensusEntry::listOf(const std::map<std::string, CensusEntry> &kinds)
{
    std::vector<CensusEntry> result;
    for (const auto &kind : kinds)
        result.push_back(kind.second);
    std::stable_sort(result.begin(), result.end(), listedBefore);
    return result;
}

std::vector<CensusEntry> Census::entries() const { return CensusEntry::listOf(kinds); }

std::uint64_t Census::objectCount() const
{
    std::uint64_t total = 0;
    for (const auto &kind : kinds)
        total += kind.second.count;
    return total;
}

std::vector<Census::Phases> Census::split(const std::vector<CellPoint> &cells, int generations)
{
    const Phases whole = run(cells, generations);
    std::vector<Phases> pieces;
    for (const std::vector<CellPoint> &cluster : CellList::clusters(cells, 1))
        pieces.push_back(evolved(cluster, generations));

    // Pieces that change each other are one piece: merged until none does.
    for (;;) {
        const std::vector<std::vector<std::size_t>> groups = interacting(pieces, whole);
        if (groups.empty())
            break;
        std::vector<bool> merged(pieces.size(), false);
        std::vector<Phases> next;
        for (const std::vector<std::size_t> &group : groups) {
            std::vector<CellPoint> together;
            for (const std::size_t index : group) {
                together.insert(together.end(), pieces[index].front().begin(), pieces[index].front().end());
                merged[index] = true;
            }
            std::sort(together.begin(), together.end(), CellList::rowByRow);
            next.push_back(evolved(together, generations));
        }
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            if (!merged[i])
                next.push_back(std::move(pieces[i]));
        }
        pieces.swap(next);
    }

    // Still lifes that are two or more still lifes side by side.
    std::vector<Phases> result;
    for (Phases &piece : pieces) {
        // Under a background that blinks no piece is still.
        const bool still = (piece.size() < 2 || piece[1] == piece[0]) && splitRule;
        const bool known = libraryIndex(piece.front()) >= 0;
        if (!still || known || piece.front().size() > SplitLimit) {
            result.push_back(std::move(piece));
            continue;
        }
        for (const std::vector<CellPoint> &part : splitStill(piece.front()))
            result.push_back(part.size() == piece.front().size() ? std::move(piece) : evolved(part, generations));
    }
    return result;
}

const Census::Phases &Census::shapePhases(const std::vector<CellPoint> &normalisedCells, int generations)
{
    const auto key = std::make_pair(ObjectLibrary::shapeKey(normalisedCells), generations);
    const auto found = shapes.find(key);
    if (found != shapes.end())
        return found->second;
    return shapes.emplace(key, run(normalisedCells, generations)).first->second;
}

Census::Phases Census::run(const std::vector<CellPoint> &cells, int generations) const
{
    Phases phases { cells };
    DifferencePlane plane(rule, background);
    plane.setCells(cells);
    for (int t = 1; t <= generations; ++t) {
        plane.step();
        phases.push_back(plane.cells());
    }
    return phases;
}

Census::Phases Census::evolved(const std::vector<CellPoint> &cells, int generations)
{
    const CellPoint corner = topLeft(cells);
    Phases phases = shapePhases(ObjectLibrary::normalised(cells), generations);
    for (std::vector<CellPoint> &phase : phases) {
        for (CellPoint &cell : phase)
            cell = { cell.x + corner.x, cell.y + corner.y };
    }
    return phases;
}

std::vector<std::vector<std::size_t>> Census::interacting(const std::vector<Phases> &pieces, const Phases &whole) const
{
    for (std::size_t t = 1; t < whole.size(); ++t) {
        std::vector<CellPoint> together;
        for (const Phases &piece : pieces)
            together.insert(together.end(), piece[t].begin(), piece[t].end());
        std::sort(together.begin(), together.end(), CellList::rowByRow);
        if (together == whole[t])
            continue;
        // Cells two pieces make at once, and those the pieces alone make or miss unlike the whole.
        std::vector<CellPoint> wrong;
        for (std::size_t i = 1; i < together.size(); ++i) {
            if (together[i] == together[i - 1])
                wrong.push_back(together[i]);
        }
        together.erase(std::unique(together.begin(), together.end()), together.end());
        std::set_symmetric_difference(together.begin(), together.end(), whole[t].begin(), whole[t].end(),
            std::back_inserter(wrong), CellList::rowByRow);
        // The pieces around each wrong cell a generation before: those that together made it wrong.
        std::unordered_map<CellPoint, std::size_t, CellHash> owners;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            for (const CellPoint &cell : pieces[i][t - 1])
                owners.emplace(cell, i);
        }
        DisjointSets sets(pieces.size());
        bool joined = false;
        for (const CellPoint &cell : wrong) {
            std::size_t first = pieces.size();
            for (std::int64_t dy = -1; dy <= 1; ++dy) {
                for (std::int64_t dx = -1; dx <= 1; ++dx) {
                    const auto owner = owners.find({ cell.x + dx, cell.y + dy });
                    if (owner == owners.end())
                        continue;
                    if (first == pieces.size())
                        first = owner->second;
                    else
                        joined = sets.join(first, owner->second) || joined;
                }
            }
        }
        // Cannot happen while the pieces are right before t; should it, all become one.
        for (std::size_t i = 1; !joined && i < pieces.size(); ++i)
            sets.join(0, i);
        return sets.groups(2);
    }
    // A spark that dies without changing anything leaves a piece that is not
    // back after the period: it belongs to the pieces that make its cells
    // again by then.
    if (whole.front().empty() || whole.back().empty())
        return {};
    const CellPoint first = topLeft(whole.front());
    const CellPoint last = topLeft(whole.back());
    const std::int64_t dx = last.x - first.x;
    const std::int64_t dy = last.y - first.y;
    std::unordered_map<CellPoint, std::size_t, CellHash> makers;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        for (const CellPoint &cell : pieces[i].back())
            makers.emplace(cell, i);
    }
    DisjointSets sets(pieces.size());
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const Phases &piece = pieces[i];
        if (ObjectLibrary::normalised(piece.back()) == ObjectLibrary::normalised(piece.front()))
            continue;
        for (const CellPoint &cell : piece.front()) {
            const auto maker = makers.find({ cell.x + dx, cell.y + dy });
            if (maker != makers.end())
                sets.join(i, maker->second);
        }
    }
    return sets.groups(2);
}

int Census::libraryIndex(const std::vector<CellPoint> &cells)
{
    if (rule != Rule() || background)
        return -1;
    const std::string key = ObjectLibrary::shapeKey(ObjectLibrary::normalised(cells));
    const auto found = libraryIndices.find(key);
    if (found != libraryIndices.end())
        return found->second;
    return libraryIndices.emplace(key, ObjectLibrary::conway().find(cells)).first->second;
}

std::vector<std::vector<CellPoint>> Census::splitStill(const std::vector<CellPoint> &cells) const
{
    // Two colours for the cells, each colour a still life on its own: every
    // cell lives on among its own colour, and no cell, dead or of the other
    // colour, is born from one colour's cells.
    const std::size_t n = cells.size();
    std::unordered_map<CellPoint, std::size_t, CellHash> indexOf;
    for (std::size_t i = 0; i < n; ++i)
        indexOf.emplace(cells[i], i);
    struct Check {
        int live; // the cell's index, or -1 for a dead cell
        std::vector<std::size_t> neighbours;
        std::vector<unsigned> places; // of each neighbour around the cell, a bit in NeighbourShapes' order
    };
    // NW, N, NE, W, E, SW, S, SE: bits 0..7.
    const auto place = [](std::int64_t dx, std::int64_t dy) {
        const auto index = static_cast<unsigned>((dy + 1) * 3 + (dx + 1));
        return 1U << (index > 4 ? index - 1 : index);
    };
    std::vector<Check> checks;
    std::unordered_map<CellPoint, std::size_t, CellHash> deadChecks;
    for (std::size_t i = 0; i < n; ++i)
        checks.push_back({ static_cast<int>(i), {}, {} });
    for (std::size_t i = 0; i < n; ++i) {
        for (std::int64_t dy = -1; dy <= 1; ++dy) {
            for (std::int64_t dx = -1; dx <= 1; ++dx) {
                if (dx == 0 && dy == 0)
                    continue;
                const CellPoint near { cells[i].x + dx, cells[i].y + dy };
                const auto live = indexOf.find(near);
                if (live != indexOf.end()) {
                    checks[i].neighbours.push_back(live->second);
                    checks[i].places.push_back(place(dx, dy));
                    continue;
                }
                auto dead = deadChecks.find(near);
                if (dead == deadChecks.end()) {
                    dead = deadChecks.emplace(near, checks.size()).first;
                    checks.push_back({ -1, {}, {} });
                }
                checks[dead->second].neighbours.push_back(i);
                checks[dead->second].places.push_back(place(-dx, -dy));
            }
        }
    }
    // Cells coloured in the order of a walk through neighbours, so that checks close early.
    std::vector<std::size_t> order;
    std::vector<int> position(n, -1);
    for (std::size_t start = 0; start < n; ++start) {
        if (position[start] >= 0)
            continue;
        position[start] = static_cast<int>(order.size());
        order.push_back(start);
        for (std::size_t k = order.size() - 1; k < order.size(); ++k) {
            for (const std::size_t next : checks[order[k]].neighbours) {
                if (position[next] < 0) {
                    position[next] = static_cast<int>(order.size());
                    order.push_back(next);
                }
            }
        }
    }
    std::vector<std::vector<std::size_t>> closingAt(n);
    for (std::size_t c = 0; c < checks.size(); ++c) {
        int last = checks[c].live;
        last = last >= 0 ? position[static_cast<std::size_t>(last)] : -1;
        for (const std::size_t neighbour : checks[c].neighbours)
            last = std::max(last, position[neighbour]);
        closingAt[static_cast<std::size_t>(last)].push_back(c);
    }
    std::vector<int> colour(n, -1);
    // A count is enough under a Life-like rule, and quicker; the others ask where the neighbours are.
    const bool counted = splitRule->isLifeLike();
    const auto holds = [&](const Check &check) {
        int counts[2] = { 0, 0 };
        unsigned places[2] = { 0, 0 };
        for (std::size_t k = 0; k < check.neighbours.size(); ++k) {
            const int c = colour[check.neighbours[k]];
            ++counts[c];
            places[c] |= check.places[k];
        }
        for (int c = 0; c < 2; ++c) {
            const bool alive = check.live >= 0 && colour[static_cast<std::size_t>(check.live)] == c;
            const bool next
                = counted ? splitRule->nextState(alive, counts[c]) : splitRule->next(alive ? 1 : 0, places[c]) != 0;
            if (next != alive)
                return false;
        }
        return true;
    };
    int steps = 0;
    std::function<bool(std::size_t)> assign = [&](std::size_t depth) {
        if (depth == n)
            return std::find(colour.begin(), colour.end(), 1) != colour.end();
        if (++steps > SplitSteps)
            return false;
        for (int c = 0; c < (depth == 0 ? 1 : 2); ++c) {
            colour[order[depth]] = c;
            bool fine = true;
            for (const std::size_t check : closingAt[depth])
                fine = fine && holds(checks[check]);
            if (fine && assign(depth + 1))
                return true;
        }
        colour[order[depth]] = -1;
        return false;
    };
    if (n < 2 || !assign(0))
        return { cells };
    std::vector<CellPoint> parts[2];
    for (std::size_t i = 0; i < n; ++i)
        parts[colour[i]].push_back(cells[i]);
    std::vector<std::vector<CellPoint>> result;
    for (const std::vector<CellPoint> &part : parts) {
        for (std::vector<CellPoint> &piece : splitStill(part))
            result.push_back(std::move(piece));
    }
    return result;
}

void Census::count(const Phases &piece, bool escaping)
{
    const std::vector<CellPoint> shape = ObjectLibrary::normalised(piece.front());
    const std::string shapeKey = ObjectLibrary::shapeKey(shape);
    auto found = named.find(shapeKey);
    if (found == named.end()) {
        CensusEntry entry;
        // Its own period: the first generation with its first cells again, moved or not.
        std::size_t period = piece.size() - 1;
        for (std::size_t t = 1; t < piece.size(); ++t) {
            if (!piece[t].empty() && ObjectLibrary::normalised(piece[t]) == shape) {
                period = t;
                break;
            }
        }
        period = std::max<std::size_t>(period, 1);
        const CellPoint from = topLeft(piece.front());
        const CellPoint to = piece[period].empty() ? from : topLeft(piece[period]);
        entry.period = static_cast<int>(period);
        entry.dx = to.x - from.x;
        entry.dy = to.y - from.y;
        entry.kind = entry.dx != 0 || entry.dy != 0 ? ObjectKind::Spaceship
            : period == 1                           ? ObjectKind::StillLife
                                                    : ObjectKind::Oscillator;
        const int known = libraryIndex(piece.front());
        if (known >= 0) {
            const ObjectLibrary::Object &object = ObjectLibrary::conway().objects()[static_cast<std::size_t>(known)];
            entry.singular = object.singular;
            entry.plural = object.plural;
            entry.cells = object.cells;
        } else {
            // The phase with fewest cells, the least of those in key order: the same whatever phase comes first.
            std::string leastKey;
            for (std::size_t t = 0; t < period; ++t) {
                if (t > 0 && piece[t].size() > entry.cells.size())
                    continue;
                std::vector<CellPoint> cells = canonicalCells(piece[t], rule);
                std::string key = ObjectLibrary::shapeKey(cells);
                if (t == 0 || cells.size() < entry.cells.size() || key < leastKey) {
                    entry.cells = std::move(cells);
                    leastKey = std::move(key);
                }
            }
            entry.nameBySize(ofCells(entry.cells.size()));
        }
        entry.population = entry.cells.size();
        const std::string kindKey
            = ObjectLibrary::shapeKey(canonicalCells(entry.cells, rule)) + char('0' + int(entry.kind));
        found = named.emplace(shapeKey, std::make_pair(kindKey, entry)).first;
    }
    const std::string key = found->second.first + (escaping ? 'e' : 's');
    auto kind = kinds.find(key);
    if (kind == kinds.end()) {
        kind = kinds.emplace(key, found->second.second).first;
        kind->second.escaping = escaping;
    }
    ++kind->second.count;
}
