#ifndef PATTERNDIALOGS_H
#define PATTERNDIALOGS_H

#include <QString>

#include "document/patternfile.h"

class QWidget;

// The file dialogs of the window, each opening in the folder last used: which
// pattern file to open, where and in which format to save one, and where to
// export a picture or an animation. Apart from the window, which only needs
// their answers.
class PatternDialogs
{
public:
    PatternDialogs() = delete;

    // `parent` (not owned) is the window the dialogs are modal to. Each
    // returns an empty path if the user cancelled.
    static QString openPath(QWidget *parent, const QString &folder);
    // The format an extension of the chosen name stands for decides; a name
    // without one gets the chosen filter's extension, and the user is asked
    // before a file of that name is replaced. Sets `format`.
    static QString savePath(QWidget *parent, const QString &folder, PatternFile::Format &format);
    // `filter` as QFileDialog takes it; `suffix` is added to a name without one.
    static QString exportPath(
        QWidget *parent, const QString &folder, const QString &title, const QString &filter, const QString &suffix);

    // A path as a message shows it: a path of any length fits on the screen.
    static QString shownPath(const QString &path);
};

#endif // PATTERNDIALOGS_H
