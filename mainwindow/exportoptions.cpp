#include "mainwindow/exportoptions.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

#include "export/fieldexport.h"

ExportOptions::ExportOptions(bool animation, QWidget *parent)
    : QDialog(parent)
    , scaleBox(new QSpinBox(this))
{
    setWindowTitle(animation ? tr("Export animation") : tr("Export image"));
    auto *layout = new QFormLayout(this);
    scaleBox->setRange(FieldExport::MinScale, FieldExport::MaxScale);
    scaleBox->setValue(FieldExport::DefaultScale);
    scaleBox->setSuffix(QStringLiteral(" ×"));
    layout->addRow(tr("&Scale:"), scaleBox);
    if (animation) {
        generationsBox = new QSpinBox(this);
        generationsBox->setRange(FieldExport::MinGenerations, FieldExport::MaxGenerations);
        generationsBox->setValue(FieldExport::DefaultGenerations);
        layout->addRow(tr("&Generations after this one:"), generationsBox);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addRow(buttons);
    connect(buttons, SIGNAL(accepted()), this, SLOT(accept()));
    connect(buttons, SIGNAL(rejected()), this, SLOT(reject()));
}

int ExportOptions::scale() const { return scaleBox->value(); }

int ExportOptions::generations() const { return generationsBox ? generationsBox->value() : 0; }
