#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpacerItem>
#include <QSpinBox>
#include <QTest>
#include <QVBoxLayout>

#include <memory>
#include <utility>
#include <vector>

#include "mainwindow/mainwindowui.h"
#include "toplevelguard.h"
#include "view/widgetpaintarea.h"
#include "warningguard.h"

namespace
{

using NamedObject = std::pair<QObject *, const char *>;

// Every member but the spacer, with the object name the controller expects.
std::vector<NamedObject> namedMembers(const MainWindowUi &ui)
{
    return {
        { ui.Action_File_OpenPattern, "Action_File_OpenPattern" },
        { ui.Action_File_SavePattern, "Action_File_SavePattern" },
        { ui.Action_File_Exit, "Action_File_Exit" },
        { ui.Action_Edit_Undo, "Action_Edit_Undo" },
        { ui.Action_Edit_Redo, "Action_Edit_Redo" },
        { ui.Action_Help_About, "Action_Help_About" },
        { ui.Widget_Main, "Widget_Main" },
        { ui.Layout_Vertical_1, "Layout_Vertical_1" },
        { ui.ScrollArea_Main, "ScrollArea_Main" },
        { ui.Widget_ScrollAreaContent, "Widget_ScrollAreaContent" },
        { ui.Layout_Vertical_2, "Layout_Vertical_2" },
        { ui.Frame_GUI, "Frame_GUI" },
        { ui.WidgetPaintArea_GraphicScene, "WidgetPaintArea_GraphicScene" },
        { ui.GroupBox_Simulation, "GroupBox_Simulation" },
        { ui.PushButton_Play, "PushButton_Play" },
        { ui.PushButton_Pause, "PushButton_Pause" },
        { ui.PushButton_Stop, "PushButton_Stop" },
        { ui.PushButton_Next, "PushButton_Next" },
        { ui.GroupBox_Field, "GroupBox_Field" },
        { ui.PushButton_Clear, "PushButton_Clear" },
        { ui.PushButton_Random, "PushButton_Random" },
        { ui.PushButton_Edit, "PushButton_Edit" },
        { ui.PushButton_SaveState, "PushButton_SaveState" },
        { ui.GroupBox_Options, "GroupBox_Options" },
        { ui.Label_IPS, "Label_IPS" },
        { ui.Label_CellColor, "Label_CellColor" },
        { ui.SpinBox_IPS, "SpinBox_IPS" },
        { ui.ComboBox_CellColor, "ComboBox_CellColor" },
        { ui.GroupBox_Info, "GroupBox_Info" },
        { ui.Label_FieldSize, "Label_FieldSize" },
        { ui.Label_GenerationNumber, "Label_GenerationNumber" },
        { ui.Label_CellCount, "Label_CellCount" },
        { ui.MenuBar, "MenuBar" },
        { ui.Menu_File, "Menu_File" },
        { ui.Menu_Examples, "Menu_Examples" },
        { ui.Menu_Edit, "Menu_Edit" },
        { ui.Menu_Help, "Menu_Help" },
    };
}

// A plain main window built by the holder. The holder is freed before the
// window, which owns every widget: freeing the holder frees nothing else.
struct Window {
    explicit Window(const QString &name = QString())
    {
        window.setObjectName(name);
        ui->setupUi(&window);
    }

    bool show()
    {
        window.show();
        return QTest::qWaitForWindowExposed(&window);
    }

    QMainWindow window;
    std::unique_ptr<MainWindowUi> ui = std::make_unique<MainWindowUi>();
};

QList<QWidget *> directChildWidgets(QWidget *parent)
{
    return parent->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
}

} // namespace

// The main window's layout on a bare QMainWindow: what the controller relies
// on and what a user notices (focus order, fixed sizes, scrolling, menus).
class TestMainWindowUi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void everyMemberIsNamedAndInTheWindow();
    void windowName_data();
    void windowName();

    void infoLabelsShowPlaceholders();
    void pushButtonsShowOnlyTheirToolTips();
    void speedStopsAtBothEnds();
    void colourBoxHoldsThreeColours();
    void viewStartsEmptyAtTheTopLeft();
    void controlsNeitherOverlapNorStickOut();

    void tabWalksThroughTheControls();
    void smallWindowScrollsInsteadOfSqueezing();
    void roomyWindowShowsThePanelWhole();
    void menus();
};

void TestMainWindowUi::initTestCase() { WarningGuard::install(); }

void TestMainWindowUi::cleanup() { TopLevelGuard::closeLeftovers(); }

void TestMainWindowUi::everyMemberIsNamedAndInTheWindow()
{
    Window w;
    const MainWindowUi &ui = *w.ui;
    for (const NamedObject &member : namedMembers(ui)) {
        QVERIFY2(member.first, member.second);
        QCOMPARE(member.first->objectName(), QString::fromLatin1(member.second));
        // Reachable from the window: it lives and dies with it.
        QCOMPARE(w.window.findChild<QObject *>(member.second), member.first);
    }

    QVERIFY(ui.Spacer_Vertical);
    QCOMPARE(ui.Layout_Vertical_2->count(), 2);
    QCOMPARE(ui.Layout_Vertical_2->itemAt(0)->widget(), ui.Frame_GUI);
    QCOMPARE(ui.Layout_Vertical_2->itemAt(1), ui.Spacer_Vertical);

    QCOMPARE(w.window.centralWidget(), ui.Widget_Main);
    QCOMPARE(w.window.menuBar(), ui.MenuBar);
    QCOMPARE(ui.ScrollArea_Main->widget(), ui.Widget_ScrollAreaContent);
    QCOMPARE(ui.WidgetPaintArea_GraphicScene->parentWidget(), ui.Frame_GUI);
}

void TestMainWindowUi::windowName_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("expected");

    QTest::newRow("unnamed") << QString() << QStringLiteral("MainWindow");
    QTest::newRow("named") << QStringLiteral("SecondWindow") << QStringLiteral("SecondWindow");
}

void TestMainWindowUi::windowName()
{
    QFETCH(QString, given);
    QFETCH(QString, expected);

    Window w(given);
    QCOMPARE(w.window.objectName(), expected);
    QCOMPARE(w.window.windowTitle(), QStringLiteral("Conway's Game of Life"));
}

void TestMainWindowUi::infoLabelsShowPlaceholders()
{
    Window w;
    const MainWindowUi &ui = *w.ui;
    QCOMPARE(ui.Label_FieldSize->text(), QStringLiteral("Field size: *"));
    QCOMPARE(ui.Label_GenerationNumber->text(), QStringLiteral("Generation: *"));
    QCOMPARE(ui.Label_CellCount->text(), QStringLiteral("Cells: *"));
}

void TestMainWindowUi::pushButtonsShowOnlyTheirToolTips()
{
    Window w;
    const MainWindowUi &ui = *w.ui;
    const std::vector<std::pair<QPushButton *, QString>> buttons = {
        { ui.PushButton_Play, "Play" },
        { ui.PushButton_Pause, "Pause" },
        { ui.PushButton_Stop, "Stop" },
        { ui.PushButton_Next, "Next" },
        { ui.PushButton_Clear, "Clear" },
        { ui.PushButton_Random, "Random" },
        { ui.PushButton_Edit, "Edit" },
        { ui.PushButton_SaveState, "Save state" },
    };
    for (const auto &button : buttons) {
        QVERIFY2(button.first->text().isEmpty(), qPrintable(button.second));
        QVERIFY2(button.first->icon().isNull(), qPrintable(button.second));
        QCOMPARE(button.first->toolTip(), button.second);
    }
}

void TestMainWindowUi::speedStopsAtBothEnds()
{
    Window w;
    QSpinBox *spinBox = w.ui->SpinBox_IPS;
    QVERIFY(w.show());
    QApplication::setActiveWindow(&w.window);
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    spinBox->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), spinBox);

    QSignalSpy changes(spinBox, SIGNAL(valueChanged(int)));
    QCOMPARE(spinBox->value(), 1);
    QTest::keyClick(spinBox, Qt::Key_Down);
    QCOMPARE(spinBox->value(), 1);

    for (int i = 0; i < 40; ++i)
        QTest::keyClick(spinBox, Qt::Key_Up);
    QCOMPARE(spinBox->value(), 30);
    spinBox->stepBy(5);
    QCOMPARE(spinBox->value(), 30);

    spinBox->stepBy(-100);
    QCOMPARE(spinBox->value(), 1);

    // Whatever the user does, the controller only ever hears 1..30.
    QVERIFY(!changes.isEmpty());
    for (const QList<QVariant> &change : qAsConst(changes)) {
        const int value = change.at(0).toInt();
        QVERIFY2(value >= 1 && value <= 30, qPrintable(QString::number(value)));
    }
}

void TestMainWindowUi::colourBoxHoldsThreeColours()
{
    Window w;
    QComboBox *box = w.ui->ComboBox_CellColor;
    QCOMPARE(box->count(), 3);
    const QStringList texts = { " Red", " Green", " Blue" };
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(box->itemText(i), texts.at(i));
        QVERIFY(box->itemIcon(i).isNull());
        QVERIFY(!box->itemData(i).isValid());
    }
    QCOMPARE(box->currentIndex(), 0);
}

void TestMainWindowUi::viewStartsEmptyAtTheTopLeft()
{
    Window w;
    QVERIFY(w.show());
    WidgetPaintArea *view = w.ui->WidgetPaintArea_GraphicScene;
    QCOMPARE(view->geometry(), QRect(10, 10, 730, 730));
    QCOMPARE(view->minimumSize(), QSize(730, 730));
    QCOMPARE(view->maximumSize(), QSize(730, 730));

    // No field yet: a white area inside a black frame, nothing else.
    const QImage image = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(image.size(), QSize(730, 730));
    const QRect inner = image.rect().adjusted(1, 1, -1, -1);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor expected = inner.contains(x, y) ? QColor(Qt::white) : QColor(Qt::black);
            if (image.pixelColor(x, y) != expected)
                QFAIL(qPrintable(QString("pixel (%1, %2) is %3").arg(x).arg(y).arg(image.pixelColor(x, y).name())));
        }
    }
}

void TestMainWindowUi::controlsNeitherOverlapNorStickOut()
{
    Window w;
    QVERIFY(w.show());
    QFrame *panel = w.ui->Frame_GUI;
    QCOMPARE(panel->size(), QSize(950, 750));

    const QList<QWidget *> blocks = directChildWidgets(panel);
    QCOMPARE(blocks.size(), 5);
    for (int i = 0; i < blocks.size(); ++i) {
        const QByteArray name = blocks.at(i)->objectName().toLatin1();
        QVERIFY2(panel->rect().contains(blocks.at(i)->geometry()), name);
        for (int j = i + 1; j < blocks.size(); ++j)
            QVERIFY2(!blocks.at(i)->geometry().intersects(blocks.at(j)->geometry()), name);

        // Inside a group box, every control stays clear of the title and the others.
        auto *group = qobject_cast<QGroupBox *>(blocks.at(i));
        if (!group)
            continue;
        const QList<QWidget *> controls = directChildWidgets(group);
        QVERIFY2(controls.size() >= 3, name);
        for (int k = 0; k < controls.size(); ++k) {
            const QRect place = controls.at(k)->geometry();
            const QByteArray control = controls.at(k)->objectName().toLatin1();
            QVERIFY2(place.top() >= 20 && group->rect().contains(place), control);
            QCOMPARE(controls.at(k)->minimumSize(), place.size());
            QCOMPARE(controls.at(k)->maximumSize(), place.size());
            for (int m = k + 1; m < controls.size(); ++m)
                QVERIFY2(!place.intersects(controls.at(m)->geometry()), control);
        }
    }
}

void TestMainWindowUi::tabWalksThroughTheControls()
{
    Window w;
    const MainWindowUi &ui = *w.ui;
    QVERIFY(w.show());
    QApplication::setActiveWindow(&w.window);
    QVERIFY(QTest::qWaitForWindowActive(&w.window));

    const std::vector<QWidget *> chain = {
        ui.ScrollArea_Main,
        ui.PushButton_Play,
        ui.PushButton_Pause,
        ui.PushButton_Stop,
        ui.PushButton_Next,
        ui.PushButton_Clear,
        ui.PushButton_Random,
        ui.PushButton_Edit,
        ui.PushButton_SaveState,
        ui.SpinBox_IPS,
        ui.ComboBox_CellColor,
        ui.ComboBox_Rule,
        ui.CheckBox_PauseWhenSettled,
        ui.WidgetPaintArea_GraphicScene,
        ui.ScrollArea_Main,
    };
    ui.ScrollArea_Main->setFocus(Qt::OtherFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), chain.front());
    for (std::size_t i = 1; i < chain.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), chain[i]);
    }

    // Backtab walks the same chain the other way.
    for (std::size_t i = chain.size() - 1; i > 0; --i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), chain[i - 1]);
    }
}

void TestMainWindowUi::smallWindowScrollsInsteadOfSqueezing()
{
    Window w;
    const MainWindowUi &ui = *w.ui;
    QVERIFY(w.show());
    QCOMPARE(w.window.minimumSize(), QSize(500, 400));

    std::vector<std::pair<QWidget *, QSize>> sizes = { { ui.Frame_GUI, QSize(950, 750) } };
    for (QWidget *widget : ui.Frame_GUI->findChildren<QWidget *>())
        sizes.emplace_back(widget, widget->size());

    w.window.resize(300, 200);
    QTRY_COMPARE(w.window.size(), QSize(500, 400));

    QScrollArea *scrollArea = ui.ScrollArea_Main;
    QTRY_VERIFY(scrollArea->horizontalScrollBar()->isVisible());
    QTRY_VERIFY(scrollArea->verticalScrollBar()->isVisible());
    QVERIFY(scrollArea->viewport()->width() < 950);
    QVERIFY(scrollArea->viewport()->height() < 750);

    for (const auto &widget : sizes)
        QCOMPARE(widget.first->size(), widget.second);

    // Scrolling to the far corner brings the Info box into view.
    scrollArea->horizontalScrollBar()->setValue(scrollArea->horizontalScrollBar()->maximum());
    scrollArea->verticalScrollBar()->setValue(scrollArea->verticalScrollBar()->maximum());
    const QRect info(ui.GroupBox_Info->mapTo(scrollArea->viewport(), QPoint(0, 0)), ui.GroupBox_Info->size());
    QVERIFY(scrollArea->viewport()->rect().contains(info));
}

void TestMainWindowUi::roomyWindowShowsThePanelWhole()
{
    Window w;
    const MainWindowUi &ui = *w.ui;
    QVERIFY(w.show());
    QScrollArea *scrollArea = ui.ScrollArea_Main;

    // The menu bar's height depends on the style and font: leave exactly room
    // for the panel below it.
    w.window.resize(950, 750 + ui.MenuBar->height());
    QTRY_COMPARE(ui.Widget_Main->size(), QSize(950, 750));
    QTRY_VERIFY(!scrollArea->horizontalScrollBar()->isVisible());
    QVERIFY(!scrollArea->verticalScrollBar()->isVisible());
    QCOMPARE(ui.Frame_GUI->geometry(), QRect(0, 0, 950, 750));

    // Taller than the panel: the panel stays at the top, at its size.
    w.window.resize(1100, 900);
    QTRY_COMPARE(ui.Widget_ScrollAreaContent->size(), QSize(1100, 900 - ui.MenuBar->height()));
    QCOMPARE(ui.Frame_GUI->geometry(), QRect(0, 0, 950, 750));

    // One pixel short of the panel's height, and the view scrolls.
    w.window.resize(1100, 749 + ui.MenuBar->height());
    QTRY_VERIFY(scrollArea->verticalScrollBar()->isVisible());
}

void TestMainWindowUi::menus()
{
    Window w;
    const MainWindowUi &ui = *w.ui;
    QVERIFY(w.show());

    const QList<QAction *> menuBarEntries = ui.MenuBar->actions();
    QCOMPARE(menuBarEntries.size(), 5);
    QCOMPARE(menuBarEntries.at(0), ui.Menu_File->menuAction());
    QCOMPARE(menuBarEntries.at(1), ui.Menu_Edit->menuAction());
    QCOMPARE(menuBarEntries.at(2), ui.Menu_View->menuAction());
    QCOMPARE(menuBarEntries.at(3), ui.Menu_Simulation->menuAction());
    QCOMPARE(menuBarEntries.at(4), ui.Menu_Help->menuAction());
    QCOMPARE(ui.Action_Simulation_RunUntilSettled->shortcut(), QKeySequence(QStringLiteral("Ctrl+E")));
    QCOMPARE(ui.Action_Simulation_GoToGeneration->shortcut(), QKeySequence(QStringLiteral("Ctrl+G")));
    QCOMPARE(ui.Menu_File->title(), QStringLiteral("&File"));
    QCOMPARE(ui.Menu_Examples->title(), QStringLiteral("&Examples"));
    QCOMPARE(ui.Menu_Edit->title(), QStringLiteral("&Edit"));
    QCOMPARE(ui.Menu_Help->title(), QStringLiteral("&Help"));

    const QList<QAction *> fileEntries = ui.Menu_File->actions();
    QCOMPARE(fileEntries.size(), 10);
    QCOMPARE(fileEntries.at(0), ui.Action_File_OpenPattern);
    QCOMPARE(fileEntries.at(1), ui.Menu_RecentFiles->menuAction());
    QCOMPARE(fileEntries.at(2), ui.Menu_Examples->menuAction());
    QCOMPARE(fileEntries.at(3), ui.Action_File_SavePattern);
    QCOMPARE(fileEntries.at(4), ui.Action_File_ExportImage);
    QCOMPARE(fileEntries.at(5), ui.Action_File_ExportAnimation);
    QVERIFY(fileEntries.at(6)->isSeparator());
    QCOMPARE(fileEntries.at(7), ui.Action_File_PatternInfo);
    QCOMPARE(ui.Action_File_PatternInfo->shortcut(), QKeySequence(QStringLiteral("Ctrl+I")));
    QVERIFY(fileEntries.at(8)->isSeparator());
    QCOMPARE(fileEntries.at(9), ui.Action_File_Exit);
    QCOMPARE(ui.Menu_Edit->actions().mid(0, 2), (QList<QAction *> { ui.Action_Edit_Undo, ui.Action_Edit_Redo }));
    QCOMPARE(ui.Action_Edit_Undo->shortcut(), QKeySequence(QKeySequence::Undo));
    QCOMPARE(ui.Action_Edit_Redo->shortcut(), QKeySequence(QKeySequence::Redo));
    QCOMPARE(ui.Menu_Help->actions(), QList<QAction *> { ui.Action_Help_About });
    QCOMPARE(ui.Action_File_OpenPattern->text(), QStringLiteral("&Open pattern…"));
    QCOMPARE(ui.Action_File_SavePattern->text(), QStringLiteral("&Save pattern as…"));
    QCOMPARE(ui.Action_File_Exit->text(), QStringLiteral("E&xit"));
    QCOMPARE(ui.Action_Help_About->text(), QStringLiteral("&About"));
    QCOMPARE(ui.Action_File_OpenPattern->shortcut(), QKeySequence(QKeySequence::Open));
    QCOMPARE(ui.Action_File_SavePattern->shortcut(), QKeySequence(QKeySequence::Save));
    QCOMPARE(ui.Action_File_Exit->shortcut(), QKeySequence(QKeySequence::Quit));
    QVERIFY(ui.Action_Help_About->shortcut().isEmpty());
    QVERIFY(ui.MenuBar->isVisible());
}

QTEST_MAIN(TestMainWindowUi)

#include "tst_mainwindowui.moc"
