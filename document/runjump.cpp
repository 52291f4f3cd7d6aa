#include "document/runjump.h"

#include <QElapsedTimer>

#include <algorithm>
#include <utility>

#include "model/engine/backgrounduniverse.h"
#include "model/engine/griduniverse.h"
#include "model/engine/unboundeduniverse.h"
#include "model/engine/universe.h"

namespace
{

// A jump of the unbounded plane costs about the same whatever its length once
// HashLife takes it: longer while they stay this short, in milliseconds.
constexpr int ShortJump = 30;

} // namespace

RunJump::RunJump(std::unique_ptr<Universe> universe, std::uint64_t generations)
    : cells(std::move(universe))
    , generations(static_cast<std::int64_t>(generations))
{
}

RunJump::RunJump(std::shared_ptr<const Universe> source, std::uint64_t generations)
    : source(std::move(source))
    , generations(static_cast<std::int64_t>(generations))
{
}

RunJump::RunJump(std::unique_ptr<Universe> universe, RunHistory history, std::int64_t generations, bool untilSettled)
    : cells(std::move(universe))
    , history(std::move(history))
    , generations(std::max<std::int64_t>(generations, 0))
    , untilSettled(untilSettled)
    , everyGeneration(untilSettled || cells->topology() == Topology::classic())
{
}

RunJump::~RunJump() = default;

Topology RunJump::topology() const { return cells ? cells->topology() : source->topology(); }

bool RunJump::finished() const
{
    return done >= generations || (untilSettled && history->fate() != RunHistory::Fate::Evolving);
}

double RunJump::share() const
{
    return generations > 0 ? static_cast<double>(done) / static_cast<double>(generations) : 1.0;
}

std::unique_ptr<Universe> RunJump::takeUniverse() { return std::move(cells); }

RunHistory RunJump::takeHistory() { return std::move(*history); }

bool RunJump::work(std::atomic<bool> &interrupt, int milliseconds)
{
    if (!history) {
        if (!cells) {
            if (interrupt.load())
                return false;
            cells = source->clone();
            source.reset();
        }
        if (done == 0 && !step(*cells, static_cast<std::uint64_t>(generations), interrupt))
            return false;
        done = generations;
        return true;
    }
    QElapsedTimer clock;
    clock.start();
    while (!finished() && !interrupt.load() && clock.elapsed() < milliseconds) {
        const std::int64_t count = everyGeneration ? 1 : std::min(jump, generations - done);
        QElapsedTimer jumpClock;
        jumpClock.start();
        if (!step(*cells, static_cast<std::uint64_t>(count), interrupt))
            break;
        history->append(*cells, history->lastGeneration() + count);
        done += count;
        if (everyGeneration)
            continue;
        if (jumpClock.elapsed() < ShortJump && jump < (std::int64_t(1) << 62))
            jump *= 2;
        else if (jumpClock.elapsed() > 2 * ShortJump && jump > 1)
            jump /= 2;
    }
    return finished();
}

bool RunJump::step(Universe &universe, std::uint64_t generations, std::atomic<bool> &interrupt)
{
    if (auto *plane = dynamic_cast<UnboundedUniverse *>(&universe))
        return plane->advanceUnless(generations, interrupt);
    if (auto *background = dynamic_cast<BackgroundUniverse *>(&universe))
        return background->advanceUnless(generations, interrupt);
    if (auto *grid = dynamic_cast<GridUniverse *>(&universe))
        return grid->advanceUnless(generations, interrupt);
    if (interrupt.load())
        return false;
    universe.advance(generations);
    return true;
}
