#ifndef FIELDCOMMAND_H
#define FIELDCOMMAND_H

#include <QString>
#include <QUndoCommand>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/engine/packedfield.h"
#include "model/engine/rule.h"

// One step of the field's history for the undo stack: what the step changed,
// as it was before and after. The step itself has already happened when the
// command is pushed, so the first redo() does nothing.
class FieldCommand : public QUndoCommand
{
public:
    // What a step can change. `saved` is set only by steps that change the
    // saved state (opening a pattern, Save state).
    struct State {
        PackedField cells;
        int generation = 1; // 1 or more
        std::optional<PackedField> saved;
        Rule rule;
        // Of the file the field came from, for saving it again; empty for a field made in the window.
        std::string name;
        std::vector<std::string> comments;

        bool operator==(const State &other) const
        {
            return cells == other.cells && generation == other.generation && saved == other.saved && rule == other.rule
                && name == other.name && comments == other.comments;
        }
    };
    using Apply = std::function<void(const State &)>;

    // `apply` puts a state back into the window; it must outlive the command.
    FieldCommand(const QString &text, State before, State after, Apply apply);

    void undo() override;
    void redo() override;

private:
    State before;
    State after;
    Apply apply;
    bool done = true; // pushed right after the step happened
};

#endif // FIELDCOMMAND_H
