#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <set>
#include <type_traits>
#include <utility>
#include <vector>

#include "model/engine/gamefield.h"
#include "model/engine/packedfield.h"
#include "model/engine/rule.h"
#include "warningguard.h"

// A field that frees its buffers in the destructor must not be copyable.
static_assert(!std::is_copy_constructible_v<GameField>, "a copy would free the same buffers twice");
static_assert(!std::is_copy_assignable_v<GameField>, "an assignment would free the same buffers twice");

namespace
{

using Cell = std::pair<int, int>; // (row, column), 1..120
using CellList = std::vector<Cell>;

constexpr int N = GameField::FieldSize;
constexpr int B = GameField::BufferSize;

void setCells(GameField &field, const CellList &cells)
{
    field.clear();
    GameField::Cell **buffer = field.snapshot();
    for (const Cell &cell : cells)
        buffer[cell.first][cell.second] = 1;
    field.commitSnapshot();
}

CellList liveCells(GameField &field)
{
    CellList cells;
    GameField::Cell **buffer = field.snapshot();
    for (int r = 1; r <= N; ++r) {
        for (int c = 1; c <= N; ++c) {
            if (buffer[r][c] == 1)
                cells.emplace_back(r, c);
        }
    }
    return cells;
}

CellList sorted(CellList cells)
{
    std::sort(cells.begin(), cells.end());
    return cells;
}

// Whole current buffer, border included, row-major.
std::vector<int> currentCells(GameField &field)
{
    std::vector<int> cells;
    cells.reserve(B * B);
    GameField::Cell **buffer = field.snapshot();
    for (int r = 0; r < B; ++r)
        cells.insert(cells.end(), buffer[r], buffer[r] + B);
    return cells;
}

// Checks the current buffer: border dead, every cell 0 or 1.
bool currentBufferIsSound(GameField &field, QByteArray *problem)
{
    GameField::Cell **buffer = field.snapshot();
    for (int r = 0; r < B; ++r) {
        for (int c = 0; c < B; ++c) {
            const bool border = r == 0 || c == 0 || r == B - 1 || c == B - 1;
            const int value = buffer[r][c];
            if ((border && value != 0) || (value != 0 && value != 1)) {
                *problem = QByteArray("cell (") + QByteArray::number(r) + ", " + QByteArray::number(c) + ") holds "
                    + QByteArray::number(value);
                return false;
            }
        }
    }
    return true;
}

// Each cell alive with the given probability.
CellList randomCells(std::mt19937 &generator, double density)
{
    std::bernoulli_distribution alive(density);
    CellList cells;
    for (int r = 1; r <= N; ++r) {
        for (int c = 1; c <= N; ++c) {
            if (alive(generator))
                cells.emplace_back(r, c);
        }
    }
    return cells;
}

// An independent implementation of a bounded Life-like rule: a flat 120 x 120
// field without a border, where every neighbour is checked against the edges.
// The rule comes as the digits of its birth and survival counts.
class ReferenceLife
{
public:
    explicit ReferenceLife(const CellList &cells, const QString &birth = "3", const QString &survival = "23")
        : cells(N * N, 0)
    {
        for (int n = 0; n <= 8; ++n) {
            born[n] = birth.contains(QString::number(n));
            survives[n] = survival.contains(QString::number(n));
        }
        for (const Cell &cell : cells)
            at(cell.first - 1, cell.second - 1) = 1;
    }

    void step()
    {
        std::vector<unsigned char> next(N * N, 0);
        for (int y = 0; y < N; ++y) {
            for (int x = 0; x < N; ++x) {
                int alive = 0;
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int ny = y + dy;
                        const int nx = x + dx;
                        if ((dy != 0 || dx != 0) && ny >= 0 && ny < N && nx >= 0 && nx < N)
                            alive += at(ny, nx);
                    }
                }
                next[y * N + x] = (at(y, x) ? survives : born)[alive] ? 1 : 0;
            }
        }
        cells.swap(next);
    }

    CellList live() const
    {
        CellList result;
        for (int y = 0; y < N; ++y) {
            for (int x = 0; x < N; ++x) {
                if (cells[y * N + x])
                    result.emplace_back(y + 1, x + 1);
            }
        }
        return result;
    }

private:
    unsigned char &at(int y, int x) { return cells[y * N + x]; }
    unsigned char at(int y, int x) const { return cells[y * N + x]; }

    std::vector<unsigned char> cells;
    bool born[9];
    bool survives[9];
};

} // namespace

Q_DECLARE_METATYPE(CellList)

// The cell model on its own: storage, copies, the rule on a bounded field and
// the random fill, checked against known patterns and a second implementation.
class TestGameField : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void newFieldIsEmptyAndRestoresToEmpty();
    void saveClearRestoreRoundTrip();
    void countsOnlyCellsEqualToOne();
    void snapshotWritesNeedCommit();

    void patterns_data();
    void patterns();
    void gliderEndsAsCornerBlock();

    void randomFillIsReproducible();
    void randomFillFollowsQuadrantModuli();
    void randomFillConsumesOneDrawPerCell();
    void randomFillTouchesOnlyTheCurrentInterior();

    void mixedOperationsKeepBordersDeadAndCellsBinary();
    void agreesWithReferenceImplementation();
    void followsEveryRuleLikeTheReference_data();
    void followsEveryRuleLikeTheReference();
    void packedHashSeesEveryColumn();
};

void TestGameField::initTestCase() { WarningGuard::install(); }

void TestGameField::newFieldIsEmptyAndRestoresToEmpty()
{
    GameField field;
    QCOMPARE(field.liveCellCount(), 0);
    const std::vector<int> cells = currentCells(field);
    QVERIFY(std::all_of(cells.begin(), cells.end(), [](int v) { return v == 0; }));

    // Nothing saved yet: restoring yields the empty field.
    setCells(field, { { 5, 5 }, { 60, 61 }, { 120, 120 } });
    QCOMPARE(field.liveCellCount(), 3);
    field.restoreState();
    QCOMPARE(field.liveCellCount(), 0);
    QVERIFY(liveCells(field).empty());
}

void TestGameField::saveClearRestoreRoundTrip()
{
    GameField field;
    const CellList pattern = { { 1, 1 }, { 1, 120 }, { 60, 60 }, { 61, 61 }, { 120, 1 }, { 120, 120 }, { 33, 97 } };
    setCells(field, pattern);
    field.saveState();

    field.clear();
    QCOMPARE(field.liveCellCount(), 0);

    field.restoreState();
    QCOMPARE(liveCells(field), sorted(pattern));

    // Clear touches only the current field: the saved state survives it twice.
    field.clear();
    field.randomize();
    field.clear();
    field.restoreState();
    QCOMPARE(liveCells(field), sorted(pattern));
}

void TestGameField::countsOnlyCellsEqualToOne()
{
    GameField field;
    GameField::Cell **buffer = field.snapshot();
    for (int r = 1; r <= N; ++r) {
        for (int c = 1; c <= N; ++c)
            buffer[r][c] = 1;
    }
    field.commitSnapshot();
    QCOMPARE(field.liveCellCount(), GameField::CellCount);

    buffer = field.snapshot();
    buffer[10][10] = 2;
    buffer[20][20] = -1;
    field.commitSnapshot();
    QCOMPARE(field.liveCellCount(), GameField::CellCount - 2);
}

void TestGameField::snapshotWritesNeedCommit()
{
    GameField field;
    setCells(field, { { 7, 8 } });

    GameField::Cell **buffer = field.snapshot();
    buffer[50][50] = 1;
    buffer[7][8] = 0;
    QCOMPARE(liveCells(field), CellList({ { 7, 8 } }));

    // liveCells() took a fresh snapshot, which overwrote the uncommitted writes.
    buffer = field.snapshot();
    QCOMPARE(buffer[50][50], 0);
    QCOMPARE(buffer[7][8], 1);

    buffer[50][50] = 1;
    field.commitSnapshot();
    QCOMPARE(liveCells(field), CellList({ { 7, 8 }, { 50, 50 } }));
}

void TestGameField::patterns_data()
{
    QTest::addColumn<CellList>("start");
    QTest::addColumn<int>("steps");
    QTest::addColumn<CellList>("expected");

    const CellList blinker = { { 20, 10 }, { 20, 11 }, { 20, 12 } };
    const CellList blinkerVertical = { { 19, 11 }, { 20, 11 }, { 21, 11 } };
    QTest::newRow("empty stays empty") << CellList() << 5 << CellList();
    QTest::newRow("blinker turns") << blinker << 1 << blinkerVertical;
    QTest::newRow("blinker returns") << blinker << 2 << blinker;
    QTest::newRow("blinker period 2") << blinker << 41 << blinkerVertical;

    const CellList block = { { 50, 50 }, { 50, 51 }, { 51, 50 }, { 51, 51 } };
    const CellList corner = { { 1, 1 }, { 1, 2 }, { 2, 1 }, { 2, 2 } };
    const CellList farCorner = { { 119, 119 }, { 119, 120 }, { 120, 119 }, { 120, 120 } };
    QTest::newRow("block is still") << block << 10 << block;
    QTest::newRow("block in top-left corner") << corner << 10 << corner;
    QTest::newRow("block in bottom-right corner") << farCorner << 10 << farCorner;

    const CellList edgeLine = { { 10, 1 }, { 11, 1 }, { 12, 1 } };
    QTest::newRow("left edge line, one step") << edgeLine << 1 << CellList({ { 11, 1 }, { 11, 2 } });
    QTest::newRow("left edge line dies") << edgeLine << 2 << CellList();
    const CellList bottomLine = { { 120, 50 }, { 120, 51 }, { 120, 52 } };
    QTest::newRow("bottom edge line, one step") << bottomLine << 1 << CellList({ { 119, 51 }, { 120, 51 } });
    QTest::newRow("bottom edge line dies") << bottomLine << 2 << CellList();
    QTest::newRow("lone cell dies") << CellList({ { 60, 60 } }) << 1 << CellList();
    QTest::newRow("birth on three") << CellList({ { 5, 5 }, { 5, 7 }, { 7, 6 } }) << 1 << CellList({ { 6, 6 } });
}

void TestGameField::patterns()
{
    QFETCH(CellList, start);
    QFETCH(int, steps);
    QFETCH(CellList, expected);

    GameField field;
    setCells(field, start);
    for (int i = 0; i < steps; ++i)
        field.nextGeneration();
    QCOMPARE(liveCells(field), sorted(expected));
    QCOMPARE(field.liveCellCount(), int(expected.size()));
}

void TestGameField::gliderEndsAsCornerBlock()
{
    GameField field;
    setCells(field, { { 10, 10 }, { 10, 11 }, { 10, 12 }, { 11, 10 }, { 12, 11 } });
    const CellList corner = { { 1, 1 }, { 1, 2 }, { 2, 1 }, { 2, 2 } };

    for (int i = 0; i < 38; ++i)
        field.nextGeneration();
    QVERIFY(liveCells(field) != corner);

    field.nextGeneration();
    QCOMPARE(liveCells(field), corner);

    for (int i = 0; i < 20; ++i)
        field.nextGeneration();
    QCOMPARE(liveCells(field), corner);
}

void TestGameField::randomFillIsReproducible()
{
    GameField first;
    GameField second;
    std::srand(12345);
    first.randomize();
    std::srand(12345);
    second.randomize();
    QCOMPARE(currentCells(first), currentCells(second));
    QVERIFY(first.liveCellCount() > 0);

    std::srand(54321);
    second.randomize();
    QVERIFY(currentCells(first) != currentCells(second));
}

void TestGameField::randomFillFollowsQuadrantModuli()
{
    GameField field;
    for (unsigned seed : { 1u, 2u, 77u, 4242u }) {
        std::srand(seed);
        field.randomize();
        const std::vector<int> cells = currentCells(field);

        // Replay the same draws: four quadrant moduli, then one draw per cell.
        std::srand(seed);
        const int bottomRight = std::rand() % 7 + 3;
        const int bottomLeft = std::rand() % 7 + 3;
        const int topLeft = std::rand() % 7 + 3;
        const int topRight = std::rand() % 7 + 3;
        for (int r = 1; r <= N; ++r) {
            for (int c = 1; c <= N; ++c) {
                const int modulus = r > 60 ? (c > 60 ? bottomRight : bottomLeft) : (c > 60 ? topRight : topLeft);
                const int expected = std::rand() % modulus == 0 ? 1 : 0;
                if (cells[r * B + c] != expected)
                    QFAIL(qPrintable(QString("seed %1: cell (%2, %3) is %4, expected %5")
                                         .arg(seed)
                                         .arg(r)
                                         .arg(c)
                                         .arg(cells[r * B + c])
                                         .arg(expected)));
            }
        }
    }
}

void TestGameField::randomFillConsumesOneDrawPerCell()
{
    GameField field;
    std::srand(99);
    field.randomize();
    const int afterFill = std::rand();

    std::srand(99);
    for (int i = 0; i < 4 + GameField::CellCount; ++i)
        std::rand();
    QCOMPARE(afterFill, std::rand());
}

void TestGameField::randomFillTouchesOnlyTheCurrentInterior()
{
    GameField field;
    const CellList pattern = { { 3, 4 }, { 100, 100 } };
    setCells(field, pattern);
    field.saveState();

    std::srand(7);
    field.randomize();
    QByteArray problem;
    QVERIFY2(currentBufferIsSound(field, &problem), problem.constData());

    field.restoreState();
    QCOMPARE(liveCells(field), pattern);
}

void TestGameField::mixedOperationsKeepBordersDeadAndCellsBinary()
{
    GameField field;
    std::mt19937 generator(2024);
    std::uniform_int_distribution<int> operation(0, 6);
    QByteArray problem;

    for (int i = 0; i < 400; ++i) {
        switch (operation(generator)) {
        case 0:
            field.randomize();
            break;
        case 1:
            field.nextGeneration();
            break;
        case 2:
            field.saveState();
            break;
        case 3:
            field.restoreState();
            break;
        case 4:
            field.clear();
            break;
        case 5:
            field.commitSnapshot();
            break;
        default: {
            GameField::Cell **buffer = field.snapshot();
            buffer[generator() % N + 1][generator() % N + 1] = 1;
            field.commitSnapshot();
            break;
        }
        }
        QVERIFY2(currentBufferIsSound(field, &problem), problem.constData());
    }

    // The saved buffer's border shows once it is restored.
    field.restoreState();
    QVERIFY2(currentBufferIsSound(field, &problem), problem.constData());
}

void TestGameField::agreesWithReferenceImplementation()
{
    std::mt19937 generator(31337);
    for (int round = 0; round < 24; ++round) {
        // Densities from sparse to crowded, so that some fields die out and some stay busy.
        const CellList start = randomCells(generator, 0.05 + 0.04 * round);

        GameField field;
        setCells(field, start);
        ReferenceLife reference(start);
        for (int generation = 1; generation <= 200; ++generation) {
            field.nextGeneration();
            reference.step();
            if (liveCells(field) != reference.live())
                QFAIL(qPrintable(QString("round %1 differs at generation %2").arg(round).arg(generation)));
        }
    }
}

// Both steps, the field's own and the packed one, against the reference,
// under rules that stress different counts; B0 brings the whole field to
// life next to a dead outside.
void TestGameField::followsEveryRuleLikeTheReference_data()
{
    QTest::addColumn<QString>("birth");
    QTest::addColumn<QString>("survival");
    for (const auto &[birth, survival] : std::vector<std::pair<const char *, const char *>> { { "3", "23" },
             { "36", "23" }, { "3678", "34678" }, { "2", "" }, { "1357", "1357" }, { "0", "8" }, { "018", "0" },
             { "012345678", "" }, { "45678", "012345678" } })
        QTest::addRow("B%s/S%s", birth, survival) << QString(birth) << QString(survival);
}

void TestGameField::followsEveryRuleLikeTheReference()
{
    QFETCH(QString, birth);
    QFETCH(QString, survival);
    Rule rule;
    std::string error;
    QVERIFY2(Rule::read(QString("B%1/S%2").arg(birth, survival).toStdString(), rule, error), error.c_str());

    std::mt19937 generator(4242);
    for (const double density : { 0.02, 0.2, 0.5, 0.9 }) {
        const CellList start = randomCells(generator, density);
        GameField field;
        field.setRule(rule);
        setCells(field, start);
        PackedField packed = PackedField::fromBuffer(field.snapshot());
        ReferenceLife reference(start, birth, survival);
        for (int generation = 1; generation <= 40; ++generation) {
            field.nextGeneration();
            packed = packed.next(rule);
            reference.step();
            const CellList expected = reference.live();
            if (liveCells(field) != expected || packed != PackedField::fromBuffer(field.snapshot()))
                QFAIL(qPrintable(QString("density %1 differs at generation %2").arg(density).arg(generation)));
        }
    }
}

void TestGameField::packedHashSeesEveryColumn()
{
    // Two cells in one column, two rows apart: a hash that carried bits only
    // upward lost such a pair at column 64, the top bit of a word.
    std::set<std::uint64_t> hashes { PackedField().hash() };
    for (int column = 1; column <= N; ++column) {
        PackedField field;
        field.setAlive(1, column, true);
        field.setAlive(3, column, true);
        QVERIFY2(hashes.insert(field.hash()).second, qPrintable(QString("column %1").arg(column)));
    }
}

QTEST_GUILESS_MAIN(TestGameField)
#include "tst_gamefield.moc"
