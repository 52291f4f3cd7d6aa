#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include "benchfields.h"
#include "model/gamefield.h"
#include "qtbenchmarkmain.h"
#include "view/widgetpaintarea.h"

namespace
{

constexpr int ViewSize = 730; // pixels, as in the main window

// One full repaint into an image of the window's pixel format, as the backing
// store would receive it.
void repaint(benchmark::State &state, void (*fill)(GameField &))
{
    GameField field;
    if (fill)
        fill(field);
    WidgetPaintArea view;
    view.setFixedSize(ViewSize, ViewSize);
    view.setField(&field);
    QImage image(ViewSize, ViewSize, QImage::Format_RGB32);
    for (auto _ : state) {
        view.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["live cells"] = field.liveCellCount();
}

void BM_RepaintFullField(benchmark::State &state) { repaint(state, BenchFields::fillCompletely); }

void BM_RepaintRandomField(benchmark::State &state) { repaint(state, BenchFields::fillRandomly); }

void BM_RepaintEmptyField(benchmark::State &state) { repaint(state, nullptr); }

} // namespace

BENCHMARK(BM_RepaintFullField)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintRandomField)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintEmptyField)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv) { return runWidgetBenchmarks(argc, argv); }
