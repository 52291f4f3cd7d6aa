#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <cstdlib>

#include "mainwindow/mainwindow.h"
#include "mainwindowtestcase.h"
#include "modalrunner.h"

// Patterns to and from the clipboard as text, with the keys people use:
// copying gives back the same cells on pasting, pasting adds to the field as
// one undo step, and text that is no pattern changes nothing.
class TestMainWindowClipboard : public MainWindowTestCase
{
    Q_OBJECT

private slots:
    void copyThenPasteGivesBackTheCells();
    void pasteAddsToTheFieldAsOneStep();
    void refusesTextThatIsNoPattern_data();
    void refusesTextThatIsNoPattern();
    void disabledWhileRunningOrEmpty();

private:
    void click(const char *name) { QTest::mouseClick(probe.button(name), Qt::LeftButton); }
    void paste(const QString &text);
};

void TestMainWindowClipboard::paste(const QString &text)
{
    QApplication::clipboard()->setText(text);
    QTest::keySequence(window, QKeySequence::Paste);
}

void TestMainWindowClipboard::copyThenPasteGivesBackTheCells()
{
    // A blinker under HighLife, standing upright after one generation.
    paste("x = 3, y = 1, rule = B36/S23\n3o!\n");
    click("PushButton_Next");
    const MainWindowProbe::CellGrid cells = probe.shownCells();
    QTest::keySequence(window, QKeySequence::Copy);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("x = 1, y = 3, rule = B36/S23\no$o$o!\n"));
    click("PushButton_Clear");
    QLineEdit *rule = probe.find<QComboBox>("ComboBox_Rule")->lineEdit();
    rule->selectAll();
    QTest::keyClicks(rule, "B3/S23");
    QTest::keyClick(rule, Qt::Key_Return);
    paste(QApplication::clipboard()->text());
    QCOMPARE(probe.find<QComboBox>("ComboBox_Rule")->currentData().toString(), QStringLiteral("B36/S23"));
    QCOMPARE(probe.shownCells(), cells);
}

void TestMainWindowClipboard::pasteAddsToTheFieldAsOneStep()
{
    std::srand(7);
    click("PushButton_Random");
    click("PushButton_SaveState");
    const MainWindowProbe::CellGrid saved = probe.shownCells();
    click("PushButton_Next");
    const MainWindowProbe::CellGrid before = probe.shownCells();
    paste("#Life 1.06\n0 0\n1 0\n2 0\n");
    // A row of three on row 60, columns 59..61, over the cells that were there.
    MainWindowProbe::CellGrid expected = before;
    for (int column = 59; column <= 61; ++column)
        expected[59 * 120 + column - 1] = 1;
    QVERIFY(expected != before);
    QCOMPARE(probe.shownCells(), expected);
    QCOMPARE(probe.generation(), 2);
    QTest::keySequence(window, QKeySequence::Undo);
    QCOMPARE(probe.shownCells(), before);
    click("PushButton_Stop");
    QCOMPARE(probe.shownCells(), saved);
}

void TestMainWindowClipboard::refusesTextThatIsNoPattern_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("prose") << "Dear Sir,\nplease find the glider attached.";
    QTest::newRow("empty") << QString();
    QTest::newRow("beyond the field") << "x = 121, y = 1\n121o!\n";
    QTest::newRow("over 1 MiB") << QString("x = 1, y = 1\n#C %1\no!\n").arg(QString(1 << 20, 'a'));
}

void TestMainWindowClipboard::refusesTextThatIsNoPattern()
{
    QFETCH(QString, text);
    click("PushButton_Random");
    const MainWindowProbe::CellGrid before = probe.shownCells();
    QString title;
    const ModalRunner::Outcome outcome = ModalRunner::run([&] { paste(text); },
        [&](QWidget *box) {
            title = box->windowTitle();
            box->close();
        });
    QVERIFY(outcome.opened && !outcome.forced);
    QCOMPARE(title, QStringLiteral("Paste pattern"));
    QCOMPARE(probe.shownCells(), before);
    QCOMPARE(probe.find<QAction>("Action_Edit_Undo")->text(), QStringLiteral("Undo Random"));
}

void TestMainWindowClipboard::disabledWhileRunningOrEmpty()
{
    QAction *copy = probe.find<QAction>("Action_Edit_CopyPattern");
    QAction *pasting = probe.find<QAction>("Action_Edit_PastePattern");
    QAction *recent = probe.find<QMenu>("Menu_RecentFiles")->menuAction();
    QVERIFY(!copy->isEnabled() && pasting->isEnabled() && recent->isEnabled());
    paste("x = 2, y = 2\n2o$2o!\n");
    QVERIFY(copy->isEnabled());
    click("PushButton_Play");
    QVERIFY(!copy->isEnabled() && !pasting->isEnabled() && !recent->isEnabled());
    // The key does nothing either while the field runs.
    paste("x = 3, y = 1\n3o!\n");
    click("PushButton_Pause");
    QVERIFY(copy->isEnabled() && pasting->isEnabled() && recent->isEnabled());
    QCOMPARE(probe.cellCount(), 4);
}

QTEST_MAIN(TestMainWindowClipboard)
#include "tst_mainwindowclipboard.moc"
