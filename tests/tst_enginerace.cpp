#include <QTest>

#include <atomic>
#include <chrono>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "model/engine/cellcopy.h"
#include "model/engine/enginerace.h"
#include "model/engine/unboundeduniverse.h"
#include "warningguard.h"

namespace
{

// A square soup, or with `percent` 0 a row of gliders side by side; with
// `apart`, a second one as far to the right and below, the plane between
// them empty.
std::vector<CellPoint> pattern(int size, int percent, unsigned seed, std::int64_t apart = 0)
{
    std::vector<CellPoint> cells;
    if (apart != 0) {
        cells = pattern(size, percent, seed);
        for (const CellPoint &cell : pattern(size, percent, seed + 1))
            cells.push_back({ cell.x + apart, cell.y + apart });
        return cells;
    }
    std::mt19937 random(seed);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const bool glider = y % 9 < 3 && x < 3 && (y % 9 == 2 || x == y % 9 + 1);
            if (percent == 0 ? glider : static_cast<int>(random() % 100) < percent)
                cells.push_back({ x + (percent == 0 ? y - y % 9 : 0) - size / 2, y - size / 3 });
        }
    }
    return cells;
}

// Two ships, one the other's mirror image, dragging an R-pentomino between
// them: debris and gliders left behind for thousands of generations, where
// the tiles win the first long jump and HashLife, reusing it, the later ones.
std::vector<CellPoint> puffer()
{
    std::vector<CellPoint> cells;
    const char *const ship[] = { "...OO..", ".O....O", "O......", "O.....O", "OOOOOO." };
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; ship[y][x] != '\0'; ++x) {
            if (ship[y][x] == 'O') {
                cells.push_back({ x, y });
                cells.push_back({ x, 17 - y });
            }
        }
    }
    for (const CellPoint &cell : std::vector<CellPoint> { { 4, 3 }, { 5, 3 }, { 5, 4 }, { 6, 4 }, { 5, 5 } })
        cells.push_back(cell);
    return cells;
}

Rule rule(const QString &text)
{
    Rule read;
    std::string error;
    return Rule::read(text.toStdString(), read, error) ? read : Rule();
}

// Adds the row twice: the engines taking turns, and side by side where a
// second core is free (the first column).
template <typename... Values> void addRows(const char *name, Values... values)
{
    for (const bool sideBySide : { false, true })
        (QTest::addRow("%s%s", name, sideBySide ? ", side by side" : "") << sideBySide << ... << values);
}

} // namespace

// The race of the unbounded plane's engines against each engine alone:
// whichever wins, from whichever holds the cells, after whatever the last
// race showed, under any rule and memory limit, and however it is stopped.
class TestEngineRace : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { WarningGuard::install(); }
    void cleanup()
    {
        HashLife::setMemoryLimit(std::size_t(1) << 30);
        EngineRace::allowSideBySide(true);
    }
    void winnerHasTheCells_data();
    void winnerHasTheCells();
    void jumpsAgreeWithTiles_data();
    void jumpsAgreeWithTiles();
    void stoppedRaceChangesNothing_data();
    void stoppedRaceChangesNothing();
    void stopEndsTheTilesWait();
};

void TestEngineRace::winnerHasTheCells_data()
{
    QTest::addColumn<bool>("sideBySide");
    QTest::addColumn<int>("percent");
    QTest::addColumn<bool>("fromTiles");
    QTest::addColumn<double>("hashSeconds"); // HashLife's last time: it runs alone first
    QTest::addColumn<bool>("hopeless"); // HashLife keeps only a small share
    QTest::addColumn<quint64>("generations");
    QTest::addColumn<QString>("after"); // a rule to race by after a jump by Conway's, if any
    QTest::addColumn<qint64>("apart"); // a second pattern this far off, if not 0
    addRows("soup, from HashLife", 40, false, 0.0, false, quint64(1500), "", qint64(0));
    // What HashLife remembers of Conway's rule must not answer for another.
    addRows("HighLife after Conway", 40, false, 10.0, false, quint64(1500), "B36/S23", qint64(0));
    addRows("Seeds after Conway, from tiles", 40, true, 10.0, false, quint64(200), "B2/S", qint64(0));
    addRows("soup, from tiles, HashLife first", 40, true, 10.0, false, quint64(1025), "", qint64(0));
    addRows("soup, HashLife hopeless", 40, false, 0.0, true, quint64(3000), "", qint64(0));
    addRows("gliders, 2^20 from tiles", 0, true, 0.0, false, (quint64(1) << 20), "", qint64(0));
    addRows("gliders, odd, hopeless", 0, false, 0.0, true, quint64(4099), "", qint64(0));
    addRows("dies at once", 1, true, 0.0, false, quint64(2000), "", qint64(0));
    // HashLife soon looks sure to finish first and runs on past its share.
    addRows("sparse soup, 2^14 from tiles", 3, true, 0.0, false, (quint64(1) << 14), "", qint64(0));
    addRows("sparse soup, odd, from HashLife", 3, false, 0.0, false, quint64(12345), "", qint64(0));
    // Most of HashLife's squares are empty and done at once: its pace since
    // the start promises more than the rest keeps, and it must not run on.
    addRows("soups far apart, from HashLife", 35, false, 0.0, false, quint64(700), "", qint64(9000));
    addRows("soups far apart, odd, from tiles", 35, true, 0.0, false, quint64(1537), "", qint64(5000));
    addRows("sparse soups far apart", 3, false, 0.0, false, (quint64(1) << 13), "", qint64(20000));
    // HashLife's root spans 2^41 cells, nearly all of them empty.
    addRows("gliders far apart, 2^16", 0, false, 0.0, false, (quint64(1) << 16), "", (qint64(1) << 40));
}

// Whoever wins hands over the cells HashLife alone computes, and the race's
// history gives HashLife's time only when HashLife won.
void TestEngineRace::winnerHasTheCells()
{
    QFETCH(bool, sideBySide);
    EngineRace::allowSideBySide(sideBySide);
    QFETCH(int, percent);
    QFETCH(bool, fromTiles);
    QFETCH(double, hashSeconds);
    QFETCH(bool, hopeless);
    QFETCH(quint64, generations);
    QFETCH(QString, after);
    QFETCH(qint64, apart);
    // What earlier rows left in the store would answer for HashLife at once.
    HashLife::setMemoryLimit(1);
    HashLife::setMemoryLimit(std::size_t(1) << 30);
    HashLife hash;
    hash.setCells(pattern(60, percent, 3, apart));
    TileLife tiles;
    tiles.setCells(pattern(60, percent, 3, apart));
    if (!after.isEmpty()) {
        HashLife conway(hash);
        conway.advance(generations);
        hash.setRule(rule(after));
        tiles.setRule(rule(after));
    }
    EngineRace race(fromTiles ? nullptr : &hash, fromTiles ? &tiles : nullptr, generations, { hashSeconds, hopeless });
    QVERIFY(race.run(std::atomic<bool>(false)));
    // Worked out after the race, so that HashLife races without the results.
    std::unique_ptr<Universe> expected = after.isEmpty() ? hash.clone() : tiles.clone();
    expected->advance(generations);
    QCOMPARE(bool(race.hashLifeCells()), !race.tileLifeCells());
    QVERIFY(race.hashLifeCells() ? expected->equals(*race.hashLifeCells()) : expected->equals(*race.tileLifeCells()));
    if (race.tileLifeCells())
        QCOMPARE(race.history().hashSeconds, 0.0);
    else
        QVERIFY(!race.history().hashHopeless);
    QVERIFY(hash.equals(tiles));
}

void TestEngineRace::jumpsAgreeWithTiles_data()
{
    QTest::addColumn<bool>("sideBySide");
    QTest::addColumn<int>("percent");
    QTest::addColumn<QString>("later"); // the rule from the middle jump on
    QTest::addColumn<int>("memoryMiB");
    QTest::addColumn<int>("repeats"); // if not 0, as many jumps of 4096 instead
    // If not 0, HashLife alone first tries each jump this many times, stopped
    // after the first, second, ... glance at its stop check, and then ends it.
    QTest::addColumn<int>("interrupts");
    addRows("soup", 38, "", 1024, 0, 0);
    addRows("sparse soup", 4, "", 1024, 0, 0);
    // Results of one rule must not answer for the other, in either engine.
    addRows("rule changed between jumps", 38, "B36/S23", 1024, 0, 0);
    // HashLife collects several times in a jump, or runs out and leaves it to the tiles.
    addRows("2 MiB", 38, "", 2, 0, 0);
    addRows("1 MiB, rule changed", 38, "B36/S23", 1, 0, 0);
    addRows("gliders", 0, "", 1024, 0, 0);
    // A run at one speed: the engine changes hands between equal jumps, the
    // cells moving from the tiles to HashLife and back.
    addRows("puffer, equal jumps", -1, "", 1024, 6, 0);
    addRows("soup, equal jumps", 38, "", 1024, 4, 0);
    addRows("sparse soup, equal jumps, rule changed", 4, "B36/S23", 1024, 6, 0);
    addRows("puffer, equal jumps, 1 MiB", -1, "", 1, 4, 0);
    // What an interrupted jump leaves in the store, halfway through squares
    // and collections, must answer rightly for the jumps that follow.
    addRows("soup, interrupted", 38, "", 1024, 0, 6);
    addRows("soup, interrupted, 1 MiB", 38, "", 1, 0, 6);
    addRows("puffer, interrupted, rule changed", -1, "B36/S23", 1024, 3, 8);
}

// A run of jumps of the unbounded plane, whichever engine ends each race,
// against the tiles stepped all the way.
void TestEngineRace::jumpsAgreeWithTiles()
{
    QFETCH(bool, sideBySide);
    EngineRace::allowSideBySide(sideBySide);
    QFETCH(int, percent);
    QFETCH(QString, later);
    QFETCH(int, memoryMiB);
    QFETCH(int, repeats);
    QFETCH(int, interrupts);
    HashLife::setMemoryLimit(std::size_t(memoryMiB) << 20);
    const std::vector<CellPoint> cells = percent < 0 ? puffer() : pattern(90, percent, 5);
    UnboundedUniverse plane;
    plane.setCells(cells);
    TileLife tiles;
    tiles.setCells(cells);
    const std::vector<quint64> jumps
        = repeats > 0 ? std::vector<quint64>(repeats, 4096) : std::vector<quint64> { 1, 65, 1500, 1500, 3, 4096, 1025 };
    for (std::size_t i = 0; i < jumps.size(); ++i) {
        if (i == jumps.size() / 2 && !later.isEmpty()) {
            plane.setRule(rule(later));
            tiles.setRule(rule(later));
        }
        HashLife alone = plane.quadtree();
        bool finished = interrupts == 0;
        for (int glances = 1; glances <= interrupts && !finished; ++glances) {
            // HashLife's estimate of how far it has gone never goes back and stays within the jump.
            double last = 0;
            bool steady = true;
            int left = glances;
            finished = alone.advanceUnless(jumps[i], [&] {
                const double progress = HashLife::jumpProgress();
                steady = steady && progress >= last - 1e-9 && progress <= 1 + 1e-9;
                last = progress;
                return --left < 0;
            });
            QVERIFY(steady);
            QVERIFY(finished || alone.equals(plane));
        }
        plane.advance(jumps[i]);
        for (quint64 left = jumps[i]; left > 0; left -= std::min<quint64>(left, 1000))
            tiles.advance(std::min<quint64>(left, 1000));
        QVERIFY2(plane.equals(tiles), qPrintable(QString("after jump %1").arg(i)));
        if (interrupts > 0) {
            if (!finished)
                alone.advance(jumps[i]);
            QVERIFY2(alone.equals(tiles), qPrintable(QString("HashLife alone after jump %1").arg(i)));
        }
    }
}

void TestEngineRace::stoppedRaceChangesNothing_data()
{
    QTest::addColumn<bool>("sideBySide");
    QTest::addColumn<int>("delay"); // microseconds; -1: raised before
    QTest::addColumn<bool>("fromTiles");
    QTest::addColumn<int>("edit"); // after the stop: 0 none, 1 a cell set, 2 a square cleared, 3 the rule
    // If not 0, a glider flies off the edge of the plane within this many
    // generations, never stopped: the race ends in an error as HashLife alone does.
    QTest::addColumn<quint64>("edge");
    addRows("raised before", -1, false, 0, quint64(0));
    addRows("at once, from tiles", 0, true, 0, quint64(0));
    addRows("soon", 300, false, 0, quint64(0));
    addRows("later, from tiles", 5000, true, 0, quint64(0));
    addRows("much later", 40000, false, 0, quint64(0));
    // What the stopped race kept of HashLife must not outlive an edit.
    addRows("from tiles, a cell set", 20000, true, 1, quint64(0));
    addRows("from tiles, a square cleared", 20000, true, 2, quint64(0));
    addRows("from tiles, rule changed", 20000, true, 3, quint64(0));
    addRows("edge, from HashLife", 0, false, 0, quint64(3000));
    addRows("edge, from tiles", 0, true, 0, quint64(3000));
    addRows("edge, from tiles, 2^20", 0, true, 0, (quint64(1) << 20));
}

// A jump stopped before it starts or at any point later, or by the edge of
// the plane, leaves the cells as they were, and run again, after an edit,
// ends where HashLife alone ends.
void TestEngineRace::stoppedRaceChangesNothing()
{
    QFETCH(bool, sideBySide);
    EngineRace::allowSideBySide(sideBySide);
    QFETCH(int, delay);
    QFETCH(bool, fromTiles);
    QFETCH(int, edit);
    QFETCH(quint64, edge);
    const std::uint64_t generations = edge != 0 ? edge : 5000;
    const std::int64_t near = Universe::CoordinateLimit - 100;
    const std::vector<CellPoint> glider { { near + 1, near }, { near + 2, near + 1 }, { near, near + 2 },
        { near + 1, near + 2 }, { near + 2, near + 2 }, { 0, 0 }, { 1, 0 }, { 0, 1 }, { 1, 1 } };
    UnboundedUniverse plane;
    plane.setCells(edge != 0 ? glider : pattern(edit == 0 ? 120 : 300, 35, 9));
    if (fromTiles)
        plane.advance(1);
    HashLife start = plane.quadtree();
    if (edge != 0) {
        HashLife alone(start);
        QVERIFY_EXCEPTION_THROWN(alone.advance(generations), UniverseError);
        QVERIFY_EXCEPTION_THROWN(plane.advance(generations), UniverseError);
        QVERIFY(plane.equals(start));
        return;
    }
    std::atomic<bool> stop { delay < 0 };
    std::thread stopper([&stop, delay] {
        std::this_thread::sleep_for(std::chrono::microseconds(std::max(delay, 0)));
        stop = true;
    });
    const bool finished = plane.advanceUnless(generations, stop);
    stopper.join();
    QVERIFY(!finished || delay >= 0);
    // Either way the outcome is checked: finished, or the cells untouched.
    if (!finished) {
        QVERIFY(plane.equals(start));
        for (Universe *cells : { static_cast<Universe *>(&plane), static_cast<Universe *>(&start) }) {
            if (edit == 1)
                cells->setCell(1000, 1000, true);
            else if (edit == 2)
                cells->clearInside({ -40, -20, 10, 30 });
            else if (edit == 3)
                cells->setRule(rule("B36/S23"));
        }
        QVERIFY(plane.equals(start));
        QVERIFY(plane.rule() == start.rule());
        std::atomic<bool> never { false };
        QVERIFY(plane.advanceUnless(generations, never));
    }
    TileLife expected(start.rule());
    CellCopy::into(start, expected);
    expected.advanceUnless(generations, std::atomic<bool>(false));
    QVERIFY(plane.equals(expected));
}

// Side by side, the tiles wait while HashLife runs alone for an eighth of
// their time, on a long jump of a soup far longer than any test: a stop
// must end their wait as it ends HashLife's turn.
void TestEngineRace::stopEndsTheTilesWait()
{
    HashLife soup;
    soup.setCells(pattern(150, 35, 4));
    std::atomic<bool> stop { false };
    std::thread stopper([&stop] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        stop = true;
    });
    EngineRace race(&soup, nullptr, std::uint64_t(1) << 40, {});
    const bool finished = race.run(stop);
    stopper.join();
    QVERIFY(!finished);
}

QTEST_APPLESS_MAIN(TestEngineRace)

#include "tst_enginerace.moc"
