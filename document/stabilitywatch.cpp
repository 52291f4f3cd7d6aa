#include "document/stabilitywatch.h"

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>

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

void StabilityWatch::restart(const Universe &universe, std::int64_t generation)
{
    const bool was = stabilisation.has_value();
    timer->stop();
    stabilisation.reset();
    firstGeneration = target = generation;
    // The census follows two states, the cells that differ from the background.
    if (universe.topology() == Topology::unbounded() && universe.rule().stateCount() <= 2) {
        try {
            if (universe.population() <= CellLimit)
                stabilisation.emplace(
                    CellList::differences(universe), universe.rule(), generation, universe.backgroundAlive());
        } catch (const UniverseError &) {
            stabilisation.reset();
        }
    }
    if (was || stabilisation)
        emit changed();
}

void StabilityWatch::follow(std::int64_t generation)
{
    target = std::max(target, generation);
    if (stabilisation && !timer->isActive())
        timer->start();
}

const Stabilisation::Result *StabilityWatch::result() const
{
    return stabilisation ? &stabilisation->result() : nullptr;
}

void StabilityWatch::slice()
{
    if (!stabilisation)
        return;
    // Generations looked at between two readings of the clock.
    constexpr std::int64_t Step = 16;
    const std::int64_t end = std::min(target, firstGeneration + GenerationLimit);
    const Stabilisation::Outcome before = stabilisation->result().outcome;
    QElapsedTimer clock;
    clock.start();
    try {
        while (
            !stabilisation->isSettled() && stabilisation->result().lastGeneration < end && !clock.hasExpired(SliceTime))
            stabilisation->advance(std::min(Step, end - stabilisation->result().lastGeneration));
        if (!stabilisation->isSettled() && stabilisation->result().lastGeneration >= firstGeneration + GenerationLimit)
            stabilisation->run(GenerationLimit);
        if (!stabilisation->isSettled() && stabilisation->population() > CellLimit)
            return stop();
    } catch (const UniverseError &) {
        return stop();
    }
    if (stabilisation->result().outcome != before)
        emit changed();
    if (stabilisation->result().outcome == Stabilisation::Outcome::Running
        && stabilisation->result().lastGeneration < end)
        timer->start();
}

void StabilityWatch::stop()
{
    stabilisation.reset();
    emit changed();
}
