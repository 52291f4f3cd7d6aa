#include <QTest>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "model/analysis/celllist.h"
#include "model/analysis/census.h"
#include "model/analysis/objectlibrary.h"
#include "model/analysis/stabilisation.h"
#include "model/files/pattern.h"
#include "model/files/patternreader.h"
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
    const Stabilisation::Result &result = stabilisation.run(1000);
    QCOMPARE(result.outcome, Stabilisation::Outcome::Stable);
    QCOMPARE(result.lifespan(), std::int64_t(std::max(0, lifespan - later)));
    QCOMPARE(result.stableSince, std::int64_t(1 + std::max(lifespan, later)));
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

QTEST_GUILESS_MAIN(TestCensus)
#include "tst_census.moc"
