#ifndef STEPCONTROL_H
#define STEPCONTROL_H

#include <QObject>

class Document;
class QAction;
class QLabel;

// The generations a tick of a run computes, 2^k, beside the ticks per second:
// Faster and Slower double and halve it within what the universe in use
// allows, and a label next to the speed shows it.
class StepControl : public QObject
{
    Q_OBJECT

public:
    // None owned; all must outlive the control.
    StepControl(Document *document, QLabel *label, QAction *faster, QAction *slower, QObject *parent = nullptr);

    // 2^exponent as the label shows it: "1", "2", ..., "2^20".
    static QString stepText(int exponent);

public slots:
    void faster();
    void slower();
    // Shows the document's step anew and enables what can change it.
    void refresh();

private:
    Document *document;
    QLabel *label;
    QAction *fasterAction;
    QAction *slowerAction;
};

#endif // STEPCONTROL_H
