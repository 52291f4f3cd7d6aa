#include "mainwindow/slicedtask.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QWidget>

namespace
{

constexpr int ProgressSteps = 1000;

} // namespace

SlicedTask::SlicedTask(QWidget *parent, const QString &title, const QString &label)
    : parent(parent)
    , title(title)
    , label(label)
{
    clock.start();
}

SlicedTask::~SlicedTask() = default;

bool SlicedTask::keepGoing(double done)
{
    if (!dialog && clock.elapsed() >= DialogDelay) {
        dialog = std::make_unique<QProgressDialog>(
            label, QCoreApplication::translate("MainWindow", "Cancel"), 0, ProgressSteps, parent);
        dialog->setWindowTitle(title);
        dialog->setWindowModality(Qt::WindowModal);
        dialog->setAutoClose(false);
        dialog->setAutoReset(false);
        dialog->setMinimumDuration(0);
        dialog->show();
    }
    if (!dialog) {
        // Paints and timers go on; clicks wait until the work is done or the dialog is up.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return true;
    }
    dialog->setValue(static_cast<int>(done * (ProgressSteps - 1)));
    // The dialog blocks input to the window: only Cancel can act.
    QCoreApplication::processEvents();
    return !dialog->wasCanceled();
}

bool SlicedTask::run(QWidget *parent, const QString &title, const QString &label, const Slice &slice)
{
    SlicedTask task(parent, title, label);
    for (;;) {
        double done = 0;
        if (slice(done))
            return true;
        if (!task.keepGoing(done))
            return false;
    }
}
