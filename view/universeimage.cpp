#include "view/universeimage.h"

#include <QPoint>
#include <QRect>
#include <QSize>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>

#include "view/fieldimage.h"

namespace
{

// Pixels left..right of a line `width` pixels long, both included and clipped to it.
void fillSpan(QRgb *line, int width, int left, int right, QRgb color)
{
    const int from = std::max(left, 0);
    const int to = std::min(right, width - 1);
    if (from <= to)
        std::fill(line + from, line + to + 1, color);
}

} // namespace

std::array<QRgb, 256> UniverseImage::stateColors(const Rule &rule, QRgb live, QRgb dead)
{
    std::array<QRgb, 256> colours;
    colours.fill(live);
    if (rule.isHistory()) {
        colours[2] = qRgb(150, 190, 255); // where a cell has been
        colours[3] = qRgb(0, 150, 60); // marked, alive
        colours[4] = qRgb(170, 225, 170); // marked, dead
        colours[5] = qRgb(220, 180, 0); // alive from the start
        colours[6] = qRgb(160, 100, 40); // boundary
        return colours;
    }
    const int states = rule.stateCount();
    const auto mix = [](int from, int to, double share) { return static_cast<int>(from + (to - from) * share + 0.5); };
    for (int state = 2; state < states; ++state) {
        const double share = static_cast<double>(state - 1) / states;
        colours[static_cast<std::size_t>(state)] = qRgb(mix(qRed(live), qRed(dead), share),
            mix(qGreen(live), qGreen(dead), share), mix(qBlue(live), qBlue(dead), share));
    }
    return colours;
}

QVector<QRgb> UniverseImage::colors(int colorMode)
{
    QVector<QRgb> used = FieldImage::colors(colorMode);
    used.append(Outside);
    return used;
}

const QImage &UniverseImage::compose(
    const Universe &universe, const Viewport &viewport, const QSize &size, int colorMode)
{
    if (image.size() != size)
        image = QImage(size, QImage::Format_RGB32);
    if (image.isNull())
        return image;

    const QVector<QRgb> palette = FieldImage::colors(colorMode);
    const QRgb dead = palette[0];
    const QRgb edge = palette[1];
    const QRgb outline = palette[2];
    const bool filled = palette.size() > 3;
    const QRgb fill = filled ? palette[3] : outline;
    const int cellSize = viewport.cellSize();
    const bool outlines = viewport.showsOutlines();
    const std::array<QRgb, 256> shades = stateColors(universe.rule(), fill, dead);

    // The pixels of the universe's cells, its last outlines included.
    const CellRect world = Universe::extent(universe.topology());
    const QRect first = viewport.pixelsOf({ world.left, world.top });
    const QRect last = viewport.pixelsOf({ world.right, world.bottom });
    const int extra = outlines ? 1 : 0;
    const QRect inside(first.topLeft(), QPoint(last.right() + extra, last.bottom() + extra));

    // The cells in view, and with outlines the row and column before them,
    // whose outlines the first ones share.
    const CellRect visible = viewport.visibleCells(size);
    const CellRect area { std::max(visible.left - extra, world.left), std::max(visible.top - extra, world.top),
        std::min(visible.right, world.right), std::min(visible.bottom, world.bottom) };
    int columns = 0;
    int rows = 0;
    const QRect areaFirst = viewport.pixelsOf({ area.left, area.top });
    if (area.left <= area.right && area.top <= area.bottom) {
        const QRect areaLast = viewport.pixelsOf({ area.right, area.bottom });
        columns = (areaLast.left() - areaFirst.left()) / cellSize + 1;
        rows = (areaLast.top() - areaFirst.top()) / cellSize + 1;
        rendered.resize(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows));
        universe.render(area, viewport.shift(), rendered.data(), columns, rows, columns);
    }

    // Line by line: the base of outside, dead area and edge, then the live
    // cells of the line's row. Further lines of a row are copies.
    const int width = size.width();
    const std::ptrdiff_t stride = image.bytesPerLine();
    uchar *const bits = image.bits();
    const auto scanLine = [bits, stride](int y) { return reinterpret_cast<QRgb *>(bits + y * stride); };
    const std::size_t lineBytes = static_cast<std::size_t>(width) * sizeof(QRgb);
    for (int y = 0; y < size.height(); ++y) {
        QRgb *line = scanLine(y);
        const int fromArea = y - areaFirst.top();
        const int row = fromArea >= 0 ? fromArea / cellSize : -1;
        const int lineInRow = fromArea - row * cellSize;
        // With outlines, the line below the last row holds that row's lower outline.
        const bool inArea = row >= 0 && (row < rows || (outlines && row == rows && rows > 0 && lineInRow == 0));
        if (inArea && row < rows && y > 0 && lineInRow >= 1 + extra) {
            std::memcpy(line, scanLine(y - 1), lineBytes);
            continue;
        }
        fillSpan(line, width, 0, width - 1, Outside);
        if (y == inside.top() - 1 || y == inside.bottom() + 1) {
            fillSpan(line, width, inside.left() - 1, inside.right() + 1, edge);
        } else if (y >= inside.top() && y <= inside.bottom()) {
            // Without outlines, the row's cells below cover the dead area themselves.
            if (!inArea || outlines)
                fillSpan(line, width, inside.left(), inside.right(), dead);
            fillSpan(line, width, inside.left() - 1, inside.left() - 1, edge);
            fillSpan(line, width, inside.right() + 1, inside.right() + 1, edge);
        }
        if (!inArea)
            continue;
        const std::uint8_t *cells = row < rows ? rendered.data() + static_cast<std::ptrdiff_t>(row) * columns : nullptr;
        if (cellSize == 1) {
            // Zoomed out: the area starts within the line and ends before its end.
            QRgb *pixel = line + areaFirst.left();
            for (int column = 0; column < columns; ++column)
                pixel[column] = cells[column] ? shades[cells[column]] : dead;
            continue;
        }
        const std::uint8_t *above
            = row > 0 ? rendered.data() + static_cast<std::ptrdiff_t>(row - 1) * columns : nullptr;
        for (int column = 0; column < columns; ++column) {
            const int x = areaFirst.left() + column * cellSize;
            const bool alive = cells && cells[column];
            if (!outlines) {
                fillSpan(line, width, x, x + cellSize - 1, alive ? shades[cells[column]] : dead);
            } else if (lineInRow == 0) {
                if (alive || (above && above[column]))
                    fillSpan(line, width, x, x + cellSize, outline);
            } else if (alive) {
                fillSpan(line, width, x, x, outline);
                if (filled || cells[column] > 1)
                    fillSpan(line, width, x + 1, x + cellSize - 1, shades[cells[column]]);
                fillSpan(line, width, x + cellSize, x + cellSize, outline);
            }
        }
    }
    return image;
}

QImage UniverseImage::picture(const Universe &universe, const CellRect &cells, int zoomStep, int colorMode)
{
    Viewport viewport;
    viewport.place(zoomStep, { cells.left, cells.top }, QPoint(0, 0));
    const int extra = viewport.showsOutlines() ? 1 : 0;
    const QRect last = viewport.pixelsOf({ cells.right, cells.bottom });
    const std::int64_t width = std::int64_t(last.right()) + 1 + extra;
    const std::int64_t height = std::int64_t(last.bottom()) + 1 + extra;
    if (width * height > MaxPicturePixels)
        return QImage();
    UniverseImage composer;
    return composer.compose(universe, viewport, QSize(static_cast<int>(width), static_cast<int>(height)), colorMode);
}
