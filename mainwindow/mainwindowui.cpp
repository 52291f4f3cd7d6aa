#include "mainwindow/mainwindowui.h"

#include <QAbstractItemView>
#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFont>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMetaObject>
#include <QPushButton>
#include <QRect>
#include <QScrollArea>
#include <QSize>
#include <QSizePolicy>
#include <QSpacerItem>
#include <QSpinBox>
#include <QString>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <QWidget>

#include <cmath>
#include <initializer_list>

#include "mainwindow/rulelistdelegate.h"
#include "model/engine/rule.h"
#include "view/widgetpaintarea.h"

namespace
{

// Pins a control to its place: a minimum equal to the maximum keeps any layout
// or style from resizing it.
void placeFixed(QWidget *widget, int x, int y, int width, int height)
{
    widget->setGeometry(QRect(x, y, width, height));
    widget->setMinimumSize(QSize(width, height));
    widget->setMaximumSize(QSize(width, height));
}

// The names of Rule::namedRules, for the translators: the rule box shows
// them translated. Most are proper names in the Life community and stay as
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

// The names of Rule::familyExamples, in its order; the unnamed ones are named by their neighbourhood.
const char *const FamilyNames[Rule::FamilyExampleCount] = {
    QT_TRANSLATE_NOOP("MainWindow", "Brian's Brain"),
    QT_TRANSLATE_NOOP("MainWindow", "Star Wars"),
    QT_TRANSLATE_NOOP("MainWindow", "LifeHistory"),
    QT_TRANSLATE_NOOP("MainWindow", "Hexagonal Life"),
    QT_TRANSLATE_NOOP("MainWindow", "Von Neumann rule"),
};

} // namespace

void MainWindowUi::setupUi(QMainWindow *window)
{
    if (window->objectName().isEmpty())
        window->setObjectName(QString::fromUtf8("MainWindow"));
    window->resize(955, 775);
    window->setMinimumSize(QSize(500, 400));

    Action_File_OpenPattern = new QAction(window);
    Action_File_OpenPattern->setObjectName(QString::fromUtf8("Action_File_OpenPattern"));
    Action_File_OpenPattern->setShortcut(QKeySequence::Open);
    Action_File_SavePattern = new QAction(window);
    Action_File_SavePattern->setObjectName(QString::fromUtf8("Action_File_SavePattern"));
    Action_File_SavePattern->setShortcut(QKeySequence::Save);
    Action_File_ExportImage = new QAction(window);
    Action_File_ExportImage->setObjectName(QString::fromUtf8("Action_File_ExportImage"));
    Action_File_ExportAnimation = new QAction(window);
    Action_File_ExportAnimation->setObjectName(QString::fromUtf8("Action_File_ExportAnimation"));
    Action_File_PatternInfo = new QAction(window);
    Action_File_PatternInfo->setObjectName(QString::fromUtf8("Action_File_PatternInfo"));
    Action_File_PatternInfo->setShortcut(QKeySequence(Qt::CTRL + Qt::Key_I));
    Action_File_Exit = new QAction(window);
    Action_File_Exit->setObjectName(QString::fromUtf8("Action_File_Exit"));
    Action_File_Exit->setShortcut(QKeySequence::Quit);
    Action_Edit_Undo = new QAction(window);
    Action_Edit_Undo->setObjectName(QString::fromUtf8("Action_Edit_Undo"));
    Action_Edit_Undo->setShortcut(QKeySequence::Undo);
    Action_Edit_Redo = new QAction(window);
    Action_Edit_Redo->setObjectName(QString::fromUtf8("Action_Edit_Redo"));
    Action_Edit_Redo->setShortcut(QKeySequence::Redo);
    Action_Edit_CopyPattern = new QAction(window);
    Action_Edit_CopyPattern->setObjectName(QString::fromUtf8("Action_Edit_CopyPattern"));
    Action_Edit_CopyPattern->setShortcut(QKeySequence::Copy);
    Action_Edit_PastePattern = new QAction(window);
    Action_Edit_PastePattern->setObjectName(QString::fromUtf8("Action_Edit_PastePattern"));
    Action_Edit_PastePattern->setShortcut(QKeySequence::Paste);
    const struct {
        QAction *&action;
        const char *name;
        QKeySequence shortcut;
    } editActions[] = {
        { Action_Edit_Cut, "Action_Edit_Cut", QKeySequence::Cut },
        { Action_Edit_Clear, "Action_Edit_Clear", QKeySequence(Qt::Key_Delete) },
        { Action_Edit_ClearOutside, "Action_Edit_ClearOutside", QKeySequence() },
        { Action_Edit_FillRandom, "Action_Edit_FillRandom", QKeySequence() },
        { Action_Edit_SelectAll, "Action_Edit_SelectAll", QKeySequence::SelectAll },
        { Action_Edit_SelectNone, "Action_Edit_SelectNone", QKeySequence(Qt::Key_Escape) },
        // Single letters, as Fit pattern's F: a text box that has the focus keeps them.
        { Action_Edit_RotateClockwise, "Action_Edit_RotateClockwise", QKeySequence(Qt::Key_R) },
        { Action_Edit_RotateAnticlockwise, "Action_Edit_RotateAnticlockwise", QKeySequence(Qt::SHIFT + Qt::Key_R) },
        { Action_Edit_FlipLeftRight, "Action_Edit_FlipLeftRight", QKeySequence(Qt::Key_X) },
        { Action_Edit_FlipTopBottom, "Action_Edit_FlipTopBottom", QKeySequence(Qt::Key_Y) },
        { Action_Edit_PasteOr, "Action_Edit_PasteOr", QKeySequence() },
        { Action_Edit_PasteCopy, "Action_Edit_PasteCopy", QKeySequence() },
        { Action_Edit_PasteXor, "Action_Edit_PasteXor", QKeySequence() },
    };
    for (const auto &entry : editActions) {
        entry.action = new QAction(window);
        entry.action->setObjectName(QString::fromUtf8(entry.name));
        entry.action->setShortcut(entry.shortcut);
    }
    auto *pasteModes = new QActionGroup(window);
    for (QAction *mode : { Action_Edit_PasteOr, Action_Edit_PasteCopy, Action_Edit_PasteXor }) {
        mode->setCheckable(true);
        pasteModes->addAction(mode);
    }
    Action_Edit_PasteOr->setChecked(true);
    // Function keys: free in every desktop's standard keys, and next to each other.
    Action_Simulation_Play = new QAction(window);
    Action_Simulation_Play->setObjectName(QString::fromUtf8("Action_Simulation_Play"));
    Action_Simulation_Play->setShortcut(QKeySequence(Qt::Key_F5));
    Action_Simulation_Pause = new QAction(window);
    Action_Simulation_Pause->setObjectName(QString::fromUtf8("Action_Simulation_Pause"));
    Action_Simulation_Pause->setShortcut(QKeySequence(Qt::Key_F6));
    Action_Simulation_Stop = new QAction(window);
    Action_Simulation_Stop->setObjectName(QString::fromUtf8("Action_Simulation_Stop"));
    Action_Simulation_Stop->setShortcut(QKeySequence(Qt::Key_F7));
    Action_Simulation_Next = new QAction(window);
    Action_Simulation_Next->setObjectName(QString::fromUtf8("Action_Simulation_Next"));
    Action_Simulation_Next->setShortcut(QKeySequence(Qt::Key_F8));
    Action_Simulation_RunUntilSettled = new QAction(window);
    Action_Simulation_RunUntilSettled->setObjectName(QString::fromUtf8("Action_Simulation_RunUntilSettled"));
    Action_Simulation_RunUntilSettled->setShortcut(QKeySequence(Qt::CTRL + Qt::Key_E));
    Action_Simulation_GoToGeneration = new QAction(window);
    Action_Simulation_GoToGeneration->setObjectName(QString::fromUtf8("Action_Simulation_GoToGeneration"));
    Action_Simulation_GoToGeneration->setShortcut(QKeySequence(Qt::CTRL + Qt::Key_G));
    Action_Simulation_GenerationLimit = new QAction(window);
    Action_Simulation_GenerationLimit->setObjectName(QString::fromUtf8("Action_Simulation_GenerationLimit"));
    Action_Simulation_PopulationGraph = new QAction(window);
    Action_Simulation_PopulationGraph->setObjectName(QString::fromUtf8("Action_Simulation_PopulationGraph"));
    Action_Simulation_Census = new QAction(window);
    Action_Simulation_Census->setObjectName(QString::fromUtf8("Action_Simulation_Census"));
    Action_Simulation_Universe = new QAction(window);
    Action_Simulation_Universe->setObjectName(QString::fromUtf8("Action_Simulation_Universe"));
    Action_Simulation_Faster = new QAction(window);
    Action_Simulation_Faster->setObjectName(QString::fromUtf8("Action_Simulation_Faster"));
    Action_Simulation_Faster->setShortcut(QKeySequence(Qt::Key_BracketRight));
    Action_Simulation_Slower = new QAction(window);
    Action_Simulation_Slower->setObjectName(QString::fromUtf8("Action_Simulation_Slower"));
    Action_Simulation_Slower->setShortcut(QKeySequence(Qt::Key_BracketLeft));
    Action_View_ZoomIn = new QAction(window);
    Action_View_ZoomIn->setObjectName(QString::fromUtf8("Action_View_ZoomIn"));
    // Ctrl+= too: the same key without Shift on most layouts.
    Action_View_ZoomIn->setShortcuts({ QKeySequence(Qt::CTRL + Qt::Key_Plus), QKeySequence(Qt::CTRL + Qt::Key_Equal) });
    Action_View_ZoomOut = new QAction(window);
    Action_View_ZoomOut->setObjectName(QString::fromUtf8("Action_View_ZoomOut"));
    Action_View_ZoomOut->setShortcut(QKeySequence(Qt::CTRL + Qt::Key_Minus));
    Action_View_FitPattern = new QAction(window);
    Action_View_FitPattern->setObjectName(QString::fromUtf8("Action_View_FitPattern"));
    Action_View_FitPattern->setShortcut(QKeySequence(Qt::Key_F));
    Action_View_Grid = new QAction(window);
    Action_View_Grid->setObjectName(QString::fromUtf8("Action_View_Grid"));
    Action_View_Grid->setShortcut(QKeySequence(Qt::Key_G));
    Action_View_Grid->setCheckable(true);
    Action_View_Follow = new QAction(window);
    Action_View_Follow->setObjectName(QString::fromUtf8("Action_View_Follow"));
    Action_View_Follow->setCheckable(true);
    Action_View_Patterns = new QAction(window);
    Action_View_Patterns->setObjectName(QString::fromUtf8("Action_View_Patterns"));
    Action_View_Patterns->setShortcut(QKeySequence(Qt::Key_F9));
    Action_View_Patterns->setCheckable(true);
    Action_Help_About = new QAction(window);
    Action_Help_About->setObjectName(QString::fromUtf8("Action_Help_About"));

    Widget_Main = new QWidget(window);
    Widget_Main->setObjectName(QString::fromUtf8("Widget_Main"));
    Layout_Vertical_1 = new QVBoxLayout(Widget_Main);
    Layout_Vertical_1->setObjectName(QString::fromUtf8("Layout_Vertical_1"));
    Layout_Vertical_1->setSpacing(0);
    Layout_Vertical_1->setContentsMargins(0, 0, 0, 0);
    ScrollArea_Main = new QScrollArea(Widget_Main);
    ScrollArea_Main->setObjectName(QString::fromUtf8("ScrollArea_Main"));
    ScrollArea_Main->setFrameShape(QFrame::NoFrame);
    ScrollArea_Main->setWidgetResizable(true);
    // Parentless until the scroll area takes it over below.
    Widget_ScrollAreaContent = new QWidget();
    Widget_ScrollAreaContent->setObjectName(QString::fromUtf8("Widget_ScrollAreaContent"));
    Widget_ScrollAreaContent->setGeometry(QRect(0, 0, 955, 754));
    Layout_Vertical_2 = new QVBoxLayout(Widget_ScrollAreaContent);
    Layout_Vertical_2->setObjectName(QString::fromUtf8("Layout_Vertical_2"));
    Layout_Vertical_2->setSpacing(0);
    Layout_Vertical_2->setContentsMargins(0, 0, 0, 0);

    Frame_GUI = new QFrame(Widget_ScrollAreaContent);
    Frame_GUI->setObjectName(QString::fromUtf8("Frame_GUI"));
    Frame_GUI->setMinimumSize(QSize(950, 750));
    Frame_GUI->setMaximumSize(QSize(950, 750));
    Frame_GUI->setFrameShape(QFrame::NoFrame);

    WidgetPaintArea_GraphicScene = new WidgetPaintArea(Frame_GUI);
    WidgetPaintArea_GraphicScene->setObjectName(QString::fromUtf8("WidgetPaintArea_GraphicScene"));
    placeFixed(WidgetPaintArea_GraphicScene, 10, 10, 730, 730);

    GroupBox_Simulation = new QGroupBox(Frame_GUI);
    GroupBox_Simulation->setObjectName(QString::fromUtf8("GroupBox_Simulation"));
    placeFixed(GroupBox_Simulation, 750, 10, 190, 140);
    PushButton_Play = new QPushButton(GroupBox_Simulation);
    PushButton_Play->setObjectName(QString::fromUtf8("PushButton_Play"));
    placeFixed(PushButton_Play, 10, 20, 50, 50);
    PushButton_Pause = new QPushButton(GroupBox_Simulation);
    PushButton_Pause->setObjectName(QString::fromUtf8("PushButton_Pause"));
    placeFixed(PushButton_Pause, 70, 20, 50, 50);
    PushButton_Stop = new QPushButton(GroupBox_Simulation);
    PushButton_Stop->setObjectName(QString::fromUtf8("PushButton_Stop"));
    placeFixed(PushButton_Stop, 130, 20, 50, 50);
    PushButton_Next = new QPushButton(GroupBox_Simulation);
    PushButton_Next->setObjectName(QString::fromUtf8("PushButton_Next"));
    placeFixed(PushButton_Next, 10, 80, 50, 50);

    GroupBox_Field = new QGroupBox(Frame_GUI);
    GroupBox_Field->setObjectName(QString::fromUtf8("GroupBox_Field"));
    placeFixed(GroupBox_Field, 750, 160, 190, 140);
    PushButton_Clear = new QPushButton(GroupBox_Field);
    PushButton_Clear->setObjectName(QString::fromUtf8("PushButton_Clear"));
    placeFixed(PushButton_Clear, 10, 20, 50, 50);
    PushButton_Random = new QPushButton(GroupBox_Field);
    PushButton_Random->setObjectName(QString::fromUtf8("PushButton_Random"));
    placeFixed(PushButton_Random, 70, 20, 50, 50);
    PushButton_Edit = new QPushButton(GroupBox_Field);
    PushButton_Edit->setObjectName(QString::fromUtf8("PushButton_Edit"));
    placeFixed(PushButton_Edit, 130, 20, 50, 50);
    PushButton_SaveState = new QPushButton(GroupBox_Field);
    PushButton_SaveState->setObjectName(QString::fromUtf8("PushButton_SaveState"));
    placeFixed(PushButton_SaveState, 10, 80, 50, 50);

    GroupBox_Options = new QGroupBox(Frame_GUI);
    GroupBox_Options->setObjectName(QString::fromUtf8("GroupBox_Options"));
    placeFixed(GroupBox_Options, 750, 310, 190, 211);
    Label_IPS = new QLabel(GroupBox_Options);
    Label_IPS->setObjectName(QString::fromUtf8("Label_IPS"));
    placeFixed(Label_IPS, 10, 20, 115, 30);
    Label_CellColor = new QLabel(GroupBox_Options);
    Label_CellColor->setObjectName(QString::fromUtf8("Label_CellColor"));
    placeFixed(Label_CellColor, 10, 60, 75, 30);
    SpinBox_IPS = new QSpinBox(GroupBox_Options);
    SpinBox_IPS->setObjectName(QString::fromUtf8("SpinBox_IPS"));
    placeFixed(SpinBox_IPS, 125, 23, 55, 24);
    SpinBox_IPS->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // The controller divides 1000 by this value: it must never reach 0.
    SpinBox_IPS->setMinimum(1);
    SpinBox_IPS->setMaximum(30);
    ComboBox_CellColor = new QComboBox(GroupBox_Options);
    // Texts are filled in by index in retranslateUi.
    ComboBox_CellColor->addItem(QString());
    ComboBox_CellColor->addItem(QString());
    ComboBox_CellColor->addItem(QString());
    ComboBox_CellColor->setObjectName(QString::fromUtf8("ComboBox_CellColor"));
    placeFixed(ComboBox_CellColor, 85, 63, 95, 24);
    // A plain list, as wide as its longest entry, whatever the style draws combo lists as.
    ComboBox_CellColor->setItemDelegate(new QStyledItemDelegate(ComboBox_CellColor));
    // The rule's name needs the whole width of the box, below its label.
    Label_Rule = new QLabel(GroupBox_Options);
    Label_Rule->setObjectName(QString::fromUtf8("Label_Rule"));
    placeFixed(Label_Rule, 10, 95, 170, 20);
    ComboBox_Rule = new QComboBox(GroupBox_Options);
    ComboBox_Rule->setObjectName(QString::fromUtf8("ComboBox_Rule"));
    placeFixed(ComboBox_Rule, 10, 117, 170, 24);
    ComboBox_Rule->setEditable(true);
    // A typed rule is applied, not added to the list.
    ComboBox_Rule->setInsertPolicy(QComboBox::NoInsert);
    ComboBox_Rule->setItemDelegate(new RuleListDelegate(ComboBox_Rule));
    // Texts are filled in by index in retranslateUi.
    for (const Rule::Named &named : Rule::namedRules)
        ComboBox_Rule->addItem(QString(), QString::fromLatin1(named.notation));
    // The other families after a line: they run only in bounded planes and tori.
    ComboBox_Rule->insertSeparator(Rule::NamedRuleCount);
    for (const Rule::Named &named : Rule::familyExamples)
        ComboBox_Rule->addItem(QString(), QString::fromLatin1(named.notation));
    CheckBox_PauseWhenSettled = new QCheckBox(GroupBox_Options);
    CheckBox_PauseWhenSettled->setObjectName(QString::fromUtf8("CheckBox_PauseWhenSettled"));
    placeFixed(CheckBox_PauseWhenSettled, 10, 151, 170, 24);
    Label_Step = new QLabel(GroupBox_Options);
    Label_Step->setObjectName(QString::fromUtf8("Label_Step"));
    placeFixed(Label_Step, 10, 180, 170, 24);

    GroupBox_Info = new QGroupBox(Frame_GUI);
    GroupBox_Info->setObjectName(QString::fromUtf8("GroupBox_Info"));
    placeFixed(GroupBox_Info, 750, 570, 190, 170);
    Label_FieldSize = new QLabel(GroupBox_Info);
    Label_FieldSize->setObjectName(QString::fromUtf8("Label_FieldSize"));
    placeFixed(Label_FieldSize, 6, 20, 178, 25);
    Label_GenerationNumber = new QLabel(GroupBox_Info);
    Label_GenerationNumber->setObjectName(QString::fromUtf8("Label_GenerationNumber"));
    placeFixed(Label_GenerationNumber, 6, 45, 178, 25);
    Label_CellCount = new QLabel(GroupBox_Info);
    Label_CellCount->setObjectName(QString::fromUtf8("Label_CellCount"));
    placeFixed(Label_CellCount, 6, 70, 178, 25);
    Label_State = new QLabel(GroupBox_Info);
    Label_State->setObjectName(QString::fromUtf8("Label_State"));
    placeFixed(Label_State, 6, 96, 178, 66);
    Label_State->setWordWrap(true);
    Label_State->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Layout_Vertical_2->addWidget(Frame_GUI);
    // Takes up whatever height the window has beyond the panel, keeping the panel at the top.
    Spacer_Vertical = new QSpacerItem(20, 1, QSizePolicy::Minimum, QSizePolicy::Expanding);
    Layout_Vertical_2->addItem(Spacer_Vertical);

    ScrollArea_Main->setWidget(Widget_ScrollAreaContent);
    Layout_Vertical_1->addWidget(ScrollArea_Main);
    window->setCentralWidget(Widget_Main);

    MenuBar = new QMenuBar(window);
    MenuBar->setObjectName(QString::fromUtf8("MenuBar"));
    MenuBar->setGeometry(QRect(0, 0, 955, 21));
    Menu_File = new QMenu(MenuBar);
    Menu_File->setObjectName(QString::fromUtf8("Menu_File"));
    Menu_RecentFiles = new QMenu(Menu_File);
    Menu_RecentFiles->setObjectName(QString::fromUtf8("Menu_RecentFiles"));
    Menu_Examples = new QMenu(Menu_File);
    Menu_Examples->setObjectName(QString::fromUtf8("Menu_Examples"));
    Menu_Edit = new QMenu(MenuBar);
    Menu_Edit->setObjectName(QString::fromUtf8("Menu_Edit"));
    Menu_PasteMode = new QMenu(Menu_Edit);
    Menu_PasteMode->setObjectName(QString::fromUtf8("Menu_PasteMode"));
    Menu_View = new QMenu(MenuBar);
    Menu_View->setObjectName(QString::fromUtf8("Menu_View"));
    Menu_Simulation = new QMenu(MenuBar);
    Menu_Simulation->setObjectName(QString::fromUtf8("Menu_Simulation"));
    Menu_Help = new QMenu(MenuBar);
    Menu_Help->setObjectName(QString::fromUtf8("Menu_Help"));
    window->setMenuBar(MenuBar);

    QWidget::setTabOrder(ScrollArea_Main, PushButton_Play);
    QWidget::setTabOrder(PushButton_Play, PushButton_Pause);
    QWidget::setTabOrder(PushButton_Pause, PushButton_Stop);
    QWidget::setTabOrder(PushButton_Stop, PushButton_Next);
    QWidget::setTabOrder(PushButton_Next, PushButton_Clear);
    QWidget::setTabOrder(PushButton_Clear, PushButton_Random);
    QWidget::setTabOrder(PushButton_Random, PushButton_Edit);
    QWidget::setTabOrder(PushButton_Edit, PushButton_SaveState);
    QWidget::setTabOrder(PushButton_SaveState, SpinBox_IPS);
    QWidget::setTabOrder(SpinBox_IPS, ComboBox_CellColor);
    QWidget::setTabOrder(ComboBox_CellColor, ComboBox_Rule);
    QWidget::setTabOrder(ComboBox_Rule, CheckBox_PauseWhenSettled);
    QWidget::setTabOrder(CheckBox_PauseWhenSettled, WidgetPaintArea_GraphicScene);

    MenuBar->addAction(Menu_File->menuAction());
    MenuBar->addAction(Menu_Edit->menuAction());
    MenuBar->addAction(Menu_View->menuAction());
    MenuBar->addAction(Menu_Simulation->menuAction());
    MenuBar->addAction(Menu_Help->menuAction());
    Menu_File->addAction(Action_File_OpenPattern);
    Menu_File->addAction(Menu_RecentFiles->menuAction());
    Menu_File->addAction(Menu_Examples->menuAction());
    Menu_File->addAction(Action_File_SavePattern);
    Menu_File->addAction(Action_File_ExportImage);
    Menu_File->addAction(Action_File_ExportAnimation);
    Menu_File->addSeparator();
    Menu_File->addAction(Action_File_PatternInfo);
    Menu_File->addSeparator();
    Menu_File->addAction(Action_File_Exit);
    Menu_Edit->addAction(Action_Edit_Undo);
    Menu_Edit->addAction(Action_Edit_Redo);
    Menu_Edit->addSeparator();
    Menu_Edit->addAction(Action_Edit_Cut);
    Menu_Edit->addAction(Action_Edit_CopyPattern);
    Menu_Edit->addAction(Action_Edit_PastePattern);
    Menu_Edit->addAction(Menu_PasteMode->menuAction());
    Menu_PasteMode->addActions({ Action_Edit_PasteOr, Action_Edit_PasteCopy, Action_Edit_PasteXor });
    Menu_Edit->addAction(Action_Edit_Clear);
    Menu_Edit->addAction(Action_Edit_ClearOutside);
    Menu_Edit->addAction(Action_Edit_FillRandom);
    Menu_Edit->addSeparator();
    Menu_Edit->addAction(Action_Edit_SelectAll);
    Menu_Edit->addAction(Action_Edit_SelectNone);
    Menu_Edit->addSeparator();
    Menu_Edit->addActions({ Action_Edit_RotateClockwise, Action_Edit_RotateAnticlockwise, Action_Edit_FlipLeftRight,
        Action_Edit_FlipTopBottom });
    Menu_Simulation->addAction(Action_Simulation_Play);
    Menu_Simulation->addAction(Action_Simulation_Pause);
    Menu_Simulation->addAction(Action_Simulation_Stop);
    Menu_Simulation->addAction(Action_Simulation_Next);
    Menu_Simulation->addAction(Action_Simulation_Faster);
    Menu_Simulation->addAction(Action_Simulation_Slower);
    Menu_Simulation->addSeparator();
    Menu_Simulation->addAction(Action_Simulation_RunUntilSettled);
    Menu_Simulation->addAction(Action_Simulation_GoToGeneration);
    Menu_Simulation->addAction(Action_Simulation_GenerationLimit);
    Menu_Simulation->addSeparator();
    Menu_Simulation->addAction(Action_Simulation_PopulationGraph);
    Menu_Simulation->addAction(Action_Simulation_Census);
    Menu_Simulation->addAction(Action_Simulation_Universe);
    Menu_View->addAction(Action_View_ZoomIn);
    Menu_View->addAction(Action_View_ZoomOut);
    Menu_View->addAction(Action_View_FitPattern);
    Menu_View->addSeparator();
    Menu_View->addAction(Action_View_Grid);
    Menu_View->addAction(Action_View_Follow);
    Menu_View->addSeparator();
    Menu_View->addAction(Action_View_Patterns);
    Menu_Help->addAction(Action_Help_About);

    retranslateUi(window);

    QMetaObject::connectSlotsByName(window);
}

void MainWindowUi::retranslateUi(QMainWindow *window)
{
    window->setWindowTitle(QCoreApplication::translate("MainWindow", "Conway's Game of Life", nullptr));
    Action_File_OpenPattern->setText(QCoreApplication::translate("MainWindow", "&Open pattern…", nullptr));
    Action_File_SavePattern->setText(QCoreApplication::translate("MainWindow", "&Save pattern as…", nullptr));
    Action_File_ExportImage->setText(QCoreApplication::translate("MainWindow", "Export &image…", nullptr));
    Action_File_ExportAnimation->setText(QCoreApplication::translate("MainWindow", "Export &animation…", nullptr));
    Action_File_PatternInfo->setText(QCoreApplication::translate("MainWindow", "Pattern &information…", nullptr));
    Action_File_Exit->setText(QCoreApplication::translate("MainWindow", "E&xit", nullptr));
    // The controller adds the name of the step that would be undone or redone.
    Action_Edit_Undo->setText(QCoreApplication::translate("MainWindow", "&Undo", nullptr));
    Action_Edit_Redo->setText(QCoreApplication::translate("MainWindow", "&Redo", nullptr));
    Action_Edit_CopyPattern->setText(QCoreApplication::translate("MainWindow", "&Copy", nullptr));
    Action_Edit_PastePattern->setText(QCoreApplication::translate("MainWindow", "&Paste", nullptr));
    Action_Edit_Cut->setText(QCoreApplication::translate("MainWindow", "Cu&t", nullptr));
    Action_Edit_Clear->setText(QCoreApplication::translate("MainWindow", "C&lear", nullptr));
    Action_Edit_ClearOutside->setText(QCoreApplication::translate("MainWindow", "Clear &outside", nullptr));
    Action_Edit_FillRandom->setText(QCoreApplication::translate("MainWindow", "&Fill at random…", nullptr));
    Action_Edit_SelectAll->setText(QCoreApplication::translate("MainWindow", "Select &all", nullptr));
    Action_Edit_SelectNone->setText(QCoreApplication::translate("MainWindow", "Select &none", nullptr));
    Action_Edit_RotateClockwise->setText(QCoreApplication::translate("MainWindow", "Rotate cloc&kwise", nullptr));
    Action_Edit_RotateAnticlockwise->setText(
        QCoreApplication::translate("MainWindow", "Rotate anticlockw&ise", nullptr));
    Action_Edit_FlipLeftRight->setText(QCoreApplication::translate("MainWindow", "Flip left to &right", nullptr));
    Action_Edit_FlipTopBottom->setText(QCoreApplication::translate("MainWindow", "Flip top to &bottom", nullptr));
    Menu_PasteMode->setTitle(QCoreApplication::translate("MainWindow", "Paste &mode", nullptr));
    Action_Edit_PasteOr->setText(QCoreApplication::translate("MainWindow", "&Or: live cells are added", nullptr));
    Action_Edit_PasteCopy->setText(
        QCoreApplication::translate("MainWindow", "&Copy: the rectangle replaces what was there", nullptr));
    Action_Edit_PasteXor->setText(
        QCoreApplication::translate("MainWindow", "&Xor: live cells change what was there", nullptr));
    Action_Simulation_Play->setText(QCoreApplication::translate("MainWindow", "&Play", nullptr));
    Action_Simulation_Pause->setText(QCoreApplication::translate("MainWindow", "P&ause", nullptr));
    Action_Simulation_Stop->setText(QCoreApplication::translate("MainWindow", "S&top", nullptr));
    Action_Simulation_Next->setText(QCoreApplication::translate("MainWindow", "&Next", nullptr));
    Action_Simulation_RunUntilSettled->setText(
        QCoreApplication::translate("MainWindow", "&Run until settled", nullptr));
    Action_Simulation_GoToGeneration->setText(QCoreApplication::translate("MainWindow", "&Go to generation…", nullptr));
    Action_Simulation_GenerationLimit->setText(
        QCoreApplication::translate("MainWindow", "Generation &limit…", nullptr));
    Action_Simulation_PopulationGraph->setText(QCoreApplication::translate("MainWindow", "Populat&ion graph", nullptr));
    Action_Simulation_Census->setText(QCoreApplication::translate("MainWindow", "&Census…", nullptr));
    Action_Simulation_Universe->setText(QCoreApplication::translate("MainWindow", "&Universe…", nullptr));
    Action_Simulation_Faster->setText(QCoreApplication::translate("MainWindow", "&Faster", nullptr));
    Action_Simulation_Slower->setText(QCoreApplication::translate("MainWindow", "Slo&wer", nullptr));
    Action_View_ZoomIn->setText(QCoreApplication::translate("MainWindow", "Zoom &in", nullptr));
    Action_View_ZoomOut->setText(QCoreApplication::translate("MainWindow", "Zoom &out", nullptr));
    Action_View_FitPattern->setText(QCoreApplication::translate("MainWindow", "&Fit pattern", nullptr));
    Action_View_Grid->setText(QCoreApplication::translate("MainWindow", "&Grid", nullptr));
    Action_View_Follow->setText(QCoreApplication::translate("MainWindow", "Follow &pattern", nullptr));
    Action_View_Patterns->setText(QCoreApplication::translate("MainWindow", "Pa&tterns", nullptr));
    Action_Help_About->setText(QCoreApplication::translate("MainWindow", "&About", nullptr));
    WidgetPaintArea_GraphicScene->setToolTip(QCoreApplication::translate(
        "MainWindow", "Click or drag to draw cells; drag from a live cell to erase; Shift+drag to select", nullptr));
    GroupBox_Simulation->setTitle(QCoreApplication::translate("MainWindow", "Simulation", nullptr));
    // The push buttons show only the icons the controller gives them.
    PushButton_Play->setToolTip(QCoreApplication::translate("MainWindow", "Play", nullptr));
    PushButton_Play->setText(QString());
    PushButton_Play->setAccessibleName(QCoreApplication::translate("MainWindow", "Play", nullptr));
    PushButton_Pause->setToolTip(QCoreApplication::translate("MainWindow", "Pause", nullptr));
    PushButton_Pause->setText(QString());
    PushButton_Pause->setAccessibleName(QCoreApplication::translate("MainWindow", "Pause", nullptr));
    PushButton_Stop->setToolTip(QCoreApplication::translate("MainWindow", "Stop", nullptr));
    PushButton_Stop->setText(QString());
    PushButton_Stop->setAccessibleName(QCoreApplication::translate("MainWindow", "Stop", nullptr));
    PushButton_Next->setToolTip(QCoreApplication::translate("MainWindow", "Next", nullptr));
    PushButton_Next->setText(QString());
    PushButton_Next->setAccessibleName(QCoreApplication::translate("MainWindow", "Next", nullptr));
    GroupBox_Field->setTitle(QCoreApplication::translate("MainWindow", "Field", nullptr));
    PushButton_Clear->setToolTip(QCoreApplication::translate("MainWindow", "Clear", nullptr));
    PushButton_Clear->setText(QString());
    PushButton_Clear->setAccessibleName(QCoreApplication::translate("MainWindow", "Clear field", nullptr));
    PushButton_Random->setToolTip(QCoreApplication::translate("MainWindow", "Random", nullptr));
    PushButton_Random->setText(QString());
    PushButton_Random->setAccessibleName(QCoreApplication::translate("MainWindow", "Random field", nullptr));
    PushButton_Edit->setToolTip(QCoreApplication::translate("MainWindow", "Edit", nullptr));
    PushButton_Edit->setText(QString());
    PushButton_Edit->setAccessibleName(QCoreApplication::translate("MainWindow", "Edit field", nullptr));
    PushButton_SaveState->setToolTip(QCoreApplication::translate("MainWindow", "Save state", nullptr));
    PushButton_SaveState->setText(QString());
    PushButton_SaveState->setAccessibleName(QCoreApplication::translate("MainWindow", "Save state", nullptr));
    GroupBox_Options->setTitle(QCoreApplication::translate("MainWindow", "Options", nullptr));
    Label_IPS->setText(QCoreApplication::translate("MainWindow", "Speed (iter./sec.):", nullptr));
    Label_CellColor->setText(QCoreApplication::translate("MainWindow", "Cell color:", nullptr));
    // Screen readers name the inputs after their labels, without the colon.
    SpinBox_IPS->setAccessibleName(QCoreApplication::translate("MainWindow", "Speed (iter./sec.)", nullptr));
    ComboBox_CellColor->setAccessibleName(QCoreApplication::translate("MainWindow", "Cell color", nullptr));
    ComboBox_CellColor->setItemText(0, QCoreApplication::translate("MainWindow", " Red", nullptr));
    ComboBox_CellColor->setItemText(1, QCoreApplication::translate("MainWindow", " Green", nullptr));
    ComboBox_CellColor->setItemText(2, QCoreApplication::translate("MainWindow", " Blue", nullptr));
    Label_Rule->setText(QCoreApplication::translate("MainWindow", "Rule:", nullptr));
    ComboBox_Rule->setAccessibleName(QCoreApplication::translate("MainWindow", "Rule", nullptr));
    for (int i = 0; i < Rule::NamedRuleCount; ++i)
        ComboBox_Rule->setItemText(i, QCoreApplication::translate("MainWindow", Rule::namedRules[i].name));
    for (int i = 0; i < Rule::FamilyExampleCount; ++i)
        ComboBox_Rule->setItemText(
            Rule::NamedRuleCount + 1 + i, QCoreApplication::translate("MainWindow", FamilyNames[i]));
    // The list is wider than the box: each entry shows in full.
    ComboBox_Rule->view()->setMinimumWidth(ComboBox_Rule->view()->sizeHintForColumn(0) + 20);
    CheckBox_PauseWhenSettled->setText(QCoreApplication::translate("MainWindow", "Pause when settled", nullptr));
    GroupBox_Info->setTitle(QCoreApplication::translate("MainWindow", "Info", nullptr));
    // Placeholders until the controller writes the live values.
    Label_FieldSize->setText(QCoreApplication::translate("MainWindow", "Field size: *", nullptr));
    Label_GenerationNumber->setText(QCoreApplication::translate("MainWindow", "Generation: *", nullptr));
    Label_CellCount->setText(QCoreApplication::translate("MainWindow", "Cells: *", nullptr));
    Label_State->setText(QCoreApplication::translate("MainWindow", "State: *", nullptr));
    Menu_File->setTitle(QCoreApplication::translate("MainWindow", "&File", nullptr));
    Menu_RecentFiles->setTitle(QCoreApplication::translate("MainWindow", "Open &recent", nullptr));
    Menu_Examples->setTitle(QCoreApplication::translate("MainWindow", "&Examples", nullptr));
    Menu_Edit->setTitle(QCoreApplication::translate("MainWindow", "&Edit", nullptr));
    Menu_View->setTitle(QCoreApplication::translate("MainWindow", "&View", nullptr));
    Menu_Simulation->setTitle(QCoreApplication::translate("MainWindow", "&Simulation", nullptr));
    Menu_Help->setTitle(QCoreApplication::translate("MainWindow", "&Help", nullptr));
}

void MainWindowUi::setRunning(bool running, bool canCopy, bool canEdit)
{
    // A button that disables itself under the focus hands it to the one that
    // undoes it, so that Space plays and pauses in turn.
    QPushButton *const undoing = running ? PushButton_Pause : PushButton_Play;
    QPushButton *const undone = running ? PushButton_Play : PushButton_Pause;
    undoing->setEnabled(true);
    if (undone->hasFocus())
        undoing->setFocus(Qt::TabFocusReason);
    undone->setEnabled(false);
    PushButton_Stop->setEnabled(true);
    for (QWidget *widget : std::initializer_list<QWidget *> {
             PushButton_Next, PushButton_Clear, PushButton_Random, PushButton_SaveState, ComboBox_Rule })
        widget->setEnabled(!running);
    PushButton_Edit->setEnabled(!running && canEdit);
    for (QAction *action :
        { Action_File_OpenPattern, Menu_RecentFiles->menuAction(), Action_File_SavePattern, Action_File_ExportImage,
            Action_File_ExportAnimation, Menu_Examples->menuAction(), Action_Simulation_Play, Action_Simulation_Next,
            Action_Simulation_RunUntilSettled, Action_Simulation_GoToGeneration, Action_Edit_PastePattern,
            Action_Simulation_Universe, Action_Edit_SelectAll, Menu_PasteMode->menuAction() })
        action->setEnabled(!running);
    Action_Simulation_Pause->setEnabled(running);
    Action_Edit_CopyPattern->setEnabled(!running && canCopy);
    WidgetPaintArea_GraphicScene->setDrawingEnabled(!running);
}

void MainWindowUi::setFittedText(QLabel *label, const QString &text)
{
    constexpr qreal SmallestPointSize = 6;
    constexpr qreal PointStep = 0.5;
    QFont font = label->parentWidget() ? label->parentWidget()->font() : label->font();
    const int room = label->contentsRect().width();
    while (font.pointSizeF() - PointStep >= SmallestPointSize && QFontMetrics(font).horizontalAdvance(text) > room)
        font.setPointSizeF(font.pointSizeF() - PointStep);
    if (label->font() != font)
        label->setFont(font);
    label->setText(text);
}

void MainWindowUi::setCountText(QLabel *label, const QString &format, quint64 count)
{
    constexpr quint64 FirstScientific = 1000000000000000; // 10^15: 19 characters and more in most locales
    const QLocale locale;
    const QString digits = format.arg(locale.toString(count));
    QString shown = digits;
    if (count >= FirstScientific
        || QFontMetrics(label->font()).horizontalAdvance(digits) > label->contentsRect().width()) {
        // Three significant digits; a mantissa that rounds up to 10 is the next power's 1.00.
        int exponent = 0;
        double mantissa = static_cast<double>(count);
        while (mantissa >= 10) {
            mantissa /= 10;
            ++exponent;
        }
        if (std::round(mantissa * 100) >= 1000) {
            mantissa /= 10;
            ++exponent;
        }
        static const QString Superscripts = QString::fromUtf8("⁰¹²³⁴⁵⁶⁷⁸⁹");
        QString power;
        for (const QChar digit : QString::number(exponent))
            power += Superscripts[digit.digitValue()];
        //: %2 is the power of ten, in superscript digits
        shown = format.arg(
            QCoreApplication::translate("MainWindow", "%1 × 10%2").arg(locale.toString(mantissa, 'f', 2), power));
    }
    // In the group's font, cut short only where even the short form does not fit.
    const QFont font = label->parentWidget() ? label->parentWidget()->font() : label->font();
    if (label->font() != font)
        label->setFont(font);
    label->setText(QFontMetrics(font).elidedText(shown, Qt::ElideRight, label->contentsRect().width()));
    label->setToolTip(digits);
}

void MainWindowUi::showRule(const Rule &rule)
{
    const QString notation = QString::fromStdString(rule.toString());
    const int index = ComboBox_Rule->findData(notation);
    ComboBox_Rule->setCurrentIndex(index);
    if (index < 0)
        ComboBox_Rule->setEditText(notation);
    ComboBox_Rule->lineEdit()->setCursorPosition(0);
    // The box shows a named rule by its name; its notation is in the tool tip, as in the list.
    const QString shown = index < 0
        ? notation
        : QCoreApplication::translate("MainWindow", "%1 (%2)").arg(ComboBox_Rule->itemText(index), notation);
    ComboBox_Rule->setToolTip(shown + QLatin1Char('\n')
        + QCoreApplication::translate(
            "MainWindow", "Rule: a name or B/S notation, such as B36/S23 or B2/S/C3; Enter applies it"));
    ComboBox_Rule->lineEdit()->setStyleSheet(QString());
}
