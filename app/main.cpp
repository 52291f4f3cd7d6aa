#include <QApplication>
#include <QIcon>
#include <QString>

#include "mainwindow/mainwindow.h"

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    MainWindow window;
    window.setWindowIcon(QIcon(QStringLiteral(":/resources/icons/qt_icon.png")));
    window.show();
    return application.exec();
}
