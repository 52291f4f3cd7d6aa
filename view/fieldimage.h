#ifndef FIELDIMAGE_H
#define FIELDIMAGE_H

#include <QImage>
#include <QRgb>
#include <QVector>

#include <vector>

#include "model/engine/gamefield.h"

class QSize;

// The picture of a field as the view shows it: a white area with a black
// frame and one small square per live cell. It is made without a widget, so
// that the view and the exported pictures and animations are one and the same.
//
// The pixels are written straight into an image kept between compositions: a
// rectangle per live cell through a painter costs many times more, since every
// outline goes through the span filler. The pixels are the same as those
// rectangles would give: a grey 7 x 7 outline, shared with the neighbours,
// around a 5 x 5 fill. Lines whose cells are as they were at the last
// composition are left as they are, so a field that is mostly settled costs
// little to show again.
class FieldImage
{
public:
    static constexpr int CellPitch = 6; // pixels from one cell to the next
    static constexpr int FieldOffset = 4; // pixels from the left and top edges to cell (1, 1)
    static constexpr int ViewSize = 730; // pixels, width and height of the picture the window shows

    FieldImage();

    // Composes the picture of cells (a BufferSize x BufferSize row-pointer
    // buffer as GameField::snapshot() returns, of which only the value 1 is
    // alive; null shows the empty area) in colorMode (1 red, 2 green, 3 blue,
    // any other value unfilled outlines) for an area of size pixels, each
    // pixel scale x scale pixels of the image (scale 1 or more). Returns the
    // image, valid until the next call; it is size * scale pixels large.
    const QImage &compose(const GameField::Cell *const *cells, int colorMode, const QSize &size, int scale = 1);
    // The last composed image; null before the first composition.
    const QImage &image() const { return picture; }

    // The colours a picture in colorMode may contain: white, black, grey,
    // then the fill if the mode has one.
    static QVector<QRgb> colors(int colorMode);

private:
    // Fills pixels left..right - 1 of one image line, in unscaled pixels and
    // clipped to the image, with color.
    void fillSpan(QRgb *line, int left, int right, QRgb color) const;

    QImage picture; // the last composition, reused so that composing again allocates nothing
    int pictureScale = 1; // image pixels per pixel in each direction in picture
    // What picture shows: the whole buffer, row-major, as the last composition
    // read it (empty when it showed no field), and the colour mode it used.
    std::vector<GameField::Cell> composedCells;
    int composedMode = 0;
};

#endif // FIELDIMAGE_H
