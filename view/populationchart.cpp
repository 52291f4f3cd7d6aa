#include "view/populationchart.h"

#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QLineSeries>
#include <QPointF>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>
#include <QVector>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include "model/analysis/runhistory.h"

using namespace QtCharts;

PopulationChart::PopulationChart(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , chart(new QChart)
    , series(new QLineSeries)
    , axisX(new QValueAxis)
    , axisY(new QValueAxis)
    , redrawTimer(new QTimer(this))
{
    setWindowTitle(QCoreApplication::translate("MainWindow", "Population"));
    resize(640, 400);

    chart->legend()->hide();
    chart->addSeries(series);
    axisX->setTitleText(QCoreApplication::translate("MainWindow", "Generation"));
    axisX->setLabelFormat(QStringLiteral("%d"));
    axisY->setTitleText(QCoreApplication::translate("MainWindow", "Live cells"));
    axisY->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(axisX, Qt::AlignBottom);
    chart->addAxis(axisY, Qt::AlignLeft);
    series->attachAxis(axisX);
    series->attachAxis(axisY);

    auto *view = new QChartView(chart, this);
    view->setRenderHint(QPainter::Antialiasing);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);

    redrawTimer->setSingleShot(true);
    redrawTimer->setInterval(RedrawInterval);
    connect(redrawTimer, SIGNAL(timeout()), this, SLOT(redraw()));
}

void PopulationChart::setHistory(const RunHistory *newHistory)
{
    history = newHistory;
    historyChanged();
}

void PopulationChart::historyChanged()
{
    if (!redrawTimer->isActive())
        redrawTimer->start();
}

int PopulationChart::pointCount() const { return series->count(); }

void PopulationChart::redraw()
{
    QVector<QPointF> points;
    std::int64_t first = 1;
    std::int64_t last = 1;
    std::uint64_t highest = 0;
    if (history) {
        const std::vector<std::uint64_t> &counts = history->populations();
        first = history->firstGeneration();
        last = history->lastGeneration();
        const std::size_t size = counts.size();
        if (size <= static_cast<std::size_t>(MaxPoints)) {
            points.reserve(static_cast<int>(size));
            for (std::size_t i = 0; i < size; ++i)
                points.append(QPointF(static_cast<double>(history->generation(i)), static_cast<double>(counts[i])));
        } else {
            // Each stretch becomes an upright line from its lowest to its highest population.
            const std::size_t stretches = MaxPoints / 2;
            points.reserve(MaxPoints);
            for (std::size_t s = 0; s < stretches; ++s) {
                const auto begin = counts.begin() + static_cast<std::ptrdiff_t>(s * size / stretches);
                const auto end = counts.begin() + static_cast<std::ptrdiff_t>((s + 1) * size / stretches);
                const auto [low, high] = std::minmax_element(begin, end);
                // Records may be any number of generations apart: each has its own.
                const double x
                    = static_cast<double>(history->generation(static_cast<std::size_t>(begin - counts.begin())));
                points.append(QPointF(x, static_cast<double>(*low)));
                points.append(QPointF(x, static_cast<double>(*high)));
            }
        }
        highest = *std::max_element(counts.begin(), counts.end());
    }
    series->replace(points);
    setWholeRange(axisX, first, std::max(last, first + 1));
    setWholeRange(axisY, 0,
        static_cast<long long>(
            std::min<std::uint64_t>(std::max<std::uint64_t>(highest, 1), static_cast<std::uint64_t>(LLONG_MAX / 4))));
}

void PopulationChart::setWholeRange(QValueAxis *axis, long long low, long long high)
{
    // Round figures on the axes, not the first and last generation: a step of
    // 1, 2 or 5 times a power of ten, the smallest that needs few intervals.
    constexpr long long MostIntervals = 5;
    const auto floorTo = [](long long value, long long step) { return value / step * step; };
    const auto ceilTo = [](long long value, long long step) { return (value + step - 1) / step * step; };
    const auto intervals = [&](long long step) { return (ceilTo(high, step) - floorTo(low, step)) / step; };
    long long step = 1;
    for (long long power = 1; intervals(step) > MostIntervals; power *= 10) {
        for (const long long factor : { 1, 2, 5 }) {
            step = factor * power;
            if (intervals(step) <= MostIntervals)
                break;
        }
    }
    axis->setRange(static_cast<qreal>(floorTo(low, step)), static_cast<qreal>(ceilTo(high, step)));
    axis->setTickCount(static_cast<int>(intervals(step)) + 1);
}
