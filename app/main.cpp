#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QIcon>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "mainwindow/mainwindow.h"

namespace
{

void describeCommandLine(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral("Conway's Game of Life on a 120 x 120 field."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("pattern"),
        QStringLiteral("A pattern file to open: RLE, plaintext, Life 1.05 or Life 1.06."), QStringLiteral("[PATTERN]"));
}

// Whether any argument is one of `options`.
bool hasOption(int argc, char *argv[], std::initializer_list<const char *> options)
{
    for (int i = 1; i < argc; ++i) {
        for (const char *option : options) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}

const std::initializer_list<const char *> HelpOptions { "-h", "-?", "--help", "--help-all" };
const std::initializer_list<const char *> VersionOptions { "-v", "--version" };

// Help and version are for a terminal, which may have no display: they are
// answered before the window system is ever contacted.
int printText(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QCommandLineParser parser;
    describeCommandLine(parser);
    if (hasOption(argc, argv, HelpOptions))
        std::fputs(qPrintable(parser.helpText()), stdout);
    else
        std::printf("gameoflife %s\n", GAMEOFLIFE_VERSION);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (hasOption(argc, argv, HelpOptions) || hasOption(argc, argv, VersionOptions))
        return printText(argc, argv);

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
    QCommandLineParser parser;
    describeCommandLine(parser);
    if (!parser.parse(QCoreApplication::arguments()))
        std::fprintf(stderr, "gameoflife: %s\n", qPrintable(parser.errorText()));
    const QStringList patterns = parser.positionalArguments();
    if (patterns.size() > 1)
        std::fprintf(stderr, "gameoflife: only one pattern file can be opened; the others are ignored\n");

    MainWindow window;
    window.setWindowIcon(QIcon(QStringLiteral(":/resources/icons/qt_icon.png")));
    window.show();
    if (!patterns.isEmpty())
        window.openPatternFile(patterns.first());
    return application.exec();
}
