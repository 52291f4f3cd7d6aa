#include <QTest>

#include <random>
#include <vector>

#include "model/engine/rule.h"
#include "model/engine/squarestep.h"
#include "warningguard.h"

namespace
{

using Word = SquareStep::Word;
using Grid = std::vector<std::vector<bool>>;

// `generations` of a square counted cell by cell, with every cell beyond it
// dead; the first, third, ... under `even`, the others under `odd`.
Grid counted(Grid cells, const Rule &even, const Rule &odd, int generations)
{
    const int side = static_cast<int>(cells.size());
    for (int g = 0; g < generations; ++g) {
        const Rule &rule = g % 2 == 0 ? even : odd;
        Grid next(cells.size(), std::vector<bool>(cells.size()));
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                int neighbours = 0;
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = x + dx;
                        const int ny = y + dy;
                        neighbours
                            += (dx != 0 || dy != 0) && nx >= 0 && ny >= 0 && nx < side && ny < side && cells[ny][nx];
                    }
                }
                next[y][x] = rule.nextState(cells[y][x], neighbours);
            }
        }
        cells = std::move(next);
    }
    return cells;
}

// The leaf whose top-left cell is at `left`, `top` of `cells`.
Word leafAt(const Grid &cells, int left, int top)
{
    Word bits = 0;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x)
            bits |= Word(cells[top + y][left + x]) << (8 * y + x);
    }
    return bits;
}

} // namespace

// The base steps of the node store against the plain count, for squares of
// every density, so that their seams, rims and rule decisions meet each case.
class TestSquareStep : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { WarningGuard::install(); }
    void middlesAsCounted_data();
    void middlesAsCounted();
};

void TestSquareStep::middlesAsCounted_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("oddRule"); // empty: the same rule every generation
    QTest::newRow("Conway") << "B3/S23"
                            << "";
    QTest::newRow("HighLife") << "B36/S23"
                              << "";
    // Counts of 0 and 8 and every parity, through the general decision.
    QTest::newRow("odd birth, even survival") << "B1357/S02468"
                                              << "";
    QTest::newRow("birth on 8, survival alone") << "B368/S0"
                                                << "";
    // The pair a blinking background's differences step by: B0/S's
    // complement and B0/S itself stripped of birth on 0.
    QTest::newRow("rules taking turns") << "B12345678/S012345678"
                                        << "B1234567/S";
    QTest::newRow("Conway, then another") << "B3/S23"
                                          << "B36/S125";
}

void TestSquareStep::middlesAsCounted()
{
    QFETCH(QString, rule);
    QFETCH(QString, oddRule);
    Rule stepRule;
    std::string error;
    QVERIFY(Rule::read(rule.toStdString(), stepRule, error));
    Rule stepOdd = stepRule;
    QVERIFY(oddRule.isEmpty() || Rule::read(oddRule.toStdString(), stepOdd, error));
    const LifeBits::RuleDecision decision(stepRule);
    const LifeBits::RuleDecision oddDecision(stepOdd);
    const bool alternating = stepOdd != stepRule;
    const LifeBits::RuleDecision *decide = stepRule == Rule() && !alternating ? nullptr : &decision;
    const LifeBits::RuleDecision *odd = alternating ? &oddDecision : nullptr;
    std::mt19937 random(7);
    for (const int percent : { 0, 5, 30, 50, 90, 100 }) {
        Grid cells(32, std::vector<bool>(32));
        for (auto &row : cells) {
            for (std::size_t x = 0; x < row.size(); ++x)
                row[x] = static_cast<int>(random() % 100) < percent;
        }
        Word leaves[4][4];
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 4; ++x)
                leaves[y][x] = leafAt(cells, 8 * x, 8 * y);
        }
        Grid inner(16, std::vector<bool>(16));
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x)
                inner[y][x] = cells[y + 5][x + 11];
        }
        for (int generations = 1; generations <= 8; ++generations) {
            const Grid expected = counted(cells, stepRule, stepOdd, generations);
            Word middle[2][2];
            SquareStep::middleOfSixteen(leaves, generations, decide, middle, odd);
            for (int i = 0; i < 4; ++i)
                QCOMPARE(middle[i / 2][i % 2], leafAt(expected, 8 + 8 * (i % 2), 8 + 8 * (i / 2)));
            if (generations <= 4) {
                const Word four = SquareStep::middleOfFour(leafAt(inner, 0, 0), leafAt(inner, 8, 0),
                    leafAt(inner, 0, 8), leafAt(inner, 8, 8), generations, decide, odd);
                QCOMPARE(four, leafAt(counted(inner, stepRule, stepOdd, generations), 4, 4));
            }
        }
    }
}

QTEST_GUILESS_MAIN(TestSquareStep)
#include "tst_squarestep.moc"
