#include "mainwindowtestcase.h"

#include <QTest>

#include "mainwindow/mainwindow.h"
#include "toplevelguard.h"
#include "warningguard.h"

void MainWindowTestCase::initTestCase() { WarningGuard::install(); }

void MainWindowTestCase::init()
{
    window = new MainWindow;
    probe = MainWindowProbe(window);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

void MainWindowTestCase::cleanup()
{
    delete window;
    window = nullptr;
    TopLevelGuard::closeLeftovers();
}
