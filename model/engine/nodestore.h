#ifndef NODESTORE_H
#define NODESTORE_H

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "model/engine/largepages.h"
#include "model/engine/lifebits.h"
#include "model/engine/rule.h"
#include "model/engine/stepmemo.h"

// A square of the unbounded plane in the node store; 0 is no node.
using NodeId = std::uint32_t;

// The squares of the unbounded plane as Gosper's memoised quadtree: every
// distinct square of 2^level x 2^level cells is one canonical node, made once
// and shared by every HashLife of the process, so that equal squares are equal
// ids, copies of a universe cost nothing and the future of a square is
// computed once. It exists apart from HashLife because it outlives every
// universe and answers to one memory limit for all of them.
//
// Not thread-safe: the process uses the unbounded plane from one thread at a time.
//
// Nodes stay valid while something refers to them: the roots of live
// universes (addRoot), the protected nodes of the operation in progress
// (protect), and what those contain. Any call that makes a node may collect
// everything else when memory runs short.
class NodeStore
{
public:
    static constexpr NodeId None = 0;
    static constexpr int LeafLevel = 3; // a leaf is 8 x 8 cells
    static constexpr int MaxLevel = 63;

    // Thrown by any call that makes a node when the memory limit is reached
    // even after collecting; nothing referred to is lost.
    struct Exhausted {
    };

    // Thrown by successor() once the clock passes the deadline set, or the
    // stop flag set is raised; the results finished by then stay remembered.
    struct Interrupted {
    };

    // What the store has done since the process started, for measuring.
    struct Statistics {
        std::uint64_t nodesMade = 0;
        std::uint64_t resultsReused = 0; // successor() answered from what it had computed
        std::uint64_t resultsComputed = 0;
        std::uint64_t collections = 0;
    };

    static NodeStore &instance();

    // Bit 8 * y + x is the cell at x, y (0..7) from the leaf's top-left corner.
    NodeId leaf(std::uint64_t bits);
    // The square made of four quarters of one level, LeafLevel..MaxLevel - 1.
    NodeId node(NodeId nw, NodeId ne, NodeId sw, NodeId se);
    // The square of `level` (LeafLevel..MaxLevel) with every cell dead.
    NodeId empty(int level) const { return empties[static_cast<std::size_t>(level)]; }

    int level(NodeId id) const { return static_cast<int>(at(id).hashLevel & 0xFF); }
    // Quarter 0 nw, 1 ne, 2 sw, 3 se of a node above LeafLevel.
    NodeId quarter(NodeId id, int index) const { return at(id).quarters[index]; }
    std::uint64_t bits(NodeId leafId) const
    {
        const Node &n = at(leafId);
        return n.quarters[0] | (std::uint64_t(n.quarters[1]) << 32);
    }
    // Live cells; UINT64_MAX stands for that many or more. Counted when
    // first asked for, from the quarters' counts: a square's count is
    // remembered until a collection frees it.
    std::uint64_t population(NodeId id) const;
    // Every empty square of a level is the one canonical empty(level).
    bool isEmpty(NodeId id) const { return id == empties[level(id)]; }
    // A digest of the cells alone: equal squares give equal digests whatever their ids.
    std::uint64_t contentHash(NodeId id) const { return at(id).hashLevel >> 8; }

    // Starts loading a node that is about to be read.
    void prefetch(NodeId id) const { __builtin_prefetch(&at(id)); }

    // The middle square of half the side, as it is now; level above LeafLevel.
    NodeId centre(NodeId id);
    // The middle square of half the side, 2^exponent generations on under the
    // rule of the last useRule(): exponent 0..level - 2, level above LeafLevel.
    NodeId successor(NodeId id, int exponent);
    // The rule successor() steps by; changing it forgets every result of the old one.
    void useRule(const Rule &rule) { useRules(rule, rule); }
    // Rules that alternate: generations 0, 2, 4, ... of every step under
    // `even`, 1, 3, 5, ... under `odd`, so that a result holds for a step
    // that starts on an even generation. Changing either forgets every result.
    void useRules(const Rule &even, const Rule &odd);
    // While set, successor() throws Interrupted soon after the clock passes it.
    void setDeadline(std::optional<std::chrono::steady_clock::time_point> deadline);
    // While set, successor() throws Interrupted soon after another thread raises `flag`.
    void setStopFlag(const std::atomic<bool> *flag);
    // While set, successor() throws Interrupted soon after `check` returns
    // true; it is asked every few hundred results computed, and at the next
    // result after the store grew or collected, which may take
    // milliseconds. Not owned: it outlives the setting.
    void setStopCheck(const std::function<bool()> *check);

    // Estimates how far a jump has gone, for weighing it against another
    // engine: the successor() calls that follow count as the part `share`
    // (0..1) of the jump, after the part `done` already finished.
    void beginProgress(double done, double share);
    // The part of the jump finished, 0..1: the results of the first few
    // levels below each successor() weighed equally, so that a chaotic
    // pattern, whose every part costs alike, shows its cost early.
    double progress() const { return workDone; }

    // A live universe's root, counted once per holder; it and all it contains stay.
    void addRoot(NodeId id);
    void removeRoot(NodeId id);
    // Keeps `id` until release() cuts the protected nodes back to a mark.
    void protect(NodeId id) { protectedNodes.push_back(id); }
    std::size_t protectionMark() const { return protectedNodes.size(); }
    void release(std::size_t mark) { protectedNodes.resize(mark); }
    // The node protected at position `index`, counted as protectionMark()
    // counts, for builders that look up what they protect.
    NodeId protectedAt(std::size_t index) const { return protectedNodes[index]; }

    // Bytes the nodes in use and their share of the tables may take, and the
    // most the store holds; the default is 1 GiB. Below what it holds, the
    // store collects at once and gives back what it can.
    void setMemoryLimit(std::size_t bytes);
    std::size_t memoryLimit() const { return limit; }
    // Bytes held now: nodes, free or not, and the tables.
    std::size_t memoryUsed() const;

    const Statistics &statistics() const { return counts; }

    NodeStore(const NodeStore &) = delete;
    NodeStore &operator=(const NodeStore &) = delete;

private:
    // Half a cache line, so that no node straddles two: the population,
    // asked for far less often than a node is made or stepped, is counted
    // apart (population()).
    struct Node {
        NodeId quarters[4]; // nw, ne, sw, se; a leaf keeps its bits in the first two
        // Free: the next node of the free list. In use: when it was last
        // made or stepped, as the clock() of that moment.
        NodeId next;
        NodeId result; // successor(id, level - 2), or None while unknown
        std::uint64_t hashLevel; // contentHash << 8 | level; FreeLevel when free
    };
    static_assert(sizeof(Node) == 32);
    static constexpr std::uint64_t FreeLevel = 0xFF;
    // A node in use with its two slots of the hash table.
    static constexpr std::size_t NodeBytes = sizeof(Node) + 2 * sizeof(std::uint64_t);
    static constexpr int ChunkBits = 14;
    static constexpr std::size_t ChunkSize = std::size_t(1) << ChunkBits;

    NodeStore();

    // Chunks are carved from slabs of SlabChunks, laid on large pages:
    // sixteen chunks of 32-byte nodes fill four of 2 MiB exactly.
    static constexpr std::size_t SlabChunks = 16;
    struct SlabFree {
        void operator()(Node *slab) const { LargePages<Node>().deallocate(slab, SlabChunks * ChunkSize); }
    };
    void addChunk();
    // Cuts the chunks back to `count`, 1 at least, and gives back the memory past them.
    void dropChunks(std::size_t count);

    Node &at(NodeId id) { return chunks[id >> ChunkBits][id & (ChunkSize - 1)]; }
    const Node &at(NodeId id) const { return chunks[id >> ChunkBits][id & (ChunkSize - 1)]; }
    // The quarters of a node to look up, with their slot hash computed once
    // for the prefetches and the look-up that follow.
    struct Quad {
        Quad(NodeId nw, NodeId ne, NodeId sw, NodeId se);
        NodeId quarters[4];
        std::uint64_t hash;
    };
    // Starts loading the hash table's slot for the node of these quarters.
    void prefetchSlot(const Quad &quad) const;
    // Starts loading the node of these quarters if its slot, loaded by now, holds it.
    void prefetchFound(const Quad &quad) const;
    // node() for quarters whose hash is known.
    NodeId node(const Quad &quad);
    NodeId find(std::uint64_t hash, const NodeId (&quarters)[4]) const;
    // `hash` chooses the slot, `hashLevel` is the new node's own field.
    NodeId make(std::uint64_t hash, const NodeId (&quarters)[4], std::uint64_t hashLevel);
    NodeId allocate(const NodeId (&keep)[4]);
    bool grow();
    std::size_t bytesInUse() const;
    // The table rebuilt at `tableSize`, a power of two, with the nodes for which keep(id) holds.
    template <typename Keep> void rehash(std::size_t tableSize, Keep keep);
    void insert(NodeId id, std::uint64_t hash);
    // Puts a slot's entry (tag and id) at the first free slot from its own.
    void place(std::uint64_t entry);
    // Frees every node nothing refers to; `shrink` gives back the memory of
    // the free nodes past the last node kept.
    void collect(const NodeId (&keep)[4], bool shrink = false);
    void forgetResults();
    // Counts the results computed, in steps of 256: what a collection
    // weighs a node's last use by.
    NodeId clock() const { return static_cast<NodeId>(counts.resultsComputed >> 8); }
    // Marks, one bit a node, the nodes of `pending` with all they contain;
    // empties `pending` and returns how many nodes it marked.
    std::size_t markFrom(std::vector<std::uint64_t> &marks, std::vector<NodeId> &pending) const;
    // Adds to the marked nodes, with all they contain, the results of the
    // marked ones and then the most recently stepped nodes with their
    // results, while together they leave about half the limit free.
    void markRecent(std::vector<std::uint64_t> &marks);

    NodeId centreOfFour(NodeId nw, NodeId ne, NodeId sw, NodeId se);
    NodeId leafSuccessor(NodeId id, int exponent);
    // successor() of a node of LeafLevel + 2 from its cells, stepped at once.
    NodeId blockSuccessor(NodeId id, int exponent);
    NodeId stepQuarters(NodeId id, int exponent);

    std::vector<std::unique_ptr<Node[], SlabFree>> slabs;
    std::vector<Node *> chunks; // ChunkSize nodes each, within the slabs
    NodeId unused = 1; // nodes from here on were never handed out
    NodeId freeList = None;
    std::size_t freeCount = 0;
    // Open addressing, a power of two long, at most half full: a node's id in
    // the low half, bits of its hash in the high half, 0 for an empty slot.
    std::vector<std::uint64_t, LargePages<std::uint64_t>> table;
    int tableShift; // 64 - log2(table.size()): a hash's top bits choose its slot
    StepMemo<NodeId> memo;
    NodeId empties[MaxLevel + 1] = {};

    std::unordered_map<NodeId, std::size_t> roots; // root id -> holders
    std::vector<NodeId> protectedNodes;
    std::size_t limit = std::size_t(1) << 30;

    Rule rule;
    std::optional<std::chrono::steady_clock::time_point> stopAt;
    const std::atomic<bool> *stopFlag = nullptr;
    const std::function<bool()> *stopCheck = nullptr;
    std::uint32_t untilClock = 0; // successors computed before the clock is read again
    // The levels below the outermost successor() whose results count towards progress().
    static constexpr int TrackedDepth = 4;
    double workDone = 0;
    int trackDepth = 0; // the stepQuarters() calls in progress, up to TrackedDepth
    double shares[TrackedDepth + 1] = {}; // the part of the jump of a result at each depth
    Rule oddRule;
    bool conway = true; // rule is Conway's, whose written-out decision is the fastest
    LifeBits::RuleDecision decision { Rule() };
    LifeBits::RuleDecision oddDecision { Rule() }; // oddRule's
    bool alternating = false; // oddRule differs from rule
    Statistics counts;
    // population() of the squares of LeafLevel + 4 and up counted so far; a collection drops those it frees.
    mutable std::unordered_map<NodeId, std::uint64_t> populations;
};

#endif // NODESTORE_H
