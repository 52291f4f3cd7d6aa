#include "modalrunner.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace
{

// A driver's click or key ends its window on the spot; an ending that takes a
// round through the event loop gets this long.
constexpr int GraceMilliseconds = 1000;

// Ends `modal` even if it refuses to close: a hidden dialog leaves exec().
void end(QWidget *modal)
{
    modal->close();
    if (modal->isVisible())
        modal->hide();
}

bool isOpen(const QPointer<QWidget> &modal) { return modal && modal->isVisible(); }

} // namespace

ModalRunner::Outcome ModalRunner::run(
    const std::function<void()> &open, const std::function<void(QWidget *)> &drive, int timeout)
{
    Outcome outcome;

    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [&outcome] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            outcome.forced = true;
            end(modal);
        }
    });
    deadline.start(timeout);

    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        poll.stop();
        outcome.opened = true;
        const QPointer<QWidget> guarded(modal);
        if (QTest::qWaitForWindowExposed(modal))
            drive(modal);
        // A driver that failed part way has left its window open.
        if (isOpen(guarded) && !QTest::qWaitFor([&guarded] { return !isOpen(guarded); }, GraceMilliseconds)) {
            outcome.forced = true;
            end(guarded);
        }
    });
    poll.start(10);

    open();
    return outcome;
}
