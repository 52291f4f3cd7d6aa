#include <QTest>

#include <random>
#include <vector>

#include "model/engine/cellcopy.h"
#include "model/engine/hashlife.h"
#include "model/engine/statehashlife.h"
#include "model/engine/tilelife.h"
#include "warningguard.h"

// The move of the unbounded plane's cells from each engine into the others:
// every live cell arrives, in batches, wherever it lies on the plane.
class TestCellCopy : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { WarningGuard::install(); }
    void everyCellArrives_data();
    void everyCellArrives();
};

void TestCellCopy::everyCellArrives_data()
{
    QTest::addColumn<int>("side"); // a soup of side x side cells at the origin
    QTest::addColumn<int>("percent");
    QTest::addColumn<bool>("corners"); // and a cell in each corner of the plane
    QTest::newRow("empty") << 0 << 0 << false;
    QTest::newRow("corners alone") << 0 << 0 << true;
    QTest::newRow("sparse, and the corners") << 300 << 2 << true;
    // More cells than a batch holds, so that several batches go over.
    QTest::newRow("three batches") << 600 << 60 << false;
}

// From each engine into each other engine, against a plain count.
void TestCellCopy::everyCellArrives()
{
    QFETCH(int, side);
    QFETCH(int, percent);
    QFETCH(bool, corners);
    std::vector<CellPoint> cells;
    std::mt19937 random(side + percent);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            if (static_cast<int>(random() % 100) < percent)
                cells.push_back({ x - side / 2, y - side / 3 });
        }
    }
    if (corners) {
        const std::int64_t edge = Universe::CoordinateLimit;
        for (const CellPoint corner : { CellPoint { -edge, -edge }, CellPoint { edge, -edge },
                 CellPoint { -edge, edge }, CellPoint { edge, edge } })
            cells.push_back(corner);
    }
    HashLife hash;
    hash.setCells(cells);
    TileLife tiles;
    tiles.setCells(cells);
    QCOMPARE(hash.population(), quint64(cells.size()));

    HashLife fromTiles;
    CellCopy::into(tiles, fromTiles);
    TileLife fromHash;
    CellCopy::into(hash, fromHash);
    StateHashLife states { Rule() };
    CellCopy::into(tiles, states);
    QVERIFY(fromTiles.equals(hash));
    QVERIFY(fromHash.equals(tiles));
    QVERIFY(states.liveCells().equals(hash));
    QCOMPARE(fromHash.population(), quint64(cells.size()));
}

QTEST_APPLESS_MAIN(TestCellCopy)

#include "tst_cellcopy.moc"
