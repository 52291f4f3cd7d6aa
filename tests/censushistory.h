#ifndef CENSUSHISTORY_H
#define CENSUSHISTORY_H

#include <QTest>

#include <algorithm>
#include <functional>

#include "model/analysis/censussearch.h"
#include "model/analysis/runhistory.h"

// 24 soups of `rule`, each `size` x `size` cells of the states `state` gives
// row by row, run by the census on the cells that differ from the background
// one generation at a time, `limit` generations on, and by the run history on
// the universe's own engine, which gives up on a soup of more than `cellLimit`
// cells: a soup the history finds repeating in place holds no ship, so that
// the census must find it stable from the same generation, with the same
// period, cells and background; and one the census finds stable without ships
// must repeat for the history from there. At least four soups must settle so.
// The census of two states and that of many are held to it alike.
inline void compareCensusWithHistory(
    const Rule &rule, std::int64_t limit, std::uint64_t cellLimit, int size, const std::function<std::uint8_t()> &state)
{
    int settled = 0;
    int withShips = 0;
    int leftSome = 0;
    for (int soup = 0; soup < 24; ++soup) {
        const std::unique_ptr<Universe> universe = Universe::create(Topology::unbounded(), rule);
        for (std::int64_t y = 0; y < size; ++y) {
            for (std::int64_t x = 0; x < size; ++x)
                universe->setState(x, y, state());
        }
        const Stabilisation::Result census = CensusSearch::run(*universe, limit);
        RunHistory history(2 * limit);
        history.reset(*universe, 1);
        for (std::int64_t generation = 2;
             !history.isSettled() && generation <= 1 + 2 * limit && universe->population() <= cellLimit; ++generation) {
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
    QVERIFY2(settled >= 4, qPrintable(QString("%1 soups settled").arg(settled)));
    qInfo("%d soups settled, %d with ships, %d leaving more", settled, withShips, leftSome);
}

#endif // CENSUSHISTORY_H
