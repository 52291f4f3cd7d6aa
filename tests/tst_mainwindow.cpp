#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <functional>
#include <utility>
#include <vector>

#include "editor/formfieldeditor.h"
#include "mainwindow/mainwindow.h"
#include "mainwindowprobe.h"
#include "mainwindowtestcase.h"
#include "modalrunner.h"
#include "model/engine/gamefield.h"
#include "view/widgetpaintarea.h"

namespace
{

constexpr int N = GameField::FieldSize;
using CellGrid = MainWindowProbe::CellGrid;

const QColor Red(240, 120, 120);
const QColor Green(50, 200, 50);
const QColor Blue(100, 150, 250);
const QColor White(255, 255, 255);

// Counts the paint events a widget receives, to tell a repaint from none.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget *widget)
        : QObject(widget)
    {
        widget->installEventFilter(this);
    }

    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

int liveCount(const CellGrid &cells)
{
    int count = 0;
    for (int cell : cells)
        count += cell;
    return count;
}

} // namespace

// The controller driven through its own widgets: button states, labels, the
// timer, the picture in the view, the modal boxes and the end of the program.
class TestMainWindow : public MainWindowTestCase
{
    Q_OBJECT

private slots:
    void startUpState();
    void buttonPatternsFollowTheState();
    void actionsIgnoredWhileRunning_data();
    void actionsIgnoredWhileRunning();
    void timerIntervalFollowsSpeed_data();
    void timerIntervalFollowsSpeed();
    void ticksAdvanceTheField();
    void playPauseKeepsFieldAndGeneration();
    void stopWithoutSaveGivesEmptyField();
    void saveStateThenStopReturnsToIt();
    void nextStepsOneGeneration();
    void clearAndRandom();
    void colourIndexSelectsFill_data();
    void colourIndexSelectsFill();
    void colourChangeWhileRunningWaitsForTick();
    void aboutBoxKeepsSimulationRunning();
    void exitEndsEventLoop();
    void closingWindowEndsEventLoop();

    void editLeftWithoutOkChangesNothing_data();
    void editLeftWithoutOkChangesNothing();
    void editOkWithoutPaintingKeepsField();
    void editOkShowsPaintedCells();
    void editedFieldIsSavedOnlyBySaveState();
    void editAtTheEdgeKeepsBorderDead();

private:
    // Clicks Edit, hands the open editor to `drive`, which must end it, and
    // returns once the window's slot has returned.
    void edit(const std::function<void(FormFieldEditor *)> &drive);
    void click(const char *name) { QTest::mouseClick(probe.button(name), Qt::LeftButton); }
    void invoke(const char *slot) { QVERIFY(QMetaObject::invokeMethod(window, slot)); }
    WidgetPaintArea *view() const { return probe.find<WidgetPaintArea>("WidgetPaintArea_GraphicScene"); }
    void fillRandomly(unsigned seed, GameField &expected);
};

// Fills the window's field by clicking Random with a known generator state,
// and the same field into `expected`.
void TestMainWindow::fillRandomly(unsigned seed, GameField &expected)
{
    std::srand(seed);
    click("PushButton_Random");
    std::srand(seed);
    expected.randomize();
}

void TestMainWindow::startUpState()
{
    QVERIFY(probe.showsIdle());
    QCOMPARE(probe.find<QLabel>("Label_CellCount")->text(), QString("Cells: 0"));
    QCOMPARE(probe.find<QLabel>("Label_GenerationNumber")->text(), QString("Generation: 1"));
    QCOMPARE(probe.find<QLabel>("Label_FieldSize")->text(), QString("Field size: 120 * 120"));
    QCOMPARE(probe.find<QLabel>("Label_State")->text(), QString("State: empty"));
    QCOMPARE(probe.find<QSpinBox>("SpinBox_IPS")->value(), 20);
    QCOMPARE(probe.find<QComboBox>("ComboBox_CellColor")->currentIndex(), 1);
    QVERIFY(!probe.simulationTimer()->isActive());
    QCOMPARE(probe.simulationTimer()->timerType(), Qt::PreciseTimer);
    QVERIFY(!probe.simulationTimer()->isSingleShot());

    for (const char *name : { "PushButton_Play", "PushButton_Pause", "PushButton_Stop", "PushButton_Next",
             "PushButton_Clear", "PushButton_Random", "PushButton_Edit", "PushButton_SaveState" }) {
        const QPushButton *b = probe.button(name);
        const QSize expectedSize = qstrcmp(name, "PushButton_SaveState") == 0 ? QSize(30, 30) : QSize(40, 40);
        QVERIFY2(!b->icon().isNull(), name);
        QVERIFY2(!b->icon().pixmap(expectedSize).isNull(), name);
        QCOMPARE(b->iconSize(), expectedSize);
        QVERIFY2(b->text().isEmpty(), name);
    }

    // The empty field shows as a white area.
    QCOMPARE(liveCount(probe.shownCells()), 0);
}

void TestMainWindow::buttonPatternsFollowTheState()
{
    click("PushButton_Play");
    QVERIFY(probe.showsRunning());
    QVERIFY(probe.simulationTimer()->isActive());

    click("PushButton_Pause");
    QVERIFY(probe.showsIdle());
    QVERIFY(!probe.simulationTimer()->isActive());

    click("PushButton_Play");
    click("PushButton_Stop");
    QVERIFY(probe.showsIdle());
    QVERIFY(!probe.simulationTimer()->isActive());

    click("PushButton_Next");
    QVERIFY(probe.showsIdle());

    // Clicks on disabled buttons reach nothing.
    click("PushButton_Pause");
    QVERIFY(probe.showsIdle());
    click("PushButton_Play");
    click("PushButton_Play");
    click("PushButton_Next");
    QVERIFY(probe.showsRunning());
    QVERIFY(probe.simulationTimer()->isActive());
}

void TestMainWindow::actionsIgnoredWhileRunning_data()
{
    QTest::addColumn<QByteArray>("slot");
    QTest::newRow("Clear") << QByteArray("Slot_PushButton_Clear");
    QTest::newRow("Random") << QByteArray("Slot_PushButton_Random");
    QTest::newRow("Next") << QByteArray("Slot_PushButton_Next");
    QTest::newRow("Save state") << QByteArray("Slot_PushButton_SaveState");
    QTest::newRow("Edit") << QByteArray("Slot_PushButton_Edit");
    QTest::newRow("Play") << QByteArray("Slot_PushButton_Play");
}

void TestMainWindow::actionsIgnoredWhileRunning()
{
    QFETCH(QByteArray, slot);

    GameField expected;
    fillRandomly(11, expected);
    click("PushButton_Next");
    click("PushButton_Next");
    expected.nextGeneration();
    expected.nextGeneration();

    click("PushButton_Play");
    // Holding the timer keeps the field still while the window believes it runs.
    probe.simulationTimer()->stop();
    QVERIFY(probe.showsRunning());
    const QString generationText = probe.find<QLabel>("Label_GenerationNumber")->text();
    const QString cellText = probe.find<QLabel>("Label_CellCount")->text();

    const ModalRunner::Outcome outcome = ModalRunner::run(
        [&] {
            QVERIFY(QMetaObject::invokeMethod(window, slot.constData()));
            QCoreApplication::processEvents();
        },
        [](QWidget *modal) { modal->close(); }, 5000);

    QVERIFY2(!outcome.opened, "a window opened");
    QVERIFY(probe.showsRunning());
    QVERIFY2(!probe.simulationTimer()->isActive(), "the timer was started again");
    QCOMPARE(probe.find<QLabel>("Label_GenerationNumber")->text(), generationText);
    QCOMPARE(probe.find<QLabel>("Label_CellCount")->text(), cellText);
    QCOMPARE(probe.shownCells(), MainWindowProbe::cellsOf(expected));

    // The saved state was not touched either: Stop still brings back the empty field.
    click("PushButton_Stop");
    QCOMPARE(liveCount(probe.shownCells()), 0);
}

void TestMainWindow::timerIntervalFollowsSpeed_data()
{
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("interval");
    QTest::newRow("1") << 1 << 1000;
    QTest::newRow("7") << 7 << 142;
    QTest::newRow("20") << 20 << 50;
    QTest::newRow("30") << 30 << 33;
}

void TestMainWindow::timerIntervalFollowsSpeed()
{
    QFETCH(int, speed);
    QFETCH(int, interval);
    QSpinBox *spinBox = probe.find<QSpinBox>("SpinBox_IPS");

    // Set while idle, then Play.
    spinBox->setValue(speed);
    click("PushButton_Play");
    QVERIFY(probe.simulationTimer()->isActive());
    QCOMPARE(probe.simulationTimer()->interval(), interval);
    click("PushButton_Pause");

    // Changed while running: takes effect at once, the timer keeps going.
    spinBox->setValue(speed == 20 ? 10 : 20);
    click("PushButton_Play");
    spinBox->setValue(speed);
    QVERIFY(probe.simulationTimer()->isActive());
    QCOMPARE(probe.simulationTimer()->interval(), interval);
    QCOMPARE(probe.simulationTimer()->timerType(), Qt::PreciseTimer);
}

void TestMainWindow::ticksAdvanceTheField()
{
    GameField expected;
    fillRandomly(5, expected);
    probe.find<QSpinBox>("SpinBox_IPS")->setValue(30);
    click("PushButton_Play");
    QTRY_VERIFY(probe.generation() >= 4);
    click("PushButton_Pause");

    for (int i = 1; i < probe.generation(); ++i)
        expected.nextGeneration();
    QCOMPARE(probe.shownCells(), MainWindowProbe::cellsOf(expected));
    QCOMPARE(probe.cellCount(), expected.liveCellCount());
}

void TestMainWindow::playPauseKeepsFieldAndGeneration()
{
    GameField expected;
    fillRandomly(21, expected);
    probe.find<QSpinBox>("SpinBox_IPS")->setValue(30);

    click("PushButton_Play");
    QTRY_VERIFY(probe.generation() >= 3);
    click("PushButton_Pause");
    const int paused = probe.generation();
    const CellGrid pausedCells = probe.shownCells();
    QTest::qWait(150); // several tick intervals: nothing may move now
    QCOMPARE(probe.generation(), paused);
    QCOMPARE(probe.shownCells(), pausedCells);

    click("PushButton_Play");
    QTRY_VERIFY(probe.generation() >= paused + 2);
    click("PushButton_Pause");

    // The second run continued from where the first stopped.
    for (int i = 1; i < probe.generation(); ++i)
        expected.nextGeneration();
    QCOMPARE(probe.shownCells(), MainWindowProbe::cellsOf(expected));
    QCOMPARE(probe.cellCount(), expected.liveCellCount());
}

void TestMainWindow::stopWithoutSaveGivesEmptyField()
{
    GameField expected;
    fillRandomly(3, expected);
    click("PushButton_Next");
    QVERIFY(probe.cellCount() > 0);

    click("PushButton_Stop");
    QCOMPARE(probe.generation(), 1);
    QCOMPARE(probe.cellCount(), 0);
    QCOMPARE(liveCount(probe.shownCells()), 0);

    // Stop while running does the same and ends the run.
    fillRandomly(4, expected);
    click("PushButton_Play");
    click("PushButton_Stop");
    QVERIFY(probe.showsIdle());
    QVERIFY(!probe.simulationTimer()->isActive());
    QCOMPARE(probe.generation(), 1);
    QCOMPARE(probe.cellCount(), 0);
    QCOMPARE(liveCount(probe.shownCells()), 0);
}

void TestMainWindow::saveStateThenStopReturnsToIt()
{
    GameField expected;
    fillRandomly(8, expected);
    click("PushButton_Next");
    click("PushButton_Next");
    expected.nextGeneration();
    expected.nextGeneration();
    QCOMPARE(probe.generation(), 3);
    const int count = probe.cellCount();
    QCoreApplication::processEvents();

    PaintCounter counter(view());
    click("PushButton_SaveState");
    QCOMPARE(probe.generation(), 1);
    QCOMPARE(probe.cellCount(), count);
    QTest::qWait(50);
    QCOMPARE(counter.paints, 0);

    click("PushButton_Next");
    click("PushButton_Play");
    QTRY_VERIFY(probe.generation() >= 3);
    click("PushButton_Stop");

    QCOMPARE(probe.generation(), 1);
    QCOMPARE(probe.shownCells(), MainWindowProbe::cellsOf(expected));
    QCOMPARE(probe.cellCount(), expected.liveCellCount());
}

void TestMainWindow::nextStepsOneGeneration()
{
    GameField expected;
    fillRandomly(13, expected);
    for (int i = 2; i <= 5; ++i) {
        click("PushButton_Next");
        expected.nextGeneration();
        QCOMPARE(probe.generation(), i);
        QCOMPARE(probe.cellCount(), expected.liveCellCount());
    }
    QCOMPARE(probe.shownCells(), MainWindowProbe::cellsOf(expected));
}

void TestMainWindow::clearAndRandom()
{
    GameField expected;
    fillRandomly(17, expected);
    QCOMPARE(probe.generation(), 1);
    QCOMPARE(probe.cellCount(), expected.liveCellCount());
    QVERIFY(probe.cellCount() > 0);
    QCOMPARE(probe.shownCells(), MainWindowProbe::cellsOf(expected));

    click("PushButton_Next");
    click("PushButton_Clear");
    // At once, before any repaint.
    QCOMPARE(probe.find<QLabel>("Label_CellCount")->text(), QString("Cells: 0"));
    QCOMPARE(probe.find<QLabel>("Label_GenerationNumber")->text(), QString("Generation: 1"));
    QVERIFY(probe.showsIdle());
    QCOMPARE(liveCount(probe.shownCells()), 0);

    click("PushButton_Next");
    fillRandomly(18, expected);
    QCOMPARE(probe.generation(), 1);
    QCOMPARE(probe.cellCount(), expected.liveCellCount());
}

void TestMainWindow::colourIndexSelectsFill_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QColor>("fill");
    QTest::newRow("red") << 0 << Red;
    QTest::newRow("green") << 1 << Green;
    QTest::newRow("blue") << 2 << Blue;
    QTest::newRow("none selected") << -1 << Green;
}

void TestMainWindow::colourIndexSelectsFill()
{
    QFETCH(int, index);
    QFETCH(QColor, fill);

    GameField expected;
    fillRandomly(23, expected);
    const CellGrid cells = MainWindowProbe::cellsOf(expected);
    QComboBox *combo = probe.find<QComboBox>("ComboBox_CellColor");
    // Start from another colour, so that every row sees a change.
    combo->setCurrentIndex(index == 0 ? 2 : 0);

    PaintCounter counter(view());
    combo->setCurrentIndex(index);
    QTRY_VERIFY(counter.paints > 0);

    const QImage image = probe.picture();
    for (int r = 1; r <= N; ++r) {
        for (int c = 1; c <= N; ++c) {
            const QColor expectedColor = cells[(r - 1) * N + (c - 1)] ? fill : White;
            if (MainWindowProbe::cellColor(image, r, c) != expectedColor)
                QFAIL(qPrintable(QString("cell (%1, %2) shows %3")
                                     .arg(r)
                                     .arg(c)
                                     .arg(MainWindowProbe::cellColor(image, r, c).name())));
        }
    }
}

void TestMainWindow::colourChangeWhileRunningWaitsForTick()
{
    GameField expected;
    fillRandomly(29, expected);
    click("PushButton_Play");
    probe.simulationTimer()->stop();
    QCoreApplication::processEvents();

    PaintCounter counter(view());
    probe.find<QComboBox>("ComboBox_CellColor")->setCurrentIndex(2);
    QTest::qWait(50);
    QCOMPARE(counter.paints, 0);

    // The next tick repaints, in the new colour.
    probe.simulationTimer()->start();
    QTRY_VERIFY(counter.paints > 0);
    click("PushButton_Pause");
    for (int i = 1; i < probe.generation(); ++i)
        expected.nextGeneration();
    const CellGrid cells = MainWindowProbe::cellsOf(expected);
    const QImage image = probe.picture();
    int blue = 0;
    for (int r = 1; r <= N; ++r) {
        for (int c = 1; c <= N; ++c) {
            if (cells[(r - 1) * N + (c - 1)]) {
                QCOMPARE(MainWindowProbe::cellColor(image, r, c), Blue);
                ++blue;
            }
        }
    }
    QVERIFY(blue > 0);
}

void TestMainWindow::aboutBoxKeepsSimulationRunning()
{
    probe.find<QSpinBox>("SpinBox_IPS")->setValue(30);
    GameField expected;
    fillRandomly(31, expected);
    click("PushButton_Play");

    QString title;
    QString text;
    int generationWhenOpen = 0;
    int generationBeforeClose = 0;
    const ModalRunner::Outcome outcome
        = ModalRunner::run([this] { probe.find<QAction>("Action_Help_About")->trigger(); },
            [&](QWidget *modal) {
                auto *box = qobject_cast<QMessageBox *>(modal);
                if (!box)
                    return;
                title = box->windowTitle();
                text = box->text();
                generationWhenOpen = probe.generation();
                QTest::qWait(300);
                generationBeforeClose = probe.generation();
                const QList<QPushButton *> buttons = box->findChildren<QPushButton *>();
                if (buttons.size() == 1)
                    QTest::mouseClick(buttons.first(), Qt::LeftButton);
            });

    QVERIFY(outcome.opened);
    QVERIFY2(!outcome.forced, "the About box did not close through its one button");
    QCOMPARE(title, QString("About"));
    QCOMPARE(text, QString("<div><b>Conway's Game of Life</b><hr/>Author: Tarvinek</div>"));
    QVERIFY(generationWhenOpen > 0);
    QVERIFY2(generationBeforeClose > generationWhenOpen, "no generation was computed behind the box");
    QVERIFY(probe.showsRunning());
    click("PushButton_Pause");
}

void TestMainWindow::exitEndsEventLoop()
{
    QTimer::singleShot(0, this, [this] { probe.find<QAction>("Action_File_Exit")->trigger(); });
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(42); });
    guard.start(5000);
    QCOMPARE(QCoreApplication::exec(), 0);
}

void TestMainWindow::closingWindowEndsEventLoop()
{
    QTimer::singleShot(0, window, &QWidget::close);
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(42); });
    guard.start(5000);
    QCOMPARE(QCoreApplication::exec(), 0);
}

namespace
{

QTableWidget *editorTable(FormFieldEditor *editor)
{
    return editor->findChild<QTableWidget *>(QStringLiteral("TableWidget_Field"));
}

void clickEditorButton(FormFieldEditor *editor, const char *name)
{
    QAbstractButton *button = editor->findChild<QAbstractButton *>(QLatin1String(name));
    if (!button)
        qFatal("editor has no %s", name);
    QTest::mouseClick(button, Qt::LeftButton);
}

// Clicks the editor cells at (row, column), numbered from 0, with the given tool.
void paintInEditor(FormFieldEditor *editor, const char *tool, const std::vector<std::pair<int, int>> &cells)
{
    clickEditorButton(editor, tool);
    QTableWidget *table = editorTable(editor);
    for (const auto &cell : cells) {
        QTableWidgetItem *item = table->item(cell.first, cell.second);
        table->scrollToItem(item);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualItemRect(item).center());
    }
}

// Applies the same edit to a model field, with (row, column) numbered from 0.
void paintInField(GameField &field, int value, const std::vector<std::pair<int, int>> &cells)
{
    GameField::Cell **buffer = field.snapshot();
    for (const auto &cell : cells)
        buffer[cell.first + 1][cell.second + 1] = value;
    field.commitSnapshot();
}

std::vector<std::pair<int, int>> someLiveCells(GameField &field, int howMany)
{
    std::vector<std::pair<int, int>> cells;
    const CellGrid grid = MainWindowProbe::cellsOf(field);
    for (int i = 0; i < N * N && int(cells.size()) < howMany; i += 97) {
        if (grid[i])
            cells.emplace_back(i / N, i % N);
    }
    return cells;
}

} // namespace

void TestMainWindow::edit(const std::function<void(FormFieldEditor *)> &drive)
{
    FormFieldEditor *editor = nullptr;
    QWidget *parent = nullptr;
    Qt::WindowFlags flags;
    const ModalRunner::Outcome outcome = ModalRunner::run([this] { click("PushButton_Edit"); },
        [&](QWidget *modal) {
            editor = qobject_cast<FormFieldEditor *>(modal);
            if (!editor)
                return;
            parent = editor->parentWidget();
            flags = editor->windowFlags();
            drive(editor);
        });

    QVERIFY2(editor, "the editor did not open");
    QVERIFY2(!outcome.forced, "the editor had to be closed by force");
    QCOMPARE(parent, window);
    // The window system may add a title and a menu; no minimise or help button.
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Window);
    QVERIFY(flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    // The window deleted its editor.
    QVERIFY(window->findChildren<FormFieldEditor *>().isEmpty());
}

void TestMainWindow::editLeftWithoutOkChangesNothing_data()
{
    QTest::addColumn<QByteArray>("ending");
    QTest::newRow("Cancel") << QByteArray("cancel");
    QTest::newRow("close") << QByteArray("close");
    QTest::newRow("Escape") << QByteArray("escape");
}

void TestMainWindow::editLeftWithoutOkChangesNothing()
{
    QFETCH(QByteArray, ending);
    GameField expected;
    fillRandomly(41, expected);
    click("PushButton_Next");
    expected.nextGeneration();
    const CellGrid before = probe.shownCells();
    const QString generationText = probe.find<QLabel>("Label_GenerationNumber")->text();
    const QString cellText = probe.find<QLabel>("Label_CellCount")->text();
    QCoreApplication::processEvents();
    PaintCounter counter(view());

    edit([&](FormFieldEditor *editor) {
        paintInEditor(editor, "RadioButton_ToolOn", { { 0, 0 }, { 10, 10 }, { 119, 119 } });
        paintInEditor(editor, "RadioButton_ToolOff", someLiveCells(expected, 5));
        if (ending == "cancel")
            clickEditorButton(editor, "PushButton_Cancel");
        else if (ending == "close")
            editor->close();
        else
            QTest::keyClick(editor, Qt::Key_Escape);
    });

    QTest::qWait(50);
    QCOMPARE(counter.paints, 0);
    QCOMPARE(probe.find<QLabel>("Label_GenerationNumber")->text(), generationText);
    QCOMPARE(probe.find<QLabel>("Label_CellCount")->text(), cellText);
    QCOMPARE(probe.shownCells(), before);
    QCOMPARE(probe.shownCells(), MainWindowProbe::cellsOf(expected));
}

void TestMainWindow::editOkWithoutPaintingKeepsField()
{
    GameField expected;
    fillRandomly(43, expected);
    click("PushButton_Next");
    click("PushButton_Next");
    expected.nextGeneration();
    expected.nextGeneration();

    bool editorShowsField = false;
    edit([&](FormFieldEditor *editor) {
        // The editor opens on the field as it is now.
        QTableWidget *table = editorTable(editor);
        const CellGrid cells = MainWindowProbe::cellsOf(expected);
        editorShowsField = true;
        for (int i = 0; i < N * N; ++i) {
            const QColor shown = table->item(i / N, i % N)->background().color();
            if (shown != (cells[i] ? QColor(Qt::darkGreen) : QColor(Qt::white)))
                editorShowsField = false;
        }
        clickEditorButton(editor, "PushButton_Ok");
    });

    QVERIFY(editorShowsField);
    QCOMPARE(probe.generation(), 3);
    QCOMPARE(probe.cellCount(), expected.liveCellCount());
    QCOMPARE(probe.shownCells(), MainWindowProbe::cellsOf(expected));
    QVERIFY(probe.showsIdle());
}

void TestMainWindow::editOkShowsPaintedCells()
{
    GameField expected;
    fillRandomly(47, expected);
    click("PushButton_Next");
    expected.nextGeneration();
    const std::vector<std::pair<int, int>> born = { { 0, 0 }, { 59, 60 }, { 119, 0 }, { 70, 33 } };
    const std::vector<std::pair<int, int>> killed = someLiveCells(expected, 6);
    QVERIFY(!killed.empty());

    edit([&](FormFieldEditor *editor) {
        paintInEditor(editor, "RadioButton_ToolOn", born);
        paintInEditor(editor, "RadioButton_ToolOff", killed);
        clickEditorButton(editor, "PushButton_Ok");
    });
    paintInField(expected, 1, born);
    paintInField(expected, 0, killed);

    // Shown at once, with the new count and the generation number kept.
    QCOMPARE(probe.generation(), 2);
    QCOMPARE(probe.cellCount(), expected.liveCellCount());
    QCOMPARE(probe.shownCells(), MainWindowProbe::cellsOf(expected));
}

void TestMainWindow::editedFieldIsSavedOnlyBySaveState()
{
    GameField saved;
    fillRandomly(53, saved);
    click("PushButton_SaveState");
    GameField edited;
    fillRandomly(53, edited);
    const std::vector<std::pair<int, int>> born = { { 3, 3 }, { 3, 4 }, { 3, 5 } };

    edit([&](FormFieldEditor *editor) {
        paintInEditor(editor, "RadioButton_ToolOn", born);
        clickEditorButton(editor, "PushButton_Ok");
    });
    paintInField(edited, 1, born);
    QCOMPARE(probe.shownCells(), MainWindowProbe::cellsOf(edited));

    // Stop goes back to the state saved before the edit.
    click("PushButton_Stop");
    QCOMPARE(probe.shownCells(), MainWindowProbe::cellsOf(saved));
    QCOMPARE(probe.cellCount(), saved.liveCellCount());

    edit([&](FormFieldEditor *editor) {
        paintInEditor(editor, "RadioButton_ToolOn", born);
        clickEditorButton(editor, "PushButton_Ok");
    });
    click("PushButton_SaveState");
    click("PushButton_Next");
    click("PushButton_Next");
    click("PushButton_Stop");
    QCOMPARE(probe.generation(), 1);
    QCOMPARE(probe.shownCells(), MainWindowProbe::cellsOf(edited));
    QCOMPARE(probe.cellCount(), edited.liveCellCount());
}

void TestMainWindow::editAtTheEdgeKeepsBorderDead()
{
    // Lines along all four edges: a live border would change how they evolve.
    std::vector<std::pair<int, int>> edges;
    for (int i = 20; i < 25; ++i) {
        edges.emplace_back(0, i);
        edges.emplace_back(119, i + 40);
        edges.emplace_back(i + 20, 0);
        edges.emplace_back(i + 60, 119);
    }
    edges.emplace_back(0, 0);
    edges.emplace_back(0, 1);
    edges.emplace_back(1, 0);

    edit([&](FormFieldEditor *editor) {
        paintInEditor(editor, "RadioButton_ToolOn", edges);
        clickEditorButton(editor, "PushButton_Ok");
    });
    GameField expected;
    paintInField(expected, 1, edges);
    QCOMPARE(probe.shownCells(), MainWindowProbe::cellsOf(expected));

    for (int i = 0; i < 6; ++i) {
        click("PushButton_Next");
        expected.nextGeneration();
    }
    QCOMPARE(probe.shownCells(), MainWindowProbe::cellsOf(expected));
    QCOMPARE(probe.cellCount(), expected.liveCellCount());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
