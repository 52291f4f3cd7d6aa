#include "modalrunner.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>

ModalRunner::Outcome ModalRunner::run(
    const std::function<void()> &open, const std::function<void(QWidget *)> &drive, int timeout)
{
    Outcome outcome;

    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [&outcome] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            outcome.forced = true;
            modal->close();
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
        if (QTest::qWaitForWindowExposed(modal))
            drive(modal);
    });
    poll.start(10);

    open();
    return outcome;
}
