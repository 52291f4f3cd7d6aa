#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QMainWindow>
#include <QString>

#include <memory>
#include <optional>

#include "document/document.h"
#include "model/edit/clip.h"
#include "model/engine/orientation.h"
#include "model/engine/rule.h"
#include "model/engine/topology.h"

class AppSettings;
class MainWindowUi;
class PanelLayout;
class StepControl;
class CensusDialog;
class PatternInfoDialog;
class PatternsDock;
class ViewFollower;
class StateLegend;
class PopulationChart;
class RecentFiles;
class QDragEnterEvent;
class QDropEvent;
class QMimeData;
class QMoveEvent;
class QAction;
class QTimer;

// The one window of the program: it builds the widgets, wires every button,
// menu action and option to the document below it, asks the questions an
// operation needs (files, numbers, the field editor, progress with Cancel),
// shows what the document signals, and remembers the options, the window's
// place, the pattern folder and the recent files between runs.
//
// While the document runs (its timer here drives it) only Pause, Stop, the
// speed, the colour, About and Exit act; every other slot ignores its call,
// even though its button is disabled anyway.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Opens a pattern file as Document::openPattern() does and remembers it;
    // on any error, shows it in a message box. Ignored while running. Returns
    // whether the pattern was opened. Outside the classic field the view fits it.
    bool openPatternFile(const QString &path, const std::optional<Rule> &rule = std::nullopt,
        const std::optional<Topology> &universe = std::nullopt);
    // The rule to start with, before anything is done in the window; not an undo step.
    void setStartRule(const Rule &rule);
    // The universe to start in, in place of the remembered one; not an undo
    // step. Shows why it cannot be made, if it cannot.
    void setStartUniverse(const Topology &topology);
    // MiB the unbounded plane may take for this run, AppSettings::MinMemory..MaxMemory.
    void setMemoryLimit(int mebibytes);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    // The view's painting and the user's input read the universe: while the
    // run's thread steps, it gives way first (see EngineGate). Watches the
    // whole application.
    bool eventFilter(QObject *watched, QEvent *event) override;

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
    void Slot_Action_Edit_Cut();
    void Slot_Action_Edit_Clear();
    void Slot_Action_Edit_ClearOutside();
    void Slot_Action_Edit_FillRandom();
    void Slot_Action_Edit_SelectAll();
    void Slot_Action_Edit_SelectNone();
    void Slot_WidgetPaintArea_PasteRequested(qint64 x, qint64 y);
    void Slot_RecentFiles_FileChosen(const QString &path);
    void Slot_Action_Simulation_RunUntilSettled();
    void Slot_Action_Simulation_GoToGeneration();
    void Slot_Action_Simulation_GenerationLimit();
    void Slot_Action_Simulation_PopulationGraph();
    void Slot_Action_Simulation_Census();
    void Slot_Action_Simulation_Universe();
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
    void Slot_WidgetPaintArea_GraphicScene(qint64 x, qint64 y, int state);
    void Slot_WidgetPaintArea_GraphicScene_StrokeFinished();
    // The document's signals.
    void Slot_Document_FieldChanged(bool cells);
    void Slot_Document_HistoryChanged();
    void Slot_Document_RuleChanged();
    void Slot_Document_UndoChanged();
    void Slot_Document_RunningChanged(bool running);
    void Slot_Document_UniverseReplaced(bool topologyChanged);
    void Slot_Document_RunFailed(const QString &problem);

private:
    void init();
    // Remembers the folder of a pattern file opened or saved, and the file among the recent ones.
    void rememberPatternFile(const QString &path);
    // The one local file of a drag, or an empty string.
    static QString droppedFile(const QMimeData *mimeData);
    // Turns the paste being placed, else the selection, else the whole pattern.
    void turn(const Orientation &step);
    void cancelPaste();
    // Enables the Edit menu's entries that act in the state the document and the view are in.
    void updateEditActions();
    // Shows a refused edit, if it was refused.
    void showRefusal(const QString &title, const QString &problem);
    void showPatternInfo();
    void showPatternsDock(bool shown);

    MainWindowUi *ui; // owned; the widgets themselves belong to the window
    AppSettings *settings = nullptr; // owned
    Document *document = nullptr; // owned
    RecentFiles *recentFiles = nullptr; // owned, also a child of this window
    QTimer *timer = nullptr; // owned, also a child of this window; its ticks step a run
    int ips = 20; // generations per second, 1..30
    QString patternFolder; // where the last pattern was opened or saved
    PopulationChart *populationChart = nullptr; // a child window, made when first asked for
    CensusDialog *censusDialog = nullptr; // a child window, made when first asked for
    PatternInfoDialog *patternInfo = nullptr; // a child window, made when first asked for
    ViewFollower *follower = nullptr; // a child of the view
    StateLegend *legend = nullptr; // a child of the view
    PatternsDock *patternsDock = nullptr; // a child of this window, made when first shown
    StepControl *stepControl = nullptr; // a child of this window
    PanelLayout *panelLayout = nullptr; // a child of this window
    std::unique_ptr<Clip> pasteClip; // the pattern being placed, while one is; the view shows it
    Orientation pasteOrientation; // how it is turned
};

#endif // MAINWINDOW_H
