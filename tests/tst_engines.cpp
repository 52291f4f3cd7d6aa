#include <QTest>

#include <algorithm>
#include <random>
#include <vector>

#include "model/engine/orientation.h"
#include "model/engine/rule.h"
#include "model/engine/tilestep.h"
#include "tests/enginecomparison.h"
#include "warningguard.h"

namespace
{

using Cells = std::vector<CellPoint>;

// Typed in from their pictures; the count decides what they do.
const Cells glider { { 1, 0 }, { 2, 1 }, { 0, 2 }, { 1, 2 }, { 2, 2 } }; // moves right and down
const Cells lightweight { { 0, 0 }, { 3, 0 }, { 4, 1 }, { 0, 2 }, { 4, 2 }, { 1, 3 }, { 2, 3 }, { 3, 3 }, { 4, 3 } };
const Cells middleweight { { 2, 0 }, { 0, 1 }, { 4, 1 }, { 5, 2 }, { 0, 3 }, { 5, 3 }, { 1, 4 }, { 2, 4 }, { 3, 4 },
    { 4, 4 }, { 5, 4 } };
const Cells heavyweight { { 2, 0 }, { 3, 0 }, { 0, 1 }, { 5, 1 }, { 6, 2 }, { 0, 3 }, { 6, 3 }, { 1, 4 }, { 2, 4 },
    { 3, 4 }, { 4, 4 }, { 5, 4 }, { 6, 4 } }; // these three move right
const Cells blinker { { 0, 0 }, { 1, 0 }, { 2, 0 } };
const Cells toad { { 1, 0 }, { 2, 0 }, { 3, 0 }, { 0, 1 }, { 1, 1 }, { 2, 1 } };
const Cells beacon { { 0, 0 }, { 1, 0 }, { 0, 1 }, { 3, 2 }, { 2, 3 }, { 3, 3 } };
const Cells block { { 0, 0 }, { 1, 0 }, { 0, 1 }, { 1, 1 } };
const Cells beehive { { 1, 0 }, { 2, 0 }, { 0, 1 }, { 3, 1 }, { 1, 2 }, { 2, 2 } };
const std::vector<const Cells *> ships { &glider, &lightweight, &middleweight, &heavyweight };
const std::vector<const Cells *> still { &blinker, &toad, &beacon, &block, &beehive };

constexpr std::int64_t Tile = 64; // the tiles' side, where the engines split the plane
constexpr std::int64_t Limit = Universe::CoordinateLimit;

// `shape` turned by one of eight orientations (bit 0 mirrors x, bit 1 mirrors
// y, bit 2 swaps them), then moved by (x, y), added to `cells`.
void place(Cells &cells, const Cells &shape, int orientation, std::int64_t x, std::int64_t y)
{
    for (CellPoint cell : shape) {
        if (orientation & 4)
            std::swap(cell.x, cell.y);
        cells.push_back({ x + ((orientation & 1) ? -cell.x : cell.x), y + ((orientation & 2) ? -cell.y : cell.y) });
    }
}

// An edit of one cell at a generation.
struct Edit {
    std::uint64_t generation;
    CellPoint cell;
    bool alive;
};

struct Run {
    Cells start;
    std::vector<Edit> edits; // by generation
    std::vector<std::uint64_t> checks; // the generations every engine is compared at, rising
    Rule rule;
    bool crosses = false; // reaches the edge of the unbounded plane, where the comparison ends
    TileStep::Path path = TileStep::available().back(); // the tiles' step
};

std::vector<std::uint64_t> checksTo(std::uint64_t last)
{
    std::vector<std::uint64_t> checks;
    for (std::uint64_t a = 1, b = 2; a < last; std::swap(a, b), b += a)
        checks.push_back(a);
    checks.push_back(last);
    return checks;
}

// 64 copies of a ship, in one of eight orientations, each just before a
// tile's edge at another place along it, so that together they cross it at
// every offset, the corners included. They fly the same way, never meeting.
Run shipsAcrossEdges(const Cells &ship, int orientation)
{
    Run run;
    for (std::int64_t k = 0; k < Tile; ++k) {
        const CellPoint at { 2 * Tile * (k % 8) + Tile - 6, 3 * Tile / 2 * (k / 8) + k };
        const std::int64_t x = (orientation & 4) ? at.y : at.x;
        const std::int64_t y = (orientation & 4) ? at.x : at.y;
        place(run.start, ship, orientation, (orientation & 1) ? -x : x, (orientation & 2) ? -y : y);
    }
    run.checks = checksTo(60);
    return run;
}

// Pairs of gliders meeting at tile corners, and gliders flying into blocks and
// blinkers sitting on corners, each at another offset from the corner.
Run collisionsAtCorners()
{
    Run run;
    for (std::int64_t k = 0; k < 24; ++k) {
        const std::int64_t corner = 3 * Tile * k;
        place(run.start, glider, 0, corner - 14 + k % 4, -14 + k / 4);
        if (k % 3 == 0)
            place(run.start, glider, 3, corner + 12, 12 + k % 5);
        else
            place(run.start, k % 3 == 1 ? block : blinker, 0, corner - k % 2, -(k % 4) / 2);
    }
    run.checks = checksTo(120);
    return run;
}

// A field of blinkers over the sixteen tiles around a corner, every tile
// and its neighbours period 2, where the tiles take their shortcut, with
// single cells edited between steps.
Run editsInPeriodTwo(unsigned seed)
{
    std::mt19937 random(seed);
    Run run;
    for (std::int64_t y = -2 * Tile; y < 2 * Tile; y += 6) {
        for (std::int64_t x = -2 * Tile + 1; x < 2 * Tile - 3; x += 6)
            place(run.start, blinker, random() % 2 ? 4 : 0, x, y);
    }
    for (std::uint64_t generation = 2; generation < 40; generation += 1 + random() % 5) {
        const CellPoint cell { static_cast<std::int64_t>(random() % (4 * Tile)) - 2 * Tile,
            static_cast<std::int64_t>(random() % (4 * Tile)) - 2 * Tile };
        run.edits.push_back({ generation, cell, random() % 4 != 0 });
        for (std::uint64_t after = 0; after < 3; ++after)
            run.checks.push_back(generation + after);
    }
    run.checks.push_back(50);
    std::sort(run.checks.begin(), run.checks.end());
    run.checks.erase(std::unique(run.checks.begin(), run.checks.end()), run.checks.end());
    return run;
}

// Blinkers over a block of tiles, beside which some tiles hold scraps of
// soup: a tile whose own cells blink while a neighbour's chaos stays away
// from the cells facing it, or reaches them later, or at a corner only.
Run blinkersBesideChaos(unsigned seed)
{
    std::mt19937 random(seed);
    Run run;
    for (std::int64_t y = -2 * Tile + 2; y < 2 * Tile - 2; y += 5) {
        for (std::int64_t x = -2 * Tile + 2; x < 2 * Tile - 4; x += 6)
            place(run.start, blinker, random() % 2 ? 4 : 0, x, y);
    }
    for (int k = 0; k < 12; ++k) {
        // A scrap in a tile beside the block, a few cells from the edge facing it.
        const std::int64_t side = static_cast<std::int64_t>(random() % 4);
        const std::int64_t along = static_cast<std::int64_t>(random() % (4 * Tile)) - 2 * Tile;
        const std::int64_t away = 2 * Tile + 1 + static_cast<std::int64_t>(random() % 10);
        const std::int64_t x = side == 0 ? away : side == 1 ? -away - 8 : along;
        const std::int64_t y = side == 2 ? away : side == 3 ? -away - 8 : along;
        for (std::int64_t cell = 0; cell < 64; ++cell) {
            if (random() % 2 == 0)
                run.start.push_back({ x + cell % 8, y + cell / 8 });
        }
    }
    for (std::uint64_t generation = 1; generation <= 150; ++generation)
        run.checks.push_back(generation);
    return run;
}

// Seven cells beside a corner whose fourth tile is empty, in every
// orientation: in the second generation a cell there dies, and the corner
// cell of the empty tile, which had four live neighbours, has three.
Run deathBesideAnEmptyCorner()
{
    const Cells cells { { -3, 0 }, { -2, -1 }, { -1, -1 }, { -1, 1 }, { 0, -1 }, { 1, -2 }, { 1, -1 } };
    Run run;
    for (int index = 0; index < Orientation::Count; ++index) {
        for (const CellPoint &cell : cells) {
            const CellPoint turned = Orientation::fromIndex(index).mapAboutOrigin(cell);
            run.start.push_back({ turned.x + 4 * Tile * index, turned.y - Tile });
        }
    }
    run.checks = checksTo(12);
    return run;
}

// Scraps of soup in three of the four tiles that meet at a corner, the fourth
// empty: births there come from the other three, and from deaths in them.
Run scrapsAroundCorners(unsigned seed)
{
    std::mt19937 random(seed);
    Run run;
    for (std::int64_t k = 0; k < 64; ++k) {
        const CellPoint corner { 3 * Tile * (k % 8), 3 * Tile * (k / 8) };
        const unsigned empty = random() % 4;
        for (unsigned quadrant = 0; quadrant < 4; ++quadrant) {
            for (std::int64_t cell = 0; cell < 16 && quadrant != empty; ++cell) {
                if (random() % 2 == 0)
                    continue;
                const std::int64_t x = cell % 4;
                const std::int64_t y = cell / 4;
                run.start.push_back(
                    { corner.x + ((quadrant & 1) ? x : -1 - x), corner.y + ((quadrant & 2) ? y : -1 - y) });
            }
        }
    }
    run.checks = checksTo(60);
    return run;
}

// Small objects and scraps of soup scattered over a sparse field, most of
// them near tile edges, so that most tiles sleep and wake one by one.
Run sparseField(unsigned seed, std::int64_t left, std::int64_t top, std::int64_t tiles, const char *rule)
{
    std::mt19937 random(seed);
    Run run;
    for (int k = 0; k < 60; ++k) {
        const std::int64_t x = left + Tile * static_cast<std::int64_t>(random() % tiles) + random() % 12 - 6;
        const std::int64_t y = top + Tile * static_cast<std::int64_t>(random() % tiles) + random() % 12 - 6;
        if (random() % 2 == 0) {
            const std::vector<const Cells *> &kinds = random() % 2 ? ships : still;
            place(run.start, *kinds[random() % kinds.size()], static_cast<int>(random() % 8), x, y);
            continue;
        }
        const int width = 2 + static_cast<int>(random() % 7);
        const int height = 2 + static_cast<int>(random() % 7);
        for (int dy = 0; dy < height; ++dy) {
            for (int dx = 0; dx < width; ++dx) {
                if (random() % 5 < 2)
                    run.start.push_back({ x + dx, y + dy });
            }
        }
    }
    std::string error;
    if (!Rule::read(rule, run.rule, error))
        qFatal("%s", error.c_str());
    run.checks = checksTo(100);
    return run;
}

// A glider flying into the edge of the plane, which every engine refuses to
// cross, staying where it was: in single steps from close by, or in one jump
// from further away, which the unbounded plane starts on the tiles.
Run intoTheEdge(int orientation, std::int64_t distance, std::vector<std::uint64_t> checks)
{
    Run run;
    place(run.start, glider, orientation, (orientation & 1) ? distance - Limit : Limit - distance,
        (orientation & 2) ? 2 * distance - Limit : Limit - 2 * distance);
    run.checks = std::move(checks);
    run.crosses = true;
    return run;
}

std::uint64_t comparisons = 0;

} // namespace

Q_DECLARE_METATYPE(Run)

// The engines of the unbounded plane against each other and a plain count, on
// the starts that dense soups never reach: ships crossing tile edges and
// corners, collisions there, edits beside oscillators, sparse fields where
// most tiles sleep, and the far corners of the plane.
class TestEngines : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { WarningGuard::install(); }
    void cleanup() { TileStep::use(TileStep::available().back()); }
    void cleanupTestCase() { qInfo("%llu engine states compared with the count", qulonglong(comparisons)); }
    void agreeWithTheCount_data();
    void agreeWithTheCount();
};

void TestEngines::agreeWithTheCount_data()
{
    QTest::addColumn<Run>("run");
    const char *const shipNames[] = { "glider", "lightweight ship", "middleweight ship", "heavyweight ship" };
    for (std::size_t ship = 0; ship < ships.size(); ++ship) {
        for (int orientation = 0; orientation < 8; ++orientation)
            QTest::addRow("%s %d across edges", shipNames[ship], orientation)
                << shipsAcrossEdges(*ships[ship], orientation);
    }
    QTest::newRow("collisions at corners") << collisionsAtCorners();
    for (unsigned seed = 1; seed <= 2; ++seed)
        QTest::addRow("edits in period 2, %u", seed) << editsInPeriodTwo(seed);
    QTest::newRow("a death beside an empty corner") << deathBesideAnEmptyCorner();
    for (unsigned seed = 1; seed <= 3; ++seed)
        QTest::addRow("blinkers beside chaos %u", seed) << blinkersBesideChaos(seed);
    for (unsigned seed = 1; seed <= 2; ++seed)
        QTest::addRow("scraps around corners %u", seed) << scrapsAroundCorners(seed);
    for (unsigned seed = 1; seed <= 3; ++seed)
        QTest::addRow("sparse field %u", seed) << sparseField(seed, -15 * Tile, -15 * Tile, 30, "B3/S23");
    for (unsigned seed = 10; seed <= 11; ++seed)
        QTest::addRow("small field in the classic one, %u", seed) << sparseField(seed, -50, -50, 2, "B3/S23");
    QTest::newRow("sparse field, HighLife") << sparseField(7, -15 * Tile, -15 * Tile, 30, "B36/S23");
    QTest::newRow("sparse field, negative") << sparseField(8, -40 * Tile, -33 * Tile - 7, 12, "B3/S23");
    // Jumps that the unbounded plane races its engines over, where HashLife
    // may give up on chaos and its memo outlives a change of step size.
    Run raced = sparseField(4, -15 * Tile, -15 * Tile, 30, "B3/S23");
    raced.checks = { 1500, 2500, 4000 };
    QTest::newRow("sparse field in raced jumps") << raced;
    QTest::newRow("sparse field, near the far corner") << sparseField(9, Limit - 900, -Limit + 100, 12, "B3/S23");
    for (int orientation : { 0, 3, 5, 6 }) {
        QTest::addRow("glider into the edge %d", orientation)
            << intoTheEdge(orientation, 12, { 8, 16, 20, 33, 60, 100, 140 });
        QTest::addRow("glider jumped into the edge %d", orientation) << intoTheEdge(orientation, 600, { 3000 });
    }
    // The tiles' slower steps, which other processors take, on the starts
    // that reach every edge and corner of a tile and its sleeping and waking.
    const char *const pathNames[] = { "portable", "wide", "widest" };
    for (const TileStep::Path path : TileStep::available()) {
        if (path == TileStep::available().back())
            continue;
        const auto onPath = [path](Run run) {
            run.path = path;
            return run;
        };
        const char *name = pathNames[static_cast<int>(path)];
        QTest::addRow("collisions at corners, %s step", name) << onPath(collisionsAtCorners());
        QTest::addRow("edits in period 2, %s step", name) << onPath(editsInPeriodTwo(3));
        QTest::addRow("scraps around corners, %s step", name) << onPath(scrapsAroundCorners(3));
        QTest::addRow("sparse field, %s step", name) << onPath(sparseField(5, -15 * Tile, -15 * Tile, 30, "B3/S23"));
        QTest::addRow("sparse field, HighLife, %s step", name)
            << onPath(sparseField(6, -15 * Tile, -15 * Tile, 30, "B36/S23"));
    }
}

// Every engine at every check, and the tiles stepped at every generation,
// hold exactly the counted cells, with the edits made between.
void TestEngines::agreeWithTheCount()
{
    QFETCH(Run, run);
    TileStep::use(run.path);
    EngineComparison engines(run.start, run.rule, run.checks.back());
    std::size_t edit = 0;
    for (const std::uint64_t check : run.checks) {
        engines.advance(check - engines.generation());
        for (; edit < run.edits.size() && run.edits[edit].generation == engines.generation(); ++edit)
            engines.edit(run.edits[edit].cell.x, run.edits[edit].cell.y, run.edits[edit].alive);
        QVERIFY2(engines.mismatch().empty(), engines.mismatch().c_str());
    }
    QCOMPARE(engines.ended(), run.crosses);
    comparisons += engines.comparisons();
}

QTEST_GUILESS_MAIN(TestEngines)
#include "tst_engines.moc"
