#include <QApplication>
#include <QIcon>
#include <QString>
#include <QtGlobal>

#include "mainwindow/mainwindow.h"

int main(int argc, char *argv[])
{
    // Everything is drawn by the raster engine. Without this the X11 platform
    // probes OpenGL at start-up and drags in GLX, the Mesa driver and LLVM:
    // some fifty MiB and a slower start, and a driver that leaks at exit.
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");

    QApplication application(argc, argv);
    MainWindow window;
    window.setWindowIcon(QIcon(QStringLiteral(":/resources/icons/qt_icon.png")));
    window.show();
    return application.exec();
}
