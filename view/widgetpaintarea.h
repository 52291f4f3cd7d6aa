#ifndef WIDGETPAINTAREA_H
#define WIDGETPAINTAREA_H

#include <QBrush>
#include <QColor>
#include <QPen>
#include <QWidget>

class GameField;
class QPaintEvent;

// Shows the field: a white area with a black frame and one small square per
// live cell. It only reads the field, anew at every paint, and never asks for a
// repaint itself; whoever changes the field or the colour calls update().
class WidgetPaintArea : public QWidget
{
    Q_OBJECT

public:
    explicit WidgetPaintArea(QWidget *parent = nullptr);
    ~WidgetPaintArea() override;

    // The field to draw; null draws the empty area. Not owned; must outlive
    // every paint. Does not repaint.
    void setField(GameField *field);
    // 1 red, 2 green, 3 blue; any other value draws live cells unfilled.
    // Does not repaint.
    void setColorMode(int mode);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    GameField *gameField; // not owned
    QColor colorBlack;
    QColor colorWhite;
    QColor colorGrey;
    QColor colorRed;
    QColor colorGreen;
    QColor colorBlue;
    QPen penFrame;
    QPen penCell;
    QBrush brushBackground;
    QBrush brushRed;
    QBrush brushGreen;
    QBrush brushBlue;
    int cellWidth; // pixels
    int cellHeight; // pixels
    int fieldOffset; // pixels from the left and top edges to the first cell
    int colorMode;
};

#endif // WIDGETPAINTAREA_H
