#include "model/engine/statenodestore.h"

#include <algorithm>
#include <cstring>

#include "model/engine/bitmix.h"

namespace
{

using Word = std::uint64_t;

Word mix(Word x) { return BitMix::finalise(x); }

Word rotate(Word x, int bits) { return (x << bits) | (x >> (64 - bits)); }

Word addSaturated(Word a, Word b) { return a > ~Word(0) - b ? ~Word(0) : a + b; }

// The lower of two lowest states, 0 standing for none.
std::uint8_t lower(std::uint8_t a, std::uint8_t b) { return a == 0 ? b : b == 0 ? a : std::min(a, b); }

Word nodeHash(int level, Word nw, Word ne, Word sw, Word se)
{
    return mix(nw * 0x9E3779B97F4A7C15ULL + rotate(ne, 13) * 0xC2B2AE3D27D4EB4FULL
        + rotate(sw, 29) * 0x165667B19E3779F9ULL + rotate(se, 43) * 0x27D4EB2F165667C5ULL + Word(level));
}

constexpr int Side = StateNodeStore::LeafSide;

} // namespace

StateNodeStore &StateNodeStore::instance()
{
    // Never destroyed: universes in static storage may outlive any other object.
    static StateNodeStore *const store = new StateNodeStore();
    return *store;
}

StateNodeStore::StateNodeStore()
    : table(2 * ChunkSize, None)
{
    // Uninitialised, as NodeStore's: a node is written when it is made.
    chunks.push_back(std::unique_ptr<Node[]>(new Node[ChunkSize]));
    // Node 0 is None: read as the empty square of no level.
    chunks[0][0] = Node {};
    empties[LeafLevel] = leaf(LeafCells {});
    for (int level = LeafLevel + 1; level <= MaxLevel; ++level) {
        const StateNodeId below = empties[level - 1];
        empties[level] = node(below, below, below, below);
    }
}

std::uint64_t StateNodeStore::slotHash(int level, const StateNodeId (&quarters)[4])
{
    return mix((Word(quarters[0]) | Word(quarters[1]) << 32) * 0x9E3779B97F4A7C15ULL
        ^ (Word(quarters[2]) | Word(quarters[3]) << 32) * 0xC2B2AE3D27D4EB4FULL ^ Word(level));
}

StateNodeId StateNodeStore::find(int level, const StateNodeId (&quarters)[4], std::uint64_t hash) const
{
    const std::size_t mask = table.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const StateNodeId id = table[slot];
        if (id == None)
            return None;
        const Node &n = at(id);
        if (n.level == level && std::equal(quarters, quarters + 4, n.quarters))
            return id;
    }
}

StateNodeId StateNodeStore::leaf(const LeafCells &cells)
{
    Node fields {};
    std::memcpy(fields.quarters, cells.data(), sizeof fields.quarters);
    const Word hash = slotHash(LeafLevel, fields.quarters);
    const StateNodeId found = find(LeafLevel, fields.quarters, hash);
    if (found != None)
        return found;
    Word low = 0;
    Word high = 0;
    std::memcpy(&low, cells.data(), sizeof low);
    std::memcpy(&high, cells.data() + sizeof low, sizeof high);
    fields.hash = mix(low ^ mix(high ^ 0x9E3779B97F4A7C15ULL));
    fields.level = LeafLevel;
    for (const std::uint8_t state : cells) {
        fields.population += state != 0 ? 1 : 0;
        fields.lowest = lower(fields.lowest, state);
    }
    const StateNodeId keep[4] = { None, None, None, None };
    return make(fields, hash, keep);
}

StateNodeId StateNodeStore::node(StateNodeId nw, StateNodeId ne, StateNodeId sw, StateNodeId se)
{
    Node fields {};
    const StateNodeId quarters[4] = { nw, ne, sw, se };
    std::copy(quarters, quarters + 4, fields.quarters);
    const int nodeLevel = at(nw).level + 1;
    const Word hash = slotHash(nodeLevel, quarters);
    const StateNodeId found = find(nodeLevel, quarters, hash);
    if (found != None)
        return found;
    const Node &a = at(nw);
    const Node &b = at(ne);
    const Node &c = at(sw);
    const Node &d = at(se);
    fields.level = static_cast<std::uint8_t>(nodeLevel);
    fields.hash = nodeHash(nodeLevel, a.hash, b.hash, c.hash, d.hash);
    fields.population
        = addSaturated(addSaturated(a.population, b.population), addSaturated(c.population, d.population));
    fields.lowest = lower(lower(a.lowest, b.lowest), lower(c.lowest, d.lowest));
    return make(fields, hash, quarters);
}

StateNodeStore::LeafCells StateNodeStore::cells(StateNodeId leafId) const
{
    LeafCells cells;
    std::memcpy(cells.data(), at(leafId).quarters, cells.size());
    return cells;
}

StateNodeId StateNodeStore::make(const Node &fields, std::uint64_t hash, const StateNodeId (&keep)[4])
{
    const auto full = [this] { return freeList == None && unused == chunks.size() * ChunkSize; };
    const std::size_t chunkBytes = full() ? ChunkSize * sizeof(Node) : 0;
    if (bytesInUse() + NodeBytes + chunkBytes > limit) {
        collect(keep);
        // Collecting that frees next to nothing would only be repeated at once.
        if (bytesInUse() + limit / 16 > limit || (full() && memoryUsed() + ChunkSize * sizeof(Node) > limit))
            throw Exhausted();
    }
    if (full()) {
        if (chunks.size() << ChunkBits >= (std::size_t(1) << 31))
            throw Exhausted();
        chunks.push_back(std::unique_ptr<Node[]>(new Node[ChunkSize]));
    }
    StateNodeId id = freeList;
    if (id != None) {
        freeList = at(id).results[0];
        --freeCount;
    } else {
        id = unused++;
    }
    at(id) = fields;
    std::fill(std::begin(at(id).results), std::end(at(id).results), None);
    if ((unused - freeCount) * 2 > table.size())
        rebuildTable(table.size() * 2);
    else
        place(id, hash);
    return id;
}

void StateNodeStore::place(StateNodeId id, std::uint64_t hash)
{
    const std::size_t mask = table.size() - 1;
    std::size_t slot = hash & mask;
    while (table[slot] != None)
        slot = (slot + 1) & mask;
    table[slot] = id;
}

void StateNodeStore::rebuildTable(std::size_t size)
{
    table.assign(size, None);
    for (StateNodeId id = 1; id < unused; ++id) {
        const Node &n = at(id);
        if (n.level != FreeLevel)
            place(id, slotHash(n.level, n.quarters));
    }
}

void StateNodeStore::removeRoot(StateNodeId id)
{
    const auto found = roots.find(id);
    if (found != roots.end() && --found->second == 0)
        roots.erase(found);
}

void StateNodeStore::setMemoryLimit(std::size_t bytes)
{
    limit = bytes;
    if (bytesInUse() > limit) {
        const StateNodeId none[4] = { None, None, None, None };
        collect(none);
    }
}

std::size_t StateNodeStore::memoryUsed() const
{
    return chunks.size() * ChunkSize * sizeof(Node) + table.size() * sizeof(StateNodeId) + memo.bytes();
}

void StateNodeStore::collect(const StateNodeId (&keep)[4])
{
    std::vector<Word> marks((unused + 63) / 64, 0);
    const auto marked = [&marks](StateNodeId id) { return ((marks[id / 64] >> (id % 64)) & 1) != 0; };
    const auto markFrom = [&](std::vector<StateNodeId> &pending, bool withResults) {
        while (!pending.empty()) {
            const StateNodeId id = pending.back();
            pending.pop_back();
            if (id == None || marked(id))
                continue;
            marks[id / 64] |= Word(1) << (id % 64);
            const Node &n = at(id);
            if (n.level > LeafLevel)
                pending.insert(pending.end(), n.quarters, n.quarters + 4);
            if (withResults) {
                for (const StateNodeId result : n.results) {
                    if (result != None)
                        pending.push_back(result);
                }
            }
        }
    };
    std::vector<StateNodeId> pending(protectedNodes);
    pending.insert(pending.end(), std::begin(keep), std::end(keep));
    pending.insert(pending.end(), empties + LeafLevel, empties + MaxLevel + 1);
    for (const auto &root : roots)
        pending.push_back(root.first);
    markFrom(pending, false);

    // The futures of the squares in use are what the next step asks for
    // first: they stay unless they would fill half the limit, when
    // collections would follow one another.
    const std::vector<Word> live = marks;
    for (StateNodeId id = 1; id < unused; ++id) {
        if (marked(id)) {
            for (const StateNodeId result : at(id).results) {
                if (result != None)
                    pending.push_back(result);
            }
        }
    }
    markFrom(pending, true);
    std::size_t kept = 0;
    for (const Word word : marks)
        kept += static_cast<std::size_t>(__builtin_popcountll(word));
    if (kept * NodeBytes > limit / 2)
        marks = live;

    freeList = None;
    freeCount = 0;
    for (StateNodeId id = unused - 1; id >= 1; --id) {
        Node &n = at(id);
        if (marked(id)) {
            for (StateNodeId &result : n.results) {
                if (result != None && !marked(result))
                    result = None;
            }
            continue;
        }
        n.level = FreeLevel;
        n.results[0] = freeList;
        freeList = id;
        ++freeCount;
    }
    rebuildTable(table.size());

    memo.keepOnly(marked);
}

void StateNodeStore::useRules(const Rule &even, const Rule &odd)
{
    const auto holds = [&](const RuleSlot &slot) { return slot.step && slot.even == even && slot.odd == odd; };
    if (!holds(rulePairs[current])) {
        int chosen = 0;
        while (chosen < RuleSlots && !holds(rulePairs[chosen]))
            ++chosen;
        if (chosen == RuleSlots) {
            // An unused slot has lastUse 0, the lowest there is.
            chosen = 0;
            for (int slot = 1; slot < RuleSlots; ++slot) {
                if (rulePairs[slot].lastUse < rulePairs[chosen].lastUse)
                    chosen = slot;
            }
            forgetSlot(chosen);
            RuleSlot &slot = rulePairs[chosen];
            slot.even = even;
            slot.odd = odd;
            slot.step.emplace(even);
            if (odd != even)
                slot.oddStep.emplace(odd);
            else
                slot.oddStep.reset();
        }
        current = chosen;
    }
    rulePairs[current].lastUse = ++ruleUses;
}

void StateNodeStore::forgetSlot(int slot)
{
    if (!rulePairs[slot].step)
        return;
    for (StateNodeId id = 1; id < unused; ++id) {
        if (at(id).level != FreeLevel)
            at(id).results[slot] = None;
    }
    memo.forgetExponents([slot](int key) { return key / (MaxLevel + 1) == slot; });
}

StateNodeId StateNodeStore::centreOfFour(StateNodeId nw, StateNodeId ne, StateNodeId sw, StateNodeId se)
{
    if (level(nw) > LeafLevel)
        return node(quarter(nw, 3), quarter(ne, 2), quarter(sw, 1), quarter(se, 0));
    constexpr int Half = Side / 2;
    const LeafCells parts[4] = { cells(nw), cells(ne), cells(sw), cells(se) };
    LeafCells middle {};
    for (int y = 0; y < Side; ++y) {
        for (int x = 0; x < Side; ++x) {
            const LeafCells &part = parts[(y / Half) * 2 + x / Half];
            middle[static_cast<std::size_t>(y * Side + x)]
                = part[static_cast<std::size_t>((y + Half) % Side * Side + (x + Half) % Side)];
        }
    }
    return leaf(middle);
}

StateNodeId StateNodeStore::centre(StateNodeId id)
{
    return centreOfFour(quarter(id, 0), quarter(id, 1), quarter(id, 2), quarter(id, 3));
}

StateNodeId StateNodeStore::successor(StateNodeId id, int exponent)
{
    const Node &n = at(id);
    const int nodeLevel = n.level;
    if (n.population == 0)
        return empties[nodeLevel - 1];
    const bool ownStep = exponent == nodeLevel - 2;
    StateNodeId result = ownStep ? n.results[current] : memo.find(id, memoKey(exponent));
    if (result != None)
        return result;
    if (stopFlag && untilCheck-- == 0) {
        untilCheck = 255;
        if (stopFlag->load(std::memory_order_relaxed))
            throw Interrupted {};
    }
    result = nodeLevel == LeafLevel + 1 ? baseSuccessor(id, exponent) : stepQuarters(id, exponent);
    if (ownStep)
        at(id).results[current] = result;
    else
        memo.store(id, memoKey(exponent), result, [this](std::size_t more) { return memoryUsed() + more <= limit; });
    return result;
}

StateNodeId StateNodeStore::baseSuccessor(StateNodeId id, int exponent)
{
    constexpr int Square = 2 * Side;
    std::uint8_t states[Square][Square];
    for (int q = 0; q < 4; ++q) {
        const LeafCells part = cells(quarter(id, q));
        for (int y = 0; y < Side; ++y) {
            for (int x = 0; x < Side; ++x)
                states[(q / 2) * Side + y][(q % 2) * Side + x] = part[static_cast<std::size_t>(y * Side + x)];
        }
    }
    // Each generation leaves one ring fewer of right cells: after two the
    // middle 4 x 4 is still right.
    const int generations = 1 << exponent;
    for (int generation = 0; generation < generations; ++generation) {
        const RuleSlot &rules = rulePairs[current];
        const CellStep &stepping = generation % 2 != 0 && rules.oddStep ? *rules.oddStep : *rules.step;
        std::uint8_t live[Square][Square];
        for (int y = 0; y < Square; ++y) {
            for (int x = 0; x < Square; ++x)
                live[y][x] = stepping.live(states[y][x]);
        }
        for (int y = 1; y < Square - 1; ++y) {
            for (int x = 1; x < Square - 1; ++x)
                states[y][x] = stepping.next(
                    states[y][x], CellStep::neighbours(&live[y - 1][x - 1], &live[y][x - 1], &live[y + 1][x - 1]));
        }
    }
    LeafCells middle {};
    for (int y = 0; y < Side; ++y) {
        for (int x = 0; x < Side; ++x)
            middle[static_cast<std::size_t>(y * Side + x)] = states[y + Side / 2][x + Side / 2];
    }
    return leaf(middle);
}

StateNodeId StateNodeStore::stepQuarters(StateNodeId id, int exponent)
{
    const int nodeLevel = level(id);
    // The grandchildren, row by row.
    StateNodeId grand[4][4];
    for (int q = 0; q < 4; ++q) {
        const StateNodeId child = quarter(id, q);
        for (int c = 0; c < 4; ++c)
            grand[(q / 2) * 2 + c / 2][(q % 2) * 2 + c % 2] = quarter(child, c);
    }
    const std::size_t mark = protectionMark();
    const bool ownStep = exponent == nodeLevel - 2;
    const int innerExponent = ownStep ? nodeLevel - 3 : exponent;
    // Nine overlapping squares of half the side: stepped halfway for the
    // node's own step, or only their middles taken for a shorter one.
    StateNodeId middle[3][3];
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            if (ownStep) {
                const StateNodeId square = node(grand[y][x], grand[y][x + 1], grand[y + 1][x], grand[y + 1][x + 1]);
                protect(square);
                middle[y][x] = successor(square, innerExponent);
            } else {
                middle[y][x] = centreOfFour(grand[y][x], grand[y][x + 1], grand[y + 1][x], grand[y + 1][x + 1]);
            }
            protect(middle[y][x]);
        }
    }
    StateNodeId last[2][2];
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 2; ++x) {
            const StateNodeId square = node(middle[y][x], middle[y][x + 1], middle[y + 1][x], middle[y + 1][x + 1]);
            protect(square);
            last[y][x] = successor(square, innerExponent);
            protect(last[y][x]);
        }
    }
    const StateNodeId result = node(last[0][0], last[0][1], last[1][0], last[1][1]);
    release(mark);
    return result;
}
