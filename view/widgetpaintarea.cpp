#include "view/widgetpaintarea.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPen>
#include <QtGlobal>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "model/gamefield.h"

WidgetPaintArea::WidgetPaintArea(QWidget *parent)
    : QWidget(parent)
    , gameField(nullptr)
    , colorBlack(0, 0, 0, 255)
    , colorWhite(255, 255, 255, 255)
    , colorGrey(50, 50, 50, 255)
    , colorRed(240, 120, 120, 255)
    , colorGreen(50, 200, 50, 255)
    , colorBlue(100, 150, 250, 255)
    , cellWidth(6)
    , cellHeight(6)
    , fieldOffset(4)
    , colorMode(2)
{
    // Every paint covers every pixel: nothing needs clearing underneath.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QCoreApplication::translate("MainWindow", "Field"));
}

WidgetPaintArea::~WidgetPaintArea()
{
    // The field may already be gone when the window tears its children down.
    gameField = nullptr;
}

void WidgetPaintArea::setField(GameField *field) { gameField = field; }

void WidgetPaintArea::setColorMode(int mode) { colorMode = mode; }

void WidgetPaintArea::setDrawingEnabled(bool enabled)
{
    drawingEnabled = enabled;
    if (!enabled)
        endStroke();
}

void WidgetPaintArea::paintEvent(QPaintEvent *)
{
    // Whole device pixels per widget pixel, so that edges stay crisp on a
    // scaled screen; a fractional factor is left to drawImage.
    const int scale = std::max(1, qRound(devicePixelRatioF()));
    composeImage(scale);
    QPainter painter(this);
    painter.drawImage(0, 0, fieldImage);
    if (hasFocus()) {
        // Around the cell, on its outline and the pixels next to it, so that it shows on any cell.
        painter.setPen(QPen(QColor(255, 140, 0), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(fieldOffset + (cursorCell.x() - 1) * cellWidth - 1,
            fieldOffset + (cursorCell.y() - 1) * cellHeight - 1, cellWidth + 2, cellHeight + 2);
    }
    if (gameField)
        describe(static_cast<int>(std::count(composedCells.begin(), composedCells.end(), 1)));
}

void WidgetPaintArea::composeImage(int scale)
{
    const QSize deviceSize = size() * scale;
    const bool sameImage = fieldImage.size() == deviceSize && imageScale == scale;
    if (!sameImage) {
        fieldImage = QImage(deviceSize, QImage::Format_RGB32);
        fieldImage.setDevicePixelRatio(scale);
        imageScale = scale;
    }
    if (fieldImage.isNull())
        return;

    // Lines whose cells are as they were at the last paint are left as they
    // are: on a field that is mostly settled, most of them.
    GameField::Cell *const *cells = gameField ? gameField->snapshot() : nullptr;
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

    QRgb fill = 0;
    bool filled = true;
    switch (colorMode) {
    case 1:
        fill = colorRed.rgb();
        break;
    case 2:
        fill = colorGreen.rgb();
        break;
    case 3:
        fill = colorBlue.rgb();
        break;
    default:
        filled = false;
        break;
    }
    const QRgb outline = colorGrey.rgb();
    const QRgb background = colorWhite.rgb();
    const QRgb frame = colorBlack.rgb();

    // Line by line, each pixel written once or twice: a line of the picture
    // depends only on whether it is a frame line and on which cell row's
    // outline or inside it crosses, so the five inner lines of a row are the
    // same and are copied.
    const int w = width();
    const int h = height();
    const int bottomOutline = fieldOffset + GameField::FieldSize * cellHeight; // below the last row
    const int deviceBytes = fieldImage.width() * static_cast<int>(sizeof(QRgb));
    uchar *const bits = fieldImage.bits();
    const int stride = fieldImage.bytesPerLine();
    const auto scanLine = [bits, stride](int deviceRow) { return reinterpret_cast<QRgb *>(bits + deviceRow * stride); };
    for (int y = 0; y < h; ++y) {
        QRgb *line = scanLine(y * scale);
        const bool frameLine = y == 0 || y == h - 1;
        const bool crossesCells = cells && y >= fieldOffset && y <= bottomOutline;
        const int row = crossesCells ? (y - fieldOffset) / cellHeight + 1 : 0; // 1..121
        const int lineInRow = crossesCells ? (y - fieldOffset) % cellHeight : -1;
        if (!redrawAll && (!crossesCells || (!rowChanged[row] && !rowChanged[row - 1])))
            continue;

        if (crossesCells && lineInRow >= 2 && !frameLine) {
            std::memcpy(line, scanLine((y - 1) * scale), deviceBytes);
        } else {
            fillSpan(line, 0, w, frameLine ? frame : background);
            fillSpan(line, 0, 1, frame);
            fillSpan(line, w - 1, w, frame);
            for (int c = 1; crossesCells && c <= GameField::FieldSize; ++c) {
                const int x = fieldOffset + (c - 1) * cellWidth;
                if (lineInRow == 0) {
                    // The outline shared by this row's cells and those above;
                    // the border rows 0 and 121 of the buffer are always dead.
                    if (cells[row][c] == 1 || cells[row - 1][c] == 1)
                        fillSpan(line, x, x + cellWidth + 1, outline);
                } else if (cells[row][c] == 1) {
                    fillSpan(line, x, x + 1, outline);
                    if (filled)
                        fillSpan(line, x + 1, x + cellWidth, fill);
                    fillSpan(line, x + cellWidth, x + cellWidth + 1, outline);
                }
            }
        }
        for (int copy = 1; copy < scale; ++copy)
            std::memcpy(scanLine(y * scale + copy), line, deviceBytes);
    }
}

void WidgetPaintArea::fillSpan(QRgb *line, int left, int right, QRgb color) const
{
    const int from = std::max(0, left * imageScale);
    const int to = std::min(fieldImage.width(), right * imageScale);
    if (from < to)
        std::fill(line + from, line + to, color);
}

void WidgetPaintArea::mousePressEvent(QMouseEvent *event)
{
    if (!drawingEnabled || event->button() != Qt::LeftButton || !gameField)
        return;
    // A release that a dialog swallowed ends the last stroke only now.
    endStroke();
    const QPoint cell = cellAt(event->pos());
    if (!isOnField(cell))
        return;
    stroking = true;
    strokeAlive = gameField->snapshot()[cell.y()][cell.x()] != 1;
    strokeCell = cell;
    emit cellDrawn(cell.y(), cell.x(), strokeAlive);
}

void WidgetPaintArea::mouseMoveEvent(QMouseEvent *event)
{
    if (!stroking)
        return;
    if (event->buttons() & Qt::LeftButton)
        drawTo(cellAt(event->pos()));
    else
        endStroke();
}

void WidgetPaintArea::mouseReleaseEvent(QMouseEvent *event)
{
    if (!stroking || event->button() != Qt::LeftButton)
        return;
    drawTo(cellAt(event->pos()));
    endStroke();
}

QPoint WidgetPaintArea::cellAt(const QPoint &position) const
{
    // Floor division, so that points left of or above the first cell come out
    // below 1; the outline right of and below the last cell still belongs to it.
    const auto cellOn = [](int pixel, int offset, int size) {
        const int last = offset + GameField::FieldSize * size;
        const int inside = pixel == last ? pixel - 1 - offset : pixel - offset;
        return (inside >= 0 ? inside / size : (inside - size + 1) / size) + 1;
    };
    return QPoint(cellOn(position.x(), fieldOffset, cellWidth), cellOn(position.y(), fieldOffset, cellHeight));
}

bool WidgetPaintArea::isOnField(const QPoint &cell)
{
    return cell.x() >= 1 && cell.x() <= GameField::FieldSize && cell.y() >= 1 && cell.y() <= GameField::FieldSize;
}

void WidgetPaintArea::drawTo(const QPoint &cell)
{
    // Bresenham's line, so that a fast movement, which the mouse reports only
    // every few cells, still leaves no gap.
    const int dx = std::abs(cell.x() - strokeCell.x());
    const int dy = -std::abs(cell.y() - strokeCell.y());
    const int stepX = cell.x() > strokeCell.x() ? 1 : -1;
    const int stepY = cell.y() > strokeCell.y() ? 1 : -1;
    int error = dx + dy;
    QPoint at = strokeCell;
    while (at != cell) {
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            at.rx() += stepX;
        }
        if (twice <= dx) {
            error += dx;
            at.ry() += stepY;
        }
        if (isOnField(at))
            emit cellDrawn(at.y(), at.x(), strokeAlive);
    }
    strokeCell = cell;
}

void WidgetPaintArea::keyPressEvent(QKeyEvent *event)
{
    const int step = event->modifiers() & Qt::ControlModifier ? 10 : 1;
    switch (event->key()) {
    case Qt::Key_Left:
        moveCursor(-step, 0);
        break;
    case Qt::Key_Right:
        moveCursor(step, 0);
        break;
    case Qt::Key_Up:
        moveCursor(0, -step);
        break;
    case Qt::Key_Down:
        moveCursor(0, step);
        break;
    case Qt::Key_Space:
        if (!drawingEnabled || !gameField || event->isAutoRepeat())
            return;
        // A stroke of one cell, as a click is.
        endStroke();
        emit cellDrawn(cursorCell.y(), cursorCell.x(), gameField->snapshot()[cursorCell.y()][cursorCell.x()] != 1);
        emit strokeFinished();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void WidgetPaintArea::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void WidgetPaintArea::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

void WidgetPaintArea::moveCursor(int columns, int rows)
{
    const auto clamped = [](int value) { return std::clamp(value, 1, GameField::FieldSize); };
    cursorCell = QPoint(clamped(cursorCell.x() + columns), clamped(cursorCell.y() + rows));
    update();
    describe(describedCells);
}

void WidgetPaintArea::describe(int liveCells)
{
    const QString text
        = QCoreApplication::translate("MainWindow", "%1 by %2 cells, %3 alive; cursor on row %4, column %5")
              .arg(GameField::FieldSize)
              .arg(GameField::FieldSize)
              .arg(std::max(liveCells, 0))
              .arg(cursorCell.y())
              .arg(cursorCell.x());
    describedCells = liveCells;
    if (text == accessibleDescription())
        return;
    setAccessibleDescription(text);
    QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}

void WidgetPaintArea::endStroke()
{
    if (!stroking)
        return;
    stroking = false;
    emit strokeFinished();
}
