#ifndef GROWTH_H
#define GROWTH_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/analysis/census.h"
#include "model/engine/rule.h"

// How a pattern that never settles grows, so that a census can say more of
// it than "not stable": a gun (what stays repeats and sends the same ships
// away every period), a puffer (a part that moves and leaves a trail the same
// way every period), or else how fast its population grows over the
// generations looked at. Only what is seen is claimed: a gun is a gun from
// the generation it is looked at on, over the periods compared.
class Growth
{
public:
    enum class Kind {
        Gun,
        Puffer,
        Linear, // population about proportional to the generations
        Quadratic, // about proportional to their square
        Faster,
    };

    struct Report {
        Kind kind = Kind::Linear;
        int period = 0; // of a gun or a puffer, in generations
        std::int64_t dx = 0; // a puffer's move each period, to the right
        std::int64_t dy = 0; // and down
        std::vector<CensusEntry> ships; // a gun's ships sent away each period, `count` of each
        std::int64_t generations = 0; // Linear and faster: the generations looked at
        std::uint64_t population = 0; // Linear and faster: live cells after them

        // "gun, period 30" and "  1 glider (escaping) every 30 generations";
        // "puffer, period 16, moves by (0, -2) every 16 generations, leaves
        // debris"; "grows linearly, 2451 cells after 10000 generations".
        std::vector<std::string> lines() const;
    };

    // Periods looked for, in generations.
    static constexpr int PeriodLimit = 256;
    // A census looks for growth FirstLook generations after its start, then
    // after twice as many, and so on.
    static constexpr std::int64_t FirstLook = 1024;
    // Live cells beyond which a census does not look for a gun or a puffer.
    static constexpr std::size_t CellLimit = std::size_t(1) << 14;

    // Whether a census started `generations` (0..) ago looks for growth now.
    static bool looksAt(std::int64_t generations);
    // The generations after its start of the last look at most half
    // `generations` after it, so that growth is measured over a doubling at
    // least; 0 when there is none.
    static std::int64_t lastLookByHalf(std::int64_t generations);

    // Whether `cells` (in any order, no repeats), from now on under `rule`,
    // repeat their growth as a gun or a puffer of period PeriodLimit at most,
    // over 2 * PeriodLimit generations; the cells differ from a background
    // alive or not (DifferencePlane). Throws UniverseError if the pattern
    // grows past Universe::CoordinateLimit.
    static std::optional<Report> repeating(
        const std::vector<CellPoint> &cells, const Rule &rule, bool backgroundAlive = false);

    // How a pattern grows from `earlier` live cells after `earlierGenerations`
    // (1..) to `later` cells after `generations` (> earlierGenerations): none
    // when less than about linearly.
    static std::optional<Report> ofPopulation(
        std::int64_t earlierGenerations, std::uint64_t earlier, std::int64_t generations, std::uint64_t later);
};

#endif // GROWTH_H
