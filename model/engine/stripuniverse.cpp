#include "model/engine/stripuniverse.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "model/engine/bitmix.h"

namespace
{

// The window's length when it is made or emptied, and the least room it
// keeps past the pattern when it moves or grows.
constexpr std::int64_t FirstLength = 64;
constexpr std::int64_t Room = 32;
// Generations stepped between two looks at the window's ends.
constexpr std::uint64_t Chunk = 64;

// The grid for a window `length` cells long of `strip`.
Topology windowShape(const Topology &strip, std::int64_t length)
{
    const bool alongX = strip.width() == 0;
    const std::int64_t width = alongX ? length : strip.width();
    const std::int64_t height = alongX ? strip.height() : length;
    return strip.kind() == Topology::Kind::Torus ? Topology::torus(width, height) : Topology::plane(width, height);
}

} // namespace

StripUniverse::StripUniverse(const Topology &topology, const Rule &rule)
    : shape(topology)
    , start(-FirstLength / 2)
{
    if (!shape.isStrip() || !shape.isValid())
        throw UniverseError("an endless strip is a plane or a torus of 1 to " + std::to_string(Topology::MaxStripSide)
            + " cells across, with a size of 0 lengthwise");
    if ((rule.birthCounts() & 1U) != 0)
        throw UniverseError("the rule " + rule.toString()
            + " gives birth on 0 neighbours, which would fill the endless strip in one generation");
    window = std::make_unique<GridUniverse>(windowShape(shape, FirstLength), rule);
}

StripUniverse::StripUniverse(const StripUniverse &other)
    : shape(other.shape)
    , start(other.start)
    , window(std::unique_ptr<GridUniverse>(static_cast<GridUniverse *>(other.window->clone().release())))
{
}

std::unique_ptr<Universe> StripUniverse::clone() const { return std::make_unique<StripUniverse>(*this); }

void StripUniverse::setRule(const Rule &rule)
{
    if ((rule.birthCounts() & 1U) != 0)
        throw UniverseError("the rule " + rule.toString()
            + " gives birth on 0 neighbours, which would fill the endless strip in one generation");
    window->setRule(rule);
}

CellPoint StripUniverse::inWindow(std::int64_t x, std::int64_t y) const
{
    return alongX() ? CellPoint { x - start, y } : CellPoint { x, y - start };
}

CellPoint StripUniverse::inStrip(std::int64_t x, std::int64_t y) const
{
    return alongX() ? CellPoint { x + start, y } : CellPoint { x, y + start };
}

CellRect StripUniverse::windowArea() const
{
    const Topology grid = window->topology();
    const CellPoint first = inStrip(0, 0);
    const CellPoint last = inStrip(grid.width() - 1, grid.height() - 1);
    return { first.x, first.y, last.x, last.y };
}

std::optional<CellRect> StripUniverse::windowPart(const CellRect &area) const
{
    const std::optional<CellRect> part = area.intersected(windowArea());
    if (!part)
        return std::nullopt;
    const CellPoint first = inWindow(part->left, part->top);
    const CellPoint last = inWindow(part->right, part->bottom);
    return CellRect { first.x, first.y, last.x, last.y };
}

std::uint8_t StripUniverse::state(std::int64_t x, std::int64_t y) const
{
    if (!windowArea().contains(x, y))
        return 0;
    const CellPoint place = inWindow(x, y);
    return window->state(place.x, place.y);
}

void StripUniverse::setState(std::int64_t x, std::int64_t y, std::uint8_t state)
{
    const std::int64_t along = alongX() ? x : y;
    const std::int64_t side = alongX() ? y : x;
    if (side < 0 || side >= shape.across() || along < -CoordinateLimit || along > CoordinateLimit)
        throw std::out_of_range(
            "the cell " + std::to_string(x) + ", " + std::to_string(y) + " lies outside " + shape.extentText());
    if (state == 0 && !windowArea().contains(x, y))
        return;
    reach(along, along, 0);
    const CellPoint place = inWindow(x, y);
    window->setState(place.x, place.y, state);
}

void StripUniverse::clear()
{
    window = std::make_unique<GridUniverse>(windowShape(shape, FirstLength), window->rule());
    start = -FirstLength / 2;
}

void StripUniverse::clearInside(const CellRect &area)
{
    if (const std::optional<CellRect> part = windowPart(area))
        window->clearInside(*part);
}

void StripUniverse::clearOutside(const CellRect &area)
{
    if (const std::optional<CellRect> part = windowPart(area))
        window->clearOutside(*part);
    else
        window->clear();
}

void StripUniverse::forEachLiveCell(
    const CellRect &area, const std::function<void(std::int64_t x, std::int64_t y)> &visit) const
{
    if (const std::optional<CellRect> part = windowPart(area)) {
        window->forEachLiveCell(*part, [&](std::int64_t x, std::int64_t y) {
            const CellPoint place = inStrip(x, y);
            visit(place.x, place.y);
        });
    }
}

void StripUniverse::forEachCell(
    const CellRect &area, const std::function<void(std::int64_t x, std::int64_t y, std::uint8_t state)> &visit) const
{
    if (const std::optional<CellRect> part = windowPart(area)) {
        window->forEachCell(*part, [&](std::int64_t x, std::int64_t y, std::uint8_t state) {
            const CellPoint place = inStrip(x, y);
            visit(place.x, place.y, state);
        });
    }
}

std::optional<CellRect> StripUniverse::boundingBox() const
{
    const std::optional<CellRect> box = window->boundingBox();
    if (!box)
        return std::nullopt;
    const CellPoint first = inStrip(box->left, box->top);
    const CellPoint last = inStrip(box->right, box->bottom);
    return CellRect { first.x, first.y, last.x, last.y };
}

void StripUniverse::render(
    const CellRect &area, int shift, std::uint8_t *pixels, int columns, int rows, std::ptrdiff_t stride) const
{
    for (int row = 0; row < rows; ++row)
        std::fill(pixels + row * stride, pixels + row * stride + columns, std::uint8_t(0));
    // The pixels whose cells reach into the window lengthwise, drawn by the window.
    const CellRect held = windowArea();
    const std::int64_t areaStart = alongX() ? area.left : area.top;
    const std::int64_t count = alongX() ? columns : rows;
    const std::int64_t first = std::max<std::int64_t>(0, ((alongX() ? held.left : held.top) - areaStart) >> shift);
    const std::int64_t last
        = std::min<std::int64_t>(count - 1, ((alongX() ? held.right : held.bottom) - areaStart) >> shift);
    if (first > last || (alongX() ? held.right : held.bottom) < areaStart)
        return;
    const std::int64_t from = areaStart + (first << shift) - start;
    // To the window's end: the last pixel's cells past it are dead, and its full length might not fit in 64 bits.
    const std::int64_t to = (alongX() ? held.right : held.bottom) - start;
    if (alongX())
        window->render({ from, area.top, to, area.bottom }, shift, pixels + first, static_cast<int>(last - first + 1),
            rows, stride);
    else
        window->render({ area.left, from, area.right, to }, shift, pixels + first * stride, columns,
            static_cast<int>(last - first + 1), stride);
}

void StripUniverse::reach(std::int64_t low, std::int64_t high, std::int64_t margin)
{
    const CellRect held = windowArea();
    const std::int64_t heldLow = alongX() ? held.left : held.top;
    const std::int64_t heldHigh = alongX() ? held.right : held.bottom;
    if (low - margin >= heldLow && high + margin <= heldHigh)
        return;
    // The cells held already stay.
    if (const std::optional<CellRect> box = boundingBox()) {
        low = std::min(low, alongX() ? box->left : box->top);
        high = std::max(high, alongX() ? box->right : box->bottom);
    }
    if (low - margin < -CoordinateLimit || high + margin > CoordinateLimit)
        throw UniverseError("the pattern may pass the end of " + shape.extentText() + ", "
            + std::to_string(CoordinateLimit) + " cells from 0 lengthwise");
    // Room to grow as much again as the pattern is long, so that a growing pattern moves the window seldom.
    const std::int64_t room = margin + std::max(Room, (high - low + 1) / 2);
    const std::int64_t newStart = std::max(low - room, -CoordinateLimit);
    const std::int64_t length = std::min(high + room, CoordinateLimit) - newStart + 1;
    if (length > Topology::MaxBoundedCells / shape.across())
        throw UniverseError("the pattern would reach along more than the "
            + std::to_string(Topology::MaxBoundedCells / shape.across()) + " cells of " + shape.extentText()
            + " that this program holds at once");
    auto moved = std::make_unique<GridUniverse>(windowShape(shape, length), window->rule());
    const std::int64_t by = start - newStart;
    if (const std::optional<CellRect> box = window->boundingBox()) {
        window->forEachCell(*box, [&](std::int64_t x, std::int64_t y, std::uint8_t state) {
            if (alongX())
                moved->setState(x + by, y, state);
            else
                moved->setState(x, y + by, state);
        });
    }
    window = std::move(moved);
    start = newStart;
}

bool StripUniverse::stepWithin(std::uint64_t generations)
{
    const std::optional<CellRect> box = window->boundingBox();
    if (!box)
        return false;
    const std::int64_t low = (alongX() ? box->left : box->top) + start;
    const std::int64_t high = (alongX() ? box->right : box->bottom) + start;
    reach(low, high, static_cast<std::int64_t>(generations) + 1);
    const std::unique_ptr<Universe> before = window->clone();
    window->advance(generations);
    return !window->equals(*before);
}

void StripUniverse::advance(std::uint64_t generations)
{
    if (generations <= Chunk) {
        stepWithin(generations);
        return;
    }
    // Many steps run on a copy, so that a limit reached half-way changes nothing.
    StripUniverse copy(*this);
    for (std::uint64_t left = generations; left > 0;) {
        const std::uint64_t steps = std::min(left, Chunk);
        left -= steps;
        // Cells that come back after `steps` generations repeat with a period
        // dividing it: of the rest, only what is left over counts.
        if (!copy.stepWithin(steps))
            left %= steps;
    }
    window = std::move(copy.window);
    start = copy.start;
}

std::uint64_t StripUniverse::hash() const
{
    const std::optional<CellRect> box = boundingBox();
    if (!box)
        return 0;
    return BitMix::finalise(shapeHash() ^ BitMix::finalise(static_cast<std::uint64_t>(box->left))
        ^ (BitMix::finalise(static_cast<std::uint64_t>(box->top)) << 1));
}

bool StripUniverse::equals(const Universe &other) const
{
    return other.topology() == shape && equalsShifted(other, 0, 0);
}
