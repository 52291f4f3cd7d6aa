#ifndef RUNHISTORY_H
#define RUNHISTORY_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/engine/packedfield.h"
#include "model/engine/rule.h"

// Where a run is going: the population of every generation since the field
// was last set by hand (opened, drawn, cleared, ...), and whether it has died
// out, become still or started to repeat. A cycle is reported at the first
// generation whose field equals an earlier one, and only once the two fields
// themselves have been compared: equal hashes alone never settle a run.
//
// Fields are not kept, only a hash per generation and every 1,024th field, so
// that a million generations take about 20 MiB; an earlier field is computed
// anew from the checkpoint before it whenever a hash matches.
class RunHistory
{
public:
    enum class Fate {
        Evolving, // no generation has repeated an earlier one yet
        DiedOut, // empty, and staying empty
        Still, // the same field generation after generation
        Oscillating, // a cycle of period 2 or more
        Unsettled, // GenerationLimit generations without a repeat: no longer looked for
    };

    static constexpr int GenerationLimit = 1000000; // generations after the first that are looked at
    using HashFunction = std::uint64_t (*)(const PackedField &);

    // `hash` digests a field; the default is PackedField::hash().
    explicit RunHistory(HashFunction hash = nullptr);

    // Starts anew with `field` as generation `generation` (1 or more) under `rule`.
    void reset(const PackedField &field, int generation, const Rule &rule);
    // Records the field of the generation after the last one, which the
    // caller computed under the rule given to reset().
    void append(const PackedField &field);

    Fate fate() const { return currentFate; }
    // Once settled: the first generation of the cycle, G, and its period, P
    // (1 for still and dead fields), both as small as they can be; the field
    // of G equals that of G + P. Fields before that never repeat.
    int cycleStart() const { return firstGeneration() + static_cast<int>(cycleIndex); }
    int period() const { return cyclePeriod; }
    bool isSettled() const
    {
        return currentFate == Fate::DiedOut || currentFate == Fate::Still || currentFate == Fate::Oscillating;
    }

    int firstGeneration() const { return baseGeneration; }
    int lastGeneration() const { return baseGeneration + static_cast<int>(populationCounts.size()) - 1; }
    // Live cells of every generation from firstGeneration() on, 0..CellCount each.
    const std::vector<std::uint16_t> &populations() const { return populationCounts; }
    // Live cells of a generation firstGeneration()..lastGeneration().
    int population(int generation) const
    {
        return populationCounts[static_cast<std::size_t>(generation - baseGeneration)];
    }
    const Rule &rule() const { return currentRule; }

    // Bytes held for the history, for those who watch its size.
    std::size_t memoryBytes() const;

private:
    // The field of generation firstGeneration() + index, computed from the checkpoint before it.
    PackedField fieldAt(std::size_t index) const;
    // The earlier generation (index) whose field equals `field`, or -1.
    long long findEqual(const PackedField &field, std::uint64_t hash) const;
    void insert(std::size_t index, std::uint64_t hash);
    void growTable();
    void settle(std::size_t earlier, std::size_t index);
    void stopLooking();
    void releaseLookup();

    HashFunction hashField;
    Rule currentRule;
    int baseGeneration = 1;
    Fate currentFate = Fate::Evolving;
    std::size_t cycleIndex = 0;
    int cyclePeriod = 0;
    std::vector<std::uint16_t> populationCounts;
    std::vector<std::uint64_t> hashes; // one per generation while still looking
    std::vector<PackedField> checkpoints; // the field of every CheckpointInterval-th generation
    // Open addressing, linear probing: index + 1 of a generation, 0 for a free slot.
    std::vector<std::uint32_t> table;
};

#endif // RUNHISTORY_H
