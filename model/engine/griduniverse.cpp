#include "model/engine/griduniverse.h"

#include <algorithm>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>

#include "model/engine/randombits.h"

namespace
{

using Word = PackedRows::Word;

// The bit planes of a neighbour count 0..8: count = ones + 2 twos + 4 fours + 8 eights.
struct Counts {
    Word ones, twos, fours, eights;
};

// The counts of eight neighbours from the sums of their rows. Above and
// below, `sides` and `both` hold the west and east neighbours (their sum's
// low bit, and where both live) and `self` the cells between them; of the
// row itself only its west and east neighbours count.
inline Counts countNeighbours(Word sidesAbove, Word bothAbove, Word selfAbove, Word sidesMiddle, Word bothMiddle,
    Word sidesBelow, Word bothBelow, Word selfBelow)
{
    // Three cells above and three below, each as ones and twos.
    const Word onesAbove = sidesAbove ^ selfAbove;
    const Word twosAbove = bothAbove | (selfAbove & sidesAbove);
    const Word onesBelow = sidesBelow ^ selfBelow;
    const Word twosBelow = bothBelow | (selfBelow & sidesBelow);
    const Word ones = onesAbove ^ sidesMiddle ^ onesBelow;
    const Word carry = (onesAbove & sidesMiddle) | (onesBelow & (onesAbove ^ sidesMiddle));
    // Four bits of weight two; when both pairs are full none carries between them.
    const Word pairAbove = twosAbove ^ bothMiddle;
    const Word fullAbove = twosAbove & bothMiddle;
    const Word pairBelow = twosBelow ^ carry;
    const Word fullBelow = twosBelow & carry;
    return { ones, pairAbove ^ pairBelow, fullAbove ^ fullBelow ^ (pairAbove & pairBelow), fullAbove & fullBelow };
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

// B3/S23 written out: a count of 2 or 3, and 3 unless alive.
struct ConwayDecision {
    Word operator()(const Counts &counts, Word alive) const
    {
        return counts.twos & ~counts.fours & ~counts.eights & (counts.ones | alive);
    }
};

// Any Life-like rule as selections between all-ones and all-zero words: by
// the ones plane among the outcomes of the counts 0..7, then by the twos and
// the fours, then by the cell's own state; a count of 8 is told by its own
// plane. No branch depends on the cells.
class RuleDecision
{
public:
    explicit RuleDecision(const Rule &rule)
    {
        const auto outcome = [&rule](int alive, int count) { return rule.nextState(alive != 0, count) ? ~Word(0) : 0; };
        for (int alive = 0; alive < 2; ++alive) {
            for (int count = 0; count < 8; count += 2) {
                even[alive * 4 + count / 2] = outcome(alive, count);
                odd[alive * 4 + count / 2] = outcome(alive, count) ^ outcome(alive, count + 1);
            }
            atEight[alive] = outcome(alive, 8);
        }
    }

    Word operator()(const Counts &counts, Word alive) const
    {
        Word byOnes[8];
        for (int i = 0; i < 8; ++i)
            byOnes[i] = even[i] ^ (counts.ones & odd[i]);
        Word byTwos[4];
        for (int i = 0; i < 4; ++i)
            byTwos[i] = byOnes[2 * i] ^ (counts.twos & (byOnes[2 * i] ^ byOnes[2 * i + 1]));
        const Word dead = byTwos[0] ^ (counts.fours & (byTwos[0] ^ byTwos[1]));
        const Word living = byTwos[2] ^ (counts.fours & (byTwos[2] ^ byTwos[3]));
        const Word belowEight = dead ^ (alive & (dead ^ living));
        const Word eight = atEight[0] ^ (alive & (atEight[0] ^ atEight[1]));
        return belowEight ^ (counts.eights & (belowEight ^ eight));
    }

private:
    Word even[8]; // index alive * 4 + count / 2: the outcome of the even count
    Word odd[8]; // where the odd count after it differs
    Word atEight[2];
};

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

// One generation of a width x height grid from `cells` into `target`;
// returns whether any cell changed. `sums` has room for 7 rows of words.
template <typename Decision>
bool stepGrid(const Word *cells, Word *target, std::int64_t width, std::int64_t height, bool torus, Word *sums,
    const Decision &decide)
{
    const std::int64_t rowWords = PackedRows::wordsPerRow(width);
    const std::int64_t last = rowWords - 1;
    const Word lastMask = PackedRows::lastWordMask(width);
    const int lastBit = static_cast<int>((width - 1) % 64);
    Word *deadRow = sums + 6 * rowWords;
    std::fill(deadRow, deadRow + rowWords, 0);

    RowSums rows[3];
    for (int i = 0; i < 3; ++i)
        rows[i] = RowSums { sums + 2 * i * rowWords, sums + (2 * i + 1) * rowWords, deadRow };
    const auto sumOf = [&](RowSums &sum, std::int64_t y) {
        if (y < 0 || y >= height) {
            if (!torus) {
                std::fill(sum.sides, sum.sides + rowWords, 0);
                std::fill(sum.both, sum.both + rowWords, 0);
                sum.self = deadRow;
                return;
            }
            y = (y + height) % height;
        }
        const Word *row = cells + y * rowWords;
        const Word westOfFirst = torus ? (row[last] >> lastBit) & 1U : 0;
        const Word eastOfLast = torus ? (row[0] & 1U) << lastBit : 0;
        sumRow(row, rowWords, westOfFirst, eastOfLast, sum.sides, sum.both);
        sum.self = row;
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
    }
    return changed != 0;
}

// stepGrid() for a grid of RowWords words a row, 1 or 2, such as the
// classic field's: the sums of three rows fit in registers, no loop runs
// across a row and nothing is stored but the cells.
template <int RowWords, bool Torus, typename Decision>
bool stepNarrowGrid(const Word *cells, Word *target, std::int64_t width, std::int64_t height, const Decision &decide)
{
    constexpr int last = RowWords - 1;
    const Word lastMask = PackedRows::lastWordMask(width);
    const int lastBit = static_cast<int>((width - 1) % 64);
    struct Sums {
        Word sides[RowWords];
        Word both[RowWords];
        Word self[RowWords];
    };
    const auto sumOf = [&](std::int64_t y) {
        Sums sum {};
        if (y < 0 || y >= height) {
            if (!Torus)
                return sum;
            y = (y + height) % height;
        }
        const Word *row = cells + y * RowWords;
        for (int k = 0; k < RowWords; ++k)
            sum.self[k] = row[k];
        const Word westOfFirst = Torus ? (row[last] >> lastBit) & 1U : 0;
        const Word eastOfLast = Torus ? (row[0] & 1U) << lastBit : 0;
        sumRow(row, RowWords, westOfFirst, eastOfLast, sum.sides, sum.both);
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
    }
    return changed != 0;
}

template <typename Decision>
bool stepAnyWidth(const Word *cells, Word *target, std::int64_t width, std::int64_t height, bool torus, Word *sums,
    const Decision &decide)
{
    switch (PackedRows::wordsPerRow(width)) {
    case 1:
        return torus ? stepNarrowGrid<1, true>(cells, target, width, height, decide)
                     : stepNarrowGrid<1, false>(cells, target, width, height, decide);
    case 2:
        return torus ? stepNarrowGrid<2, true>(cells, target, width, height, decide)
                     : stepNarrowGrid<2, false>(cells, target, width, height, decide);
    default:
        return stepGrid(cells, target, width, height, torus, sums, decide);
    }
}

#if defined(__x86_64__) || defined(__i386__)
// A portable build may not assume the processor's 256-bit instructions, which
// take four words at a time instead of two: copies of the step compiled for
// them are used where the processor has them.
__attribute__((target("avx2"), flatten)) bool stepConwayWide(
    const Word *cells, Word *target, std::int64_t width, std::int64_t height, bool torus, Word *sums)
{
    return stepAnyWidth(cells, target, width, height, torus, sums, ConwayDecision());
}

__attribute__((target("avx2"), flatten)) bool stepAnyRuleWide(
    const Word *cells, Word *target, std::int64_t width, std::int64_t height, bool torus, Word *sums, const Rule &rule)
{
    return stepAnyWidth(cells, target, width, height, torus, sums, RuleDecision(rule));
}

const bool hasWideInstructions = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
}();
#endif

bool stepConway(const Word *cells, Word *target, std::int64_t width, std::int64_t height, bool torus, Word *sums)
{
#if defined(__x86_64__) || defined(__i386__)
    if (hasWideInstructions)
        return stepConwayWide(cells, target, width, height, torus, sums);
#endif
    return stepAnyWidth(cells, target, width, height, torus, sums, ConwayDecision());
}

bool stepAnyRule(
    const Word *cells, Word *target, std::int64_t width, std::int64_t height, bool torus, Word *sums, const Rule &rule)
{
#if defined(__x86_64__) || defined(__i386__)
    if (hasWideInstructions)
        return stepAnyRuleWide(cells, target, width, height, torus, sums, rule);
#endif
    return stepAnyWidth(cells, target, width, height, torus, sums, RuleDecision(rule));
}

} // namespace

GridUniverse::GridUniverse(const Topology &topology, const Rule &rule)
    : shape(topology)
    , currentRule(rule)
{
    if ((shape.kind() != Topology::Kind::Plane && shape.kind() != Topology::Kind::Torus) || !shape.isValid())
        throw std::invalid_argument("a grid universe is a plane or a torus of 1 to 2^30 cells");
    words.assign(static_cast<std::size_t>(PackedRows::wordsPerRow(shape.width()) * shape.height()), 0);
}

GridUniverse::GridUniverse(const GridUniverse &other)
    : Universe(other)
    , shape(other.shape)
    , currentRule(other.currentRule)
    , words(other.words)
{
}

std::unique_ptr<Universe> GridUniverse::clone() const { return std::unique_ptr<Universe>(new GridUniverse(*this)); }

void GridUniverse::setRule(const Rule &rule) { currentRule = rule; }

void GridUniverse::setCell(std::int64_t x, std::int64_t y, bool alive)
{
    if (x < 0 || y < 0 || x >= shape.width() || y >= shape.height())
        throw std::out_of_range("cell " + std::to_string(x) + " " + std::to_string(y) + " lies outside the universe");
    Word &word = words[static_cast<std::size_t>(y * PackedRows::wordsPerRow(shape.width()) + x / 64)];
    const Word bit = Word(1) << (x % 64);
    word = alive ? word | bit : word & ~bit;
}

void GridUniverse::clear() { std::fill(words.begin(), words.end(), 0); }

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
    for (std::int64_t y = area.top; y <= area.bottom; ++y) {
        Word *row = words.data() + y * rowWords;
        for (std::int64_t k = area.left / 64; k <= area.right / 64; ++k)
            row[k] = change(row[k], columnMask(k, area.left, area.right));
    }
}

void GridUniverse::clearInside(const CellRect &area)
{
    if (const std::optional<CellRect> cut = inside(area))
        changeWords(*cut, [](Word word, Word mask) { return word & ~mask; });
}

void GridUniverse::clearOutside(const CellRect &area)
{
    const std::optional<CellRect> cut = inside(area);
    if (!cut) {
        clear();
        return;
    }
    const std::int64_t rowWords = PackedRows::wordsPerRow(shape.width());
    std::fill(words.begin(), words.begin() + cut->top * rowWords, 0);
    std::fill(words.begin() + (cut->bottom + 1) * rowWords, words.end(), 0);
    for (std::int64_t y = cut->top; y <= cut->bottom; ++y) {
        Word *row = words.data() + y * rowWords;
        for (std::int64_t k = 0; k < rowWords; ++k)
            row[k] &= columnMask(k, cut->left, cut->right);
    }
}

void GridUniverse::fillRandom(const CellRect &area, double density, std::uint64_t seed)
{
    const std::optional<CellRect> cut = inside(area);
    if (!cut)
        return;
    RandomBits cells(density, seed);
    changeWords(*cut, [&cells](Word word, Word mask) { return (word & ~mask) | (cells.next() & mask); });
}

void GridUniverse::forEachLiveCell(
    const CellRect &area, const std::function<void(std::int64_t x, std::int64_t y)> &visit) const
{
    cells().forEachLiveCell(area, visit);
}

void GridUniverse::render(
    const CellRect &area, int shift, std::uint8_t *pixels, int columns, int rows, std::ptrdiff_t stride) const
{
    cells().render(area, shift, pixels, columns, rows, stride);
}

void GridUniverse::advance(std::uint64_t generations)
{
    const bool birthOnZero = (currentRule.birthCounts() & 1U) != 0;
    if (generations == 0 || (!birthOnZero && cells().isEmpty()))
        return;
    try {
        next.resize(words.size());
        sums.resize(static_cast<std::size_t>(7 * PackedRows::wordsPerRow(shape.width())));
    } catch (const std::bad_alloc &) {
        throw UniverseError("There is not enough memory for the next generation of a " + std::to_string(shape.width())
            + " x " + std::to_string(shape.height()) + " grid.");
    }
    for (std::uint64_t i = 0; i < generations; ++i) {
        if (!step())
            return;
    }
}

std::uint64_t GridUniverse::hash() const
{
    const std::uint64_t kind = shape.kind() == Topology::Kind::Torus ? 2 : 1;
    return cells().hash(
        (kind << 62) ^ (static_cast<std::uint64_t>(shape.width()) << 31) ^ static_cast<std::uint64_t>(shape.height()));
}

bool GridUniverse::equals(const Universe &other) const
{
    if (other.topology() != shape)
        return false;
    if (const auto *grid = dynamic_cast<const GridUniverse *>(&other))
        return cells().sameCells(grid->cells());
    return equalsShifted(other, 0, 0);
}

bool GridUniverse::step()
{
    const bool torus = shape.kind() == Topology::Kind::Torus;
    const bool changed = currentRule == Rule()
        ? stepConway(words.data(), next.data(), shape.width(), shape.height(), torus, sums.data())
        : stepAnyRule(words.data(), next.data(), shape.width(), shape.height(), torus, sums.data(), currentRule);
    words.swap(next);
    return changed;
}
