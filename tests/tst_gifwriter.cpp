#include <QBuffer>
#include <QRect>
#include <QTest>

#include <vector>

#include "export/gifwriter.h"
#include "warningguard.h"

namespace
{

// A device whose writes fail after a number of bytes, as a full disk would.
class FillingDevice : public QBuffer
{
public:
    explicit FillingDevice(qint64 room)
        : room(room)
    {
        open(QIODevice::WriteOnly);
    }

protected:
    qint64 writeData(const char *data, qint64 length) override
    {
        if (length > room) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        room -= length;
        return QBuffer::writeData(data, length);
    }

private:
    qint64 room;
};

} // namespace

// The writer's refusals: each call that fails says why, and every later one fails too.
class TestGifWriter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { WarningGuard::install(); }

    void failuresSayWhy_data();
    void failuresSayWhy();
};

void TestGifWriter::failuresSayWhy_data()
{
    QTest::addColumn<qint64>("room"); // bytes the device takes
    QTest::addColumn<int>("colors");
    QTest::addColumn<QRect>("frame"); // on a screen of 40 x 30
    QTest::addColumn<QString>("error"); // empty: anything but empty

    QTest::newRow("disk full at once") << qint64(0) << 4 << QRect(0, 0, 40, 30) << "No space left on device";
    QTest::newRow("disk full in a frame") << qint64(60) << 4 << QRect(0, 0, 40, 30) << "No space left on device";
    QTest::newRow("257 colours") << qint64(1 << 20) << 257 << QRect(0, 0, 40, 30) << QString();
    QTest::newRow("frame beyond the screen") << qint64(1 << 20) << 4 << QRect(1, 0, 40, 30) << QString();
    QTest::newRow("empty frame") << qint64(1 << 20) << 4 << QRect(0, 0, 0, 30) << QString();
}

void TestGifWriter::failuresSayWhy()
{
    QFETCH(qint64, room);
    QFETCH(int, colors);
    QFETCH(QRect, frame);
    QFETCH(QString, error);

    FillingDevice device(room);
    GifWriter writer(&device);
    std::vector<uchar> pixels(40 * 30, 1);
    const bool written = writer.open(40, 30, QVector<QRgb>(colors, qRgb(1, 2, 3)))
        && writer.writeFrame(frame, pixels.data(), 40, 10, -1) && writer.close();
    QVERIFY(!written);
    QVERIFY(!writer.errorString().isEmpty());
    if (!error.isEmpty())
        QCOMPARE(writer.errorString(), error);
    QVERIFY(!writer.writeFrame(QRect(0, 0, 1, 1), pixels.data(), 1, 10, -1));
}

QTEST_MAIN(TestGifWriter)

#include "tst_gifwriter.moc"
