#include "model/analysis/objectlibrary.h"

#include <algorithm>
#include <stdexcept>

#include "model/analysis/celllist.h"
#include "model/engine/tilelife.h"

namespace
{

// The longest period among the objects of the library, with room to spare.
constexpr int PeriodLimit = 64;

} // namespace

const ObjectLibrary &ObjectLibrary::conway()
{
    static const ObjectLibrary library;
    return library;
}

ObjectLibrary::ObjectLibrary()
{
    add("block", "blocks", { "OO", "OO" });
    add("beehive", "beehives", { ".OO.", "O..O", ".OO." });
    add("loaf", "loaves", { ".OO.", "O..O", ".O.O", "..O." });
    add("boat", "boats", { "OO.", "O.O", ".O." });
    add("ship", "ships", { "OO.", "O.O", ".OO" });
    add("tub", "tubs", { ".O.", "O.O", ".O." });
    add("pond", "ponds", { ".OO.", "O..O", "O..O", ".OO." });
    add("barge", "barges", { ".O..", "O.O.", ".O.O", "..O." });
    add("long boat", "long boats", { "OO..", "O.O.", ".O.O", "..O." });
    add("mango", "mangoes", { ".OO..", "O..O.", ".O..O", "..OO." });
    add("eater 1", "eater 1s", { "OO..", "O.O.", "..O.", "..OO" });
    add("blinker", "blinkers", { "OOO" });
    add("toad", "toads", { ".OOO", "OOO." });
    add("beacon", "beacons", { "OO..", "OO..", "..OO", "..OO" });
    add("pulsar", "pulsars",
        { "..OOO...OOO..", ".............", "O....O.O....O", "O....O.O....O", "O....O.O....O", "..OOO...OOO..",
            ".............", "..OOO...OOO..", "O....O.O....O", "O....O.O....O", "O....O.O....O", ".............",
            "..OOO...OOO.." });
    add("pentadecathlon", "pentadecathlons", { "..O....O..", "OO.OOOO.OO", "..O....O.." });
    add("glider", "gliders", { ".O.", "..O", "OOO" });
    add("lightweight spaceship", "lightweight spaceships", { ".O..O", "O....", "O...O", "OOOO." });
    add("middleweight spaceship", "middleweight spaceships", { "...O..", ".O...O", "O.....", "O....O", "OOOOO." });
    add("heavyweight spaceship", "heavyweight spaceships", { "...OO..", ".O....O", "O......", "O.....O", "OOOOOO." });
}

void ObjectLibrary::add(const char *singular, const char *plural, const std::vector<const char *> &picture)
{
    std::vector<CellPoint> cells;
    for (std::size_t y = 0; y < picture.size(); ++y) {
        for (std::size_t x = 0; picture[y][x] != '\0'; ++x) {
            if (picture[y][x] == 'O')
                cells.push_back({ static_cast<std::int64_t>(x), static_cast<std::int64_t>(y) });
        }
    }
    cells = normalised(cells);
    const int index = static_cast<int>(table.size());
    const std::string first = shapeKey(cells);
    TileLife plane;
    plane.setCells(cells);
    for (int generation = 1; generation <= PeriodLimit; ++generation) {
        phaseIndex.emplace(canonicalKey(CellList::of(plane)), index);
        plane.advance(1);
        const std::vector<CellPoint> now = normalised(CellList::of(plane));
        if (shapeKey(now) != first)
            continue;
        const bool moved = plane.boundingBox()->left != 0 || plane.boundingBox()->top != 0;
        const ObjectKind kind = moved ? ObjectKind::Spaceship
            : generation == 1         ? ObjectKind::StillLife
                                      : ObjectKind::Oscillator;
        table.push_back({ singular, plural, kind, generation, cells });
        return;
    }
    throw std::logic_error(std::string("the library's ") + singular + " does not repeat");
}

int ObjectLibrary::find(const std::vector<CellPoint> &cells) const
{
    const auto found = phaseIndex.find(canonicalKey(cells));
    return found == phaseIndex.end() ? -1 : found->second;
}

std::vector<CellPoint> ObjectLibrary::normalised(std::vector<CellPoint> cells)
{
    if (cells.empty())
        return cells;
    std::int64_t left = cells.front().x;
    std::int64_t top = cells.front().y;
    for (const CellPoint &cell : cells) {
        left = std::min(left, cell.x);
        top = std::min(top, cell.y);
    }
    for (CellPoint &cell : cells)
        cell = { cell.x - left, cell.y - top };
    std::sort(cells.begin(), cells.end(), CellList::rowByRow);
    return cells;
}

std::vector<CellPoint> ObjectLibrary::oriented(const std::vector<CellPoint> &cells, int orientation)
{
    std::vector<CellPoint> result;
    result.reserve(cells.size());
    for (const CellPoint &cell : cells) {
        CellPoint turned = orientation >= 4 ? CellPoint { -cell.x, cell.y } : cell;
        for (int turn = 0; turn < orientation % 4; ++turn)
            turned = { -turned.y, turned.x };
        result.push_back(turned);
    }
    return normalised(result);
}

std::string ObjectLibrary::canonicalKey(const std::vector<CellPoint> &cells)
{
    std::string least;
    for (int orientation = 0; orientation < 8; ++orientation) {
        std::string key = shapeKey(oriented(cells, orientation));
        if (orientation == 0 || key < least)
            least = std::move(key);
    }
    return least;
}

std::string ObjectLibrary::shapeKey(const std::vector<CellPoint> &normalisedCells)
{
    std::string key;
    key.reserve(normalisedCells.size() * 16);
    for (const CellPoint &cell : normalisedCells) {
        for (const std::int64_t value : { cell.x, cell.y }) {
            for (int byte = 0; byte < 8; ++byte)
                key.push_back(static_cast<char>((static_cast<std::uint64_t>(value) >> (8 * byte)) & 0xFF));
        }
    }
    return key;
}
