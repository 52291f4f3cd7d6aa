#include "mainwindowprobe.h"

#include <QLabel>
#include <QList>
#include <QLocale>
#include <QPushButton>
#include <QString>
#include <QTimer>

#include "model/engine/gamefield.h"
#include "view/widgetpaintarea.h"

namespace
{

const char *const IdleOnlyButtons[] = { "PushButton_Play", "PushButton_Next", "PushButton_Clear", "PushButton_Random",
    "PushButton_Edit", "PushButton_SaveState" };

} // namespace

MainWindowProbe::MainWindowProbe(QWidget *window)
    : window(window)
{
}

QPushButton *MainWindowProbe::button(const char *name) const { return find<QPushButton>(name); }

QTimer *MainWindowProbe::simulationTimer() const
{
    const QList<QTimer *> timers = window->findChildren<QTimer *>(QString(), Qt::FindDirectChildrenOnly);
    if (timers.size() != 1)
        qFatal("expected exactly one timer owned by the window, found %d", int(timers.size()));
    return timers.first();
}

int MainWindowProbe::generation() const { return labelNumber("Label_GenerationNumber", "Generation: "); }

int MainWindowProbe::cellCount() const { return labelNumber("Label_CellCount", "Cells: "); }

bool MainWindowProbe::showsRunning() const
{
    for (const char *name : IdleOnlyButtons) {
        if (button(name)->isEnabled())
            return false;
    }
    return button("PushButton_Pause")->isEnabled() && button("PushButton_Stop")->isEnabled();
}

bool MainWindowProbe::showsIdle() const
{
    for (const char *name : IdleOnlyButtons) {
        if (!button(name)->isEnabled())
            return false;
    }
    return !button("PushButton_Pause")->isEnabled() && button("PushButton_Stop")->isEnabled();
}

QImage MainWindowProbe::picture() const
{
    return find<WidgetPaintArea>("WidgetPaintArea_GraphicScene")->grab().toImage();
}

MainWindowProbe::CellGrid MainWindowProbe::shownCells() const
{
    const QImage image = picture();
    CellGrid cells;
    for (int r = 1; r <= GameField::FieldSize; ++r) {
        for (int c = 1; c <= GameField::FieldSize; ++c)
            cells.push_back(cellColor(image, r, c) == QColor(Qt::white) ? 0 : 1);
    }
    return cells;
}

QColor MainWindowProbe::cellColor(const QImage &picture, int row, int column)
{
    // The middle of a cell lies inside its outline and outside its neighbours'
    // outlines; on a scaled screen every pixel of the view is a square of them.
    const qreal scale = picture.devicePixelRatio();
    return picture.pixelColor(qRound((4 + 6 * (column - 1) + 3) * scale), qRound((4 + 6 * (row - 1) + 3) * scale));
}

MainWindowProbe::CellGrid MainWindowProbe::cellsOf(GameField &field)
{
    CellGrid cells;
    GameField::Cell **buffer = field.snapshot();
    for (int r = 1; r <= GameField::FieldSize; ++r)
        cells.insert(cells.end(), buffer[r] + 1, buffer[r] + 1 + GameField::FieldSize);
    return cells;
}

int MainWindowProbe::labelNumber(const char *name, const char *prefix) const
{
    const QString text = find<QLabel>(name)->text();
    if (!text.startsWith(QLatin1String(prefix)))
        qFatal("label %s reads %s", name, qPrintable(text));
    return QLocale().toInt(text.mid(int(qstrlen(prefix))));
}
