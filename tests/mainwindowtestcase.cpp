#include "mainwindowtestcase.h"

#include <QFile>
#include <QTest>

#include "document/appsettings.h"
#include "mainwindow/mainwindow.h"
#include "toplevelguard.h"
#include "warningguard.h"

void MainWindowTestCase::initTestCase()
{
    WarningGuard::install();
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
}

void MainWindowTestCase::init()
{
    QFile::remove(AppSettings().fileName());
    window = new MainWindow;
    probe = MainWindowProbe(window);
    // The whole panel within reach of the mouse, however small the test screen is.
    window->resize(955, 775);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

QString MainWindowTestCase::writeFile(const QString &name, const QByteArray &contents) const
{
    QFile file(config.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        qFatal("cannot write %s", qPrintable(file.fileName()));
    return file.fileName();
}

void MainWindowTestCase::cleanup()
{
    delete window;
    window = nullptr;
    TopLevelGuard::closeLeftovers();
}
