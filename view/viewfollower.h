#ifndef VIEWFOLLOWER_H
#define VIEWFOLLOWER_H

#include <QObject>

#include <optional>

#include "model/engine/universe.h"
#include "view/viewport.h"

class QEvent;
class QSize;
class WidgetPaintArea;

// Keeps the live cells in sight of a view as they move and grow. The view
// glides after them, a part of the way at each step once they stray from
// the middle, rather than jumping at every step; it zooms out only when they
// no longer fit, and never zooms in. The user's own zoom or pan of the view
// (the wheel, a drag with the middle or right button, Alt+arrows) stops it.
class ViewFollower : public QObject
{
    Q_OBJECT

public:
    // `view`, not owned, is also the follower's parent.
    explicit ViewFollower(WidgetPaintArea *view);

    bool isActive() const { return active; }
    // Starts or stops following; started, it follows at the next follow().
    void setActive(bool follow);
    // While active, moves the view after the live cells, `box`, if any.
    void follow(const std::optional<CellRect> &box);

    // Where a view of `size` pixels (its one-pixel frame included) placed as
    // `now` goes after live cells in `box`, as follow() moves it.
    static Viewport next(const Viewport &now, const QSize &size, const CellRect &box);

signals:
    // The user zoomed or panned the view while it was followed; following has stopped.
    void stoppedByUser();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    WidgetPaintArea *view; // not owned
    bool active = false;
};

#endif // VIEWFOLLOWER_H
