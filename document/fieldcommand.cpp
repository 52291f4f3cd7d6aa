#include "document/fieldcommand.h"

#include <utility>

namespace
{

bool sameUniverse(const Universe *one, const Universe *other)
{
    if (!one || !other)
        return one == other;
    return one == other || (one->rule() == other->rule() && one->equals(*other));
}

} // namespace

bool FieldCommand::State::operator==(const State &other) const
{
    return generation == other.generation && name == other.name && author == other.author && comments == other.comments
        && sameUniverse(universe.get(), other.universe.get()) && sameUniverse(saved.get(), other.saved.get())
        && savedGeneration == other.savedGeneration;
}

FieldCommand::FieldCommand(const QString &text, State before, State after, Apply apply)
    : name(text)
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
