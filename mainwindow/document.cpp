#include "mainwindow/document.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFileInfo>
#include <QUndoStack>

#include <climits>
#include <string_view>
#include <utility>

#include "model/engine/packedfield.h"
#include "model/files/pattern.h"
#include "model/files/patternreader.h"
#include "model/files/patternwriter.h"

namespace
{

// Steps the history keeps; each holds two or four fields of 1,920 bytes.
constexpr int UndoLimit = 500;

// A text of the window's, marked for the translators where it is used.
QString translated(const char *source) { return QCoreApplication::translate("MainWindow", source); }

} // namespace

Document::Document(QObject *parent)
    : QObject(parent)
    , gameField(new GameField)
    , undoStack(new QUndoStack(this))
{
    undoStack->setUndoLimit(UndoLimit);
    // Pushes are announced by recordStep(): at the undo limit a push leaves the index as it was.
    connect(undoStack, &QUndoStack::indexChanged, this, &Document::undoChanged);
    resetHistory();
}

Document::~Document()
{
    // The steps on the stack point back at this document.
    delete undoStack;
    delete gameField;
}

void Document::setGenerationLimit(int generations)
{
    limit = generations;
    emit historyChanged();
}

QString Document::openPattern(const QString &path, const std::optional<Rule> &rule)
{
    finishStroke();
    if (running)
        return QString();
    Pattern pattern;
    const QString problem = PatternFile::read(path, pattern);
    if (!problem.isEmpty())
        return problem;

    const FieldCommand::State before = currentState(true);
    pattern.placeCentred(gameField->snapshot());
    gameField->commitSnapshot();
    gameField->saveState();
    // A file that names no rule leaves the rule as it is.
    if (rule || pattern.rule)
        applyRule(rule ? *rule : *pattern.rule);
    generationNumber = 1;
    patternName = pattern.name;
    patternComments = pattern.comments;
    fieldSet();
    recordStep(translated(QT_TRANSLATE_NOOP("MainWindow", "Open pattern")), before);
    return QString();
}

QString Document::savePattern(const QString &path, PatternFile::Format format)
{
    // Plaintext always names its pattern: after the file's own name, after the file.
    const std::string name = patternName.empty() && format == PatternFile::Format::Plaintext
        ? QFileInfo(path).completeBaseName().toStdString()
        : patternName;
    return PatternFile::write(path,
        PatternFile::text(format, gameField->snapshot(), generationNumber, gameField->rule(), name, patternComments));
}

QString Document::copyText()
{
    finishStroke();
    if (running || liveCells == 0)
        return QString();
    return QString::fromStdString(PatternWriter::writeRleBox(gameField->snapshot(), gameField->rule()));
}

QString Document::pasteText(const QString &text)
{
    finishStroke();
    if (running)
        return QString();
    const QByteArray bytes = text.toUtf8();
    if (bytes.size() > PatternFile::MaxFileSize)
        return QCoreApplication::translate(
            "MainWindow", "The text is larger than 1 MiB (%1 bytes); patterns are far smaller.")
            .arg(bytes.size());
    Pattern pattern;
    std::string error;
    if (!PatternReader::read(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), pattern, error))
        return QString::fromStdString(error);
    if (!pattern.fits(Topology::classic()))
        return QString::fromStdString(pattern.misfit(Topology::classic()));

    // Added to the field as it is: cells already alive stay alive.
    const FieldCommand::State before = currentState(false);
    const PackedField added = pattern.centred();
    GameField::Cell **cells = gameField->snapshot();
    for (int r = 1; r <= GameField::FieldSize; ++r) {
        for (int c = 1; c <= GameField::FieldSize; ++c) {
            if (added.isAlive(r, c))
                cells[r][c] = 1;
        }
    }
    gameField->commitSnapshot();
    if (pattern.rule)
        applyRule(*pattern.rule);
    fieldSet();
    recordStep(translated(QT_TRANSLATE_NOOP("MainWindow", "Paste pattern")), before);
    return QString();
}

void Document::clear()
{
    finishStroke();
    if (running)
        return;
    const FieldCommand::State before = currentState(false);
    gameField->clear();
    generationNumber = 1;
    patternName.clear();
    patternComments.clear();
    fieldSet();
    recordStep(translated(QT_TRANSLATE_NOOP("MainWindow", "Clear")), before);
}

void Document::randomize()
{
    finishStroke();
    if (running)
        return;
    const FieldCommand::State before = currentState(false);
    gameField->randomize();
    generationNumber = 1;
    patternName.clear();
    patternComments.clear();
    fieldSet();
    recordStep(translated(QT_TRANSLATE_NOOP("MainWindow", "Random")), before);
}

void Document::next()
{
    finishStroke();
    if (running)
        return;
    const FieldCommand::State before = currentState(false);
    tick();
    recordStep(translated(QT_TRANSLATE_NOOP("MainWindow", "Next")), before);
}

void Document::play()
{
    finishStroke();
    if (running)
        return;
    runStart = currentState(false);
    running = true;
    emit runningChanged(true);
}

void Document::pause()
{
    if (!running)
        return;
    running = false;
    emit runningChanged(false);
    recordStep(translated(QT_TRANSLATE_NOOP("MainWindow", "Run")), *runStart);
    runStart.reset();
}

void Document::stop()
{
    finishStroke();
    // A Stop that ends a run belongs to the run's step.
    const FieldCommand::State before = running ? *runStart : currentState(false);
    const QString name = running ? translated(QT_TRANSLATE_NOOP("MainWindow", "Run"))
                                 : translated(QT_TRANSLATE_NOOP("MainWindow", "Stop"));
    if (running) {
        running = false;
        runStart.reset();
        emit runningChanged(false);
    }
    gameField->restoreState();
    generationNumber = 1;
    fieldSet();
    recordStep(name, before);
}

void Document::tick()
{
    gameField->nextGeneration();
    ++generationNumber;
    extendHistory();
    emit fieldChanged(true);
}

void Document::saveState()
{
    finishStroke();
    if (running)
        return;
    const FieldCommand::State before = currentState(true);
    gameField->saveState();
    generationNumber = 1;
    emit fieldChanged(false);
    // The field is generation 1 now: the history's numbers would no longer match.
    resetHistory();
    recordStep(translated(QT_TRANSLATE_NOOP("MainWindow", "Save state")), before);
}

std::vector<GameField::Cell> Document::editorCells()
{
    finishStroke();
    GameField::Cell *const *cells = gameField->snapshot();
    std::vector<GameField::Cell> buffer(GameField::CellCount, 0);
    for (int r = 1; r <= GameField::FieldSize; ++r) {
        for (int c = 1; c <= GameField::FieldSize; ++c)
            buffer[static_cast<std::size_t>((r - 1) * GameField::FieldSize + (c - 1))] = cells[r][c];
    }
    return buffer;
}

void Document::applyEdit(const std::vector<GameField::Cell> &buffer)
{
    if (running || buffer.size() != static_cast<std::size_t>(GameField::CellCount))
        return;
    const FieldCommand::State before = currentState(false);
    GameField::Cell **cells = gameField->snapshot();
    for (int r = 1; r <= GameField::FieldSize; ++r) {
        for (int c = 1; c <= GameField::FieldSize; ++c)
            cells[r][c] = buffer[static_cast<std::size_t>((r - 1) * GameField::FieldSize + (c - 1))];
    }
    gameField->commitSnapshot();
    fieldSet();
    recordStep(translated(QT_TRANSLATE_NOOP("MainWindow", "Edit")), before);
}

void Document::drawCell(int row, int column, bool alive)
{
    if (running || row < 1 || row > GameField::FieldSize || column < 1 || column > GameField::FieldSize)
        return;
    if (!strokeStart)
        strokeStart = currentState(false);
    GameField::Cell **cells = gameField->snapshot();
    cells[row][column] = alive ? 1 : 0;
    gameField->commitSnapshot();
    fieldSet();
}

void Document::finishStroke()
{
    // A whole stroke is one step, however many cells it drew.
    if (!strokeStart)
        return;
    const FieldCommand::State before = *strokeStart;
    strokeStart.reset();
    recordStep(translated(QT_TRANSLATE_NOOP("MainWindow", "Draw")), before);
    emit strokeEnded();
}

QString Document::setRule(const QString &spelled)
{
    finishStroke();
    Rule rule;
    std::string error;
    if (!Rule::read(spelled.toStdString(), rule, error))
        return QString::fromStdString(error);
    if (running || rule == gameField->rule())
        return QString();
    const FieldCommand::State before = currentState(false);
    applyRule(rule);
    resetHistory();
    recordStep(translated(QT_TRANSLATE_NOOP("MainWindow", "Rule")), before);
    return QString();
}

void Document::setStartRule(const Rule &rule)
{
    gameField->setRule(rule);
    resetHistory();
}

void Document::runUntilSettled(const Forward &forward)
{
    finishStroke();
    if (running || runHistory.fate() != RunHistory::Fate::Evolving)
        return;
    fastForward(translated(QT_TRANSLATE_NOOP("MainWindow", "Run until settled")),
        limit - (runHistory.lastGeneration() - runHistory.firstGeneration()), true, forward);
}

int Document::lastReachableGeneration() const
{
    return generationNumber > INT_MAX - RunHistory::GenerationLimit ? INT_MAX
                                                                    : generationNumber + RunHistory::GenerationLimit;
}

void Document::goToGeneration(int target, const Forward &forward)
{
    finishStroke();
    if (running || target <= generationNumber || target > lastReachableGeneration())
        return;
    fastForward(
        translated(QT_TRANSLATE_NOOP("MainWindow", "Go to generation")), target - generationNumber, false, forward);
}

QString Document::stateText() const
{
    const RunHistory::Fate fate = runHistory.fate();
    // A field that has had no live cell since it was set: nothing to evolve or die out.
    if ((fate == RunHistory::Fate::Evolving || fate == RunHistory::Fate::DiedOut)
        && runHistory.population(runHistory.firstGeneration()) == 0
        && runHistory.population(runHistory.lastGeneration()) == 0)
        return translated(QT_TRANSLATE_NOOP("MainWindow", "State: empty"));
    switch (fate) {
    case RunHistory::Fate::Evolving:
        if (runHistory.lastGeneration() - runHistory.firstGeneration() < limit)
            return translated(QT_TRANSLATE_NOOP("MainWindow", "State: evolving"));
        return translated(QT_TRANSLATE_NOOP("MainWindow", "State: not settled after %1 generations")).arg(limit);
    case RunHistory::Fate::DiedOut:
        return translated(QT_TRANSLATE_NOOP("MainWindow", "State: died out at generation %1"))
            .arg(runHistory.cycleStart());
    case RunHistory::Fate::Still:
        return translated(QT_TRANSLATE_NOOP("MainWindow", "State: still since generation %1"))
            .arg(runHistory.cycleStart());
    case RunHistory::Fate::Moving:
    case RunHistory::Fate::Oscillating:
        return translated(QT_TRANSLATE_NOOP("MainWindow", "State: period %1 since generation %2"))
            .arg(runHistory.period())
            .arg(runHistory.cycleStart());
    case RunHistory::Fate::Unsettled:
        break;
    }
    return translated(QT_TRANSLATE_NOOP("MainWindow", "State: not settled after %1 generations"))
        .arg(RunHistory::GenerationLimit);
}

bool Document::canUndo() const { return !running && undoStack->canUndo(); }

bool Document::canRedo() const { return !running && undoStack->canRedo(); }

QString Document::undoText() const { return undoStack->undoText(); }

QString Document::redoText() const { return undoStack->redoText(); }

void Document::undo()
{
    finishStroke();
    if (canUndo())
        undoStack->undo();
}

void Document::redo()
{
    finishStroke();
    if (canRedo())
        undoStack->redo();
}

FieldExport::FrameSource Document::animationFrames() const
{
    PackedField field = PackedField::fromBuffer(gameField->snapshot());
    const Rule rule = gameField->rule();
    return [field, rule](int frame, GameField::Cell **cells) mutable {
        if (frame > 0)
            field = field.next(rule);
        field.toBuffer(cells);
    };
}

void Document::resetHistory()
{
    runHistory.reset(PackedField::fromBuffer(gameField->snapshot()), generationNumber, gameField->rule());
    emit historyChanged();
}

void Document::extendHistory()
{
    const bool wasSettled = runHistory.isSettled();
    runHistory.append(PackedField::fromBuffer(gameField->snapshot()));
    // Counted for the history already: no second pass over the cells.
    liveCells = runHistory.population(runHistory.lastGeneration());
    emit historyChanged();
    if (running && !wasSettled && runHistory.isSettled() && pauseWhenSettled)
        pause();
}

void Document::fieldSet()
{
    liveCells = gameField->liveCellCount();
    emit fieldChanged(true);
    resetHistory();
}

void Document::applyRule(const Rule &rule)
{
    gameField->setRule(rule);
    emit ruleChanged();
}

void Document::fastForward(const QString &name, int generations, bool untilSettled, const Forward &forward)
{
    if (generations <= 0)
        return;
    const FieldCommand::State before = currentState(false);
    if (runHistory.lastGeneration() != generationNumber)
        resetHistory();
    // Worked out on copies: Cancel leaves the field and the history as they were.
    PackedField field = before.cells;
    RunHistory ahead = runHistory;
    if (!forward(name, field, ahead, generations, untilSettled))
        return;
    generationNumber += ahead.lastGeneration() - runHistory.lastGeneration();
    runHistory = std::move(ahead);
    field.toBuffer(gameField->snapshot());
    gameField->commitSnapshot();
    liveCells = gameField->liveCellCount();
    emit fieldChanged(true);
    emit historyChanged();
    recordStep(name, before);
}

FieldCommand::State Document::currentState(bool withSaved)
{
    FieldCommand::State state;
    state.cells = PackedField::fromBuffer(gameField->snapshot());
    state.generation = generationNumber;
    state.rule = gameField->rule();
    state.name = patternName;
    state.comments = patternComments;
    if (withSaved) {
        // The field shows its saved state only by restoring it: read it that
        // way, then put the current cells back.
        gameField->restoreState();
        state.saved = PackedField::fromBuffer(gameField->snapshot());
        state.cells.toBuffer(gameField->snapshot());
        gameField->commitSnapshot();
    }
    return state;
}

void Document::applyState(const FieldCommand::State &state)
{
    if (state.saved) {
        state.saved->toBuffer(gameField->snapshot());
        gameField->commitSnapshot();
        gameField->saveState();
    }
    state.cells.toBuffer(gameField->snapshot());
    gameField->commitSnapshot();
    applyRule(state.rule);
    generationNumber = state.generation;
    patternName = state.name;
    patternComments = state.comments;
    fieldSet();
}

void Document::recordStep(const QString &text, const FieldCommand::State &before)
{
    const FieldCommand::State after = currentState(before.saved.has_value());
    if (after == before)
        return;
    undoStack->push(
        new FieldCommand(text, before, after, [this](const FieldCommand::State &state) { applyState(state); }));
    emit undoChanged();
}
