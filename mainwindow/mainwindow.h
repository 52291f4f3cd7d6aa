#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QMainWindow>
#include <QString>

#include <optional>
#include <string>
#include <vector>

#include "mainwindow/fieldcommand.h"
#include "mainwindow/patternfile.h"
#include "model/analysis/runhistory.h"
#include "model/engine/gamefield.h"
#include "model/engine/rule.h"

class AppSettings;
class MainWindowUi;
class PopulationChart;
class RecentFiles;
class QDragEnterEvent;
class QDropEvent;
class QMimeData;
class QMoveEvent;
class QAction;
class QTimer;
class QUndoStack;

// The one window of the program and the only controller of the simulation. Every
// button, menu action, option and timer tick arrives at one of its slots, which
// performs at most one operation on the field, keeps the generation number and
// the live-cell count, rewrites the labels and asks the view to repaint.
//
// It is either idle or running (the timer drives the field). While running only
// Pause, Stop, the speed, the colour, About and Exit act; every other slot
// ignores its call, even though its button is disabled anyway.
//
// Every step that changes the field, its generation or its saved state (Clear,
// Random, Next, Stop, Save state, a confirmed edit, an opened pattern, a drawn
// stroke, a whole run from Play to Pause or Stop, a jump ahead, a change of
// rule) goes onto an undo stack, so that none of them loses a field for good.
//
// The options, the window's place, the pattern folder and the recent files
// are remembered between runs; each is stored the moment it changes.
//
// A run history follows the field from the last time it was set by hand, so
// that the window can tell where the pattern is going and graph its population.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Reads a pattern file and, if it reads cleanly, puts it centred on an
    // otherwise dead field that also becomes the saved state, at generation 1,
    // under `rule` if given, else the rule the file names, else the rule as
    // it is. On any error, shows it in a message box and leaves everything as
    // it was. Ignored while running. Returns whether the pattern was opened.
    bool openPatternFile(const QString &path, const std::optional<Rule> &rule = std::nullopt);
    // The rule to start with, before anything is done in the window; not an undo step.
    void setStartRule(const Rule &rule);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private slots:
    void Slot_Action_File_OpenPattern();
    void Slot_Action_File_SavePattern();
    void Slot_Action_File_ExportImage();
    void Slot_Action_File_ExportAnimation();
    void Slot_Action_File_Exit();
    void Slot_Action_Edit_Undo();
    void Slot_Action_Edit_Redo();
    void Slot_Action_Edit_CopyPattern();
    void Slot_Action_Edit_PastePattern();
    void Slot_RecentFiles_FileChosen(const QString &path);
    void Slot_Action_Simulation_RunUntilSettled();
    void Slot_Action_Simulation_GoToGeneration();
    void Slot_Action_Simulation_GenerationLimit();
    void Slot_Action_Simulation_PopulationGraph();
    void Slot_Menu_Examples(QAction *action);
    void Slot_Action_Help_About();
    void Slot_PushButton_Play();
    void Slot_PushButton_Pause();
    void Slot_PushButton_Stop();
    void Slot_PushButton_Next();
    void Slot_PushButton_Clear();
    void Slot_PushButton_Random();
    void Slot_PushButton_Edit();
    void Slot_PushButton_SaveState();
    void Slot_SpinBox_IPS(int value);
    void Slot_ComboBox_CellColor(int index);
    void Slot_ComboBox_Rule();
    void Slot_CheckBox_PauseWhenSettled(bool checked);
    void Slot_Timer();
    void Slot_WidgetPaintArea_GraphicScene(int row, int column, bool alive);
    void Slot_WidgetPaintArea_GraphicScene_StrokeFinished();

private:
    void init();
    // 1 start-up, 2 running (after Play), 3 Pause, 4 Stop, 5 Next; any other
    // code leaves the buttons as they are.
    void setControlsState(int state);
    // The counters, and whether there is anything to copy.
    void updateInfoLabels();
    // Starts the run history anew from the field as it is.
    void resetHistory();
    // Adds the field as it is, one generation on, to the run history; pauses
    // a run that has just settled if the user asked for that.
    void extendHistory();
    // The state line of the Info box, and the population graph, from the run history.
    void showHistory();
    // Shows the field's rule in the rule box, taking back any refusal shown there.
    void showRule();
    // Makes `rule` the field's, shows it and remembers it for the next start.
    void applyRule(const Rule &rule);
    // Computes `generations` ahead, or until the run settles, as one undo step called `step`.
    void fastForward(const QString &step, int generations, bool untilSettled);
    void updateView();
    // Records the stroke being drawn, if any, before another action changes the field.
    void finishStroke();
    void showMessage(QString title, QString text);
    void exportToEditorBuffer();
    void importFromEditorBuffer();
    // Writes the field to `path` in `format`; the file is replaced only whole.
    void savePatternFile(const QString &path, PatternFile::Format format);
    // Asks where to export to, in the folder last used; empty if the user cancelled.
    QString exportPath(const QString &title, const QString &filter, const QString &suffix);
    // One entry in the Examples menu for each pattern compiled into the program.
    void addExamples();
    // The field as it is now; with the saved state only if `withSaved`.
    FieldCommand::State currentState(bool withSaved);
    // Puts a state back: field, generation, saved state if it has one, counters and view.
    void applyState(const FieldCommand::State &state);
    // Puts the step from `before` to now on the undo stack, if it changed anything.
    void recordStep(const QString &text, const FieldCommand::State &before);
    // Texts and enabled states of Undo and Redo.
    void updateUndoActions();
    // Remembers the folder of a pattern file opened or saved, and the file among the recent ones.
    void rememberPatternFile(const QString &path);
    // The one local file of a drag, or an empty string.
    static QString droppedFile(const QMimeData *mimeData);

    MainWindowUi *ui; // owned; the widgets themselves belong to the window
    AppSettings *settings = nullptr; // owned
    RecentFiles *recentFiles = nullptr; // owned, also a child of this window
    QTimer *timer = nullptr; // owned, also a child of this window
    GameField *gameField = nullptr; // owned
    // The field's interior, row-major, as the field editor works on it.
    std::vector<GameField::Cell> editorBuffer;
    bool running = false;
    int ips = 20; // generations per second, 1..30
    int generationLimit = RunHistory::GenerationLimit; // generations Run until settled looks at, 1..GenerationLimit
    int generationNumber = 1;
    int cellCount = 0;
    // The name and comments of the last opened file, while the field comes from it.
    std::string patternName;
    std::vector<std::string> patternComments;
    QString patternFolder; // where the last pattern was opened or saved
    QUndoStack *undoStack = nullptr; // owned, also a child of this window
    std::optional<FieldCommand::State> runStart; // the field when Play was pressed, while running
    std::optional<FieldCommand::State> strokeStart; // the field before the stroke being drawn
    RunHistory history; // from the last field set by hand up to the field shown
    PopulationChart *populationChart = nullptr; // a child window, made when first asked for
};

#endif // MAINWINDOW_H
