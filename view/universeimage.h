#ifndef UNIVERSEIMAGE_H
#define UNIVERSEIMAGE_H

#include <QImage>
#include <QRgb>
#include <QVector>

#include <array>
#include <cstdint>
#include <vector>

#include "model/engine/universe.h"
#include "view/viewport.h"

class QSize;

// The picture of any universe at any zoom, as the view shows it and as an
// export draws it. It asks the universe for the cells in view only, through
// Universe::render, so that its cost follows the pixels and never the live
// cells: zoomed out, a pixel takes the live colour if any of its cells is
// alive; zoomed in, each cell is a square, with the classic field's grey
// outline, shared with the neighbours, around its fill from 4 pixels per
// cell on. Cells that a bounded universe does not have, and those beyond the
// unbounded plane's coordinate limit, are drawn in a colour of their own,
// and the universe's edge is framed in black.
class UniverseImage
{
public:
    static constexpr QRgb Outside = qRgb(200, 200, 200); // cells beyond the universe's edge
    static constexpr std::int64_t MaxPicturePixels = std::int64_t(1) << 28; // the largest picture() made

    // Composes what `viewport` shows of `universe` on `size` pixels in
    // colorMode (1 red, 2 green, 3 blue; any other value: live cells as grey
    // outlines, or grey where they are too small for one). Returns the image,
    // valid until the next call; null if it cannot be allocated.
    const QImage &compose(const Universe &universe, const Viewport &viewport, const QSize &size, int colorMode);
    // Every cell of `cells` at zoom step `zoomStep` (see Viewport) and nothing
    // else, but for the other cells that its outermost pixels show when zoomed
    // out. Null when larger than MaxPicturePixels.
    static QImage picture(const Universe &universe, const CellRect &cells, int zoomStep, int colorMode);

    // The colours a picture in colorMode may contain: FieldImage's, then Outside.
    static QVector<QRgb> colors(int colorMode);
    // The colour of each state: `live` for 1; under a Generations rule the
    // dying states fading from it towards `dead`, never reaching it; under
    // LifeHistory its own colours for history, marked and boundary cells.
    static std::array<QRgb, 256> stateColors(const Rule &rule, QRgb live, QRgb dead);

private:
    QImage image; // the last composition, reused while the size stays
    std::vector<std::uint8_t> rendered; // the cells in view as Universe::render gives them, one byte a pixel or cell
};

#endif // UNIVERSEIMAGE_H
