#ifndef FORMFIELDEDITOR_H
#define FORMFIELDEDITOR_H

#include <QDialog>

#include <cstdint>
#include <vector>

class FormFieldEditorUi;
class QCloseEvent;
class QScrollBar;
class QShowEvent;

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
    // The first time: scrolled to the live cells.
    void showEvent(QShowEvent *event) override;

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
    // Scrolls to show the live cells, each direction on its own: centred if
    // they fit in the view, else from the first of them; the middle of the
    // field when there are none.
    void scrollToLiveCells();
    // Scrolls `bar` so that its content from pixel `first` to `last` shows
    // centred in `visible` pixels, or from `first` on if it does not fit.
    static void scrollToCells(QScrollBar *bar, int first, int last, int visible);

    FormFieldEditorUi *ui = nullptr; // owned
    std::vector<std::int32_t> *editorBuffer = nullptr; // not owned
    bool resultFlag = false;
    bool scrolled = false; // the view has been scrolled to the live cells
    int tool = 1; // 1 None, 2 On, 3 Off
};

#endif // FORMFIELDEDITOR_H
