#ifndef CELLSTEP_H
#define CELLSTEP_H

#include <array>
#include <cstdint>
#include <vector>

#include "model/engine/rule.h"

// One cell's next state under a rule, looked up rather than decided cell by
// cell: every state's next one for every set of live neighbours, worked out
// once from Rule::next(). Every engine that steps cells a byte each steps them
// through this, so that they cannot disagree on any rule.
class CellStep
{
public:
    explicit CellStep(const Rule &rule);

    // 1 when a cell in `state` counts as a live neighbour, else 0.
    std::uint8_t live(std::uint8_t state) const { return liveTable[state]; }
    // The state a cell in `state` takes next; `neighbours` has a bit for
    // each live neighbour, in NeighbourShapes' order (0..255). Precondition:
    // `state` < the rule's stateCount().
    std::uint8_t next(std::uint8_t state, unsigned neighbours) const
    {
        return after[static_cast<std::size_t>(state) * 256 + neighbours];
    }
    // The live neighbours of the cell at column 1 of `middle`, from three
    // rows of live() flags (columns 0..2 read), as next() takes them.
    static unsigned neighbours(const std::uint8_t *above, const std::uint8_t *middle, const std::uint8_t *below)
    {
        return above[0] | (above[1] << 1) | (above[2] << 2) | (middle[0] << 3) | (middle[2] << 4) | (below[0] << 5)
            | (below[1] << 6) | (below[2] << 7);
    }

private:
    std::array<std::uint8_t, 256> liveTable {};
    std::vector<std::uint8_t> after; // state * 256 + neighbours
};

#endif // CELLSTEP_H
