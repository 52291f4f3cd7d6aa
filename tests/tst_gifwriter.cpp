#include <QBuffer>
#include <QRect>
#include <QTest>

#include <vector>

#include "export/gifwriter.h"
#include "warningguard.h"

namespace
{

// Takes `room` bytes, then refuses every write as a full disk would.
class FillingDevice : public QBuffer
{
public:
    qint64 room = 0;

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
};

} // namespace

// A writer that fails says why, and fails every call after.
class TestGifWriter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { WarningGuard::install(); }

    void failureSaysWhy()
    {
        FillingDevice device;
        device.room = 60; // past the palette, short of the first frame's pixels
        QVERIFY(device.open(QIODevice::WriteOnly));
        GifWriter writer(&device);
        std::vector<uchar> pixels(40 * 30, 1);
        QVERIFY(writer.open(40, 30, { qRgb(0, 0, 0), qRgb(255, 255, 255) }));
        QVERIFY(!writer.writeFrame(QRect(0, 0, 40, 30), pixels.data(), 40, 10, -1));
        QCOMPARE(writer.errorString(), QStringLiteral("No space left on device"));
        QVERIFY(!writer.writeFrame(QRect(0, 0, 1, 1), pixels.data(), 1, 10, -1));
        QVERIFY(!writer.close());
    }
};

QTEST_MAIN(TestGifWriter)

#include "tst_gifwriter.moc"
