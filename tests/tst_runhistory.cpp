#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "model/analysis/growth.h"
#include "model/analysis/runhistory.h"
#include "model/engine/classicuniverse.h"
#include "model/engine/griduniverse.h"
#include "model/engine/packedfield.h"
#include "model/engine/rule.h"
#include "model/files/pattern.h"
#include "model/files/patternreader.h"
#include "ruletext.h"
#include "warningguard.h"

Q_DECLARE_METATYPE(RunHistory::Fate)

namespace
{

// Universes of equal population collide, as they often do within a run: only
// the comparison of the universes themselves can tell a cycle from a false match.
std::uint64_t population(const Universe &universe) { return universe.population(); }

// The unbounded plane as far as a few hundred generations of a small pattern
// near (0, 0) need it: a plane of Size x Size cells around that cell.
class OpenPlane : public Universe
{
public:
    static constexpr std::int64_t Size = 256;

    explicit OpenPlane(std::unique_ptr<Universe> cells = std::make_unique<GridUniverse>(Topology::plane(Size, Size)))
        : grid(std::move(cells))
    {
    }
    std::unique_ptr<Universe> clone() const override { return std::make_unique<OpenPlane>(grid->clone()); }
    Topology topology() const override { return Topology::unbounded(); }
    const Rule &rule() const override { return grid->rule(); }
    void setRule(const Rule &rule) override { grid->setRule(rule); }
    bool cell(std::int64_t x, std::int64_t y) const override { return grid->cell(x + Half, y + Half); }
    void setCell(std::int64_t x, std::int64_t y, bool alive) override { grid->setCell(x + Half, y + Half, alive); }
    void clear() override { grid->clear(); }
    void forEachLiveCell(
        const CellRect &area, const std::function<void(std::int64_t, std::int64_t)> &visit) const override
    {
        grid->forEachLiveCell(
            moved(area, Half), [&visit](std::int64_t x, std::int64_t y) { visit(x - Half, y - Half); });
    }
    std::uint64_t population() const override { return grid->population(); }
    std::optional<CellRect> boundingBox() const override
    {
        const std::optional<CellRect> box = grid->boundingBox();
        return box ? std::optional<CellRect>(moved(*box, -Half)) : std::nullopt;
    }
    void render(const CellRect &area, int shift, std::uint8_t *pixels, int columns, int rows,
        std::ptrdiff_t stride) const override
    {
        grid->render(moved(area, Half), shift, pixels, columns, rows, stride);
    }
    void advance(std::uint64_t generations) override { grid->advance(generations); }
    std::uint64_t hash() const override { return grid->hash(); }
    bool equals(const Universe &other) const override
    {
        const auto *plane = dynamic_cast<const OpenPlane *>(&other);
        return plane && grid->equals(*plane->grid);
    }

private:
    static constexpr std::int64_t Half = Size / 2;
    static CellRect moved(const CellRect &area, std::int64_t by)
    {
        return { area.left + by, area.top + by, area.right + by, area.bottom + by };
    }

    std::unique_ptr<Universe> grid;
};

// Records `universe` every `stride` generations from `generation` on until
// the history stops looking or `last` is passed.
void runUntilSettled(
    RunHistory &history, Universe &universe, std::int64_t generation, std::int64_t stride, std::int64_t last)
{
    history.reset(universe, generation);
    while (history.fate() == RunHistory::Fate::Evolving && generation <= last) {
        universe.advance(static_cast<std::uint64_t>(stride));
        generation += stride;
        history.append(universe, generation);
    }
}

} // namespace

// Where patterns go: fates known from the patterns themselves, and the first
// repeat found by comparing every field with every earlier one; in the
// classic field and in a plane of its size, from records of every generation
// and from records generations apart.
class TestRunHistory : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { WarningGuard::install(); }
    void settles_data();
    void settles();
    void findsTheGliderAroundATorus_data();
    void findsTheGliderAroundATorus();
    void findsMovingShapes_data();
    void findsMovingShapes();
    void findsGrowth_data();
    void findsGrowth();
    void largeShipsFlyingApartDoNotGrow();
};

void TestRunHistory::settles_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<RunHistory::Fate>("fate"); // Evolving: the first repeat tells
    QTest::addColumn<int>("start"); // G, with the file as generation 57; -1: the first repeat tells
    QTest::addColumn<int>("period"); // P

    using Fate = RunHistory::Fate;
    QTest::newRow("blinker") << QByteArray("x = 3, y = 1\n3o!") << Fate::Oscillating << 57 << 2;
    QTest::newRow("block") << QByteArray("x = 2, y = 2\n2o$2o!") << Fate::Still << 57 << 1;
    QTest::newRow("pentadecathlon") << QByteArray("x = 10, y = 3\n2bo4bo$2ob4ob2o$2bo4bo!") << Fate::Oscillating << 57
                                    << 15;
    QTest::newRow("diehard: empty at 130 on")
        << QByteArray("x = 8, y = 3\n6bo$2o$bo3b3o!") << Fate::DiedOut << 57 + 130 << 1;
    QTest::newRow("glider into a corner") << QByteArray("x = 3, y = 3\nbo$2bo$3o!") << Fate::Still << -1 << 1;
    QTest::newRow("r-pentomino") << QByteArray("x = 3, y = 3\nb2o$2o$bo!") << Fate::Oscillating << -1 << -1;
    QTest::newRow("seeds") << QByteArray("x = 2, y = 1, rule = B2/S\n2o!") << Fate::Evolving << -1 << -1;
    QTest::newRow("birth on 0") << QByteArray("x = 1, y = 1, rule = B0/S\no!") << Fate::Evolving << -1 << -1;
}

void TestRunHistory::settles()
{
    QFETCH(QByteArray, file);
    QFETCH(RunHistory::Fate, fate);
    QFETCH(int, start);
    QFETCH(int, period);

    Pattern pattern;
    std::string error;
    QVERIFY2(PatternReader::read(file.toStdString(), pattern, error), error.c_str());
    const Rule rule = pattern.rule.value_or(Rule());

    // Every field until the first that equals an earlier one.
    std::vector<PackedField> fields { pattern.centred() };
    int repeatOf = -1;
    while (repeatOf < 0) {
        fields.push_back(fields.back().next(rule));
        for (std::size_t i = 0; i + 1 < fields.size() && repeatOf < 0; ++i) {
            if (fields[i] == fields.back())
                repeatOf = static_cast<int>(i);
        }
    }
    const int firstRepeat = static_cast<int>(fields.size()) - 1;
    if (start < 0) {
        start = 57 + repeatOf;
        period = firstRepeat - repeatOf;
    }
    if (fate == RunHistory::Fate::Evolving) {
        const bool dead = fields[static_cast<std::size_t>(repeatOf)].population() == 0;
        fate = period > 1 ? RunHistory::Fate::Oscillating : dead ? RunHistory::Fate::DiedOut : RunHistory::Fate::Still;
    }

    struct Run {
        const char *name;
        bool plane;
        std::int64_t stride; // generations from record to record
        RunHistory::HashFunction hash;
        std::size_t checkpointBudget;
    };
    constexpr std::size_t Budget = RunHistory::CheckpointBudget;
    for (const Run &run :
        { Run { "classic field", false, 1, nullptr, Budget },
            Run { "classic field, equal populations", false, 1, &population, Budget },
            Run { "classic field, 64 a record", false, 64, nullptr, Budget }, Run { "plane", true, 1, nullptr, Budget },
            Run { "plane, 16 a record, the first checkpoint alone", true, 16, nullptr, 0 },
            Run { "plane, 8 a record, equal populations", true, 8, &population, Budget } }) {
        // Each false match costs a recomputation: the long runs only with the real hash.
        if (run.hash && firstRepeat > 150)
            continue;
        RunHistory history(RunHistory::GenerationLimit, run.checkpointBudget, run.hash);
        if (!run.plane && run.stride == 1) {
            // As the window records its field.
            history.reset(fields[0], 57, rule);
            for (int i = 1; i <= firstRepeat; ++i) {
                // Not a generation too early, nor too late.
                QCOMPARE(history.isSettled(), false);
                history.append(fields[static_cast<std::size_t>(i)]);
            }
            QCOMPARE(history.lastGeneration(), std::int64_t(57 + firstRepeat));
        } else {
            std::unique_ptr<Universe> universe = ClassicUniverse(fields[0], rule).clone();
            if (run.plane) {
                const std::unique_ptr<Universe> classic = std::move(universe);
                universe = std::make_unique<GridUniverse>(Topology::plane(120, 120), rule);
                classic->forEachLiveCell(
                    { 0, 0, 119, 119 }, [&universe](std::int64_t x, std::int64_t y) { universe->setCell(x, y, true); });
            }
            // Settled at the latest when the first record in the cycle comes round again.
            runUntilSettled(history, *universe, 57, run.stride, 57 + firstRepeat + run.stride * (period + 1));
        }
        QVERIFY2(history.fate() == fate, run.name);
        QVERIFY2(history.cycleStart() == start && history.period() == period,
            qPrintable(QString("%1: G %2, P %3").arg(run.name).arg(history.cycleStart()).arg(history.period())));
        QCOMPARE(history.population(start),
            static_cast<std::uint64_t>(fields[static_cast<std::size_t>(start - 57)].population()));
    }
}

void TestRunHistory::findsTheGliderAroundATorus_data()
{
    QTest::addColumn<int>("stride");
    QTest::addColumn<int>("checkpointBudget"); // bytes; a checkpoint of this torus takes 80
    for (const int stride : { 1, 8, 16, 64 })
        QTest::addRow("%d a record", stride) << stride << int(RunHistory::CheckpointBudget);
    QTest::newRow("1024 a record, checkpoints thinned") << 1024 << 200;
}

void TestRunHistory::findsTheGliderAroundATorus()
{
    QFETCH(int, stride);
    QFETCH(int, checkpointBudget);
    // A glider and a lone cell, which dies at once: the cycle starts at 1.
    GridUniverse torus(Topology::torus(10, 10));
    for (const auto &[x, y] : { std::pair { 1, 0 }, { 2, 1 }, { 0, 2 }, { 1, 2 }, { 2, 2 }, { 6, 6 } })
        torus.setCell(x, y, true);
    RunHistory history(RunHistory::GenerationLimit, static_cast<std::size_t>(checkpointBudget));
    runUntilSettled(history, torus, 0, stride, 10000);
    QCOMPARE(history.fate(), RunHistory::Fate::Oscillating);
    QCOMPARE(history.cycleStart(), std::int64_t(1));
    QCOMPARE(history.period(), std::int64_t(40));
    QCOMPARE(history.population(1), std::uint64_t(5));

    RunHistory shortSighted(30);
    runUntilSettled(shortSighted, torus, 0, 1, 100);
    QCOMPARE(shortSighted.fate(), RunHistory::Fate::Unsettled);
    QCOMPARE(shortSighted.lastGeneration(), std::int64_t(30));
}

void TestRunHistory::findsMovingShapes_data()
{
    QTest::addColumn<int>("right"); // 1 or -1
    QTest::addColumn<int>("down");
    QTest::addColumn<int>("stride");
    QTest::newRow("down and right") << 1 << 1 << 1;
    QTest::newRow("up and left, 8 a record") << -1 << -1 << 8;
    QTest::newRow("down and left, 3 a record") << -1 << 1 << 3;
    QTest::newRow("up and right, 16 a record") << 1 << -1 << 16;
}

void TestRunHistory::findsMovingShapes()
{
    QFETCH(int, right);
    QFETCH(int, down);
    QFETCH(int, stride);
    OpenPlane plane;
    for (const auto &[x, y] : { std::pair { 1, 0 }, { 2, 1 }, { 0, 2 }, { 1, 2 }, { 2, 2 }, { -20, -20 } })
        plane.setCell(x * right, y * down, true);
    RunHistory history;
    runUntilSettled(history, plane, 0, stride, 300);
    QCOMPARE(history.fate(), RunHistory::Fate::Moving);
    QCOMPARE(history.cycleStart(), std::int64_t(1));
    QCOMPARE(history.period(), std::int64_t(4));
    QCOMPARE(history.displacement(), (CellPoint { right, down }));
}

void TestRunHistory::findsGrowth_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("picture"); // rows split at '|', 'O' alive
    QTest::addColumn<int>("stride");
    QTest::addColumn<int>("kind"); // Growth::Kind
    QTest::addColumn<int>("foundAt"); // the start being generation 0
    QTest::addColumn<int>("population"); // at foundAt
    QTest::addColumn<bool>("backgroundAlive");

    const auto kind = [](Growth::Kind growth) { return static_cast<int>(growth); };
    // Worked out by hand. Every cell born and none dying: (2t + 1)^2 cells
    // at t, past 65536 from 128 on, about four times as many as at 64.
    QTest::newRow("square") << "B12345678/S012345678"
                            << "O" << 1 << kind(Growth::Kind::Quadratic) << 128 << 66049 << false;
    // Records at 96 (37249 cells), 144 (83521, but no look at most halfway)
    // and 288 (332929, four times the look at 144).
    QTest::newRow("square, 48 a record") << "B12345678/S012345678"
                                         << "O" << 48 << kind(Growth::Kind::Quadratic) << 288 << 332929 << false;
    // B0/S8 keeps the plane alive from generation 1 on, and the cells that
    // differ from it follow rule 126 ring by ring round the first cell: at
    // 2^k - 1 all those within 2^k - 1, at 2^k the two rings at 2^k - 1 and
    // 2^k, 16 * 2^k - 8 cells. Past 65536 first at 255 (511^2), so that the
    // look at 256 finds twice as many as at 128.
    QTest::newRow("B0/S8 cell") << "B0/S8"
                                << "O" << 1 << kind(Growth::Kind::Linear) << 256 << 4088 << true;
}

// Patterns that grow for ever, run in the unbounded plane by its own engine
// and recorded every so many generations: the history stops looking at the
// first record a look finds growth at.
void TestRunHistory::findsGrowth()
{
    QFETCH(QString, rule);
    QFETCH(QString, picture);
    QFETCH(int, stride);
    QFETCH(int, kind);
    QFETCH(int, foundAt);
    QFETCH(int, population);
    QFETCH(bool, backgroundAlive);
    const std::unique_ptr<Universe> universe = Universe::create(Topology::unbounded(), ruleFrom(rule));
    const QStringList rows = picture.split('|');
    for (int y = 0; y < rows.size(); ++y) {
        for (int x = 0; x < rows[y].size(); ++x)
            universe->setCell(x, y, rows[y][x] == QLatin1Char('O'));
    }
    RunHistory history;
    runUntilSettled(history, *universe, 0, stride, 2 * foundAt);
    QCOMPARE(history.fate(), RunHistory::Fate::Growing);
    QCOMPARE(static_cast<int>(history.growth()->kind), kind);
    QCOMPARE(history.growthFoundAt(), std::int64_t(foundAt));
    QCOMPARE(history.lastGeneration(), std::int64_t(foundAt));
    QCOMPARE(history.population(foundAt), std::uint64_t(population));
    QCOMPARE(history.cycleBackgroundAlive(), backgroundAlive);
}

// Two fleets of 7000 gliders flying apart, 70000 cells that never repeat as
// a whole: too many to look for a gun in, and no more of them at any look.
void TestRunHistory::largeShipsFlyingApartDoNotGrow()
{
    const std::unique_ptr<Universe> universe = Universe::create(Topology::unbounded(), Rule());
    for (std::int64_t k = 0; k < 7000; ++k) {
        for (const auto &[x, y] : { std::pair { 1, 0 }, { 2, 1 }, { 0, 2 }, { 1, 2 }, { 2, 2 } }) {
            universe->setCell(5 * k + x, y, true); // heading down and right
            universe->setCell(5 * k - x, -20 - y, true); // up and left
        }
    }
    RunHistory history;
    runUntilSettled(history, *universe, 0, 16, 600);
    QCOMPARE(history.fate(), RunHistory::Fate::Evolving);
    QCOMPARE(history.population(history.lastGeneration()), std::uint64_t(70000));
}

QTEST_GUILESS_MAIN(TestRunHistory)
#include "tst_runhistory.moc"
