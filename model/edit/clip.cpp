#include "model/edit/clip.h"

#include <algorithm>

Clip::Clip(const Pattern &pattern)
    : fileRule(pattern.rule)
{
    std::optional<CellRect> box;
    if (pattern.width > 0 && pattern.height > 0)
        box = CellRect { pattern.left, pattern.top, pattern.left + pattern.width - 1,
            pattern.top + pattern.height - 1 };
    if (const std::optional<CellRect> live = pattern.cells.boundingBox()) {
        if (box)
            box = CellRect { std::min(box->left, live->left), std::min(box->top, live->top),
                std::max(box->right, live->right), std::max(box->bottom, live->bottom) };
        else
            box = live;
    }
    if (!box)
        return;
    columns = box->right - box->left + 1;
    rows = box->bottom - box->top + 1;
    turned[0] = pattern.cells.turned(Orientation(), *box, CellPoint {});
    for (const Pattern::StatedCell &cell : pattern.states)
        states.push_back({ cell.x - box->left, cell.y - box->top, cell.state });
}

void Clip::forEachStatedCell(
    const Orientation &orientation, const std::function<void(CellPoint cell, std::uint8_t state)> &visit) const
{
    for (const Pattern::StatedCell &cell : states)
        visit(orientation.map({ cell.x, cell.y }, columns, rows), cell.state);
}

CellRect Clip::box(const Orientation &orientation) const
{
    const std::int64_t width = orientation.swapsSides() ? rows : columns;
    const std::int64_t height = orientation.swapsSides() ? columns : rows;
    return CellRect { 0, 0, width - 1, height - 1 };
}

const HashLife &Clip::cells(const Orientation &orientation) const
{
    std::optional<HashLife> &slot = turned[static_cast<std::size_t>(orientation.index())];
    if (!slot)
        slot = turned[0]->turned(orientation, box(Orientation()), CellPoint {});
    return *slot;
}
