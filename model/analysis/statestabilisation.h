#ifndef STATESTABILISATION_H
#define STATESTABILISATION_H

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/analysis/runhistory.h"
#include "model/analysis/stabilisation.h"
#include "model/analysis/statedcelllist.h"
#include "model/engine/statehashlife.h"

// When a pattern under a Generations rule has settled in the unbounded plane,
// and what it leaves: Stabilisation's answer, for cells with dying states.
// The run steps the pattern less its escaping spaceships, the rest, and a
// run history finds when the rest repeats in place, comparing states.
//
// Every generation the rest is cut into groups of cells no nearer than 3 to
// each other, which cannot change each other in one step. A group that lies
// 3 cells or more outside the box of all the others, that alone comes back
// moved within ShipPeriodLimit generations, and that keeps apart from that
// box and from every ship already out for ever, at the speeds they move, is
// taken out. A ship the rest grows near is put back, so that the
// rest with the ships out is always exactly the pattern. The pattern is
// stable from the first generation G from which the rest, with the ships out
// by then, repeats, every ship apart from all of the rest's phases for ever.
class StateStabilisation
{
public:
    using Cells = StatedCellList::Cells;

    // Groups up to this many cells are tried as spaceships, for up to ShipPeriodLimit generations.
    static constexpr std::size_t ShipCellLimit = 256;
    static constexpr int ShipPeriodLimit = 128;
    // Cells beyond which CensusSearch steps a pattern no further: each
    // generation costs a HashLife step and a cut into groups, and a soup of
    // Brian's Brain grows without end.
    static constexpr std::uint64_t CellLimit = std::uint64_t(1) << 12;

    // Whether a census of `rule` is taken here rather than by Stabilisation: more than two states, not LifeHistory.
    static bool follows(const Rule &rule);

    // Starts with `cells` (any order, within Universe::CoordinateLimit) as
    // generation `firstGeneration` under `rule`. Throws UniverseError for a
    // rule with birth on 0 or a cell beyond the limit. Precondition: follows(rule).
    StateStabilisation(const Cells &cells, const Rule &rule, std::int64_t firstGeneration = 1);

    // As Stabilisation's.
    void advance(std::int64_t generations);
    const Stabilisation::Result &run(std::int64_t generationLimit);
    bool isSettled() const;
    const Stabilisation::Result &result() const { return answer; }
    // Cells not dead at result().lastGeneration, escaping spaceships included.
    std::uint64_t population() const;
    // How the population has grown over the generations looked at so far,
    // as Growth::ofPopulation() tells from the last look at most half as far;
    // none when less than linearly, or too few generations were looked at.
    std::optional<Growth::Report> growthSoFar() const;

private:
    // What a group of cells does alone, when it comes back moved: its phases
    // over a period relative to its first box's top-left corner.
    struct Shape {
        StatedCellList::Phases phases;
        CellRect hull; // of every phase
        int period = 1;
        std::int64_t dx = 0;
        std::int64_t dy = 0;
    };
    // A ship taken out: its cells at generation anchorGeneration + k are
    // shape.phases[k % period] moved by anchor + (k / period) * (dx, dy).
    struct Ship {
        const Shape *shape; // owned by `shapes`
        std::int64_t anchorGeneration;
        CellPoint anchor;
    };
    // A box that holds a thing's cells from now on, once moved by (dx, dy) / period each generation.
    struct Mover {
        CellRect box;
        std::int64_t dx;
        std::int64_t dy;
        std::int64_t period;
    };

    void examine();
    bool putBackShipsNear();
    bool takeOutShips();
    void checkSettled();
    void finish(std::int64_t start, std::int64_t period);
    // The ship `cells` are, if they are one; remembered by shape.
    const Shape *shipShape(const Cells &cells);
    Cells shipCells(const Ship &ship, std::int64_t at) const;
    Mover moverOf(const Ship &ship, std::int64_t at) const;
    // Whether two movers stay 3 cells apart or more for ever.
    static bool apart(const Mover &a, const Mover &b);

    Rule rule;
    std::int64_t firstGeneration;
    std::int64_t generation; // of `rest`
    StateHashLife rest;
    std::vector<Ship> ships; // out now
    std::uint64_t shipPopulation = 0; // their cells now
    RunHistory history; // of the rest, since a ship last went out or came back
    bool restarted = true; // a ship went out or came back this generation
    // The box of every phase of the rest's cycle, for the cycle the history found.
    std::optional<std::optional<CellRect>> cycleHull;
    std::unordered_map<std::string, std::optional<Shape>> shapes; // by key of the normalised group
    std::vector<std::uint64_t> populations; // of each generation from the first, ships included
    Stabilisation::Result answer;
};

#endif // STATESTABILISATION_H
