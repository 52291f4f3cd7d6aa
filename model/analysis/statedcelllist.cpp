#include "model/analysis/statedcelllist.h"

#include <algorithm>

#include "model/analysis/celllist.h"

StatedCellList::Cells StatedCellList::of(const Universe &universe)
{
    Cells cells;
    if (const std::optional<CellRect> box = universe.boundingBox())
        universe.forEachCell(*box, [&cells](std::int64_t x, std::int64_t y, std::uint8_t state) {
            cells.push_back({ x, y, state });
        });
    return cells;
}

bool StatedCellList::equal(const Cells &a, const Cells &b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), same);
}

std::vector<CellPoint> StatedCellList::points(const Cells &cells)
{
    std::vector<CellPoint> result;
    result.reserve(cells.size());
    for (const Cell &cell : cells)
        result.push_back({ cell.x, cell.y });
    return result;
}

CellRect StatedCellList::box(const Cells &cells) { return CellList::box(points(cells)); }

std::vector<StatedCellList::Cells> StatedCellList::clusters(const Cells &cells, int reach)
{
    // CellList::clusters() keeps the order of a sorted list, so that its groups
    // find their states by a search.
    std::vector<Cells> result;
    for (const std::vector<CellPoint> &group : CellList::clusters(points(cells), reach)) {
        result.emplace_back();
        for (const CellPoint &place : group)
            result.back().push_back(*std::lower_bound(cells.begin(), cells.end(), Cell { place.x, place.y, 0 },
                [](const Cell &a, const Cell &b) { return rowByRow(a, b); }));
    }
    return result;
}

StatedCellList::Cells StatedCellList::moved(Cells cells, std::int64_t dx, std::int64_t dy)
{
    for (Cell &cell : cells) {
        cell.x += dx;
        cell.y += dy;
    }
    return cells;
}

StatedCellList::Cells StatedCellList::normalised(Cells cells)
{
    if (cells.empty())
        return cells;
    const CellRect around = box(cells);
    cells = moved(std::move(cells), -around.left, -around.top);
    std::sort(cells.begin(), cells.end(), rowByRow);
    return cells;
}

StatedCellList::Cells StatedCellList::oriented(const Cells &cells, int orientation)
{
    // As ObjectLibrary::oriented() turns places.
    Cells result;
    result.reserve(cells.size());
    for (const Cell &cell : cells) {
        CellPoint place = orientation >= 4 ? CellPoint { -cell.x, cell.y } : CellPoint { cell.x, cell.y };
        for (int turn = 0; turn < orientation % 4; ++turn)
            place = { -place.y, place.x };
        result.push_back({ place.x, place.y, cell.state });
    }
    return normalised(std::move(result));
}

std::string StatedCellList::key(const Cells &normalisedCells)
{
    std::string text;
    text.reserve(normalisedCells.size() * 17);
    for (const Cell &cell : normalisedCells) {
        for (const std::int64_t value : { cell.x, cell.y }) {
            for (int byte = 0; byte < 8; ++byte)
                text.push_back(static_cast<char>((static_cast<std::uint64_t>(value) >> (8 * byte)) & 0xFF));
        }
        text.push_back(static_cast<char>(cell.state));
    }
    return text;
}

std::vector<int> StatedCellList::symmetries(const Rule &rule)
{
    // The hexagonal neighbourhood leaves out one diagonal pair: the half turn
    // and the two reflections across the diagonals keep it.
    if (rule.neighbourhood() == Rule::Neighbourhood::Hexagonal)
        return { 0, 2, 5, 7 };
    return { 0, 1, 2, 3, 4, 5, 6, 7 };
}

StatedCellList::Cells StatedCellList::canonical(const Cells &cells, const Rule &rule)
{
    Cells least;
    std::string leastKey;
    for (const int orientation : symmetries(rule)) {
        Cells turned = oriented(cells, orientation);
        std::string turnedKey = key(turned);
        if (orientation == 0 || turnedKey < leastKey) {
            leastKey = std::move(turnedKey);
            least = std::move(turned);
        }
    }
    return least;
}

StatedCellList::Phases StatedCellList::run(const Cells &cells, const Rule &rule, int generations)
{
    StateHashLife plane(rule);
    plane.setStates(cells);
    Phases phases { of(plane) };
    for (int t = 1; t <= generations; ++t) {
        plane.advance(1);
        phases.push_back(of(plane));
    }
    return phases;
}
