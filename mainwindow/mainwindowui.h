#ifndef MAINWINDOWUI_H
#define MAINWINDOWUI_H

#include <QtGlobal>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QMainWindow;
class QMenu;
class QMenuBar;
class QPushButton;
class QScrollArea;
class QString;
class QSpacerItem;
class QSpinBox;
class QVBoxLayout;
class QWidget;
class Rule;
class WidgetPaintArea;

// Builds the main window's widgets and keeps a pointer to each, so that the
// controller reaches every control by its object name and the layout stays
// apart from the behaviour. Everything sits on one fixed-size panel inside a
// scroll area: a window smaller than the panel scrolls instead of squeezing it.
//
// Every pointer is not owned: the widgets, actions and layouts belong to their
// Qt parents and die with the window, so deleting the holder frees nothing else.
class MainWindowUi
{
public:
    // Builds the whole tree on window, fills every member and sets the texts.
    // Call once per window, before connecting anything: the spin box and the
    // combo box change their values while being built.
    void setupUi(QMainWindow *window);
    // Sets the window title and every visible text of the tree built by setupUi.
    void retranslateUi(QMainWindow *window);
    // Enables the controls that act in that state: while running only Pause,
    // Stop, the options and the view. `canCopy`: whether there are live
    // cells to copy; `canEdit`: whether the field editor can edit the
    // universe (the classic field only).
    void setRunning(bool running, bool canCopy, bool canEdit = true);
    // Sets `label`'s text, in a smaller font than its group's as far as
    // needed for it to fit on one line.
    static void setFittedText(QLabel *label, const QString &text);
    // Sets `label`, in its group's font, to `format` with `count` for its %1: in the locale's
    // digit grouping, or from 10^15 up, or where that does not fit, as
    // "1.23 × 10¹⁸"; the tool tip holds every digit. Generations and counts
    // run to 20 digits, and a smaller font would be hard to read.
    static void setCountText(QLabel *label, const QString &format, quint64 count);
    // Shows `rule` in the rule box, by its name if it has one, with its
    // notation in the tool tip; takes back any refusal shown there.
    void showRule(const Rule &rule);

    QAction *Action_File_OpenPattern = nullptr;
    QAction *Action_File_SavePattern = nullptr;
    QAction *Action_File_ExportImage = nullptr;
    QAction *Action_File_ExportAnimation = nullptr;
    QAction *Action_File_PatternInfo = nullptr; // Ctrl+I: the pattern's notes, in a window of its own
    QAction *Action_File_Exit = nullptr;
    QAction *Action_Edit_Undo = nullptr;
    QAction *Action_Edit_Redo = nullptr;
    QAction *Action_Edit_CopyPattern = nullptr; // Copy: the selection, or every live cell without one
    QAction *Action_Edit_PastePattern = nullptr; // Paste: an outline to place where the user points
    QAction *Action_Edit_Cut = nullptr; // this one and the next three need a selection
    QAction *Action_Edit_Clear = nullptr;
    QAction *Action_Edit_ClearOutside = nullptr;
    QAction *Action_Edit_FillRandom = nullptr;
    QAction *Action_Edit_SelectAll = nullptr;
    QAction *Action_Edit_SelectNone = nullptr; // Escape: also cancels a paste being placed
    QAction *Action_Edit_RotateClockwise = nullptr; // these four turn the paste being placed, if any
    QAction *Action_Edit_RotateAnticlockwise = nullptr;
    QAction *Action_Edit_FlipLeftRight = nullptr;
    QAction *Action_Edit_FlipTopBottom = nullptr;
    QAction *Action_Edit_PasteOr = nullptr; // the paste modes, checkable, one of them checked
    QAction *Action_Edit_PasteCopy = nullptr;
    QAction *Action_Edit_PasteXor = nullptr;
    QAction *Action_Simulation_Play = nullptr; // the same as the buttons, from the keyboard
    QAction *Action_Simulation_Pause = nullptr;
    QAction *Action_Simulation_Stop = nullptr;
    QAction *Action_Simulation_Next = nullptr;
    QAction *Action_Simulation_RunUntilSettled = nullptr;
    QAction *Action_Simulation_GoToGeneration = nullptr;
    QAction *Action_Simulation_GenerationLimit = nullptr;
    QAction *Action_Simulation_PopulationGraph = nullptr;
    QAction *Action_Simulation_Census = nullptr;
    QAction *Action_Simulation_Universe = nullptr;
    QAction *Action_Simulation_Faster = nullptr; // ]: doubles the generations of a tick
    QAction *Action_Simulation_Slower = nullptr; // [: halves them
    QAction *Action_View_ZoomIn = nullptr;
    QAction *Action_View_ZoomOut = nullptr;
    QAction *Action_View_FitPattern = nullptr;
    QAction *Action_View_Grid = nullptr; // checkable
    QAction *Action_View_Follow = nullptr; // checkable: the view keeps the live cells in sight
    QAction *Action_View_Patterns = nullptr; // F9: shows or hides the pattern folder's dock
    QAction *Action_Help_About = nullptr;
    QWidget *Widget_Main = nullptr;
    QVBoxLayout *Layout_Vertical_1 = nullptr;
    QScrollArea *ScrollArea_Main = nullptr;
    QWidget *Widget_ScrollAreaContent = nullptr;
    QVBoxLayout *Layout_Vertical_2 = nullptr;
    QFrame *Frame_GUI = nullptr; // 950 x 750 pixels
    WidgetPaintArea *WidgetPaintArea_GraphicScene = nullptr; // 730 x 730 pixels, no field until the controller sets one
    QGroupBox *GroupBox_Simulation = nullptr;
    QPushButton *PushButton_Play = nullptr;
    QPushButton *PushButton_Pause = nullptr;
    QPushButton *PushButton_Stop = nullptr;
    QPushButton *PushButton_Next = nullptr;
    QGroupBox *GroupBox_Field = nullptr;
    QPushButton *PushButton_Clear = nullptr;
    QPushButton *PushButton_Random = nullptr;
    QPushButton *PushButton_Edit = nullptr;
    QPushButton *PushButton_SaveState = nullptr;
    QGroupBox *GroupBox_Options = nullptr;
    QLabel *Label_IPS = nullptr;
    QLabel *Label_CellColor = nullptr;
    QSpinBox *SpinBox_IPS = nullptr; // generations per second, 1..30
    QLabel *Label_Step = nullptr; // the generations of a tick, filled in by the controller
    QComboBox *ComboBox_CellColor = nullptr; // index 0 red, 1 green, 2 blue
    QLabel *Label_Rule = nullptr;
    QComboBox *ComboBox_Rule
        = nullptr; // editable; one item per named rule, its name as text, its notation as user data
    QCheckBox *CheckBox_PauseWhenSettled = nullptr;
    QGroupBox *GroupBox_Info = nullptr;
    QLabel *Label_FieldSize = nullptr;
    QLabel *Label_GenerationNumber = nullptr;
    QLabel *Label_CellCount = nullptr;
    QLabel *Label_State = nullptr; // two lines: its texts run longer than the others
    QSpacerItem *Spacer_Vertical = nullptr; // owned by Layout_Vertical_2; has no object name
    QMenuBar *MenuBar = nullptr;
    QMenu *Menu_File = nullptr;
    QMenu *Menu_RecentFiles = nullptr; // in Menu_File; its entries come from the controller
    QMenu *Menu_Examples = nullptr; // in Menu_File; its entries come from the controller
    QMenu *Menu_Edit = nullptr;
    QMenu *Menu_PasteMode = nullptr; // in Menu_Edit
    QMenu *Menu_View = nullptr;
    QMenu *Menu_Simulation = nullptr;
    QMenu *Menu_Help = nullptr;
};

#endif // MAINWINDOWUI_H
