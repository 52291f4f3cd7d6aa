#include <QTest>

#include <atomic>
#include <chrono>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "model/engine/enginerace.h"
#include "model/engine/hashlife.h"
#include "model/engine/rule.h"
#include "model/engine/tilelife.h"
#include "model/engine/unboundeduniverse.h"
#include "warningguard.h"

namespace
{

Rule ruleNamed(const std::string &text)
{
    Rule rule;
    std::string error;
    if (!Rule::read(text, rule, error))
        qFatal("%s", error.c_str());
    return rule;
}

// A square soup, or with `percent` 0 a row of `size` gliders 9 cells apart
// that fly down and right side by side for ever.
std::vector<CellPoint> pattern(int size, int percent, unsigned seed)
{
    std::vector<CellPoint> cells;
    if (percent == 0) {
        for (int i = 0; i < size; ++i) {
            for (const CellPoint &cell : { CellPoint { 1, 0 }, { 2, 1 }, { 0, 2 }, { 1, 2 }, { 2, 2 } })
                cells.push_back({ cell.x + 9 * i - 40, cell.y - 9 * i + 30 });
        }
        return cells;
    }
    std::mt19937 random(seed);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (static_cast<int>(random() % 100) < percent)
                cells.push_back({ x - size / 2, y - size / 3 });
        }
    }
    return cells;
}

// The tiles stepped `generations` on, a thousand at a time.
void stepTiles(TileLife &tiles, std::uint64_t generations)
{
    while (generations > 0) {
        const std::uint64_t step = std::min<std::uint64_t>(generations, 1000);
        tiles.advance(step);
        generations -= step;
    }
}

// Restores the store's memory limit however a test ends.
struct LimitGuard {
    explicit LimitGuard(std::size_t bytes) { HashLife::setMemoryLimit(bytes); }
    ~LimitGuard() { HashLife::setMemoryLimit(std::size_t(1) << 30); }
    LimitGuard(const LimitGuard &) = delete;
    LimitGuard &operator=(const LimitGuard &) = delete;
};

} // namespace

Q_DECLARE_METATYPE(std::vector<quint64>)

// The race of the unbounded plane's two engines against each engine alone:
// whichever wins, from whichever holds the cells, after whatever the last
// race showed, and however it is stopped.
class TestEngineRace : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { WarningGuard::install(); }
    void winnerHasTheCells_data();
    void winnerHasTheCells();
    void jumpsAgreeWithTiles_data();
    void jumpsAgreeWithTiles();
    void stoppedRaceChangesNothing_data();
    void stoppedRaceChangesNothing();
};

void TestEngineRace::winnerHasTheCells_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("percent");
    QTest::addColumn<bool>("fromTiles");
    QTest::addColumn<double>("hashSeconds");
    QTest::addColumn<bool>("hopeless");
    QTest::addColumn<quint64>("generations");
    // A history of HashLife winning makes it run alone first; one of it
    // being hopeless leaves the tiles nearly all the time.
    QTest::newRow("soup, from HashLife") << 60 << 40 << false << 0.0 << false << quint64(1500);
    QTest::newRow("soup, from tiles") << 60 << 40 << true << 0.0 << false << quint64(1500);
    QTest::newRow("soup, HashLife first") << 60 << 40 << true << 10.0 << false << quint64(1025);
    QTest::newRow("soup, HashLife hopeless") << 60 << 40 << false << 0.0 << true << quint64(3000);
    QTest::newRow("gliders, 2^20 from tiles") << 6 << 0 << true << 0.0 << false << (quint64(1) << 20);
    QTest::newRow("gliders, odd, hopeless") << 6 << 0 << false << 0.0 << true << quint64(4099);
    QTest::newRow("dies at once") << 3 << 10 << true << 0.0 << false << quint64(2000);
    QTest::newRow("one generation") << 40 << 35 << false << 0.0 << false << quint64(1);
}

// Whoever wins hands over the cells HashLife alone computes, and the race's
// history says HashLife's time only when HashLife won.
void TestEngineRace::winnerHasTheCells()
{
    QFETCH(int, size);
    QFETCH(int, percent);
    QFETCH(bool, fromTiles);
    QFETCH(double, hashSeconds);
    QFETCH(bool, hopeless);
    QFETCH(quint64, generations);
    HashLife hash;
    hash.setCells(pattern(size, percent, 3));
    TileLife tiles;
    tiles.setCells(pattern(size, percent, 3));
    HashLife expected(hash);
    expected.advance(generations);

    EngineRace race(fromTiles ? nullptr : &hash, fromTiles ? &tiles : nullptr, generations,
        EngineRace::History { hashSeconds, hopeless });
    const std::atomic<bool> stop { false };
    QVERIFY(race.run(stop));
    QCOMPARE(bool(race.hashLifeCells()), !race.tileLifeCells());
    const Universe &winner
        = race.hashLifeCells() ? static_cast<const Universe &>(*race.hashLifeCells()) : *race.tileLifeCells();
    QVERIFY(expected.equals(winner));
    if (race.tileLifeCells())
        QCOMPARE(race.history().hashSeconds, 0.0);
    else
        QVERIFY(!race.history().hashHopeless);
    QVERIFY(hash.equals(tiles));
}

void TestEngineRace::jumpsAgreeWithTiles_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("percent");
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("later");
    QTest::addColumn<int>("memoryMiB");
    QTest::addColumn<std::vector<quint64>>("jumps");
    const std::vector<quint64> mixed { 1, 65, 1500, 1500, 3, 4096, 1025 };
    QTest::newRow("soup") << 80 << 38 << "B3/S23"
                          << "" << 1024 << mixed;
    QTest::newRow("sparse soup, HighLife") << 150 << 4 << "B36/S23"
                                           << "" << 1024 << mixed;
    // Results of one rule must not answer for the other, in either engine.
    QTest::newRow("rule changed between jumps") << 80 << 38 << "B3/S23"
                                                << "B36/S23" << 1024 << mixed;
    QTest::newRow("rule changed back") << 80 << 38 << "B36/S23"
                                       << "B3/S23" << 1024 << mixed;
    // HashLife collects several times in a jump, or runs out and leaves the jump to the tiles.
    QTest::newRow("2 MiB") << 80 << 38 << "B3/S23"
                           << "" << 2 << mixed;
    QTest::newRow("1 MiB, rule changed") << 100 << 38 << "B3/S23"
                                         << "B36/S23" << 1 << mixed;
    QTest::newRow("gliders, equal jumps") << 5 << 0 << "B3/S23"
                                          << "" << 1024 << std::vector<quint64> { 2048, 2048, 2048, 2048, 65, 65 };
}

// A run of jumps of the unbounded plane, whichever engine each race ends
// with, against the tiles stepped all the way; halfway the rule may change.
void TestEngineRace::jumpsAgreeWithTiles()
{
    QFETCH(int, size);
    QFETCH(int, percent);
    QFETCH(QString, rule);
    QFETCH(QString, later);
    QFETCH(int, memoryMiB);
    QFETCH(std::vector<quint64>, jumps);
    const LimitGuard limit(std::size_t(memoryMiB) << 20);
    const std::vector<CellPoint> cells = pattern(size, percent, 5);
    UnboundedUniverse plane(ruleNamed(rule.toStdString()));
    plane.setCells(cells);
    TileLife tiles(ruleNamed(rule.toStdString()));
    tiles.setCells(cells);
    for (std::size_t i = 0; i < jumps.size(); ++i) {
        if (i == jumps.size() / 2 && !later.isEmpty()) {
            plane.setRule(ruleNamed(later.toStdString()));
            tiles.setRule(ruleNamed(later.toStdString()));
        }
        plane.advance(jumps[i]);
        stepTiles(tiles, jumps[i]);
        QVERIFY2(plane.equals(tiles), qPrintable(QString("after jump %1").arg(i)));
    }
}

void TestEngineRace::stoppedRaceChangesNothing_data()
{
    QTest::addColumn<int>("delayMicroseconds");
    QTest::addColumn<bool>("fromTiles");
    QTest::newRow("raised before") << -1 << false;
    QTest::newRow("at once, from HashLife") << 0 << false;
    QTest::newRow("at once, from tiles") << 0 << true;
    QTest::newRow("soon, from HashLife") << 300 << false;
    QTest::newRow("later, from tiles") << 3000 << true;
    QTest::newRow("much later") << 30000 << false;
}

// A jump stopped at any point leaves the cells as they were, and the same
// jump run again ends where it would have without the stop.
void TestEngineRace::stoppedRaceChangesNothing()
{
    QFETCH(int, delayMicroseconds);
    QFETCH(bool, fromTiles);
    const std::vector<CellPoint> cells = pattern(120, 35, 9);
    UnboundedUniverse plane;
    plane.setCells(cells);
    if (fromTiles)
        plane.advance(1);
    const HashLife start = plane.quadtree();
    HashLife expected(start);
    expected.advance(5000);

    std::atomic<bool> stop { delayMicroseconds < 0 };
    std::thread stopper([&stop, delayMicroseconds] {
        if (delayMicroseconds >= 0) {
            std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds));
            stop = true;
        }
    });
    const bool finished = plane.advanceUnless(5000, stop);
    stopper.join();
    QVERIFY(plane.equals(finished ? expected : start));
    QVERIFY(!finished || delayMicroseconds >= 0);
    if (!finished) {
        std::atomic<bool> never { false };
        QVERIFY(plane.advanceUnless(5000, never));
    }
    QVERIFY(plane.equals(expected));
}

QTEST_APPLESS_MAIN(TestEngineRace)

#include "tst_enginerace.moc"
