#ifndef EXPORTOPTIONS_H
#define EXPORTOPTIONS_H

#include <QDialog>

class QSpinBox;

// Asks how to export the field: the scale of a picture, and for an animation
// also how many generations after the current one it shows.
class ExportOptions : public QDialog
{
    Q_OBJECT

public:
    // `animation`: whether to ask for generations too. `parent` owns the dialog.
    ExportOptions(bool animation, QWidget *parent);

    int scale() const; // FieldExport::MinScale..MaxScale
    int generations() const; // FieldExport::MinGenerations..MaxGenerations; 0 for a picture

private:
    QSpinBox *scaleBox; // a child
    QSpinBox *generationsBox = nullptr; // a child, for an animation only
};

#endif // EXPORTOPTIONS_H
