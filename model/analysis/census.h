#ifndef CENSUS_H
#define CENSUS_H

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/analysis/objectlibrary.h"
#include "model/engine/rule.h"

// One kind of object in a census and how many of it there are.
struct CensusEntry {
    std::string singular; // "loaf", "still life of 14 cells", "period 3 oscillator of 20 cells"
    std::string plural; // "loaves", "still lifes of 14 cells"
    ObjectKind kind = ObjectKind::StillLife;
    int period = 1; // generations until it is back, moved or not
    std::int64_t dx = 0; // cells a spaceship moves to the right each period; 0 for others
    std::int64_t dy = 0; // cells a spaceship moves down each period; 0 for others
    std::uint64_t population = 0; // live cells of the pictured phase
    // The phase to picture, its box's top-left corner at 0, 0, row by row: for
    // the library's objects the phase as typed in, for others the phase with
    // fewest cells.
    std::vector<CellPoint> cells;
    // The state of each of `cells`, in their order, under a rule of more than
    // two states; empty where every cell is alive.
    std::vector<std::uint8_t> states;
    std::uint64_t count = 0;
    bool escaping = false; // spaceships flying away from everything else for ever

    // "2 loaves", "6 gliders (escaping)": the count, the name in the number
    // the count asks for, and whether they escape.
    std::string label() const;
    // Names an object the library does not know by its kind, its period and
    // `size` ("14 cells"): "period 3 oscillator of 20 cells".
    void nameBySize(const std::string &size);
    // The order of a census's list: the most numerous first, then by kind,
    // size and name.
    static bool listedBefore(const CensusEntry &a, const CensusEntry &b);
    // The entries of `kinds` in the census's order.
    static std::vector<CensusEntry> listOf(const std::map<std::string, CensusEntry> &kinds);
};

// What a pattern is made of: its cells split into the smallest pieces that
// each, alone in the plane, evolve exactly as they do within the whole,
// and each piece named from the object library (for Conway's Life) or by
// its kind and size. Two objects that touch, even diagonally, are two
// objects as long as neither changes the other; a traffic light is four
// blinkers. Under birth on 0 neighbours its cells are those that differ from
// the background (DifferencePlane); under a background that blinks every
// object's period is even. LifeHistory is counted as Life
// (DifferencePlane::followedRule()); Generations rules are StateCensus's.
class Census
{
public:
    // The cells to be added differ from a background alive or not. Throws
    // UniverseError for a rule DifferencePlane refuses.
    explicit Census(const Rule &rule, bool backgroundAlive = false);

    // Adds the objects of `cells` (in any order, repeats allowed), a pattern
    // that on its own comes back to its cells, moved or not, after
    // `generations` (1..) generations: a periodic remainder, or a spaceship
    // flying away (`escaping`). Throws UniverseError if a piece grows past
    // Universe::CoordinateLimit.
    void add(std::vector<CellPoint> cells, int generations, bool escaping);

    // Every kind of object added so far: most numerous first, then still
    // lifes, oscillators and spaceships, smaller before larger.
    std::vector<CensusEntry> entries() const;
    // Objects counted, of all kinds.
    std::uint64_t objectCount() const;

private:
    // A piece of the pattern alone: its cells at each generation 0..generations, where they are.
    using Phases = std::vector<std::vector<CellPoint>>;

    // `cells` row by row.
    std::vector<Phases> split(const std::vector<CellPoint> &cells, int generations);
    const Phases &shapePhases(const std::vector<CellPoint> &normalisedCells, int generations);
    Phases evolved(const std::vector<CellPoint> &cells, int generations);
    // `cells` and what they become alone, generation by generation, each row by row.
    Phases run(const std::vector<CellPoint> &cells, int generations) const;
    // Groups of pieces that change each other within `whole`, the cells of
    // the pattern at each generation, row by row; none when no piece does.
    std::vector<std::vector<std::size_t>> interacting(const std::vector<Phases> &pieces, const Phases &whole) const;
    std::vector<std::vector<CellPoint>> splitStill(const std::vector<CellPoint> &cells) const;
    void count(const Phases &piece, bool escaping);
    // ObjectLibrary::conway().find(cells) under Conway's rule, else -1; remembered by shape.
    int libraryIndex(const std::vector<CellPoint> &cells);

    Rule rule;
    bool background; // alive or not where the cells are added
    // The rule that steps the cells every generation alike, when the
    // background lets one: still lifes side by side are split under it.
    std::optional<Rule> splitRule;
    std::map<std::string, CensusEntry> kinds; // by canonical key of the pictured phase, kind and escaping
    // Phases of each shape met, top-left corner of generation 0 at 0, 0, by
    // shape key and number of generations: a field repeats few shapes many times.
    std::map<std::pair<std::string, int>, Phases> shapes;
    // What count() made of each shape key: the key in `kinds` (less the
    // escaping mark) and the entry with count 0.
    std::map<std::string, std::pair<std::string, CensusEntry>> named;
    std::unordered_map<std::string, int> libraryIndices; // by shape key
};

#endif // CENSUS_H
