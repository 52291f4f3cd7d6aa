#include <QDir>
#include <QFile>
#include <QPoint>
#include <QTest>

#include <algorithm>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/gamefield.h"
#include "model/pattern.h"
#include "model/patternreader.h"
#include "warningguard.h"

namespace
{

constexpr int N = GameField::FieldSize;

using CellList = std::vector<std::pair<int, int>>; // (row, column), sorted

// What each sample pattern is known to do, and so what a wrong cell in its file would break.
enum Behaviour {
    Periodic, // back to its own shape after `period` generations, moved by `shift`, and not before
    Gun, // gun region repeats every `period` generations and adds one glider each time, `count` times
    Vanishes, // dies out completely at generation `period`
    Settles, // on an unbounded plane: population changes last at generation `period`, to `count`
};

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

CellList shifted(CellList cells, int rows, int columns)
{
    for (auto &cell : cells)
        cell = { cell.first + rows, cell.second + columns };
    return cells;
}

// The shape alone: moved so that its top-most row and left-most column are 0.
CellList shape(const CellList &cells)
{
    if (cells.empty())
        return cells;
    int top = cells.front().first;
    int left = cells.front().second;
    for (const auto &cell : cells) {
        top = std::min(top, cell.first);
        left = std::min(left, cell.second);
    }
    return shifted(cells, -top, -left);
}

// Conway's rule without any edge, independent of GameField: each generation
// counts neighbours in a hash map keyed by position.
class PlaneLife
{
public:
    explicit PlaneLife(const CellList &cells)
        : live(cells)
    {
    }

    void step()
    {
        // Low four bits: live neighbours; AliveFlag: the cell itself.
        constexpr int AliveFlag = 16;
        counts.clear();
        for (const auto &[row, column] : live) {
            counts[key(row, column)] += AliveFlag;
            for (int dr = -1; dr <= 1; ++dr) {
                for (int dc = -1; dc <= 1; ++dc) {
                    if (dr != 0 || dc != 0)
                        ++counts[key(row + dr, column + dc)];
                }
            }
        }
        live.clear();
        for (const auto &[position, count] : counts) {
            if (count == 3 || count == AliveFlag + 2 || count == AliveFlag + 3)
                live.emplace_back(
                    static_cast<int>((position >> 32) - Offset), static_cast<int>((position & 0xFFFFFFFF) - Offset));
        }
        std::sort(live.begin(), live.end());
    }

    const CellList &cells() const { return live; }

    bool insideField() const
    {
        return std::all_of(live.begin(), live.end(), [](const auto &cell) {
            return cell.first >= 1 && cell.first <= N && cell.second >= 1 && cell.second <= N;
        });
    }

private:
    static constexpr std::int64_t Offset = 1 << 30; // keeps rows and columns positive inside the key

    static std::int64_t key(int row, int column) { return ((row + Offset) << 32) | (column + Offset); }

    CellList live;
    std::unordered_map<std::int64_t, int> counts;
};

} // namespace

// Every sample pattern shipped with the program, read from its file and run on
// the field: each must do what the pattern is known for.
class TestPatterns : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void behaves_data();
    void behaves();
    void everyFileHasARow();
};

void TestPatterns::initTestCase() { WarningGuard::install(); }

void TestPatterns::behaves_data()
{
    // The data tag is the name the file gives the pattern.
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("population"); // live cells at the start
    QTest::addColumn<int>("behaviour");
    QTest::addColumn<int>("period");
    QTest::addColumn<QPoint>("shift"); // x: columns, y: rows
    QTest::addColumn<int>("count");

    QTest::newRow("Glider") << "glider.rle" << 5 << int(Periodic) << 4 << QPoint(1, 1) << 0;
    QTest::newRow("Lightweight spaceship")
        << "lightweight-spaceship.rle" << 9 << int(Periodic) << 4 << QPoint(-2, 0) << 0;
    QTest::newRow("Pulsar") << "pulsar.rle" << 48 << int(Periodic) << 3 << QPoint() << 0;
    QTest::newRow("Pentadecathlon") << "pentadecathlon.rle" << 12 << int(Periodic) << 15 << QPoint() << 0;
    QTest::newRow("Queen bee shuttle") << "queen-bee-shuttle.rle" << 20 << int(Periodic) << 30 << QPoint() << 0;
    // Four gliders leave the Gosper gun before the first reaches the edge; two the Simkin gun.
    QTest::newRow("Gosper glider gun") << "gosper-glider-gun.rle" << 36 << int(Gun) << 30 << QPoint() << 4;
    QTest::newRow("Simkin glider gun") << "simkin-glider-gun.rle" << 36 << int(Gun) << 120 << QPoint() << 2;
    QTest::newRow("Diehard") << "diehard.rle" << 7 << int(Vanishes) << 130 << QPoint() << 0;
    QTest::newRow("R-pentomino") << "r-pentomino.rle" << 5 << int(Settles) << 1103 << QPoint() << 116;
    QTest::newRow("Acorn") << "acorn.rle" << 7 << int(Settles) << 5206 << QPoint() << 633;
}

void TestPatterns::behaves()
{
    QFETCH(QString, file);
    QFETCH(int, population);
    QFETCH(int, behaviour);
    QFETCH(int, period);
    QFETCH(QPoint, shift);
    QFETCH(int, count);

    QFile source(QStringLiteral(GAMEOFLIFE_PATTERN_DIR "/") + file);
    QVERIFY2(source.open(QIODevice::ReadOnly), qPrintable(source.errorString()));
    const QByteArray bytes = source.readAll();
    Pattern pattern;
    std::string error;
    QVERIFY2(PatternReader::read(std::string(bytes.constData(), bytes.size()), pattern, error), error.c_str());
    QCOMPARE(QString::fromStdString(pattern.name), QString(QTest::currentDataTag()));

    GameField field;
    pattern.placeCentred(field.snapshot());
    field.commitSnapshot();
    const CellList start = liveCells(field);
    QCOMPARE(int(start.size()), population);

    switch (behaviour) {
    case Periodic:
        for (int generation = 1; generation < period; ++generation) {
            field.nextGeneration();
            QVERIFY2(shape(liveCells(field)) != shape(start), qPrintable(QString("generation %1").arg(generation)));
        }
        field.nextGeneration();
        QCOMPARE(liveCells(field), shifted(start, shift.y(), shift.x()));
        break;
    case Gun: {
        // The cells of the gun stay inside its box; the gliders leave it.
        const int top = (N - pattern.height) / 2 + 1;
        const int left = (N - pattern.width) / 2 + 1;
        const auto inBox = [&](const std::pair<int, int> &cell) {
            return cell.first >= top && cell.first < top + pattern.height && cell.second >= left
                && cell.second < left + pattern.width;
        };
        for (int emitted = 1; emitted <= count; ++emitted) {
            for (int generation = 0; generation < period; ++generation)
                field.nextGeneration();
            CellList gun = liveCells(field);
            const auto gliders = gun.end() - std::stable_partition(gun.begin(), gun.end(), inBox);
            gun.resize(gun.size() - gliders);
            QCOMPARE(gun, start);
            QCOMPARE(int(gliders), 5 * emitted);
        }
        break;
    }
    case Vanishes:
        for (int generation = 1; generation < period; ++generation)
            field.nextGeneration();
        QVERIFY(field.liveCellCount() > 0);
        field.nextGeneration();
        QCOMPARE(field.liveCellCount(), 0);
        break;
    case Settles: {
        // The field runs the unbounded rule until the pattern reaches its edge.
        PlaneLife plane(start);
        int sameOnField = 0;
        for (; plane.insideField() && sameOnField < period; ++sameOnField) {
            QCOMPARE(liveCells(field), plane.cells());
            field.nextGeneration();
            plane.step();
        }
        QVERIFY2(sameOnField > 250, qPrintable(QString::number(sameOnField)));

        for (int generation = sameOnField; generation < period - 1; ++generation)
            plane.step();
        const std::size_t before = plane.cells().size();
        for (int generation = 0; generation < 3; ++generation) {
            plane.step();
            QCOMPARE(int(plane.cells().size()), count);
        }
        QVERIFY(int(before) != count);
        break;
    }
    }
}

void TestPatterns::everyFileHasARow()
{
    // One row each in behaves_data(): a sample added without its own row would go unchecked.
    QCOMPARE(QDir(GAMEOFLIFE_PATTERN_DIR).entryList(QDir::Files).size(), 10);
}

QTEST_GUILESS_MAIN(TestPatterns)
#include "tst_patterns.moc"
