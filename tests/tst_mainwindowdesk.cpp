#include <QAction>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QStatusBar>
#include <QTest>
#include <QTextBrowser>

#include "mainwindow/mainwindow.h"
#include "mainwindowtestcase.h"

// The window as a collector of patterns uses it: a pattern's notes, a folder
// of patterns at hand, a view that follows the pattern, pictures of any zoom.
class TestMainWindowDesk : public MainWindowTestCase
{
    Q_OBJECT

private slots:
    void notesShowInTheTitleAndTheInformationWindow();

private:
    QString writeFile(const QString &name, const QByteArray &contents);
};

QString TestMainWindowDesk::writeFile(const QString &name, const QByteArray &contents)
{
    QFile file(config.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        qFatal("cannot write %s", qPrintable(file.fileName()));
    return file.fileName();
}

void TestMainWindowDesk::notesShowInTheTitleAndTheInformationWindow()
{
    QCOMPARE(window->windowTitle(), QString("Conway's Game of Life[*]"));
    QVERIFY(!window->isWindowModified());
    QVERIFY(window->openPatternFile(writeFile("blinker.rle",
        "#N Blinker & <b>friends</b>\n#O A. N. Author\n#C The smallest oscillator.\n#C   indented, see "
        "https://example.org/blinker.\n#C www.example.com\n#C\nx = 3, y = 1\n3o!\n")));
    QCOMPARE(window->windowTitle(), QString("Blinker & <b>friends</b>[*] – Conway's Game of Life"));
    QVERIFY(!window->isWindowModified());
    QVERIFY(window->statusBar()->currentMessage().contains("Ctrl+I"));

    QTest::keyClick(window, Qt::Key_I, Qt::ControlModifier);
    auto *info = window->findChild<QDialog *>("PatternInfoDialog");
    QVERIFY(info && info->isVisible() && !info->isModal());
    QCOMPARE(info->findChild<QLabel *>("Label_Name")->text(), QString("Blinker & <b>friends</b>"));
    QCOMPARE(info->findChild<QLabel *>("Label_Author")->text(), QString("A. N. Author"));
    QCOMPARE(info->findChild<QLabel *>("Label_Population")->text(), QString("3"));
    QCOMPARE(info->findChild<QLabel *>("Label_Size")->text(), QString("3 × 1 cells"));
    auto *comments = info->findChild<QTextBrowser *>("TextBrowser_Comments");
    // Every line as written, the empty one too, and the addresses as links without the full stop after one.
    QCOMPARE(comments->toPlainText(),
        QString("The smallest oscillator.\n  indented, see https://example.org/blinker.\nwww.example.com\n"));
    const QString html = comments->toHtml();
    QVERIFY(html.contains("href=\"https://example.org/blinker\""));
    QVERIFY(html.contains("href=\"http://www.example.com\""));

    // It follows the document: a step, then undo back to before the file.
    QTest::keyClick(window, Qt::Key_F8);
    QCOMPARE(info->findChild<QLabel *>("Label_Generation")->text(), QString("2"));
    QCOMPARE(info->findChild<QLabel *>("Label_Size")->text(), QString("1 × 3 cells"));
    QVERIFY(window->isWindowModified());
    window->findChild<QAction *>("Action_Edit_Undo")->trigger();
    QVERIFY(!window->isWindowModified());
    window->findChild<QAction *>("Action_Edit_Undo")->trigger();
    QVERIFY(window->isWindowModified());
    QCOMPARE(window->windowTitle(), QString("Conway's Game of Life[*]"));
    QCOMPARE(info->findChild<QLabel *>("Label_Name")->text(), QString("(none)"));
    QCOMPARE(comments->toPlainText(), QString());
}

QTEST_MAIN(TestMainWindowDesk)
#include "tst_mainwindowdesk.moc"
