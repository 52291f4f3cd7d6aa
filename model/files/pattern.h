#ifndef PATTERN_H
#define PATTERN_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/engine/gamefield.h"
#include "model/engine/hashlife.h"
#include "model/engine/largepages.h"
#include "model/engine/packedfield.h"
#include "model/engine/rule.h"
#include "model/engine/topology.h"
#include "model/engine/universe.h"

// A pattern as read from a file, apart from any universe it will be placed
// in: its cells stay at the file's own coordinates, and where they go is
// decided only when it is placed, by the shape of the universe that takes it.
class Pattern
{
public:
    // How placeInto() treats the cells already in the universe.
    enum class Placing {
        Replace, // every other cell dies
        Add, // cells alive before stay alive
    };

    // The live cells at the file's coordinates, in the unbounded plane
    // (within +-Universe::CoordinateLimit), every one inside the box below.
    HashLife cells;
    // The same cells as a list instead, in no particular order, repeats
    // allowed, where the reader was asked for one (PatternReader::Store) and
    // `cells` is then empty. A pattern placed once goes from here into the
    // tiles of a dense pattern or the rows of a bounded universe without a
    // quadtree built first. Large lists lie in large pages: a soup's
    // millions of cells fill thousands of small ones, each a fault to the kernel.
    std::vector<CellPoint, LargePages<CellPoint>> listed;
    // Of those, the ones in a state above 1 (under a rule of more states),
    // with their states, row by row.
    struct StatedCell {
        std::int64_t x = 0;
        std::int64_t y = 0;
        std::uint8_t state = 1;
    };
    std::vector<StatedCell> states;
    // The pattern's box, as the file gives it: its top-left cell and its size
    // (0 x 0 for a file that gives neither a size nor cells). (0, 0) is the
    // top-left cell unless the file gives a position.
    std::int64_t left = 0;
    std::int64_t top = 0;
    std::int64_t width = 0; // columns, 0..2 * CoordinateLimit + 1
    std::int64_t height = 0; // rows, 0..2 * CoordinateLimit + 1
    // Whether the file places its cells, so that (0, 0) stands for the
    // universe's centre: RLE's "#CXRLE Pos=x,y", plaintext's "!Position: x,y",
    // Life 1.06's coordinates, a macrocell's centring.
    bool positioned = false;
    std::string name; // from #N (RLE, Life 1.05) or !Name: (plaintext); may be empty
    std::string author; // from #O (RLE); may be empty
    // The file's comment lines in order, without their marks: #C and #c (RLE),
    // #C and #D (Life 1.05), or '!' lines other than the name, the rule and the
    // position (plaintext). UTF-8, each on one line.
    std::vector<std::string> comments;
    std::optional<Rule> rule; // the rule the file names, if it names one
    std::optional<Topology> topology; // the universe the rule's suffix names, if it has one
    // From "#CXRLE Gen=" or a macrocell's #G, 0..999999999999999999: the
    // generations computed since the pattern was first drawn, as other
    // programs count them, the first drawn being generation 0.
    std::optional<std::int64_t> generation;

    // The generation the pattern opens at, as this program counts, the first
    // drawn being generation 1: one more than the file's.
    std::int64_t firstGeneration() const { return generation.value_or(0) + 1; }

    // Where placeInto() moves the cell at (x, y) of the file: to (x + dx, y + dy)
    // for the returned (dx, dy). A positioned pattern whose cells all lie in the
    // universe with (0, 0) on Topology::centre() stays there; any other has its
    // box centred, its top-left cell at ((width of the universe - width) / 2,
    // (height of the universe - height) / 2), rounded down, or at (-(width / 2),
    // -(height / 2)) in the unbounded plane. None when the box is larger than
    // the universe.
    std::optional<CellPoint> offset(const Topology &topology) const;
    bool fits(const Topology &topology) const { return offset(topology).has_value(); }
    // Why the pattern does not fit `topology`, as one line ("the pattern is
    // 121 x 3 cells, larger than the field's 120 x 120"); empty when it fits.
    std::string misfit(const Topology &topology) const;

    // The universe the pattern opens in when `inUse` is the one in use: the
    // one its rule's suffix names, else `inUse` if the pattern fits it, else
    // the unbounded plane, where every pattern fits. A rule that is not
    // Life-like never opens in the classic field, which runs Life-like rules alone.
    Topology universeFor(const Topology &inUse) const { return universeFor(inUse, rule.value_or(Rule())); }
    // The same for the pattern run under `running` instead of its own rule.
    Topology universeFor(const Topology &inUse, const Rule &running) const;

    // Writes the cells into `universe` where offset() says, leaving its rule
    // alone; a state the universe's rule does not have is set as 1.
    // Precondition: fits(universe.topology()).
    void placeInto(Universe &universe, Placing placing = Placing::Replace) const;
    // The pattern alone on the classic field, placed as placeInto() places it.
    // Precondition: fits(Topology::classic()).
    PackedField centred() const;
    // Kills every interior cell of a snapshot buffer (a BufferSize x
    // BufferSize row-pointer array as GameField::snapshot() returns) and
    // writes centred() into it; the border stays as it was.
    void placeCentred(GameField::Cell **buffer) const;

private:
    // The box around the live cells, of `cells` or `listed`; none without any.
    std::optional<CellRect> cellBox() const;
    // Calls visit(x, y) for each live cell, of `cells` or `listed`.
    template <typename Visit> void forEachCell(const CellRect &box, Visit visit) const;
};

#endif // PATTERN_H
