#include "mainwindow/recentfiles.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include "document/appsettings.h"

RecentFiles::RecentFiles(QMenu *menu, AppSettings *settings, QObject *parent)
    : QObject(parent)
    , menu(menu)
    , settings(settings)
    , clearAction(new QAction(tr("&Clear list"), menu))
    , paths(settings->recentFiles())
{
    clearAction->setObjectName(QStringLiteral("Action_File_ClearRecent"));
    // Entries show the file's name; the whole path appears when the pointer rests on one.
    menu->setToolTipsVisible(true);
    connect(menu, SIGNAL(triggered(QAction *)), this, SLOT(Slot_Menu_Triggered(QAction *)));
    rebuildMenu();
}

void RecentFiles::add(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList files = paths;
    files.removeAll(absolute);
    files.prepend(absolute);
    setFiles(files.mid(0, AppSettings::MaxRecentFiles));
}

void RecentFiles::remove(const QString &path)
{
    QStringList files = paths;
    files.removeAll(QFileInfo(path).absoluteFilePath());
    setFiles(files);
}

void RecentFiles::clear() { setFiles(QStringList()); }

void RecentFiles::Slot_Menu_Triggered(QAction *action)
{
    if (action == clearAction)
        clear();
    else if (action)
        emit fileChosen(action->data().toString());
}

void RecentFiles::setFiles(const QStringList &files)
{
    if (files == paths)
        return;
    paths = files;
    settings->setRecentFiles(paths);
    rebuildMenu();
}

void RecentFiles::rebuildMenu()
{
    for (QAction *action : menu->actions()) {
        if (action == clearAction)
            continue;
        // Later: the entry may be the one whose choice led here.
        menu->removeAction(action);
        action->deleteLater();
    }
    menu->removeAction(clearAction);
    for (int i = 0; i < paths.size(); ++i) {
        // 1..9, then 0 for the tenth, as keys to pick them by.
        QString name = QFileInfo(paths[i]).fileName();
        QAction *action = menu->addAction(tr("&%1 %2").arg((i + 1) % 10).arg(name.replace('&', QStringLiteral("&&"))));
        action->setData(paths[i]);
        action->setToolTip(QDir::toNativeSeparators(paths[i]));
    }
    menu->addSeparator();
    menu->addAction(clearAction);
    clearAction->setEnabled(!paths.isEmpty());
}
