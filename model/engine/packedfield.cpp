#include "model/engine/packedfield.h"

#include <algorithm>

#include "model/engine/bitmix.h"
#include "model/engine/lifebits.h"
#include "model/engine/rule.h"

namespace
{

using Word = std::uint64_t;
constexpr int N = GameField::FieldSize;

using RowSums = LifeBits::RowSums;

// One generation of `words` into `result` with `decide` choosing each cell's
// next state: first the sums of every row, then the decisions as one plain
// loop over all words, so that the compiler computes several at once.
template <typename Decision>
inline __attribute__((always_inline)) void stepOf(
    const Word *__restrict words, Word *__restrict result, const Decision &decide)
{
    constexpr int WordsPerRow = 2;
    constexpr Word LastWordMask = (Word(1) << (N - 64)) - 1;
    // Rows -1..N; the rows outside the field are dead and sum to nothing.
    constexpr int Padded = (N + 2) * WordsPerRow;
    Word ones3[Padded];
    Word twos3[Padded];
    Word ones2[Padded];
    Word twos2[Padded];
    const auto store = [&](int at, const RowSums &sums) {
        ones3[at] = sums.ones3;
        twos3[at] = sums.twos3;
        ones2[at] = sums.ones2;
        twos2[at] = sums.twos2;
    };
    for (int k = 0; k < WordsPerRow; ++k) {
        store(k, RowSums { 0, 0, 0, 0 });
        store((N + 1) * WordsPerRow + k, RowSums { 0, 0, 0, 0 });
    }
    for (int r = 0; r < N; ++r) {
        const Word low = words[r * WordsPerRow];
        const Word high = words[r * WordsPerRow + 1];
        store((r + 1) * WordsPerRow, LifeBits::rowSums(low << 1, low, (low >> 1) | (high << 63)));
        store((r + 1) * WordsPerRow + 1, LifeBits::rowSums((high << 1) | (low >> 63), high, high >> 1));
    }
    for (int i = 0; i < N * WordsPerRow; ++i) {
        const RowSums above { ones3[i], twos3[i], 0, 0 };
        const RowSums middle { 0, 0, ones2[i + WordsPerRow], twos2[i + WordsPerRow] };
        const RowSums below { ones3[i + 2 * WordsPerRow], twos3[i + 2 * WordsPerRow], 0, 0 };
        result[i] = decide(LifeBits::addRows(above, middle, below), words[i]);
    }
    for (int r = 0; r < N; ++r)
        result[r * WordsPerRow + 1] &= LastWordMask;
}

template <typename Decision> void stepNarrow(const Word *words, Word *result, const Decision &decide)
{
    stepOf(words, result, decide);
}

#if defined(__x86_64__)
// A portable build cannot assume the processor's 256-bit instructions; where
// it has them, they compute four words at once.
template <typename Decision>
__attribute__((target("avx2"))) void stepWide(const Word *words, Word *result, const Decision &decide)
{
    stepOf(words, result, decide);
}

const bool hasWideInstructions = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
}();
#endif

template <typename Decision> void step(const Word *words, Word *result, const Decision &decide)
{
#if defined(__x86_64__)
    if (hasWideInstructions) {
        stepWide(words, result, decide);
        return;
    }
#endif
    stepNarrow(words, result, decide);
}

#if defined(__x86_64__) || defined(__i386__)
// A portable build cannot assume the processor's bit-count instruction, and
// without it a run's history spends most of its time counting; so it is
// used where the processor has it.
__attribute__((target("popcnt"))) int populationByInstruction(const Word *words, std::size_t count)
{
    int population = 0;
    for (std::size_t i = 0; i < count; ++i)
        population += __builtin_popcountll(words[i]);
    return population;
}

const bool hasPopcountInstruction = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("popcnt") != 0;
}();
#endif

} // namespace

PackedField PackedField::fromBuffer(GameField::Cell *const *buffer)
{
    PackedField field;
    for (int r = 1; r <= N; ++r) {
        const GameField::Cell *row = buffer[r];
        for (int k = 0; k < WordsPerRow; ++k) {
            Word word = 0;
            const int first = 1 + 64 * k;
            const int last = std::min(N, first + 63);
            for (int c = first; c <= last; ++c)
                word |= Word(row[c] == 1) << (c - first);
            field.words[(r - 1) * WordsPerRow + k] = word;
        }
    }
    return field;
}

void PackedField::toBuffer(GameField::Cell **buffer) const
{
    for (int r = 1; r <= N; ++r) {
        for (int c = 1; c <= N; ++c)
            buffer[r][c] = isAlive(r, c) ? 1 : 0;
    }
}

void PackedField::setAlive(int row, int column, bool alive)
{
    const Word bit = Word(1) << bitIndex(column);
    Word &word = words[wordIndex(row, column)];
    word = alive ? word | bit : word & ~bit;
}

int PackedField::population() const
{
#if defined(__x86_64__) || defined(__i386__)
    if (hasPopcountInstruction)
        return populationByInstruction(words.data(), words.size());
#endif
    // Bits counted in parallel within each word.
    Word count = 0;
    for (Word word : words) {
        word -= (word >> 1) & 0x5555555555555555ULL;
        word = (word & 0x3333333333333333ULL) + ((word >> 2) & 0x3333333333333333ULL);
        word = (word + (word >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
        count += (word * 0x0101010101010101ULL) >> 56;
    }
    return static_cast<int>(count);
}

std::uint64_t PackedField::hash() const
{
    // Four independent lanes, so that the multiplications overlap; the fold's
    // shift lets a cell in any column, up to the top bit of a word, reach
    // every bit of the digest.
    Word lanes[4] = { 1, 2, 3, 4 };
    for (std::size_t i = 0; i < words.size(); i += 4) {
        for (std::size_t lane = 0; lane < 4; ++lane)
            lanes[lane] = BitMix::fold(lanes[lane], words[i + lane]);
    }
    // The lanes joined through the finaliser of MurmurHash3, in which every
    // input bit reaches every output bit.
    Word hash = 0;
    for (const Word lane : lanes) {
        hash ^= lane;
        hash = (hash ^ (hash >> 33)) * 0xFF51AFD7ED558CCDULL;
        hash = (hash ^ (hash >> 33)) * 0xC4CEB9FE1A85EC53ULL;
        hash ^= hash >> 33;
    }
    return hash;
}

PackedField PackedField::next(const Rule &rule) const
{
    static_assert(WordsPerRow == 2, "step() works on rows of two words");
    PackedField result;
    if (rule == Rule())
        step(words.data(), result.words.data(), LifeBits::ConwayDecision());
    else
        step(words.data(), result.words.data(), LifeBits::RuleDecision(rule));
    return result;
}
