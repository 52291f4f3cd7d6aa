#include "model/edit/editing.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "model/engine/hashlife.h"
#include "model/engine/unboundeduniverse.h"
#include "model/files/patternreader.h"
#include "model/files/patternwriter.h"

namespace
{

std::string sizeText(const CellRect &area)
{
    return std::to_string(static_cast<std::uint64_t>(area.right - area.left) + 1) + " x "
        + std::to_string(static_cast<std::uint64_t>(area.bottom - area.top) + 1);
}

// The live cells of `area` as squares: shared with the universe where it
// holds its cells that way, else visited.
HashLife cellsOf(const Universe &universe, const CellRect &area)
{
    if (const auto *tree = dynamic_cast<const HashLife *>(&universe))
        return tree->cellsIn(area);
    if (const auto *unbounded = dynamic_cast<const UnboundedUniverse *>(&universe))
        return unbounded->cellsIn(area);
    return HashLife::fromCells(universe, area);
}

// Runs `edit`, which may change `universe` in several steps, so that a step
// that throws leaves it as it was: the unbounded plane is edited in a copy,
// which costs little; bounded universes change cells inside them, which
// never fails.
template <typename Edit> void atomically(Universe &universe, const Edit &edit)
{
    if (auto *tree = dynamic_cast<HashLife *>(&universe)) {
        HashLife copy(*tree);
        edit(copy);
        *tree = copy;
    } else if (auto *unbounded = dynamic_cast<UnboundedUniverse *>(&universe)) {
        UnboundedUniverse copy(*unbounded);
        edit(copy);
        *unbounded = copy;
    } else {
        edit(universe);
    }
}

} // namespace

bool Editing::copy(const Universe &universe, const CellRect &area, std::string &text, std::string &error)
{
    std::string written;
    try {
        const std::unique_ptr<Universe> cells = universe.clone();
        cells->clearOutside(area);
        const std::uint64_t population = cells->population();
        if (population > PatternReader::MaxCells) {
            error = std::to_string(population) + " live cells are more than the "
                + std::to_string(PatternReader::MaxCells) + " a pasted pattern may hold";
            return false;
        }
        written = PatternWriter::writeRleBox(*cells);
    } catch (const UniverseError &failure) {
        error = failure.what();
        return false;
    }
    if (written.size() > PatternReader::MaxFileSize) {
        error = "the cells take " + std::to_string(written.size()) + " bytes of RLE, more than the "
            + std::to_string(PatternReader::MaxFileSize) + " a pasted pattern may take";
        return false;
    }
    text = std::move(written);
    return true;
}

bool Editing::cut(Universe &universe, const CellRect &area, std::string &text, std::string &error)
{
    std::string written;
    if (!copy(universe, area, written, error) || !clear(universe, area, error))
        return false;
    text = std::move(written);
    return true;
}

bool Editing::clear(Universe &universe, const CellRect &area, std::string &error)
{
    try {
        universe.clearInside(area);
    } catch (const UniverseError &failure) {
        error = failure.what();
        return false;
    }
    return true;
}

bool Editing::clearOutside(Universe &universe, const CellRect &area, std::string &error)
{
    try {
        universe.clearOutside(area);
    } catch (const UniverseError &failure) {
        error = failure.what();
        return false;
    }
    return true;
}

bool Editing::fillRandom(
    Universe &universe, const CellRect &area, double percent, std::uint64_t seed, std::string &error)
{
    if (!(percent >= 0 && percent <= 100)) {
        error = "the density of live cells must be 0 to 100 %";
        return false;
    }
    const Topology topology = universe.topology();
    const std::optional<CellRect> inside = area.intersected(Universe::extent(topology));
    if (!inside)
        return true;
    const std::uint64_t width = static_cast<std::uint64_t>(inside->right - inside->left) + 1;
    const std::uint64_t height = static_cast<std::uint64_t>(inside->bottom - inside->top) + 1;
    if (!topology.isBounded() && percent > 0 && width > MaxFillCells / height) {
        error = "a rectangle of " + sizeText(*inside) + " cells is more than the " + std::to_string(MaxFillCells)
            + " cells a fill at random takes in the unbounded plane";
        return false;
    }
    try {
        universe.fillRandom(*inside, percent / 100, seed);
    } catch (const UniverseError &failure) {
        error = failure.what();
        return false;
    }
    return true;
}

CellRect Editing::turnedArea(const CellRect &area, const Orientation &orientation)
{
    if (!orientation.swapsSides())
        return area;
    const std::int64_t width = area.right - area.left + 1;
    const std::int64_t height = area.bottom - area.top + 1;
    // Halved toward zero: half a cell left for a wide rectangle, right for a
    // tall one, and the opposite way for the rows, so that the turn back undoes it.
    const std::int64_t shift = (width - height) / 2;
    const std::int64_t left = area.left + shift;
    const std::int64_t top = area.top - shift;
    return CellRect { left, top, left + height - 1, top + width - 1 };
}

bool Editing::turn(Universe &universe, CellRect &area, const Orientation &orientation, std::string &error)
{
    const CellRect whole = Universe::extent(universe.topology());
    const std::optional<CellRect> inside = area.intersected(whole);
    if (!inside)
        return true;
    const CellRect target = turnedArea(*inside, orientation);
    if (!whole.contains(target)) {
        error = "turned, the selection of " + sizeText(*inside) + " cells would reach past "
            + universe.topology().extentText();
        return false;
    }
    try {
        const HashLife turned = cellsOf(universe, *inside).turned(orientation, *inside, { target.left, target.top });
        // The quadtree holds live and dead alone: the other states follow it on their own.
        std::vector<std::pair<CellPoint, std::uint8_t>> states;
        const std::int64_t width = inside->right - inside->left + 1;
        const std::int64_t height = inside->bottom - inside->top + 1;
        universe.forEachCell(*inside, [&](std::int64_t x, std::int64_t y, std::uint8_t state) {
            if (state > 1) {
                const CellPoint cell = orientation.map({ x - inside->left, y - inside->top }, width, height);
                states.push_back({ { cell.x + target.left, cell.y + target.top }, state });
            }
        });
        atomically(universe, [&](Universe &cells) {
            cells.clearInside(*inside);
            cells.combine(turned, target, Universe::Combination::Or);
            for (const auto &[cell, state] : states)
                cells.setState(cell.x, cell.y, state);
        });
    } catch (const UniverseError &failure) {
        error = failure.what();
        return false;
    }
    area = target;
    return true;
}

bool Editing::paste(Universe &universe, const Clip &clip, const Orientation &orientation, CellPoint topLeft,
    Universe::Combination how, std::string &error)
{
    if (clip.isEmpty())
        return true;
    const CellRect whole = Universe::extent(universe.topology());
    const CellRect box = clip.box(orientation);
    CellRect target { topLeft.x, topLeft.y, 0, 0 };
    const std::string refusal = "the pattern would put live cells outside " + universe.topology().extentText();
    if (__builtin_add_overflow(topLeft.x, box.right, &target.right)
        || __builtin_add_overflow(topLeft.y, box.bottom, &target.bottom)) {
        error = refusal;
        return false;
    }
    try {
        const HashLife &cells = clip.cells(orientation);
        const std::optional<CellRect> live = cells.boundingBox();
        std::optional<CellRect> placed;
        if (live) {
            placed = CellRect { live->left + topLeft.x, live->top + topLeft.y, live->right + topLeft.x,
                live->bottom + topLeft.y };
            if (!whole.contains(*placed)) {
                error = refusal;
                return false;
            }
        }
        const std::optional<CellRect> area = target.intersected(whole);
        if (!area || (!live && how != Universe::Combination::Copy))
            return true;
        const HashLife moved = live ? cells.turned(Orientation(), *live, { placed->left, placed->top }) : HashLife();
        universe.combine(moved, *area, how);
        const int stateCount = universe.rule().stateCount();
        clip.forEachStatedCell(orientation, [&](CellPoint cell, std::uint8_t state) {
            const CellPoint at { cell.x + topLeft.x, cell.y + topLeft.y };
            if (state < stateCount && area->contains(at.x, at.y) && universe.cell(at.x, at.y))
                universe.setState(at.x, at.y, state);
        });
    } catch (const UniverseError &failure) {
        error = failure.what();
        return false;
    }
    return true;
}
