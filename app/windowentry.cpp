#include "app/windowentry.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>
#include <QString>
#include <QtGlobal>

#include "document/translations.h"
#include "mainwindow/mainwindow.h"

extern "C" Q_DECL_EXPORT int gameoflifeWindowMain(int *argc, char **argv, const CommandLine::Request *request)
{
    // Everything is drawn by the raster engine. Without this the X11 platform
    // probes OpenGL at start-up and drags in GLX, the Mesa driver and LLVM:
    // some fifty MiB and a slower start, and a driver that leaks at exit.
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");

    // Scaled with the screen (the desktop's setting or QT_SCALE_FACTOR), so
    // that the window is not a postage stamp on a dense screen.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);

    QApplication application(*argc, argv);
    // Wayland compositors find the window's desktop entry, and with it the
    // name and icon to show, by this id.
    QApplication::setDesktopFileName(QStringLiteral(GAMEOFLIFE_APP_ID));

    Translations::install(QLocale());

    MainWindow window;
    // The executable registered the icons; the shared QtCore finds them here.
    window.setWindowIcon(QIcon(QStringLiteral(":/resources/icons/qt_icon.png")));
    if (request->memory > 0)
        window.setMemoryLimit(request->memory);
    if (request->rule)
        window.setStartRule(*request->rule);
    if (request->universe)
        window.setStartUniverse(*request->universe);
    window.show();
    if (!request->files.isEmpty())
        window.openPatternFile(request->files.first(), request->rule, request->universe);
    return application.exec();
}
