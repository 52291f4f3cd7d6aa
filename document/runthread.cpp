#include "document/runthread.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <new>
#include <optional>
#include <utility>
#include <vector>

#include "document/enginegate.h"
#include "model/engine/backgrounduniverse.h"
#include "model/engine/griduniverse.h"
#include "model/engine/tilelife.h"
#include "model/engine/unboundeduniverse.h"
#include "model/engine/universe.h"

RunThread::RunThread(QObject *parent)
    : QObject(parent)
    , thread([this] { work(); })
{
}

RunThread::~RunThread()
{
    {
        const std::lock_guard<std::mutex> lock(mutex);
        quitting = true;
        interrupt = true;
        wake.notify_all();
    }
    EngineGate::wake();
    thread.join();
    // What is left is destroyed here, where nothing else steps.
    const EngineGate::Scope scope;
    if (incoming)
        EngineGate::removeJump();
    working.reset();
    incoming.reset();
    outgoing.reset();
    outgoingCopy.reset();
    progress = Progress();
    outgoingHistory.reset();
    picture.reset();
    discarded.clear();
}

void RunThread::start(std::unique_ptr<Universe> universe, std::uint64_t generations)
{
    start(std::make_unique<RunJump>(std::move(universe), generations));
}

void RunThread::start(std::shared_ptr<const Universe> source, std::uint64_t generations)
{
    start(std::make_unique<RunJump>(std::move(source), generations));
}

void RunThread::start(std::unique_ptr<RunJump> job)
{
    busy = true;
    pictureWanted = false;
    pausesAsked = 0;
    jumpClock.start();
    EngineGate::addJump();
    const std::lock_guard<std::mutex> lock(mutex);
    ++jumps;
    incoming = std::move(job);
    picture.reset();
    wake.notify_all();
}

void RunThread::cancel()
{
    if (!busy)
        return;
    busy = false;
    std::unique_ptr<RunJump> dropped;
    Progress droppedProgress;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        ++jumps;
        interrupt = true;
        // A jump not yet taken up, or made and not yet taken, counts no more.
        if (incoming) {
            dropped = std::move(incoming);
            EngineGate::removeJump();
        } else {
            dropped = std::move(outgoing);
            outgoingCopy.reset();
            outgoingSpare.reset();
            outgoingCounts.reset();
        }
        droppedProgress = std::move(progress);
        picture.reset();
    }
    EngineGate::hold();
    dropped.reset();
    droppedProgress = Progress();
}

std::unique_ptr<Universe> RunThread::take(QString &problem)
{
    std::unique_ptr<RunJump> job;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        problem = outcome;
        job = std::move(outgoing);
    }
    if (!job)
        return nullptr;
    if (job->isAhead())
        outgoingHistory = job->takeHistory();
    return job->takeUniverse();
}

RunHistory RunThread::takeHistory()
{
    RunHistory history = std::move(*outgoingHistory);
    outgoingHistory.reset();
    return history;
}

RunThread::Progress RunThread::takeProgress()
{
    const std::lock_guard<std::mutex> lock(mutex);
    progressPosted = false;
    return std::move(progress);
}

std::unique_ptr<Universe> RunThread::takeViewCopy()
{
    const std::lock_guard<std::mutex> lock(mutex);
    return std::move(outgoingCopy);
}

std::shared_ptr<const Universe> RunThread::takeSpare()
{
    const std::lock_guard<std::mutex> lock(mutex);
    return std::move(outgoingSpare);
}

std::optional<RunHistory::Counts> RunThread::takeCounts()
{
    const std::lock_guard<std::mutex> lock(mutex);
    std::optional<RunHistory::Counts> counts = outgoingCounts;
    outgoingCounts.reset();
    return counts;
}

void RunThread::discard(std::unique_ptr<Universe> universe)
{
    const std::lock_guard<std::mutex> lock(mutex);
    discarded.push_back(std::move(universe));
}

void RunThread::clearDiscarded()
{
    std::vector<std::unique_ptr<Universe>> dropped;
    const std::lock_guard<std::mutex> lock(mutex);
    dropped.swap(discarded);
}

void RunThread::setViewArea(const ViewPicture::Area &area)
{
    const std::lock_guard<std::mutex> lock(mutex);
    viewArea = area;
}

void RunThread::requestPicture()
{
    if (!busy)
        return;
    pictureWanted = true;
    if (pausing)
        return;
    pausing = true;
    const qint64 due = std::clamp<qint64>(lastJumpMs, PictureWait, PictureWaitLimit) << std::min(pausesAsked, 20);
    QTimer::singleShot(static_cast<int>(std::clamp<qint64>(due - jumpClock.elapsed(), 0, INT_MAX)), this, [this] {
        pausing = false;
        // The run's thread makes the picture as soon as it is inside the gate with the jump not yet made.
        if (busy && pictureWanted.load()) {
            ++pausesAsked;
            pauseRaised = true;
            interrupt = true;
        }
    });
}

std::unique_ptr<Universe> RunThread::takePicture()
{
    const std::lock_guard<std::mutex> lock(mutex);
    return std::move(picture);
}

void RunThread::deliverPicture(std::uint64_t jump)
{
    {
        const std::lock_guard<std::mutex> lock(mutex);
        if (jump != jumps)
            return;
    }
    emit pictureMade();
}

void RunThread::summariseLater(std::shared_ptr<const Universe> universe, const Rule &rule)
{
    if (!dynamic_cast<const GridUniverse *>(universe.get()))
        return;
    // A clone made for an earlier run serves again, or goes before the next is made rather than after.
    std::unique_ptr<Universe> dropped;
    const std::lock_guard<std::mutex> lock(mutex);
    if (universe->rule() != rule) {
        if (converted && convertedFrom == universe && converted->rule() == rule)
            return;
        convertedFrom.reset();
        dropped = std::move(converted);
    }
    unsummarised.emplace_back(std::move(universe), rule);
    wake.notify_all();
}

std::unique_ptr<Universe> RunThread::takeUnderRule(const std::shared_ptr<const Universe> &universe, const Rule &rule)
{
    std::shared_ptr<const Universe> from;
    std::unique_ptr<Universe> clone;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        from = std::move(convertedFrom);
        clone = std::move(converted);
    }
    if (clone && from == universe && clone->rule() == rule)
        return clone;
    return nullptr;
}

void RunThread::summarise()
{
    std::vector<std::pair<std::shared_ptr<const Universe>, Rule>> universes;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        universes.swap(unsummarised);
    }
    for (const auto &[universe, rule] : universes) {
        if (universe->rule() == rule) {
            static_cast<const GridUniverse &>(*universe).summarise();
            continue;
        }
        // Without the memory for the clone, the window's thread makes it when it needs it.
        try {
            std::unique_ptr<Universe> clone = universe->clone();
            BackgroundUniverse::applyRule(clone, rule);
            if (const auto *grid = dynamic_cast<const GridUniverse *>(clone.get()))
                grid->summarise();
            const std::lock_guard<std::mutex> lock(mutex);
            convertedFrom = universe;
            converted = std::move(clone);
        } catch (const UniverseError &) {
        } catch (const std::bad_alloc &) {
        }
    }
}

RunThread::ViewSource RunThread::sourceForView(const Universe &universe)
{
    std::optional<ViewPicture::Area> area;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        area = viewArea;
    }
    return viewSource(universe, area);
}

std::unique_ptr<Universe> RunThread::viewCopy(const Universe &universe, const std::optional<ViewPicture::Area> &view)
{
    return viewSource(universe, view).finish();
}

RunThread::ViewSource RunThread::viewSource(const Universe &universe, const std::optional<ViewPicture::Area> &view)
{
    ViewSource source;
    if (universe.topology() != Topology::unbounded())
        return source;
    try {
        // The tiles hold two states: a copy of other rules' cells would lose theirs.
        if (dynamic_cast<const UnboundedUniverse *>(&universe) && universe.rule().isLifeLike()
            && universe.population() <= ViewCopyLimit) {
            source.tiles = universe.rule();
            if (const std::optional<CellRect> box = universe.boundingBox()) {
                source.cells.reserve(static_cast<std::size_t>(universe.population()));
                universe.forEachLiveCell(*box, [&source](std::int64_t x, std::int64_t y) {
                    source.cells.push_back({ x, y });
                });
            }
        } else if (view) {
            source.picture = ViewPicture::of(universe, *view);
        }
    } catch (const UniverseError &) {
        source = ViewSource();
    } catch (const std::bad_alloc &) {
        source = ViewSource();
    }
    return source;
}

std::unique_ptr<Universe> RunThread::ViewSource::finish()
{
    if (!tiles)
        return std::move(picture);
    try {
        auto copy = std::make_unique<TileLife>(*tiles);
        copy->setCells(cells);
        return copy;
    } catch (const UniverseError &) {
    } catch (const std::bad_alloc &) {
    }
    return nullptr;
}

std::shared_ptr<const Universe> RunThread::spareOf(const Universe &universe)
{
    try {
        return universe.clone();
    } catch (const UniverseError &) {
    } catch (const std::bad_alloc &) {
    }
    return nullptr;
}

void RunThread::work()
{
    for (;;) {
        std::uint64_t jump = 0;
        {
            std::unique_lock<std::mutex> lock(mutex);
            wake.wait(lock, [this] { return quitting || incoming || !unsummarised.empty(); });
            if (quitting)
                return;
            if (!incoming) {
                lock.unlock();
                summarise();
                continue;
            }
            jump = jumps;
            working = std::move(incoming);
            // Raised by the last cancel; a hold raises it again for the plane.
            interrupt = false;
            pauseRaised = false;
        }
        // Only the unbounded plane shares a store with the window's thread.
        const bool gated = working->topology() == Topology::unbounded();
        if (!gated)
            summarise();
        // Round and round: a hold sends the jump out unchanged, to start again,
        // with what HashLife computed remembered, once the hold ends.
        bool handedOut = false;
        while (wanted(jump)) {
            if (gated && !EngineGate::enter(interrupt, quitting))
                break;
            if (!wanted(jump)) { // cancelled before it was let in
                if (gated)
                    EngineGate::leave(interrupt);
                break;
            }
            clearDiscarded();
            // A tick's universe keeps the cells of the last finished
            // generation until the jump is made whole: a picture of them is
            // made between two pieces of the jump.
            if (gated && !working->isAhead() && pictureWanted.exchange(false)) {
                pauseRaised = false;
                ViewSource midway = sourceForView(working->universe());
                EngineGate::leave(interrupt);
                std::unique_ptr<Universe> made = midway.finish();
                const std::lock_guard<std::mutex> lock(mutex);
                if (made && jump == jumps) {
                    picture = std::move(made);
                    QMetaObject::invokeMethod(
                        this, [this, jump] { deliverPicture(jump); }, Qt::QueuedConnection);
                }
                continue;
            }
            bool done = false;
            QString problem;
            ViewSource view;
            std::optional<Progress> progressed;
            std::shared_ptr<const Universe> spare;
            std::optional<RunHistory::Counts> counts;
            try {
                done = working->work(interrupt, PublishInterval);
                // Read from the store while this thread may; the tiles are
                // filled once out of the gate, which a hold need not wait for.
                if (done && gated) {
                    view = sourceForView(working->universe());
                } else if (done && !working->isAhead()) {
                    spare = spareOf(working->universe());
                    // What the window reads of a grid is worked out here, shared by the clones it gets.
                    if (const auto *grid = dynamic_cast<const GridUniverse *>(&working->universe()))
                        grid->summarise();
                    if (working->topology().isBounded())
                        counts = RunHistory::Counts { working->universe().population(), working->universe().hash() };
                } else if (!done && working->isAhead() && !interrupt.load()) {
                    progressed = progressOf(*working);
                    view = sourceForView(*progressed->universe);
                }
            } catch (const UniverseError &error) {
                problem = QString::fromStdString(error.what());
                working.reset();
                done = true;
            } catch (const std::bad_alloc &) {
                problem = QCoreApplication::translate("MainWindow", "There is not enough memory for this universe.");
                working.reset();
                done = true;
            }
            if (!done && interrupt.load() && wanted(jump))
                ++(pauseRaised.exchange(false) ? paused : interrupted);
            if (gated)
                EngineGate::leave(interrupt);
            std::unique_ptr<Universe> copy = view.finish();
            if (progressed) {
                progressed->view = std::move(copy);
                publish(jump, std::move(*progressed));
            }
            if (done) {
                const std::lock_guard<std::mutex> lock(mutex);
                if (jump == jumps) {
                    outgoing = std::move(working);
                    outgoingCopy = std::move(copy);
                    outgoingSpare = std::move(spare);
                    outgoingCounts = counts;
                    outcome = problem;
                    handedOut = true;
                    QMetaObject::invokeMethod(
                        this, [this, jump] { deliver(jump); }, Qt::QueuedConnection);
                }
                break;
            }
        }
        if (!handedOut && !gated) {
            // Shares no store with the window's thread: freed here, the
            // window's thread spared the cost of a large one.
            working.reset();
        } else if (!handedOut && working && !quitting) {
            // Given up: destroyed on the window's thread, so that this one
            // never touches the store again for a jump that no longer counts;
            // when quitting, the destructor takes it.
            std::shared_ptr<RunJump> dropped(working.release());
            QMetaObject::invokeMethod(
                this,
                [dropped]() mutable {
                    EngineGate::hold();
                    dropped.reset();
                },
                Qt::QueuedConnection);
        }
        EngineGate::removeJump();
    }
}

bool RunThread::wanted(std::uint64_t jump)
{
    const std::lock_guard<std::mutex> lock(mutex);
    return jump == jumps && !quitting;
}

RunThread::Progress RunThread::progressOf(const RunJump &job)
{
    Progress next;
    // The view is made of the copy, which becomes the document's universe:
    // what a picture cannot answer is read there.
    next.universe = job.universe().clone();
    next.computed = job.computed();
    next.share = job.share();
    try {
        next.population = job.universe().backgroundAlive() ? UINT64_MAX : job.universe().population();
    } catch (const UniverseError &) {
        next.population = UINT64_MAX;
    }
    return next;
}

void RunThread::publish(std::uint64_t jump, Progress next)
{
    const std::lock_guard<std::mutex> lock(mutex);
    // Out of the gate: the universes that share the store are destroyed where it may be touched.
    if (jump != jumps) {
        discarded.push_back(std::move(next.universe));
        return;
    }
    if (progress.universe)
        discarded.push_back(std::move(progress.universe));
    progress = std::move(next);
    if (!progressPosted) {
        progressPosted = true;
        QMetaObject::invokeMethod(
            this, [this, jump] { deliverProgress(jump); }, Qt::QueuedConnection);
    }
}

void RunThread::deliverProgress(std::uint64_t jump)
{
    {
        const std::lock_guard<std::mutex> lock(mutex);
        if (jump != jumps)
            return;
    }
    emit progressed();
}

void RunThread::deliver(std::uint64_t jump)
{
    {
        const std::lock_guard<std::mutex> lock(mutex);
        if (jump != jumps)
            return;
    }
    busy = false;
    lastJumpMs = jumpClock.elapsed();
    emit finished();
}
