#ifndef CENSUSHISTORY_H
#define CENSUSHISTORY_H

#include <QByteArray>
#include <QTest>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>

#include "model/analysis/censussearch.h"
#include "model/analysis/runhistory.h"
#include "model/analysis/stabilisation.h"
#include "model/engine/universe.h"

// Soups run by the census on the cells that differ from the background one
// generation at a time, and by the run history on the universe's own engine:
// a soup the history finds repeating in place holds no ship, so that the
// census must find it stable from the same generation, with the same period,
// cells and background; and one the census finds stable without ships must
// repeat for the history from there. The census of two states and that of
// many are held to it alike.
struct CensusAgainstHistory {
    int settled = 0; // soups compared: in place for the history, or without ships for the census
    int withShips = 0;
    int leftSome = 0; // soups the census finds leaving objects that stay

    // Compares 24 soups of `rule`, each one made by `fill` in an empty
    // unbounded plane, with the census looking `limit` generations on. The
    // history gives up on a soup once it has more than `cellLimit` cells.
    // Fails the current test at the first soup on which the two disagree.
    void compare(const Rule &rule, std::int64_t limit, std::uint64_t cellLimit,
        const std::function<void(Universe &universe)> &fill)
    {
        for (int soup = 0; soup < 24; ++soup) {
            const std::unique_ptr<Universe> universe = Universe::create(Topology::unbounded(), rule);
            fill(*universe);
            const Stabilisation::Result census = CensusSearch::run(*universe, limit);
            RunHistory history(2 * limit);
            history.reset(*universe, 1);
            for (std::int64_t generation = 2;
                 !history.isSettled() && generation <= 1 + 2 * limit && universe->population() <= cellLimit;
                 ++generation) {
                universe->advance(1);
                history.append(*universe, generation);
            }
            // Settled early enough for the census to see the repeat too.
            const bool inPlace = history.isSettled() && history.fate() != RunHistory::Fate::Moving
                && history.cycleStart() + 2 * history.period() + 64 <= limit;
            const bool noShips = (census.outcome == Stabilisation::Outcome::Stable && census.escapingCount() == 0)
                || census.outcome == Stabilisation::Outcome::DiedOut;
            withShips += census.escapingCount() > 0 ? 1 : 0;
            leftSome += std::any_of(
                census.census.begin(), census.census.end(), [](const CensusEntry &entry) { return !entry.escaping; });
            if (!inPlace && !noShips)
                continue;
            ++settled;
            const QByteArray which = "soup " + QByteArray::number(soup);
            QVERIFY2(noShips && history.isSettled() && history.fate() != RunHistory::Fate::Moving, which);
            QCOMPARE(census.stableSince, history.cycleStart());
            QCOMPARE(std::int64_t(census.period), history.period());
            QCOMPARE(census.population, history.population(history.cycleStart()));
            QCOMPARE(census.backgroundAlive, history.cycleBackgroundAlive());
            QCOMPARE(census.backgroundBlinks, history.backgroundBlinks());
            QCOMPARE(census.outcome == Stabilisation::Outcome::DiedOut, history.fate() == RunHistory::Fate::DiedOut);
            std::uint64_t counted = 0;
            for (const CensusEntry &entry : census.census)
                counted += entry.count;
            QVERIFY2((counted == 0) == (census.population == 0), which);
        }
    }
};

#endif // CENSUSHISTORY_H
