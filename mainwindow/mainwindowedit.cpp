#include "mainwindow/mainwindow.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>

#include <optional>
#include <utility>

#include "document/document.h"
#include "mainwindow/mainwindowui.h"
#include "view/widgetpaintarea.h"

// MainWindow's Edit menu: the clipboard, the selection, pasting and turning.

void MainWindow::Slot_Action_Edit_CopyPattern()
{
    QString text;
    const QString problem = document->copy(ui->WidgetPaintArea_GraphicScene->selection(), text);
    showRefusal(tr("Copy"), problem);
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

void MainWindow::Slot_Action_Edit_PastePattern()
{
    document->finishStroke();
    if (document->isRunning())
        return;
    std::unique_ptr<Clip> clip;
    const QString problem = document->readClip(QGuiApplication::clipboard()->text(), clip);
    if (!problem.isEmpty() && !clip) {
        QMessageBox::warning(
            this, tr("Paste pattern"), tr("The clipboard holds no pattern that can be pasted:\n%1").arg(problem));
        return;
    }
    // Too large for the bounded universe: the unbounded plane holds it, as Open would choose.
    if (!problem.isEmpty()) {
        if (QMessageBox::question(
                this, tr("Paste pattern"), tr("%1\n\nSwitch to the unbounded plane and paste it there?").arg(problem))
            != QMessageBox::Yes)
            return;
        const QString refused = document->switchForPaste(Topology::unbounded());
        if (!refused.isEmpty()) {
            QMessageBox::warning(this, tr("Universe"), refused);
            return;
        }
    }
    WidgetPaintArea *view = ui->WidgetPaintArea_GraphicScene;
    view->endPaste();
    pasteClip = std::move(clip);
    pasteOrientation = Orientation();
    view->startPaste(pasteClip.get(), pasteOrientation);
    // Return places it and the arrow keys move it.
    view->setFocus(Qt::OtherFocusReason);
    updateEditActions();
}

void MainWindow::Slot_WidgetPaintArea_PasteRequested(qint64 x, qint64 y)
{
    if (!pasteClip || document->isRunning())
        return;
    const Universe::Combination how = ui->Action_Edit_PasteCopy->isChecked() ? Universe::Combination::Copy
        : ui->Action_Edit_PasteXor->isChecked()                              ? Universe::Combination::Xor
                                                                             : Universe::Combination::Or;
    const QString problem = document->paste(*pasteClip, pasteOrientation, { x, y }, how);
    if (!problem.isEmpty()) {
        // The outline stays, to be placed elsewhere.
        QMessageBox::warning(this, tr("Paste pattern"), tr("The pattern cannot be pasted there:\n%1").arg(problem));
        return;
    }
    cancelPaste();
}

void MainWindow::Slot_Action_Edit_Cut()
{
    const std::optional<CellRect> selection = ui->WidgetPaintArea_GraphicScene->selection();
    if (!selection)
        return;
    QString text;
    const QString problem = document->cut(*selection, text);
    showRefusal(tr("Cut"), problem);
    if (problem.isEmpty() && !text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

void MainWindow::Slot_Action_Edit_Clear()
{
    if (const std::optional<CellRect> selection = ui->WidgetPaintArea_GraphicScene->selection())
        showRefusal(tr("Clear"), document->clearInside(*selection));
}

void MainWindow::Slot_Action_Edit_ClearOutside()
{
    if (const std::optional<CellRect> selection = ui->WidgetPaintArea_GraphicScene->selection())
        showRefusal(tr("Clear outside"), document->clearOutside(*selection));
}

void MainWindow::Slot_Action_Edit_FillRandom()
{
    document->finishStroke();
    const std::optional<CellRect> selection = ui->WidgetPaintArea_GraphicScene->selection();
    if (document->isRunning() || !selection)
        return;
    bool accepted = false;
    const int percent = QInputDialog::getInt(
        this, tr("Fill at random"), tr("Live cells, in % of the selection:"), 50, 0, 100, 1, &accepted);
    if (accepted)
        showRefusal(tr("Fill at random"), document->fillRandom(*selection, percent));
}

void MainWindow::Slot_Action_Edit_SelectAll()
{
    document->finishStroke();
    if (!document->isRunning())
        ui->WidgetPaintArea_GraphicScene->setSelection(document->universe().boundingBox());
}

void MainWindow::Slot_Action_Edit_SelectNone()
{
    if (pasteClip)
        cancelPaste();
    else
        ui->WidgetPaintArea_GraphicScene->setSelection(std::nullopt);
}

void MainWindow::turn(const Orientation &step)
{
    if (document->isRunning())
        return;
    WidgetPaintArea *view = ui->WidgetPaintArea_GraphicScene;
    if (pasteClip) {
        pasteOrientation = pasteOrientation.then(step);
        view->setPasteOrientation(pasteOrientation);
        return;
    }
    std::optional<CellRect> area = view->selection();
    const bool selected = area.has_value();
    showRefusal(step.swapsSides() ? tr("Rotate") : tr("Flip"), document->turn(area, step));
    if (selected)
        view->setSelection(area);
}

void MainWindow::cancelPaste()
{
    if (!pasteClip)
        return;
    // A universe switched for the paste stays, as a step of its own.
    document->finishStroke();
    ui->WidgetPaintArea_GraphicScene->endPaste();
    pasteClip.reset();
    updateEditActions();
}

void MainWindow::updateEditActions()
{
    const bool idle = !document->isRunning();
    const bool pasting = pasteClip != nullptr;
    const bool selected = ui->WidgetPaintArea_GraphicScene->selection().has_value();
    for (QAction *action :
        { ui->Action_Edit_Cut, ui->Action_Edit_Clear, ui->Action_Edit_ClearOutside, ui->Action_Edit_FillRandom })
        action->setEnabled(idle && selected && !pasting);
    for (QAction *action : { ui->Action_Edit_RotateClockwise, ui->Action_Edit_RotateAnticlockwise,
             ui->Action_Edit_FlipLeftRight, ui->Action_Edit_FlipTopBottom })
        action->setEnabled(idle && (pasting || selected || document->cellCount() > 0));
    ui->Action_Edit_SelectNone->setEnabled(pasting || selected);
}

void MainWindow::showRefusal(const QString &title, const QString &problem)
{
    if (!problem.isEmpty())
        QMessageBox::warning(this, title, problem);
}
