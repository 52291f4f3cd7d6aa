#ifndef GENERATIONINPUT_H
#define GENERATIONINPUT_H

#include <cstdint>
#include <optional>

class QWidget;

// Asks for the generation to go to. Within the range of an int the question
// is the toolkit's number dialog, as it always was; beyond it, up to 10^18 in
// the unbounded plane, a line that takes only digits and checks the range.
class GenerationInput
{
public:
    GenerationInput() = delete;

    // A generation first..last (1 <= first <= last), or none if the user
    // cancelled. `parent` (not owned) is the window the dialog is modal to.
    static std::optional<std::int64_t> ask(QWidget *parent, std::int64_t first, std::int64_t last);
};

#endif // GENERATIONINPUT_H
