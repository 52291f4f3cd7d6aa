#ifndef FORMFIELDEDITORUI_H
#define FORMFIELDEDITORUI_H

class QDialog;
class QFrame;
class QHBoxLayout;
class QPushButton;
class QRadioButton;
class QSpacerItem;
class QTableWidget;
class QVBoxLayout;

// Builds the widgets of the field editor dialog and keeps a pointer to each, so
// that the dialog can reach its controls by name. Written by hand rather than
// generated from a form so that the order in which the widgets are made, and
// with it the focus chain and the stacking order, stays under our control.
//
// Every pointer is non-owning: the widgets belong to the dialog through their
// Qt parents, the layouts to the dialog and to the layouts holding them.
class FormFieldEditorUi
{
public:
    // Builds the whole dialog on `dialog` (which must have no layout yet) and
    // sets its texts. Call once per dialog, before connecting anything.
    void setupUi(QDialog *dialog);
    // Sets the window title and the button texts.
    void retranslateUi(QDialog *dialog);

    QVBoxLayout *Layout_Vertical_1 = nullptr; // not owned
    QTableWidget *TableWidget_Field = nullptr; // not owned; left with no rows and no columns
    QHBoxLayout *HBoxLayout_1 = nullptr; // not owned
    QFrame *Frame_Tools = nullptr; // not owned; parent of the three tools, which makes them exclusive
    QRadioButton *RadioButton_ToolNone = nullptr; // not owned; checked after setupUi()
    QRadioButton *RadioButton_ToolOn = nullptr; // not owned
    QRadioButton *RadioButton_ToolOff = nullptr; // not owned
    QSpacerItem *Spacer_Horizontal = nullptr; // not owned
    QPushButton *PushButton_Ok = nullptr; // not owned
    QPushButton *PushButton_Cancel = nullptr; // not owned
};

#endif // FORMFIELDEDITORUI_H
