#include "model/engine/orientation.h"

#include <algorithm>

namespace
{

// An orientation about the point (-1/2, -1/2) as a signed permutation
// matrix: row r holds +-1 in the column of the coordinate that output r takes.
struct Matrix {
    int entries[2][2];
};

Matrix matrixOf(bool transposed, bool mirroredX, bool mirroredY)
{
    Matrix m { { { transposed ? 0 : 1, transposed ? 1 : 0 }, { transposed ? 1 : 0, transposed ? 0 : 1 } } };
    for (int column = 0; column < 2; ++column) {
        m.entries[0][column] *= mirroredX ? -1 : 1;
        m.entries[1][column] *= mirroredY ? -1 : 1;
    }
    return m;
}

} // namespace

Orientation Orientation::fromIndex(int index)
{
    return Orientation((index & 4) != 0, (index & 2) != 0, (index & 1) != 0);
}

Orientation Orientation::then(const Orientation &next) const
{
    const Matrix first = matrixOf(transposed, mirroredX, mirroredY);
    const Matrix second = matrixOf(next.transposed, next.mirroredX, next.mirroredY);
    Matrix product {};
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 2; ++c)
            product.entries[r][c]
                = second.entries[r][0] * first.entries[0][c] + second.entries[r][1] * first.entries[1][c];
    }
    const bool swapped = product.entries[0][0] == 0;
    return Orientation(swapped, product.entries[0][swapped ? 1 : 0] < 0, product.entries[1][swapped ? 0 : 1] < 0);
}

CellPoint Orientation::map(CellPoint cell, std::int64_t width, std::int64_t height) const
{
    if (transposed) {
        std::swap(cell.x, cell.y);
        std::swap(width, height);
    }
    if (mirroredX)
        cell.x = width - 1 - cell.x;
    if (mirroredY)
        cell.y = height - 1 - cell.y;
    return cell;
}

CellPoint Orientation::mapAboutOrigin(CellPoint cell) const
{
    if (transposed)
        std::swap(cell.x, cell.y);
    if (mirroredX)
        cell.x = -1 - cell.x;
    if (mirroredY)
        cell.y = -1 - cell.y;
    return cell;
}

CellRect Orientation::mapAboutOrigin(const CellRect &area) const
{
    const CellPoint a = mapAboutOrigin(CellPoint { area.left, area.top });
    const CellPoint b = mapAboutOrigin(CellPoint { area.right, area.bottom });
    return CellRect { std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y) };
}
