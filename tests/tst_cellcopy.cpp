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
        // If not 0, two cells in opposite corners of each of grid x grid tiles.
        QTest::addColumn<int>("grid");
        QTest::addColumn<int>("steps"); // generations stepped before the copy, leaving tiles empty
        QTest::addColumn<bool>("held"); // the copies already hold the plane's corners
        QTest::newRow("corners alone") << 0 << 0 << 0 << 0 << false;
        QTest::newRow("sparse") << 300 << 2 << 0 << 0 << false;
        QTest::newRow("three batches") << 600 << 60 << 0 << 0 << false;
        QTest::newRow("tiles' corners, two batches of tiles") << 0 << 0 << 50 << 0 << false;
        QTest::newRow("stepped, tiles emptied") << 300 << 30 << 0 << 40 << false;
        QTest::newRow("into cells held") << 300 << 30 << 3 << 0 << true;
    }
    void everyCellArrives()
    {
        QFETCH(int, side);
        QFETCH(int, percent);
        QFETCH(int, grid);
        QFETCH(int, steps);
        QFETCH(bool, held);
        const std::int64_t edge = Universe::CoordinateLimit;
        const std::vector<CellPoint> corners { { -edge, -edge }, { edge, -edge }, { -edge, edge }, { edge, edge } };
        std::vector<CellPoint> cells = corners;
        std::mt19937 random(side);
        for (int i = 0; i < side * side; ++i) {
            if (static_cast<int>(random() % 100) < percent)
                cells.push_back({ i % side - side / 2, i / side - side / 3 });
        }
        for (int i = 0; i < grid * grid; ++i) {
            const std::int64_t left = 64 * (i % grid - grid / 2);
            const std::int64_t top = 64 * (i / grid - grid / 2);
            cells.push_back({ left + 63, top });
            cells.push_back({ left, top + 63 });
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
            fromTiles.setCells(corners);
            fromHash.setCells(corners);
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
    }
};

QTEST_APPLESS_MAIN(TestCellCopy)

#include "tst_cellcopy.moc"
