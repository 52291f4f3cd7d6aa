#include "export/fieldexport.h"

#include <QCoreApplication>
#include <QImage>
#include <QImageWriter>
#include <QRect>
#include <QSaveFile>
#include <QSize>
#include <QVector>
#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <vector>

#include "export/gifwriter.h"
#include "model/engine/gamefield.h"
#include "view/fieldimage.h"

namespace
{

const QSize PictureSize(FieldImage::ViewSize, FieldImage::ViewSize);

bool setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

QString scaleProblem(int scale)
{
    if (scale >= FieldExport::MinScale && scale <= FieldExport::MaxScale)
        return QString();
    return QCoreApplication::translate("FieldExport", "The scale must be %1 to %2, not %3.")
        .arg(FieldExport::MinScale)
        .arg(FieldExport::MaxScale)
        .arg(scale);
}

QString tooLarge(int scale)
{
    return QCoreApplication::translate("FieldExport", "There is not enough memory for a picture of %1 x %1 pixels.")
        .arg(FieldImage::ViewSize * scale);
}

// The smallest rectangle holding every pixel in which two pictures of the
// same size differ; empty when they are the same.
QRect changedArea(const QImage &now, const QImage &before)
{
    const int w = now.width();
    const int h = now.height();
    const auto lineBytes = static_cast<std::size_t>(w) * sizeof(QRgb);
    const auto sameLine
        = [&](int y) { return std::memcmp(now.constScanLine(y), before.constScanLine(y), lineBytes) == 0; };
    int top = 0;
    while (top < h && sameLine(top))
        ++top;
    if (top == h)
        return QRect();
    int bottom = h - 1;
    while (sameLine(bottom))
        --bottom;
    int left = w;
    int right = -1;
    for (int y = top; y <= bottom; ++y) {
        const auto *a = reinterpret_cast<const QRgb *>(now.constScanLine(y));
        const auto *b = reinterpret_cast<const QRgb *>(before.constScanLine(y));
        int x = 0;
        while (x < left && a[x] == b[x])
            ++x;
        left = x;
        x = w - 1;
        while (x > right && a[x] == b[x])
            --x;
        right = x;
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

// The pixels of area in now as indices into colors, each one scale x scale
// times, line after line; with a picture before, those it already shows
// become transparentIndex.
void toIndices(const QImage &now, const QImage *before, const QRect &area, int scale, const QVector<QRgb> &colors,
    int transparentIndex, std::vector<uchar> &indices)
{
    const auto width = static_cast<std::size_t>(area.width() * scale);
    indices.resize(width * static_cast<std::size_t>(area.height() * scale));
    uchar *out = indices.data();
    // Pixels come in runs of one colour: look the colour up only when it changes.
    QRgb color = colors[0];
    uchar index = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto *a = reinterpret_cast<const QRgb *>(now.constScanLine(y));
        const auto *b = before ? reinterpret_cast<const QRgb *>(before->constScanLine(y)) : nullptr;
        uchar *line = out;
        for (int x = area.left(); x <= area.right(); ++x) {
            uchar pixel = static_cast<uchar>(transparentIndex);
            if (!b || a[x] != b[x]) {
                if (a[x] != color) {
                    color = a[x];
                    index = static_cast<uchar>(std::max(0, colors.indexOf(color)));
                }
                pixel = index;
            }
            out = std::fill_n(out, scale, pixel);
        }
        for (int copy = 1; copy < scale; ++copy)
            out = std::copy(line, line + width, out);
    }
}

} // namespace

bool FieldExport::writePng(
    const QString &path, const GameField::Cell *const *cells, int colorMode, int scale, QString *error)
{
    if (!scaleProblem(scale).isEmpty())
        return setError(error, scaleProblem(scale));
    FieldImage image;
    const QImage &picture = image.compose(cells, colorMode, PictureSize, scale);
    if (picture.isNull())
        return setError(error, tooLarge(scale));

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return setError(error, file.errorString());
    QImageWriter writer(&file, "png");
    if (!writer.write(picture))
        return setError(error, writer.errorString());
    if (!file.commit())
        return setError(error, file.errorString());
    return true;
}

FieldExport::Outcome FieldExport::writeGif(const QString &path, int generations, const FrameSource &source,
    int colorMode, int scale, int delay, const Progress &progress, QString *error)
{
    const auto failed = [error](const QString &text) {
        setError(error, text);
        return Outcome::Failed;
    };
    if (generations < MinGenerations || generations > MaxGenerations)
        return failed(QCoreApplication::translate("FieldExport", "The number of generations must be %1 to %2, not %3.")
                          .arg(MinGenerations)
                          .arg(MaxGenerations)
                          .arg(generations));
    if (!scaleProblem(scale).isEmpty())
        return failed(scaleProblem(scale));
    if (delay < 0 || delay > 65535)
        return failed(
            QCoreApplication::translate("FieldExport", "A frame cannot be shown for %1 hundredths of a second.")
                .arg(delay));

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failed(file.errorString());
    // The few colours of the picture, then one entry that only ever stands
    // for "as before".
    const QVector<QRgb> colors = FieldImage::colors(colorMode);
    const int transparentIndex = colors.size();
    QVector<QRgb> palette = colors;
    palette.append(qRgb(0, 0, 0));
    GifWriter gif(&file);
    if (!gif.open(PictureSize.width() * scale, PictureSize.height() * scale, palette))
        return failed(gif.errorString());

    constexpr int B = GameField::BufferSize;
    std::vector<GameField::Cell> storage(static_cast<std::size_t>(B) * B, 0);
    std::vector<GameField::Cell *> rows(B);
    for (int r = 0; r < B; ++r)
        rows[static_cast<std::size_t>(r)] = storage.data() + static_cast<std::ptrdiff_t>(r) * B;
    // Two pictures taking turns: each frame is set against the one before,
    // and each picture redraws only the lines that changed since it last showed.
    // They are composed at scale 1, since a picture at a larger scale only
    // repeats each pixel, so that comparing them costs a fraction.
    FieldImage pictures[2];
    std::vector<uchar> indices;
    const int frames = generations + 1;
    for (int frame = 0; frame < frames; ++frame) {
        source(frame, rows.data());
        const QImage &now = pictures[frame % 2].compose(rows.data(), colorMode, PictureSize);
        const QImage *before = frame > 0 ? &pictures[(frame + 1) % 2].image() : nullptr;
        QRect area = before ? changedArea(now, *before) : now.rect();
        // A generation that changed nothing still takes its frame and its time.
        if (area.isEmpty())
            area = QRect(0, 0, 1, 1);
        toIndices(now, before, area, scale, colors, transparentIndex, indices);
        const QRect scaledArea(area.topLeft() * scale, area.size() * scale);
        if (!gif.writeFrame(scaledArea, indices.data(), scaledArea.width(), delay, before ? transparentIndex : -1))
            return failed(gif.errorString());
        if (progress && !progress(frame + 1, frames))
            return Outcome::Cancelled;
    }
    if (!gif.close())
        return failed(gif.errorString());
    if (!file.commit())
        return failed(file.errorString());
    return Outcome::Written;
}

int FieldExport::frameDelay(double generationsPerSecond)
{
    return static_cast<int>(std::lround(qBound(0.0, 100.0 / generationsPerSecond, 65535.0)));
}
