#include "mainwindow/mainwindow.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSize>
#include <QSpinBox>
#include <QTimer>

#include <memory>

#include "editor/formfieldeditor.h"
#include "mainwindow/mainwindowui.h"
#include "view/widgetpaintarea.h"

namespace
{

constexpr int MillisecondsPerSecond = 1000;
const QSize ButtonIconSize(40, 40);
const QSize SaveStateIconSize(30, 30);

// Timer interval for a speed of 1..30 generations per second, in whole milliseconds.
int tickInterval(int generationsPerSecond) { return MillisecondsPerSecond / generationsPerSecond; }

// Colour box index to the view's colour mode: 1 red, 2 green, 3 blue. Any index
// the box might report besides red and blue, -1 included, falls back to green.
int colorModeForIndex(int index)
{
    switch (index) {
    case 0:
        return 1;
    case 2:
        return 3;
    default:
        return 2;
    }
}

void setButtonIcon(QPushButton *button, const char *path, const QSize &size)
{
    button->setIcon(QIcon(QString::fromLatin1(path)));
    button->setIconSize(size);
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new MainWindowUi)
{
    ui->setupUi(this);
    init();
    setControlsState(1);
    updateInfoLabels();
    updateView();

    // Connected last, so that the start values given above run no slot.
    connect(ui->Action_File_Exit, SIGNAL(triggered(bool)), this, SLOT(Slot_Action_File_Exit()));
    connect(ui->Action_Help_About, SIGNAL(triggered(bool)), this, SLOT(Slot_Action_Help_About()));
    connect(ui->ComboBox_CellColor, SIGNAL(currentIndexChanged(int)), this, SLOT(Slot_ComboBox_CellColor(int)));
    connect(ui->PushButton_Clear, SIGNAL(released()), this, SLOT(Slot_PushButton_Clear()));
    connect(ui->PushButton_Edit, SIGNAL(released()), this, SLOT(Slot_PushButton_Edit()));
    connect(ui->PushButton_Next, SIGNAL(released()), this, SLOT(Slot_PushButton_Next()));
    connect(ui->PushButton_Pause, SIGNAL(released()), this, SLOT(Slot_PushButton_Pause()));
    connect(ui->PushButton_Play, SIGNAL(released()), this, SLOT(Slot_PushButton_Play()));
    connect(ui->PushButton_Random, SIGNAL(released()), this, SLOT(Slot_PushButton_Random()));
    connect(ui->PushButton_SaveState, SIGNAL(released()), this, SLOT(Slot_PushButton_SaveState()));
    connect(ui->PushButton_Stop, SIGNAL(released()), this, SLOT(Slot_PushButton_Stop()));
    connect(ui->SpinBox_IPS, SIGNAL(valueChanged(int)), this, SLOT(Slot_SpinBox_IPS(int)));
    connect(timer, SIGNAL(timeout()), this, SLOT(Slot_Timer()));
}

MainWindow::~MainWindow()
{
    delete ui;
    delete timer;
    delete gameField;
    // The view, a child widget destroyed after this body, never touches the field then.
}

void MainWindow::init()
{
    timer = new QTimer(this);
    timer->setTimerType(Qt::PreciseTimer);

    gameField = new GameField;

    editorBuffer.clear();
    editorBuffer.resize(GameField::CellCount, 0);

    running = false;
    ips = 20;
    generationNumber = 1;
    cellCount = 0;

    // Green, matching the view's own start colour.
    ui->ComboBox_CellColor->setCurrentIndex(1);

    ui->Label_CellCount->setText(tr("Cells: %1").arg(cellCount));
    ui->Label_FieldSize->setText(tr("Field size: %1 * %2").arg(GameField::FieldSize).arg(GameField::FieldSize));
    ui->Label_GenerationNumber->setText(tr("Generation: %1").arg(generationNumber));

    setButtonIcon(ui->PushButton_Clear, ":/resources/icons/field_clear.png", ButtonIconSize);
    setButtonIcon(ui->PushButton_Edit, ":/resources/icons/field_edit.png", ButtonIconSize);
    setButtonIcon(ui->PushButton_Next, ":/resources/icons/simulation_next.png", ButtonIconSize);
    setButtonIcon(ui->PushButton_Pause, ":/resources/icons/simulation_pause.png", ButtonIconSize);
    setButtonIcon(ui->PushButton_Play, ":/resources/icons/simulation_play.png", ButtonIconSize);
    setButtonIcon(ui->PushButton_Random, ":/resources/icons/field_random.png", ButtonIconSize);
    setButtonIcon(ui->PushButton_SaveState, ":/resources/icons/field_save.png", SaveStateIconSize);
    setButtonIcon(ui->PushButton_Stop, ":/resources/icons/simulation_stop.png", ButtonIconSize);

    ui->SpinBox_IPS->setValue(ips);

    ui->WidgetPaintArea_GraphicScene->setField(gameField);
}

void MainWindow::setControlsState(int state)
{
    bool idle = true;
    switch (state) {
    case 1:
    case 3:
    case 4:
    case 5:
        idle = true;
        break;
    case 2:
        idle = false;
        break;
    default:
        return;
    }

    ui->PushButton_Play->setEnabled(idle);
    ui->PushButton_Pause->setEnabled(!idle);
    ui->PushButton_Stop->setEnabled(true);
    ui->PushButton_Next->setEnabled(idle);
    ui->PushButton_Clear->setEnabled(idle);
    ui->PushButton_Random->setEnabled(idle);
    ui->PushButton_Edit->setEnabled(idle);
    ui->PushButton_SaveState->setEnabled(idle);
}

void MainWindow::updateInfoLabels()
{
    ui->Label_CellCount->setText(tr("Cells: %1").arg(cellCount));
    ui->Label_GenerationNumber->setText(tr("Generation: %1").arg(generationNumber));
}

void MainWindow::updateView() { ui->WidgetPaintArea_GraphicScene->update(); }

void MainWindow::showMessage(QString title, QString text)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::NoButton, nullptr,
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    box.exec();
}

void MainWindow::exportToEditorBuffer()
{
    GameField::Cell *const *cells = gameField->snapshot();
    editorBuffer.clear();
    editorBuffer.resize(GameField::CellCount, 0);
    for (int r = 1; r <= GameField::FieldSize; ++r) {
        for (int c = 1; c <= GameField::FieldSize; ++c)
            editorBuffer[(r - 1) * GameField::FieldSize + (c - 1)] = cells[r][c];
    }
}

void MainWindow::importFromEditorBuffer()
{
    GameField::Cell **cells = gameField->snapshot();
    for (int r = 1; r <= GameField::FieldSize; ++r) {
        for (int c = 1; c <= GameField::FieldSize; ++c)
            cells[r][c] = editorBuffer[(r - 1) * GameField::FieldSize + (c - 1)];
    }
    gameField->commitSnapshot();
}

void MainWindow::Slot_Action_File_Exit() { QCoreApplication::quit(); }

void MainWindow::Slot_Action_Help_About()
{
    showMessage(tr("About"), tr("<div><b>Conway's Game of Life</b><hr/>Author: Tarvinek</div>"));
}

void MainWindow::Slot_PushButton_Play()
{
    if (running)
        return;
    running = true;
    timer->start(tickInterval(ips));
    setControlsState(2);
}

void MainWindow::Slot_PushButton_Pause()
{
    if (!running)
        return;
    running = false;
    timer->stop();
    setControlsState(3);
}

void MainWindow::Slot_PushButton_Stop()
{
    if (running) {
        running = false;
        timer->stop();
    }
    gameField->restoreState();
    generationNumber = 1;
    cellCount = gameField->liveCellCount();
    setControlsState(4);
    updateInfoLabels();
    updateView();
}

void MainWindow::Slot_PushButton_Next()
{
    if (running)
        return;
    gameField->nextGeneration();
    ++generationNumber;
    cellCount = gameField->liveCellCount();
    setControlsState(5);
    updateInfoLabels();
    updateView();
}

void MainWindow::Slot_PushButton_Clear()
{
    if (running)
        return;
    gameField->clear();
    generationNumber = 1;
    cellCount = 0;
    updateInfoLabels();
    updateView();
}

void MainWindow::Slot_PushButton_Random()
{
    if (running)
        return;
    gameField->randomize();
    generationNumber = 1;
    cellCount = gameField->liveCellCount();
    updateInfoLabels();
    updateView();
}

void MainWindow::Slot_PushButton_Edit()
{
    if (running)
        return;
    exportToEditorBuffer();

    std::unique_ptr<FormFieldEditor> editor(new FormFieldEditor(&editorBuffer, this));
    editor->setWindowFlags(Qt::Window | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    editor->exec();

    // The editor wrote every painted cell into the buffer already; only a
    // confirmed edit is carried into the field.
    if (editor->getResult()) {
        importFromEditorBuffer();
        cellCount = gameField->liveCellCount();
        updateInfoLabels();
        updateView();
    }
}

void MainWindow::Slot_PushButton_SaveState()
{
    if (running)
        return;
    gameField->saveState();
    generationNumber = 1;
    updateInfoLabels();
}

void MainWindow::Slot_SpinBox_IPS(int value)
{
    ips = value;
    timer->setInterval(tickInterval(value));
}

void MainWindow::Slot_ComboBox_CellColor(int index)
{
    ui->WidgetPaintArea_GraphicScene->setColorMode(colorModeForIndex(index));
    // While running, the next tick repaints anyway.
    if (!running)
        updateView();
}

void MainWindow::Slot_Timer()
{
    gameField->nextGeneration();
    ++generationNumber;
    cellCount = gameField->liveCellCount();
    updateInfoLabels();
    updateView();
}
