#ifndef MODALRUNNER_H
#define MODALRUNNER_H

#include <functional>

class QWidget;

// Drives a modal window that blocks in its own event loop, such as a dialog
// run with exec(). A fault in the window under test must fail the test, never
// hang the run: a window that its driver leaves open is ended by force once
// the driver returns, and a driver held up in a further modal window is let go
// at a deadline.
namespace ModalRunner
{

struct Outcome {
    bool opened = false; // the modal window showed and was handed to drive
    bool forced = false; // it was still open after drive or at the deadline
};

// Calls `open`; once a modal window is visible, hands it to `drive`, which is
// expected to end it. `timeout` is in milliseconds from the call.
Outcome run(const std::function<void()> &open, const std::function<void(QWidget *)> &drive, int timeout = 5000);

} // namespace ModalRunner

#endif // MODALRUNNER_H
