#ifndef WIDGETPAINTAREA_H
#define WIDGETPAINTAREA_H

#include <QColor>
#include <QImage>
#include <QWidget>

#include <vector>

#include "model/gamefield.h"

class QPaintEvent;

// Shows the field: a white area with a black frame and one small square per
// live cell. It only reads the field, anew at every paint, and never asks for a
// repaint itself; whoever changes the field or the colour calls update().
//
// The picture is composed by writing pixels straight into an image kept between
// paints and then drawn in one call: a rectangle per live cell through the
// painter costs many times more, since every outline goes through the span
// filler. The pixels are the same as those rectangles would give: a grey 7 x 7
// outline, shared with the neighbours, around a 5 x 5 fill.
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
    // Redraws fieldImage for the widget's current size, at `scale` device
    // pixels per pixel in each direction (1 or more).
    void composeImage(int scale);
    // Fills widget pixels left..right - 1 of one device row of fieldImage,
    // clipped to the image, with `color`.
    void fillSpan(QRgb *line, int left, int right, QRgb color) const;

    GameField *gameField; // not owned
    QColor colorBlack;
    QColor colorWhite;
    QColor colorGrey;
    QColor colorRed;
    QColor colorGreen;
    QColor colorBlue;
    int cellWidth; // pixels
    int cellHeight; // pixels
    int fieldOffset; // pixels from the left and top edges to the first cell
    int colorMode;
    QImage fieldImage; // the last picture, reused so that a paint allocates nothing
    int imageScale = 1; // device pixels per widget pixel in fieldImage
    // What fieldImage shows: the whole buffer, row-major, as the last paint
    // read it (empty when it showed no field), and the colour mode it used.
    std::vector<GameField::Cell> composedCells;
    int composedMode = 0;
};

#endif // WIDGETPAINTAREA_H
