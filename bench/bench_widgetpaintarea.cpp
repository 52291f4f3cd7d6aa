#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <cstdlib>

#include "model/gamefield.h"
#include "view/widgetpaintarea.h"

namespace
{

constexpr int ViewSize = 730; // pixels, as in the main window

void fillCompletely(GameField &field)
{
    GameField::Cell **cells = field.snapshot();
    for (int r = 1; r <= GameField::FieldSize; ++r) {
        for (int c = 1; c <= GameField::FieldSize; ++c)
            cells[r][c] = 1;
    }
    field.commitSnapshot();
}

// One live cell in three, like the densest quadrant of a random fill.
void fillRandomly(GameField &field)
{
    std::srand(1);
    GameField::Cell **cells = field.snapshot();
    for (int r = 1; r <= GameField::FieldSize; ++r) {
        for (int c = 1; c <= GameField::FieldSize; ++c)
            cells[r][c] = std::rand() % 3 == 0 ? 1 : 0;
    }
    field.commitSnapshot();
}

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

void BM_RepaintFullField(benchmark::State &state) { repaint(state, fillCompletely); }

void BM_RepaintRandomField(benchmark::State &state) { repaint(state, fillRandomly); }

void BM_RepaintEmptyField(benchmark::State &state) { repaint(state, nullptr); }

} // namespace

BENCHMARK(BM_RepaintFullField)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintRandomField)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintEmptyField)->Unit(benchmark::kMillisecond);

// Widgets need the application object before the first one is created.
int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
