#ifndef STEPMEMO_H
#define STEPMEMO_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/engine/bitmix.h"

// The results of a node store's successor() for steps shorter than a node's
// own, keyed by node and exponent. A node keeps the result of its own step
// beside its quarters; a jump of another length asks the nodes above the
// step's level for one result more each, and those live here, in one
// open-addressed table shared by the store's nodes. Only a cache: an entry
// lost costs its recomputation, never a cell. `Id` is the store's node id,
// 0 standing for no node. The exponent is 0..255: a store may fold into it
// more than the step's length, such as which of its rules the step is under.
template <typename Id> class StepMemo
{
public:
    // successor(id, exponent), or 0 while unknown.
    Id find(Id id, int exponent) const
    {
        if (entries.empty())
            return 0;
        const std::size_t mask = entries.size() - 1;
        for (std::size_t slot = slotOf(id, exponent, mask);; slot = (slot + 1) & mask) {
            const Entry &entry = entries[slot];
            if (entry.id == 0)
                return 0;
            if (entry.id == id && entry.exponent == static_cast<std::uint32_t>(exponent))
                return entry.result;
        }
    }

    // Remembers successor(id, exponent), not yet known. A table half full
    // doubles where `mayGrowBy(bytes)` allows the bytes more, and otherwise
    // starts afresh. Kept out of line: the callers' hot path is the look-up.
    template <typename Room> [[gnu::noinline]] void store(Id id, int exponent, Id result, Room mayGrowBy)
    {
        if ((count + 1) * 2 > entries.size()) {
            const std::size_t size = std::max<std::size_t>(entries.size() * 2, MinimumSize);
            if (mayGrowBy((size - entries.size()) * sizeof(Entry))) {
                std::vector<Entry> old(size, Entry {});
                old.swap(entries);
                refill(old);
            } else {
                entries.assign(std::max(entries.size(), MinimumSize), Entry {});
                count = 0;
            }
        }
        place(Entry { id, result, static_cast<std::uint32_t>(exponent) });
    }

    // Forgets the entries unless keep(id) and keep(result) both hold.
    template <typename Keep> void keepOnly(Keep keep)
    {
        retain([&keep](const Entry &entry) { return keep(entry.id) && keep(entry.result); });
    }

    // Forgets the entries whose exponent forget(exponent) picks.
    template <typename Forget> void forgetExponents(Forget forget)
    {
        retain([&forget](const Entry &entry) { return !forget(static_cast<int>(entry.exponent)); });
    }

    // Forgets every entry; `giveBack` returns the table's memory too.
    void clear(bool giveBack = false)
    {
        if (giveBack)
            std::vector<Entry>().swap(entries);
        std::fill(entries.begin(), entries.end(), Entry {});
        count = 0;
    }

    std::size_t size() const { return count; }
    std::size_t bytes() const { return entries.size() * sizeof(Entry); }

private:
    struct Entry {
        Id id;
        Id result;
        std::uint32_t exponent;
    };
    static constexpr std::size_t MinimumSize = 4096;

    static std::size_t slotOf(Id id, int exponent, std::size_t mask)
    {
        return BitMix::finalise(std::uint64_t(id) << 8 | std::uint64_t(exponent)) & mask;
    }

    template <typename Keep> void retain(Keep keep)
    {
        std::vector<Entry> kept;
        for (const Entry &entry : entries) {
            if (entry.id != 0 && keep(entry))
                kept.push_back(entry);
        }
        std::fill(entries.begin(), entries.end(), Entry {});
        refill(kept);
    }

    // Puts the entries of `from` into the table, large enough and emptied.
    void refill(const std::vector<Entry> &from)
    {
        count = 0;
        for (const Entry &entry : from) {
            if (entry.id != 0)
                place(entry);
        }
    }

    void place(const Entry &entry)
    {
        const std::size_t mask = entries.size() - 1;
        std::size_t slot = slotOf(entry.id, static_cast<int>(entry.exponent), mask);
        while (entries[slot].id != 0)
            slot = (slot + 1) & mask;
        entries[slot] = entry;
        ++count;
    }

    std::vector<Entry> entries; // a power of two long, at most half full, or empty
    std::size_t count = 0;
};

#endif // STEPMEMO_H
