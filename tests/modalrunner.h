#ifndef MODALRUNNER_H
#define MODALRUNNER_H

#include <functional>

class QWidget;

// Drives a modal window that blocks in its own event loop, such as a dialog
// run with exec(). A fault in the window under test must fail the test, never
// hang the run, so a window still open at the deadline is closed by force.
namespace ModalRunner
{

struct Outcome {
    bool opened = false; // the modal window showed and was handed to drive
    bool forced = false; // it was still open at the deadline
};

// Calls `open`; once a modal window is visible, hands it to `drive`, which is
// expected to end it. `timeout` is in milliseconds from the call.
Outcome run(const std::function<void()> &open, const std::function<void(QWidget *)> &drive, int timeout = 20000);

} // namespace ModalRunner

#endif // MODALRUNNER_H
