#include "mainwindow/mainwindow.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QPushButton>
#include <QSize>
#include <QSpinBox>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "document/appsettings.h"
#include "document/document.h"
#include "document/enginegate.h"
#include "document/patternfile.h"
#include "editor/formfieldeditor.h"
#include "mainwindow/aheadprogress.h"
#include "mainwindow/censusdialog.h"
#include "mainwindow/examplemenu.h"
#include "mainwindow/generationinput.h"
#include "mainwindow/mainwindowui.h"
#include "mainwindow/panellayout.h"
#include "mainwindow/patterndialogs.h"
#include "mainwindow/patterninfodialog.h"
#include "mainwindow/patternsdock.h"
#include "mainwindow/recentfiles.h"
#include "mainwindow/stepcontrol.h"
#include "mainwindow/universedialog.h"
#include "mainwindow/windowexport.h"
#include "mainwindow/windowplacement.h"
#include "model/engine/hashlife.h"
#include "model/engine/statehashlife.h"
#include "view/populationchart.h"
#include "view/statelegend.h"
#include "view/viewfollower.h"
#include "view/widgetpaintarea.h"

namespace
{

constexpr int MillisecondsPerSecond = 1000;
const QSize ButtonIconSize(40, 40);
const QSize SaveStateIconSize(30, 30);

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

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new MainWindowUi)
{
    ui->setupUi(this);
    init();
    Slot_Document_UniverseReplaced(true);
    ui->setRunning(false, false, document->classicField() != nullptr);
    Slot_Document_FieldChanged(true);
    Slot_Document_HistoryChanged();
    Slot_Document_UndoChanged();
    const std::optional<QPoint> position = settings->windowPosition();
    WindowPlacement::fitToScreen(this, !position);
    if (position)
        move(*position);

    // Connected last, so that the start values given above run no slot.
    const struct {
        QObject *sender;
        const char *signal;
        const char *slot;
    } wires[] = {
        { ui->Action_File_OpenPattern, SIGNAL(triggered(bool)), SLOT(Slot_Action_File_OpenPattern()) },
        { ui->Action_File_SavePattern, SIGNAL(triggered(bool)), SLOT(Slot_Action_File_SavePattern()) },
        { ui->Action_File_ExportImage, SIGNAL(triggered(bool)), SLOT(Slot_Action_File_ExportImage()) },
        { ui->Action_File_ExportAnimation, SIGNAL(triggered(bool)), SLOT(Slot_Action_File_ExportAnimation()) },
        { ui->Action_File_Exit, SIGNAL(triggered(bool)), SLOT(Slot_Action_File_Exit()) },
        { ui->Action_Edit_Undo, SIGNAL(triggered(bool)), SLOT(Slot_Action_Edit_Undo()) },
        { ui->Action_Edit_Redo, SIGNAL(triggered(bool)), SLOT(Slot_Action_Edit_Redo()) },
        { ui->Action_Edit_CopyPattern, SIGNAL(triggered(bool)), SLOT(Slot_Action_Edit_CopyPattern()) },
        { ui->Action_Edit_PastePattern, SIGNAL(triggered(bool)), SLOT(Slot_Action_Edit_PastePattern()) },
        { ui->Action_Edit_Cut, SIGNAL(triggered(bool)), SLOT(Slot_Action_Edit_Cut()) },
        { ui->Action_Edit_Clear, SIGNAL(triggered(bool)), SLOT(Slot_Action_Edit_Clear()) },
        { ui->Action_Edit_ClearOutside, SIGNAL(triggered(bool)), SLOT(Slot_Action_Edit_ClearOutside()) },
        { ui->Action_Edit_FillRandom, SIGNAL(triggered(bool)), SLOT(Slot_Action_Edit_FillRandom()) },
        { ui->Action_Edit_SelectAll, SIGNAL(triggered(bool)), SLOT(Slot_Action_Edit_SelectAll()) },
        { ui->Action_Edit_SelectNone, SIGNAL(triggered(bool)), SLOT(Slot_Action_Edit_SelectNone()) },
        { ui->WidgetPaintArea_GraphicScene, SIGNAL(pasteRequested(qint64, qint64)),
            SLOT(Slot_WidgetPaintArea_PasteRequested(qint64, qint64)) },
        { recentFiles, SIGNAL(fileChosen(QString)), SLOT(Slot_RecentFiles_FileChosen(QString)) },
        { ui->Action_Simulation_Play, SIGNAL(triggered(bool)), SLOT(Slot_PushButton_Play()) },
        { ui->Action_Simulation_Pause, SIGNAL(triggered(bool)), SLOT(Slot_PushButton_Pause()) },
        { ui->Action_Simulation_Stop, SIGNAL(triggered(bool)), SLOT(Slot_PushButton_Stop()) },
        { ui->Action_Simulation_Next, SIGNAL(triggered(bool)), SLOT(Slot_PushButton_Next()) },
        { ui->Action_Simulation_RunUntilSettled, SIGNAL(triggered(bool)),
            SLOT(Slot_Action_Simulation_RunUntilSettled()) },
        { ui->Action_Simulation_GoToGeneration, SIGNAL(triggered(bool)),
            SLOT(Slot_Action_Simulation_GoToGeneration()) },
        { ui->Action_Simulation_GenerationLimit, SIGNAL(triggered(bool)),
            SLOT(Slot_Action_Simulation_GenerationLimit()) },
        { ui->Action_Simulation_PopulationGraph, SIGNAL(triggered(bool)),
            SLOT(Slot_Action_Simulation_PopulationGraph()) },
        { ui->Action_Simulation_Census, SIGNAL(triggered(bool)), SLOT(Slot_Action_Simulation_Census()) },
        { ui->Action_Simulation_Universe, SIGNAL(triggered(bool)), SLOT(Slot_Action_Simulation_Universe()) },
        { ui->Menu_Examples, SIGNAL(triggered(QAction *)), SLOT(Slot_Menu_Examples(QAction *)) },
        { ui->Action_Help_About, SIGNAL(triggered(bool)), SLOT(Slot_Action_Help_About()) },
        { ui->ComboBox_CellColor, SIGNAL(currentIndexChanged(int)), SLOT(Slot_ComboBox_CellColor(int)) },
        // A rule picked from the list, or typed and confirmed with Enter.
        { ui->ComboBox_Rule, SIGNAL(activated(int)), SLOT(Slot_ComboBox_Rule()) },
        { ui->ComboBox_Rule->lineEdit(), SIGNAL(returnPressed()), SLOT(Slot_ComboBox_Rule()) },
        { ui->CheckBox_PauseWhenSettled, SIGNAL(toggled(bool)), SLOT(Slot_CheckBox_PauseWhenSettled(bool)) },
        { ui->PushButton_Clear, SIGNAL(released()), SLOT(Slot_PushButton_Clear()) },
        { ui->PushButton_Edit, SIGNAL(released()), SLOT(Slot_PushButton_Edit()) },
        { ui->PushButton_Next, SIGNAL(released()), SLOT(Slot_PushButton_Next()) },
        { ui->PushButton_Pause, SIGNAL(released()), SLOT(Slot_PushButton_Pause()) },
        { ui->PushButton_Play, SIGNAL(released()), SLOT(Slot_PushButton_Play()) },
        { ui->PushButton_Random, SIGNAL(released()), SLOT(Slot_PushButton_Random()) },
        { ui->PushButton_SaveState, SIGNAL(released()), SLOT(Slot_PushButton_SaveState()) },
        { ui->PushButton_Stop, SIGNAL(released()), SLOT(Slot_PushButton_Stop()) },
        { ui->SpinBox_IPS, SIGNAL(valueChanged(int)), SLOT(Slot_SpinBox_IPS(int)) },
        { timer, SIGNAL(timeout()), SLOT(Slot_Timer()) },
        { ui->WidgetPaintArea_GraphicScene, SIGNAL(universeCellDrawn(qint64, qint64, int)),
            SLOT(Slot_WidgetPaintArea_GraphicScene(qint64, qint64, int)) },
        { ui->WidgetPaintArea_GraphicScene, SIGNAL(strokeFinished()),
            SLOT(Slot_WidgetPaintArea_GraphicScene_StrokeFinished()) },
        { document, SIGNAL(fieldChanged(bool)), SLOT(Slot_Document_FieldChanged(bool)) },
        { document, SIGNAL(historyChanged()), SLOT(Slot_Document_HistoryChanged()) },
        { document, SIGNAL(ruleChanged()), SLOT(Slot_Document_RuleChanged()) },
        { document, SIGNAL(undoChanged()), SLOT(Slot_Document_UndoChanged()) },
        { document, SIGNAL(runningChanged(bool)), SLOT(Slot_Document_RunningChanged(bool)) },
        { document, SIGNAL(universeReplaced(bool)), SLOT(Slot_Document_UniverseReplaced(bool)) },
        { document, SIGNAL(runFailed(QString)), SLOT(Slot_Document_RunFailed(QString)) },
    };
    for (const auto &wire : wires)
        connect(wire.sender, wire.signal, this, wire.slot);
    // A step that interrupts a stroke ends it in the view too.
    connect(document, &Document::strokeEnded, ui->WidgetPaintArea_GraphicScene, &WidgetPaintArea::endStroke);
    WidgetPaintArea *view = ui->WidgetPaintArea_GraphicScene;
    qApp->installEventFilter(this);
    connect(ui->Action_View_ZoomIn, &QAction::triggered, view, &WidgetPaintArea::zoomIn);
    connect(ui->Action_View_ZoomOut, &QAction::triggered, view, &WidgetPaintArea::zoomOut);
    connect(ui->Action_View_FitPattern, &QAction::triggered, view, &WidgetPaintArea::fitPattern);
    connect(ui->Action_View_Grid, &QAction::toggled, view, &WidgetPaintArea::setGridShown);
    connect(ui->Action_View_Grid, &QAction::toggled, this, [this](bool shown) { settings->setGridShown(shown); });
    connect(view, &WidgetPaintArea::selectionChanged, this, &MainWindow::updateEditActions);
    connect(ui->Action_File_PatternInfo, &QAction::triggered, this, &MainWindow::showPatternInfo);
    connect(document, &Document::modifiedChanged, this, &QWidget::setWindowModified);
    connect(ui->Action_View_Patterns, &QAction::toggled, this, &MainWindow::showPatternsDock);
    QAction *follow = ui->Action_View_Follow;
    connect(follow, &QAction::triggered, this, [this](bool on) { settings->setFollowPattern(on); });
    connect(follow, &QAction::toggled, this, [this](bool on) {
        follower->setActive(on);
        Slot_Document_FieldChanged(true);
    });
    for (QAction *zoom : { ui->Action_View_ZoomIn, ui->Action_View_ZoomOut })
        connect(zoom, &QAction::triggered, follow, [follow] { follow->setChecked(false); });
    connect(follower, &ViewFollower::stoppedByUser, follow, [follow] { follow->setChecked(false); });
    const std::pair<QAction *, Orientation> turns[] = {
        { ui->Action_Edit_RotateClockwise, Orientation().clockwise() },
        { ui->Action_Edit_RotateAnticlockwise, Orientation().anticlockwise() },
        { ui->Action_Edit_FlipLeftRight, Orientation().flippedLeftRight() },
        { ui->Action_Edit_FlipTopBottom, Orientation().flippedTopBottom() },
    };
    for (const auto &[action, step] : turns)
        connect(action, &QAction::triggered, this, [this, step = step] { turn(step); });
    const QAction *const modes[] = { ui->Action_Edit_PasteOr, ui->Action_Edit_PasteCopy, ui->Action_Edit_PasteXor };
    for (int mode = 0; mode < 3; ++mode)
        connect(modes[mode], &QAction::triggered, this, [this, mode] { settings->setPasteMode(mode); });
}

MainWindow::~MainWindow()
{
    delete document;
    delete recentFiles;
    delete settings;
    delete ui;
    delete timer;
    // The view, a child widget destroyed after this body, never touches the field then.
}

void MainWindow::init()
{
    settings = new AppSettings;
    document = new Document(this);

    timer = new QTimer(this);
    timer->setTimerType(Qt::PreciseTimer);

    if (settings->memoryLimit() > 0) {
        HashLife::setMemoryLimit(static_cast<std::size_t>(settings->memoryLimit()) << 20);
        StateHashLife::setMemoryLimit(static_cast<std::size_t>(settings->memoryLimit()) << 20);
    }
    ips = settings->speed();
    document->setGenerationLimit(settings->generationLimit());
    document->setPauseWhenSettled(settings->pauseWhenSettled());

    // Set on the view as well: no slot is connected yet.
    const int colorIndex = settings->colorIndex();
    ui->ComboBox_CellColor->setCurrentIndex(colorIndex);
    ui->WidgetPaintArea_GraphicScene->setColorMode(colorModeForIndex(colorIndex));
    ui->CheckBox_PauseWhenSettled->setChecked(settings->pauseWhenSettled());
    ui->Action_View_Grid->setChecked(settings->gridShown());
    ui->WidgetPaintArea_GraphicScene->setGridShown(settings->gridShown());
    follower = new ViewFollower(ui->WidgetPaintArea_GraphicScene);
    ui->Action_View_Follow->setChecked(settings->followPattern());
    follower->setActive(settings->followPattern());
    QAction *const modes[] = { ui->Action_Edit_PasteOr, ui->Action_Edit_PasteCopy, ui->Action_Edit_PasteXor };
    modes[settings->pasteMode()]->setChecked(true);
    patternFolder = settings->patternFolder();
    recentFiles = new RecentFiles(ui->Menu_RecentFiles, settings, this);

    const std::pair<QPushButton *, const char *> icons[]
        = { { ui->PushButton_Clear, "field_clear" }, { ui->PushButton_Edit, "field_edit" },
              { ui->PushButton_Next, "simulation_next" }, { ui->PushButton_Pause, "simulation_pause" },
              { ui->PushButton_Play, "simulation_play" }, { ui->PushButton_Random, "field_random" },
              { ui->PushButton_SaveState, "field_save" }, { ui->PushButton_Stop, "simulation_stop" } };
    for (const auto &[button, name] : icons) {
        button->setIcon(QIcon(QStringLiteral(":/resources/icons/%1.png").arg(QLatin1String(name))));
        button->setIconSize(button == ui->PushButton_SaveState ? SaveStateIconSize : ButtonIconSize);
    }

    ui->SpinBox_IPS->setValue(ips);

    document->setStartRule(settings->rule());
    if (const std::optional<Topology> universe = settings->startUniverse())
        document->setStartUniverse(*universe);
    ui->showRule(document->rule());
    legend = new StateLegend(ui->WidgetPaintArea_GraphicScene);
    legend->showRule(document->rule(), colorModeForIndex(colorIndex));
    stepControl
        = new StepControl(document, ui->Label_Step, ui->Action_Simulation_Faster, ui->Action_Simulation_Slower, this);
    panelLayout = new PanelLayout(ui, this);
    new AheadProgress(this, document); // a child of this window

    setAcceptDrops(true);
    ExampleMenu::fill(ui->Menu_Examples);
}

void MainWindow::Slot_Document_FieldChanged(bool cells)
{
    setWindowTitle(PatternInfoDialog::windowTitle(document->name()));
    if (document->universe().backgroundAlive())
        ui->Label_CellCount->setText(tr("Cells: infinitely many"));
    else
        MainWindowUi::setCountText(ui->Label_CellCount, tr("Cells: %1"), document->cellCount());
    MainWindowUi::setCountText(
        ui->Label_GenerationNumber, tr("Generation: %1"), static_cast<quint64>(document->generation()));
    ui->Action_Edit_CopyPattern->setEnabled(!document->isRunning() && document->cellCount() > 0);
    updateEditActions();
    if (cells)
        ui->WidgetPaintArea_GraphicScene->update();
    // Never under a stroke being drawn: the press and release of one click would land on different cells.
    if (cells && !document->classicField() && !ui->WidgetPaintArea_GraphicScene->isStroking())
        follower->follow(document->universe().boundingBox());
}

void MainWindow::Slot_Document_HistoryChanged()
{
    ui->Label_State->setText(document->stateText());
    if (populationChart)
        populationChart->historyChanged();
}

void MainWindow::Slot_Document_RuleChanged()
{
    ui->showRule(document->rule());
    legend->showRule(document->rule(), colorModeForIndex(ui->ComboBox_CellColor->currentIndex()));
    settings->setRule(document->rule());
}

void MainWindow::Slot_Document_UndoChanged()
{
    ui->Action_Edit_Undo->setEnabled(document->canUndo());
    ui->Action_Edit_Redo->setEnabled(document->canRedo());
    const QString undo = document->undoText();
    const QString redo = document->redoText();
    ui->Action_Edit_Undo->setText(undo.isEmpty() ? tr("&Undo") : tr("&Undo %1").arg(undo));
    ui->Action_Edit_Redo->setText(redo.isEmpty() ? tr("&Redo") : tr("&Redo %1").arg(redo));
}

void MainWindow::Slot_Document_RunningChanged(bool running)
{
    if (running) {
        timer->start(tickInterval(ips));
        cancelPaste();
    } else {
        timer->stop();
    }
    ui->setRunning(running, document->cellCount() > 0, document->classicField() != nullptr);
    updateEditActions();
    Slot_Document_UndoChanged();
}

void MainWindow::Slot_Document_UniverseReplaced(bool topologyChanged)
{
    WidgetPaintArea *view = ui->WidgetPaintArea_GraphicScene;
    if (GameField *field = document->classicField())
        view->setField(field);
    else
        view->setUniverse(&document->universe());
    stepControl->refresh();
    if (!topologyChanged)
        return;
    cancelPaste();
    view->setSelection(std::nullopt);
    const bool classic = document->classicField() != nullptr;
    MainWindowUi::setFittedText(ui->Label_FieldSize, document->sizeText());
    ui->PushButton_Edit->setEnabled(classic && !document->isRunning());
    ui->PushButton_Edit->setToolTip(classic ? tr("Edit") : tr("Edit: the field editor edits the classic field only"));
    panelLayout->setGrowing(!classic);
    if (classic)
        view->resetView();
    else
        view->fitPattern();
}

void MainWindow::Slot_Document_RunFailed(const QString &problem)
{
    QMessageBox::warning(this, tr("Run"), tr("The run stopped:\n%1").arg(problem));
}

bool MainWindow::openPatternFile(
    const QString &path, const std::optional<Rule> &rule, const std::optional<Topology> &universe)
{
    document->finishStroke();
    if (document->isRunning())
        return false;
    const QString problem = document->openPattern(path, rule, universe);
    if (!problem.isEmpty()) {
        QMessageBox::warning(this, tr("Open pattern"),
            tr("Could not open the pattern file \"%1\":\n%2").arg(PatternDialogs::shownPath(path), problem));
        return false;
    }
    // Examples come from the program's resources, not from a folder of the user's.
    if (!path.startsWith(QLatin1Char(':')))
        rememberPatternFile(path);
    if (!document->classicField())
        ui->WidgetPaintArea_GraphicScene->fitPattern();
    if (!document->topology().isBounded())
        ui->Action_View_Follow->setChecked(settings->followPattern());
    PatternInfoDialog::offerNotes(this, !document->comments().empty());
    return true;
}

void MainWindow::setStartRule(const Rule &rule)
{
    document->setStartRule(rule);
    ui->showRule(document->rule());
}

void MainWindow::setStartUniverse(const Topology &topology)
{
    const QString problem = document->setStartUniverse(topology);
    if (!problem.isEmpty())
        QMessageBox::warning(this, tr("Universe"), problem);
}

void MainWindow::setMemoryLimit(int mebibytes)
{
    HashLife::setMemoryLimit(static_cast<std::size_t>(mebibytes) << 20);
    StateHashLife::setMemoryLimit(static_cast<std::size_t>(mebibytes) << 20);
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
    if (!document->isRunning() && !droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QString path = droppedFile(event->mimeData());
    if (document->isRunning() || path.isEmpty())
        return;
    event->acceptProposedAction();
    // Opened once the drop is over, so that a message box about the file does
    // not keep the program it came from waiting.
    QTimer::singleShot(0, this, [this, path] { openPatternFile(path); });
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Paint:
        if (watched == ui->WidgetPaintArea_GraphicScene) {
            const WidgetPaintArea *view = ui->WidgetPaintArea_GraphicScene;
            document->setViewArea(view->visibleCells(), view->viewport().shift());
            document->guardUniverse();
        }
        break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::Drop:
        document->guardUniverse();
        break;
    case QEvent::MouseMove:
        if (static_cast<QMouseEvent *>(event)->buttons() != Qt::NoButton)
            document->guardUniverse();
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
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
    document->finishStroke();
    if (document->isRunning())
        return;
    const QString path = PatternDialogs::openPath(this, patternFolder);
    if (!path.isEmpty())
        openPatternFile(path);
}

void MainWindow::Slot_Action_File_SavePattern()
{
    document->finishStroke();
    if (document->isRunning())
        return;
    PatternFile::Format format = PatternFile::Format::Rle;
    const QString path = PatternDialogs::savePath(this, patternFolder, format);
    if (path.isEmpty())
        return;
    // A failed save leaves any existing file untouched.
    const QString problem = document->savePattern(path, format);
    if (!problem.isEmpty()) {
        QMessageBox::warning(this, tr("Save pattern"),
            tr("Could not save the pattern file \"%1\":\n%2").arg(PatternDialogs::shownPath(path), problem));
        return;
    }
    rememberPatternFile(path);
}

void MainWindow::Slot_Action_File_ExportImage()
{
    document->finishStroke();
    if (document->isRunning())
        return;
    // The file dialog runs the event loop before the universe is read.
    const EngineGate::Scope scope;
    const int colorMode = colorModeForIndex(ui->ComboBox_CellColor->currentIndex());
    const QString path = document->classicField()
        ? WindowExport::image(this, patternFolder, document->pictureCells(), colorMode)
        : WindowExport::image(this, patternFolder, document->universe(),
            ui->WidgetPaintArea_GraphicScene->visibleCells(), ui->WidgetPaintArea_GraphicScene->viewport().zoomStep(),
            colorMode);
    if (!path.isEmpty())
        patternFolder = QFileInfo(path).absolutePath();
}

void MainWindow::Slot_Action_File_ExportAnimation()
{
    document->finishStroke();
    if (document->isRunning())
        return;
    // The file dialog runs the event loop before the universe is read.
    const EngineGate::Scope scope;
    const int colorMode = colorModeForIndex(ui->ComboBox_CellColor->currentIndex());
    const QString path = document->classicField()
        ? WindowExport::animation(this, patternFolder, document->animationFrames(), colorMode, ips)
        : WindowExport::animation(this, patternFolder, *document->snapshot(),
            ui->WidgetPaintArea_GraphicScene->visibleCells(), ui->WidgetPaintArea_GraphicScene->viewport().zoomStep(),
            colorMode, ips);
    if (!path.isEmpty())
        patternFolder = QFileInfo(path).absolutePath();
}

void MainWindow::Slot_Action_File_Exit() { QCoreApplication::quit(); }

void MainWindow::Slot_Action_Edit_Undo() { document->undo(); }

void MainWindow::Slot_Action_Edit_Redo() { document->redo(); }

void MainWindow::Slot_RecentFiles_FileChosen(const QString &path)
{
    if (document->isRunning())
        return;
    // A file that is gone leaves the list; one that fails to read may be mended and tried again.
    if (!openPatternFile(path) && !QFileInfo::exists(path))
        recentFiles->remove(path);
}

void MainWindow::Slot_Menu_Examples(QAction *action)
{
    if (document->isRunning() || !action)
        return;
    openPatternFile(action->data().toString());
}

void MainWindow::Slot_Action_Help_About()
{
    document->finishStroke();
    QMessageBox box(QMessageBox::NoIcon, tr("About"),
        tr("<div><b>Conway's Game of Life</b><hr/>Author: Tarvinek</div>"), QMessageBox::NoButton, nullptr,
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    box.exec();
}

void MainWindow::Slot_PushButton_Play() { document->play(); }

void MainWindow::Slot_PushButton_Pause() { document->pause(); }

void MainWindow::Slot_PushButton_Stop() { document->stop(); }

void MainWindow::Slot_PushButton_Next() { document->next(); }

void MainWindow::Slot_PushButton_Clear() { document->clear(); }

void MainWindow::Slot_PushButton_Random()
{
    showRefusal(tr("Random"), document->randomize(ui->WidgetPaintArea_GraphicScene->visibleCells()));
}

void MainWindow::Slot_PushButton_Edit()
{
    if (document->isRunning() || !document->classicField())
        return;
    std::vector<GameField::Cell> cells = document->editorCells();
    FormFieldEditor editor(&cells, this);
    editor.setWindowFlags(Qt::Window | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    editor.exec();
    // The editor wrote every painted cell into the buffer already; only a
    // confirmed edit is carried into the field.
    if (editor.getResult())
        document->applyEdit(cells);
}

void MainWindow::Slot_PushButton_SaveState() { document->saveState(); }

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
    legend->showRule(document->rule(), colorModeForIndex(index));
    // While running, the next tick repaints anyway.
    if (!document->isRunning())
        ui->WidgetPaintArea_GraphicScene->update();
}

void MainWindow::Slot_ComboBox_Rule()
{
    document->finishStroke();
    if (document->isRunning())
        return;
    // An entry of the list stands for its notation; anything else is read as typed.
    const int index = ui->ComboBox_Rule->findText(ui->ComboBox_Rule->currentText());
    const QString problem = document->setRule(
        index >= 0 ? ui->ComboBox_Rule->itemData(index).toString() : ui->ComboBox_Rule->currentText());
    if (!problem.isEmpty() && index >= 0) {
        // An entry of the list is a rule, only not one this universe runs: say so, and show the rule still in use.
        ui->showRule(document->rule());
        QMessageBox::warning(this, tr("Rule"), problem);
    } else if (!problem.isEmpty()) {
        ui->ComboBox_Rule->setToolTip(problem);
        ui->ComboBox_Rule->lineEdit()->setStyleSheet(QStringLiteral("color: #c00000;"));
    } else {
        ui->showRule(document->rule());
    }
}

void MainWindow::Slot_CheckBox_PauseWhenSettled(bool checked)
{
    settings->setPauseWhenSettled(checked);
    document->setPauseWhenSettled(checked);
}

void MainWindow::Slot_Timer() { document->tick(); }

void MainWindow::Slot_Action_Simulation_RunUntilSettled() { document->runUntilSettled(); }

void MainWindow::Slot_Action_Simulation_GoToGeneration()
{
    document->finishStroke();
    const std::int64_t first = document->generation() + 1;
    const std::int64_t last = document->lastReachableGeneration();
    if (document->isRunning() || first > last)
        return;
    if (const std::optional<std::int64_t> target = GenerationInput::ask(this, first, last))
        document->goToGeneration(*target);
}

void MainWindow::Slot_Action_Simulation_GenerationLimit()
{
    bool accepted = false;
    const int limit = QInputDialog::getInt(this, tr("Generation limit"),
        tr("Generations Run until settled looks at (1 to %1):").arg(AppSettings::MaxGenerationLimit),
        document->generationLimit(), 1, AppSettings::MaxGenerationLimit, 1, &accepted);
    if (!accepted)
        return;
    settings->setGenerationLimit(limit);
    document->setGenerationLimit(limit);
}

void MainWindow::Slot_Action_Simulation_PopulationGraph()
{
    if (!populationChart) {
        populationChart = new PopulationChart(this);
        populationChart->setHistory(&document->history());
    }
    populationChart->show();
    populationChart->raise();
    populationChart->activateWindow();
}

void MainWindow::showPatternInfo()
{
    if (!patternInfo)
        patternInfo = new PatternInfoDialog(*document, this);
    patternInfo->show();
    patternInfo->raise();
    patternInfo->activateWindow();
}

void MainWindow::showPatternsDock(bool shown)
{
    if (!patternsDock && shown) {
        patternsDock = new PatternsDock(settings, ui->Menu_Examples, ui->Action_View_Patterns, this);
        connect(patternsDock, &PatternsDock::openRequested, this, [this](const QString &path) {
            if (!document->isRunning())
                openPatternFile(path);
        });
    }
    if (patternsDock)
        patternsDock->setVisible(shown);
}

void MainWindow::Slot_Action_Simulation_Census()
{
    if (!censusDialog)
        censusDialog = new CensusDialog(*document, this);
    censusDialog->show();
    censusDialog->raise();
    censusDialog->activateWindow();
}

void MainWindow::Slot_Action_Simulation_Universe()
{
    document->finishStroke();
    if (document->isRunning())
        return;
    const int memory = settings->memoryLimit();
    const int shownMemory = memory > 0 ? memory : static_cast<int>(HashLife::memoryLimit() >> 20);
    UniverseDialog dialog(
        document->topology(), settings->startUniverse().has_value(), memory, shownMemory,
        [this](const Topology &topology) { return document->cellsLostIn(topology); }, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (dialog.memory() != shownMemory) {
        settings->setMemoryLimit(dialog.memory());
        setMemoryLimit(dialog.memory());
    }
    settings->setStartUniverse(dialog.startsHere() ? std::optional<Topology>(dialog.topology()) : std::nullopt);
    const QString problem = document->setTopology(dialog.topology());
    if (!problem.isEmpty())
        QMessageBox::warning(this, tr("Universe"), problem);
}

void MainWindow::Slot_WidgetPaintArea_GraphicScene(qint64 x, qint64 y, int state) { document->drawCell(x, y, state); }

void MainWindow::Slot_WidgetPaintArea_GraphicScene_StrokeFinished() { document->finishStroke(); }
