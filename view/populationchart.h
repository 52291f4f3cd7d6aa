#ifndef POPULATIONCHART_H
#define POPULATIONCHART_H

#include <QWidget>

class QTimer;
class RunHistory;

namespace QtCharts
{
class QChart;
class QLineSeries;
class QValueAxis;
} // namespace QtCharts

// The "Population" window: the live cells of every generation since the field
// was last set, generation across, population up. The only code that talks
// to Qt Charts. It follows a running field at most ten times a second, and
// draws a long run as a band between each stretch's lowest and highest
// population, so that a million generations draw as fast as a hundred.
class PopulationChart : public QWidget
{
    Q_OBJECT

public:
    static constexpr int MaxPoints = 2000; // points drawn at most, whatever the length of the run
    static constexpr int RedrawInterval = 100; // milliseconds between redraws at least

    // `parent`, if any, owns the window; it shows as a window of its own.
    explicit PopulationChart(QWidget *parent = nullptr);

    // The history to draw; not owned, must outlive the chart or be replaced
    // by null first. Redraws soon.
    void setHistory(const RunHistory *history);
    // The history has grown or started anew: redraw soon, unless a redraw is
    // already due.
    void historyChanged();

    // What the chart shows: one point per generation, or the bands' ends.
    int pointCount() const;

private slots:
    void redraw();

private:
    // Gives `axis` the range low..high (0 <= low < high) widened to ticks that
    // all fall on whole numbers, so that every label is one.
    static void setWholeRange(QtCharts::QValueAxis *axis, long long low, long long high);

    const RunHistory *history = nullptr; // not owned
    QtCharts::QChart *chart; // owned by the chart view, a child
    QtCharts::QLineSeries *series; // owned by the chart
    QtCharts::QValueAxis *axisX; // owned by the chart
    QtCharts::QValueAxis *axisY; // owned by the chart
    QTimer *redrawTimer; // a child
};

#endif // POPULATIONCHART_H
