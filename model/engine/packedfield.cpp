#include "model/engine/packedfield.h"

#include <algorithm>

#include "model/engine/lifebits.h"
#include "model/engine/rule.h"

namespace
{

using Word = std::uint64_t;
constexpr int N = GameField::FieldSize;

using RowSums = LifeBits::RowSums;

// One generation of `words` into `result` with `decide` choosing each cell's next state.
template <typename Decision> void step(const Word *words, Word *result, const Decision &decide)
{
    constexpr int WordsPerRow = 2;
    constexpr Word LastWordMask = (Word(1) << (N - 64)) - 1;
    // The sums of a row's two words; rows outside the field are dead and sum to nothing.
    const auto sumsOf = [words](int row, RowSums sums[WordsPerRow]) {
        if (row < 0 || row >= N) {
            sums[0] = sums[1] = RowSums { 0, 0, 0, 0 };
            return;
        }
        const Word low = words[row * WordsPerRow];
        const Word high = words[row * WordsPerRow + 1];
        sums[0] = LifeBits::rowSums(low << 1, low, (low >> 1) | (high << 63));
        sums[1] = LifeBits::rowSums((high << 1) | (low >> 63), high, high >> 1);
    };

    RowSums above[WordsPerRow];
    RowSums middle[WordsPerRow];
    RowSums below[WordsPerRow];
    sumsOf(-1, above);
    sumsOf(0, middle);
    for (int r = 0; r < N; ++r) {
        sumsOf(r + 1, below);
        for (int k = 0; k < WordsPerRow; ++k) {
            const Word next = decide(LifeBits::addRows(above[k], middle[k], below[k]), words[r * WordsPerRow + k]);
            result[r * WordsPerRow + k] = k == WordsPerRow - 1 ? next & LastWordMask : next;
        }
        for (int k = 0; k < WordsPerRow; ++k) {
            above[k] = middle[k];
            middle[k] = below[k];
        }
    }
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
    // Four independent lanes, so that the multiplications overlap.
    constexpr Word Multiplier = 0x9E3779B97F4A7C15ULL;
    Word lanes[4] = { 1, 2, 3, 4 };
    for (std::size_t i = 0; i < words.size(); i += 4) {
        for (std::size_t lane = 0; lane < 4; ++lane)
            lanes[lane] = (lanes[lane] ^ words[i + lane]) * Multiplier;
    }
    Word hash = 0;
    for (const Word lane : lanes)
        hash = (hash ^ (lane >> 29) ^ lane) * Multiplier;
    return hash ^ (hash >> 32);
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
