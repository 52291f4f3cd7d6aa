#ifndef ENGINEGATE_H
#define ENGINEGATE_H

#include <atomic>

// The unbounded plane keeps its squares in one store for the whole process,
// which serves one thread at a time, while the run steps on a thread of its
// own (RunThread) and the window draws and edits on its own thread. The gate
// lets them take turns: a run's thread steps only while the window's thread
// holds nothing, and a hold raises the stop flag of every run inside and
// waits the few milliseconds it takes them to come out with their universes
// unchanged, to step again once the hold ends. The window's thread holds
// before it reads or changes any universe while a run may be stepping:
// Document::universe() and the view's events do it for it.
class EngineGate
{
public:
    // On the window's thread: keeps every run's thread out of the engines
    // until its event loop runs again; returns once they are out. Free while
    // no run has a jump to make.
    static void hold();
    // The same for as long as it lives, also across event loops of dialogs
    // that read a universe after they close.
    class Scope
    {
    public:
        Scope();
        ~Scope();
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;
    };

    // On a run's thread, with a jump to make: waits until no hold is on,
    // then lowers `interrupt`, which a hold raises, and returns true; false
    // without entering if `abandon` is raised while it waits (see wake()).
    // Both flags must stay alive until leave(interrupt).
    static bool enter(std::atomic<bool> &interrupt, const std::atomic<bool> &abandon);
    static void leave(std::atomic<bool> &interrupt);
    // Makes the threads waiting in enter() look at their `abandon` flags.
    static void wake();
    // Jumps given to runs and not yet finished; hold() costs nothing without one.
    static void addJump();
    static void removeJump();
    // Whether a run has a jump given and not yet finished, which a hold would interrupt.
    static bool jumping();

    EngineGate() = delete;

private:
    static void release();
};

#endif // ENGINEGATE_H
