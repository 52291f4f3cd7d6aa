#ifndef DIFFERENCEPLANE_H
#define DIFFERENCEPLANE_H

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "model/engine/rule.h"
#include "model/engine/universe.h"

// The unbounded plane as the analysis steps it, a generation at a time: the
// cells that differ from a background that is dead or alive, as
// BackgroundUniverse keeps them, so that a rule with birth on 0 neighbours
// is followed like any other. Its cells are those differences: the live
// cells under a dead background. They step on tiles under Life-like rules
// and on a byte a cell under the other two-state rules; rules of more
// states have no differences of one kind and are refused.
class DifferencePlane
{
public:
    // The empty plane under `rule` with the background dead or alive.
    // Throws UniverseError for a rule of more than two states.
    DifferencePlane(const Rule &rule, bool backgroundAlive);
    DifferencePlane(const DifferencePlane &other);
    DifferencePlane &operator=(const DifferencePlane &other);
    DifferencePlane(DifferencePlane &&) noexcept = default;
    DifferencePlane &operator=(DifferencePlane &&) noexcept = default;
    ~DifferencePlane();

    // Throws as the constructor does, `backgroundAlive` false.
    static void check(const Rule &rule);
    // The rule whose cells the analysis follows for `rule`: Conway's Life for
    // LifeHistory, whose live states step as Life's while the others only
    // mark where cells have been; `rule` itself otherwise.
    static Rule followedRule(const Rule &rule) { return rule.isHistory() ? Rule() : rule; }

    bool backgroundAlive() const { return alive; }
    // Whether the background stays as it is from one generation to the next.
    bool steadyBackground() const { return next[alive] == alive; }
    // The rule without birth on 0 that steps the differences now.
    const Rule &steppedRule() const { return stepped[alive]; }

    // Makes every cell of `cells` differ (within CoordinateLimit; throws UniverseError beyond).
    void setCells(const std::vector<CellPoint> &cells);
    void setCell(std::int64_t x, std::int64_t y, bool differs);
    // One generation on, the background with it.
    void step();
    void advance(std::uint64_t generations);

    // Equal for equal differences on the same background.
    std::uint64_t hash() const;
    bool equals(const DifferencePlane &other) const;
    std::uint64_t population() const { return plane->population(); }
    std::optional<CellRect> boundingBox() const { return plane->boundingBox(); }
    // The differences, row by row.
    std::vector<CellPoint> cells() const;

private:
    Rule stepped[2]; // by the background's state
    bool next[2]; // the background after a dead one and after a live one
    bool alive;
    std::unique_ptr<Universe> plane; // the differences, under stepped[alive] once stepped
};

#endif // DIFFERENCEPLANE_H
