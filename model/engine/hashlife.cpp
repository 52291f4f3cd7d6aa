#include "model/engine/hashlife.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <utility>

#include "model/engine/bitmix.h"
#include "model/engine/quadtree.h"
#include "model/engine/randombits.h"
#include "model/engine/squareedits.h"

namespace
{

using Word = std::uint64_t;

NodeStore &store() { return NodeStore::instance(); }

using Protection = Quadtree::Protection<NodeStore>;

Word mix(Word x) { return BitMix::finalise(x); }

std::int64_t halfSide(int level) { return std::int64_t(1) << (level - 1); }

// Whether `area` lies within +-CoordinateLimit.
bool inPlane(const CellRect &area)
{
    return area.left >= -Universe::CoordinateLimit && area.top >= -Universe::CoordinateLimit
        && area.right <= Universe::CoordinateLimit && area.bottom <= Universe::CoordinateLimit;
}

// Throws UniverseError unless inPlane(box).
void checkWithinLimit(const CellRect &box)
{
    if (!inPlane(box))
        throw UniverseError("a cell lies beyond " + std::to_string(Universe::CoordinateLimit)
            + " cells from the origin, the edge of the unbounded plane");
}

// The smallest level, `level` at least, of a root square holding `area`.
// Precondition: inPlane(area).
int levelFor(const CellRect &area, int level)
{
    while (area.left < -halfSide(level) || area.top < -halfSide(level) || area.right >= halfSide(level)
        || area.bottom >= halfSide(level))
        ++level;
    return level;
}

// The edges of the live cells of nonempty squares, as offsets from a square's
// top-left corner; each distinct square is measured once.
class EdgeFinder
{
public:
    enum Edge { Top, Bottom, Left, Right };

    explicit EdgeFinder(Edge edge)
        : edge(edge)
    {
    }

    std::int64_t operator()(NodeId square)
    {
        const NodeStore &nodes = store();
        const int level = nodes.level(square);
        if (level == NodeStore::LeafLevel)
            return ofLeaf(nodes.bits(square));
        const auto known = memo.find(square);
        if (known != memo.end())
            return known->second;
        // Quarters on the near side first; those beyond are measured only when the near ones are empty.
        static constexpr int near[4][2] = { { 0, 1 }, { 2, 3 }, { 0, 2 }, { 1, 3 } };
        static constexpr int far[4][2] = { { 2, 3 }, { 0, 1 }, { 1, 3 }, { 0, 2 } };
        const bool nearIsLow = edge == Top || edge == Left;
        const std::int64_t half = halfSide(level);
        std::int64_t result = -1;
        for (const auto *side : { near[edge], far[edge] }) {
            const std::int64_t offset = (side == near[edge]) == nearIsLow ? 0 : half;
            for (int i = 0; i < 2; ++i) {
                const NodeId quarter = nodes.quarter(square, side[i]);
                if (nodes.isEmpty(quarter))
                    continue;
                const std::int64_t value = offset + (*this)(quarter);
                result = result < 0 ? value : nearIsLow ? std::min(result, value) : std::max(result, value);
            }
            if (result >= 0)
                break;
        }
        memo.emplace(square, result);
        return result;
    }

private:
    std::int64_t ofLeaf(Word bits) const
    {
        Word columns = bits | bits >> 32;
        columns |= columns >> 16;
        columns = (columns | columns >> 8) & 0xFF;
        switch (edge) {
        case Top:
            return __builtin_ctzll(bits) / 8;
        case Bottom:
            return (63 - __builtin_clzll(bits)) / 8;
        case Left:
            return __builtin_ctzll(columns);
        case Right:
            break;
        }
        return 63 - __builtin_clzll(columns);
    }

    Edge edge;
    std::unordered_map<NodeId, std::int64_t> memo;
};

// The bounding box of the cells of a root square.
std::optional<CellRect> boxOf(NodeId root)
{
    const NodeStore &nodes = store();
    if (nodes.isEmpty(root))
        return std::nullopt;
    const std::int64_t origin = -halfSide(nodes.level(root));
    return CellRect { origin + EdgeFinder(EdgeFinder::Left)(root), origin + EdgeFinder(EdgeFinder::Top)(root),
        origin + EdgeFinder(EdgeFinder::Right)(root), origin + EdgeFinder(EdgeFinder::Bottom)(root) };
}

} // namespace

HashLife::HashLife(const Rule &rule)
    : lifeRule(rule)
    , nextRule(rule)
    , root(store().empty(RootLevel))
{
    checkRule(rule);
    store().addRoot(root);
}

HashLife::HashLife(NodeId square, const Rule &rule)
    : HashLife(rule)
{
    NodeStore &nodes = store();
    try {
        const Protection protection;
        NodeId next = Protection::keep(square);
        if (nodes.level(next) == NodeStore::LeafLevel) {
            const Word bits = nodes.bits(next);
            constexpr Word Quarter = 0x0F0F0F0FULL;
            next = Protection::keep(nodes.node(Protection::keep(nodes.leaf((bits & Quarter) << 36)),
                Protection::keep(nodes.leaf(((bits >> 4) & Quarter) << 32)),
                Protection::keep(nodes.leaf(((bits >> 32) & Quarter) << 4)),
                Protection::keep(nodes.leaf((bits >> 36) & Quarter))));
        }
        replaceRoot(shrunk(next));
    } catch (const NodeStore::Exhausted &) {
        failOutOfMemory();
    }
}

HashLife::HashLife(const HashLife &other)
    : Universe()
    , lifeRule(other.lifeRule)
    , nextRule(other.nextRule)
    , root(other.root)
{
    store().addRoot(root);
}

HashLife &HashLife::operator=(const HashLife &other)
{
    if (this != &other) {
        replaceRoot(other.root);
        lifeRule = other.lifeRule;
        nextRule = other.nextRule;
    }
    return *this;
}

HashLife::~HashLife() { store().removeRoot(root); }

std::unique_ptr<Universe> HashLife::clone() const { return std::make_unique<HashLife>(*this); }

void HashLife::checkRule(const Rule &rule)
{
    if ((rule.birthCounts() & 1U) != 0) {
        throw UniverseError("the rule " + rule.toString()
            + " gives birth on 0 neighbours, which would fill the unbounded plane in one generation");
    }
}

void HashLife::failOutOfMemory()
{
    const std::size_t limit = store().memoryLimit();
    const std::string amount = limit % (1024 * 1024) == 0 ? std::to_string(limit / (1024 * 1024)) + " MiB"
                                                          : std::to_string(limit) + " bytes";
    throw UniverseError("the unbounded plane needs more memory than its limit of " + amount);
}

void HashLife::setRule(const Rule &rule)
{
    checkRule(rule);
    lifeRule = rule;
    nextRule = rule;
}

void HashLife::setRules(const Rule &even, const Rule &odd)
{
    checkRule(even);
    checkRule(odd);
    lifeRule = even;
    nextRule = odd;
}

void HashLife::replaceRoot(NodeId next)
{
    if (next == root)
        return;
    store().addRoot(next);
    store().removeRoot(root);
    root = next;
}

NodeId HashLife::expanded(NodeId square)
{
    NodeStore &nodes = store();
    const NodeId empty = nodes.empty(nodes.level(square) - 1);
    const NodeId nw = Protection::keep(nodes.node(empty, empty, empty, nodes.quarter(square, 0)));
    const NodeId ne = Protection::keep(nodes.node(empty, empty, nodes.quarter(square, 1), empty));
    const NodeId sw = Protection::keep(nodes.node(empty, nodes.quarter(square, 2), empty, empty));
    const NodeId se = Protection::keep(nodes.node(nodes.quarter(square, 3), empty, empty, empty));
    return Protection::keep(nodes.node(nw, ne, sw, se));
}

NodeId HashLife::grown(NodeId square)
{
    // Every cell within CoordinateLimit fits a root of RootLimitLevel: a
    // square still too small there is a fault, not a reason to go on.
    if (store().level(square) >= RootLimitLevel)
        throw std::logic_error("a cell within the plane does not fit its largest square");
    return expanded(square);
}

NodeId HashLife::shrunk(NodeId square)
{
    NodeStore &nodes = store();
    while (nodes.level(square) > RootLevel && Quadtree::fitsCentre(nodes, square))
        square = Protection::keep(nodes.centre(square));
    return square;
}

NodeId HashLife::step(NodeId square, int exponent)
{
    NodeStore &nodes = store();
    const int level = nodes.level(square);
    // Two levels up, the cells lie within the middle half of the middle half,
    // and no step of up to a quarter of the side takes them out of the middle.
    // At the largest level, cells within CoordinateLimit stay in the middle
    // for steps of up to 2^MaxStepExponent.
    const int target = std::min(NodeStore::MaxLevel, std::max(level + 2, exponent + 3));
    for (int l = level; l < target; ++l)
        square = expanded(square);
    NodeId next = Protection::keep(nodes.successor(square, exponent));
    next = shrunk(next);
    if (nodes.level(next) > RootLimitLevel - 1) {
        const std::optional<CellRect> box = boxOf(next);
        if (box
            && (box->left < -CoordinateLimit || box->top < -CoordinateLimit || box->right > CoordinateLimit
                || box->bottom > CoordinateLimit)) {
            throw UniverseError("the pattern would grow past " + std::to_string(CoordinateLimit)
                + " cells from the origin, the edge of the unbounded plane");
        }
    }
    return next;
}

void HashLife::advance(std::uint64_t generations)
{
    NodeStore &nodes = store();
    // The jump's powers of two go from the largest down, so that every one
    // but a last single generation is even and starts on an even generation.
    const bool odd = generations % 2 != 0;
    if (generations == 0 || nodes.isEmpty(root)) {
        if (odd)
            std::swap(lifeRule, nextRule);
        return;
    }
    nodes.useRules(lifeRule, nextRule);
    try {
        const Protection protection;
        NodeId square = Protection::keep(root);
        const double total = static_cast<double>(generations);
        double done = 0;
        const auto stepped = [&](int exponent) {
            const double share = std::ldexp(1.0, exponent) / total;
            nodes.beginProgress(done, share);
            square = step(square, exponent);
            done += share;
        };
        for (std::uint64_t i = 0; i < generations >> MaxStepExponent; ++i)
            stepped(MaxStepExponent);
        for (int exponent = MaxStepExponent - 1; exponent >= 0; --exponent) {
            if ((generations >> exponent) & 1U)
                stepped(exponent);
        }
        nodes.beginProgress(1, 0);
        replaceRoot(square);
        if (odd)
            std::swap(lifeRule, nextRule);
    } catch (const NodeStore::Exhausted &) {
        failOutOfMemory();
    }
}

bool HashLife::advanceBefore(std::uint64_t generations, std::chrono::steady_clock::time_point deadline)
{
    store().setDeadline(deadline);
    return advanceInterruptible(generations);
}

bool HashLife::advanceUnless(std::uint64_t generations, const std::atomic<bool> &stop)
{
    store().setStopFlag(&stop);
    return advanceInterruptible(generations);
}

bool HashLife::advanceUnless(std::uint64_t generations, const std::function<bool()> &stop)
{
    store().setStopCheck(&stop);
    return advanceInterruptible(generations);
}

double HashLife::jumpProgress() { return store().progress(); }

bool HashLife::advanceInterruptible(std::uint64_t generations)
{
    NodeStore &nodes = store();
    const auto done = [&nodes] {
        nodes.setDeadline(std::nullopt);
        nodes.setStopFlag(nullptr);
        nodes.setStopCheck(nullptr);
    };
    try {
        advance(generations);
    } catch (const NodeStore::Interrupted &) {
        done();
        return false;
    } catch (...) {
        done();
        throw;
    }
    done();
    return true;
}

bool HashLife::cell(std::int64_t x, std::int64_t y) const
{
    const NodeStore &nodes = store();
    const int level = nodes.level(root);
    const std::int64_t half = halfSide(level);
    if (x < -half || x >= half || y < -half || y >= half)
        return false;
    const Word ux = Word(x + half);
    const Word uy = Word(y + half);
    NodeId square = root;
    for (int l = level; l > NodeStore::LeafLevel; --l) {
        if (nodes.isEmpty(square))
            return false;
        square = nodes.quarter(square, static_cast<int>(((uy >> (l - 1)) & 1) * 2 + ((ux >> (l - 1)) & 1)));
    }
    return ((nodes.bits(square) >> ((uy & 7) * 8 + (ux & 7))) & 1) != 0;
}

NodeId HashLife::withCell(NodeId square, int level, Word x, Word y, bool alive)
{
    NodeStore &nodes = store();
    if (level == NodeStore::LeafLevel) {
        const Word bit = Word(1) << ((y & 7) * 8 + (x & 7));
        const Word bits = nodes.bits(square);
        return nodes.leaf(alive ? bits | bit : bits & ~bit);
    }
    const int index = static_cast<int>(((y >> (level - 1)) & 1) * 2 + ((x >> (level - 1)) & 1));
    const NodeId quarter = nodes.quarter(square, index);
    const NodeId changed = withCell(quarter, level - 1, x, y, alive);
    if (changed == quarter)
        return square;
    NodeId quarters[4]
        = { nodes.quarter(square, 0), nodes.quarter(square, 1), nodes.quarter(square, 2), nodes.quarter(square, 3) };
    quarters[index] = changed;
    return nodes.node(quarters[0], quarters[1], quarters[2], quarters[3]);
}

void HashLife::setCell(std::int64_t x, std::int64_t y, bool alive)
{
    if (x < -CoordinateLimit || x > CoordinateLimit || y < -CoordinateLimit || y > CoordinateLimit)
        throw UniverseError("the cell " + std::to_string(x) + ", " + std::to_string(y)
            + " lies beyond the edge of the unbounded plane");
    NodeStore &nodes = store();
    try {
        const Protection protection;
        NodeId square = Protection::keep(root);
        while (x < -halfSide(nodes.level(square)) || x >= halfSide(nodes.level(square))
            || y < -halfSide(nodes.level(square)) || y >= halfSide(nodes.level(square))) {
            if (!alive)
                return;
            square = grown(square);
        }
        const int level = nodes.level(square);
        square = Protection::keep(withCell(square, level, Word(x + halfSide(level)), Word(y + halfSide(level)), alive));
        replaceRoot(shrunk(square));
    } catch (const NodeStore::Exhausted &) {
        failOutOfMemory();
    }
}

void HashLife::clear() { replaceRoot(store().empty(RootLevel)); }

NodeId HashLife::built(CellPoint *begin, CellPoint *end, int level, const CellRect &square, const CellRect &bound)
{
    NodeStore &nodes = store();
    if (begin == end)
        return nodes.empty(level);
    if (level == NodeStore::LeafLevel) {
        Word bits = 0;
        for (const CellPoint *cell = begin; cell != end; ++cell)
            bits |= Word(1) << ((cell->y - square.top) * 8 + (cell->x - square.left));
        return nodes.leaf(bits);
    }
    const std::int64_t half = halfSide(level);
    const std::int64_t midX = square.left + half;
    const std::int64_t midY = square.top + half;
    const CellRect quarters[4] = {
        { square.left, square.top, midX - 1, midY - 1 },
        { midX, square.top, square.right, midY - 1 },
        { square.left, midY, midX - 1, square.bottom },
        { midX, midY, square.right, square.bottom },
    };
    // Partitioned only where the bound holds cells on both sides of a middle line.
    const auto split = [](CellPoint *first, CellPoint *last, bool low, bool high, auto isLow) {
        return !high ? last : !low ? first : std::partition(first, last, isLow);
    };
    const auto isWest = [midX](const CellPoint &c) { return c.x < midX; };
    CellPoint *parts[5] = { begin, nullptr, nullptr, nullptr, end };
    parts[2]
        = split(begin, end, bound.top < midY, bound.bottom >= midY, [midY](const CellPoint &c) { return c.y < midY; });
    parts[1] = split(begin, parts[2], bound.left < midX, bound.right >= midX, isWest);
    parts[3] = split(parts[2], end, bound.left < midX, bound.right >= midX, isWest);
    const std::size_t mark = nodes.protectionMark();
    NodeId children[4];
    for (int q = 0; q < 4; ++q) {
        const CellRect part { std::max(bound.left, quarters[q].left), std::max(bound.top, quarters[q].top),
            std::min(bound.right, quarters[q].right), std::min(bound.bottom, quarters[q].bottom) };
        children[q] = Protection::keep(built(parts[q], parts[q + 1], level - 1, quarters[q], part));
    }
    const NodeId result = nodes.node(children[0], children[1], children[2], children[3]);
    nodes.release(mark);
    return result;
}

void HashLife::setCells(std::vector<CellPoint> cells)
{
    if (cells.empty())
        return;
    const CellRect box = CellRect::around(cells);
    checkWithinLimit(box);
    NodeStore &nodes = store();
    try {
        const Protection protection;
        const NodeId square = grownToHold(root, box);
        const int level = nodes.level(square);
        const std::int64_t half = halfSide(level);
        const CellRect whole { -half, -half, half - 1, half - 1 };
        const NodeId added = Protection::keep(built(cells.data(), cells.data() + cells.size(), level, whole, box));
        replaceRoot(shrunk(Protection::keep(SquareEdits::united(square, added))));
    } catch (const NodeStore::Exhausted &) {
        failOutOfMemory();
    }
}

void HashLife::setBlocks(std::vector<CellBlock> blocks)
{
    if (blocks.empty())
        return;
    std::int64_t left = blocks.front().left;
    std::int64_t top = blocks.front().top;
    std::int64_t right = left;
    std::int64_t bottom = top;
    for (const CellBlock &block : blocks) {
        left = std::min(left, block.left);
        top = std::min(top, block.top);
        right = std::max(right, block.left);
        bottom = std::max(bottom, block.top);
    }
    // A block holding a cell within the limit starts within it, the limit being a multiple of 64.
    checkWithinLimit({ left, top, right, bottom });
    NodeStore &nodes = store();
    try {
        const Protection protection;
        const NodeId square = grownToHold(root, { left, top, right + 63, bottom + 63 });
        const std::int64_t half = halfSide(nodes.level(square));
        const NodeId added = Protection::keep(
            builtOfBlocks(blocks.data(), blocks.data() + blocks.size(), nodes.level(square), -half, -half));
        replaceRoot(shrunk(Protection::keep(SquareEdits::united(square, added))));
    } catch (const NodeStore::Exhausted &) {
        failOutOfMemory();
    }
}

NodeId HashLife::grownToHold(NodeId square, const CellRect &box)
{
    const NodeStore &nodes = store();
    Protection::keep(square);
    while (box.left < -halfSide(nodes.level(square)) || box.right >= halfSide(nodes.level(square))
        || box.top < -halfSide(nodes.level(square)) || box.bottom >= halfSide(nodes.level(square)))
        square = grown(square);
    return square;
}

NodeId HashLife::builtOfBlocks(CellBlock *begin, CellBlock *end, int level, std::int64_t left, std::int64_t top)
{
    NodeStore &nodes = store();
    if (begin == end)
        return nodes.empty(level);
    if (level == BlockLevel)
        return blockSquare(*begin, 0, 0, BlockLevel);
    const std::int64_t midX = left + halfSide(level);
    const std::int64_t midY = top + halfSide(level);
    const auto isWest = [midX](const CellBlock &block) { return block.left < midX; };
    CellBlock *parts[5] = { begin, nullptr, nullptr, nullptr, end };
    parts[2] = std::partition(begin, end, [midY](const CellBlock &block) { return block.top < midY; });
    parts[1] = std::partition(begin, parts[2], isWest);
    parts[3] = std::partition(parts[2], end, isWest);
    const std::size_t mark = nodes.protectionMark();
    NodeId children[4];
    for (int q = 0; q < 4; ++q) {
        children[q] = Protection::keep(
            builtOfBlocks(parts[q], parts[q + 1], level - 1, q % 2 == 0 ? left : midX, q < 2 ? top : midY));
    }
    const NodeId result = nodes.node(children[0], children[1], children[2], children[3]);
    nodes.release(mark);
    return result;
}

NodeId HashLife::blockSquare(const CellBlock &block, int x, int y, int level)
{
    NodeStore &nodes = store();
    if (level == NodeStore::LeafLevel) {
        Word bits = 0;
        for (int row = 0; row < 8; ++row)
            bits |= ((block.rows[static_cast<std::size_t>(y + row)] >> x) & 0xFF) << (8 * row);
        return nodes.leaf(bits);
    }
    const int half = 1 << (level - 1);
    const std::size_t mark = nodes.protectionMark();
    const NodeId children[4] = {
        Protection::keep(blockSquare(block, x, y, level - 1)),
        Protection::keep(blockSquare(block, x + half, y, level - 1)),
        Protection::keep(blockSquare(block, x, y + half, level - 1)),
        Protection::keep(blockSquare(block, x + half, y + half, level - 1)),
    };
    const NodeId result = nodes.node(children[0], children[1], children[2], children[3]);
    nodes.release(mark);
    return result;
}

void HashLife::clearInside(const CellRect &area) { clip(area, false); }

void HashLife::clearOutside(const CellRect &area) { clip(area, true); }

void HashLife::clip(const CellRect &area, bool outside)
{
    try {
        const Protection protection;
        replaceRoot(shrunk(Protection::keep(SquareEdits::clipped(root, area, outside))));
    } catch (const NodeStore::Exhausted &) {
        failOutOfMemory();
    }
}

void HashLife::combine(const Universe &source, const CellRect &area, Combination how)
{
    const auto *const tree = dynamic_cast<const HashLife *>(&source);
    if (!tree) {
        combine(fromCells(source, area), area, how);
        return;
    }
    NodeStore &nodes = store();
    try {
        const Protection protection;
        const int level = std::max(nodes.level(root), nodes.level(tree->root));
        const NodeId mine = Protection::keep(SquareEdits::grown(root, level));
        const NodeId added = Protection::keep(
            SquareEdits::grown(Protection::keep(SquareEdits::clipped(tree->root, area, true)), level));
        NodeId result = NodeStore::None;
        switch (how) {
        case Combination::Or:
            result = SquareEdits::united(mine, added);
            break;
        case Combination::Copy:
            result = SquareEdits::united(Protection::keep(SquareEdits::clipped(mine, area, false)), added);
            break;
        case Combination::Xor:
            result = SquareEdits::toggled(mine, added);
            break;
        }
        replaceRoot(shrunk(Protection::keep(result)));
    } catch (const NodeStore::Exhausted &) {
        failOutOfMemory();
    }
}

void HashLife::fillRandom(const CellRect &area, double density, std::uint64_t seed)
{
    if (!inPlane(area))
        throw UniverseError("the rectangle to fill reaches beyond " + std::to_string(CoordinateLimit)
            + " cells from the origin, the edge of the unbounded plane");
    NodeStore &nodes = store();
    RandomBits cells(density, seed);
    try {
        const Protection protection;
        const int level = levelFor(area, nodes.level(root));
        const NodeId kept
            = Protection::keep(SquareEdits::clipped(Protection::keep(SquareEdits::grown(root, level)), area, false));
        const NodeId filled = Protection::keep(SquareEdits::random(area, level, cells));
        replaceRoot(shrunk(Protection::keep(SquareEdits::united(kept, filled))));
    } catch (const NodeStore::Exhausted &) {
        failOutOfMemory();
    }
}

HashLife HashLife::cellsIn(const CellRect &area) const
{
    HashLife cells(*this);
    cells.clearOutside(area);
    return cells;
}

HashLife HashLife::fromCells(const Universe &source, const CellRect &area)
{
    // Cells handed to setCells() at once, so that at most a few MiB of them are held.
    constexpr std::size_t Batch = std::size_t(1) << 16;
    HashLife cells;
    std::vector<CellPoint> batch;
    source.forEachLiveCell(area, [&](std::int64_t x, std::int64_t y) {
        batch.push_back({ x, y });
        if (batch.size() == Batch) {
            cells.setCells(std::move(batch));
            batch.clear();
        }
    });
    cells.setCells(std::move(batch));
    return cells;
}

HashLife HashLife::turned(const Orientation &orientation, const CellRect &box, CellPoint topLeft) const
{
    const CellRect plane { -CoordinateLimit, -CoordinateLimit, CoordinateLimit, CoordinateLimit };
    if (!plane.contains(topLeft.x, topLeft.y) || !inPlane(box))
        throw UniverseError("a turned rectangle must lie within " + std::to_string(CoordinateLimit)
            + " cells from the origin, the edge of the unbounded plane");
    const CellRect turnedBox = orientation.mapAboutOrigin(box);
    const std::int64_t dx = topLeft.x - turnedBox.left;
    const std::int64_t dy = topLeft.y - turnedBox.top;
    NodeStore &nodes = store();
    HashLife result(lifeRule);
    try {
        const Protection protection;
        const NodeId cells = Protection::keep(
            SquareEdits::oriented(Protection::keep(SquareEdits::clipped(root, box, true)), orientation));
        const std::optional<CellRect> live = boxOf(cells);
        if (!live)
            return result;
        const CellRect moved { live->left + dx, live->top + dy, live->right + dx, live->bottom + dy };
        if (!inPlane(moved))
            throw UniverseError("the cells would lie beyond " + std::to_string(CoordinateLimit)
                + " cells from the origin, the edge of the unbounded plane");
        const int level = levelFor(moved, nodes.level(cells));
        result.replaceRoot(shrunk(Protection::keep(SquareEdits::moved(cells, dx, dy, level))));
    } catch (const NodeStore::Exhausted &) {
        failOutOfMemory();
    }
    return result;
}

std::uint64_t HashLife::population() const
{
    const std::uint64_t count = store().population(root);
    if (count == ~std::uint64_t(0))
        throw UniverseError("the population is too large to count in 64 bits");
    return count;
}

std::optional<CellRect> HashLife::boundingBox() const { return boxOf(root); }

std::uint64_t HashLife::hash() const
{
    const NodeStore &nodes = store();
    return mix(nodes.contentHash(root) ^ Word(nodes.level(root)) << 56);
}

bool HashLife::equals(const Universe &other) const
{
    if (const auto *plane = dynamic_cast<const HashLife *>(&other))
        return root == plane->root;
    if (other.topology() != topology() || other.population() != population())
        return false;
    const std::optional<CellRect> box = boundingBox();
    bool same = true;
    if (box)
        forEachLiveCell(*box, [&](std::int64_t x, std::int64_t y) { same = same && other.cell(x, y); });
    return same;
}

bool HashLife::equalsShifted(const Universe &universe, std::int64_t dx, std::int64_t dy) const
{
    const auto *const hashLife = dynamic_cast<const HashLife *>(&universe);
    if (!hashLife)
        return Universe::equalsShifted(universe, dx, dy);
    const HashLife &other = *hashLife;
    const NodeStore &nodes = store();
    if (nodes.population(root) != nodes.population(other.root))
        return false;
    if (dx == 0 && dy == 0)
        return root == other.root;
    const std::optional<CellRect> box = boundingBox();
    const std::optional<CellRect> otherBox = other.boundingBox();
    if (!box || !otherBox)
        return !box && !otherBox;
    // Both boxes lie within CoordinateLimit, so a shift that matches them cannot overflow.
    if (otherBox->left - box->left != dx || otherBox->top - box->top != dy || otherBox->right - box->right != dx
        || otherBox->bottom - box->bottom != dy)
        return false;
    const std::vector<CellPoint> cells = liveCells(*box);
    const std::vector<CellPoint> otherCells = other.liveCells(*otherBox);
    return std::equal(cells.begin(), cells.end(), otherCells.begin(), otherCells.end(),
        [dx, dy](const CellPoint &a, const CellPoint &b) { return a.x + dx == b.x && a.y + dy == b.y; });
}

void HashLife::setMemoryLimit(std::size_t bytes) { store().setMemoryLimit(bytes); }

std::size_t HashLife::memoryLimit() { return store().memoryLimit(); }

std::size_t HashLife::memoryUsed() { return store().memoryUsed(); }
