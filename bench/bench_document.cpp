#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <thread>

#include "document/document.h"
#include "document/patternfile.h"
#include "model/edit/clip.h"
#include "model/engine/orientation.h"
#include "model/engine/topology.h"
#include "model/files/pattern.h"
#include "qtbenchmarkmain.h"
#include "view/widgetpaintarea.h"

namespace
{

constexpr int ViewSize = 730; // pixels, as in the main window

// A side x side soup, each cell alive with probability 1/2, as an RLE file in `folder`.
QString soupFile(const QTemporaryDir &folder, int side)
{
    std::mt19937 random(1);
    std::string text = "x = " + std::to_string(side) + ", y = " + std::to_string(side) + "\n";
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x)
            text += (random() & 1) ? 'o' : 'b';
        text += y + 1 < side ? "$\n" : "!\n";
    }
    const QString path = folder.filePath(QStringLiteral("soup.rle"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), static_cast<qint64>(text.size())) < 0)
        return QString();
    return path;
}

// Ticks of a run as the window plays it: the document's tick, then one
// repaint of the view fitted to the pattern at the start. Reports the
// slowest tick too, which is how long a key may wait.
void play(benchmark::State &state, Document &document)
{
    WidgetPaintArea view;
    view.setFixedSize(ViewSize, ViewSize);
    view.setUniverse(&document.universe());
    view.fitPattern();
    QImage image(ViewSize, ViewSize, QImage::Format_RGB32);
    double slowest = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        document.tick();
        view.render(&image);
        benchmark::DoNotOptimize(image.constBits());
        slowest = std::max(
            slowest, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    state.counters["slowest ms"] = slowest;
    state.counters["generation"] = static_cast<double>(document.generation());
    state.counters["live cells"] = static_cast<double>(document.cellCount());
}

// The unbounded plane, a 1000 x 1000 soup fitted, one generation a tick:
// at 30 ticks a second, under 16.7 ms a tick keeps CPU at 0.5 s a second.
void BM_PlaySoup1000Unbounded(benchmark::State &state)
{
    QTemporaryDir folder;
    Document document;
    document.openPattern(soupFile(folder, 1000), std::nullopt, Topology::unbounded());
    play(state, document);
}

// The Gosper glider gun at 2^20 generations a tick: each tick must leave the
// window free within 0.1 s.
void BM_PlayGosperGun2e20(benchmark::State &state)
{
    Document document;
    document.openPattern(
        QStringLiteral(GAMEOFLIFE_PATTERN_DIR "/gosper-glider-gun.rle"), std::nullopt, Topology::unbounded());
    document.setStepExponent(20);
    play(state, document);
}

// The acorn in the unbounded plane, one generation a tick, and after each
// tick the window's pending work once a slice of it is due (the census
// followed between ticks): tick, paint and that work together.
void BM_PlayAcornUnboundedWithEvents(benchmark::State &state)
{
    Document document;
    document.openPattern(QStringLiteral(GAMEOFLIFE_PATTERN_DIR "/acorn.rle"), std::nullopt, Topology::unbounded());
    WidgetPaintArea view;
    view.setFixedSize(ViewSize, ViewSize);
    view.setUniverse(&document.universe());
    view.fitPattern();
    QImage image(ViewSize, ViewSize, QImage::Format_RGB32);
    double slowest = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        document.tick();
        view.render(&image);
        benchmark::DoNotOptimize(image.constBits());
        const std::chrono::duration<double, std::milli> ticked = std::chrono::steady_clock::now() - start;
        state.PauseTiming();
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
        state.ResumeTiming();
        const auto events = std::chrono::steady_clock::now();
        QCoreApplication::processEvents();
        slowest = std::max(slowest,
            (ticked + std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - events)).count());
    }
    state.counters["slowest ms"] = slowest;
    state.counters["generation"] = static_cast<double>(document.generation());
}

// The classic field at one generation a tick, for comparison with the above.
void BM_PlayRandomClassic(benchmark::State &state)
{
    Document document;
    document.randomize(CellRect());
    WidgetPaintArea view;
    view.setFixedSize(ViewSize, ViewSize);
    view.setField(document.classicField());
    QImage image(ViewSize, ViewSize, QImage::Format_RGB32);
    for (auto _ : state) {
        document.tick();
        view.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}

// Go to generation 10^18 with the Gosper gun in the unbounded plane, jumps
// growing while each stays short, as the window computes it on the run's thread.
void BM_GoToGeneration1e18GosperGun(benchmark::State &state)
{
    for (auto _ : state) {
        Document document;
        document.openPattern(
            QStringLiteral(GAMEOFLIFE_PATTERN_DIR "/gosper-glider-gun.rle"), std::nullopt, Topology::unbounded());
        document.goToGeneration(Document::MaxUnboundedGeneration);
        while (document.isRunning())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        state.counters["generation"] = static_cast<double>(document.generation());
        state.counters["live cells"] = static_cast<double>(document.cellCount());
    }
}

// The Edit menu's operations on a million live cells (a 1415 x 1415 soup) in
// the unbounded plane, through the document, each with its undo step: 0
// Select all (the live cells' box), 1 Copy of them all as RLE, 2 Rotate clockwise of
// the whole pattern, 3 Paste of the same soup beside it.
void BM_EditMillionCells(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString path = soupFile(folder, 1415);
    Document document;
    document.openPattern(path, std::nullopt, Topology::unbounded());
    Pattern pattern;
    PatternFile::readAny(path, pattern);
    const Clip clip(pattern);
    std::int64_t beside = 2000;
    for (auto _ : state) {
        QString text;
        std::optional<CellRect> whole;
        switch (state.range(0)) {
        case 0:
            benchmark::DoNotOptimize(document.universe().boundingBox());
            break;
        case 1:
            benchmark::DoNotOptimize(document.copy(std::nullopt, text));
            break;
        case 2:
            document.turn(whole, Orientation().clockwise());
            break;
        default:
            document.paste(clip, Orientation(), { beside, 0 }, Universe::Combination::Or);
            beside += 2000;
            break;
        }
    }
    state.counters["live cells"] = static_cast<double>(document.cellCount());
}

} // namespace

BENCHMARK(BM_EditMillionCells)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_GoToGeneration1e18GosperGun)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_PlaySoup1000Unbounded)->Unit(benchmark::kMillisecond)->Iterations(300);
BENCHMARK(BM_PlayGosperGun2e20)->Unit(benchmark::kMillisecond)->Iterations(300);
BENCHMARK(BM_PlayAcornUnboundedWithEvents)->Unit(benchmark::kMillisecond)->Iterations(300);
BENCHMARK(BM_PlayRandomClassic)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv) { return runWidgetBenchmarks(argc, argv); }
