#include <QTest>

#include <atomic>
#include <limits>
#include <random>
#include <string>

#include "model/edit/universechange.h"
#include "model/engine/backgrounduniverse.h"
#include "model/engine/griduniverse.h"
#include "model/files/macrocell.h"
#include "ruletext.h"
#include "warningguard.h"

// The unbounded plane under birth on 0 against a bounded plane so large that
// what its edge does to the background cannot reach the cells compared.
class TestBackgroundUniverse : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { WarningGuard::install(); }
    void derivesTheSteppedRules_data();
    void derivesTheSteppedRules();
    void stepsAsALargePlane_data();
    void stepsAsALargePlane();
    void jumpsAsItSteps_data();
    void jumpsAsItSteps();
    void stopsAndComparesAsAWhole();
    void refusesRulesOfMoreStates();
};

void TestBackgroundUniverse::derivesTheSteppedRules_data()
{
    // Worked out by hand: under a dead background NOT R, under a live one
    // R(NOT y) or, with S8, NOT R(NOT y), a count c read as 8 - c.
    QTest::addColumn<QString>("rule");
    QTest::addColumn<bool>("alive");
    QTest::addColumn<QString>("stepped");
    QTest::addColumn<bool>("next");
    QTest::newRow("B01/S dead") << "B01/S" << false << "B2345678/S012345678" << true;
    QTest::newRow("B01/S alive") << "B01/S" << true << "B/S78" << false;
    QTest::newRow("B0/S8 alive") << "B0/S8" << true << "B12345678/S01234567" << true;
    QTest::newRow("B0123478/S34678 dead") << "B0123478/S34678" << false << "B56/S0125" << true;
    QTest::newRow("B0123478/S34678 alive") << "B0123478/S34678" << true << "B3678/S23" << true;
    QTest::newRow("Life dead") << "B3/S23" << false << "B3/S23" << false;
    QTest::newRow("Life alive") << "B3/S23" << true << "B56/S5" << false;
    // The other neighbourhoods read a count c as 6 - c or 4 - c; a shape's
    // complement has the letter of the shape (2a and 6a).
    QTest::newRow("B0/S1V dead") << "B0/S1V" << false << "B1234/S0234V" << true;
    QTest::newRow("B0/S1V alive") << "B0/S1V" << true << "B3/S4V" << false;
    QTest::newRow("B02/S3H dead") << "B02/S3H" << false << "B13456/S012456H" << true;
    QTest::newRow("B02/S3H alive") << "B02/S3H" << true << "B3/S46H" << false;
    QTest::newRow("B02a/S1 dead") << "B02a/S1" << false << "B12-a345678/S02345678" << true;
    QTest::newRow("B02a/S1 alive") << "B02a/S1" << true << "B7/S6a8" << false;
    QTest::newRow("B0/S2-i8 alive") << "B0/S2-i8" << true << "B123456i78/S01234567" << true;
    QTest::newRow("B2o/S2-p34mH alive") << "B2o/S2-p34mH" << true << "B2m34-p/S4oH" << false;
}

void TestBackgroundUniverse::derivesTheSteppedRules()
{
    QFETCH(QString, rule);
    QFETCH(bool, alive);
    QFETCH(QString, stepped);
    QFETCH(bool, next);
    QCOMPARE(QString::fromStdString(BackgroundUniverse::steppedRule(ruleFrom(rule), alive).toString()), stepped);
    QCOMPARE(BackgroundUniverse::nextBackground(ruleFrom(rule), alive), next);
}

void TestBackgroundUniverse::stepsAsALargePlane_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<double>("density");
    // Life-like rules, then blinking and steady backgrounds of the other
    // two-state families. An empty pattern and one of all but a few cells
    // are edge cases: the whole of the plane is background.
    for (const char *rule : { "B0/S8", "B01/S", "B03/S23", "B036/S1234", "B0123478/S34678", "B0/S", "B3/S23", "B02a/S1",
             "B0/S2-i8", "B013-a/S4i8", "B02/S3H", "B0134/S2o56H", "B0/S1V", "B02/S14V" }) {
        QTest::newRow((std::string(rule) + " soup").c_str()) << QString(rule) << 0.35;
        QTest::newRow((std::string(rule) + " sparse").c_str()) << QString(rule) << 0.04;
        QTest::newRow((std::string(rule) + " holes").c_str()) << QString(rule) << 0.97;
    }
    QTest::newRow("B02a/S1 empty") << "B02a/S1" << 0.0;
    QTest::newRow("B0/S2-i8 full") << "B0/S2-i8" << 1.0;
}

void TestBackgroundUniverse::stepsAsALargePlane()
{
    QFETCH(QString, rule);
    QFETCH(double, density);
    const Rule stepRule = ruleFrom(rule);
    // A pattern of Size x Size cells, stepped Steps generations in jumps of
    // 1, 2, 3, ..., on a plane with room for Steps generations of the edge's
    // influence and of the pattern's growth on each side.
    constexpr std::int64_t Size = 20;
    constexpr std::int64_t Steps = 28;
    constexpr std::int64_t Side = Size + 4 * Steps + 4;
    constexpr std::int64_t Corner = (Side - Size) / 2;
    GridUniverse grid(Topology::plane(Side, Side), stepRule);
    const std::unique_ptr<Universe> plane = Universe::create(Topology::unbounded(), stepRule);
    QVERIFY(dynamic_cast<BackgroundUniverse *>(plane.get()) != nullptr || (stepRule.birthCounts() & 1U) == 0);
    std::mt19937 generator(static_cast<unsigned>(qHash(rule) + density * 100));
    std::bernoulli_distribution live(density);
    for (std::int64_t y = 0; y < Size; ++y) {
        for (std::int64_t x = 0; x < Size; ++x) {
            if (live(generator)) {
                grid.setCell(Corner + x, Corner + y, true);
                plane->setCell(x - Size / 2, y - Size / 2, true);
            }
        }
    }
    const std::int64_t dx = Corner + Size / 2;
    const std::int64_t dy = Corner + Size / 2;
    std::int64_t generation = 0;
    for (std::int64_t jump = 1; generation + jump <= Steps; ++jump) {
        grid.advance(static_cast<std::uint64_t>(jump));
        plane->advance(static_cast<std::uint64_t>(jump));
        generation += jump;
        // Cells further than `generation` from the edge are as in the unbounded plane.
        const CellRect window { generation + 1 - dx, generation + 1 - dy, Side - generation - 2 - dx,
            Side - generation - 2 - dy };
        const bool background = grid.cell(generation + 1, generation + 1);
        QCOMPARE(plane->backgroundAlive(), background);
        std::uint64_t differing = 0;
        std::uint64_t live = 0;
        for (std::int64_t y = window.top; y <= window.bottom; ++y) {
            for (std::int64_t x = window.left; x <= window.right; ++x) {
                const bool cell = grid.cell(x + dx, y + dy);
                if (plane->cell(x, y) != cell)
                    QFAIL(qPrintable(QString("generation %1: cell %2,%3").arg(generation).arg(x).arg(y)));
                differing += cell != background ? 1 : 0;
                live += cell ? 1 : 0;
            }
        }
        QCOMPARE(plane->population(), differing);
        std::uint64_t visited = 0;
        plane->forEachLiveCell(
            window, [&](std::int64_t x, std::int64_t y) { visited += grid.cell(x + dx, y + dy) ? 1 : 0; });
        QCOMPARE(visited, live);
        // Pixels of one and of 2 x 2 cells as the grid draws the same cells.
        for (const int shift : { 0, 1 }) {
            const int pixels = static_cast<int>((window.right - window.left + 1) >> shift);
            std::vector<std::uint8_t> drawn(static_cast<std::size_t>(pixels * pixels));
            std::vector<std::uint8_t> expected(drawn.size());
            plane->render(window, shift, drawn.data(), pixels, pixels, pixels);
            const CellRect gridWindow { window.left + dx, window.top + dy, window.right + dx, window.bottom + dy };
            grid.render(gridWindow, shift, expected.data(), pixels, pixels, pixels);
            QVERIFY2(drawn == expected, qPrintable(QString("generation %1, shift %2").arg(generation).arg(shift)));
        }
    }
}

void TestBackgroundUniverse::jumpsAsItSteps_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<double>("density");
    for (const char *rule : { "B0/S", "B013/S2", "B02a/S1", "B02/S3H", "B0/S1V" }) {
        QTest::newRow((std::string(rule) + " soup").c_str()) << QString(rule) << 0.4;
        QTest::newRow((std::string(rule) + " sparse").c_str()) << QString(rule) << 0.03;
    }
    QTest::newRow("B0/S empty") << "B0/S" << 0.0;
}

// Under a blinking background a long jump runs the two stepped rules in
// turn in a quadtree, a short one steps them on their own engine one
// generation at a time: odd and even jumps from either background agree
// with single steps, as do those of a quadtree given the pair directly.
// Files hold the cells of a dead background.
void TestBackgroundUniverse::jumpsAsItSteps()
{
    QFETCH(QString, rule);
    QFETCH(double, density);
    const Rule stepRule = ruleFrom(rule);
    std::mt19937 generator(static_cast<unsigned>(qHash(rule) + density * 100));
    std::bernoulli_distribution live(density);
    BackgroundUniverse jumping(stepRule);
    for (std::int64_t y = 0; y < 16; ++y) {
        for (std::int64_t x = 0; x < 16; ++x)
            jumping.setCell(x - 8, y, live(generator));
    }
    BackgroundUniverse stepping(jumping);
    HashLife pair(BackgroundUniverse::steppedRule(stepRule, false));
    if (stepRule.isLifeLike()) {
        pair = jumping.differences().quadtree();
        pair.setRules(
            BackgroundUniverse::steppedRule(stepRule, false), BackgroundUniverse::steppedRule(stepRule, true));
    }
    std::int64_t generation = 0;
    for (const std::uint64_t jump : { 65, 64, 1, 131, 3, 64 }) {
        jumping.advance(jump);
        pair.advance(jump);
        for (std::uint64_t i = 0; i < jump; ++i)
            stepping.advance(1);
        generation += static_cast<std::int64_t>(jump);
        QVERIFY2(jumping.equals(stepping), qPrintable(QString("generation %1").arg(generation)));
        QCOMPARE(jumping.backgroundAlive(), generation % 2 != 0);
        QCOMPARE(jumping.hash(), stepping.hash());
        if (stepRule.isLifeLike()) {
            QVERIFY(stepping.differences().equals(pair));
            QCOMPARE(pair.rule(), BackgroundUniverse::steppedRule(stepRule, generation % 2 != 0));
        }
    }
    // The background is dead again: a macrocell file holds the cells, which read back step on as they would have.
    MacrocellContent content;
    std::string error;
    QVERIFY2(Macrocell::read(
                 Macrocell::write(jumping.differences().quadtree(), stepRule, generation, "", {}), content, error),
        error.c_str());
    QVERIFY(content.rule && *content.rule == stepRule);
    BackgroundUniverse again(UnboundedUniverse(content.universe), stepRule);
    again.advance(3);
    jumping.advance(3);
    QVERIFY(again.equals(jumping) && again.backgroundAlive());
}

void TestBackgroundUniverse::stopsAndComparesAsAWhole()
{
    BackgroundUniverse plane(ruleFrom("B01/S"));
    plane.setCell(3, 4, true);
    const std::unique_ptr<Universe> before = plane.clone();
    std::atomic<bool> stop { true };
    QVERIFY(!plane.advanceUnless(5, stop));
    QVERIFY(plane.equals(*before));
    QCOMPARE(plane.hash(), before->hash());

    // One generation: the background lives, and the same differences on a dead one are another universe.
    plane.advance(1);
    QVERIFY(plane.backgroundAlive());
    BackgroundUniverse dead(plane.differences(), ruleFrom("B01/S"));
    QVERIFY(!plane.equals(dead));
    QVERIFY(!dead.equals(plane));
    QVERIFY(!plane.differences().equals(plane));
    QVERIFY(plane.hash() != dead.hash());
    const std::unique_ptr<Universe> copy = plane.clone();
    QVERIFY(copy->equals(plane));
    QCOMPARE(copy->hash(), plane.hash());

    // Moved into a torus, the live background fills it but for the one dead cell; the rest is lost.
    const UniverseChange change(Topology::unbounded(), Topology::torus(10, 10));
    QCOMPARE(change.lostCells(plane), std::numeric_limits<std::uint64_t>::max());
    GridUniverse torus(Topology::torus(10, 10), ruleFrom("B01/S"));
    change.copy(plane, torus);
    QCOMPARE(torus.population(), std::uint64_t(99));
    QVERIFY(!torus.cell(3 + 5, 4 + 5));

    // Keeping an area alone leaves its cells on a dead background.
    const CellRect area { 0, 0, 9, 9 };
    std::uint64_t live = 0;
    plane.forEachLiveCell(area, [&live](std::int64_t, std::int64_t) { ++live; });
    plane.clearOutside(area);
    QVERIFY(!plane.backgroundAlive());
    QCOMPARE(plane.population(), live);
    QVERIFY(!plane.cell(3, 4) && plane.cell(0, 0) && !plane.cell(-1, 0));
    plane.clearInside({ 0, 0, 4, 9 });
    QCOMPARE(plane.population(), live - 49);
    plane.clear();
    QCOMPARE(plane.population(), std::uint64_t(0));
}

// A background under a Generations rule would age through the dying states,
// which differences of one kind cannot hold: refused, the plane unchanged.
void TestBackgroundUniverse::refusesRulesOfMoreStates()
{
    QVERIFY_EXCEPTION_THROWN(Universe::create(Topology::unbounded(), ruleFrom("B0/S/C3")), UniverseError);
    std::unique_ptr<Universe> plane = Universe::create(Topology::unbounded(), ruleFrom("B0/S1V"));
    plane->setCell(1, 2, true);
    plane->advance(1);
    QVERIFY(plane->backgroundAlive());
    for (const char *rule : { "B0/S/C3", "LifeHistory", "B2/S/C3" }) {
        try {
            BackgroundUniverse::applyRule(plane, ruleFrom(rule));
            QFAIL(rule);
        } catch (const UniverseError &error) {
            QVERIFY2(std::string(error.what()).find("only in rules of two states") != std::string::npos, error.what());
        }
        QCOMPARE(plane->rule(), ruleFrom("B0/S1V"));
        QVERIFY(plane->backgroundAlive() && !plane->cell(1, 2) && plane->cell(10, 2));
    }
}

QTEST_GUILESS_MAIN(TestBackgroundUniverse)
#include "tst_backgrounduniverse.moc"
