#ifndef FASTFORWARD_H
#define FASTFORWARD_H

#include <cstdint>

class QString;
class QWidget;
class RunHistory;
class Universe;

// Computes generations ahead without painting them, for "Run until settled"
// and "Go to generation": a million classic generations in about a second,
// and in the unbounded plane jumps that grow as long as each stays short,
// with progress and Cancel when it takes longer than a moment.
class FastForward
{
public:
    FastForward() = delete;

    // Steps `universe`, the universe of history.lastGeneration(), on under
    // its rule, recording generations in `history`: `generations` of them (0
    // or more), or, if `untilSettled`, until the history settles or stops
    // looking, `generations` at most. Until settled, and in the classic field,
    // every generation is recorded; otherwise one record a jump. `parent`
    // (not owned) is the window the progress dialog is modal to. Returns false
    // if the user cancelled; `universe` and `history` then hold a partial run,
    // to be thrown away. Passes on the universe's UniverseError.
    static bool run(QWidget *parent, const QString &title, Universe &universe, RunHistory &history,
        std::int64_t generations, bool untilSettled);
};

#endif // FASTFORWARD_H
