#include "model/analysis/runhistory.h"

namespace
{

// Generations between two kept fields: confirming a hash match costs at most
// this many steps, and the kept fields a hundredth of a MiB per 100,000 generations.
constexpr std::size_t CheckpointInterval = 1024;
constexpr std::size_t InitialSlots = 1024; // a power of two

std::uint64_t defaultHash(const PackedField &field) { return field.hash(); }

} // namespace

RunHistory::RunHistory(HashFunction hash)
    : hashField(hash ? hash : defaultHash)
{
}

void RunHistory::reset(const PackedField &field, int generation, const Rule &rule)
{
    currentRule = rule;
    baseGeneration = generation;
    currentFate = Fate::Evolving;
    cycleIndex = 0;
    cyclePeriod = 0;
    populationCounts.clear();
    hashes.clear();
    checkpoints.clear();
    table.assign(InitialSlots, 0);

    populationCounts.push_back(static_cast<std::uint16_t>(field.population()));
    checkpoints.push_back(field);
    const std::uint64_t hash = hashField(field);
    hashes.push_back(hash);
    insert(0, hash);
}

void RunHistory::append(const PackedField &field)
{
    populationCounts.push_back(static_cast<std::uint16_t>(field.population()));
    if (currentFate != Fate::Evolving)
        return;

    const std::size_t index = populationCounts.size() - 1;
    if (index % CheckpointInterval == 0)
        checkpoints.push_back(field);
    const std::uint64_t hash = hashField(field);
    const long long earlier = findEqual(field, hash);
    if (earlier >= 0) {
        settle(static_cast<std::size_t>(earlier), index);
        return;
    }
    hashes.push_back(hash);
    insert(index, hash);
    if (index >= static_cast<std::size_t>(GenerationLimit))
        stopLooking();
}

std::size_t RunHistory::memoryBytes() const
{
    return populationCounts.capacity() * sizeof(std::uint16_t) + hashes.capacity() * sizeof(std::uint64_t)
        + checkpoints.capacity() * sizeof(PackedField) + table.capacity() * sizeof(std::uint32_t);
}

PackedField RunHistory::fieldAt(std::size_t index) const
{
    PackedField field = checkpoints[index / CheckpointInterval];
    for (std::size_t i = 0; i < index % CheckpointInterval; ++i)
        field = field.next(currentRule);
    return field;
}

long long RunHistory::findEqual(const PackedField &field, std::uint64_t hash) const
{
    const std::size_t mask = table.size() - 1;
    for (std::size_t slot = hash & mask; table[slot] != 0; slot = (slot + 1) & mask) {
        const std::size_t index = table[slot] - 1;
        if (hashes[index] == hash && fieldAt(index) == field)
            return static_cast<long long>(index);
    }
    return -1;
}

void RunHistory::insert(std::size_t index, std::uint64_t hash)
{
    if ((index + 1) * 2 > table.size())
        growTable();
    const std::size_t mask = table.size() - 1;
    std::size_t slot = hash & mask;
    while (table[slot] != 0)
        slot = (slot + 1) & mask;
    table[slot] = static_cast<std::uint32_t>(index + 1);
}

void RunHistory::growTable()
{
    std::vector<std::uint32_t> grown(table.size() * 2, 0);
    const std::size_t mask = grown.size() - 1;
    for (const std::uint32_t entry : table) {
        if (entry == 0)
            continue;
        std::size_t slot = hashes[entry - 1] & mask;
        while (grown[slot] != 0)
            slot = (slot + 1) & mask;
        grown[slot] = entry;
    }
    table.swap(grown);
}

void RunHistory::settle(std::size_t earlier, std::size_t index)
{
    cycleIndex = earlier;
    cyclePeriod = static_cast<int>(index - earlier);
    if (cyclePeriod > 1)
        currentFate = Fate::Oscillating;
    else
        currentFate = populationCounts[earlier] == 0 ? Fate::DiedOut : Fate::Still;
    releaseLookup();
}

void RunHistory::stopLooking()
{
    currentFate = Fate::Unsettled;
    releaseLookup();
}

void RunHistory::releaseLookup()
{
    // Nothing is looked up once the run has settled or gone too far.
    std::vector<std::uint64_t>().swap(hashes);
    std::vector<PackedField>().swap(checkpoints);
    std::vector<std::uint32_t>().swap(table);
}
