#include "document/stabilitywatch.h"

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <type_traits>

#include "document/enginegate.h"
#include "model/analysis/celllist.h"
#include "model/engine/universe.h"

StabilityWatch::StabilityWatch(QObject *parent)
    : QObject(parent)
    , timer(new QTimer(this))
{
    timer->setSingleShot(true);
    timer->setInterval(SliceInterval);
    connect(timer, &QTimer::timeout, this, &StabilityWatch::slice);
}

StabilityWatch::~StabilityWatch() = default;

std::uint64_t StabilityWatch::cellLimit(const Rule &rule)
{
    return StateStabilisation::follows(rule) ? StateStabilisation::CellLimit : CellLimit;
}

void StabilityWatch::restart(const Universe &universe, std::int64_t generation)
{
    const bool was = stabilisation || states;
    timer->stop();
    stabilisation.reset();
    states.reset();
    firstGeneration = target = generation;
    if (universe.topology() == Topology::unbounded()) {
        try {
            const bool small = universe.population() <= cellLimit(universe.rule());
            if (small && StateStabilisation::follows(universe.rule()))
                states.emplace(StatedCellList::of(universe), universe.rule(), generation);
            else if (small)
                stabilisation.emplace(
                    CellList::differences(universe), universe.rule(), generation, universe.backgroundAlive());
        } catch (const UniverseError &) {
            stabilisation.reset();
            states.reset();
        }
    }
    if (was || stabilisation || states)
        emit changed();
}

void StabilityWatch::follow(std::int64_t generation)
{
    target = std::max(target, generation);
    if ((stabilisation || states) && !timer->isActive())
        timer->start();
}

const Stabilisation::Result *StabilityWatch::result() const
{
    return stabilisation ? &stabilisation->result() : states ? &states->result() : nullptr;
}

void StabilityWatch::slice()
{
    const Stabilisation::Result *found = result();
    if (!found)
        return;
    // A census of many states steps squares of the store a run's jump steps
    // in: it goes on between jumps rather than interrupt one.
    if (states && EngineGate::jumping()) {
        timer->start();
        return;
    }
    if (states)
        EngineGate::hold();
    const std::int64_t end = std::min(target, firstGeneration + GenerationLimit);
    const Stabilisation::Outcome before = found->outcome;
    try {
        if (!(stabilisation ? work(*stabilisation, end) : work(*states, end)))
            return stop();
    } catch (const UniverseError &) {
        return stop();
    }
    if (found->outcome != before)
        emit changed();
    if (found->outcome == Stabilisation::Outcome::Running && found->lastGeneration < end)
        timer->start();
}

template <class Census> bool StabilityWatch::work(Census &census, std::int64_t end)
{
    // Generations looked at between two readings of the clock: one at a time
    // under a Generations rule, whose generations cost more.
    constexpr bool states = std::is_same_v<Census, StateStabilisation>;
    constexpr std::int64_t Step = states ? 1 : 16;
    QElapsedTimer clock;
    clock.start();
    while (!census.isSettled() && census.result().lastGeneration < end && !clock.hasExpired(SliceTime))
        census.advance(std::min(Step, end - census.result().lastGeneration));
    if (!census.isSettled() && census.result().lastGeneration >= firstGeneration + GenerationLimit)
        census.run(GenerationLimit);
    return census.isSettled() || census.population() <= (states ? StateStabilisation::CellLimit : CellLimit);
}

void StabilityWatch::stop()
{
    stabilisation.reset();
    states.reset();
    emit changed();
}
