#include "mainwindow/windowplacement.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QSize>
#include <QWidget>

namespace
{

// Room for a window manager's frame and title bar, which are not known
// before the window first shows.
const QSize FrameAllowance(16, 40);

} // namespace

void WindowPlacement::fitToScreen(QWidget *window, bool centre)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    window->resize(window->size().boundedTo(available.size() - FrameAllowance).expandedTo(window->minimumSize()));
    if (!centre)
        return;
    QRect framed(QPoint(0, 0), window->size() + FrameAllowance);
    framed.moveCenter(available.center());
    window->move(framed.topLeft());
}
