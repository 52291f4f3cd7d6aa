#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "document/enginegate.h"
#include "document/runthread.h"
#include "document/viewpicture.h"
#include "model/engine/backgrounduniverse.h"
#include "model/engine/griduniverse.h"
#include "model/engine/unboundeduniverse.h"
#include "ruletext.h"

// A jump of the run given up part way, by a stop flag, a hold of the gate or
// a cancel, leaves every universe at a finished generation: the one asked
// for, or the one it started from, compared with the same jump made whole.
class TestRunThread : public QObject
{
    Q_OBJECT

private slots:
    void interruptedJumpLeavesAFinishedGeneration_data();
    void interruptedJumpLeavesAFinishedGeneration();
    void jumpsThroughHoldsAndCancels();
    void viewCopyHoldsTheSameCells_data();
    void viewCopyHoldsTheSameCells();
    void viewPictureDrawsAsItsUniverse_data();
    void viewPictureDrawsAsItsUniverse();
    void pictureMidJumpShowsTheGenerationBefore_data();
    void pictureMidJumpShowsTheGenerationBefore();
    void underRuleMatchesAConversionHere_data();
    void underRuleMatchesAConversionHere();
};

namespace
{

// The Gosper glider gun, typed in cell by cell, at (x, y).
void addGun(std::vector<CellPoint> &cells, std::int64_t x, std::int64_t y)
{
    static const char *const rows[] = {
        "........................O...........",
        "......................O.O...........",
        "............OO......OO............OO",
        "...........O...O....OO............OO",
        "OO........O.....O...OO..............",
        "OO........O...O.OO....O.O...........",
        "..........O.....O.......O...........",
        "...........O...O....................",
        "............OO......................",
    };
    for (int row = 0; row < 9; ++row) {
        for (int column = 0; rows[row][column]; ++column) {
            if (rows[row][column] == 'O')
                cells.push_back({ x + column, y + row });
        }
    }
}

// A side x side soup at (x, y), cells alive with probability 1/2.
void addSoup(std::vector<CellPoint> &cells, std::int64_t x, std::int64_t y, int side, unsigned seed)
{
    std::mt19937 random(seed);
    for (int row = 0; row < side; ++row) {
        for (int column = 0; column < side; ++column) {
            if (random() & 1)
                cells.push_back({ x + column, y + row });
        }
    }
}

// Blocks every fourth cell each way over columns x columns blocks at (x, y).
void addBlocks(std::vector<CellPoint> &cells, std::int64_t x, std::int64_t y, int columns)
{
    for (int row = 0; row < columns; ++row) {
        for (int column = 0; column < columns; ++column) {
            for (int cell = 0; cell < 4; ++cell)
                cells.push_back({ x + 4 * column + cell % 2, y + 4 * row + cell / 2 });
        }
    }
}

// `universe` a further `generations` on, 1024 at a time: by the tiles while
// it has few enough cells, so that HashLife's remembered results play no part.
void stepAlong(UnboundedUniverse &universe, std::uint64_t generations)
{
    for (; generations > 0; generations -= std::min<std::uint64_t>(generations, 1024))
        universe.advance(std::min<std::uint64_t>(generations, 1024));
}

} // namespace

void TestRunThread::interruptedJumpLeavesAFinishedGeneration_data()
{
    QTest::addColumn<int>("pattern"); // 0 gun, 1 soup, 2 gun beside more blocks than the tiles take
    QTest::addColumn<unsigned>("seed"); // of the soup: a fresh one leaves HashLife nothing remembered
    QTest::addColumn<qulonglong>("generations");
    QTest::addColumn<int>("stopAfter"); // microseconds; -1 raised before, -2 never
    // One generation, the tiles alone (up to 1024), and the race of both engines beyond.
    const qulonglong jumps[] = { 1, 1000, 1025, 1ull << 13 };
    const int stops[] = { -2, -1, 0, 300, 3000 };
    unsigned seed = 0;
    for (int pattern = 0; pattern < 2; ++pattern) {
        for (qulonglong generations : jumps) {
            for (int stop : stops)
                QTest::addRow("%s, %llu generations, stop %d", pattern ? "soup" : "gun", generations, stop)
                    << pattern << ++seed << generations << stop;
        }
    }
    QTest::addRow("blocks, 1024 generations, stop 3000") << 2 << 0u << qulonglong(1024) << 3000;
    QTest::addRow("blocks, 1024 generations, stop -1") << 2 << 0u << qulonglong(1024) << -1;
}

void TestRunThread::interruptedJumpLeavesAFinishedGeneration()
{
    QFETCH(int, pattern);
    QFETCH(unsigned, seed);
    QFETCH(qulonglong, generations);
    QFETCH(int, stopAfter);
    std::vector<CellPoint> cells;
    if (pattern != 1)
        addGun(cells, -100, 40);
    if (pattern == 1)
        addSoup(cells, 0, 0, 96, seed);
    if (pattern == 2)
        addBlocks(cells, 0, 0, 740);
    UnboundedUniverse start;
    start.setCells(cells);
    QCOMPARE(start.population() > UnboundedUniverse::TileLimit, pattern == 2);

    UnboundedUniverse cut(start);
    std::atomic<bool> stop { stopAfter == -1 };
    std::atomic<bool> returned { false };
    std::thread stopper([&] {
        if (stopAfter < 0)
            return;
        const auto at = std::chrono::steady_clock::now() + std::chrono::microseconds(stopAfter);
        while (!returned && std::chrono::steady_clock::now() < at)
            std::this_thread::yield();
        stop = true;
    });
    const bool finished = cut.advanceUnless(generations, stop);
    returned = true;
    stopper.join();
    if (stopAfter == -2)
        QVERIFY(finished);
    UnboundedUniverse whole(start);
    stepAlong(whole, generations);
    QVERIFY(cut.equals(finished ? whole : start));
    QCOMPARE(cut.population(), finished ? whole.population() : start.population());
    // Given up, it jumps whole the next time.
    std::atomic<bool> never { false };
    if (!finished) {
        QVERIFY(cut.advanceUnless(generations, never));
        QVERIFY(cut.equals(whole));
    }
}

void TestRunThread::jumpsThroughHoldsAndCancels()
{
    std::vector<CellPoint> cells;
    addGun(cells, 0, 0);
    addSoup(cells, 200, 0, 128, 3);
    UnboundedUniverse start;
    start.setCells(cells);
    const std::uint64_t generations = 1 << 12;
    GridUniverse torus(Topology::torus(64, 48));
    torus.fillRandom({ 0, 0, 63, 47 }, 0.5, 11);
    std::unique_ptr<Universe> torusWhole = torus.clone();
    torusWhole->advance(generations);

    RunThread run;
    QSignalSpy finished(&run, &RunThread::finished);
    // Given up before it starts, as it runs, and once more for the torus: none of them comes back.
    run.start(start.clone(), generations);
    run.cancel();
    run.start(start.clone(), generations);
    EngineGate::hold();
    run.cancel();
    run.start(torus.clone(), generations);
    run.cancel();
    QVERIFY(!run.isBusy());
    // The window reads the plane between its events while the jump goes on,
    // holding it back each time: it comes back whole all the same.
    run.start(start.clone(), generations);
    QVERIFY(run.isBusy());
    for (int round = 0; finished.isEmpty() && round < 50; ++round) {
        EngineGate::hold();
        QVERIFY(start.population() > 0);
        QCoreApplication::processEvents();
    }
    QTRY_COMPARE(finished.count(), 1);
    QString problem;
    std::unique_ptr<Universe> jumped = run.take(problem);
    QVERIFY(problem.isEmpty());
    UnboundedUniverse whole(start);
    stepAlong(whole, generations);
    QVERIFY(jumped && jumped->equals(whole));
    const std::unique_ptr<Universe> copy = run.takeViewCopy();
    QVERIFY(copy && whole.equals(*copy));
    QVERIFY(!run.isBusy());

    run.start(torus.clone(), generations);
    QTRY_COMPARE(finished.count(), 2);
    jumped = run.take(problem);
    QVERIFY(jumped && jumped->equals(*torusWhole));
    QVERIFY(!run.takeViewCopy());
    // A jump still in flight when the run ends goes with it.
    run.start(start.clone(), generations << 8);
}

void TestRunThread::viewCopyHoldsTheSameCells_data()
{
    QTest::addColumn<int>("pattern"); // 0 empty, 1 gun, 2 soup, 3 gun and soup far apart, 4 more blocks than it copies
    QTest::addColumn<qlonglong>("offset"); // added to every coordinate
    const qlonglong offsets[] = { 0, 0, -77, qlonglong(1) << 40, 0 };
    for (int pattern = 0; pattern < 5; ++pattern)
        QTest::addRow("pattern %d", pattern) << pattern << offsets[pattern];
    QTest::addRow("gun near the plane's edge") << 1 << -(qlonglong(1) << 60) + 5;
}

void TestRunThread::viewCopyHoldsTheSameCells()
{
    QFETCH(int, pattern);
    QFETCH(qlonglong, offset);
    std::vector<CellPoint> cells;
    if (pattern == 1 || pattern == 3)
        addGun(cells, offset, offset);
    if (pattern == 2 || pattern == 3)
        addSoup(cells, offset + (pattern == 3 ? 100000 : 0), offset, 200, 5);
    if (pattern == 4)
        addBlocks(cells, 0, 0, 740);
    UnboundedUniverse plane;
    plane.setCells(cells);
    plane.advance(pattern == 2 ? 1 : 0); // the soup's cells in the tiles, the others in HashLife
    const std::unique_ptr<Universe> copy = RunThread::viewCopy(plane);
    QCOMPARE(!copy, pattern == 4);
    QVERIFY(!RunThread::viewCopy(GridUniverse(Topology::torus(16, 16))));
    QVERIFY(!copy || (plane.equals(*copy) && copy->boundingBox() == plane.boundingBox()));
}

void TestRunThread::viewPictureDrawsAsItsUniverse_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<int>("shift"); // of the view the picture is made for
    QTest::addColumn<qlonglong>("offset"); // added to every coordinate
    QTest::addColumn<int>("generations"); // stepped before the picture
    // Under birth on 0 a background that stays alive, and one that blinks, caught alive and dead.
    for (const char *rule : { "B3/S23", "B2/S/C3", "B34/S2345/C5", "B0123478/S01234678", "B0123/S2" }) {
        for (int shift : { 0, 2, 5 })
            QTest::addRow("%s, shift %d", rule, shift) << QString::fromLatin1(rule) << shift << qlonglong(-1000) << 21;
    }
    QTest::addRow("blinking, dead") << QStringLiteral("B0123/S2") << 1 << qlonglong(-1000) << 20;
    QTest::addRow("near the plane's corner") << QStringLiteral("B2/S/C3") << 1 << -(qlonglong(1) << 60) + 30 << 20;
    QTest::addRow("live background near the plane's corner")
        << QStringLiteral("B0123478/S01234678") << 0 << -(qlonglong(1) << 60) + 30 << 20;
}

// A picture answers views as the universe would wherever it or its summary
// holds the cells asked for, and says so: views moved within it and past it,
// at other shifts, and zoomed in past its own, which show its pixels enlarged.
void TestRunThread::viewPictureDrawsAsItsUniverse()
{
    QFETCH(QString, rule);
    QFETCH(int, shift);
    QFETCH(qlonglong, offset);
    QFETCH(int, generations);
    const Rule chosen = ruleFrom(rule);
    std::unique_ptr<Universe> plane = Universe::create(Topology::unbounded(), chosen);
    BackgroundUniverse::applyRule(plane, chosen);
    std::mt19937 random(static_cast<unsigned>(shift + rule.size()));
    for (int y = 0; y < 96; ++y) {
        for (int x = 0; x < 96; ++x)
            plane->setState(offset + x, offset + y, static_cast<std::uint8_t>(random() % chosen.stateCount()));
    }
    plane->advance(static_cast<std::uint64_t>(generations));
    const bool bornOnZero = (chosen.birthCounts() & 1U) != 0;
    QCOMPARE(
        plane->backgroundAlive(), bornOnZero && (generations % 2 == 1 || (chosen.survivalCounts() & (1U << 8)) != 0));
    // The view shows 40 x 30 pixels from a corner inside the pattern.
    const std::int64_t unit = std::int64_t(1) << shift;
    const std::int64_t left = (offset + 40) & ~(unit - 1);
    const std::int64_t top = (offset + 24) & ~(unit - 1);
    // Its corner on a multiple of 2^at, as the view's are.
    const auto area = [&](std::int64_t dx, std::int64_t dy, int columns, int rows, int at) {
        const std::int64_t size = std::int64_t(1) << at;
        const std::int64_t x = left & ~(size - 1);
        const std::int64_t y = top & ~(size - 1);
        return CellRect { x + dx * size, y + dy * size, x + (dx + columns) * size - 1, y + (dy + rows) * size - 1 };
    };
    // Two cells far off, which the picture of the view does not reach: the summary does, coarser.
    plane->setState(offset + 3000, offset + 2500, 1);
    plane->setState(offset + 200, offset + 2600, 1);
    std::unique_ptr<Universe> source = plane->clone();
    const std::unique_ptr<ViewPicture> picture = ViewPicture::of(*source, { area(0, 0, 40, 30, shift), shift });
    QVERIFY(picture);
    QCOMPARE(picture->population(), plane->population());
    QVERIFY(picture->boundingBox() == plane->boundingBox());
    QCOMPARE(picture->backgroundAlive(), plane->backgroundAlive());
    QVERIFY(picture->equals(*plane) && picture->state(left, top) == plane->state(left, top));
    // Drawn from its own pixels alone, never from the universe, which a run's thread may be stepping.
    source->clear();
    // The last column: whether the picture or the summary holds the cells asked for.
    const int requests[][6] = { { 0, 0, 40, 30, 0, 1 }, { 7, -5, 40, 30, 0, 1 }, { -20, -15, 80, 60, 0, 1 },
        { 0, 0, 1, 1, 0, 1 }, { -300, -300, 40, 30, 0, 1 }, { 0, 0, 20, 15, 1, 1 }, { -20, -20, 40, 30, 12, 1 },
        { 30, 2, 40, 30, 0, 0 }, { 0, 40, 40, 30, 0, 0 }, { 0, 0, 40, 30, 1, 0 }, { 0, 0, 40, 30, -1, 0 } };
    for (const auto &request : requests) {
        const int at = std::max(0, shift + request[4]);
        const CellRect asked = area(request[0], request[1], request[2], request[3], at);
        std::vector<std::uint8_t> drawn(static_cast<std::size_t>(request[2] * request[3]), 9);
        std::vector<std::uint8_t> expected(drawn.size(), 7);
        picture->render(asked, at, drawn.data(), request[2], request[3], request[2]);
        plane->render(asked, at, expected.data(), request[2], request[3], request[2]);
        const QString where = QStringLiteral("at %1, %2, %3").arg(request[0]).arg(request[1]).arg(request[4]);
        if (request[5] == 1 || at == shift + request[4])
            QVERIFY2(picture->answers(asked, at) >= (request[5] == 1), qPrintable(where));
        if (picture->answers(asked, at))
            QVERIFY2(drawn == expected, qPrintable(where));
        if (at != shift - 1)
            continue;
        // Zoomed in past its shift, the picture's pixels, enlarged.
        std::vector<std::uint8_t> coarse(static_cast<std::size_t>(20 * 15));
        plane->render(area(0, 0, 20, 15, shift), shift, coarse.data(), 20, 15, 20);
        for (std::size_t pixel = 0; pixel < drawn.size(); ++pixel)
            QCOMPARE(drawn[pixel], coarse[(pixel / 40 / 2) * 20 + pixel % 40 / 2]);
    }
    // Views of more pixels than it holds have none; nor, without a view, has
    // a plane the tiles cannot copy.
    QVERIFY(!ViewPicture::of(*plane, { area(0, 0, 1 << 13, 1 << 12, shift), shift }));
    QVERIFY(!RunThread::viewCopy(*plane, std::nullopt) || (chosen.isLifeLike() && !bornOnZero));
    QVERIFY(RunThread::viewCopy(*plane, ViewPicture::Area { area(0, 0, 40, 30, shift), shift }));
}

void TestRunThread::pictureMidJumpShowsTheGenerationBefore_data()
{
    QTest::addColumn<QString>("rule");
    QTest::newRow("more states than the tiles hold") << QStringLiteral("B2/S/C3");
    QTest::newRow("live background") << QStringLiteral("B0123478/S01234678");
    QTest::newRow("blinking background") << QStringLiteral("B0123/S2");
}

// A view moved past its picture while a tick's jump is in flight gets a
// picture of the generation before the jump, made by the run's thread as the
// jump starts and part way through it, that draws exactly what the universe
// the jump started from draws.
void TestRunThread::pictureMidJumpShowsTheGenerationBefore()
{
    QFETCH(QString, rule);
    const Rule chosen = ruleFrom(rule);
    std::unique_ptr<Universe> plane = Universe::create(Topology::unbounded(), chosen);
    BackgroundUniverse::applyRule(plane, chosen);
    std::mt19937 random(static_cast<unsigned>(rule.size()));
    // One cell in six alive: a soup of Brian's Brain so sparse grows without end.
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x)
            plane->setState(x, y, random() % 6 == 0 ? 1 : 0);
    }
    // Cells far off, in no picture of a view of the soup, and a view of each, cell for cell and four to a pixel.
    plane->setState(100000, 70000, 1);
    plane->setState(100003, 70001, 1);
    const ViewPicture::Area views[] = { { { -16, -16, 63, 47 }, 0 }, { { 99984, 69984, 100063, 70047 }, 0 },
        { { 99968, 69968, 100127, 70095 }, 1 } };
    std::vector<std::vector<std::uint8_t>> expected;
    for (const ViewPicture::Area &view : views) {
        expected.emplace_back(80 * 64, 7);
        plane->render(view.cells, view.shift, expected.back().data(), 80, 64, 80);
    }
    RunThread run;
    QSignalSpy pictures(&run, &RunThread::pictureMade);
    QSignalSpy finished(&run, &RunThread::finished);
    const auto check = [&](int index) {
        const std::unique_ptr<Universe> made = run.takePicture();
        auto *picture = dynamic_cast<ViewPicture *>(made.get());
        QVERIFY(picture);
        picture->readFrom(*plane);
        QVERIFY(picture->answers(views[index].cells, views[index].shift));
        std::vector<std::uint8_t> drawn(80 * 64, 9);
        picture->render(views[index].cells, views[index].shift, drawn.data(), 80, 64, 80);
        QVERIFY(drawn == expected[static_cast<std::size_t>(index)]);
        QCOMPARE(picture->backgroundAlive(), plane->backgroundAlive());
    };
    {
        // Asked for before the run's thread goes in: made before the first piece of the jump.
        const EngineGate::Scope scope;
        run.setViewArea(views[1]);
        run.start(plane->clone(), std::uint64_t(1) << 40);
        run.requestPicture();
    }
    QTRY_COMPARE_WITH_TIMEOUT(pictures.count(), 1, 30000);
    check(1);
    // Part way through a jump: it pauses, unless the jump ends first.
    const std::uint64_t pausesBefore = run.picturePauses();
    for (int index : { 2, 0 }) {
        run.setViewArea(views[index]);
        run.requestPicture();
        const int asked = pictures.count() + 1;
        QTRY_VERIFY_WITH_TIMEOUT(pictures.count() == asked || !finished.isEmpty(), 30000);
        if (!finished.isEmpty())
            break;
        check(index);
    }
    QVERIFY(!finished.isEmpty() || run.picturePauses() > pausesBefore);
    run.cancel();
    QVERIFY(!run.isBusy() && !run.takePicture());
}

QTEST_GUILESS_MAIN(TestRunThread)
#include "tst_runthread.moc"

void TestRunThread::underRuleMatchesAConversionHere_data()
{
    QTest::addColumn<int>("side"); // of a square torus: the larger one keeps overviews and reuses kept blocks
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::newRow("two states to three") << 100 << "B3/S23"
                                         << "B2/S/C3";
    QTest::newRow("two states to three, large") << 2048 << "B3/S23"
                                                << "B2/S/C3";
    QTest::newRow("two states to three, odd width") << 99 << "B3/S23"
                                                    << "B2/S/C3";
    QTest::newRow("three states to two") << 300 << "B2/S/C3"
                                         << "B3/S23";
    QTest::newRow("three states to four") << 300 << "B2/S/C3"
                                          << "B34/S/C4";
}

// What Stop brings back, converted to the run's rule on the run's thread
// while the run goes on, is the grid converted on the window's own, and is
// handed out once.
void TestRunThread::underRuleMatchesAConversionHere()
{
    QFETCH(int, side);
    QFETCH(QString, from);
    QFETCH(QString, to);
    const Rule rule = ruleFrom(to);
    auto grid = std::make_shared<GridUniverse>(Topology::torus(side, side), ruleFrom(from));
    grid->fillRandom({ 0, 0, side - 1, side / 2 }, 0.4, static_cast<std::uint64_t>(side));
    grid->advance(1);
    const std::shared_ptr<const Universe> saved = grid;
    RunThread thread;
    thread.summariseLater(saved, rule);
    std::unique_ptr<Universe> there;
    QTRY_VERIFY(there || (there = thread.takeUnderRule(saved, rule)));
    QVERIFY(!thread.takeUnderRule(saved, rule));
    std::unique_ptr<Universe> here = saved->clone();
    BackgroundUniverse::applyRule(here, rule);
    QVERIFY(there->rule() == rule && saved->rule() == ruleFrom(from));
    QVERIFY(there->equals(*here) && here->equals(*there));
    QCOMPARE(there->population(), here->population());
    QCOMPARE(there->hash(), here->hash());
    QCOMPARE(there->boundingBox(), here->boundingBox());
    std::vector<std::uint8_t> pixels[2];
    for (int copy = 0; copy < 2; ++copy) {
        pixels[copy].resize(static_cast<std::size_t>(side * side / 64));
        (copy == 0 ? there : here)
            ->render({ 0, 0, side - 1, side - 1 }, 3, pixels[copy].data(), side / 8, side / 8, side / 8);
    }
    QVERIFY(pixels[0] == pixels[1]);
    // Every cell as the saved one says, however the cells are kept: a state
    // past 1, set and taken back, makes the grid keep a byte a cell.
    auto bytes = here->clone();
    const std::uint8_t corner = bytes->state(0, 0);
    bytes->setState(0, 0, 2);
    bytes->setState(0, 0, corner);
    std::int64_t differing = 0;
    for (std::int64_t y = 0; y < side; ++y) {
        for (std::int64_t x = 0; x < side; ++x) {
            const std::uint8_t state = saved->state(x, y);
            const std::uint8_t expected = state < rule.stateCount() ? state : saved->rule().isLive(state) ? 1 : 0;
            differing += (there->state(x, y) != expected) + (bytes->state(x, y) != expected);
        }
    }
    QCOMPARE(differing, std::int64_t(0));
    QVERIFY(bytes->equals(*there) && there->equals(*bytes));
    QCOMPARE(bytes->hash(), there->hash());
    // And they step alike.
    there->advance(3);
    bytes->advance(3);
    QVERIFY(there->equals(*bytes));
    QCOMPARE(there->hash(), bytes->hash());
}
