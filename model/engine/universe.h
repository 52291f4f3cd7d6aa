#ifndef UNIVERSE_H
#define UNIVERSE_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/engine/rule.h"
#include "model/engine/topology.h"

// A rectangle of cells, both corners included, so that no size has to be
// represented: x grows to the right, y downwards. Precondition everywhere:
// left <= right and top <= bottom.
struct CellRect {
    std::int64_t left = 0;
    std::int64_t top = 0;
    std::int64_t right = 0;
    std::int64_t bottom = 0;

    bool contains(std::int64_t x, std::int64_t y) const { return x >= left && x <= right && y >= top && y <= bottom; }
    bool contains(const CellRect &inner) const
    {
        return inner.left >= left && inner.top >= top && inner.right <= right && inner.bottom <= bottom;
    }
    // The cells in both, if any.
    std::optional<CellRect> intersected(const CellRect &other) const
    {
        const CellRect both { std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
            std::min(bottom, other.bottom) };
        if (both.left > both.right || both.top > both.bottom)
            return std::nullopt;
        return both;
    }
    bool operator==(const CellRect &other) const
    {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
    bool operator!=(const CellRect &other) const { return !(*this == other); }

    // The smallest rectangle holding every cell of `cells`, which must not be empty.
    template <typename CellPoints> static CellRect around(const CellPoints &cells)
    {
        CellRect box { cells.front().x, cells.front().y, cells.front().x, cells.front().y };
        for (const CellPoint &cell : cells) {
            box.left = std::min(box.left, cell.x);
            box.right = std::max(box.right, cell.x);
            box.top = std::min(box.top, cell.y);
            box.bottom = std::max(box.bottom, cell.y);
        }
        return box;
    }
};

// What an engine cannot do without giving a wrong answer: run out of its
// memory limit, or count past 64 bits. The universe is left exactly as it
// was before the call that throws it, so no work is lost.
class UniverseError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The one view of a world of cells that the window, the command line, the
// run history, the exports and the undo steps work on, whatever its shape
// and engine. Cells are addressed by 64-bit x (to the right) and y (down):
// 0..width-1 and 0..height-1 in a bounded universe, any value within
// +-CoordinateLimit in the unbounded plane.
class Universe
{
public:
    // The largest |x| and |y| a cell of the unbounded plane may have.
    static constexpr std::int64_t CoordinateLimit = std::int64_t(1) << 60;

    virtual ~Universe() = default;

    // An empty universe of the given shape under `rule`: the classic field
    // packed (without a GameField, which only the window's live field has),
    // a GridUniverse, a StripUniverse, an UnboundedUniverse, or under birth on
    // 0 neighbours a BackgroundUniverse. Throws UniverseError for a topology that is not
    // valid or a rule the universe cannot run.
    static std::unique_ptr<Universe> create(const Topology &topology, const Rule &rule = Rule());
    // The cells a universe of `topology` holds: within +-CoordinateLimit in
    // the unbounded plane and along a strip.
    static CellRect extent(const Topology &topology);

    // An independent copy, cheap enough for every undo step: the unbounded
    // plane shares its nodes, the classic field is copied in bits.
    virtual std::unique_ptr<Universe> clone() const = 0;

    virtual Topology topology() const = 0;
    virtual const Rule &rule() const = 0;
    // Throws UniverseError for a rule the universe cannot run; then nothing changes.
    virtual void setRule(const Rule &rule) = 0;

    // Under rules of more than two states (Rule::stateCount()) a cell is in
    // one of states 0..stateCount() - 1, 0 dead and 1 alive; the calls that
    // speak of live cells take every state but 0 as alive, and setCell(true)
    // sets state 1. A universe whose engine runs only two states has states 0 and 1.

    // A cell outside a bounded universe reads as dead.
    virtual bool cell(std::int64_t x, std::int64_t y) const = 0;
    // Precondition: (x, y) lies inside the universe (within CoordinateLimit
    // in the unbounded plane).
    virtual void setCell(std::int64_t x, std::int64_t y, bool alive) = 0;
    // The state of a cell, 0 outside a bounded universe. This one reads cell().
    virtual std::uint8_t state(std::int64_t x, std::int64_t y) const { return cell(x, y) ? 1 : 0; }
    // Preconditions: as setCell(), and `state` < rule().stateCount(). This one calls setCell().
    virtual void setState(std::int64_t x, std::int64_t y, std::uint8_t state) { setCell(x, y, state != 0); }
    // Kills every cell.
    virtual void clear() = 0;

    // How combine() sets the cells of an area from those of another universe.
    enum class Combination {
        Or, // the other's live cells are added
        Copy, // every cell becomes as in the other
        Xor, // the cells alive in the other change state
    };

    // Kills every cell inside `area`, or every one outside it; `area` may
    // reach past a bounded universe. These ones hold the live cells to kill
    // all at once, visited as forEachLiveCell() visits them.
    virtual void clearInside(const CellRect &area);
    virtual void clearOutside(const CellRect &area);
    // Sets the cells of `area` from those of `source` at the same places;
    // the cells of `source` elsewhere do not count. Precondition: `area` lies
    // inside this universe (within CoordinateLimit in the unbounded plane).
    // This one visits the live cells of `source` in `area` and sets them one by one.
    virtual void combine(const Universe &source, const CellRect &area, Combination how);
    // Makes each cell of `area` alive with probability `density` (0..1),
    // independently of the others, from the cells RandomBits draws from
    // `seed`; the cells outside stay as they are. Precondition as combine().
    // This one sets the live cells one by one.
    virtual void fillRandom(const CellRect &area, double density, std::uint64_t seed);

    // Calls `visit` for every live cell inside `area`, row by row from the
    // top, each row from the left.
    virtual void forEachLiveCell(
        const CellRect &area, const std::function<void(std::int64_t x, std::int64_t y)> &visit) const = 0;
    // Calls `visit` for every cell not dead inside `area` with its state, in
    // the order of forEachLiveCell(). This one visits the live cells as state 1.
    virtual void forEachCell(const CellRect &area,
        const std::function<void(std::int64_t x, std::int64_t y, std::uint8_t state)> &visit) const;
    // Live cells; throws UniverseError if they do not fit in 64 bits.
    virtual std::uint64_t population() const = 0;
    // The smallest rectangle holding every live cell; none when all are dead.
    virtual std::optional<CellRect> boundingBox() const = 0;
    // Whether every cell of the unbounded plane but finitely many is alive,
    // as birth on 0 neighbours makes it: population() and boundingBox() then
    // speak of the dead cells, the ones that differ from the background, and
    // forEachLiveCell() visits every other cell of its area. False here.
    virtual bool backgroundAlive() const { return false; }

    // A picture of `area` at one pixel per 2^shift x 2^shift cells (shift
    // 0..62): `pixels` has `rows` rows of `columns` bytes, `stride` bytes
    // apart; the pixel at (column, row) covers the cells from x =
    // area.left + column * 2^shift and y = area.top + row * 2^shift on, and is
    // set to 0 if all of them are dead, else to the lowest state among them
    // that is not (1 for a live cell of a two-state engine). Pixels past the universe read 0.
    virtual void render(
        const CellRect &area, int shift, std::uint8_t *pixels, int columns, int rows, std::ptrdiff_t stride) const = 0;

    // Advances every cell by `generations` generations of the rule. Throws
    // UniverseError when a limit is reached (memory, coordinates); the
    // universe is then as it was before the call.
    virtual void advance(std::uint64_t generations) = 0;

    // A digest of the cells' states and where they are: equal universes give
    // equal hashes.
    virtual std::uint64_t hash() const = 0;
    // Same topology and the same states at the same places; the rule is not compared.
    virtual bool equals(const Universe &other) const = 0;

    // A digest of the live cells relative to the top-left corner of their
    // bounding box: universes whose cells are moved copies of each other give
    // equal digests. This one visits every live cell.
    virtual std::uint64_t shapeHash() const;
    // Whether `other` holds exactly the cells of this universe, in the same
    // states, moved by dx to the right and dy down, whatever its topology and
    // engine. This one looks up every live cell of this universe in `other`.
    virtual bool equalsShifted(const Universe &other, std::int64_t dx, std::int64_t dy) const;
};

#endif // UNIVERSE_H
