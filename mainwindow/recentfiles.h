#ifndef RECENTFILES_H
#define RECENTFILES_H

#include <QObject>
#include <QString>
#include <QStringList>

class AppSettings;
class QAction;
class QMenu;

// The pattern files last opened or saved, newest first, as the "Open recent"
// menu offers them: kept in the settings so that they outlast the run, and
// shown again in the menu whenever the list changes.
class RecentFiles : public QObject
{
    Q_OBJECT

public:
    // Fills `menu` (not owned; it must outlive this object) from `settings`
    // (not owned; likewise) and keeps both up to date from then on.
    RecentFiles(QMenu *menu, AppSettings *settings, QObject *parent = nullptr);

    QStringList files() const { return paths; }
    // Puts `path` first, made absolute, dropping an older entry of it and any
    // beyond AppSettings::MaxRecentFiles.
    void add(const QString &path);
    void remove(const QString &path);
    void clear();

signals:
    // A listed file was picked from the menu; its absolute path.
    void fileChosen(const QString &path);

private slots:
    void Slot_Menu_Triggered(QAction *action);

private:
    // Stores the list and shows it.
    void setFiles(const QStringList &files);
    void rebuildMenu();

    QMenu *menu; // not owned
    AppSettings *settings; // not owned
    QAction *clearAction; // owned by the menu
    QStringList paths;
};

#endif // RECENTFILES_H
