#ifndef GROWTHWATCH_H
#define GROWTHWATCH_H

#include <cstdint>
#include <map>
#include <optional>

#include "model/analysis/growth.h"
#include "model/engine/universe.h"

// Whether a run that has not settled keeps growing, told as the census tells
// it, so that a run history can stop looking for a cycle that will not come:
// the records of a pattern that grows cost more and more, and a quadratic
// grower's would take hours to reach a million generations. It looks at
// the first record at or past every doubling of the generations from
// FirstLook on. From Growth::FirstLook on it looks for a gun or a puffer in
// a pattern of Growth::CellLimit cells at most (the unbounded plane only,
// under the rules the analysis steps); a pattern that has been past
// CensusSearch::CellLimit cells since the last look, which the census takes
// as not stable, grows as its population over the last doubling tells
// (Growth::ofPopulation).
class GrowthWatch
{
public:
    // Generations after the start of the first look.
    static constexpr std::int64_t FirstLook = 64;

    // Generations after the start of the next look, FirstLook..INT64_MAX.
    std::int64_t nextLook() const { return next; }
    // Told of every record: looks at `universe` as it is `generations` (0..)
    // after the start, with `population` cells (its population()), when that is nextLook() or
    // later: how it grows, if it is found to. A rule the analysis cannot
    // step, or a pattern it cannot follow, leaves the population to tell.
    std::optional<Growth::Report> look(const Universe &universe, std::int64_t generations, std::uint64_t population);
    // How a pattern with `population` cells `generations` after the start,
    // not settled by then, grew since the last look at most halfway there, as
    // the census tells it at its limit; none when less than about linearly.
    std::optional<Growth::Report> grown(std::int64_t generations, std::uint64_t population) const;

private:
    std::int64_t next = FirstLook;
    std::map<std::int64_t, std::uint64_t> looked; // populations by generations after the start
    std::uint64_t largest = 0; // the largest population told since the last look
};

#endif // GROWTHWATCH_H
