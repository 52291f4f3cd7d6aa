#include "mainwindowtestcase.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

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

void MainWindowTestCase::exportTo(
    QAction *action, const QString &path, const std::function<void(QWidget *options)> &options)
{
    // The options, then the file dialog, each answered as it comes up; the name
    // is typed, since selectFile() leaves the name field alone once it has the focus.
    QTimer answer;
    connect(&answer, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            modal->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(path);
            static_cast<QDialog *>(dialog)->accept();
        } else if (modal && modal->findChild<QSpinBox *>() && modal->findChild<QDialogButtonBox *>()) {
            options(modal);
            static_cast<QDialog *>(modal)->accept();
        }
    });
    answer.start(20);
    action->trigger();
    answer.stop();
}

void MainWindowTestCase::cleanup()
{
    delete window;
    window = nullptr;
    TopLevelGuard::closeLeftovers();
}
