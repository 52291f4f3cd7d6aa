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
#include "model/engine/griduniverse.h"
#include "model/engine/unboundeduniverse.h"

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

QTEST_GUILESS_MAIN(TestRunThread)
#include "tst_runthread.moc"
