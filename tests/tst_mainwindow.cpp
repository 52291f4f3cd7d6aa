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
#include "modalrunner.h"
#include "model/gamefield.h"
#include "view/widgetpaintarea.h"
#include "warningguard.h"

namespace
{

constexpr int N = GameField::FieldSize;
using CellGrid = std::vector<int>; // 120 x 120, row-major, 1 live, 0 dead

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

CellGrid cellsOf(GameField &field)
{
    CellGrid cells;
    GameField::Cell **buffer = field.snapshot();
    for (int r = 1; r <= N; ++r)
        cells.insert(cells.end(), buffer[r] + 1, buffer[r] + 1 + N);
    return cells;
}

int liveCount(const CellGrid &cells)
{
    int count = 0;
    for (int cell : cells)
        count += cell;
    return count;
}

QColor cellColor(const QImage &image, int row, int column)
{
    // The middle of a cell lies inside its outline and outside its neighbours' outlines.
    return image.pixelColor(4 + 6 * (column - 1) + 3, 4 + 6 * (row - 1) + 3);
}

} // namespace

// The controller driven through its own widgets: button states, labels, the
// timer, the picture in the view, the modal boxes and the end of the program.
class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

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
    template <typename T> T *find(const char *name) const
    {
        T *child = window->findChild<T *>(QLatin1String(name));
        if (!child)
            qFatal("no child named %s", name);
        return child;
    }

    QPushButton *button(const char *name) const { return find<QPushButton>(name); }
    void click(const char *name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    void invoke(const char *slot) { QVERIFY(QMetaObject::invokeMethod(window, slot)); }
    QTimer *simulationTimer() const;
    int generation() const;
    int cellLabel() const;
    WidgetPaintArea *view() const { return find<WidgetPaintArea>("WidgetPaintArea_GraphicScene"); }
    QImage picture() const { return view()->grab().toImage(); }
    CellGrid cellsOnScreen() const;
    bool runningPattern() const;
    bool idlePattern() const;
    void fillRandomly(unsigned seed, GameField &expected);

    MainWindow *window = nullptr; // owned; made by init(), deleted by cleanup()
};

void TestMainWindow::initTestCase() { WarningGuard::install(); }

void TestMainWindow::init()
{
    window = new MainWindow;
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

void TestMainWindow::cleanup()
{
    delete window;
    window = nullptr;
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

QTimer *TestMainWindow::simulationTimer() const
{
    const QList<QTimer *> timers = window->findChildren<QTimer *>(QString(), Qt::FindDirectChildrenOnly);
    if (timers.size() != 1)
        qFatal("expected exactly one timer owned by the window, found %d", int(timers.size()));
    return timers.first();
}

int TestMainWindow::generation() const
{
    const QString text = find<QLabel>("Label_GenerationNumber")->text();
    if (!text.startsWith(QLatin1String("Generation: ")))
        qFatal("unexpected generation label %s", qPrintable(text));
    return text.mid(12).toInt();
}

int TestMainWindow::cellLabel() const
{
    const QString text = find<QLabel>("Label_CellCount")->text();
    if (!text.startsWith(QLatin1String("Cells: ")))
        qFatal("unexpected cell label %s", qPrintable(text));
    return text.mid(7).toInt();
}

CellGrid TestMainWindow::cellsOnScreen() const
{
    const QImage image = picture();
    CellGrid cells;
    for (int r = 1; r <= N; ++r) {
        for (int c = 1; c <= N; ++c)
            cells.push_back(cellColor(image, r, c) == White ? 0 : 1);
    }
    return cells;
}

bool TestMainWindow::runningPattern() const
{
    return !button("PushButton_Play")->isEnabled() && button("PushButton_Pause")->isEnabled()
        && button("PushButton_Stop")->isEnabled() && !button("PushButton_Next")->isEnabled()
        && !button("PushButton_Clear")->isEnabled() && !button("PushButton_Random")->isEnabled()
        && !button("PushButton_Edit")->isEnabled() && !button("PushButton_SaveState")->isEnabled();
}

bool TestMainWindow::idlePattern() const
{
    return button("PushButton_Play")->isEnabled() && !button("PushButton_Pause")->isEnabled()
        && button("PushButton_Stop")->isEnabled() && button("PushButton_Next")->isEnabled()
        && button("PushButton_Clear")->isEnabled() && button("PushButton_Random")->isEnabled()
        && button("PushButton_Edit")->isEnabled() && button("PushButton_SaveState")->isEnabled();
}

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
    QVERIFY(idlePattern());
    QCOMPARE(find<QLabel>("Label_CellCount")->text(), QString("Cells: 0"));
    QCOMPARE(find<QLabel>("Label_GenerationNumber")->text(), QString("Generation: 1"));
    QCOMPARE(find<QLabel>("Label_FieldSize")->text(), QString("Field size: 120 * 120"));
    QCOMPARE(find<QSpinBox>("SpinBox_IPS")->value(), 20);
    QCOMPARE(find<QComboBox>("ComboBox_CellColor")->currentIndex(), 1);
    QVERIFY(!simulationTimer()->isActive());
    QCOMPARE(simulationTimer()->timerType(), Qt::PreciseTimer);
    QVERIFY(!simulationTimer()->isSingleShot());

    for (const char *name : { "PushButton_Play", "PushButton_Pause", "PushButton_Stop", "PushButton_Next",
             "PushButton_Clear", "PushButton_Random", "PushButton_Edit", "PushButton_SaveState" }) {
        const QPushButton *b = button(name);
        const QSize expectedSize = qstrcmp(name, "PushButton_SaveState") == 0 ? QSize(30, 30) : QSize(40, 40);
        QVERIFY2(!b->icon().isNull(), name);
        QVERIFY2(!b->icon().pixmap(expectedSize).isNull(), name);
        QCOMPARE(b->iconSize(), expectedSize);
        QVERIFY2(b->text().isEmpty(), name);
    }

    // The empty field shows as a white area.
    QCOMPARE(liveCount(cellsOnScreen()), 0);
}

void TestMainWindow::buttonPatternsFollowTheState()
{
    click("PushButton_Play");
    QVERIFY(runningPattern());
    QVERIFY(simulationTimer()->isActive());

    click("PushButton_Pause");
    QVERIFY(idlePattern());
    QVERIFY(!simulationTimer()->isActive());

    click("PushButton_Play");
    click("PushButton_Stop");
    QVERIFY(idlePattern());
    QVERIFY(!simulationTimer()->isActive());

    click("PushButton_Next");
    QVERIFY(idlePattern());

    // Clicks on disabled buttons reach nothing.
    click("PushButton_Pause");
    QVERIFY(idlePattern());
    click("PushButton_Play");
    click("PushButton_Play");
    click("PushButton_Next");
    QVERIFY(runningPattern());
    QVERIFY(simulationTimer()->isActive());
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
    simulationTimer()->stop();
    QVERIFY(runningPattern());
    const QString generationText = find<QLabel>("Label_GenerationNumber")->text();
    const QString cellText = find<QLabel>("Label_CellCount")->text();

    const ModalRunner::Outcome outcome = ModalRunner::run(
        [&] {
            QVERIFY(QMetaObject::invokeMethod(window, slot.constData()));
            QCoreApplication::processEvents();
        },
        [](QWidget *modal) { modal->close(); }, 5000);

    QVERIFY2(!outcome.opened, "a window opened");
    QVERIFY(runningPattern());
    QVERIFY2(!simulationTimer()->isActive(), "the timer was started again");
    QCOMPARE(find<QLabel>("Label_GenerationNumber")->text(), generationText);
    QCOMPARE(find<QLabel>("Label_CellCount")->text(), cellText);
    QCOMPARE(cellsOnScreen(), cellsOf(expected));

    // The saved state was not touched either: Stop still brings back the empty field.
    click("PushButton_Stop");
    QCOMPARE(liveCount(cellsOnScreen()), 0);
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
    QSpinBox *spinBox = find<QSpinBox>("SpinBox_IPS");

    // Set while idle, then Play.
    spinBox->setValue(speed);
    click("PushButton_Play");
    QVERIFY(simulationTimer()->isActive());
    QCOMPARE(simulationTimer()->interval(), interval);
    click("PushButton_Pause");

    // Changed while running: takes effect at once, the timer keeps going.
    spinBox->setValue(speed == 20 ? 10 : 20);
    click("PushButton_Play");
    spinBox->setValue(speed);
    QVERIFY(simulationTimer()->isActive());
    QCOMPARE(simulationTimer()->interval(), interval);
    QCOMPARE(simulationTimer()->timerType(), Qt::PreciseTimer);
}

void TestMainWindow::ticksAdvanceTheField()
{
    GameField expected;
    fillRandomly(5, expected);
    find<QSpinBox>("SpinBox_IPS")->setValue(30);
    click("PushButton_Play");
    QTRY_VERIFY(generation() >= 4);
    click("PushButton_Pause");

    for (int i = 1; i < generation(); ++i)
        expected.nextGeneration();
    QCOMPARE(cellsOnScreen(), cellsOf(expected));
    QCOMPARE(cellLabel(), expected.liveCellCount());
}

void TestMainWindow::playPauseKeepsFieldAndGeneration()
{
    GameField expected;
    fillRandomly(21, expected);
    find<QSpinBox>("SpinBox_IPS")->setValue(30);

    click("PushButton_Play");
    QTRY_VERIFY(generation() >= 3);
    click("PushButton_Pause");
    const int paused = generation();
    const CellGrid pausedCells = cellsOnScreen();
    QTest::qWait(150); // several tick intervals: nothing may move now
    QCOMPARE(generation(), paused);
    QCOMPARE(cellsOnScreen(), pausedCells);

    click("PushButton_Play");
    QTRY_VERIFY(generation() >= paused + 2);
    click("PushButton_Pause");

    // The second run continued from where the first stopped.
    for (int i = 1; i < generation(); ++i)
        expected.nextGeneration();
    QCOMPARE(cellsOnScreen(), cellsOf(expected));
    QCOMPARE(cellLabel(), expected.liveCellCount());
}

void TestMainWindow::stopWithoutSaveGivesEmptyField()
{
    GameField expected;
    fillRandomly(3, expected);
    click("PushButton_Next");
    QVERIFY(cellLabel() > 0);

    click("PushButton_Stop");
    QCOMPARE(generation(), 1);
    QCOMPARE(cellLabel(), 0);
    QCOMPARE(liveCount(cellsOnScreen()), 0);

    // Stop while running does the same and ends the run.
    fillRandomly(4, expected);
    click("PushButton_Play");
    click("PushButton_Stop");
    QVERIFY(idlePattern());
    QVERIFY(!simulationTimer()->isActive());
    QCOMPARE(generation(), 1);
    QCOMPARE(cellLabel(), 0);
    QCOMPARE(liveCount(cellsOnScreen()), 0);
}

void TestMainWindow::saveStateThenStopReturnsToIt()
{
    GameField expected;
    fillRandomly(8, expected);
    click("PushButton_Next");
    click("PushButton_Next");
    expected.nextGeneration();
    expected.nextGeneration();
    QCOMPARE(generation(), 3);
    const int count = cellLabel();
    QCoreApplication::processEvents();

    PaintCounter counter(view());
    click("PushButton_SaveState");
    QCOMPARE(generation(), 1);
    QCOMPARE(cellLabel(), count);
    QTest::qWait(50);
    QCOMPARE(counter.paints, 0);

    click("PushButton_Next");
    click("PushButton_Play");
    QTRY_VERIFY(generation() >= 3);
    click("PushButton_Stop");

    QCOMPARE(generation(), 1);
    QCOMPARE(cellsOnScreen(), cellsOf(expected));
    QCOMPARE(cellLabel(), expected.liveCellCount());
}

void TestMainWindow::nextStepsOneGeneration()
{
    GameField expected;
    fillRandomly(13, expected);
    for (int i = 2; i <= 5; ++i) {
        click("PushButton_Next");
        expected.nextGeneration();
        QCOMPARE(generation(), i);
        QCOMPARE(cellLabel(), expected.liveCellCount());
    }
    QCOMPARE(cellsOnScreen(), cellsOf(expected));
}

void TestMainWindow::clearAndRandom()
{
    GameField expected;
    fillRandomly(17, expected);
    QCOMPARE(generation(), 1);
    QCOMPARE(cellLabel(), expected.liveCellCount());
    QVERIFY(cellLabel() > 0);
    QCOMPARE(cellsOnScreen(), cellsOf(expected));

    click("PushButton_Next");
    click("PushButton_Clear");
    // At once, before any repaint.
    QCOMPARE(find<QLabel>("Label_CellCount")->text(), QString("Cells: 0"));
    QCOMPARE(find<QLabel>("Label_GenerationNumber")->text(), QString("Generation: 1"));
    QVERIFY(idlePattern());
    QCOMPARE(liveCount(cellsOnScreen()), 0);

    click("PushButton_Next");
    fillRandomly(18, expected);
    QCOMPARE(generation(), 1);
    QCOMPARE(cellLabel(), expected.liveCellCount());
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
    const CellGrid cells = cellsOf(expected);
    QComboBox *combo = find<QComboBox>("ComboBox_CellColor");
    // Start from another colour, so that every row sees a change.
    combo->setCurrentIndex(index == 0 ? 2 : 0);

    PaintCounter counter(view());
    combo->setCurrentIndex(index);
    QTRY_VERIFY(counter.paints > 0);

    const QImage image = picture();
    for (int r = 1; r <= N; ++r) {
        for (int c = 1; c <= N; ++c) {
            const QColor expectedColor = cells[(r - 1) * N + (c - 1)] ? fill : White;
            if (cellColor(image, r, c) != expectedColor)
                QFAIL(qPrintable(QString("cell (%1, %2) shows %3").arg(r).arg(c).arg(cellColor(image, r, c).name())));
        }
    }
}

void TestMainWindow::colourChangeWhileRunningWaitsForTick()
{
    GameField expected;
    fillRandomly(29, expected);
    click("PushButton_Play");
    simulationTimer()->stop();
    QCoreApplication::processEvents();

    PaintCounter counter(view());
    find<QComboBox>("ComboBox_CellColor")->setCurrentIndex(2);
    QTest::qWait(50);
    QCOMPARE(counter.paints, 0);

    // The next tick repaints, in the new colour.
    simulationTimer()->start();
    QTRY_VERIFY(counter.paints > 0);
    click("PushButton_Pause");
    for (int i = 1; i < generation(); ++i)
        expected.nextGeneration();
    const CellGrid cells = cellsOf(expected);
    const QImage image = picture();
    int blue = 0;
    for (int r = 1; r <= N; ++r) {
        for (int c = 1; c <= N; ++c) {
            if (cells[(r - 1) * N + (c - 1)]) {
                QCOMPARE(cellColor(image, r, c), Blue);
                ++blue;
            }
        }
    }
    QVERIFY(blue > 0);
}

void TestMainWindow::aboutBoxKeepsSimulationRunning()
{
    find<QSpinBox>("SpinBox_IPS")->setValue(30);
    GameField expected;
    fillRandomly(31, expected);
    click("PushButton_Play");

    QString title;
    QString text;
    int generationWhenOpen = 0;
    int generationBeforeClose = 0;
    const ModalRunner::Outcome outcome = ModalRunner::run([this] { find<QAction>("Action_Help_About")->trigger(); },
        [&](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            if (!box)
                return;
            title = box->windowTitle();
            text = box->text();
            generationWhenOpen = generation();
            QTest::qWait(300);
            generationBeforeClose = generation();
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
    QVERIFY(runningPattern());
    click("PushButton_Pause");
}

void TestMainWindow::exitEndsEventLoop()
{
    QTimer::singleShot(0, this, [this] { find<QAction>("Action_File_Exit")->trigger(); });
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
    const CellGrid grid = cellsOf(field);
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
    const CellGrid before = cellsOnScreen();
    const QString generationText = find<QLabel>("Label_GenerationNumber")->text();
    const QString cellText = find<QLabel>("Label_CellCount")->text();
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
    QCOMPARE(find<QLabel>("Label_GenerationNumber")->text(), generationText);
    QCOMPARE(find<QLabel>("Label_CellCount")->text(), cellText);
    QCOMPARE(cellsOnScreen(), before);
    QCOMPARE(cellsOnScreen(), cellsOf(expected));
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
        const CellGrid cells = cellsOf(expected);
        editorShowsField = true;
        for (int i = 0; i < N * N; ++i) {
            const QColor shown = table->item(i / N, i % N)->background().color();
            if (shown != (cells[i] ? QColor(Qt::darkGreen) : QColor(Qt::white)))
                editorShowsField = false;
        }
        clickEditorButton(editor, "PushButton_Ok");
    });

    QVERIFY(editorShowsField);
    QCOMPARE(generation(), 3);
    QCOMPARE(cellLabel(), expected.liveCellCount());
    QCOMPARE(cellsOnScreen(), cellsOf(expected));
    QVERIFY(idlePattern());
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
    QCOMPARE(generation(), 2);
    QCOMPARE(cellLabel(), expected.liveCellCount());
    QCOMPARE(cellsOnScreen(), cellsOf(expected));
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
    QCOMPARE(cellsOnScreen(), cellsOf(edited));

    // Stop goes back to the state saved before the edit.
    click("PushButton_Stop");
    QCOMPARE(cellsOnScreen(), cellsOf(saved));
    QCOMPARE(cellLabel(), saved.liveCellCount());

    edit([&](FormFieldEditor *editor) {
        paintInEditor(editor, "RadioButton_ToolOn", born);
        clickEditorButton(editor, "PushButton_Ok");
    });
    click("PushButton_SaveState");
    click("PushButton_Next");
    click("PushButton_Next");
    click("PushButton_Stop");
    QCOMPARE(generation(), 1);
    QCOMPARE(cellsOnScreen(), cellsOf(edited));
    QCOMPARE(cellLabel(), edited.liveCellCount());
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
    QCOMPARE(cellsOnScreen(), cellsOf(expected));

    for (int i = 0; i < 6; ++i) {
        click("PushButton_Next");
        expected.nextGeneration();
    }
    QCOMPARE(cellsOnScreen(), cellsOf(expected));
    QCOMPARE(cellLabel(), expected.liveCellCount());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
