#include "model/analysis/growthwatch.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <vector>

#include "model/analysis/celllist.h"
#include "model/analysis/censussearch.h"

std::optional<Growth::Report> GrowthWatch::look(
    const Universe &universe, std::int64_t generations, std::uint64_t population)
{
    largest = std::max(largest, population);
    if (generations < next)
        return std::nullopt;
    while (next <= generations)
        next
            = next > std::numeric_limits<std::int64_t>::max() / 2 ? std::numeric_limits<std::int64_t>::max() : 2 * next;
    std::optional<Growth::Report> found;
    if (generations >= Growth::FirstLook && population <= Growth::CellLimit
        && universe.topology() == Topology::unbounded()) {
        try {
            found = Growth::repeating(CellList::differences(universe), universe.rule(), universe.backgroundAlive());
        } catch (const UniverseError &) {
            // Not stepped by the analysis, or grown past its coordinates.
        }
    }
    // A population that swings, as under birth on 0 neighbours, may be small at the look itself.
    if (!found && largest > CensusSearch::CellLimit)
        found = grown(generations, population);
    looked.emplace(generations, population);
    largest = 0;
    return found;
}

std::optional<Growth::Report> GrowthWatch::grown(std::int64_t generations, std::uint64_t population) const
{
    const auto after = looked.upper_bound(generations / 2);
    if (after == looked.begin())
        return std::nullopt;
    const auto earlier = std::prev(after);
    return Growth::ofPopulation(earlier->first, earlier->second, generations, population);
}
