#include "mainwindow/mainwindow.h"

#include <QAbstractItemView>
#include <QAction>
#include <QByteArray>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QMoveEvent>
#include <QPoint>
#include <QPushButton>
#include <QSize>
#include <QSpinBox>
#include <QStringList>
#include <QTimer>
#include <QUndoStack>
#include <QUrl>
#include <QtGlobal>

#include <algorithm>
#include <climits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "editor/formfieldeditor.h"
#include "export/fieldexport.h"
#include "mainwindow/appsettings.h"
#include "mainwindow/exportoptions.h"
#include "mainwindow/fastforward.h"
#include "mainwindow/mainwindowui.h"
#include "mainwindow/patternfile.h"
#include "mainwindow/recentfiles.h"
#include "mainwindow/slicedtask.h"
#include "model/engine/packedfield.h"
#include "model/files/pattern.h"
#include "model/files/patternreader.h"
#include "model/files/patternwriter.h"
#include "view/populationchart.h"
#include "view/widgetpaintarea.h"

namespace
{

constexpr int MillisecondsPerSecond = 1000;
// Steps the history keeps; each holds two or four fields of 1,920 bytes.
constexpr int UndoLimit = 500;
const QSize ButtonIconSize(40, 40);
const QSize SaveStateIconSize(30, 30);

// The names of Rule::namedRules, for the translators: the combo box shows
// them through tr(). Most are proper names in the Life community and stay as
// they are; the plain words among them read better translated.
[[maybe_unused]] const char *const RuleNames[] = {
    QT_TRANSLATE_NOOP("MainWindow", "Conway's Life"),
    QT_TRANSLATE_NOOP("MainWindow", "HighLife"),
    QT_TRANSLATE_NOOP("MainWindow", "Day & Night"),
    QT_TRANSLATE_NOOP("MainWindow", "Seeds"),
    QT_TRANSLATE_NOOP("MainWindow", "Life without Death"),
    QT_TRANSLATE_NOOP("MainWindow", "Maze"),
    QT_TRANSLATE_NOOP("MainWindow", "Replicator"),
    QT_TRANSLATE_NOOP("MainWindow", "2×2"),
    QT_TRANSLATE_NOOP("MainWindow", "Diamoeba"),
    QT_TRANSLATE_NOOP("MainWindow", "Morley"),
};

// Timer interval for a speed of 1..30 generations per second, in whole milliseconds.
int tickInterval(int generationsPerSecond) { return MillisecondsPerSecond / generationsPerSecond; }

// Colour box index to the view's colour mode: 1 red, 2 green, 3 blue. Any index
// the box might report besides red and blue, -1 included, falls back to green.
int colorModeForIndex(int index)
{
    switch (index) {
    case 0:
        return 1;
    case 2:
        return 3;
    default:
        return 2;
    }
}

const char *const PatternFilters
    = QT_TRANSLATE_NOOP("MainWindow", "Patterns (*.rle *.cells *.lif *.life *.txt);;All files (*)");

// What Save writes, one filter per format, the first offered first.
struct SaveFilter {
    const char *filter;
    PatternFile::Format format;
};
const SaveFilter SaveFilters[] = {
    { QT_TRANSLATE_NOOP("MainWindow", "RLE (*.rle)"), PatternFile::Format::Rle },
    { QT_TRANSLATE_NOOP("MainWindow", "Plaintext (*.cells)"), PatternFile::Format::Plaintext },
    { QT_TRANSLATE_NOOP("MainWindow", "Life 1.06 (*.lif *.life)"), PatternFile::Format::Life106 },
};

PatternFile::Format formatOfFilter(const QString &filter)
{
    for (const SaveFilter &entry : SaveFilters) {
        if (filter == MainWindow::tr(entry.filter))
            return entry.format;
    }
    return PatternFile::Format::Rle;
}

// A path as a message shows it: a path of any length fits on the screen.
QString shownPath(const QString &path)
{
    constexpr int Longest = 100; // characters
    const QString native = QDir::toNativeSeparators(path);
    if (native.size() <= Longest)
        return native;
    return native.left(Longest - 40) + QStringLiteral("…") + native.right(39);
}

void setButtonIcon(QPushButton *button, const char *path, const QSize &size)
{
    button->setIcon(QIcon(QString::fromLatin1(path)));
    button->setIconSize(size);
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new MainWindowUi)
{
    ui->setupUi(this);
    init();
    setControlsState(1);
    updateInfoLabels();
    updateView();
    if (const std::optional<QPoint> position = settings->windowPosition())
        move(*position);

    // Connected last, so that the start values given above run no slot.
    connect(ui->Action_File_OpenPattern, SIGNAL(triggered(bool)), this, SLOT(Slot_Action_File_OpenPattern()));
    connect(ui->Action_File_SavePattern, SIGNAL(triggered(bool)), this, SLOT(Slot_Action_File_SavePattern()));
    connect(ui->Action_File_ExportImage, SIGNAL(triggered(bool)), this, SLOT(Slot_Action_File_ExportImage()));
    connect(ui->Action_File_ExportAnimation, SIGNAL(triggered(bool)), this, SLOT(Slot_Action_File_ExportAnimation()));
    connect(ui->Action_File_Exit, SIGNAL(triggered(bool)), this, SLOT(Slot_Action_File_Exit()));
    connect(ui->Action_Edit_Undo, SIGNAL(triggered(bool)), this, SLOT(Slot_Action_Edit_Undo()));
    connect(ui->Action_Edit_Redo, SIGNAL(triggered(bool)), this, SLOT(Slot_Action_Edit_Redo()));
    connect(ui->Action_Edit_CopyPattern, SIGNAL(triggered(bool)), this, SLOT(Slot_Action_Edit_CopyPattern()));
    connect(ui->Action_Edit_PastePattern, SIGNAL(triggered(bool)), this, SLOT(Slot_Action_Edit_PastePattern()));
    connect(recentFiles, SIGNAL(fileChosen(QString)), this, SLOT(Slot_RecentFiles_FileChosen(QString)));
    connect(ui->Action_Simulation_Play, SIGNAL(triggered(bool)), this, SLOT(Slot_PushButton_Play()));
    connect(ui->Action_Simulation_Pause, SIGNAL(triggered(bool)), this, SLOT(Slot_PushButton_Pause()));
    connect(ui->Action_Simulation_Stop, SIGNAL(triggered(bool)), this, SLOT(Slot_PushButton_Stop()));
    connect(ui->Action_Simulation_Next, SIGNAL(triggered(bool)), this, SLOT(Slot_PushButton_Next()));
    connect(ui->Action_Simulation_RunUntilSettled, SIGNAL(triggered(bool)), this,
        SLOT(Slot_Action_Simulation_RunUntilSettled()));
    connect(ui->Action_Simulation_GoToGeneration, SIGNAL(triggered(bool)), this,
        SLOT(Slot_Action_Simulation_GoToGeneration()));
    connect(ui->Action_Simulation_GenerationLimit, SIGNAL(triggered(bool)), this,
        SLOT(Slot_Action_Simulation_GenerationLimit()));
    connect(ui->Action_Simulation_PopulationGraph, SIGNAL(triggered(bool)), this,
        SLOT(Slot_Action_Simulation_PopulationGraph()));
    connect(ui->Menu_Examples, SIGNAL(triggered(QAction *)), this, SLOT(Slot_Menu_Examples(QAction *)));
    connect(ui->Action_Help_About, SIGNAL(triggered(bool)), this, SLOT(Slot_Action_Help_About()));
    connect(ui->ComboBox_CellColor, SIGNAL(currentIndexChanged(int)), this, SLOT(Slot_ComboBox_CellColor(int)));
    // A rule picked from the list, or typed and confirmed with Enter.
    connect(ui->ComboBox_Rule, SIGNAL(activated(int)), this, SLOT(Slot_ComboBox_Rule()));
    connect(ui->ComboBox_Rule->lineEdit(), SIGNAL(returnPressed()), this, SLOT(Slot_ComboBox_Rule()));
    connect(ui->CheckBox_PauseWhenSettled, SIGNAL(toggled(bool)), this, SLOT(Slot_CheckBox_PauseWhenSettled(bool)));
    connect(ui->PushButton_Clear, SIGNAL(released()), this, SLOT(Slot_PushButton_Clear()));
    connect(ui->PushButton_Edit, SIGNAL(released()), this, SLOT(Slot_PushButton_Edit()));
    connect(ui->PushButton_Next, SIGNAL(released()), this, SLOT(Slot_PushButton_Next()));
    connect(ui->PushButton_Pause, SIGNAL(released()), this, SLOT(Slot_PushButton_Pause()));
    connect(ui->PushButton_Play, SIGNAL(released()), this, SLOT(Slot_PushButton_Play()));
    connect(ui->PushButton_Random, SIGNAL(released()), this, SLOT(Slot_PushButton_Random()));
    connect(ui->PushButton_SaveState, SIGNAL(released()), this, SLOT(Slot_PushButton_SaveState()));
    connect(ui->PushButton_Stop, SIGNAL(released()), this, SLOT(Slot_PushButton_Stop()));
    connect(ui->SpinBox_IPS, SIGNAL(valueChanged(int)), this, SLOT(Slot_SpinBox_IPS(int)));
    connect(timer, SIGNAL(timeout()), this, SLOT(Slot_Timer()));
    connect(ui->WidgetPaintArea_GraphicScene, SIGNAL(cellDrawn(int, int, bool)), this,
        SLOT(Slot_WidgetPaintArea_GraphicScene(int, int, bool)));
    connect(ui->WidgetPaintArea_GraphicScene, SIGNAL(strokeFinished()), this,
        SLOT(Slot_WidgetPaintArea_GraphicScene_StrokeFinished()));
}

MainWindow::~MainWindow()
{
    // The commands on the stack point back at this window.
    delete undoStack;
    delete recentFiles;
    delete settings;
    delete ui;
    delete timer;
    delete gameField;
    // The view, a child widget destroyed after this body, never touches the field then.
}

void MainWindow::init()
{
    settings = new AppSettings;

    timer = new QTimer(this);
    timer->setTimerType(Qt::PreciseTimer);

    gameField = new GameField;

    undoStack = new QUndoStack(this);
    undoStack->setUndoLimit(UndoLimit);

    editorBuffer.clear();
    editorBuffer.resize(GameField::CellCount, 0);

    running = false;
    ips = settings->speed();
    generationLimit = settings->generationLimit();
    generationNumber = 1;
    cellCount = 0;

    // Set on the view as well: no slot is connected yet.
    const int colorIndex = settings->colorIndex();
    ui->ComboBox_CellColor->setCurrentIndex(colorIndex);
    ui->WidgetPaintArea_GraphicScene->setColorMode(colorModeForIndex(colorIndex));
    ui->CheckBox_PauseWhenSettled->setChecked(settings->pauseWhenSettled());
    patternFolder = settings->patternFolder();
    recentFiles = new RecentFiles(ui->Menu_RecentFiles, settings, this);

    ui->Label_CellCount->setText(tr("Cells: %1").arg(cellCount));
    ui->Label_FieldSize->setText(tr("Field size: %1 * %2").arg(GameField::FieldSize).arg(GameField::FieldSize));
    ui->Label_GenerationNumber->setText(tr("Generation: %1").arg(generationNumber));

    setButtonIcon(ui->PushButton_Clear, ":/resources/icons/field_clear.png", ButtonIconSize);
    setButtonIcon(ui->PushButton_Edit, ":/resources/icons/field_edit.png", ButtonIconSize);
    setButtonIcon(ui->PushButton_Next, ":/resources/icons/simulation_next.png", ButtonIconSize);
    setButtonIcon(ui->PushButton_Pause, ":/resources/icons/simulation_pause.png", ButtonIconSize);
    setButtonIcon(ui->PushButton_Play, ":/resources/icons/simulation_play.png", ButtonIconSize);
    setButtonIcon(ui->PushButton_Random, ":/resources/icons/field_random.png", ButtonIconSize);
    setButtonIcon(ui->PushButton_SaveState, ":/resources/icons/field_save.png", SaveStateIconSize);
    setButtonIcon(ui->PushButton_Stop, ":/resources/icons/simulation_stop.png", ButtonIconSize);

    ui->SpinBox_IPS->setValue(ips);

    ui->WidgetPaintArea_GraphicScene->setField(gameField);

    for (const Rule::Named &named : Rule::namedRules) {
        ui->ComboBox_Rule->addItem(tr(named.name), QString::fromLatin1(named.notation));
    }
    // The list is wider than the box: each entry shows in full.
    ui->ComboBox_Rule->view()->setMinimumWidth(ui->ComboBox_Rule->view()->sizeHintForColumn(0) + 20);
    gameField->setRule(settings->rule());
    showRule();
    resetHistory();

    setAcceptDrops(true);
    addExamples();
}

void MainWindow::setControlsState(int state)
{
    bool idle = true;
    switch (state) {
    case 1:
    case 3:
    case 4:
    case 5:
        idle = true;
        break;
    case 2:
        idle = false;
        break;
    default:
        return;
    }

    // A button that disables itself under the focus hands it to the one that
    // undoes it, so that Space plays and pauses in turn.
    QPushButton *const undoing = idle ? ui->PushButton_Play : ui->PushButton_Pause;
    QPushButton *const undone = idle ? ui->PushButton_Pause : ui->PushButton_Play;
    undoing->setEnabled(true);
    if (undone->hasFocus())
        undoing->setFocus(Qt::TabFocusReason);
    undone->setEnabled(false);
    ui->PushButton_Stop->setEnabled(true);
    ui->PushButton_Next->setEnabled(idle);
    ui->PushButton_Clear->setEnabled(idle);
    ui->PushButton_Random->setEnabled(idle);
    ui->PushButton_Edit->setEnabled(idle);
    ui->PushButton_SaveState->setEnabled(idle);
    ui->WidgetPaintArea_GraphicScene->setDrawingEnabled(idle);
    ui->Action_File_OpenPattern->setEnabled(idle);
    ui->Menu_RecentFiles->menuAction()->setEnabled(idle);
    ui->Action_File_SavePattern->setEnabled(idle);
    ui->Action_File_ExportImage->setEnabled(idle);
    ui->Action_File_ExportAnimation->setEnabled(idle);
    ui->Menu_Examples->menuAction()->setEnabled(idle);
    ui->Action_Simulation_Play->setEnabled(idle);
    ui->Action_Simulation_Pause->setEnabled(!idle);
    ui->Action_Simulation_Next->setEnabled(idle);
    ui->Action_Simulation_RunUntilSettled->setEnabled(idle);
    ui->Action_Simulation_GoToGeneration->setEnabled(idle);
    ui->ComboBox_Rule->setEnabled(idle);
    ui->Action_Edit_CopyPattern->setEnabled(idle && cellCount > 0);
    ui->Action_Edit_PastePattern->setEnabled(idle);
    updateUndoActions();
}

void MainWindow::updateInfoLabels()
{
    ui->Label_CellCount->setText(tr("Cells: %1").arg(cellCount));
    ui->Label_GenerationNumber->setText(tr("Generation: %1").arg(generationNumber));
    ui->Action_Edit_CopyPattern->setEnabled(!running && cellCount > 0);
}

void MainWindow::resetHistory()
{
    history.reset(PackedField::fromBuffer(gameField->snapshot()), generationNumber, gameField->rule());
    showHistory();
}

void MainWindow::extendHistory()
{
    const bool wasSettled = history.isSettled();
    history.append(PackedField::fromBuffer(gameField->snapshot()));
    // Counted for the history already: no second pass over the cells.
    cellCount = history.population(history.lastGeneration());
    showHistory();
    if (running && !wasSettled && history.isSettled() && ui->CheckBox_PauseWhenSettled->isChecked())
        Slot_PushButton_Pause();
}

void MainWindow::showHistory()
{
    QString state;
    const RunHistory::Fate fate = history.fate();
    const int looked = history.lastGeneration() - history.firstGeneration();
    switch (fate) {
    case RunHistory::Fate::Evolving:
        state = looked >= generationLimit ? tr("State: not settled after %1 generations").arg(generationLimit)
                                          : tr("State: evolving");
        break;
    case RunHistory::Fate::DiedOut:
        state = tr("State: died out at generation %1").arg(history.cycleStart());
        break;
    case RunHistory::Fate::Still:
        state = tr("State: still since generation %1").arg(history.cycleStart());
        break;
    case RunHistory::Fate::Moving:
    case RunHistory::Fate::Oscillating:
        state = tr("State: period %1 since generation %2").arg(history.period()).arg(history.cycleStart());
        break;
    case RunHistory::Fate::Unsettled:
        state = tr("State: not settled after %1 generations").arg(RunHistory::GenerationLimit);
        break;
    }
    // A field that has had no live cell since it was set: nothing to evolve or die out.
    if ((fate == RunHistory::Fate::Evolving || fate == RunHistory::Fate::DiedOut)
        && history.population(history.firstGeneration()) == 0 && history.population(history.lastGeneration()) == 0)
        state = tr("State: empty");
    ui->Label_State->setText(state);
    if (populationChart)
        populationChart->historyChanged();
}

void MainWindow::showRule()
{
    const QString notation = QString::fromStdString(gameField->rule().toString());
    const int index = ui->ComboBox_Rule->findData(notation);
    ui->ComboBox_Rule->setCurrentIndex(index);
    if (index < 0)
        ui->ComboBox_Rule->setEditText(notation);
    ui->ComboBox_Rule->lineEdit()->setCursorPosition(0);
    // The box shows a named rule by its name; its notation is in the tool tip, as in the list.
    const QString shown = index < 0 ? notation : tr("%1 (%2)").arg(ui->ComboBox_Rule->itemText(index), notation);
    ui->ComboBox_Rule->setToolTip(
        shown + QLatin1Char('\n') + tr("Life-like rule: a name or B/S notation, such as B36/S23; Enter applies it"));
    ui->ComboBox_Rule->lineEdit()->setStyleSheet(QString());
}

void MainWindow::applyRule(const Rule &rule)
{
    gameField->setRule(rule);
    showRule();
    settings->setRule(rule);
}

void MainWindow::finishStroke() { ui->WidgetPaintArea_GraphicScene->endStroke(); }

void MainWindow::updateView() { ui->WidgetPaintArea_GraphicScene->update(); }

void MainWindow::showMessage(QString title, QString text)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::NoButton, nullptr,
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    box.exec();
}

void MainWindow::exportToEditorBuffer()
{
    GameField::Cell *const *cells = gameField->snapshot();
    editorBuffer.clear();
    editorBuffer.resize(GameField::CellCount, 0);
    for (int r = 1; r <= GameField::FieldSize; ++r) {
        for (int c = 1; c <= GameField::FieldSize; ++c)
            editorBuffer[(r - 1) * GameField::FieldSize + (c - 1)] = cells[r][c];
    }
}

void MainWindow::importFromEditorBuffer()
{
    GameField::Cell **cells = gameField->snapshot();
    for (int r = 1; r <= GameField::FieldSize; ++r) {
        for (int c = 1; c <= GameField::FieldSize; ++c)
            cells[r][c] = editorBuffer[(r - 1) * GameField::FieldSize + (c - 1)];
    }
    gameField->commitSnapshot();
}

bool MainWindow::openPatternFile(const QString &path, const std::optional<Rule> &rule)
{
    finishStroke();
    if (running)
        return false;

    Pattern pattern;
    const QString problem = PatternFile::read(path, pattern);
    if (!problem.isEmpty()) {
        QMessageBox::warning(
            this, tr("Open pattern"), tr("Could not open the pattern file \"%1\":\n%2").arg(shownPath(path), problem));
        return false;
    }

    // Examples come from the program's resources, not from a folder of the user's.
    if (!path.startsWith(QLatin1Char(':')))
        rememberPatternFile(path);
    const FieldCommand::State before = currentState(true);
    GameField::Cell **cells = gameField->snapshot();
    pattern.placeCentred(cells);
    gameField->commitSnapshot();
    gameField->saveState();
    // A file that names no rule leaves the rule as it is.
    if (rule || pattern.rule) {
        applyRule(rule ? *rule : *pattern.rule);
    }
    generationNumber = 1;
    cellCount = gameField->liveCellCount();
    patternName = pattern.name;
    patternComments = pattern.comments;
    updateInfoLabels();
    updateView();
    resetHistory();
    recordStep(tr("Open pattern"), before);
    return true;
}

void MainWindow::setStartRule(const Rule &rule)
{
    gameField->setRule(rule);
    showRule();
    resetHistory();
}

void MainWindow::savePatternFile(const QString &path, PatternFile::Format format)
{
    const QFileInfo info(path);
    // Plaintext always names its pattern: after the file's own name, after the file.
    const std::string name = patternName.empty() && format == PatternFile::Format::Plaintext
        ? info.completeBaseName().toStdString()
        : patternName;
    const std::string text
        = PatternFile::text(format, gameField->snapshot(), generationNumber, gameField->rule(), name, patternComments);

    // A failed save leaves any existing file untouched.
    const QString problem = PatternFile::write(path, text);
    if (!problem.isEmpty()) {
        QMessageBox::warning(
            this, tr("Save pattern"), tr("Could not save the pattern file \"%1\":\n%2").arg(shownPath(path), problem));
        return;
    }
    rememberPatternFile(path);
}

void MainWindow::addExamples()
{
    // Listed by the names the files give, which is what people know them by.
    QList<QPair<QString, QString>> examples; // name, resource path
    QDirIterator files(QStringLiteral(":/patterns"), QDir::Files);
    while (files.hasNext()) {
        const QString path = files.next();
        Pattern pattern;
        if (!PatternFile::read(path, pattern).isEmpty())
            continue;
        const QString name = QString::fromStdString(pattern.name);
        examples.append({ name.isEmpty() ? QFileInfo(path).completeBaseName() : name, path });
    }
    std::sort(examples.begin(), examples.end());
    for (const auto &example : qAsConst(examples)) {
        // "Day & Night" in a menu: the ampersand would mark a shortcut key.
        QAction *action = ui->Menu_Examples->addAction(QString(example.first).replace('&', QStringLiteral("&&")));
        action->setData(example.second);
    }
}

FieldCommand::State MainWindow::currentState(bool withSaved)
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

void MainWindow::applyState(const FieldCommand::State &state)
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
    cellCount = gameField->liveCellCount();
    updateInfoLabels();
    updateView();
    resetHistory();
}

void MainWindow::recordStep(const QString &text, const FieldCommand::State &before)
{
    const FieldCommand::State after = currentState(before.saved.has_value());
    if (after == before)
        return;
    undoStack->push(
        new FieldCommand(text, before, after, [this](const FieldCommand::State &state) { applyState(state); }));
    updateUndoActions();
}

void MainWindow::updateUndoActions()
{
    const bool canUndo = !running && undoStack->canUndo();
    const bool canRedo = !running && undoStack->canRedo();
    ui->Action_Edit_Undo->setEnabled(canUndo);
    ui->Action_Edit_Redo->setEnabled(canRedo);
    ui->Action_Edit_Undo->setText(undoStack->canUndo() ? tr("&Undo %1").arg(undoStack->undoText()) : tr("&Undo"));
    ui->Action_Edit_Redo->setText(undoStack->canRedo() ? tr("&Redo %1").arg(undoStack->redoText()) : tr("&Redo"));
}

void MainWindow::rememberPatternFile(const QString &path)
{
    patternFolder = QFileInfo(path).absolutePath();
    settings->setPatternFolder(patternFolder);
    recentFiles->add(path);
}

QString MainWindow::droppedFile(const QMimeData *mimeData)
{
    if (!mimeData || !mimeData->hasUrls())
        return QString();
    const QList<QUrl> urls = mimeData->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return QString();
    return urls.first().toLocalFile();
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!running && !droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QString path = droppedFile(event->mimeData());
    if (running || path.isEmpty())
        return;
    event->acceptProposedAction();
    // Opened once the drop is over, so that a message box about the file does
    // not keep the program it came from waiting.
    QTimer::singleShot(0, this, [this, path] { openPatternFile(path); });
}

void MainWindow::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    // The place the user gave the window, not that of a maximised or hidden one.
    if (isVisible() && !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized)))
        settings->setWindowPosition(pos());
}

void MainWindow::Slot_Action_File_OpenPattern()
{
    finishStroke();
    if (running)
        return;
    QFileDialog dialog(this, tr("Open pattern"), patternFolder, tr(PatternFilters));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.exec();
    if (dialog.result() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    openPatternFile(dialog.selectedFiles().first());
}

void MainWindow::Slot_Action_File_SavePattern()
{
    finishStroke();
    if (running)
        return;
    QStringList filters;
    for (const SaveFilter &entry : SaveFilters)
        filters << tr(entry.filter);
    QFileDialog dialog(this, tr("Save pattern"), patternFolder);
    dialog.setNameFilters(filters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The dialog gives a name without an extension the chosen format's, and
    // asks before it replaces a file of that name.
    dialog.setDefaultSuffix(PatternFile::extension(SaveFilters[0].format));
    connect(&dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog](const QString &filter) { dialog.setDefaultSuffix(PatternFile::extension(formatOfFilter(filter))); });
    dialog.exec();
    if (dialog.result() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    QString path = dialog.selectedFiles().first();
    // An extension of one of the formats decides, whatever filter is chosen:
    // a .cells file holds plaintext. Any other gets the chosen format's added.
    std::optional<PatternFile::Format> format = PatternFile::formatOf(path);
    if (!format) {
        format = formatOfFilter(dialog.selectedNameFilter());
        path += QLatin1Char('.') + PatternFile::extension(*format);
        if (QFileInfo::exists(path)
            && QMessageBox::question(this, tr("Save pattern"),
                   tr("\"%1\" exists already. Replace it?").arg(shownPath(path)), QMessageBox::Yes | QMessageBox::No,
                   QMessageBox::No)
                != QMessageBox::Yes)
            return;
    }
    savePatternFile(path, *format);
}

QString MainWindow::exportPath(const QString &title, const QString &filter, const QString &suffix)
{
    QFileDialog dialog(this, title, patternFolder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(suffix);
    dialog.exec();
    if (dialog.result() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

void MainWindow::Slot_Action_File_ExportImage()
{
    finishStroke();
    if (running)
        return;
    ExportOptions options(false, this);
    options.exec();
    if (options.result() != QDialog::Accepted)
        return;
    const QString path = exportPath(tr("Export image"), tr("PNG images (*.png)"), QStringLiteral("png"));
    if (path.isEmpty())
        return;
    QString error;
    if (!FieldExport::writePng(path, gameField->snapshot(), colorModeForIndex(ui->ComboBox_CellColor->currentIndex()),
            options.scale(), &error)) {
        QMessageBox::warning(
            this, tr("Export image"), tr("Could not export the image \"%1\":\n%2").arg(shownPath(path), error));
        return;
    }
    patternFolder = QFileInfo(path).absolutePath();
}

void MainWindow::Slot_Action_File_ExportAnimation()
{
    finishStroke();
    if (running)
        return;
    ExportOptions options(true, this);
    options.exec();
    if (options.result() != QDialog::Accepted)
        return;
    const QString path = exportPath(tr("Export animation"), tr("GIF animations (*.gif)"), QStringLiteral("gif"));
    if (path.isEmpty())
        return;

    // The generations are computed on a copy: the field, its history and the undo steps stay as they are.
    PackedField field = PackedField::fromBuffer(gameField->snapshot());
    const Rule rule = gameField->rule();
    const auto frames = [&field, &rule](int frame, GameField::Cell **cells) {
        if (frame > 0)
            field = field.next(rule);
        field.toBuffer(cells);
    };
    SlicedTask task(this, tr("Export animation"), tr("Writing the animation…"));
    QString error;
    const FieldExport::Outcome outcome = FieldExport::writeGif(
        path, options.generations(), frames, colorModeForIndex(ui->ComboBox_CellColor->currentIndex()), options.scale(),
        FieldExport::frameDelay(ips),
        [&task](int done, int total) { return task.keepGoing(static_cast<double>(done) / total); }, &error);
    if (outcome == FieldExport::Outcome::Failed) {
        QMessageBox::warning(
            this, tr("Export animation"), tr("Could not export the animation \"%1\":\n%2").arg(shownPath(path), error));
        return;
    }
    if (outcome == FieldExport::Outcome::Written)
        patternFolder = QFileInfo(path).absolutePath();
}

void MainWindow::Slot_Action_File_Exit() { QCoreApplication::quit(); }

void MainWindow::Slot_Action_Edit_Undo()
{
    finishStroke();
    if (running || !undoStack->canUndo())
        return;
    undoStack->undo();
    updateUndoActions();
}

void MainWindow::Slot_Action_Edit_Redo()
{
    finishStroke();
    if (running || !undoStack->canRedo())
        return;
    undoStack->redo();
    updateUndoActions();
}

void MainWindow::Slot_Action_Edit_CopyPattern()
{
    finishStroke();
    if (running || cellCount == 0)
        return;
    const std::string text = PatternWriter::writeRleBox(gameField->snapshot(), gameField->rule());
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

void MainWindow::Slot_Action_Edit_PastePattern()
{
    finishStroke();
    if (running)
        return;
    const QByteArray bytes = QGuiApplication::clipboard()->text().toUtf8();
    Pattern pattern;
    std::string error;
    if (bytes.size() > PatternFile::MaxFileSize) {
        error
            = tr("The text is larger than 1 MiB (%1 bytes); patterns are far smaller.").arg(bytes.size()).toStdString();
    } else if (PatternReader::read(
                   std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), pattern, error)) {
        error = pattern.misfit(Topology::classic());
    }
    if (!error.empty()) {
        QMessageBox::warning(this, tr("Paste pattern"),
            tr("The clipboard holds no pattern that can be pasted:\n%1").arg(QString::fromStdString(error)));
        return;
    }

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
    if (pattern.rule) {
        applyRule(*pattern.rule);
    }
    cellCount = gameField->liveCellCount();
    updateInfoLabels();
    updateView();
    resetHistory();
    recordStep(tr("Paste pattern"), before);
}

void MainWindow::Slot_RecentFiles_FileChosen(const QString &path)
{
    if (running)
        return;
    // A file that is gone leaves the list; one that fails to read may be mended and tried again.
    if (!openPatternFile(path) && !QFileInfo::exists(path))
        recentFiles->remove(path);
}

void MainWindow::Slot_Menu_Examples(QAction *action)
{
    if (running || !action)
        return;
    openPatternFile(action->data().toString());
}

void MainWindow::Slot_Action_Help_About()
{
    finishStroke();
    showMessage(tr("About"), tr("<div><b>Conway's Game of Life</b><hr/>Author: Tarvinek</div>"));
}

void MainWindow::Slot_PushButton_Play()
{
    finishStroke();
    if (running)
        return;
    runStart = currentState(false);
    running = true;
    timer->start(tickInterval(ips));
    setControlsState(2);
}

void MainWindow::Slot_PushButton_Pause()
{
    if (!running)
        return;
    running = false;
    timer->stop();
    setControlsState(3);
    recordStep(tr("Run"), *runStart);
    runStart.reset();
}

void MainWindow::Slot_PushButton_Stop()
{
    finishStroke();
    // A Stop that ends a run belongs to the run's step.
    const FieldCommand::State before = running ? *runStart : currentState(false);
    const QString step = running ? tr("Run") : tr("Stop");
    if (running) {
        running = false;
        timer->stop();
        runStart.reset();
    }
    gameField->restoreState();
    generationNumber = 1;
    cellCount = gameField->liveCellCount();
    setControlsState(4);
    updateInfoLabels();
    updateView();
    resetHistory();
    recordStep(step, before);
}

void MainWindow::Slot_PushButton_Next()
{
    finishStroke();
    if (running)
        return;
    const FieldCommand::State before = currentState(false);
    gameField->nextGeneration();
    ++generationNumber;
    extendHistory();
    setControlsState(5);
    updateInfoLabels();
    updateView();
    recordStep(tr("Next"), before);
}

void MainWindow::Slot_PushButton_Clear()
{
    finishStroke();
    if (running)
        return;
    const FieldCommand::State before = currentState(false);
    gameField->clear();
    generationNumber = 1;
    cellCount = 0;
    patternName.clear();
    patternComments.clear();
    updateInfoLabels();
    updateView();
    resetHistory();
    recordStep(tr("Clear"), before);
}

void MainWindow::Slot_PushButton_Random()
{
    finishStroke();
    if (running)
        return;
    const FieldCommand::State before = currentState(false);
    gameField->randomize();
    generationNumber = 1;
    cellCount = gameField->liveCellCount();
    patternName.clear();
    patternComments.clear();
    updateInfoLabels();
    updateView();
    resetHistory();
    recordStep(tr("Random"), before);
}

void MainWindow::Slot_PushButton_Edit()
{
    finishStroke();
    if (running)
        return;
    exportToEditorBuffer();

    std::unique_ptr<FormFieldEditor> editor(new FormFieldEditor(&editorBuffer, this));
    editor->setWindowFlags(Qt::Window | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    editor->exec();

    // The editor wrote every painted cell into the buffer already; only a
    // confirmed edit is carried into the field.
    if (editor->getResult()) {
        const FieldCommand::State before = currentState(false);
        importFromEditorBuffer();
        cellCount = gameField->liveCellCount();
        updateInfoLabels();
        updateView();
        resetHistory();
        recordStep(tr("Edit"), before);
    }
}

void MainWindow::Slot_PushButton_SaveState()
{
    finishStroke();
    if (running)
        return;
    const FieldCommand::State before = currentState(true);
    gameField->saveState();
    generationNumber = 1;
    updateInfoLabels();
    // The field is generation 1 now: the history's numbers would no longer match.
    resetHistory();
    recordStep(tr("Save state"), before);
}

void MainWindow::Slot_SpinBox_IPS(int value)
{
    ips = value;
    timer->setInterval(tickInterval(value));
    settings->setSpeed(value);
}

void MainWindow::Slot_ComboBox_CellColor(int index)
{
    settings->setColorIndex(index);
    ui->WidgetPaintArea_GraphicScene->setColorMode(colorModeForIndex(index));
    // While running, the next tick repaints anyway.
    if (!running)
        updateView();
}

void MainWindow::Slot_ComboBox_Rule()
{
    finishStroke();
    if (running)
        return;
    // An entry of the list stands for its notation; anything else is read as typed.
    const QString text = ui->ComboBox_Rule->currentText();
    const int index = ui->ComboBox_Rule->findText(text);
    const QString spelled = index >= 0 ? ui->ComboBox_Rule->itemData(index).toString() : text;
    Rule rule;
    std::string error;
    if (!Rule::read(spelled.toStdString(), rule, error)) {
        ui->ComboBox_Rule->setToolTip(QString::fromStdString(error));
        ui->ComboBox_Rule->lineEdit()->setStyleSheet(QStringLiteral("color: #c00000;"));
        return;
    }
    if (rule == gameField->rule()) {
        showRule();
        return;
    }
    const FieldCommand::State before = currentState(false);
    applyRule(rule);
    resetHistory();
    recordStep(tr("Rule"), before);
}

void MainWindow::Slot_CheckBox_PauseWhenSettled(bool checked) { settings->setPauseWhenSettled(checked); }

void MainWindow::Slot_Timer()
{
    gameField->nextGeneration();
    ++generationNumber;
    extendHistory();
    updateInfoLabels();
    updateView();
}

void MainWindow::Slot_Action_Simulation_RunUntilSettled()
{
    finishStroke();
    if (running || history.fate() != RunHistory::Fate::Evolving)
        return;
    fastForward(
        tr("Run until settled"), generationLimit - (history.lastGeneration() - history.firstGeneration()), true);
}

void MainWindow::Slot_Action_Simulation_GenerationLimit()
{
    QInputDialog dialog(this);
    dialog.setWindowTitle(tr("Generation limit"));
    dialog.setLabelText(tr("Generations Run until settled looks at (1 to %1):").arg(AppSettings::MaxGenerationLimit));
    dialog.setInputMode(QInputDialog::IntInput);
    dialog.setIntRange(1, AppSettings::MaxGenerationLimit);
    dialog.setIntValue(generationLimit);
    dialog.exec();
    if (dialog.result() != QDialog::Accepted)
        return;
    generationLimit = dialog.intValue();
    settings->setGenerationLimit(generationLimit);
    showHistory();
}

void MainWindow::Slot_Action_Simulation_GoToGeneration()
{
    finishStroke();
    if (running)
        return;
    const int first = generationNumber + 1;
    const int last = generationNumber > INT_MAX - RunHistory::GenerationLimit
        ? INT_MAX
        : generationNumber + RunHistory::GenerationLimit;
    if (first > last)
        return;
    QInputDialog dialog(this);
    dialog.setWindowTitle(tr("Go to generation"));
    dialog.setLabelText(tr("Generation (%1 to %2):").arg(first).arg(last));
    dialog.setInputMode(QInputDialog::IntInput);
    dialog.setIntRange(first, last);
    dialog.setIntValue(first);
    dialog.exec();
    if (dialog.result() != QDialog::Accepted)
        return;
    fastForward(tr("Go to generation"), dialog.intValue() - generationNumber, false);
}

void MainWindow::Slot_Action_Simulation_PopulationGraph()
{
    if (!populationChart) {
        populationChart = new PopulationChart(this);
        populationChart->setHistory(&history);
    }
    populationChart->show();
    populationChart->raise();
    populationChart->activateWindow();
}

void MainWindow::fastForward(const QString &step, int generations, bool untilSettled)
{
    if (generations <= 0)
        return;
    const FieldCommand::State before = currentState(false);
    if (history.lastGeneration() != generationNumber)
        resetHistory();
    // Worked out on copies: Cancel leaves the field and the history as they were.
    PackedField field = before.cells;
    RunHistory ahead = history;
    if (!FastForward::run(this, step, field, ahead, generations, untilSettled))
        return;
    generationNumber += ahead.lastGeneration() - history.lastGeneration();
    history = std::move(ahead);
    field.toBuffer(gameField->snapshot());
    gameField->commitSnapshot();
    cellCount = gameField->liveCellCount();
    updateInfoLabels();
    updateView();
    showHistory();
    recordStep(step, before);
}

void MainWindow::Slot_WidgetPaintArea_GraphicScene(int row, int column, bool alive)
{
    if (running || row < 1 || row > GameField::FieldSize || column < 1 || column > GameField::FieldSize)
        return;
    if (!strokeStart)
        strokeStart = currentState(false);
    GameField::Cell **cells = gameField->snapshot();
    cells[row][column] = alive ? 1 : 0;
    gameField->commitSnapshot();
    cellCount = gameField->liveCellCount();
    updateInfoLabels();
    updateView();
    resetHistory();
}

void MainWindow::Slot_WidgetPaintArea_GraphicScene_StrokeFinished()
{
    // A whole stroke is one step, however many cells it drew.
    if (!strokeStart)
        return;
    const FieldCommand::State before = *strokeStart;
    strokeStart.reset();
    recordStep(tr("Draw"), before);
}
