#include <QAction>
#include <QInputDialog>
#include <QMouseEvent>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <random>
#include <set>
#include <vector>

#include "document/document.h"
#include "document/enginegate.h"
#include "document/runthread.h"
#include "mainwindow/mainwindow.h"
#include "mainwindowtestcase.h"
#include "modalrunner.h"
#include "view/widgetpaintarea.h"

namespace
{

// A square soup of `side` cells a row, each one of the four `letters` at random, in RLE under `rule`.
QByteArray soup(const QString &rule, int side, const char *letters, unsigned seed)
{
    std::mt19937 random(seed);
    QByteArray rle = QStringLiteral("x = %1, y = %1, rule = %2\n").arg(side).arg(rule).toLatin1();
    for (int row = 0; row < side; ++row) {
        for (int column = 0; column < side; ++column)
            rle += letters[random() & 3];
        rle += row < side - 1 ? "$\n" : "!\n";
    }
    return rle;
}

std::unique_ptr<Universe> advanced(const Universe &start, std::int64_t generations)
{
    std::unique_ptr<Universe> universe = start.clone();
    universe->advance(static_cast<std::uint64_t>(generations));
    return universe;
}

// The cells `view` shows, from the left and top down to a multiple of its
// pixels' 2^shift cells (a left shift of a negative value would be undefined).
CellRect alignedCells(const WidgetPaintArea &view)
{
    const CellRect visible = view.visibleCells();
    const std::int64_t grain = ~((std::int64_t(1) << view.viewport().shift()) - 1);
    return { visible.left & grain, visible.top & grain, visible.right, visible.bottom };
}

// Those cells a pixel a byte, as `universe` draws them, `fill` left where it
// draws none; or with `fill` 0, from its live cells one by one: 1 where one is.
std::vector<std::uint8_t> pixelsOf(const WidgetPaintArea &view, const Universe &universe, std::uint8_t fill)
{
    const int shift = view.viewport().shift();
    const CellRect area = alignedCells(view);
    const int columns = static_cast<int>(((area.right - area.left) >> shift) + 1);
    const int rows = static_cast<int>(((area.bottom - area.top) >> shift) + 1);
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(columns * rows), fill);
    if (fill != 0)
        universe.render(area, shift, pixels.data(), columns, rows, columns);
    else
        universe.forEachLiveCell(area, [&](std::int64_t x, std::int64_t y) {
            pixels[static_cast<std::size_t>(((y - area.top) >> shift) * columns + ((x - area.left) >> shift))] = 1;
        });
    return pixels;
}

} // namespace

// A run, a long Next of the unbounded plane, or a Run until settled or Go to
// generation given up with a jump in flight: what the window shows, the
// universe and the undo steps agree on a finished generation.
class TestMainWindowRun : public MainWindowTestCase
{
    Q_OBJECT

private slots:
    void pauseOrStopMidJump_data();
    void pauseOrStopMidJump();
    void runAheadEndedPartWay_data();
    void runAheadEndedPartWay();
    void panningKeepsTheJump_data();
    void panningKeepsTheJump();
    void movedViewMidJumpShowsTheGenerationBefore();

private:
    QAction *action(const char *name) const { return probe.find<QAction>(name); }
};

void TestMainWindowRun::pauseOrStopMidJump_data()
{
    QTest::addColumn<int>("exponent");
    QTest::addColumn<bool>("stop"); // Stop rather than Pause
    QTest::addColumn<bool>("next"); // a Next given up rather than a run
    QTest::addColumn<QString>("rule");
    QTest::addColumn<int>("torus"); // the width of a torus rather than the unbounded plane, or 0
    QTest::addColumn<QString>("played"); // the rule set after opening and played under, or none
    QTest::addColumn<bool>("early"); // Stop at once after Play, before the run's thread may have done anything
    const QString life = QStringLiteral("B3/S23");
    for (int exponent : { 0, 6, 11 }) {
        QTest::addRow("2^%d, Pause", exponent) << exponent << false << false << life << 0 << QString() << false;
        QTest::addRow("2^%d, Stop", exponent) << exponent << true << false << life << 0 << QString() << false;
    }
    // Steps too long for the window's thread: a Next computes on the run's.
    for (int exponent : { 16, 20 }) {
        QTest::addRow("Next 2^%d, Pause", exponent) << exponent << false << true << life << 0 << QString() << false;
        QTest::addRow("Next 2^%d, Stop", exponent) << exponent << true << true << life << 0 << QString() << false;
    }
    // A torus's ticks start from clones made on the run's thread.
    QTest::addRow("torus, 2^0, Pause") << 0 << false << false << life << 64 << QString() << false;
    QTest::addRow("torus, 2^6, Pause") << 6 << false << false << life << 64 << QString() << false;
    QTest::addRow("torus, 2^6, Stop") << 6 << true << false << life << 64 << QString() << false;
    QTest::addRow("torus, Next 2^14, Pause") << 14 << false << true << life << 64 << QString() << false;
    // One large enough for the overview the view draws from zoomed out, and whose buffers are kept.
    QTest::addRow("large torus, 2^0, Pause") << 0 << false << false << life << 2048 << QString() << false;
    QTest::addRow("large torus, 2^0, Stop") << 0 << true << false << life << 2048 << QString() << false;
    QTest::addRow("large torus, 2^3, Pause") << 3 << false << false << life << 2048 << QString() << false;
    // Stop brings back the cells opened under two states, as played under three.
    const QString brain = QStringLiteral("B2/S/C3");
    QTest::addRow("torus, three states played, Stop") << 0 << true << false << life << 64 << brain << false;
    QTest::addRow("large torus, three states played, Stop") << 0 << true << false << life << 2048 << brain << false;
    QTest::addRow("torus, three states played, Stop at once") << 0 << true << false << life << 64 << brain << true;
    QTest::addRow("large torus, three states played, Stop at once")
        << 0 << true << false << life << 2048 << brain << true;
    // Birth on 0: a background that stays alive, and one that blinks, the
    // latter a generation at a time through a jump.
    const QString alive = QStringLiteral("B0123478/S01234678");
    const QString blinking = QStringLiteral("B0123/S2");
    QTest::addRow("live background, 2^6, Pause") << 6 << false << false << alive << 0 << QString() << false;
    QTest::addRow("live background, 2^6, Stop") << 6 << true << false << alive << 0 << QString() << false;
    QTest::addRow("blinking background, 2^0, Pause") << 0 << false << false << blinking << 0 << QString() << false;
    QTest::addRow("blinking background, 2^0, Stop") << 0 << true << false << blinking << 0 << QString() << false;
    QTest::addRow("blinking background, Next 2^14, Pause")
        << 14 << false << true << blinking << 0 << QString() << false;
}

void TestMainWindowRun::pauseOrStopMidJump()
{
    QFETCH(int, exponent);
    QFETCH(bool, stop);
    QFETCH(bool, next);
    QFETCH(QString, rule);
    QFETCH(int, torus);
    QFETCH(QString, played);
    QFETCH(bool, early);
    // A 48 x 48 soup, new for each row, so that no jump is remembered from the last.
    QVERIFY(window->openPatternFile(
        writeFile("start.rle", soup(rule, 48, "bobo", static_cast<unsigned>(exponent * 2 + stop + rule.size()))),
        std::nullopt, torus > 0 ? Topology::torus(torus, torus == 64 ? 48 : torus) : Topology::unbounded()));
    auto *document = window->findChild<Document *>();
    const std::unique_ptr<Universe> opened = document->universe().clone();
    QVERIFY(played.isEmpty() || document->setRule(played).isEmpty());
    const std::unique_ptr<Universe> start = document->universe().clone();
    for (int step = 0; step < exponent; ++step)
        action("Action_Simulation_Faster")->trigger();
    // The whole of a large torus in view, drawn from its overview while it runs.
    for (int step = 0; torus > 64 && step < 12; ++step)
        action("Action_View_ZoomOut")->trigger();
    QCOMPARE(document->stepExponent(), exponent);

    const QString undoBefore = action("Action_Edit_Undo")->text();
    if (early) {
        // The saved cells, under Life, come back under the rule played,
        // whether or not the run's thread had converted them yet: every
        // cell as opened, and no step.
        QTest::mouseClick(probe.button("PushButton_Play"), Qt::LeftButton);
        QTest::mouseClick(probe.button("PushButton_Stop"), Qt::LeftButton);
        QCOMPARE(document->generation(), std::int64_t(1));
        QVERIFY(document->rule() == start->rule());
        std::int64_t differing = 0;
        for (std::int64_t y = 0; y < opened->topology().height(); ++y) {
            for (std::int64_t x = 0; x < opened->topology().width(); ++x) {
                const std::uint8_t state = opened->cell(x, y) ? 1 : 0;
                differing += (document->universe().state(x, y) != state) + (start->state(x, y) != state);
            }
        }
        QCOMPARE(differing, std::int64_t(0));
        QCOMPARE(document->cellCount(), start->population());
        QCOMPARE(document->history().lastGeneration(), std::int64_t(1));
        QCOMPARE(action("Action_Edit_Undo")->text(), undoBefore);
        // And a run from there steps the cells converted.
        QTest::mouseClick(probe.button("PushButton_Play"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(document->generation() > 2, 60000);
        QTest::mouseClick(probe.button("PushButton_Pause"), Qt::LeftButton);
        QVERIFY(document->universe().equals(*advanced(*start, document->generation() - 1)));
        return;
    }
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
    std::unique_ptr<Universe> expected = advanced(*start, shown - 1);
    QVERIFY(document->universe().equals(*expected));
    // The view draws that generation, its background too, from a picture
    // under birth on 0, which the run need not wait for.
    QCOMPARE(document->universe().backgroundAlive(), expected->backgroundAlive());
    QCOMPARE(dynamic_cast<const ViewPicture *>(&document->universe()) != nullptr, rule != QStringLiteral("B3/S23"));
    const auto &view = *window->findChild<WidgetPaintArea *>();
    const std::vector<std::uint8_t> drawn = pixelsOf(view, document->universe(), 9);
    QVERIFY(drawn == pixelsOf(view, *expected, 7));
    // Cell by cell too, where live and not 0 are the same.
    if (torus > 0 && played.isEmpty())
        QVERIFY(drawn == pixelsOf(view, *expected, 0));
    QTest::mouseClick(probe.button(stop ? "PushButton_Stop" : "PushButton_Pause"), Qt::LeftButton);
    QVERIFY(!document->isJumping());
    QVERIFY(!document->isRunning());
    QVERIFY(probe.button("PushButton_Play")->isEnabled() && !probe.button("PushButton_Pause")->isEnabled());
    // The jump given up never comes back, however long the window waits.
    QTest::qWait(0);
    const std::int64_t reached = stop ? 1 : shown;
    expected = advanced(*start, reached - 1);
    QCOMPARE(document->generation(), reached);
    QCOMPARE(probe.generation(), reached);
    QVERIFY(document->universe().equals(*expected));
    if (!expected->backgroundAlive())
        QCOMPARE(probe.cellCount(), static_cast<int>(expected->population()));
    QCOMPARE(document->cellCount(),
        expected->backgroundAlive() ? std::numeric_limits<std::uint64_t>::max() : expected->population());
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
        QVERIFY(document->universe().equals(*expected));
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
    QVERIFY(document->universe().equals(*advanced(*start, document->generation() - 1)));
}

void TestMainWindowRun::runAheadEndedPartWay_data()
{
    QTest::addColumn<int>("universe"); // 0 the classic field, 1 Life's plane, 2 Brian's Brain's plane
    QTest::addColumn<bool>("untilSettled"); // Run until settled rather than Go to generation
    QTest::addColumn<int>("ending"); // 0 Pause, 1 Cancel in the progress dialog, 2 Stop
    QTest::addColumn<int>("shown"); // generations reached and shown before it ends
    const char *const universes[] = { "classic", "Life", "Brian's Brain" };
    const char *const endings[] = { "Pause", "Cancel", "Stop" };
    // None settles soon: a million classic generations take a while, a gun
    // grows for ever, and so does the soup of Brian's Brain. In the plane Go
    // to generation makes jumps, which reach far for the gun, and may finish.
    const auto add = [&](int universe, bool untilSettled, int ending, int shown) {
        QTest::addRow("%s, %s, %s after %d", universes[universe],
            untilSettled ? "Run until settled" : "Go to generation", endings[ending], shown)
            << universe << untilSettled << ending << shown;
    };
    for (int ending = 0; ending < 3; ++ending) {
        for (int shown : { 0, 2 }) {
            add(0, false, ending, shown);
            add(1, true, ending, shown);
            add(2, true, ending, shown);
        }
    }
    add(1, false, 0, 2);
}

void TestMainWindowRun::runAheadEndedPartWay()
{
    QFETCH(int, universe);
    QFETCH(bool, untilSettled);
    QFETCH(int, ending);
    QFETCH(int, shown);
    auto *document = window->findChild<Document *>();
    if (universe == 0) {
        QTest::mouseClick(probe.button("PushButton_Random"), Qt::LeftButton);
    } else if (universe == 1) {
        // A gun beside a field of 4,225 blocks, too many cells to be looked
        // at for a gun and too few to count as growing for a long while.
        QByteArray rle = "x = 336, y = 290\n";
        for (const char *row : { "24bo", "22bobo", "12b2o6b2o12b2o", "11bo3bo4b2o12b2o", "2o8bo5bo3b2o",
                 "2o8bo3bob2o4bobo", "10bo5bo7bo", "11bo3bo", "12b2o" })
            rle += QByteArray("300b") + row + '$';
        rle += "20$";
        const QByteArray blocks = QByteArray("2o2b").repeated(65);
        for (int row = 0; row < 65; ++row)
            rle += blocks + '$' + blocks + "3$";
        QVERIFY(window->openPatternFile(writeFile("start.rle", rle + "!\n"), std::nullopt, Topology::unbounded()));
    } else {
        QVERIFY(window->openPatternFile(writeFile("start.rle", soup(QStringLiteral("B2/S/C3"), 32, "..AB", 7)),
            std::nullopt, Topology::unbounded()));
    }
    // A Next first, so that Stop, back at generation 1, has a step to make.
    QTest::mouseClick(probe.button("PushButton_Next"), Qt::LeftButton);
    QTRY_VERIFY(probe.button("PushButton_Play")->isEnabled());
    const std::unique_ptr<Universe> start = document->universe().clone();
    const QString undoBefore = action("Action_Edit_Undo")->text();

    QSignalSpy progressed(document, &Document::aheadProgressed);
    if (untilSettled) {
        QTest::keyClick(window, Qt::Key_E, Qt::ControlModifier);
    } else {
        ModalRunner::run([this] { action("Action_Simulation_GoToGeneration")->trigger(); },
            [](QWidget *modal) {
                auto *dialog = qobject_cast<QInputDialog *>(modal);
                if (dialog->inputMode() == QInputDialog::IntInput)
                    dialog->setIntValue(dialog->intMaximum());
                else
                    dialog->setTextValue(QStringLiteral("1000000000000000000"));
                dialog->accept();
            });
    }
    QVERIFY(document->isRunningAhead());
    QTRY_VERIFY_WITH_TIMEOUT(progressed.count() >= shown || !document->isRunning(), 60000);
    // What the window shows meanwhile is a finished generation. The test's
    // own plane shares the store with the run: it holds it back first.
    EngineGate::hold();
    const std::int64_t reached = document->generation();
    std::unique_ptr<Universe> expected = advanced(*start, reached - 2);
    QVERIFY(document->universe().equals(*expected));
    QCOMPARE(document->cellCount(), expected->population());
    if (ending == 1) {
        QProgressDialog *progress = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT((progress = window->findChild<QProgressDialog *>()) && progress->isVisible(), 60000);
        QTest::mouseClick(progress->findChild<QPushButton *>(), Qt::LeftButton);
    } else {
        QTest::mouseClick(probe.button(ending == 0 ? "PushButton_Pause" : "PushButton_Stop"), Qt::LeftButton);
    }
    QVERIFY(!document->isRunning() && !document->isJumping());
    QVERIFY(probe.button("PushButton_Play")->isEnabled() && !probe.button("PushButton_Pause")->isEnabled());
    QTRY_VERIFY(!window->findChild<QProgressDialog *>());
    // Pause keeps the generation shown, Cancel goes back to where it started, Stop to generation 1.
    const std::int64_t kept = ending == 0 ? document->generation() : ending == 1 ? 2 : 1;
    QCOMPARE(document->generation(), kept);
    if (ending == 0)
        QVERIFY(kept >= reached);
    expected = advanced(*start, kept > 1 ? kept - 2 : 0);
    if (kept == 1)
        action("Action_Edit_Undo")->trigger(); // the Stop, and the step back to generation 2 to compare
    QVERIFY(document->universe().equals(*expected));
    QCOMPARE(document->cellCount(), expected->population());
    if (expected->population() < 1000000)
        QCOMPARE(probe.cellCount(), static_cast<int>(expected->population()));
    QCOMPARE(document->history().lastGeneration(), document->generation());
    // The run ahead that came back no further makes no step; one that did is one, undone and made again.
    if (ending != 0 || kept == 2) {
        QCOMPARE(action("Action_Edit_Undo")->text(), undoBefore);
        return;
    }
    QCOMPARE(action("Action_Edit_Undo")->text().remove('&'),
        untilSettled ? QStringLiteral("Undo Run until settled") : QStringLiteral("Undo Go to generation"));
    action("Action_Edit_Undo")->trigger();
    QCOMPARE(document->generation(), 2);
    QVERIFY(document->universe().equals(*start));
    action("Action_Edit_Redo")->trigger();
    QCOMPARE(document->generation(), kept);
    QVERIFY(document->universe().equals(*expected));
}

void TestMainWindowRun::panningKeepsTheJump_data()
{
    QTest::addColumn<QString>("rule");
    QTest::newRow("more states than the tiles hold") << QStringLiteral("B3/S23/C3");
    QTest::newRow("live background") << QStringLiteral("B0123478/S01234678");
}

// While a run steps a pattern that the view draws from a picture of, the view
// dragged and zoomed past the picture neither holds the jump in flight nor
// makes it start anew, and comes to show the generation shown, cell for cell.
void TestMainWindowRun::panningKeepsTheJump()
{
    QFETCH(QString, rule);
    constexpr int Exponent = 8; // jumps of the soup long enough to be in flight while the view moves
    const char *letters = rule.contains(QLatin1Char('C')) ? "..AB" : "bobo"; // dying cells under Generations
    QVERIFY(window->openPatternFile(writeFile("start.rle", soup(rule, 48, letters, static_cast<unsigned>(rule.size()))),
        std::nullopt, Topology::unbounded()));
    auto *document = window->findChild<Document *>();
    const auto *runThread = document->findChild<RunThread *>();
    auto *view = window->findChild<WidgetPaintArea *>();
    const std::unique_ptr<Universe> start = document->universe().clone();
    for (int step = 0; step < Exponent; ++step)
        action("Action_Simulation_Faster")->trigger();
    QTest::mouseClick(probe.button("PushButton_Play"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(document->generation() > 1, 60000);
    QVERIFY(dynamic_cast<const ViewPicture *>(&document->universe()));
    // A jump in flight through the moves below, which take no longer than it.
    if (!document->isJumping())
        document->tick();
    QVERIFY(document->isJumping());
    const std::uint64_t restarts = runThread->restarts();
    const std::int64_t before = document->generation();
    const QPoint centre = view->rect().center();
    const auto send = [view](QEvent::Type type, const QPoint &at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, view->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    };
    // By whole views with the middle button, and the wheel's turns out and in;
    // the last move leaves half the pattern in view, so that the cells compared
    // at the end are not all background.
    const QPoint moves[] = { { view->width(), 0 }, { 0, view->height() }, { 0, 1 }, { 0, -1 }, { 0, -1 }, { 0, 1 },
        { -view->width() - view->width() / 2, -view->height() } };
    for (const QPoint &moved : moves) {
        if (moved.manhattanLength() > 1) {
            send(QEvent::MouseButtonPress, centre, Qt::MiddleButton, Qt::MiddleButton);
            send(QEvent::MouseMove, centre + moved, Qt::NoButton, Qt::MiddleButton);
            send(QEvent::MouseButtonRelease, centre + moved, Qt::MiddleButton, Qt::NoButton);
        } else {
            QWheelEvent wheel(QPointF(centre), view->mapToGlobal(centre), QPoint(), QPoint(0, 120 * moved.y()),
                Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(view, &wheel);
        }
        view->repaint();
        QCOMPARE(runThread->restarts(), restarts);
    }
    // The jumps go on, and the picture comes to hold what the view shows.
    const CellRect aligned = alignedCells(*view);
    QTRY_VERIFY_WITH_TIMEOUT(document->generation() > before + 2 * (1 << Exponent) && runThread->restarts() == restarts
            && dynamic_cast<const ViewPicture *>(&document->universe())
            && dynamic_cast<const ViewPicture &>(document->universe()).answers(aligned, view->viewport().shift()),
        60000);
    const EngineGate::Scope scope;
    const std::vector<std::uint8_t> expected = pixelsOf(*view, *advanced(*start, document->generation() - 1), 7);
    QVERIFY(std::set<std::uint8_t>(expected.begin(), expected.end()).size() > 1);
    QVERIFY(pixelsOf(*view, document->universe(), 9) == expected);
}

// A view moved far past its picture while a long Next's jump is in flight
// comes to show, cell for cell, the generation before the jump, still the
// one shown, rather than the coarse summary until the jump ends.
void TestMainWindowRun::movedViewMidJumpShowsTheGenerationBefore()
{
    // A sparse soup of Brian's Brain that grows without end, and two cells far off.
    std::mt19937 random(7);
    QByteArray rle = "x = 100004, y = 70001, rule = B2/S/C3\n";
    for (int row = 0; row < 64; ++row) {
        for (int column = 0; column < 64; ++column)
            rle += random() % 6 == 0 ? 'A' : '.';
        rle += "$\n";
    }
    rle += "69936$100000.A2.A!\n";
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("far.rle")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(rle) == rle.size());
    file.close();
    QVERIFY(window->openPatternFile(file.fileName(), std::nullopt, Topology::unbounded()));
    auto *document = window->findChild<Document *>();
    auto *view = window->findChild<WidgetPaintArea *>();
    const std::unique_ptr<Universe> start = document->universe().clone();
    // Where the reader put them: the far corner of the pattern.
    const std::optional<CellRect> box = start->boundingBox();
    QVERIFY(box && start->state(box->right, box->bottom) == 1 && start->state(box->right - 3, box->bottom) == 1);
    for (int step = 0; step < Document::MaxUnboundedStepExponent; ++step)
        action("Action_Simulation_Faster")->trigger();
    QCOMPARE(document->stepExponent(), Document::MaxUnboundedStepExponent);
    QTest::mouseClick(probe.button("PushButton_Next"), Qt::LeftButton);
    QVERIFY(document->isJumping());
    // At the view's first zoom, a cell to a pixel or more, finer than the summary.
    Viewport moved;
    moved.place(moved.zoomStep(), CellPoint { box->right, box->bottom }, view->rect().center());
    view->setViewport(moved);
    const int shift = view->viewport().shift();
    QCOMPARE(shift, 0);
    const CellRect visible = view->visibleCells();
    const std::int64_t grain = ~((std::int64_t(1) << shift) - 1);
    const CellRect aligned { visible.left & grain, visible.top & grain, visible.right, visible.bottom };
    QTRY_VERIFY_WITH_TIMEOUT(dynamic_cast<const ViewPicture *>(&document->universe())
            && dynamic_cast<const ViewPicture &>(document->universe()).answers(aligned, shift),
        30000);
    const EngineGate::Scope scope;
    std::unique_ptr<Universe> expected = start->clone();
    expected->advance(static_cast<std::uint64_t>(document->generation() - 1));
    const int columns = static_cast<int>((visible.right >> shift) - (visible.left >> shift) + 1);
    const int rows = static_cast<int>((visible.bottom >> shift) - (visible.top >> shift) + 1);
    std::vector<std::uint8_t> drawn(static_cast<std::size_t>(columns * rows), 9);
    std::vector<std::uint8_t> cells(drawn.size(), 7);
    document->universe().render(aligned, shift, drawn.data(), columns, rows, columns);
    expected->render(aligned, shift, cells.data(), columns, rows, columns);
    QVERIFY(drawn == cells);
    QVERIFY(std::count(cells.begin(), cells.end(), std::uint8_t(1)) > 0);
}

QTEST_MAIN(TestMainWindowRun)
#include "tst_mainwindowrun.moc"
