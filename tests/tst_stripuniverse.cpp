#include <QTest>

#include <random>
#include <stdexcept>
#include <string>

#include "model/engine/griduniverse.h"
#include "model/engine/stripuniverse.h"
#include "ruletext.h"
#include "warningguard.h"

// The endless strip against a bounded plane or torus so long that the
// pattern never reaches its ends, in every rule family.
class TestStripUniverse : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { WarningGuard::install(); }
    void stepsAsALongGrid_data();
    void stepsAsALongGrid();
    void refusesWhatItCannotRun();
};

void TestStripUniverse::stepsAsALongGrid_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<double>("density");
    const char *const rules[] = { "B3/S23", "B36/S23", "B2/S/C3", "B2-a/S12", "B2/S34H", "LifeHistory" };
    const char *const suffixes[] = { "T0,17", "T9,0", "P0,12", "P1,0", "T0,1", "T0,3" };
    int row = 0;
    for (const char *rule : rules) {
        for (const char *suffix : suffixes) {
            // Each rule on each strip, alternately dense and sparse.
            const double density = ++row % 2 == 0 ? 0.4 : 0.08;
            QTest::newRow(qPrintable(QString("%1:%2").arg(rule, suffix)))
                << QString(rule) << QString(suffix) << density;
        }
    }
}

void TestStripUniverse::stepsAsALongGrid()
{
    QFETCH(QString, rule);
    QFETCH(QString, suffix);
    QFETCH(double, density);
    std::string error;
    const Topology strip = *Topology::readSuffix(suffix.toStdString(), error);
    const Rule stepRule = ruleFrom(rule);
    const bool alongX = strip.width() == 0;
    // A pattern Length cells long, longer than the window first made,
    // stepped in jumps that pass the window's
    // chunks of generations, placed far from 0 lengthwise; the grid has room
    // for it to grow by a cell a generation at both ends.
    constexpr std::int64_t Length = 100;
    constexpr std::int64_t Steps = 150;
    constexpr std::int64_t GridLength = Length + 2 * Steps + 8;
    constexpr std::int64_t Start = -1000;
    const std::int64_t across = strip.across();
    const Topology gridShape = (strip.kind() == Topology::Kind::Torus ? Topology::torus : Topology::plane)(
        alongX ? GridLength : across, alongX ? across : GridLength);
    GridUniverse grid(gridShape, stepRule);
    const std::unique_ptr<Universe> endless = Universe::create(strip, stepRule);
    QCOMPARE(endless->topology(), strip);
    std::mt19937 generator(static_cast<unsigned>(qHash(rule + suffix)));
    std::bernoulli_distribution live(density);
    std::uniform_int_distribution<int> state(1, stepRule.stateCount() - 1);
    const std::int64_t offset = Steps + 4 - Start; // the grid's place for the strip's
    for (std::int64_t along = Start; along < Start + Length; ++along) {
        for (std::int64_t side = 0; side < across; ++side) {
            if (!live(generator))
                continue;
            const auto cellState = static_cast<std::uint8_t>(state(generator));
            if (alongX) {
                grid.setState(along + offset, side, cellState);
                endless->setState(along, side, cellState);
            } else {
                grid.setState(side, along + offset, cellState);
                endless->setState(side, along, cellState);
            }
        }
    }
    const std::int64_t dx = alongX ? offset : 0;
    const std::int64_t dy = alongX ? 0 : offset;
    std::int64_t generation = 0;
    for (const std::int64_t jump : { 1, 2, 69, 1, 77 }) {
        grid.advance(static_cast<std::uint64_t>(jump));
        endless->advance(static_cast<std::uint64_t>(jump));
        generation += jump;
        const QString when = QString("generation %1").arg(generation);
        QCOMPARE(endless->population(), grid.population());
        QVERIFY2(endless->equalsShifted(grid, dx, dy), qPrintable(when));
        const std::optional<CellRect> box = endless->boundingBox();
        const std::optional<CellRect> gridBox = grid.boundingBox();
        QCOMPARE(box.has_value(), gridBox.has_value());
        if (!box)
            continue;
        QVERIFY(*gridBox == (CellRect { box->left + dx, box->top + dy, box->right + dx, box->bottom + dy }));
        // Pixels reaching past the pattern, past the edges across and past the window's ends.
        const CellRect area { box->left - 77, box->top - 77, box->right + 45, box->bottom + 45 };
        for (const int shift : { 0, 2 }) {
            const int columns = static_cast<int>((area.right - area.left) >> shift) + 1;
            const int rows = static_cast<int>((area.bottom - area.top) >> shift) + 1;
            std::vector<std::uint8_t> drawn(static_cast<std::size_t>(columns * rows), 9);
            std::vector<std::uint8_t> expected(drawn.size(), 9);
            endless->render(area, shift, drawn.data(), columns, rows, columns);
            grid.render({ area.left + dx, area.top + dy, area.right + dx, area.bottom + dy }, shift, expected.data(),
                columns, rows, columns);
            QVERIFY2(drawn == expected, qPrintable(QString("%1, shift %2").arg(when).arg(shift)));
        }
    }
}

void TestStripUniverse::refusesWhatItCannotRun()
{
    QVERIFY_EXCEPTION_THROWN(StripUniverse(Topology::torus(0, 10), ruleFrom("B0/S8")), UniverseError);
    QVERIFY_EXCEPTION_THROWN(StripUniverse(Topology::torus(10, 10)), UniverseError);
    StripUniverse strip(Topology::plane(0, 5));
    QVERIFY_EXCEPTION_THROWN(strip.setRule(ruleFrom("B01/S")), UniverseError);
    QVERIFY_EXCEPTION_THROWN(strip.setCell(0, 5, true), std::out_of_range);
    QVERIFY_EXCEPTION_THROWN(strip.setCell(Universe::CoordinateLimit + 1, 0, true), std::out_of_range);
    // A glider near the end of the strip is stopped with its cells as they were.
    const std::int64_t end = Universe::CoordinateLimit - 3;
    for (const CellPoint cell : { CellPoint { end - 2, 1 }, { end - 1, 2 }, { end, 0 }, { end, 1 }, { end, 2 } })
        strip.setCell(cell.x, cell.y, true);
    const std::unique_ptr<Universe> before = strip.clone();
    QVERIFY_EXCEPTION_THROWN(strip.advance(200), UniverseError);
    QVERIFY(strip.equals(*before));
    QCOMPARE(strip.population(), std::uint64_t(5));
    QVERIFY(strip.cell(end, 2) && !strip.cell(end + 1, 2));
}

QTEST_GUILESS_MAIN(TestStripUniverse)
#include "tst_stripuniverse.moc"
