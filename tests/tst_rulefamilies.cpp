#include <QTest>

#include <map>
#include <optional>
#include <random>
#include <string>
#include <utility>

#include "model/engine/griduniverse.h"
#include "model/engine/neighbourshapes.h"
#include "model/engine/rule.h"
#include "model/engine/stategrid.h"
#include "model/engine/universe.h"
#include "ruletext.h"
#include "warningguard.h"

namespace
{

using Cells = std::map<std::pair<std::int64_t, std::int64_t>, int>;

// "x,y" or "x,y:state" items apart by blanks.
Cells cellsFrom(const QString &text)
{
    Cells cells;
    for (const QString &item : text.split(' ', Qt::SkipEmptyParts)) {
        const QStringList place = item.split(':');
        const QStringList xy = place[0].split(',');
        cells[{ xy[0].toLongLong(), xy[1].toLongLong() }] = place.size() > 1 ? place[1].toInt() : 1;
    }
    return cells;
}

Cells cellsOf(const Universe &universe)
{
    Cells cells;
    universe.forEachCell(
        Universe::extent(universe.topology()), [&cells](std::int64_t x, std::int64_t y, std::uint8_t state) {
            cells[{ x, y }] = state;
        });
    return cells;
}

// One generation written straight from the rules' definitions, a cell at a
// time: the neighbours looked up by direction, each family's states apart.
// Only whether a shape of live neighbours gives birth or survival is asked
// of the rule.
std::vector<std::uint8_t> referenceStep(
    const std::vector<std::uint8_t> &cells, std::int64_t width, std::int64_t height, bool torus, const Rule &rule)
{
    const auto live = [&](std::int64_t x, std::int64_t y) {
        if (torus) {
            x = (x % width + width) % width;
            y = (y % height + height) % height;
        } else if (x < 0 || y < 0 || x >= width || y >= height) {
            return false;
        }
        const std::uint8_t state = cells[static_cast<std::size_t>(y * width + x)];
        return rule.isHistory() ? state % 2 == 1 : state == 1;
    };
    // Directions in the order of the neighbourhood's bits.
    const int directions[8][2]
        = { { -1, -1 }, { 0, -1 }, { 1, -1 }, { -1, 0 }, { 1, 0 }, { -1, 1 }, { 0, 1 }, { 1, 1 } };
    std::vector<std::uint8_t> next(cells.size());
    for (std::int64_t y = 0; y < height; ++y) {
        for (std::int64_t x = 0; x < width; ++x) {
            unsigned around = 0;
            for (int d = 0; d < 8; ++d)
                around |= live(x + directions[d][0], y + directions[d][1]) ? 1U << d : 0U;
            const bool born = rule.next(0, around) != 0;
            const bool survives = rule.next(1, around) == 1;
            const std::uint8_t now = cells[static_cast<std::size_t>(y * width + x)];
            std::uint8_t after = 0;
            if (rule.isHistory()) {
                const bool alive = now % 2 == 1;
                if (now == 6)
                    after = 6;
                else if (alive)
                    after = survives ? now : now == 3 ? 4 : 2;
                else
                    after = !born ? now : now == 4 ? 3 : 1;
            } else if (now == 0) {
                after = born ? 1 : 0;
            } else if (now == 1 && survives) {
                after = 1;
            } else {
                after = now + 1 < rule.stateCount() ? now + 1 : 0;
            }
            next[static_cast<std::size_t>(y * width + x)] = after;
        }
    }
    return next;
}

} // namespace

Q_DECLARE_METATYPE(Topology)

// The families of rules beyond Life-like ones: patterns whose futures were
// worked out by hand from each rule's definition, and the grid engine against
// a plain cell-by-cell step on random states.
class TestRuleFamilies : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { WarningGuard::install(); }
    void shapesSplitEveryNeighbourhood();
    void stepsAsWorkedOut_data();
    void stepsAsWorkedOut();
    void stepsAsThePlainStep_data();
    void stepsAsThePlainStep();
    void keepsStatesAcrossRulesAndCopies();
    void enginesOfTwoStatesRefuse();
};

void TestRuleFamilies::shapesSplitEveryNeighbourhood()
{
    // Each count's shapes, one letter each, cover every neighbourhood of the
    // count once; turning or mirroring a neighbourhood keeps its letter.
    using Neighbourhood = NeighbourShapes::Neighbourhood;
    const int shapesPerCount[2][9] = { { 1, 2, 6, 10, 13, 10, 6, 2, 1 }, { 1, 1, 3, 3, 3, 1, 1, 0, 0 } };
    for (const Neighbourhood neighbourhood : { Neighbourhood::Moore, Neighbourhood::Hexagonal }) {
        const int row = neighbourhood == Neighbourhood::Moore ? 0 : 1;
        for (int count = 0; count <= NeighbourShapes::size(neighbourhood); ++count) {
            std::map<char, int> seen;
            for (unsigned bits = 0; bits < 256; ++bits) {
                if ((bits & ~NeighbourShapes::mask(neighbourhood)) == 0 && __builtin_popcount(bits) == count)
                    ++seen[NeighbourShapes::letter(neighbourhood, bits)];
            }
            const std::string letters = NeighbourShapes::letters(neighbourhood, count);
            QCOMPARE(static_cast<int>(seen.size()), shapesPerCount[row][count]);
            for (const auto &[letter, times] : seen)
                QVERIFY(letters.empty() ? letter == 0 : letters.find(letter) != std::string::npos);
        }
    }
    // A corner and the edge beside it, turned and mirrored all ways round.
    for (const unsigned bits : { 0x03U, 0x06U, 0x09U, 0x14U, 0x28U, 0x60U, 0xC0U, 0x90U })
        QCOMPARE(NeighbourShapes::letter(NeighbourShapes::Neighbourhood::Moore, bits), 'a');
}

void TestRuleFamilies::stepsAsWorkedOut_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("generations");
    QTest::addColumn<QString>("expected");

    // Two live cells with two dying ones behind: every cell ahead has two
    // live neighbours and the dying ones block the births behind.
    QTest::newRow("Brian's Brain ship") << "B2/S/C3"
                                        << "5,5 5,6 4,5:2 4,6:2" << 2 << "7,5 7,6 6,5:2 6,6:2";
    QTest::newRow("Star Wars, a lone cell ages") << "B2/S345/C4"
                                                 << "5,5" << 2 << "5,5:3";
    QTest::newRow("Star Wars, and is gone") << "B2/S345/C4"
                                            << "5,5" << 3 << "";
    // Life's glider, its birth at (0, 1) being of two corners on a side and
    // the edge beside one of them (3r), left out.
    QTest::newRow("glider without 3r") << "B3-r/S23"
                                       << "5,4 6,5 4,6 5,6 6,6" << 1 << "6,5 5,6 6,6 5,7";
    QTest::newRow("glider in Life") << "B3/S23"
                                    << "5,4 6,5 4,6 5,6 6,6" << 1 << "4,5 6,5 5,6 6,6 5,7";
    QTest::newRow("pair, births on corner and edge") << "B2a/S"
                                                     << "5,5 6,5" << 1 << "5,4 6,4 5,6 6,6";
    QTest::newRow("pair, every other shape of two") << "B2-a/S"
                                                    << "5,5 6,5" << 1 << "";
    // Neighbours to the north-west and south-east but not north-east and
    // south-west: a pair flips across the hexagonal diagonal and back.
    QTest::newRow("hexagonal oscillator") << "B2/SH"
                                          << "5,5 6,5" << 1 << "5,4 6,6";
    QTest::newRow("hexagonal oscillator, back") << "B2/SH"
                                                << "5,5 6,5" << 2 << "5,5 6,5";
    QTest::newRow("von Neumann cross") << "B1/SV"
                                       << "5,5" << 1 << "5,4 4,5 6,5 5,6";
    QTest::newRow("von Neumann, farther") << "B1/SV"
                                          << "5,5" << 2 << "5,3 3,5 7,5 5,7";
    // A blinker with a marked end, a boundary cell and a marked dead cell.
    QTest::newRow("LifeHistory blinker") << "LifeHistory"
                                         << "4,5:3 5,5 6,5 0,0:6 9,9:4" << 1 << "5,4 5,5 5,6 4,5:4 6,5:2 0,0:6 9,9:4";
    QTest::newRow("LifeHistory blinker, back")
        << "LifeHistory"
        << "4,5:3 5,5 6,5 0,0:6 9,9:4" << 2 << "4,5:3 5,5 6,5 5,4:2 5,6:2 0,0:6 9,9:4";
}

void TestRuleFamilies::stepsAsWorkedOut()
{
    QFETCH(QString, rule);
    QFETCH(QString, start);
    QFETCH(int, generations);
    QFETCH(QString, expected);

    for (const Topology &topology : { Topology::plane(12, 12), Topology::torus(12, 12) }) {
        GridUniverse universe(topology, ruleFrom(rule));
        for (const auto &[place, state] : cellsFrom(start))
            universe.setState(place.first, place.second, static_cast<std::uint8_t>(state));
        universe.advance(static_cast<std::uint64_t>(generations));
        QCOMPARE(cellsOf(universe), cellsFrom(expected));
    }
}

void TestRuleFamilies::stepsAsThePlainStep_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<Topology>("topology");

    const char *const rules[] = { "B2/S/C3", "B2/S345/C4", "B3/S23/C256", "B37/S2-i34q", "B2-ac3ai/S1c2-n3-aky4a",
        "B0/S2-i8", "B2/S34H", "B2o/S2-p34mH", "B1/S1V", "B13/S024/C5V", "LifeHistory" };
    const Topology topologies[] = { Topology::plane(37, 29), Topology::torus(70, 9), Topology::torus(1, 5),
        Topology::torus(2, 2), Topology::plane(1, 1) };
    for (const char *rule : rules) {
        for (const Topology &topology : topologies) {
            QTest::addRow("%s on %s %lldx%lld", rule, topology.kind() == Topology::Kind::Torus ? "torus" : "plane",
                static_cast<long long>(topology.width()), static_cast<long long>(topology.height()))
                << rule << topology;
        }
    }
}

void TestRuleFamilies::stepsAsThePlainStep()
{
    QFETCH(QString, rule);
    QFETCH(Topology, topology);

    const Rule stepping = ruleFrom(rule);
    const bool torus = topology.kind() == Topology::Kind::Torus;
    std::mt19937 random(static_cast<unsigned>(qHash(QString(QTest::currentDataTag()))));
    for (const double density : { 0.1, 0.5, 0.9 }) {
        GridUniverse universe(topology, stepping);
        std::vector<std::uint8_t> cells(static_cast<std::size_t>(topology.width() * topology.height()));
        std::bernoulli_distribution occupied(density);
        std::uniform_int_distribution<int> state(1, stepping.stateCount() - 1);
        for (std::int64_t y = 0; y < topology.height(); ++y) {
            for (std::int64_t x = 0; x < topology.width(); ++x) {
                const auto value = static_cast<std::uint8_t>(occupied(random) ? state(random) : 0);
                cells[static_cast<std::size_t>(y * topology.width() + x)] = value;
                universe.setState(x, y, value);
            }
        }
        for (int generation = 1; generation <= 12; ++generation) {
            cells = referenceStep(cells, topology.width(), topology.height(), torus, stepping);
            universe.advance(1);
            for (std::int64_t y = 0; y < topology.height(); ++y) {
                for (std::int64_t x = 0; x < topology.width(); ++x) {
                    if (universe.state(x, y) != cells[static_cast<std::size_t>(y * topology.width() + x)])
                        QFAIL(qPrintable(QStringLiteral("generation %1, density %2: cell %3 %4 is %5, not %6")
                                             .arg(generation)
                                             .arg(density)
                                             .arg(x)
                                             .arg(y)
                                             .arg(universe.state(x, y))
                                             .arg(cells[static_cast<std::size_t>(y * topology.width() + x)])));
                }
            }
        }
    }
}

void TestRuleFamilies::keepsStatesAcrossRulesAndCopies()
{
    GridUniverse universe(Topology::torus(20, 10), ruleFrom("B2/S345/C4"));
    universe.setState(3, 3, 1);
    universe.setState(4, 3, 2);
    universe.setState(5, 3, 3);
    const std::unique_ptr<Universe> copy = universe.clone();
    QCOMPARE(cellsOf(*copy), cellsFrom("3,3 4,3:2 5,3:3"));
    QVERIFY(copy->equals(universe) && copy->hash() == universe.hash());
    copy->setState(5, 3, 2);
    QVERIFY(!copy->equals(universe) && copy->hash() != universe.hash());
    QCOMPARE(universe.population(), std::uint64_t(3));

    // Pasting keeps the states; toggling kills what is there and sets what is not.
    GridUniverse target(Topology::torus(20, 10), ruleFrom("B2/S345/C4"));
    target.setState(4, 3, 1);
    target.combine(universe, CellRect { 0, 0, 19, 9 }, Universe::Combination::Xor);
    QCOMPARE(cellsOf(target), cellsFrom("3,3 5,3:3"));
    target.combine(universe, CellRect { 4, 0, 19, 9 }, Universe::Combination::Or);
    QCOMPARE(cellsOf(target), cellsFrom("3,3 4,3:2 5,3:3"));

    // Fewer states: the dying ones beyond them go, the live one stays; Life
    // keeps the live cells in bits, and back.
    universe.setRule(ruleFrom("B2/S/C3"));
    QCOMPARE(cellsOf(universe), cellsFrom("3,3 4,3:2"));
    universe.setRule(Rule());
    QCOMPARE(cellsOf(universe), cellsFrom("3,3"));
    universe.setRule(ruleFrom("LifeHistory"));
    universe.setState(7, 7, 4);
    universe.setRule(ruleFrom("B2/S/C3"));
    QCOMPARE(cellsOf(universe), cellsFrom("3,3"));
}

void TestRuleFamilies::enginesOfTwoStatesRefuse()
{
    const std::pair<const char *, const char *> families[]
        = { { "B2/S/C3", "Generations rule" }, { "B2a/S12", "non-totalistic rule" },
              { "B2/S34/C3H", "hexagonal Generations rule" }, { "LifeHistory", "LifeHistory rule" } };
    for (const auto &[rule, family] : families) {
        try {
            Universe::create(Topology::classic(), ruleFrom(rule));
            QFAIL("a rule not Life-like was taken");
        } catch (const UniverseError &error) {
            const QString message = error.what();
            QVERIFY2(message.contains(rule) && message.contains(family) && message.contains("torus"), error.what());
        }
        const std::unique_ptr<Universe> universe = Universe::create(Topology::classic());
        QVERIFY_EXCEPTION_THROWN(universe->setRule(ruleFrom(rule)), UniverseError);
        QVERIFY(universe->rule() == Rule());
        // The unbounded plane runs them on an engine of states.
        QVERIFY(Universe::create(Topology::unbounded(), ruleFrom(rule))->rule() == ruleFrom(rule));
    }
    // The grid's own two engines agree on Life, bits and bytes, on every kind of surface.
    std::mt19937 random(11);
    for (const char *suffix : { "T53,31", "P53,31", "T53+7,31", "K53*,31", "K53,31*", "C53,31", "S37" }) {
        Rule life;
        std::optional<Topology> shape;
        std::string error;
        QVERIFY2(Rule::read(std::string("B3/S23:") + suffix, life, shape, error), error.c_str());
        const CellRect all = Universe::extent(*shape);
        StateGrid bytes(*shape);
        GridUniverse bits(*shape);
        bits.fillRandom(all, 0.4, random());
        bits.forEachLiveCell(all, [&bytes](std::int64_t x, std::int64_t y) { bytes.setState(x, y, 1); });
        for (int generation = 0; generation < 20; ++generation) {
            bits.advance(1);
            bytes.step(Rule());
        }
        Cells fromBytes;
        bytes.forEachCell(all, [&fromBytes](std::int64_t x, std::int64_t y, std::uint8_t state) {
            fromBytes[{ x, y }] = state;
        });
        QVERIFY2(cellsOf(bits) == fromBytes, suffix);
    }
}

QTEST_GUILESS_MAIN(TestRuleFamilies)
#include "tst_rulefamilies.moc"
