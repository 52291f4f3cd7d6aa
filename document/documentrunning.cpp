#include "document/document.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>
#include <atomic>
#include <climits>
#include <limits>
#include <utility>

#include "document/enginegate.h"
#include "document/runthread.h"
#include "model/engine/backgrounduniverse.h"
#include "model/engine/bitmix.h"
#include "model/engine/unboundeduniverse.h"

// Document's running: Play to Pause or Stop tick by tick, on the run's thread
// outside the classic field, and the jumps ahead of Run until settled and Go
// to generation; the run history and the state line that follow them.

namespace
{

// Cell updates a tick of a bounded universe may take, as a power of two.
constexpr int BoundedTickBudget = 26;
constexpr int MaxBoundedStepExponent = 20;

// A text of the window's, marked for the translators where it is used.
QString translated(const char *source) { return QCoreApplication::translate("MainWindow", source); }

// A number of the state line, with the locale's digit grouping.
QString grouped(std::int64_t number) { return QLocale().toString(static_cast<qlonglong>(number)); }

} // namespace

std::uint64_t Document::historyDigest(const Universe &universe)
{
    if (universe.topology().isBounded())
        return universe.hash();
    if (universe.population() <= Document::CycleSearchLimit)
        return universe.shapeHash();
    // Counted on the run's thread as well.
    static std::atomic<std::uint64_t> crowds { 0 };
    return BitMix::finalise(++crowds) | 1;
}

void Document::setViewArea(const CellRect &cells, int shift)
{
    viewArea = ViewPicture::Area { cells, shift };
    runThread->setViewArea(*viewArea);
    if (!running)
        return;
    // A run that started before the view said what it shows has no picture
    // yet, and one whose jumps take longer than the pauses between inputs
    // would get none: every input would hold, and start, its jump anew.
    startRunView();
    // A view moved past its picture: between jumps, the store free, the new
    // one is made at once; during a tick's jump, the run's thread makes it of
    // the generation before the jump, still the one shown, the old picture
    // drawing what it can meanwhile; during a run ahead, its next progress brings one.
    const auto *picture = dynamic_cast<const ViewPicture *>(runView.get());
    if (!picture || picture->answers(cells, shift)
        || (picture->area().cells == cells && picture->area().shift == shift))
        return;
    if (!runThread->isBusy()) {
        EngineGate::hold();
        runView = RunThread::viewCopy(*other, viewArea);
        emit universeReplaced(false);
    } else if (!ahead) {
        runThread->requestPicture();
    }
}

void Document::pictureMade()
{
    std::unique_ptr<Universe> made = runThread->takePicture();
    if (!made || !running || ahead || !other)
        return;
    if (auto *picture = dynamic_cast<ViewPicture *>(made.get()))
        picture->readFrom(*other);
    runView = std::move(made);
    emit universeReplaced(false);
}

bool Document::isJumping() const { return runThread->isBusy(); }

void Document::setGenerationLimit(std::int64_t generations)
{
    limit = generations;
    emit historyChanged();
}

void Document::setStepExponent(int stepExponent) { exponent = std::clamp(stepExponent, 0, maxStepExponent()); }

int Document::maxStepExponent() const
{
    const Topology shape = topology();
    if (shape == Topology::unbounded())
        return MaxUnboundedStepExponent;
    // A strip steps as a grid of its width across and some thousand cells along.
    constexpr std::int64_t StripLength = 4096;
    const std::int64_t cells = shape.isStrip() ? shape.across() * StripLength : shape.width() * shape.height();
    int most = 0;
    while (most < MaxBoundedStepExponent && (cells << (most + 1)) <= (std::int64_t(1) << BoundedTickBudget))
        ++most;
    return most;
}

bool Document::tickIsQuick() const
{
    // Well under a millisecond of the tiles' bit-parallel step, which
    // HashLife's jumps, raced against them, never take much longer than; in
    // the plane no more cells than the tiles take, HashLife's alone beyond.
    constexpr int QuickCellGenerations = 22; // as a power of two
    const Topology shape = topology();
    // Under a live background the cells that differ from it are what steps.
    const std::uint64_t cells = shape.isBounded() ? static_cast<std::uint64_t>(shape.width() * shape.height())
        : universe().backgroundAlive()            ? universe().population()
                                                  : liveCells;
    return cells <= (std::uint64_t(1) << QuickCellGenerations) >> exponent
        && (shape.isBounded() || cells <= UnboundedUniverse::TileLimit);
}

void Document::next()
{
    finishStroke();
    if (running)
        return;
    const FieldCommand::State before = currentState(false);
    if (!other || tickIsQuick()) {
        tick();
        recordStep(translated(QT_TRANSLATE_NOOP("MainWindow", "Next")), before);
        return;
    }
    runStart = before;
    keepRunSnapshot();
    running = true;
    stepping = true;
    runName = translated(QT_TRANSLATE_NOOP("MainWindow", "Next"));
    emit runningChanged(true);
    startRunView();
    launchTick();
}

void Document::play()
{
    finishStroke();
    if (running)
        return;
    runStart = currentState(false);
    keepRunSnapshot();
    running = true;
    runName = translated(QT_TRANSLATE_NOOP("MainWindow", "Run"));
    emit runningChanged(true);
    startRunView();
}

void Document::startRunView()
{
    // Only the unbounded plane shares its store with the run's thread.
    if (!other || runView || other->topology() != Topology::unbounded())
        return;
    EngineGate::hold();
    runView = RunThread::viewCopy(*other, viewArea);
    if (runView)
        emit universeReplaced(false);
}

void Document::keepRunSnapshot()
{
    // The unbounded plane's clones share its store: they are made where the store may be read.
    if (other && other->topology() != Topology::unbounded()) {
        runSnapshot = runStart->universe;
        // What Stop brings back.
        runThread->summariseLater(saved, rule());
    }
}

void Document::endRun()
{
    runThread->cancel();
    EngineGate::hold();
    runThread->clearDiscarded();
    running = false;
    stepping = false;
    ahead = false;
    if (runView) {
        runView.reset();
        emit universeReplaced(false);
    }
    emit runningChanged(false);
}

void Document::pause()
{
    if (!running)
        return;
    endRun();
    // A run ahead leaves its history behind on the run's thread.
    if (runHistory.lastGeneration() != generationNumber)
        resetHistory();
    recordStep(runName, *runStart);
    runStart.reset();
    runSnapshot.reset();
}

void Document::cancelAhead()
{
    if (!ahead)
        return;
    endRun();
    install(runStart->universe->clone());
    generationNumber = runStart->generation;
    runStart.reset();
    countCells();
    emit fieldChanged(true);
}

void Document::stop()
{
    finishStroke();
    // A Stop that ends a run belongs to the run's step; a Next or a run ahead given up changed nothing.
    const FieldCommand::State before = running ? *runStart : currentState(false);
    const QString name = running && !stepping && !ahead ? runName : translated(QT_TRANSLATE_NOOP("MainWindow", "Stop"));
    if (running) {
        endRun();
        runStart.reset();
    }
    // The saved cells come back; the rule stays as it is now.
    const Rule now = rule();
    std::unique_ptr<Universe> restored = runThread->takeUnderRule(saved, now);
    if (!restored) {
        restored = saved->clone();
        BackgroundUniverse::applyRule(restored, now);
    }
    install(std::move(restored));
    generationNumber = savedGeneration;
    fieldSet();
    recordStep(name, before);
}

void Document::tick()
{
    // A Next's one tick is all it runs; a run ahead steps on by itself.
    if (!stepping && !ahead)
        launchTick();
}

void Document::launchTick()
{
    if (runThread->isBusy())
        return;
    const std::int64_t step = std::int64_t(1) << exponent;
    QString problem;
    if (generationNumber > std::numeric_limits<std::int64_t>::max() - step) {
        problem = translated(QT_TRANSLATE_NOOP("MainWindow", "The generation cannot go past 2^63 - 1."));
    } else if (running && other) {
        jumpSize = step;
        if (runSnapshot)
            runThread->start(runSnapshot, static_cast<std::uint64_t>(step));
        else
            runThread->start(current().clone(), static_cast<std::uint64_t>(step));
        return;
    } else {
        try {
            current().advance(static_cast<std::uint64_t>(step));
            ticked(step);
            return;
        } catch (const UniverseError &error) {
            problem = QString::fromStdString(error.what());
        }
    }
    pause();
    emit runFailed(problem);
}

void Document::jumped()
{
    if (ahead) {
        aheadFinished();
        return;
    }
    QString problem;
    std::unique_ptr<Universe> next = runThread->take(problem);
    std::unique_ptr<Universe> copy = runThread->takeViewCopy();
    if (!running)
        return;
    if (!next) {
        pause();
        emit runFailed(problem);
        return;
    }
    EngineGate::hold();
    // A large grid is freed on the run's thread.
    if (!copy)
        runThread->discard(std::move(other));
    other = std::move(next);
    runView = std::move(copy);
    runSnapshot = runThread->takeSpare();
    tickCounts = runThread->takeCounts();
    emit universeReplaced(false);
    ticked(jumpSize);
    if (stepping)
        pause();
}

void Document::ticked(std::int64_t step)
{
    generationNumber += step;
    extendHistory();
    emit fieldChanged(true);
}

void Document::runUntilSettled()
{
    finishStroke();
    if (running || runHistory.fate() != RunHistory::Fate::Evolving)
        return;
    runAhead(translated(QT_TRANSLATE_NOOP("MainWindow", "Run until settled")),
        limit - (runHistory.lastGeneration() - runHistory.firstGeneration()), true);
}

std::int64_t Document::lastReachableGeneration() const
{
    const std::int64_t reach = topology() == Topology::classic() ? RunHistory::GenerationLimit
        : topology() != Topology::unbounded()                    ? MaxBoundedJump
                                                                 : MaxUnboundedGeneration;
    const std::int64_t most
        = topology() != Topology::unbounded() ? std::numeric_limits<std::int64_t>::max() : MaxUnboundedGeneration;
    // Classic runs count in int, as they always have.
    const std::int64_t top = topology() == Topology::classic() ? INT_MAX : most;
    return generationNumber > top - reach ? top : generationNumber + reach;
}

void Document::goToGeneration(std::int64_t target)
{
    finishStroke();
    if (running || target <= generationNumber || target > lastReachableGeneration())
        return;
    runAhead(translated(QT_TRANSLATE_NOOP("MainWindow", "Go to generation")), target - generationNumber, false);
}

QString Document::stateText() const
{
    const RunHistory::Fate fate = runHistory.fate();
    // A universe that has had no live cell since it was set: nothing to evolve or die out.
    if ((fate == RunHistory::Fate::Evolving || fate == RunHistory::Fate::DiedOut) && !universe().backgroundAlive()
        && runHistory.population(runHistory.firstGeneration()) == 0
        && runHistory.population(runHistory.lastGeneration()) == 0)
        return translated(QT_TRANSLATE_NOOP("MainWindow", "State: empty"));
    if (fate == RunHistory::Fate::Evolving || fate == RunHistory::Fate::Unsettled) {
        if (const QString stable = stableText(); !stable.isEmpty())
            return stable;
    }
    switch (fate) {
    case RunHistory::Fate::Evolving:
        if (!topology().isBounded() && !universe().backgroundAlive() && liveCells > CycleSearchLimit)
            return translated(QT_TRANSLATE_NOOP("MainWindow", "State: evolving; no cycles looked for above %1 cells"))
                .arg(QLocale().toString(static_cast<qulonglong>(CycleSearchLimit)));
        // The classic field's history looks exactly as far as Run until settled does.
        if (topology() != Topology::classic() || runHistory.lastGeneration() - runHistory.firstGeneration() < limit)
            return translated(QT_TRANSLATE_NOOP("MainWindow", "State: evolving"));
        return translated(QT_TRANSLATE_NOOP("MainWindow", "State: not settled after %1 generations"))
            .arg(grouped(limit));
    case RunHistory::Fate::DiedOut:
        return translated(QT_TRANSLATE_NOOP("MainWindow", "State: died out at generation %1"))
            .arg(grouped(runHistory.cycleStart()));
    case RunHistory::Fate::Still:
        return translated(QT_TRANSLATE_NOOP("MainWindow", "State: still since generation %1"))
            .arg(grouped(runHistory.cycleStart()));
    case RunHistory::Fate::Moving:
        if (runHistory.period() == 1) {
            return translated(
                QT_TRANSLATE_NOOP("MainWindow", "State: moves (%1, %2) every generation since generation %3"))
                .arg(grouped(runHistory.displacement().x), grouped(runHistory.displacement().y),
                    grouped(runHistory.cycleStart()));
        }
        return translated(
            QT_TRANSLATE_NOOP("MainWindow", "State: moves (%1, %2) every %3 generations since generation %4"))
            .arg(grouped(runHistory.displacement().x), grouped(runHistory.displacement().y),
                grouped(runHistory.period()), grouped(runHistory.cycleStart()));
    case RunHistory::Fate::Oscillating:
        return translated(QT_TRANSLATE_NOOP("MainWindow", "State: period %1 since generation %2"))
            .arg(grouped(runHistory.period()), grouped(runHistory.cycleStart()));
    case RunHistory::Fate::Growing:
        return growthText(*runHistory.growth());
    case RunHistory::Fate::Unsettled:
        break;
    }
    return translated(QT_TRANSLATE_NOOP("MainWindow", "State: not settled after %1 generations"))
        .arg(grouped(runHistory.generationLimit()));
}

QString Document::growthText(const Growth::Report &growth)
{
    switch (growth.kind) {
    case Growth::Kind::Gun:
        return translated(QT_TRANSLATE_NOOP("MainWindow", "State: a gun of period %1")).arg(growth.period);
    case Growth::Kind::Puffer:
        return translated(QT_TRANSLATE_NOOP("MainWindow", "State: a puffer of period %1")).arg(growth.period);
    case Growth::Kind::Linear:
        return translated(QT_TRANSLATE_NOOP("MainWindow", "State: grows linearly"));
    case Growth::Kind::Quadratic:
        return translated(QT_TRANSLATE_NOOP("MainWindow", "State: grows quadratically"));
    case Growth::Kind::Faster:
        break;
    }
    return translated(QT_TRANSLATE_NOOP("MainWindow", "State: grows faster than quadratically"));
}

QString Document::stableText() const
{
    const Stabilisation::Result *found = stabilityWatch->result();
    if (found && found->growth
        && (found->growth->kind == Growth::Kind::Gun || found->growth->kind == Growth::Kind::Puffer))
        return growthText(*found->growth);
    if (!found || found->outcome != Stabilisation::Outcome::Stable || found->escapingCount() == 0)
        return QString();
    const std::uint64_t ships = found->escapingCount();
    const bool gliders = std::all_of(found->census.begin(), found->census.end(),
        [](const CensusEntry &entry) { return !entry.escaping || entry.singular == "glider"; });
    const char *text = gliders
        ? (ships == 1 ? QT_TRANSLATE_NOOP("MainWindow", "State: stable since generation %1, one glider escaping")
                      : QT_TRANSLATE_NOOP("MainWindow", "State: stable since generation %1, %2 gliders escaping"))
        : (ships == 1 ? QT_TRANSLATE_NOOP("MainWindow", "State: stable since generation %1, one spaceship escaping")
                      : QT_TRANSLATE_NOOP("MainWindow", "State: stable since generation %1, %2 spaceships escaping"));
    QString line = translated(text).arg(grouped(found->stableSince));
    return ships == 1 ? line : line.arg(QLocale().toString(static_cast<qulonglong>(ships)));
}

void Document::resetHistory()
{
    // Outside the classic field a run may tick 2^maxStepExponent() generations:
    // the history looks as many ticks ahead as the classic field looks generations.
    const std::int64_t lookAhead = topology() == Topology::classic()
        ? RunHistory::GenerationLimit
        : RunHistory::GenerationLimit * (std::int64_t(1) << maxStepExponent());
    if (runHistory.generationLimit() != lookAhead)
        runHistory = RunHistory(lookAhead, RunHistory::CheckpointBudget, historyDigest);
    runHistory.reset(universe(), generationNumber);
    stabilityWatch->restart(universe(), generationNumber);
    emit historyChanged();
}

void Document::extendHistory()
{
    const bool wasSettled = runHistory.isSettled();
    // The universe itself, not a copy for the view: the history keeps
    // checkpoints, and a quadtree's cost a node where the tiles' copy costs every tile.
    EngineGate::hold();
    // A bounded universe's digest is its hash(), which the run's thread may have worked out.
    if (tickCounts && topology().isBounded())
        runHistory.append(inUse(), generationNumber, *tickCounts);
    else
        runHistory.append(inUse(), generationNumber);
    tickCounts.reset();
    // Counted for the history already: no second pass over the cells.
    liveCells = universe().backgroundAlive() ? std::numeric_limits<std::uint64_t>::max()
                                             : runHistory.population(runHistory.lastGeneration());
    stabilityWatch->follow(generationNumber);
    emit historyChanged();
    if (running && !wasSettled && runHistory.isSettled() && pauseWhenSettled)
        pause();
}

void Document::runAhead(const QString &name, std::int64_t generations, bool untilSettled)
{
    if (generations <= 0)
        return;
    runStart = currentState(false);
    if (runHistory.lastGeneration() != generationNumber)
        resetHistory();
    running = true;
    ahead = true;
    runName = name;
    emit runningChanged(true);
    startRunView();
    // Worked out on copies: the document's own history stays as it was until the run ahead finishes.
    runThread->start(std::make_unique<RunJump>(current().clone(), runHistory, generations, untilSettled));
}

void Document::aheadMoved()
{
    RunThread::Progress progress = runThread->takeProgress();
    if (!ahead || !progress.universe)
        return;
    runSnapshot.reset();
    if (other) {
        // Without a hold, which would hold up the run ahead as well.
        runThread->discard(std::move(other));
        other = std::move(progress.universe);
        runView = std::move(progress.view);
        emit universeReplaced(false);
    } else {
        classic->assign(static_cast<const ClassicUniverse &>(*progress.universe));
    }
    generationNumber = runHistory.lastGeneration() + progress.computed;
    liveCells = progress.population;
    emit fieldChanged(true);
    emit aheadProgressed(progress.share);
}

void Document::aheadFinished()
{
    QString problem;
    std::unique_ptr<Universe> reached = runThread->take(problem);
    if (!reached) {
        pause();
        emit runFailed(problem);
        return;
    }
    EngineGate::hold();
    RunHistory history = runThread->takeHistory();
    endRun();
    generationNumber = history.lastGeneration();
    runHistory = std::move(history);
    install(std::move(reached));
    stabilityWatch->follow(generationNumber);
    countCells();
    emit fieldChanged(true);
    emit historyChanged();
    recordStep(runName, *runStart);
    runStart.reset();
}
