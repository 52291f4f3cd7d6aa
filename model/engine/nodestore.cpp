#include "model/engine/nodestore.h"

#include <algorithm>

#include "model/engine/bitmix.h"
#include "model/engine/squarestep.h"

namespace
{

using Word = std::uint64_t;

Word mix(Word x) { return BitMix::finalise(x); }

Word rotate(Word x, int bits) { return (x << bits) | (x >> (64 - bits)); }

// Content digests keep 56 bits, so that the level fits beside them.
Word leafHash(Word bits) { return mix(bits ^ 0x9E3779B97F4A7C15ULL) >> 8; }

Word nodeHash(int level, Word nw, Word ne, Word sw, Word se)
{
    return mix(nw * 0x9E3779B97F4A7C15ULL + rotate(ne, 13) * 0xC2B2AE3D27D4EB4FULL
               + rotate(sw, 29) * 0x165667B19E3779F9ULL + rotate(se, 43) * 0x27D4EB2F165667C5ULL + Word(level))
        >> 8;
}

// Where the node of these quarters (a leaf's bits in the first two) lies in
// the table: from the ids alone, so that looking a node up reads no other
// node. Ids are unique, and a leaf's last two are None, which no quarter is.
Word slotHash(const NodeId (&quarters)[4])
{
    return mix((Word(quarters[0]) | Word(quarters[1]) << 32) * 0x9E3779B97F4A7C15ULL
        ^ (Word(quarters[2]) | Word(quarters[3]) << 32) * 0xC2B2AE3D27D4EB4FULL);
}

// The high half of a slot: the top 32 bits of the hash, whose leading bits
// choose the slot, so that the table can be rebuilt at any size from its
// slots alone, without reading a node.
Word tagOf(Word hash) { return (hash >> 32) << 32; }

bool isMarked(const std::vector<Word> &marks, NodeId id) { return ((marks[id / 64] >> (id % 64)) & 1) != 0; }

Word addSaturated(Word a, Word b) { return a > ~Word(0) - b ? ~Word(0) : a + b; }

} // namespace

NodeStore &NodeStore::instance()
{
    // Never destroyed: universes in static storage may outlive any other object.
    static NodeStore *const store = new NodeStore();
    return *store;
}

void NodeStore::addChunk()
{
    static_assert(SlabChunks * ChunkSize * sizeof(Node) % LargePages<Node>::PageBytes == 0);
    // Left uninitialised: a node is written when it is made, and memory the
    // store has not used yet stays untouched, so that a program that reads
    // a few small patterns does not pay for a whole slab.
    if (chunks.size() % SlabChunks == 0)
        slabs.emplace_back(LargePages<Node>().allocate(SlabChunks * ChunkSize));
    chunks.push_back(slabs.back().get() + chunks.size() % SlabChunks * ChunkSize);
}

void NodeStore::dropChunks(std::size_t count)
{
    chunks.resize(count);
    slabs.resize((count + SlabChunks - 1) / SlabChunks);
    if (count % SlabChunks != 0)
        LargePages<Node>::giveBack(chunks.back() + ChunkSize, (SlabChunks - count % SlabChunks) * ChunkSize);
}

NodeStore::NodeStore()
    : table(2 * ChunkSize, 0)
    , tableShift(64 - ChunkBits - 1)
{
    addChunk();
    // Node 0 is None: read as the empty square of no level.
    chunks[0][0] = Node {};
    empties[LeafLevel] = leaf(0);
    for (int level = LeafLevel + 1; level <= MaxLevel; ++level) {
        const NodeId below = empties[level - 1];
        empties[level] = node(below, below, below, below);
    }
}

NodeId NodeStore::leaf(std::uint64_t bits)
{
    const NodeId quarters[4] = { NodeId(bits), NodeId(bits >> 32), None, None };
    const Word hash = slotHash(quarters);
    const NodeId found = find(hash, quarters);
    return found != None ? found : make(hash, quarters, leafHash(bits) << 8 | Word(LeafLevel));
}

NodeStore::Quad::Quad(NodeId nw, NodeId ne, NodeId sw, NodeId se)
    : quarters { nw, ne, sw, se }
    , hash(slotHash(quarters))
{
}

NodeId NodeStore::node(NodeId nw, NodeId ne, NodeId sw, NodeId se) { return node(Quad(nw, ne, sw, se)); }

NodeId NodeStore::node(const Quad &quad)
{
    const NodeId found = find(quad.hash, quad.quarters);
    if (found != None)
        return found;
    const Node &a = at(quad.quarters[0]);
    const Node &b = at(quad.quarters[1]);
    const Node &c = at(quad.quarters[2]);
    const Node &d = at(quad.quarters[3]);
    const int level = static_cast<int>(a.hashLevel & 0xFF) + 1;
    const Word content = nodeHash(level, a.hashLevel >> 8, b.hashLevel >> 8, c.hashLevel >> 8, d.hashLevel >> 8);
    return make(quad.hash, quad.quarters, content << 8 | Word(level));
}

void NodeStore::prefetchSlot(const Quad &quad) const { __builtin_prefetch(&table[quad.hash >> tableShift]); }

void NodeStore::prefetchFound(const Quad &quad) const
{
    const Word entry = table[quad.hash >> tableShift];
    if ((entry & ~Word(0xFFFFFFFF)) == tagOf(quad.hash))
        prefetch(static_cast<NodeId>(entry));
}

NodeId NodeStore::find(std::uint64_t hash, const NodeId (&quarters)[4]) const
{
    const Word tag = tagOf(hash);
    const std::size_t mask = table.size() - 1;
    for (std::size_t slot = hash >> tableShift;; slot = (slot + 1) & mask) {
        const Word entry = table[slot];
        if (entry == 0)
            return None;
        if ((entry & ~Word(0xFFFFFFFF)) != tag)
            continue;
        const NodeId id = static_cast<NodeId>(entry);
        const Node &n = at(id);
        if (n.quarters[0] == quarters[0] && n.quarters[1] == quarters[1] && n.quarters[2] == quarters[2]
            && n.quarters[3] == quarters[3])
            return id;
    }
}

NodeId NodeStore::make(std::uint64_t hash, const NodeId (&quarters)[4], std::uint64_t hashLevel)
{
    const bool isLeaf = static_cast<int>(hashLevel & 0xFF) == LeafLevel;
    const NodeId keep[4] = { isLeaf ? None : quarters[0], isLeaf ? None : quarters[1], quarters[2], quarters[3] };
    const NodeId id = allocate(keep);
    ++counts.nodesMade;
    Node &n = at(id);
    std::copy(quarters, quarters + 4, n.quarters);
    n.next = clock();
    n.result = None;
    n.hashLevel = hashLevel;
    insert(id, hash);
    return id;
}

NodeId NodeStore::allocate(const NodeId (&keep)[4])
{
    const auto full = [this] { return freeList == None && unused == chunks.size() * ChunkSize && !grow(); };
    if (bytesInUse() + NodeBytes > limit || full()) {
        collect(keep);
        // Collecting that frees next to nothing would only be repeated at once.
        if (bytesInUse() + limit / 16 > limit || full())
            throw Exhausted();
    }
    if (freeList != None) {
        const NodeId id = freeList;
        freeList = at(id).next;
        --freeCount;
        return id;
    }
    return unused++;
}

std::size_t NodeStore::bytesInUse() const { return (unused - 1 - freeCount) * NodeBytes; }

bool NodeStore::grow()
{
    const std::size_t capacity = (chunks.size() + 1) * ChunkSize;
    const std::size_t tableSize = capacity * 2 > table.size() ? table.size() * 2 : table.size();
    const std::size_t needed = capacity * sizeof(Node) + tableSize * sizeof(Word) + memo.bytes();
    // The table's slots hold 32 bits of hash, enough to place 2^32 slots.
    if (needed > limit || capacity > (std::size_t(1) << 31))
        return false;
    addChunk();
    if (tableSize > table.size())
        rehash(tableSize, [](NodeId) { return true; });
    // Growing may take milliseconds: the clock is read again at once.
    untilClock = 0;
    return true;
}

template <typename Keep> void NodeStore::rehash(std::size_t tableSize, Keep keep)
{
    // A table of the same size or smaller is refilled where it lies, so
    // that a collection pays neither for fresh pages nor for a second table.
    std::vector<Word, LargePages<Word>> kept;
    if (tableSize > table.size()) {
        kept.assign(tableSize, 0);
        kept.swap(table);
    } else {
        for (const Word entry : table) {
            if (entry != 0 && keep(static_cast<NodeId>(entry)))
                kept.push_back(entry);
        }
        table.assign(tableSize, 0);
    }
    tableShift = 64 - __builtin_ctzll(tableSize);
    for (const Word entry : kept) {
        if (entry != 0 && keep(static_cast<NodeId>(entry)))
            place(entry);
    }
}

void NodeStore::insert(NodeId id, std::uint64_t hash) { place(tagOf(hash) | id); }

void NodeStore::place(std::uint64_t entry)
{
    const std::size_t mask = table.size() - 1;
    std::size_t slot = entry >> tableShift;
    while (table[slot] != 0)
        slot = (slot + 1) & mask;
    table[slot] = entry;
}

void NodeStore::setMemoryLimit(std::size_t bytes)
{
    limit = bytes;
    if (memoryUsed() > limit) {
        const NodeId none[4] = { None, None, None, None };
        collect(none, true);
    }
}

void NodeStore::collect(const NodeId (&keep)[4], bool shrink)
{
    ++counts.collections;
    untilClock = 0;
    std::vector<Word> marks((unused + 63) / 64, 0);
    const auto marked = [&marks](NodeId id) { return isMarked(marks, id); };
    std::vector<NodeId> pending(protectedNodes);
    pending.insert(pending.end(), std::begin(keep), std::end(keep));
    pending.insert(pending.end(), empties + LeafLevel, empties + MaxLevel + 1);
    for (const auto &root : roots)
        pending.push_back(root.first);
    markFrom(marks, pending);

    if (!shrink)
        markRecent(marks);

    if (shrink) {
        NodeId last = unused - 1;
        while (last > 0 && !marked(last))
            --last;
        const std::size_t chunkCount = last / ChunkSize + 1;
        dropChunks(chunkCount);
        unused = std::min<NodeId>(unused, static_cast<NodeId>(chunkCount * ChunkSize));
    }
    freeList = None;
    freeCount = 0;
    for (NodeId id = unused - 1; id >= 1; --id) {
        Node &n = at(id);
        if (marked(id)) {
            if (n.result != None && !marked(n.result))
                n.result = None;
            continue;
        }
        n.hashLevel = FreeLevel;
        n.next = freeList;
        freeList = id;
        ++freeCount;
    }
    std::size_t tableSize = table.size();
    if (shrink) {
        tableSize = 2 * ChunkSize;
        while (tableSize < 2 * chunks.size() * ChunkSize)
            tableSize *= 2;
    }
    rehash(tableSize, [&](NodeId id) { return id < unused && marked(id); });
    if (shrink)
        table.shrink_to_fit();

    if (shrink)
        memo.clear(true);
    else
        memo.keepOnly(marked);
    for (auto counted = populations.begin(); counted != populations.end();) {
        if (counted->first < unused && marked(counted->first))
            ++counted;
        else
            counted = populations.erase(counted);
    }
}

std::uint64_t NodeStore::population(NodeId id) const
{
    const int nodeLevel = level(id);
    if (nodeLevel == LeafLevel)
        return Word(__builtin_popcountll(bits(id)));
    if (id == empties[nodeLevel])
        return 0;
    // Smaller squares are counted again faster than looked up, and are most of the nodes.
    const bool remembered = nodeLevel >= LeafLevel + 4;
    if (remembered) {
        const auto known = populations.find(id);
        if (known != populations.end())
            return known->second;
    }
    const NodeId(&quarters)[4] = at(id).quarters;
    const Word count = addSaturated(addSaturated(population(quarters[0]), population(quarters[1])),
        addSaturated(population(quarters[2]), population(quarters[3])));
    if (remembered)
        populations.emplace(id, count);
    return count;
}

std::size_t NodeStore::markFrom(std::vector<Word> &marks, std::vector<NodeId> &pending) const
{
    std::size_t count = 0;
    while (!pending.empty()) {
        const NodeId id = pending.back();
        pending.pop_back();
        if (id == None || isMarked(marks, id))
            continue;
        marks[id / 64] |= Word(1) << (id % 64);
        ++count;
        const Node &n = at(id);
        if ((n.hashLevel & 0xFF) > LeafLevel) {
            for (const NodeId quarter : n.quarters) {
                if (!isMarked(marks, quarter))
                    pending.push_back(quarter);
            }
        }
    }
    return count;
}

void NodeStore::markRecent(std::vector<Word> &marks)
{
    std::size_t kept = 0;
    for (const Word word : marks)
        kept += static_cast<std::size_t>(__builtin_popcountll(word));
    // Half the limit kept leaves room for as much again before the next
    // collection; what a square contains may take a quarter more.
    const std::size_t wanted = limit / 2 / NodeBytes;
    const std::size_t most = limit / 4 * 3 / NodeBytes;
    std::vector<NodeId> pending;
    const auto keep = [&](NodeId id) {
        if (kept >= most)
            return;
        pending.push_back(id);
        pending.push_back(at(id).result);
        kept += markFrom(marks, pending);
    };
    // The futures of the live squares are what the next jump asks for first.
    const std::vector<Word> live = marks;
    for (NodeId id = 1; id < unused && kept < wanted; ++id) {
        if (isMarked(live, id) && at(id).result != None)
            keep(id);
    }
    // Then the squares stepped last, which a jump in progress meets again
    // soonest, counted by their age in clock ticks: the latest that fit.
    constexpr std::size_t Ages = 1 << 12;
    std::vector<std::size_t> byAge(Ages, 0);
    const NodeId now = clock();
    const auto ageOf = [&](NodeId id) { return std::min<std::size_t>(now - at(id).next, Ages - 1); };
    const auto candidate = [&](NodeId id) { return at(id).hashLevel != FreeLevel && !isMarked(marks, id); };
    for (NodeId id = 1; id < unused; ++id) {
        if (candidate(id))
            ++byAge[ageOf(id)];
    }
    std::size_t room = kept < wanted ? wanted - kept : 0;
    std::size_t oldest = 0;
    for (; oldest < Ages && byAge[oldest] <= room; ++oldest)
        room -= byAge[oldest];
    for (NodeId id = 1; id < unused && oldest > 0; ++id) {
        if (candidate(id) && ageOf(id) < oldest)
            keep(id);
    }
}

std::size_t NodeStore::memoryUsed() const
{
    return chunks.size() * ChunkSize * sizeof(Node) + table.size() * sizeof(Word) + memo.bytes();
}

void NodeStore::addRoot(NodeId id) { ++roots[id]; }

void NodeStore::removeRoot(NodeId id)
{
    const auto found = roots.find(id);
    if (found != roots.end() && --found->second == 0)
        roots.erase(found);
}

void NodeStore::useRules(const Rule &even, const Rule &odd)
{
    if (even == rule && odd == oddRule)
        return;
    rule = even;
    oddRule = odd;
    conway = even == Rule() && odd == even;
    decision = LifeBits::RuleDecision(even);
    oddDecision = LifeBits::RuleDecision(odd);
    alternating = odd != even;
    forgetResults();
}

void NodeStore::forgetResults()
{
    for (NodeId id = 1; id < unused; ++id)
        at(id).result = None;
    memo.clear();
}

NodeId NodeStore::centreOfFour(NodeId nw, NodeId ne, NodeId sw, NodeId se)
{
    if (level(nw) == LeafLevel) {
        constexpr Word Low = 0x0F0F0F0FULL;
        const Word top = ((bits(nw) >> 36) & Low) | ((bits(ne) >> 32) & Low) << 4;
        const Word bottom = ((bits(sw) >> 4) & Low) | (bits(se) & Low) << 4;
        return leaf(top | bottom << 32);
    }
    return node(quarter(nw, 3), quarter(ne, 2), quarter(sw, 1), quarter(se, 0));
}

NodeId NodeStore::centre(NodeId id)
{
    return centreOfFour(quarter(id, 0), quarter(id, 1), quarter(id, 2), quarter(id, 3));
}

void NodeStore::setDeadline(std::optional<std::chrono::steady_clock::time_point> deadline)
{
    stopAt = deadline;
    untilClock = 0;
}

void NodeStore::setStopFlag(const std::atomic<bool> *flag)
{
    stopFlag = flag;
    untilClock = 0;
}

void NodeStore::setStopCheck(const std::function<bool()> *check)
{
    stopCheck = check;
    untilClock = 0;
}

void NodeStore::beginProgress(double done, double share)
{
    workDone = done;
    trackDepth = 0;
    shares[0] = share;
}

NodeId NodeStore::successor(NodeId id, int exponent)
{
    Node &n = at(id);
    const int nodeLevel = static_cast<int>(n.hashLevel & 0xFF);
    if (id == empties[nodeLevel])
        return empties[nodeLevel - 1];
    const bool ownStep = exponent == nodeLevel - 2;
    n.next = clock();
    NodeId result = ownStep ? n.result : memo.find(id, exponent);
    if (result != None) {
        ++counts.resultsReused;
        return result;
    }
    if ((stopAt || stopFlag || stopCheck) && untilClock-- == 0) {
        untilClock = 255;
        if ((stopFlag && stopFlag->load(std::memory_order_relaxed))
            || (stopAt && std::chrono::steady_clock::now() > *stopAt) || (stopCheck && (*stopCheck)()))
            throw Interrupted {};
    }
    ++counts.resultsComputed;
    result = nodeLevel == LeafLevel + 1 ? leafSuccessor(id, exponent)
        : nodeLevel == LeafLevel + 2    ? blockSuccessor(id, exponent)
                                        : stepQuarters(id, exponent);
    if (ownStep)
        at(id).result = result;
    else
        memo.store(id, exponent, result, [this](std::size_t more) { return memoryUsed() + more <= limit; });
    return result;
}

NodeId NodeStore::leafSuccessor(NodeId id, int exponent)
{
    const Word nw = bits(quarter(id, 0));
    const Word ne = bits(quarter(id, 1));
    const Word sw = bits(quarter(id, 2));
    const Word se = bits(quarter(id, 3));
    return leaf(SquareStep::middleOfFour(
        nw, ne, sw, se, 1 << exponent, conway ? nullptr : &decision, alternating ? &oddDecision : nullptr));
}

NodeId NodeStore::blockSuccessor(NodeId id, int exponent)
{
    NodeId grand[4][4];
    for (int q = 0; q < 4; ++q) {
        const NodeId child = quarter(id, q);
        for (int c = 0; c < 4; ++c)
            grand[(q / 2) * 2 + c / 2][(q % 2) * 2 + c % 2] = quarter(child, c);
    }
    for (const auto &row : grand) {
        for (const NodeId leafId : row)
            prefetch(leafId);
    }
    Word leaves[4][4];
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x)
            leaves[y][x] = bits(grand[y][x]);
    }
    Word middleLeaves[2][2];
    SquareStep::middleOfSixteen(
        leaves, 1 << exponent, conway ? nullptr : &decision, middleLeaves, alternating ? &oddDecision : nullptr);
    const std::size_t mark = protectionMark();
    NodeId middle[4];
    for (int i = 0; i < 4; ++i) {
        middle[i] = leaf(middleLeaves[i / 2][i % 2]);
        protect(middle[i]);
    }
    const NodeId result = node(middle[0], middle[1], middle[2], middle[3]);
    release(mark);
    return result;
}

NodeId NodeStore::stepQuarters(NodeId id, int exponent)
{
    const int nodeLevel = level(id);
    // The grandchildren, row by row.
    NodeId grand[4][4];
    for (int q = 0; q < 4; ++q) {
        const NodeId child = quarter(id, q);
        for (int c = 0; c < 4; ++c)
            grand[(q / 2) * 2 + c / 2][(q % 2) * 2 + c % 2] = quarter(child, c);
    }
    const std::size_t mark = protectionMark();
    const bool ownStep = exponent == nodeLevel - 2;
    const int innerExponent = ownStep ? nodeLevel - 3 : exponent;
    // Each of the results this one waits for is an equal part of its own.
    const bool tracked = trackDepth < TrackedDepth;
    double share = 0;
    if (tracked) {
        share = shares[trackDepth] / (ownStep ? 13 : 4);
        shares[++trackDepth] = share;
    }
    const auto stepped = [&](NodeId square) {
        const double before = workDone;
        const NodeId next = successor(square, innerExponent);
        workDone = before + share;
        return next;
    };
    // Nine overlapping squares of half the side: stepped halfway for the
    // node's own step, or only their middles taken for a shorter one. The
    // squares are all looked up before any is stepped, so that their table
    // slots and nodes load side by side rather than one after another.
    NodeId middle[3][3];
    if (ownStep) {
        // The five squares that are not the node's own quarters: the edges' middles and the centre.
        static constexpr int NewX[5] = { 1, 0, 1, 2, 1 };
        static constexpr int NewY[5] = { 0, 1, 1, 1, 2 };
        const Quad quads[5] = {
            Quad(grand[0][1], grand[0][2], grand[1][1], grand[1][2]),
            Quad(grand[1][0], grand[1][1], grand[2][0], grand[2][1]),
            Quad(grand[1][1], grand[1][2], grand[2][1], grand[2][2]),
            Quad(grand[1][2], grand[1][3], grand[2][2], grand[2][3]),
            Quad(grand[2][1], grand[2][2], grand[3][1], grand[3][2]),
        };
        for (const Quad &quad : quads)
            prefetchSlot(quad);
        for (const Quad &quad : quads)
            prefetchFound(quad);
        NodeId squares[3][3];
        for (int i = 0; i < 5; ++i) {
            squares[NewY[i]][NewX[i]] = node(quads[i]);
            protect(squares[NewY[i]][NewX[i]]);
        }
        // The corner squares are the node's own quarters.
        for (int y = 0; y < 3; y += 2) {
            for (int x = 0; x < 3; x += 2)
                squares[y][x] = quarter(id, y + x / 2);
        }
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 3; ++x) {
                middle[y][x] = stepped(squares[y][x]);
                protect(middle[y][x]);
            }
        }
    } else {
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 3; ++x) {
                middle[y][x] = centreOfFour(grand[y][x], grand[y][x + 1], grand[y + 1][x], grand[y + 1][x + 1]);
                protect(middle[y][x]);
            }
        }
    }
    const Quad quads[4] = {
        Quad(middle[0][0], middle[0][1], middle[1][0], middle[1][1]),
        Quad(middle[0][1], middle[0][2], middle[1][1], middle[1][2]),
        Quad(middle[1][0], middle[1][1], middle[2][0], middle[2][1]),
        Quad(middle[1][1], middle[1][2], middle[2][1], middle[2][2]),
    };
    for (const Quad &quad : quads)
        prefetchSlot(quad);
    for (const Quad &quad : quads)
        prefetchFound(quad);
    NodeId last[2][2];
    for (int i = 0; i < 4; ++i) {
        last[i / 2][i % 2] = node(quads[i]);
        protect(last[i / 2][i % 2]);
    }
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 2; ++x) {
            last[y][x] = stepped(last[y][x]);
            protect(last[y][x]);
        }
    }
    const NodeId result = node(last[0][0], last[0][1], last[1][0], last[1][1]);
    if (tracked)
        --trackDepth;
    release(mark);
    return result;
}
