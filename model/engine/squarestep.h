#ifndef SQUARESTEP_H
#define SQUARESTEP_H

#include <cstdint>

#include "model/engine/lifebits.h"

// The base of the node store's recursion: squares of a few leaves stepped
// from their cells, bit-parallel, where looking up the futures of smaller
// squares would cost more memory traffic than stepping them. A leaf is 8 x 8
// cells, bit 8 * y + x the cell at x, y from its top-left corner; the rim of
// a square goes wrong one ring a generation, so only its middle is returned.
class SquareStep
{
public:
    using Word = std::uint64_t;

    SquareStep() = delete;

    // The middle leaf of the 16 x 16 square of four leaves, 1..4 generations
    // on, under `decide`, or Conway's rule when it is null. With `odd` too,
    // the second, fourth, ... generation goes under `odd`: rules that take
    // turns (and `decide` is not null).
    static Word middleOfFour(Word nw, Word ne, Word sw, Word se, int generations, const LifeBits::RuleDecision *decide,
        const LifeBits::RuleDecision *odd = nullptr);
    // The middle 16 x 16 of the 32 x 32 square of sixteen leaves (row by row)
    // as four leaves, 1..8 generations on, under `decide` and `odd` as above.
    static void middleOfSixteen(const Word (&leaves)[4][4], int generations, const LifeBits::RuleDecision *decide,
        Word (&middle)[2][2], const LifeBits::RuleDecision *odd = nullptr);
};

#endif // SQUARESTEP_H
