#include <QAction>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <cstdint>
#include <memory>
#include <random>

#include "document/document.h"
#include "document/enginegate.h"
#include "mainwindow/mainwindow.h"
#include "mainwindowtestcase.h"

// A run or a long Next of the unbounded plane given up with a jump in flight:
// what the window shows, the universe and the undo steps agree on a finished generation.
class TestMainWindowRun : public MainWindowTestCase
{
    Q_OBJECT

private slots:
    void pauseOrStopMidJump_data();
    void pauseOrStopMidJump();

private:
    QAction *action(const char *name) const { return probe.find<QAction>(name); }
};

void TestMainWindowRun::pauseOrStopMidJump_data()
{
    QTest::addColumn<int>("exponent");
    QTest::addColumn<bool>("stop"); // Stop rather than Pause
    QTest::addColumn<bool>("next"); // a Next given up rather than a run
    for (int exponent : { 0, 6, 11 }) {
        QTest::addRow("2^%d, Pause", exponent) << exponent << false << false;
        QTest::addRow("2^%d, Stop", exponent) << exponent << true << false;
    }
    // Steps too long for the window's thread: a Next computes on the run's.
    for (int exponent : { 16, 20 }) {
        QTest::addRow("Next 2^%d, Pause", exponent) << exponent << false << true;
        QTest::addRow("Next 2^%d, Stop", exponent) << exponent << true << true;
    }
}

void TestMainWindowRun::pauseOrStopMidJump()
{
    QFETCH(int, exponent);
    QFETCH(bool, stop);
    QFETCH(bool, next);
    // A 48 x 48 soup, new for each row, so that no jump is remembered from the last.
    std::mt19937 random(static_cast<unsigned>(exponent * 2 + stop));
    QByteArray rle = "x = 48, y = 48\n";
    for (int row = 0; row < 48; ++row) {
        for (int column = 0; column < 48; ++column)
            rle += (random() & 1) ? 'o' : 'b';
        rle += row < 47 ? "$\n" : "!\n";
    }
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("soup.rle")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(rle) == rle.size());
    file.close();
    QVERIFY(window->openPatternFile(file.fileName(), std::nullopt, Topology::unbounded()));
    auto *document = window->findChild<Document *>();
    const std::unique_ptr<Universe> start = document->universe().clone();
    for (int step = 0; step < exponent; ++step)
        action("Action_Simulation_Faster")->trigger();
    QCOMPARE(document->stepExponent(), exponent);

    const QString undoBefore = action("Action_Edit_Undo")->text();
    if (next) {
        QTest::mouseClick(probe.button("PushButton_Next"), Qt::LeftButton);
        QVERIFY(document->isStepping() && document->isRunning());
        QVERIFY(!probe.button("PushButton_Next")->isEnabled() && probe.button("PushButton_Pause")->isEnabled());
    } else {
        QTest::mouseClick(probe.button("PushButton_Play"), Qt::LeftButton);
        QTRY_VERIFY(document->generation() > 1);
    }
    // The next tick at once, whatever the timer: its jump is in flight until the event loop hears of it.
    if (!document->isJumping())
        document->tick();
    QVERIFY(document->isJumping());
    std::int64_t shown = document->generation();
    QCOMPARE(probe.generation(), shown);
    // Meanwhile the window draws the cells of the generation it shows. The
    // test's own plane shares the store with the jump: it holds it back first.
    EngineGate::hold();
    std::unique_ptr<Universe> expected = start->clone();
    expected->advance(static_cast<std::uint64_t>(shown - 1));
    QVERIFY(document->universe().equals(*expected));
    QTest::mouseClick(probe.button(stop ? "PushButton_Stop" : "PushButton_Pause"), Qt::LeftButton);
    QVERIFY(!document->isJumping());
    QVERIFY(!document->isRunning());
    QVERIFY(probe.button("PushButton_Play")->isEnabled() && !probe.button("PushButton_Pause")->isEnabled());
    // The jump given up never comes back, however long the window waits.
    QTest::qWait(0);
    const std::int64_t reached = stop ? 1 : shown;
    expected = start->clone();
    expected->advance(static_cast<std::uint64_t>(reached - 1));
    QCOMPARE(document->generation(), reached);
    QCOMPARE(probe.generation(), reached);
    QVERIFY(document->universe().equals(*expected));
    QCOMPARE(probe.cellCount(), static_cast<int>(expected->population()));
    QCOMPARE(document->history().lastGeneration(), reached);
    if (stop)
        return;
    if (next) {
        // A Next given up is no step; one left to finish is, and the run's undo below undoes it.
        QCOMPARE(action("Action_Edit_Undo")->text(), undoBefore);
        QTest::mouseClick(probe.button("PushButton_Next"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!document->isRunning(), 60000);
        shown = document->generation();
        QCOMPARE(shown, 1 + (std::int64_t(1) << exponent));
        expected->advance(std::uint64_t(1) << exponent);
        QCOMPARE(probe.cellCount(), static_cast<int>(expected->population()));
    }
    // The run or the Next up to there is one step, undone and made again.
    QCOMPARE(action("Action_Edit_Undo")->text().remove('&'),
        next ? QStringLiteral("Undo Next") : QStringLiteral("Undo Run"));
    action("Action_Edit_Undo")->trigger();
    QCOMPARE(probe.generation(), 1);
    QVERIFY(document->universe().equals(*start));
    action("Action_Edit_Redo")->trigger();
    QCOMPARE(document->generation(), shown);
    QVERIFY(document->universe().equals(*expected));
    // And the run goes on from there.
    QTest::mouseClick(probe.button("PushButton_Play"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(document->generation() > shown, 60000);
    QTest::mouseClick(probe.button("PushButton_Pause"), Qt::LeftButton);
    expected = start->clone();
    expected->advance(static_cast<std::uint64_t>(document->generation() - 1));
    QVERIFY(document->universe().equals(*expected));
}

QTEST_MAIN(TestMainWindowRun)
#include "tst_mainwindowrun.moc"
