#ifndef STATELEGEND_H
#define STATELEGEND_H

#include <QLabel>

class Rule;

// Under a rule of more than two states the view's colours are no longer
// plain alive and dead: this small box in the view's corner says which
// colour is which state. It hides itself under two-state rules, and lets
// the mouse through to the cells below it.
class StateLegend : public QLabel
{
    Q_OBJECT

public:
    // `view`, not owned, is the legend's parent.
    explicit StateLegend(QWidget *view);

    // Shows the states of `rule` in the colours the view gives them in
    // colorMode (as UniverseImage::compose takes it), or hides.
    void showRule(const Rule &rule, int colorMode);

protected:
    // Keeps the legend in the view's top right corner as the view's size changes.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place();
};

#endif // STATELEGEND_H
