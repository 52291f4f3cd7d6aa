#include "mainwindow/fastforward.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>

#include "mainwindow/slicedtask.h"
#include "model/analysis/runhistory.h"
#include "model/engine/packedfield.h"

namespace
{

constexpr int SliceMilliseconds = 30; // well under a tenth of a second without an answer
constexpr int StepsBetweenClockReadings = 256;

} // namespace

bool FastForward::run(
    QWidget *parent, const QString &title, PackedField &field, RunHistory &history, int generations, bool untilSettled)
{
    int computed = 0;
    const auto finished
        = [&] { return computed >= generations || (untilSettled && history.fate() != RunHistory::Fate::Evolving); };
    const Rule rule = history.rule();
    return SlicedTask::run(
        parent, title, QCoreApplication::translate("MainWindow", "Computing generations…"), [&](double &done) {
            QElapsedTimer clock;
            clock.start();
            while (!finished() && clock.elapsed() < SliceMilliseconds) {
                for (int i = 0; i < StepsBetweenClockReadings && !finished(); ++i) {
                    field = field.next(rule);
                    history.append(field);
                    ++computed;
                }
            }
            done = generations > 0 ? static_cast<double>(computed) / generations : 1.0;
            return finished();
        });
}
