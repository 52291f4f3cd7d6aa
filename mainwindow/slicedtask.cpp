#include "mainwindow/slicedtask.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProgressDialog>
#include <QString>
#include <QWidget>

#include <memory>

namespace
{

constexpr int ProgressSteps = 1000;

} // namespace

bool SlicedTask::run(QWidget *parent, const QString &title, const QString &label, const Slice &slice)
{
    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<QProgressDialog> dialog;
    for (;;) {
        double done = 0;
        if (slice(done))
            return true;
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
        if (dialog) {
            dialog->setValue(static_cast<int>(done * (ProgressSteps - 1)));
            // The dialog blocks input to the window: only Cancel can act.
            QCoreApplication::processEvents();
            if (dialog->wasCanceled())
                return false;
        } else {
            // Paints and timers go on; clicks wait until the work is done or the dialog is up.
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
    }
}
