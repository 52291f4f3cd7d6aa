#ifndef DOCUMENT_H
#define DOCUMENT_H

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/fieldcommand.h"
#include "document/patternfile.h"
#include "document/stabilitywatch.h"
#include "document/undohistory.h"
#include "document/viewpicture.h"
#include "export/fieldexport.h"
#include "model/analysis/runhistory.h"
#include "model/edit/clip.h"
#include "model/engine/classicuniverse.h"
#include "model/engine/gamefield.h"
#include "model/engine/orientation.h"
#include "model/engine/rule.h"
#include "model/engine/topology.h"
#include "model/engine/universe.h"

class RunThread;

// What the window shows and works on, apart from the window: the universe in
// use, its generation and saved state, its rule, the run history that tells
// where it is going, the name and comments of the file it came from, and the
// undo stack. Each user operation is one method here, so that the buttons,
// menus, keys and tests all reach the same code; the window builds the
// widgets, asks the questions (files, numbers, the editor) and follows the
// signals below.
//
// The classic field is one live ClassicUniverse made once per run (its
// GameField seeds rand() then), kept while another universe is in use and
// taken up again on the way back; every other universe is made by
// Universe::create. The saved state and every undo state are clones.
//
// It is either idle or running (Play to Pause or Stop, the window's timer
// calling tick(), each tick 2^stepExponent() generations). While running,
// every operation that would change the universe is ignored, apart from
// Pause and Stop. The classic field steps at once, on the window's thread;
// every other universe steps a copy on a RunThread, one jump at a time, and
// the universe, its generation, the history and the undo steps change only
// when the copy comes back finished: Pause and Stop give up a jump in flight,
// leaving the universe at the last generation shown.
//
// Run until settled and Go to generation are runs too, of a RunJump on the
// run's thread in every universe, the classic field's as well, which shows
// each generation it reaches as it goes: Pause keeps the last one shown, as
// the step of the operation; cancelAhead() goes back to where it started, and
// Stop to the saved state, neither making a step of the run.
//
// Every operation that changes the universe, its generation, rule or saved
// state is one undo step; a whole run from Play to Pause or Stop is one as well.
class Document : public QObject
{
    Q_OBJECT

public:
    // Live cells of the unbounded plane beyond which a run's cycles are no
    // longer looked for: digesting every cell at every tick would cost more
    // than the tick.
    static constexpr std::uint64_t CycleSearchLimit = std::uint64_t(1) << 18;
    // The highest generation the unbounded plane is taken to.
    static constexpr std::int64_t MaxUnboundedGeneration = 1000000000000000000;
    // Generations Go to generation reaches past the current one in a plane or torus.
    static constexpr std::int64_t MaxBoundedJump = 1000000000;
    // The largest step exponent: a tick of 2^40 generations in the unbounded plane.
    static constexpr int MaxUnboundedStepExponent = 40;

    explicit Document(QObject *parent = nullptr);
    ~Document() override;

    // The universe in use, owned by the document, for the view to draw; valid
    // until universeReplaced() says otherwise. While a run steps the unbounded
    // plane, RunThread::viewCopy(): a copy of its cells, or a ViewPicture of
    // what the view shows, that shares no store with the run's thread, read
    // without waiting for it; else it holds the EngineGate: while a jump is
    // in flight, read it only until the event loop runs again.
    const Universe &universe() const;
    // Holds the EngineGate until the event loop runs again if universe() is
    // one a jump in flight shares the store with: before the view reads it.
    void guardUniverse() const;
    // The cells the window's view shows, at a pixel per 2^shift x 2^shift
    // cells (0..62): while a run steps a universe too large for a copy of its
    // cells, or of more than two states, universe() is a ViewPicture of them.
    void setViewArea(const CellRect &cells, int shift);
    Topology topology() const { return inUse().topology(); }
    // The classic field's GameField while the classic field is in use, else null.
    GameField *classicField();
    std::int64_t generation() const { return generationNumber; } // 1 or more
    // Live cells; UINT64_MAX when too many to count.
    std::uint64_t cellCount() const { return liveCells; }
    const Rule &rule() const { return inUse().rule(); }
    // From the last universe set by hand up to the one shown; the same
    // object for the document's life. It looks for cycles over a million
    // generations in the classic field, a million ticks of the largest step elsewhere.
    const RunHistory &history() const { return runHistory; }
    bool isRunning() const { return running; }
    // A jump of the run computes on the run's thread; the universe is still at the generation before it.
    bool isJumping() const;
    // Next is computing its step on the run's thread: running, until it comes back or is given up.
    bool isStepping() const { return stepping; }
    // Run until settled or Go to generation is computing: running, until it finishes or is ended.
    bool isRunningAhead() const { return ahead; }
    // While running, the name of the step it makes: "Run", "Next", "Run until settled" or "Go to generation".
    const QString &runStep() const { return runName; }
    // The name, author and comment lines (UTF-8) of the file the cells came
    // from, as Pattern holds them; empty for cells made in the window.
    const std::string &name() const { return patternName; }
    const std::string &author() const { return patternAuthor; }
    const std::vector<std::string> &comments() const { return patternComments; }
    // Whether the universe changed since it was last opened or saved, or since the start.
    bool isModified() const;
    // In the unbounded plane, the same run followed until it is stable apart
    // from the spaceships flying away, and what it leaves behind.
    const StabilityWatch &stability() const { return *stabilityWatch; }

    // The generations Run until settled looks at, 1..RunHistory::GenerationLimit.
    std::int64_t generationLimit() const { return limit; }
    void setGenerationLimit(std::int64_t generations);
    // Whether a run pauses by itself once it has settled, or in the unbounded
    // plane once stability() finds it stable.
    void setPauseWhenSettled(bool pause) { pauseWhenSettled = pause; }
    // A tick runs 2^exponent generations, exponent 0..maxStepExponent(),
    // clamped into that range (here and whenever the universe changes).
    int stepExponent() const { return exponent; }
    void setStepExponent(int stepExponent);
    // 40 in the unbounded plane; in a bounded universe as many as keep a tick
    // within about 2^26 cell updates, a generation costing its cells.
    int maxStepExponent() const;

    // Reads a pattern file and puts it on an otherwise dead universe, which
    // also becomes the saved state, at the generation the file gives plus one
    // (Pattern::firstGeneration()), under `rule` if given, else the rule the
    // file names, else the rule as it is. The universe is
    // Pattern::universeFor() the one in use, or `universe` if given: changing
    // it is part of the step. Returns why the file could not be read or
    // placed, and then changes nothing.
    QString openPattern(const QString &path, const std::optional<Rule> &rule = std::nullopt,
        const std::optional<Topology> &universe = std::nullopt);
    // Writes the universe to `path` in `format`, with the name and comments of
    // the file it came from; the file is replaced only whole. Returns why it failed.
    QString savePattern(const QString &path, PatternFile::Format format);
    // The Edit menu's operations on a rectangle of cells, a selection, which
    // may reach past the universe (only its part inside counts); see Editing.
    // Each returns why it was refused, and then changes nothing; each that
    // changes the universe is a step. Copy and cut put the live cells as RLE
    // text with the rule, trimmed to their box, in `text`: those of `area`,
    // or for copy all of them without one; empty without live cells.
    QString copy(const std::optional<CellRect> &area, QString &text);
    QString cut(const CellRect &area, QString &text);
    QString clearInside(const CellRect &area);
    QString clearOutside(const CellRect &area);
    // Each cell of `area` alive with a probability of `percent` (0..100) / 100.
    QString fillRandom(const CellRect &area, double percent);
    // Turns `area` by `orientation` about its centre, or without one the box
    // of the live cells; `area`, if any, becomes the turned rectangle.
    QString turn(std::optional<CellRect> &area, const Orientation &orientation);
    // Reads text as a pattern to paste, with the reader and the limits of
    // Open, into `clip`. Refuses text that is no pattern, an empty one, and
    // one whose live cells the bounded universe in use cannot hold in any
    // orientation: that one is in `clip` all the same, for switchForPaste().
    QString readClip(const QString &text, std::unique_ptr<Clip> &clip) const;
    // Pastes `clip` turned by `orientation` with the top-left cell of its box
    // on `topLeft`, combined as `how` says. The rule stays, but for a paste
    // into a universe without live cells: that takes the clip's rule, if it
    // names one, as Open does. A switch for it is part of its step.
    QString paste(const Clip &clip, const Orientation &orientation, CellPoint topLeft, Universe::Combination how);

    // Live cells that `topology` cannot hold, moved as setTopology() moves them.
    std::uint64_t cellsLostIn(const Topology &topology) const;
    // Moves the live cells and the saved state into an empty universe of
    // `topology`, as a step, each cell keeping its place relative to the
    // centre (see UniverseChange); cells it cannot hold are lost. Returns why it
    // cannot be made (too large, a rule it cannot run), and then changes nothing.
    QString setTopology(const Topology &topology);
    // The same, for a paste still to be placed: the paste that follows makes
    // one step of both; any other operation, or finishStroke(), makes the
    // switch a step of its own.
    QString switchForPaste(const Topology &topology);

    void clear();
    // The classic field anew from rand(), as GameField::randomize() does;
    // elsewhere the cells of `area` that lie in the universe, split into four
    // quadrants each given one of the classic field's densities. Returns why
    // the cells cannot be made (memory), and then changes nothing.
    QString randomize(const CellRect &area);
    // One tick's step, as one undo step. Outside the classic field a step that
    // may take more than about a millisecond computes on the run's thread,
    // as a run of one tick: the document is running until it comes back,
    // and Pause or Stop give it up, leaving the generation as it was.
    void next();
    // Play, Pause and Stop; tick() computes the next step of a run, or
    // starts it on the run's thread, unless a jump is still in flight.
    void play();
    void pause();
    void stop();
    void tick();
    void saveState();

    // The classic field's cells, row-major, for the field editor, and the
    // cells it gives back (GameField::CellCount of them) as one step. Only
    // in the classic field: elsewhere empty, and ignored.
    std::vector<GameField::Cell> editorCells();
    void applyEdit(const std::vector<GameField::Cell> &cells);
    // A cell drawn by a stroke, anywhere in the universe, in `state`; the
    // stroke becomes one step once finished, by the view or by any other
    // operation; a state the rule does not have (one a stroke begun under
    // another rule carries) is ignored.
    void drawCell(std::int64_t x, std::int64_t y, int state);
    // Makes the stroke a step, and before it a switch for a paste that did not follow.
    void finishStroke();

    // Makes the rule `spelled` as Rule::read() takes it the universe's, as a
    // step. Returns why it is no rule or one the universe cannot run, and
    // then changes nothing.
    QString setRule(const QString &spelled);
    // The rule to start with, before anything is done; not a step.
    void setStartRule(const Rule &rule);
    // The universe to start in, empty, before anything is done; not a step.
    // Returns why it cannot be made, and then changes nothing.
    QString setStartUniverse(const Topology &topology);

    // Computes on until the run settles or reaches the generation limit, as
    // one step, on the run's thread (see isRunningAhead()).
    void runUntilSettled();
    // The highest generation Go to generation can reach from here; below the
    // current one when there is none.
    std::int64_t lastReachableGeneration() const;
    // Computes on to `target` (current generation + 1..lastReachableGeneration())
    // as one step, on the run's thread (see isRunningAhead()).
    void goToGeneration(std::int64_t target);
    // Gives up Run until settled or Go to generation, if running, and goes
    // back to the generation it started from; no step.
    void cancelAhead();

    // The state line: where the run from the last universe set by hand is
    // going; in the unbounded plane, once stable with spaceships escaping,
    // "State: stable since generation 1104, 6 gliders escaping".
    QString stateText() const;
    // The Info box's size line: "Field size: 120 * 120" and the like.
    QString sizeText() const;

    bool canUndo() const;
    bool canRedo() const;
    QString undoText() const;
    QString redoText() const;
    void undo();
    void redo();

    // The cells of the classic field as they are, for a picture; valid until
    // the next change. Only in the classic field.
    GameField::Cell **pictureCells();
    // The classic field and its next generations, computed on a copy: the
    // document stays as it is. Only in the classic field.
    FieldExport::FrameSource animationFrames() const;
    // A copy of the universe as it is, for an export that computes on it.
    std::unique_ptr<Universe> snapshot() const { return universe().clone(); }

signals:
    // The generation or the count of live cells changed; `cells`: the cells
    // themselves too, so that the universe must be drawn again.
    void fieldChanged(bool cells);
    // The universe in use is another object now, of the same topology or not:
    // whoever holds universe() must take it anew.
    void universeReplaced(bool topologyChanged);
    // The run history changed: the fate, or a record more; or what stability() found.
    void historyChanged();
    void ruleChanged();
    // The steps that can be undone or redone, or their names.
    void undoChanged();
    void runningChanged(bool running);
    // The stroke being drawn has become a step: the view must start a new one.
    void strokeEnded();
    // Run until settled or Go to generation has reached a further
    // generation, shown now: `share` (0..1) of the generations asked for.
    void aheadProgressed(double share);
    // A run stopped on a limit of the engine (memory, 64 bits); `problem` says which.
    void runFailed(const QString &problem);
    // isModified() changed.
    void modifiedChanged(bool modified);

private:
    // The run history's digest of a universe: the universe's own, moved cells
    // alike in the unbounded plane. Beyond CycleSearchLimit live cells there a
    // digest would cost more than the tick, so each such universe gets one of
    // its own that no other shares: their cycles are not looked for.
    static std::uint64_t historyDigest(const Universe &universe);
    // The universe object in use, for what it holds itself (topology, rule)
    // rather than in the node store: no hold of the EngineGate.
    const Universe &inUse() const;
    // The universe in use, to change, the EngineGate held.
    Universe &current();
    // tick() for a Next as well: starts a jump, or makes the tick at once.
    void launchTick();
    // The jump on the run's thread has come back.
    void jumped();
    // The run ahead on the run's thread has come back finished.
    void aheadFinished();
    // The run ahead on the run's thread shows how far it has got.
    void aheadMoved();
    // The run's thread has made a picture of the view, moved part way through a tick's jump.
    void pictureMade();
    // Whether a tick of the universe as it is costs so few cell generations
    // that the window's thread may make it at once.
    bool tickIsQuick() const;
    // A run outside the classic field starts: the window reads RunThread::viewCopy() from now on.
    void startRunView();
    // A run outside the unbounded plane starts from runStart: runSnapshot is its universe.
    void keepRunSnapshot();
    // Gives up the jump in flight, if any, and ends the run; no step recorded.
    void endRun();
    // Counts a tick of `step` generations: the universe has reached it.
    void ticked(std::int64_t step);
    void resetHistory();
    // Adds the universe as it is, at the current generation, to the run
    // history; pauses a run that has just settled if asked to.
    void extendHistory();
    // The universe changed in a way not computed from the last: counts it, starts the history anew.
    void fieldSet();
    void countCells();
    // The state line once stability() has found the pattern stable with
    // spaceships escaping; empty otherwise.
    QString stableText() const;
    // The state line of a pattern found to grow as `growth` tells.
    static QString growthText(const Growth::Report &growth);
    // Puts `universe` in use: the classic field's cells go into the live one.
    void install(std::unique_ptr<Universe> universe);
    // An empty universe of `topology` under `rule`; the live classic field, cleared, for the classic one.
    std::unique_ptr<Universe> makeUniverse(const Topology &topology, const Rule &rule) const;
    QString applyRule(const Rule &rule);
    // Starts the run ahead of Run until settled (`untilSettled`) or Go to
    // generation: `generations` of them at most, named `step`.
    void runAhead(const QString &step, std::int64_t generations, bool untilSettled);
    // The universe as it is now; with the saved state only if `withSaved`.
    FieldCommand::State currentState(bool withSaved) const;
    // Puts a state back: universe, generation, saved state if it has one, name and comments.
    void applyState(const FieldCommand::State &state);
    // Moves the live cells and the saved state into `topology`, as
    // setTopology() does, but records no step.
    QString moveInto(const Topology &topology);
    // Puts the step from `before` to now on the undo stack, if it changed anything.
    void recordStep(const QString &text, const FieldCommand::State &before);
    // Runs an edit of the universe as the step `text`: nothing while running;
    // `edit` returns false and sets its error to refuse, changing nothing.
    QString editStep(const QString &text, const std::function<bool(Universe &, std::string &)> &edit);

    std::unique_ptr<ClassicUniverse> classic; // the live classic field, made once
    std::unique_ptr<Universe> other; // the universe in use when it is not the classic field
    std::shared_ptr<const Universe> saved; // the saved state, never null
    std::int64_t savedGeneration = 1; // the saved state's, where Stop goes back to
    UndoHistory *undoStack; // owned, also a child of this document
    StabilityWatch *stabilityWatch; // a child of this document
    RunThread *runThread; // owned, also a child of this document
    // While running in the unbounded plane: RunThread::viewCopy() of `other`,
    // or null when it has none.
    std::unique_ptr<Universe> runView;
    // While running outside the unbounded plane, and until Pause records its
    // step: a clone of `other` as it is, made on the run's thread (or the
    // run's start), which the next tick's jump clones there and Pause keeps
    // as the step's state, so that the window's thread copies no large grid
    // while it runs. Null when there is none.
    std::shared_ptr<const Universe> runSnapshot;
    // The counts of the universe a tick's jump has just brought, for extendHistory().
    std::optional<RunHistory::Counts> tickCounts;
    std::optional<ViewPicture::Area> viewArea; // what the window's view shows, once it has said
    RunHistory runHistory;
    std::int64_t generationNumber = 1;
    std::uint64_t liveCells = 0;
    int exponent = 0;
    std::int64_t jumpSize = 0; // generations of the jump in flight on the run's thread
    // The name and comments of the last opened file, while the cells come from it.
    std::string patternName;
    std::string patternAuthor;
    std::vector<std::string> patternComments;
    bool running = false;
    bool stepping = false; // running a Next's one tick
    bool ahead = false; // running Run until settled or Go to generation
    QString runName; // the step a run makes: "Run", "Next" or the run ahead's
    bool pauseWhenSettled = false;
    std::int64_t limit = RunHistory::GenerationLimit;
    std::optional<FieldCommand::State> runStart; // the universe when Play was pressed, while running
    std::optional<FieldCommand::State> strokeStart; // the universe before the stroke being drawn
    std::optional<FieldCommand::State> switchStart; // the universe before a switch for a paste not yet made
};

#endif // DOCUMENT_H
