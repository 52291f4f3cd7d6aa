#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QTextBrowser>
#include <QTreeView>
#include <QWheelEvent>

#include "mainwindow/mainwindow.h"
#include "mainwindow/patternsdock.h"
#include "mainwindowtestcase.h"
#include "view/viewfollower.h"
#include "view/widgetpaintarea.h"

Q_DECLARE_METATYPE(CellRect)

// The window as a collector of patterns uses it: a pattern's notes, a folder
// of patterns at hand, a view that follows the pattern, pictures of any zoom.
class TestMainWindowDesk : public MainWindowTestCase
{
    Q_OBJECT

private slots:
    void notesShowInTheTitleAndTheInformationWindow();
    void zoomedOutExportIsTheView();
    void followKeepsAGliderInView();
    void followZoomsOutOnlyAndFindsFarCells_data();
    void followZoomsOutOnlyAndFindsFarCells();
    void dockOpensAPatternWithUndo();
};

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

void TestMainWindowDesk::zoomedOutExportIsTheView()
{
    // Blocks and blinkers 3,000 cells apart each way: fitted, a pixel of the view shows 8 x 8 cells.
    QByteArray rle = "x = 3001, y = 3001\n2o1499b3o1495b2o$2o1497b3o1495b2o";
    rle += QByteArray::number(2999) + "$2o2997b2o$2o2997b2o!\n";
    QVERIFY(window->openPatternFile(writeFile("far.rle", rle)));
    auto *view = probe.find<WidgetPaintArea>("WidgetPaintArea_GraphicScene");
    QVERIFY(view->viewport().shift() >= 2);
    const QString path = config.filePath("view.png");
    exportTo(probe.find<QAction>("Action_File_ExportImage"), path,
        [](QWidget *options) { options->findChild<QSpinBox *>()->setValue(1); });

    const QImage written = QImage(path).convertToFormat(QImage::Format_RGB32);
    const QImage shown = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QVERIFY(!written.isNull());
    QVERIFY(written.width() >= shown.width() && written.height() >= shown.height());
    // Inside the view's frame, the picture is the view, pixel for pixel.
    const QRect inside = shown.rect().adjusted(1, 1, -1, -1);
    QCOMPARE(written.copy(inside), shown.copy(inside));
    // Every cell of the pattern, 3,001 cells a side, drew a pixel.
    int live = 0;
    for (int y = 0; y < written.height(); ++y) {
        for (int x = 0; x < written.width(); ++x)
            live += written.pixel(x, y) != written.pixel(0, 0);
    }
    QVERIFY(live >= 6);
}

void TestMainWindowDesk::followKeepsAGliderInView()
{
    QVERIFY(window->openPatternFile(
        writeFile("glider.rle", "x = 3, y = 3\nbo$2bo$3o!\n"), std::nullopt, Topology::unbounded()));
    auto *follow = probe.find<QAction>("Action_View_Follow");
    QVERIFY(follow->isChecked());
    auto *view = probe.find<WidgetPaintArea>("WidgetPaintArea_GraphicScene");
    const int startSize = view->viewport().cellSize();
    QPoint origin = view->viewport().pixelsOf({ 0, 0 }).topLeft();
    int moves = 0;
    for (int step = 1; step <= 1000; ++step) {
        QTest::keyClick(window, Qt::Key_F8);
        // Placed with its top-left cell on (-1, -1), it flies down and right a cell every 4 generations.
        const std::int64_t at = step / 4;
        const CellRect shown = view->visibleCells();
        QVERIFY2(shown.left < at - 2 && shown.top < at - 2 && shown.right > at + 2 && shown.bottom > at + 2,
            qPrintable(QString("generation %1").arg(step + 1)));
        // It glides: never more than a few cells at a time, and at the zoom it started at.
        const QPoint now = view->viewport().pixelsOf({ 0, 0 }).topLeft();
        QVERIFY((now - origin).manhattanLength() <= 4 * startSize);
        moves += now != origin;
        origin = now;
    }
    QCOMPARE(view->viewport().cellSize(), startSize);
    QVERIFY(moves > 20);

    // The user's own zoom stops it, and it starts again with the next file.
    QWheelEvent wheel(QPointF(100, 100), QPointF(view->mapToGlobal(QPoint(100, 100))), QPoint(), QPoint(0, -120),
        Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &wheel);
    QVERIFY(!follow->isChecked());
    const Viewport stopped = view->viewport();
    QTest::keyClick(window, Qt::Key_F8);
    QCOMPARE(view->viewport(), stopped);
    QVERIFY(window->openPatternFile(config.filePath("glider.rle"), std::nullopt, Topology::unbounded()));
    QVERIFY(follow->isChecked());
}

void TestMainWindowDesk::followZoomsOutOnlyAndFindsFarCells_data()
{
    QTest::addColumn<CellRect>("box");
    QTest::addColumn<int>("zoomStep"); // the step expected after one move, -1 for the step the view had
    QTest::newRow("small, in the middle") << CellRect { -1, -1, 1, 1 } << -1;
    QTest::newRow("small, far away") << CellRect { 1000000000000000, -7, 1000000000000002, -5 } << -1;
    QTest::newRow("larger than the view") << CellRect { -2000, -10, 2000, 10 } << 12; // a pixel for 8 x 8 cells
}

void TestMainWindowDesk::followZoomsOutOnlyAndFindsFarCells()
{
    QFETCH(CellRect, box);
    QFETCH(int, zoomStep);
    const QSize size(730, 730);
    Viewport before;
    before.fit({ -5, -5, 5, 5 }, QRect(QPoint(), size));
    const Viewport after = ViewFollower::next(before, size, box);
    QCOMPARE(after.zoomStep(), zoomStep < 0 ? before.zoomStep() : zoomStep);
    const CellRect shown = after.visibleCells(size);
    QVERIFY(shown.left < box.left && shown.right > box.right && shown.top < box.top && shown.bottom > box.bottom);
}

void TestMainWindowDesk::dockOpensAPatternWithUndo()
{
    QDir(config.path()).mkdir("patterns");
    writeFile("patterns/row.rle", "#N Row\nx = 7, y = 1\n7o!\n");
    writeFile("patterns/notes.txt", "not a pattern\n");
    QFile zipped(config.filePath("patterns/pair.cells.gz"));
    QVERIFY(zipped.open(QIODevice::WriteOnly));
    zipped.write(QByteArray::fromHex("1f8b08000000000000ff")); // a gzip header alone: listed, no thumbnail
    zipped.close();
    QTest::keyClick(window, Qt::Key_F9);
    auto *dock = window->findChild<PatternsDock *>("PatternsDock");
    QVERIFY(dock && dock->isVisible());
    QTreeView *tree = dock->tree();
    // First the built-in examples, each with its thumbnail once drawn.
    QVERIFY(tree->model()->rowCount(tree->rootIndex()) >= 10);
    QTRY_VERIFY(!tree->model()->index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());

    dock->setFolder(config.filePath("patterns"));
    QTRY_COMPARE(tree->model()->rowCount(tree->rootIndex()), 2);
    const QModelIndex row = tree->model()->index(1, 0, tree->rootIndex());
    QCOMPARE(row.data().toString(), QString("row.rle"));
    tree->setCurrentIndex(row);
    QTRY_VERIFY(!dock->findChild<QLabel *>("Label_PatternPreview")->pixmap(Qt::ReturnByValue).isNull());
    QTRY_VERIFY(!row.data(Qt::DecorationRole).value<QIcon>().pixmap(PatternsDock::IconSide).isNull());
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Return);
    QCOMPARE(probe.cellCount(), 7);
    QCOMPARE(window->windowTitle(), QString("Row[*] – Conway's Game of Life"));
    probe.find<QAction>("Action_Edit_Undo")->trigger();
    QCOMPARE(probe.cellCount(), 0);
    probe.find<QAction>("Action_Edit_Redo")->trigger();
    QCOMPARE(probe.cellCount(), 7);

    // The folder is remembered for the next run; F9 hides the dock.
    QTest::keyClick(window, Qt::Key_F9);
    QVERIFY(!dock->isVisible());
    delete window;
    window = new MainWindow;
    probe = MainWindowProbe(window);
    probe.find<QAction>("Action_View_Patterns")->trigger();
    QCOMPARE(window->findChild<PatternsDock *>("PatternsDock")->folder(), config.filePath("patterns"));
}

QTEST_MAIN(TestMainWindowDesk)
#include "tst_mainwindowdesk.moc"
