#include "model/analysis/statecensus.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "model/analysis/disjointsets.h"

namespace
{

using Cells = StatedCellList::Cells;

std::string ofCells(const Cells &cells)
{
    const auto live = static_cast<std::size_t>(
        std::count_if(cells.begin(), cells.end(), [](const StatedCellList::Cell &cell) { return cell.state == 1; }));
    const std::size_t dying = cells.size() - live;
    const std::string plural = (dying == 0 ? live : dying) == 1 ? " cell" : " cells";
    if (dying == 0)
        return std::to_string(live) + plural;
    return std::to_string(live) + " live and " + std::to_string(dying) + " dying" + plural;
}

CellPoint topLeft(const Cells &cells)
{
    const CellRect box = StatedCellList::box(cells);
    return { box.left, box.top };
}

bool touches(const Cells &cells, const CellPoint &place)
{
    return std::any_of(cells.begin(), cells.end(), [&place](const StatedCellList::Cell &cell) {
        return std::max(std::abs(cell.x - place.x), std::abs(cell.y - place.y)) <= 1;
    });
}

// Whether a piece ends as it started, moved or not.
bool isBack(const StatedCellList::Phases &piece)
{
    return !piece.back().empty()
        && StatedCellList::equal(StatedCellList::normalised(piece.back()), StatedCellList::normalised(piece.front()));
}

Cells together(const std::vector<StatedCellList::Phases> &pieces, std::size_t t)
{
    Cells cells;
    for (const StatedCellList::Phases &piece : pieces)
        cells.insert(cells.end(), piece[t].begin(), piece[t].end());
    std::sort(cells.begin(), cells.end(), StatedCellList::rowByRow);
    return cells;
}

// The first generation at which the pieces alone differ from the whole; whole.size() if none.
std::size_t firstWrong(const std::vector<StatedCellList::Phases> &pieces, const StatedCellList::Phases &whole)
{
    for (std::size_t t = 1; t < whole.size(); ++t) {
        if (!StatedCellList::equal(together(pieces, t), whole[t]))
            return t;
    }
    return whole.size();
}

// The places two pieces fill at once at generation t, and those the pieces alone make unlike the whole.
std::vector<CellPoint> wrongPlaces(
    const std::vector<StatedCellList::Phases> &pieces, const Cells &wholeAt, std::size_t t)
{
    const Cells cells = together(pieces, t);
    std::vector<CellPoint> wrong;
    for (std::size_t i = 1; i < cells.size(); ++i) {
        if (cells[i].x == cells[i - 1].x && cells[i].y == cells[i - 1].y)
            wrong.push_back({ cells[i].x, cells[i].y });
    }
    const auto less = [](const StatedCellList::Cell &a, const StatedCellList::Cell &b) {
        return StatedCellList::rowByRow(a, b) || (!StatedCellList::rowByRow(b, a) && a.state < b.state);
    };
    Cells differ;
    std::set_symmetric_difference(
        cells.begin(), cells.end(), wholeAt.begin(), wholeAt.end(), std::back_inserter(differ), less);
    for (const StatedCellList::Cell &cell : differ)
        wrong.push_back({ cell.x, cell.y });
    return wrong;
}

} // namespace

StateCensus::StateCensus(const Rule &rule)
    : rule(rule)
{
}

void StateCensus::add(const Cells &cells, int generations, bool escaping)
{
    for (const Phases &piece : split(cells, generations))
        count(piece, escaping);
}

std::vector<CensusEntry> StateCensus::entries() const { return CensusEntry::listOf(kinds); }

std::vector<StateCensus::Phases> StateCensus::split(const Cells &cells, int generations) const
{
    const Phases whole = StatedCellList::run(cells, rule, generations);
    std::vector<Phases> pieces;
    for (const Cells &cluster : StatedCellList::clusters(cells, 1))
        pieces.push_back(StatedCellList::run(cluster, rule, generations));
    // Pieces that change each other are one piece, and so is a spark that
    // dies without changing anything with the pieces that make its cells
    // again by the end: merged until none is left.
    while (pieces.size() > 1) {
        DisjointSets sets(pieces.size());
        bool joined = false;
        // Joins `self` (or none: pieces.size()) and every piece with a cell next to a place at generation t.
        const auto joinAround = [&](const std::vector<CellPoint> &places, std::size_t t, std::size_t self) {
            for (const CellPoint &place : places) {
                std::size_t first = self;
                for (std::size_t i = 0; i < pieces.size(); ++i) {
                    if (!touches(pieces[i][t], place))
                        continue;
                    if (first == pieces.size())
                        first = i;
                    else
                        joined = sets.join(first, i) || joined;
                }
            }
        };
        const std::size_t t = firstWrong(pieces, whole);
        if (t < whole.size()) {
            joinAround(wrongPlaces(pieces, whole[t], t), t - 1, pieces.size());
        } else {
            const CellPoint from = topLeft(whole.front());
            const CellPoint to = whole.back().empty() ? from : topLeft(whole.back());
            bool allBack = true;
            for (std::size_t i = 0; i < pieces.size(); ++i) {
                if (isBack(pieces[i]))
                    continue;
                allBack = false;
                std::vector<CellPoint> places;
                for (const StatedCellList::Cell &cell : pieces[i].front())
                    places.push_back({ cell.x + to.x - from.x, cell.y + to.y - from.y });
                joinAround(places, whole.size() - 1, i);
            }
            if (allBack)
                return pieces;
        }
        // Should none be found, all become one rather than the census be wrong.
        if (!joined)
            return { whole };
        std::vector<bool> merged(pieces.size(), false);
        std::vector<Phases> next;
        for (const std::vector<std::size_t> &group : sets.groups(2)) {
            Cells together;
            for (const std::size_t index : group) {
                together.insert(together.end(), pieces[index].front().begin(), pieces[index].front().end());
                merged[index] = true;
            }
            std::sort(together.begin(), together.end(), StatedCellList::rowByRow);
            next.push_back(StatedCellList::run(together, rule, generations));
        }
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            if (!merged[i])
                next.push_back(std::move(pieces[i]));
        }
        pieces.swap(next);
    }
    return pieces;
}

void StateCensus::count(const Phases &piece, bool escaping)
{
    const Cells shape = StatedCellList::normalised(piece.front());
    // Its own period: the first generation with its first cells again, moved or not.
    std::size_t period = piece.size() - 1;
    for (std::size_t t = 1; t < piece.size(); ++t) {
        if (!piece[t].empty() && StatedCellList::equal(StatedCellList::normalised(piece[t]), shape)) {
            period = t;
            break;
        }
    }
    period = std::max<std::size_t>(period, 1);
    CensusEntry entry;
    const CellPoint from = topLeft(piece.front());
    const CellPoint to = piece[period].empty() ? from : topLeft(piece[period]);
    entry.period = static_cast<int>(period);
    entry.dx = to.x - from.x;
    entry.dy = to.y - from.y;
    entry.kind = entry.dx != 0 || entry.dy != 0 ? ObjectKind::Spaceship
        : period == 1                           ? ObjectKind::StillLife
                                                : ObjectKind::Oscillator;
    // The phase with fewest cells, the least of those in key order: the same whatever phase comes first.
    Cells pictured;
    std::string pictureKey;
    for (std::size_t t = 0; t < period; ++t) {
        if (t > 0 && piece[t].size() > pictured.size())
            continue;
        Cells cells = StatedCellList::canonical(piece[t], rule);
        std::string key = StatedCellList::key(cells);
        if (t == 0 || cells.size() < pictured.size() || key < pictureKey) {
            pictured = std::move(cells);
            pictureKey = std::move(key);
        }
    }
    entry.nameBySize(ofCells(pictured));
    entry.cells = StatedCellList::points(pictured);
    for (const StatedCellList::Cell &cell : pictured)
        entry.states.push_back(cell.state);
    entry.population = pictured.size();
    entry.escaping = escaping;
    const std::string key = pictureKey + char('0' + int(entry.kind)) + (escaping ? 'e' : 's');
    auto kind = kinds.find(key);
    if (kind == kinds.end())
        kind = kinds.emplace(key, entry).first;
    ++kind->second.count;
}
