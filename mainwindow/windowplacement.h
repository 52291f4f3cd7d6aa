#ifndef WINDOWPLACEMENT_H
#define WINDOWPLACEMENT_H

class QWidget;

// Where a top-level window opens: no larger than the room its screen leaves
// for windows, and centred there unless it has a place of its own. Without
// this, a window opens at its preferred size even on a screen too small for
// it, and wherever the window system puts it, or at the screen's corner when
// there is no window manager at all.
namespace WindowPlacement
{

// Shrinks `window` (not shown yet) to the available geometry of its screen,
// its frame allowed for; with `centre`, moves it to the middle of it.
void fitToScreen(QWidget *window, bool centre);

} // namespace WindowPlacement

#endif // WINDOWPLACEMENT_H
