#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "mainwindow/mainwindow.h"
#include "mainwindowtestcase.h"
#include "modalrunner.h"
#include "model/engine/gamefield.h"
#include "view/widgetpaintarea.h"

// The window beyond the classic field: choosing the universe, the step of a
// tick, and files too large for the classic field.
class TestMainWindowUniverse : public MainWindowTestCase
{
    Q_OBJECT

private slots:
    void changeThatLosesCellsAsksFirst();
    void stepAdvancesByExactlyItsGenerations_data();
    void stepAdvancesByExactlyItsGenerations();
    void wideFileOpensInTheUnboundedPlaneFitted();

private:
    QString label(const char *name) const { return probe.find<QLabel>(name)->text(); }
    QAction *action(const char *name) const { return probe.find<QAction>(name); }
    // Chooses a torus of side x side cells in the universe dialog and presses
    // OK; answers the question about lost cells with `answer`, then, if the
    // dialog stays, cancels it. Returns whether the question was asked.
    bool chooseTorus(int side, QMessageBox::StandardButton answer);

    QTemporaryDir folder;
};

bool TestMainWindowUniverse::chooseTorus(int side, QMessageBox::StandardButton answer)
{
    bool asked = false;
    ModalRunner::run([this] { action("Action_Simulation_Universe")->trigger(); },
        [&](QWidget *dialog) {
            const QList<QRadioButton *> choices = dialog->findChildren<QRadioButton *>();
            const auto torus = std::find_if(choices.begin(), choices.end(),
                [](QRadioButton *choice) { return choice->text().remove('&') == QStringLiteral("Torus"); });
            QVERIFY(torus != choices.end());
            // On its mark: the button is as wide as the dialog, its text is not.
            QTest::mouseClick(*torus, Qt::LeftButton, Qt::NoModifier, QPoint(8, (*torus)->height() / 2));
            for (QSpinBox *size : dialog->findChildren<QSpinBox *>()) {
                if (size->accessibleName() == QStringLiteral("Width")
                    || size->accessibleName() == QStringLiteral("Height")) {
                    size->selectAll();
                    QTest::keyClicks(size, QString::number(side));
                }
            }
            QPushButton *ok = dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
            // The question comes from within the dialog's OK: answered from a timer.
            QTimer answerer;
            QObject::connect(&answerer, &QTimer::timeout, [&] {
                if (auto *question = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                    answerer.stop();
                    asked = question->text().contains(QStringLiteral("will be lost"));
                    QTest::mouseClick(question->button(answer), Qt::LeftButton);
                }
            });
            answerer.start(20);
            QTest::mouseClick(ok, Qt::LeftButton);
            if (dialog->isVisible())
                static_cast<QDialog *>(dialog)->reject();
        });
    // As a window manager does once the dialog is gone.
    QApplication::setActiveWindow(window);
    return asked;
}

void TestMainWindowUniverse::changeThatLosesCellsAsksFirst()
{
    QTest::mouseClick(probe.button("PushButton_Random"), Qt::LeftButton);
    const MainWindowProbe::CellGrid before = probe.shownCells();
    const int cells = probe.cellCount();

    // No: nothing changes.
    QVERIFY(chooseTorus(50, QMessageBox::No));
    QCOMPARE(label("Label_FieldSize"), QStringLiteral("Field size: 120 * 120"));
    QCOMPARE(probe.cellCount(), cells);

    // Yes: the cells within 50 x 50 stay where they are, the others are lost.
    QVERIFY(chooseTorus(50, QMessageBox::Yes));
    QCOMPARE(label("Label_FieldSize"), QStringLiteral("Field size: 50 * 50, torus"));
    int kept = 0;
    for (int row = 0; row < 50; ++row) {
        for (int column = 0; column < 50; ++column)
            kept += before[static_cast<std::size_t>(row * GameField::FieldSize + column)];
    }
    QCOMPARE(probe.cellCount(), kept);
    QVERIFY(!probe.button("PushButton_Edit")->isEnabled());

    // Undo brings every cell back, in the classic field as it was shown.
    QTest::keySequence(window, QKeySequence::Undo);
    QCOMPARE(label("Label_FieldSize"), QStringLiteral("Field size: 120 * 120"));
    QCOMPARE(probe.cellCount(), cells);
    QCOMPARE(probe.shownCells(), before);
    QVERIFY(probe.button("PushButton_Edit")->isEnabled());
}

void TestMainWindowUniverse::stepAdvancesByExactlyItsGenerations_data()
{
    QTest::addColumn<int>("exponent");
    QTest::newRow("1") << 0;
    QTest::newRow("2^3") << 3;
    QTest::newRow("2^6") << 6;
    // More than the classic field allows: it stops at its most.
    QTest::newRow("2^30, at most 2^12") << 30;
}

void TestMainWindowUniverse::stepAdvancesByExactlyItsGenerations()
{
    QFETCH(int, exponent);
    // An R-pentomino near the top left and a glider: both still busy after 4,096 generations.
    const std::vector<std::pair<int, int>> alive = { { 20, 21 }, { 20, 22 }, { 21, 20 }, { 21, 21 }, { 22, 21 },
        { 80, 81 }, { 81, 82 }, { 82, 80 }, { 82, 81 }, { 82, 82 } };
    GameField expected;
    QWidget *view = probe.find<WidgetPaintArea>("WidgetPaintArea_GraphicScene");
    for (const auto &[row, column] : alive) {
        expected.setCell(row, column, 1);
        QTest::mouseClick(
            view, Qt::LeftButton, Qt::NoModifier, QPoint(6 * column + 1, 6 * row + 1)); // the middle of the cell
    }
    QCOMPARE(probe.shownCells(), MainWindowProbe::cellsOf(expected));

    for (int i = 0; i < exponent; ++i)
        QTest::keyClick(view, Qt::Key_BracketRight);
    const int step = 1 << std::min(exponent, 12);
    QCOMPARE(label("Label_Step"),
        QStringLiteral("Step: %1 gen./tick").arg(step <= 1024 ? QString::number(step) : QStringLiteral("2^12")));
    QTest::keyClick(window, Qt::Key_F8);
    for (int i = 0; i < step; ++i)
        expected.nextGeneration();
    QCOMPARE(probe.generation(), 1 + step);
    QCOMPARE(probe.shownCells(), MainWindowProbe::cellsOf(expected));
}

void TestMainWindowUniverse::wideFileOpensInTheUnboundedPlaneFitted()
{
    QTest::mouseClick(probe.button("PushButton_Random"), Qt::LeftButton);
    const MainWindowProbe::CellGrid before = probe.shownCells();

    // A row of 75 blocks, one every 4 cells: 298 cells wide.
    QFile file(folder.filePath(QStringLiteral("wide.rle")));
    QByteArray row;
    for (int i = 0; i < 75; ++i)
        row += i < 74 ? "2o2b" : "2o";
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x = 298, y = 2\n" + row + "$" + row + "!\n");
    file.close();
    QVERIFY(window->openPatternFile(file.fileName()));
    QCOMPARE(label("Label_FieldSize"), QStringLiteral("Field size: unbounded"));
    QCOMPARE(probe.cellCount(), 300);

    // Fitted: both ends in view, every block drawn.
    auto *view = probe.find<WidgetPaintArea>("WidgetPaintArea_GraphicScene");
    const CellRect shown = view->visibleCells();
    QVERIFY(shown.contains(-149, -1) && shown.contains(148, 0));
    QVERIFY(view->viewport().cellSize() >= 2);
    const QImage picture = view->grab().toImage();
    const QRect last = view->viewport().pixelsOf({ 148, 0 });
    QVERIFY(picture.pixelColor(last.center()) != QColor(Qt::white));

    // Undo: the classic field and its cells come back.
    QTest::keySequence(window, QKeySequence::Undo);
    QCOMPARE(label("Label_FieldSize"), QStringLiteral("Field size: 120 * 120"));
    QCOMPARE(probe.shownCells(), before);
}

QTEST_MAIN(TestMainWindowUniverse)
#include "tst_mainwindowuniverse.moc"
