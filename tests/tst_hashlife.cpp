#include <QTest>

#include <algorithm>
#include <atomic>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "model/engine/hashlife.h"
#include "model/engine/nodestore.h"
#include "model/engine/rule.h"
#include "model/engine/tilelife.h"
#include "model/engine/unboundeduniverse.h"
#include "model/files/macrocell.h"
#include "warningguard.h"

namespace
{

Rule ruleNamed(const char *text)
{
    Rule rule;
    std::string error;
    if (!Rule::read(text, rule, error))
        qFatal("%s", error.c_str());
    return rule;
}

std::vector<CellPoint> soup(int size, int percent, std::int64_t left, std::int64_t top, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<CellPoint> cells;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (static_cast<int>(random() % 100) < percent)
                cells.push_back({ left + x, top + y });
        }
    }
    return cells;
}

// Live cells in the order forEachLiveCell promises: row by row, each from the left.
std::vector<CellPoint> sorted(std::vector<CellPoint> cells)
{
    std::sort(cells.begin(), cells.end(),
        [](const CellPoint &a, const CellPoint &b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
    cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
    return cells;
}

std::vector<CellPoint> cellsOf(const Universe &universe)
{
    std::vector<CellPoint> cells;
    if (const std::optional<CellRect> box = universe.boundingBox())
        universe.forEachLiveCell(*box, [&](std::int64_t x, std::int64_t y) { cells.push_back({ x, y }); });
    return cells;
}

// The next generation by counting every cell's neighbours, as the rule is written.
std::vector<CellPoint> countedNext(const std::vector<CellPoint> &cells, const Rule &rule)
{
    std::vector<CellPoint> candidates;
    for (const CellPoint &cell : cells) {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx)
                candidates.push_back({ cell.x + dx, cell.y + dy });
        }
    }
    const auto alive = [&cells](const CellPoint &at) {
        return std::binary_search(cells.begin(), cells.end(), at,
            [](const CellPoint &a, const CellPoint &b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
    };
    std::vector<CellPoint> next;
    for (const CellPoint &at : sorted(candidates)) {
        int neighbours = 0;
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx)
                neighbours += (dx != 0 || dy != 0) && alive({ at.x + dx, at.y + dy });
        }
        if (rule.nextState(alive(at), neighbours))
            next.push_back(at);
    }
    return next;
}

const std::vector<CellPoint> glider { { 1, 0 }, { 2, 1 }, { 0, 2 }, { 1, 2 }, { 2, 2 } }; // moves right and down
const std::vector<CellPoint> rPentomino { { 1, 0 }, { 2, 0 }, { 0, 1 }, { 1, 1 }, { 1, 2 } };

std::vector<CellPoint> moved(std::vector<CellPoint> cells, std::int64_t dx, std::int64_t dy)
{
    for (CellPoint &cell : cells)
        cell = { cell.x + dx, cell.y + dy };
    return cells;
}

} // namespace

Q_DECLARE_METATYPE(std::vector<CellPoint>)
Q_DECLARE_METATYPE(std::vector<std::uint64_t>)

// The unbounded plane's engines against a plain neighbour count and against
// each other, at the limits of coordinates and memory, and its macrocell files.
class TestHashLife : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { WarningGuard::install(); }
    void stepsAsCounted_data();
    void stepsAsCounted();
    void jumpsOfAnyLength();
    void unboundedSwitchesEngines();
    void cellsSetInBatches_data();
    void cellsSetInBatches();
    void gliderTravels_data();
    void gliderTravels();
    void edgeOfThePlane();
    void viewsOfTheCells();
    void copiesAreIndependent();
    void memoryLimit();
    void collectingMidJump_data();
    void collectingMidJump();
    void macrocellRoundTrip();
    void macrocellRefused_data();
    void macrocellRefused();
};

void TestHashLife::stepsAsCounted_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<int>("percent"); // of the soup's cells alive
    QTest::newRow("Conway") << "B3/S23" << 40;
    // Seven and eight neighbours, which sparse soups seldom give.
    QTest::newRow("Conway, dense") << "B3/S23" << 90;
    QTest::newRow("HighLife") << "B36/S23" << 40;
    QTest::newRow("survival on 8") << "B3/S2378" << 40;
    QTest::newRow("birth on 1") << "B1/S12" << 40;
    QTest::newRow("Seeds") << "B2/S" << 40;
    // Counts of 0 and 8 and every parity, through the leaf step's general decision.
    QTest::newRow("odd birth, even survival") << "B1357/S02468" << 40;
    QTest::newRow("birth on 8, survival alone, dense") << "B368/S0" << 90;
}

// Single steps and every jump from the start against the plain count, on a
// soup across the origin, so that leaves, tiles and signs all meet.
void TestHashLife::stepsAsCounted()
{
    QFETCH(QString, rule);
    QFETCH(int, percent);
    const Rule stepRule = ruleNamed(rule.toLatin1().constData());
    std::vector<CellPoint> expected = sorted(soup(24, percent, -13, -70, 7));
    HashLife start(stepRule);
    start.setCells(expected);
    HashLife stepped(start);
    TileLife tiles(stepRule);
    tiles.setCells(expected);
    QCOMPARE(cellsOf(start), expected);
    for (int generation = 1; generation <= 40; ++generation) {
        expected = countedNext(expected, stepRule);
        stepped.advance(1);
        tiles.advance(1);
        HashLife jumped(start);
        jumped.advance(static_cast<std::uint64_t>(generation));
        QCOMPARE(cellsOf(stepped), expected);
        QCOMPARE(cellsOf(tiles), expected);
        QVERIFY2(jumped.equals(stepped), qPrintable(QString("jump to %1").arg(generation)));
        QCOMPARE(tiles.population(), stepped.population());
        QCOMPARE(tiles.boundingBox(), stepped.boundingBox());
    }
}

// A million and three generations of the R-pentomino, cut three ways, and its
// ash against the tiles' count, generation by generation, to 1105.
void TestHashLife::jumpsOfAnyLength()
{
    HashLife start;
    start.setCells(rPentomino);
    HashLife whole(start);
    whole.advance(1000003);
    HashLife parts(start);
    parts.advance(1000000);
    for (int i = 0; i < 3; ++i)
        parts.advance(1);
    HashLife halves(start);
    halves.advance(std::uint64_t(1) << 19);
    halves.advance(1000003 - (std::uint64_t(1) << 19));
    QVERIFY(whole.equals(parts));
    QVERIFY(whole.equals(halves));
    QCOMPARE(whole.hash(), halves.hash());

    TileLife tiles;
    tiles.setCells(rPentomino);
    tiles.advance(1105);
    QCOMPARE(whole.population(), tiles.population()); // the ash and six gliders
    int ash = 0;
    whole.forEachLiveCell({ -200, -200, 200, 200 }, [&](std::int64_t x, std::int64_t y) {
        ++ash;
        QVERIFY(tiles.cell(x, y));
    });
    QCOMPARE(ash, 116 - 6 * 5);
}

Q_DECLARE_METATYPE(std::vector<std::vector<CellPoint>>)

void TestHashLife::cellsSetInBatches_data()
{
    QTest::addColumn<std::vector<std::vector<CellPoint>>>("batches");
    QTest::addColumn<QString>("rule");
    using Batches = std::vector<std::vector<CellPoint>>;
    const std::int64_t far = Universe::CoordinateLimit - 300;
    QTest::newRow("dense soup") << Batches { soup(150, 40, -75, -75, 1) } << "B3/S23";
    QTest::newRow("dense soup, HighLife") << Batches { soup(150, 40, 10, -300, 2) } << "B36/S23";
    QTest::newRow("too few cells to be dense") << Batches { soup(64, 99, -32, -32, 3) } << "B3/S23";
    QTest::newRow("just enough cells") << Batches { soup(66, 97, -32, -32, 3) } << "B3/S23";
    QTest::newRow("sparse field") << Batches { soup(600, 1, -300, -300, 4) } << "B3/S23";
    QTest::newRow("dense, then sparse far away")
        << Batches { soup(120, 50, 0, 0, 5), { { -5000, 7000 }, { -5001, 7000 }, { -4999, 7000 } } } << "B3/S23";
    QTest::newRow("sparse, then dense") << Batches { soup(600, 1, -300, -300, 6), soup(120, 50, 0, 0, 7) } << "B3/S23";
    QTest::newRow("dense near the far corner") << Batches { soup(120, 50, far, -far - 120, 8) } << "B3/S23";
    QTest::newRow("dense past the edge") << Batches { soup(120, 50, far + 250, 0, 9) } << "B3/S23";
}

// Batches of cells set in the empty plane, dense ones on the tiles, sparse
// ones in HashLife, hold and step as HashLife alone does; a batch past the
// edge of the plane changes nothing.
void TestHashLife::cellsSetInBatches()
{
    QFETCH(std::vector<std::vector<CellPoint>>, batches);
    QFETCH(QString, rule);
    const Rule stepRule = ruleNamed(rule.toLatin1().constData());
    UnboundedUniverse plane(stepRule);
    HashLife expected(stepRule);
    for (const std::vector<CellPoint> &batch : batches) {
        bool refused = false;
        try {
            expected.setCells(batch);
        } catch (const UniverseError &) {
            refused = true;
        }
        try {
            plane.setCells(batch);
            QVERIFY(!refused);
        } catch (const UniverseError &) {
            QVERIFY(refused);
        }
    }
    QCOMPARE(cellsOf(plane), cellsOf(expected));
    for (const std::uint64_t generations : { 1, 2, 300 }) {
        plane.advance(generations);
        expected.advance(generations);
        QVERIFY(plane.equals(expected));
        QCOMPARE(plane.population(), expected.population());
        QCOMPARE(plane.boundingBox(), expected.boundingBox());
    }
}

// A 300 x 300 soup a thousand generations on, stepped and jumped by the
// universe that switches engines between them, and jumped by HashLife alone.
void TestHashLife::unboundedSwitchesEngines()
{
    HashLife start;
    start.setCells(soup(300, 35, -150, -150, 11));
    UnboundedUniverse switching(start);
    for (const std::uint64_t generations : { 1, 1, 1200, 1, 3, 800, 1 })
        switching.advance(generations);
    HashLife jumped(start);
    jumped.advance(2007);
    QVERIFY(switching.equals(jumped));
    const std::uint64_t digest = switching.hash();
    switching.advance(2048);
    switching.advance(1);
    jumped.advance(2049);
    QVERIFY(switching.equals(jumped));
    QVERIFY(switching.hash() != digest);
    UnboundedUniverse copy(switching.quadtree());
    QCOMPARE(copy.hash(), switching.hash());

    // A jump stopped at its deadline or by the other engine of a race leaves
    // the cells alone; finished, it agrees with single steps.
    HashLife stopped(start);
    QVERIFY(!stopped.advanceBefore(1500, std::chrono::steady_clock::now() - std::chrono::seconds(1)));
    const std::atomic<bool> raised { true };
    QVERIFY(!stopped.advanceUnless(1500, raised));
    QVERIFY(stopped.equals(start));
    TileLife stoppedTiles;
    stoppedTiles.setCells(soup(300, 35, -150, -150, 11));
    QVERIFY(!stoppedTiles.advanceUnless(1500, raised));
    // Stopped by a check a few hundred results in, the jump has made part of
    // its way; let finish, all of it, from what it remembered.
    // Its progress, as the check sees it, never goes back nor past the whole.
    std::vector<double> seen;
    const std::function<bool()> afterAFew = [&seen] {
        seen.push_back(HashLife::jumpProgress());
        return seen.size() > 3;
    };
    HashLife checked(start);
    QVERIFY(!checked.advanceUnless(1500, afterAFew));
    QVERIFY(checked.equals(start));
    QVERIFY(HashLife::jumpProgress() > 0 && HashLife::jumpProgress() < 1);
    seen.clear();
    QVERIFY(checked.advanceUnless(1500, std::function<bool()>([&seen] {
        seen.push_back(HashLife::jumpProgress());
        return false;
    })));
    QCOMPARE(HashLife::jumpProgress(), 1.0);
    QVERIFY(seen.size() > 3);
    QVERIFY(std::is_sorted(seen.begin(), seen.end()) && seen.back() < 1);
    std::atomic<std::uint64_t> tileGenerations { 0 };
    QVERIFY(TileLife(stoppedTiles).advanceUnless(1500, std::atomic<bool>(false), &tileGenerations));
    QCOMPARE(tileGenerations.load(), std::uint64_t(1500));
    QVERIFY(stopped.advanceBefore(1500, std::chrono::steady_clock::now() + std::chrono::hours(1)));
    UnboundedUniverse stepped(start);
    for (int i = 0; i < 1500; ++i)
        stepped.advance(1);
    QVERIFY(stepped.equals(stopped));
    QVERIFY(stepped.equals(checked));
}

void TestHashLife::gliderTravels_data()
{
    QTest::addColumn<qint64>("left");
    QTest::addColumn<qint64>("top");
    QTest::addColumn<quint64>("generations");
    const qint64 far = -(qint64(1) << 59);
    QTest::newRow("2^10") << qint64(0) << qint64(0) << (quint64(1) << 10);
    QTest::newRow("2^40 from the far top-left") << far << far << (quint64(1) << 40);
    QTest::newRow("odd, across the origin") << qint64(-5000) << qint64(-3) << quint64(1000001);
    QTest::newRow("2^50 + 3") << far << qint64(-7) << ((quint64(1) << 50) + 3);
    QTest::newRow("2^62 + 1") << far << far << ((quint64(1) << 62) + 1);
}

// A glider is where it must be, in the phase it must have, after any number of generations.
void TestHashLife::gliderTravels()
{
    QFETCH(qint64, left);
    QFETCH(qint64, top);
    QFETCH(quint64, generations);
    const std::vector<CellPoint> start = moved(glider, left, top);
    HashLife travelled;
    travelled.setCells(start);
    travelled.advance(generations);

    HashLife phase;
    phase.setCells(start);
    phase.advance(generations % 4);
    const auto distance = static_cast<std::int64_t>(generations / 4);
    QVERIFY(phase.equalsShifted(travelled, distance, distance));
    QVERIFY(!phase.equalsShifted(travelled, distance, distance + 1));
    QCOMPARE(phase.shapeHash(), travelled.shapeHash());
    const CellRect box = *phase.boundingBox();
    QCOMPARE(*travelled.boundingBox(),
        (CellRect { box.left + distance, box.top + distance, box.right + distance, box.bottom + distance }));
    const CellPoint first = cellsOf(phase).front();
    QVERIFY(travelled.cell(first.x + distance, first.y + distance));
    QCOMPARE(travelled.population(), std::uint64_t(5));

    // The unbounded plane, its cells on the tiles after a step, races from there.
    UnboundedUniverse raced;
    raced.setCells(start);
    raced.advance(1);
    raced.advance(generations - 1);
    QVERIFY(raced.equals(travelled));
}

// Cells within CoordinateLimit are kept; a pattern about to cross it stops the
// run with an error and stays where it was; rules with birth on 0 are refused.
void TestHashLife::edgeOfThePlane()
{
    const std::int64_t limit = Universe::CoordinateLimit;
    HashLife plane;
    plane.setCells({ { limit, limit }, { -limit, -limit }, { limit, -limit } });
    QCOMPARE(plane.boundingBox(), (CellRect { -limit, -limit, limit, limit }));
    QVERIFY(plane.cell(limit, -limit));
    QVERIFY_EXCEPTION_THROWN(plane.setCells({ { 0, 0 }, { limit + 1, 0 } }), UniverseError);
    QCOMPARE(plane.population(), std::uint64_t(3));
    plane.advance(1);
    QCOMPARE(plane.population(), std::uint64_t(0));

    // A glider turned to travel up and left, 40 cells from the corner.
    std::vector<CellPoint> outward;
    for (const CellPoint &cell : glider)
        outward.push_back({ -limit + 40 + (2 - cell.x), -limit + 40 + (2 - cell.y) });
    for (Universe *universe : std::initializer_list<Universe *> { new HashLife, new TileLife, new UnboundedUniverse }) {
        const std::unique_ptr<Universe> owned(universe);
        for (const CellPoint &cell : outward)
            universe->setCell(cell.x, cell.y, true);
        universe->advance(100);
        QVERIFY_EXCEPTION_THROWN(universe->advance(100), UniverseError);
        QVERIFY_EXCEPTION_THROWN(universe->advance(2000), UniverseError);
        HashLife expected;
        expected.setCells(moved(outward, -25, -25));
        QVERIFY(universe->equals(expected));
    }
    // Squares full of live cells, 2^31 and 2^32 cells a side: 2^62 of them count, 2^64 do not.
    std::string full = "[M2]\n********$********$********$********$********$********$********$********$\n";
    for (int level = 4; level <= 32; ++level) {
        const std::string below = std::to_string(level - 3);
        full += std::to_string(level) + " " + below + " " + below + " " + below + " " + below + "\n";
        MacrocellContent content;
        std::string error;
        QVERIFY2(Macrocell::read(full, content, error), error.c_str());
        if (level == 31)
            QCOMPARE(content.universe.population(), std::uint64_t(1) << 62);
        if (level == 32)
            QVERIFY_EXCEPTION_THROWN(content.universe.population(), UniverseError);
    }
    QVERIFY_EXCEPTION_THROWN(HashLife(ruleNamed("B0/S8")), UniverseError);
    QVERIFY_EXCEPTION_THROWN(TileLife().setRule(ruleNamed("B01/S")), UniverseError);
}

// forEachLiveCell, boundingBox and render of both engines against the cells themselves.
void TestHashLife::viewsOfTheCells()
{
    const std::vector<CellPoint> cells = sorted(soup(300, 2, -150, -123, 3));
    HashLife hash;
    hash.setCells(cells);
    TileLife tiles;
    tiles.setCells(cells);
    // Pixels that whole squares fill, and pixels that squares straddle.
    for (const CellRect &area : { CellRect { -96, -64, 101, 44 }, CellRect { -97, -60, 101, 44 } })
        for (const Universe *universe : std::initializer_list<const Universe *> { &hash, &tiles }) {
            std::vector<CellPoint> inside;
            universe->forEachLiveCell(area, [&](std::int64_t x, std::int64_t y) { inside.push_back({ x, y }); });
            std::vector<CellPoint> expected;
            std::copy_if(cells.begin(), cells.end(), std::back_inserter(expected),
                [&](const CellPoint &cell) { return area.contains(cell.x, cell.y); });
            QCOMPARE(inside, expected);
            QCOMPARE(*universe->boundingBox(),
                (CellRect { std::min_element(cells.begin(), cells.end(), [](auto a, auto b) { return a.x < b.x; })->x,
                    cells.front().y,
                    std::max_element(cells.begin(), cells.end(), [](auto a, auto b) { return a.x < b.x; })->x,
                    cells.back().y }));
            for (const int shift : { 0, 2, 4 }) {
                const int columns = 40;
                const int rows = 30;
                std::vector<std::uint8_t> pixels(columns * rows * 2, 7);
                universe->render(area, shift, pixels.data(), columns, rows, columns * 2);
                std::vector<std::uint8_t> painted(pixels.size(), 7);
                for (int r = 0; r < rows; ++r)
                    std::fill_n(painted.begin() + r * columns * 2, columns, 0);
                for (const CellPoint &cell : expected) {
                    const std::int64_t column = (cell.x - area.left) >> shift;
                    const std::int64_t row = (cell.y - area.top) >> shift;
                    if (column < columns && row < rows)
                        painted[static_cast<std::size_t>(row * columns * 2 + column)] = 1;
                }
                QVERIFY2(pixels == painted, qPrintable(QString("shift %1").arg(shift)));
            }
        }
}

void TestHashLife::copiesAreIndependent()
{
    HashLife original;
    original.setCells(rPentomino);
    const std::unique_ptr<Universe> copy = original.clone();
    copy->advance(1000);
    copy->setCell(-1, -1, true);
    QCOMPARE(cellsOf(original), sorted(rPentomino));
    HashLife assigned;
    assigned = original;
    original.clear();
    QCOMPARE(cellsOf(assigned), sorted(rPentomino));
    QCOMPARE(original.population(), std::uint64_t(0));
}

// Out of memory, setting cells or a jump fails with the limit named and the
// universe as it was; collecting keeps every node that a live copy or the
// step in progress still refers to.
void TestHashLife::memoryLimit()
{
    const std::size_t defaultLimit = HashLife::memoryLimit();
    HashLife kept;
    kept.setCells(rPentomino);
    kept.advance(700);
    TileLife counted;
    counted.setCells(rPentomino);
    counted.advance(700);
    HashLife soupPlane;
    soupPlane.setCells(soup(200, 40, -100, -100, 11));
    HashLife expected(soupPlane);
    expected.advance(std::uint64_t(1) << 16);
    UnboundedUniverse racing(soupPlane);
    TileLife racingTiles;
    racingTiles.setCells(soup(200, 40, -100, -100, 11));
    racingTiles.advance(1000);
    racingTiles.advance(1000);
    {
        HashLife large;
        large.setCells(soup(1000, 40, 0, 0, 12));
        const HashLife before(large);
        HashLife::setMemoryLimit(std::size_t(1) << 20);
        // The tiles finish a jump that HashLife has no room for.
        racing.advance(2000);
        QVERIFY(racing.equals(racingTiles));
        try {
            large.advance(1);
            QFAIL("a soup of 400,000 cells fits in 1 MiB");
        } catch (const UniverseError &error) {
            QVERIFY2(std::string(error.what()).find("1 MiB") != std::string::npos, error.what());
        }
        QVERIFY(large.equals(before));
        QVERIFY_EXCEPTION_THROWN(soupPlane.setCells(soup(1000, 40, 0, 0, 13)), UniverseError);
    }
    soupPlane.advance(std::uint64_t(1) << 16);
    HashLife::setMemoryLimit(defaultLimit);
    QVERIFY(soupPlane.equals(expected));

    // Jumps that fill a small store several times over, collecting as they go
    // and keeping what live squares lead to, still agree with the tiles.
    HashLife tight;
    tight.setCells(soup(120, 40, -60, -60, 14));
    TileLife tiles;
    tiles.setCells(soup(120, 40, -60, -60, 14));
    const std::uint64_t collections = NodeStore::instance().statistics().collections;
    // Steps of changing sizes, so that results memoised for one step size
    // outlive collections made while the store serves another.
    HashLife::setMemoryLimit(std::size_t(3) << 19);
    for (const std::uint64_t jump : { 2000, 1536, 2048, 768 }) {
        tight.advance(jump);
        for (std::uint64_t left = jump; left > 0; left -= std::min<std::uint64_t>(left, 1000))
            tiles.advance(std::min<std::uint64_t>(left, 1000));
        QVERIFY(tight.equals(tiles));
    }
    HashLife::setMemoryLimit(defaultLimit);
    QVERIFY(NodeStore::instance().statistics().collections > collections + 2);

    // The table rebuilt smaller and grown again still finds every square:
    // the same cells make the same nodes.
    HashLife large;
    large.setCells(soup(600, 40, -300, -300, 15));
    HashLife::setMemoryLimit(std::size_t(4) << 20);
    HashLife::setMemoryLimit(defaultLimit);
    HashLife again;
    again.setCells(soup(600, 40, -300, -300, 15));
    QCOMPARE(again.rootNode(), large.rootNode());
    again.setCell(-300, -300, !again.cell(-300, -300));
    QVERIFY(again.rootNode() != large.rootNode());
    QVERIFY(kept.equals(counted));
    kept.advance(1);
    counted.advance(1);
    QVERIFY(kept.equals(counted));
}

// A pattern of many equal squares is written in few lines and read back whole.
void TestHashLife::collectingMidJump_data()
{
    QTest::addColumn<std::vector<CellPoint>>("cells");
    QTest::addColumn<int>("limitMiB");
    QTest::addColumn<std::vector<std::uint64_t>>("jumps");
    QTest::newRow("dense soup") << soup(200, 40, -100, -100, 21) << 1
                                << std::vector<std::uint64_t> { 2000, 1536, 2048 };
    QTest::newRow("one long jump") << soup(150, 35, 0, 0, 22) << 2 << std::vector<std::uint64_t> { 4096 };
    // Far apart, so that most squares are empty and the store's levels are many.
    std::vector<CellPoint> scattered;
    for (int i = 0; i < 4; ++i) {
        const std::vector<CellPoint> part = soup(64, 40, (i % 2) * 3000 - 1500, (i / 2) * 3000 - 1500, 23 + i);
        scattered.insert(scattered.end(), part.begin(), part.end());
    }
    QTest::newRow("scattered soups") << scattered << 2 << std::vector<std::uint64_t> { 1024, 3000, 1 };
}

// Jumps in a store so small that it collects many times within each, keeping
// the squares stepped last with their results, give the cells of the same
// jumps with room to spare and of the tiles.
void TestHashLife::collectingMidJump()
{
    QFETCH(std::vector<CellPoint>, cells);
    QFETCH(int, limitMiB);
    QFETCH(std::vector<std::uint64_t>, jumps);
    std::vector<std::vector<CellPoint>> roomy;
    {
        HashLife plane;
        plane.setCells(cells);
        for (const std::uint64_t jump : jumps) {
            plane.advance(jump);
            roomy.push_back(cellsOf(plane));
        }
    }
    const std::size_t defaultLimit = HashLife::memoryLimit();
    const std::uint64_t collections = NodeStore::instance().statistics().collections;
    HashLife::setMemoryLimit(static_cast<std::size_t>(limitMiB) << 20);
    HashLife tight;
    tight.setCells(cells);
    TileLife tiles;
    tiles.setCells(cells);
    for (std::size_t i = 0; i < jumps.size(); ++i) {
        tight.advance(jumps[i]);
        for (std::uint64_t left = jumps[i]; left > 0; left -= std::min<std::uint64_t>(left, 1000))
            tiles.advance(std::min<std::uint64_t>(left, 1000));
        QCOMPARE(cellsOf(tight), roomy[i]);
        QCOMPARE(cellsOf(tiles), roomy[i]);
        // Counted anew where a collection freed the squares counted before.
        QCOMPARE(tight.population(), std::uint64_t(roomy[i].size()));
    }
    HashLife::setMemoryLimit(defaultLimit);
    QVERIFY(NodeStore::instance().statistics().collections > collections + jumps.size());
}

void TestHashLife::macrocellRoundTrip()
{
    std::vector<CellPoint> blocks;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            for (const CellPoint &cell : { CellPoint { 0, 0 }, CellPoint { 1, 0 }, CellPoint { 0, 1 }, { 1, 1 } })
                blocks.push_back({ -256 + 8 * x + cell.x, 16 + 8 * y + cell.y });
        }
    }
    HashLife plane(ruleNamed("HighLife"));
    plane.setCells(blocks);
    const std::string file
        = Macrocell::write(plane, plane.rule(), 123456789012, "Blocks", { "four thousand", "and ninety-six" });
    QVERIFY2(std::count(file.begin(), file.end(), '\n') < 100, file.c_str());
    MacrocellContent content;
    std::string error;
    QVERIFY2(Macrocell::read(file, content, error), error.c_str());
    QVERIFY(content.universe.equals(plane));
    QCOMPARE(content.universe.population(), std::uint64_t(64 * 64 * 4));
    QCOMPARE(content.name, std::string("Blocks"));
    QCOMPARE(content.comments, (std::vector<std::string> { "four thousand", "and ninety-six" }));
    QCOMPARE(content.rule, std::optional<Rule>(ruleNamed("HighLife")));
    QCOMPARE(content.universe.rule(), ruleNamed("HighLife"));
    QCOMPARE(content.generation, std::optional<std::int64_t>(123456789012));

    // Under a rule of more states, nodes of state numbers: two squares of 2 x
    // 2 cells typed here, then thousands of copies of a small object.
    QVERIFY2(Macrocell::read("[M2]\n#R B2/S/C3\n1 1 2 0 1\n2 1 0 0 1\n", content, error), error.c_str());
    QVERIFY(content.states && content.states->population() == 6 && content.universe.population() == 6);
    const std::uint8_t typed[4][4] = { { 1, 2, 0, 0 }, { 0, 1, 0, 0 }, { 0, 0, 1, 2 }, { 0, 0, 0, 1 } };
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x)
            QCOMPARE(content.states->state(x - 2, y - 2), typed[y][x]);
    }
    StateHashLife states(ruleNamed("LifeHistory"));
    std::vector<StateHashLife::StatedCell> objects;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            for (std::uint8_t state = 1; state < 7; ++state)
                objects.push_back({ -300 + 8 * x + state % 3, 5 + 8 * y + state / 3, state });
        }
    }
    states.setStates(objects);
    const std::string stated = Macrocell::write(states, states.rule(), 5, "", {});
    QVERIFY2(std::count(stated.begin(), stated.end(), '\n') < 100, stated.c_str());
    QVERIFY2(Macrocell::read(stated, content, error), error.c_str());
    QVERIFY(content.states && content.states->equals(states));
    QCOMPARE(content.universe.population(), std::uint64_t(64 * 64 * 6));
    QCOMPARE(Macrocell::write(*content.states, states.rule(), 5, "", {}), stated);
}

void TestHashLife::macrocellRefused_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("error");
    QTest::newRow("no header") << QByteArray("#R B3/S23\n*$\n") << "line 1:";
    QTest::newRow("later node") << QByteArray("[M2]\n*$\n4 1 2 0 0\n") << "line 3: node 2 is not an earlier";
    QTest::newRow("wrong level") << QByteArray("[M2]\n*$\n4 1 0 0 0\n6 2 0 0 0\n") << "line 4: node 2 is of level 4";
    QTest::newRow("wide leaf") << QByteArray("[M2]\n.........*$\n") << "line 2: a leaf row";
    QTest::newRow("tall leaf") << QByteArray("[M2]\n$$$$$$$$*$\n") << "line 2: a leaf has more than 8 rows";
    QTest::newRow("beyond coordinates") << QByteArray("[M2]\n*$\n62 0 0 0 0\n") << "line 3: the level is larger";
    QTest::newRow("birth on 0, more states") << QByteArray("[M2]\n#R B0/S/C3\n") << "line 2: the rule B0/S/C3";
    QTest::newRow("generation") << QByteArray("[M2]\n#G 9223372036854775808\n") << "line 2: the generation";
    // Two squares side by side that no larger square takes in: the file ends before the one that would.
    QTest::newRow("cut short") << QByteArray("[M2]\n.*$..*$***$\n**$**$\n4 1 0 0 2\n4 0 2 1 0\n")
                               << "the file ends early";
    QTest::newRow("extra number") << QByteArray("[M2]\n*$\n4 1 0 0 0 0\n") << "line 3: more than";
    QTest::newRow("control byte") << QByteArray("[M2]\n#N a\x01z\n") << "line 2: not a text line";
    QTest::newRow("state beyond the rule") << QByteArray("[M2]\n#R B2/S/C3\n1 0 3 0 0\n") << "line 3: state 3 is not";
    QTest::newRow("state beyond a byte") << QByteArray("[M2]\n1 0 256 0 0\n") << "line 2: a state is larger";
    QTest::newRow("leaf among states") << QByteArray("[M2]\n1 1 0 0 0\n*$\n") << "line 3: a leaf of";
    QTest::newRow("level 0") << QByteArray("[M2]\n0 1 1 1 1\n") << "line 2: a node of level 0";
    QTest::newRow("states, wrong level") << QByteArray("[M2]\n1 1 0 0 0\n3 1 0 0 0\n")
                                         << "line 3: node 1 is of level 1, not 2";
}

void TestHashLife::macrocellRefused()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, error);
    MacrocellContent content;
    content.name = "untouched";
    std::string message;
    QVERIFY(!Macrocell::read(std::string(file.constData(), static_cast<std::size_t>(file.size())), content, message));
    QVERIFY2(QString::fromStdString(message).startsWith(error), message.c_str());
    QCOMPARE(content.name, std::string("untouched"));
}

QTEST_GUILESS_MAIN(TestHashLife)
#include "tst_hashlife.moc"
