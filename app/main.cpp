#include <QApplication>
#include <QCoreApplication>
#include <QIcon>
#include <QLocale>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <optional>

#include "app/commandline.h"
#include "app/textanswer.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/translations.h"
#include "model/engine/rule.h"

int main(int argc, char *argv[])
{
    // The settings file is $XDG_CONFIG_HOME/gameoflife/gameoflife.conf.
    QCoreApplication::setOrganizationName(QStringLiteral("gameoflife"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("gameoflife.org"));
    QCoreApplication::setApplicationName(QStringLiteral("gameoflife"));
    QCoreApplication::setApplicationVersion(QStringLiteral(GAMEOFLIFE_VERSION));

    // Answers for a terminal, which may have no display: given before the
    // window system is ever contacted.
    if (CommandLine::asksInText(argc, argv)) {
        QCoreApplication application(argc, argv);
        return TextAnswer::answer(CommandLine::parse(QCoreApplication::arguments()));
    }
    std::optional<Rule> rule;
    QString ruleError;
    if (!CommandLine::ruleOption(argc, argv, rule, ruleError)) {
        std::fprintf(stderr, "gameoflife: %s\n", qPrintable(ruleError));
        return 2;
    }

    // Everything is drawn by the raster engine. Without this the X11 platform
    // probes OpenGL at start-up and drags in GLX, the Mesa driver and LLVM:
    // some fifty MiB and a slower start, and a driver that leaks at exit.
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");

    // Scaled with the screen (the desktop's setting or QT_SCALE_FACTOR), so
    // that the window is not a postage stamp on a dense screen.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);

    QApplication application(argc, argv);
    // Wayland compositors find the window's desktop entry, and with it the
    // name and icon to show, by this id.
    QApplication::setDesktopFileName(QStringLiteral(GAMEOFLIFE_APP_ID));

    // The toolkit has taken its own options (-style and the like) already.
    // Anything else it does not know is only worth a warning.
    const CommandLine::Request request = CommandLine::parse(QCoreApplication::arguments());
    if (!request.warning.isEmpty())
        std::fprintf(stderr, "gameoflife: %s\n", qPrintable(request.warning));
    if (request.files.size() > 1)
        std::fprintf(stderr, "gameoflife: only one pattern file can be opened; the others are ignored\n");

    Translations::install(QLocale());

    MainWindow window;
    window.setWindowIcon(QIcon(QStringLiteral(":/resources/icons/qt_icon.png")));
    if (rule)
        window.setStartRule(*rule);
    window.show();
    if (!request.files.isEmpty())
        window.openPatternFile(request.files.first(), rule);
    return application.exec();
}
