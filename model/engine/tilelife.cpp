#include "model/engine/tilelife.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "model/engine/bitmix.h"
#include "model/engine/lifebits.h"
#include "model/engine/packedrows.h"
#include "model/engine/tilestep.h"

namespace
{

using Word = std::uint64_t;

// Offsets of the neighbours N, NE, E, SE, S, SW, W, NW; the opposite of d is (d + 4) % 8.
constexpr int OffsetX[8] = { 0, 1, 1, 1, 0, -1, -1, -1 };
constexpr int OffsetY[8] = { -1, -1, 0, 1, 1, 1, 0, -1 };

Word mix(Word x) { return BitMix::finalise(x); }

using Outcome = TileStep::Outcome;

// Bit d set for each neighbour d that faces a set bit of `top`, the top row,
// `bottom`, the bottom row, or `sides`, the tile's columns.
inline std::uint8_t edgeBits(Word top, Word bottom, Word sides)
{
    return static_cast<std::uint8_t>((top != 0 ? 1U : 0U) | ((top >> 63) << 1) | ((sides >> 63) << 2)
        | ((bottom >> 63) << 3) | (bottom != 0 ? 16U : 0U) | ((bottom & 1) << 5) | ((sides & 1) << 6)
        | ((top & 1) << 7));
}

// Throws UniverseError, naming `what` at x, y, beyond CoordinateLimit.
void checkWithinLimit(const char *what, std::int64_t x, std::int64_t y)
{
    constexpr std::int64_t Limit = Universe::CoordinateLimit;
    if (x < -Limit || x > Limit || y < -Limit || y > Limit)
        throw UniverseError(std::string(what) + " " + std::to_string(x) + ", " + std::to_string(y)
            + " lies beyond the edge of the unbounded plane");
}

} // namespace

std::size_t TileLife::TileKeyHash::operator()(const TileKey &key) const
{
    return static_cast<std::size_t>(mix(Word(key.x) * 0x9E3779B97F4A7C15ULL ^ Word(key.y)));
}

TileLife::TileLife(const Rule &rule)
    : lifeRule(rule)
{
    checkRule(rule);
}

bool TileLife::isPeriodTwo(const Tile &tile) const
{
    // A tile not computed in the last generation was still for two.
    return tile.periodTwo || tile.computedAt != stepCount;
}

bool TileLife::repeatsFacing(const Tile &tile, int d) const
{
    return isPeriodTwo(tile) || ((tile.repeatingEdges >> d) & 1) != 0;
}

std::unique_ptr<Universe> TileLife::clone() const { return std::make_unique<TileLife>(*this); }

void TileLife::checkRule(const Rule &rule)
{
    if ((rule.birthCounts() & 1U) != 0) {
        throw UniverseError("the rule " + rule.toString()
            + " gives birth on 0 neighbours, which would fill the unbounded plane in one generation");
    }
}

void TileLife::setRule(const Rule &rule)
{
    checkRule(rule);
    lifeRule = rule;
    stepsSinceEdit = 0;
    // Still tiles may move under the new rule.
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(tiles.size()); ++i) {
        if (tiles[static_cast<std::size_t>(i)].used)
            markChanged(i);
    }
}

std::int32_t TileLife::tileAt(const TileKey &key) const
{
    const auto found = index.find(key);
    return found == index.end() ? -1 : found->second;
}

std::int32_t TileLife::addTile(const TileKey &key)
{
    std::int32_t slot;
    if (freeTiles.empty()) {
        slot = static_cast<std::int32_t>(tiles.size());
        tiles.emplace_back();
        cells.emplace_back();
        currents.push_back(0);
    } else {
        slot = freeTiles.back();
        freeTiles.pop_back();
        tiles[static_cast<std::size_t>(slot)] = Tile();
        cells[static_cast<std::size_t>(slot)] = TileRows();
        currents[static_cast<std::size_t>(slot)] = 0;
    }
    index.emplace(key, slot);
    Tile &tile = tiles[static_cast<std::size_t>(slot)];
    tile.key = key;
    tile.used = true;
    tile.computedAt = stepCount;
    farthestKey = std::max({ farthestKey, key.x < 0 ? -key.x : key.x, key.y < 0 ? -key.y : key.y });
    for (int d = 0; d < Directions; ++d) {
        const std::int32_t other = tileAt({ key.x + OffsetX[d], key.y + OffsetY[d] });
        tile.neighbours[static_cast<std::size_t>(d)] = other;
        if (other >= 0)
            tiles[static_cast<std::size_t>(other)].neighbours[static_cast<std::size_t>((d + 4) % 8)] = slot;
    }
    return slot;
}

void TileLife::removeTile(std::int32_t slot)
{
    Tile &tile = tiles[static_cast<std::size_t>(slot)];
    for (int d = 0; d < Directions; ++d) {
        const std::int32_t other = tile.neighbours[static_cast<std::size_t>(d)];
        if (other >= 0)
            tiles[static_cast<std::size_t>(other)].neighbours[static_cast<std::size_t>((d + 4) % 8)] = -1;
    }
    index.erase(tile.key);
    tile.used = false;
    freeTiles.push_back(slot);
}

void TileLife::markChanged(std::int32_t slot, std::uint8_t edges)
{
    Tile &tile = tiles[static_cast<std::size_t>(slot)];
    tile.changedEdges |= edges;
    if (!tile.changed) {
        tile.changed = true;
        changedTiles.push_back(slot);
    }
}

bool TileLife::cell(std::int64_t x, std::int64_t y) const
{
    const std::int32_t slot = tileAt({ x >> 6, y >> 6 });
    return slot >= 0 && ((rows(slot)[y & 63] >> (x & 63)) & 1);
}

void TileLife::setCell(std::int64_t x, std::int64_t y, bool alive)
{
    checkWithinLimit("the cell", x, y);
    std::int32_t slot = tileAt({ x >> 6, y >> 6 });
    if (slot < 0) {
        if (!alive)
            return;
        slot = addTile({ x >> 6, y >> 6 });
    }
    Word &row = rows(slot)[y & 63];
    const Word bit = Word(1) << (x & 63);
    const Word next = alive ? row | bit : row & ~bit;
    if (next != row) {
        row = next;
        Tile &tile = tiles[static_cast<std::size_t>(slot)];
        tile.columns[currents[static_cast<std::size_t>(slot)]] |= bit;
        tile.liveEdges[currents[static_cast<std::size_t>(slot)]] = 0xFF;
        markChanged(slot);
        stepsSinceEdit = 0;
    }
}

void TileLife::clear()
{
    tiles.clear();
    cells.clear();
    currents.clear();
    freeTiles.clear();
    index.clear();
    changedTiles.clear();
    farthestKey = 0;
}

void TileLife::setCells(const std::vector<CellPoint> &cells)
{
    for (const CellPoint &cell : cells)
        checkWithinLimit("the cell", cell.x, cell.y);
    // Cells in a row of the same tile, as a file lists them, find it once:
    // its words are at hand until the next tile, which may move them.
    Word *tileRows = nullptr;
    Word *tileColumns = nullptr;
    TileKey key { 0, 0 };
    for (const CellPoint &cell : cells) {
        const TileKey cellKey { cell.x >> 6, cell.y >> 6 };
        if (tileRows == nullptr || !(cellKey == key)) {
            key = cellKey;
            std::int32_t slot = tileAt(key);
            if (slot < 0)
                slot = addTile(key);
            Tile &tile = tiles[static_cast<std::size_t>(slot)];
            const std::uint8_t current = currents[static_cast<std::size_t>(slot)];
            tile.liveEdges[current] = 0xFF;
            markChanged(slot);
            tileRows = rows(slot);
            tileColumns = &tile.columns[current];
        }
        tileRows[cell.y & 63] |= Word(1) << (cell.x & 63);
        *tileColumns |= Word(1) << (cell.x & 63);
    }
    stepsSinceEdit = 0;
}

void TileLife::setBlocks(const std::vector<CellBlock> &blocks)
{
    for (const CellBlock &block : blocks)
        checkWithinLimit("the block at", block.left, block.top);
    for (const CellBlock &block : blocks) {
        Word columns = 0;
        for (const Word row : block.rows)
            columns |= row;
        if (columns == 0)
            continue;
        const TileKey key { block.left >> 6, block.top >> 6 };
        std::int32_t slot = tileAt(key);
        if (slot < 0)
            slot = addTile(key);
        Word *tileRows = rows(slot);
        for (int r = 0; r < Side; ++r)
            tileRows[r] |= block.rows[static_cast<std::size_t>(r)];
        Tile &tile = tiles[static_cast<std::size_t>(slot)];
        const std::uint8_t current = currents[static_cast<std::size_t>(slot)];
        tile.liveEdges[current] = 0xFF;
        tile.columns[current] |= columns;
        markChanged(slot);
    }
    stepsSinceEdit = 0;
}

void TileLife::step()
{
    // Due: every changed tile and its neighbours, made where a live edge may give births.
    for (const std::int32_t slot : changedTiles) {
        Tile *tile = &tiles[static_cast<std::size_t>(slot)];
        if (!tile->due) {
            tile->due = true;
            due.push_back(slot);
        }
        const unsigned liveEdges = tile->liveEdges[currents[static_cast<std::size_t>(slot)]];
        // Only neighbours facing cells that changed can change with them.
        for (unsigned edges = tile->changedEdges; edges != 0; edges &= edges - 1) {
            const int d = __builtin_ctz(edges);
            std::int32_t other = tile->neighbours[static_cast<std::size_t>(d)];
            // A missing neighbour gets births from live cells facing it, or,
            // where a neighbour of ours reaches its cells too, from a death
            // here that leaves one of its cells with three live neighbours
            // rather than four.
            const auto beside
                = [&](int turn) { return tile->neighbours[static_cast<std::size_t>((d + turn) % 8)] >= 0; };
            if (other < 0 && (((liveEdges >> d) & 1) != 0 || beside(1) || beside(7) || beside(2) || beside(6))) {
                const TileKey key = tile->key;
                other = addTile({ key.x + OffsetX[d], key.y + OffsetY[d] });
                tile = &tiles[static_cast<std::size_t>(slot)]; // addTile() may move the tiles
            }
            if (other >= 0 && !tiles[static_cast<std::size_t>(other)].due) {
                tiles[static_cast<std::size_t>(other)].due = true;
                due.push_back(other);
            }
        }
    }

    const bool conway = lifeRule == Rule();
    const LifeBits::RuleDecision decision(lifeRule);
    outcomes.resize(due.size());
    for (std::size_t k = 0; k < due.size(); ++k) {
        Tile &tile = tiles[static_cast<std::size_t>(due[k])];
        const Word *neighbours[8];
        // Where the tile and the cells of its neighbours that face it are as
        // two generations ago, the tile's next generation is its previous
        // one, already in place.
        bool repeats = stepsSinceEdit >= 2 && isPeriodTwo(tile);
        for (int d = 0; d < Directions; ++d) {
            const std::int32_t other = tile.neighbours[static_cast<std::size_t>(d)];
            neighbours[d] = other >= 0 ? rows(other) : nullptr;
            repeats = repeats && other >= 0 && repeatsFacing(tiles[static_cast<std::size_t>(other)], (d + 4) % 8);
        }
        const int buffer = currents[static_cast<std::size_t>(due[k])];
        Word *next = cells[static_cast<std::size_t>(due[k])].buffers[1 - buffer];
        if (repeats) {
            // The previous generation is already in place, and differs from
            // the current one where the current one differed from it.
            outcomes[k] = { tile.changed, true, tile.changed ? tile.changedEdges : std::uint8_t(0), 0xFF };
            continue;
        }
        const Word *current = rows(due[k]);
        const Word previousTop = next[0];
        const Word previousBottom = next[Side - 1];
        const Outcome outcome = conway ? TileStep::conway(current, neighbours, next)
                                       : TileStep::anyRule(decision, current, neighbours, next);
        tile.columns[1 - buffer] = outcome.columns;
        tile.liveEdges[1 - buffer] = edgeBits(next[0], next[Side - 1], outcome.columns);
        outcomes[k] = { outcome.fromCurrent != 0, outcome.fromPrevious == 0,
            edgeBits(outcome.top, outcome.bottom, outcome.fromCurrent),
            static_cast<std::uint8_t>(
                ~edgeBits(next[0] ^ previousTop, next[Side - 1] ^ previousBottom, outcome.fromPrevious)) };
    }

    for (const std::int32_t slot : changedTiles) {
        tiles[static_cast<std::size_t>(slot)].changed = false;
        tiles[static_cast<std::size_t>(slot)].changedEdges = 0;
    }
    changedTiles.clear();
    ++stepCount;
    for (std::size_t k = 0; k < due.size(); ++k) {
        Tile &tile = tiles[static_cast<std::size_t>(due[k])];
        tile.due = false;
        tile.periodTwo = outcomes[k].periodTwo;
        tile.repeatingEdges = outcomes[k].repeatingEdges;
        tile.computedAt = stepCount;
        if (outcomes[k].changed) {
            currents[static_cast<std::size_t>(due[k])] ^= 1;
            markChanged(due[k], outcomes[k].changedEdges);
        } else if (tile.columns[currents[static_cast<std::size_t>(due[k])]] == 0) {
            removeTile(due[k]);
        }
    }
    due.clear();
    stepsSinceEdit = std::min(stepsSinceEdit + 1, 2);
}

bool TileLife::nearLimit(std::uint64_t generations) const
{
    // A pattern grows by a cell a generation at most: tiles this far from
    // the limit may cross it.
    const std::int64_t reach
        = static_cast<std::int64_t>(std::min<std::uint64_t>(generations, CoordinateLimit) >> 6) + 2;
    return farthestKey >= (CoordinateLimit >> 6) - reach;
}

void TileLife::advance(std::uint64_t generations)
{
    if (!nearLimit(generations)) {
        for (std::uint64_t i = 0; i < generations && !changedTiles.empty(); ++i)
            step();
        return;
    }
    // Stepped on a copy, so that a pattern crossing the limit half-way leaves this one as it was.
    TileLife trial(*this);
    for (std::uint64_t i = 0; i < generations && !trial.changedTiles.empty(); ++i) {
        trial.step();
        const std::optional<CellRect> box = trial.boundingBox();
        if (box
            && (box->left < -CoordinateLimit || box->top < -CoordinateLimit || box->right > CoordinateLimit
                || box->bottom > CoordinateLimit))
            throw UniverseError("the pattern would grow past " + std::to_string(CoordinateLimit)
                + " cells from the origin, the edge of the unbounded plane");
    }
    *this = std::move(trial);
}

bool TileLife::advanceUnless(std::uint64_t generations, const std::atomic<bool> &stop, std::atomic<std::uint64_t> *done)
{
    // Few enough generations between looks at the flag that the loser of a
    // race stops within a millisecond or so.
    constexpr std::uint64_t Chunk = 8;
    while (generations > 0 && !changedTiles.empty()) {
        if (stop.load(std::memory_order_relaxed))
            return false;
        const std::uint64_t chunk = std::min(generations, Chunk);
        advance(chunk);
        generations -= chunk;
        if (done)
            done->fetch_add(chunk, std::memory_order_relaxed);
    }
    return true;
}

void TileLife::forEachBlock(const std::function<void(const CellBlock &block)> &visit) const
{
    CellBlock block {};
    for (const Tile &tile : tiles) {
        if (!tile.used)
            continue;
        const Word *cells = rowsOf(tile);
        if (std::all_of(cells, cells + Side, [](Word row) { return row == 0; }))
            continue;
        block.left = tile.key.x * Side;
        block.top = tile.key.y * Side;
        std::copy(cells, cells + Side, block.rows.begin());
        visit(block);
    }
}

void TileLife::forEachLiveCell(
    const CellRect &area, const std::function<void(std::int64_t x, std::int64_t y)> &visit) const
{
    std::vector<const Tile *> inside;
    for (const Tile &tile : tiles) {
        if (tile.used && tile.key.x >= area.left >> 6 && tile.key.x <= area.right >> 6 && tile.key.y >= area.top >> 6
            && tile.key.y <= area.bottom >> 6)
            inside.push_back(&tile);
    }
    std::sort(inside.begin(), inside.end(),
        [](const Tile *a, const Tile *b) { return a->key.y != b->key.y ? a->key.y < b->key.y : a->key.x < b->key.x; });
    for (std::size_t first = 0; first < inside.size();) {
        std::size_t last = first;
        while (last < inside.size() && inside[last]->key.y == inside[first]->key.y)
            ++last;
        for (int r = 0; r < Side; ++r) {
            const std::int64_t y = inside[first]->key.y * Side + r;
            if (y < area.top || y > area.bottom)
                continue;
            for (std::size_t k = first; k < last; ++k) {
                const std::int64_t left = inside[k]->key.x * Side;
                for (Word row = rowsOf(*inside[k])[r]; row != 0; row &= row - 1) {
                    const std::int64_t x = left + __builtin_ctzll(row);
                    if (x >= area.left && x <= area.right)
                        visit(x, y);
                }
            }
        }
        first = last;
    }
}

std::uint64_t TileLife::population() const
{
    std::uint64_t count = 0;
    for (const Tile &tile : tiles) {
        if (!tile.used)
            continue;
        count += PackedRows(rowsOf(tile), Side, Side).population();
    }
    return count;
}

std::optional<CellRect> TileLife::boundingBox() const
{
    std::optional<CellRect> box;
    for (const Tile &tile : tiles) {
        if (!tile.used)
            continue;
        Word columns = 0;
        int top = -1;
        int bottom = -1;
        for (int r = 0; r < Side; ++r) {
            const Word row = rowsOf(tile)[r];
            columns |= row;
            if (row != 0) {
                top = top < 0 ? r : top;
                bottom = r;
            }
        }
        if (columns == 0)
            continue;
        const CellRect tileBox { tile.key.x * Side + __builtin_ctzll(columns), tile.key.y * Side + top,
            tile.key.x * Side + 63 - __builtin_clzll(columns), tile.key.y * Side + bottom };
        box = box ? CellRect { std::min(box->left, tileBox.left), std::min(box->top, tileBox.top),
            std::max(box->right, tileBox.right), std::max(box->bottom, tileBox.bottom) }
                  : tileBox;
    }
    return box;
}

void TileLife::render(
    const CellRect &area, int shift, std::uint8_t *pixels, int columns, int rows, std::ptrdiff_t stride) const
{
    if (columns <= 0 || rows <= 0)
        return;
    for (int r = 0; r < rows; ++r)
        std::memset(pixels + r * stride, 0, static_cast<std::size_t>(columns));
    const auto column = [&](std::int64_t x) { return (Word(x) - Word(area.left)) >> shift; };
    const auto row = [&](std::int64_t y) { return (Word(y) - Word(area.top)) >> shift; };
    for (const Tile &tile : tiles) {
        if (!tile.used)
            continue;
        const std::int64_t left = tile.key.x * Side;
        const std::int64_t top = tile.key.y * Side;
        if (left > area.right || left + Side - 1 < area.left || top > area.bottom || top + Side - 1 < area.top)
            continue;
        for (int r = 0; r < Side; ++r) {
            const std::int64_t y = top + r;
            if (y < area.top || y > area.bottom || row(y) >= static_cast<Word>(rows))
                continue;
            for (Word bits = rowsOf(tile)[r]; bits != 0; bits &= bits - 1) {
                const std::int64_t x = left + __builtin_ctzll(bits);
                if (x >= area.left && x <= area.right && column(x) < static_cast<Word>(columns))
                    pixels[static_cast<std::ptrdiff_t>(row(y)) * stride + static_cast<std::ptrdiff_t>(column(x))] = 1;
            }
        }
    }
}

std::uint64_t TileLife::hash() const
{
    // A sum over the tiles, so that their order does not count; empty tiles
    // add nothing. Each row is mixed apart from the others, so that the
    // processor mixes several at once.
    Word digest = 0;
    for (const Tile &tile : tiles) {
        if (!tile.used)
            continue;
        Word tileDigest = 0;
        Word any = 0;
        for (int r = 0; r < Side; ++r) {
            const Word row = rowsOf(tile)[r];
            tileDigest += mix(row + Word(r) * 0x9E3779B97F4A7C15ULL);
            any |= row;
        }
        if (any != 0)
            digest += mix(tileDigest ^ TileKeyHash()(tile.key));
    }
    return digest;
}

bool TileLife::equals(const Universe &other) const
{
    if (other.topology() != topology() || other.population() != population())
        return false;
    bool same = true;
    const std::optional<CellRect> box = boundingBox();
    if (box)
        forEachLiveCell(*box, [&](std::int64_t x, std::int64_t y) { same = same && other.cell(x, y); });
    return same;
}
