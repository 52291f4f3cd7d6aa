#include <QApplication>
#include <QBrush>
#include <QColor>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

#include "benchfields.h"
#include "model/edit/clip.h"
#include "model/engine/gamefield.h"
#include "model/engine/griduniverse.h"
#include "model/engine/hashlife.h"
#include "model/files/pattern.h"
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

// A square soup of side x side cells, 40 % alive, its top-left cell at (left, top).
std::vector<CellPoint> soup(int side, std::int64_t left, std::int64_t top)
{
    std::mt19937 random(7);
    std::vector<CellPoint> cells;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            if (random() % 5 < 2)
                cells.push_back({ left + x, top + y });
        }
    }
    return cells;
}

// The unbounded plane holding soup(side, ...) somewhere far from the origin.
std::unique_ptr<HashLife> plane(int side)
{
    auto universe = std::make_unique<HashLife>();
    universe->setCells(soup(side, 123456789012, -98765432109));
    return universe;
}

// One repaint of `universe` fitted to the view, then zoomed `steps` steps in
// (positive) or out.
void repaintFitted(benchmark::State &state, const Universe &universe, int steps)
{
    WidgetPaintArea view;
    view.setFixedSize(ViewSize, ViewSize);
    view.setUniverse(&universe);
    view.fitPattern();
    for (int i = 0; i < std::abs(steps); ++i) {
        if (steps > 0)
            view.zoomIn();
        else
            view.zoomOut();
    }
    QImage image(ViewSize, ViewSize, QImage::Format_RGB32);
    for (auto _ : state) {
        view.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["live cells"] = static_cast<double>(universe.population());
    state.counters["pixels a cell"] = view.viewport().cellSize();
    state.counters["cells a pixel"] = static_cast<double>(std::int64_t(1) << (2 * view.viewport().shift()));
}

// Ten million live cells, a pixel for 8 x 8 of them.
void BM_RepaintZoomedOutPlane10M(benchmark::State &state) { repaintFitted(state, *plane(5000), 0); }

// The same soup in a torus, whose cells are read a word at a time.
void BM_RepaintZoomedOutTorus10M(benchmark::State &state)
{
    GridUniverse torus(Topology::torus(5000, 5000));
    for (const CellPoint &cell : soup(5000, 0, 0))
        torus.setCell(cell.x, cell.y, true);
    repaintFitted(state, torus, 0);
}

// A million live cells fitted, then one zoom step in or out around the
// middle, or a pan by a quarter of the view, and the frame after it.
void zoomOrPan(benchmark::State &state, bool zoom)
{
    const std::unique_ptr<HashLife> universe = plane(1582);
    WidgetPaintArea view;
    view.setFixedSize(ViewSize, ViewSize);
    view.setUniverse(universe.get());
    view.fitPattern();
    view.zoomIn();
    QImage image(ViewSize, ViewSize, QImage::Format_RGB32);
    int direction = 1;
    for (auto _ : state) {
        direction = -direction;
        if (zoom) {
            if (direction > 0)
                view.zoomIn();
            else
                view.zoomOut();
        } else {
            Viewport moved = view.viewport();
            moved.panBy(QPoint(direction * ViewSize / 4, 0));
            view.setViewport(moved);
        }
        view.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["live cells"] = static_cast<double>(universe->population());
}

void BM_ZoomStepPlane1M(benchmark::State &state) { zoomOrPan(state, true); }

void BM_PanStepPlane1M(benchmark::State &state) { zoomOrPan(state, false); }

// Zoomed in at 8 pixels a cell: every cell a square with its outline.
void BM_RepaintZoomedInPlane1M(benchmark::State &state) { repaintFitted(state, *plane(1582), 7); }

// A paste of 10^4 live cells (a soup of 158 x 158) following the pointer over
// a million cells: the pointer moves by a few pixels, and the frame after it,
// zoomed from the million cells fitted by the argument's steps.
void BM_PasteOutlineFrame(benchmark::State &state)
{
    const std::unique_ptr<HashLife> universe = plane(1582);
    Pattern pattern;
    pattern.cells.setCells(soup(158, 0, 0));
    pattern.width = 158;
    pattern.height = 158;
    const Clip clip(pattern);
    WidgetPaintArea view;
    view.setFixedSize(ViewSize, ViewSize);
    view.setUniverse(universe.get());
    view.fitPattern();
    for (int i = 0; i < state.range(0); ++i)
        view.zoomIn();
    view.startPaste(&clip, Orientation().clockwise());
    QImage image(ViewSize, ViewSize, QImage::Format_RGB32);
    int step = 0;
    for (auto _ : state) {
        const QPointF at(100 + (step++ % 2) * 7, 120);
        QMouseEvent move(QEvent::MouseMove, at, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&view, &move);
        view.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["outline cells"] = static_cast<double>(pattern.cells.population());
    state.counters["pixels a cell"] = view.viewport().cellSize();
}

} // namespace

BENCHMARK(BM_RepaintFullField)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RectanglesFullField)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintRandomField)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RectanglesRandomField)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintEmptyField)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintUnchangedRandomField)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintZoomedOutPlane10M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintZoomedOutTorus10M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZoomStepPlane1M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PanStepPlane1M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintZoomedInPlane1M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteOutlineFrame)->Arg(0)->Arg(3)->Arg(7)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv) { return runWidgetBenchmarks(argc, argv); }
