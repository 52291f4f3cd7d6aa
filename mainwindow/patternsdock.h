#ifndef PATTERNSDOCK_H
#define PATTERNSDOCK_H

#include <QDockWidget>
#include <QString>

class AppSettings;
class QAction;
class QMainWindow;
class PatternThumbnails;
class QComboBox;
class QFileSystemModel;
class QLabel;
class QMenu;
class QModelIndex;
class QStandardItemModel;
class QTreeView;
class ThumbnailModel;

// The "Patterns" dock: a folder of pattern files at hand. Its first entry is
// the built-in examples, then the folder the user chose last, remembered; a
// tree shows the folder's subfolders and the files of the formats the
// program reads (gzip-compressed too), each with its thumbnail, and a larger
// one of the file selected. Double-click or Return asks for the file to be
// opened, as Open would.
class PatternsDock : public QDockWidget
{
    Q_OBJECT

public:
    static constexpr int IconSide = 32; // pixels of a thumbnail in the tree
    static constexpr int PreviewSide = 160; // pixels of the selected file's

    // `settings` (not owned) remembers the folder; `examples` (not owned) is
    // the Examples menu, whose entries hold their files' paths as data;
    // `toggle` (not owned), a checkable action, is kept checked while the dock
    // shows. `window` owns the dock and takes it on its right, growing by it
    // as far as the screen allows, so that what it showed keeps its room;
    // without a window the dock stands alone.
    PatternsDock(AppSettings *settings, const QMenu *examples, QAction *toggle, QMainWindow *window);

    // The folder shown; empty while the built-in examples are.
    QString folder() const;
    // Shows `path`'s files, or with an empty path the built-in examples; remembers a folder.
    void setFolder(const QString &path);
    PatternThumbnails *thumbnails() const { return thumbnailStore; }
    QTreeView *tree() const { return fileTree; }

signals:
    // The user asked to open the file at `path`.
    void openRequested(const QString &path);

private:
    void sourceChosen(int index);
    void activated(const QModelIndex &index);
    void showPreview();

    AppSettings *settings; // not owned
    PatternThumbnails *thumbnailStore; // a child of the dock, as are the models and widgets below
    QFileSystemModel *files;
    QStandardItemModel *examples;
    ThumbnailModel *shownFiles; // the folder's files with thumbnails
    ThumbnailModel *shownExamples; // the examples with thumbnails
    QComboBox *source; // the examples, the folder, "Choose folder…"
    QTreeView *fileTree;
    QLabel *preview;
    QString folderPath; // empty for the examples
};

#endif // PATTERNSDOCK_H
