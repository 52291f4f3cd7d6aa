#ifndef RUNJUMP_H
#define RUNJUMP_H

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

#include "model/analysis/runhistory.h"
#include "model/engine/topology.h"

class Universe;

// What a RunThread computes: a tick's jump of a run, made whole or not at all,
// or the many generations of Run until settled and Go to generation, recorded
// in a run history as they come, in pieces short enough that the window can
// be shown how far it got. Whenever work() returns, the universe and the
// history are at the same finished generation, whether it was interrupted or
// not, so that what is handed back or shown is never half a step.
class RunJump
{
public:
    // A tick: `generations` (1 or more) at once.
    RunJump(std::unique_ptr<Universe> universe, std::uint64_t generations);
    // The same for a clone of `source`, made by work(): on the run's thread,
    // for a universe whose copy costs more than the window may wait. `source`
    // must share no store with the window's thread (a bounded universe).
    RunJump(std::shared_ptr<const Universe> source, std::uint64_t generations);
    // Ahead from history.lastGeneration(), which `universe` is at, under its
    // rule: `generations` (0 or more), or, if `untilSettled`, until the
    // history settles or stops looking, `generations` at most. Until settled,
    // and in the classic field, every generation is recorded; otherwise one
    // record a jump, the jumps growing while each stays short.
    RunJump(std::unique_ptr<Universe> universe, RunHistory history, std::int64_t generations, bool untilSettled);
    ~RunJump();
    RunJump(const RunJump &) = delete;
    RunJump &operator=(const RunJump &) = delete;

    // Computes on for about `milliseconds` (0..), or until finished or
    // `interrupt` is raised; returns finished(). A jump interrupted part way
    // is dropped, the universe left as it was before it. Passes on the
    // universe's UniverseError and std::bad_alloc.
    bool work(std::atomic<bool> &interrupt, int milliseconds);
    bool finished() const;
    // Whether this is the many generations of a run ahead rather than a tick.
    bool isAhead() const { return history.has_value(); }
    // Generations computed so far, 0..generations.
    std::int64_t computed() const { return done; }
    // The share of `generations` computed so far, 0..1.
    double share() const;
    // Precondition: work() has made the clone of a source, if any.
    const Universe &universe() const { return *cells; }
    Topology topology() const;
    std::unique_ptr<Universe> takeUniverse();
    // Of a run ahead only, once: its history, up to computed().
    RunHistory takeHistory();

    // Steps `universe` unless `interrupt` is raised first: then false, the universe unchanged.
    static bool step(Universe &universe, std::uint64_t generations, std::atomic<bool> &interrupt);

private:
    std::unique_ptr<Universe> cells;
    std::shared_ptr<const Universe> source; // to clone into `cells`, until work() does
    std::optional<RunHistory> history; // a run ahead's alone
    std::int64_t generations;
    std::int64_t done = 0;
    std::int64_t jump = 1; // a run ahead's generations a jump, doubled while jumps stay short
    bool untilSettled = false;
    bool everyGeneration = false;
};

#endif // RUNJUMP_H
