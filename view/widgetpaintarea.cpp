#include "view/widgetpaintarea.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "model/engine/gamefield.h"
#include "view/fieldimage.h"

WidgetPaintArea::WidgetPaintArea(QWidget *parent)
    : QWidget(parent)
    , gameField(nullptr)
    , colorMode(2)
{
    // Every paint covers every pixel: nothing needs clearing underneath.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
    // Reached with Tab: a click draws, and leaves the keyboard where it was.
    setFocusPolicy(Qt::TabFocus);
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
    // drawImage takes the nearest pixel, so the device pixels are the same
    // whatever the scale of the picture; the scale only decides the cost. At
    // a whole-number ratio a picture at that scale is copied one to one,
    // several times cheaper than enlarging one at every paint; at any other
    // ratio drawImage scales anyway, and the smallest picture is the quickest
    // to compose.
    const qreal ratio = devicePixelRatioF();
    const int scale = ratio > 1 && ratio == std::floor(ratio) ? static_cast<int>(ratio) : 1;
    const QImage &image = fieldImage.compose(gameField ? gameField->snapshot() : nullptr, colorMode, size(), scale);
    QPainter painter(this);
    painter.drawImage(rect(), image);
    if (hasFocus()) {
        // Around the cell, on its outline and the pixels next to it, so that it shows on any cell.
        constexpr int offset = FieldImage::FieldOffset;
        constexpr int pitch = FieldImage::CellPitch;
        painter.setPen(QPen(QColor(255, 140, 0), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(
            offset + (cursorCell.x() - 1) * pitch - 1, offset + (cursorCell.y() - 1) * pitch - 1, pitch + 2, pitch + 2);
    }
    if (gameField)
        describe(gameField->liveCellCount());
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
    constexpr int offset = FieldImage::FieldOffset;
    constexpr int pitch = FieldImage::CellPitch;
    return QPoint(cellOn(position.x(), offset, pitch), cellOn(position.y(), offset, pitch));
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
