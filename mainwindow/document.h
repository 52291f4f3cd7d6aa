#ifndef DOCUMENT_H
#define DOCUMENT_H

#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "export/fieldexport.h"
#include "mainwindow/fieldcommand.h"
#include "mainwindow/patternfile.h"
#include "model/analysis/runhistory.h"
#include "model/engine/gamefield.h"
#include "model/engine/rule.h"

class QUndoStack;

// What the window shows and works on, apart from the window: the field, its
// generation and saved state, its rule, the run history that tells where it
// is going, the name and comments of the file it came from, and the undo
// stack. Each user operation is one method here, so that the buttons, menus,
// keys and tests all reach the same code; the window builds the widgets, asks
// the questions (files, numbers, the editor) and follows the signals below.
//
// It is either idle or running (Play to Pause or Stop, the window's timer
// calling tick()). While running, every operation that would change the field
// is ignored, apart from Pause and Stop.
//
// Every operation that changes the field, its generation, rule or saved state
// is one undo step; a whole run from Play to Pause or Stop is one as well.
class Document : public QObject
{
    Q_OBJECT

public:
    // Computes ahead without painting: steps `field`, the field of
    // history.lastGeneration(), under the history's rule, recording every
    // generation in `history`; `generations` of them, or, if `untilSettled`,
    // until the history settles, `generations` at most. `step` names the
    // operation. Returns false if the user cancelled; `field` and `history`
    // then hold a partial run, which the document throws away.
    using Forward = std::function<bool(
        const QString &step, PackedField &field, RunHistory &history, int generations, bool untilSettled)>;

    explicit Document(QObject *parent = nullptr);
    ~Document() override;

    // The field, owned by the document, for the view to draw; valid while the document lives.
    GameField *field() { return gameField; }
    int generation() const { return generationNumber; } // 1 or more
    int cellCount() const { return liveCells; } // 0..GameField::CellCount
    const Rule &rule() const { return gameField->rule(); }
    // From the last field set by hand up to the field shown.
    const RunHistory &history() const { return runHistory; }
    bool isRunning() const { return running; }

    // The generations Run until settled looks at, 1..RunHistory::GenerationLimit.
    int generationLimit() const { return limit; }
    void setGenerationLimit(int generations);
    // Whether a run pauses by itself once it has settled.
    void setPauseWhenSettled(bool pause) { pauseWhenSettled = pause; }

    // Reads a pattern file and puts it centred on an otherwise dead field,
    // which also becomes the saved state, at generation 1, under `rule` if
    // given, else the rule the file names, else the rule as it is. Returns why
    // the file could not be read, and then changes nothing.
    QString openPattern(const QString &path, const std::optional<Rule> &rule = std::nullopt);
    // Writes the field to `path` in `format`, with the name and comments of
    // the file it came from; the file is replaced only whole. Returns why it failed.
    QString savePattern(const QString &path, PatternFile::Format format);
    // The live cells as RLE text with the rule, as patterns are posted; empty without live cells.
    QString copyText();
    // Adds a pattern written as text to the field, under the rule it names.
    // Returns why the text is no pattern, and then changes nothing.
    QString pasteText(const QString &text);

    void clear();
    void randomize();
    void next();
    // Play, Pause and Stop; tick() computes the next generation of a run.
    void play();
    void pause();
    void stop();
    void tick();
    void saveState();

    // The field's cells, row-major, for the field editor, and the cells it
    // gives back (GameField::CellCount of them) as one step.
    std::vector<GameField::Cell> editorCells();
    void applyEdit(const std::vector<GameField::Cell> &cells);
    // A cell drawn by a stroke (row and column 1..FieldSize); the stroke
    // becomes one step once finished, by the view or by any other operation.
    void drawCell(int row, int column, bool alive);
    void finishStroke();

    // Makes the rule `spelled` as Rule::read() takes it the field's, as a
    // step. Returns why it is no rule, and then changes nothing.
    QString setRule(const QString &spelled);
    // The rule to start with, before anything is done; not a step.
    void setStartRule(const Rule &rule);

    // Computes on until the run settles or reaches the generation limit, as one step.
    void runUntilSettled(const Forward &forward);
    // The highest generation Go to generation can reach from here; below the
    // current one when there is none.
    int lastReachableGeneration() const;
    // Computes on to `target` (current generation + 1..lastReachableGeneration()) as one step.
    void goToGeneration(int target, const Forward &forward);

    // The state line: where the run from the last field set by hand is going.
    QString stateText() const;

    bool canUndo() const;
    bool canRedo() const;
    QString undoText() const;
    QString redoText() const;
    void undo();
    void redo();

    // The cells as they are, for a picture; valid until the next change.
    GameField::Cell **pictureCells() { return gameField->snapshot(); }
    // The field and its next generations, computed on a copy: the document stays as it is.
    FieldExport::FrameSource animationFrames() const;

signals:
    // The generation or the count of live cells changed; `cells`: the cells
    // themselves too, so that the field must be drawn again.
    void fieldChanged(bool cells);
    // The run history changed: the fate, or a generation more.
    void historyChanged();
    void ruleChanged();
    // The steps that can be undone or redone, or their names.
    void undoChanged();
    void runningChanged(bool running);
    // The stroke being drawn has become a step: the view must start a new one.
    void strokeEnded();

private:
    void resetHistory();
    // Adds the field as it is, one generation on, to the run history; pauses
    // a run that has just settled if asked to.
    void extendHistory();
    // The field changed in a way not computed from the last: counts it, starts the history anew.
    void fieldSet();
    void applyRule(const Rule &rule);
    void fastForward(const QString &step, int generations, bool untilSettled, const Forward &forward);
    // The field as it is now; with the saved state only if `withSaved`.
    FieldCommand::State currentState(bool withSaved);
    // Puts a state back: field, generation, saved state if it has one, rule, name and comments.
    void applyState(const FieldCommand::State &state);
    // Puts the step from `before` to now on the undo stack, if it changed anything.
    void recordStep(const QString &text, const FieldCommand::State &before);

    GameField *gameField; // owned
    QUndoStack *undoStack; // owned, also a child of this document
    RunHistory runHistory;
    int generationNumber = 1;
    int liveCells = 0;
    // The name and comments of the last opened file, while the field comes from it.
    std::string patternName;
    std::vector<std::string> patternComments;
    bool running = false;
    bool pauseWhenSettled = false;
    int limit = RunHistory::GenerationLimit;
    std::optional<FieldCommand::State> runStart; // the field when Play was pressed, while running
    std::optional<FieldCommand::State> strokeStart; // the field before the stroke being drawn
};

#endif // DOCUMENT_H
