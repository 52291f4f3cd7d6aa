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
// shows and some way around, made where the store may be read, with the
// population, the bounding box and the background's state. The window draws from it and reads its counts without
// waiting for the run; anything it cannot answer (a view moved past it, a cell asked for) it reads from the universe it
// was made of, after EngineGate::hold(). Read only: the calls that would change it throw std::logic_error.
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

    // A picture of `source` around `view`, or null for a view of more than PixelLimit pixels. `source` is
    // read now, where it may be, and later after a hold: it must outlive the
    // picture. May throw what `source` throws.
    static std::unique_ptr<ViewPicture> of(const Universe &source, const Area &view);

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
    // From the picture when the shift is its own and the cells asked for
    // that differ from the background lie in it.
    void render(const CellRect &area, int shift, std::uint8_t *pixels, int columns, int rows,
        std::ptrdiff_t stride) const override;
    void advance(std::uint64_t generations) override;
    std::uint64_t hash() const override;
    bool equals(const Universe &other) const override;
    std::uint64_t shapeHash() const override;
    bool equalsShifted(const Universe &other, std::int64_t dx, std::int64_t dy) const override;

private:
    explicit ViewPicture(const Universe &source);
    // `source`, once the run's thread has given way.
    const Universe &held() const;

    const Universe *source; // not owned
    Topology shape;
    Rule cellsRule;
    std::optional<std::uint64_t> live; // none when it does not fit in 64 bits
    std::optional<CellRect> box;
    bool background = false; // alive: then `live` and `box` are those of the cells that differ from it
    int shift = 0;
    std::int64_t left = 0; // the top-left pixel, in pixels of the shift: cell (left << shift, top << shift)
    std::int64_t top = 0;
    std::int64_t columns = 0;
    std::int64_t rows = 0;
    std::vector<std::uint8_t> pixels; // rows of `columns` bytes, as render() gives them
};

#endif // VIEWPICTURE_H
