#include "mainwindow/fastforward.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>

#include <algorithm>

#include "mainwindow/slicedtask.h"
#include "model/analysis/runhistory.h"
#include "model/engine/universe.h"

namespace
{

constexpr int SliceMilliseconds = 30; // well under a tenth of a second without an answer
constexpr int StepsBetweenClockReadings = 256;

} // namespace

bool FastForward::run(QWidget *parent, const QString &title, Universe &universe, RunHistory &history,
    std::int64_t generations, bool untilSettled)
{
    std::int64_t computed = 0;
    const auto finished
        = [&] { return computed >= generations || (untilSettled && history.fate() != RunHistory::Fate::Evolving); };
    const bool everyGeneration = untilSettled || universe.topology() == Topology::classic();
    std::int64_t jump = 1; // generations a step, doubled while steps stay short
    return SlicedTask::run(
        parent, title, QCoreApplication::translate("MainWindow", "Computing generations…"), [&](double &done) {
            QElapsedTimer clock;
            clock.start();
            while (!finished() && clock.elapsed() < SliceMilliseconds) {
                if (everyGeneration) {
                    for (int i = 0; i < StepsBetweenClockReadings && !finished(); ++i) {
                        universe.advance(1);
                        history.append(universe, history.lastGeneration() + 1);
                        ++computed;
                    }
                    continue;
                }
                const std::int64_t step = std::min(jump, generations - computed);
                QElapsedTimer stepClock;
                stepClock.start();
                universe.advance(static_cast<std::uint64_t>(step));
                history.append(universe, history.lastGeneration() + step);
                computed += step;
                // A jump of the unbounded plane costs about the same whatever its
                // length once HashLife takes it: longer while they stay within a slice.
                if (stepClock.elapsed() < SliceMilliseconds && jump < (std::int64_t(1) << 62))
                    jump *= 2;
                else if (stepClock.elapsed() > 2 * SliceMilliseconds && jump > 1)
                    jump /= 2;
            }
            done = generations > 0 ? static_cast<double>(computed) / static_cast<double>(generations) : 1.0;
            return finished();
        });
}
