#ifndef WINDOWMODULE_H
#define WINDOWMODULE_H

#include <QString>
#include <QStringList>

#include "app/commandline.h"

// Finds and loads the module that holds the window (see windowentry.h): next
// to the executable in the build tree, or in the library folder of the
// installation the executable belongs to.
class WindowModule
{
public:
    // Loads the module and shows the window in it; returns the window's exit
    // status, or 1 after saying on standard error why the module could not be
    // loaded. `argc` and `argv` are main()'s.
    static int show(int &argc, char **argv, const CommandLine::Request &request);
    // The files looked at, in order, for the executable in `folder` (an absolute path).
    static QStringList candidates(const QString &folder);
};

#endif // WINDOWMODULE_H
