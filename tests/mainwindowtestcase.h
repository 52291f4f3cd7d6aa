#ifndef MAINWINDOWTESTCASE_H
#define MAINWINDOWTESTCASE_H

#include <QObject>
#include <QTemporaryDir>

#include <functional>

#include "mainwindowprobe.h"

class MainWindow;
class QAction;

// The fixture all scripted tests of the main window share: each test function
// gets a new window, shown and read through probe, and afterwards nothing of
// it, nor any window it left open, reaches the next one. A test case derives
// from it; Qt Test finds these slots by name. Windows start as on a first run, at the size of their panel.
class MainWindowTestCase : public QObject
{
    Q_OBJECT

protected slots:
    void initTestCase();
    void init();
    void cleanup();

protected:
    // `contents` written to the file `name` in config's folder: its path. Ends the run if it cannot be written.
    QString writeFile(const QString &name, const QByteArray &contents) const;
    // Triggers the export `action`, has `options` set the dialog of its
    // options, which it then accepts, and saves to `path`.
    void exportTo(QAction *action, const QString &path, const std::function<void(QWidget *options)> &options);

    QTemporaryDir config; // the settings' folder, apart from the user's
    MainWindow *window = nullptr; // owned; made by init(), deleted by cleanup()
    MainWindowProbe probe;
};

#endif // MAINWINDOWTESTCASE_H
