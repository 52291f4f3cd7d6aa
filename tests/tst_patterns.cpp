#include <QDir>
#include <QFile>
#include <QPoint>
#include <QRect>
#include <QTest>

#include <algorithm>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "model/engine/gamefield.h"
#include "model/files/pattern.h"
#include "model/files/patternreader.h"
#include "warningguard.h"

namespace
{

constexpr int N = GameField::FieldSize;

using CellList = std::vector<std::pair<int, int>>; // (row, column), sorted

// What each sample pattern is known to do, and so what a wrong cell in its file would break.
enum Behaviour {
    Periodic, // back to its own shape after `period` generations, moved by `shift`, and not before; `count` times
    Gun, // the same for the gun in the pattern's box, and one more glider outside it each time
    Replicates, // after `period` generations two copies of the start, moved by `shift` and by minus `shift`
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

// Whether b is a, moved: the first cells of both (top-most, then left-most) then coincide.
bool sameShape(const CellList &a, const CellList &b)
{
    return a.size() == b.size() && (a.empty() || shifted(b, a[0].first - b[0].first, a[0].second - b[0].second) == a);
}

// Conway's rule on an unbounded plane, independent of GameField.
CellList planeStep(const CellList &live)
{
    std::map<std::pair<int, int>, int> counts; // live neighbours, plus 16 for the cell itself
    for (const auto &[row, column] : live) {
        for (int dr = -1; dr <= 1; ++dr) {
            for (int dc = -1; dc <= 1; ++dc)
                counts[{ row + dr, column + dc }] += dr == 0 && dc == 0 ? 16 : 1;
        }
    }
    CellList next;
    for (const auto &[cell, count] : counts) {
        if (count == 3 || count == 16 + 2 || count == 16 + 3)
            next.push_back(cell);
    }
    return next;
}

} // namespace

// Every sample pattern shipped with the program, read from its file and run on
// the field: each must do what the pattern is known for.
class TestPatterns : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { WarningGuard::install(); }
    void behaves_data();
    void behaves();
    void everyFileHasARow();
};

void TestPatterns::behaves_data()
{
    // The data tag is the name the file gives the pattern.
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("population"); // live cells at the start
    QTest::addColumn<int>("behaviour");
    QTest::addColumn<int>("period");
    QTest::addColumn<QPoint>("shift"); // x: columns, y: rows
    QTest::addColumn<int>("count");

    QTest::newRow("Glider") << "glider.rle" << 5 << int(Periodic) << 4 << QPoint(1, 1) << 1;
    QTest::newRow("Lightweight spaceship")
        << "lightweight-spaceship.rle" << 9 << int(Periodic) << 4 << QPoint(-2, 0) << 1;
    QTest::newRow("Pulsar") << "pulsar.rle" << 48 << int(Periodic) << 3 << QPoint() << 1;
    QTest::newRow("Pentadecathlon") << "pentadecathlon.rle" << 12 << int(Periodic) << 15 << QPoint() << 1;
    QTest::newRow("Queen bee shuttle") << "queen-bee-shuttle.rle" << 20 << int(Periodic) << 30 << QPoint() << 1;
    // Four gliders leave the Gosper gun before the first reaches the edge; two the Simkin gun.
    QTest::newRow("Gosper glider gun") << "gosper-glider-gun.rle" << 36 << int(Gun) << 30 << QPoint() << 4;
    QTest::newRow("Simkin glider gun") << "simkin-glider-gun.rle" << 36 << int(Gun) << 120 << QPoint() << 2;
    QTest::newRow("Diehard") << "diehard.rle" << 7 << int(Settles) << 130 << QPoint() << 0;
    QTest::newRow("R-pentomino") << "r-pentomino.rle" << 5 << int(Settles) << 1103 << QPoint() << 116;
    QTest::newRow("Acorn") << "acorn.rle" << 7 << int(Settles) << 5206 << QPoint() << 633;
    // Under the rules their files name.
    QTest::newRow("HighLife replicator") << "highlife-replicator.rle" << 12 << int(Replicates) << 12 << QPoint(2, 2)
                                         << 1;
    QTest::newRow("Day & Night tumbler") << "day-and-night-tumbler.rle" << 5 << int(Periodic) << 16 << QPoint() << 1;
}

void TestPatterns::behaves()
{
    QFETCH(QString, file);
    QFETCH(int, behaviour);
    QFETCH(int, period);
    QFETCH(QPoint, shift);
    QFETCH(int, count);

    QFile source(QStringLiteral(GAMEOFLIFE_PATTERN_DIR "/") + file);
    QVERIFY2(source.open(QIODevice::ReadOnly), qPrintable(source.errorString()));
    Pattern pattern;
    std::string error;
    QVERIFY2(PatternReader::read(source.readAll().toStdString(), pattern, error), error.c_str());
    QCOMPARE(QString::fromStdString(pattern.name), QString(QTest::currentDataTag()));
    GameField field;
    field.setRule(pattern.rule.value_or(Rule()));
    pattern.placeCentred(field.snapshot());
    field.commitSnapshot();
    const CellList start = liveCells(field);
    QTEST(int(start.size()), "population");

    if (behaviour == Replicates) {
        for (int generation = 1; generation <= period; ++generation)
            field.nextGeneration();
        CellList both = shifted(start, -shift.y(), -shift.x());
        const CellList copy = shifted(start, shift.y(), shift.x());
        both.insert(both.end(), copy.begin(), copy.end());
        std::sort(both.begin(), both.end());
        QCOMPARE(liveCells(field), both);
    } else if (behaviour != Settles) {
        // After each period the pattern's box, moved by shift, holds the start again; a gun adds a glider outside it.
        const QRect box((N - pattern.width) / 2 + 1, (N - pattern.height) / 2 + 1, pattern.width, pattern.height);
        for (int repeat = 1; repeat <= count; ++repeat) {
            for (int generation = 1; generation < period; ++generation) {
                field.nextGeneration();
                QVERIFY2(!sameShape(liveCells(field), start), qPrintable(QString("generation %1").arg(generation)));
            }
            field.nextGeneration();
            const CellList all = liveCells(field);
            CellList inBox;
            std::copy_if(all.begin(), all.end(), std::back_inserter(inBox),
                [&](const auto &cell) { return box.translated(repeat * shift).contains(cell.second, cell.first); });
            QCOMPARE(inBox, shifted(start, repeat * shift.y(), repeat * shift.x()));
            QCOMPARE(all.size(), start.size() + (behaviour == Gun ? 5 * repeat : 0));
        }
    } else {
        CellList plane = start;
        for (int generation = 1; generation < period; ++generation) {
            plane = planeStep(plane);
            if (generation <= 250) { // still inside the field, which must then match the plane
                field.nextGeneration();
                QCOMPARE(liveCells(field), plane);
            }
        }
        QVERIFY(int(plane.size()) != count); // at generation period - 1
        for (int generation = 0; generation < 3; ++generation) {
            plane = planeStep(plane);
            QCOMPARE(int(plane.size()), count);
        }
    }
}

void TestPatterns::everyFileHasARow()
{
    // One row each in behaves_data(): a sample added without its own row would go unchecked.
    QCOMPARE(QDir(GAMEOFLIFE_PATTERN_DIR).entryList(QDir::Files).size(), 12);
}

QTEST_GUILESS_MAIN(TestPatterns)
#include "tst_patterns.moc"
