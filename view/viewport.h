#ifndef VIEWPORT_H
#define VIEWPORT_H

#include <QPoint>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <optional>

#include "model/engine/universe.h"

// Which cells a view shows at which pixels: a step of the zoom ladder and the
// place of pixel (0, 0) among the cells. Zoomed in, a cell is a square of 32
// down to one pixel; zoomed out, a pixel stands for 2^shift x 2^shift cells
// whose top-left cell lies on multiples of 2^shift, so that one square of a
// quadtree answers for it. Kept apart from the widget so that the view, the
// exports of what it shows and the tests place cells the same way.
//
// Cells are 64-bit; whatever the zoom, the view never reaches beyond
// +-Limit cells, and arithmetic that would saturates there.
class Viewport
{
public:
    static constexpr int MaxShift = 60; // the farthest zoom: a pixel for 2^60 x 2^60 cells
    static constexpr std::int64_t Limit = std::int64_t(1) << 62; // cells -Limit..Limit - 1 can be shown

    // The classic field's first zoom and place: 6 pixels per cell, the
    // outline of cell (0, 0) starting at pixel (4, 4).
    Viewport();

    // Steps 0 (32 pixels per cell) to zoomStepCount() - 1 (a pixel per 2^MaxShift cells).
    static int zoomStepCount();
    int zoomStep() const { return step; }
    // Pixels per side of a cell: 32, 24, 16, 12, 8, 6, 4, 3, 2 or 1; 1 when zoomed out.
    int cellSize() const;
    // A pixel shows 2^shift x 2^shift cells: 0 while a cell is one pixel or more, up to MaxShift.
    int shift() const;
    // Whether cells are drawn as a grey outline around a fill: 4 or more pixels per cell.
    bool showsOutlines() const { return cellSize() >= 4; }

    // The cell under a pixel; zoomed out, the top-left one of the cells it shows.
    CellPoint cellAt(const QPoint &pixel) const;
    // The pixels of a cell, its outline on the left and top included (the one
    // on the right and bottom is its neighbours'); zoomed out, the one pixel
    // that shows it. Far away cells give a rectangle far outside any widget.
    QRect pixelsOf(const CellPoint &cell) const;
    // The cells at least partly shown on pixels 0..size - 1.
    CellRect visibleCells(const QSize &size) const;

    // Zooms `steps` steps in (positive) or out (negative), as far as the
    // ladder goes, keeping the cell under `pixel` under it. Zooming about the
    // same pixel again, with no other move in between, comes back to the very
    // cell the first zoom started from.
    void zoomAround(const QPoint &pixel, int steps);
    // Moves the picture by `pixels`, as a drag does.
    void panBy(const QPoint &pixels);
    // The finest step at which `cells` fit within `pixels`, outlines included,
    // centred there; the farthest step if none does.
    void fit(const CellRect &cells, const QRect &pixels);
    // Puts the top-left pixel of `cell` at `pixel` at step `zoomStep`
    // (0..zoomStepCount() - 1).
    void place(int zoomStep, const CellPoint &cell, const QPoint &pixel);
    // Pans as little as keeps the pixels of `cell` within `pixels`, or
    // centres it there when none of them is.
    void ensureVisible(const CellPoint &cell, const QRect &pixels);

    // The same zoom and place; how they were reached does not count.
    bool operator==(const Viewport &other) const
    {
        return step == other.step && origin == other.origin && phase == other.phase;
    }
    bool operator!=(const Viewport &other) const { return !(*this == other); }

private:
    // What a zoom keeps in place: a cell under a pixel, and where in the cell
    // the pixel is, in 1/FractionUnits of its side.
    struct Anchor {
        QPoint pixel;
        CellPoint cell;
        int fractionX;
        int fractionY;
    };
    static constexpr int FractionUnits = 192; // a multiple of twice every cell size

    Anchor anchorAt(const QPoint &pixel) const;
    // Places the anchor's cell at the anchor's pixel at the current step.
    void hold(const Anchor &anchor);
    // Keeps origin within the cells that can be shown, on a multiple of 2^shift when zoomed out.
    void clampOrigin();

    int step;
    CellPoint origin; // the cell under pixel (0, 0); zoomed out, the first of the cells it shows
    QPoint phase; // zoomed in: pixels of `origin` left of and above pixel (0, 0), 0..cellSize() - 1; else 0
    std::optional<Anchor> anchor; // what the last zoom kept in place, until the view moves otherwise
};

#endif // VIEWPORT_H
