#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include "app/commandline.h"
#include "app/textanswer.h"
#include "app/windowmodule.h"

int main(int argc, char *argv[])
{
    // The settings file is $XDG_CONFIG_HOME/gameoflife/gameoflife.conf.
    QCoreApplication::setOrganizationName(QStringLiteral("gameoflife"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("gameoflife.org"));
    QCoreApplication::setApplicationName(QStringLiteral("gameoflife"));
    QCoreApplication::setApplicationVersion(QStringLiteral(GAMEOFLIFE_VERSION));

    // The whole command line is read before the window system is ever
    // contacted: answers for a terminal need no display, and a command line
    // that cannot be used is refused there.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine::Request request = CommandLine::parse(arguments);
    if (request.mode != CommandLine::Request::Mode::Window) {
        QCoreApplication application(argc, argv);
        return TextAnswer::answer(request);
    }

    // The window, in a module of its own: the widget libraries are mapped
    // only now.
    return WindowModule::show(argc, argv, request);
}
