#include "model/engine/backgrounduniverse.h"

#include <vector>

#include "model/engine/bitmix.h"

namespace
{

// Mixed into the digests of a universe whose background is alive, so that
// they differ from those of the same differences on a dead one.
constexpr std::uint64_t LiveBackground = 0xB0B0B0B0B0B0B0B0ULL;

// The largest render shift at which a pixel's cells are counted.
constexpr int CountedShift = 3;

// The shortest jump under a blinking background that goes to the
// quadtree's steps rather than the tiles' one generation at a time.
constexpr std::uint64_t PairJump = 64;

// Every neighbour of the square grid, in NeighbourShapes' bits.
constexpr unsigned AllNeighbours = 0xFFU;

} // namespace

BackgroundUniverse::BackgroundUniverse(const Rule &rule)
    : lifeRule(checked(rule))
    , cells(steppedRule(rule, false))
{
    deriveSteps();
}

BackgroundUniverse::BackgroundUniverse(const UnboundedUniverse &plane, const Rule &rule, bool backgroundAlive)
    : lifeRule(checked(rule))
    , alive(backgroundAlive)
    , cells(plane)
{
    deriveSteps();
    cells.setRule(stepped[alive]);
}

void BackgroundUniverse::deriveSteps()
{
    for (const bool background : { false, true }) {
        stepped[background] = steppedRule(lifeRule, background);
        following[background] = nextBackground(lifeRule, background);
    }
}

const Rule &BackgroundUniverse::checked(const Rule &rule)
{
    if (rule.stateCount() != 2 || rule.isHistory())
        throw UniverseError("the unbounded plane runs birth on 0 neighbours and live backgrounds only in rules of "
                            "two states, not the "
            + rule.family() + " " + rule.toString() + "; run it in a bounded plane or a torus");
    return rule;
}

void BackgroundUniverse::applyRule(std::unique_ptr<Universe> &universe, const Rule &rule)
{
    const bool birthOnZero = (rule.birthCounts() & 1U) != 0;
    if (auto *plane = dynamic_cast<UnboundedUniverse *>(universe.get()); plane && birthOnZero) {
        universe = std::make_unique<BackgroundUniverse>(*plane, rule);
        return;
    }
    auto *const background = dynamic_cast<BackgroundUniverse *>(universe.get());
    if (background && !birthOnZero && !background->alive) {
        auto plane = std::make_unique<UnboundedUniverse>(background->cells);
        plane->setRule(rule);
        universe = std::move(plane);
        return;
    }
    universe->setRule(rule);
}

bool BackgroundUniverse::nextBackground(const Rule &rule, bool alive)
{
    return rule.next(alive ? 1 : 0, alive ? AllNeighbours : 0U) != 0;
}

Rule BackgroundUniverse::steppedRule(const Rule &rule, bool alive)
{
    // A difference y whose differing neighbours are the bits m is the cell
    // y XOR alive with the live neighbours m, or NOT m under a live
    // background; its next state differs from the next background where the
    // rule's answer does. Bits outside the neighbourhood stay ignored, as
    // the rule ignores them.
    const bool next = nextBackground(rule, alive);
    const unsigned flip = alive ? AllNeighbours : 0U;
    Rule::Shapes born;
    Rule::Shapes survives;
    for (unsigned neighbours = 0; neighbours <= AllNeighbours; ++neighbours) {
        born[neighbours] = (rule.next(alive ? 1 : 0, neighbours ^ flip) != 0) != next;
        survives[neighbours] = (rule.next(alive ? 0 : 1, neighbours ^ flip) != 0) != next;
    }
    return Rule::twoState(born, survives, rule.neighbourhood());
}

std::unique_ptr<Universe> BackgroundUniverse::clone() const { return std::make_unique<BackgroundUniverse>(*this); }

void BackgroundUniverse::setRule(const Rule &rule)
{
    cells.setRule(steppedRule(checked(rule), alive));
    lifeRule = rule;
    deriveSteps();
}

void BackgroundUniverse::clear()
{
    cells.clear();
    alive = false;
    cells.setRule(stepped[alive]);
}

void BackgroundUniverse::clearInside(const CellRect &area)
{
    if (alive)
        cells.fillRandom(area, 1.0, 0);
    else
        cells.clearInside(area);
}

void BackgroundUniverse::clearOutside(const CellRect &area)
{
    if (!alive) {
        cells.clearOutside(area);
        return;
    }
    // Only the cells of `area` stay, on a dead background: the live ones
    // there are those that do not differ now.
    UnboundedUniverse inside = cells;
    inside.clearOutside(area);
    UnboundedUniverse kept(stepped[false]);
    kept.fillRandom(area, 1.0, 0);
    kept.combine(inside, area, Combination::Xor);
    cells = kept;
    alive = false;
}

void BackgroundUniverse::forEachLiveCell(
    const CellRect &area, const std::function<void(std::int64_t x, std::int64_t y)> &visit) const
{
    if (!alive) {
        cells.forEachLiveCell(area, visit);
        return;
    }
    std::vector<CellPoint> dead;
    cells.forEachLiveCell(area, [&dead](std::int64_t x, std::int64_t y) { dead.push_back({ x, y }); });
    auto next = dead.begin();
    for (std::int64_t y = area.top; y <= area.bottom; ++y) {
        for (std::int64_t x = area.left; x <= area.right; ++x) {
            if (next != dead.end() && next->x == x && next->y == y)
                ++next;
            else
                visit(x, y);
        }
    }
}

void BackgroundUniverse::render(
    const CellRect &area, int shift, std::uint8_t *pixels, int columns, int rows, std::ptrdiff_t stride) const
{
    if (!alive) {
        cells.render(area, shift, pixels, columns, rows, stride);
        return;
    }
    if (shift > CountedShift) {
        for (int row = 0; row < rows; ++row)
            std::fill(pixels + row * stride, pixels + row * stride + columns, std::uint8_t(1));
        return;
    }
    // A pixel is dead when all its cells differ from the background.
    std::vector<std::uint32_t> differing(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows));
    const CellRect blocks { area.left, area.top, area.left + (std::int64_t(columns) << shift) - 1,
        area.top + (std::int64_t(rows) << shift) - 1 };
    if (columns > 0 && rows > 0) {
        cells.forEachLiveCell(blocks, [&](std::int64_t x, std::int64_t y) {
            const auto column = static_cast<std::size_t>((x - area.left) >> shift);
            const auto row = static_cast<std::size_t>((y - area.top) >> shift);
            ++differing[row * static_cast<std::size_t>(columns) + column];
        });
    }
    const std::uint32_t whole = std::uint32_t(1) << (2 * shift);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const std::size_t at
                = static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(column);
            pixels[row * stride + column] = differing[at] == whole ? 0 : 1;
        }
    }
}

void BackgroundUniverse::ruleFor(UnboundedUniverse &plane, bool background) const
{
    // Setting the same rule again would still make the tiles look at every cell anew.
    if (plane.rule() != stepped[background])
        plane.setRule(stepped[background]);
}

void BackgroundUniverse::advance(std::uint64_t generations)
{
    std::atomic<bool> never { false };
    advanceUnless(generations, never);
}

bool BackgroundUniverse::advanceUnless(std::uint64_t generations, std::atomic<bool> &stop)
{
    UnboundedUniverse next = cells;
    bool background = alive;
    while (generations > 0) {
        if (stop.load(std::memory_order_relaxed))
            return false;
        const bool after = following[background];
        ruleFor(next, background);
        if (after == background) {
            // The background stays as it is: one rule for the whole jump.
            if (!next.advanceUnless(generations, stop))
                return false;
            break;
        }
        if (following[after] == background && generations >= PairJump) {
            // The background blinks: the two stepped rules take turns in a quadtree's steps.
            if (!next.advanceAlternating(generations, stepped[after], stop))
                return false;
            if (generations % 2 != 0)
                background = after;
            break;
        }
        next.advance(1);
        background = after;
        --generations;
    }
    ruleFor(next, background);
    cells = next;
    alive = background;
    return true;
}

std::uint64_t BackgroundUniverse::hash() const
{
    return alive ? BitMix::finalise(cells.hash() ^ LiveBackground) : cells.hash();
}

bool BackgroundUniverse::equals(const Universe &other) const { return equalsShifted(other, 0, 0); }

std::uint64_t BackgroundUniverse::shapeHash() const
{
    return alive ? BitMix::finalise(cells.shapeHash() ^ LiveBackground) : cells.shapeHash();
}

bool BackgroundUniverse::equalsShifted(const Universe &other, std::int64_t dx, std::int64_t dy) const
{
    if (other.backgroundAlive() != alive)
        return false;
    if (const auto *background = dynamic_cast<const BackgroundUniverse *>(&other))
        return cells.equalsShifted(background->cells, dx, dy);
    return cells.equalsShifted(other, dx, dy);
}
