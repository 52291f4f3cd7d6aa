#ifndef CELLSUMMARIES_H
#define CELLSUMMARIES_H

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

#include "model/engine/universe.h"

// What is read off cells that no longer change, kept for all that share
// them: the population, the hash from one seed, the box of the cells not 0
// and an overview to draw from zoomed out. Each is worked out by the function
// given, on whichever thread asks first, outside the lock: a second thread
// asking meanwhile works it out too rather than waits. Safe to use from any
// thread; `Overview` is what the cells' overview holds.
template <typename Overview> class CellSummaries
{
public:
    // Each: the value kept, or else the one compute() returns, then kept.
    template <typename Compute> std::uint64_t population(Compute compute) { return kept(knownPopulation, compute); }
    template <typename Compute> std::optional<CellRect> boundingBox(Compute compute) { return kept(knownBox, compute); }
    // compute() returns the Overview.
    template <typename Compute> std::shared_ptr<const Overview> overview(Compute compute)
    {
        return kept(knownOverview, [&compute] { return std::make_shared<const Overview>(compute()); });
    }
    // The hash from `seed`: kept for the last seed asked.
    template <typename Compute> std::uint64_t hash(std::uint64_t seed, Compute compute)
    {
        {
            const std::lock_guard<std::mutex> lock(mutex);
            if (knownHash && knownHash->first == seed)
                return knownHash->second;
        }
        const std::uint64_t digest = compute();
        const std::lock_guard<std::mutex> lock(mutex);
        knownHash.emplace(seed, digest);
        return digest;
    }

    // Forgets them all, before the cells change.
    void forget()
    {
        const std::lock_guard<std::mutex> lock(mutex);
        knownPopulation.reset();
        knownHash.reset();
        knownBox.reset();
        knownOverview.reset();
    }

private:
    template <typename T, typename Compute> T kept(std::optional<T> &known, Compute compute)
    {
        {
            const std::lock_guard<std::mutex> lock(mutex);
            if (known)
                return *known;
        }
        T made = compute();
        const std::lock_guard<std::mutex> lock(mutex);
        if (!known)
            known = std::move(made);
        return *known;
    }

    std::mutex mutex; // guards what follows
    std::optional<std::uint64_t> knownPopulation;
    std::optional<std::pair<std::uint64_t, std::uint64_t>> knownHash; // seed, hash
    std::optional<std::optional<CellRect>> knownBox;
    std::optional<std::shared_ptr<const Overview>> knownOverview;
};

#endif // CELLSUMMARIES_H
