#ifndef ENGINERACE_H
#define ENGINERACE_H

#include <atomic>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>

#include "model/engine/hashlife.h"
#include "model/engine/tilelife.h"

// One jump of the unbounded plane by whichever of HashLife and TileLife
// finishes first, each on its own copy of the cells. HashLife's cost hardly
// shows before it is done, so no estimate picks the faster engine in time.
// Where a second core is idle, the two run side by side: the tiles on a
// thread of the race's own, and the first to finish ends the other, so
// that the jump takes about the faster engine's time. The tiles measure
// their pace, then wait while HashLife runs an eighth of their whole time
// alone: a long jump of a regular pattern, which the tiles could never win,
// so runs at full speed, where the second core may share the first one's
// units.
// Once either gets much less than a whole core, as on a busy machine, where
// each would run at half speed, the race takes turns on the calling thread
// instead, never taking a core from the rest of the machine; so it does
// from the start on one core, or once HashLife proved hopeless, as on chaos.
// Taking turns, the tiles' time per generation shows early what the
// whole jump costs them; HashLife's cost shows only once it is done, and on
// a regular pattern hardly grows with the jump. So HashLife first gets a
// glance (a jump it has mostly worked out before ends there), the tiles then
// measure their pace, and HashLife runs alone for about a third of the
// tiles' whole time, less once it proves hopeless (its estimate far beyond
// the tiles', or few of its results found remembered, as on chaos). If it
// has not finished by then the tiles go on with most of the time, HashLife
// keeping a small share of it in case it was nearly done. Whenever its own
// estimate shows it well ahead of the tiles, HashLife runs on to the end.
class EngineRace
{
public:
    // What the last race of the same cells showed, for the next one.
    struct History {
        double hashSeconds = 0; // HashLife's time if it won, else 0: it then runs alone as long again first
        // HashLife found too few of its results remembered, as on chaos: it
        // then only keeps a small share, and is judged again the race after.
        // A mere poor estimate of its time is not passed on, as it holds for
        // one jump alone: what HashLife computes in it shortens the next,
        // while a growing pattern slows the tiles; and chaos settles.
        bool hashHopeless = false;
    };

    // Whether races may run the engines side by side: true by default, and
    // only where the machine has two cores or more. Process-wide; set it
    // before racing, from the thread that races.
    static void allowSideBySide(bool allowed);

    // A race of `generations` (1 or more) from `hashCells` or `tileCells`,
    // whichever is given, or both if they hold the same cells (not owned,
    // read until the race ends).
    EngineRace(const HashLife *hashCells, const TileLife *tileCells, std::uint64_t generations, History last);

    // Runs the race: true once an engine has finished, false soon after
    // another thread raises `stop`. Throws UniverseError when neither engine
    // can finish: out of memory, or at the edge of the plane.
    bool run(const std::atomic<bool> &stop);
    // After run() returned true, the winner's cells: exactly one is set.
    std::optional<HashLife> &hashLifeCells() { return hashDone; }
    std::unique_ptr<TileLife> &tileLifeCells() { return tilesDone; }
    // What this race showed, once run() returned true.
    History history() const;
    // HashLife's cells at the start, if it has them by now.
    const std::optional<HashLife> &startingQuadtree() const { return plane; }

private:
    struct SideBySide;

    // A turn of about `budget` seconds each; true if the engine finished.
    // A tile turn of 0 seconds builds the tiles if need be, and steps none.
    // With `judged`, HashLife's turn also ends, setting `hopeless`, once its
    // estimate of its own time passes HopelessFactor times the tiles', or
    // it finds too few of its results remembered, as on chaos.
    // `tilesWhole` is tilesLeft() as the turn starts. With `sideBySide`,
    // the turn also ends once the tiles have finished on their thread, or
    // either engine gets much less than a whole core.
    bool hashTurn(
        double budget, const std::atomic<bool> &stop, bool judged, double tilesWhole, SideBySide *sideBySide = nullptr);
    // `steps`, if given, counts the tiles' generations as they are stepped.
    bool tileTurn(double budget, const std::atomic<bool> &stop, std::atomic<std::uint64_t> *steps = nullptr);
    // The tiles' two first turns of TileTrial, which measure their pace; true if they finished.
    bool trialTurns(const std::atomic<bool> &stop, std::atomic<std::uint64_t> *steps = nullptr);
    // The tiles on a thread of their own while HashLife runs here: true once
    // an engine has finished. False when the race should go on taking
    // turns, or when `stop` was raised.
    bool runSideBySide(const std::atomic<bool> &stop);
    // Seconds the tiles still need by their pace so far; 0 before their first turn.
    double tilesLeft() const;

    const HashLife *hashSource;
    const TileLife *tileSource;
    std::uint64_t generations;
    History before;

    std::optional<HashLife> plane; // HashLife's copy of the cells at the start
    double hashSpent = 0; // seconds HashLife has stepped
    double hashReused = 0; // its results found remembered, and those computed, in judged turns ended
    double hashComputed = 0;
    bool hopeless = false; // HashLife's estimate of its time is far beyond the tiles', or it steps chaos
    bool chaotic = false; // few of HashLife's results found remembered in this race's judged turns
    std::exception_ptr hashError;

    std::unique_ptr<TileLife> tiles;
    std::uint64_t tileGenerations = 0;
    double tileSpent = 0; // seconds the tiles have stepped
    // Seconds per generation in the tiles' last two turns, and the generations in their middles.
    double lastPace = 0;
    double lastMiddle = 0;
    double earlierPace = 0;
    double earlierMiddle = 0;
    std::exception_ptr tilesError;

    std::optional<HashLife> hashDone;
    std::unique_ptr<TileLife> tilesDone;
};

#endif // ENGINERACE_H
