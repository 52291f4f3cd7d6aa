#ifndef STATENODESTORE_H
#define STATENODESTORE_H

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "model/engine/cellstep.h"
#include "model/engine/rule.h"
#include "model/engine/stepmemo.h"

// A square of the unbounded plane in the StateNodeStore; 0 is no node.
using StateNodeId = std::uint32_t;

// The squares of the unbounded plane under rules of more than two states, or
// of shapes or neighbourhoods other than Life's, as Gosper's memoised
// quadtree: every distinct square of 2^level x 2^level cells, each cell a
// state 0..255, is one canonical node shared by every StateHashLife of the
// process, and the future of a square is computed once. It is a store of its
// own beside NodeStore because its leaves hold bytes rather than bits and its
// base step asks the rule cell by cell (CellStep), as StateGrid does.
//
// Not thread-safe: the process uses the unbounded plane from one thread at a time.
//
// The results of two pairs of rules are kept side by side, so that a plane
// whose rule changes every generation (the two rules of a blinking
// background's differences, one generation at a time) or two universes
// under different rules step on what each computed before.
//
// Nodes stay valid while something refers to them: the roots of live
// universes (addRoot), the protected nodes of the operation in progress
// (protect), and what those contain. Any call that makes a node may collect
// everything else when memory runs short.
class StateNodeStore
{
public:
    static constexpr StateNodeId None = 0;
    static constexpr int LeafLevel = 2; // a leaf is 4 x 4 cells
    static constexpr int LeafSide = 4;
    static constexpr int MaxLevel = 63;

    // Thrown by any call that makes a node when the memory limit is reached
    // even after collecting; nothing referred to is lost.
    struct Exhausted {
    };
    // Thrown by successor() soon after the stop flag set is raised; the
    // results finished by then stay remembered.
    struct Interrupted {
    };

    // The cells of a leaf: byte 4 * y + x is the state of the cell at x, y (0..3).
    using LeafCells = std::array<std::uint8_t, LeafSide * LeafSide>;

    static StateNodeStore &instance();

    StateNodeId leaf(const LeafCells &cells);
    // The square made of four quarters of one level, LeafLevel..MaxLevel - 1.
    StateNodeId node(StateNodeId nw, StateNodeId ne, StateNodeId sw, StateNodeId se);
    // The square of `level` (LeafLevel..MaxLevel) with every cell 0.
    StateNodeId empty(int level) const { return empties[static_cast<std::size_t>(level)]; }

    int level(StateNodeId id) const { return at(id).level; }
    // Quarter 0 nw, 1 ne, 2 sw, 3 se of a node above LeafLevel.
    StateNodeId quarter(StateNodeId id, int index) const { return at(id).quarters[index]; }
    LeafCells cells(StateNodeId leafId) const;
    // Cells not 0; UINT64_MAX stands for that many or more.
    std::uint64_t population(StateNodeId id) const { return at(id).population; }
    bool isEmpty(StateNodeId id) const { return at(id).population == 0; }
    // The lowest state of the square's cells other than 0; 0 for an empty square.
    std::uint8_t lowestState(StateNodeId id) const { return at(id).lowest; }
    // A digest of the cells alone: equal squares give equal digests whatever their ids.
    std::uint64_t contentHash(StateNodeId id) const { return at(id).hash; }

    // The middle square of half the side, as it is now; level above LeafLevel.
    StateNodeId centre(StateNodeId id);
    // The middle square of half the side, 2^exponent generations on under the
    // rule of the last useRule(): exponent 0..level - 2, level above LeafLevel.
    StateNodeId successor(StateNodeId id, int exponent);
    // The rule successor() steps by; as useRules(rule, rule).
    void useRule(const Rule &rule) { useRules(rule, rule); }
    // Rules that alternate, as NodeStore::useRules() says. The results of
    // the pair used before stay for when it comes back; a third pair takes
    // the place of the one used least recently, whose results are
    // forgotten. Precondition: the two have the same states.
    void useRules(const Rule &even, const Rule &odd);
    // While set, successor() throws Interrupted soon after another thread raises `flag`.
    void setStopFlag(const std::atomic<bool> *flag) { stopFlag = flag; }

    // A live universe's root, counted once per holder; it and all it contains stay.
    void addRoot(StateNodeId id) { ++roots[id]; }
    void removeRoot(StateNodeId id);
    // Keeps `id` until release() cuts the protected nodes back to a mark.
    void protect(StateNodeId id) { protectedNodes.push_back(id); }
    std::size_t protectionMark() const { return protectedNodes.size(); }
    void release(std::size_t mark) { protectedNodes.resize(mark); }
    // The node protected at position `index`, counted as protectionMark() counts.
    StateNodeId protectedAt(std::size_t index) const { return protectedNodes[index]; }

    // Bytes the nodes and tables may take; the default is 1 GiB. Below what
    // the store holds, it collects at once.
    void setMemoryLimit(std::size_t bytes);
    std::size_t memoryLimit() const { return limit; }
    std::size_t memoryUsed() const;

    StateNodeStore(const StateNodeStore &) = delete;
    StateNodeStore &operator=(const StateNodeStore &) = delete;

private:
    // The pairs of rules whose results are kept: a node holds a result for each.
    static constexpr int RuleSlots = 2;

    struct Node {
        StateNodeId quarters[4]; // nw, ne, sw, se; a leaf keeps its 16 cells here
        // successor(id, level - 2) under each slot's rules, None while
        // unknown; results[0] is the next free node when free.
        StateNodeId results[RuleSlots];
        std::uint64_t hash; // contentHash()
        std::uint64_t population;
        std::uint8_t level; // FreeLevel when free
        std::uint8_t lowest;
    };
    static constexpr std::uint8_t FreeLevel = 0xFF;
    static constexpr int ChunkBits = 14;
    static constexpr std::size_t ChunkSize = std::size_t(1) << ChunkBits;
    // A node in use with its two slots of the hash table.
    static constexpr std::size_t NodeBytes = sizeof(Node) + 2 * sizeof(StateNodeId);

    // A pair of rules with their steps, made once.
    struct RuleSlot {
        Rule even;
        Rule odd;
        std::optional<CellStep> step; // even's; none while the slot is unused
        std::optional<CellStep> oddStep; // odd's, where it differs from even
        std::uint64_t lastUse = 0; // useRules() calls counted when the slot was last chosen
    };

    StateNodeStore();

    Node &at(StateNodeId id) { return chunks[id >> ChunkBits][id & (ChunkSize - 1)]; }
    const Node &at(StateNodeId id) const { return chunks[id >> ChunkBits][id & (ChunkSize - 1)]; }
    static std::uint64_t slotHash(int level, const StateNodeId (&quarters)[4]);
    StateNodeId find(int level, const StateNodeId (&quarters)[4], std::uint64_t hash) const;
    // A new node; `keep` are nodes a collection must spare (None for none).
    StateNodeId make(const Node &fields, std::uint64_t hash, const StateNodeId (&keep)[4]);
    void place(StateNodeId id, std::uint64_t hash);
    void rebuildTable(std::size_t size);
    std::size_t bytesInUse() const { return (unused - 1 - freeCount) * NodeBytes; }
    // Frees every node nothing refers to, and keeps the futures of what
    // stays while they leave half the limit free.
    void collect(const StateNodeId (&keep)[4]);

    StateNodeId centreOfFour(StateNodeId nw, StateNodeId ne, StateNodeId sw, StateNodeId se);
    // The base step: a node of LeafLevel + 1 (8 x 8 cells) stepped 1 or 2 generations.
    StateNodeId baseSuccessor(StateNodeId id, int exponent);
    StateNodeId stepQuarters(StateNodeId id, int exponent);
    // The memo's key for a step of 2^exponent generations under the current slot's rules.
    int memoKey(int exponent) const { return exponent + current * (MaxLevel + 1); }
    // Forgets every result under the rules of `slot`.
    void forgetSlot(int slot);

    std::vector<std::unique_ptr<Node[]>> chunks;
    StateNodeId unused = 1; // nodes from here on were never handed out
    StateNodeId freeList = None;
    std::size_t freeCount = 0;
    std::vector<StateNodeId> table; // open addressing, a power of two long, at most half full
    StepMemo<StateNodeId> memo;
    StateNodeId empties[MaxLevel + 1] = {};

    std::unordered_map<StateNodeId, std::size_t> roots; // root id -> holders
    std::vector<StateNodeId> protectedNodes;
    std::size_t limit = std::size_t(1) << 30;

    RuleSlot rulePairs[RuleSlots];
    int current = 0; // the slot of the last useRules()
    std::uint64_t ruleUses = 0;
    const std::atomic<bool> *stopFlag = nullptr;
    std::uint32_t untilCheck = 0; // results computed before the stop flag is read again
};

#endif // STATENODESTORE_H
