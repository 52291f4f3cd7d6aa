#ifndef FORMFIELDEDITOR_H
#define FORMFIELDEDITOR_H

#include <QDialog>

#include <cstdint>
#include <vector>

class FormFieldEditorUi;
class QCloseEvent;

// The modal dialog in which the user switches single cells on and off. It edits
// the caller's buffer in place, so that a large field is never copied, and says
// through getResult() whether the caller should take the buffer over: painted
// cells stay in the buffer after Cancel, and only the flag tells them apart.
class FormFieldEditor : public QDialog
{
    Q_OBJECT

public:
    // `buffer` holds the field row-major, cell (row, column) at row * 120 +
    // column, and must have exactly 14400 elements; only the value 1 shows as
    // live. Not owned; it must outlive the dialog, which never resizes it.
    explicit FormFieldEditor(std::vector<std::int32_t> *buffer, QWidget *parent = nullptr);
    ~FormFieldEditor() override;

    // True only when the user left the dialog with OK.
    bool getResult() const;

protected:
    void closeEvent(QCloseEvent *event) override;

private slots:
    void Slot_PushButton_Ok();
    void Slot_PushButton_Cancel();
    void Slot_RadioButton_ToolNone();
    void Slot_RadioButton_ToolOn();
    void Slot_RadioButton_ToolOff();
    // Applies the current tool to the cell that has just become current;
    // row and column outside 0..119 are ignored.
    void Slot_TableWidget_Field(int row, int column);

private:
    void init();
    // Leaves no current cell, so that the next click on any cell, the last one
    // included, changes the current cell and reaches the cell slot.
    void clearCurrentCell();

    FormFieldEditorUi *ui = nullptr; // owned
    std::vector<std::int32_t> *editorBuffer = nullptr; // not owned
    bool resultFlag = false;
    int tool = 1; // 1 None, 2 On, 3 Off
};

#endif // FORMFIELDEDITOR_H
