#include "view/viewfollower.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRect>
#include <QSize>

#include <algorithm>
#include <cstdlib>

#include "view/widgetpaintarea.h"

namespace
{

constexpr int MarginShare = 10; // the margin kept free around the live cells: a tenth of the view's side
constexpr int StillShare = 16; // how far from the middle they may stray before the view moves: a 16th
constexpr int StepShare = 4; // each step moves the view a quarter of the way back

// How far to move a span of pixels low..high to bring it within roomLow..roomHigh; 0 when it is.
int neededShift(int low, int high, int roomLow, int roomHigh)
{
    if (low < roomLow)
        return roomLow - low;
    if (high > roomHigh)
        return roomHigh - high;
    return 0;
}

// A part of the way `offset`, and at least `needed`, in the same direction.
int stepToward(int offset, int needed)
{
    const int part = offset / StepShare;
    if (std::abs(needed) > std::abs(part))
        return needed;
    return part != 0 ? part : (offset > 0) - (offset < 0);
}

} // namespace

ViewFollower::ViewFollower(WidgetPaintArea *view)
    : QObject(view)
    , view(view)
{
    view->installEventFilter(this);
}

void ViewFollower::setActive(bool follow) { active = follow; }

void ViewFollower::follow(const std::optional<CellRect> &box)
{
    if (!active || !box)
        return;
    const Viewport moved = next(view->viewport(), view->size(), *box);
    if (moved != view->viewport())
        view->setViewport(moved);
}

Viewport ViewFollower::next(const Viewport &now, const QSize &size, const CellRect &box)
{
    const QRect inside = QRect(QPoint(0, 0), size).adjusted(1, 1, -1, -1);
    const int margin = std::min(inside.width(), inside.height()) / MarginShare;
    const QRect room = inside.adjusted(margin, margin, -margin, -margin);
    const QRect pixels = now.pixelsOf({ box.left, box.top }).united(now.pixelsOf({ box.right, box.bottom }));
    if (pixels.width() > room.width() || pixels.height() > room.height()) {
        Viewport fitted = now;
        fitted.fit(box, room);
        if (fitted.zoomStep() > now.zoomStep())
            return fitted;
    }
    Viewport moved = now;
    if (!inside.intersects(pixels)) {
        // Out of sight, however far: centred at once, as the pixels of far cells are clamped.
        moved.place(now.zoomStep(), { box.left / 2 + box.right / 2, box.top / 2 + box.bottom / 2 }, room.center());
        return moved;
    }
    const QPoint offset = room.center() - pixels.center();
    const QPoint needed(neededShift(pixels.left(), pixels.right(), room.left(), room.right()),
        neededShift(pixels.top(), pixels.bottom(), room.top(), room.bottom()));
    const int still = std::min(room.width(), room.height()) / StillShare;
    const QPoint step(std::abs(offset.x()) > still || needed.x() != 0 ? stepToward(offset.x(), needed.x()) : 0,
        std::abs(offset.y()) > still || needed.y() != 0 ? stepToward(offset.y(), needed.y()) : 0);
    if (!step.isNull())
        moved.panBy(step);
    return moved;
}

bool ViewFollower::eventFilter(QObject *watched, QEvent *event)
{
    if (active && watched == view) {
        bool moving = false;
        switch (event->type()) {
        case QEvent::Wheel:
            moving = true;
            break;
        case QEvent::MouseButtonPress:
            moving = static_cast<QMouseEvent *>(event)->button() & (Qt::MiddleButton | Qt::RightButton);
            break;
        case QEvent::KeyPress: {
            const auto *key = static_cast<QKeyEvent *>(event);
            moving = (key->modifiers() & Qt::AltModifier) && key->key() >= Qt::Key_Left && key->key() <= Qt::Key_Down;
            break;
        }
        default:
            break;
        }
        if (moving) {
            active = false;
            emit stoppedByUser();
        }
    }
    return QObject::eventFilter(watched, event);
}
