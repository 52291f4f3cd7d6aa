#include "model/engine/statehashlife.h"

#include "model/engine/nodestore.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

// StateHashLife's reading side: the cells visited, counted, bounded and drawn.

namespace
{

using Store = StateNodeStore;

const Store &store() { return Store::instance(); }

// A square at its place: its top-left cell.
struct Placed {
    StateNodeId id;
    std::int64_t left;
    std::int64_t top;
};

// The cells not 0 inside `area` of the row of squares `row`, all of one level
// and the same rows, ordered from the left: the rows of their top halves
// first, then those of their bottom halves, so that the cells come row by row.
template <typename Visit>
void visitRows(const std::vector<Placed> &row, int level, const CellRect &area, const Visit &visit)
{
    const Store &nodes = store();
    if (level == Store::LeafLevel) {
        std::vector<Store::LeafCells> cells;
        cells.reserve(row.size());
        for (const Placed &square : row)
            cells.push_back(nodes.cells(square.id));
        const std::int64_t top = row.front().top;
        for (int y = 0; y < Store::LeafSide; ++y) {
            if (!area.contains(area.left, top + y))
                continue;
            for (std::size_t i = 0; i < row.size(); ++i) {
                for (int x = 0; x < Store::LeafSide; ++x) {
                    const std::uint8_t state = cells[i][static_cast<std::size_t>(y * Store::LeafSide + x)];
                    if (state != 0 && area.contains(row[i].left + x, top + y))
                        visit(row[i].left + x, top + y, state);
                }
            }
        }
        return;
    }
    const std::int64_t half = std::int64_t(1) << (level - 1);
    for (int band = 0; band < 2; ++band) {
        std::vector<Placed> halves;
        const std::int64_t top = row.front().top + band * half;
        if (top > area.bottom || top + half - 1 < area.top)
            continue;
        for (const Placed &square : row) {
            for (int side = 0; side < 2; ++side) {
                const StateNodeId quarter = nodes.quarter(square.id, band * 2 + side);
                const std::int64_t left = square.left + side * half;
                if (!nodes.isEmpty(quarter) && left <= area.right && left + half - 1 >= area.left)
                    halves.push_back({ quarter, left, top });
            }
        }
        if (!halves.empty())
            visitRows(halves, level - 1, area, visit);
    }
}

// The edges of the cells not 0 of squares, as offsets from a square's
// top-left corner; each distinct square is measured once.
class Edges
{
public:
    struct Box {
        std::int64_t left;
        std::int64_t top;
        std::int64_t right;
        std::int64_t bottom;
    };

    // Precondition: `square` is not empty.
    Box operator()(StateNodeId square)
    {
        const Store &nodes = store();
        const auto known = memo.find(square);
        if (known != memo.end())
            return known->second;
        Box box { INT64_MAX, INT64_MAX, -1, -1 };
        const int level = nodes.level(square);
        if (level == Store::LeafLevel) {
            const Store::LeafCells cells = nodes.cells(square);
            for (int y = 0; y < Store::LeafSide; ++y) {
                for (int x = 0; x < Store::LeafSide; ++x) {
                    if (cells[static_cast<std::size_t>(y * Store::LeafSide + x)] != 0)
                        add(box, Box { x, y, x, y }, 0, 0);
                }
            }
        } else {
            const std::int64_t half = std::int64_t(1) << (level - 1);
            for (int q = 0; q < 4; ++q) {
                const StateNodeId quarter = nodes.quarter(square, q);
                if (!nodes.isEmpty(quarter))
                    add(box, (*this)(quarter), q % 2 == 0 ? 0 : half, q < 2 ? 0 : half);
            }
        }
        memo.emplace(square, box);
        return box;
    }

private:
    static void add(Box &box, const Box &part, std::int64_t dx, std::int64_t dy)
    {
        box.left = std::min(box.left, part.left + dx);
        box.top = std::min(box.top, part.top + dy);
        box.right = std::max(box.right, part.right + dx);
        box.bottom = std::max(box.bottom, part.bottom + dy);
    }

    std::unordered_map<StateNodeId, Box> memo;
};

} // namespace

void StateHashLife::forEachCell(
    const CellRect &area, const std::function<void(std::int64_t x, std::int64_t y, std::uint8_t state)> &visit) const
{
    if (store().isEmpty(root))
        return;
    const std::int64_t half = std::int64_t(1) << (store().level(root) - 1);
    visitRows(std::vector<Placed> { { root, -half, -half } }, store().level(root), area, visit);
}

void StateHashLife::forEachLiveCell(
    const CellRect &area, const std::function<void(std::int64_t x, std::int64_t y)> &visit) const
{
    forEachCell(area, [&visit](std::int64_t x, std::int64_t y, std::uint8_t) { visit(x, y); });
}

std::optional<CellRect> StateHashLife::boxOf(StateNodeId square)
{
    if (store().isEmpty(square))
        return std::nullopt;
    const std::int64_t origin = -(std::int64_t(1) << (store().level(square) - 1));
    const Edges::Box box = Edges()(square);
    return CellRect { origin + box.left, origin + box.top, origin + box.right, origin + box.bottom };
}

std::optional<CellRect> StateHashLife::boundingBox() const { return boxOf(root); }

void StateHashLife::render(
    const CellRect &area, int shift, std::uint8_t *pixels, int columns, int rows, std::ptrdiff_t stride) const
{
    for (int row = 0; row < rows; ++row)
        std::fill(pixels + row * stride, pixels + row * stride + columns, 0);
    if (columns <= 0 || rows <= 0 || store().isEmpty(root))
        return;
    // The cells the pixels cover, at most 2^62 past area's top-left corner.
    const auto reach = [shift](std::int64_t from, int count) {
        const std::uint64_t pixels = static_cast<std::uint64_t>(count);
        const std::uint64_t span
            = pixels == 0 || 64 - __builtin_clzll(pixels) + shift <= 63 ? (pixels << shift) - 1 : UINT64_MAX;
        // Unsigned, so that a `from` below 0 cannot overflow.
        const std::uint64_t room = static_cast<std::uint64_t>(INT64_MAX) - static_cast<std::uint64_t>(from);
        return span > room ? INT64_MAX : static_cast<std::int64_t>(static_cast<std::uint64_t>(from) + span);
    };
    const CellRect covered { area.left, area.top, reach(area.left, columns), reach(area.top, rows) };
    const Store &nodes = store();
    const auto paint = [&](std::int64_t x, std::int64_t y, std::uint8_t state) {
        std::uint8_t &pixel = pixels[((y - area.top) >> shift) * stride + ((x - area.left) >> shift)];
        pixel = pixel == 0 ? state : std::min(pixel, state);
    };
    // A square within one pixel paints it with its lowest state; a larger
    // one, or one across a pixel's edge, is looked into.
    const auto draw
        = [&](const auto &self, StateNodeId square, int level, std::int64_t left, std::int64_t top) -> void {
        if (nodes.isEmpty(square))
            return;
        const std::int64_t last = (std::int64_t(1) << level) - 1;
        const CellRect whole { left, top, left + last, top + last };
        const std::optional<CellRect> seen = whole.intersected(covered);
        if (!seen)
            return;
        if (((seen->left - area.left) >> shift) == ((seen->right - area.left) >> shift)
            && ((seen->top - area.top) >> shift) == ((seen->bottom - area.top) >> shift) && covered.contains(whole)) {
            paint(seen->left, seen->top, nodes.lowestState(square));
            return;
        }
        if (level == Store::LeafLevel) {
            const Store::LeafCells cells = nodes.cells(square);
            for (int y = 0; y < Store::LeafSide; ++y) {
                for (int x = 0; x < Store::LeafSide; ++x) {
                    const std::uint8_t state = cells[static_cast<std::size_t>(y * Store::LeafSide + x)];
                    if (state != 0 && covered.contains(left + x, top + y))
                        paint(left + x, top + y, state);
                }
            }
            return;
        }
        const std::int64_t half = std::int64_t(1) << (level - 1);
        for (int q = 0; q < 4; ++q)
            self(self, nodes.quarter(square, q), level - 1, left + (q % 2 == 0 ? 0 : half), top + (q < 2 ? 0 : half));
    };
    const int level = nodes.level(root);
    const std::int64_t half = std::int64_t(1) << (level - 1);
    draw(draw, root, level, -half, -half);
}

HashLife StateHashLife::liveCells() const
{
    NodeStore &bits = NodeStore::instance();
    const Store &nodes = store();
    const std::size_t mark = bits.protectionMark();
    std::unordered_map<StateNodeId, NodeId> done;
    // Squares of LeafLevel + 1 and up: their sides are those of NodeStore's leaves and up.
    const auto live = [&](const auto &self, StateNodeId square) -> NodeId {
        const int level = nodes.level(square);
        if (nodes.isEmpty(square))
            return bits.empty(level);
        const auto known = done.find(square);
        if (known != done.end())
            return known->second;
        NodeId result = NodeStore::None;
        if (level == Store::LeafLevel + 1) {
            std::uint64_t leaf = 0;
            for (int q = 0; q < 4; ++q) {
                const Store::LeafCells cells = nodes.cells(nodes.quarter(square, q));
                for (int i = 0; i < Store::LeafSide * Store::LeafSide; ++i) {
                    const int x = (q % 2) * Store::LeafSide + i % Store::LeafSide;
                    const int y = (q / 2) * Store::LeafSide + i / Store::LeafSide;
                    if (cells[static_cast<std::size_t>(i)] != 0)
                        leaf |= std::uint64_t(1) << (y * 8 + x);
                }
            }
            result = bits.leaf(leaf);
        } else {
            NodeId quarters[4];
            for (int q = 0; q < 4; ++q) {
                quarters[q] = self(self, nodes.quarter(square, q));
                bits.protect(quarters[q]);
            }
            result = bits.node(quarters[0], quarters[1], quarters[2], quarters[3]);
        }
        bits.protect(result);
        done.emplace(square, result);
        return result;
    };
    try {
        HashLife cells(live(live, root), Rule());
        bits.release(mark);
        return cells;
    } catch (const NodeStore::Exhausted &) {
        bits.release(mark);
        failOutOfMemory();
    } catch (...) {
        bits.release(mark);
        throw;
    }
}
