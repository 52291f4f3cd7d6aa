#ifndef SLICEDTASK_H
#define SLICEDTASK_H

#include <functional>

class QString;
class QWidget;

// Runs a long computation on the window's own thread in slices short enough
// that the window keeps painting and never stops answering for long. Once it
// has taken longer than a moment, a progress dialog with Cancel shows, modal
// to the window, so that nothing else can change what is being computed.
class SlicedTask
{
public:
    SlicedTask() = delete;

    // Does a little of the work (a few tens of milliseconds at most), sets
    // `done` to the share finished so far (0..1) and returns true when the
    // work is complete.
    using Slice = std::function<bool(double &done)>;

    static constexpr int DialogDelay = 300; // milliseconds before the progress dialog shows

    // Calls `slice` until it is complete (true) or the user cancels (false).
    // `parent`, not owned, is the window the dialog is modal to.
    static bool run(QWidget *parent, const QString &title, const QString &label, const Slice &slice);
};

#endif // SLICEDTASK_H
