#ifndef STABILITYWATCH_H
#define STABILITYWATCH_H

#include <QObject>

#include <cstdint>
#include <optional>

#include "model/analysis/stabilisation.h"
#include "model/analysis/statestabilisation.h"

class QTimer;
class Universe;

// Follows a run in the unbounded plane with a Stabilisation, so that the
// window can tell when the pattern has settled apart from the spaceships
// flying away, and what it leaves behind: the run history cannot, since such
// a pattern never repeats as a whole. It works on the window's thread in short
// slices between the run's ticks, never beyond the generation shown, and only
// on patterns small enough to be stepped a generation at a time.
class StabilityWatch : public QObject
{
    Q_OBJECT

public:
    // Live cells beyond which a pattern is not followed: its census alone
    // could then keep the window from answering for long.
    static constexpr std::uint64_t CellLimit = std::uint64_t(1) << 16;
    // Generations looked at past the start before giving up.
    static constexpr std::int64_t GenerationLimit = 1000000;
    static constexpr int SliceTime = 4; // milliseconds of work in a slice, about
    static constexpr int SliceInterval = 20; // milliseconds from a slice to the next

    // Live cells beyond which a pattern under `rule` is not followed:
    // CellLimit, or fewer under a Generations rule, whose census costs more.
    static std::uint64_t cellLimit(const Rule &rule);

    explicit StabilityWatch(QObject *parent = nullptr);
    ~StabilityWatch() override;

    // Starts anew from `universe` as it is at `generation`: followed only in
    // the unbounded plane with CellLimit live cells at most.
    void restart(const Universe &universe, std::int64_t generation);
    // Looks at the generations up to `generation` (the one shown), slice by slice.
    void follow(std::int64_t generation);
    // What has been found so far; null when nothing is followed, as outside
    // the unbounded plane or once the pattern has grown past CellLimit.
    const Stabilisation::Result *result() const;

signals:
    // result() is another or has another outcome.
    void changed();

private:
    void slice();
    void stop();

    // Looks `census` on towards `end` for about SliceTime; false once it should be followed no more.
    template <class Census> bool work(Census &census, std::int64_t end);

    std::optional<Stabilisation> stabilisation;
    std::optional<StateStabilisation> states; // in place of `stabilisation` under a Generations rule
    std::int64_t firstGeneration = 1;
    std::int64_t target = 1; // the generation to look up to
    QTimer *timer; // a child of this watch
};

#endif // STABILITYWATCH_H
