#include "editor/formfieldeditorui.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMetaObject>
#include <QPushButton>
#include <QRadioButton>
#include <QSizePolicy>
#include <QSpacerItem>
#include <QString>
#include <QTableWidget>
#include <QVBoxLayout>

namespace
{

constexpr int LayoutSpacing = 10; // pixels, also the margins
constexpr int CellPixels = 15; // side of one table cell

void fixSize(QWidget *widget, int width, int height)
{
    widget->setMinimumSize(width, height);
    widget->setMaximumSize(width, height);
}

void placeTool(QRadioButton *button, const char *name, int x, int width)
{
    constexpr int y = 3;
    constexpr int height = 24;
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(x, y, width, height);
    fixSize(button, width, height);
}

} // namespace

void FormFieldEditorUi::setupUi(QDialog *dialog)
{
    if (dialog->objectName().isEmpty())
        dialog->setObjectName(QStringLiteral("FormFieldEditor"));
    dialog->resize(955, 775);
    dialog->setMinimumSize(500, 400);

    Layout_Vertical_1 = new QVBoxLayout(dialog);
    Layout_Vertical_1->setSpacing(LayoutSpacing);
    Layout_Vertical_1->setObjectName(QStringLiteral("Layout_Vertical_1"));
    Layout_Vertical_1->setContentsMargins(LayoutSpacing, LayoutSpacing, LayoutSpacing, LayoutSpacing);

    TableWidget_Field = new QTableWidget(dialog);
    TableWidget_Field->setObjectName(QStringLiteral("TableWidget_Field"));
    TableWidget_Field->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TableWidget_Field->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TableWidget_Field->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the table for the tools instead of walking 14400 cells.
    TableWidget_Field->setTabKeyNavigation(false);
    TableWidget_Field->setSelectionMode(QAbstractItemView::SingleSelection);
    TableWidget_Field->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    TableWidget_Field->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    TableWidget_Field->horizontalHeader()->setVisible(false);
    // The minimum first: a default below the style's own minimum section size
    // (28 px and more) would be raised to it, and the cells would not be square.
    TableWidget_Field->horizontalHeader()->setMinimumSectionSize(CellPixels);
    TableWidget_Field->horizontalHeader()->setDefaultSectionSize(CellPixels);
    TableWidget_Field->verticalHeader()->setVisible(false);
    TableWidget_Field->verticalHeader()->setMinimumSectionSize(CellPixels);
    TableWidget_Field->verticalHeader()->setDefaultSectionSize(CellPixels);
    Layout_Vertical_1->addWidget(TableWidget_Field);

    HBoxLayout_1 = new QHBoxLayout();
    HBoxLayout_1->setSpacing(LayoutSpacing);
    HBoxLayout_1->setObjectName(QStringLiteral("HBoxLayout_1"));

    Frame_Tools = new QFrame(dialog);
    Frame_Tools->setObjectName(QStringLiteral("Frame_Tools"));
    fixSize(Frame_Tools, 200, 30);
    Frame_Tools->setFrameShape(QFrame::Panel);
    Frame_Tools->setFrameShadow(QFrame::Plain);

    RadioButton_ToolNone = new QRadioButton(Frame_Tools);
    placeTool(RadioButton_ToolNone, "RadioButton_ToolNone", 10, 65);
    RadioButton_ToolOn = new QRadioButton(Frame_Tools);
    placeTool(RadioButton_ToolOn, "RadioButton_ToolOn", 80, 55);
    RadioButton_ToolOff = new QRadioButton(Frame_Tools);
    placeTool(RadioButton_ToolOff, "RadioButton_ToolOff", 140, 55);
    RadioButton_ToolNone->setChecked(true);

    HBoxLayout_1->addWidget(Frame_Tools);

    Spacer_Horizontal = new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum);
    HBoxLayout_1->addItem(Spacer_Horizontal);

    PushButton_Ok = new QPushButton(dialog);
    PushButton_Ok->setObjectName(QStringLiteral("PushButton_Ok"));
    fixSize(PushButton_Ok, 70, 30);
    HBoxLayout_1->addWidget(PushButton_Ok);

    PushButton_Cancel = new QPushButton(dialog);
    PushButton_Cancel->setObjectName(QStringLiteral("PushButton_Cancel"));
    fixSize(PushButton_Cancel, 70, 30);
    HBoxLayout_1->addWidget(PushButton_Cancel);

    Layout_Vertical_1->addLayout(HBoxLayout_1);

    QWidget::setTabOrder(TableWidget_Field, RadioButton_ToolNone);
    QWidget::setTabOrder(RadioButton_ToolNone, RadioButton_ToolOn);
    QWidget::setTabOrder(RadioButton_ToolOn, RadioButton_ToolOff);
    QWidget::setTabOrder(RadioButton_ToolOff, PushButton_Ok);
    QWidget::setTabOrder(PushButton_Ok, PushButton_Cancel);

    retranslateUi(dialog);
    QMetaObject::connectSlotsByName(dialog);
}

void FormFieldEditorUi::retranslateUi(QDialog *dialog)
{
    dialog->setWindowTitle(QCoreApplication::translate("FormFieldEditor", "Field editor", nullptr));
    RadioButton_ToolNone->setText(QCoreApplication::translate("FormFieldEditor", "[None]", nullptr));
    RadioButton_ToolOn->setText(QCoreApplication::translate("FormFieldEditor", "[On]", nullptr));
    RadioButton_ToolOff->setText(QCoreApplication::translate("FormFieldEditor", "[Off]", nullptr));
    PushButton_Ok->setText(QCoreApplication::translate("FormFieldEditor", "OK", nullptr));
    PushButton_Cancel->setText(QCoreApplication::translate("FormFieldEditor", "Cancel", nullptr));
}
