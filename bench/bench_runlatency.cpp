#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QMenu>
#include <QMouseEvent>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QWheelEvent>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "benchfields.h"
#include "document/document.h"
#include "document/runthread.h"
#include "document/viewpicture.h"
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
    // The rule named: a file without one would run under the rule the last run left in the settings.
    std::string text = "x = 1400, y = 1400, rule = B3/S23\n";
    for (const std::string &row : rows) {
        for (char c : row)
            text += c == 'O' ? 'o' : 'b';
        text += "$\n";
    }
    text.back() = '!';
    return text;
}

// The heavy pattern below a field of 800 x 800 blocks, 2,560,000 cells
// still for ever, beyond the diagonals along which the gliders leave: more
// live cells than the view's copy takes, so that the view draws a picture
// made on the run's thread.
std::string heavyCrowd()
{
    constexpr int Field = 3200;
    constexpr int Left = 900; // of the heavy pattern, 1400 x 1400
    constexpr int Top = Field + 3400;
    constexpr int Height = Top + 1400;
    std::vector<std::string> rows(Height, std::string(Field, 'b'));
    for (int y = 0; y < Field; ++y) {
        for (int x = 0; x < Field; ++x)
            rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = (x % 4 < 2 && y % 4 < 2) ? 'o' : 'b';
    }
    const std::string heavy = heavyPattern(7);
    std::size_t at = heavy.find('\n') + 1;
    for (int y = Top; at < heavy.size(); ++y) {
        for (int x = Left; heavy[at] != '$' && heavy[at] != '!'; ++at, ++x)
            rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = heavy[at];
        at += 2;
    }
    std::string text = "x = " + std::to_string(Field) + ", y = " + std::to_string(Height) + ", rule = B3/S23\n";
    for (const std::string &row : rows) {
        for (std::size_t x = 0; x < row.size();) {
            std::size_t run = 1;
            while (x + run < row.size() && row[x + run] == row[x])
                ++run;
            text += std::to_string(run) + row[x];
            x += run;
        }
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

// A 400 x 400 soup of Brian's Brain as RLE, its cells firing or dying at random: too many states for the tiles.
std::string brainSoup()
{
    std::mt19937 random(5);
    std::string text = "x = 400, y = 400, rule = B2/S/C3\n";
    for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 400; ++x)
            text += "..AB"[random() & 3];
        text += y < 399 ? "$\n" : "!\n";
    }
    return text;
}

// Opens the heavy pattern, or `text`, in the unbounded plane in a shown window; false with the error given to `state`.
bool openHeavy(
    benchmark::State &state, MainWindow &window, QTemporaryDir &folder, const std::string &text = heavyPattern(7))
{
    QStandardPaths::setTestModeEnabled(true);
    const QString path = folder.filePath(QStringLiteral("heavy.rle"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), static_cast<qint64>(text.size())) < 0) {
        state.SkipWithError("cannot write the pattern");
        return false;
    }
    file.close();
    window.show();
    if (!window.openPatternFile(path, std::nullopt, Topology::unbounded())) {
        state.SkipWithError("cannot open the pattern");
        return false;
    }
    return true;
}

// Presses Faster until the window steps 2^`exponent` generations a tick;
// false, the row skipped, if it does not get there.
bool stepBy(benchmark::State &state, MainWindow &window, int exponent)
{
    auto *faster = window.findChild<QAction *>(QStringLiteral("Action_Simulation_Faster"));
    for (int step = 0; step < exponent; ++step)
        faster->trigger();
    if (window.findChild<Document *>()->stepExponent() == exponent)
        return true;
    state.SkipWithError("the step is not as asked");
    return false;
}

// Every 20..80 ms a turn of the mouse wheel zooms the view in or out, or
// every tenth time the Simulation menu opens, and the time until the window
// has handled it and drawn the view or the menu anew is measured. `between`
// is called before each input. Reports the slowest and the median answer.
void measureInput(benchmark::State &state, MainWindow &window, const std::function<void()> &between)
{
    auto *view = window.findChild<WidgetPaintArea *>();
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
        between();
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
    std::sort(delays.begin(), delays.end());
    state.counters["slowest answer ms"] = delays.back();
    state.counters["median answer ms"] = delays[delays.size() / 2];
    state.counters["slowest menu ms"] = slowestMenu;
}

// The window playing the heavy pattern in the unbounded plane at 2^16
// generations a tick, the window's run on its thread, answering input as
// measureInput() measures it; also a tick's jump of another such pattern,
// which shares no result with the one played, computed the way the window did
// before its run had a thread, and how long Pause took at the end. It plays
// long enough for ticks to come back while it measures.
void BM_InputWhilePlayingHeavy2e16(benchmark::State &state)
{
    QTemporaryDir folder;
    MainWindow window;
    if (!openHeavy(state, window, folder))
        return;
    auto *document = window.findChild<Document *>();
    if (!stepBy(state, window, 16))
        return;
    window.findChild<QAction *>(QStringLiteral("Action_Simulation_Play"))->trigger();
    measureInput(state, window, [] {});
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
    state.counters["one jump ms"] = jumpMs;
    state.counters["pause ms"] = pauseMs;
    state.counters["ticks"] = static_cast<double>(ticks);
    state.counters["live cells"] = static_cast<double>(document->cellCount());
}

// Posts a drag with the middle button from the middle of `view` by `moved`
// pixels, which moves the picture by as much.
void postPan(WidgetPaintArea *view, const QPoint &moved)
{
    const QPoint from = view->rect().center();
    const QPoint to = from + moved;
    QCoreApplication::postEvent(view,
        new QMouseEvent(QEvent::MouseButtonPress, from, view->mapToGlobal(from), Qt::MiddleButton, Qt::MiddleButton,
            Qt::NoModifier));
    QCoreApplication::postEvent(view,
        new QMouseEvent(QEvent::MouseMove, to, view->mapToGlobal(to), Qt::NoButton, Qt::MiddleButton, Qt::NoModifier));
    QCoreApplication::postEvent(view,
        new QMouseEvent(
            QEvent::MouseButtonRelease, to, view->mapToGlobal(to), Qt::MiddleButton, Qt::NoButton, Qt::NoModifier));
}

// The window playing heavyCrowd() at 2^16 generations a tick, from its
// first jump, seconds long, on; its live cells are more than the view's copy
// takes, so that the view draws a picture made on the run's thread: every 20..80 ms the view pans by a whole
// view, past the picture, or zooms out or in around its middle or a corner,
// in a round of eight that comes back near where it started. The time until
// the window has handled the input and drawn the view anew, how many ticks
// finished while it measured, and how many pieces of the run's work holds
// made it throw away and start again.
void BM_PanWhilePlayingHeavy2e16(benchmark::State &state)
{
    QTemporaryDir folder;
    MainWindow window;
    if (!openHeavy(state, window, folder, heavyCrowd()))
        return;
    auto *document = window.findChild<Document *>();
    auto *runThread = document->findChild<RunThread *>();
    auto *view = window.findChild<WidgetPaintArea *>();
    if (!runThread) {
        state.SkipWithError("the document has no run thread");
        return;
    }
    if (!stepBy(state, window, 16))
        return;
    view->fitPattern();
    if (document->cellCount() <= RunThread::ViewCopyLimit) {
        state.SkipWithError("the pattern is small enough for the view's copy");
        return;
    }
    const std::int64_t first = document->generation();
    const std::uint64_t restartsBefore = runThread->restarts();
    window.findChild<QAction *>(QStringLiteral("Action_Simulation_Play"))->trigger();
    std::mt19937 random(3);
    std::vector<double> delays;
    Probe probe;
    for (auto _ : state) {
        QElapsedTimer idle;
        idle.start();
        const int wait = 20 + static_cast<int>(random() % 60);
        while (idle.elapsed() < wait)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        probe.answered = false;
        const auto sent = std::chrono::steady_clock::now();
        const QSize size = view->size();
        const QPoint corner(size.width() / 8, size.height() / 8);
        const auto wheel = [view](const QPoint &at, int turn) {
            QCoreApplication::postEvent(view,
                new QWheelEvent(QPointF(at), view->mapToGlobal(at), QPoint(), QPoint(0, turn), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false));
        };
        switch (delays.size() % 8) {
        case 0:
            postPan(view, QPoint(-size.width(), 0));
            break;
        case 1:
            postPan(view, QPoint(0, -size.height()));
            break;
        case 2:
        case 3:
            wheel(view->rect().center(), -120);
            break;
        case 4:
            wheel(corner, 120);
            break;
        case 5:
            wheel(view->rect().center(), 120);
            break;
        case 6:
            postPan(view, QPoint(size.width(), 0));
            break;
        default:
            postPan(view, QPoint(0, size.height()));
            break;
        }
        QCoreApplication::postEvent(&probe, new QEvent(Probe::Type));
        while (!probe.answered)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        view->repaint();
        delays.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - sent).count());
    }
    const std::int64_t ticks = (document->generation() - first) >> 16;
    const double restarts = static_cast<double>(runThread->restarts() - restartsBefore);
    window.findChild<QAction *>(QStringLiteral("Action_Simulation_Pause"))->trigger();
    std::sort(delays.begin(), delays.end());
    state.counters["slowest answer ms"] = delays.back();
    state.counters["median answer ms"] = delays[delays.size() / 2];
    state.counters["ticks"] = static_cast<double>(ticks);
    state.counters["restarts"] = restarts;
    state.counters["live cells"] = static_cast<double>(document->cellCount());
}

// The window playing `text` at 2^`exponent` generations a tick, with a
// picture drawn (more live cells than the view's copy takes, or more states
// than the tiles hold), zoomed in: every 20..80 ms the view pans by a whole view, past
// the picture, right, down, left and up in turn. The time until the window
// has handled the input and drawn it, and then until the view shows exactly
// the cells of a finished generation rather than the summary or the
// background (3 s at most: a jump may take longer), how many ticks finished
// and how many pieces of the run's work were thrown away.
void panUntilExact(benchmark::State &state, const std::string &text, int exponent)
{
    QTemporaryDir folder;
    MainWindow window;
    if (!openHeavy(state, window, folder, text))
        return;
    auto *document = window.findChild<Document *>();
    auto *runThread = document->findChild<RunThread *>();
    auto *view = window.findChild<WidgetPaintArea *>();
    if (!runThread || !stepBy(state, window, exponent))
        return;
    // Zoomed in, a cell to a pixel or more, on the pattern's middle: finer than its summary.
    const std::optional<CellRect> box = document->universe().boundingBox();
    Viewport zoomedIn;
    zoomedIn.place(zoomedIn.zoomStep(), CellPoint { (box->left + box->right) / 2, (box->top + box->bottom) / 2 },
        view->rect().center());
    view->setViewport(zoomedIn);
    const std::int64_t first = document->generation();
    const std::uint64_t restartsBefore = runThread->restarts();
    window.findChild<QAction *>(QStringLiteral("Action_Simulation_Play"))->trigger();
    std::mt19937 random(3);
    std::vector<double> delays;
    std::vector<double> exact;
    Probe probe;
    for (auto _ : state) {
        QElapsedTimer idle;
        idle.start();
        const int wait = 20 + static_cast<int>(random() % 60);
        while (idle.elapsed() < wait)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        probe.answered = false;
        const auto sent = std::chrono::steady_clock::now();
        const QSize size = view->size();
        const QPoint moves[]
            = { { -size.width(), 0 }, { 0, -size.height() }, { size.width(), 0 }, { 0, size.height() } };
        postPan(view, moves[delays.size() % 4]);
        QCoreApplication::postEvent(&probe, new QEvent(Probe::Type));
        while (!probe.answered)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        view->repaint();
        const auto since = [&sent] {
            return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - sent).count();
        };
        delays.push_back(since());
        const int shift = view->viewport().shift();
        const CellRect visible = view->visibleCells();
        const std::int64_t grain = ~((std::int64_t(1) << shift) - 1);
        const CellRect aligned { visible.left & grain, visible.top & grain, visible.right, visible.bottom };
        const auto shown = [&] {
            const auto *picture = dynamic_cast<const ViewPicture *>(&document->universe());
            return !picture || picture->answers(aligned, shift);
        };
        while (!shown() && since() < 3000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        exact.push_back(since());
    }
    const std::int64_t ticks = (document->generation() - first) >> exponent;
    const double restarts = static_cast<double>(runThread->restarts() - restartsBefore);
    window.findChild<QAction *>(QStringLiteral("Action_Simulation_Pause"))->trigger();
    std::sort(delays.begin(), delays.end());
    std::sort(exact.begin(), exact.end());
    state.counters["slowest answer ms"] = delays.back();
    state.counters["median answer ms"] = delays[delays.size() / 2];
    state.counters["slowest exact ms"] = exact.back();
    state.counters["median exact ms"] = exact[exact.size() / 2];
    state.counters["ticks"] = static_cast<double>(ticks);
    state.counters["restarts"] = restarts;
}

// panUntilExact() of heavyCrowd() at 2^16 generations a tick, from its first jump, seconds long, on.
void BM_PanUntilExactHeavy2e16(benchmark::State &state) { panUntilExact(state, heavyCrowd(), 16); }

// panUntilExact() of a soup of Brian's Brain at 2^8 generations a tick: jumps of chaos that only grows.
void BM_PanUntilExactBrainSoup2e8(benchmark::State &state) { panUntilExact(state, brainSoup(), 8); }

// The window playing a soup of Brian's Brain at 2^4 generations a tick: the
// view draws a picture made on the run's thread, the tiles holding two states
// only. Also how long Pause took at the end.
void BM_InputWhilePlayingBrainSoup(benchmark::State &state)
{
    QTemporaryDir folder;
    MainWindow window;
    if (!openHeavy(state, window, folder, brainSoup()))
        return;
    auto *document = window.findChild<Document *>();
    if (!stepBy(state, window, 4))
        return;
    window.findChild<QAction *>(QStringLiteral("Action_Simulation_Play"))->trigger();
    measureInput(state, window, [] {});
    QElapsedTimer pauseClock;
    pauseClock.start();
    window.findChild<QAction *>(QStringLiteral("Action_Simulation_Pause"))->trigger();
    state.counters["pause ms"] = static_cast<double>(pauseClock.nsecsElapsed()) / 1e6;
    state.counters["generation"] = static_cast<double>(document->generation());
    state.counters["live cells"] = static_cast<double>(document->cellCount());
}

// A 600 x 600 soup, half the cells alive, as RLE under `rule`.
std::string soup(const char *rule)
{
    std::mt19937 random(11);
    std::string text = std::string("x = 600, y = 600, rule = ") + rule + "\n";
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 600; ++x)
            text += (random() & 1) ? 'o' : 'b';
        text += y < 599 ? "$\n" : "!\n";
    }
    return text;
}

// Plays `generations` (a power of two) a tick until measureInput() is done,
// then pauses and records how long Pause took and how far the run got.
void playAndMeasure(benchmark::State &state, MainWindow &window, int stepExponent)
{
    auto *document = window.findChild<Document *>();
    if (!stepBy(state, window, stepExponent))
        return;
    const std::int64_t first = document->generation();
    window.findChild<QAction *>(QStringLiteral("Action_Simulation_Play"))->trigger();
    measureInput(state, window, [] {});
    QElapsedTimer clock;
    clock.start();
    window.findChild<QAction *>(QStringLiteral("Action_Simulation_Pause"))->trigger();
    state.counters["pause ms"] = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    state.counters["ticks"] = static_cast<double>((document->generation() - first) >> stepExponent);
    // A second run, ended by Stop part way through a jump.
    window.findChild<QAction *>(QStringLiteral("Action_Simulation_Play"))->trigger();
    QElapsedTimer idle;
    idle.start();
    while (idle.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    clock.restart();
    window.findChild<QAction *>(QStringLiteral("Action_Simulation_Stop"))->trigger();
    state.counters["stop ms"] = static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

// The window playing a soup under a rule with birth on 0 neighbours in the
// unbounded plane, whose background is alive at every tick shown: 0 the
// complement of Life (the background stays alive) at 2^16 generations a
// tick, 1 a rule whose background blinks, at one generation a tick. Also how
// long Pause and Stop took.
void BM_InputWhilePlayingLiveBackground(benchmark::State &state)
{
    QTemporaryDir folder;
    MainWindow window;
    const bool blinking = state.range(0) == 1;
    if (!openHeavy(state, window, folder, soup(blinking ? "B0123/S2" : "B0123478/S01234678")))
        return;
    playAndMeasure(state, window, blinking ? 0 : 16);
}

// `window` shown with a soup of `percent`% on a torus of side x side cells,
// under `rule` unless it is empty; null, the benchmark skipped, if the soup
// cannot be made.
Document *torusSoup(benchmark::State &state, MainWindow &window, std::int64_t side, const QString &rule, int percent)
{
    QStandardPaths::setTestModeEnabled(true);
    window.show();
    auto *document = window.findChild<Document *>();
    if (!document->setTopology(Topology::torus(side, side)).isEmpty()
        || (!rule.isEmpty() && !document->setRule(rule).isEmpty())
        || !document->fillRandom(CellRect { 0, 0, side - 1, side - 1 }, percent).isEmpty()) {
        state.SkipWithError("cannot make the soup");
        return nullptr;
    }
    return document;
}

// The window playing a soup on the largest torus there is, 32,768 x 32,768
// cells, at its one generation a tick. Also how long Pause and Stop took.
void BM_InputWhilePlayingLargestTorus(benchmark::State &state)
{
    QTemporaryDir folder;
    MainWindow window;
    if (torusSoup(state, window, std::int64_t(1) << 15, QString(), 30))
        playAndMeasure(state, window, 0);
}

// The window playing a soup under Brian's Brain, a rule of three states that
// the grid holds a byte a cell, on a torus of 16,384 x 16,384 cells (256 MiB)
// at its one generation a tick, zoomed out to show the whole of it. Also how
// long Pause and Stop took.
void BM_InputWhilePlayingLargeTorusManyStates(benchmark::State &state)
{
    QTemporaryDir folder;
    MainWindow window;
    if (!torusSoup(state, window, std::int64_t(1) << 14, QStringLiteral("B2/S/C3"), 10))
        return;
    window.findChild<WidgetPaintArea *>()->fitPattern();
    playAndMeasure(state, window, 0);
}

// A soup on a torus of 16,384 x 16,384 cells, 30% alive, saved under the
// rule `saved`, then played under `played`, one of them or both rules of
// more than two states that the grid holds a byte a cell (256 MiB): Stop
// comes `range(0)` milliseconds after Play, before the run's thread may have
// converted the saved cells to the run's rule. How long Stop held the
// window's thread, how long the first input after it waited, and the
// slowest answer to input (a turn of the mouse wheel every 10 ms) from Play
// on. A window of its own each time: the run's thread keeps the converted
// cells for the next run.
void BM_StopEarlyLargeTorusManyStates(benchmark::State &state, const char *saved, const char *played)
{
    QTemporaryDir folder;
    MainWindow window;
    Document *document = torusSoup(state, window, std::int64_t(1) << 14, QString::fromLatin1(saved), 30);
    if (!document)
        return;
    auto *view = window.findChild<WidgetPaintArea *>();
    document->saveState();
    if (!document->setRule(QString::fromLatin1(played)).isEmpty()) {
        state.SkipWithError("cannot change the rule");
        return;
    }
    view->fitPattern();
    for (int round = 0; round < 10; ++round)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    Probe probe;
    const QPoint centre = view->rect().center();
    int turns = 0;
    // The time until the window has handled a turn of the wheel and drawn the view anew.
    const auto answer = [&] {
        probe.answered = false;
        const auto sent = std::chrono::steady_clock::now();
        QCoreApplication::postEvent(view,
            new QWheelEvent(QPointF(centre), view->mapToGlobal(centre), QPoint(), QPoint(0, turns++ % 2 ? -120 : 120),
                Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false));
        QCoreApplication::postEvent(&probe, new QEvent(Probe::Type));
        while (!probe.answered)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        view->repaint();
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - sent).count();
    };
    auto *play = window.findChild<QAction *>(QStringLiteral("Action_Simulation_Play"));
    auto *stop = window.findChild<QAction *>(QStringLiteral("Action_Simulation_Stop"));
    double stopMs = 0;
    double afterMs = 0;
    double slowest = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        play->trigger();
        while (clock.elapsed() < state.range(0)) {
            slowest = std::max(slowest, answer());
            QElapsedTimer idle;
            idle.start();
            while (idle.elapsed() < 10)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        clock.restart();
        stop->trigger();
        stopMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        afterMs = answer();
        slowest = std::max(slowest, afterMs);
    }
    state.counters["stop ms"] = stopMs;
    state.counters["first answer after stop ms"] = afterMs;
    state.counters["slowest answer ms"] = slowest;
    state.counters["generation"] = static_cast<double>(document->generation());
}

// The early Stop's rows: Stop 0, 50 and 200 ms after Play, once each.
void stopAfter(benchmark::internal::Benchmark *rows)
{
    rows->Arg(0)->Arg(50)->Arg(200)->Unit(benchmark::kMillisecond)->Iterations(1);
}

// The window computing ahead on the heavy pattern: 0 Run until settled
// (Ctrl+E: every generation recorded and compared), 1 Go to generation 10^18
// (jumps growing while each stays short), answering input as measureInput()
// measures it. One that finishes is undone and started again. Also how long
// Cancel and Pause took, each ending one, and the generation shown last.
void BM_InputWhileRunningAheadHeavy(benchmark::State &state)
{
    QTemporaryDir folder;
    MainWindow window;
    if (!openHeavy(state, window, folder))
        return;
    auto *document = window.findChild<Document *>();
    const bool untilSettled = state.range(0) == 0;
    auto *runUntilSettled = window.findChild<QAction *>(QStringLiteral("Action_Simulation_RunUntilSettled"));
    const auto start = [&] {
        if (untilSettled)
            runUntilSettled->trigger();
        else
            document->goToGeneration(Document::MaxUnboundedGeneration);
    };
    int starts = 0;
    const auto keepGoing = [&] {
        if (document->isRunning())
            return;
        if (starts > 0)
            document->undo();
        ++starts;
        start();
    };
    measureInput(state, window, keepGoing);
    const std::int64_t shown = document->generation();
    QElapsedTimer clock;
    clock.start();
    document->cancelAhead();
    const double cancelMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    start();
    for (int round = 0; round < 10; ++round)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    clock.restart();
    window.findChild<QAction *>(QStringLiteral("Action_Simulation_Pause"))->trigger();
    const double pauseMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    state.counters["cancel ms"] = cancelMs;
    state.counters["pause ms"] = pauseMs;
    state.counters["starts"] = starts;
    state.counters["generation shown at the end"] = static_cast<double>(shown);
}

} // namespace

BENCHMARK(BM_InputWhilePlayingHeavy2e16)->Unit(benchmark::kMillisecond)->Iterations(600);
BENCHMARK(BM_PanWhilePlayingHeavy2e16)->Unit(benchmark::kMillisecond)->Iterations(300);
BENCHMARK(BM_PanUntilExactHeavy2e16)->Unit(benchmark::kMillisecond)->Iterations(40);
BENCHMARK(BM_PanUntilExactBrainSoup2e8)->Unit(benchmark::kMillisecond)->Iterations(40);
BENCHMARK(BM_InputWhilePlayingBrainSoup)->Unit(benchmark::kMillisecond)->Iterations(300);
BENCHMARK(BM_InputWhilePlayingLiveBackground)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(BM_InputWhilePlayingLargestTorus)->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(BM_InputWhilePlayingLargeTorusManyStates)->Unit(benchmark::kMillisecond)->Iterations(100);
BENCHMARK_CAPTURE(BM_StopEarlyLargeTorusManyStates, FromLife, "B3/S23", "B2/S/C3")->Apply(stopAfter);
BENCHMARK_CAPTURE(BM_StopEarlyLargeTorusManyStates, ToLife, "B2/S/C3", "B3/S23")->Apply(stopAfter);
BENCHMARK_CAPTURE(BM_StopEarlyLargeTorusManyStates, ToFewerStates, "B2/S345/C4", "B2/S/C3")->Apply(stopAfter);
BENCHMARK_CAPTURE(BM_StopEarlyLargeTorusManyStates, ToMoreStates, "B2/S/C3", "B2/S345/C4")->Apply(stopAfter);
BENCHMARK(BM_InputWhileRunningAheadHeavy)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(300);

int main(int argc, char **argv) { return runWidgetBenchmarks(argc, argv); }
