#include "model/engine/cellstep.h"

CellStep::CellStep(const Rule &rule)
    : after(static_cast<std::size_t>(rule.stateCount()) * 256)
{
    for (unsigned state = 0; state < 256; ++state)
        liveTable[state] = rule.isLive(static_cast<std::uint8_t>(state)) ? 1 : 0;
    for (std::size_t state = 0; state < static_cast<std::size_t>(rule.stateCount()); ++state) {
        for (unsigned neighbours = 0; neighbours < 256; ++neighbours)
            after[state * 256 + neighbours] = rule.next(static_cast<std::uint8_t>(state), neighbours);
    }
}
