#include <QTest>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/textanswer.h"
#include "censushistory.h"
#include "document/stabilitywatch.h"
#include "model/analysis/celllist.h"
#include "model/analysis/censussearch.h"
#include "model/analysis/runhistory.h"
#include "model/analysis/statestabilisation.h"
#include "model/files/pattern.h"
#include "model/files/patternreader.h"
#include "ruletext.h"
#include "warningguard.h"

namespace
{

constexpr std::int64_t Limit = 400;

// The pattern of `rle` in the unbounded plane, every state as the file gives it.
std::unique_ptr<Universe> universeOf(const QByteArray &rle, const Rule &rule)
{
    Pattern pattern;
    std::string error;
    const std::string text = "x = 0, y = 0, rule = " + rule.toString() + "\n" + rle.toStdString();
    if (!PatternReader::read(text, pattern, error))
        qFatal("%s", error.c_str());
    std::unique_ptr<Universe> universe = Universe::create(Topology::unbounded(), rule);
    for (const CellPoint &cell : CellList::of(pattern.cells))
        universe->setState(cell.x, cell.y, 1);
    for (const Pattern::StatedCell &cell : pattern.states)
        universe->setState(cell.x, cell.y, cell.state);
    return universe;
}

QString censusOf(const Universe &universe)
{
    QStringList lines;
    for (const std::string &line : CensusSearch::run(universe, Limit).lines(Limit))
        lines << QString::fromStdString(line).trimmed();
    return lines.join(QLatin1Char('|'));
}

} // namespace

// The census under rules of more than two states: Generations rules, whose
// objects are groups of cells alive or dying, and LifeHistory, counted as Life.
class TestStateStabilisation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { WarningGuard::install(); }
    void namesObjects_data();
    void namesObjects();
    void lifeHistoryCountsAsLife_data();
    void lifeHistoryCountsAsLife();
    void agreesWithTheRunHistory_data();
    void agreesWithTheRunHistory();
    void windowAgreesWithCommandLine_data();
    void windowAgreesWithCommandLine();
};

// Worked out from the rules. Brian's Brain (B2/S/C3): a dead cell with
// exactly two live neighbours is born, a live cell always starts dying and a
// dying one dies. Two live cells side by side with two dying ones below give
// birth to the two cells above them and nothing else: the smallest
// spaceship, moving up a cell a generation. Under B3/S23/C3, Life with one
// dying state, a blinker's ends die and the dying cells cannot be born at
// once, so that it is gone after 4 generations; a block stays.
void TestStateStabilisation::namesObjects_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QByteArray>("rle");
    QTest::addColumn<QString>("census"); // lines split at '|'

    const QString ship = QStringLiteral("period 1 spaceship");
    QTest::newRow("a spaceship") << "B2/S/C3" << QByteArray("2A$2B!")
                                 << "lifespan 0, 4 cells, period 1|1 " + ship
            + " of 2 live and 2 dying cells (escaping)";
    QTest::newRow("spaceships apart") << "B2/S/C3" << QByteArray("2A$2B3$2B$2A!")
                                      << "lifespan 0, 8 cells, period 1|2 " + ship
            + "s of 2 live and 2 dying cells (escaping)";
    // Two cells apart at first: only the next generation they are three.
    QTest::newRow("spaceships close") << "B2/S/C3" << QByteArray("2A$2B2$2B$2A!")
                                      << "lifespan 1, 8 cells, period 1|2 " + ship
            + "s of 2 live and 2 dying cells (escaping)";
    QTest::newRow("a spaceship sideways")
        << "B2/S/C3" << QByteArray("BA$BA!")
        << "lifespan 0, 4 cells, period 1|1 " + ship + " of 2 live and 2 dying cells (escaping)";
    QTest::newRow("a live cell") << "B2/S/C3" << QByteArray("A!") << "dies out, lifespan 2";
    QTest::newRow("a dying cell") << "B2/S/C3" << QByteArray("B!") << "dies out, lifespan 1";
    QTest::newRow("a blinker") << "B3/S23/C3" << QByteArray("A$A$A!") << "dies out, lifespan 4";
    QTest::newRow("a block") << "B3/S23/C3" << QByteArray("2A$2A!")
                             << "lifespan 0, 4 cells, period 1|1 still life of 4 cells";
    QTest::newRow("two blocks") << "B3/S23/C3" << QByteArray("2A3b2A$2A3b2A!")
                                << "lifespan 0, 8 cells, period 1|2 still lifes of 4 cells";
    // The block's dying neighbour dies; a cell dying beside it first keeps a birth away.
    QTest::newRow("a block and a dying cell")
        << "B3/S23/C3" << QByteArray("2AB$2A!") << "lifespan 1, 4 cells, period 1|1 still life of 4 cells";
    // LifeHistory: 1 and 3 live, 2 and 4 what was alive, stepped as Life.
    QTest::newRow("history blinker") << "LifeHistory" << QByteArray("B3AB$5B!")
                                     << "lifespan 0, 3 cells, period 2|1 blinker";
    QTest::newRow("marked block") << "LifeHistory" << QByteArray("2C$2C$2D!")
                                  << "lifespan 0, 4 cells, period 1|1 block";
    QTest::newRow("history alone") << "LifeHistory" << QByteArray("2B$2D!") << "dies out, lifespan 0";
}

void TestStateStabilisation::namesObjects()
{
    QFETCH(QString, rule);
    QFETCH(QByteArray, rle);
    QFETCH(QString, census);
    QCOMPARE(censusOf(*universeOf(rle, ruleFrom(rule))), census);
}

void TestStateStabilisation::lifeHistoryCountsAsLife_data()
{
    QTest::addColumn<QByteArray>("rle");
    QTest::newRow("Gosper gun") << QByteArray("24bo$22bobo$12b2o6b2o12b2o$11bo3bo4b2o12b2o$2o8bo5bo3b2o$"
                                              "2o8bo3bob2o4bobo$10bo5bo7bo$11bo3bo$12b2o!");
    QTest::newRow("R-pentomino") << QByteArray("b2o$2o$bo!");
    QTest::newRow("glider and blinker") << QByteArray("bo5b3o$2bo$3o!");
}

// A Life pattern dressed as LifeHistory, each live cell marked or not and
// the dead cells near it in history states, gives Life's census; a boundary
// cell is refused.
void TestStateStabilisation::lifeHistoryCountsAsLife()
{
    QFETCH(QByteArray, rle);
    const std::unique_ptr<Universe> life = universeOf(rle, Rule());
    const Rule history = ruleFrom(QStringLiteral("LifeHistory"));
    const std::unique_ptr<Universe> dressed = Universe::create(Topology::unbounded(), history);
    std::mt19937 generator(static_cast<unsigned>(qHash(rle)));
    const CellRect box = *life->boundingBox();
    for (std::int64_t y = box.top - 2; y <= box.bottom + 2; ++y) {
        for (std::int64_t x = box.left - 2; x <= box.right + 2; ++x) {
            const std::uint8_t kind = static_cast<std::uint8_t>(generator() % 2);
            dressed->setState(
                x, y, static_cast<std::uint8_t>(life->cell(x, y) ? 1 + 2 * kind : 2 * kind + 2 * (generator() % 2)));
        }
    }
    QCOMPARE(censusOf(*dressed), censusOf(*life));
    dressed->setState(box.right + 3, box.bottom + 3, 6);
    QVERIFY_EXCEPTION_THROWN(CensusSearch::run(*dressed, Limit), UniverseError);
}

void TestStateStabilisation::agreesWithTheRunHistory_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<int>("size"); // of the soup's square
    // Those that explode or die soon in larger soups, and those that leave more in them.
    for (const char *rule : { "B2/S/C3", "345/2/4" })
        QTest::newRow(rule) << QString(rule) << 5;
    for (const char *rule : { "B3/S23/C3", "B2/S34/C4H", "B2/S13/C3V", "B36/S235/C5" })
        QTest::newRow(rule) << QString(rule) << 9;
}

// Small soups in every state held to the run history, as compareCensusWithHistory() says.
void TestStateStabilisation::agreesWithTheRunHistory()
{
    QFETCH(QString, rule);
    QFETCH(int, size);
    const Rule stepRule = ruleFrom(rule);
    std::mt19937 generator(static_cast<unsigned>(qHash(rule)));
    std::uniform_int_distribution<int> state(0, 2 * stepRule.stateCount() - 1);
    // A soup that grows past the census's cells settles neither for the census nor for the history.
    compareCensusWithHistory(stepRule, Limit, StateStabilisation::CellLimit, size,
        [&] { return static_cast<std::uint8_t>(std::max(0, state(generator) - stepRule.stateCount())); });
}

void TestStateStabilisation::windowAgreesWithCommandLine_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QByteArray>("rle");
    QTest::newRow("spaceships") << "B2/S/C3" << QByteArray("2A$2B2$2B$2A!");
    QTest::newRow("block and dying cell") << "B3/S23/C3" << QByteArray("2AB$2A!");
    QTest::newRow("Star Wars soup") << "345/2/4" << QByteArray("A.CB$BAAA$.A.C$AA.A!");
    QTest::newRow("history") << "LifeHistory" << QByteArray("B3AB$5B$2C$2C!");
}

// The window's watch, which looks a slice at a time, says what the command line says.
void TestStateStabilisation::windowAgreesWithCommandLine()
{
    QFETCH(QString, rule);
    QFETCH(QByteArray, rle);
    const std::unique_ptr<Universe> universe = universeOf(rle, ruleFrom(rule));
    const std::vector<std::string> said = TextAnswer::censusLines(*universe, StabilityWatch::GenerationLimit);
    StabilityWatch watch;
    watch.restart(*universe, 1);
    watch.follow(1 + StabilityWatch::GenerationLimit);
    QTRY_VERIFY_WITH_TIMEOUT(watch.result() && watch.result()->outcome != Stabilisation::Outcome::Running, 40000);
    QCOMPARE(watch.result()->lines(StabilityWatch::GenerationLimit), said);
}

QTEST_GUILESS_MAIN(TestStateStabilisation)
#include "tst_statestabilisation.moc"
