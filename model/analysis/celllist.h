#ifndef CELLLIST_H
#define CELLLIST_H

#include <vector>

#include "model/engine/universe.h"

// A pattern's live cells as a plain list, which is what the analysis cuts
// into objects, compares and names: any engine steps the cells, and these
// functions read them out of it and take them apart.
class CellList
{
public:
    CellList() = delete;

    // Every live cell of `universe`, row by row from the top, each row from the left.
    static std::vector<CellPoint> of(const Universe &universe);
    // The cells that differ from the background of `universe`
    // (Universe::backgroundAlive()), as of() orders them; under LifeHistory
    // the live ones, those Life steps (DifferencePlane::followedRule()).
    // Throws UniverseError for a LifeHistory cell of the boundary state,
    // which would change what Life does.
    static std::vector<CellPoint> differences(const Universe &universe);
    // The order of of(): by y, then by x.
    static bool rowByRow(const CellPoint &a, const CellPoint &b) { return a.y != b.y ? a.y < b.y : a.x < b.x; }
    // The smallest rectangle holding every cell. Precondition: `cells` is not empty.
    static CellRect box(const std::vector<CellPoint> &cells);
    // `cells`, row by row without repeats, in groups: two cells share a group
    // when both their x and their y differ by at most `reach` (1..2), directly
    // or through others. Each group's cells come row by row; the groups in
    // the order of their first cell.
    static std::vector<std::vector<CellPoint>> clusters(const std::vector<CellPoint> &cells, int reach);
};

#endif // CELLLIST_H
