#ifndef TILELIFE_H
#define TILELIFE_H

#include <array>
#include <atomic>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "model/engine/cellblock.h"
#include "model/engine/universe.h"

// The unbounded plane stepped one generation at a time: 64 x 64 tiles of
// bits, of which only those that changed in the last generation, and their
// neighbours, are computed. HashLife's memo gains nothing on chaotic
// patterns, whose every square is new, and there this is tens of times
// faster; HashLife stays the engine for long jumps and regular patterns.
//
// Choosing between them: step with TileLife while the generations are
// counted out one by one (playing, single steps, jumps of at most
// StepLimit generations); jump with HashLife beyond that. Both give exactly
// the same cells, and each takes the other's through setCells().
class TileLife : public Universe
{
public:
    // A jump of more generations than this is HashLife's.
    static constexpr std::uint64_t StepLimit = 1024;

    // The empty plane. Throws UniverseError for a rule with birth on 0.
    explicit TileLife(const Rule &rule = Rule());

    std::unique_ptr<Universe> clone() const override;
    Topology topology() const override { return Topology::unbounded(); }
    const Rule &rule() const override { return lifeRule; }
    void setRule(const Rule &rule) override;

    bool cell(std::int64_t x, std::int64_t y) const override;
    void setCell(std::int64_t x, std::int64_t y, bool alive) override;
    void clear() override;
    // Sets every cell of `cells` alive, in any order, repeats allowed. Throws
    // UniverseError, changing nothing, for a cell beyond CoordinateLimit.
    void setCells(const std::vector<CellPoint> &cells);
    // The same for the live cells of `blocks`. Throws UniverseError, changing
    // nothing, for a block that starts beyond CoordinateLimit.
    void setBlocks(const std::vector<CellBlock> &blocks);

    void forEachLiveCell(
        const CellRect &area, const std::function<void(std::int64_t x, std::int64_t y)> &visit) const override;
    // Each tile that holds a live cell, as a block, in no particular order.
    void forEachBlock(const std::function<void(const CellBlock &block)> &visit) const;
    std::uint64_t population() const override;
    std::optional<CellRect> boundingBox() const override;
    void render(const CellRect &area, int shift, std::uint8_t *pixels, int columns, int rows,
        std::ptrdiff_t stride) const override;
    // One generation after another; meant for up to StepLimit of them. Near
    // the limit each generation is checked, on a copy.
    void advance(std::uint64_t generations) override;
    // Any number of generations, unless another thread raises `stop` first:
    // then false, soon after, with the cells at some generation between.
    // Adds the generations done to `done`, if given, as they are done.
    bool advanceUnless(
        std::uint64_t generations, const std::atomic<bool> &stop, std::atomic<std::uint64_t> *done = nullptr);

    // Equal TileLife universes give equal digests; HashLife digests the same cells differently.
    std::uint64_t hash() const override;
    // Compares with any engine's universe, cell by cell.
    bool equals(const Universe &other) const override;

private:
    using Word = std::uint64_t;
    static constexpr int Side = 64; // cells a tile spans each way
    static constexpr int Directions = 8; // N, NE, E, SE, S, SW, W, NW

    struct TileKey {
        std::int64_t x; // tile column: cell x >> 6
        std::int64_t y; // tile row: cell y >> 6
        bool operator==(const TileKey &other) const { return x == other.x && y == other.y; }
    };
    struct TileKeyHash {
        std::size_t operator()(const TileKey &key) const;
    };
    // What the stepping reads of a tile and its neighbours, apart from the
    // cells, so that deciding which tiles to compute touches a few bytes a tile.
    struct Tile {
        TileKey key;
        Word columns[2] = {}; // for each buffer, bit x set if a cell of column x may be alive
        std::uint64_t computedAt = 0; // the last generation computed, counted by stepCount
        std::array<std::int32_t, Directions> neighbours {}; // indices into tiles, -1 for none
        // For each buffer, bit d set if a cell facing neighbour d may be alive.
        std::uint8_t liveEdges[2] = {};
        bool changed = false; // in the last generation, or set since
        std::uint8_t changedEdges = 0; // bit d set: the cells facing neighbour d changed with it
        bool periodTwo = false; // computed at computedAt as it was two generations before
        // Bit d set: computed at computedAt, the cells facing neighbour d were as two generations before.
        std::uint8_t repeatingEdges = 0;
        bool due = false; // to be computed in the generation under way
        bool used = false; // false for a slot on the free list
    };
    // A tile's cells: bit x of row y is the cell at key.x * 64 + x, key.y * 64 + y,
    // in the current generation and in the one before (equal to it unless the
    // tile changed). Aligned to cache lines, which the widest step reads whole.
    struct alignas(64) TileRows {
        Word buffers[2][Side] {};
    };
    // What computing a due tile found.
    struct Finding {
        bool changed;
        bool periodTwo; // as two generations before
        std::uint8_t changedEdges;
        std::uint8_t repeatingEdges;
    };

    static void checkRule(const Rule &rule);
    // The current generation of the tile in `slot`.
    Word *rows(std::int32_t slot)
    {
        return cells[static_cast<std::size_t>(slot)].buffers[currents[static_cast<std::size_t>(slot)]];
    }
    const Word *rows(std::int32_t slot) const
    {
        return cells[static_cast<std::size_t>(slot)].buffers[currents[static_cast<std::size_t>(slot)]];
    }
    // The same for `tile`, an element of tiles.
    const Word *rowsOf(const Tile &tile) const { return rows(static_cast<std::int32_t>(&tile - tiles.data())); }
    std::int32_t tileAt(const TileKey &key) const;
    std::int32_t addTile(const TileKey &key);
    void removeTile(std::int32_t index);
    // Marks a tile changed; `edges` has bit d set where the cells facing neighbour d changed.
    void markChanged(std::int32_t index, std::uint8_t edges = 0xFF);
    void step();
    bool isPeriodTwo(const Tile &tile) const;
    // Whether the cells of `tile` facing its neighbour d are as two generations before.
    bool repeatsFacing(const Tile &tile, int d) const;
    // Whether the pattern may reach past CoordinateLimit within `generations`.
    bool nearLimit(std::uint64_t generations) const;

    Rule lifeRule;
    std::vector<Tile> tiles;
    std::vector<TileRows> cells; // for each of tiles
    // For each of tiles, which of its buffers holds the current generation:
    // apart from the tiles, so that finding the neighbours' cells reads
    // a byte a tile.
    std::vector<std::uint8_t> currents;
    std::vector<std::int32_t> freeTiles;
    std::unordered_map<TileKey, std::int32_t, TileKeyHash> index;
    std::vector<std::int32_t> changedTiles; // those with `changed` set, each once
    int stepsSinceEdit = 0; // generations since cells or the rule were last set, up to 2
    std::uint64_t stepCount = 0; // generations stepped
    // The largest |x| or |y| of a tile key made since the plane was last
    // cleared, so that nearLimit() looks at no tile: none lies farther out.
    std::int64_t farthestKey = 0;
    std::vector<std::int32_t> due; // tiles to compute in the generation under way
    std::vector<Finding> outcomes; // for each due tile
};

#endif // TILELIFE_H
