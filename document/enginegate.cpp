#include "document/enginegate.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace
{

struct GateState {
    std::mutex mutex;
    std::condition_variable changed;
    int holds = 0; // Scope objects, and the hold until the event loop runs
    bool untilIdle = false; // hold() is on until the event loop runs
    std::atomic<int> jumps { 0 };
    std::vector<std::atomic<bool> *> inside; // the interrupt flags of the runs stepping now
};

GateState &state()
{
    static GateState gate;
    return gate;
}

// Raises the flags of the runs inside and waits until they are out. `lock` holds the gate's mutex.
void waitOut(GateState &gate, std::unique_lock<std::mutex> &lock)
{
    for (std::atomic<bool> *flag : gate.inside)
        *flag = true;
    gate.changed.wait(lock, [&gate] { return gate.inside.empty(); });
}

} // namespace

void EngineGate::hold()
{
    GateState &gate = state();
    if (gate.jumps.load() == 0 && !gate.untilIdle)
        return;
    std::unique_lock<std::mutex> lock(gate.mutex);
    if (!gate.untilIdle) {
        gate.untilIdle = true;
        ++gate.holds;
        // Runs once every event already waiting is handled.
        QTimer::singleShot(0, QCoreApplication::instance(), &EngineGate::release);
    }
    waitOut(gate, lock);
}

void EngineGate::release()
{
    GateState &gate = state();
    const std::lock_guard<std::mutex> lock(gate.mutex);
    if (!gate.untilIdle)
        return;
    gate.untilIdle = false;
    if (--gate.holds == 0)
        gate.changed.notify_all();
}

EngineGate::Scope::Scope()
{
    GateState &gate = state();
    std::unique_lock<std::mutex> lock(gate.mutex);
    ++gate.holds;
    waitOut(gate, lock);
}

EngineGate::Scope::~Scope()
{
    GateState &gate = state();
    const std::lock_guard<std::mutex> lock(gate.mutex);
    if (--gate.holds == 0)
        gate.changed.notify_all();
}

bool EngineGate::enter(std::atomic<bool> &interrupt, const std::atomic<bool> &abandon)
{
    GateState &gate = state();
    std::unique_lock<std::mutex> lock(gate.mutex);
    gate.changed.wait(lock, [&] { return gate.holds == 0 || abandon.load(); });
    if (abandon.load())
        return false;
    interrupt = false;
    gate.inside.push_back(&interrupt);
    return true;
}

void EngineGate::leave(std::atomic<bool> &interrupt)
{
    GateState &gate = state();
    const std::lock_guard<std::mutex> lock(gate.mutex);
    gate.inside.erase(std::find(gate.inside.begin(), gate.inside.end(), &interrupt));
    gate.changed.notify_all();
}

void EngineGate::wake()
{
    GateState &gate = state();
    const std::lock_guard<std::mutex> lock(gate.mutex);
    gate.changed.notify_all();
}

void EngineGate::addJump() { ++state().jumps; }

void EngineGate::removeJump() { --state().jumps; }

bool EngineGate::jumping() { return state().jumps.load() > 0; }
