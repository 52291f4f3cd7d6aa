#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <memory>

#include "modalrunner.h"
#include "toplevelguard.h"
#include "warningguard.h"

namespace
{

// Ignores every request to close, as a faulty dialog might.
class StubbornDialog : public QDialog
{
protected:
    void closeEvent(QCloseEvent *event) override { event->ignore(); }
};

} // namespace

// The nets under the GUI tests: a window that a failed test leaves behind, or
// that its driver never ends, costs one failure and a moment, never the run.
class TestTestSupport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void guardDeletesAndFailsLeftovers();
    void runnerEndsWhatItsDriverLeavesOpen_data();
    void runnerEndsWhatItsDriverLeavesOpen();
};

void TestTestSupport::initTestCase() { WarningGuard::install(); }

void TestTestSupport::cleanup() { TopLevelGuard::closeLeftovers(); }

void TestTestSupport::guardDeletesAndFailsLeftovers()
{
    auto *window = new QWidget;
    window->show();
    const QPointer<QWidget> shown(window);
    const QPointer<QDialog> child(new QDialog(window));
    const QPointer<QWidget> hidden(new QWidget);

    QEXPECT_FAIL("", "the guard fails the test function that left windows", Continue);
    TopLevelGuard::closeLeftovers();
    QVERIFY(!shown && !child && !hidden);
}

void TestTestSupport::runnerEndsWhatItsDriverLeavesOpen_data()
{
    QTest::addColumn<bool>("refusesToClose");
    QTest::addColumn<bool>("driverOpensAnother");
    QTest::addColumn<int>("timeout");

    // Ended as soon as its driver returns, well before the deadline.
    QTest::newRow("driver gives up") << false << false << 5000;
    QTest::newRow("window refuses to close") << true << false << 5000;
    // A driver blocked in a second modal window only returns once the deadline ends that one.
    QTest::newRow("driver stuck in a second window") << false << true << 500;
}

void TestTestSupport::runnerEndsWhatItsDriverLeavesOpen()
{
    QFETCH(bool, refusesToClose);
    QFETCH(bool, driverOpensAnother);
    QFETCH(int, timeout);

    const std::unique_ptr<QDialog> dialog(refusesToClose ? new StubbornDialog : new QDialog);
    // Should the runner leave the window open, this ends it, late, instead of hanging the run.
    QTimer rescue;
    rescue.setSingleShot(true);
    connect(&rescue, &QTimer::timeout, dialog.get(), &QWidget::hide);
    rescue.start(8000);
    QElapsedTimer clock;
    clock.start();
    const ModalRunner::Outcome outcome = ModalRunner::run([&dialog] { dialog->exec(); },
        [driverOpensAnother](QWidget *modal) {
            if (driverOpensAnother)
                QDialog(modal).exec();
        },
        timeout);

    QVERIFY(outcome.opened);
    QVERIFY(outcome.forced);
    QVERIFY2(clock.elapsed() < 3500, qPrintable(QString::number(clock.elapsed()) + " ms"));
}

QTEST_MAIN(TestTestSupport)
#include "tst_testsupport.moc"
