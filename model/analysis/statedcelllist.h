#ifndef STATEDCELLLIST_H
#define STATEDCELLLIST_H

#include <string>
#include <vector>

#include "model/engine/rule.h"
#include "model/engine/statehashlife.h"

// The cells of a pattern under a rule of more than two states, each with its
// state, as the analysis of such rules cuts them into objects, compares and
// names them: a dying cell shapes what happens next, so two phases are the
// same only with the same states at the same places.
class StatedCellList
{
public:
    using Cell = StateHashLife::StatedCell;
    using Cells = std::vector<Cell>; // row by row, no repeats, unless said otherwise
    using Phases = std::vector<Cells>; // a pattern's cells generation by generation

    StatedCellList() = delete;

    // Every cell of `universe` not dead, row by row.
    static Cells of(const Universe &universe);
    // The order of of(): by y, then by x.
    static bool rowByRow(const Cell &a, const Cell &b) { return a.y != b.y ? a.y < b.y : a.x < b.x; }
    static bool same(const Cell &a, const Cell &b) { return a.x == b.x && a.y == b.y && a.state == b.state; }
    static bool equal(const Cells &a, const Cells &b);
    static std::vector<CellPoint> points(const Cells &cells);
    // Precondition: `cells` is not empty.
    static CellRect box(const Cells &cells);
    // `cells` in groups, as CellList::clusters() groups their places.
    static std::vector<Cells> clusters(const Cells &cells, int reach);
    // `cells` moved by dx, dy.
    static Cells moved(Cells cells, std::int64_t dx, std::int64_t dy);
    // `cells` moved so that their box's top-left corner is 0, 0, row by row.
    static Cells normalised(Cells cells);
    // Orientation 0..7 of `cells`, as ObjectLibrary::oriented() turns places; normalised.
    static Cells oriented(const Cells &cells, int orientation);
    // The same value for the same cells in the same states anywhere, in one
    // orientation only. Precondition: `cells` normalised.
    static std::string key(const Cells &normalisedCells);
    // The orientations that map the neighbourhood of `rule` onto itself:
    // all 8 for the Moore and von Neumann ones, 4 for the hexagonal one.
    static std::vector<int> symmetries(const Rule &rule);
    // The orientation of `cells` (among symmetries()) whose key is least, normalised.
    static Cells canonical(const Cells &cells, const Rule &rule);
    // `cells` (any order) and what they become alone under `rule` (no birth
    // on 0), generation by generation, each row by row. Throws UniverseError
    // as StateHashLife does.
    static Phases run(const Cells &cells, const Rule &rule, int generations);
};

#endif // STATEDCELLLIST_H
