#ifndef SQUAREEDITS_H
#define SQUAREEDITS_H

#include <cstdint>

#include "model/engine/nodestore.h"
#include "model/engine/orientation.h"
#include "model/engine/randombits.h"
#include "model/engine/universe.h"

// Edits of the unbounded plane that work on its squares rather than on its
// cells: a cut along a rectangle keeps every square lying wholly on one side
// of it, two planes combine square by square, and turning or moving a plane
// makes each distinct square of the result once. A million cells change in a
// fraction of a second, and a pattern of any size whose squares repeat
// changes at the cost of its distinct squares. They are recursions over the
// NodeStore's trees alone, apart from HashLife, which keeps a universe in one.
//
// Every square here is a root square: 2^level x 2^level cells, level
// LeafLevel..62, with its top-left cell at -2^(level-1), -2^(level-1). The
// squares given must be held (by a universe, or protected) and the square
// returned is not protected. Any call may make nodes and so throw
// NodeStore::Exhausted; what is held stays as it was.
class SquareEdits
{
public:
    SquareEdits() = delete;

    // The same cells in a square of `level`, at least the square's own.
    static NodeId grown(NodeId square, int level);
    // The cells of `square` inside `area`, or outside it. Takes time in
    // proportion to the live squares that `area`'s edges cross.
    static NodeId clipped(NodeId square, const CellRect &area, bool inside);
    // The cells alive in either of two squares of one level, or in exactly one of them.
    static NodeId united(NodeId a, NodeId b);
    static NodeId toggled(NodeId a, NodeId b);
    // The cells turned about the origin as Orientation::mapAboutOrigin() turns them.
    static NodeId oriented(NodeId square, const Orientation &orientation);
    // The cells moved dx to the right and dy down, in a square of `level`, at
    // least the square's own. Precondition: every moved cell lies in it.
    static NodeId moved(NodeId square, std::int64_t dx, std::int64_t dy, int level);
    // A square of `level` whose cells inside `area` take the next words of
    // `cells`, the others dead. Takes time in proportion to the cells of
    // `area` within the square, unless all are to be alive or dead.
    static NodeId random(const CellRect &area, int level, RandomBits &cells);
};

#endif // SQUAREEDITS_H
