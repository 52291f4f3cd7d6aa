#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QMenu>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QWheelEvent>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "benchfields.h"
#include "document/document.h"
#include "mainwindow/mainwindow.h"
#include "model/engine/unboundeduniverse.h"
#include "model/files/pattern.h"
#include "model/files/patternreader.h"
#include "qtbenchmarkmain.h"
#include "view/widgetpaintarea.h"

namespace
{

// A heavy pattern for the unbounded plane as RLE, one of many by `seed`: a 600 x 600 soup (half the
// cells alive) beside 24 Gosper guns at random places and turns, whose
// streams cross each other and hit the soup's debris.
std::string heavyPattern(unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<std::string> rows(1400, std::string(1400, '.'));
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 600; ++x)
            rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = (random() & 1) ? 'O' : '.';
    }
    for (int gun = 0; gun < 24; ++gun) {
        const int left = 650 + static_cast<int>(random() % 700);
        const int top = static_cast<int>(random() % 1380);
        const bool flipped = random() & 1;
        for (int y = 0; y < 9; ++y) {
            for (int x = 0; x < 36; ++x) {
                if (BenchFields::GosperGunRows[y][x] == 'O')
                    rows[static_cast<std::size_t>(top + (flipped ? 8 - y : y))][static_cast<std::size_t>(left + x)]
                        = 'O';
            }
        }
    }
    std::string text = "x = 1400, y = 1400\n";
    for (const std::string &row : rows) {
        for (char c : row)
            text += c == 'O' ? 'o' : 'b';
        text += "$\n";
    }
    text.back() = '!';
    return text;
}

// Receives the probe event posted right behind an input event: its arrival is the input's answer.
class Probe : public QObject
{
public:
    static const QEvent::Type Type;
    bool event(QEvent *event) override
    {
        if (event->type() != Type)
            return QObject::event(event);
        answered = true;
        return true;
    }
    bool answered = false;
};

const QEvent::Type Probe::Type = static_cast<QEvent::Type>(QEvent::registerEventType());

// The window playing the heavy pattern in the unbounded plane at 2^16
// generations a tick, the window's run on its thread; every 20..80 ms a
// turn of the mouse wheel zooms the view in or out, or every tenth time the
// Simulation menu opens, and the time until the window has handled it and
// drawn the view or the menu anew is measured, as is a tick's jump of another such pattern, which shares
// no result with the one played, computed the way the window did before its run had a thread. Reports the slowest and
// the median answer, and how long Pause took at the end. It plays long
// enough for ticks to come back while it measures.
void BM_InputWhilePlayingHeavy2e16(benchmark::State &state)
{
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("heavy.rle"));
    QFile file(path);
    const std::string text = heavyPattern(7);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), static_cast<qint64>(text.size())) < 0) {
        state.SkipWithError("cannot write the pattern");
        return;
    }
    file.close();
    MainWindow window;
    window.show();
    if (!window.openPatternFile(path, std::nullopt, Topology::unbounded())) {
        state.SkipWithError("cannot open the pattern");
        return;
    }
    auto *document = window.findChild<Document *>();
    auto *view = window.findChild<WidgetPaintArea *>();
    auto *faster = window.findChild<QAction *>(QStringLiteral("Action_Simulation_Faster"));
    for (int step = 0; step < 16; ++step)
        faster->trigger();
    if (document->stepExponent() != 16) {
        state.SkipWithError("the step is not 2^16");
        return;
    }
    window.findChild<QAction *>(QStringLiteral("Action_Simulation_Play"))->trigger();
    std::mt19937 random(3);
    std::vector<double> delays;
    double slowestMenu = 0;
    auto *menu = window.findChild<QMenu *>(QStringLiteral("Menu_Simulation"));
    Probe probe;
    const QPoint centre = view->rect().center();
    for (auto _ : state) {
        QElapsedTimer idle;
        idle.start();
        const int wait = 20 + static_cast<int>(random() % 60);
        while (idle.elapsed() < wait)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        probe.answered = false;
        const auto sent = std::chrono::steady_clock::now();
        // Every tenth time the Simulation menu opens instead, as a click on the menu bar opens it.
        const bool opening = delays.size() % 10 == 9;
        const int turn = delays.size() % 2 ? -120 : 120;
        if (opening)
            QTimer::singleShot(0, menu, [menu, &window] { menu->popup(window.mapToGlobal(QPoint(20, 20))); });
        else
            QCoreApplication::postEvent(view,
                new QWheelEvent(QPointF(centre), view->mapToGlobal(centre), QPoint(), QPoint(0, turn), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false));
        QCoreApplication::postEvent(&probe, new QEvent(Probe::Type));
        while (!probe.answered)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (opening)
            menu->repaint();
        else
            view->repaint();
        const double delay = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - sent).count();
        delays.push_back(delay);
        if (opening) {
            slowestMenu = std::max(slowestMenu, delay);
            menu->hide();
        }
    }
    QElapsedTimer pauseClock;
    pauseClock.start();
    window.findChild<QAction *>(QStringLiteral("Action_Simulation_Pause"))->trigger();
    const double pauseMs = static_cast<double>(pauseClock.nsecsElapsed()) / 1e6;
    const std::int64_t ticks = (document->generation() - 1) >> 16;
    // A tick's jump as the window's thread computed it before.
    Pattern other;
    std::string error;
    const std::string otherText = heavyPattern(8);
    QElapsedTimer jumpClock;
    if (!PatternReader::read(otherText, other, error)) {
        state.SkipWithError("cannot read the other pattern");
        return;
    }
    UnboundedUniverse plane(other.cells);
    jumpClock.start();
    plane.advance(std::uint64_t(1) << 16);
    const double jumpMs = static_cast<double>(jumpClock.nsecsElapsed()) / 1e6;
    std::sort(delays.begin(), delays.end());
    state.counters["slowest answer ms"] = delays.back();
    state.counters["median answer ms"] = delays[delays.size() / 2];
    state.counters["slowest menu ms"] = slowestMenu;
    state.counters["one jump ms"] = jumpMs;
    state.counters["pause ms"] = pauseMs;
    state.counters["ticks"] = static_cast<double>(ticks);
    state.counters["live cells"] = static_cast<double>(document->cellCount());
}

} // namespace

BENCHMARK(BM_InputWhilePlayingHeavy2e16)->Unit(benchmark::kMillisecond)->Iterations(600);

int main(int argc, char **argv) { return runWidgetBenchmarks(argc, argv); }
