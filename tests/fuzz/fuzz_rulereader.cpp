// Any bytes as a rule, through Rule::read, which the pattern files' headers,
// --rule and the window's rule box all go through. Beyond not crashing, the
// reader must keep its promise: refuse with a one-line message and leave the
// rule alone, or hand out a rule whose notation and name read back as itself,
// and a universe whose suffix reads back as itself and whose edges join
// inside, endless strips included.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "model/engine/rule.h"
#include "tests/fuzz/fuzzrequire.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const Rule seeds = [] {
        Rule rule;
        std::string unused;
        Rule::read("B2/S", rule, unused);
        return rule;
    }();
    Rule rule = seeds;
    std::optional<Topology> topology = Topology::classic();
    std::string error;
    if (!Rule::read(std::string_view(reinterpret_cast<const char *>(data), size), rule, topology, error)) {
        require(!error.empty() && error.find_first_of("\r\n") == std::string::npos, "a refusal says why, on one line");
        require(rule == seeds && topology == Topology::classic(), "a refused rule leaves the rule alone");
        return 0;
    }
    require(rule.birthCounts() < (1U << 9) && rule.survivalCounts() < (1U << 9), "counts are 0..8");
    require(rule.stateCount() >= 2 && rule.stateCount() <= 256, "a rule has 2 to 256 states");
    require(!rule.isLifeLike() || rule.isTotalistic(), "a Life-like rule counts neighbours alone");
    require(!topology
            || (topology->isValid() && (topology->isBounded() || topology->isStrip())
                && topology->kind() != Topology::Kind::Classic),
        "a suffix names a bounded surface or a strip within the limits");
    if (topology && topology->isStrip()) {
        // Lengthwise anywhere; across, a tube joins its edges and a strip ends at them.
        const bool alongX = topology->width() == 0;
        const std::int64_t across = topology->across();
        for (const std::int64_t along : { std::int64_t(-3), std::int64_t(0), std::int64_t(1) << 40 }) {
            for (const std::int64_t side : { std::int64_t(-1), std::int64_t(0), across - 1, across }) {
                const std::optional<CellPoint> cell
                    = alongX ? topology->wrap(along, side) : topology->wrap(side, along);
                const bool inside = side >= 0 && side < across;
                const std::int64_t cellSide = cell ? (alongX ? cell->y : cell->x) : -1;
                require(cell ? (alongX ? cell->x : cell->y) == along && cellSide >= 0 && cellSide < across
                            && (!inside || cellSide == side)
                             : topology->kind() == Topology::Kind::Plane && !inside,
                    "a strip's place stands for a cell across it, the same lengthwise");
            }
        }
    } else if (topology) {
        // Every place one cell past an edge or a corner stands for a cell inside, but in a plane.
        const std::int64_t right = topology->width();
        const std::int64_t bottom = topology->height();
        for (const std::int64_t x : { std::int64_t(-1), std::int64_t(0), right / 2, right - 1, right }) {
            for (const std::int64_t y : { std::int64_t(-1), std::int64_t(0), bottom / 2, bottom - 1, bottom }) {
                const std::optional<CellPoint> cell = topology->wrap(x, y);
                const bool inside = x >= 0 && y >= 0 && x < right && y < bottom;
                require(cell ? cell->x >= 0 && cell->y >= 0 && cell->x < right && cell->y < bottom
                             : topology->kind() == Topology::Kind::Plane && !inside,
                    "a place past an edge stands for a cell inside");
                require(!inside || (cell && *cell == (CellPoint { x, y })), "a cell inside stands for itself");
            }
        }
    }
    Rule again;
    require(Rule::read(rule.toString(), again, error) && again == rule, "the notation reads back as the rule");
    std::optional<Topology> topologyAgain;
    if (topology)
        require(Rule::read(rule.toString(*topology), again, topologyAgain, error) && again == rule
                && topologyAgain == topology,
            "the notation with its suffix reads back as the rule and the universe");
    const std::string name = rule.name();
    if (!name.empty())
        require(Rule::read(name, again, error) && again == rule, "the name reads back as the rule");
    return 0;
}
