#ifndef VIEWPICTURE_H
#define VIEWPICTURE_H

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "model/engine/rule.h"
#include "model/engine/universe.h"

// What the window shows of a universe of the unbounded plane too large for a
// copy of its cells, of more states than the tiles hold, or with a live
// background, while a run's thread steps it: a picture of the cells the view
// shows and some way around, and a coarse summary of the whole pattern, made
// where the store may be read, with the population, the bounding box and the
// background's state. The window draws from it and reads its counts without
// waiting for the run. A view moved or zoomed past the picture is drawn from
// what it has, the summary or the background standing in where the picture
// does not reach, until the next picture comes (answers() tells), which the
// run's thread makes of the same cells, pausing a jump in flight for it:
// reading the universe on the window's thread would stop the run's jump.
// What it cannot answer at all (a cell asked for, a copy) it reads from the
// universe it was made of, after EngineGate::hold(). Read only: the calls
// that would change it throw std::logic_error.
class ViewPicture : public Universe
{
public:
    // The cells shown, and the view's shift (0..62): a pixel for 2^shift x 2^shift cells.
    struct Area {
        CellRect cells;
        int shift = 0;
    };

    // Pixels a picture holds at most.
    static constexpr std::int64_t PixelLimit = std::int64_t(1) << 24;
    // Pixels the summary of the whole pattern holds at most.
    static constexpr std::int64_t SummaryLimit = std::int64_t(1) << 18;

    // A picture of `source` around `view`, or null for a view of more than PixelLimit pixels. `source` is
    // read now, where it may be, and later after a hold: it must outlive the
    // picture. May throw what `source` throws.
    static std::unique_ptr<ViewPicture> of(const Universe &source, const Area &view);

    // The view it was made for.
    const Area &area() const { return madeFor; }
    // Reads what the picture cannot answer from `sameCells` from now on: a
    // universe of the very cells it was made of, such as the document's own
    // universe for a picture made of the run's copy part way through a jump,
    // whose cells are then still those of the generation before it. It must
    // outlive the picture.
    void readFrom(const Universe &sameCells) { source = &sameCells; }

    std::unique_ptr<Universe> clone() const override;
    Topology topology() const override { return shape; }
    const Rule &rule() const override { return cellsRule; }
    void setRule(const Rule &rule) override;
    bool cell(std::int64_t x, std::int64_t y) const override;
    void setCell(std::int64_t x, std::int64_t y, bool alive) override;
    std::uint8_t state(std::int64_t x, std::int64_t y) const override;
    void clear() override;
    void forEachLiveCell(
        const CellRect &area, const std::function<void(std::int64_t x, std::int64_t y)> &visit) const override;
    void forEachCell(const CellRect &area,
        const std::function<void(std::int64_t x, std::int64_t y, std::uint8_t state)> &visit) const override;
    std::uint64_t population() const override;
    std::optional<CellRect> boundingBox() const override { return box; }
    bool backgroundAlive() const override { return background; }
    // Never from the universe: see answers(). Where the picture does not
    // reach, from the summary, zoomed in or out, else the background.
    void render(const CellRect &area, int shift, std::uint8_t *pixels, int columns, int rows,
        std::ptrdiff_t stride) const override;
    void advance(std::uint64_t generations) override;
    // Whether render() of `area` at `shift` (0..62) gives the cells exactly: those that differ from the background lie
    // in the picture, or in the summary at a shift of at least its own, with area.left and area.top on multiples of
    // 2^shift.
    bool answers(const CellRect &area, int shift) const;
    std::uint64_t hash() const override;
    bool equals(const Universe &other) const override;
    std::uint64_t shapeHash() const override;
    bool equalsShifted(const Universe &other, std::int64_t dx, std::int64_t dy) const override;

private:
    // Pixels of a square of pixels, at a pixel per 2^shift x 2^shift cells.
    struct Level {
        int shift = 0;
        std::int64_t left = 0; // the top-left pixel, in pixels of the shift: cell (left << shift, top << shift)
        std::int64_t top = 0;
        std::int64_t columns = 0;
        std::int64_t rows = 0;
        std::vector<std::uint8_t> pixels; // rows of `columns` bytes, as render() gives them

        // Pixels left..right, top..bottom of `source`; may throw what it throws.
        void make(const Universe &source, int shift, std::int64_t left, std::int64_t top, std::int64_t right,
            std::int64_t bottom);
        // The pixel for pixel (x, y) at `shift`: the lowest state not 0 among
        // the pixels of the level it covers, `empty` counted for those past
        // the level, or the pixel that covers it; -1 where the level has none of them.
        int sample(std::int64_t x, std::int64_t y, int shift, std::uint8_t empty) const;
        // Whether pixels x0..x1, y0..y1 of the level's shift lie in it.
        bool holds(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) const;
    };

    explicit ViewPicture(const Universe &source);
    // `source`, once the run's thread has given way.
    const Universe &held() const;
    // answers() for pixels x0..x1, y0..y1 at `shift`, on multiples of 2^shift.
    bool exactly(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1, int shift) const;
    // Whether the pixels of x0..x1, y0..y1 at `shift` that cover the box lie
    // in `level`, at its shift or finer. Precondition: they cover some of it.
    bool within(
        const Level &level, std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1, int shift) const;
    // Whether any of pixels x0..x1, y0..y1 at `shift` covers a cell of the box.
    bool touchesBox(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1, int shift) const;

    const Universe *source; // not owned
    Topology shape;
    Rule cellsRule;
    std::optional<std::uint64_t> live; // none when it does not fit in 64 bits
    std::optional<CellRect> box;
    bool background = false; // alive: then `live` and `box` are those of the cells that differ from it
    Area madeFor;
    Level picture; // the view and some way around
    Level summary; // the whole box, coarse; none (no pixels) when the picture holds it
};

#endif // VIEWPICTURE_H
