#ifndef MAINWINDOWPROBE_H
#define MAINWINDOWPROBE_H

#include <QColor>
#include <QImage>
#include <QWidget>

#include <vector>

class GameField;
class QPushButton;
class QTimer;

// Reads a main window the way its user does: through its widgets found by
// object name, the numbers in its labels and the cells in its view's picture.
// Both the scripted and the randomised tests of the window look through it.
class MainWindowProbe
{
public:
    // 120 x 120 cells, row-major: 1 live, 0 dead.
    using CellGrid = std::vector<int>;

    // `window` is not owned; it must outlive every call.
    explicit MainWindowProbe(QWidget *window = nullptr);

    // The child with this object name; ends the run if there is none.
    template <typename T> T *find(const char *name) const
    {
        T *child = window->findChild<T *>(QLatin1String(name));
        if (!child)
            qFatal("no child named %s", name);
        return child;
    }

    QPushButton *button(const char *name) const;
    // The one timer the window owns.
    QTimer *simulationTimer() const;
    int generation() const;
    int cellCount() const;
    // Only Pause and Stop enabled.
    bool showsRunning() const;
    // Everything but Pause enabled.
    bool showsIdle() const;

    QImage picture() const;
    CellGrid shownCells() const;
    // The fill of cell (row, column), both 1..120, or white for a dead cell.
    static QColor cellColor(const QImage &picture, int row, int column);
    static CellGrid cellsOf(GameField &field);

private:
    int labelNumber(const char *name, const char *prefix) const;

    QWidget *window; // not owned
};

#endif // MAINWINDOWPROBE_H
