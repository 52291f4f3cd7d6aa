#ifndef SLICEDTASK_H
#define SLICEDTASK_H

#include <QElapsedTimer>
#include <QString>

#include <functional>
#include <memory>

class QProgressDialog;
class QWidget;

// Runs a long computation on the window's own thread in slices short enough
// that the window keeps painting and never stops answering for long. Once it
// has taken longer than a moment, a progress dialog with Cancel shows, modal
// to the window, so that nothing else can change what is being computed.
class SlicedTask
{
public:
    static constexpr int DialogDelay = 300; // milliseconds before the progress dialog shows

    // `parent`, not owned, is the window the dialog is modal to; it must
    // outlive the task.
    SlicedTask(QWidget *parent, const QString &title, const QString &label);
    ~SlicedTask();

    // Called between slices of the work (each a few tens of milliseconds at
    // most) with the share done so far, 0..1: shows the dialog once the work
    // has taken long enough, lets the window paint, and returns false once
    // the user has cancelled.
    bool keepGoing(double done);

    // Does a little of the work, sets `done` to the share finished so far
    // (0..1) and returns true when the work is complete.
    using Slice = std::function<bool(double &done)>;
    // Calls `slice` until it is complete (true) or the user cancels (false).
    static bool run(QWidget *parent, const QString &title, const QString &label, const Slice &slice);

private:
    QWidget *parent; // not owned
    QString title;
    QString label;
    QElapsedTimer clock;
    std::unique_ptr<QProgressDialog> dialog; // once the work has taken DialogDelay
};

#endif // SLICEDTASK_H
