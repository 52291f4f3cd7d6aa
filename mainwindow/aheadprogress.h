#ifndef AHEADPROGRESS_H
#define AHEADPROGRESS_H

#include <QObject>

class Document;
class QProgressDialog;
class QWidget;

// Shows how far Run until settled or Go to generation has got, once it has
// taken longer than a moment, in a progress dialog whose Cancel goes back to
// where it started. The dialog leaves the window free: the run computes on
// the run's thread, and the window answers and shows each generation reached
// meanwhile, its Pause keeping the last one.
class AheadProgress : public QObject
{
    Q_OBJECT

public:
    static constexpr int DialogDelay = 300; // milliseconds before the dialog shows

    // `window`, not owned, is the dialog's parent; `document`, not owned, must outlive this.
    AheadProgress(QWidget *window, Document *document);

private slots:
    void runningChanged(bool running);
    void progressed(double share);

private:
    QWidget *window; // not owned
    Document *document; // not owned
    QProgressDialog *dialog = nullptr; // a child of `window` while a run ahead computes
};

#endif // AHEADPROGRESS_H
