#ifndef RUNTHREAD_H
#define RUNTHREAD_H

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "document/runjump.h"
#include "document/viewpicture.h"
#include "model/engine/rule.h"

class Universe;

// Makes the jumps of a run, and the runs ahead of Run until settled and Go to
// generation, on a thread of its own, so that the window goes on drawing and
// answering while one computes: a copy of the universe steps there and comes
// back at the generation asked for, and a jump given up is thrown away, so
// that the document's own universe is always at a finished generation. A run
// ahead shows how far it got every few tens of milliseconds (progressed()).
// In the unbounded plane it steps through the EngineGate, giving way to the
// window whenever it holds, and hands back with each jump a copy of its cells
// or a picture of what the window shows, which the window can read while the
// next one steps (viewCopy()), so that the window need not hold; a view
// moved past the picture during a jump gets a new one of the generation
// before it (requestPicture()). One jump at a time.
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
    // The same for a clone of `source`, made there: see RunJump.
    void start(std::shared_ptr<const Universe> source, std::uint64_t generations);
    // The same for any RunJump, a run ahead among them.
    void start(std::unique_ptr<RunJump> job);
    // A jump started and neither taken nor cancelled.
    bool isBusy() const { return busy; }
    // Gives up the jump in flight, if any; returns at once.
    void cancel();
    // After finished(): the universe stepped, or null with the reason in `problem`.
    std::unique_ptr<Universe> take(QString &problem);
    // After finished(): viewCopy() of the universe stepped, made on the run's thread.
    std::unique_ptr<Universe> takeViewCopy();
    // After finished() of a tick outside the unbounded plane: a clone of the
    // universe stepped, made on the run's thread, for the next tick to start
    // from and an undo step to keep; null if there was no memory for it.
    std::shared_ptr<const Universe> takeSpare();
    // After finished() of a tick of a bounded universe: the population and
    // Universe::hash() of the universe stepped, worked out on the run's thread.
    std::optional<RunHistory::Counts> takeCounts();
    // After finished() of a run ahead: its history, up to the universe take() gives.
    RunHistory takeHistory();

    // How far a run ahead has got: a copy of its universe at a finished
    // generation, its viewCopy(), and its population (UINT64_MAX for too many).
    struct Progress {
        std::unique_ptr<Universe> universe;
        std::unique_ptr<Universe> view;
        std::int64_t computed = 0; // generations past where it started
        std::uint64_t population = 0;
        double share = 0; // of the generations asked for, 0..1
    };
    // After progressed(): the latest Progress; empty when there is none new.
    Progress takeProgress();

    // Milliseconds between the Progress of a run ahead.
    static constexpr int PublishInterval = 40;
    // Milliseconds a jump steps, at least and at most, before it pauses for requestPicture().
    static constexpr int PictureWait = 150;
    static constexpr int PictureWaitLimit = 1000;
    // Live cells up to which viewCopy() copies.
    static constexpr std::uint64_t ViewCopyLimit = std::uint64_t(1) << 21;
    // A copy of `universe` that shares no store with a run's thread, so that
    // the window's thread may read it while a jump steps: the same cells held
    // in tiles; for one beyond the plane's coordinates the tiles take, of
    // more than ViewCopyLimit live cells, of more than two states or with a
    // background that may be born (birth on 0), a ViewPicture of `view` if given. Null for a universe that shares no
    // store, or one neither can copy. Reads the store: only where `universe` may be read.
    static std::unique_ptr<Universe> viewCopy(
        const Universe &universe, const std::optional<ViewPicture::Area> &view = std::nullopt);
    // Destroys `universe`, one that may share the store with the jump in
    // flight, where it may be: on the run's thread between two pieces of a run
    // ahead, or at the next clearDiscarded(). Returns at once.
    void discard(std::unique_ptr<Universe> universe);
    // On the window's thread, with no jump in flight or the gate held:
    // destroys what discard() left.
    void clearDiscarded();
    // The cells the window shows, for the ViewPicture of the copies to come.
    void setViewArea(const ViewPicture::Area &area);
    // On the window's thread, while a tick's jump of the unbounded plane is
    // in flight: the view has moved past what its picture holds. The run's
    // thread makes a picture of the view as it is from the universe it
    // steps, whose cells, unchanged until the jump ends, are those of the
    // last finished generation, and goes on with what HashLife computed
    // remembered. A jump that may soon end, with a picture of its own, is
    // let be: it pauses once it has taken as long as the last one, between
    // PictureWait and PictureWaitLimit milliseconds, and for every further
    // pause twice as long again, so that pauses cost a share of it at most.
    // pictureMade() tells when. Returns at once.
    void requestPicture();
    // After pictureMade(): the picture (or copy of the cells) of the
    // generation before the jump in flight; null when there is none new.
    // Precondition for the picture's reads past what it holds: readFrom()
    // the document's own universe.
    std::unique_ptr<Universe> takePicture();
    // Works out on the run's thread, before its next jump, what counting and
    // drawing will read of `universe`, a grid that may soon be in use again
    // (GridUniverse::summarise()), so that the window's thread need not; any
    // other universe is let go. A grid under another rule than `rule` is
    // cloned and given `rule` (BackgroundUniverse::applyRule()) instead, and
    // the clone summarised and kept for takeUnderRule(). Returns at once.
    void summariseLater(std::shared_ptr<const Universe> universe, const Rule &rule);
    // The clone summariseLater() made of `universe` under `rule`, or null
    // when there is none (yet); either way none is kept any longer.
    std::unique_ptr<Universe> takeUnderRule(const std::shared_ptr<const Universe> &universe, const Rule &rule);
    // Pieces of work thrown away so far because a hold interrupted them, to
    // be made again: a tick's whole jump, or a run ahead's piece in progress.
    std::uint64_t restarts() const { return interrupted.load(); }
    // Pauses of a tick's jump for requestPicture() so far: each goes on
    // with what HashLife had computed, the tiles' part of a race made anew.
    std::uint64_t picturePauses() const { return paused.load(); }

signals:
    // The jump started last is done: take() has its universe.
    void finished();
    // A run ahead has reached a further generation: takeProgress() has it.
    void progressed();
    // The picture requestPicture() asked for is made: takePicture() has it.
    void pictureMade();

private:
    void work();
    // On the run's thread: works out what summariseLater() asked for.
    void summarise();
    // Whether the jump numbered `jump` still counts.
    bool wanted(std::uint64_t jump);
    // A clone of `universe`, or null without the memory for it.
    static std::shared_ptr<const Universe> spareOf(const Universe &universe);
    // What viewCopy() is made of: the live cells for tiles, read where the
    // store may be read, and filled into the tiles by finish() anywhere; or
    // a picture made already.
    struct ViewSource {
        std::optional<Rule> tiles; // the rule of a copy in tiles
        std::vector<CellPoint> cells;
        std::unique_ptr<Universe> picture;
        // The copy, or null without one; never throws.
        std::unique_ptr<Universe> finish();
    };
    static ViewSource viewSource(const Universe &universe, const std::optional<ViewPicture::Area> &view);
    // viewSource() of `universe` for the window's view as it is.
    ViewSource sourceForView(const Universe &universe);
    // On the window's thread: the jump numbered `jump` has finished.
    void deliver(std::uint64_t jump);
    // On the run's thread, where it may read the store: how far `job` has got, without its view.
    static Progress progressOf(const RunJump &job);
    // On the run's thread: hands `next` on, of the jump numbered `jump`.
    void publish(std::uint64_t jump, Progress next);
    // On the window's thread: the jump numbered `jump` has got further.
    void deliverProgress(std::uint64_t jump);
    // On the window's thread: the picture of the jump numbered `jump` is made.
    void deliverPicture(std::uint64_t jump);

    std::mutex mutex; // guards the members up to `outcome`
    std::condition_variable wake;
    std::unique_ptr<RunJump> incoming; // the jump to make, until the thread takes it
    std::uint64_t jumps = 0; // jumps started or cancelled: a jump's number, compared with it, tells if it still counts
    std::unique_ptr<RunJump> outgoing; // the jump made, until taken
    std::unique_ptr<Universe> outgoingCopy; // its viewCopy(), until taken
    std::shared_ptr<const Universe> outgoingSpare; // its clone, until taken
    std::optional<RunHistory::Counts> outgoingCounts; // its counts, until taken
    QString outcome; // why the jump failed, with a null `outgoing`
    std::optional<RunHistory> outgoingHistory; // a run ahead's, from take() until takeHistory()
    Progress progress; // a run ahead's latest, until taken
    bool progressPosted = false; // deliverProgress() is on its way
    std::optional<ViewPicture::Area> viewArea; // what the window shows
    std::unique_ptr<Universe> picture; // the picture requestPicture() asked for, until taken
    std::vector<std::unique_ptr<Universe>> discarded; // to destroy where the store may be touched
    std::vector<std::pair<std::shared_ptr<const Universe>, Rule>> unsummarised; // for summariseLater()
    // For takeUnderRule(): the grid cloned, and its clone under the clone's rule.
    std::shared_ptr<const Universe> convertedFrom;
    std::unique_ptr<Universe> converted;
    std::unique_ptr<RunJump> working; // the thread's own: the jump in progress
    std::atomic<bool> interrupt { false }; // raised by a hold or a cancel
    std::atomic<bool> quitting { false };
    std::atomic<std::uint64_t> interrupted { 0 }; // restarts()
    std::atomic<std::uint64_t> paused { 0 }; // picturePauses()
    std::atomic<bool> pictureWanted { false }; // requestPicture() asked, not yet made
    std::atomic<bool> pauseRaised { false }; // `interrupt` raised for pictureWanted, not yet heeded
    bool busy = false; // the window's thread's alone
    // The window's thread's: a pause for pictureWanted is on its way; the
    // pauses asked for in the jump in flight; since when it is; how long the last one took.
    bool pausing = false;
    int pausesAsked = 0;
    QElapsedTimer jumpClock;
    qint64 lastJumpMs = 0;
    std::thread thread; // started last, ended first
};

#endif // RUNTHREAD_H
