#ifndef ORIENTATION_H
#define ORIENTATION_H

#include <cstdint>

#include "model/engine/topology.h"
#include "model/engine/universe.h"

// One of the eight ways a rectangle of cells lands on itself when turned by
// quarter turns and flipped, as a value: the turns and flips a user makes one
// after another add up to one of these, so that a pattern is turned once
// whatever the number of steps, and equal orientations compare equal.
//
// It acts in two frames: within a box of cells counted from its top-left
// corner (map()), and about the origin of the plane (mapAboutOrigin()), where
// a flip takes x to -1 - x so that cells land on cells.
class Orientation
{
public:
    static constexpr int Count = 8;

    // As it is.
    Orientation() = default;
    // The orientation of the given index(), 0..Count - 1.
    static Orientation fromIndex(int index);
    // 0..Count - 1, distinct for distinct orientations; 0 as it is.
    int index() const { return (transposed ? 4 : 0) | (mirroredX ? 2 : 0) | (mirroredY ? 1 : 0); }

    // This one followed by a quarter turn clockwise on the screen (y grows
    // downwards), anticlockwise, a flip of left and right, or of top and bottom.
    Orientation clockwise() const { return then(Orientation(true, true, false)); }
    Orientation anticlockwise() const { return then(Orientation(true, false, true)); }
    Orientation flippedLeftRight() const { return then(Orientation(false, true, false)); }
    Orientation flippedTopBottom() const { return then(Orientation(false, false, true)); }
    // This one followed by `next`.
    Orientation then(const Orientation &next) const;

    // Whether width and height trade places: an odd number of quarter turns.
    bool swapsSides() const { return transposed; }
    bool mirrorsX() const { return mirroredX; }
    bool mirrorsY() const { return mirroredY; }

    // Where the cell `cell`, counted from the top-left corner of a box of
    // `width` x `height` cells (0..width-1, 0..height-1), lands in the turned
    // box, of height x width cells if swapsSides(), else of the same size.
    CellPoint map(CellPoint cell, std::int64_t width, std::int64_t height) const;
    // Where the cell (x, y) of the plane lands when turned about the origin:
    // x and y trade places first if swapsSides(), then x becomes -1 - x if
    // mirrorsX() and y becomes -1 - y if mirrorsY(). Precondition: |x|, |y| < 2^63 - 1.
    CellPoint mapAboutOrigin(CellPoint cell) const;
    // The rectangle `area` turned about the origin as mapAboutOrigin() turns its cells.
    CellRect mapAboutOrigin(const CellRect &area) const;

    bool operator==(const Orientation &other) const { return index() == other.index(); }
    bool operator!=(const Orientation &other) const { return index() != other.index(); }

private:
    Orientation(bool transposed, bool mirroredX, bool mirroredY)
        : transposed(transposed)
        , mirroredX(mirroredX)
        , mirroredY(mirroredY)
    {
    }

    // Applied in this order.
    bool transposed = false;
    bool mirroredX = false;
    bool mirroredY = false;
};

#endif // ORIENTATION_H
