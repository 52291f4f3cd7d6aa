#include "app/windowmodule.h"

#include <cstdio>

#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include "app/windowentry.h"

int WindowModule::show(int &argc, char **argv, const CommandLine::Request &request)
{
    // The link, not argv[0], which a shell's PATH search leaves bare.
    const QString executable = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    const QStringList files = candidates(QFileInfo(executable).absolutePath());
    QString problem;
    for (const QString &file : files) {
        if (!QFileInfo::exists(file))
            continue;
        QLibrary module(file);
        const auto start = reinterpret_cast<decltype(&gameoflifeWindowMain)>(module.resolve("gameoflifeWindowMain"));
        if (start != nullptr)
            return start(&argc, argv, &request);
        problem = module.errorString();
        break;
    }
    if (problem.isEmpty())
        problem = QStringLiteral("none of %1 exists").arg(files.join(QStringLiteral(", ")));
    std::fprintf(stderr, "gameoflife: cannot load the window: %s\n", qPrintable(problem));
    return 1;
}

QStringList WindowModule::candidates(const QString &folder)
{
    const QDir here(folder);
    return { here.filePath(QStringLiteral(GAMEOFLIFE_WINDOW_MODULE)),
        QDir::cleanPath(
            here.filePath(QStringLiteral(GAMEOFLIFE_INSTALLED_WINDOW_FOLDER "/" GAMEOFLIFE_WINDOW_MODULE))) };
}
