#include "model/engine/squareedits.h"

#include <algorithm>
#include <initializer_list>
#include <unordered_map>

#include "model/engine/quadtree.h"

namespace
{

using Word = std::uint64_t;
constexpr int LeafLevel = NodeStore::LeafLevel;

NodeStore &store() { return NodeStore::instance(); }

using Scope = Quadtree::Protection<NodeStore>;

std::int64_t halfSide(int level) { return std::int64_t(1) << (level - 1); }

// What an edit made of squares it may meet again, keyed by up to four input
// squares; each result is held as a root until the edit ends, so that the
// protection of the squares being made can be cut back meanwhile.
class Memo
{
public:
    Memo() = default;
    Memo(const Memo &) = delete;
    Memo &operator=(const Memo &) = delete;
    ~Memo()
    {
        for (const auto &entry : results)
            store().removeRoot(entry.second);
    }

    // Squares of fewer cells, or small ones, are made again faster than
    // looked up; their cells are counted only as far as that asks.
    static bool worthIt(int level, std::initializer_list<NodeId> squares)
    {
        if (level < LeafLevel + 2)
            return false;
        Word cells = 0;
        for (const NodeId square : squares) {
            cells += std::min<Word>(store().population(square), 64);
            if (cells >= 64)
                return true;
        }
        return false;
    }

    NodeId find(const NodeId (&key)[4]) const
    {
        const auto found = results.find(Key::of(key));
        return found == results.end() ? NodeStore::None : found->second;
    }
    NodeId remember(const NodeId (&key)[4], NodeId result)
    {
        if (results.emplace(Key::of(key), result).second)
            store().addRoot(result);
        return result;
    }

private:
    struct Key {
        Word low;
        Word high;
        static Key of(const NodeId (&ids)[4])
        {
            return Key { Word(ids[0]) | Word(ids[1]) << 32, Word(ids[2]) | Word(ids[3]) << 32 };
        }
        bool operator==(const Key &other) const { return low == other.low && high == other.high; }
    };
    struct KeyHash {
        std::size_t operator()(const Key &key) const
        {
            Word x = key.low * 0x9E3779B97F4A7C15ULL ^ key.high * 0xC2B2AE3D27D4EB4FULL;
            x ^= x >> 29;
            return static_cast<std::size_t>(x * 0x165667B19E3779F9ULL);
        }
    };

    std::unordered_map<Key, NodeId, KeyHash> results;
};

// The cells of a leaf with its top-left cell at left, top that lie inside
// `area`, which overlaps the leaf.
Word leafMask(const CellRect &area, std::int64_t left, std::int64_t top)
{
    const int firstColumn = static_cast<int>(std::max<std::int64_t>(area.left - left, 0));
    const int lastColumn = static_cast<int>(std::min<std::int64_t>(area.right - left, 7));
    const int firstRow = static_cast<int>(std::max<std::int64_t>(area.top - top, 0));
    const int lastRow = static_cast<int>(std::min<std::int64_t>(area.bottom - top, 7));
    const Word row = (Word(0xFF) >> (7 - lastColumn)) & (Word(0xFF) << firstColumn) & 0xFF;
    const Word rows = (~Word(0) >> (63 - (8 * lastRow + 7))) & (~Word(0) << (8 * firstRow));
    return row * 0x0101010101010101ULL & rows;
}

// Whether the square of `level` at left, top and `area` share no cell, or the square lies inside it.
bool apart(const CellRect &area, int level, std::int64_t left, std::int64_t top)
{
    const std::int64_t last = (std::int64_t(1) << level) - 1;
    return area.right < left || area.left > left + last || area.bottom < top || area.top > top + last;
}

bool within(const CellRect &area, int level, std::int64_t left, std::int64_t top)
{
    const std::int64_t last = (std::int64_t(1) << level) - 1;
    return area.left <= left && area.right >= left + last && area.top <= top && area.bottom >= top + last;
}

// `area` cut to the root square of `level`; none when they share no cell.
bool cutToSquare(CellRect &area, int level)
{
    const std::int64_t half = halfSide(level);
    if (apart(area, level, -half, -half))
        return false;
    area = CellRect { std::max(area.left, -half), std::max(area.top, -half), std::min(area.right, half - 1),
        std::min(area.bottom, half - 1) };
    return true;
}

NodeId clip(NodeId square, int level, std::int64_t left, std::int64_t top, const CellRect &area, bool inside)
{
    NodeStore &nodes = store();
    if (nodes.isEmpty(square))
        return square;
    if (apart(area, level, left, top))
        return inside ? nodes.empty(level) : square;
    if (within(area, level, left, top))
        return inside ? square : nodes.empty(level);
    if (level == LeafLevel) {
        const Word mask = leafMask(area, left, top);
        return nodes.leaf(nodes.bits(square) & (inside ? mask : ~mask));
    }
    const std::int64_t half = halfSide(level);
    const std::size_t mark = nodes.protectionMark();
    NodeId quarters[4];
    for (int q = 0; q < 4; ++q) {
        quarters[q] = Scope::keep(
            clip(nodes.quarter(square, q), level - 1, left + (q % 2) * half, top + (q / 2) * half, area, inside));
    }
    const NodeId result = nodes.node(quarters[0], quarters[1], quarters[2], quarters[3]);
    nodes.release(mark);
    return result;
}

NodeId combine(NodeId a, NodeId b, bool exclusive, Memo &memo)
{
    NodeStore &nodes = store();
    if (a == b)
        return exclusive ? nodes.empty(nodes.level(a)) : a;
    if (nodes.isEmpty(b))
        return a;
    if (nodes.isEmpty(a))
        return b;
    const int level = nodes.level(a);
    if (level == LeafLevel)
        return nodes.leaf(exclusive ? nodes.bits(a) ^ nodes.bits(b) : nodes.bits(a) | nodes.bits(b));
    const NodeId key[4] = { a, b, NodeStore::None, NodeStore::None };
    const bool remembered = Memo::worthIt(level, { a, b });
    if (remembered) {
        const NodeId found = memo.find(key);
        if (found != NodeStore::None)
            return found;
    }
    const std::size_t mark = nodes.protectionMark();
    NodeId quarters[4];
    for (int q = 0; q < 4; ++q)
        quarters[q] = Scope::keep(combine(nodes.quarter(a, q), nodes.quarter(b, q), exclusive, memo));
    const NodeId result = nodes.node(quarters[0], quarters[1], quarters[2], quarters[3]);
    nodes.release(mark);
    return remembered ? memo.remember(key, result) : result;
}

// An 8 x 8 leaf, bit 8 y + x for the cell at x, y, turned within itself.
Word orientLeaf(Word bits, const Orientation &orientation)
{
    if (orientation.swapsSides()) {
        Word t = (bits ^ (bits >> 7)) & 0x00AA00AA00AA00AAULL;
        bits ^= t ^ (t << 7);
        t = (bits ^ (bits >> 14)) & 0x0000CCCC0000CCCCULL;
        bits ^= t ^ (t << 14);
        t = (bits ^ (bits >> 28)) & 0x00000000F0F0F0F0ULL;
        bits ^= t ^ (t << 28);
    }
    if (orientation.mirrorsX()) {
        bits = ((bits >> 1) & 0x5555555555555555ULL) | ((bits & 0x5555555555555555ULL) << 1);
        bits = ((bits >> 2) & 0x3333333333333333ULL) | ((bits & 0x3333333333333333ULL) << 2);
        bits = ((bits >> 4) & 0x0F0F0F0F0F0F0F0FULL) | ((bits & 0x0F0F0F0F0F0F0F0FULL) << 4);
    }
    if (orientation.mirrorsY())
        bits = __builtin_bswap64(bits);
    return bits;
}

NodeId orient(NodeId square, const Orientation &orientation, Memo &memo)
{
    NodeStore &nodes = store();
    if (nodes.isEmpty(square))
        return square;
    const int level = nodes.level(square);
    if (level == LeafLevel)
        return nodes.leaf(orientLeaf(nodes.bits(square), orientation));
    const NodeId key[4] = { square, NodeStore::None, NodeStore::None, NodeStore::None };
    const bool remembered = Memo::worthIt(level, { square });
    if (remembered) {
        const NodeId found = memo.find(key);
        if (found != NodeStore::None)
            return found;
    }
    const std::size_t mark = nodes.protectionMark();
    NodeId quarters[4];
    for (int q = 0; q < 4; ++q) {
        int x = q % 2;
        int y = q / 2;
        if (orientation.swapsSides())
            std::swap(x, y);
        x ^= orientation.mirrorsX() ? 1 : 0;
        y ^= orientation.mirrorsY() ? 1 : 0;
        quarters[y * 2 + x] = Scope::keep(orient(nodes.quarter(square, q), orientation, memo));
    }
    const NodeId result = nodes.node(quarters[0], quarters[1], quarters[2], quarters[3]);
    nodes.release(mark);
    return remembered ? memo.remember(key, result) : result;
}

// The 8 x 8 cells at x, y (0..7) of the 16 x 16 cells of four leaves.
Word leafWindow(const Word (&leaves)[4], int x, int y)
{
    Word result = 0;
    for (int r = 0; r < 8; ++r) {
        const int row = y + r;
        const int lower = row < 8 ? 0 : 2;
        const int shift = 8 * (row % 8);
        const Word line = ((leaves[lower] >> shift) & 0xFF) | ((leaves[lower + 1] >> shift) & 0xFF) << 8;
        result |= ((line >> x) & 0xFF) << (8 * r);
    }
    return result;
}

// The square of `level` whose top-left cell lies at x, y (0..2^level - 1)
// from the top-left cell of `block`: four squares of `level`, nw, ne, sw,
// se. Within one moved() x and y are the same for every square of a level,
// so the memo needs only the block.
NodeId window(const NodeId (&block)[4], int level, Word x, Word y, Memo &memo)
{
    NodeStore &nodes = store();
    if (x == 0 && y == 0)
        return block[0];
    if (std::all_of(std::begin(block), std::end(block), [&nodes](NodeId id) { return nodes.isEmpty(id); }))
        return nodes.empty(level);
    if (level == LeafLevel) {
        const Word leaves[4]
            = { nodes.bits(block[0]), nodes.bits(block[1]), nodes.bits(block[2]), nodes.bits(block[3]) };
        return nodes.leaf(leafWindow(leaves, static_cast<int>(x), static_cast<int>(y)));
    }
    const bool remembered = Memo::worthIt(level, { block[0], block[1], block[2], block[3] });
    if (remembered) {
        const NodeId found = memo.find(block);
        if (found != NodeStore::None)
            return found;
    }
    // The quarters of the block, row by row.
    NodeId grand[4][4];
    for (int q = 0; q < 4; ++q) {
        for (int c = 0; c < 4; ++c)
            grand[(q / 2) * 2 + c / 2][(q % 2) * 2 + c % 2] = nodes.quarter(block[q], c);
    }
    const int shift = level - 1;
    const int column = static_cast<int>(x >> shift);
    const int row = static_cast<int>(y >> shift);
    const Word within = (Word(1) << shift) - 1;
    const std::size_t mark = nodes.protectionMark();
    NodeId quarters[4];
    for (int q = 0; q < 4; ++q) {
        const int r = row + q / 2;
        const int c = column + q % 2;
        const NodeId part[4] = { grand[r][c], grand[r][c + 1], grand[r + 1][c], grand[r + 1][c + 1] };
        quarters[q] = Scope::keep(window(part, level - 1, x & within, y & within, memo));
    }
    const NodeId result = nodes.node(quarters[0], quarters[1], quarters[2], quarters[3]);
    nodes.release(mark);
    return remembered ? memo.remember(block, result) : result;
}

// Squares of every cell alive, LeafLevel..`level`, protected until the edit ends.
class FullSquares
{
public:
    explicit FullSquares(int level)
    {
        NodeStore &nodes = store();
        squares[LeafLevel] = Scope::keep(nodes.leaf(~Word(0)));
        for (int l = LeafLevel + 1; l <= level; ++l)
            squares[l] = Scope::keep(nodes.node(squares[l - 1], squares[l - 1], squares[l - 1], squares[l - 1]));
    }

    NodeId operator()(int level) const { return squares[level]; }

private:
    NodeId squares[NodeStore::MaxLevel + 1] = {};
};

NodeId fill(
    int level, std::int64_t left, std::int64_t top, const CellRect &area, RandomBits &cells, const FullSquares &full)
{
    NodeStore &nodes = store();
    if (apart(area, level, left, top))
        return nodes.empty(level);
    if (cells.all() && within(area, level, left, top))
        return full(level);
    if (level == LeafLevel)
        return nodes.leaf(cells.next() & leafMask(area, left, top));
    const std::int64_t half = halfSide(level);
    const std::size_t mark = nodes.protectionMark();
    NodeId quarters[4];
    for (int q = 0; q < 4; ++q)
        quarters[q] = Scope::keep(fill(level - 1, left + (q % 2) * half, top + (q / 2) * half, area, cells, full));
    const NodeId result = nodes.node(quarters[0], quarters[1], quarters[2], quarters[3]);
    nodes.release(mark);
    return result;
}

} // namespace

NodeId SquareEdits::grown(NodeId square, int level)
{
    NodeStore &nodes = store();
    const Scope scope;
    Scope::keep(square);
    while (nodes.level(square) < level) {
        const NodeId empty = nodes.empty(nodes.level(square) - 1);
        const NodeId nw = Scope::keep(nodes.node(empty, empty, empty, nodes.quarter(square, 0)));
        const NodeId ne = Scope::keep(nodes.node(empty, empty, nodes.quarter(square, 1), empty));
        const NodeId sw = Scope::keep(nodes.node(empty, nodes.quarter(square, 2), empty, empty));
        const NodeId se = Scope::keep(nodes.node(nodes.quarter(square, 3), empty, empty, empty));
        square = Scope::keep(nodes.node(nw, ne, sw, se));
    }
    return square;
}

NodeId SquareEdits::clipped(NodeId square, const CellRect &area, bool inside)
{
    const int level = store().level(square);
    CellRect cut = area;
    if (!cutToSquare(cut, level))
        return inside ? store().empty(level) : square;
    const Scope scope;
    return clip(square, level, -halfSide(level), -halfSide(level), cut, inside);
}

NodeId SquareEdits::united(NodeId a, NodeId b)
{
    const Scope scope;
    Memo memo;
    return combine(a, b, false, memo);
}

NodeId SquareEdits::toggled(NodeId a, NodeId b)
{
    const Scope scope;
    Memo memo;
    return combine(a, b, true, memo);
}

NodeId SquareEdits::oriented(NodeId square, const Orientation &orientation)
{
    if (orientation == Orientation())
        return square;
    const Scope scope;
    Memo memo;
    return orient(square, orientation, memo);
}

NodeId SquareEdits::moved(NodeId square, std::int64_t dx, std::int64_t dy, int level)
{
    NodeStore &nodes = store();
    const Scope scope;
    Memo memo;
    const NodeId whole = Scope::keep(grown(square, level));
    // The source as squares of `level` side by side, `whole` at (0, 0) and
    // every other empty. The result's top-left cell came from -dx, -dy off
    // the top-left cell of `whole`; as the moved cells stay within the
    // result, |dx| and |dy| are less than the side, and it came from `whole`
    // or from the square before it.
    const int column = dx > 0 ? -1 : 0;
    const int row = dy > 0 ? -1 : 0;
    const Word mask = (Word(1) << level) - 1;
    const auto at = [&](int c, int r) { return c == 0 && r == 0 ? whole : nodes.empty(level); };
    const NodeId block[4] = { at(column, row), at(column + 1, row), at(column, row + 1), at(column + 1, row + 1) };
    return window(block, level, Word(-dx) & mask, Word(-dy) & mask, memo);
}

NodeId SquareEdits::random(const CellRect &area, int level, RandomBits &cells)
{
    CellRect cut = area;
    if (cells.none() || !cutToSquare(cut, level))
        return store().empty(level);
    const Scope scope;
    const FullSquares full(cells.all() ? level : LeafLevel);
    return fill(level, -halfSide(level), -halfSide(level), cut, cells, full);
}
