#include <QTest>

#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "model/engine/hashlife.h"
#include "model/files/gzip.h"
#include "model/files/pattern.h"
#include "model/files/patternreader.h"
#include "model/files/patternsketch.h"
#include "model/files/patternwriter.h"
#include "warningguard.h"

// Thumbnails are sketched by a reader of their own, which must agree with the
// real one: each file is read by both, and the sketch set against a plain
// drawing of the cells the real reader found.
class TestPatternSketch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { WarningGuard::install(); }
    void agreesWithTheReader_data();
    void agreesWithTheReader();
    void refusesWhatHoldsNoCells_data();
    void refusesWhatHoldsNoCells();
};

namespace
{

// The sketch the cells should give: a pixel live where any cell of its block
// is, blocks of `squeeze` cells each way, pixels of `zoom` x `zoom`.
std::vector<std::uint8_t> expectedPixels(const std::vector<CellPoint> &cells, int side, int &width, int &height)
{
    CellPoint low = cells.front();
    CellPoint high = low;
    for (const CellPoint &cell : cells) {
        low = { std::min(low.x, cell.x), std::min(low.y, cell.y) };
        high = { std::max(high.x, cell.x), std::max(high.y, cell.y) };
    }
    const std::int64_t longer = std::max(high.x - low.x, high.y - low.y) + 1;
    const std::int64_t zoom = longer <= side ? side / longer : 1;
    const std::int64_t squeeze = longer <= side ? 1 : (longer + side - 1) / side;
    width = static_cast<int>((high.x - low.x + squeeze) / squeeze * zoom);
    height = static_cast<int>((high.y - low.y + squeeze) / squeeze * zoom);
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width * height), 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::int64_t blockX = low.x + x / zoom * squeeze;
            const std::int64_t blockY = low.y + y / zoom * squeeze;
            for (const CellPoint &cell : cells) {
                if (cell.x >= blockX && cell.x < blockX + squeeze && cell.y >= blockY && cell.y < blockY + squeeze) {
                    pixels[static_cast<std::size_t>(y * width + x)] = 1;
                    break;
                }
            }
        }
    }
    return pixels;
}

} // namespace

void TestPatternSketch::agreesWithTheReader_data()
{
    QTest::addColumn<int>("format"); // 0 RLE, 1 plaintext, 2 Life 1.06, 3 Life 1.05, 4 gzip-compressed RLE
    QTest::addColumn<int>("extent"); // cells each way the cells are strewn over
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("side");
    for (int format = 0; format < 5; ++format) {
        const char *names[] = { "rle", "plaintext", "life106", "life105", "rle.gz" };
        QTest::addRow("%s one cell", names[format]) << format << 1 << 1 << 32;
        QTest::addRow("%s small, cells enlarged", names[format]) << format << 7 << 12 << 32;
        QTest::addRow("%s squeezed", names[format]) << format << 300 << 400 << 32;
        QTest::addRow("%s sparse and long", names[format]) << format << 5000 << 6 << 17;
    }
}

void TestPatternSketch::agreesWithTheReader()
{
    QFETCH(int, format);
    QFETCH(int, extent);
    QFETCH(int, count);
    QFETCH(int, side);
    std::mt19937_64 random(static_cast<std::uint64_t>(format * 1000 + extent + count));
    std::set<std::pair<std::int64_t, std::int64_t>> chosen;
    std::vector<CellPoint> cells;
    while (static_cast<int>(cells.size()) < count) {
        // Rows narrower than the extent too, so that the box is no square.
        const CellPoint cell { static_cast<std::int64_t>(random() % static_cast<std::uint64_t>(extent)) - extent / 3,
            static_cast<std::int64_t>(random() % static_cast<std::uint64_t>((extent + 1) / 2)) };
        if (chosen.insert({ cell.x, cell.y }).second)
            cells.push_back(cell);
    }
    HashLife universe;
    universe.setCells(cells);
    std::string text;
    std::string error;
    if (format == 0 || format == 4) {
        text = PatternWriter::writeRle(universe, 1);
        if (format == 4)
            text = Gzip::deflate(text);
    } else if (format == 1) {
        QVERIFY(PatternWriter::writePlaintext(universe, "x", {}, text, error));
    } else if (format == 2) {
        QVERIFY(PatternWriter::writeLife106(universe, text, error));
    } else {
        // Life 1.05, by hand: a block for each cell, placed by #P.
        text = "#Life 1.05\n";
        for (const CellPoint &cell : cells)
            text += "#P " + std::to_string(cell.x) + " " + std::to_string(cell.y) + "\n*\n";
    }
    Pattern pattern;
    QVERIFY2(PatternReader::read(text, pattern, error), error.c_str());
    std::vector<CellPoint> read;
    pattern.cells.forEachLiveCell(*pattern.cells.boundingBox(), [&read](std::int64_t x, std::int64_t y) {
        read.push_back({ x, y });
    });
    QCOMPARE(read.size(), cells.size());

    PatternSketch sketch;
    QVERIFY(PatternSketch::draw(text, side, sketch));
    int width = 0;
    int height = 0;
    const std::vector<std::uint8_t> expected = expectedPixels(read, side, width, height);
    QCOMPARE(sketch.width, width);
    QCOMPARE(sketch.height, height);
    QVERIFY(sketch.width <= side && sketch.height <= side);
    QVERIFY(sketch.pixels == expected);
}

void TestPatternSketch::refusesWhatHoldsNoCells_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("blank lines") << QByteArray("\n \n\t\n");
    QTest::newRow("empty RLE") << QByteArray("x = 0, y = 0\n!\n");
    QTest::newRow("comments alone") << QByteArray("#N nothing\n#C at all\n");
    QTest::newRow("macrocell") << QByteArray("[M2] (golly)\n.*$\n");
    QTest::newRow("damaged gzip") << QByteArray::fromHex("1f8b0800000000000003ffff");
    QTest::newRow("runs past the edge") << QByteArray("x = 1, y = 1\n9999999999999999999o!\n");
}

void TestPatternSketch::refusesWhatHoldsNoCells()
{
    QFETCH(QByteArray, bytes);
    PatternSketch sketch;
    QVERIFY(
        !PatternSketch::draw(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), 32, sketch));
    QCOMPARE(sketch.width, 0);
    QVERIFY(sketch.pixels.empty());
}

QTEST_APPLESS_MAIN(TestPatternSketch)
#include "tst_patternsketch.moc"
