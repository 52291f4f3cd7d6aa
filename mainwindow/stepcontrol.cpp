#include "mainwindow/stepcontrol.h"

#include <QAction>
#include <QLabel>

#include "document/document.h"

namespace
{

// Steps up to this exponent are written out in full.
constexpr int WrittenOut = 10;

} // namespace

StepControl::StepControl(Document *document, QLabel *label, QAction *faster, QAction *slower, QObject *parent)
    : QObject(parent)
    , document(document)
    , label(label)
    , fasterAction(faster)
    , slowerAction(slower)
{
    connect(faster, &QAction::triggered, this, &StepControl::faster);
    connect(slower, &QAction::triggered, this, &StepControl::slower);
    refresh();
}

QString StepControl::stepText(int exponent)
{
    if (exponent <= WrittenOut)
        return QString::number(1 << exponent);
    return QStringLiteral("2^%1").arg(exponent);
}

void StepControl::faster()
{
    document->setStepExponent(document->stepExponent() + 1);
    refresh();
}

void StepControl::slower()
{
    document->setStepExponent(document->stepExponent() - 1);
    refresh();
}

void StepControl::refresh()
{
    const int exponent = document->stepExponent();
    label->setText(tr("Step: %1 gen./tick").arg(stepText(exponent)));
    label->setToolTip(tr("Generations computed at each tick: ] doubles them, [ halves them, up to %1 here")
                          .arg(stepText(document->maxStepExponent())));
    fasterAction->setEnabled(exponent < document->maxStepExponent());
    slowerAction->setEnabled(exponent > 0);
}
