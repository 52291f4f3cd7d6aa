#ifndef EXPORTOPTIONS_H
#define EXPORTOPTIONS_H

#include <QDialog>

class QRadioButton;
class QSpinBox;

// Asks how to export the field: the scale of a picture, and for an animation
// also how many generations after the current one it shows; outside the
// classic field also which cells: those the view shows, or the live cells' box.
class ExportOptions : public QDialog
{
    Q_OBJECT

public:
    // `animation`: whether to ask for generations too; `area`: whether to ask
    // which cells. `parent` owns the dialog.
    ExportOptions(bool animation, QWidget *parent, bool area = false);

    int scale() const; // FieldExport::MinScale..MaxScale
    int generations() const; // FieldExport::MinGenerations..MaxGenerations; 0 for a picture
    // Whether the live cells' box is chosen rather than what the view shows.
    bool livePattern() const;

private:
    QSpinBox *scaleBox; // a child
    QSpinBox *generationsBox = nullptr; // a child, for an animation only
    QRadioButton *patternChoice = nullptr; // a child, when the area is asked
};

#endif // EXPORTOPTIONS_H
