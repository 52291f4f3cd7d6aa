// The least a Qt Widgets program does before its first paint: an application
// object and one empty main window. The program's start-up time is measured
// against this one's, which tells what the toolkit and the X server cost anyway
// from what the program adds.

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.show();
    return application.exec();
}
