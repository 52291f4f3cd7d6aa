#ifndef STRIPUNIVERSE_H
#define STRIPUNIVERSE_H

#include <cstdint>
#include <memory>
#include <optional>

#include "model/engine/griduniverse.h"
#include "model/engine/universe.h"

// An endless strip or tube (Topology::isStrip()): unbounded lengthwise,
// bounded across. Its cells live in a GridUniverse window of the strip,
// every rule family as the grid runs it, that follows the pattern: before
// k generations are stepped the window is made to reach at least k cells
// past the pattern at both ends, so that nothing live comes near the
// window's own ends (joined into a torus where the strip is a tube, dead
// where it is a plane) and the grid steps exactly the cells of the endless
// strip. Rules with birth on 0 neighbours, which would fill the endless
// length at once, are refused.
class StripUniverse : public Universe
{
public:
    // Throws UniverseError unless `topology` is a valid strip and `rule` has no birth on 0.
    explicit StripUniverse(const Topology &topology, const Rule &rule = Rule());
    StripUniverse(const StripUniverse &other);
    StripUniverse &operator=(const StripUniverse &) = delete;

    // Copies the window's cells.
    std::unique_ptr<Universe> clone() const override;
    Topology topology() const override { return shape; }
    const Rule &rule() const override { return window->rule(); }
    // Throws UniverseError for birth on 0, or as GridUniverse::setRule(); then nothing changes.
    void setRule(const Rule &rule) override;

    bool cell(std::int64_t x, std::int64_t y) const override { return state(x, y) != 0; }
    // Throws std::out_of_range for a cell past the edges across or past
    // CoordinateLimit lengthwise, UniverseError when the window would hold
    // more than Topology::MaxBoundedCells cells.
    void setCell(std::int64_t x, std::int64_t y, bool alive) override { setState(x, y, alive ? 1 : 0); }
    std::uint8_t state(std::int64_t x, std::int64_t y) const override;
    // Throws as setCell().
    void setState(std::int64_t x, std::int64_t y, std::uint8_t state) override;
    void clear() override;
    void clearInside(const CellRect &area) override;
    void clearOutside(const CellRect &area) override;

    void forEachLiveCell(
        const CellRect &area, const std::function<void(std::int64_t x, std::int64_t y)> &visit) const override;
    void forEachCell(const CellRect &area,
        const std::function<void(std::int64_t x, std::int64_t y, std::uint8_t state)> &visit) const override;
    std::uint64_t population() const override { return window->population(); }
    std::optional<CellRect> boundingBox() const override;
    void render(const CellRect &area, int shift, std::uint8_t *pixels, int columns, int rows,
        std::ptrdiff_t stride) const override;

    // Throws UniverseError, changing nothing, when the pattern may pass
    // CoordinateLimit lengthwise within the generations stepped, or its
    // window would hold more than Topology::MaxBoundedCells cells.
    void advance(std::uint64_t generations) override;

    std::uint64_t hash() const override;
    bool equals(const Universe &other) const override;

private:
    // Whether the strip runs along x (its width is 0) rather than along y.
    bool alongX() const { return shape.width() == 0; }
    // The window's cell that the strip's (x, y) is, moved lengthwise.
    CellPoint inWindow(std::int64_t x, std::int64_t y) const;
    CellPoint inStrip(std::int64_t x, std::int64_t y) const;
    // The strip's cells the window holds.
    CellRect windowArea() const;
    // `area` cut to the window, in the window's places; none when they share no cell.
    std::optional<CellRect> windowPart(const CellRect &area) const;
    // Makes the window hold lengthwise `low`..`high` and `margin` cells more
    // each way, and room to grow, unless it does; the cells it holds stay.
    // Throws as advance().
    void reach(std::int64_t low, std::int64_t high, std::int64_t margin);
    // Steps 1..Chunk generations; returns whether the cells differ from those before.
    bool stepWithin(std::uint64_t generations);

    Topology shape;
    std::int64_t start = 0; // the first place lengthwise the window holds
    std::unique_ptr<GridUniverse> window; // never null
};

#endif // STRIPUNIVERSE_H
