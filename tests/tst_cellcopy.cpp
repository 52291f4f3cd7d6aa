#include <QTest>

#include <random>
#include <vector>

#include "model/engine/cellcopy.h"
#include "model/engine/hashlife.h"
#include "model/engine/statehashlife.h"
#include "model/engine/tilelife.h"

// Each engine of the unbounded plane takes every live cell of the others,
// in batches, wherever the cells lie on the plane.
class TestCellCopy : public QObject
{
    Q_OBJECT

private slots:
    void everyCellArrives_data()
    {
        QTest::addColumn<int>("side"); // a soup of side x side cells, and a cell in each corner of the plane
        QTest::addColumn<int>("percent");
        QTest::newRow("corners alone") << 0 << 0;
        QTest::newRow("sparse") << 300 << 2;
        QTest::newRow("three batches") << 600 << 60;
    }
    void everyCellArrives()
    {
        QFETCH(int, side);
        QFETCH(int, percent);
        const std::int64_t edge = Universe::CoordinateLimit;
        std::vector<CellPoint> cells { { -edge, -edge }, { edge, -edge }, { -edge, edge }, { edge, edge } };
        std::mt19937 random(side);
        for (int i = 0; i < side * side; ++i) {
            if (static_cast<int>(random() % 100) < percent)
                cells.push_back({ i % side - side / 2, i / side - side / 3 });
        }
        HashLife hash;
        hash.setCells(cells);
        TileLife tiles;
        tiles.setCells(cells);
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
};

QTEST_APPLESS_MAIN(TestCellCopy)

#include "tst_cellcopy.moc"
