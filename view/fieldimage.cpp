#include "view/fieldimage.h"

#include <QColor>
#include <QSize>

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "model/engine/gamefield.h"

namespace
{

constexpr QRgb Black = qRgb(0, 0, 0);
constexpr QRgb White = qRgb(255, 255, 255);
constexpr QRgb Grey = qRgb(50, 50, 50);
constexpr QRgb Fills[] = { qRgb(240, 120, 120), qRgb(50, 200, 50), qRgb(100, 150, 250) }; // modes 1, 2, 3

bool isFilled(int colorMode) { return colorMode >= 1 && colorMode <= 3; }

} // namespace

FieldImage::FieldImage() = default;

QVector<QRgb> FieldImage::colors(int colorMode)
{
    QVector<QRgb> used { White, Black, Grey };
    if (isFilled(colorMode))
        used.append(Fills[colorMode - 1]);
    return used;
}

const QImage &FieldImage::compose(const GameField::Cell *const *cells, int colorMode, const QSize &size, int scale)
{
    const QSize imageSize = size * scale;
    const bool sameImage = picture.size() == imageSize && pictureScale == scale;
    if (!sameImage) {
        picture = QImage(imageSize, QImage::Format_RGB32);
        pictureScale = scale;
    }
    if (picture.isNull())
        return picture;

    constexpr int B = GameField::BufferSize;
    const bool redrawAll = !sameImage || !cells || composedCells.empty() || composedMode != colorMode;
    bool rowChanged[B];
    for (int r = 0; r < B; ++r) {
        rowChanged[r] = redrawAll
            || !std::equal(cells[r], cells[r] + B, composedCells.begin() + static_cast<std::ptrdiff_t>(r) * B);
    }
    if (cells) {
        composedCells.resize(static_cast<std::size_t>(B) * B);
        for (int r = 0; r < B; ++r)
            std::copy(cells[r], cells[r] + B, composedCells.begin() + static_cast<std::ptrdiff_t>(r) * B);
    } else {
        composedCells.clear();
    }
    composedMode = colorMode;

    const bool filled = isFilled(colorMode);
    const QRgb fill = filled ? Fills[colorMode - 1] : White;

    // Line by line, each pixel written once or twice: a line of the picture
    // depends only on whether it is a frame line and on which cell row's
    // outline or inside it crosses, so the five inner lines of a row are the
    // same and are copied.
    const int w = size.width();
    const int h = size.height();
    const int bottomOutline = FieldOffset + GameField::FieldSize * CellPitch; // below the last row
    const int lineBytes = picture.width() * static_cast<int>(sizeof(QRgb));
    uchar *const bits = picture.bits();
    const int stride = picture.bytesPerLine();
    const auto scanLine = [bits, stride](int imageRow) { return reinterpret_cast<QRgb *>(bits + imageRow * stride); };
    for (int y = 0; y < h; ++y) {
        QRgb *line = scanLine(y * scale);
        const bool frameLine = y == 0 || y == h - 1;
        const bool crossesCells = cells && y >= FieldOffset && y <= bottomOutline;
        const int row = crossesCells ? (y - FieldOffset) / CellPitch + 1 : 0; // 1..121
        const int lineInRow = crossesCells ? (y - FieldOffset) % CellPitch : -1;
        if (!redrawAll && (!crossesCells || (!rowChanged[row] && !rowChanged[row - 1])))
            continue;

        if (crossesCells && lineInRow >= 2 && !frameLine) {
            std::memcpy(line, scanLine((y - 1) * scale), lineBytes);
        } else {
            fillSpan(line, 0, w, frameLine ? Black : White);
            fillSpan(line, 0, 1, Black);
            fillSpan(line, w - 1, w, Black);
            for (int c = 1; crossesCells && c <= GameField::FieldSize; ++c) {
                const int x = FieldOffset + (c - 1) * CellPitch;
                if (lineInRow == 0) {
                    // The outline shared by this row's cells and those above;
                    // the border rows 0 and 121 of the buffer are always dead.
                    if (cells[row][c] == 1 || cells[row - 1][c] == 1)
                        fillSpan(line, x, x + CellPitch + 1, Grey);
                } else if (cells[row][c] == 1) {
                    fillSpan(line, x, x + 1, Grey);
                    if (filled)
                        fillSpan(line, x + 1, x + CellPitch, fill);
                    fillSpan(line, x + CellPitch, x + CellPitch + 1, Grey);
                }
            }
        }
        for (int copy = 1; copy < scale; ++copy)
            std::memcpy(scanLine(y * scale + copy), line, lineBytes);
    }
    return picture;
}

void FieldImage::fillSpan(QRgb *line, int left, int right, QRgb color) const
{
    const int from = std::max(0, left * pictureScale);
    const int to = std::min(picture.width(), right * pictureScale);
    if (from < to)
        std::fill(line + from, line + to, color);
}
