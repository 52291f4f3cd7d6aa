#ifndef RUNHISTORY_H
#define RUNHISTORY_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "model/analysis/growthwatch.h"
#include "model/engine/packedfield.h"
#include "model/engine/rule.h"
#include "model/engine/topology.h"
#include "model/engine/universe.h"

// Where a run is going: the population of every recorded generation since
// the universe was last set by hand (opened, drawn, cleared, ...), and
// whether it has died out, become still, started to repeat, or to repeat
// itself moved. Records may be any number of generations apart (one per tick
// of however many generations a tick runs), yet a cycle is reported with its
// exact first generation and period: they are found anew from the universes
// around the repeat. A repeat is settled only once the two universes
// themselves have been compared: equal hashes alone never settle a run.
//
// Universes are not kept, only a hash per record and a clone (a checkpoint)
// at least every 1,024 generations, as many as fit in a budget; an earlier
// universe is computed anew from the checkpoint before it whenever a hash
// matches. A million classic generations take about 26 MiB. In the unbounded
// plane, hashes and comparisons leave out where the cells are, so that a
// pattern that comes back moved (a spaceship) is found too. Under birth on 0
// neighbours the background is part of the state compared: a universe repeats
// only with the background it had, so that one whose background blinks has
// an even period, and a plane left all alive is still, not dead. Outside the
// bounded universes a pattern may grow for ever instead: a GrowthWatch looks
// at some records, so that a gun or a pattern that grows too large to follow
// stops the search, which it would keep up at a rising cost.
class RunHistory
{
public:
    enum class Fate {
        Evolving, // no record has repeated an earlier one yet
        DiedOut, // empty, and staying empty: every cell dead
        Still, // the same universe generation after generation, a plane all alive too
        Oscillating, // a cycle of period 2 or more
        Moving, // the unbounded plane only: the same cells moved by displacement() every period()
        Unsettled, // generationLimit() generations without a repeat: no longer looked for
        Growing, // not bounded: grows as growth() tells, found at a look or at the limit; no longer looked at
    };

    static constexpr std::int64_t GenerationLimit = 1000000; // the default of generationLimit(), the window's
    static constexpr std::size_t CheckpointBudget = std::size_t(64) << 20; // bytes, the default
    using HashFunction = std::uint64_t (*)(const Universe &);

    // `generationLimit` (0..): generations after the first that are looked at.
    // `checkpointBudget`: bytes the checkpoints may take, the first one kept
    // whatever its size; those of the unbounded plane share their nodes and
    // are reckoned at 16 bytes a live cell. `hash` digests a universe; by
    // default Universe::hash(), or Universe::shapeHash() in the unbounded plane.
    explicit RunHistory(std::int64_t generationLimit = GenerationLimit, std::size_t checkpointBudget = CheckpointBudget,
        HashFunction hash = nullptr);

    // Starts anew with `universe`, under its rule, as generation `generation`
    // (0..). Throws std::invalid_argument for a negative generation.
    void reset(const Universe &universe, std::int64_t generation);
    // Records `universe` as generation `generation`, which the caller reached
    // from the last record under rule(). A universe of another rule or
    // topology starts the history anew, as reset() does. Throws
    // std::invalid_argument for a generation not after lastGeneration(), and
    // passes on what the universe throws while an earlier one is computed
    // anew; the history then stays as it was.
    void append(const Universe &universe, std::int64_t generation);
    // What append() reads of every universe, to work out on another thread:
    // its population and its digest by the history's hash function.
    struct Counts {
        std::uint64_t population = 0;
        std::uint64_t hash = 0;
    };
    // append() with `counts` of `universe` worked out already.
    void append(const Universe &universe, std::int64_t generation, const Counts &counts);
    // The classic field: reset() with a universe holding `field` under `rule`,
    // and append() of the generation after lastGeneration().
    void reset(const PackedField &field, std::int64_t generation, const Rule &rule);
    void append(const PackedField &field);

    Fate fate() const { return currentFate; }
    // Once settled: the first generation of the cycle, G, and its period, P
    // (1 for still and dead universes), both as small as they can be; the
    // universe of G + P equals that of G (moved by displacement(), when
    // Moving). Universes before G never repeat.
    std::int64_t cycleStart() const { return cycleFirst; }
    std::int64_t period() const { return cyclePeriod; }
    // Cells moved right and down every period(); (0, 0) unless Moving.
    CellPoint displacement() const { return cycleDisplacement; }
    // Once settled: whether the background is alive at cycleStart(), as it
    // can be in the unbounded plane under birth on 0 neighbours; population()
    // then counts the dead cells there. Once Growing: at growthFoundAt().
    bool cycleBackgroundAlive() const { return cycleBackground; }
    // Once settled or Growing: whether the background changes from one
    // generation to the next (birth on 0 neighbours without survival on 8).
    bool backgroundBlinks() const;
    bool isSettled() const
    {
        return currentFate != Fate::Evolving && currentFate != Fate::Unsettled && currentFate != Fate::Growing;
    }
    // Once Growing: how, and the recorded generation it was found at, which
    // Growth::Report::generations counts from firstGeneration() where it is set.
    const std::optional<Growth::Report> &growth() const { return growthFound; }
    std::int64_t growthFoundAt() const { return growthGeneration; }
    // The generation of the next record the GrowthWatch looks at while
    // Evolving outside the bounded universes, else INT64_MAX: a caller that
    // records every so many generations may record it too.
    std::int64_t nextGrowthLook() const;

    std::int64_t firstGeneration() const { return baseGeneration; }
    std::int64_t lastGeneration() const { return recordPopulations.empty() ? baseGeneration - 1 : latestGeneration; }
    // Live cells of every record, in order; the dead ones of a record whose
    // background is alive (Universe::backgroundAlive()).
    const std::vector<std::uint64_t> &populations() const { return recordPopulations; }
    // The generation of a record, index 0..populations().size() - 1.
    std::int64_t generation(std::size_t index) const;
    // Live cells of a recorded generation or, once settled, of cycleStart().
    // Throws std::out_of_range for any other.
    std::uint64_t population(std::int64_t generation) const;
    const Rule &rule() const { return currentRule; }
    std::int64_t generationLimit() const { return limit; }

    // Bytes held for the history, checkpoints included, for those who watch its size.
    std::size_t memoryBytes() const;

private:
    // Records firstIndex onwards, up to the next stretch, are generations
    // firstGeneration, firstGeneration + step, ...; step is 0 in a stretch of one.
    struct Stretch {
        std::size_t firstIndex;
        std::int64_t firstGeneration;
        std::int64_t step;
    };
    struct Checkpoint {
        std::size_t index; // of the record
        std::int64_t generation;
        std::shared_ptr<const Universe> universe; // shared by copies of the history
        std::size_t bytes;
    };
    struct Cycle {
        std::int64_t start;
        std::int64_t period;
        CellPoint displacement;
        std::uint64_t population; // of the start
        bool backgroundAlive; // at the start
    };

    void record(std::int64_t generation, std::uint64_t population);
    std::uint64_t hashOf(const Universe &universe) const;
    // append(), with `counts` if not null.
    void append(const Universe &universe, std::int64_t generation, const Counts *counts);
    // Whether `later` repeats `earlier`: equal, or in the unbounded plane the
    // same cells moved on the same background, by how much then set in `displacement` if given.
    bool repeats(const Universe &earlier, const Universe &later, CellPoint *displacement) const;
    // The universe of record `index`, computed from the checkpoint at or before it.
    std::unique_ptr<Universe> universeAt(std::size_t index) const;
    // The earlier record (index) that `universe` repeats, its universe then
    // in `repeated`; or -1.
    long long findEqual(const Universe &universe, std::uint64_t hash, std::unique_ptr<Universe> &repeated) const;
    // The exact cycle, given that `later`, of generation `laterGeneration`,
    // repeats record `earlier`, whose universe is `first`.
    Cycle findCycle(std::size_t earlier, std::unique_ptr<Universe> first, const Universe &later,
        std::int64_t laterGeneration) const;
    void keepCheckpoint(std::size_t index, const Universe &universe);
    void insert(std::size_t index, std::uint64_t hash);
    void growTable();
    void settle(const Cycle &cycle);
    void grow(const Growth::Report &report, std::int64_t generation, bool backgroundAlive);
    void stopLooking(bool backgroundAlive);
    void releaseLookup();

    HashFunction hashUniverse; // null: the default
    std::int64_t limit;
    std::size_t budget;
    Rule currentRule;
    Topology currentTopology;
    std::int64_t baseGeneration = 1;
    Fate currentFate = Fate::Evolving;
    std::int64_t cycleFirst = 1;
    std::int64_t cyclePeriod = 0;
    CellPoint cycleDisplacement;
    std::uint64_t cyclePopulation = 0;
    bool cycleBackground = false;
    std::vector<Stretch> stretches; // the generations of the records, in ascending order
    std::int64_t latestGeneration = 0;
    std::vector<std::uint64_t> recordPopulations;
    std::vector<std::uint64_t> hashes; // one per record while still looking
    std::vector<Checkpoint> checkpoints; // ascending; the first record's always among them
    std::int64_t checkpointSpacing = 0; // generations at least between two checkpoints
    std::size_t checkpointBytes = 0;
    // Open addressing, linear probing: index + 1 of a record, 0 for a free slot.
    std::vector<std::uint32_t> table;
    GrowthWatch growthWatch; // outside the bounded universes
    std::optional<Growth::Report> growthFound;
    std::int64_t growthGeneration = 0;
};

#endif // RUNHISTORY_H
