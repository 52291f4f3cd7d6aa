#include <QTest>

#include <atomic>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "model/edit/clip.h"
#include "model/edit/editing.h"
#include "model/edit/universechange.h"
#include "model/engine/griduniverse.h"
#include "model/engine/stategrid.h"
#include "model/engine/statehashlife.h"
#include "model/engine/unboundeduniverse.h"
#include "model/files/pattern.h"
#include "model/files/patternreader.h"
#include "warningguard.h"

namespace
{

// A small soup of random states with its top-left cell at (left, top) of the plane.
struct Cluster {
    std::int64_t left;
    std::int64_t top;
    int side;
};

constexpr std::int64_t Far = Universe::CoordinateLimit;

// The jumps each run takes, one after another.
const std::vector<std::uint64_t> Jumps = { 1, 3, 1, 8, 32 };
constexpr std::int64_t Reach = 1 + 3 + 1 + 8 + 32; // cells any jump can grow by, at one a generation

} // namespace

Q_DECLARE_METATYPE(Cluster)
Q_DECLARE_METATYPE(std::vector<Cluster>)

// The many-state quadtree against StateGrid stepping each cluster on a
// bounded plane with room for everything the jumps can reach, so that the
// plane's edge never plays a part and the clusters never meet.
class TestStateHashLife : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { WarningGuard::install(); }

    void matchesStateGrid_data();
    void matchesStateGrid();
    void refusesBirthOnNothing();
    void switchesEngineWithTheRule();
    void editsAsABoundedPlane();
    void failsUnchanged();
};

void TestStateHashLife::matchesStateGrid_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<std::vector<Cluster>>("clusters");
    QTest::addColumn<int>("memory"); // KiB the store may hold while this runs, 0 for the default
    // A rule taking turns with `rule` from the first generation on, or none:
    // the quadtree is given the pair, the plane each rule for one generation
    // at a time, so that the store's results under four pairs of rules mix.
    QTest::addColumn<QString>("odd");

    const std::vector<Cluster> soup = { { -13, -11, 28 } };
    const std::vector<Cluster> apart = { { -1000003, 5, 4 }, { 123456789, -987654321, 5 }, { 7, Far / 2, 3 } };
    const std::vector<Cluster> edges = { { Far - Reach - 9, -Far + Reach, 9 }, { -Far + Reach, Far - Reach - 7, 7 } };
    for (const char *rule :
        { "B3/S23", "B2/S/C3", "345/2/4", "B2-a/S12", "B2/S34H", "B1/S1V", "LifeHistory", "B3/S23/C256" }) {
        QTest::addRow("%s soup", rule) << rule << soup << 0 << QString();
        QTest::addRow("%s apart", rule) << rule << apart << 0 << QString();
        QTest::addRow("%s at the edges", rule) << rule << edges << 0 << QString();
    }
    QTest::newRow("empty") << "B2/S/C3" << std::vector<Cluster> {} << 0 << QString();
    // Collections in the middle of the jumps.
    QTest::newRow("Star Wars, little memory")
        << "345/2/4" << std::vector<Cluster> { { -40, -40, 80 } } << 256 << QString();
    for (const auto &pair : { std::pair { "345/2/4", "3/23/4" }, std::pair { "B2-a/S12", "B3-q/S2-a3" },
             std::pair { "B2/S34H", "B13/S2H" }, std::pair { "B1/S1V", "B12/S3V" } }) {
        QTest::addRow("%s with %s soup", pair.first, pair.second) << pair.first << soup << 0 << pair.second;
        QTest::addRow("%s with %s apart", pair.first, pair.second) << pair.first << apart << 0 << pair.second;
    }
    QTest::newRow("Star Wars in turns, little memory")
        << "345/2/4" << std::vector<Cluster> { { -40, -40, 80 } } << 256 << "3/23/4";
}

void TestStateHashLife::matchesStateGrid()
{
    QFETCH(QString, rule);
    QFETCH(std::vector<Cluster>, clusters);
    QFETCH(int, memory);
    QFETCH(QString, odd);

    Rule stepping;
    std::string error;
    QVERIFY2(Rule::read(rule.toStdString(), stepping, error), error.c_str());
    Rule oddRule = stepping;
    QVERIFY2(odd.isEmpty() || Rule::read(odd.toStdString(), oddRule, error), error.c_str());
    const Rule *const turns[2] = { &stepping, &oddRule };
    const std::size_t defaultLimit = StateHashLife::memoryLimit();
    if (memory > 0)
        StateHashLife::setMemoryLimit(std::size_t(memory) << 10);

    std::mt19937 random(static_cast<unsigned>(qHash(QString::fromLatin1(QTest::currentDataTag()))));
    std::uniform_int_distribution<int> state(0, stepping.stateCount() - 1);
    StateHashLife tree(stepping);
    UnboundedUniverse plane(stepping);
    std::vector<StateGrid> grids;
    std::vector<StateHashLife::StatedCell> cells;
    for (const Cluster &cluster : clusters) {
        const std::int64_t side = cluster.side + 2 * Reach + 2;
        StateGrid &grid = grids.emplace_back(Topology::plane(side, side));
        for (int y = 0; y < cluster.side; ++y) {
            for (int x = 0; x < cluster.side; ++x) {
                const auto value = static_cast<std::uint8_t>(random() % 2 == 0 ? state(random) : 0);
                grid.setState(Reach + 1 + x, Reach + 1 + y, value);
                cells.push_back({ cluster.left + x, cluster.top + y, value });
            }
        }
    }
    // Half the cells one by one, the rest all at once.
    for (std::size_t i = 0; i < cells.size() / 2; ++i) {
        tree.setState(cells[i].x, cells[i].y, cells[i].state);
        plane.setState(cells[i].x, cells[i].y, cells[i].state);
    }
    cells.erase(cells.begin(), cells.begin() + static_cast<std::ptrdiff_t>(cells.size() / 2));
    tree.setStates(cells);
    for (const StateHashLife::StatedCell &cell : cells)
        plane.setState(cell.x, cell.y, cell.state);
    const StateHashLife start(tree);
    const std::uint64_t startHash = tree.hash();
    if (!odd.isEmpty())
        tree.setRules(stepping, oddRule);

    std::uint64_t generation = 0;
    for (const std::uint64_t jump : Jumps) {
        const std::uint64_t from = generation;
        generation += jump;
        tree.advance(jump);
        for (std::uint64_t g = 0; g < jump && !odd.isEmpty(); ++g) {
            plane.setRule(*turns[(from + g) % 2]);
            plane.advance(1);
        }
        if (odd.isEmpty())
            plane.advance(jump);
        std::uint64_t population = 0;
        std::optional<CellRect> box;
        for (std::size_t i = 0; i < clusters.size(); ++i) {
            StateGrid &grid = grids[i];
            for (std::uint64_t g = 0; g < jump; ++g)
                grid.step(*turns[(from + g) % 2]);
            const std::int64_t dx = clusters[i].left - Reach - 1;
            const std::int64_t dy = clusters[i].top - Reach - 1;
            population += grid.population();
            bool same = true;
            grid.forEachCell({ 0, 0, Far, Far }, [&](std::int64_t x, std::int64_t y, std::uint8_t value) {
                same = same && tree.state(x + dx, y + dy) == value && plane.state(x + dx, y + dy) == value;
            });
            QVERIFY2(same, qPrintable(QStringLiteral("cluster %1 after %2 generations").arg(i).arg(generation)));
            if (const std::optional<CellRect> part = grid.boundingBox()) {
                const CellRect moved { part->left + dx, part->top + dy, part->right + dx, part->bottom + dy };
                box = box ? CellRect { std::min(box->left, moved.left), std::min(box->top, moved.top),
                    std::max(box->right, moved.right), std::max(box->bottom, moved.bottom) }
                          : moved;
            }
        }
        QCOMPARE(tree.rule(), *turns[generation % 2]);
        QCOMPARE(tree.population(), population);
        QCOMPARE(plane.population(), population);
        QCOMPARE(tree.boundingBox(), box);
        QCOMPARE(plane.boundingBox(), box);
    }
    QVERIFY(start.hash() == startHash && start.equals(StateHashLife(start)));
    QVERIFY(!clusters.empty() == !start.equals(StateHashLife(stepping)));

    if (!grids.empty()) {
        // The first cluster drawn, at every scale, from a corner that is
        // no multiple of the pixels' side; and visited row by row.
        const StateGrid &grid = grids.front();
        const std::int64_t dx = clusters.front().left - Reach - 1;
        const std::int64_t dy = clusters.front().top - Reach - 1;
        const std::int64_t side = clusters.front().side + 2 * Reach + 2;
        for (int shift = 0; shift <= 3; ++shift) {
            const int pixels = static_cast<int>(((side + 5) >> shift) + 1);
            std::vector<std::uint8_t> drawn(static_cast<std::size_t>(pixels * pixels), 9);
            std::vector<std::uint8_t> wanted(drawn.size(), 0);
            const CellRect area { dx - 3, dy - 5, dx - 3 + (std::int64_t(pixels) << shift) - 1,
                dy - 5 + (std::int64_t(pixels) << shift) - 1 };
            tree.render(area, shift, drawn.data(), pixels, pixels, pixels);
            grid.forEachCell({ 0, 0, side - 1, side - 1 }, [&](std::int64_t x, std::int64_t y, std::uint8_t value) {
                std::uint8_t &pixel = wanted[static_cast<std::size_t>(
                    ((y + dy - area.top) >> shift) * pixels + ((x + dx - area.left) >> shift))];
                pixel = pixel == 0 ? value : std::min(pixel, value);
            });
            QVERIFY2(drawn == wanted, qPrintable(QStringLiteral("drawn at 1:%1").arg(1 << shift)));
            // The grid draws the same from a corner left of and above its own.
            grid.render({ -3, -5, area.right - dx, area.bottom - dy }, shift, drawn.data(), pixels, pixels, pixels);
            QVERIFY2(drawn == wanted, qPrintable(QStringLiteral("the grid drawn at 1:%1").arg(1 << shift)));
        }
        std::vector<StateHashLife::StatedCell> visited;
        std::vector<StateHashLife::StatedCell> counted;
        const CellRect inner { dx + 20, dy + 25, dx + side - 30, dy + side - 22 };
        tree.forEachCell(inner, [&](std::int64_t x, std::int64_t y, std::uint8_t value) {
            visited.push_back({ x, y, value });
        });
        grid.forEachCell({ inner.left - dx, inner.top - dy, inner.right - dx, inner.bottom - dy },
            [&](std::int64_t x, std::int64_t y, std::uint8_t value) {
                counted.push_back({ x + dx, y + dy, value });
            });
        QCOMPARE(visited.size(), counted.size());
        for (std::size_t i = 0; i < visited.size(); ++i)
            QVERIFY(
                visited[i].x == counted[i].x && visited[i].y == counted[i].y && visited[i].state == counted[i].state);

        // The same cells set anew are the very same squares; cut away, none stay.
        StateHashLife again(stepping);
        std::vector<StateHashLife::StatedCell> all;
        tree.forEachCell(
            Universe::extent(Topology::unbounded()), [&](std::int64_t x, std::int64_t y, std::uint8_t value) {
                all.push_back({ x, y, value });
            });
        again.setStates(all);
        QVERIFY(again.equals(tree) && again.hash() == tree.hash());
        again.clearOutside(inner);
        QCOMPARE(again.population(), std::uint64_t(visited.size()));
        again.clearInside(inner);
        QCOMPARE(again.population(), std::uint64_t(0));
    }
    StateHashLife::setMemoryLimit(defaultLimit);
}

void TestStateHashLife::refusesBirthOnNothing()
{
    for (const char *rule : { "B0/S/C3", "B01/S1V", "B0/S2H" }) {
        Rule filling;
        std::string error;
        QVERIFY(Rule::read(rule, filling, error));
        QVERIFY_EXCEPTION_THROWN(StateHashLife { filling }, UniverseError);
        QVERIFY_EXCEPTION_THROWN(UnboundedUniverse { filling }, UniverseError);
        UnboundedUniverse plane;
        QVERIFY_EXCEPTION_THROWN(plane.setRule(filling), UniverseError);
        QCOMPARE(plane.rule(), Rule());
    }
}

// Under a rule that is not Life-like the plane keeps every state; back under
// Life, what counted as alive lives on, on Life's own engines.
void TestStateHashLife::switchesEngineWithTheRule()
{
    Rule history;
    Rule brain;
    std::string error;
    QVERIFY(Rule::read("LifeHistory", history, error) && Rule::read("B2/S/C3", brain, error));
    UnboundedUniverse plane;
    for (std::int64_t x = 0; x < 7; ++x)
        plane.setCell(x * 1000, -x, true);
    plane.setRule(history);
    for (std::int64_t x = 0; x < 7; ++x)
        plane.setState(x * 1000, -x, static_cast<std::uint8_t>(x));
    QVERIFY(plane.stateCells() != nullptr);
    const std::unique_ptr<Universe> kept = plane.clone();
    // LifeHistory's live states are the odd ones.
    plane.setRule(Rule());
    QVERIFY(plane.stateCells() == nullptr);
    QCOMPARE(plane.population(), std::uint64_t(3));
    for (std::int64_t x = 0; x < 7; ++x)
        QCOMPARE(plane.state(x * 1000, -x), std::uint8_t(x % 2));
    // Another family: only what counted as alive stays, in state 1.
    Rule starWars;
    QVERIFY(Rule::read("345/2/4", starWars, error));
    kept->setRule(starWars);
    for (std::int64_t x = 0; x < 7; ++x)
        QCOMPARE(kept->state(x * 1000, -x), std::uint8_t(x % 2));
    // Fewer dying states: those past them die.
    kept->setState(0, 0, 2);
    kept->setState(2000, -2, 3);
    kept->setRule(brain);
    QCOMPARE(kept->state(0, 0), std::uint8_t(2));
    QCOMPARE(kept->state(2000, -2), std::uint8_t(0));
    QCOMPARE(kept->population(), std::uint64_t(4));
}

// The edits of the Edit menu keep every state in the unbounded plane as a
// bounded plane does, and moving into the unbounded plane keeps them too.
void TestStateHashLife::editsAsABoundedPlane()
{
    Rule history;
    std::string error;
    QVERIFY(Rule::read("LifeHistory", history, error));
    GridUniverse grid(Topology::plane(300, 200), history);
    UnboundedUniverse plane(history);
    std::mt19937 random(5);
    for (std::int64_t y = 50; y < 80; ++y) {
        for (std::int64_t x = 100; x < 140; ++x) {
            const auto value = static_cast<std::uint8_t>(random() % 3 == 0 ? random() % 7 : 0);
            grid.setState(x, y, value);
            plane.setState(x, y, value);
        }
    }
    UnboundedUniverse moved(history);
    UniverseChange(grid.topology(), moved.topology()).copy(grid, moved);
    QVERIFY(grid.equalsShifted(moved, -150, -100));

    std::string text;
    QVERIFY2(Editing::copy(plane, { 110, 55, 129, 74 }, text, error), error.c_str());
    Pattern pattern;
    QVERIFY2(PatternReader::read(text, pattern, error), error.c_str());
    const Clip clip(pattern);
    for (Universe *universe : { static_cast<Universe *>(&grid), static_cast<Universe *>(&plane) }) {
        CellRect area { 95, 45, 150, 90 };
        QVERIFY2(Editing::turn(*universe, area, Orientation().clockwise(), error), error.c_str());
        QVERIFY2(Editing::paste(
                     *universe, clip, Orientation().flippedLeftRight(), { 10, 20 }, Universe::Combination::Copy, error),
            error.c_str());
        QVERIFY2(Editing::clear(*universe, { 120, 60, 125, 100 }, error), error.c_str());
        QVERIFY2(Editing::fillRandom(*universe, { 30, 100, 250, 180 }, 30, 7, error), error.c_str());
    }
    QVERIFY(grid.population() > 100);
    QVERIFY(grid.equalsShifted(plane, 0, 0));
}

// What fails leaves the plane as it was: a jump stopped, cells flying past
// the edge of the plane, too little memory.
void TestStateHashLife::failsUnchanged()
{
    Rule brain;
    Rule starWars;
    std::string error;
    QVERIFY(Rule::read("B2/S/C3", brain, error) && Rule::read("345/2/4", starWars, error));
    // Brian's Brain's domino flies west a cell a generation.
    UnboundedUniverse plane(brain);
    for (std::int64_t y = 0; y < 2; ++y) {
        plane.setState(-Far + 3, y, 1);
        plane.setState(-Far + 4, y, 2);
    }
    const std::unique_ptr<Universe> before = plane.clone();
    std::atomic<bool> stop { true };
    QVERIFY(!plane.advanceUnless(1024, stop));
    QVERIFY(plane.equals(*before));
    stop = false;
    QVERIFY(plane.advanceUnless(3, stop));
    QCOMPARE(plane.state(-Far, 1), std::uint8_t(1));
    QCOMPARE(plane.state(-Far + 1, 1), std::uint8_t(2));
    const std::unique_ptr<Universe> atTheEdge = plane.clone();
    QVERIFY_EXCEPTION_THROWN(plane.advance(1), UniverseError);
    QVERIFY(plane.equals(*atTheEdge));

    UnboundedUniverse soup(starWars);
    std::mt19937 random(9);
    for (std::int64_t y = 0; y < 64; ++y) {
        for (std::int64_t x = 0; x < 64; ++x)
            soup.setState(x, y, static_cast<std::uint8_t>(random() % 4));
    }
    const std::unique_ptr<Universe> start = soup.clone();
    const std::size_t limit = StateHashLife::memoryLimit();
    StateHashLife::setMemoryLimit(std::size_t(24) << 10);
    QVERIFY_EXCEPTION_THROWN(soup.advance(1024), UniverseError);
    StateHashLife::setMemoryLimit(limit);
    QVERIFY(soup.equals(*start));
    soup.advance(2);
    QVERIFY(!soup.equals(*start));
}

QTEST_GUILESS_MAIN(TestStateHashLife)
#include "tst_statehashlife.moc"
