#include <QApplication>
#include <QBrush>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPen>

#include <benchmark/benchmark.h>

#include "benchfields.h"
#include "model/engine/gamefield.h"
#include "qtbenchmarkmain.h"
#include "view/widgetpaintarea.h"

namespace
{

constexpr int ViewSize = 730; // pixels, as in the main window

// One repaint into an image of the window's pixel format, as the backing
// store would receive it. The view only redraws lines whose cells changed
// since its last paint; switching between two fill colours at every paint
// makes it redraw them all, as a field that changed everywhere would.
void repaint(benchmark::State &state, void (*fill)(GameField &), bool everyLineChanged = true)
{
    GameField field;
    if (fill)
        fill(field);
    WidgetPaintArea view;
    view.setFixedSize(ViewSize, ViewSize);
    view.setField(&field);
    QImage image(ViewSize, ViewSize, QImage::Format_RGB32);
    int mode = 1;
    for (auto _ : state) {
        if (everyLineChanged) {
            mode = 3 - mode;
            view.setColorMode(mode);
        }
        view.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["live cells"] = field.liveCellCount();
}

// The yardstick: the same picture drawn the plain way, one painter rectangle
// with an outline per live cell, into the same kind of image.
void drawRectangles(benchmark::State &state, void (*fill)(GameField &))
{
    GameField field;
    fill(field);
    const QPen frame(QBrush(Qt::black), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
    const QPen outline(QBrush(QColor(50, 50, 50)), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
    QImage image(ViewSize, ViewSize, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        painter.setPen(frame);
        painter.setBrush(Qt::white);
        painter.drawRect(0, 0, ViewSize - 1, ViewSize - 1);
        painter.setPen(outline);
        painter.setBrush(QColor(50, 200, 50));
        GameField::Cell *const *cells = field.snapshot();
        for (int r = 1; r <= GameField::FieldSize; ++r) {
            for (int c = 1; c <= GameField::FieldSize; ++c) {
                if (cells[r][c] == 1)
                    painter.drawRect(4 + (c - 1) * 6, 4 + (r - 1) * 6, 6, 6);
            }
        }
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["live cells"] = field.liveCellCount();
}

void BM_RepaintFullField(benchmark::State &state) { repaint(state, BenchFields::fillCompletely); }

void BM_RectanglesFullField(benchmark::State &state) { drawRectangles(state, BenchFields::fillCompletely); }

void BM_RepaintRandomField(benchmark::State &state) { repaint(state, BenchFields::fillRandomly); }

void BM_RectanglesRandomField(benchmark::State &state) { drawRectangles(state, BenchFields::fillRandomly); }

void BM_RepaintEmptyField(benchmark::State &state) { repaint(state, nullptr); }

void BM_RepaintUnchangedRandomField(benchmark::State &state) { repaint(state, BenchFields::fillRandomly, false); }

} // namespace

BENCHMARK(BM_RepaintFullField)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RectanglesFullField)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintRandomField)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RectanglesRandomField)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintEmptyField)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintUnchangedRandomField)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv) { return runWidgetBenchmarks(argc, argv); }
