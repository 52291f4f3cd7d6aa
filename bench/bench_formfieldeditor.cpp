#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QObject>
#include <QTableWidget>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "editor/formfieldeditor.h"
#include "model/engine/gamefield.h"
#include "qtbenchmarkmain.h"

namespace
{

// Notes when the table's cells have been painted for the first time.
class PaintWatcher : public QObject
{
public:
    bool painted = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

constexpr qint64 PaintTimeoutMs = 10000;

// Construction alone: the 14400 items and their colours.
void BM_ConstructFullField(benchmark::State &state)
{
    std::vector<int32_t> buffer(GameField::CellCount, 1);
    for (auto _ : state) {
        auto *editor = new FormFieldEditor(&buffer);
        benchmark::DoNotOptimize(editor);
        // Destruction belongs to neither figure: it happens after the user is done.
        state.PauseTiming();
        delete editor;
        state.ResumeTiming();
    }
}

// What the user waits for after Edit: construction, show and the first paint of the cells.
void BM_OpenFullField(benchmark::State &state)
{
    std::vector<int32_t> buffer(GameField::CellCount, 1);
    for (auto _ : state) {
        auto *editor = new FormFieldEditor(&buffer);
        PaintWatcher watcher;
        editor->findChild<QTableWidget *>()->viewport()->installEventFilter(&watcher);
        editor->show();
        QElapsedTimer waited;
        waited.start();
        while (!watcher.painted && waited.elapsed() < PaintTimeoutMs)
            QApplication::processEvents();
        state.PauseTiming();
        const bool painted = watcher.painted;
        delete editor;
        QApplication::processEvents();
        state.ResumeTiming();
        if (!painted) {
            state.SkipWithError("the editor was never painted");
            break;
        }
    }
}

} // namespace

BENCHMARK(BM_ConstructFullField)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenFullField)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv) { return runWidgetBenchmarks(argc, argv); }
