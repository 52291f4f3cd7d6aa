#include <QTest>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "model/engine/classicuniverse.h"
#include "model/engine/gamefield.h"
#include "model/engine/griduniverse.h"
#include "model/engine/keptallocator.h"
#include "model/engine/packedfield.h"
#include "model/engine/rule.h"
#include "ruletext.h"
#include "warningguard.h"

// A change made alike to a universe and to its clone; `side` is the square torus's.
using Change = void (*)(Universe &universe, int side);

Q_DECLARE_METATYPE(CellRect)
Q_DECLARE_METATYPE(Change)

// Changes made alike to a clone and to a grid of its own; a cell is set to the rule's last state.
const std::pair<const char *, Change> changesToClones[] = {
    { "a cell",
        [](Universe &universe, int side) {
            universe.setState(side - 1, side - 1, static_cast<std::uint8_t>(universe.rule().stateCount() - 1));
        } },
    { "clear inside",
        [](Universe &universe, int side) {
            universe.clearInside({ 10, 0, 40, side / 2 });
        } },
    { "clear outside",
        [](Universe &universe, int side) {
            universe.clearOutside({ 10, 0, 40, side / 2 });
        } },
    { "random",
        [](Universe &universe, int) {
            universe.fillRandom({ 30, 30, 300, 100 }, 0.5, 9);
        } },
    { "clear", [](Universe &universe, int) { universe.clear(); } },
    { "a step", [](Universe &universe, int) { universe.advance(1); } },
    { "three steps", [](Universe &universe, int) { universe.advance(3); } },
};

namespace
{

void fillRandomly(Universe &universe, std::mt19937 &generator, double density)
{
    std::bernoulli_distribution alive(density);
    const Topology shape = universe.topology();
    for (std::int64_t y = 0; y < shape.height(); ++y) {
        for (std::int64_t x = 0; x < shape.width(); ++x)
            universe.setCell(x, y, alive(generator));
    }
}

// The cell that (x, y), at most one cell past the edges, stands for, from
// the joins as the surfaces are defined: each edge crossed on its own, the
// sides before the top and bottom.
std::optional<CellPoint> joined(const Topology &shape, std::int64_t x, std::int64_t y)
{
    const std::int64_t width = shape.width();
    const std::int64_t height = shape.height();
    const Topology::Kind kind = shape.kind();
    const bool sides = shape.joinedEdges() == Topology::Edges::LeftRight;
    for (int crossing = 0; crossing < 4; ++crossing) {
        if (x >= 0 && y >= 0 && x < width && y < height)
            return CellPoint { x, y };
        if (kind == Topology::Kind::Plane)
            return std::nullopt;
        const bool across = x < 0 || x >= width;
        const std::int64_t side = (across ? x < 0 : y < 0) ? -1 : 1;
        const std::int64_t oldX = x;
        if (kind == Topology::Kind::Sphere && across) {
            x = y;
            y = side < 0 ? -1 - oldX : 2 * width - 1 - oldX;
        } else if (kind == Topology::Kind::Sphere) {
            x = side < 0 ? -1 - y : 2 * height - 1 - y;
            y = oldX;
        } else if (across) {
            x -= side * width;
            y += kind == Topology::Kind::Torus && sides ? side * shape.shift() : 0;
            const bool twisted = kind == Topology::Kind::CrossSurface || (kind == Topology::Kind::KleinBottle && sides);
            y = twisted ? height - 1 - y : y;
        } else {
            y -= side * height;
            x += kind == Topology::Kind::Torus && !sides ? side * shape.shift() : 0;
            const bool twisted
                = kind == Topology::Kind::CrossSurface || (kind == Topology::Kind::KleinBottle && !sides);
            x = twisted ? width - 1 - x : x;
        }
    }
    qFatal("no cell for %lld %lld", static_cast<long long>(x), static_cast<long long>(y));
}

// "x,y x,y ..."
std::vector<CellPoint> cellsFrom(const QString &text)
{
    std::vector<CellPoint> cells;
    for (const QString &cell : text.split(' ', Qt::SkipEmptyParts))
        cells.push_back({ cell.section(',', 0, 0).toLongLong(), cell.section(',', 1, 1).toLongLong() });
    return cells;
}

std::vector<CellPoint> liveCells(const Universe &universe, const CellRect &area)
{
    std::vector<CellPoint> cells;
    universe.forEachLiveCell(area, [&cells](std::int64_t x, std::int64_t y) { cells.push_back({ x, y }); });
    return cells;
}

// Whether render() of `area` at `shift`, into rows `gap` bytes longer than
// the area's pixels of 2^shift x 2^shift cells, sets a pixel where one of
// `live` is and clears the others, and leaves the bytes between rows alone.
bool rendersAsCounted(
    const Universe &universe, const std::vector<CellPoint> &live, const CellRect &area, int shift, int gap)
{
    const int columns = static_cast<int>((area.right - area.left) >> shift) + 1;
    const int rows = static_cast<int>((area.bottom - area.top) >> shift) + 1;
    const std::ptrdiff_t stride = columns + gap;
    std::vector<std::uint8_t> expected(static_cast<std::size_t>(stride * rows), 9);
    std::vector<std::uint8_t> pixels = expected;
    for (int row = 0; row < rows; ++row)
        std::fill_n(expected.begin() + row * stride, columns, 0);
    for (const CellPoint &cell : live) {
        if (area.contains(cell.x, cell.y))
            expected[static_cast<std::size_t>(
                ((cell.y - area.top) >> shift) * stride + ((cell.x - area.left) >> shift))]
                = 1;
    }
    universe.render(area, shift, pixels.data(), columns, rows, stride);
    return pixels == expected;
}

} // namespace

// The grid engine against plain neighbour counts and the classic field, and
// its word-at-a-time readers against cell-by-cell ones.
class TestGridUniverse : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { WarningGuard::install(); }
    void stepsAsNeighboursCount_data();
    void stepsAsNeighboursCount();
    void surfacesJoinTheirEdges_data();
    void surfacesJoinTheirEdges();
    void stepsAsTheClassicField_data();
    void stepsAsTheClassicField();
    void clonesStandAlone();
    void clonesShareUntilChanged_data();
    void clonesShareUntilChanged();
    void interruptedStepsLeaveAFinishedGeneration_data();
    void interruptedStepsLeaveAFinishedGeneration();
    void drawsLargeGridsZoomedOut_data();
    void drawsLargeGridsZoomedOut();
    void readsWholeWordsAsCells();
    void advanceEndsOnceStill();
    void centres();
    void byteClonesShareUntilChanged_data();
    void byteClonesShareUntilChanged();
    void manyStatesKeepTheCells_data();
    void manyStatesKeepTheCells();
    void manyStatesUnderAnotherRule_data();
    void manyStatesUnderAnotherRule();
    void keepsBlocksUnderOneCap_data();
    void keepsBlocksUnderOneCap();
};

void TestGridUniverse::stepsAsNeighboursCount_data()
{
    QTest::addColumn<QString>("rule");
    for (const char *rule : { "B3/S23", "B36/S23", "B0123478/S34678", "B3/S012345678", "B0/S8" })
        QTest::newRow(rule) << QString(rule);
}

void TestGridUniverse::stepsAsNeighboursCount()
{
    QFETCH(QString, rule);
    const Rule stepRule = ruleFrom(rule);
    std::mt19937 generator(77);
    std::vector<Topology> shapes;
    for (const int width : { 1, 63, 64, 65, 130 }) {
        for (const int height : { 1, 2, 3, 70 }) {
            shapes.push_back(Topology::plane(width, height));
            shapes.push_back(Topology::torus(width, height));
            shapes.push_back(Topology::shiftedTorus(width, height, Topology::Edges::TopBottom, width / 3 + 1));
            shapes.push_back(Topology::shiftedTorus(width, height, Topology::Edges::LeftRight, -height / 3 - 1));
            shapes.push_back(Topology::kleinBottle(width, height, Topology::Edges::TopBottom));
            shapes.push_back(Topology::kleinBottle(width, height, Topology::Edges::LeftRight));
            shapes.push_back(Topology::crossSurface(width, height));
        }
        shapes.push_back(Topology::sphere(width));
    }
    for (const Topology &shape : shapes) {
        const std::int64_t width = shape.width();
        const std::int64_t height = shape.height();
        GridUniverse universe(shape, stepRule);
        fillRandomly(universe, generator, 0.4);
        std::vector<char> cells(static_cast<std::size_t>(width * height));
        for (std::int64_t y = 0; y < height; ++y) {
            for (std::int64_t x = 0; x < width; ++x)
                cells[static_cast<std::size_t>(y * width + x)] = universe.cell(x, y);
        }
        for (int generation = 1; generation <= 4; ++generation) {
            std::vector<char> next(cells.size());
            for (std::int64_t y = 0; y < height; ++y) {
                for (std::int64_t x = 0; x < width; ++x) {
                    int count = 0;
                    for (int dy = -1; dy <= 1; ++dy) {
                        for (int dx = -1; dx <= 1; ++dx) {
                            const std::optional<CellPoint> other = joined(shape, x + dx, y + dy);
                            if ((dx != 0 || dy != 0) && other)
                                count += cells[static_cast<std::size_t>(other->y * width + other->x)];
                        }
                    }
                    const bool alive = cells[static_cast<std::size_t>(y * width + x)] != 0;
                    next[static_cast<std::size_t>(y * width + x)] = stepRule.nextState(alive, count);
                }
            }
            cells = next;
            universe.advance(1);
            for (std::int64_t y = 0; y < height; ++y) {
                for (std::int64_t x = 0; x < width; ++x) {
                    if (universe.cell(x, y) != (cells[static_cast<std::size_t>(y * width + x)] != 0))
                        QFAIL(qPrintable(QString("%1: cell %2 %3 wrong at generation %4")
                                             .arg(QString::fromStdString(shape.suffix()))
                                             .arg(x)
                                             .arg(y)
                                             .arg(generation)));
                }
            }
        }
    }
}

void TestGridUniverse::surfacesJoinTheirEdges_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("generations");
    QTest::addColumn<QString>("expected");
    // A glider heading down and right, 6 cells on in 24 generations: past the
    // bottom edge it comes back as the surface joins that edge to the top.
    const QString glider = "5,6 6,7 4,8 5,8 6,8";
    QTest::newRow("torus") << ":T10,10" << glider << 24 << "1,2 2,3 0,4 1,4 2,4";
    QTest::newRow("torus shifted right at the bottom") << ":T10+3,10" << glider << 24 << "4,2 5,3 3,4 4,4 5,4";
    QTest::newRow("torus shifted up at the right") << ":T10,10-2" << glider << 24 << "1,0 2,1 0,2 1,2 2,2";
    QTest::newRow("klein bottle, mirrored left to right") << ":K10*,10" << glider << 24 << "8,2 7,3 9,4 8,4 7,4";
    QTest::newRow("klein bottle, mirrored top to bottom") << ":K10,10*" << glider << 24 << "1,7 2,6 0,5 1,5 2,5";
    QTest::newRow("cross-surface, mirrored at the bottom") << ":C14,10"
                                                           << "1,4 2,5 0,6 1,6 2,6" << 24 << "6,0 5,1 7,2 6,2 5,2";
    // On a sphere what leaves over the top comes in at the left, turned a quarter.
    QTest::newRow("sphere, glider over the top") << ":S16"
                                                 << "10,2 11,2 12,2 10,3 11,4" << 24 << "2,4 3,4 1,5 3,5 3,6";
    QTest::newRow("sphere, blinker on the top edge") << ":S8"
                                                     << "2,0 3,0 4,0" << 1 << "3,0 3,1 0,3";
    QTest::newRow("sphere, blinker back") << ":S8"
                                          << "2,0 3,0 4,0" << 2 << "2,0 3,0 4,0";
    QTest::newRow("plane, blinker cut by the edge") << ":P8,8"
                                                    << "2,0 3,0 4,0" << 1 << "3,0 3,1";
}

void TestGridUniverse::surfacesJoinTheirEdges()
{
    QFETCH(QString, suffix);
    QFETCH(QString, start);
    QFETCH(int, generations);
    QFETCH(QString, expected);
    Rule rule;
    std::optional<Topology> shape;
    std::string error;
    QVERIFY2(Rule::read(("B3/S23" + suffix).toStdString(), rule, shape, error), error.c_str());
    GridUniverse universe(*shape, rule);
    for (const CellPoint &cell : cellsFrom(start))
        universe.setCell(cell.x, cell.y, true);
    universe.advance(static_cast<std::uint64_t>(generations));
    std::vector<CellPoint> wanted = cellsFrom(expected);
    std::sort(wanted.begin(), wanted.end(), [](const CellPoint &one, const CellPoint &other) {
        return std::pair(one.y, one.x) < std::pair(other.y, other.x);
    });
    QVERIFY(liveCells(universe, Universe::extent(*shape)) == wanted);
}

void TestGridUniverse::stepsAsTheClassicField_data()
{
    QTest::addColumn<QString>("rule");
    for (const char *rule : { "B3/S23", "B36/S23", "B0/S8", "B1357/S1357" })
        QTest::newRow(rule) << QString(rule);
}

void TestGridUniverse::stepsAsTheClassicField()
{
    QFETCH(QString, rule);
    const Rule stepRule = ruleFrom(rule);
    GameField field;
    ClassicUniverse live;
    std::srand(11);
    field.setRule(stepRule);
    field.randomize();
    const PackedField start = PackedField::fromBuffer(field.snapshot());
    live.assign(ClassicUniverse(start, stepRule));
    const std::unique_ptr<Universe> packed = live.clone();
    GridUniverse plane(Topology::plane(GameField::FieldSize, GameField::FieldSize), stepRule);
    live.forEachLiveCell({ 0, 0, 119, 119 }, [&plane](std::int64_t x, std::int64_t y) { plane.setCell(x, y, true); });

    // One at a time, then a stretch at once, long enough for the live field's look at whether it is still.
    for (const int generations : { 1, 1, 1, 5, 30, 100, 200 }) {
        for (int i = 0; i < generations; ++i)
            field.nextGeneration();
        live.advance(generations);
        packed->advance(generations);
        plane.advance(generations);
        const ClassicUniverse expected(PackedField::fromBuffer(field.snapshot()), stepRule);
        QVERIFY(live.equals(expected));
        QVERIFY(packed->equals(expected));
        QCOMPARE(live.population(), static_cast<std::uint64_t>(field.liveCellCount()));
        const CellRect all { 0, 0, 119, 119 };
        QVERIFY(liveCells(plane, all) == liveCells(expected, all));
    }
}

void TestGridUniverse::clonesStandAlone()
{
    // A packed clone keeps 1,920 bytes of cells and no GameField.
    QVERIFY(sizeof(ClassicUniverse) <= sizeof(PackedField) + sizeof(Rule) + 64);
    ClassicUniverse live;
    live.setCell(3, 4, true);
    std::srand(5);
    const int draw = std::rand();
    std::srand(5);
    const std::unique_ptr<Universe> copy = live.clone();
    QCOMPARE(std::rand(), draw);
    auto &packed = dynamic_cast<ClassicUniverse &>(*copy);
    QVERIFY(!packed.isLive());
    QVERIFY_EXCEPTION_THROWN(packed.field(), std::logic_error);

    live.setCell(5, 5, true);
    packed.setCell(7, 7, true);
    QVERIFY(!packed.cell(5, 5) && packed.cell(3, 4) && !live.cell(7, 7));
    packed.setRule(ruleFrom("B36/S23"));
    live.assign(packed);
    QVERIFY(live.isLive() && live.equals(packed) && live.field().cell(8, 8) == 1 && live.field().cell(6, 6) == 0);
    QCOMPARE(live.rule(), ruleFrom("B36/S23"));

    GridUniverse grid(Topology::torus(70, 3));
    grid.setCell(69, 2, true);
    const std::unique_ptr<Universe> gridCopy = grid.clone();
    grid.setCell(0, 0, true);
    gridCopy->advance(1);
    QVERIFY(gridCopy->population() == 0 && grid.population() == 2);
}

void TestGridUniverse::clonesShareUntilChanged_data()
{
    QTest::addColumn<int>("side"); // of a square torus: the larger one keeps an overview
    QTest::addColumn<Change>("change");
    QTest::addColumn<unsigned>("seed");
    const Change anotherRule = [](Universe &universe, int side) {
        universe.setRule(ruleFrom("B3/S23/C3"));
        universe.setState(side - 2, side - 2, 1);
        universe.setRule(ruleFrom("B36/S23"));
    };
    for (const int side : { 200, 2048 }) {
        unsigned index = 0;
        for (const auto &[name, change] : changesToClones)
            QTest::addRow("%d, %s", side, name) << side << change << static_cast<unsigned>(side) + index++;
        QTest::addRow("%d, another rule", side) << side << anotherRule << static_cast<unsigned>(side) + index;
    }
}

void TestGridUniverse::clonesShareUntilChanged()
{
    QFETCH(int, side);
    QFETCH(Change, change);
    QFETCH(unsigned, seed);
    // The same cells twice: the original and its clone share theirs, `alone` has its own.
    GridUniverse original(Topology::torus(side, side));
    GridUniverse alone(Topology::torus(side, side));
    std::mt19937 generator(seed);
    for (int cell = 0; cell < 3000; ++cell) {
        const std::int64_t x = generator() % 64;
        const std::int64_t y = generator() % static_cast<unsigned>(side);
        original.setCell(x, y, true);
        alone.setCell(x, y, true);
    }
    // What the clones remember of the cells they share is worked out before the change.
    original.summarise();
    const std::unique_ptr<Universe> clone = original.clone();
    const std::uint64_t population = clone->population();
    const std::uint64_t hash = clone->hash();
    const std::optional<CellRect> box = clone->boundingBox();
    change(*clone, side);
    change(alone, side);
    QVERIFY(clone->equals(alone) && alone.equals(*clone));
    QCOMPARE(clone->population(), alone.population());
    QCOMPARE(clone->hash(), alone.hash());
    QCOMPARE(clone->boundingBox(), alone.boundingBox());
    QVERIFY(!original.equals(*clone));
    QCOMPARE(original.population(), population);
    QCOMPARE(original.hash(), hash);
    QCOMPARE(original.boundingBox(), box);
    // The original steps on as its own, its clone untouched.
    const std::unique_ptr<Universe> before = clone->clone();
    original.advance(2);
    QVERIFY(clone->equals(*before) && clone->hash() == before->hash());
}

void TestGridUniverse::interruptedStepsLeaveAFinishedGeneration_data()
{
    QTest::addColumn<int>("generations");
    QTest::addColumn<int>("delay"); // microseconds before the interrupt, or -1 for one raised before
    QTest::addColumn<bool>("shared"); // with a clone sharing the cells
    for (const int generations : { 1, 5 }) {
        for (const int delay : { -1, 0, 300, 3000 }) {
            QTest::addRow("%d, %d us", generations, delay) << generations << delay << false;
            QTest::addRow("%d, %d us, shared", generations, delay) << generations << delay << true;
        }
    }
}

void TestGridUniverse::interruptedStepsLeaveAFinishedGeneration()
{
    QFETCH(int, generations);
    QFETCH(int, delay);
    QFETCH(bool, shared);
    GridUniverse universe(Topology::torus(1500, 1500));
    universe.fillRandom({ 0, 0, 1499, 1499 }, 0.4, static_cast<std::uint64_t>(generations + delay));
    const std::unique_ptr<Universe> before = universe.clone();
    const std::unique_ptr<Universe> after = universe.clone();
    after->advance(static_cast<std::uint64_t>(generations));
    std::unique_ptr<Universe> clone = shared ? universe.clone() : nullptr;
    std::atomic<bool> interrupt { delay < 0 };
    // Wherever the interrupt comes, the universe is at one generation or the other, never in between.
    std::thread raiser([&interrupt, delay] {
        std::this_thread::sleep_for(std::chrono::microseconds(std::max(delay, 0)));
        interrupt = true;
    });
    const bool finished = universe.advanceUnless(static_cast<std::uint64_t>(generations), interrupt);
    raiser.join();
    QVERIFY(universe.equals(finished ? *after : *before));
    QCOMPARE(universe.hash(), (finished ? after : before)->hash());
    if (delay < 0)
        QVERIFY(!finished);
    if (clone)
        QVERIFY(clone->equals(*before));
    // And it steps on as usual.
    interrupt = false;
    QVERIFY(universe.advanceUnless(1, interrupt));
    (finished ? after : before)->advance(1);
    QVERIFY(universe.equals(finished ? *after : *before));
}

void TestGridUniverse::drawsLargeGridsZoomedOut_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<double>("density");
    QTest::addColumn<int>("steps");
    QTest::addColumn<bool>("summarised"); // worked out before the cells changed
    QTest::addColumn<CellRect>("area");
    const CellRect whole { 0, 0, 8191, 8191 };
    // Cells on the edges and corners alone.
    QTest::addRow("edges") << 2048 << 2048 << 0.0 << 0 << false << whole;
    QTest::addRow("edges, sizes no multiple of 8") << 2053 << 2047 << 0.0 << 0 << false << whole;
    QTest::addRow("sparse, from a block inside")
        << 2053 << 2047 << 0.0005 << 0 << false << CellRect { 1024, 520, 1900, 2100 };
    QTest::addRow("sparse, blocks inside")
        << 2053 << 2047 << 0.0005 << 0 << false << CellRect { 1024, 520, 1919, 1535 };
    QTest::addRow("sparse, from no block's corner")
        << 2053 << 2047 << 0.0005 << 0 << false << CellRect { 4, 12, 3000, 3000 };
    QTest::addRow("from before the grid")
        << 4100 << 1030 << 0.0005 << 0 << false << CellRect { -512, -256, 5000, 1500 };
    QTest::addRow("soup, stepped") << 4100 << 1030 << 0.3 << 2 << true << whole;
    QTest::addRow("sparse, stepped") << 2048 << 2048 << 0.002 << 1 << true << whole;
}

void TestGridUniverse::drawsLargeGridsZoomedOut()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(double, density);
    QFETCH(int, steps);
    QFETCH(bool, summarised);
    QFETCH(CellRect, area);
    GridUniverse universe(Topology::torus(width, height));
    std::mt19937 generator(static_cast<unsigned>(width + steps));
    for (const auto &[x, y] : { std::pair { 0, 0 }, { width - 1, 0 }, { 0, height - 1 }, { width - 1, height - 1 },
             { width / 2, 0 }, { 0, height / 2 }, { width - 1, height / 3 }, { width / 3, height - 1 } })
        universe.setCell(x, y, true);
    if (density > 0)
        universe.fillRandom({ 0, 0, width - 1, height - 1 }, density, generator());
    if (summarised)
        universe.summarise();
    universe.advance(static_cast<std::uint64_t>(steps));
    std::vector<CellPoint> live;
    universe.forEachLiveCell({ 0, 0, width - 1, height - 1 }, [&live](std::int64_t x, std::int64_t y) {
        live.push_back({ x, y });
    });
    QVERIFY(!live.empty());
    for (int shift = 1; shift <= 12; ++shift)
        QVERIFY2(rendersAsCounted(universe, live, area, shift, 0), qPrintable(QString("shift %1").arg(shift)));
}

void TestGridUniverse::readsWholeWordsAsCells()
{
    GridUniverse universe(Topology::torus(130, 70));
    QVERIFY(!universe.boundingBox());
    universe.setCell(129, 69, true);
    QCOMPARE(*universe.boundingBox(), (CellRect { 129, 69, 129, 69 }));
    std::mt19937 generator(3);
    fillRandomly(universe, generator, 0.02);
    universe.setCell(64, 3, true);

    // Read cell by cell, and all the cells past the grid's edges are dead.
    std::vector<CellPoint> live;
    std::vector<CellPoint> expected;
    CellRect box { 130, 70, -1, -1 };
    for (std::int64_t y = -3; y <= 80; ++y) {
        for (std::int64_t x = -70; x <= 140; ++x) {
            if (!universe.cell(x, y))
                continue;
            QVERIFY(x >= 0 && x < 130 && y >= 0 && y < 70);
            live.push_back({ x, y });
            box = { std::min(box.left, x), std::min(box.top, y), std::max(box.right, x), std::max(box.bottom, y) };
            if (x >= 2 && x <= 100 && y <= 60)
                expected.push_back({ x, y });
        }
    }
    QCOMPARE(*universe.boundingBox(), box);
    QVERIFY(liveCells(universe, { 2, -8, 100, 60 }) == expected);

    // Rows with bytes between them that render() leaves alone.
    const CellRect area { -70, -3, 100, 80 };
    for (const int shift : { 0, 1, 3, 6, 7 })
        QVERIFY2(rendersAsCounted(universe, live, area, shift, 5), qPrintable(QString("shift %1").arg(shift)));

    // Every bit of a word reaches the low bits of the hash, which tables use.
    const std::unique_ptr<Universe> copy = universe.clone();
    QVERIFY(copy->equals(universe) && copy->hash() == universe.hash());
    for (std::int64_t x = 0; x < 128; ++x) {
        copy->setCell(x, 5, !copy->cell(x, 5));
        QVERIFY(!copy->equals(universe));
        QVERIFY2((copy->hash() & 0xFFFF) != (universe.hash() & 0xFFFF), qPrintable(QString::number(x)));
        copy->setCell(x, 5, universe.cell(x, 5));
    }
    GridUniverse plane(Topology::plane(130, 70));
    universe.forEachLiveCell(box, [&plane](std::int64_t x, std::int64_t y) { plane.setCell(x, y, true); });
    QVERIFY(!plane.equals(universe) && plane.hash() != universe.hash());
}

void TestGridUniverse::advanceEndsOnceStill()
{
    // Steps one by one would take days: these return at once.
    GridUniverse torus(Topology::torus(1000, 1000));
    torus.advance(std::uint64_t(1) << 40);
    for (const auto &[x, y] : { std::pair { 999, 0 }, { 0, 0 }, { 999, 999 }, { 0, 999 } })
        torus.setCell(x, y, true);
    torus.advance(std::uint64_t(1) << 40);
    QCOMPARE(torus.population(), std::uint64_t(4));
    QVERIFY(torus.cell(999, 999) && torus.cell(0, 0));

    // Under birth on 0 an empty torus does not stay so.
    GridUniverse flashing(Topology::torus(5, 3), ruleFrom("B0/S"));
    flashing.advance(1);
    QCOMPARE(flashing.population(), std::uint64_t(15));
}

void TestGridUniverse::centres()
{
    QCOMPARE(Topology::classic().centre(), (CellPoint { 60, 60 }));
    QCOMPARE(Topology::torus(7, 4).centre(), (CellPoint { 3, 2 }));
    QCOMPARE(Topology::unbounded().centre(), (CellPoint { 0, 0 }));
}

QTEST_GUILESS_MAIN(TestGridUniverse)
#include "tst_griduniverse.moc"

void TestGridUniverse::byteClonesShareUntilChanged_data()
{
    QTest::addColumn<int>("side"); // of a square torus: the larger one keeps overviews
    QTest::addColumn<Change>("change");
    QTest::addColumn<unsigned>("seed");
    QTest::addColumn<bool>("dropsAState");
    // More states, the cells kept as they are; one set to the new state, which the next rule lacks.
    const Change otherRules = [](Universe &universe, int side) {
        const Rule rule = universe.rule();
        universe.setRule(ruleFrom("B34/S/C4"));
        universe.setState(side - 1, side - 1, 3);
        universe.setState(side - 2, side - 2, 2);
        universe.setRule(rule);
    };
    for (const int side : { 200, 2048 }) {
        unsigned seed = static_cast<unsigned>(side);
        for (const auto &[name, change] : changesToClones)
            QTest::addRow("%d, %s", side, name) << side << change << seed++ << false;
        QTest::addRow("%d, other rules", side) << side << otherRules << seed << true;
    }
}

// A grid of a byte a cell and its clone share their cells until one changes:
// the clone changed then matches a grid built and changed on its own, drawn
// as plain cell-by-cell minima show it, zoomed out from the overviews too,
// and the original keeps its cells and what was worked out of them.
void TestGridUniverse::byteClonesShareUntilChanged()
{
    QFETCH(int, side);
    QFETCH(Change, change);
    QFETCH(unsigned, seed);
    QFETCH(bool, dropsAState);
    const Rule brain = ruleFrom("B2/S/C3");
    GridUniverse original(Topology::torus(side, side), brain);
    GridUniverse alone(Topology::torus(side, side), brain);
    std::mt19937 generator(seed);
    for (int cell = 0; cell < 3000; ++cell) {
        const std::int64_t x = generator() % 64;
        const std::int64_t y = generator() % static_cast<unsigned>(side);
        const auto state = static_cast<std::uint8_t>(1 + generator() % 2);
        original.setState(x, y, state);
        alone.setState(x, y, state);
    }
    // Pixels of the whole grid at `shift`, from `area`'s corner, drawn by the
    // universe and from its cells one by one.
    const auto drawn = [side](const Universe &universe, int shift, std::int64_t corner, bool plain) {
        const int count = static_cast<int>(((side - corner) >> shift) + 1);
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(count * count), 9);
        const CellRect area { corner, corner, side - 1, side - 1 };
        if (!plain) {
            universe.render(area, shift, pixels.data(), count, count, count);
            return pixels;
        }
        std::fill(pixels.begin(), pixels.end(), 0);
        for (std::int64_t y = corner; y < side; ++y) {
            for (std::int64_t x = corner; x < side; ++x) {
                std::uint8_t &pixel
                    = pixels[static_cast<std::size_t>(((y - corner) >> shift) * count + ((x - corner) >> shift))];
                if (const std::uint8_t state = universe.state(x, y); state != 0 && (pixel == 0 || state < pixel))
                    pixel = state;
            }
        }
        return pixels;
    };
    // Aligned on the overviews' squares, and not.
    const std::pair<int, std::int64_t> views[] = { { 0, 0 }, { 3, 0 }, { 5, 0 }, { 7, 64 }, { 4, 3 } };
    original.summarise();
    const std::unique_ptr<Universe> clone = original.clone();
    const std::uint64_t population = clone->population();
    const std::uint64_t hash = clone->hash();
    const std::optional<CellRect> box = clone->boundingBox();
    const std::vector<std::uint8_t> before = drawn(*clone, 5, 0, false);
    QVERIFY(before == drawn(original, 5, 0, true));
    change(*clone, side);
    change(alone, side);
    QVERIFY(clone->equals(alone) && alone.equals(*clone));
    QCOMPARE(clone->population(), alone.population());
    QCOMPARE(clone->hash(), alone.hash());
    QCOMPARE(clone->boundingBox(), alone.boundingBox());
    for (const auto &[shift, corner] : views) {
        if (shift > 0 || side < 2048)
            QVERIFY2(drawn(*clone, shift, corner, false) == drawn(alone, shift, corner, true),
                qPrintable(QStringLiteral("shift %1 from %2").arg(shift).arg(corner)));
    }
    QVERIFY(!dropsAState || (clone->state(side - 1, side - 1) == 0 && clone->state(side - 2, side - 2) == 2));
    QVERIFY(!original.equals(*clone));
    QCOMPARE(original.population(), population);
    QCOMPARE(original.hash(), hash);
    QCOMPARE(original.boundingBox(), box);
    QVERIFY(drawn(original, 5, 0, false) == before);
}

void TestGridUniverse::manyStatesKeepTheCells_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    // Whole bytes and words of the packed rows, and rows ending inside one;
    // the last two large enough that their bytes reuse the block of a grid given up.
    for (const auto &[width, height] : { std::pair(1, 9), std::pair(8, 8), std::pair(13, 5), std::pair(64, 3),
             std::pair(65, 4), std::pair(203, 37), std::pair(1024, 1024), std::pair(1100, 1003) })
        QTest::addRow("%d x %d", width, height) << width << height;
}

// A grid of two states taken to a rule of more states and back keeps every
// cell, compared one by one, even where its bytes are those of a grid given
// up just before, every cell of it in a state the new grid never holds.
void TestGridUniverse::manyStatesKeepTheCells()
{
    QFETCH(int, width);
    QFETCH(int, height);
    {
        // Every cell alive, then every cell dying: state 2.
        GridUniverse stale(Topology::torus(width, height));
        stale.fillRandom({ 0, 0, width - 1, height - 1 }, 1.0, 1);
        stale.setRule(ruleFrom("B2/S/C3"));
        stale.advance(1);
        QCOMPARE(stale.population(), std::uint64_t(width) * std::uint64_t(height));
        QCOMPARE(stale.state(width - 1, height - 1), std::uint8_t(2));
    }
    GridUniverse grid(Topology::torus(width, height));
    grid.fillRandom({ 0, 0, width - 1, height - 1 }, 0.5, static_cast<std::uint64_t>(width * height));
    const std::unique_ptr<Universe> cells = grid.clone();
    grid.setRule(ruleFrom("B2/S/C3"));
    // The bits take their bytes once a state past 1 needs them.
    grid.setState(0, 0, 2);
    grid.setState(0, 0, cells->state(0, 0));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            QCOMPARE(grid.state(x, y), cells->state(x, y));
    }
    QCOMPARE(grid.population(), cells->population());
    grid.setRule(ruleFrom("B3/S23"));
    QVERIFY(grid.equals(*cells));
}

void TestGridUniverse::manyStatesUnderAnotherRule_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    // To Life, fewer states and more; states past 127 and 128 apart from 1.
    const std::pair<const char *, const char *> rules[] = { { "B2/S/C3", "B3/S23" }, { "LifeHistory", "B3/S23" },
        { "B2/S/C256", "B3/S23" }, { "B2/S345/C4", "B2/S/C3" }, { "B2/S/C256", "B2/S/C3" }, { "B2/S/C3", "B2/S345/C4" },
        { "LifeHistory", "B2/S/C3" } };
    for (const auto &[from, to] : rules)
        QTest::addRow("%s to %s", from, to) << QString(from) << QString(to);
}

// A grid of many states given another rule keeps each cell's state where
// the new rule has it and its kind of rule, history or not, is the same;
// any other cell becomes 1 if it was live, else 0. Compared one by one,
// on rows ending inside a word and on whole words.
void TestGridUniverse::manyStatesUnderAnotherRule()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    const Rule before = ruleFrom(from);
    const Rule after = ruleFrom(to);
    // Last, a single cell in the highest state, anywhere among dead ones.
    for (const auto &[width, height, lone] :
        { std::tuple(1, 3, false), std::tuple(64, 2, false), std::tuple(203, 9, false), std::tuple(203, 9, true) }) {
        GridUniverse grid(Topology::torus(width, height), before);
        std::mt19937 generator(static_cast<std::uint32_t>(width * height));
        const int loneAt = static_cast<int>(generator() % static_cast<unsigned>(width * height));
        std::vector<std::uint8_t> states;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                // Else half the cells in state 1, as a sparse soup would never have it.
                auto state = static_cast<std::uint8_t>(generator() % 2 ? 1 : generator() % before.stateCount());
                if (lone)
                    state = static_cast<std::uint8_t>(y * width + x == loneAt ? before.stateCount() - 1 : 0);
                grid.setState(x, y, state);
                states.push_back(state);
            }
        }
        grid.setRule(after);
        std::uint64_t population = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const std::uint8_t state = states[static_cast<std::size_t>(y * width + x)];
                const bool kept = before.isHistory() == after.isHistory() && state < after.stateCount();
                const std::uint8_t now = kept ? state : before.isLive(state) ? 1 : 0;
                QCOMPARE(grid.state(x, y), now);
                population += now != 0 ? 1 : 0;
            }
        }
        QCOMPARE(grid.population(), population);
    }
}

void TestGridUniverse::keepsBlocksUnderOneCap_data()
{
    QTest::addColumn<QVector<qint64>>("sizes"); // bytes of the blocks given in turn
    QTest::addColumn<QString>("kinds"); // of each: 'b' a byte grid's, 'w' a bit grid's words
    QTest::addColumn<qint64>("kept"); // bytes kept then
    QTest::addColumn<QVector<int>>("reused"); // the given blocks that takes of the last size return, in turn
    constexpr qint64 MiB = qint64(1) << 20;
    QTest::newRow("below the floor") << QVector<qint64> { MiB / 2, MiB - 8 } << "bw" << qint64(0) << QVector<int> {};
    QTest::newRow("newest first, either kind")
        << QVector<qint64> { 8 * MiB, 8 * MiB } << "wb" << 16 * MiB << QVector<int> { 1, 0 };
    QTest::newRow("one cap for both kinds")
        << QVector<qint64> { 100 * MiB, 100 * MiB, 100 * MiB } << "bwb" << 200 * MiB << QVector<int> { 2, 1 };
    QTest::newRow("oldest let go first") << QVector<qint64> { 2 * MiB, 200 * MiB, 60 * MiB } << "wbw" << 60 * MiB
                                         << QVector<int> { 2 };
    QTest::newRow("the whole cap") << QVector<qint64> { MiB, 256 * MiB } << "bw" << 256 * MiB << QVector<int> { 1 };
    QTest::newRow("over the cap") << QVector<qint64> { 257 * MiB } << "w" << qint64(0) << QVector<int> {};
}

// The blocks that grids of either kind give up wait in one pool under one
// cap, the oldest let go first; a take gets the latest kept of its size,
// whichever kind gave it; blocks below the floor are left to the heap.
void TestGridUniverse::keepsBlocksUnderOneCap()
{
    QFETCH(QVector<qint64>, sizes);
    QFETCH(QString, kinds);
    QFETCH(qint64, kept);
    QFETCH(QVector<int>, reused);
    // Given, a block of the whole cap lets every other go; taken again, the pool is empty.
    void *const whole = KeptBlocks::take(KeptBlocks::KeptBytes);
    KeptBlocks::give(whole, KeptBlocks::KeptBytes);
    void *const wholeAgain = KeptBlocks::take(KeptBlocks::KeptBytes);
    const std::size_t keptBefore = KeptBlocks::keptBytes();
    // All made before any is given, so that none is made of another.
    std::vector<void *> given;
    for (int i = 0; i < sizes.size(); ++i) {
        const auto bytes = static_cast<std::size_t>(sizes[i]);
        given.push_back(kinds[i] == 'b' ? static_cast<void *>(KeptAllocator<std::uint8_t>().allocate(bytes))
                                        : KeptAllocator<std::uint64_t>().allocate(bytes / 8));
    }
    for (int i = 0; i < sizes.size(); ++i) {
        const auto bytes = static_cast<std::size_t>(sizes[i]);
        if (kinds[i] == 'b')
            KeptAllocator<std::uint8_t>().deallocate(static_cast<std::uint8_t *>(given[i]), bytes);
        else
            KeptAllocator<std::uint64_t>().deallocate(static_cast<std::uint64_t *>(given[i]), bytes / 8);
    }
    const std::size_t keptGiven = KeptBlocks::keptBytes();
    const auto words = static_cast<std::size_t>(sizes.back() / 8);
    std::vector<void *> taken;
    for (int i = 0; i < reused.size(); ++i)
        taken.push_back(KeptAllocator<std::uint64_t>().allocate(words));
    const std::size_t keptAfter = KeptBlocks::keptBytes();
    for (void *block : taken)
        KeptAllocator<std::uint64_t>().deallocate(static_cast<std::uint64_t *>(block), words);
    KeptBlocks::give(wholeAgain, KeptBlocks::KeptBytes);

    QCOMPARE(wholeAgain, whole);
    QCOMPARE(keptBefore, std::size_t(0));
    QCOMPARE(keptGiven, static_cast<std::size_t>(kept));
    for (int i = 0; i < reused.size(); ++i)
        QCOMPARE(taken[static_cast<std::size_t>(i)], given[static_cast<std::size_t>(reused[i])]);
    QCOMPARE(keptAfter, static_cast<std::size_t>(kept - reused.size() * sizes.back()));
}
