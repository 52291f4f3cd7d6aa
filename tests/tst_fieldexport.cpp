#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPoint>
#include <QTemporaryDir>
#include <QTest>
#include <QVector>

#include <algorithm>
#include <random>

#include "export/fieldexport.h"
#include "model/engine/gamefield.h"
#include "view/fieldimage.h"
#include "warningguard.h"

namespace
{

using Cells = QVector<QPoint>; // (column, row) of live cells, 1..120
const Cells Glider { { 60, 59 }, { 61, 60 }, { 59, 61 }, { 60, 61 }, { 61, 61 } };

// The cells alive, and one cell in 100 / density at random (none for density 0).
void setUp(GameField &field, const Cells &alive, int density)
{
    GameField::Cell **cells = field.snapshot();
    std::mt19937 random(7);
    for (int r = 1; r <= GameField::FieldSize; ++r) {
        for (int c = 1; c <= GameField::FieldSize; ++c)
            cells[r][c] = alive.contains(QPoint(c, r)) || static_cast<int>(random() % 100) < density ? 1 : 0;
    }
    field.commitSnapshot();
}

// Frames of an animation, produced as a window would: stepping a field of its own.
FieldExport::FrameSource stepping(GameField &field)
{
    return [&field, next = 0](int frame, GameField::Cell **cells) mutable {
        QCOMPARE(frame, next++);
        if (frame > 0)
            field.nextGeneration();
        GameField::Cell *const *now = field.snapshot();
        for (int r = 0; r < GameField::BufferSize; ++r)
            std::copy(now[r], now[r] + GameField::BufferSize, cells[r]);
    };
}

// A picture composed anew, without anything kept from earlier compositions.
QImage composed(GameField &field, int mode, int scale)
{
    FieldImage image;
    return image.compose(field.snapshot(), mode, QSize(FieldImage::ViewSize, FieldImage::ViewSize), scale);
}

} // namespace

Q_DECLARE_METATYPE(FieldExport::Outcome)

// Exported files read back through Qt's own readers, and exports that must
// leave nothing behind.
class TestFieldExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { WarningGuard::install(); }

    void animationShowsEveryGeneration_data();
    void animationShowsEveryGeneration();
    void nothingLeftBehind_data();
    void nothingLeftBehind();
};

void TestFieldExport::animationShowsEveryGeneration_data()
{
    QTest::addColumn<Cells>("alive");
    QTest::addColumn<int>("density");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("scale");
    QTest::addColumn<int>("generations");
    QTest::addColumn<double>("speed"); // generations per second
    QTest::addColumn<int>("delay"); // milliseconds a frame stays: 1 / speed, rounded to hundredths

    QTest::newRow("glider, green") << Glider << 0 << 2 << 1 << 40 << 8.0 << 130;
    QTest::newRow("random 30 %, red, scale 2") << Cells() << 30 << 1 << 2 << 4 << 3.0 << 330;
    QTest::newRow("block, unchanged, outlines, scale 8")
        << Cells { { 1, 1 }, { 2, 1 }, { 1, 2 }, { 2, 2 } } << 0 << 0 << 8 << 2 << 1.0 << 1000;
    QTest::newRow("empty, blue, scale 3, slowest") << Cells() << 0 << 3 << 3 << 1 << 0.001 << 655350;
}

void TestFieldExport::animationShowsEveryGeneration()
{
    QFETCH(Cells, alive);
    QFETCH(int, density);
    QFETCH(int, mode);
    QFETCH(int, scale);
    QFETCH(int, generations);
    QFETCH(double, speed);
    QFETCH(int, delay);

    GameField field;
    setUp(field, alive, density);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("field.gif"));
    int heard = 0; // frames reported in order, with the right total
    const auto progress = [&heard, generations](int done, int total) {
        heard += done == heard + 1 && total == generations + 1;
        return true;
    };
    QString error;
    QCOMPARE(FieldExport::writeGif(
                 path, generations, stepping(field), mode, scale, FieldExport::frameDelay(speed), progress, &error),
        FieldExport::Outcome::Written);
    QCOMPARE(heard, generations + 1);

    // The picture of the first frame's field is that frame.
    GameField expected;
    setUp(expected, alive, density);
    const QString picture = folder.filePath(QStringLiteral("field.png"));
    QVERIFY2(FieldExport::writePng(picture, expected.snapshot(), mode, scale, &error), qPrintable(error));
    QVERIFY(QImage(picture, "png").convertToFormat(QImage::Format_RGB32) == composed(expected, mode, scale));

    QImageReader reader(path, "gif");
    QCOMPARE(reader.imageCount(), generations + 1);
    QCOMPARE(reader.loopCount(), -1); // forever
    for (int frame = 0; frame <= generations; ++frame) {
        const QImage image = reader.read().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(reader.nextImageDelay(), delay); // how long the frame just read stays
        QVERIFY2(image == composed(expected, mode, scale), qPrintable(QStringLiteral("frame %1").arg(frame)));
        expected.nextGeneration();
    }
    QVERIFY(!reader.canRead());
}

void TestFieldExport::nothingLeftBehind_data()
{
    QTest::addColumn<QString>("name"); // in a folder holding the file "old.gif" and nothing else; .png: a picture
    QTest::addColumn<int>("scale");
    QTest::addColumn<int>("generations");
    QTest::addColumn<int>("cancelAt"); // frames done when progress answers false; 0 never
    QTest::addColumn<FieldExport::Outcome>("outcome");

    using O = FieldExport::Outcome;
    QTest::newRow("cancel at once, over an old file") << "old.gif" << 1 << 5 << 1 << O::Cancelled;
    QTest::newRow("cancel at the last frame") << "new.gif" << 1 << 5 << 6 << O::Cancelled;
    QTest::newRow("folder is a file") << "old.gif/new.gif" << 1 << 5 << 0 << O::Failed;
    QTest::newRow("scale 9") << "old.gif" << 9 << 5 << 0 << O::Failed;
    QTest::newRow("scale 0") << "old.gif" << 0 << 5 << 0 << O::Failed;
    QTest::newRow("10001 generations") << "old.gif" << 1 << 10001 << 0 << O::Failed;
    QTest::newRow("picture, folder is a file") << "old.gif/new.png" << 1 << 0 << 0 << O::Failed;
}

void TestFieldExport::nothingLeftBehind()
{
    QFETCH(QString, name);
    QFETCH(int, scale);
    QFETCH(int, generations);
    QFETCH(int, cancelAt);
    QFETCH(FieldExport::Outcome, outcome);

    QTemporaryDir folder;
    QFile old(folder.filePath(QStringLiteral("old.gif")));
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old contents") == 12);
    old.close();
    GameField field;
    setUp(field, Glider, 0);
    const auto progress = [cancelAt](int done, int) { return done != cancelAt; };
    QString error;
    const QString path = folder.filePath(name);
    if (name.endsWith(QLatin1String(".png")))
        QVERIFY(!FieldExport::writePng(path, field.snapshot(), 2, scale, &error));
    else
        QCOMPARE(FieldExport::writeGif(path, generations, stepping(field), 2, scale, 10, progress, &error), outcome);
    QCOMPARE(error.isEmpty(), outcome != FieldExport::Outcome::Failed);
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        QStringList { QStringLiteral("old.gif") });
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old contents"));
}

QTEST_MAIN(TestFieldExport)

#include "tst_fieldexport.moc"
