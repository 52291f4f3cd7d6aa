#include "document/undohistory.h"

#include <utility>

UndoHistory::UndoHistory(std::size_t limit, QObject *parent)
    : QObject(parent)
    , limit(limit)
{
}

UndoHistory::~UndoHistory() = default;

void UndoHistory::push(std::unique_ptr<FieldCommand> step)
{
    steps.resize(done);
    steps.push_back(std::move(step));
    if (steps.size() > limit)
        steps.pop_front();
    done = steps.size();
}

QString UndoHistory::undoText() const { return canUndo() ? steps[done - 1]->text() : QString(); }

QString UndoHistory::redoText() const { return canRedo() ? steps[done]->text() : QString(); }

void UndoHistory::undo()
{
    if (!canUndo())
        return;
    steps[done - 1]->undo();
    --done;
    emit indexChanged();
}

void UndoHistory::redo()
{
    if (!canRedo())
        return;
    steps[done]->redo();
    ++done;
    emit indexChanged();
}
