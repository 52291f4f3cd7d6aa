#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QMainWindow>
#include <QString>

#include <vector>

#include "model/gamefield.h"

class MainWindowUi;
class QTimer;

// The one window of the program and the only controller of the simulation. Every
// button, menu action, option and timer tick arrives at one of its slots, which
// performs at most one operation on the field, keeps the generation number and
// the live-cell count, rewrites the labels and asks the view to repaint.
//
// It is either idle or running (the timer drives the field). While running only
// Pause, Stop, the speed, the colour, About and Exit act; every other slot
// ignores its call, even though its button is disabled anyway.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

private slots:
    void Slot_Action_File_Exit();
    void Slot_Action_Help_About();
    void Slot_PushButton_Play();
    void Slot_PushButton_Pause();
    void Slot_PushButton_Stop();
    void Slot_PushButton_Next();
    void Slot_PushButton_Clear();
    void Slot_PushButton_Random();
    void Slot_PushButton_Edit();
    void Slot_PushButton_SaveState();
    void Slot_SpinBox_IPS(int value);
    void Slot_ComboBox_CellColor(int index);
    void Slot_Timer();

private:
    void init();
    // 1 start-up, 2 running (after Play), 3 Pause, 4 Stop, 5 Next; any other
    // code leaves the buttons as they are.
    void setControlsState(int state);
    void updateInfoLabels();
    void updateView();
    void showMessage(QString title, QString text);
    void exportToEditorBuffer();
    void importFromEditorBuffer();

    MainWindowUi *ui; // owned; the widgets themselves belong to the window
    QTimer *timer = nullptr; // owned, also a child of this window
    GameField *gameField = nullptr; // owned
    // The field's interior, row-major, as the field editor works on it.
    std::vector<GameField::Cell> editorBuffer;
    bool running = false;
    int ips = 20; // generations per second, 1..30
    int generationNumber = 1;
    int cellCount = 0;
};

#endif // MAINWINDOW_H
