#ifndef BACKGROUNDUNIVERSE_H
#define BACKGROUNDUNIVERSE_H

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

#include "model/engine/unboundeduniverse.h"
#include "model/engine/universe.h"

// The unbounded plane under a two-state rule with birth on 0 neighbours,
// whose infinite background is born in one generation. The background is
// one state for the whole plane, dead or alive, and an UnboundedUniverse
// holds only the cells that differ from it. Each generation then is a rule
// without birth on 0 applied to those differences: with the background dead
// a rule R steps them as NOT R, leaving the complement of the cells under a
// live background; with the background alive as R(NOT y) (every neighbour
// read the other way round), or, when R has survival on all neighbours and
// the background stays alive, as NOT R(NOT y). steppedRule() derives that
// rule from R's shapes of neighbours, so any two-state rule runs here (Life-
// like, non-totalistic, hexagonal, von Neumann), B0 or not. Where the
// background stays as it is (no B0 and a dead one, S8 and a live one), a jump
// runs at the inner engine's full speed; where it alternates, the inner
// rule changes every generation and the jump goes one generation at a time.
class BackgroundUniverse : public Universe
{
public:
    // The empty plane, background dead. Throws UniverseError for a rule of
    // more than two states.
    explicit BackgroundUniverse(const Rule &rule);
    // The live cells of `cells` as the cells that differ from a background
    // dead or alive (`backgroundAlive`), under `rule`. Throws as above.
    BackgroundUniverse(const UnboundedUniverse &cells, const Rule &rule, bool backgroundAlive = false);

    // Gives `universe` `rule`: the unbounded plane's cells move into a
    // BackgroundUniverse under birth on 0, and back out of one whose
    // background is dead under a rule without it, so that the plane keeps
    // its own engine's ways where it can. Throws UniverseError as setRule()
    // does; then nothing changes. Precondition: `universe` is not null.
    static void applyRule(std::unique_ptr<Universe> &universe, const Rule &rule);

    // The rule without birth on 0 that takes the cells differing from a
    // background dead (`alive` false) or alive one generation on under the
    // two-state `rule`, to the cells differing from the next background; of
    // the same neighbourhood, and Life-like where `rule` is.
    static Rule steppedRule(const Rule &rule, bool alive);
    // The background one generation after a dead (`alive` false) or live one.
    static bool nextBackground(const Rule &rule, bool alive);

    // Every cell of the plane but the differences is alive: population()
    // then counts the dead cells, and boundingBox() holds them.
    bool backgroundAlive() const override { return alive; }
    // The cells that differ from the background, under the rule that steps them next.
    const UnboundedUniverse &differences() const { return cells; }

    std::unique_ptr<Universe> clone() const override;
    Topology topology() const override { return Topology::unbounded(); }
    const Rule &rule() const override { return lifeRule; }
    // Throws UniverseError for a rule of more than two states; then nothing changes.
    void setRule(const Rule &rule) override;

    bool cell(std::int64_t x, std::int64_t y) const override { return cells.cell(x, y) != alive; }
    void setCell(std::int64_t x, std::int64_t y, bool live) override { cells.setCell(x, y, live != alive); }
    // Kills every cell, the background too.
    void clear() override;
    // Under a live background these fill the area's differences, a cell at a time.
    void clearInside(const CellRect &area) override;
    void clearOutside(const CellRect &area) override;

    // Under a live background every cell of `area` not among the differences: as many as the area holds.
    void forEachLiveCell(
        const CellRect &area, const std::function<void(std::int64_t x, std::int64_t y)> &visit) const override;
    // The cells that differ from the background: the live cells under a
    // dead one, the dead cells under a live one. Throws as the inner plane does.
    std::uint64_t population() const override { return cells.population(); }
    // The smallest rectangle holding every cell that differs from the background.
    std::optional<CellRect> boundingBox() const override { return cells.boundingBox(); }
    // Under a live background a pixel of more than one cell is set unless
    // every cell it covers is dead; past 8 x 8 cells a pixel is set
    // wherever the background is alive, since counting its cells would cost
    // more than the picture is worth.
    void render(const CellRect &area, int shift, std::uint8_t *pixels, int columns, int rows,
        std::ptrdiff_t stride) const override;

    // Throws UniverseError when the inner plane does; the universe is then as it was.
    void advance(std::uint64_t generations) override;
    // advance() unless another thread raises `stop` first: then false, the cells unchanged.
    bool advanceUnless(std::uint64_t generations, std::atomic<bool> &stop);

    std::uint64_t hash() const override;
    bool equals(const Universe &other) const override;
    std::uint64_t shapeHash() const override;
    bool equalsShifted(const Universe &other, std::int64_t dx, std::int64_t dy) const override;

private:
    // `rule`, or throws UniverseError for one of more than two states.
    static const Rule &checked(const Rule &rule);
    // Gives `plane` the rule that steps differences from `background`, unless it has it.
    void ruleFor(UnboundedUniverse &plane, bool background) const;

    // Works out the two stepped rules and backgrounds of lifeRule.
    void deriveSteps();

    Rule lifeRule;
    // steppedRule() and nextBackground() of lifeRule by the background's
    // state, worked out once: a blinking background asks for them every generation.
    Rule stepped[2];
    bool following[2] = { false, false };
    bool alive = false; // the background's state
    UnboundedUniverse cells; // the differences, under steppedRule(lifeRule, alive)
};

#endif // BACKGROUNDUNIVERSE_H
