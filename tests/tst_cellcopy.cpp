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
        // If not 0, blinkers on two edges of each of grid x grid tiles, about to reach the next tiles.
        QTest::addColumn<int>("grid");
        QTest::addColumn<int>("steps"); // generations stepped before the copy, leaving tiles empty
        QTest::addColumn<bool>("held"); // the copies already hold the plane's corners
        // Without the corners, HashLife's root can be smaller than a tile,
        // and the copies step on together afterwards.
        QTest::addColumn<bool>("corners");
        QTest::newRow("corners alone") << 0 << 0 << 0 << 0 << false << true;
        QTest::newRow("sparse") << 300 << 2 << 0 << 0 << false << true;
        QTest::newRow("three batches") << 600 << 60 << 0 << 0 << false << true;
        QTest::newRow("tiles' edges, two batches of tiles") << 0 << 0 << 50 << 0 << false << true;
        QTest::newRow("stepped, tiles emptied") << 300 << 30 << 0 << 40 << false << true;
        QTest::newRow("into cells held") << 300 << 30 << 3 << 0 << true << true;
        QTest::newRow("a block at the origin") << 2 << 100 << 0 << 0 << false << false;
        QTest::newRow("a root half a tile wide") << 30 << 40 << 0 << 0 << false << false;
        QTest::newRow("a root a tile wide") << 60 << 40 << 0 << 0 << false << false;
        QTest::newRow("a tile's edges, stepped on") << 0 << 0 << 1 << 0 << false << false;
    }
    void everyCellArrives()
    {
        QFETCH(int, side);
        QFETCH(int, percent);
        QFETCH(int, grid);
        QFETCH(int, steps);
        QFETCH(bool, held);
        QFETCH(bool, corners);
        const std::int64_t edge = Universe::CoordinateLimit;
        const std::vector<CellPoint> planeCorners { { -edge, -edge }, { edge, -edge }, { -edge, edge },
            { edge, edge } };
        std::vector<CellPoint> cells = corners ? planeCorners : std::vector<CellPoint>();
        std::mt19937 random(side);
        for (int i = 0; i < side * side; ++i) {
            if (static_cast<int>(random() % 100) < percent)
                cells.push_back({ i % side - side / 2, i / side - side / 3 });
        }
        for (int t = 0; t < grid * grid; ++t) {
            const std::int64_t left = 64 * (t % grid - grid / 2);
            const std::int64_t top = 64 * (t / grid - grid / 2);
            for (int i = 0; i < 3; ++i) {
                cells.push_back({ left + 63, top + i });
                cells.push_back({ left + i, top + 63 });
            }
        }
        HashLife hash;
        hash.setCells(cells);
        TileLife tiles;
        tiles.setCells(cells);
        if (steps > 0) {
            hash.advance(steps);
            tiles.advance(steps);
        }
        HashLife fromTiles;
        TileLife fromHash;
        if (held) {
            fromTiles.setCells(planeCorners);
            fromHash.setCells(planeCorners);
        }
        CellCopy::into(tiles, fromTiles);
        CellCopy::into(hash, fromHash);
        StateHashLife states { Rule() };
        CellCopy::into(tiles, states);
        QVERIFY(fromTiles.equals(hash));
        QVERIFY(fromHash.equals(tiles));
        QVERIFY(states.liveCells().equals(hash));
        QCOMPARE(fromHash.population(), hash.population());
        if (steps == 0 && grid == 0)
            QCOMPARE(fromHash.population(), quint64(cells.size()));
        if (!corners) {
            for (int generation = 1; generation <= 40; generation += 13) {
                fromHash.advance(13);
                tiles.advance(13);
                QVERIFY2(fromHash.equals(tiles), qPrintable(QString("generation %1").arg(generation + 12)));
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestCellCopy)

#include "tst_cellcopy.moc"
