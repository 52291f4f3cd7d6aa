#ifndef STABILISATION_H
#define STABILISATION_H

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <queue>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/analysis/census.h"
#include "model/analysis/differenceplane.h"
#include "model/analysis/growth.h"
#include "model/engine/rule.h"

// When a pattern in the unbounded plane has settled, and what it leaves.
// Such a pattern rarely repeats as a whole, since its gliders fly away for
// ever; it is stable from generation G on when from G on it is periodic
// apart from spaceships that fly away and never meet anything again.
//
// The run steps the pattern less the spaceships already known to escape:
// each one far from everything else and heading away is taken out, and put
// back should anything grow near its path, so that the rest with the escaped
// ships is always exactly the pattern. Once the rest repeats and every
// escaped ship is apart from it and from each other for ever, the first such
// G is found by going back through the generations, each compared in full.
// A gun sends ships away without end: each is looked at less often the
// farther it is, and ships alike are compared with a new one all at once, so
// that a generation costs little more with thousands of them out. A pattern
// that grows as a gun or a puffer never settles: Growth looks for one now
// and then, so that the run can stop and say so.
//
// Under birth on 0 neighbours the cells followed are those that differ from
// the background, a DifferencePlane: objects are groups of them, and a
// repeat needs the background as it was, so that under a background that
// blinks every period is even.
class Stabilisation
{
public:
    enum class Outcome {
        Running, // not settled within the generations looked at so far
        Stable, // periodic from stableSince on, apart from escaping spaceships
        DiedOut, // no live cell from stableSince on
        NotStable, // not found stable within the generations run() was given
        Grows, // does not settle but grows as `growth` tells
    };

    struct Result {
        Outcome outcome = Outcome::Running;
        std::int64_t firstGeneration = 1; // the generation the census started at
        std::int64_t stableSince = 0; // G; for a pattern that died out, the first generation without cells
        int period = 0; // P, of what stays; 1 when nothing stays
        std::uint64_t population
            = 0; // live cells at G, escaping spaceships included; dead ones under a live background
        bool backgroundAlive = false; // at G, under birth on 0 neighbours
        bool backgroundBlinks = false; // from one generation to the next, under birth on 0 without survival on 8
        std::int64_t lastGeneration = 0; // the last generation looked at
        std::vector<CensusEntry> census; // what stays and what escapes, once Stable
        std::optional<Growth::Report> growth; // once Grows

        // The generations from the first looked at to G (130 for the diehard
        // from generation 1), so that a census taken k generations later says
        // max(0, lifespan - k), in the window as on the command line.
        std::int64_t lifespan() const { return stableSince - firstGeneration; }
        // Spaceships flying away, of all kinds.
        std::uint64_t escapingCount() const;
        // What it says of the pattern: "lifespan 1103, 116 cells, period 2"
        // ("every cell alive but 8" under a live background, and "on a
        // background that blinks" where it does),
        // "dies out, lifespan 130" or "not stable after 1000000 generations",
        // `generationLimit` being the generations given to look at (fewer
        // when lastGeneration says fewer were looked at); then, once
        // Stable, a line per kind of object, such as "  6 gliders (escaping)".
        // Once it Grows, Growth::Report::lines().
        std::vector<std::string> lines(std::int64_t generationLimit) const;
    };

    // Starts with `cells` (in any order, repeats allowed, within
    // Universe::CoordinateLimit) as generation `firstGeneration` (1 for a file
    // as opened) under `rule`, the cells differing from a background alive
    // or not. Throws UniverseError for a rule DifferencePlane refuses or a
    // cell beyond the limit.
    Stabilisation(const std::vector<CellPoint> &cells, const Rule &rule, std::int64_t firstGeneration = 1,
        bool backgroundAlive = false);

    // Looks at up to `generations` more generations, fewer once settled:
    // slices for a caller that keeps a window responsive. Throws UniverseError
    // if the pattern grows past Universe::CoordinateLimit or the generation
    // count past 64 bits; what was found so far stays.
    void advance(std::int64_t generations);
    // Looks until settled, at most `generationLimit` generations past the
    // first; NotStable if it has not settled by then, or Grows if its
    // population has grown at least linearly since the last look for growth.
    const Result &run(std::int64_t generationLimit);

    // Settled, died out, or found to grow as a gun or a puffer: nothing more to look at.
    bool isSettled() const { return answer.outcome != Outcome::Running && answer.outcome != Outcome::NotStable; }
    const Result &result() const { return answer; }
    // Live cells at result().lastGeneration, escaping spaceships included.
    std::uint64_t population() const;
    // The live cells at result().lastGeneration, escaping spaceships included, in no order.
    std::vector<CellPoint> cells() const;

private:
    // A spaceship taken out of the run: its cells at generation `anchorGeneration` + k
    // are phases[k % period] moved by anchor + (k / period) * (dx, dy), for any k.
    struct Ship {
        std::vector<std::vector<CellPoint>> phases; // relative to the anchor
        std::vector<CellRect> boxes; // of each phase, relative to the anchor
        int period = 1;
        std::int64_t dx = 0;
        std::int64_t dy = 0;
        std::int64_t anchorGeneration = 0;
        CellPoint anchor;
        std::int64_t removedAt = 0; // the generation it was taken out at
        std::int64_t returnedAt = 0; // the generation it was put back at; INT64_MAX while it escapes
        std::int64_t nextLook = 0; // the generation it may first come near the rest at, while it escapes
    };
    // Taking a ship out or putting it back, as the run did it after a step.
    struct Event {
        std::int64_t generation;
        std::size_t ship;
        bool removed;
    };
    // What a cluster of cells does alone: whether it moves, and its phases
    // relative to its first top-left corner.
    struct Shape {
        bool moves = false;
        int period = 0;
        std::int64_t dx = 0;
        std::int64_t dy = 0;
        std::vector<std::vector<CellPoint>> phases;
        std::vector<CellRect> boxes;
    };
    // A box that moves by dx, dy every period generations, for as long as one likes.
    struct Mover {
        CellRect box; // every cell over the next period generations, before any move
        std::int64_t dx;
        std::int64_t dy;
        int period;
    };
    // Escaping ships of one velocity whose anchor generations agree modulo
    // their period, so that they move as one: the box of all their movers, in
    // a frame that moves with them.
    struct Fleet {
        std::int64_t dx;
        std::int64_t dy;
        int period;
        std::int64_t residue; // anchor generations modulo period, 0..period-1
        // For r in 0..period-1: the movers at residue + r + k * period moved
        // back by k periods, for every member.
        std::vector<CellRect> hulls;
        std::vector<std::size_t> members; // indices in ships
    };
    // The rest, once it repeats: its phases from the generation it was found
    // at, and the box of them all.
    struct Cycle {
        std::int64_t generation; // of the first phase
        std::vector<DifferencePlane> phases;
        std::optional<CellRect> box;
    };

    void examine();
    void lookForGrowth();
    void returnShipsNearRest();
    void removeEscapingShips();
    void findCycle();
    bool shipsApartFromCycle() const;
    void finish();
    // What `cluster` does alone from now on, with the background of `rest`.
    const Shape &shapeOf(const std::vector<CellPoint> &cluster);
    // A ship of `shape` (which moves) leaving now, its first phase's box's top-left corner at `anchor`.
    Ship shipOf(const Shape &shape, CellPoint anchor) const;
    // Whether `cluster` is a spaceship; none for a shape not met before unless `tryNewShape`.
    std::optional<bool> moves(const std::vector<CellPoint> &cluster, bool tryNewShape);
    std::vector<CellPoint> shipCells(const Ship &ship, std::int64_t generation) const;
    CellRect shipBox(const Ship &ship, std::int64_t generation) const;
    Mover moverOf(const Ship &ship, std::int64_t generation) const;
    static bool apart(const Mover &a, const Mover &b);
    // Whether `mover` keeps apart from every escaping ship for ever.
    bool apartFromEscaping(const Mover &mover) const;
    void takeOut(Ship ship);
    void putBack(std::size_t index);
    void lookAt(std::size_t index, std::int64_t at);
    void joinFleet(std::size_t index);
    void leaveFleet(std::size_t index);
    // The rest at generations from..to, each after its events: stepped from the checkpoint before.
    std::vector<DifferencePlane> restBetween(std::int64_t from, std::int64_t to) const;
    void applyEvent(DifferencePlane &plane, const Event &event) const;
    static void setCells(DifferencePlane &plane, const std::vector<CellPoint> &cells, bool differ);
    void keepCheckpoint();

    Rule rule;
    std::int64_t firstGeneration;
    std::int64_t generation; // of `rest`
    DifferencePlane rest; // the pattern less the escaping ships
    std::vector<Ship> ships; // every ship ever taken out
    std::vector<std::size_t> escaping; // indices in ships of those out now
    std::vector<Fleet> fleets; // of the escaping ships
    // (Ship::nextLook, index in ships) of the escaping ships, the soonest on
    // top; an entry whose generation is not its ship's nextLook any more is void.
    std::priority_queue<std::pair<std::int64_t, std::size_t>, std::vector<std::pair<std::int64_t, std::size_t>>,
        std::greater<>>
        looks;
    std::vector<Event> events; // in the order of the run
    std::int64_t lastEventGeneration;
    std::map<std::int64_t, DifferencePlane> checkpoints; // the rest at some generations, after their events
    std::int64_t checkpointInterval;
    // Generations since the last event by the hash of the rest: the first repeat shows a cycle.
    std::unordered_map<std::uint64_t, std::vector<std::int64_t>> seen;
    std::optional<Cycle> cycle;
    std::unordered_map<std::string, Shape> shapes; // by shape key of the cluster and the background
    // Whether a cluster moves, by a digest of its cells relative to its box:
    // most clusters are looked at again and again, and a shape key costs more.
    std::unordered_map<std::uint64_t, bool> movesByDigest;
    std::map<std::int64_t, std::uint64_t> lookedPopulations; // by generations after the first, at each look for growth
    Result answer;
};

#endif // STABILISATION_H
