#include "model/engine/statehashlife.h"

#include <algorithm>
#include <array>
#include <string>
#include <unordered_map>
#include <utility>

#include "model/engine/bitmix.h"
#include "model/engine/quadtree.h"
#include "model/engine/randombits.h"

namespace
{

using Word = std::uint64_t;
using Store = StateNodeStore;

Store &store() { return Store::instance(); }

using Protection = Quadtree::Protection<Store>;

std::int64_t halfSide(int level) { return std::int64_t(1) << (level - 1); }

// Whether the root square of `level` holds `area`.
bool holds(int level, const CellRect &area)
{
    return area.left >= -halfSide(level) && area.top >= -halfSide(level) && area.right < halfSide(level)
        && area.bottom < halfSide(level);
}

bool inPlane(const CellRect &area)
{
    return area.left >= -Universe::CoordinateLimit && area.top >= -Universe::CoordinateLimit
        && area.right <= Universe::CoordinateLimit && area.bottom <= Universe::CoordinateLimit;
}

// The square with every state replaced by map[state]; each distinct square mapped once.
class StateMap
{
public:
    explicit StateMap(const std::array<std::uint8_t, 256> &map)
        : map(map)
    {
    }

    StateNodeId operator()(StateNodeId square)
    {
        Store &nodes = store();
        if (nodes.isEmpty(square))
            return square;
        const auto known = done.find(square);
        if (known != done.end())
            return known->second;
        StateNodeId result = Store::None;
        if (nodes.level(square) == Store::LeafLevel) {
            Store::LeafCells cells = nodes.cells(square);
            for (std::uint8_t &state : cells)
                state = map[state];
            result = nodes.leaf(cells);
        } else {
            StateNodeId quarters[4];
            for (int q = 0; q < 4; ++q)
                quarters[q] = Protection::keep((*this)(nodes.quarter(square, q)));
            result = nodes.node(quarters[0], quarters[1], quarters[2], quarters[3]);
        }
        done.emplace(square, Protection::keep(result));
        return result;
    }

private:
    const std::array<std::uint8_t, 256> &map;
    std::unordered_map<StateNodeId, StateNodeId> done;
};

} // namespace

StateHashLife::StateHashLife(const Rule &rule)
    : stateRule(rule)
    , nextRule(rule)
    , root(store().empty(RootLevel))
{
    checkRule(rule);
    store().addRoot(root);
}

StateHashLife::StateHashLife(StateNodeId square, const Rule &rule)
    : StateHashLife(rule)
{
    changeRoot([square](StateNodeId) {
        Store &nodes = store();
        StateNodeId next = Protection::keep(square);
        if (nodes.level(next) == Store::LeafLevel) {
            // Each quarter of the leaf in the corner of a leaf of its own that
            // touches the middle.
            constexpr int Half = Store::LeafSide / 2;
            const Store::LeafCells cells = nodes.cells(next);
            StateNodeId corners[4];
            for (int q = 0; q < 4; ++q) {
                Store::LeafCells corner {};
                for (int y = 0; y < Half; ++y) {
                    for (int x = 0; x < Half; ++x) {
                        corner[static_cast<std::size_t>(
                            (y + (q < 2 ? Half : 0)) * Store::LeafSide + x + (q % 2 == 0 ? Half : 0))]
                            = cells[static_cast<std::size_t>(
                                (y + (q < 2 ? 0 : Half)) * Store::LeafSide + x + (q % 2 == 0 ? 0 : Half))];
                    }
                }
                corners[q] = Protection::keep(nodes.leaf(corner));
            }
            next = Protection::keep(nodes.node(corners[0], corners[1], corners[2], corners[3]));
        }
        return shrunk(next);
    });
}

StateHashLife::StateHashLife(const StateHashLife &other)
    : Universe()
    , stateRule(other.stateRule)
    , nextRule(other.nextRule)
    , root(other.root)
{
    store().addRoot(root);
}

StateHashLife &StateHashLife::operator=(const StateHashLife &other)
{
    if (this != &other) {
        replaceRoot(other.root);
        stateRule = other.stateRule;
        nextRule = other.nextRule;
    }
    return *this;
}

StateHashLife::~StateHashLife() { store().removeRoot(root); }

std::unique_ptr<Universe> StateHashLife::clone() const { return std::make_unique<StateHashLife>(*this); }

void StateHashLife::checkRule(const Rule &rule)
{
    if ((rule.birthCounts() & 1U) != 0) {
        throw UniverseError("the rule " + rule.toString()
            + " gives birth on 0 neighbours, which would fill the unbounded plane in one generation");
    }
}

void StateHashLife::failOutOfMemory()
{
    const std::size_t limit = store().memoryLimit();
    const std::string amount = limit % (1024 * 1024) == 0 ? std::to_string(limit / (1024 * 1024)) + " MiB"
                                                          : std::to_string(limit) + " bytes";
    throw UniverseError("the unbounded plane needs more memory than its limit of " + amount);
}

void StateHashLife::setMemoryLimit(std::size_t bytes) { store().setMemoryLimit(bytes); }

std::size_t StateHashLife::memoryLimit() { return store().memoryLimit(); }

void StateHashLife::replaceRoot(StateNodeId next)
{
    if (next == root)
        return;
    store().addRoot(next);
    store().removeRoot(root);
    root = next;
}

template <typename Change> void StateHashLife::changeRoot(const Change &change)
{
    try {
        const Protection protection;
        replaceRoot(change(Protection::keep(root)));
    } catch (const Store::Exhausted &) {
        failOutOfMemory();
    }
}

void StateHashLife::setRule(const Rule &rule)
{
    checkRule(rule);
    std::array<std::uint8_t, 256> map {};
    bool same = true;
    for (int state = 0; state < 256; ++state) {
        const auto from = static_cast<std::uint8_t>(state);
        if (stateRule.isHistory() == rule.isHistory() && state < rule.stateCount())
            map[from] = from;
        else
            map[from] = stateRule.isLive(from) ? 1 : 0;
        same = same && (map[from] == from || state >= stateRule.stateCount());
    }
    if (!same)
        changeRoot([&map](StateNodeId square) { return shrunk(Protection::keep(StateMap(map)(square))); });
    stateRule = rule;
    nextRule = rule;
}

void StateHashLife::setRules(const Rule &even, const Rule &odd)
{
    checkRule(odd);
    setRule(even);
    nextRule = odd;
}

StateNodeId StateHashLife::expanded(StateNodeId square)
{
    Store &nodes = store();
    const StateNodeId empty = nodes.empty(nodes.level(square) - 1);
    const StateNodeId nw = Protection::keep(nodes.node(empty, empty, empty, nodes.quarter(square, 0)));
    const StateNodeId ne = Protection::keep(nodes.node(empty, empty, nodes.quarter(square, 1), empty));
    const StateNodeId sw = Protection::keep(nodes.node(empty, nodes.quarter(square, 2), empty, empty));
    const StateNodeId se = Protection::keep(nodes.node(nodes.quarter(square, 3), empty, empty, empty));
    return Protection::keep(nodes.node(nw, ne, sw, se));
}

StateNodeId StateHashLife::grownFor(StateNodeId square, const CellRect &area)
{
    while (!holds(store().level(square), area))
        square = expanded(square);
    return square;
}

StateNodeId StateHashLife::shrunk(StateNodeId square)
{
    Store &nodes = store();
    while (nodes.level(square) > RootLevel && Quadtree::fitsCentre(nodes, square))
        square = Protection::keep(nodes.centre(square));
    return square;
}

StateNodeId StateHashLife::step(StateNodeId square, int exponent)
{
    Store &nodes = store();
    // Two levels up the cells lie within the middle half of the middle
    // half, and no step of up to a quarter of the side takes them out.
    const int target = std::min(Store::MaxLevel, std::max(nodes.level(square) + 2, exponent + 3));
    while (nodes.level(square) < target)
        square = expanded(square);
    const StateNodeId next = shrunk(Protection::keep(nodes.successor(square, exponent)));
    if (nodes.level(next) > RootLimitLevel - 1) {
        const std::optional<CellRect> box = boxOf(next);
        if (box && !inPlane(*box))
            throw UniverseError("the pattern would grow past " + std::to_string(CoordinateLimit)
                + " cells from the origin, the edge of the unbounded plane");
    }
    return next;
}

void StateHashLife::advance(std::uint64_t generations)
{
    Store &nodes = store();
    // From the largest power of two down, as HashLife::advance() does for rules that alternate.
    const bool odd = generations % 2 != 0;
    if (generations != 0 && !nodes.isEmpty(root)) {
        nodes.useRules(stateRule, nextRule);
        changeRoot([generations](StateNodeId square) {
            for (std::uint64_t i = 0; i < generations >> MaxStepExponent; ++i)
                square = step(square, MaxStepExponent);
            for (int exponent = MaxStepExponent - 1; exponent >= 0; --exponent) {
                if ((generations >> exponent) & 1U)
                    square = step(square, exponent);
            }
            return square;
        });
    }
    if (odd)
        std::swap(stateRule, nextRule);
}

bool StateHashLife::advanceUnless(std::uint64_t generations, const std::atomic<bool> &stop)
{
    Store &nodes = store();
    nodes.setStopFlag(&stop);
    try {
        advance(generations);
    } catch (const Store::Interrupted &) {
        nodes.setStopFlag(nullptr);
        return false;
    } catch (...) {
        nodes.setStopFlag(nullptr);
        throw;
    }
    nodes.setStopFlag(nullptr);
    return true;
}

std::uint8_t StateHashLife::state(std::int64_t x, std::int64_t y) const
{
    const Store &nodes = store();
    const int level = nodes.level(root);
    const std::int64_t half = halfSide(level);
    if (x < -half || x >= half || y < -half || y >= half)
        return 0;
    const Word ux = Word(x + half);
    const Word uy = Word(y + half);
    StateNodeId square = root;
    for (int l = level; l > Store::LeafLevel; --l) {
        if (nodes.isEmpty(square))
            return 0;
        square = nodes.quarter(square, static_cast<int>(((uy >> (l - 1)) & 1) * 2 + ((ux >> (l - 1)) & 1)));
    }
    return nodes.cells(square)[(uy % Store::LeafSide) * Store::LeafSide + ux % Store::LeafSide];
}

StateNodeId StateHashLife::withState(StateNodeId square, int level, Word x, Word y, std::uint8_t state)
{
    Store &nodes = store();
    if (level == Store::LeafLevel) {
        Store::LeafCells cells = nodes.cells(square);
        cells[(y % Store::LeafSide) * Store::LeafSide + x % Store::LeafSide] = state;
        return nodes.leaf(cells);
    }
    const int index = static_cast<int>(((y >> (level - 1)) & 1) * 2 + ((x >> (level - 1)) & 1));
    const StateNodeId quarter = nodes.quarter(square, index);
    const StateNodeId changed = withState(quarter, level - 1, x, y, state);
    if (changed == quarter)
        return square;
    StateNodeId quarters[4]
        = { nodes.quarter(square, 0), nodes.quarter(square, 1), nodes.quarter(square, 2), nodes.quarter(square, 3) };
    quarters[index] = Protection::keep(changed);
    return nodes.node(quarters[0], quarters[1], quarters[2], quarters[3]);
}

void StateHashLife::setState(std::int64_t x, std::int64_t y, std::uint8_t state)
{
    const CellRect cell { x, y, x, y };
    if (!inPlane(cell))
        throw UniverseError("the cell " + std::to_string(x) + ", " + std::to_string(y)
            + " lies beyond the edge of the unbounded plane");
    if (state == 0 && !holds(store().level(root), cell))
        return;
    changeRoot([&](StateNodeId square) {
        square = grownFor(square, cell);
        const int level = store().level(square);
        return shrunk(
            Protection::keep(withState(square, level, Word(x + halfSide(level)), Word(y + halfSide(level)), state)));
    });
}

void StateHashLife::clear() { replaceRoot(store().empty(RootLevel)); }

StateNodeId StateHashLife::built(
    StatedCell *begin, StatedCell *end, int level, std::int64_t left, std::int64_t top, StateNodeId under)
{
    Store &nodes = store();
    if (begin == end)
        return under;
    if (level == Store::LeafLevel) {
        Store::LeafCells cells = nodes.cells(under);
        for (const StatedCell *cell = begin; cell != end; ++cell)
            cells[static_cast<std::size_t>((cell->y - top) * Store::LeafSide + (cell->x - left))] = cell->state;
        return nodes.leaf(cells);
    }
    const std::int64_t midX = left + halfSide(level);
    const std::int64_t midY = top + halfSide(level);
    StatedCell *parts[5] = { begin, nullptr, nullptr, nullptr, end };
    parts[2] = std::partition(begin, end, [midY](const StatedCell &c) { return c.y < midY; });
    const auto isWest = [midX](const StatedCell &c) { return c.x < midX; };
    parts[1] = std::partition(begin, parts[2], isWest);
    parts[3] = std::partition(parts[2], end, isWest);
    StateNodeId children[4];
    for (int q = 0; q < 4; ++q) {
        children[q] = Protection::keep(built(
            parts[q], parts[q + 1], level - 1, q % 2 == 0 ? left : midX, q < 2 ? top : midY, nodes.quarter(under, q)));
    }
    return nodes.node(children[0], children[1], children[2], children[3]);
}

void StateHashLife::setStates(std::vector<StatedCell> cells)
{
    if (cells.empty())
        return;
    // The last of each cell listed more than once is the one that counts.
    std::stable_sort(cells.begin(), cells.end(),
        [](const StatedCell &a, const StatedCell &b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
    std::vector<StatedCell> unique;
    unique.reserve(cells.size());
    for (const StatedCell &cell : cells) {
        if (!unique.empty() && unique.back().x == cell.x && unique.back().y == cell.y)
            unique.back() = cell;
        else
            unique.push_back(cell);
    }
    CellRect area { unique.front().x, unique.front().y, unique.front().x, unique.back().y };
    for (const StatedCell &cell : unique) {
        area.left = std::min(area.left, cell.x);
        area.right = std::max(area.right, cell.x);
    }
    if (!inPlane(area))
        throw UniverseError("a cell lies beyond " + std::to_string(CoordinateLimit)
            + " cells from the origin, the edge of the unbounded plane");
    changeRoot([&](StateNodeId square) {
        square = grownFor(square, area);
        const std::int64_t half = halfSide(store().level(square));
        return shrunk(Protection::keep(
            built(unique.data(), unique.data() + unique.size(), store().level(square), -half, -half, square)));
    });
}

void StateHashLife::setCells(const std::vector<CellPoint> &cells)
{
    std::vector<StatedCell> stated;
    stated.reserve(cells.size());
    for (const CellPoint &cell : cells)
        stated.push_back({ cell.x, cell.y, 1 });
    setStates(std::move(stated));
}

StateNodeId StateHashLife::clipped(
    StateNodeId square, std::int64_t left, std::int64_t top, const CellRect &area, bool outside)
{
    Store &nodes = store();
    if (nodes.isEmpty(square))
        return square;
    const int level = nodes.level(square);
    const std::int64_t last = (std::int64_t(1) << level) - 1;
    const CellRect whole { left, top, left + last, top + last };
    if (area.contains(whole))
        return outside ? square : nodes.empty(level);
    if (!whole.intersected(area))
        return outside ? nodes.empty(level) : square;
    if (level == Store::LeafLevel) {
        Store::LeafCells cells = nodes.cells(square);
        for (int y = 0; y < Store::LeafSide; ++y) {
            for (int x = 0; x < Store::LeafSide; ++x) {
                if (area.contains(left + x, top + y) != outside)
                    cells[static_cast<std::size_t>(y * Store::LeafSide + x)] = 0;
            }
        }
        return nodes.leaf(cells);
    }
    const std::int64_t half = halfSide(level);
    StateNodeId children[4];
    for (int q = 0; q < 4; ++q) {
        children[q] = Protection::keep(
            clipped(nodes.quarter(square, q), left + (q % 2 == 0 ? 0 : half), top + (q < 2 ? 0 : half), area, outside));
    }
    return nodes.node(children[0], children[1], children[2], children[3]);
}

void StateHashLife::clearInside(const CellRect &area)
{
    changeRoot([&area](StateNodeId square) {
        const std::int64_t half = halfSide(store().level(square));
        return shrunk(Protection::keep(clipped(square, -half, -half, area, false)));
    });
}

void StateHashLife::clearOutside(const CellRect &area)
{
    changeRoot([&area](StateNodeId square) {
        const std::int64_t half = halfSide(store().level(square));
        return shrunk(Protection::keep(clipped(square, -half, -half, area, true)));
    });
}

void StateHashLife::fillRandom(const CellRect &area, double density, std::uint64_t seed)
{
    // Cells set at once, so that at most a few MiB of them are held.
    constexpr std::size_t Batch = std::size_t(1) << 16;
    if (!inPlane(area))
        throw UniverseError("the rectangle to fill reaches beyond " + std::to_string(CoordinateLimit)
            + " cells from the origin, the edge of the unbounded plane");
    StateHashLife filled(*this);
    filled.clearInside(area);
    RandomBits cells(density, seed);
    const std::uint64_t width = static_cast<std::uint64_t>(area.right - area.left) + 1;
    std::vector<StatedCell> batch;
    for (std::int64_t y = area.top; y <= area.bottom; ++y) {
        for (std::uint64_t offset = 0; offset < width; offset += 64) {
            std::uint64_t word = cells.next();
            if (width - offset < 64)
                word &= (std::uint64_t(1) << (width - offset)) - 1;
            for (; word != 0; word &= word - 1)
                batch.push_back({ area.left + static_cast<std::int64_t>(offset) + __builtin_ctzll(word), y, 1 });
            if (batch.size() >= Batch) {
                filled.setStates(std::move(batch));
                batch.clear();
            }
        }
    }
    filled.setStates(std::move(batch));
    *this = filled;
}

std::uint64_t StateHashLife::population() const
{
    const std::uint64_t count = store().population(root);
    if (count == ~std::uint64_t(0))
        throw UniverseError("the population is too large to count in 64 bits");
    return count;
}

std::uint64_t StateHashLife::hash() const
{
    const Store &nodes = store();
    return BitMix::finalise(nodes.contentHash(root) ^ Word(nodes.level(root)) << 56);
}

bool StateHashLife::equals(const Universe &other) const { return equalsShifted(other, 0, 0); }

bool StateHashLife::equalsShifted(const Universe &other, std::int64_t dx, std::int64_t dy) const
{
    const auto *const tree = dynamic_cast<const StateHashLife *>(&other);
    if (tree && dx == 0 && dy == 0)
        return root == tree->root;
    if (other.topology() != topology())
        return false;
    return Universe::equalsShifted(other, dx, dy);
}
