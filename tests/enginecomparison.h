#ifndef ENGINECOMPARISON_H
#define ENGINECOMPARISON_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/engine/rule.h"
#include "model/engine/topology.h"
#include "model/engine/universe.h"

// One start run side by side through every engine that can hold it and
// through a plain count of neighbours, which is too slow for the program but
// cannot be wrong in the ways the engines can: the tiles stepped one
// generation at a time and jumped, HashLife alone, the cells moved between
// the tiles and HashLife before each jump, if asked HashLife of byte
// states (StateHashLife), the unbounded plane as the program runs it, a bounded plane large enough never to be touched,
// and the classic field where the start fits. The bounded ones hold the cells moved, and drop out once the count
// reaches their edge. Used by the test table and by the fuzz target alike; no Qt, so that the fuzz build links it.
class EngineComparison
{
public:
    // `start` at the cells' own coordinates, within +-CoordinateLimit;
    // `reach` is the generations the comparison may run, which sizes the
    // bounded plane, left out if it would have more than `planeCells` cells;
    // `withStates` runs StateHashLife too. Throws UniverseError as the engines do.
    EngineComparison(const std::vector<CellPoint> &start, const Rule &rule, std::uint64_t reach,
        std::uint64_t planeCells = std::uint64_t(1) << 25, bool withStates = false);
    ~EngineComparison();

    // Sets one cell in every engine and in the count; an engine that cannot
    // hold it (outside a bounded one) drops out.
    void edit(std::int64_t x, std::int64_t y, bool alive);
    // Advances each engine by `generations` in its own way: the stepping tiles
    // one at a time, compared at every one, the others in one call. Where the
    // count crosses the edge of the unbounded plane on the way, every
    // unbounded engine must refuse and stay exactly where it was, and the
    // comparison ends.
    void advance(std::uint64_t generations);

    // Empty while every engine agrees with the count, else the first
    // disagreement: which engine, at which generation, and a cell.
    const std::string &mismatch() const { return fault; }
    bool ended() const { return finished; }
    std::uint64_t generation() const { return counted; }
    std::size_t population() const { return cells.size(); }
    // Engine states compared with the count so far, by this comparison.
    std::uint64_t comparisons() const { return compared; }

    // The next generation of `cells` (sorted row by row, each once) by counting neighbours.
    static std::vector<CellPoint> countedNext(const std::vector<CellPoint> &cells, const Rule &rule);
    // Sorted row by row from the top, each row from the left, repeats removed.
    static std::vector<CellPoint> sorted(std::vector<CellPoint> cells);

private:
    struct Engine;

    void compare(Engine &engine);
    bool insideOf(const Engine &engine, const std::vector<CellPoint> &cells) const;

    Rule rule;
    std::vector<CellPoint> cells; // the count's, sorted
    std::vector<std::unique_ptr<Engine>> engines;
    std::uint64_t counted = 0;
    std::uint64_t compared = 0;
    bool finished = false;
    std::string fault;
};

#endif // ENGINECOMPARISON_H
