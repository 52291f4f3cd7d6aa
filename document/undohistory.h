#ifndef UNDOHISTORY_H
#define UNDOHISTORY_H

#include <QObject>
#include <QString>

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>

#include "document/fieldcommand.h"

// The document's steps to undo and redo. The document lives below the
// widgets, where Qt's own undo stack is out of reach: this is the little of
// it the document needs, a list of steps and the place in it, the oldest
// steps forgotten past a limit.
class UndoHistory : public QObject
{
    Q_OBJECT

public:
    // Keeps at most `limit` (1 or more) steps.
    explicit UndoHistory(std::size_t limit, QObject *parent = nullptr);
    ~UndoHistory() override;

    // Adds a step that has happened already, forgetting the steps undone before it.
    void push(std::unique_ptr<FieldCommand> step);
    bool canUndo() const { return done > 0; }
    bool canRedo() const { return done < steps.size(); }
    // The names of the steps undo() and redo() would take back or make again; empty without one.
    QString undoText() const;
    QString redoText() const;
    void undo();
    void redo();
    // Marks the steps done now as those of the saved universe; it is clean
    // from the start, and no longer once a push forgets that place.
    void setClean();
    bool isClean() const { return cleanAt == static_cast<std::ptrdiff_t>(done); }

signals:
    // A step was undone or redone.
    void indexChanged();
    // isClean() changed.
    void cleanChanged(bool clean);

private:
    // Runs `change`, then says whether it made the history clean or not.
    void announcing(const std::function<void()> &change);

    std::size_t limit;
    std::deque<std::unique_ptr<FieldCommand>> steps; // the oldest first
    std::size_t done = 0; // steps that are done, the first ones of `steps`
    std::ptrdiff_t cleanAt = 0; // `done` when clean, or -1 once that place is forgotten
};

#endif // UNDOHISTORY_H
