#include "view/widgetpaintarea.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QCursor>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "model/engine/packedfield.h"

namespace
{

const QColor SelectionFill(30, 120, 230, 60);
const QColor SelectionEdge(20, 90, 190);
const QColor OutlineCell(170, 0, 200, 150);
const QColor OutlineEdge(170, 0, 200);
const QColor GridLine(222, 222, 222);
const QColor GridTenthLine(165, 165, 165);
const QColor SeamColours[2] = { QColor(0, 150, 136), QColor(230, 120, 0) };

// The largest multiple of `unit` (a power of two) at most `value`.
std::int64_t alignDown(std::int64_t value, std::int64_t unit) { return value & ~(unit - 1); }

} // namespace

WidgetPaintArea::WidgetPaintArea(QWidget *parent)
    : QWidget(parent)
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
    // The cells may already be gone when the window tears its children down.
    gameField = nullptr;
    universe = nullptr;
}

void WidgetPaintArea::setField(GameField *field)
{
    gameField = field;
    universe = nullptr;
}

void WidgetPaintArea::setUniverse(const Universe *shown)
{
    universe = shown;
    gameField = nullptr;
    const CellRect world = Universe::extent(shownTopology());
    cursor = { std::clamp(cursor.x, world.left, world.right), std::clamp(cursor.y, world.top, world.bottom) };
}

void WidgetPaintArea::setSelection(const std::optional<CellRect> &cells)
{
    const std::optional<CellRect> inside = cells ? cells->intersected(Universe::extent(shownTopology())) : std::nullopt;
    keySelecting = false;
    const bool changed = inside != selected;
    selected = inside;
    update();
    if (changed)
        emit selectionChanged();
}

void WidgetPaintArea::startPaste(const Clip *clip, const Orientation &orientation)
{
    endStroke();
    pasteClip = clip;
    pasteOrientation = orientation;
    const QPoint pointer = mapFromGlobal(QCursor::pos());
    pasteAt = rect().contains(pointer) ? cellUnder(pointer) : cursor;
    setMouseTracking(true);
    update();
}

void WidgetPaintArea::setPasteOrientation(const Orientation &orientation)
{
    pasteOrientation = orientation;
    update();
}

void WidgetPaintArea::endPaste()
{
    pasteClip = nullptr;
    setMouseTracking(false);
    update();
}

void WidgetPaintArea::setColorMode(int mode) { colorMode = mode; }

void WidgetPaintArea::setGridShown(bool shown)
{
    gridShown = shown;
    update();
}

void WidgetPaintArea::setDrawingEnabled(bool enabled)
{
    drawingEnabled = enabled;
    if (!enabled)
        endStroke();
}

void WidgetPaintArea::setViewport(const Viewport &viewport)
{
    view = viewport;
    viewChanged();
}

void WidgetPaintArea::zoomIn()
{
    const Viewport before = view;
    view.zoomAround(rect().center(), 1);
    if (view != before)
        viewChanged();
}

void WidgetPaintArea::zoomOut()
{
    const Viewport before = view;
    view.zoomAround(rect().center(), -1);
    if (view != before)
        viewChanged();
}

void WidgetPaintArea::fitPattern()
{
    std::optional<ClassicUniverse> scratch;
    const Universe *shown = shownUniverse(scratch);
    const std::optional<CellRect> box = shown ? shown->boundingBox() : std::nullopt;
    const Topology topology = shownTopology();
    const QRect inside = rect().adjusted(1, 1, -1, -1);
    if (box)
        view.fit(*box, inside);
    else if (topology.isBounded())
        view.fit(Universe::extent(topology), inside);
    else
        view.place(view.zoomStep(), topology.centre(), inside.center());
    viewChanged();
}

void WidgetPaintArea::resetView()
{
    view = Viewport();
    viewChanged();
}

void WidgetPaintArea::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (showsClassicPicture()) {
        // drawImage takes the nearest pixel, so the device pixels are the same
        // whatever the scale of the picture; the scale only decides the cost. At
        // a whole-number ratio a picture at that scale is copied one to one,
        // several times cheaper than enlarging one at every paint; at any other
        // ratio drawImage scales anyway, and the smallest picture is the quickest
        // to compose.
        const qreal ratio = devicePixelRatioF();
        const int scale = ratio > 1 && ratio == std::floor(ratio) ? static_cast<int>(ratio) : 1;
        const GameField::Cell *const *cells = gameField ? gameField->snapshot()
            : universe                                  ? classicBuffer(*universe)
                                                        : nullptr;
        painter.drawImage(rect(), fieldImage.compose(cells, colorMode, size(), scale));
    } else {
        std::optional<ClassicUniverse> scratch;
        painter.drawImage(rect(), universeImage.compose(*shownUniverse(scratch), view, size(), colorMode));
        painter.setPen(QPen(QBrush(Qt::black), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        paintSeams(painter);
    }
    if (gridShown && view.showsOutlines())
        paintGrid(painter);
    if (selected)
        paintSelection(painter);
    if (pasteClip)
        paintOutline(painter);
    if (hasFocus()) {
        // Around the cell, on its outline and the pixels next to it, so that it shows on any cell.
        painter.setPen(QPen(QColor(255, 140, 0), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(view.pixelsOf(cursor).adjusted(-1, -1, 1, 1));
    }
    // Counting a large grid's cells at every frame would cost more than the
    // frame: outside the classic field, only while assistive tools listen.
    if ((gameField || universe) && (shownTopology() == Topology::classic() || QAccessible::isActive()))
        describe();
}

void WidgetPaintArea::mousePressEvent(QMouseEvent *event)
{
    if ((event->button() == Qt::MiddleButton || event->button() == Qt::RightButton) && !stroking) {
        panning = true;
        panPoint = event->pos();
        setCursor(Qt::ClosedHandCursor);
        return;
    }
    if (event->button() != Qt::LeftButton || (!gameField && !universe))
        return;
    if (pasteClip) {
        endStroke();
        pasteAt = cellUnder(event->pos());
        emit pasteRequested(pasteAt.x, pasteAt.y);
        return;
    }
    if (event->modifiers() & Qt::ShiftModifier) {
        endStroke();
        const CellRect world = Universe::extent(shownTopology());
        const CellPoint cell = cellUnder(event->pos());
        selectionStart = { std::clamp(cell.x, world.left, world.right), std::clamp(cell.y, world.top, world.bottom) };
        selecting = true;
        setSelection(spanned(selectionStart, selectionStart));
        return;
    }
    if (!drawingEnabled || view.shift() > 0)
        return;
    // A release that a dialog swallowed ends the last stroke only now.
    endStroke();
    const CellPoint cell = cellUnder(event->pos());
    if (!isInUniverse(cell))
        return;
    stroking = true;
    strokeState = nextState(cell);
    strokeCell = cell;
    drawCell(cell);
}

void WidgetPaintArea::mouseMoveEvent(QMouseEvent *event)
{
    if (panning) {
        if (event->buttons() & (Qt::MiddleButton | Qt::RightButton)) {
            const QPoint moved = event->pos() - panPoint;
            panPoint = event->pos();
            if (!moved.isNull()) {
                view.panBy(moved);
                viewChanged();
            }
        } else {
            panning = false;
            setCursor(Qt::CrossCursor);
        }
        return;
    }
    if (selecting) {
        if (event->buttons() & Qt::LeftButton) {
            setSelection(spanned(selectionStart, cellUnder(event->pos())));
        } else {
            selecting = false;
            update();
        }
        return;
    }
    if (pasteClip) {
        const CellPoint cell = cellUnder(event->pos());
        if (cell != pasteAt) {
            pasteAt = cell;
            update();
        }
        return;
    }
    if (!stroking)
        return;
    if (event->buttons() & Qt::LeftButton)
        drawTo(cellUnder(event->pos()));
    else
        endStroke();
}

void WidgetPaintArea::mouseReleaseEvent(QMouseEvent *event)
{
    if (panning && (event->button() == Qt::MiddleButton || event->button() == Qt::RightButton)) {
        panning = false;
        setCursor(Qt::CrossCursor);
        return;
    }
    if (selecting && event->button() == Qt::LeftButton) {
        setSelection(spanned(selectionStart, cellUnder(event->pos())));
        selecting = false;
        update();
        return;
    }
    if (!stroking || event->button() != Qt::LeftButton)
        return;
    drawTo(cellUnder(event->pos()));
    endStroke();
}

void WidgetPaintArea::wheelEvent(QWheelEvent *event)
{
    event->accept();
    wheelAngle += event->angleDelta().y();
    const int steps = wheelAngle / WheelStep;
    if (steps == 0)
        return;
    wheelAngle -= steps * WheelStep;
    // The cells under the pointer are others now: a stroke cannot go on.
    endStroke();
    const Viewport before = view;
    view.zoomAround(event->position().toPoint(), steps);
    if (view != before)
        viewChanged();
}

const Universe *WidgetPaintArea::shownUniverse(std::optional<ClassicUniverse> &scratch) const
{
    if (universe)
        return universe;
    if (gameField)
        return &scratch.emplace(PackedField::fromBuffer(gameField->snapshot()), gameField->rule());
    return nullptr;
}

Topology WidgetPaintArea::shownTopology() const { return universe ? universe->topology() : Topology::classic(); }

int WidgetPaintArea::nextState(const CellPoint &cell) const
{
    if (universe)
        return (universe->state(cell.x, cell.y) + 1) % universe->rule().stateCount();
    return gameField && gameField->cell(static_cast<int>(cell.y) + 1, static_cast<int>(cell.x) + 1) == 1 ? 0 : 1;
}

bool WidgetPaintArea::showsClassicPicture() const
{
    return (!gameField && !universe) || (shownTopology() == Topology::classic() && view == Viewport());
}

const GameField::Cell *const *WidgetPaintArea::classicBuffer(const Universe &cells)
{
    constexpr int N = GameField::FieldSize;
    constexpr int B = GameField::BufferSize;
    std::uint8_t alive[N * N];
    cells.render({ 0, 0, N - 1, N - 1 }, 0, alive, N, N, N);
    classicCells.assign(static_cast<std::size_t>(B) * B, 0);
    classicRows.resize(B);
    for (int r = 0; r < B; ++r)
        classicRows[static_cast<std::size_t>(r)] = classicCells.data() + static_cast<std::ptrdiff_t>(r) * B;
    for (int r = 0; r < N; ++r) {
        for (int c = 0; c < N; ++c)
            classicRows[static_cast<std::size_t>(r) + 1][c + 1] = alive[r * N + c];
    }
    return classicRows.data();
}

CellPoint WidgetPaintArea::cellUnder(const QPoint &position) const
{
    CellPoint cell = view.cellAt(position);
    if (view.showsOutlines()) {
        const CellRect world = Universe::extent(shownTopology());
        const QRect pixels = view.pixelsOf(cell);
        if (cell.x == world.right + 1 && position.x() == pixels.left())
            --cell.x;
        if (cell.y == world.bottom + 1 && position.y() == pixels.top())
            --cell.y;
    }
    return cell;
}

bool WidgetPaintArea::isInUniverse(const CellPoint &cell) const
{
    return Universe::extent(shownTopology()).contains(cell.x, cell.y);
}

void WidgetPaintArea::drawCell(const CellPoint &cell)
{
    if (!isInUniverse(cell))
        return;
    emit universeCellDrawn(cell.x, cell.y, strokeState);
    if (shownTopology() == Topology::classic())
        emit cellDrawn(static_cast<int>(cell.y) + 1, static_cast<int>(cell.x) + 1, strokeState != 0);
}

void WidgetPaintArea::drawTo(const CellPoint &cell)
{
    // Bresenham's line, so that a fast movement, which the mouse reports only
    // every few cells, still leaves no gap. The cells are those under pixels
    // of the view, so their distances are small.
    const std::int64_t dx = std::abs(cell.x - strokeCell.x);
    const std::int64_t dy = -std::abs(cell.y - strokeCell.y);
    const int stepX = cell.x > strokeCell.x ? 1 : -1;
    const int stepY = cell.y > strokeCell.y ? 1 : -1;
    std::int64_t error = dx + dy;
    CellPoint at = strokeCell;
    while (at != cell) {
        const std::int64_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            at.x += stepX;
        }
        if (twice <= dx) {
            error += dx;
            at.y += stepY;
        }
        drawCell(at);
    }
    strokeCell = cell;
}

void WidgetPaintArea::keyPressEvent(QKeyEvent *event)
{
    const int step = event->modifiers() & Qt::ControlModifier ? 10 : 1;
    const bool pan = event->modifiers() & Qt::AltModifier;
    const QPoint quarter(width() / 4, height() / 4);
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const int sign = event->key() == Qt::Key_Left || event->key() == Qt::Key_Up ? -1 : 1;
        const bool across = event->key() == Qt::Key_Left || event->key() == Qt::Key_Right;
        if (pan) {
            // The picture moves the other way, uncovering what lies in the key's direction.
            view.panBy(across ? QPoint(-sign * quarter.x(), 0) : QPoint(0, -sign * quarter.y()));
            viewChanged();
        } else if (event->modifiers() & Qt::ShiftModifier) {
            if (!keySelecting)
                selectionStart = cursor;
            moveCursor(across ? sign * step : 0, across ? 0 : sign * step);
            setSelection(spanned(selectionStart, cursor));
            keySelecting = true;
        } else {
            keySelecting = false;
            moveCursor(across ? sign * step : 0, across ? 0 : sign * step);
        }
        if (pasteClip && !pan)
            pasteAt = cursor;
        break;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!pasteClip || event->isAutoRepeat())
            return;
        emit pasteRequested(pasteAt.x, pasteAt.y);
        break;
    case Qt::Key_Space:
        if (!drawingEnabled || (!gameField && !universe) || view.shift() > 0 || event->isAutoRepeat())
            return;
        // A stroke of one cell, as a click is.
        endStroke();
        strokeState = nextState(cursor);
        drawCell(cursor);
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

void WidgetPaintArea::moveCursor(std::int64_t columns, std::int64_t rows)
{
    // Zoomed out, by as many cells as a pixel shows.
    const CellRect world = Universe::extent(shownTopology());
    const std::int64_t unit = std::int64_t(1) << view.shift();
    const auto moved = [unit](std::int64_t from, std::int64_t by, std::int64_t low, std::int64_t high) {
        std::int64_t to = 0;
        if (__builtin_mul_overflow(by, unit, &to) || __builtin_add_overflow(from, to, &to))
            return by < 0 ? low : high;
        return std::clamp(to, low, high);
    };
    cursor = { moved(cursor.x, columns, world.left, world.right), moved(cursor.y, rows, world.top, world.bottom) };
    const Viewport before = view;
    view.ensureVisible(cursor, cursorArea());
    if (view != before)
        emit viewportChanged();
    update();
    describe();
}

void WidgetPaintArea::viewChanged()
{
    const QRect area = cursorArea();
    const QRect shown = view.pixelsOf(cursor);
    if (!area.isEmpty() && !area.contains(shown)) {
        const QPoint nearest(std::max(area.left(), std::min(shown.center().x(), area.right())),
            std::max(area.top(), std::min(shown.center().y(), area.bottom())));
        const CellRect world = Universe::extent(shownTopology());
        const CellPoint cell = view.cellAt(nearest);
        cursor = { std::clamp(cell.x, world.left, world.right), std::clamp(cell.y, world.top, world.bottom) };
        describe();
    }
    update();
    emit viewportChanged();
}

CellRect WidgetPaintArea::spanned(const CellPoint &from, const CellPoint &to) const
{
    const CellRect world = Universe::extent(shownTopology());
    const std::int64_t unit = std::int64_t(1) << view.shift();
    const CellRect cells { std::clamp(std::min(from.x, to.x), world.left, world.right),
        std::clamp(std::min(from.y, to.y), world.top, world.bottom),
        std::clamp(std::max(from.x, to.x), world.left, world.right),
        std::clamp(std::max(from.y, to.y), world.top, world.bottom) };
    // Zoomed out, the pixels under the pointer are whole squares of cells.
    return { cells.left, cells.top, std::min(cells.right + unit - 1, world.right),
        std::min(cells.bottom + unit - 1, world.bottom) };
}

QRect WidgetPaintArea::pixelsOfArea(const CellRect &cells) const
{
    const CellRect visible = view.visibleCells(size());
    const std::optional<CellRect> shown
        = cells.intersected({ visible.left - 1, visible.top - 1, visible.right + 1, visible.bottom + 1 });
    if (!shown)
        return QRect();
    const QRect first = view.pixelsOf({ shown->left, shown->top });
    const QRect last = view.pixelsOf({ shown->right, shown->bottom });
    // With outlines, the right and bottom ones too.
    const int extra = view.showsOutlines() ? 1 : 0;
    return QRect(first.topLeft(), last.bottomRight() + QPoint(extra, extra));
}

QRect WidgetPaintArea::frameAround(const QRect &pixels) const
{
    // On the cells' own outlines; without outlines, on the pixels around, so that the cells at the edge show.
    return view.showsOutlines() ? pixels.adjusted(0, 0, -1, -1) : pixels.adjusted(-1, -1, 0, 0);
}

void WidgetPaintArea::paintGrid(QPainter &painter) const
{
    const std::optional<CellRect> shown = view.visibleCells(size()).intersected(Universe::extent(shownTopology()));
    if (!shown)
        return;
    // On the cells' outlines, the last ones included. Darkening only, so that
    // the outlines of live cells stay as dark as they are.
    const int side = view.cellSize();
    const QRect first = view.pixelsOf({ shown->left, shown->top });
    const QRect last = view.pixelsOf({ shown->right, shown->bottom });
    const QRect lines(first.topLeft(), last.bottomRight() + QPoint(1, 1));
    const auto penFor = [](std::int64_t cell) { return cell % 10 == 0 ? GridTenthLine : GridLine; };
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Darken);
    for (std::int64_t x = shown->left; x <= shown->right + 1; ++x) {
        const int pixel = lines.left() + static_cast<int>(x - shown->left) * side;
        painter.setPen(penFor(x));
        painter.drawLine(pixel, lines.top(), pixel, lines.bottom());
    }
    for (std::int64_t y = shown->top; y <= shown->bottom + 1; ++y) {
        const int pixel = lines.top() + static_cast<int>(y - shown->top) * side;
        painter.setPen(penFor(y));
        painter.drawLine(lines.left(), pixel, lines.right(), pixel);
    }
    painter.restore();
}

void WidgetPaintArea::paintSeams(QPainter &painter) const
{
    const Topology topology = shownTopology();
    const Topology::Kind kind = topology.kind();
    const QRect frame = frameAround(pixelsOfArea(Universe::extent(topology)));
    const bool tube = topology.isStrip() && kind == Topology::Kind::Torus;
    if (kind == Topology::Kind::Classic || kind == Topology::Kind::Plane || (!topology.isBounded() && !tube)
        || frame.isEmpty())
        return;
    // Each pair of joined edges in a colour of its own, with an arrow on each
    // edge at cells that meet across the seam, pointing the way the edges run
    // along each other: a twist points the arrows of a pair opposite ways, a
    // shift moves one of them.
    const std::int64_t width = topology.width();
    const std::int64_t height = topology.height();
    const std::int64_t shift = topology.shift();
    const bool sides = topology.joinedEdges() == Topology::Edges::LeftRight;
    const bool twistedAcross = kind == Topology::Kind::CrossSurface || (kind == Topology::Kind::KleinBottle && !sides);
    const bool twistedDown = kind == Topology::Kind::CrossSurface || (kind == Topology::Kind::KleinBottle && sides);
    const bool sphere = kind == Topology::Kind::Sphere;
    const auto modulo = [](std::int64_t value, std::int64_t by) { return by == 0 ? 0 : ((value % by) + by) % by; };
    struct Arrow {
        Qt::Edge edge;
        std::int64_t cell; // along the edge
        bool forward; // right or down
        int pair;
    };
    // A tube's length is 0: its default arrows below are replaced.
    Arrow arrows[4] = {
        { Qt::TopEdge, width / 2, true, 0 },
        { Qt::BottomEdge, twistedAcross ? width - 1 - width / 2 : modulo(width / 2 - (sides ? 0 : shift), width),
            !twistedAcross, sphere ? 1 : 0 },
        { Qt::LeftEdge, height / 2, true, sphere ? 0 : 1 },
        { Qt::RightEdge, twistedDown ? height - 1 - height / 2 : modulo(height / 2 - (sides ? shift : 0), height),
            !twistedDown, 1 },
    };
    int arrowCount = 4;
    if (tube) {
        // A tube joins only the edges along it; its ends are endless. Its arrows meet in the middle of the view.
        const CellRect visible = view.visibleCells(size());
        const std::int64_t middle
            = width == 0 ? visible.left / 2 + visible.right / 2 : visible.top / 2 + visible.bottom / 2;
        arrows[0] = { width == 0 ? Qt::TopEdge : Qt::LeftEdge, middle, true, width == 0 ? 0 : 1 };
        arrows[1] = { width == 0 ? Qt::BottomEdge : Qt::RightEdge, middle, true, width == 0 ? 0 : 1 };
        arrowCount = 2;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (int at = 0; at < arrowCount; ++at) {
        const Arrow &arrow = arrows[at];
        const bool across = arrow.edge == Qt::TopEdge || arrow.edge == Qt::BottomEdge;
        const QPointF start = arrow.edge == Qt::BottomEdge ? QPointF(frame.bottomLeft())
            : arrow.edge == Qt::RightEdge                  ? QPointF(frame.topRight())
                                                           : QPointF(frame.topLeft());
        const QPointF end = across ? QPointF(frame.right(), start.y()) : QPointF(start.x(), frame.bottom());
        painter.setPen(QPen(SeamColours[arrow.pair], 2));
        painter.drawLine(start, end);
        const QPointF centre
            = QRectF(view.pixelsOf(across ? CellPoint { arrow.cell, 0 } : CellPoint { 0, arrow.cell })).center();
        const QPointF tip = across ? QPointF(centre.x(), start.y()) : QPointF(start.x(), centre.y());
        const QPointF back = across ? QPointF(arrow.forward ? -11 : 11, 0) : QPointF(0, arrow.forward ? -11 : 11);
        const QPointF wing = across ? QPointF(0, 6) : QPointF(6, 0);
        painter.setBrush(SeamColours[arrow.pair]);
        painter.drawPolygon(QPolygonF({ tip, tip + back + wing, tip + back - wing }));
    }
    painter.restore();
}

void WidgetPaintArea::paintSelection(QPainter &painter) const
{
    const QRect pixels = pixelsOfArea(*selected);
    if (pixels.isEmpty())
        return;
    painter.fillRect(pixels, SelectionFill);
    painter.setPen(QPen(SelectionEdge, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frameAround(pixels));
    if (!selecting && !keySelecting)
        return;
    // The size, below and right of the rectangle as far as the view has room.
    const QLocale locale;
    const QString size = QCoreApplication::translate("MainWindow", "%1 × %2 cells")
                             .arg(locale.toString(static_cast<qlonglong>(selected->right - selected->left + 1)),
                                 locale.toString(static_cast<qlonglong>(selected->bottom - selected->top + 1)));
    const QFontMetrics metrics(font());
    QRect label(QPoint(0, 0), metrics.size(Qt::TextSingleLine, size) + QSize(8, 4));
    const QPoint corner = pixels.bottomRight() + QPoint(4, 4);
    label.moveTopLeft(QPoint(std::clamp(corner.x(), 0, std::max(0, width() - label.width())),
        std::clamp(corner.y(), 0, std::max(0, height() - label.height()))));
    painter.fillRect(label, QColor(255, 255, 255, 220));
    painter.drawRect(label.adjusted(0, 0, -1, -1));
    painter.setPen(Qt::black);
    painter.drawText(label, Qt::AlignCenter, size);
}

void WidgetPaintArea::paintOutline(QPainter &painter)
{
    const CellRect box = pasteClip->box(pasteOrientation);
    const CellRect placed { pasteAt.x, pasteAt.y, pasteAt.x + box.right, pasteAt.y + box.bottom };
    if (std::optional<CellRect> area = placed.intersected(view.visibleCells(size()))) {
        // Zoomed out, a pixel's cells start on multiples of 2^shift.
        const int shift = view.shift();
        const std::int64_t unit = std::int64_t(1) << shift;
        area->left = alignDown(area->left, unit);
        area->top = alignDown(area->top, unit);
        const int columns = static_cast<int>((area->right - area->left) >> shift) + 1;
        const int rows = static_cast<int>((area->bottom - area->top) >> shift) + 1;
        outlineCells.assign(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), 0);
        try {
            pasteClip->cells(pasteOrientation)
                .render({ area->left - pasteAt.x, area->top - pasteAt.y, area->right - pasteAt.x,
                            area->bottom - pasteAt.y },
                    shift, outlineCells.data(), columns, rows, columns);
        } catch (const UniverseError &) {
            outlineCells.assign(outlineCells.size(), 0); // no memory to turn it: the frame alone shows
        }
        if (outlineImage.width() < columns || outlineImage.height() < rows)
            outlineImage = QImage(std::max(columns, outlineImage.width()), std::max(rows, outlineImage.height()),
                QImage::Format_ARGB32_Premultiplied);
        if (!outlineImage.isNull()) {
            const QRgb live = qPremultiply(OutlineCell.rgba());
            for (int row = 0; row < rows; ++row) {
                QRgb *line = reinterpret_cast<QRgb *>(outlineImage.scanLine(row));
                const std::uint8_t *cells = outlineCells.data() + static_cast<std::ptrdiff_t>(row) * columns;
                for (int column = 0; column < columns; ++column)
                    line[column] = cells[column] ? live : 0;
            }
            const int side = view.cellSize();
            const QRect target(view.pixelsOf({ area->left, area->top }).topLeft(), QSize(columns * side, rows * side));
            painter.drawImage(target, outlineImage, QRect(0, 0, columns, rows));
        }
    }
    const QRect frame = pixelsOfArea(placed);
    if (frame.isEmpty())
        return;
    painter.setPen(QPen(OutlineEdge, 1, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frameAround(frame));
}

QRect WidgetPaintArea::cursorArea() const { return rect().adjusted(2, 2, -2, -2); }

void WidgetPaintArea::describe()
{
    const Topology topology = shownTopology();
    QString text;
    if (topology.kind() == Topology::Kind::Classic) {
        const std::uint64_t live = gameField ? static_cast<std::uint64_t>(gameField->liveCellCount())
            : universe                       ? universe->population()
                                             : 0;
        text = QCoreApplication::translate("MainWindow", "%1 by %2 cells, %3 alive; cursor on row %4, column %5")
                   .arg(GameField::FieldSize)
                   .arg(GameField::FieldSize)
                   .arg(live)
                   .arg(cursor.y + 1)
                   .arg(cursor.x + 1);
    } else {
        const QLocale locale;
        QString live;
        try {
            live = universe->backgroundAlive() ? QCoreApplication::translate("MainWindow", "infinitely many")
                                               : locale.toString(static_cast<qulonglong>(universe->population()));
        } catch (const UniverseError &) {
            live = locale.toString(std::numeric_limits<qulonglong>::max()) + QLatin1Char('+');
        }
        const QString x = locale.toString(static_cast<qlonglong>(cursor.x));
        const QString y = locale.toString(static_cast<qlonglong>(cursor.y));
        const QString width = locale.toString(static_cast<qlonglong>(topology.width()));
        const QString height = locale.toString(static_cast<qlonglong>(topology.height()));
        switch (topology.kind()) {
        case Topology::Kind::Plane:
            text = QCoreApplication::translate("MainWindow", "Plane of %1 by %2 cells, %3 alive; cursor on %4, %5")
                       .arg(width, height, live, x, y);
            break;
        case Topology::Kind::Torus:
            text = QCoreApplication::translate("MainWindow", "Torus of %1 by %2 cells, %3 alive; cursor on %4, %5")
                       .arg(width, height, live, x, y);
            break;
        case Topology::Kind::KleinBottle:
            text = QCoreApplication::translate(
                "MainWindow", "Klein bottle of %1 by %2 cells, %3 alive; cursor on %4, %5")
                       .arg(width, height, live, x, y);
            break;
        case Topology::Kind::CrossSurface:
            text = QCoreApplication::translate(
                "MainWindow", "Cross-surface of %1 by %2 cells, %3 alive; cursor on %4, %5")
                       .arg(width, height, live, x, y);
            break;
        case Topology::Kind::Sphere:
            text = QCoreApplication::translate("MainWindow", "Sphere of %1 by %2 cells, %3 alive; cursor on %4, %5")
                       .arg(width, height, live, x, y);
            break;
        default:
            text = QCoreApplication::translate("MainWindow", "Unbounded plane, %1 alive; cursor on %2, %3")
                       .arg(live, x, y);
            break;
        }
        if (topology.isStrip())
            text = QCoreApplication::translate(
                "MainWindow", "Endless strip of %1 cells across, %2 alive; cursor on %3, %4")
                       .arg(locale.toString(static_cast<qlonglong>(topology.across())), live, x, y);
    }
    if (selected)
        text += QCoreApplication::translate("MainWindow", "; selected: %1 by %2 cells from %3, %4")
                    .arg(QLocale().toString(static_cast<qlonglong>(selected->right - selected->left + 1)),
                        QLocale().toString(static_cast<qlonglong>(selected->bottom - selected->top + 1)),
                        QLocale().toString(static_cast<qlonglong>(selected->left)),
                        QLocale().toString(static_cast<qlonglong>(selected->top)));
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
