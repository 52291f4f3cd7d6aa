#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <algorithm>

#include "editor/formfieldeditor.h"
#include "mainwindow/mainwindow.h"
#include "mainwindowprobe.h"
#include "mainwindowtestcase.h"
#include "modalrunner.h"
#include "model/engine/gamefield.h"
#include "model/engine/hashlife.h"
#include "view/widgetpaintarea.h"

namespace
{

using CellGrid = MainWindowProbe::CellGrid;

// What the window shows of the field.
struct Shown {
    CellGrid cells;
    int generation;
    int count;
    bool operator==(const Shown &other) const
    {
        return cells == other.cells && generation == other.generation && count == other.count;
    }
};

} // namespace

// Undo and Redo through their shortcuts: every kind of step is taken back and
// done again exactly, a run is one step, the limits hold, and nothing acts
// while the simulation runs.
class TestMainWindowUndo : public MainWindowTestCase
{
    Q_OBJECT

private slots:
    void everyStepUndoesAndRedoes_data();
    void everyStepUndoesAndRedoes();
    void openAndSaveStateUndoTheSavedStateToo();
    void undoAndRedoDisabledWhenNothingOrRunning();
    void historyKeepsTheLast500Steps();
    void examplesListTheClassics();
    void refusedRandomChangesNothing();

private:
    Shown shown() const { return { probe.shownCells(), probe.generation(), probe.cellCount() }; }
    QAction *action(const char *name) const { return probe.find<QAction>(name); }
    void click(const char *name) { QTest::mouseClick(probe.button(name), Qt::LeftButton); }
    void keys(QKeySequence::StandardKey key)
    {
        QApplication::setActiveWindow(window);
        QTest::keySequence(window, key);
    }
    // A field at generation 2 whose saved state differs from it.
    void prepareField();
    void openExample(const QString &name);
    void editOneCell();
    // Plays until the generation has advanced, then ends the run with `endWith`.
    void run(const char *endWith);
};

void TestMainWindowUndo::prepareField()
{
    click("PushButton_Random");
    click("PushButton_SaveState");
    click("PushButton_Random");
    click("PushButton_Next");
}

void TestMainWindowUndo::openExample(const QString &name)
{
    for (QAction *example : probe.find<QMenu>("Menu_Examples")->actions()) {
        if (example->text() == name) {
            example->trigger();
            return;
        }
    }
    QFAIL(qPrintable("no example " + name));
}

void TestMainWindowUndo::editOneCell()
{
    const CellGrid cells = probe.shownCells();
    const int deadCell = int(std::find(cells.begin(), cells.end(), 0) - cells.begin());
    const ModalRunner::Outcome outcome = ModalRunner::run([this] { click("PushButton_Edit"); },
        [deadCell](QWidget *modal) {
            auto *table = modal->findChild<QTableWidget *>(QStringLiteral("TableWidget_Field"));
            auto *tool = modal->findChild<QAbstractButton *>(QStringLiteral("RadioButton_ToolOn"));
            auto *ok = modal->findChild<QAbstractButton *>(QStringLiteral("PushButton_Ok"));
            if (!table || !tool || !ok)
                return;
            QTest::mouseClick(tool, Qt::LeftButton);
            QTableWidgetItem *item = table->item(deadCell / GameField::FieldSize, deadCell % GameField::FieldSize);
            table->scrollToItem(item);
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualItemRect(item).center());
            QTest::mouseClick(ok, Qt::LeftButton);
        });
    QVERIFY(outcome.opened && !outcome.forced);
}

void TestMainWindowUndo::run(const char *endWith)
{
    const int start = probe.generation();
    click("PushButton_Play");
    QTRY_VERIFY(probe.generation() >= start + 2);
    click(endWith);
}

void TestMainWindowUndo::everyStepUndoesAndRedoes_data()
{
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("undoText");

    QTest::newRow("Clear") << "Clear"
                           << "Undo Clear";
    QTest::newRow("Random") << "Random"
                            << "Undo Random";
    QTest::newRow("Next") << "Next"
                          << "Undo Next";
    QTest::newRow("Stop") << "Stop"
                          << "Undo Stop";
    QTest::newRow("Save state") << "Save state"
                                << "Undo Save state";
    QTest::newRow("Edit") << "Edit"
                          << "Undo Edit";
    QTest::newRow("Open example") << "Open"
                                  << "Undo Open pattern";
    QTest::newRow("Draw") << "Draw"
                          << "Undo Draw";
    QTest::newRow("Play, Pause") << "Pause"
                                 << "Undo Run";
    // The Stop that ends a run is part of the run's step.
    QTest::newRow("Play, Stop") << "Play-Stop"
                                << "Undo Run";
}

void TestMainWindowUndo::everyStepUndoesAndRedoes()
{
    QFETCH(QString, step);
    QFETCH(QString, undoText);

    prepareField();
    const Shown before = shown();
    if (step == "Clear")
        click("PushButton_Clear");
    else if (step == "Random")
        click("PushButton_Random");
    else if (step == "Next")
        click("PushButton_Next");
    else if (step == "Stop")
        click("PushButton_Stop");
    else if (step == "Save state")
        click("PushButton_SaveState");
    else if (step == "Edit")
        editOneCell();
    else if (step == "Open")
        openExample(QStringLiteral("Glider"));
    else if (step == "Draw")
        QTest::mouseClick(probe.find<WidgetPaintArea>("WidgetPaintArea_GraphicScene"), Qt::LeftButton, {},
            QPoint(4 + 6 * 100 + 3, 4 + 6 * 2 + 3));
    else if (step == "Pause")
        run("PushButton_Pause");
    else
        run("PushButton_Stop");
    const Shown after = shown();
    QVERIFY(!(after == before));
    QCOMPARE(action("Action_Edit_Undo")->text().remove('&'), undoText);

    keys(QKeySequence::Undo);
    QVERIFY(shown() == before);
    QCOMPARE(action("Action_Edit_Redo")->text().remove('&'), QString(undoText).replace("Undo", "Redo"));
    keys(QKeySequence::Redo);
    QVERIFY(shown() == after);
    // Exactly one step: one more undo goes back to before the prepared Next.
    keys(QKeySequence::Undo);
    keys(QKeySequence::Undo);
    QCOMPARE(probe.generation(), 1);
}

void TestMainWindowUndo::openAndSaveStateUndoTheSavedStateToo()
{
    prepareField();
    click("PushButton_Stop");
    const Shown saved = shown();
    click("PushButton_Next");
    click("PushButton_SaveState");
    openExample(QStringLiteral("Pulsar"));
    click("PushButton_Next");
    click("PushButton_Stop");
    QCOMPARE(probe.cellCount(), 48); // the pulsar, which Open made the saved state

    keys(QKeySequence::Undo); // Stop
    keys(QKeySequence::Undo); // Next
    keys(QKeySequence::Undo); // Open
    QCOMPARE(probe.generation(), 1);
    keys(QKeySequence::Undo); // Save state
    QCOMPARE(probe.generation(), 2);
    click("PushButton_Stop");
    QVERIFY(shown() == saved);
}

void TestMainWindowUndo::undoAndRedoDisabledWhenNothingOrRunning()
{
    QVERIFY(!action("Action_Edit_Undo")->isEnabled());
    QVERIFY(!action("Action_Edit_Redo")->isEnabled());
    QCOMPARE(action("Action_Edit_Undo")->text().remove('&'), QStringLiteral("Undo"));
    // Steps that change nothing are not steps.
    click("PushButton_Clear");
    click("PushButton_Stop");
    QVERIFY(!action("Action_Edit_Undo")->isEnabled());

    click("PushButton_Random");
    click("PushButton_Play");
    QVERIFY(!action("Action_Edit_Undo")->isEnabled());
    QVERIFY(!action("Action_Edit_Redo")->isEnabled());
    const int generation = probe.generation();
    keys(QKeySequence::Undo);
    QTRY_VERIFY(probe.generation() > generation + 1);
    click("PushButton_Pause");
    QVERIFY(action("Action_Edit_Undo")->isEnabled());
    QVERIFY(!action("Action_Edit_Redo")->isEnabled());

    // Save state is a step of its own, after the run.
    click("PushButton_SaveState");
    keys(QKeySequence::Undo);
    QCOMPARE(action("Action_Edit_Undo")->text().remove('&'), QStringLiteral("Undo Run"));
    QVERIFY(action("Action_Edit_Redo")->isEnabled());
}

void TestMainWindowUndo::historyKeepsTheLast500Steps()
{
    openExample(QStringLiteral("R-pentomino"));
    for (int i = 0; i < 520; ++i)
        click("PushButton_Next");
    QCOMPARE(probe.generation(), 521);
    for (int i = 0; i < 500; ++i)
        keys(QKeySequence::Undo);
    QCOMPARE(probe.generation(), 21);
    QVERIFY(!action("Action_Edit_Undo")->isEnabled());
    for (int i = 0; i < 500; ++i)
        keys(QKeySequence::Redo);
    QCOMPARE(probe.generation(), 521);
}

void TestMainWindowUndo::examplesListTheClassics()
{
    QStringList names;
    for (QAction *example : probe.find<QMenu>("Menu_Examples")->actions())
        names << example->text();
    for (const char *name : { "Glider", "Lightweight spaceship", "Pulsar", "Pentadecathlon", "Gosper glider gun",
             "Simkin glider gun", "Queen bee shuttle", "R-pentomino", "Diehard", "Acorn" })
        QVERIFY2(names.contains(QLatin1String(name)), name);

    openExample(QStringLiteral("Gosper glider gun"));
    QCOMPARE(probe.cellCount(), 36);
    QCOMPARE(probe.generation(), 1);

    click("PushButton_Play");
    QVERIFY(!probe.find<QMenu>("Menu_Examples")->menuAction()->isEnabled());
    click("PushButton_Pause");
    QVERIFY(probe.find<QMenu>("Menu_Examples")->menuAction()->isEnabled());
}

// Random in the unbounded plane with too little memory for its cells says so
// and leaves the cells, the generation and the undo steps as they were.
void TestMainWindowUndo::refusedRandomChangesNothing()
{
    QVERIFY(
        window->openPatternFile(writeFile("wide.rle", "x = 298, y = 1\n" + QByteArray("2o2b").repeated(74) + "2o!\n")));
    click("PushButton_Next");
    const Shown before = shown();
    const QString undoText = action("Action_Edit_Undo")->text();

    const std::size_t defaultLimit = HashLife::memoryLimit();
    HashLife::setMemoryLimit(std::size_t(16) << 10);
    QString message;
    const ModalRunner::Outcome outcome = ModalRunner::run([this] { click("PushButton_Random"); },
        [&message](QWidget *modal) {
            message = modal->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"))->text();
            QTest::keyClick(modal, Qt::Key_Escape);
        });
    HashLife::setMemoryLimit(defaultLimit);
    QVERIFY(outcome.opened && !outcome.forced);
    QVERIFY2(message.contains(QStringLiteral("memory")), qPrintable(message));
    QVERIFY(shown() == before);
    QCOMPARE(action("Action_Edit_Undo")->text(), undoText);
}

QTEST_MAIN(TestMainWindowUndo)

#include "tst_mainwindowundo.moc"
