#ifndef FIELDCOMMAND_H
#define FIELDCOMMAND_H

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/engine/universe.h"

// One step of the universe's history for the undo history: what the step
// changed, as it was before and after. The step itself has already happened
// when the command is pushed, so the first redo() does nothing.
class FieldCommand
{
public:
    // What a step can change: the universe (its topology, cells and rule),
    // as a clone that is never changed, so that states share it freely: the
    // classic field packed, the unbounded plane sharing its nodes. `saved` is
    // set only by steps that change the saved state (opening a pattern, Save
    // state, a change of universe).
    struct State {
        std::shared_ptr<const Universe> universe; // never null
        std::int64_t generation = 1; // 1 or more
        std::shared_ptr<const Universe> saved;
        std::int64_t savedGeneration = 1; // with `saved`
        // Of the file the cells came from, for saving them again; empty for cells made in the window.
        std::string name;
        std::string author;
        std::vector<std::string> comments;

        bool operator==(const State &other) const;
    };
    using Apply = std::function<void(const State &)>;

    // `apply` puts a state back into the window; it must outlive the command.
    FieldCommand(const QString &text, State before, State after, Apply apply);

    // The step's name, as the Edit menu shows it after Undo and Redo.
    const QString &text() const { return name; }
    void undo();
    void redo();

private:
    QString name;
    State before;
    State after;
    Apply apply;
    bool done = true; // pushed right after the step happened
};

#endif // FIELDCOMMAND_H
