#include <QDirIterator>
#include <QFile>
#include <QTest>

#include <algorithm>
#include <limits>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/textanswer.h"
#include "censushistory.h"
#include "document/stabilitywatch.h"
#include "model/analysis/celllist.h"
#include "model/analysis/census.h"
#include "model/analysis/censussearch.h"
#include "model/analysis/objectlibrary.h"
#include "model/analysis/runhistory.h"
#include "model/analysis/stabilisation.h"
#include "model/engine/unboundeduniverse.h"
#include "model/files/pattern.h"
#include "model/files/patternreader.h"
#include "ruletext.h"
#include "warningguard.h"

Q_DECLARE_METATYPE(Stabilisation::Outcome)

namespace
{

using Cells = std::set<std::pair<std::int64_t, std::int64_t>>; // y, x

std::vector<CellPoint> read(const QByteArray &rle)
{
    Pattern pattern;
    std::string error;
    if (!PatternReader::read(rle.toStdString(), pattern, error))
        qFatal("%s", error.c_str());
    return CellList::of(pattern.cells);
}

// Conway's Life by counting each cell's neighbours, apart from every engine of the program.
Cells next(const Cells &cells)
{
    std::set<std::pair<std::int64_t, std::int64_t>> near;
    for (const auto &[y, x] : cells) {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx)
                near.insert({ y + dy, x + dx });
        }
    }
    Cells result;
    for (const auto &[y, x] : near) {
        int count = 0;
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx)
                count += (dx != 0 || dy != 0) && cells.count({ y + dy, x + dx }) ? 1 : 0;
        }
        if (count == 3 || (count == 2 && cells.count({ y, x })))
            result.insert({ y, x });
    }
    return result;
}

// The Gosper glider gun, typed in: period 30, a glider every period.
const char *const gosperGun = "x = 36, y = 9\n24bo$22bobo$12b2o6b2o12b2o$11bo3bo4b2o12b2o$2o8bo5bo3b2o$"
                              "2o8bo3bob2o4bobo$10bo5bo7bo$11bo3bo$12b2o!";

const char *const puffer = "x = 8, y = 21\n4bo$2bo3bo$7bo$2bo4bo$3b5o5$4bo$5b2o$6bo$6bo$5bo4$3b2o$3ob2o$5o$b3o!";

// A glider heading down to the right for an eater 1 `distance` cells
// farther along its diagonal than the nearest one it meets the same way, and
// `blocks` blocks out of its way.
std::vector<CellPoint> gliderToEater(std::int64_t distance, int blocks)
{
    std::vector<CellPoint> cells { { 1, 0 }, { 2, 1 }, { 0, 2 }, { 1, 2 }, { 2, 2 } };
    for (const CellPoint &cell :
        std::vector<CellPoint> { { 0, 0 }, { 1, 0 }, { 0, 1 }, { 2, 1 }, { 2, 2 }, { 2, 3 }, { 3, 3 } })
        cells.push_back({ cell.x + 12 + distance, cell.y + 12 + distance });
    for (int i = 0; i < blocks; ++i) {
        for (const CellPoint &cell : std::vector<CellPoint> { { 0, 0 }, { 1, 0 }, { 0, 1 }, { 1, 1 } })
            cells.push_back({ cell.x - 100 + (i % 10) * 4, cell.y + 20 + (i / 10) * 4 });
    }
    return cells;
}

Cells asSet(const std::vector<CellPoint> &cells)
{
    Cells result;
    for (const CellPoint &cell : cells)
        result.insert({ cell.y, cell.x });
    return result;
}

std::vector<CellPoint> asList(const Cells &cells)
{
    std::vector<CellPoint> result;
    for (const auto &[y, x] : cells)
        result.push_back({ x, y });
    return result;
}

QStringList labels(const std::vector<CensusEntry> &entries)
{
    QStringList result;
    for (const CensusEntry &entry : entries)
        result << QString::fromStdString(entry.label());
    return result;
}

} // namespace

// When a pattern settles in the unbounded plane, and what it leaves behind.
class TestCensus : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { WarningGuard::install(); }
    void stabilises_data();
    void stabilises();
    void lifespanFromAnyStart_data();
    void lifespanFromAnyStart();
    void recognisesEveryObject_data();
    void recognisesEveryObject();
    void touchingObjectsAreApart_data();
    void touchingObjectsAreApart();
    void kindsKeepTheNeighbourhood_data();
    void kindsKeepTheNeighbourhood();
    void longLives_data();
    void longLives();
    void gunFromAnyStart_data();
    void gunFromAnyStart();
    void grows_data();
    void grows();
    void jumpsAgreeWithSteps_data();
    void jumpsAgreeWithSteps();
    void windowAgreesWithCommandLine_data();
    void windowAgreesWithCommandLine();
    void agreesWithTheRunHistory_data();
    void agreesWithTheRunHistory();
};

void TestCensus::stabilises_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Stabilisation::Outcome>("outcome");
    QTest::addColumn<int>("lifespan"); // -1: the first generation that repeats by plain counting, less 1
    QTest::addColumn<int>("population");
    QTest::addColumn<QStringList>("census");

    using Outcome = Stabilisation::Outcome;
    QTest::newRow("r-pentomino") << QByteArray("x = 3, y = 3\nb2o$2o$bo!") << Outcome::Stable << 1103 << 116
                                 << QStringList { "8 blocks", "6 gliders (escaping)", "4 beehives", "4 blinkers",
                                        "1 boat", "1 ship", "1 loaf" };
    QTest::newRow("diehard") << QByteArray("x = 8, y = 3\n6bo$2o$bo3b3o!") << Outcome::DiedOut << 130 << 0
                             << QStringList();
    QTest::newRow("block, glider heading away")
        << QByteArray("x = 13, y = 13\n2o$2o9$11bo$12bo$10b3o!") << Outcome::Stable << 0 << 9
        << QStringList { "1 block", "1 glider (escaping)" };
    QTest::newRow("glider heading for a block") << QByteArray("x = 26, y = 22\nbo$2bo$3o18$24b2o$24b2o!")
                                                << Outcome::Stable << -1 << 24 << QStringList { "4 beehives" };
    // Each ship has another cluster above and below it, so that the box of all others holds it.
    QTest::newRow("spaceships side by side between blocks")
        << QByteArray("x = 12, y = 21\n10b2o$10b2o2$bo2bo$o$o3bo$4o8$4o$o3bo$o$bo2bo2$10b2o$10b2o!") << Outcome::Stable
        << 0 << 26 << QStringList { "2 blocks", "2 lightweight spaceships (escaping)" };
    // Two rows apart, never touching, but no box around either's every phase is apart from the other's.
    QTest::newRow("spaceships two rows apart")
        << QByteArray("x = 5, y = 10\nbo2bo$o$o3bo$4o3$bo2bo$o$o3bo$4o!") << Outcome::Stable << 0 << 18
        << QStringList { "2 lightweight spaceships (escaping)" };
    QTest::newRow("spaceships two rows apart, a phase apart")
        << QByteArray("x = 6, y = 10\nb2o$2ob2o$b4o$2b2o3$2bo2bo$bo$bo3bo$b4o!") << Outcome::Stable << 0 << 21
        << QStringList { "2 lightweight spaceships (escaping)" };
}

void TestCensus::stabilises()
{
    QFETCH(QByteArray, file);
    QFETCH(Stabilisation::Outcome, outcome);
    QFETCH(int, lifespan);
    QFETCH(int, population);
    QFETCH(QStringList, census);

    const std::vector<CellPoint> start = read(file);
    Stabilisation stabilisation { start, Rule() };
    const Stabilisation::Result &result = stabilisation.run(20000);
    if (lifespan < 0) {
        // Nothing escapes: the first generation whose cells come back, counted from 1.
        std::vector<Cells> generations { Cells() };
        for (const CellPoint &cell : start)
            generations.back().insert({ cell.y, cell.x });
        int repeated = -1;
        while (repeated < 0) {
            generations.push_back(next(generations.back()));
            for (std::size_t i = 0; i + 1 < generations.size() && repeated < 0; ++i)
                repeated = generations[i] == generations.back() ? static_cast<int>(i) : -1;
        }
        lifespan = repeated;
        QCOMPARE(result.period, static_cast<int>(generations.size()) - 1 - repeated);
        QVERIFY(lifespan > 50); // after the collision
    }
    QCOMPARE(result.outcome, outcome);
    QCOMPARE(result.lifespan(), std::int64_t(lifespan));
    QCOMPARE(result.population, std::uint64_t(population));
    QCOMPARE(labels(result.census), census);
}

void TestCensus::lifespanFromAnyStart_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("lifespan"); // L, from generation 1
    QTest::addColumn<int>("later"); // k, the generations run before the census

    const struct {
        const char *name;
        const char *file;
        int lifespan;
        std::vector<int> later;
    } patterns[] = {
        // A T-tetromino is four blinkers from generation 10 on, by plain
        // counting; the gliders never touch what it becomes, the first leaving
        // it from two cells away, the others passing it or a blinker as near.
        { "glider leaving", "x = 3, y = 6\n3o$bo2$bo$2bo$3o!", 9, { 0, 2, 5, 7, 9, 40 } },
        { "glider passing", "x = 27, y = 18\nbo$2bo$3o14$24b3o$25bo!", 9, { 0, 3, 8, 60, 85, 200 } },
        { "glider passing a blinker", "x = 10, y = 3\nbo5b3o$2bo$3o!", 0, { 0, 2, 6, 10, 14 } },
        { "period 2 alone", "x = 3, y = 2\n3o$bo!", 9, { 0, 1, 8, 9, 12 } },
        // Gliders leave the R-pentomino's debris last; the diehard dies out.
        { "r-pentomino", "x = 3, y = 3\nb2o$2o$bo!", 1103, { 0, 1103, 1104 } },
        { "diehard", "x = 8, y = 3\n6bo$2o$bo3b3o!", 130, { 0, 129, 130, 131 } },
    };
    for (const auto &pattern : patterns) {
        for (const int k : pattern.later)
            QTest::addRow("%s, %d later", pattern.name, k) << QByteArray(pattern.file) << pattern.lifespan << k;
    }
}

void TestCensus::lifespanFromAnyStart()
{
    QFETCH(QByteArray, file);
    QFETCH(int, lifespan);
    QFETCH(int, later);

    Cells cells;
    for (const CellPoint &cell : read(file))
        cells.insert({ cell.y, cell.x });
    for (int t = 0; t < later; ++t)
        cells = next(cells);
    std::vector<CellPoint> advanced;
    for (const auto &[y, x] : cells)
        advanced.push_back({ x, y });
    // As the window takes it, from the generation the run has reached.
    Stabilisation stabilisation { advanced, Rule(), 1 + later };
    const Stabilisation::Result &result = stabilisation.run(2000);
    QCOMPARE(result.outcome,
        QByteArray(QTest::currentDataTag()).startsWith("diehard") ? Stabilisation::Outcome::DiedOut
                                                                  : Stabilisation::Outcome::Stable);
    QCOMPARE(result.lifespan(), std::int64_t(std::max(0, lifespan - later)));
    QCOMPARE(result.stableSince, std::int64_t(1 + std::max(lifespan, later)));
    QCOMPARE(CensusSearch::run(advanced, Rule(), 2000, nullptr, 1 + later).lines(2000), result.lines(2000));
}

void TestCensus::recognisesEveryObject_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("plural");
    QTest::addColumn<int>("period");
    QTest::addColumn<int>("population"); // of the phase typed in
    QTest::addColumn<bool>("moves");

    const struct {
        const char *name;
        const char *plural;
        int period;
        int population;
        bool moves;
    } objects[] = {
        { "block", "blocks", 1, 4, false },
        { "beehive", "beehives", 1, 6, false },
        { "loaf", "loaves", 1, 7, false },
        { "boat", "boats", 1, 5, false },
        { "ship", "ships", 1, 6, false },
        { "tub", "tubs", 1, 4, false },
        { "pond", "ponds", 1, 8, false },
        { "barge", "barges", 1, 6, false },
        { "long boat", "long boats", 1, 7, false },
        { "mango", "mangoes", 1, 8, false },
        { "eater 1", "eater 1s", 1, 7, false },
        { "blinker", "blinkers", 2, 3, false },
        { "toad", "toads", 2, 6, false },
        { "beacon", "beacons", 2, 8, false },
        { "pulsar", "pulsars", 3, 48, false },
        { "pentadecathlon", "pentadecathlons", 15, 12, false },
        { "glider", "gliders", 4, 5, true },
        { "lightweight spaceship", "lightweight spaceships", 4, 9, true },
        { "middleweight spaceship", "middleweight spaceships", 4, 11, true },
        { "heavyweight spaceship", "heavyweight spaceships", 4, 13, true },
    };
    QCOMPARE(ObjectLibrary::conway().objects().size(), std::size(objects));
    for (const auto &object : objects)
        QTest::newRow(object.name) << object.name << object.plural << object.period << object.population
                                   << object.moves;
}

void TestCensus::recognisesEveryObject()
{
    QFETCH(QString, name);
    QFETCH(QString, plural);
    QFETCH(int, period);
    QFETCH(int, population);
    QFETCH(bool, moves);

    const std::vector<ObjectLibrary::Object> &objects = ObjectLibrary::conway().objects();
    const auto object = std::find_if(objects.begin(), objects.end(),
        [&name](const ObjectLibrary::Object &o) { return QString::fromStdString(o.singular) == name; });
    QVERIFY(object != objects.end());
    QCOMPARE(static_cast<int>(object->cells.size()), population);

    // Every phase by plain counting, each in the 8 orientations, turned and mirrored here.
    Cells phase;
    for (const CellPoint &cell : object->cells)
        phase.insert({ cell.y, cell.x });
    const Cells typed = phase;
    for (int t = 0; t < period; ++t) {
        for (int orientation = 0; orientation < 8; ++orientation) {
            std::vector<CellPoint> cells;
            for (const auto &[y, x] : phase) {
                CellPoint cell = orientation >= 4 ? CellPoint { -x, y } : CellPoint { x, y };
                for (int turn = 0; turn < orientation % 4; ++turn)
                    cell = { cell.y, -cell.x };
                cells.push_back({ cell.x + 1000, cell.y - 77 });
            }
            Census census((Rule()));
            census.add(cells, period, false);
            const std::vector<CensusEntry> entries = census.entries();
            QCOMPARE(entries.size(), std::size_t(1));
            QCOMPARE(QString::fromStdString(entries[0].label()), "1 " + name);
            QCOMPARE(QString::fromStdString(entries[0].plural), plural);
            QCOMPARE(entries[0].period, period);
            QCOMPARE(entries[0].kind == ObjectKind::Spaceship, moves);
        }
        phase = next(phase);
        QCOMPARE(phase == typed, t + 1 == period && !moves);
    }
}

void TestCensus::touchingObjectsAreApart_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("census");

    QTest::newRow("tubs touching diagonally")
        << QByteArray("x = 5, y = 5\nbo$obo$bobo$2bobo$3bo!") << QStringList { "2 tubs" };
    QTest::newRow("boats touching diagonally")
        << QByteArray("x = 5, y = 5\n2o$obo$bobo$2bobo$3b2o!") << QStringList { "2 boats" };
    QTest::newRow("blocks side by side") << QByteArray("x = 5, y = 2\n2ob2o$2ob2o!") << QStringList { "2 blocks" };
    // Cells two apart that never change each other, and a glider that leaves
    // a block untouched before it is apart from it.
    QTest::newRow("blocks two apart diagonally")
        << QByteArray("x = 5, y = 5\n2o$2o2$3b2o$3b2o!") << QStringList { "2 blocks" };
    QTest::newRow("blinker and block two apart")
        << QByteArray("x = 6, y = 4\n3o2$4b2o$4b2o!") << QStringList { "1 block", "1 blinker" };
    QTest::newRow("glider two from a block, leaving")
        << QByteArray("x = 5, y = 6\n2o$2o2$3bo$4bo$2b3o!") << QStringList { "1 block", "1 glider (escaping)" };
    QTest::newRow("blocks of a beacon") << QByteArray("x = 4, y = 4\n2o$2o$2b2o$2b2o!") << QStringList { "1 beacon" };
}

void TestCensus::touchingObjectsAreApart()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, census);

    Stabilisation stabilisation { read(file), Rule() };
    const Stabilisation::Result &result = stabilisation.run(100);
    QCOMPARE(result.stableSince, std::int64_t(1));
    QCOMPARE(labels(result.census), census);
}

void TestCensus::kindsKeepTheNeighbourhood_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("census");

    // Without births, cells that keep one or two neighbours are still, and no
    // cell alone. The hexagonal neighbourhood is kept by a half turn but not
    // by a quarter turn, so an L and its quarter turn are two kinds there and
    // one under the others.
    const QByteArray quarterTurn("x = 6, y = 2\n2o2b2o$o4bo!");
    const QByteArray halfTurn("x = 6, y = 2\n2o3bo$o3b2o!");
    const QStringList one { "2 still lifes of 3 cells" };
    const QStringList two { "1 still life of 3 cells", "1 still life of 3 cells" };
    QTest::newRow("hexagonal, quarter turn") << "B/S12H" << quarterTurn << two;
    QTest::newRow("hexagonal, half turn") << "B/S12H" << halfTurn << one;
    QTest::newRow("Moore, quarter turn") << "B/S12" << quarterTurn << one;
    QTest::newRow("von Neumann, quarter turn") << "B/S12V" << quarterTurn << one;
}

void TestCensus::kindsKeepTheNeighbourhood()
{
    QFETCH(QString, rule);
    QFETCH(QByteArray, file);
    QFETCH(QStringList, census);

    Stabilisation stabilisation { read(file), ruleFrom(rule) };
    QCOMPARE(labels(stabilisation.run(100).census), census);
}

void TestCensus::longLives_data()
{
    QTest::addColumn<int>("distance"); // of the eater, past the nearest
    QTest::addColumn<int>("later"); // the glider's moves down its diagonal before the census, 4 generations each

    // 2600: past the generations a census looks at one by one, so that it
    // jumps; 4086 and 4087 settle just before and just after its first jump.
    for (const int distance : { 0, 2600 }) {
        for (const int later : { 0, 1, distance / 2, distance })
            QTest::addRow("eater %d away, %d moves later", distance, later) << distance << later;
    }
    QTest::newRow("settled just before a jump") << 4086 << 0;
    QTest::newRow("settled just after a jump") << 4087 << 0;
}

void TestCensus::longLives()
{
    QFETCH(int, distance);
    QFETCH(int, later);

    // The lifespan with the eater nearest, by plain counting; a glider moves
    // a cell down and a cell to the right every 4 generations.
    const std::vector<CellPoint> nearest = gliderToEater(0, 0);
    const Cells eater = asSet(std::vector<CellPoint>(nearest.begin() + 5, nearest.end()));
    Cells cells = asSet(nearest);
    int nearestLifespan = 0;
    for (; cells != eater && nearestLifespan < 200; ++nearestLifespan)
        cells = next(cells);
    const std::int64_t lifespan = nearestLifespan + std::int64_t(4) * distance;

    std::vector<CellPoint> start = gliderToEater(distance, 30);
    for (std::size_t i = 0; i < 5; ++i)
        start[i] = { start[i].x + later, start[i].y + later };
    const Stabilisation::Result result = CensusSearch::run(start, Rule(), 100000, nullptr, 1 + 4 * later);
    QCOMPARE(result.outcome, Stabilisation::Outcome::Stable);
    QCOMPARE(result.lifespan(), std::max<std::int64_t>(0, lifespan - 4 * later));
    QCOMPARE(result.stableSince, 1 + lifespan);
    QCOMPARE(result.population, std::uint64_t(30 * 4 + 7));
    QCOMPARE(labels(result.census), QStringList({ "30 blocks", "1 eater 1" }));
}

void TestCensus::gunFromAnyStart_data()
{
    QTest::addColumn<bool>("twice"); // and the gun's mirror image beside it, its stream heading the other way
    QTest::addColumn<int>("later");
    for (const bool twice : { false, true }) {
        for (const int later : { 0, 29, 30, 45, 700 })
            QTest::addRow("%s, %d later", twice ? "two guns" : "gun", later) << twice << later;
    }
}

void TestCensus::gunFromAnyStart()
{
    QFETCH(bool, twice);
    QFETCH(int, later);
    Cells cells = asSet(read(gosperGun));
    if (twice) {
        for (const CellPoint &cell : read(gosperGun))
            cells.insert({ cell.y, -60 - cell.x });
    }
    for (int t = 0; t < later; ++t)
        cells = next(cells);
    const Stabilisation::Result result = CensusSearch::run(asList(cells), Rule(), 1000000, nullptr, 1 + later);
    QCOMPARE(result.outcome, Stabilisation::Outcome::Grows);
    QCOMPARE(result.lines(1000000),
        std::vector<std::string>({ "gun, period 30",
            twice ? "  2 gliders (escaping) every 30 generations" : "  1 glider (escaping) every 30 generations" }));
}

void TestCensus::grows_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<QString>("growth"); // the answer's line, %1 for the cells a plain run has after `limit`

    // Under B12345678/S012345678 a cell fills a square of side 2t + 1 in t generations.
    const QByteArray cell("x = 1, y = 1, rule = B12345678/S012345678\no!");
    QTest::newRow("square, stepped") << cell << qint64(4096)
                                     << QStringLiteral("grows quadratically, 67125249 cells after 4096 generations");
    QTest::newRow("square, jumped") << cell << qint64(1000000)
                                    << QStringLiteral(
                                           "grows quadratically, 4000004000001 cells after 1000000 generations");
    // Two middleweight spaceships and a spark between them that leaves four
    // cells behind every 24 generations, found by a search over such trios;
    // they move at half the speed of light, by plain counting.
    QTest::newRow("puffer") << QByteArray(puffer) << qint64(100000)
                            << QStringLiteral(
                                   "puffer, period 24, moves by (12, 0) every 24 generations, leaves debris");
    // A gun with a glider coming towards it from far away is neither a clean gun nor a puffer.
    for (const qint64 limit : { 4096, 20000 }) {
        QByteArray life("#Life 1.06\n");
        for (const CellPoint &cell : read(gosperGun))
            life += QByteArray::number(qlonglong(cell.x)) + ' ' + QByteArray::number(qlonglong(cell.y)) + '\n';
        life += "-99999 -100000\n-99998 -99999\n-100000 -99998\n-99999 -99998\n-99998 -99998\n";
        QTest::addRow("gun, glider coming, %lld", limit)
            << life << limit << "grows linearly, %1 cells after " + QString::number(limit) + " generations";
    }
}

void TestCensus::grows()
{
    QFETCH(QByteArray, file);
    QFETCH(qint64, limit);
    QFETCH(QString, growth);
    Pattern pattern;
    std::string error;
    QVERIFY2(PatternReader::read(file.toStdString(), pattern, error), error.c_str());
    const Rule rule = pattern.rule.value_or(Rule());
    UnboundedUniverse universe(rule);
    universe.setCells(CellList::of(pattern.cells));
    const std::vector<std::string> lines = CensusSearch::run(CellList::of(universe), rule, limit).lines(limit);
    universe.advance(static_cast<std::uint64_t>(limit));
    if (growth.contains(QLatin1String("%1")))
        growth = growth.arg(universe.population());
    QCOMPARE(QString::fromStdString(lines.front()), growth);
    QCOMPARE(lines.size(), std::size_t(1));
}

void TestCensus::jumpsAgreeWithSteps_data()
{
    QTest::addColumn<bool>("gun"); // else a glider 2600 cells from an eater, settling at generation 10439
    QTest::addColumn<int>("limit");
    for (const int limit : { 10000, 10438, 10439, 10440, 12000, 16384, 20000 })
        QTest::addRow("eater, limit %d", limit) << false << limit;
    for (const int limit : { 1000, 1024, 1025, 9000 })
        QTest::addRow("gun, limit %d", limit) << true << limit;
}

void TestCensus::jumpsAgreeWithSteps()
{
    QFETCH(bool, gun);
    QFETCH(int, limit);
    const std::vector<CellPoint> cells = gun ? read(gosperGun) : gliderToEater(2600, 3);
    Stabilisation steps { cells, Rule() };
    QCOMPARE(CensusSearch::run(cells, Rule(), limit).lines(limit), steps.run(limit).lines(limit));
}

void TestCensus::windowAgreesWithCommandLine_data()
{
    QTest::addColumn<QByteArray>("file");

    // The examples; the HighLife replicator never settles, and the window,
    // which steps one generation at a time, would take long to reach the
    // 344,000th or so, where it passes StabilityWatch::CellLimit and is no longer
    // followed.
    QDirIterator examples(QStringLiteral(":/patterns"));
    while (examples.hasNext()) {
        QFile example(examples.next());
        if (!example.fileName().contains(QLatin1String("replicator")) && example.open(QIODevice::ReadOnly))
            QTest::newRow(qPrintable(example.fileName())) << example.readAll();
    }
    QVERIFY(QDir(QStringLiteral(":/patterns")).count() >= 10);
    // Those of the tables above that differ from the examples.
    QTest::newRow("gun") << QByteArray(gosperGun);
    QTest::newRow("puffer") << QByteArray(puffer);
    QByteArray life("#Life 1.06\n");
    for (const CellPoint &cell : gliderToEater(2600, 30))
        life += QByteArray::number(qlonglong(cell.x)) + ' ' + QByteArray::number(qlonglong(cell.y)) + '\n';
    QTest::newRow("glider to a far eater") << life;
    const std::pair<const char *, const char *> typed[] = {
        { "block, glider heading away", "x = 13, y = 13\n2o$2o9$11bo$12bo$10b3o!" },
        { "glider heading for a block", "x = 26, y = 22\nbo$2bo$3o18$24b2o$24b2o!" },
        { "spaceships side by side", "x = 12, y = 21\n10b2o$10b2o2$bo2bo$o$o3bo$4o8$4o$o3bo$o$bo2bo2$10b2o$10b2o!" },
        { "glider leaving", "x = 3, y = 6\n3o$bo2$bo$2bo$3o!" },
        { "glider passing", "x = 27, y = 18\nbo$2bo$3o14$24b3o$25bo!" },
        { "glider passing a blinker", "x = 10, y = 3\nbo5b3o$2bo$3o!" },
        { "glider two from a block", "x = 5, y = 6\n2o$2o2$3bo$4bo$2b3o!" },
        { "spaceships two rows apart", "x = 5, y = 10\nbo2bo$o$o3bo$4o3$bo2bo$o$o3bo$4o!" },
    };
    for (const auto &[name, file] : typed)
        QTest::newRow(name) << QByteArray(file);
}

void TestCensus::windowAgreesWithCommandLine()
{
    QFETCH(QByteArray, file);
    Pattern pattern;
    std::string error;
    QVERIFY2(PatternReader::read(file.toStdString(), pattern, error), error.c_str());
    UnboundedUniverse universe(pattern.rule.value_or(Rule()));
    universe.setCells(CellList::of(pattern.cells));

    const std::vector<std::string> said = TextAnswer::censusLines(universe, StabilityWatch::GenerationLimit);
    StabilityWatch watch;
    watch.restart(universe, 1);
    watch.follow(1 + StabilityWatch::GenerationLimit);
    QTRY_VERIFY_WITH_TIMEOUT(watch.result() && watch.result()->outcome != Stabilisation::Outcome::Running, 40000);
    QCOMPARE(watch.result()->lines(StabilityWatch::GenerationLimit), said);
}

void TestCensus::agreesWithTheRunHistory_data()
{
    QTest::addColumn<QString>("rule");
    // Blinking and steady live backgrounds, and two-state rules of other neighbourhoods, with them too.
    for (const char *rule : { "B0/S", "B0/S2", "B02/S0", "B0/S012345678", "B01/S01345678", "B2/S34H", "B2/S1V",
             "B3/S23-a", "B36/S23", "B02a/S1", "B012345a78/S01234678", "B02/S1H", "B0/S1V" })
        QTest::newRow(rule) << QString(rule);
}

// Small soups of two states held to the run history, as compareCensusWithHistory() says.
void TestCensus::agreesWithTheRunHistory()
{
    QFETCH(QString, rule);
    std::mt19937 generator(static_cast<unsigned>(qHash(rule)));
    std::bernoulli_distribution live(0.45);
    compareCensusWithHistory(ruleFrom(rule), 400, std::numeric_limits<std::uint64_t>::max(), 5,
        [&] { return static_cast<std::uint8_t>(live(generator)); });
}

QTEST_GUILESS_MAIN(TestCensus)
#include "tst_census.moc"
