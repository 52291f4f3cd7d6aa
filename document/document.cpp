#include "document/document.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QRandomGenerator>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <limits>
#include <new>
#include <string_view>
#include <utility>

#include "document/enginegate.h"
#include "document/runthread.h"
#include "model/edit/editing.h"
#include "model/edit/universechange.h"
#include "model/engine/backgrounduniverse.h"
#include "model/engine/unboundeduniverse.h"
#include "model/files/pattern.h"
#include "model/files/patternreader.h"
#include "model/files/patternwriter.h"

namespace
{

// Steps the history keeps; each holds two or four universes, in the classic field of 1,920 bytes.
constexpr std::size_t UndoLimit = 500;
// Cells of the largest area Random fills outside the classic field, 4096 x 4096.
constexpr std::int64_t MaxRandomSide = 4096;
constexpr int MinimumDensityModulus = 3; // the classic field's densities: 1/3..1/9
constexpr int DensityModulusRange = 7;

// A text of the window's, marked for the translators where it is used.
QString translated(const char *source) { return QCoreApplication::translate("MainWindow", source); }

// A number of the state or size line, with the locale's digit grouping.
QString grouped(std::int64_t number) { return QLocale().toString(static_cast<qlonglong>(number)); }

// Whether RLE that PatternWriter::writeRleBox wrote holds a live cell: without one its box is 0 x 0.
bool hasCells(const std::string &rle) { return rle.rfind("x = 0,", 0) != 0; }

} // namespace

Document::Document(QObject *parent)
    : QObject(parent)
    , classic(std::make_unique<ClassicUniverse>())
    , saved(std::make_shared<ClassicUniverse>(PackedField()))
    , undoStack(new UndoHistory(UndoLimit, this))
    , stabilityWatch(new StabilityWatch(this))
    , runThread(new RunThread(this))
    , runHistory(RunHistory::GenerationLimit, RunHistory::CheckpointBudget, historyDigest)
{
    // Pushes are announced by recordStep().
    connect(undoStack, &UndoHistory::indexChanged, this, &Document::undoChanged);
    connect(runThread, &RunThread::finished, this, &Document::jumped);
    connect(runThread, &RunThread::progressed, this, &Document::aheadMoved);
    connect(runThread, &RunThread::pictureMade, this, &Document::pictureMade);
    connect(undoStack, &UndoHistory::cleanChanged, this, [this](bool clean) { emit modifiedChanged(!clean); });
    connect(stabilityWatch, &StabilityWatch::changed, this, [this] {
        const Stabilisation::Result *found = stabilityWatch->result();
        if (running && !ahead && pauseWhenSettled && found && found->outcome == Stabilisation::Outcome::Stable)
            pause();
        emit historyChanged();
    });
    resetHistory();
}

Document::~Document()
{
    // The steps on the stack point back at this document; the run's thread
    // ends before the universes go.
    delete undoStack;
    delete runThread;
}

const Universe &Document::universe() const
{
    if (runView)
        return *runView;
    EngineGate::hold();
    return inUse();
}

void Document::guardUniverse() const
{
    if (!runView)
        EngineGate::hold();
}

const Universe &Document::inUse() const
{
    if (other)
        return *other;
    return *classic;
}

Universe &Document::current()
{
    runSnapshot.reset();
    EngineGate::hold();
    if (other)
        return *other;
    return *classic;
}

bool Document::isModified() const { return !undoStack->isClean(); }

GameField *Document::classicField() { return other ? nullptr : &classic->field(); }

QString Document::openPattern(
    const QString &path, const std::optional<Rule> &rule, const std::optional<Topology> &universeWanted)
{
    finishStroke();
    if (running)
        return QString();
    Pattern pattern;
    const QString problem = PatternFile::readAny(path, pattern);
    if (!problem.isEmpty())
        return problem;
    const Topology target = universeWanted ? *universeWanted : pattern.universeFor(topology());
    if (!pattern.fits(target))
        return QString::fromStdString(pattern.misfit(target));
    // A file that names no rule leaves the rule as it is.
    const Rule chosen = rule ? *rule : pattern.rule ? *pattern.rule : this->rule();
    std::unique_ptr<Universe> opened;
    try {
        opened = Universe::create(target, chosen);
        pattern.placeInto(*opened);
    } catch (const UniverseError &error) {
        return QString::fromStdString(error.what());
    } catch (const std::bad_alloc &) {
        return translated(QT_TRANSLATE_NOOP("MainWindow", "There is not enough memory for this universe."));
    }

    const FieldCommand::State before = currentState(true);
    saved = opened->clone();
    install(std::move(opened));
    generationNumber = pattern.firstGeneration();
    savedGeneration = generationNumber;
    patternName = pattern.name;
    patternAuthor = pattern.author;
    patternComments = pattern.comments;
    emit ruleChanged();
    fieldSet();
    recordStep(translated(QT_TRANSLATE_NOOP("MainWindow", "Open pattern")), before);
    undoStack->setClean();
    return QString();
}

QString Document::savePattern(const QString &path, PatternFile::Format format)
{
    // Plaintext always names its pattern: after the file's own name, after the file.
    const std::string name = patternName.empty() && format == PatternFile::Format::Plaintext
        ? QFileInfo(path).completeBaseName().toStdString()
        : patternName;
    std::string text;
    QString problem;
    if (!other && format != PatternFile::Format::Macrocell)
        text = PatternFile::text(format, classic->field().snapshot(),
            static_cast<int>(std::min<std::int64_t>(generationNumber, INT_MAX)), rule(), name, patternComments,
            patternAuthor);
    else if (!PatternFile::text(
                 format, universe(), generationNumber, name, patternComments, text, problem, patternAuthor))
        return problem;
    problem = PatternFile::write(path, text);
    if (problem.isEmpty())
        undoStack->setClean();
    return problem;
}

QString Document::copy(const std::optional<CellRect> &area, QString &text)
{
    finishStroke();
    text.clear();
    const std::optional<CellRect> box = area ? area : universe().boundingBox();
    if (running || !box)
        return QString();
    std::string written;
    std::string error;
    if (!Editing::copy(universe(), *box, written, error))
        return QString::fromStdString(error);
    if (hasCells(written))
        text = QString::fromStdString(written);
    return QString();
}

QString Document::cut(const CellRect &area, QString &text)
{
    std::string written;
    const QString problem = editStep(translated(QT_TRANSLATE_NOOP("MainWindow", "Cut")),
        [&](Universe &cells, std::string &error) { return Editing::cut(cells, area, written, error); });
    text = problem.isEmpty() && hasCells(written) ? QString::fromStdString(written) : QString();
    return problem;
}

QString Document::clearInside(const CellRect &area)
{
    return editStep(translated(QT_TRANSLATE_NOOP("MainWindow", "Clear selection")),
        [&](Universe &cells, std::string &error) { return Editing::clear(cells, area, error); });
}

QString Document::clearOutside(const CellRect &area)
{
    return editStep(translated(QT_TRANSLATE_NOOP("MainWindow", "Clear outside")),
        [&](Universe &cells, std::string &error) { return Editing::clearOutside(cells, area, error); });
}

QString Document::fillRandom(const CellRect &area, double percent)
{
    const std::uint64_t seed = QRandomGenerator::global()->generate64();
    return editStep(translated(QT_TRANSLATE_NOOP("MainWindow", "Fill at random")),
        [&](Universe &cells, std::string &error) { return Editing::fillRandom(cells, area, percent, seed, error); });
}

QString Document::turn(std::optional<CellRect> &area, const Orientation &orientation)
{
    std::optional<CellRect> turned = area ? area : universe().boundingBox();
    if (!turned)
        return QString();
    const QString problem = editStep(orientation.swapsSides() ? translated(QT_TRANSLATE_NOOP("MainWindow", "Rotate"))
                                                              : translated(QT_TRANSLATE_NOOP("MainWindow", "Flip")),
        [&](Universe &cells, std::string &error) { return Editing::turn(cells, *turned, orientation, error); });
    if (problem.isEmpty() && area)
        area = turned;
    return problem;
}

QString Document::readClip(const QString &text, std::unique_ptr<Clip> &clip) const
{
    const QByteArray bytes = text.toUtf8();
    if (bytes.size() > PatternFile::MaxAnyFileSize)
        return translated(QT_TRANSLATE_NOOP("MainWindow", "The text is larger than %1 MiB (%2 bytes)."))
            .arg(PatternFile::MaxAnyFileSize >> 20)
            .arg(bytes.size());
    Pattern pattern;
    std::string error;
    if (!PatternReader::read(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), pattern, error))
        return QString::fromStdString(error);
    std::unique_ptr<Clip> read;
    std::optional<CellRect> live;
    try {
        read = std::make_unique<Clip>(pattern);
        if (!read->isEmpty())
            live = read->cells(Orientation()).boundingBox();
    } catch (const UniverseError &failure) {
        return QString::fromStdString(failure.what());
    }
    if (read->isEmpty())
        return translated(QT_TRANSLATE_NOOP("MainWindow", "The pattern has no live cell."));
    // Only live cells must fit: a box of dead cells alone still clears where it is pasted in Copy mode.
    if (!live) {
        clip = std::move(read);
        return QString();
    }
    const Topology shape = topology();
    const std::int64_t width = live->right - live->left + 1;
    const std::int64_t height = live->bottom - live->top + 1;
    clip = std::move(read);
    if (shape.isBounded() && !(width <= shape.width() && height <= shape.height())
        && !(height <= shape.width() && width <= shape.height()))
        return translated(
            QT_TRANSLATE_NOOP("MainWindow",
                "The live cells span %1 x %2 cells: the universe of %3 x %4 cells cannot hold them, however turned."))
            .arg(width)
            .arg(height)
            .arg(shape.width())
            .arg(shape.height());
    return QString();
}

QString Document::paste(const Clip &clip, const Orientation &orientation, CellPoint topLeft, Universe::Combination how)
{
    // The universe switched for this paste belongs to its step.
    std::optional<FieldCommand::State> switched = std::move(switchStart);
    switchStart.reset();
    finishStroke();
    if (running || clip.isEmpty()) {
        switchStart = std::move(switched);
        return QString();
    }
    const FieldCommand::State before = switched ? *switched : currentState(false);
    // Into an empty universe the pattern comes with its rule, as a file opens.
    const bool takesRule = liveCells == 0 && clip.rule() && *clip.rule() != rule();
    const Rule kept = rule();
    if (takesRule) {
        const QString refused = applyRule(*clip.rule());
        if (!refused.isEmpty())
            return refused;
    }
    std::string error;
    if (!Editing::paste(current(), clip, orientation, topLeft, how, error)) {
        if (takesRule)
            applyRule(kept);
        switchStart = std::move(switched);
        return QString::fromStdString(error);
    }
    fieldSet();
    recordStep(translated(QT_TRANSLATE_NOOP("MainWindow", "Paste")), before);
    return QString();
}

std::uint64_t Document::cellsLostIn(const Topology &topology) const
{
    try {
        return UniverseChange(this->topology(), topology).lostCells(universe());
    } catch (const UniverseError &) {
        return liveCells;
    }
}

QString Document::setTopology(const Topology &topology)
{
    finishStroke();
    if (running || topology == this->topology())
        return QString();
    const FieldCommand::State before = currentState(true);
    const QString problem = moveInto(topology);
    if (problem.isEmpty())
        recordStep(translated(QT_TRANSLATE_NOOP("MainWindow", "Universe")), before);
    return problem;
}

QString Document::switchForPaste(const Topology &topology)
{
    finishStroke();
    if (running || topology == this->topology())
        return QString();
    FieldCommand::State before = currentState(true);
    const QString problem = moveInto(topology);
    if (problem.isEmpty())
        switchStart = std::move(before);
    return problem;
}

QString Document::moveInto(const Topology &topology)
{
    const UniverseChange change(this->topology(), topology);
    std::unique_ptr<Universe> moved;
    std::unique_ptr<Universe> movedSaved;
    try {
        moved = Universe::create(topology, rule());
        change.copy(universe(), *moved);
        movedSaved = Universe::create(topology, rule());
        UniverseChange(saved->topology(), topology).copy(*saved, *movedSaved);
    } catch (const UniverseError &error) {
        return QString::fromStdString(error.what());
    } catch (const std::bad_alloc &) {
        return translated(QT_TRANSLATE_NOOP("MainWindow", "There is not enough memory for this universe."));
    }
    saved = std::move(movedSaved);
    install(std::move(moved));
    fieldSet();
    return QString();
}

void Document::clear()
{
    finishStroke();
    if (running)
        return;
    const FieldCommand::State before = currentState(false);
    current().clear();
    generationNumber = 1;
    patternName.clear();
    patternAuthor.clear();
    patternComments.clear();
    fieldSet();
    recordStep(translated(QT_TRANSLATE_NOOP("MainWindow", "Clear")), before);
}

QString Document::randomize(const CellRect &area)
{
    finishStroke();
    if (running)
        return QString();
    const FieldCommand::State before = currentState(false);
    if (!other) {
        classic->randomize();
    } else if (std::optional<CellRect> filled = area.intersected(Universe::extent(topology()))) {
        // A view zoomed far out shows more cells than are worth drawing by
        // chance: the middle of it, then.
        const auto narrow = [](std::int64_t &low, std::int64_t &high) {
            if (high - low >= MaxRandomSide) {
                low = low / 2 + high / 2 - MaxRandomSide / 2;
                high = low + MaxRandomSide - 1;
            }
        };
        narrow(filled->left, filled->right);
        narrow(filled->top, filled->bottom);
        const std::int64_t splitX = filled->left + (filled->right - filled->left + 1) / 2;
        const std::int64_t splitY = filled->top + (filled->bottom - filled->top + 1) / 2;
        int modulus[4];
        for (int &quadrant : modulus)
            quadrant = std::rand() % DensityModulusRange + MinimumDensityModulus;
        std::vector<CellPoint> cells;
        for (std::int64_t y = filled->top; y <= filled->bottom; ++y) {
            for (std::int64_t x = filled->left; x <= filled->right; ++x) {
                if (std::rand() % modulus[(y >= splitY ? 2 : 0) + (x >= splitX ? 1 : 0)] == 0)
                    cells.push_back({ x, y });
            }
        }
        // Made apart, so that running out of memory half-way changes nothing.
        std::unique_ptr<Universe> fresh = Universe::create(topology(), rule());
        try {
            if (auto *unbounded = dynamic_cast<UnboundedUniverse *>(fresh.get())) {
                unbounded->setCells(std::move(cells));
            } else {
                for (const CellPoint &cell : cells)
                    fresh->setCell(cell.x, cell.y, true);
            }
        } catch (const UniverseError &error) {
            return QString::fromStdString(error.what());
        } catch (const std::bad_alloc &) {
            return translated(QT_TRANSLATE_NOOP("MainWindow", "There is not enough memory for this universe."));
        }
        install(std::move(fresh));
    } else {
        other->clear();
    }
    generationNumber = 1;
    patternName.clear();
    patternAuthor.clear();
    patternComments.clear();
    fieldSet();
    recordStep(translated(QT_TRANSLATE_NOOP("MainWindow", "Random")), before);
    return QString();
}

void Document::saveState()
{
    finishStroke();
    if (running)
        return;
    const FieldCommand::State before = currentState(true);
    saved = universe().clone();
    generationNumber = 1;
    savedGeneration = 1;
    emit fieldChanged(false);
    // The universe is generation 1 now: the history's numbers would no longer match.
    resetHistory();
    recordStep(translated(QT_TRANSLATE_NOOP("MainWindow", "Save state")), before);
}

std::vector<GameField::Cell> Document::editorCells()
{
    finishStroke();
    if (other)
        return {};
    GameField::Cell *const *cells = classic->field().snapshot();
    std::vector<GameField::Cell> buffer(GameField::CellCount, 0);
    for (int r = 1; r <= GameField::FieldSize; ++r) {
        for (int c = 1; c <= GameField::FieldSize; ++c)
            buffer[static_cast<std::size_t>((r - 1) * GameField::FieldSize + (c - 1))] = cells[r][c];
    }
    return buffer;
}

void Document::applyEdit(const std::vector<GameField::Cell> &buffer)
{
    if (running || other || buffer.size() != static_cast<std::size_t>(GameField::CellCount))
        return;
    const FieldCommand::State before = currentState(false);
    GameField &field = classic->field();
    GameField::Cell **cells = field.snapshot();
    for (int r = 1; r <= GameField::FieldSize; ++r) {
        for (int c = 1; c <= GameField::FieldSize; ++c)
            cells[r][c] = buffer[static_cast<std::size_t>((r - 1) * GameField::FieldSize + (c - 1))];
    }
    field.commitSnapshot();
    fieldSet();
    recordStep(translated(QT_TRANSLATE_NOOP("MainWindow", "Edit")), before);
}

void Document::drawCell(std::int64_t x, std::int64_t y, int state)
{
    if (running || state < 0 || state >= rule().stateCount() || !Universe::extent(topology()).contains(x, y))
        return;
    if (!strokeStart)
        strokeStart = currentState(false);
    try {
        current().setState(x, y, static_cast<std::uint8_t>(state));
    } catch (const UniverseError &) {
        return; // out of memory for one cell more: the stroke stops growing
    }
    fieldSet();
}

void Document::finishStroke()
{
    if (switchStart) {
        const FieldCommand::State before = std::move(*switchStart);
        switchStart.reset();
        recordStep(translated(QT_TRANSLATE_NOOP("MainWindow", "Universe")), before);
    }
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
    if (running || rule == this->rule())
        return QString();
    const FieldCommand::State before = currentState(false);
    const QString refused = applyRule(rule);
    if (!refused.isEmpty())
        return refused;
    // A rule of fewer states takes the others' cells away: counted anew.
    fieldSet();
    recordStep(translated(QT_TRANSLATE_NOOP("MainWindow", "Rule")), before);
    return QString();
}

void Document::setStartRule(const Rule &rule)
{
    if (applyRule(rule).isEmpty())
        resetHistory();
}

QString Document::setStartUniverse(const Topology &topology)
{
    if (topology == this->topology())
        return QString();
    std::unique_ptr<Universe> empty;
    try {
        empty = Universe::create(topology, rule());
        saved = Universe::create(topology, rule());
        savedGeneration = 1;
    } catch (const UniverseError &error) {
        return QString::fromStdString(error.what());
    } catch (const std::bad_alloc &) {
        return translated(QT_TRANSLATE_NOOP("MainWindow", "There is not enough memory for this universe."));
    }
    install(std::move(empty));
    fieldSet();
    return QString();
}

QString Document::sizeText() const
{
    const Topology shape = topology();
    if (shape.isStrip())
        return translated(shape.kind() == Topology::Kind::Plane
                ? QT_TRANSLATE_NOOP("MainWindow", "Field size: endless strip of %1")
                : QT_TRANSLATE_NOOP("MainWindow", "Field size: endless tube of %1"))
            .arg(grouped(shape.across()));
    switch (shape.kind()) {
    case Topology::Kind::Classic:
        break;
    case Topology::Kind::Plane:
        return translated(QT_TRANSLATE_NOOP("MainWindow", "Field size: %1 * %2, plane"))
            .arg(grouped(shape.width()), grouped(shape.height()));
    case Topology::Kind::Torus:
        if (shape.shift() != 0)
            return translated(QT_TRANSLATE_NOOP("MainWindow", "Field size: %1 * %2, shifted torus (%3)"))
                .arg(grouped(shape.width()), grouped(shape.height()), QString::fromStdString(shape.suffix()));
        return translated(QT_TRANSLATE_NOOP("MainWindow", "Field size: %1 * %2, torus"))
            .arg(grouped(shape.width()), grouped(shape.height()));
    case Topology::Kind::KleinBottle:
        return translated(QT_TRANSLATE_NOOP("MainWindow", "Field size: %1 * %2, Klein bottle (%3)"))
            .arg(grouped(shape.width()), grouped(shape.height()), QString::fromStdString(shape.suffix()));
    case Topology::Kind::CrossSurface:
        return translated(QT_TRANSLATE_NOOP("MainWindow", "Field size: %1 * %2, cross-surface"))
            .arg(grouped(shape.width()), grouped(shape.height()));
    case Topology::Kind::Sphere:
        return translated(QT_TRANSLATE_NOOP("MainWindow", "Field size: %1 * %2, sphere"))
            .arg(grouped(shape.width()), grouped(shape.height()));
    case Topology::Kind::Unbounded:
        return translated(QT_TRANSLATE_NOOP("MainWindow", "Field size: unbounded"));
    }
    return translated(QT_TRANSLATE_NOOP("MainWindow", "Field size: %1 * %2"))
        .arg(GameField::FieldSize)
        .arg(GameField::FieldSize);
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

GameField::Cell **Document::pictureCells() { return classic->field().snapshot(); }

FieldExport::FrameSource Document::animationFrames() const
{
    PackedField field = classic->cells();
    const Rule rule = classic->rule();
    return [field, rule](int frame, GameField::Cell **cells) mutable {
        if (frame > 0)
            field = field.next(rule);
        field.toBuffer(cells);
    };
}

void Document::fieldSet()
{
    countCells();
    emit fieldChanged(true);
    resetHistory();
}

void Document::countCells()
{
    try {
        liveCells = universe().backgroundAlive() ? std::numeric_limits<std::uint64_t>::max() : universe().population();
    } catch (const UniverseError &) {
        liveCells = std::numeric_limits<std::uint64_t>::max();
    }
}

void Document::install(std::unique_ptr<Universe> universe)
{
    const Topology before = topology();
    runView.reset();
    runSnapshot.reset();
    if (universe->topology() == Topology::classic()) {
        classic->assign(static_cast<const ClassicUniverse &>(*universe));
        const bool replaced = other != nullptr;
        other.reset();
        setStepExponent(exponent);
        if (replaced)
            emit universeReplaced(true);
        return;
    }
    other = std::move(universe);
    setStepExponent(exponent);
    emit universeReplaced(before != topology());
}

QString Document::applyRule(const Rule &rule)
{
    const Universe *const before = other.get();
    try {
        if (other)
            BackgroundUniverse::applyRule(other, rule);
        else
            classic->setRule(rule);
    } catch (const UniverseError &error) {
        return QString::fromStdString(error.what());
    }
    // Birth on 0 moves the unbounded plane's cells into another universe, or back.
    if (other.get() != before)
        emit universeReplaced(false);
    emit ruleChanged();
    return QString();
}

FieldCommand::State Document::currentState(bool withSaved) const
{
    FieldCommand::State state;
    if (runSnapshot)
        state.universe = runSnapshot;
    else
        state.universe = universe().clone();
    state.generation = generationNumber;
    state.name = patternName;
    state.author = patternAuthor;
    state.comments = patternComments;
    if (withSaved) {
        state.saved = saved;
        state.savedGeneration = savedGeneration;
    }
    return state;
}

void Document::applyState(const FieldCommand::State &state)
{
    if (state.saved) {
        saved = state.saved;
        savedGeneration = state.savedGeneration;
    }
    install(state.universe->clone());
    emit ruleChanged();
    generationNumber = state.generation;
    patternName = state.name;
    patternAuthor = state.author;
    patternComments = state.comments;
    fieldSet();
}

QString Document::editStep(const QString &text, const std::function<bool(Universe &, std::string &)> &edit)
{
    finishStroke();
    if (running)
        return QString();
    const FieldCommand::State before = currentState(false);
    std::string error;
    if (!edit(current(), error))
        return QString::fromStdString(error);
    fieldSet();
    recordStep(text, before);
    return QString();
}

void Document::recordStep(const QString &text, const FieldCommand::State &before)
{
    const FieldCommand::State after = currentState(before.saved != nullptr);
    if (after == before)
        return;
    undoStack->push(std::make_unique<FieldCommand>(
        text, before, after, [this](const FieldCommand::State &state) { applyState(state); }));
    emit undoChanged();
}
