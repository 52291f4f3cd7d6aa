// Mouse input through the window system's queue, so that a drag carries its button.
#define QTEST_QPA_MOUSE_HANDLING

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QInputDialog>
#include <QMessageBox>
#include <QTest>

#include <set>
#include <utility>

#include "mainwindow/mainwindow.h"
#include "mainwindowtestcase.h"
#include "modalrunner.h"
#include "model/engine/gamefield.h"
#include "view/widgetpaintarea.h"

namespace
{

using Cells = std::set<std::pair<int, int>>; // live (x, y), 0..119

// The middle of cell (x, y) of the classic field, in the view's coordinates.
QPoint centreOf(int x, int y) { return QPoint(4 + 6 * x + 3, 4 + 6 * y + 3); }

// A 3 x 2 box: o.o over ooo.
const QString Arch = QStringLiteral("x = 3, y = 2, rule = B36/S23\nobo$3o!\n");

} // namespace

Q_DECLARE_METATYPE(Cells)

// Selecting, the edits of a selection and pasting where one points, by real input on the shown window.
class TestMainWindowSelection : public MainWindowTestCase
{
    Q_OBJECT

private slots:
    void pastePlacesTopLeftOnTheClickedCell_data();
    void pastePlacesTopLeftOnTheClickedCell();
    void refusedPasteChangesNothing();
    void undoOfEachOperation_data();
    void undoOfEachOperation();
    void shiftDragSelectsAndDrawsNothing();

private:
    WidgetPaintArea *view() const { return probe.find<WidgetPaintArea>("WidgetPaintArea_GraphicScene"); }
    // The live cells shown, once the selection is taken away with Escape.
    Cells liveCells();
    void draw(const Cells &cells);
    void select(int left, int top, int right, int bottom);
};

Cells TestMainWindowSelection::liveCells()
{
    QTest::keyClick(window, Qt::Key_Escape);
    const MainWindowProbe::CellGrid grid = probe.shownCells();
    Cells live;
    for (int i = 0; i < GameField::CellCount; ++i) {
        if (grid[static_cast<std::size_t>(i)])
            live.insert({ i % GameField::FieldSize, i / GameField::FieldSize });
    }
    return live;
}

void TestMainWindowSelection::draw(const Cells &cells)
{
    for (const auto &[x, y] : cells)
        QTest::mouseClick(view(), Qt::LeftButton, Qt::NoModifier, centreOf(x, y));
}

void TestMainWindowSelection::select(int left, int top, int right, int bottom)
{
    QTest::mousePress(view(), Qt::LeftButton, Qt::ShiftModifier, centreOf(left, top));
    QTest::mouseMove(view(), centreOf(right, bottom));
    QTest::mouseRelease(view(), Qt::LeftButton, Qt::ShiftModifier, centreOf(right, bottom));
}

void TestMainWindowSelection::pastePlacesTopLeftOnTheClickedCell_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("key"); // turns the outline before it is placed, if not 0
    QTest::addColumn<QString>("clip");
    QTest::addColumn<Cells>("expected");
    // On (31, 30) and (31, 31), inside the box, and (40, 40) outside it.
    QTest::newRow("or") << "Action_Edit_PasteOr" << 0 << Arch
                        << Cells { { 30, 30 }, { 31, 30 }, { 32, 30 }, { 30, 31 }, { 31, 31 }, { 32, 31 }, { 40, 40 } };
    QTest::newRow("copy") << "Action_Edit_PasteCopy" << 0 << Arch
                          << Cells { { 30, 30 }, { 32, 30 }, { 30, 31 }, { 31, 31 }, { 32, 31 }, { 40, 40 } };
    QTest::newRow("xor") << "Action_Edit_PasteXor" << 0 << Arch
                         << Cells { { 30, 30 }, { 31, 30 }, { 32, 30 }, { 30, 31 }, { 32, 31 }, { 40, 40 } };
    // Turned clockwise: oo over o. over oo, 2 x 3.
    QTest::newRow("or, rotated") << "Action_Edit_PasteOr" << int(Qt::Key_R) << Arch
                                 << Cells { { 30, 30 }, { 31, 30 }, { 30, 31 }, { 31, 31 }, { 30, 32 }, { 31, 32 },
                                        { 40, 40 } };
    QTest::newRow("copy, all dead") << "Action_Edit_PasteCopy" << 0 << QStringLiteral("x = 3, y = 2\n!\n")
                                    << Cells { { 40, 40 } };
}

void TestMainWindowSelection::pastePlacesTopLeftOnTheClickedCell()
{
    QFETCH(QString, mode);
    QFETCH(int, key);
    QFETCH(QString, clip);
    QFETCH(Cells, expected);
    draw({ { 31, 30 }, { 31, 31 }, { 40, 40 } });
    probe.find<QAction>(qPrintable(mode))->trigger();
    QApplication::clipboard()->setText(clip);
    QString refusal;
    ModalRunner::run([this] { QTest::keySequence(window, QKeySequence::Paste); },
        [&refusal](QWidget *box) { refusal = qobject_cast<QMessageBox *>(box)->text(), box->close(); });
    QVERIFY2(refusal.isEmpty(), qPrintable(refusal));
    if (key)
        QTest::keyClick(window, Qt::Key(key));
    QTest::mouseClick(view(), Qt::LeftButton, Qt::NoModifier, centreOf(30, 30));
    QCOMPARE(liveCells(), expected);
    QCOMPARE(probe.find<QComboBox>("ComboBox_Rule")->currentData().toString(), QStringLiteral("B3/S23"));
}

void TestMainWindowSelection::refusedPasteChangesNothing()
{
    // Into the empty field it would bring its rule; past the edge it brings nothing.
    QApplication::clipboard()->setText(Arch);
    QTest::keySequence(window, QKeySequence::Paste);
    QString message;
    ModalRunner::run([&] { QTest::mouseClick(view(), Qt::LeftButton, Qt::NoModifier, centreOf(118, 60)); },
        [&](QWidget *box) { message = box->windowTitle(), box->close(); });
    QCOMPARE(message, QStringLiteral("Paste pattern"));
    QCOMPARE(probe.cellCount(), 0);
    QVERIFY(!probe.find<QAction>("Action_Edit_Undo")->isEnabled());
    QCOMPARE(probe.find<QComboBox>("ComboBox_Rule")->currentData().toString(), QStringLiteral("B3/S23"));
    // The outline stays, to be placed where it fits, here by the cell cursor: then the rule comes along.
    QTest::keyClick(view(), Qt::Key_Left);
    QTest::keyClick(view(), Qt::Key_Return);
    QCOMPARE(probe.cellCount(), 5);
    QCOMPARE(probe.find<QComboBox>("ComboBox_Rule")->currentData().toString(), QStringLiteral("B36/S23"));
}

void TestMainWindowSelection::undoOfEachOperation_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("step");
    QTest::addColumn<Cells>("expected");
    const auto row = [](const char *name, const char *action, const char *step, const Cells &expected) {
        QTest::newRow(name) << QString(action) << QString(step) << expected;
    };
    // An L, x = 21, y = 20..22 and (22, 22), in a selection of 20..23 x 20..22, and (50, 50) outside.
    row("cut", "Action_Edit_Cut", "Cut", Cells { { 50, 50 } });
    row("clear", "Action_Edit_Clear", "Clear selection", Cells { { 50, 50 } });
    row("clear outside", "Action_Edit_ClearOutside", "Clear outside",
        Cells { { 21, 20 }, { 21, 21 }, { 21, 22 }, { 22, 22 } });
    // The wide 4 x 3 selection turns into 3 x 4 cells half a cell left and down: 20..22 x 20..23.
    row("rotate clockwise", "Action_Edit_RotateClockwise", "Rotate",
        Cells { { 20, 21 }, { 21, 21 }, { 22, 21 }, { 20, 22 }, { 50, 50 } });
    row("rotate anticlockwise", "Action_Edit_RotateAnticlockwise", "Rotate",
        Cells { { 22, 21 }, { 20, 22 }, { 21, 22 }, { 22, 22 }, { 50, 50 } });
    row("flip left to right", "Action_Edit_FlipLeftRight", "Flip",
        Cells { { 22, 20 }, { 22, 21 }, { 21, 22 }, { 22, 22 }, { 50, 50 } });
    row("flip top to bottom", "Action_Edit_FlipTopBottom", "Flip",
        Cells { { 21, 20 }, { 22, 20 }, { 21, 21 }, { 21, 22 }, { 50, 50 } });
    // At 100 %: every cell of the selection.
    row("fill at random", "Action_Edit_FillRandom", "Fill at random",
        Cells { { 20, 20 }, { 21, 20 }, { 22, 20 }, { 23, 20 }, { 20, 21 }, { 21, 21 }, { 22, 21 }, { 23, 21 },
            { 20, 22 }, { 21, 22 }, { 22, 22 }, { 23, 22 }, { 50, 50 } });
    row("paste", "Action_Edit_PastePattern", "Paste",
        Cells { { 21, 20 }, { 21, 21 }, { 21, 22 }, { 22, 22 }, { 49, 49 }, { 51, 49 }, { 49, 50 }, { 50, 50 },
            { 51, 50 } });
}

void TestMainWindowSelection::undoOfEachOperation()
{
    QFETCH(QString, action);
    QFETCH(QString, step);
    QFETCH(Cells, expected);
    QApplication::clipboard()->setText(Arch);
    draw({ { 21, 20 }, { 21, 21 }, { 21, 22 }, { 22, 22 }, { 50, 50 } });
    const Cells before = liveCells();
    select(20, 20, 23, 22);
    if (action == "Action_Edit_FillRandom") {
        ModalRunner::run([&] { probe.find<QAction>(qPrintable(action))->trigger(); },
            [](QWidget *dialog) {
                static_cast<QInputDialog *>(dialog)->setIntValue(100), static_cast<QInputDialog *>(dialog)->accept();
            });
        // The window's shortcuts act in the active window only.
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
    } else if (action == "Action_Edit_PastePattern") {
        QTest::keySequence(window, QKeySequence::Paste);
        QTest::mouseClick(view(), Qt::LeftButton, Qt::NoModifier, centreOf(49, 49));
    } else {
        probe.find<QAction>(qPrintable(action))->trigger();
    }
    QCOMPARE(liveCells(), expected);
    QCOMPARE(probe.find<QAction>("Action_Edit_Undo")->text().remove('&'), "Undo " + step);
    QTest::keySequence(window, QKeySequence::Undo);
    QCOMPARE(liveCells(), before);
    QTest::keySequence(window, QKeySequence::Redo);
    QCOMPARE(liveCells(), expected);
}

void TestMainWindowSelection::shiftDragSelectsAndDrawsNothing()
{
    const QImage empty = probe.picture();
    select(70, 10, 64, 15);
    QCOMPARE(probe.cellCount(), 0);
    QVERIFY(view()->selection() == CellRect({ 64, 10, 70, 15 }));
    // Shown over the cells, and gone with Escape, every pixel as before.
    QVERIFY(probe.picture() != empty);
    QTest::keyClick(window, Qt::Key_Escape);
    QVERIFY(!view()->selection());
    QCOMPARE(probe.picture(), empty);
    // From the keyboard: Shift and the cursor keys stretch it from the cursor.
    view()->setFocus();
    QTest::keyClick(view(), Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(view(), Qt::Key_Down, Qt::ShiftModifier);
    const CellPoint cursor = view()->cursorCell();
    QVERIFY(view()->selection() == CellRect({ cursor.x - 1, cursor.y - 1, cursor.x, cursor.y }));
}

QTEST_MAIN(TestMainWindowSelection)
#include "tst_mainwindowselection.moc"
