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
    announcing([&] {
        if (cleanAt > static_cast<std::ptrdiff_t>(done))
            cleanAt = -1;
        steps.resize(done);
        steps.push_back(std::move(step));
        if (steps.size() > limit) {
            steps.pop_front();
            if (cleanAt >= 0)
                --cleanAt;
        }
        done = steps.size();
    });
}

QString UndoHistory::undoText() const { return canUndo() ? steps[done - 1]->text() : QString(); }

QString UndoHistory::redoText() const { return canRedo() ? steps[done]->text() : QString(); }

void UndoHistory::undo()
{
    if (!canUndo())
        return;
    announcing([this] {
        steps[done - 1]->undo();
        --done;
    });
    emit indexChanged();
}

void UndoHistory::redo()
{
    if (!canRedo())
        return;
    announcing([this] {
        steps[done]->redo();
        ++done;
    });
    emit indexChanged();
}

void UndoHistory::setClean()
{
    announcing([this] { cleanAt = static_cast<std::ptrdiff_t>(done); });
}

void UndoHistory::announcing(const std::function<void()> &change)
{
    const bool wasClean = isClean();
    change();
    if (isClean() != wasClean)
        emit cleanChanged(isClean());
}
