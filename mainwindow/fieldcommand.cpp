#include "mainwindow/fieldcommand.h"

#include <utility>

FieldCommand::FieldCommand(const QString &text, State before, State after, Apply apply)
    : QUndoCommand(text)
    , before(std::move(before))
    , after(std::move(after))
    , apply(std::move(apply))
{
}

void FieldCommand::undo()
{
    apply(before);
    done = false;
}

void FieldCommand::redo()
{
    if (done)
        return;
    apply(after);
    done = true;
}
