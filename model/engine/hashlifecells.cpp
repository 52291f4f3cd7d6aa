#include "model/engine/hashlife.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

// HashLife's cells read out square by square: painted into pixels, and
// visited row by row.

namespace
{

using Word = std::uint64_t;

NodeStore &store() { return NodeStore::instance(); }

std::int64_t halfSide(int level) { return std::int64_t(1) << (level - 1); }

// A picture of a square tree, one pixel per 2^shift x 2^shift cells.
class Painter
{
public:
    Painter(const CellRect &area, int shift, std::uint8_t *pixels, int columns, int rows, std::ptrdiff_t stride)
        : area(area)
        , shift(shift)
        , pixels(pixels)
        , columns(static_cast<Word>(columns))
        , rows(static_cast<Word>(rows))
        , stride(stride)
    {
    }

    void paint(NodeId square, int level, std::int64_t left, std::int64_t top)
    {
        const NodeStore &nodes = store();
        if (level == NodeStore::LeafLevel) {
            for (Word bits = nodes.bits(square); bits != 0; bits &= bits - 1) {
                const int bit = __builtin_ctzll(bits);
                const std::int64_t x = left + bit % 8;
                const std::int64_t y = top + bit / 8;
                if (area.contains(x, y) && column(x) < columns && row(y) < rows)
                    pixel(column(x), row(y)) = 1;
            }
            return;
        }
        const std::int64_t half = halfSide(level);
        NodeId quarters[4];
        const NodeId empty = loadQuarters(square, level, quarters);
        for (int q = 0; q < 4; ++q) {
            const NodeId quarter = quarters[q];
            if (quarter == empty)
                continue;
            const std::int64_t x0 = left + (q % 2) * half;
            const std::int64_t y0 = top + (q / 2) * half;
            const std::int64_t x1 = x0 + half - 1;
            const std::int64_t y1 = y0 + half - 1;
            const std::int64_t clipLeft = std::max(x0, area.left);
            const std::int64_t clipTop = std::max(y0, area.top);
            if (clipLeft > std::min(x1, area.right) || clipTop > std::min(y1, area.bottom))
                continue;
            if (column(clipLeft) >= columns || row(clipTop) >= rows)
                continue;
            const bool inside = x0 >= area.left && x1 <= area.right && y0 >= area.top && y1 <= area.bottom;
            const Word partMask = (Word(1) << shift) - 1;
            if (inside && column(x0) == column(x1) && row(y0) == row(y1))
                pixel(column(x0), row(y0)) = 1;
            else if (inside && ((Word(x0) - Word(area.left)) & partMask) == 0
                && ((Word(y0) - Word(area.top)) & partMask) == 0 && column(x1) < columns && row(y1) < rows)
                paintWhole(quarter, level - 1, column(x0), row(y0));
            else
                paint(quarter, level - 1, x0, y0);
        }
    }

private:
    // The four quarters of a square above the leaves, those that will be
    // painted quarter by quarter fetched ahead so that their loads overlap;
    // returns the empty square of the quarters' level, which needs no paint.
    NodeId loadQuarters(NodeId square, int level, NodeId (&quarters)[4]) const
    {
        const NodeStore &nodes = store();
        const NodeId empty = nodes.empty(level - 1);
        for (int q = 0; q < 4; ++q) {
            quarters[q] = nodes.quarter(square, q);
            if (quarters[q] != empty && level - 1 > shift)
                nodes.prefetch(quarters[q]);
        }
        return empty;
    }

    // A square above `shift` inside the area and the picture, its corner on
    // the corner of the pixel at `column`, `row`: no cell needs clipping.
    void paintWhole(NodeId square, int level, Word column, Word row)
    {
        const NodeStore &nodes = store();
        if (level == NodeStore::LeafLevel) {
            for (Word bits = nodes.bits(square); bits != 0; bits &= bits - 1) {
                const int bit = __builtin_ctzll(bits);
                pixel(column + (Word(bit % 8) >> shift), row + (Word(bit / 8) >> shift)) = 1;
            }
            return;
        }
        NodeId quarters[4];
        const NodeId empty = loadQuarters(square, level, quarters);
        const Word span = level - 1 > shift ? Word(1) << (level - 1 - shift) : 1;
        for (int q = 0; q < 4; ++q) {
            if (quarters[q] == empty)
                continue;
            const Word x = column + Word(q % 2) * span;
            const Word y = row + Word(q / 2) * span;
            if (level - 1 == shift)
                pixel(x, y) = 1;
            else
                paintWhole(quarters[q], level - 1, x, y);
        }
    }

    // Precondition: x >= area.left, y >= area.top; the differences fit in 64 unsigned bits.
    Word column(std::int64_t x) const { return (Word(x) - Word(area.left)) >> shift; }
    Word row(std::int64_t y) const { return (Word(y) - Word(area.top)) >> shift; }
    std::uint8_t &pixel(Word column, Word row)
    {
        return pixels[static_cast<std::ptrdiff_t>(row) * stride + static_cast<std::ptrdiff_t>(column)];
    }

    CellRect area;
    int shift;
    std::uint8_t *pixels;
    Word columns;
    Word rows;
    std::ptrdiff_t stride;
};

// The live cells of rows of squares of one level, visited row by row.
class RowVisitor
{
public:
    struct Square {
        NodeId id;
        std::int64_t left;
    };

    RowVisitor(const CellRect &area, int level, const std::function<void(std::int64_t x, std::int64_t y)> &visit)
        : area(area)
        , visit(visit)
        , scratch(static_cast<std::size_t>(level))
    {
    }

    // `band` holds squares of `level` side by side, from the left, their top row at `top`.
    void visitBand(std::vector<Square> &band, int level, std::int64_t top)
    {
        const NodeStore &nodes = store();
        if (level == NodeStore::LeafLevel) {
            for (int r = 0; r < 8; ++r) {
                const std::int64_t y = top + r;
                if (y < area.top || y > area.bottom)
                    continue;
                for (const Square &square : band) {
                    for (Word row = (nodes.bits(square.id) >> (8 * r)) & 0xFF; row != 0; row &= row - 1) {
                        const std::int64_t x = square.left + __builtin_ctzll(row);
                        if (x >= area.left && x <= area.right)
                            visit(x, y);
                    }
                }
            }
            return;
        }
        const std::int64_t half = halfSide(level);
        for (int part = 0; part < 2; ++part) {
            const std::int64_t partTop = top + part * half;
            if (partTop > area.bottom || partTop + half - 1 < area.top)
                continue;
            std::vector<Square> &next = scratch[static_cast<std::size_t>(level - 1)];
            next.clear();
            for (const Square &square : band) {
                for (int side = 0; side < 2; ++side) {
                    const NodeId quarter = nodes.quarter(square.id, part * 2 + side);
                    const std::int64_t left = square.left + side * half;
                    if (!nodes.isEmpty(quarter) && left <= area.right && left + half - 1 >= area.left)
                        next.push_back({ quarter, left });
                }
            }
            if (!next.empty())
                visitBand(next, level - 1, partTop);
        }
    }

private:
    CellRect area;
    const std::function<void(std::int64_t x, std::int64_t y)> &visit;
    std::vector<std::vector<Square>> scratch; // by level: the band being visited there
};

// ORs the cells of `square`, of `level` (LeafLevel..CellBlock::Level), into
// `block` with the square's top-left cell at x, y of the block.
void intoBlock(NodeId square, int level, int x, int y, CellBlock &block)
{
    const NodeStore &nodes = store();
    if (nodes.isEmpty(square))
        return;
    if (level == NodeStore::LeafLevel) {
        const Word bits = nodes.bits(square);
        for (int r = 0; r < 8; ++r)
            block.rows[static_cast<std::size_t>(y + r)] |= ((bits >> (8 * r)) & 0xFF) << x;
        return;
    }
    const int half = 1 << (level - 1);
    for (int q = 0; q < 4; ++q)
        intoBlock(nodes.quarter(square, q), level - 1, x + q % 2 * half, y + q / 2 * half, block);
}

// Visits the blocks of `square`, of `level` (CellBlock::Level or more), its top-left cell at `left`, `top`.
void eachBlock(NodeId square, int level, std::int64_t left, std::int64_t top, CellBlock &block,
    const std::function<void(const CellBlock &block)> &visit)
{
    const NodeStore &nodes = store();
    if (nodes.isEmpty(square))
        return;
    if (level == CellBlock::Level) {
        block.left = left;
        block.top = top;
        block.rows.fill(0);
        intoBlock(square, level, 0, 0, block);
        visit(block);
        return;
    }
    const std::int64_t half = halfSide(level);
    for (int q = 0; q < 4; ++q)
        eachBlock(nodes.quarter(square, q), level - 1, left + q % 2 * half, top + q / 2 * half, block, visit);
}

} // namespace

void HashLife::forEachLiveCell(
    const CellRect &area, const std::function<void(std::int64_t x, std::int64_t y)> &visit) const
{
    const NodeStore &nodes = store();
    if (nodes.isEmpty(root))
        return;
    const int level = nodes.level(root);
    const std::int64_t half = halfSide(level);
    if (area.right < -half || area.left >= half || area.bottom < -half || area.top >= half)
        return;
    RowVisitor visitor(area, level, visit);
    std::vector<RowVisitor::Square> band { { root, -half } };
    visitor.visitBand(band, level, -half);
}

void HashLife::forEachBlock(const std::function<void(const CellBlock &block)> &visit) const
{
    const NodeStore &nodes = store();
    if (nodes.isEmpty(root))
        return;
    const int level = nodes.level(root);
    CellBlock block {};
    if (level > BlockLevel) {
        eachBlock(root, level, -halfSide(level), -halfSide(level), block, visit);
        return;
    }
    // A root no larger than a block lies across the four blocks around the
    // origin, a quarter of it in each.
    const int half = 1 << (level - 1);
    for (int q = 0; q < 4; ++q) {
        const NodeId quarter = nodes.quarter(root, q);
        if (nodes.isEmpty(quarter))
            continue;
        block.left = q % 2 == 0 ? -64 : 0;
        block.top = q < 2 ? -64 : 0;
        block.rows.fill(0);
        intoBlock(quarter, level - 1, q % 2 == 0 ? 64 - half : 0, q < 2 ? 64 - half : 0, block);
        visit(block);
    }
}

std::vector<CellPoint> HashLife::liveCells(const CellRect &area) const
{
    std::vector<CellPoint> cells;
    forEachLiveCell(area, [&cells](std::int64_t x, std::int64_t y) { cells.push_back({ x, y }); });
    return cells;
}

void HashLife::render(
    const CellRect &area, int shift, std::uint8_t *pixels, int columns, int rows, std::ptrdiff_t stride) const
{
    if (columns <= 0 || rows <= 0)
        return;
    for (int r = 0; r < rows; ++r)
        std::memset(pixels + r * stride, 0, static_cast<std::size_t>(columns));
    const NodeStore &nodes = store();
    if (nodes.isEmpty(root))
        return;
    const int level = nodes.level(root);
    const std::int64_t half = halfSide(level);
    Painter painter(area, shift, pixels, columns, rows, stride);
    painter.paint(root, level, -half, -half);
}
