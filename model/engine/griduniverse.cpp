#include "model/engine/griduniverse.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>

#include "model/engine/bitmix.h"
#include "model/engine/lifebits.h"
#include "model/engine/randombits.h"

namespace
{

using Word = PackedRows::Word;

using Counts = LifeBits::Counts;

// The counts of eight neighbours from the sums of their rows. Above and
// below, `sides` and `both` hold the west and east neighbours (their sum's
// low bit, and where both live) and `self` the cells between them; of the
// row itself only its west and east neighbours count.
inline Counts countNeighbours(Word sidesAbove, Word bothAbove, Word selfAbove, Word sidesMiddle, Word bothMiddle,
    Word sidesBelow, Word bothBelow, Word selfBelow)
{
    const LifeBits::RowSums above { sidesAbove ^ selfAbove, bothAbove | (selfAbove & sidesAbove), 0, 0 };
    const LifeBits::RowSums middle { 0, 0, sidesMiddle, bothMiddle };
    const LifeBits::RowSums below { sidesBelow ^ selfBelow, bothBelow | (selfBelow & sidesBelow), 0, 0 };
    return LifeBits::addRows(above, middle, below);
}

// The cells of word k of a row (columns 64 k..64 k + 63) within columns left..right.
Word columnMask(std::int64_t k, std::int64_t left, std::int64_t right)
{
    if (right < 64 * k || left > 64 * k + 63)
        return 0;
    const int first = static_cast<int>(std::max(left - 64 * k, std::int64_t(0)));
    const int last = static_cast<int>(std::min(right - 64 * k, std::int64_t(63)));
    return (~Word(0) >> (63 - last)) & (~Word(0) << first);
}

using ConwayDecision = LifeBits::ConwayDecision;
using RuleDecision = LifeBits::RuleDecision;

// The west and east neighbours of every cell of a row, as `sides` (their
// sum's low bit) and `both`. `westOfFirst` is the cell west of column 0 at
// bit 0, `eastOfLast` the cell east of the last column at that column's bit.
inline void sumRow(const Word *__restrict row, std::int64_t rowWords, Word westOfFirst, Word eastOfLast,
    Word *__restrict sides, Word *__restrict both)
{
    for (std::int64_t k = 1; k + 1 < rowWords; ++k) {
        const Word west = (row[k] << 1) | (row[k - 1] >> 63);
        const Word east = (row[k] >> 1) | (row[k + 1] << 63);
        sides[k] = west ^ east;
        both[k] = west & east;
    }
    const std::int64_t last = rowWords - 1;
    const Word westFirst = (row[0] << 1) | westOfFirst;
    const Word eastFirst = (row[0] >> 1) | (last > 0 ? row[1] << 63 : eastOfLast);
    sides[0] = westFirst ^ eastFirst;
    both[0] = westFirst & eastFirst;
    if (last > 0) {
        const Word westLast = (row[last] << 1) | (row[last - 1] >> 63);
        const Word eastLast = (row[last] >> 1) | eastOfLast;
        sides[last] = westLast ^ eastLast;
        both[last] = westLast & eastLast;
    }
}

// The sums of one row: of its west and east neighbours, and the row itself.
struct RowSums {
    Word *sides;
    Word *both;
    const Word *self;
};

// Words 0..count-1 of the next generation of the row between `above` and
// `below`; returns where they differ from the row now.
template <typename Decision>
inline Word decideWords(const Word *__restrict sidesAbove, const Word *__restrict bothAbove,
    const Word *__restrict selfAbove, const Word *__restrict sidesMiddle, const Word *__restrict bothMiddle,
    const Word *__restrict selfMiddle, const Word *__restrict sidesBelow, const Word *__restrict bothBelow,
    const Word *__restrict selfBelow, Word *__restrict target, std::int64_t count, const Decision &decide)
{
    Word changed = 0;
    for (std::int64_t k = 0; k < count; ++k) {
        const Counts counts = countNeighbours(sidesAbove[k], bothAbove[k], selfAbove[k], sidesMiddle[k], bothMiddle[k],
            sidesBelow[k], bothBelow[k], selfBelow[k]);
        const Word next = decide(counts, selfMiddle[k]);
        target[k] = next;
        changed |= next ^ selfMiddle[k];
    }
    return changed;
}

// Rows between two looks at the stop flag of a step.
constexpr std::int64_t RowsBetweenLooks = 256;

// Whether `stop`, if given, has been raised: looked at every RowsBetweenLooks rows.
inline bool stopped(const std::atomic<bool> *stop, std::int64_t y)
{
    return stop && y % RowsBetweenLooks == RowsBetweenLooks - 1 && stop->load(std::memory_order_relaxed);
}

// One generation of a width x height grid from `cells` into `target`;
// returns whether any cell changed. `sums` has room for 6 rows of words.
// Gives up part way once `stop`, if given, is raised: `target` is then
// partly written and the result means nothing.
template <GridSeams::Join Join, typename Decision>
bool stepGrid(const Word *cells, Word *target, std::int64_t width, std::int64_t height, const GridSeams &seams,
    Word *sums, const Decision &decide, const std::atomic<bool> *stop)
{
    const std::int64_t rowWords = PackedRows::wordsPerRow(width);
    const std::int64_t last = rowWords - 1;
    const Word lastMask = PackedRows::lastWordMask(width);
    RowSums rows[3];
    for (int i = 0; i < 3; ++i)
        rows[i] = RowSums { sums + 2 * i * rowWords, sums + (2 * i + 1) * rowWords, nullptr };
    const GridSeams::Rows source = seams.rows(cells);
    const auto sumOf = [&](RowSums &sum, std::int64_t y) {
        const GridSeams::Row row = source.row<Join>(y);
        sumRow(row.words, rowWords, row.westOfFirst, row.eastOfLast, sum.sides, sum.both);
        sum.self = row.words;
    };

    RowSums *above = &rows[0];
    RowSums *middle = &rows[1];
    RowSums *below = &rows[2];
    sumOf(*above, -1);
    sumOf(*middle, 0);
    Word changed = 0;
    for (std::int64_t y = 0; y < height; ++y) {
        sumOf(*below, y + 1);
        Word *out = target + y * rowWords;
        changed |= decideWords(above->sides, above->both, above->self, middle->sides, middle->both, middle->self,
            below->sides, below->both, below->self, out, last, decide);
        // The last word alone, so that the bits past the last column stay 0.
        const Counts counts = countNeighbours(above->sides[last], above->both[last], above->self[last],
            middle->sides[last], middle->both[last], below->sides[last], below->both[last], below->self[last]);
        out[last] = decide(counts, middle->self[last]) & lastMask;
        changed |= out[last] ^ middle->self[last];
        std::swap(above, middle);
        std::swap(middle, below);
        if (stopped(stop, y))
            break;
    }
    return changed != 0;
}

// stepGrid() for a grid of RowWords words a row, 1 or 2, such as the
// classic field's: the sums of three rows fit in registers, no loop runs
// across a row and nothing is stored but the cells.
template <int RowWords, GridSeams::Join Join, typename Decision>
bool stepNarrowGrid(const Word *cells, Word *target, std::int64_t width, std::int64_t height, const GridSeams &seams,
    const Decision &decide, const std::atomic<bool> *stop)
{
    constexpr int last = RowWords - 1;
    const Word lastMask = PackedRows::lastWordMask(width);
    struct Sums {
        Word sides[RowWords];
        Word both[RowWords];
        Word self[RowWords];
    };
    const GridSeams::Rows source = seams.rows(cells);
    const auto sumOf = [&](std::int64_t y) {
        Sums sum {};
        const GridSeams::Row row = source.row<Join>(y);
        for (int k = 0; k < RowWords; ++k)
            sum.self[k] = row.words[k];
        sumRow(row.words, RowWords, row.westOfFirst, row.eastOfLast, sum.sides, sum.both);
        return sum;
    };

    Sums above = sumOf(-1);
    Sums middle = sumOf(0);
    Word changed = 0;
    for (std::int64_t y = 0; y < height; ++y) {
        const Sums below = sumOf(y + 1);
        for (int k = 0; k < RowWords; ++k) {
            const Counts counts = countNeighbours(above.sides[k], above.both[k], above.self[k], middle.sides[k],
                middle.both[k], below.sides[k], below.both[k], below.self[k]);
            Word next = decide(counts, middle.self[k]);
            if (k == last)
                next &= lastMask;
            target[y * RowWords + k] = next;
            changed |= next ^ middle.self[k];
        }
        above = middle;
        middle = below;
        if (stopped(stop, y))
            break;
    }
    return changed != 0;
}

template <GridSeams::Join Join, typename Decision>
bool stepJoined(const Word *cells, Word *target, std::int64_t width, std::int64_t height, const GridSeams &seams,
    Word *sums, const Decision &decide, const std::atomic<bool> *stop)
{
    switch (PackedRows::wordsPerRow(width)) {
    case 1:
        return stepNarrowGrid<1, Join>(cells, target, width, height, seams, decide, stop);
    case 2:
        return stepNarrowGrid<2, Join>(cells, target, width, height, seams, decide, stop);
    default:
        return stepGrid<Join>(cells, target, width, height, seams, sums, decide, stop);
    }
}

// The join is a parameter of the step, so that a plane's and a torus's rows cost no more than they did
// before other surfaces came.
template <typename Decision>
bool stepAnyWidth(const Word *cells, Word *target, std::int64_t width, std::int64_t height, const GridSeams &seams,
    Word *sums, const Decision &decide, const std::atomic<bool> *stop)
{
    switch (seams.join()) {
    case GridSeams::Join::Dead:
        return stepJoined<GridSeams::Join::Dead>(cells, target, width, height, seams, sums, decide, stop);
    case GridSeams::Join::Opposite:
        return stepJoined<GridSeams::Join::Opposite>(cells, target, width, height, seams, sums, decide, stop);
    case GridSeams::Join::Gathered:
        break;
    }
    return stepJoined<GridSeams::Join::Gathered>(cells, target, width, height, seams, sums, decide, stop);
}

#if defined(__x86_64__) || defined(__i386__)
// A portable build may not assume the processor's 256-bit instructions, which
// take four words at a time instead of two: copies of the step compiled for
// them are used where the processor has them.
__attribute__((target("avx2"), flatten)) bool stepConwayWide(const Word *cells, Word *target, std::int64_t width,
    std::int64_t height, const GridSeams &seams, Word *sums, const std::atomic<bool> *stop)
{
    return stepAnyWidth(cells, target, width, height, seams, sums, ConwayDecision(), stop);
}

__attribute__((target("avx2"), flatten)) bool stepAnyRuleWide(const Word *cells, Word *target, std::int64_t width,
    std::int64_t height, const GridSeams &seams, Word *sums, const Rule &rule, const std::atomic<bool> *stop)
{
    return stepAnyWidth(cells, target, width, height, seams, sums, RuleDecision(rule), stop);
}

const bool hasWideInstructions = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
}();
#endif

bool stepConway(const Word *cells, Word *target, std::int64_t width, std::int64_t height, const GridSeams &seams,
    Word *sums, const std::atomic<bool> *stop)
{
#if defined(__x86_64__) || defined(__i386__)
    if (hasWideInstructions)
        return stepConwayWide(cells, target, width, height, seams, sums, stop);
#endif
    return stepAnyWidth(cells, target, width, height, seams, sums, ConwayDecision(), stop);
}

bool stepAnyRule(const Word *cells, Word *target, std::int64_t width, std::int64_t height, const GridSeams &seams,
    Word *sums, const Rule &rule, const std::atomic<bool> *stop)
{
#if defined(__x86_64__) || defined(__i386__)
    if (hasWideInstructions)
        return stepAnyRuleWide(cells, target, width, height, seams, sums, rule, stop);
#endif
    return stepAnyWidth(cells, target, width, height, seams, sums, RuleDecision(rule), stop);
}

} // namespace

GridUniverse::GridUniverse(const Topology &topology, const Rule &rule)
    : shape(topology)
    , currentRule(rule)
    , seams(shape)
{
    if (!shape.isBounded() || shape.kind() == Topology::Kind::Classic || !shape.isValid())
        throw std::invalid_argument("a grid universe is a bounded surface of 1 to 2^30 cells");
    if (rule.isLifeLike())
        packed = GridCells::dead(shape.width(), shape.height());
    else
        multi.emplace(shape);
}

GridUniverse::GridUniverse(const GridUniverse &other)
    : Universe(other)
    , shape(other.shape)
    , currentRule(other.currentRule)
    , seams(other.shape)
    , multi(other.multi)
    , packed(other.packed)
{
}

std::unique_ptr<Universe> GridUniverse::clone() const { return std::unique_ptr<Universe>(new GridUniverse(*this)); }

void GridUniverse::summarise() const
{
    if (packed)
        packed->summarise(hashSeed());
    else
        multi->summarise(hashSeed());
}

GridUniverse::Word *GridUniverse::changeCells()
{
    // Alone in holding them, no other thread can come to read them meanwhile.
    if (packed.use_count() > 1)
        packed = packed->copy();
    return packed->change();
}

void GridUniverse::setRule(const Rule &rule)
{
    const Rule before = currentRule;
    const auto kept = [&](std::uint8_t state) -> std::uint8_t {
        if (before.isHistory() == rule.isHistory() && state < rule.stateCount())
            return state;
        return before.isLive(state) ? 1 : 0;
    };
    // A live cell of two states stays one, state 1, under every rule: the
    // bits stay, and unpack() gives them bytes once they need them.
    if (!multi) {
        currentRule = rule;
        return;
    }
    try {
        if (rule.isLifeLike()) {
            // What lives on: state 1, or any odd state of a history rule.
            std::shared_ptr<GridCells> bits = GridCells::dead(shape.width(), shape.height());
            multi->pack(before.isHistory(), bits->change(), PackedRows::wordsPerRow(shape.width()));
            packed = std::move(bits);
            multi.reset();
        } else {
            // The states kept where they are, shared with the clones, unless the new rule changes some.
            // No cell is in a state past the old rule's, so those stay as they are: from fewer states to
            // more between rules of a kind, nothing changes and no cell is read.
            std::uint8_t to[256];
            for (int state = 0; state < 256; ++state) {
                const auto old = static_cast<std::uint8_t>(state);
                to[state] = state < before.stateCount() ? kept(old) : old;
            }
            multi->remap(to);
        }
    } catch (const std::bad_alloc &) {
        throw UniverseError("There is not enough memory for the cells of a " + std::to_string(shape.width()) + " x "
            + std::to_string(shape.height()) + " grid under the rule " + rule.toString() + ".");
    }
    currentRule = rule;
}

void GridUniverse::unpack()
{
    try {
        // Eight cells a byte of the packed rows at a time, through a table:
        // a grid of a billion cells converts in one pass over its memory.
        std::uint8_t spread[256][8];
        for (int bits = 0; bits < 256; ++bits) {
            for (int bit = 0; bit < 8; ++bit)
                spread[bits][bit] = static_cast<std::uint8_t>(bits >> bit & 1);
        }
        const std::int64_t width = shape.width();
        const std::int64_t rowWords = PackedRows::wordsPerRow(width);
        StateBytes bytes(static_cast<std::size_t>(width * shape.height()));
        for (std::int64_t y = 0; y < shape.height(); ++y) {
            const Word *words = packed->data() + y * rowWords;
            std::uint8_t *row = bytes.data() + y * width;
            for (std::int64_t x = 0; x < width; x += 8) {
                const auto bits = static_cast<std::uint8_t>(words[x / 64] >> (x % 64));
                std::memcpy(row + x, spread[bits], static_cast<std::size_t>(std::min<std::int64_t>(8, width - x)));
            }
        }
        multi.emplace(shape, std::move(bytes));
    } catch (const std::bad_alloc &) {
        throw UniverseError("There is not enough memory for the cells of a " + std::to_string(shape.width()) + " x "
            + std::to_string(shape.height()) + " grid under the rule " + currentRule.toString() + ".");
    }
    packed.reset();
    next = GridCells::Words();
}

bool GridUniverse::inBytes(bool needed)
{
    if (!multi && needed && !currentRule.isLifeLike())
        unpack();
    return multi.has_value();
}

void GridUniverse::checkInside(std::int64_t x, std::int64_t y) const
{
    if (x < 0 || y < 0 || x >= shape.width() || y >= shape.height())
        throw std::out_of_range("cell " + std::to_string(x) + " " + std::to_string(y) + " lies outside the universe");
}

void GridUniverse::setCell(std::int64_t x, std::int64_t y, bool alive) { setState(x, y, alive ? 1 : 0); }

void GridUniverse::setState(std::int64_t x, std::int64_t y, std::uint8_t state)
{
    checkInside(x, y);
    if (inBytes(state > 1)) {
        multi->setState(x, y, state);
        return;
    }
    Word &word = changeCells()[y * PackedRows::wordsPerRow(shape.width()) + x / 64];
    const Word bit = Word(1) << (x % 64);
    word = state != 0 ? word | bit : word & ~bit;
}

void GridUniverse::clear()
{
    if (multi) {
        multi->fill(Universe::extent(shape), 0);
    } else if (packed.use_count() > 1) {
        packed = GridCells::dead(shape.width(), shape.height());
    } else {
        Word *const words = packed->change();
        std::fill(words, words + packed->size(), 0);
    }
}

std::optional<CellRect> GridUniverse::inside(const CellRect &area) const
{
    const CellRect cut { std::max<std::int64_t>(area.left, 0), std::max<std::int64_t>(area.top, 0),
        std::min(area.right, shape.width() - 1), std::min(area.bottom, shape.height() - 1) };
    if (cut.left > cut.right || cut.top > cut.bottom)
        return std::nullopt;
    return cut;
}

template <typename Change> void GridUniverse::changeWords(const CellRect &area, Change change)
{
    const std::int64_t rowWords = PackedRows::wordsPerRow(shape.width());
    Word *const words = changeCells();
    for (std::int64_t y = area.top; y <= area.bottom; ++y) {
        Word *row = words + y * rowWords;
        for (std::int64_t k = area.left / 64; k <= area.right / 64; ++k)
            row[k] = change(row[k], columnMask(k, area.left, area.right));
    }
}

void GridUniverse::clearInside(const CellRect &area)
{
    if (multi) {
        multi->fill(area, 0);
        return;
    }
    if (const std::optional<CellRect> cut = inside(area))
        changeWords(*cut, [](Word word, Word mask) { return word & ~mask; });
}

void GridUniverse::clearOutside(const CellRect &area)
{
    if (multi) {
        multi->clearOutside(area);
        return;
    }
    const std::optional<CellRect> cut = inside(area);
    if (!cut) {
        clear();
        return;
    }
    const std::int64_t rowWords = PackedRows::wordsPerRow(shape.width());
    Word *const words = changeCells();
    std::fill(words, words + cut->top * rowWords, 0);
    std::fill(words + (cut->bottom + 1) * rowWords, words + packed->size(), 0);
    for (std::int64_t y = cut->top; y <= cut->bottom; ++y) {
        Word *row = words + y * rowWords;
        for (std::int64_t k = 0; k < rowWords; ++k)
            row[k] &= columnMask(k, cut->left, cut->right);
    }
}

void GridUniverse::fillRandom(const CellRect &area, double density, std::uint64_t seed)
{
    // The bytes draw their cells in another order: a rule of more states
    // fills the same cells whichever way its grid keeps them.
    if (inBytes(true)) {
        multi->fillRandom(area, density, seed);
        return;
    }
    const std::optional<CellRect> cut = inside(area);
    if (!cut)
        return;
    RandomBits cells(density, seed);
    changeWords(*cut, [&cells](Word word, Word mask) { return (word & ~mask) | (cells.next() & mask); });
}

void GridUniverse::forEachLiveCell(
    const CellRect &area, const std::function<void(std::int64_t x, std::int64_t y)> &visit) const
{
    if (multi)
        multi->forEachCell(area, [&visit](std::int64_t x, std::int64_t y, std::uint8_t) { visit(x, y); });
    else
        cells().forEachLiveCell(area, visit);
}

void GridUniverse::forEachCell(
    const CellRect &area, const std::function<void(std::int64_t x, std::int64_t y, std::uint8_t state)> &visit) const
{
    if (multi)
        multi->forEachCell(area, visit);
    else
        cells().forEachLiveCell(area, [&visit](std::int64_t x, std::int64_t y) { visit(x, y, 1); });
}

void GridUniverse::render(
    const CellRect &area, int shift, std::uint8_t *pixels, int columns, int rows, std::ptrdiff_t stride) const
{
    if (multi)
        multi->render(area, shift, pixels, columns, rows, stride);
    else
        packed->render(area, shift, pixels, columns, rows, stride);
}

void GridUniverse::advance(std::uint64_t generations) { advanceUnless(generations, nullptr); }

bool GridUniverse::advanceUnless(std::uint64_t generations, const std::atomic<bool> &interrupt)
{
    return advanceUnless(generations, &interrupt);
}

bool GridUniverse::advanceUnless(std::uint64_t generations, const std::atomic<bool> *interrupt)
{
    if (interrupt && interrupt->load())
        return false;
    const bool birthOnZero = (currentRule.birthCounts() & 1U) != 0;
    if (generations == 0 || (!birthOnZero && (multi ? multi->population() == 0 : cells().isEmpty())))
        return true;
    if (inBytes(true)) {
        try {
            for (std::uint64_t i = 0; i < generations; ++i) {
                if (!multi->step(currentRule))
                    return true;
            }
        } catch (const std::bad_alloc &) {
            throw UniverseError("There is not enough memory for the next generation of a "
                + std::to_string(shape.width()) + " x " + std::to_string(shape.height()) + " grid.");
        }
        return true;
    }
    // Kept to go back to if interrupted: shared, the cells are not written over.
    std::shared_ptr<GridCells> start;
    if (interrupt)
        start = packed;
    // A step leaves `next` empty when a clone shares the cells it came
    // from: the buffer for the second is taken before the first, so that a
    // want of memory changes nothing.
    GridCells::Words second;
    try {
        if (next.size() != packed->size())
            next = GridCells::Words(packed->size());
        if (generations > 1 && packed.use_count() > 1)
            second = GridCells::Words(packed->size());
        sums.resize(static_cast<std::size_t>(6 * PackedRows::wordsPerRow(shape.width())));
    } catch (const std::bad_alloc &) {
        throw UniverseError("There is not enough memory for the next generation of a " + std::to_string(shape.width())
            + " x " + std::to_string(shape.height()) + " grid.");
    }
    bool finished = true;
    for (std::uint64_t i = 0; i < generations; ++i) {
        bool changed = false;
        if (!step(interrupt, changed)) {
            packed = std::move(start);
            finished = false;
            break;
        }
        if (next.empty())
            next = std::move(second);
        if (!changed)
            break;
    }
    return finished;
}

std::uint64_t GridUniverse::hash() const { return multi ? multi->hash(hashSeed()) : packed->hash(hashSeed()); }

std::uint64_t GridUniverse::hashSeed() const
{
    const std::uint64_t joins = BitMix::finalise((static_cast<std::uint64_t>(shape.kind()) << 1)
        ^ static_cast<std::uint64_t>(shape.joinedEdges()) ^ (static_cast<std::uint64_t>(shape.shift()) << 8));
    return joins ^ (static_cast<std::uint64_t>(shape.width()) << 31) ^ static_cast<std::uint64_t>(shape.height());
}

bool GridUniverse::equals(const Universe &other) const
{
    if (other.topology() != shape)
        return false;
    const auto *grid = dynamic_cast<const GridUniverse *>(&other);
    if (grid && multi && grid->multi)
        return *multi == *grid->multi;
    if (grid && !multi && !grid->multi)
        return packed == grid->packed || cells().sameCells(grid->cells());
    return equalsShifted(other, 0, 0);
}

bool GridUniverse::step(const std::atomic<bool> *interrupt, bool &changed)
{
    const Word *const words = packed->data();
    seams.prepare(words);
    static const Rule conway;
    changed = currentRule == conway
        ? stepConway(words, next.data(), shape.width(), shape.height(), seams, sums.data(), interrupt)
        : stepAnyRule(words, next.data(), shape.width(), shape.height(), seams, sums.data(), currentRule, interrupt);
    if (interrupt && interrupt->load())
        return false;
    auto stepped = std::make_shared<GridCells>(shape.width(), shape.height(), std::move(next));
    next = GridCells::Words();
    if (packed.use_count() == 1)
        next = packed->release();
    packed = std::move(stepped);
    return true;
}
