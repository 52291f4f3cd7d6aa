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
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "export/gifwriter.h"
#include "export/pictureframe.h"
#include "model/engine/gamefield.h"
#include "view/fieldimage.h"
#include "view/universeimage.h"
#include "view/viewport.h"

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

QString tooLarge(int side)
{
    return QCoreApplication::translate("FieldExport", "There is not enough memory for a picture of %1 x %1 pixels.")
        .arg(side);
}

// The pixels of the picture `frame` draws, or none when a side would be
// more than MaxPictureSide; `problem` then says so.
std::optional<QSize> pictureSize(const PictureFrame &frame, QString &problem)
{
    if (const std::optional<QSize> size = frame.size())
        return size;
    const CellRect &cells = frame.cells();
    problem = QCoreApplication::translate("FieldExport",
        "A picture of %1 x %2 cells at this zoom would be more than %3 pixels a side; choose a smaller scale "
        "or fewer cells.")
                  .arg(static_cast<qulonglong>(cells.right) - static_cast<qulonglong>(cells.left) + 1)
                  .arg(static_cast<qulonglong>(cells.bottom) - static_cast<qulonglong>(cells.top) + 1)
                  .arg(FieldExport::MaxPictureSide);
    return std::nullopt;
}

// Writes `picture` as a PNG, replacing the file only once complete.
bool writePicture(const QString &path, const QImage &picture, QString *error)
{
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

// The picture of frame `frame`, and the one of the frame before (null for
// the first), all of one size; valid until the next call.
using Pictures = std::function<std::pair<const QImage *, const QImage *>(int frame)>;

// Frames 0..generations of `pictures`, whose colours are all in `colors`,
// each pixel scale x scale times, as FieldExport::writeGif() writes them.
FieldExport::Outcome writeFrames(const QString &path, int generations, const QSize &size, const QVector<QRgb> &colors,
    const Pictures &pictures, int scale, int delay, const FieldExport::Progress &progress, QString *error)
{
    const auto failed = [error](const QString &text) {
        setError(error, text);
        return FieldExport::Outcome::Failed;
    };
    if (generations < FieldExport::MinGenerations || generations > FieldExport::MaxGenerations)
        return failed(QCoreApplication::translate("FieldExport", "The number of generations must be %1 to %2, not %3.")
                          .arg(FieldExport::MinGenerations)
                          .arg(FieldExport::MaxGenerations)
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
    const int transparentIndex = colors.size();
    QVector<QRgb> palette = colors;
    palette.append(qRgb(0, 0, 0));
    GifWriter gif(&file);
    if (!gif.open(size.width() * scale, size.height() * scale, palette))
        return failed(gif.errorString());

    std::vector<uchar> indices;
    const int frames = generations + 1;
    for (int frame = 0; frame < frames; ++frame) {
        const auto [now, before] = pictures(frame);
        if (now->isNull() || now->size() != size)
            return failed(tooLarge(std::max(size.width(), size.height())));
        QRect area = before ? changedArea(*now, *before) : now->rect();
        // A generation that changed nothing still takes its frame and its time.
        if (area.isEmpty())
            area = QRect(0, 0, 1, 1);
        toIndices(*now, before, area, scale, colors, transparentIndex, indices);
        const QRect scaledArea(area.topLeft() * scale, area.size() * scale);
        if (!gif.writeFrame(scaledArea, indices.data(), scaledArea.width(), delay, before ? transparentIndex : -1))
            return failed(gif.errorString());
        if (progress && !progress(frame + 1, frames))
            return FieldExport::Outcome::Cancelled;
    }
    if (!gif.close())
        return failed(gif.errorString());
    if (!file.commit())
        return failed(file.errorString());
    return FieldExport::Outcome::Written;
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
        return setError(error, tooLarge(FieldImage::ViewSize * scale));
    return writePicture(path, picture, error);
}

FieldExport::Outcome FieldExport::writeGif(const QString &path, int generations, const FrameSource &source,
    int colorMode, int scale, int delay, const Progress &progress, QString *error)
{
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
    const auto pictureOf = [&](int frame) {
        source(frame, rows.data());
        const QImage &now = pictures[frame % 2].compose(rows.data(), colorMode, PictureSize);
        return std::make_pair(&now, frame > 0 ? &pictures[(frame + 1) % 2].image() : nullptr);
    };
    return writeFrames(
        path, generations, PictureSize, FieldImage::colors(colorMode), pictureOf, scale, delay, progress, error);
}

int FieldExport::zoomStepForScale(int scale)
{
    int chosen = 0;
    for (int step = Viewport::zoomStepCount() - 1; step >= 0; --step) {
        Viewport viewport;
        viewport.place(step, CellPoint {}, QPoint());
        if (viewport.shift() > 0 || viewport.cellSize() > scale)
            continue;
        chosen = step;
    }
    return chosen;
}

bool FieldExport::writePng(
    const QString &path, const Universe &universe, const PictureFrame &frame, int colorMode, QString *error)
{
    if (!scaleProblem(frame.scale()).isEmpty())
        return setError(error, scaleProblem(frame.scale()));
    QString problem;
    const std::optional<QSize> size = pictureSize(frame, problem);
    if (!size)
        return setError(error, problem);
    const QImage shown = UniverseImage::picture(universe, frame.cells(), frame.zoomStep(), colorMode);
    if (shown.isNull())
        return setError(error, tooLarge(std::max(size->width(), size->height())));
    const QImage picture = frame.scale() == 1
        ? shown
        : shown.scaled(shown.size() * frame.scale(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (picture.isNull())
        return setError(error, tooLarge(std::max(size->width(), size->height())));
    return writePicture(path, picture, error);
}

FieldExport::Outcome FieldExport::writeGif(const QString &path, const Universe &universe, const PictureFrame &frame,
    int generations, int colorMode, int delay, const Progress &progress, QString *error)
{
    QString problem = scaleProblem(frame.scale());
    const std::optional<QSize> size = problem.isEmpty() ? pictureSize(frame, problem) : std::nullopt;
    if (!size) {
        setError(error, problem);
        return Outcome::Failed;
    }
    const std::unique_ptr<Universe> copy = universe.clone();
    QImage pictures[2];
    const auto pictureOf = [&](int index) {
        if (index > 0)
            copy->advance(1);
        pictures[index % 2] = UniverseImage::picture(*copy, frame.cells(), frame.zoomStep(), colorMode);
        return std::make_pair(&pictures[index % 2], index > 0 ? &pictures[(index + 1) % 2] : nullptr);
    };
    const QImage first = UniverseImage::picture(universe, frame.cells(), frame.zoomStep(), colorMode);
    if (first.isNull()) {
        setError(error, tooLarge(std::max(size->width(), size->height())));
        return Outcome::Failed;
    }
    return writeFrames(path, generations, first.size(), UniverseImage::colors(colorMode), pictureOf, frame.scale(),
        delay, progress, error);
}

int FieldExport::frameDelay(double generationsPerSecond)
{
    return static_cast<int>(std::lround(qBound(0.0, 100.0 / generationsPerSecond, 65535.0)));
}
