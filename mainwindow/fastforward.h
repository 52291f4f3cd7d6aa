#ifndef FASTFORWARD_H
#define FASTFORWARD_H

class PackedField;
class QString;
class QWidget;
class RunHistory;

// Computes generations ahead without painting them, for "Run until settled"
// and "Go to generation": a million generations in about a second, with
// progress and Cancel when it takes longer than a moment.
class FastForward
{
public:
    FastForward() = delete;

    // Steps `field`, the field of history.lastGeneration(), on under the
    // history's rule, recording every generation in `history`: `generations`
    // of them (0 or more), or, if `untilSettled`, until the history settles or
    // stops looking, `generations` at most. `parent` (not owned) is the window
    // the progress dialog is modal to. Returns false if the user cancelled;
    // `field` and `history` then hold a partial run, to be thrown away.
    static bool run(QWidget *parent, const QString &title, PackedField &field, RunHistory &history, int generations,
        bool untilSettled);
};

#endif // FASTFORWARD_H
