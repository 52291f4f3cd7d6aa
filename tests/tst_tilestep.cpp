#include <QTest>

#include <array>
#include <random>
#include <vector>

#include "model/engine/tilestep.h"
#include "tests/ruletext.h"
#include "warningguard.h"

namespace
{

using Word = TileStep::Word;
constexpr int Side = TileStep::Side;
using Rows = std::array<Word, Side>;

// Where a block of nine tiles has live cells.
enum class Spread {
    Dense, // half the cells
    Sparse, // one cell in sixteen
    Rims, // only along the edges between the tiles, where the rows meet
    Corners, // only the cells at the tiles' corners
};

Word randomWord(std::mt19937_64 &random, Spread spread)
{
    switch (spread) {
    case Spread::Dense:
        return random();
    case Spread::Sparse:
        return random() & random() & random() & random();
    case Spread::Rims:
    case Spread::Corners:
        break;
    }
    return 0;
}

// A tile of the block, drawn by `spread`; edges and corners set in the rims
// and corners, at random, so that they meet the neighbours' edges.
Rows randomTile(std::mt19937_64 &random, Spread spread)
{
    Rows rows {};
    for (Word &row : rows)
        row = randomWord(random, spread);
    if (spread == Spread::Rims) {
        rows[0] = random();
        rows[Side - 1] = random();
        for (Word &row : rows)
            row |= random() & 0x8000000000000001ULL;
    }
    if (spread == Spread::Corners) {
        rows[0] |= random() & 0x8000000000000001ULL;
        rows[Side - 1] |= random() & 0x8000000000000001ULL;
    }
    return rows;
}

// Offsets of the neighbours N, NE, E, SE, S, SW, W, NW, as TileStep takes them.
constexpr int OffsetX[8] = { 0, 1, 1, 1, 0, -1, -1, -1 };
constexpr int OffsetY[8] = { -1, -1, 0, 1, 1, 1, 0, -1 };

} // namespace

// Every path of the tile step against a plain count of each cell's neighbours
// in the block of nine tiles, under Conway's rule and another, with
// neighbours missing and present, dense and sparse, and live cells only where
// the tiles meet. Each path runs only where the processor has its instructions.
class TestTileStep : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { WarningGuard::install(); }
    void cleanup() { TileStep::use(TileStep::available().back()); }
    void agreesWithTheCount_data();
    void agreesWithTheCount();
};

void TestTileStep::agreesWithTheCount_data()
{
    QTest::addColumn<int>("path");
    QTest::addColumn<QString>("rule");
    QTest::addColumn<int>("spread");
    const char *const pathNames[] = { "portable", "wide", "widest" };
    const char *const spreadNames[] = { "dense", "sparse", "rims", "corners" };
    for (const TileStep::Path path : TileStep::available()) {
        for (const char *rule : { "B3/S23", "B36/S23" }) {
            for (int spread = 0; spread < 4; ++spread)
                QTest::addRow("%s, %s, %s", pathNames[static_cast<int>(path)], rule, spreadNames[spread])
                    << static_cast<int>(path) << QString::fromLatin1(rule) << spread;
        }
    }
}

void TestTileStep::agreesWithTheCount()
{
    QFETCH(int, path);
    QFETCH(QString, rule);
    QFETCH(int, spread);
    TileStep::use(static_cast<TileStep::Path>(path));
    const Rule stepRule = ruleFrom(rule);
    const LifeBits::RuleDecision decision(stepRule);
    std::mt19937_64 random(static_cast<std::uint64_t>(path * 100 + spread) + (rule.size() << 8));
    for (int trial = 0; trial < 24; ++trial) {
        Rows self = randomTile(random, static_cast<Spread>(spread));
        std::array<Rows, 8> around {};
        const Word *neighbours[8];
        // Each neighbour missing in a trial in three, and all of them in the first.
        for (int d = 0; d < 8; ++d) {
            around[static_cast<std::size_t>(d)] = randomTile(random, static_cast<Spread>(spread));
            neighbours[d] = trial > 0 && random() % 3 != 0 ? around[static_cast<std::size_t>(d)].data() : nullptr;
        }
        const auto alive = [&](int x, int y) {
            const int tx = x < 0 ? -1 : x >= Side ? 1 : 0;
            const int ty = y < 0 ? -1 : y >= Side ? 1 : 0;
            const Word *rows = self.data();
            for (int d = 0; d < 8; ++d) {
                if (OffsetX[d] == tx && OffsetY[d] == ty)
                    rows = neighbours[d];
            }
            return rows && ((rows[(y + Side) % Side] >> ((x + Side) % Side)) & 1) != 0;
        };
        const Rows previous = randomTile(random, Spread::Dense);
        Rows result = previous;
        const TileStep::Outcome outcome = rule == QLatin1String("B3/S23")
            ? TileStep::conway(self.data(), neighbours, result.data())
            : TileStep::anyRule(decision, self.data(), neighbours, result.data());
        Word fromCurrent = 0;
        Word fromPrevious = 0;
        Word columns = 0;
        for (int y = 0; y < Side; ++y) {
            Word expected = 0;
            for (int x = 0; x < Side; ++x) {
                int count = 0;
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx)
                        count += (dx != 0 || dy != 0) && alive(x + dx, y + dy) ? 1 : 0;
                }
                if (stepRule.nextState(alive(x, y), count))
                    expected |= Word(1) << x;
            }
            QVERIFY2(result[static_cast<std::size_t>(y)] == expected, qPrintable(QStringLiteral("row %1").arg(y)));
            fromCurrent |= expected ^ self[static_cast<std::size_t>(y)];
            fromPrevious |= expected ^ previous[static_cast<std::size_t>(y)];
            columns |= expected;
        }
        QCOMPARE(outcome.fromCurrent, fromCurrent);
        QCOMPARE(outcome.fromPrevious, fromPrevious);
        QCOMPARE(outcome.columns, columns);
        QCOMPARE(outcome.top, result[0] ^ self[0]);
        QCOMPARE(outcome.bottom, result[Side - 1] ^ self[Side - 1]);
    }
}

QTEST_GUILESS_MAIN(TestTileStep)
#include "tst_tilestep.moc"
