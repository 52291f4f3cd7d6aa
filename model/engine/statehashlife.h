#ifndef STATEHASHLIFE_H
#define STATEHASHLIFE_H

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "model/engine/hashlife.h"
#include "model/engine/statenodestore.h"
#include "model/engine/universe.h"

// The unbounded plane under the rules HashLife's bit leaves cannot run: more
// than two states (Generations, LifeHistory), shapes of neighbours rather
// than counts, hexagonal and von Neumann neighbourhoods. The cells are one
// canonical square of the process-wide StateNodeStore, centred on the
// origin, a byte a cell; a step of 2^k generations reuses every square's
// known future, as HashLife does for Life, and a copy shares every node.
//
// Runs every rule without birth on 0 neighbours. Cells lie within
// +-CoordinateLimit. Use from one thread at a time, like the store.
class StateHashLife : public Universe
{
public:
    // A cell and its state, 1..255, for setStates().
    struct StatedCell {
        std::int64_t x = 0;
        std::int64_t y = 0;
        std::uint8_t state = 1;
    };

    // The empty plane. Throws UniverseError for a rule with birth on 0.
    explicit StateHashLife(const Rule &rule);
    // The cells of `square`, a square of the store of level LeafLevel..62
    // with its top-left cell at -2^(level-1), -2^(level-1). Throws
    // UniverseError for a rule with birth on 0, or when memory runs out.
    // Precondition: every state of `square` < rule.stateCount().
    StateHashLife(StateNodeId square, const Rule &rule);
    StateHashLife(const StateHashLife &other);
    StateHashLife &operator=(const StateHashLife &other);
    ~StateHashLife() override;

    std::unique_ptr<Universe> clone() const override;
    Topology topology() const override { return Topology::unbounded(); }
    const Rule &rule() const override { return stateRule; }
    // A cell keeps its state where the new rule has it; otherwise it stays
    // alive if it counted as alive, else dies (as GridUniverse does). Throws
    // UniverseError, changing nothing, for a rule with birth on 0 or when
    // memory runs out.
    void setRule(const Rule &rule) override;
    // Two rules taking turns until the next setRule(), as
    // HashLife::setRules() says; the cells keep their states as setRule(even)
    // says. Throws as setRule() does. Precondition: `odd` has the states of `even`.
    void setRules(const Rule &even, const Rule &odd);

    bool cell(std::int64_t x, std::int64_t y) const override { return state(x, y) != 0; }
    void setCell(std::int64_t x, std::int64_t y, bool alive) override { setState(x, y, alive ? 1 : 0); }
    std::uint8_t state(std::int64_t x, std::int64_t y) const override;
    // Throws UniverseError, changing nothing, for a cell beyond
    // CoordinateLimit or when memory runs out.
    void setState(std::int64_t x, std::int64_t y, std::uint8_t state) override;
    void clear() override;
    // Sets every cell of `cells` to its state, in any order; a cell listed
    // twice takes the last. The others stay as they are. Throws
    // UniverseError, changing nothing, as setState() does.
    void setStates(std::vector<StatedCell> cells);
    // Sets every cell of `cells` to state 1, as setStates().
    void setCells(const std::vector<CellPoint> &cells);

    // These cut squares of the tree rather than cells, and throw
    // UniverseError, changing nothing, when memory runs out.
    void clearInside(const CellRect &area) override;
    void clearOutside(const CellRect &area) override;
    // The cells of Universe::fillRandom(), set a batch at a time; throws
    // UniverseError, changing nothing, for an area past CoordinateLimit or
    // when memory runs out.
    void fillRandom(const CellRect &area, double density, std::uint64_t seed) override;

    void forEachLiveCell(
        const CellRect &area, const std::function<void(std::int64_t x, std::int64_t y)> &visit) const override;
    void forEachCell(const CellRect &area,
        const std::function<void(std::int64_t x, std::int64_t y, std::uint8_t state)> &visit) const override;
    // Cells not dead; throws UniverseError if they do not fit in 64 bits.
    std::uint64_t population() const override;
    std::optional<CellRect> boundingBox() const override;
    void render(const CellRect &area, int shift, std::uint8_t *pixels, int columns, int rows,
        std::ptrdiff_t stride) const override;

    // Any number of generations up to 2^64 - 1, in steps of powers of two.
    void advance(std::uint64_t generations) override;
    // advance() unless another thread raises `stop` first: then false, soon
    // after, with the cells unchanged and what was computed remembered.
    bool advanceUnless(std::uint64_t generations, const std::atomic<bool> &stop);

    // From the root square's digest: equal universes of this engine give
    // equal digests in O(1).
    std::uint64_t hash() const override;
    // O(1) against another StateHashLife; cell by cell against other engines.
    bool equals(const Universe &other) const override;
    bool equalsShifted(const Universe &other, std::int64_t dx, std::int64_t dy) const override;

    // The cells not dead, all in state 1, as a HashLife under Conway's rule;
    // each distinct square is turned once, so that a regular pattern of
    // any size costs little. Throws UniverseError when memory runs out.
    HashLife liveCells() const;

    // The root square: its level 3..62, its top-left cell at -2^(level-1),
    // -2^(level-1); the smallest such square that holds every cell not dead.
    StateNodeId rootNode() const { return root; }

    // Bytes all these universes of the process may hold together; 1 GiB by default.
    static void setMemoryLimit(std::size_t bytes);
    static std::size_t memoryLimit();

private:
    static constexpr int RootLevel = 3; // the smallest root
    static constexpr int RootLimitLevel = 62; // the largest root: 2^61 cells to each side
    static constexpr int MaxStepExponent = 59; // a step of 2^59 generations at most

    static void checkRule(const Rule &rule);
    [[noreturn]] static void failOutOfMemory();
    void replaceRoot(StateNodeId next);
    // Runs `change`, which returns the new root from the protected old one,
    // turning running out of memory into UniverseError.
    template <typename Change> void changeRoot(const Change &change);
    static StateNodeId expanded(StateNodeId square);
    // expanded() until the root holds `area`; precondition: `area` lies within CoordinateLimit.
    static StateNodeId grownFor(StateNodeId square, const CellRect &area);
    static StateNodeId shrunk(StateNodeId square);
    static StateNodeId step(StateNodeId square, int exponent);
    static StateNodeId withState(StateNodeId square, int level, std::uint64_t x, std::uint64_t y, std::uint8_t state);
    // The square of `level` whose top-left cell is (left, top), holding the
    // cells of begin..end (all inside it) over those of `under`.
    static StateNodeId built(
        StatedCell *begin, StatedCell *end, int level, std::int64_t left, std::int64_t top, StateNodeId under);
    // The square with the cells inside (or with `outside`, outside) `area`
    // made 0; the square's top-left cell is (left, top).
    static StateNodeId clipped(
        StateNodeId square, std::int64_t left, std::int64_t top, const CellRect &area, bool outside);

    // The smallest rectangle holding every cell of the root square `square` not 0.
    static std::optional<CellRect> boxOf(StateNodeId square);

    Rule stateRule;
    Rule nextRule; // the rule after stateRule's generation: stateRule itself but after setRules()
    StateNodeId root; // registered with the store as long as this universe holds it
};

#endif // STATEHASHLIFE_H
