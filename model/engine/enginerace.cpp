#include "model/engine/enginerace.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <ctime>
#include <functional>
#include <limits>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include <pthread.h>

#include "model/engine/cellcopy.h"
#include "model/engine/nodestore.h"

namespace
{

double wallNow() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

// Seconds on `clock`, or of wall time where the system cannot tell.
double secondsOn(clockid_t clock)
{
    timespec now {};
    if (clock_gettime(clock, &now) != 0)
        return wallNow();
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Seconds of processor time this thread has used: on a loaded machine the
// engines are weighed by their work, not by when the system let them run.
double cpuNow() { return secondsOn(CLOCK_THREAD_CPUTIME_ID); }

double since(double start) { return cpuNow() - start; }

std::atomic<bool> sideBySideAllowed { true };

// Side by side, each engine's share of a core is judged over this many
// seconds; below CoreShare of it, the two take turns instead.
constexpr double CoreWindow = 0.01;
constexpr double CoreShare = 0.7;
// Side by side, once their pace shows, the tiles wait until HashLife has run
// for this part of their whole time: if it finishes by then, as a regular
// pattern over a long jump does, it ran alone, at full speed on a core
// whose units the tiles would otherwise share.
constexpr double HoldShare = 0.125;

constexpr double Glance = 0.001; // seconds HashLife runs first when it holds the cells
constexpr double TileTrial = 0.0005; // seconds of each of the tiles' two first turns, to measure their pace
constexpr double HeadShare = 0.3; // HashLife's time alone, as a part of the tiles' whole, beyond HeadStart
constexpr double HeadStart = 0.0025; // seconds HashLife runs alone at least
constexpr double HopelessFactor = 4;
// HashLife runs on past its budget while it has done this part of the jump
// and its estimate of the rest is below this part of the tiles' own.
constexpr double CommitProgress = 0.3;
constexpr double CommitShare = 0.5;
// Below this part of its results found remembered, HashLife is stepping
// chaos, every square of it new: it gains nothing on the tiles there.
constexpr double ChaosHitRate = 0.5;
// The most the tiles' pace is taken to grow over the rest of a jump, so that
// the noise of short turns cannot make a pattern look as if it spread.
constexpr double MaxGrowth = 4;
constexpr double Hedge = 0.1; // HashLife's share of the rounds after its time alone
constexpr double HopelessHedge = 0.025;
constexpr double BuildSeconds = 1e-8; // about what HashLife takes to set a cell, moved from the tiles

} // namespace

// What the two threads of a race side by side share. HashLife ends its turn
// once the tiles have finished on their thread, or either engine got less
// than CoreShare of a core over the last CoreWindow; the tiles wait for
// HashLife's time to pass their hold.
struct EngineRace::SideBySide {
    std::atomic<bool> tilesFinished { false };
    std::atomic<std::uint64_t> tileSteps { 0 }; // generations the tiles have stepped on their thread
    std::uint64_t tilesLeftAtStart = 0;
    clockid_t tilesClock {};
    std::atomic<double> hashSpent { 0 }; // HashLife's seconds in the race, as of its last check
    // Wall time since which the tiles have stepped without waiting; infinite while they wait.
    std::atomic<double> tilesRunningSince { 0 };
    std::mutex holding;
    std::condition_variable released;
    double windowWall = 0; // HashLife's thread alone reads and writes these
    double windowHash = 0;
    double windowTiles = 0;
    double whole = 0;
    bool crowded = false;

    void startWindow(double hashCpu)
    {
        windowWall = wallNow();
        windowHash = hashCpu;
        windowTiles = secondsOn(tilesClock);
    }

    // Seconds the tiles would need for the whole jump at their pace on their
    // thread as of the last window; 0 until they have stepped enough to tell.
    double tilesWhole() const { return whole; }

    bool over(double hashCpu, double spent)
    {
        hashSpent.store(spent, std::memory_order_relaxed);
        if (tilesFinished.load(std::memory_order_acquire))
            return true;
        const double elapsed = wallNow() - windowWall;
        if (elapsed < CoreWindow)
            return false;
        const double tilesCpu = secondsOn(tilesClock);
        constexpr std::uint64_t Enough = 16;
        const std::uint64_t steps = tileSteps.load(std::memory_order_relaxed);
        if (steps >= Enough)
            whole = tilesCpu / static_cast<double>(steps) * static_cast<double>(tilesLeftAtStart);
        // Tiles that waited for part of the window are not judged by it.
        const bool tilesJudged = tilesRunningSince.load(std::memory_order_relaxed) <= windowWall;
        crowded = hashCpu - windowHash < CoreShare * elapsed
            || (tilesJudged && tilesCpu - windowTiles < CoreShare * elapsed);
        startWindow(hashCpu);
        return crowded;
    }

    // On the tiles' thread: waits until HashLife has run `seconds` in the race, or `end` is raised.
    void hold(double seconds, const std::atomic<bool> &end)
    {
        tilesRunningSince = std::numeric_limits<double>::infinity();
        std::unique_lock<std::mutex> lock(holding);
        // HashLife, alone on its core, runs about as long as the wait; a
        // second at most at a time, as a hold of years would overflow the clock.
        for (double left = seconds - hashSpent; !end && left > 0; left = seconds - hashSpent)
            released.wait_for(lock, std::chrono::duration<double>(std::min(left, 1.0)));
        tilesRunningSince = wallNow();
    }

    void release()
    {
        {
            const std::lock_guard<std::mutex> lock(holding);
        }
        released.notify_all();
    }
};

void EngineRace::allowSideBySide(bool allowed) { sideBySideAllowed = allowed; }

EngineRace::EngineRace(const HashLife *hashCells, const TileLife *tileCells, std::uint64_t generations, History last)
    : hashSource(hashCells)
    , tileSource(tileCells)
    , generations(generations)
    , before(last)
    , hopeless(last.hashHopeless)
{
    if (hashSource)
        plane = *hashSource;
    if (tileSource)
        tiles = std::make_unique<TileLife>(*tileSource);
}

bool EngineRace::run(const std::atomic<bool> &stop)
{
    const auto stopped = [&stop] { return stop.load(std::memory_order_relaxed); };
    if (stopped())
        return false;
    // A jump HashLife won last time quickly goes to it alone first: the tiles
    // are then not even built.
    // Jumps HashLife has mostly worked out before end in a moment.
    if (hashTurn(std::max(1.5 * before.hashSeconds, plane ? Glance : 0.0), stop, false, tilesLeft()))
        return true;
    // Side by side, the tiles are built here, where the store may be read,
    // and measure their pace as they go.
    if (sideBySideAllowed && std::thread::hardware_concurrency() >= 2 && !hopeless && !hashError) {
        tileTurn(0, stop);
        if (!tilesError && runSideBySide(stop))
            return true;
        if (stopped())
            return false;
    }
    if (lastPace == 0 && trialTurns(stop))
        return true;
    for (double round = HeadStart;; round *= 2) {
        if (stopped())
            return false;
        // HashLife's time so far keeps up with a quarter of the tiles' whole
        // as they measure it: more as a growing pattern slows them down.
        const double due
            = tilesError ? 1e9 : std::max(HeadShare * (tileSpent + tilesLeft()) + HeadStart, 1.5 * before.hashSeconds);
        const double hedge = (hopeless ? HopelessHedge : Hedge) * round;
        if (!hashError
            && hashTurn(
                hopeless ? hedge : std::max(due - hashSpent, hedge), stop, !tilesError && !hopeless, tilesLeft()))
            return true;
        if (stopped())
            return false;
        if (!tilesError && tileTurn(round, stop))
            return true;
        if (hashError && tilesError)
            std::rethrow_exception(hashError);
    }
}

EngineRace::History EngineRace::history() const { return History { hashDone ? hashSpent : 0, !hashDone && chaotic }; }

bool EngineRace::runSideBySide(const std::atomic<bool> &stop)
{
    const double tilesWhole = tilesLeft(); // read before the tiles' thread changes it
    std::atomic<bool> endTiles { false };
    SideBySide shared;
    shared.tilesLeftAtStart = generations - tileGenerations;
    std::exception_ptr tilesFailure;
    std::thread tilesThread;
    try {
        tilesThread = std::thread([&] {
            bool finished = false;
            try {
                finished = trialTurns(endTiles, &shared.tileSteps);
                if (!finished && !tilesError) {
                    shared.hold(HoldShare * (tileSpent + tilesLeft()), endTiles);
                    finished = tileTurn(std::numeric_limits<double>::infinity(), endTiles, &shared.tileSteps);
                }
            } catch (...) {
                tilesFailure = std::current_exception();
            }
            shared.tilesFinished.store(finished, std::memory_order_release);
        });
    } catch (const std::system_error &) {
        return false;
    }
    // Whatever HashLife throws, the tiles stop and their thread ends first.
    struct Joined {
        std::atomic<bool> &end;
        SideBySide &shared;
        std::thread &thread;
        ~Joined()
        {
            end = true;
            shared.release();
            thread.join();
        }
    };
    bool hashFinished = false;
    {
        const Joined joined { endTiles, shared, tilesThread };
        if (pthread_getcpuclockid(tilesThread.native_handle(), &shared.tilesClock) == 0) {
            shared.startWindow(cpuNow());
            hashFinished = hashTurn(std::numeric_limits<double>::infinity(), stop, true, tilesWhole, &shared);
        }
    }
    if (tilesFailure && !hashFinished)
        std::rethrow_exception(tilesFailure);
    if (hashFinished)
        tilesDone.reset();
    return hashFinished || shared.tilesFinished.load(std::memory_order_acquire);
}

bool EngineRace::hashTurn(
    double budget, const std::atomic<bool> &stop, bool judged, double tilesWhole, SideBySide *sideBySide)
{
    try {
        if (!plane) {
            // Building is HashLife's time too: taking turns, it starts only
            // once its share covers that twice over, and once the tiles have
            // stepped as long, past the first generations of a soup, which
            // cost them most. (Side by side the tiles' time is theirs alone.)
            const double build = BuildSeconds * static_cast<double>(tileSource->population());
            if (!sideBySide && (budget < 2 * build || tileSpent < build))
                return false;
            const double building = cpuNow();
            HashLife built(tileSource->rule());
            CellCopy::into(*tileSource, built);
            plane = std::move(built);
            hashSpent += since(building);
            budget -= since(building);
        }
        const double begin = cpuNow();
        const double deadline = begin + budget;
        const std::uint64_t reusedBefore = NodeStore::instance().statistics().resultsReused;
        const std::uint64_t computedBefore = NodeStore::instance().statistics().resultsComputed;
        const std::function<bool()> check = [&] {
            if (stop.load(std::memory_order_relaxed))
                return true;
            const double now = cpuNow();
            const double spent = now - begin + hashSpent;
            if (sideBySide && sideBySide->over(now, spent))
                return true;
            const double progress = HashLife::jumpProgress();
            const NodeStore::Statistics &counts = NodeStore::instance().statistics();
            const double reused = static_cast<double>(counts.resultsReused - reusedBefore) + hashReused;
            const double computed = static_cast<double>(counts.resultsComputed - computedBefore) + hashComputed;
            // Chaos shows in the first results already; a poor estimate
            // waits for more of them, as a regular pattern's may mislead.
            // Side by side, the tiles' pace shows on their thread: chaos is
            // judged once it does, as a cold pattern's first results are all
            // new, and later, as HashLife there costs the tiles no time.
            const double tilesTime = sideBySide ? sideBySide->tilesWhole() : tilesWhole;
            if (judged && (!sideBySide || tilesTime > 0)
                && spent >= std::max(HeadStart, tilesTime / (sideBySide ? 4 : 16))
                && reused < ChaosHitRate * (reused + computed))
                chaotic = hopeless = true;
            // Side by side, a poor estimate costs the tiles no time: only chaos ends HashLife's turn.
            if (judged && !sideBySide && spent >= std::max(HeadStart, tilesWhole / 8) && progress > 0
                && spent / progress > HopelessFactor * tilesWhole)
                hopeless = true;
            if (hopeless && judged)
                return true;
            // Past its budget HashLife goes on while it looks sure to finish
            // well before the tiles: its estimate only overstates what it
            // has left, on a regular pattern, while it waits for a result.
            return now > deadline
                && !(judged && progress >= CommitProgress && spent / progress - spent < CommitShare * tilesWhole);
        };
        HashLife trial(*plane);
        bool finished = false;
        try {
            finished = trial.advanceUnless(generations, check);
        } catch (...) {
            hashSpent += since(begin);
            throw;
        }
        hashSpent += since(begin);
        // A glance finds nothing remembered on a pattern new to the store,
        // chaos or not: only the judged turns tell chaos.
        if (judged) {
            hashReused += static_cast<double>(NodeStore::instance().statistics().resultsReused - reusedBefore);
            hashComputed += static_cast<double>(NodeStore::instance().statistics().resultsComputed - computedBefore);
        }
        if (finished)
            hashDone = std::move(trial);
        return finished;
    } catch (const UniverseError &) {
        hashError = std::current_exception();
    }
    return false;
}

bool EngineRace::tileTurn(double budget, const std::atomic<bool> &stop, std::atomic<std::uint64_t> *steps)
{
    const std::uint64_t first = tileGenerations;
    const double spentBefore = tileSpent;
    try {
        if (!tiles) {
            auto built = std::make_unique<TileLife>(hashSource->rule());
            CellCopy::into(*hashSource, *built);
            tiles = std::move(built);
        }
        // Building is left out of the budget: the trial measures the steps.
        const double stepping = cpuNow();
        while (tileGenerations < generations && since(stepping) < budget) {
            const double rate = tileGenerations > 0 ? tileSpent / static_cast<double>(tileGenerations) : 0;
            const double left = static_cast<double>(generations - tileGenerations);
            // Chunks at most double, so that a pace measured on a few
            // cheap generations cannot overrun the budget far.
            const double most = std::min(left, 2.0 * static_cast<double>(tileGenerations - first) + 1);
            const auto chunk
                = static_cast<std::uint64_t>(rate > 0 ? std::clamp((budget - since(stepping)) / rate, 1.0, most) : 1.0);
            const double begin = cpuNow();
            // Stopped within the chunk, the tiles keep the generations they
            // stepped: side by side, the race may go on from them.
            std::atomic<std::uint64_t> own { 0 };
            std::atomic<std::uint64_t> &stepped = steps ? *steps : own;
            const std::uint64_t before = stepped.load();
            const bool whole = tiles->advanceUnless(chunk, stop, &stepped);
            tileSpent += since(begin);
            tileGenerations += whole ? chunk : stepped.load() - before;
            if (!whole)
                break;
        }
    } catch (const UniverseError &) {
        tilesError = std::current_exception();
        return false;
    }
    // A turn stopped early measures the pace too: side by side, where the
    // tiles' one long turn always ends so, the pace of their first
    // generations alone would leave a growing pattern's cost far too low.
    if (tileGenerations > first) {
        earlierPace = lastPace;
        earlierMiddle = lastMiddle;
        lastPace = (tileSpent - spentBefore) / static_cast<double>(tileGenerations - first);
        lastMiddle = static_cast<double>(first + tileGenerations) / 2;
    }
    if (tileGenerations < generations)
        return false;
    tilesDone = std::move(tiles);
    return true;
}

bool EngineRace::trialTurns(const std::atomic<bool> &stop, std::atomic<std::uint64_t> *steps)
{
    // The first generations after the tiles are built cost more than the
    // rest: the second turn gives the pace.
    return tileTurn(TileTrial, stop, steps) || tileTurn(TileTrial, stop, steps);
}

double EngineRace::tilesLeft() const
{
    // The pace of the last turn, growing as it grew since the turn before,
    // as it does while a pattern spreads.
    if (lastPace <= 0)
        return 0;
    const double left = static_cast<double>(generations - tileGenerations);
    const double growth = earlierPace > 0 && lastMiddle > earlierMiddle
        ? std::max(0.0, (lastPace - earlierPace) / (lastMiddle - earlierMiddle))
        : 0;
    const double pace = lastPace + growth * (static_cast<double>(tileGenerations) - lastMiddle);
    return std::min(pace * left + growth * left * left / 2, MaxGrowth * lastPace * left);
}
