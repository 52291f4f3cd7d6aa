#ifndef CENSUSSEARCH_H
#define CENSUSSEARCH_H

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "model/analysis/stabilisation.h"
#include "model/analysis/statedcelllist.h"
#include "model/engine/universe.h"

// A census of a pattern that may live for millions of generations, or far
// more: a Stabilisation steps one generation at a time, which takes hours for
// such a life. This one jumps far ahead with HashLife and lets a
// Stabilisation look from there: while it does not settle within a few
// thousand generations the jumps double; once it does, a Stabilisation from
// a saved state before the first stable generation finds that generation
// exactly (a census from any state between finds the same one), halving the
// gap first by jumps from the saved states. The objects are counted only
// then. What a Stabilisation from the start finds within StepLimit
// generations is the answer as it stands, so that short lives cost no jump.
class CensusSearch
{
public:
    // Generations looked at one by one from the start before any jump.
    static constexpr std::int64_t StepLimit = 8192;
    // Generations a Stabilisation looks at from a state jumped to.
    static constexpr std::int64_t LookLimit = 2048;
    // Live cells beyond which a state jumped to is not looked at one
    // generation at a time: its pattern is taken as not stable there.
    static constexpr std::uint64_t CellLimit = std::uint64_t(1) << 16;

    // Told the generation reached and its live cells now and then.
    using Progress = std::function<void(std::int64_t generation, std::uint64_t population)>;

    // The census of `cells` (any order, within Universe::CoordinateLimit) as
    // generation `firstGeneration` under `rule`, the cells differing from a
    // background alive or not (`backgroundAlive`), looking at
    // most `generationLimit` (1..) generations ahead: the Stabilisation::Result
    // a Stabilisation would give with run(generationLimit), apart from
    // lastGeneration and from patterns that grow past CellLimit cells before
    // they settle (a settling near the limit may be confirmed a few
    // generations sooner or later than by steps). Throws UniverseError when memory runs out or the pattern
    // grows past the coordinate limit, or for a rule Stabilisation refuses.
    static Stabilisation::Result run(const std::vector<CellPoint> &cells, const Rule &rule,
        std::int64_t generationLimit, const Progress &progress = nullptr, std::int64_t firstGeneration = 1,
        bool backgroundAlive = false);
    // The census of the pattern `universe` holds, in the unbounded plane, as
    // generation `firstGeneration`: under a Generations rule a
    // StateStabilisation's, stepped one generation at a time; under
    // LifeHistory that of its live cells under Life.
    static Stabilisation::Result run(const Universe &universe, std::int64_t generationLimit,
        const Progress &progress = nullptr, std::int64_t firstGeneration = 1);

private:
    // The census of `cells` under `rule`, for which StateStabilisation::follows().
    static Stabilisation::Result runStates(const StatedCellList::Cells &cells, const Rule &rule,
        std::int64_t generationLimit, const Progress &progress, std::int64_t firstGeneration);

    CensusSearch(const std::vector<CellPoint> &cells, const Rule &rule, std::int64_t firstGeneration,
        std::int64_t generationLimit, const Progress &progress, bool backgroundAlive);

    // The pattern `generations` after the first, jumped to from the nearest saved state before.
    const Universe &stateAfter(std::int64_t generations);
    // A Stabilisation from the state `generations` after the first that has
    // looked `looks` generations on, never past the limit; the result of one
    // that did not look, for a state of more than CellLimit cells.
    Stabilisation::Result lookFrom(std::int64_t generations, std::int64_t looks);
    // The stable generation from knowing it is after `low` and not after `high` generations.
    Stabilisation::Result narrow(std::int64_t low, std::int64_t high);
    Stabilisation::Result atLimit();

    Rule rule;
    std::int64_t firstGeneration;
    std::int64_t generationLimit; // generations after the first looked at, at most
    Progress progress;
    // By generations after the first: a HashLife, or a BackgroundUniverse
    // under a background that is or will be alive, or an UnboundedUniverse
    // under a rule that is not Life-like.
    std::map<std::int64_t, std::unique_ptr<Universe>> saved;
};

#endif // CENSUSSEARCH_H
