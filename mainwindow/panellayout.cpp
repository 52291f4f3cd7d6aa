#include "mainwindow/panellayout.h"

#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QScrollArea>
#include <QSize>

#include "mainwindow/mainwindowui.h"
#include "view/widgetpaintarea.h"

namespace
{

const QSize FixedPanel(950, 750);
constexpr int Margin = 10; // pixels around the view and the controls
constexpr int ControlsWidth = 190; // the column of group boxes

void fix(QWidget *widget, const QSize &size)
{
    widget->setMinimumSize(size);
    widget->setMaximumSize(size);
}

} // namespace

PanelLayout::PanelLayout(MainWindowUi *ui, QObject *parent)
    : QObject(parent)
    , ui(ui)
{
    ui->ScrollArea_Main->viewport()->installEventFilter(this);
}

void PanelLayout::setGrowing(bool grow)
{
    growing = grow;
    layOut();
}

bool PanelLayout::eventFilter(QObject *watched, QEvent *event)
{
    if (growing && event->type() == QEvent::Resize)
        layOut();
    return QObject::eventFilter(watched, event);
}

void PanelLayout::layOut()
{
    const QSize panel = growing ? ui->ScrollArea_Main->viewport()->size().expandedTo(FixedPanel) : FixedPanel;
    if (ui->Frame_GUI->size() == panel && !growing)
        return;
    fix(ui->Frame_GUI, panel);
    const QSize view(panel.width() - ControlsWidth - 3 * Margin, panel.height() - 2 * Margin);
    ui->WidgetPaintArea_GraphicScene->setGeometry(Margin, Margin, view.width(), view.height());
    fix(ui->WidgetPaintArea_GraphicScene, view);
    const int controls = panel.width() - ControlsWidth - Margin;
    for (QGroupBox *group : { ui->GroupBox_Simulation, ui->GroupBox_Field, ui->GroupBox_Options, ui->GroupBox_Info })
        group->move(controls, group->y());
}
