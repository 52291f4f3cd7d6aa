#include "model/analysis/runhistory.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "model/engine/backgrounduniverse.h"
#include "model/engine/classicuniverse.h"

namespace
{

// Generations between two checkpoints at first: confirming a hash match
// costs at most this many steps until the budget makes them sparser.
constexpr std::int64_t FirstCheckpointSpacing = 1024;
constexpr std::size_t InitialSlots = 1024; // a power of two

std::size_t estimatedBytes(const Universe &universe)
{
    const Topology topology = universe.topology();
    if (topology.isBounded())
        return static_cast<std::size_t>((topology.width() + 63) / 64 * topology.height()) * sizeof(std::uint64_t);
    return static_cast<std::size_t>(std::min<std::uint64_t>(universe.population(), std::uint64_t(1) << 58) * 16);
}

} // namespace

RunHistory::RunHistory(std::int64_t generationLimit, std::size_t checkpointBudget, HashFunction hash)
    : hashUniverse(hash)
    , limit(generationLimit)
    , budget(checkpointBudget)
{
}

void RunHistory::reset(const Universe &universe, std::int64_t generation)
{
    if (generation < 0)
        throw std::invalid_argument("a run's generations start at 0 or later");
    currentRule = universe.rule();
    currentTopology = universe.topology();
    baseGeneration = generation;
    currentFate = Fate::Evolving;
    cycleFirst = generation;
    cyclePeriod = 0;
    cycleDisplacement = CellPoint();
    cyclePopulation = 0;
    cycleBackground = false;
    growthWatch = GrowthWatch();
    growthFound.reset();
    growthGeneration = 0;
    stretches.clear();
    recordPopulations.clear();
    record(generation, universe.population());
    checkpoints.clear();
    checkpointSpacing = FirstCheckpointSpacing;
    checkpointBytes = 0;
    table.assign(InitialSlots, 0);
    const std::uint64_t hash = hashOf(universe);
    hashes.assign(1, hash);
    insert(0, hash);
    keepCheckpoint(0, universe);
}

void RunHistory::append(const Universe &universe, std::int64_t generation) { append(universe, generation, nullptr); }

void RunHistory::append(const Universe &universe, std::int64_t generation, const Counts &counts)
{
    append(universe, generation, &counts);
}

void RunHistory::append(const Universe &universe, std::int64_t generation, const Counts *counts)
{
    if (recordPopulations.empty() || universe.rule() != currentRule || universe.topology() != currentTopology) {
        reset(universe, generation);
        return;
    }
    if (generation <= lastGeneration())
        throw std::invalid_argument("generation " + std::to_string(generation)
            + " does not come after the last one recorded, " + std::to_string(lastGeneration()));
    const std::uint64_t population = counts ? counts->population : universe.population();
    if (currentFate != Fate::Evolving) {
        record(generation, population);
        return;
    }

    const std::uint64_t hash = counts ? counts->hash : hashOf(universe);
    std::unique_ptr<Universe> repeated;
    const long long earlier = findEqual(universe, hash, repeated);
    const std::optional<Cycle> cycle = earlier >= 0
        ? std::optional<Cycle>(findCycle(static_cast<std::size_t>(earlier), std::move(repeated), universe, generation))
        : std::nullopt;
    record(generation, population);
    if (cycle) {
        settle(*cycle);
        return;
    }
    if (!currentTopology.isBounded()) {
        if (std::optional<Growth::Report> report
            = growthWatch.look(universe, generation - baseGeneration, population)) {
            grow(*report, generation, universe.backgroundAlive());
            return;
        }
    }
    const std::size_t index = recordPopulations.size() - 1;
    hashes.push_back(hash);
    insert(index, hash);
    keepCheckpoint(index, universe);
    if (generation - baseGeneration >= limit)
        stopLooking(universe.backgroundAlive());
}

void RunHistory::reset(const PackedField &field, std::int64_t generation, const Rule &rule)
{
    reset(ClassicUniverse(field, rule), generation);
}

void RunHistory::append(const PackedField &field)
{
    if (lastGeneration() == std::numeric_limits<std::int64_t>::max())
        throw std::overflow_error("a run cannot go past generation 2^63 - 1");
    append(ClassicUniverse(field, currentRule), lastGeneration() + 1);
}

std::int64_t RunHistory::nextGrowthLook() const
{
    if (currentFate != Fate::Evolving || currentTopology.isBounded()
        || growthWatch.nextLook() > std::numeric_limits<std::int64_t>::max() - baseGeneration)
        return std::numeric_limits<std::int64_t>::max();
    return baseGeneration + growthWatch.nextLook();
}

bool RunHistory::backgroundBlinks() const
{
    // Only the unbounded plane keeps a background apart from its cells.
    return (isSettled() || currentFate == Fate::Growing) && currentTopology == Topology::unbounded()
        && currentRule.stateCount() == 2
        && BackgroundUniverse::nextBackground(currentRule, cycleBackground) != cycleBackground;
}

std::int64_t RunHistory::generation(std::size_t index) const
{
    const auto after = std::upper_bound(stretches.begin(), stretches.end(), index,
        [](std::size_t wanted, const Stretch &stretch) { return wanted < stretch.firstIndex; });
    const Stretch &stretch = *(after - 1);
    return stretch.firstGeneration + stretch.step * static_cast<std::int64_t>(index - stretch.firstIndex);
}

std::uint64_t RunHistory::population(std::int64_t generation) const
{
    if (isSettled() && generation == cycleFirst)
        return cyclePopulation;
    const auto after = std::upper_bound(stretches.begin(), stretches.end(), generation,
        [](std::int64_t wanted, const Stretch &stretch) { return wanted < stretch.firstGeneration; });
    if (after != stretches.begin()) {
        const Stretch &stretch = *(after - 1);
        const std::size_t end = after == stretches.end() ? recordPopulations.size() : after->firstIndex;
        const std::int64_t offset = generation - stretch.firstGeneration;
        const std::int64_t index = stretch.step == 0 ? offset : offset / stretch.step;
        if ((stretch.step == 0 || offset % stretch.step == 0)
            && index < static_cast<std::int64_t>(end - stretch.firstIndex))
            return recordPopulations[stretch.firstIndex + static_cast<std::size_t>(index)];
    }
    throw std::out_of_range("generation " + std::to_string(generation) + " is not recorded");
}

std::size_t RunHistory::memoryBytes() const
{
    return stretches.capacity() * sizeof(Stretch) + recordPopulations.capacity() * sizeof(std::uint64_t)
        + hashes.capacity() * sizeof(std::uint64_t) + checkpoints.capacity() * sizeof(Checkpoint) + checkpointBytes
        + table.capacity() * sizeof(std::uint32_t);
}

void RunHistory::record(std::int64_t generation, std::uint64_t population)
{
    const std::size_t index = recordPopulations.size();
    if (stretches.empty() || (stretches.back().step != 0 && generation - latestGeneration != stretches.back().step))
        stretches.push_back(Stretch { index, generation, 0 });
    else if (stretches.back().step == 0)
        stretches.back().step = generation - latestGeneration;
    latestGeneration = generation;
    recordPopulations.push_back(population);
}

std::uint64_t RunHistory::hashOf(const Universe &universe) const
{
    if (hashUniverse)
        return hashUniverse(universe);
    return currentTopology.isBounded() ? universe.hash() : universe.shapeHash();
}

bool RunHistory::repeats(const Universe &earlier, const Universe &later, CellPoint *displacement) const
{
    if (earlier.backgroundAlive() != later.backgroundAlive())
        return false;
    if (currentTopology.isBounded()) {
        if (displacement)
            *displacement = CellPoint();
        return earlier.equals(later);
    }
    const std::optional<CellRect> from = earlier.boundingBox();
    const std::optional<CellRect> to = later.boundingBox();
    if (!from || !to) {
        if (displacement)
            *displacement = CellPoint();
        return !from && !to;
    }
    if (to->right - to->left != from->right - from->left || to->bottom - to->top != from->bottom - from->top)
        return false;
    const CellPoint moved { to->left - from->left, to->top - from->top };
    if (!earlier.equalsShifted(later, moved.x, moved.y))
        return false;
    if (displacement)
        *displacement = moved;
    return true;
}

std::unique_ptr<Universe> RunHistory::universeAt(std::size_t index) const
{
    const auto after = std::upper_bound(checkpoints.begin(), checkpoints.end(), index,
        [](std::size_t wanted, const Checkpoint &checkpoint) { return wanted < checkpoint.index; });
    const Checkpoint &checkpoint = *(after - 1);
    std::unique_ptr<Universe> universe = checkpoint.universe->clone();
    universe->advance(static_cast<std::uint64_t>(generation(index) - checkpoint.generation));
    return universe;
}

long long RunHistory::findEqual(const Universe &universe, std::uint64_t hash, std::unique_ptr<Universe> &repeated) const
{
    const std::size_t mask = table.size() - 1;
    for (std::size_t slot = hash & mask; table[slot] != 0; slot = (slot + 1) & mask) {
        const std::size_t index = table[slot] - 1;
        if (hashes[index] != hash)
            continue;
        repeated = universeAt(index);
        if (repeats(*repeated, universe, nullptr))
            return static_cast<long long>(index);
    }
    repeated.reset();
    return -1;
}

RunHistory::Cycle RunHistory::findCycle(
    std::size_t earlier, std::unique_ptr<Universe> first, const Universe &later, std::int64_t laterGeneration) const
{
    // Records before `later` all differ from each other, or an earlier one
    // would have settled the run.
    const std::int64_t from = generation(earlier);
    const std::int64_t distance = laterGeneration - from;
    Cycle cycle { from, distance, CellPoint(), 0, false };
    repeats(*first, later, &cycle.displacement);

    // The period divides the distance; it is the distance itself if every
    // generation between was recorded, and so differs from `from`.
    if (static_cast<std::int64_t>(recordPopulations.size() - earlier) != distance) {
        std::unique_ptr<Universe> probe = first->clone();
        for (std::int64_t step = 1; step < distance; ++step) {
            probe->advance(1);
            if (distance % step == 0 && repeats(*first, *probe, &cycle.displacement)) {
                cycle.period = step;
                break;
            }
        }
    }

    // The cycle starts at `from` or before, but after the record before it if
    // a later record lies a whole number of periods after that one.
    std::int64_t low = baseGeneration;
    if (earlier > 0) {
        const std::int64_t before = generation(earlier - 1);
        for (std::size_t k = earlier; k < recordPopulations.size(); ++k) {
            if ((generation(k) - before) % cycle.period == 0) {
                low = before + 1;
                break;
            }
        }
    }
    std::unique_ptr<Universe> atLow;
    if (low == from) {
        atLow = std::move(first);
    } else if (low > baseGeneration) {
        atLow = universeAt(earlier - 1);
        atLow->advance(1);
    } else {
        atLow = universeAt(0);
    }
    // Halving low..high, where high repeats a period later: each step goes on
    // from the latest universe known not to, so that a grid steps through the
    // range about once, and an engine that leaps leaps.
    std::int64_t high = from;
    while (low < high) {
        const std::int64_t middle = low + (high - low) / 2;
        std::unique_ptr<Universe> atMiddle = atLow->clone();
        atMiddle->advance(static_cast<std::uint64_t>(middle - low));
        std::unique_ptr<Universe> periodLater = atMiddle->clone();
        periodLater->advance(static_cast<std::uint64_t>(cycle.period));
        if (repeats(*atMiddle, *periodLater, nullptr)) {
            high = middle;
        } else {
            atMiddle->advance(1);
            atLow = std::move(atMiddle);
            low = middle + 1;
        }
    }
    cycle.start = low;
    cycle.population = atLow->population();
    cycle.backgroundAlive = atLow->backgroundAlive();
    return cycle;
}

void RunHistory::keepCheckpoint(std::size_t index, const Universe &universe)
{
    const auto farEnough = [this] {
        return checkpoints.empty() || latestGeneration - checkpoints.back().generation >= checkpointSpacing;
    };
    if (!farEnough())
        return;
    const std::size_t bytes = estimatedBytes(universe);
    // Every other one goes, the first staying, until this one fits.
    while (checkpoints.size() > 1 && checkpointBytes + bytes > budget) {
        std::vector<Checkpoint> kept;
        for (std::size_t i = 0; i < checkpoints.size(); i += 2)
            kept.push_back(std::move(checkpoints[i]));
        for (std::size_t i = 1; i < checkpoints.size(); i += 2)
            checkpointBytes -= checkpoints[i].bytes;
        checkpoints = std::move(kept);
        checkpointSpacing = checkpointSpacing > std::numeric_limits<std::int64_t>::max() / 2
            ? std::numeric_limits<std::int64_t>::max()
            : checkpointSpacing * 2;
    }
    if (!checkpoints.empty() && (checkpointBytes + bytes > budget || !farEnough()))
        return;
    checkpoints.push_back(Checkpoint { index, latestGeneration, universe.clone(), bytes });
    checkpointBytes += bytes;
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

void RunHistory::settle(const Cycle &cycle)
{
    cycleFirst = cycle.start;
    cyclePeriod = cycle.period;
    cycleDisplacement = cycle.displacement;
    cyclePopulation = cycle.population;
    cycleBackground = cycle.backgroundAlive;
    if (cycle.displacement != CellPoint())
        currentFate = Fate::Moving;
    else if (cycle.period > 1)
        currentFate = Fate::Oscillating;
    else
        currentFate = cycle.population == 0 && !cycle.backgroundAlive ? Fate::DiedOut : Fate::Still;
    releaseLookup();
}

void RunHistory::grow(const Growth::Report &report, std::int64_t generation, bool backgroundAlive)
{
    currentFate = Fate::Growing;
    growthFound = report;
    growthGeneration = generation;
    cycleBackground = backgroundAlive;
    releaseLookup();
}

void RunHistory::stopLooking(bool backgroundAlive)
{
    // Looked at as far as the census looks before it tells how a pattern grew.
    const std::optional<Growth::Report> report = currentTopology.isBounded()
        ? std::nullopt
        : growthWatch.grown(latestGeneration - baseGeneration, recordPopulations.back());
    if (report) {
        grow(*report, latestGeneration, backgroundAlive);
        return;
    }
    currentFate = Fate::Unsettled;
    releaseLookup();
}

void RunHistory::releaseLookup()
{
    // Nothing is looked up once the run has settled or gone too far.
    std::vector<std::uint64_t>().swap(hashes);
    std::vector<Checkpoint>().swap(checkpoints);
    checkpointBytes = 0;
    std::vector<std::uint32_t>().swap(table);
}
