// Mouse input through the window system's queue, as a real mouse delivers it,
// with the held button carried along in moves.
#define QTEST_QPA_MOUSE_HANDLING

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeySequence>
#include <QLabel>
#include <QMessageBox>
#include <QPoint>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <utility>
#include <vector>

#include "document/document.h"
#include "mainwindow/mainwindow.h"
#include "mainwindowprobe.h"
#include "mainwindowtestcase.h"
#include "model/engine/gamefield.h"
#include "model/engine/rule.h"
#include "model/engine/topology.h"
#include "view/widgetpaintarea.h"

namespace
{

constexpr int N = GameField::FieldSize;
using CellGrid = MainWindowProbe::CellGrid;
using Cell = std::pair<int, int>; // (row, column), 1..120

// The middle of a cell, in the view's own coordinates.
QPoint centreOf(const Cell &cell) { return QPoint(4 + 6 * (cell.second - 1) + 3, 4 + 6 * (cell.first - 1) + 3); }

bool alive(const CellGrid &cells, const Cell &cell) { return cells[(cell.first - 1) * N + cell.second - 1] == 1; }

int liveCount(const CellGrid &cells)
{
    int count = 0;
    for (int cell : cells)
        count += cell;
    return count;
}

} // namespace

Q_DECLARE_METATYPE(std::vector<QPoint>)

// Drawing on the field with the mouse, as the user sees it: the picture, the
// counters, and what is ignored. Also run with QT_SCALE_FACTOR=2, where a
// click must still find its cell.
class TestMainWindowDrawing : public MainWindowTestCase
{
    Q_OBJECT

private slots:
    void clickTogglesACell();
    void strokes_data();
    void strokes();
    void ignoredWhileRunning();
    void otherActionsEndTheStroke();
    void clickCyclesTheStates_data();
    void clickCyclesTheStates();

private:
    WidgetPaintArea *view() const { return probe.find<WidgetPaintArea>("WidgetPaintArea_GraphicScene"); }
    // Presses the left button at the first point, moves through the others in
    // single jumps, as a fast hand does, and releases at the last.
    void drag(const std::vector<QPoint> &points);
};

void TestMainWindowDrawing::drag(const std::vector<QPoint> &points)
{
    QTest::mousePress(view(), Qt::LeftButton, Qt::NoModifier, points.front());
    for (const QPoint &point : points)
        QTest::mouseMove(view(), point);
    QTest::mouseRelease(view(), Qt::LeftButton, Qt::NoModifier, points.back());
}

void TestMainWindowDrawing::clickTogglesACell()
{
    const Cell cell { 7, 113 };
    QTest::mouseClick(view(), Qt::LeftButton, Qt::NoModifier, centreOf(cell));
    CellGrid shown = probe.shownCells();
    QVERIFY(alive(shown, cell));
    QCOMPARE(liveCount(shown), 1);
    QCOMPARE(probe.cellCount(), 1);
    QCOMPARE(probe.generation(), 1);

    // Any point of the cell, its outline included, is that cell.
    QTest::mouseClick(view(), Qt::LeftButton, Qt::NoModifier, centreOf(cell) + QPoint(-3, 2));
    QCOMPARE(liveCount(probe.shownCells()), 0);
    QCOMPARE(probe.cellCount(), 0);

    // Other buttons draw nothing.
    QTest::mouseClick(view(), Qt::RightButton, Qt::NoModifier, centreOf(cell));
    QCOMPARE(probe.cellCount(), 0);
}

void TestMainWindowDrawing::strokes_data()
{
    QTest::addColumn<std::vector<QPoint>>("points");
    QTest::addColumn<bool>("startAlive"); // the first cell is alive before the stroke
    QTest::addColumn<int>("cellsDrawn"); // cells the stroke passes
    QTest::addColumn<int>("liveAfter");

    // Corner to corner in one jump: all 120 cells of the diagonal, none skipped.
    QTest::newRow("fast diagonal") << std::vector<QPoint> { centreOf({ 1, 1 }), centreOf({ 120, 120 }) } << false << 120
                                   << 120;
    QTest::newRow("steep line") << std::vector<QPoint> { centreOf({ 10, 50 }), centreOf({ 100, 53 }) } << false << 91
                                << 91;
    // From a live cell, the stroke erases; a full row of 30 becomes 10.
    QTest::newRow("erasing") << std::vector<QPoint> { centreOf({ 60, 41 }), centreOf({ 60, 60 }) } << true << 20 << 10;
    // Leaving the field and coming back: only the cells inside are drawn.
    QTest::newRow("through the margin") << std::vector<QPoint> { centreOf({ 2, 118 }), QPoint(728, 10), QPoint(800, 10),
        centreOf({ 2, 115 }) } << false << 6
                                        << 6;
    // Pressing on the frame or the margin starts no stroke at all.
    QTest::newRow("from the frame") << std::vector<QPoint> { QPoint(0, 300), centreOf({ 50, 50 }) } << false << 0 << 0;
    // The outline right of and below the last cell belongs to it.
    QTest::newRow("on the last outline") << std::vector<QPoint> { QPoint(724, 724) } << false << 1 << 1;
    QTest::newRow("from the margin") << std::vector<QPoint> { QPoint(726, 726), centreOf({ 100, 100 }) } << false << 0
                                     << 0;
}

void TestMainWindowDrawing::strokes()
{
    QFETCH(std::vector<QPoint>, points);
    QFETCH(bool, startAlive);
    QFETCH(int, cellsDrawn);
    QFETCH(int, liveAfter);

    if (startAlive) {
        // A row of 30 live cells, drawn with a stroke of its own.
        drag({ centreOf({ 60, 31 }), centreOf({ 60, 60 }) });
        QCOMPARE(probe.cellCount(), 30);
    }
    const CellGrid before = probe.shownCells();
    drag(points);
    const CellGrid after = probe.shownCells();

    int changed = 0;
    for (int i = 0; i < N * N; ++i)
        changed += before[i] != after[i];
    QCOMPARE(changed, cellsDrawn);
    QCOMPARE(liveCount(after), liveAfter);
    QCOMPARE(probe.cellCount(), liveAfter);
    QCOMPARE(probe.generation(), 1);
    if (QTest::currentDataTag() == QByteArray("fast diagonal")) {
        for (int i = 1; i <= N; ++i)
            QVERIFY2(alive(after, { i, i }), qPrintable(QString("cell (%1, %1) is dead").arg(i)));
    }
}

void TestMainWindowDrawing::ignoredWhileRunning()
{
    QTest::mouseClick(probe.button("PushButton_Play"), Qt::LeftButton);
    drag({ centreOf({ 30, 30 }), centreOf({ 30, 40 }) });
    QTest::mouseClick(view(), Qt::LeftButton, Qt::NoModifier, centreOf({ 80, 80 }));
    QCOMPARE(liveCount(probe.shownCells()), 0);
    QCOMPARE(probe.cellCount(), 0);

    QTest::mouseClick(probe.button("PushButton_Pause"), Qt::LeftButton);
    QTest::mouseClick(view(), Qt::LeftButton, Qt::NoModifier, centreOf({ 80, 80 }));
    QCOMPARE(probe.cellCount(), 1);
}

void TestMainWindowDrawing::otherActionsEndTheStroke()
{
    // Undo in the middle of a stroke first takes the stroke as it stands as
    // one step, then undoes it; the rest of the drag draws nothing.
    QTest::mouseClick(view(), Qt::LeftButton, Qt::NoModifier, centreOf({ 5, 5 }));
    QTest::mousePress(view(), Qt::LeftButton, Qt::NoModifier, centreOf({ 10, 10 }));
    QTest::mouseMove(view(), centreOf({ 10, 14 }));
    QApplication::setActiveWindow(window);
    QTest::keySequence(window, QKeySequence::Undo);
    QTest::mouseMove(view(), centreOf({ 10, 30 }));
    QTest::mouseRelease(view(), Qt::LeftButton, Qt::NoModifier, centreOf({ 10, 30 }));
    QCOMPARE(probe.cellCount(), 1);
    QTest::keySequence(window, QKeySequence::Redo);
    QCOMPARE(probe.cellCount(), 6);

    // A release that never arrived (a dialog took it): the next press starts
    // afresh rather than joining the old stroke with a line.
    QTest::mousePress(view(), Qt::LeftButton, Qt::NoModifier, centreOf({ 50, 50 }));
    drag({ centreOf({ 90, 90 }), centreOf({ 90, 91 }) });
    QCOMPARE(probe.cellCount(), 6 + 1 + 2);
    // Nor is it part of the old stroke's step.
    QTest::keySequence(window, QKeySequence::Undo);
    QCOMPARE(probe.cellCount(), 6 + 1);
}

void TestMainWindowDrawing::clickCyclesTheStates_data()
{
    QTest::addColumn<QString>("rule"); // an entry of the rule box's list
    QTest::addColumn<int>("states");

    QTest::newRow("Brian's Brain") << QStringLiteral("B2/S/C3") << 3;
    QTest::newRow("Star Wars") << QStringLiteral("B2/S345/C4") << 4;
    QTest::newRow("LifeHistory") << QStringLiteral("LifeHistory") << 7;
}

void TestMainWindowDrawing::clickCyclesTheStates()
{
    QFETCH(QString, rule);
    QFETCH(int, states);

    auto *box = probe.find<QComboBox>("ComboBox_Rule");
    const auto choose = [box, &rule] {
        box->showPopup();
        QAbstractItemView *list = box->view();
        QTRY_VERIFY(list->isVisible());
        const QModelIndex entry = list->model()->index(box->findData(rule), 0);
        // The keyboard, as the mouse is the field's in this test.
        list->setCurrentIndex(entry);
        QTest::keyClick(list, Qt::Key_Return);
    };
    auto *document = window->findChild<Document *>();

    // The classic field runs two states only: it refuses with a message and keeps Life.
    bool warned = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, this, [&warned] {
        if (auto *message = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            warned = true;
            message->accept();
        }
    });
    watch.start(10);
    choose();
    QTRY_VERIFY(warned);
    watch.stop();
    QCOMPARE(document->rule(), Rule());
    QCOMPARE(box->currentData().toString(), QStringLiteral("B3/S23"));
    auto *legend = probe.find<QLabel>("StateLegend");
    QVERIFY(!legend->isVisible());

    window->setStartUniverse(Topology::plane(40, 30));
    choose();
    QTRY_COMPARE(box->currentData().toString(), rule);
    QCOMPARE(document->rule().stateCount(), states);
    // The legend names every state but dead, with its colour.
    QTRY_VERIFY(legend->isVisible());
    QCOMPARE(legend->text().count(QStringLiteral("&#9632;")), states - 1);

    // Each click moves the cell on by one state, back to dead after the last;
    // each undo takes one click back.
    const CellPoint cell { 7, 5 };
    for (int click = 1; click <= states; ++click) {
        const QPoint at = view()->viewport().pixelsOf(cell).center();
        QTest::mouseClick(view(), Qt::LeftButton, Qt::NoModifier, at);
        QTRY_COMPARE(int(document->universe().state(cell.x, cell.y)), click % states);
    }
    QCOMPARE(document->universe().population(), 0U);
    QApplication::setActiveWindow(window);
    for (int click = states - 1; click >= 0; --click) {
        QTest::keySequence(window, QKeySequence::Undo);
        QTRY_COMPARE(int(document->universe().state(cell.x, cell.y)), click);
    }
    QCOMPARE(document->rule().stateCount(), states);
}

QTEST_MAIN(TestMainWindowDrawing)

#include "tst_mainwindowdrawing.moc"
