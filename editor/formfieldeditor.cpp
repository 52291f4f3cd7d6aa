#include "editor/formfieldeditor.h"

#include <QBrush>
#include <QCloseEvent>
#include <QHeaderView>
#include <QModelIndex>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QTableWidget>
#include <QTableWidgetItem>

#include <algorithm>
#include <cstddef>

#include "editor/formfieldeditorui.h"
#include "model/engine/gamefield.h"

namespace
{

constexpr int ToolNone = 1;
constexpr int ToolOn = 2;
constexpr int ToolOff = 3;

// Only the value 1 is a live cell; anything else a caller left in the buffer shows dead.
QBrush cellBrush(bool live) { return QBrush(live ? Qt::darkGreen : Qt::white, Qt::SolidPattern); }

} // namespace

FormFieldEditor::FormFieldEditor(std::vector<std::int32_t> *buffer, QWidget *parent)
    : QDialog(parent)
    , ui(new FormFieldEditorUi)
    , editorBuffer(buffer)
{
    ui->setupUi(this);
    init();
    clearCurrentCell();

    connect(ui->PushButton_Cancel, SIGNAL(released()), this, SLOT(Slot_PushButton_Cancel()));
    connect(ui->PushButton_Ok, SIGNAL(released()), this, SLOT(Slot_PushButton_Ok()));
    connect(ui->RadioButton_ToolNone, SIGNAL(clicked(bool)), this, SLOT(Slot_RadioButton_ToolNone()));
    connect(ui->RadioButton_ToolOff, SIGNAL(clicked(bool)), this, SLOT(Slot_RadioButton_ToolOff()));
    connect(ui->RadioButton_ToolOn, SIGNAL(clicked(bool)), this, SLOT(Slot_RadioButton_ToolOn()));
    connect(ui->TableWidget_Field, SIGNAL(currentCellChanged(int, int, int, int)), this,
        SLOT(Slot_TableWidget_Field(int, int)));
}

FormFieldEditor::~FormFieldEditor() { delete ui; }

bool FormFieldEditor::getResult() const { return resultFlag; }

void FormFieldEditor::closeEvent(QCloseEvent *event)
{
    // Closing the window is a cancel, but it must not pass through reject():
    // accepting the event is enough to end exec().
    resultFlag = false;
    event->accept();
}

void FormFieldEditor::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Once the view has its size: how much fits depends on it.
    if (!scrolled && !event->spontaneous()) {
        scrolled = true;
        scrollToLiveCells();
    }
}

void FormFieldEditor::Slot_PushButton_Ok()
{
    resultFlag = true;
    QDialog::accept();
}

void FormFieldEditor::Slot_PushButton_Cancel()
{
    resultFlag = false;
    QDialog::reject();
}

void FormFieldEditor::Slot_RadioButton_ToolNone()
{
    tool = ToolNone;
    clearCurrentCell();
}

void FormFieldEditor::Slot_RadioButton_ToolOn()
{
    tool = ToolOn;
    clearCurrentCell();
}

void FormFieldEditor::Slot_RadioButton_ToolOff()
{
    tool = ToolOff;
    clearCurrentCell();
}

void FormFieldEditor::Slot_TableWidget_Field(int row, int column)
{
    if (tool == ToolNone)
        return;
    // The table never reports such a cell today; a stray one must not write
    // outside the caller's buffer.
    if (row < 0 || row >= GameField::FieldSize || column < 0 || column >= GameField::FieldSize)
        return;

    QTableWidgetItem *cell = ui->TableWidget_Field->item(row, column);
    const bool live = tool == ToolOn;
    (*editorBuffer)[static_cast<std::size_t>(row * GameField::FieldSize + column)] = live ? 1 : 0;
    if (cell)
        cell->setData(Qt::BackgroundRole, cellBrush(live));
}

void FormFieldEditor::init()
{
    resultFlag = false;
    tool = ToolNone;
    ui->RadioButton_ToolNone->setChecked(true);

    QTableWidget *table = ui->TableWidget_Field;
    table->setRowCount(GameField::FieldSize);
    table->setColumnCount(GameField::FieldSize);
    table->setStyleSheet(QStringLiteral("QTableWidget { selection-background-color: #FA9600; }"));

    const std::vector<std::int32_t> &cells = *editorBuffer;
    for (int row = 0; row < GameField::FieldSize; ++row) {
        for (int column = 0; column < GameField::FieldSize; ++column) {
            auto *cell = new QTableWidgetItem(QTableWidgetItem::Type);
            table->setItem(row, column, cell);
            const bool live = cells[static_cast<std::size_t>(row * GameField::FieldSize + column)] == 1;
            cell->setData(Qt::BackgroundRole, cellBrush(live));
        }
    }
}

void FormFieldEditor::scrollToLiveCells()
{
    constexpr int Middle = GameField::FieldSize / 2 - 1;
    int top = GameField::FieldSize;
    int bottom = -1;
    int left = GameField::FieldSize;
    int right = -1;
    for (int row = 0; row < GameField::FieldSize; ++row) {
        for (int column = 0; column < GameField::FieldSize; ++column) {
            if ((*editorBuffer)[static_cast<std::size_t>(row * GameField::FieldSize + column)] != 1)
                continue;
            top = std::min(top, row);
            bottom = std::max(bottom, row);
            left = std::min(left, column);
            right = std::max(right, column);
        }
    }
    if (bottom < 0)
        top = bottom = left = right = Middle;
    QTableWidget *table = ui->TableWidget_Field;
    const QHeaderView *rows = table->verticalHeader();
    const QHeaderView *columns = table->horizontalHeader();
    scrollToCells(table->verticalScrollBar(), rows->sectionPosition(top),
        rows->sectionPosition(bottom) + rows->sectionSize(bottom), table->viewport()->height());
    scrollToCells(table->horizontalScrollBar(), columns->sectionPosition(left),
        columns->sectionPosition(right) + columns->sectionSize(right), table->viewport()->width());
}

void FormFieldEditor::scrollToCells(QScrollBar *bar, int first, int last, int visible)
{
    bar->setValue(last - first <= visible ? (first + last - visible) / 2 : first);
}

void FormFieldEditor::clearCurrentCell()
{
    QTableWidget *table = ui->TableWidget_Field;
    const QModelIndex none = table->model()->index(-1, -1);
    // With the signals blocked the cell slot never sees the row and column -1.
    table->blockSignals(true);
    table->setCurrentIndex(none);
    table->clearSelection();
    table->blockSignals(false);
}
