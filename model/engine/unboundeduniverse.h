#ifndef UNBOUNDEDUNIVERSE_H
#define UNBOUNDEDUNIVERSE_H

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

#include "model/engine/enginerace.h"
#include "model/engine/hashlife.h"
#include "model/engine/statehashlife.h"
#include "model/engine/tilelife.h"
#include "model/engine/universe.h"

// The unbounded plane as the program runs it, with the engine chosen for
// each step: TileLife for generations counted out one by one and for jumps
// of chaotic patterns, where HashLife's memo gains nothing; HashLife for
// jumps of patterns whose parts repeat, whose cost follows what is new in
// the pattern rather than the generations, and for patterns too large to
// hold tile by tile. A jump of more than TileLife::StepLimit generations
// (or a shorter one from cells HashLife holds) races the two, taking turns
// on one thread, and keeps the first to finish; each race starts from what
// the last one found. Both give exactly the same cells; the cells stay with
// the engine of the last step, so a run at one speed pays for a move once.
// Rules that are not Life-like run on StateHashLife alone, a byte a cell.
class UnboundedUniverse : public Universe
{
public:
    // Live cells beyond which even single steps stay with HashLife: moving
    // them into tiles would cost more than the steps gain.
    static constexpr std::uint64_t TileLimit = std::uint64_t(1) << 21;

    // The empty plane. Throws UniverseError for a rule with birth on 0.
    explicit UnboundedUniverse(const Rule &rule = Rule());
    // The cells of `cells`, under its rule, all in state 1.
    explicit UnboundedUniverse(const HashLife &cells);
    UnboundedUniverse(const UnboundedUniverse &other);
    UnboundedUniverse &operator=(const UnboundedUniverse &other);
    ~UnboundedUniverse() override;

    // The cells not dead as a HashLife, sharing its nodes where it holds them that way already.
    HashLife quadtree() const;
    // The cells with their states, where a rule that is not Life-like holds
    // them; else none. Owned by this universe.
    const StateHashLife *stateCells() const { return states.get(); }
    // Sets every cell of `cells` alive; throws UniverseError, changing nothing,
    // for a cell beyond CoordinateLimit or when memory runs out. Dense cells
    // set in the empty plane go to the tiles.
    void setCells(std::vector<CellPoint> cells);

    std::unique_ptr<Universe> clone() const override;
    Topology topology() const override { return Topology::unbounded(); }
    const Rule &rule() const override { return engine().rule(); }
    // Throws UniverseError for a rule with birth on 0, or when memory runs
    // out moving the cells between engines; then nothing changes. Cells keep
    // their states as StateHashLife::setRule() says.
    void setRule(const Rule &rule) override;

    bool cell(std::int64_t x, std::int64_t y) const override { return engine().cell(x, y); }
    void setCell(std::int64_t x, std::int64_t y, bool alive) override;
    std::uint8_t state(std::int64_t x, std::int64_t y) const override { return engine().state(x, y); }
    void setState(std::int64_t x, std::int64_t y, std::uint8_t state) override { engine().setState(x, y, state); }
    void clear() override;
    // These four go to the engine that holds the cells.
    void clearInside(const CellRect &area) override;
    void clearOutside(const CellRect &area) override;
    void combine(const Universe &source, const CellRect &area, Combination how) override;
    void fillRandom(const CellRect &area, double density, std::uint64_t seed) override;
    // The cells inside `area` alone: HashLife's squares shared where it holds
    // the cells, else those cells visited one by one.
    HashLife cellsIn(const CellRect &area) const;

    void forEachLiveCell(
        const CellRect &area, const std::function<void(std::int64_t x, std::int64_t y)> &visit) const override;
    void forEachCell(const CellRect &area,
        const std::function<void(std::int64_t x, std::int64_t y, std::uint8_t state)> &visit) const override
    {
        engine().forEachCell(area, visit);
    }
    std::uint64_t population() const override { return engine().population(); }
    std::optional<CellRect> boundingBox() const override { return engine().boundingBox(); }
    void render(const CellRect &area, int shift, std::uint8_t *pixels, int columns, int rows,
        std::ptrdiff_t stride) const override;

    void advance(std::uint64_t generations) override;
    // advance() unless another thread raises `stop` first: then false, soon
    // after, with the cells unchanged and what HashLife computed remembered.
    bool advanceUnless(std::uint64_t generations, std::atomic<bool> &stop);
    // advanceUnless() under two rules taking turns, generation t from now
    // (t = 0, 1, ...) under rule() for even t and under `odd` for odd t: a
    // jump by HashLife (or StateHashLife) alone, whose results last for as
    // long as the jumps start on an even generation. The rule then is `odd`
    // after an odd count. Throws as advance() does. Precondition: `odd` has
    // rule()'s states and is Life-like where rule() is.
    bool advanceAlternating(std::uint64_t generations, const Rule &odd, std::atomic<bool> &stop);

    // The same digest whichever engine holds the cells.
    std::uint64_t hash() const override;
    bool equals(const Universe &other) const override;
    bool equalsShifted(const Universe &other, std::int64_t dx, std::int64_t dy) const override;

private:
    // Whether `cells`, set in the empty plane, are dense enough to go to the tiles rather than HashLife.
    static bool fillsTiles(const std::vector<CellPoint> &cells);
    // Whether a jump of `generations` races the engines rather than stepping tiles.
    bool racing(std::uint64_t generations) const;
    // A jump by whichever engine finishes first, the two taking turns on
    // this thread; false if `stop` was raised first, the cells then unchanged.
    bool race(std::uint64_t generations, std::atomic<bool> &stop);
    const Universe &engine() const;
    Universe &engine();
    // The cells moved into the other engine, or kept where they are if they are there already.
    void useHashLife();
    void useTileLife();

    // `states` holds the cells under a rule that is not Life-like; else
    // `jumps` or `steps`, or both while they hold the same cells: HashLife's
    // copy of the tiles' cells, built by a race that was stopped, stays until
    // the cells change, so that the next race does without building it again.
    std::optional<HashLife> jumps;
    std::unique_ptr<TileLife> steps;
    // What the last race showed, so that the next one starts from it.
    EngineRace::History lastRace;
    std::unique_ptr<StateHashLife> states;
};

#endif // UNBOUNDEDUNIVERSE_H
