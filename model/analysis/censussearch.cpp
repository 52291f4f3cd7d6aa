#include "model/analysis/censussearch.h"

#include <algorithm>

#include "model/analysis/celllist.h"
#include "model/analysis/statestabilisation.h"
#include "model/engine/backgrounduniverse.h"
#include "model/engine/hashlife.h"
#include "model/engine/unboundeduniverse.h"

namespace
{

// Generations looked at between two calls of `progress`.
constexpr std::int64_t Slice = 64;

bool foundAfter(const Stabilisation::Result &result, std::int64_t generation)
{
    const bool settled
        = result.outcome == Stabilisation::Outcome::Stable || result.outcome == Stabilisation::Outcome::DiedOut;
    return settled && result.stableSince > generation;
}

bool settledBy(const Stabilisation::Result &result, std::int64_t generation)
{
    const bool settled
        = result.outcome == Stabilisation::Outcome::Stable || result.outcome == Stabilisation::Outcome::DiedOut;
    return settled && result.stableSince <= generation;
}

} // namespace

Stabilisation::Result CensusSearch::run(
    const Universe &universe, std::int64_t generationLimit, const Progress &progress, std::int64_t firstGeneration)
{
    if (StateStabilisation::follows(universe.rule()))
        return runStates(StatedCellList::of(universe), universe.rule(), generationLimit, progress, firstGeneration);
    return run(CellList::differences(universe), universe.rule(), generationLimit, progress, firstGeneration,
        universe.backgroundAlive());
}

Stabilisation::Result CensusSearch::run(const std::vector<CellPoint> &cells, const Rule &rule,
    std::int64_t generationLimit, const Progress &progress, std::int64_t firstGeneration, bool backgroundAlive)
{
    if (rule.isHistory())
        return run(
            cells, DifferencePlane::followedRule(rule), generationLimit, progress, firstGeneration, backgroundAlive);
    Stabilisation start(cells, rule, firstGeneration, backgroundAlive);
    const std::int64_t steps = std::min(generationLimit, StepLimit);
    // A pattern that grows to many times its cells and past CellLimit is
    // stepped no further: a generation of it would cost more and more.
    const std::uint64_t large = std::max<std::uint64_t>(CellLimit, 4 * std::uint64_t(cells.size()));
    std::int64_t looked = 0;
    for (; !start.isSettled() && looked < steps && start.population() <= large; looked += Slice) {
        start.advance(std::min(Slice, steps - looked));
        if (progress)
            progress(start.result().lastGeneration, start.population());
    }
    looked = start.result().lastGeneration - firstGeneration;
    if (start.isSettled() || looked >= generationLimit)
        return start.run(generationLimit);

    CensusSearch search(cells, rule, firstGeneration, generationLimit, progress, backgroundAlive);
    // Not settled within the steps, as far as a look reaches; narrow() goes
    // farther back should it have settled before. The last look starts a
    // look's length before the limit, so that none looks past it.
    std::int64_t low = std::max<std::int64_t>(0, looked - LookLimit);
    const std::int64_t last = std::max(generationLimit - LookLimit, looked);
    for (std::int64_t ahead = std::min(std::max<std::int64_t>(2 * looked, 1), last);;
         ahead = ahead > last / 2 ? last : 2 * ahead) {
        Stabilisation::Result found = search.lookFrom(ahead, LookLimit);
        if (found.outcome == Stabilisation::Outcome::Grows || foundAfter(found, firstGeneration + ahead)) {
            found.firstGeneration = firstGeneration;
            return found;
        }
        if (settledBy(found, firstGeneration + ahead))
            return search.narrow(low, ahead);
        if (ahead == last)
            return search.atLimit();
        low = ahead;
    }
}

Stabilisation::Result CensusSearch::runStates(const StatedCellList::Cells &cells, const Rule &rule,
    std::int64_t generationLimit, const Progress &progress, std::int64_t firstGeneration)
{
    StateStabilisation start(cells, rule, firstGeneration);
    const std::uint64_t large = std::max<std::uint64_t>(StateStabilisation::CellLimit, 4 * std::uint64_t(cells.size()));
    std::int64_t looked = 0;
    for (; !start.isSettled() && looked < generationLimit && start.population() <= large; looked += Slice) {
        start.advance(std::min(Slice, generationLimit - looked));
        if (progress)
            progress(start.result().lastGeneration, start.population());
    }
    if (start.isSettled() || start.result().lastGeneration - firstGeneration >= generationLimit)
        return start.run(generationLimit);
    // Too large to be stepped on, and to be jumped far ahead through its
    // chaos: not stable, or growing as it has grown so far.
    Stabilisation::Result result = start.result();
    result.outcome = Stabilisation::Outcome::NotStable;
    result.growth = start.growthSoFar();
    if (result.growth)
        result.outcome = Stabilisation::Outcome::Grows;
    return result;
}

CensusSearch::CensusSearch(const std::vector<CellPoint> &cells, const Rule &rule, std::int64_t firstGeneration,
    std::int64_t generationLimit, const Progress &progress, bool backgroundAlive)
    : rule(rule)
    , firstGeneration(firstGeneration)
    , generationLimit(generationLimit)
    , progress(progress)
{
    std::unique_ptr<Universe> start;
    if (backgroundAlive || (rule.birthCounts() & 1U) != 0) {
        UnboundedUniverse plane(BackgroundUniverse::steppedRule(rule, backgroundAlive));
        plane.setCells(cells);
        start = std::make_unique<BackgroundUniverse>(plane, rule, backgroundAlive);
    } else if (!rule.isLifeLike()) {
        auto plane = std::make_unique<UnboundedUniverse>(rule);
        plane->setCells(cells);
        start = std::move(plane);
    } else {
        auto plane = std::make_unique<HashLife>(rule);
        plane->setCells(cells);
        start = std::move(plane);
    }
    saved.emplace(0, std::move(start));
}

const Universe &CensusSearch::stateAfter(std::int64_t generations)
{
    auto before = std::prev(saved.upper_bound(generations));
    if (before->first == generations)
        return *before->second;
    std::unique_ptr<Universe> state = before->second->clone();
    state->advance(static_cast<std::uint64_t>(generations - before->first));
    const Universe &kept = *saved.emplace(generations, std::move(state)).first->second;
    if (progress)
        progress(firstGeneration + generations, kept.population());
    return kept;
}

Stabilisation::Result CensusSearch::lookFrom(std::int64_t generations, std::int64_t looks)
{
    const Universe &state = stateAfter(generations);
    if (state.population() > CellLimit) {
        Stabilisation::Result unknown;
        unknown.firstGeneration = unknown.lastGeneration = firstGeneration + generations;
        return unknown;
    }
    Stabilisation stabilisation(
        CellList::differences(state), rule, firstGeneration + generations, state.backgroundAlive());
    stabilisation.advance(std::min(looks, generationLimit - generations));
    return stabilisation.result();
}

Stabilisation::Result CensusSearch::narrow(std::int64_t low, std::int64_t high)
{
    // Settled within `high`, and found not to within `low` as far as a look reaches.
    while (high - low > LookLimit / 2) {
        const std::int64_t middle = low + (high - low) / 2;
        Stabilisation::Result found = lookFrom(middle, LookLimit);
        if (foundAfter(found, firstGeneration + middle)) {
            found.firstGeneration = firstGeneration;
            return found;
        }
        if (settledBy(found, firstGeneration + middle))
            high = middle;
        else
            low = middle;
    }
    // A look from `low` that settles at `low` itself shows that it settled
    // before, as a look needs longer for some: then from farther back.
    for (std::int64_t extra = LookLimit;;) {
        Stabilisation::Result found = lookFrom(low, high - low + extra);
        if (foundAfter(found, firstGeneration + low) || (low == 0 && settledBy(found, firstGeneration))
            || extra > StepLimit * LookLimit) {
            found.firstGeneration = firstGeneration;
            return found;
        }
        if (settledBy(found, firstGeneration + low)) {
            const std::int64_t width = high - low;
            high = low;
            low = std::max<std::int64_t>(0, low - 2 * width);
        } else {
            extra *= 2;
        }
    }
}

Stabilisation::Result CensusSearch::atLimit()
{
    Stabilisation::Result result;
    result.outcome = Stabilisation::Outcome::NotStable;
    result.firstGeneration = firstGeneration;
    result.lastGeneration = firstGeneration + generationLimit;
    const std::int64_t earlier = Growth::lastLookByHalf(generationLimit);
    const std::uint64_t earlierPopulation = stateAfter(earlier).population();
    result.growth
        = Growth::ofPopulation(earlier, earlierPopulation, generationLimit, stateAfter(generationLimit).population());
    if (result.growth)
        result.outcome = Stabilisation::Outcome::Grows;
    return result;
}
