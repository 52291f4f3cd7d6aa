#ifndef PANELLAYOUT_H
#define PANELLAYOUT_H

#include <QObject>

class MainWindowUi;
class QEvent;

// Sizes the window's panel: the classic field keeps its fixed panel of 950 x
// 750 pixels, with the view at 730 x 730; any other universe may have the
// view take all the room the window gives beyond that, the controls keeping
// their column at the panel's right edge.
class PanelLayout : public QObject
{
    Q_OBJECT

public:
    // `ui` (not owned) must be set up, and outlive the layout.
    explicit PanelLayout(MainWindowUi *ui, QObject *parent = nullptr);

    // Whether the view grows with the window; lays the panel out anew.
    void setGrowing(bool growing);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void layOut();

    MainWindowUi *ui; // not owned
    bool growing = false;
};

#endif // PANELLAYOUT_H
