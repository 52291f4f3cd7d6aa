#ifndef TILESTEP_H
#define TILESTEP_H

#include <cstdint>
#include <vector>

#include "model/engine/lifebits.h"

// The next generation of one 64 x 64 tile of the unbounded plane, the work
// TileLife spends nearly all its time on. Processors differ in how many rows
// they compute at once, so the step comes in several paths that give the same
// bits: a portable one, one in 256-bit instructions (four rows at once) and,
// for Conway's rule, one in 512-bit instructions (eight rows, each cell's
// count in a handful of three-input logic operations). The fastest one the
// processor has is chosen when the program starts.
class TileStep
{
public:
    using Word = std::uint64_t;
    static constexpr int Side = 64; // rows of a tile, and cells of a row

    enum class Path { Portable, Wide, Widest };

    // Differences found while writing a tile's next generation over its previous one.
    struct Outcome {
        Word fromCurrent; // bit x set if column x of the next generation differs from the current one
        Word fromPrevious; // bit x set if column x of the next generation differs from the one before
        Word columns; // bit x set if column x of the next generation has a live cell
        Word top; // the differences of the top row from the current one
        Word bottom; // the differences of the bottom row from the current one
    };

    TileStep() = delete;

    // The paths this processor runs, Portable first and the fastest last.
    static std::vector<Path> available();
    // The path every later step takes, process-wide; the fastest available
    // one unless set. Precondition for use(): `path` is available.
    static Path path();
    static void use(Path path);

    // The next generation under Conway's rule of the 64 rows `rows`, whose
    // bit x of row y is the cell x, y, from them and the rows of the eight
    // neighbours N, NE, E, SE, S, SW, W, NW (null for a missing one, whose
    // cells are dead), written over the generation before in `result`, which
    // must not overlap any of them.
    static Outcome conway(const Word *rows, const Word *const (&neighbours)[8], Word *result);
    // The same under any Life-like rule.
    static Outcome anyRule(
        const LifeBits::RuleDecision &decide, const Word *rows, const Word *const (&neighbours)[8], Word *result);
};

#endif // TILESTEP_H
