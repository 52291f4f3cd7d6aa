#include "mainwindow/exportoptions.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QRadioButton>
#include <QSpinBox>

#include "export/fieldexport.h"

ExportOptions::ExportOptions(bool animation, QWidget *parent, bool area)
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
    if (area) {
        auto *viewChoice = new QRadioButton(tr("What the &view shows"), this);
        patternChoice = new QRadioButton(tr("The &live cells' box"), this);
        viewChoice->setChecked(true);
        layout->addRow(tr("Cells:"), viewChoice);
        layout->addRow(QString(), patternChoice);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addRow(buttons);
    connect(buttons, SIGNAL(accepted()), this, SLOT(accept()));
    connect(buttons, SIGNAL(rejected()), this, SLOT(reject()));
}

int ExportOptions::scale() const { return scaleBox->value(); }

int ExportOptions::generations() const { return generationsBox ? generationsBox->value() : 0; }

bool ExportOptions::livePattern() const { return patternChoice && patternChoice->isChecked(); }
