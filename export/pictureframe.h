#ifndef PICTUREFRAME_H
#define PICTUREFRAME_H

#include <QSize>

#include <optional>

#include "model/engine/universe.h"

// Which cells of a universe a picture shows and how large: a step of the
// view's zoom ladder (see Viewport), zoomed out a pixel for many cells that
// is live if any of them is, and how many picture pixels each pixel of that
// zoom becomes. The window's and the command line's exports choose it the
// same way, so that a picture of what the view shows is the view's pixels.
class PictureFrame
{
public:
    // `cells` as the view draws them at `zoomStep` (0..Viewport::zoomStepCount() - 1),
    // each pixel `scale` x `scale` (FieldExport::MinScale..MaxScale).
    static PictureFrame asViewed(const CellRect &cells, int zoomStep, int scale);
    // `cells` at the zoom whose cells are `scale` pixels wide, or as near below as the ladder comes.
    static PictureFrame atScale(const CellRect &cells, int scale);
    // `cells` at the finest zoom at which they fit `pixels` (each side 1 or
    // more), outlines included, a pixel of the zoom a pixel of the picture.
    static PictureFrame fitting(const CellRect &cells, const QSize &pixels);
    // atScale(), or where that would be more than FieldExport::MaxPictureSide
    // pixels a side, fitting() that many: zoomed out rather than refused.
    static PictureFrame atScaleOrSmaller(const CellRect &cells, int scale);

    const CellRect &cells() const { return area; }
    int zoomStep() const { return step; }
    int scale() const { return factor; }
    // The picture's pixels each way, scale() included; none when a side
    // would be more than FieldExport::MaxPictureSide.
    std::optional<QSize> size() const;

private:
    PictureFrame(const CellRect &cells, int zoomStep, int scale);

    CellRect area;
    int step;
    int factor;
};

#endif // PICTUREFRAME_H
