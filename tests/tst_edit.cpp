#include <QTest>

#include <memory>
#include <random>
#include <set>
#include <string>
#include <utility>

#include "model/edit/clip.h"
#include "model/edit/editing.h"
#include "model/edit/universechange.h"
#include "model/engine/classicuniverse.h"
#include "model/engine/griduniverse.h"
#include "model/engine/hashlife.h"
#include "model/engine/tilelife.h"
#include "model/engine/unboundeduniverse.h"
#include "model/files/patternreader.h"
#include "warningguard.h"

Q_DECLARE_METATYPE(CellRect)
Q_DECLARE_METATYPE(CellPoint)
Q_DECLARE_METATYPE(Universe::Combination)

namespace
{

using Cells = std::set<std::pair<std::int64_t, std::int64_t>>;
constexpr std::int64_t Limit = Universe::CoordinateLimit;

// The classic field, a plane, a torus, and the unbounded plane as HashLife
// (on its own and as the program holds it) and as tiles, whose edits go
// cell by cell through Universe's own.
std::unique_ptr<Universe> makeUniverse(const QByteArray &kind)
{
    if (kind == "classic")
        return std::make_unique<ClassicUniverse>(PackedField());
    if (kind == "plane")
        return std::make_unique<GridUniverse>(Topology::plane(90, 70));
    if (kind == "torus")
        return std::make_unique<GridUniverse>(Topology::torus(64, 80));
    if (kind == "hashlife")
        return std::make_unique<HashLife>();
    if (kind == "tiles")
        return std::make_unique<TileLife>();
    return std::make_unique<UnboundedUniverse>();
}

Cells liveCells(const Universe &universe)
{
    Cells cells;
    if (const std::optional<CellRect> box = universe.boundingBox())
        universe.forEachLiveCell(*box, [&cells](std::int64_t x, std::int64_t y) { cells.insert({ x, y }); });
    return cells;
}

// Sets about two cells in five of `area` alive.
void scatter(Universe &universe, const CellRect &area, unsigned seed)
{
    std::mt19937_64 random(seed);
    for (std::int64_t y = area.top; y <= area.bottom; ++y) {
        for (std::int64_t x = area.left; x <= area.right; ++x) {
            if (random() % 5 < 2)
                universe.setCell(x, y, true);
        }
    }
}

CellRect around(const CellRect &a, const CellRect &b, std::int64_t margin)
{
    return { std::min(a.left, b.left) - margin, std::min(a.top, b.top) - margin, std::max(a.right, b.right) + margin,
        std::max(a.bottom, b.bottom) + margin };
}

// What a turn does, cell by cell: the cells of `area` move to `target` as
// Orientation::map() says, the others stay.
Cells turned(const Cells &cells, const CellRect &area, const Orientation &orientation, const CellRect &target)
{
    Cells result;
    for (const auto &[x, y] : cells) {
        if (!area.contains(x, y)) {
            result.insert({ x, y });
            continue;
        }
        const CellPoint p
            = orientation.map({ x - area.left, y - area.top }, area.right - area.left + 1, area.bottom - area.top + 1);
        result.insert({ target.left + p.x, target.top + p.y });
    }
    return result;
}

} // namespace

// Every edit on every universe against the same edit done cell by cell on a
// set of cells; in the unbounded plane, across the origin and far from it,
// where the squares of HashLife's tree do the work.
class TestEdit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { WarningGuard::install(); }
    void turns_data();
    void turns();
    void flipsAboutTheMiddle_data();
    void flipsAboutTheMiddle();
    void pastesWhereItIsPut_data();
    void pastesWhereItIsPut();
    void refusedPasteChangesNothing_data();
    void refusedPasteChangesNothing();
    void fillsAtRandom_data();
    void fillsAtRandom();
    void failuresChangeNothing_data();
    void failuresChangeNothing();
    void keepsStatesBeyondTwo();
};

void TestEdit::turns_data()
{
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<CellRect>("area");
    QTest::addColumn<CellRect>("quarterTurned"); // half a cell off the centre when w - h is odd

    QTest::newRow("classic, wide") << QByteArray("classic") << CellRect { 50, 40, 61, 46 }
                                   << CellRect { 52, 38, 58, 49 };
    QTest::newRow("plane, tall") << QByteArray("plane") << CellRect { 30, 20, 35, 30 } << CellRect { 28, 22, 38, 27 };
    QTest::newRow("torus, square") << QByteArray("torus") << CellRect { 10, 10, 18, 18 } << CellRect { 10, 10, 18, 18 };
    QTest::newRow("hashlife, both even") << QByteArray("hashlife") << CellRect { -5, -3, 4, 2 }
                                         << CellRect { -3, -5, 2, 4 };
    QTest::newRow("hashlife, far out") << QByteArray("hashlife")
                                       << CellRect { Limit - 40, -Limit + 10, Limit - 29, -Limit + 16 }
                                       << CellRect { Limit - 38, -Limit + 8, Limit - 32, -Limit + 19 };
    QTest::newRow("unbounded, wide") << QByteArray("unbounded") << CellRect { -7, -3, 4, 3 }
                                     << CellRect { -5, -5, 1, 6 };
    QTest::newRow("tiles, tall") << QByteArray("tiles") << CellRect { 60, -70, 65, -60 }
                                 << CellRect { 58, -68, 68, -63 };
}

void TestEdit::turns()
{
    QFETCH(QByteArray, kind);
    QFETCH(CellRect, area);
    QFETCH(CellRect, quarterTurned);

    QCOMPARE(Editing::turnedArea(area, Orientation().clockwise()), quarterTurned);
    QCOMPARE(Editing::turnedArea(quarterTurned, Orientation().anticlockwise()), area);
    const std::unique_ptr<Universe> universe = makeUniverse(kind);
    scatter(*universe, around(area, quarterTurned, 3), 1);
    Cells expected = liveCells(*universe);
    std::string error;
    CellRect selection = area;
    // Cells around the selection, in the turned rectangle too, stay alive.
    for (const Orientation &turn : { Orientation().clockwise(), Orientation().clockwise(),
             Orientation().flippedLeftRight(), Orientation().anticlockwise(), Orientation().flippedTopBottom() }) {
        const CellRect before = selection;
        QVERIFY2(Editing::turn(*universe, selection, turn, error), error.c_str());
        QCOMPARE(selection, Editing::turnedArea(before, turn));
        expected = turned(expected, before, turn, selection);
        QVERIFY(liveCells(*universe) == expected);
    }

    // The selection alone: four quarter turns either way give it back as it was.
    QVERIFY(Editing::clearOutside(*universe, selection, error));
    const Cells alone = liveCells(*universe);
    QVERIFY(!alone.empty());
    const CellRect start = selection;
    for (const Orientation &turn : { Orientation().clockwise(), Orientation().anticlockwise() }) {
        for (int i = 0; i < 4; ++i) {
            QVERIFY(Editing::turn(*universe, selection, turn, error));
            QCOMPARE(liveCells(*universe) == alone, i == 3);
        }
        QCOMPARE(selection, start);
    }
}

void TestEdit::flipsAboutTheMiddle_data()
{
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<std::int64_t>("origin"); // the area's left and top
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("offset"); // of the live cell from the origin
    QTest::addColumn<int>("flipped");

    for (const auto &[kind, origin] : { std::pair<const char *, std::int64_t> { "classic", 10 }, { "hashlife", -2 } }) {
        const QByteArray name(kind);
        QTest::addRow("%s, odd width, the middle stays", kind) << name << origin << 5 << 2 << 2;
        QTest::addRow("%s, odd width, first and last", kind) << name << origin << 5 << 0 << 4;
        QTest::addRow("%s, even width, the middle two trade", kind) << name << origin << 4 << 1 << 2;
        QTest::addRow("%s, even width, first and last", kind) << name << origin << 4 << 3 << 0;
    }
}

void TestEdit::flipsAboutTheMiddle()
{
    QFETCH(QByteArray, kind);
    QFETCH(std::int64_t, origin);
    QFETCH(int, width);
    QFETCH(int, offset);
    QFETCH(int, flipped);

    const std::unique_ptr<Universe> universe = makeUniverse(kind);
    std::string error;
    // Left and right in a width x 3 area, then top and bottom in a 3 x width one.
    CellRect wide { origin, origin, origin + width - 1, origin + 2 };
    universe->setCell(origin + offset, origin + 1, true);
    QVERIFY(Editing::turn(*universe, wide, Orientation().flippedLeftRight(), error));
    QVERIFY(liveCells(*universe) == Cells({ { origin + flipped, origin + 1 } }));

    universe->clear();
    CellRect tall { origin, origin, origin + 2, origin + width - 1 };
    universe->setCell(origin + 1, origin + offset, true);
    QVERIFY(Editing::turn(*universe, tall, Orientation().flippedTopBottom(), error));
    QVERIFY(liveCells(*universe) == Cells({ { origin + 1, origin + flipped } }));
}

void TestEdit::pastesWhereItIsPut_data()
{
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<Universe::Combination>("how");
    QTest::addColumn<int>("orientation"); // Orientation::index()
    QTest::addColumn<CellPoint>("source"); // top-left cell of the 20 x 12 area copied
    QTest::addColumn<CellPoint>("topLeft");
    QTest::addColumn<bool>("full"); // every cell around `topLeft` alive, in squares that repeat

    using How = Universe::Combination;
    const std::pair<const char *, How> modes[] = { { "or", How::Or }, { "copy", How::Copy }, { "xor", How::Xor } };
    int row = 0;
    for (const char *kind : { "classic", "plane", "torus", "hashlife", "unbounded", "tiles" }) {
        const bool bounded = row < 9;
        for (const auto &[mode, how] : modes) {
            // Over the copied cells themselves, and in the unbounded plane also far away.
            const CellPoint source = bounded ? CellPoint { 20, 15 } : CellPoint { -5, -4 };
            const CellPoint topLeft = bounded ? CellPoint { 24, 18 }
                : row % 2 == 0                ? CellPoint { 3, -2 }
                                              : CellPoint { (Limit >> 3) + 5, -(Limit >> 5) - 3 };
            QTest::addRow("%s, %s", kind, mode)
                << QByteArray(kind) << how << (row * 3) % 8 << source << topLeft << false;
            ++row;
        }
    }
    // `topLeft` on `source`: on the copied cells' own box.
    QTest::newRow("hashlife, xor over itself")
        << QByteArray("hashlife") << How::Xor << 0 << CellPoint { -5, -4 } << CellPoint { -5, -4 } << false;
    QTest::newRow("torus, copy over itself")
        << QByteArray("torus") << How::Copy << 0 << CellPoint { 20, 15 } << CellPoint { 20, 15 } << false;
    QTest::newRow("hashlife, xor into full squares")
        << QByteArray("hashlife") << How::Xor << 5 << CellPoint { -5, -4 } << CellPoint { 1003, 1005 } << true;
}

void TestEdit::pastesWhereItIsPut()
{
    QFETCH(QByteArray, kind);
    QFETCH(Universe::Combination, how);
    QFETCH(int, orientation);
    QFETCH(CellPoint, source);
    QFETCH(CellPoint, topLeft);
    QFETCH(bool, full);

    const std::unique_ptr<Universe> universe = makeUniverse(kind);
    Rule highLife;
    std::string error;
    QVERIFY(Rule::read("B36/S23", highLife, error));
    universe->setRule(highLife);
    const CellRect area { source.x, source.y, source.x + 19, source.y + 11 };
    const CellRect target { topLeft.x, topLeft.y, topLeft.x + 19, topLeft.y + 19 };
    scatter(*universe, around(area, area, 2), 2);
    if (full)
        QVERIFY(Editing::fillRandom(*universe, around(target, target, 70), 100, 0, error));
    else
        scatter(*universe, around(target, target, 2), 3);
    const Cells before = liveCells(*universe);

    // Copied: the cells of the area from the top-left corner of their box, under the universe's rule.
    std::string text;
    QVERIFY2(Editing::copy(*universe, area, text, error), error.c_str());
    Pattern pattern;
    QVERIFY2(PatternReader::read(text, pattern, error), error.c_str());
    QVERIFY(pattern.rule == highLife);
    Cells copied;
    CellRect box { INT64_MAX, INT64_MAX, INT64_MIN, INT64_MIN };
    for (const auto &[x, y] : before) {
        if (area.contains(x, y)) {
            copied.insert({ x, y });
            box = { std::min(box.left, x), std::min(box.top, y), std::max(box.right, x), std::max(box.bottom, y) };
        }
    }
    const Clip clip(pattern);
    QCOMPARE(clip.box(Orientation()), (CellRect { 0, 0, box.right - box.left, box.bottom - box.top }));
    const Orientation turn = Orientation::fromIndex(orientation);
    const CellRect turnedBox = clip.box(turn);
    if (topLeft == source)
        topLeft = { box.left, box.top };
    QCOMPARE(turnedBox.right, turn.swapsSides() ? box.bottom - box.top : box.right - box.left);

    QVERIFY2(Editing::paste(*universe, clip, turn, topLeft, how, error), error.c_str());
    const Cells pasted = turned(copied, box, turn, { topLeft.x, topLeft.y, 0, 0 });
    Cells expected;
    for (const auto &cell : before) {
        const bool inBox = cell.first >= topLeft.x && cell.first <= topLeft.x + turnedBox.right
            && cell.second >= topLeft.y && cell.second <= topLeft.y + turnedBox.bottom;
        if (!(how == Universe::Combination::Copy && inBox)
            && !(how == Universe::Combination::Xor && pasted.count(cell)))
            expected.insert(cell);
    }
    for (const auto &cell : pasted) {
        if (how != Universe::Combination::Xor || !before.count(cell))
            expected.insert(cell);
    }
    QVERIFY(liveCells(*universe) == expected);
    QVERIFY(universe->rule() == highLife);
}

void TestEdit::refusedPasteChangesNothing_data()
{
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<CellPoint>("topLeft");
    QTest::addColumn<bool>("accepted");

    // The pattern's box is 6 x 4 cells; its live cells fill columns 0..2 of rows 1..3.
    QTest::newRow("classic, dead cells past the edge") << QByteArray("classic") << CellPoint { 117, 116 } << true;
    QTest::newRow("classic, a live cell past the edge") << QByteArray("classic") << CellPoint { 118, 116 } << false;
    QTest::newRow("plane, left of it") << QByteArray("plane") << CellPoint { -1, 10 } << false;
    QTest::newRow("torus, below it") << QByteArray("torus") << CellPoint { 10, 77 } << false;
    QTest::newRow("hashlife, at the edge") << QByteArray("hashlife") << CellPoint { Limit - 2, 0 } << true;
    QTest::newRow("hashlife, past the edge") << QByteArray("hashlife") << CellPoint { Limit - 1, 0 } << false;
    QTest::newRow("unbounded, dead cells past the edge")
        << QByteArray("unbounded") << CellPoint { -Limit, -Limit - 1 } << true;
    QTest::newRow("unbounded, far past the edge") << QByteArray("unbounded") << CellPoint { INT64_MAX - 3, 0 } << false;
}

void TestEdit::refusedPasteChangesNothing()
{
    QFETCH(QByteArray, kind);
    QFETCH(CellPoint, topLeft);
    QFETCH(bool, accepted);

    Pattern pattern;
    std::string error;
    QVERIFY(PatternReader::read("x = 6, y = 4\n$3o$3o$3o!", pattern, error));
    const Clip clip(pattern);
    const std::unique_ptr<Universe> universe = makeUniverse(kind);
    const CellPoint near { std::clamp<std::int64_t>(topLeft.x, -Limit + 5, Limit - 5),
        std::clamp<std::int64_t>(topLeft.y, -Limit + 5, Limit - 5) };
    const CellRect inside = Universe::extent(universe->topology());
    const CellRect background { std::max(inside.left, near.x - 5), std::max(inside.top, near.y - 5),
        std::min(inside.right, near.x + 5), std::min(inside.bottom, near.y + 5) };
    scatter(*universe, background, 4);
    const std::unique_ptr<Universe> before = universe->clone();

    error.clear();
    QCOMPARE(Editing::paste(*universe, clip, Orientation(), topLeft, Universe::Combination::Copy, error), accepted);
    QCOMPARE(error.empty(), accepted);
    if (accepted) {
        QVERIFY(!universe->cell(topLeft.x, topLeft.y));
        QVERIFY(universe->cell(topLeft.x + 2, topLeft.y + 3));
    } else {
        QVERIFY(universe->equals(*before));
    }
}

void TestEdit::fillsAtRandom_data()
{
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<CellRect>("area");
    QTest::addColumn<double>("percent");
    QTest::addColumn<bool>("accepted");

    const CellRect bounded { 5, 6, 44, 55 }; // 2,000 cells
    const CellRect unbounded { -20, -25, 19, 24 };
    QTest::newRow("classic, 30 %") << QByteArray("classic") << bounded << 30.0 << true;
    QTest::newRow("plane, 100 %") << QByteArray("plane") << bounded << 100.0 << true;
    QTest::newRow("torus, 0 %") << QByteArray("torus") << bounded << 0.0 << true;
    QTest::newRow("torus, 101 %") << QByteArray("torus") << bounded << 101.0 << false;
    QTest::newRow("hashlife, 30 %") << QByteArray("hashlife") << unbounded << 30.0 << true;
    QTest::newRow("hashlife, 100 %") << QByteArray("hashlife") << unbounded << 100.0 << true;
    QTest::newRow("unbounded, 12.5 %") << QByteArray("unbounded") << unbounded << 12.5 << true;
    QTest::newRow("tiles, 30 %") << QByteArray("tiles") << unbounded << 30.0 << true;
    QTest::newRow("unbounded, too large")
        << QByteArray("unbounded") << CellRect { 0, 0, (1 << 15) - 1, (1 << 14) } << 30.0 << false;
}

void TestEdit::fillsAtRandom()
{
    QFETCH(QByteArray, kind);
    QFETCH(CellRect, area);
    QFETCH(double, percent);
    QFETCH(bool, accepted);

    const std::unique_ptr<Universe> universe = makeUniverse(kind);
    scatter(*universe, { area.left - 3, area.top - 3, area.left + 50, area.top + 50 }, 5);
    const Cells before = liveCells(*universe);
    std::string error;
    QCOMPARE(Editing::fillRandom(*universe, area, percent, 7, error), accepted);
    const Cells after = liveCells(*universe);
    if (!accepted) {
        QVERIFY(after == before);
        return;
    }
    std::int64_t inside = 0;
    Cells outside[2];
    for (const Cells *cells : { &before, &after }) {
        for (const auto &[x, y] : *cells) {
            if (!area.contains(x, y))
                outside[cells == &after].insert({ x, y });
            else if (cells == &after)
                ++inside;
        }
    }
    QVERIFY(outside[0] == outside[1]);
    // Within five standard deviations of the expected count.
    const double cells = double(area.right - area.left + 1) * double(area.bottom - area.top + 1);
    const double p = percent / 100;
    QVERIFY2(std::abs(double(inside) - cells * p) <= 5 * std::sqrt(cells * p * (1 - p)),
        QByteArray::number(qint64(inside)).constData());
}

void TestEdit::failuresChangeNothing_data()
{
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<QByteArray>("operation");
    QTest::addColumn<bool>("fails"); // in the memory left, whatever the engines do to save it
    for (const char *kind : { "classic", "plane", "torus", "hashlife", "tiles", "unbounded" }) {
        const bool tree = qstrcmp(kind, "hashlife") == 0 || qstrcmp(kind, "unbounded") == 0;
        for (const char *operation : { "paste", "turn", "fill", "clear outside", "jump" }) {
            // The unbounded plane's tiles finish the jump that HashLife has no room for.
            const bool onTiles = qstrcmp(kind, "unbounded") == 0 && qstrcmp(operation, "jump") == 0;
            QTest::addRow("%s, %s", kind, operation)
                << QByteArray(kind) << QByteArray(operation)
                << (tree && !onTiles && qstrcmp(operation, "clear outside") != 0 && qstrcmp(operation, "turn") != 0);
        }
    }
}

// With almost no memory left for the unbounded plane's squares, an edit or a
// jump either does all it says or refuses, saying why, with every cell as it was.
void TestEdit::failuresChangeNothing()
{
    QFETCH(QByteArray, kind);
    QFETCH(QByteArray, operation);
    QFETCH(bool, fails);

    const std::unique_ptr<Universe> universe = makeUniverse(kind);
    scatter(*universe, { 10, 10, 49, 49 }, 5);
    Pattern pattern;
    pattern.width = 40;
    pattern.height = 40;
    std::vector<CellPoint> cells;
    std::mt19937_64 random(6);
    for (std::int64_t y = 0; y < 40; ++y) {
        for (std::int64_t x = 0; x < 40; ++x) {
            if (random() % 3 == 0)
                cells.push_back({ x, y });
        }
    }
    pattern.cells.setCells(cells);
    const Clip clip(pattern);
    const Cells beforeCells = liveCells(*universe);

    // Limits from far too little to enough: each edit starts from the same
    // cells, and some give out at one point of it, some at another.
    const std::size_t defaultLimit = HashLife::memoryLimit();
    int failures = 0;
    const bool tree = kind == "hashlife" || kind == "unbounded";
    for (const std::size_t limit : { 14 << 10, 16 << 10, 40 << 10, 100 << 10, 250 << 10, 640 << 10 }) {
        const std::unique_ptr<Universe> edited = universe->clone();
        HashLife::setMemoryLimit(limit);
        std::string error;
        bool done = false;
        if (operation == "paste") {
            done = Editing::paste(
                *edited, clip, Orientation().clockwise(), { 20, 20 }, Universe::Combination::Xor, error);
        } else if (operation == "turn") {
            CellRect area { -300, -300, 300, 300 };
            done = Editing::turn(*edited, area, Orientation().flippedLeftRight(), error);
        } else if (operation == "fill") {
            done = Editing::fillRandom(*edited, { 5, 5, 200, 200 }, 50, 7, error);
        } else if (operation == "clear outside") {
            done = Editing::clearOutside(*edited, { 20, 20, 30, 30 }, error);
        } else {
            try {
                edited->advance(tree ? 1 << 12 : 100);
                done = true;
            } catch (const UniverseError &failure) {
                error = failure.what();
            }
        }
        HashLife::setMemoryLimit(defaultLimit);
        QCOMPARE(error.empty(), done);
        if (!done) {
            ++failures;
            QCOMPARE(liveCells(*edited), beforeCells);
        }
    }
    QCOMPARE(failures > 0, fails);
}

QTEST_GUILESS_MAIN(TestEdit)
void TestEdit::keepsStatesBeyondTwo()
{
    Rule rule;
    std::string error;
    QVERIFY(Rule::read("B2/S345/C5", rule, error));
    GridUniverse universe(Topology::plane(30, 20), rule);
    // An L of states 1, 2 and 4 in a 3 x 2 box, turned a quarter clockwise in place.
    universe.setState(10, 10, 1);
    universe.setState(10, 11, 2);
    universe.setState(12, 11, 4);
    CellRect area { 10, 10, 12, 11 };
    QVERIFY(Editing::turn(universe, area, Orientation().clockwise(), error));
    QCOMPARE(area, (CellRect { 10, 10, 11, 12 }));
    QCOMPARE(universe.population(), std::uint64_t(3));
    QCOMPARE(universe.state(11, 10), std::uint8_t(1));
    QCOMPARE(universe.state(10, 10), std::uint8_t(2));
    QCOMPARE(universe.state(10, 12), std::uint8_t(4));

    // Copied, flipped and pasted elsewhere; then carried into a larger torus.
    std::string text;
    QVERIFY(Editing::copy(universe, area, text, error));
    Pattern pattern;
    QVERIFY2(PatternReader::read(text, pattern, error), error.c_str());
    const Clip clip(pattern);
    QVERIFY(
        Editing::paste(universe, clip, Orientation().flippedLeftRight(), { 20, 5 }, Universe::Combination::Or, error));
    QCOMPARE(universe.state(20, 5), std::uint8_t(1));
    QCOMPARE(universe.state(21, 5), std::uint8_t(2));
    QCOMPARE(universe.state(21, 7), std::uint8_t(4));

    GridUniverse larger(Topology::torus(40, 30), rule);
    const UniverseChange change(universe.topology(), larger.topology());
    change.copy(universe, larger);
    QVERIFY(universe.equalsShifted(larger, 5, 5));
}

#include "tst_edit.moc"
