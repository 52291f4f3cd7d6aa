#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRect>
#include <QStringList>
#include <QTest>

#include <cstdlib>

#include "mainwindow/mainwindow.h"
#include "mainwindowtestcase.h"
#include "modalrunner.h"

namespace
{

// The smallest box around the live cells, as rows of '.' and 'O' joined by '/'.
QString liveBox(const MainWindowProbe::CellGrid &cells)
{
    QRect box;
    for (int i = 0; i < int(cells.size()); ++i) {
        if (cells[i])
            box |= QRect(i % 120, i / 120, 1, 1);
    }
    QStringList rows;
    for (int r = box.top(); r <= box.bottom(); ++r) {
        rows << QString();
        for (int c = box.left(); c <= box.right(); ++c)
            rows.last() += cells[r * 120 + c] ? 'O' : '.';
    }
    return rows.join('/');
}

} // namespace

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
    void keys(QKeySequence::StandardKey key) { QTest::keySequence(window, QKeySequence(key)); }
    QString rule() const { return probe.find<QComboBox>("ComboBox_Rule")->currentData().toString(); }
};

void TestMainWindowClipboard::copyThenPasteGivesBackTheCells()
{
    // An R-pentomino under HighLife, off centre after two generations.
    QApplication::clipboard()->setText("x = 3, y = 3, rule = B36/S23\nb2o$2o$bo!\n");
    keys(QKeySequence::Paste);
    click("PushButton_Next");
    click("PushButton_Next");
    const MainWindowProbe::CellGrid cells = probe.shownCells();
    keys(QKeySequence::Copy);
    click("PushButton_Clear");
    QLineEdit *ruleEdit = probe.find<QComboBox>("ComboBox_Rule")->lineEdit();
    ruleEdit->selectAll();
    QTest::keyClicks(ruleEdit, "B3/S23");
    QTest::keyClick(ruleEdit, Qt::Key_Return);
    QCOMPARE(rule(), QStringLiteral("B3/S23"));
    keys(QKeySequence::Paste);
    QCOMPARE(rule(), QStringLiteral("B36/S23"));
    QCOMPARE(liveBox(probe.shownCells()), liveBox(cells));
}

void TestMainWindowClipboard::pasteAddsToTheFieldAsOneStep()
{
    std::srand(7);
    click("PushButton_Random");
    click("PushButton_SaveState");
    const MainWindowProbe::CellGrid saved = probe.shownCells();
    click("PushButton_Next");
    const MainWindowProbe::CellGrid before = probe.shownCells();
    QApplication::clipboard()->setText("#Life 1.06\n0 0\n1 0\n2 0\n");
    keys(QKeySequence::Paste);
    // A row of three on row 60, columns 59..61.
    MainWindowProbe::CellGrid expected = before;
    for (int column = 59; column <= 61; ++column)
        expected[59 * 120 + column - 1] = 1;
    QVERIFY(expected != before);
    QCOMPARE(probe.shownCells(), expected);
    QCOMPARE(probe.generation(), 2);
    QCOMPARE(probe.find<QAction>("Action_Edit_Undo")->text(), QStringLiteral("Undo Paste pattern"));
    keys(QKeySequence::Undo);
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
    const QString undo = probe.find<QAction>("Action_Edit_Undo")->text();
    QApplication::clipboard()->setText(text);
    QString title;
    const ModalRunner::Outcome outcome = ModalRunner::run([&] { keys(QKeySequence::Paste); },
        [&](QWidget *box) {
            title = box->windowTitle();
            box->close();
        });
    QVERIFY(outcome.opened && !outcome.forced);
    QCOMPARE(title, QStringLiteral("Paste pattern"));
    QCOMPARE(probe.shownCells(), before);
    QCOMPARE(probe.find<QAction>("Action_Edit_Undo")->text(), undo);
}

void TestMainWindowClipboard::disabledWhileRunningOrEmpty()
{
    QAction *copy = probe.find<QAction>("Action_Edit_CopyPattern");
    QAction *paste = probe.find<QAction>("Action_Edit_PastePattern");
    QAction *recent = probe.find<QMenu>("Menu_RecentFiles")->menuAction();
    QVERIFY(!copy->isEnabled() && paste->isEnabled() && recent->isEnabled());
    QApplication::clipboard()->setText("x = 2, y = 2\n2o$2o!\n");
    keys(QKeySequence::Paste);
    QVERIFY(copy->isEnabled());
    click("PushButton_Play");
    QVERIFY(!copy->isEnabled() && !paste->isEnabled() && !recent->isEnabled());
    // The keys too: nothing is pasted into a running field.
    QApplication::clipboard()->setText("x = 3, y = 1\n3o!\n");
    keys(QKeySequence::Paste);
    click("PushButton_Pause");
    QVERIFY(copy->isEnabled() && paste->isEnabled() && recent->isEnabled());
    QCOMPARE(probe.cellCount(), 4);
}

QTEST_MAIN(TestMainWindowClipboard)
#include "tst_mainwindowclipboard.moc"
