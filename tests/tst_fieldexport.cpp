#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <random>
#include <string>

#include "export/fieldexport.h"
#include "model/gamefield.h"
#include "model/pattern.h"
#include "model/patternreader.h"
#include "view/fieldimage.h"
#include "warningguard.h"

namespace
{

const QByteArray Glider(".O.\n..O\nOOO");

// A pattern in plaintext in the middle of the field, then one cell in
// 100 / density alive at random over it (none for density 0).
void setUp(GameField &field, const QByteArray &plaintext, int density)
{
    Pattern pattern;
    std::string error;
    QVERIFY2(PatternReader::read(plaintext.toStdString(), pattern, error), error.c_str());
    GameField::Cell **cells = field.snapshot();
    pattern.placeCentred(cells);
    std::mt19937 random(7);
    for (int r = 1; density > 0 && r <= GameField::FieldSize; ++r) {
        for (int c = 1; c <= GameField::FieldSize; ++c)
            cells[r][c] |= static_cast<int>(random() % 100) < density ? 1 : 0;
    }
    field.commitSnapshot();
}

// Frames of an animation, produced as a window would: stepping a field of its own.
FieldExport::FrameSource stepping(GameField &field, int *nextFrame)
{
    return [&field, nextFrame](int frame, GameField::Cell **cells) {
        QCOMPARE(frame, (*nextFrame)++);
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

// Exported files read back through Qt's own image readers, and exports that
// must leave nothing behind.
class TestFieldExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { WarningGuard::install(); }

    void animationShowsEveryGeneration_data();
    void animationShowsEveryGeneration();
    void pictureIsTheView_data();
    void pictureIsTheView();
    void frameDelay_data();
    void frameDelay();
    void nothingLeftBehind_data();
    void nothingLeftBehind();
};

void TestFieldExport::animationShowsEveryGeneration_data()
{
    QTest::addColumn<QByteArray>("plaintext");
    QTest::addColumn<int>("density");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("scale");
    QTest::addColumn<int>("generations");

    QTest::newRow("glider, green") << Glider << 0 << 2 << 1 << 40;
    QTest::newRow("random 30 %, red, scale 2") << QByteArray("O") << 30 << 1 << 2 << 4;
    QTest::newRow("block, unchanged frames, outlines, scale 3") << QByteArray("OO\nOO") << 0 << 0 << 3 << 2;
    QTest::newRow("empty, blue") << QByteArray(".") << 0 << 3 << 1 << 1;
}

void TestFieldExport::animationShowsEveryGeneration()
{
    QFETCH(QByteArray, plaintext);
    QFETCH(int, density);
    QFETCH(int, mode);
    QFETCH(int, scale);
    QFETCH(int, generations);

    GameField field;
    setUp(field, plaintext, density);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("field.gif"));
    int nextFrame = 0;
    int framesDone = 0;
    const auto progress = [&framesDone, generations](int done, int total) {
        framesDone = done;
        return total == generations + 1;
    };
    QString error;
    QCOMPARE(FieldExport::writeGif(path, generations, stepping(field, &nextFrame), mode, scale, 7, progress, &error),
        FieldExport::Outcome::Written);
    QCOMPARE(framesDone, generations + 1);

    GameField expected;
    setUp(expected, plaintext, density);
    QImageReader reader(path, "gif");
    QCOMPARE(reader.imageCount(), generations + 1);
    QCOMPARE(reader.loopCount(), -1); // forever
    for (int frame = 0; frame <= generations; ++frame) {
        const QImage image = reader.read().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(reader.nextImageDelay(), 70); // how long the frame just read stays
        QVERIFY2(image == composed(expected, mode, scale), qPrintable(QStringLiteral("frame %1").arg(frame)));
        expected.nextGeneration();
    }
    QVERIFY(!reader.canRead());
}

void TestFieldExport::pictureIsTheView_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("scale");

    QTest::newRow("outlines, scale 1") << 0 << 1;
    QTest::newRow("blue, scale 3") << 3 << 3;
    QTest::newRow("red, scale 8") << 1 << 8;
}

void TestFieldExport::pictureIsTheView()
{
    QFETCH(int, mode);
    QFETCH(int, scale);

    GameField field;
    setUp(field, Glider, 20);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("field.png"));
    QString error;
    QVERIFY2(FieldExport::writePng(path, field.snapshot(), mode, scale, &error), qPrintable(error));
    QImageReader reader(path);
    QCOMPARE(reader.format(), QByteArray("png"));
    QVERIFY(reader.read().convertToFormat(QImage::Format_RGB32) == composed(field, mode, scale));
}

void TestFieldExport::frameDelay_data()
{
    QTest::addColumn<double>("speed");
    QTest::addColumn<int>("hundredths");

    QTest::newRow("1") << 1.0 << 100;
    QTest::newRow("3, down") << 3.0 << 33;
    QTest::newRow("7, up") << 7.0 << 14;
    QTest::newRow("8, half up") << 8.0 << 13;
    QTest::newRow("30") << 30.0 << 3;
    QTest::newRow("slowest a GIF holds") << 0.001 << 65535;
}

void TestFieldExport::frameDelay()
{
    QFETCH(double, speed);
    QFETCH(int, hundredths);

    QCOMPARE(FieldExport::frameDelay(speed), hundredths);
}

void TestFieldExport::nothingLeftBehind_data()
{
    QTest::addColumn<QString>("name"); // in a folder holding the file "old.gif" and nothing else
    QTest::addColumn<int>("scale");
    QTest::addColumn<int>("generations");
    QTest::addColumn<int>("cancelAt"); // frames done when progress answers false; 0 never
    QTest::addColumn<FieldExport::Outcome>("outcome");
    QTest::addColumn<bool>("picture"); // a PNG rather than an animation

    using O = FieldExport::Outcome;
    QTest::newRow("cancel at once, over an old file") << "old.gif" << 1 << 5 << 1 << O::Cancelled << false;
    QTest::newRow("cancel at the last frame") << "new.gif" << 1 << 5 << 6 << O::Cancelled << false;
    QTest::newRow("folder is a file") << "old.gif/new.gif" << 1 << 5 << 0 << O::Failed << false;
    QTest::newRow("no such folder") << "missing/new.gif" << 1 << 5 << 0 << O::Failed << false;
    QTest::newRow("scale 0") << "old.gif" << 0 << 5 << 0 << O::Failed << false;
    QTest::newRow("scale 9") << "old.gif" << 9 << 5 << 0 << O::Failed << false;
    QTest::newRow("0 generations") << "old.gif" << 1 << 0 << 0 << O::Failed << false;
    QTest::newRow("10001 generations") << "old.gif" << 1 << 10001 << 0 << O::Failed << false;
    QTest::newRow("picture, folder is a file") << "old.gif/new.png" << 1 << 0 << 0 << O::Failed << true;
    QTest::newRow("picture, scale 9") << "old.gif" << 9 << 0 << 0 << O::Failed << true;
}

void TestFieldExport::nothingLeftBehind()
{
    QFETCH(QString, name);
    QFETCH(int, scale);
    QFETCH(int, generations);
    QFETCH(int, cancelAt);
    QFETCH(FieldExport::Outcome, outcome);
    QFETCH(bool, picture);

    QTemporaryDir folder;
    QFile old(folder.filePath(QStringLiteral("old.gif")));
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old contents") == 12);
    old.close();
    GameField field;
    setUp(field, Glider, 0);
    int nextFrame = 0;
    const auto progress = [cancelAt](int done, int) { return done != cancelAt; };
    QString error;
    const QString path = folder.filePath(name);
    if (picture)
        QVERIFY(!FieldExport::writePng(path, field.snapshot(), 2, scale, &error));
    else
        QCOMPARE(FieldExport::writeGif(path, generations, stepping(field, &nextFrame), 2, scale, 10, progress, &error),
            outcome);
    QCOMPARE(error.isEmpty(), outcome != FieldExport::Outcome::Failed);
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        QStringList { QStringLiteral("old.gif") });
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old contents"));
}

QTEST_MAIN(TestFieldExport)

#include "tst_fieldexport.moc"
