#include "mainwindow/patternthumbnails.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <QThread>

#include <algorithm>
#include <string_view>

#include "model/files/patternsketch.h"

namespace
{

constexpr QRgb Live = qRgb(40, 40, 40);
constexpr QRgb Dead = qRgb(250, 250, 250);

// The file's thumbnail; a null image when it gives none. Safe on any thread.
QImage sketchOf(const QString &path, int side)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QImage();
    const QByteArray bytes = file.read(static_cast<qint64>(PatternSketch::MaxFileSize) + 1);
    PatternSketch sketch;
    if (!PatternSketch::draw(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), side, sketch))
        return QImage();
    // Centred on a transparent square, so that names beside thumbnails line up.
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const int left = (side - sketch.width) / 2;
    const int top = (side - sketch.height) / 2;
    for (int y = 0; y < sketch.height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(top + y)) + left;
        const std::uint8_t *cells = sketch.pixels.data() + static_cast<std::size_t>(y) * sketch.width;
        for (int x = 0; x < sketch.width; ++x)
            line[x] = cells[x] ? Live : Dead;
    }
    return image;
}

} // namespace

PatternThumbnails::PatternThumbnails(QObject *parent)
    : QObject(parent)
    , cache(CachePixels)
{
    // One core stays the window's.
    pool.setMaxThreadCount(std::max(1, QThread::idealThreadCount() - 1));
}

PatternThumbnails::~PatternThumbnails()
{
    pool.clear();
    pool.waitForDone();
}

QPixmap PatternThumbnails::thumbnail(const QString &path, int side)
{
    const QFileInfo info(path);
    const QString key = QStringLiteral("%1\n%2\n%3\n%4")
                            .arg(path)
                            .arg(side)
                            .arg(info.lastModified().toMSecsSinceEpoch())
                            .arg(info.size());
    if (const QPixmap *kept = cache.object(key))
        return *kept;
    if (none.contains(key) || waiting.contains(key))
        return QPixmap();
    waiting.insert(key);
    pool.start(
        [this, key, path, side] {
            const QImage image = sketchOf(path, side);
            // Queued to this object: dropped if it is gone, which it cannot be
            // before this returns, as its destructor waits.
            QMetaObject::invokeMethod(
                this, [this, key, path, side, image] { drawn(key, path, side, image); }, Qt::QueuedConnection);
        },
        ++order);
    return QPixmap();
}

void PatternThumbnails::drawn(const QString &key, const QString &path, int side, const QImage &image)
{
    waiting.remove(key);
    if (image.isNull())
        none.insert(key);
    else
        cache.insert(key, new QPixmap(QPixmap::fromImage(image)), image.width() * image.height());
    emit ready(path, side);
}
