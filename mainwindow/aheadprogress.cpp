#include "mainwindow/aheadprogress.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <QWidget>

#include "document/document.h"

namespace
{

constexpr int ProgressSteps = 1000;

} // namespace

AheadProgress::AheadProgress(QWidget *window, Document *document)
    : QObject(window)
    , window(window)
    , document(document)
{
    connect(document, &Document::runningChanged, this, &AheadProgress::runningChanged);
    connect(document, &Document::aheadProgressed, this, &AheadProgress::progressed);
}

void AheadProgress::runningChanged(bool running)
{
    if (dialog) {
        // Perhaps in the middle of its own Cancel.
        dialog->hide();
        dialog->deleteLater();
        dialog = nullptr;
    }
    if (!running || !document->isRunningAhead())
        return;
    dialog = new QProgressDialog(QCoreApplication::translate("MainWindow", "Computing generations…"),
        QCoreApplication::translate("MainWindow", "Cancel"), 0, ProgressSteps, window);
    dialog->setWindowTitle(document->runStep());
    // The window keeps the keyboard: its keys and Pause act while the dialog shows.
    dialog->setAttribute(Qt::WA_ShowWithoutActivating);
    dialog->setWindowModality(Qt::NonModal);
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    dialog->setMinimumDuration(DialogDelay);
    dialog->setValue(0);
    connect(dialog, &QProgressDialog::canceled, document, &Document::cancelAhead);
}

void AheadProgress::progressed(double share)
{
    if (dialog)
        dialog->setValue(static_cast<int>(share * (ProgressSteps - 1)));
}
