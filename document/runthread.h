#ifndef RUNTHREAD_H
#define RUNTHREAD_H

#include <QObject>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

class Universe;

// Makes the jumps of a run on a thread of its own, so that the window goes
// on drawing and answering while one computes: a copy of the universe steps
// there and comes back at the generation asked for, and a jump given up is
// thrown away, so that the document's own universe is always at a finished
// generation. In the unbounded plane it steps through the EngineGate, giving
// way to the window whenever it holds, and hands back with each jump a copy
// of its cells the window can read while the next one steps (viewCopy()),
// so that the window need not hold. One jump at a time.
class RunThread : public QObject
{
    Q_OBJECT

public:
    explicit RunThread(QObject *parent = nullptr);
    // Gives up the jump in flight, if any, and ends the thread.
    ~RunThread() override;

    // Steps `universe` by `generations` there; finished() tells when. The
    // universe must not be the classic field's live one. Precondition: !isBusy().
    void start(std::unique_ptr<Universe> universe, std::uint64_t generations);
    // A jump started and neither taken nor cancelled.
    bool isBusy() const { return busy; }
    // Gives up the jump in flight, if any; returns at once.
    void cancel();
    // After finished(): the universe stepped, or null with the reason in `problem`.
    std::unique_ptr<Universe> take(QString &problem);
    // After finished(): viewCopy() of the universe stepped, made on the run's thread.
    std::unique_ptr<Universe> takeViewCopy();

    // Live cells up to which viewCopy() copies.
    static constexpr std::uint64_t ViewCopyLimit = std::uint64_t(1) << 21;
    // A copy of `universe` that shares no store with a run's thread, so that
    // the window's thread may read it while a jump steps: the same cells held
    // in tiles. Null for a universe that shares no store, one beyond the
    // plane's coordinates the tiles take, or one of more than ViewCopyLimit
    // live cells. Reads the store: only where `universe` may be read.
    static std::unique_ptr<Universe> viewCopy(const Universe &universe);

signals:
    // The jump started last is done: take() has its universe.
    void finished();

private:
    void work();
    // Whether the jump numbered `jump` still counts.
    bool wanted(std::uint64_t jump);
    // Steps `universe` unless `interrupt` is raised first: then false, the universe unchanged.
    static bool step(Universe &universe, std::uint64_t generations, std::atomic<bool> &interrupt);
    // On the window's thread: the jump numbered `jump` has finished.
    void deliver(std::uint64_t jump);

    std::mutex mutex; // guards the members up to `outcome`
    std::condition_variable wake;
    std::unique_ptr<Universe> incoming; // the jump to make, until the thread takes it
    std::uint64_t generations = 0;
    std::uint64_t jumps = 0; // jumps started or cancelled: a jump's number, compared with it, tells if it still counts
    std::unique_ptr<Universe> outgoing; // the jump made, until taken
    std::unique_ptr<Universe> outgoingCopy; // its viewCopy(), until taken
    QString outcome; // why the jump failed, with a null `outgoing`
    std::unique_ptr<Universe> working; // the thread's own: the jump in progress
    std::atomic<bool> interrupt { false }; // raised by a hold or a cancel
    std::atomic<bool> quitting { false };
    bool busy = false; // the window's thread's alone
    std::thread thread; // started last, ended first
};

#endif // RUNTHREAD_H
