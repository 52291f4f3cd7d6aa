#ifndef HASHLIFE_H
#define HASHLIFE_H

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "model/engine/cellblock.h"
#include "model/engine/nodestore.h"
#include "model/engine/orientation.h"
#include "model/engine/universe.h"

// The unbounded plane, after Gosper's memoised quadtree (HashLife): the live
// cells are one canonical square of the process-wide NodeStore, centred on
// the origin, and a step of 2^k generations reuses every square's known
// future, so that regular patterns run billions of generations in a moment
// and a copy (an undo step, a saved state) costs next to nothing.
//
// Runs every Life-like rule without birth on 0 neighbours. Cells lie within
// +-CoordinateLimit. Use from one thread at a time, like the NodeStore.
class HashLife : public Universe
{
public:
    // The empty plane. Throws UniverseError for a rule with birth on 0.
    explicit HashLife(const Rule &rule = Rule());
    // The cells of `root`, a square of the store of level LeafLevel..61 with
    // its top-left cell at -2^(level-1), -2^(level-1). Throws UniverseError
    // for a rule with birth on 0, or when memory runs out.
    HashLife(NodeId root, const Rule &rule);
    HashLife(const HashLife &other);
    HashLife &operator=(const HashLife &other);
    ~HashLife() override;

    std::unique_ptr<Universe> clone() const override;
    Topology topology() const override { return Topology::unbounded(); }
    const Rule &rule() const override { return lifeRule; }
    void setRule(const Rule &rule) override;
    // Two rules taking turns until the next setRule(): generation t from
    // now (t = 0, 1, ...) under `even` for even t and under `odd` for odd t,
    // so that a rule with birth on 0 runs as such a pair on the cells that
    // differ from its blinking background. rule() is the rule of the next
    // generation. A jump costs as under one rule where it starts on an even
    // generation; an odd one makes the results known so far useless. Throws
    // as setRule() does.
    void setRules(const Rule &even, const Rule &odd);

    bool cell(std::int64_t x, std::int64_t y) const override;
    void setCell(std::int64_t x, std::int64_t y, bool alive) override;
    void clear() override;
    // Sets every cell of `cells` alive, in any order, repeats allowed; the
    // others stay as they are. Throws UniverseError, changing nothing, for a
    // cell beyond CoordinateLimit or when memory runs out.
    void setCells(std::vector<CellPoint> cells);
    // The same for the live cells of `blocks`, a square of the tree a block.
    // Throws UniverseError, changing nothing, for a block beyond
    // CoordinateLimit or when memory runs out. Precondition: no two blocks
    // lie in the same place.
    void setBlocks(std::vector<CellBlock> blocks);

    // These cut, combine and fill squares of the tree rather than cells, and
    // throw UniverseError, changing nothing, when memory runs out.
    void clearInside(const CellRect &area) override;
    void clearOutside(const CellRect &area) override;
    // Reads a `source` other than a HashLife into one first.
    void combine(const Universe &source, const CellRect &area, Combination how) override;
    void fillRandom(const CellRect &area, double density, std::uint64_t seed) override;
    // The cells inside `area` alone, under the same rule, sharing this one's squares.
    HashLife cellsIn(const CellRect &area) const;
    // The live cells inside `area` of any universe, visited one by one, under
    // Conway's rule. Throws UniverseError as setCells() does.
    static HashLife fromCells(const Universe &source, const CellRect &area);
    // The cells inside `box` turned within it by `orientation`, then moved so
    // that the turned box's top-left cell lies on `topLeft` (see
    // Orientation::map()). Throws UniverseError when a cell would lie beyond
    // CoordinateLimit or memory runs out. Precondition: `box` lies within
    // CoordinateLimit, |topLeft.x| and |topLeft.y| are at most CoordinateLimit.
    HashLife turned(const Orientation &orientation, const CellRect &box, CellPoint topLeft) const;

    void forEachLiveCell(
        const CellRect &area, const std::function<void(std::int64_t x, std::int64_t y)> &visit) const override;
    // Each block of 64 x 64 cells, aligned as the tiles are, that holds a
    // live cell, in no particular order.
    void forEachBlock(const std::function<void(const CellBlock &block)> &visit) const;
    std::uint64_t population() const override;
    std::optional<CellRect> boundingBox() const override;
    // Fastest with area.left and area.top on multiples of 2^shift: a whole
    // square of the tree then answers for each pixel.
    void render(const CellRect &area, int shift, std::uint8_t *pixels, int columns, int rows,
        std::ptrdiff_t stride) const override;
    // Any number of generations up to 2^64 - 1, in steps of powers of two.
    void advance(std::uint64_t generations) override;
    // advance() unless it would end after `deadline`: then false, soon after
    // it, with the cells unchanged. What it computed stays remembered.
    bool advanceBefore(std::uint64_t generations, std::chrono::steady_clock::time_point deadline);
    // advance() unless another thread raises `stop` first: then false, soon
    // after, with the cells unchanged and what was computed remembered.
    bool advanceUnless(std::uint64_t generations, const std::atomic<bool> &stop);
    // advance() unless `stop`, asked every few hundred results computed,
    // returns true first: then false, as advanceUnless() above.
    bool advanceUnless(std::uint64_t generations, const std::function<bool()> &stop);
    // The part (0..1) of the jump in progress, or of the last one, that is
    // done: an estimate that a chaotic pattern's jump makes early and a
    // regular one's overstates the cost of.
    static double jumpProgress();

    // From the root square's digest: equal HashLife universes give equal
    // digests in O(1); TileLife digests the same cells differently.
    std::uint64_t hash() const override;
    // O(1) against another HashLife; cell by cell against other engines.
    bool equals(const Universe &other) const override;
    // Compares squares of the tree where `other` is a HashLife too.
    bool equalsShifted(const Universe &other, std::int64_t dx, std::int64_t dy) const override;

    // The root square: its level 4..62, its top-left cell at -2^(level-1),
    // -2^(level-1); the smallest such square that holds every live cell.
    NodeId rootNode() const { return root; }

    // Bytes all universes of the process may hold together; 1 GiB by default.
    static void setMemoryLimit(std::size_t bytes);
    static std::size_t memoryLimit();
    static std::size_t memoryUsed();

private:
    static constexpr int RootLevel = 4; // the smallest root
    static constexpr int RootLimitLevel = 62; // the largest root: 2^61 cells to each side
    static constexpr int MaxStepExponent = 59; // a step of 2^59 generations at most
    static constexpr int BlockLevel = CellBlock::Level;

    static void checkRule(const Rule &rule);
    [[noreturn]] static void failOutOfMemory();
    void replaceRoot(NodeId next);
    // Clears the cells inside `area`, or with `outside` those outside it.
    void clip(const CellRect &area, bool outside);
    static NodeId expanded(NodeId square);
    // expanded() for a root that must hold a farther cell; throws
    // std::logic_error past RootLimitLevel, which only a fault reaches.
    static NodeId grown(NodeId square);
    // `square` grown until it holds `box`, which lies within 2^61 cells of the origin.
    static NodeId grownToHold(NodeId square, const CellRect &box);
    static NodeId shrunk(NodeId square);
    static NodeId step(NodeId square, int exponent);
    static NodeId withCell(NodeId square, int level, std::uint64_t x, std::uint64_t y, bool alive);
    // The square `square` of `level` with the cells of begin..end alive, all of them within `bound`.
    static NodeId built(CellPoint *begin, CellPoint *end, int level, const CellRect &square, const CellRect &bound);
    // The square of `level` (BlockLevel or more) with its top-left cell at
    // `left`, `top`, holding the blocks begin..end, all of them inside it.
    static NodeId builtOfBlocks(CellBlock *begin, CellBlock *end, int level, std::int64_t left, std::int64_t top);
    // The square of `level` (LeafLevel..BlockLevel) of `block` at its cell x, y.
    static NodeId blockSquare(const CellBlock &block, int x, int y, int level);
    std::vector<CellPoint> liveCells(const CellRect &area) const;
    // advance(), false if the store's deadline or stop flag ended it; clears both.
    bool advanceInterruptible(std::uint64_t generations);

    Rule lifeRule;
    Rule nextRule; // the rule after lifeRule's generation: lifeRule itself but after setRules()
    NodeId root; // registered with the store as long as this universe holds it
};

#endif // HASHLIFE_H
