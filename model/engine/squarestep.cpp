#include "model/engine/squarestep.h"

#include <algorithm>

namespace
{

using Word = SquareStep::Word;

// Four rows of 8 cells (the bytes of `rows`) as the low bytes of four 16-bit rows.
Word spreadRows(Word rows)
{
    rows &= 0xFFFFFFFFULL;
    rows = (rows | rows << 16) & 0x0000FFFF0000FFFFULL;
    return (rows | rows << 8) & 0x00FF00FF00FF00FFULL;
}

// The reverse of spreadRows: the low bytes of four 16-bit rows as four bytes.
Word gatherRows(Word rows)
{
    rows &= 0x00FF00FF00FF00FFULL;
    rows = (rows | rows >> 8) & 0x0000FFFF0000FFFFULL;
    return (rows | rows >> 16) & 0xFFFFFFFFULL;
}

// One generation of a 16 x 16 square held as four words of four 16-cell
// rows. Cells on the square's rim come out wrong, so each generation leaves
// one ring fewer of right cells; the middle 8 x 8 stays right for four. The
// outer words are stepped only when `outer`: the last generation needs the
// middle eight rows alone. Written out word by word, so that every plane
// stays in a register.
template <typename Decision>
inline void generation(Word &w0, Word &w1, Word &w2, Word &w3, bool outer, const Decision &decide)
{
    using Sums = LifeBits::RowSums;
    const auto sums = [](Word w) { return LifeBits::rowSums(w << 1, w, w >> 1); };
    const auto step = [&decide](const Sums &before, const Sums &self, const Sums &after, Word alive) {
        Sums above = self;
        Sums below = self;
        above.ones3 = self.ones3 << 16 | before.ones3 >> 48;
        above.twos3 = self.twos3 << 16 | before.twos3 >> 48;
        below.ones3 = self.ones3 >> 16 | after.ones3 << 48;
        below.twos3 = self.twos3 >> 16 | after.twos3 << 48;
        return decide(LifeBits::addRows(above, self, below), alive);
    };
    const Sums s0 = sums(w0);
    const Sums s1 = sums(w1);
    const Sums s2 = sums(w2);
    const Sums s3 = sums(w3);
    const Word n1 = step(s0, s1, s2, w1);
    const Word n2 = step(s1, s2, s3, w2);
    if (outer) {
        const Sums none {};
        w0 = step(none, s0, s1, w0);
        w3 = step(s2, s3, none, w3);
    }
    w1 = n1;
    w2 = n2;
}

// The 16 x 16 square of four leaves as four words of four 16-cell rows, from the top.
struct Rows16 {
    Rows16(Word nw, Word ne, Word sw, Word se)
        : words { spreadRows(nw) | spreadRows(ne) << 8, spreadRows(nw >> 32) | spreadRows(ne >> 32) << 8,
            spreadRows(sw) | spreadRows(se) << 8, spreadRows(sw >> 32) | spreadRows(se >> 32) << 8 }
    {
    }
    Word words[4];
};

// The middle 8 x 8 of the rows w1 (its top four) and w2 as a leaf's bits.
Word middleLeaf(Word w1, Word w2) { return gatherRows(w1 >> 4) | gatherRows(w2 >> 4) << 32; }

// Generations 1, 3, 5, ... under `even`, 2, 4, ... under `odd`: rules that
// take turns, or the same rule twice.
template <typename Decision>
Word leafStep(Word nw, Word ne, Word sw, Word se, int generations, const Decision &even, const Decision &odd)
{
    const Rows16 rows(nw, ne, sw, se);
    Word w0 = rows.words[0];
    Word w1 = rows.words[1];
    Word w2 = rows.words[2];
    Word w3 = rows.words[3];
    for (int i = 1; i <= generations; ++i)
        generation(w0, w1, w2, w3, i < generations, i % 2 == 1 ? even : odd);
    return middleLeaf(w1, w2);
}

// Two words side by side, stepped by one instruction each where the machine can.
using Pair = Word __attribute__((vector_size(16)));

// Conway's generation of the square of generation(), its words paired as
// (w0, w2) and (w1, w3), so that each operation steps two words: the sums of
// LifeBits written out for pairs, for the rule most patterns run.
inline void conwayGeneration(Pair &even, Pair &odd)
{
    struct Sums {
        Pair ones3, twos3, ones2, twos2;
    };
    const auto sums = [](Pair w) {
        const Pair west = w << 1;
        const Pair east = w >> 1;
        const Pair sides = west ^ east;
        return Sums { sides ^ w, (west & east) | (w & sides), sides, west & east };
    };
    const auto step
        = [](const Sums &self, Pair beforeOnes, Pair beforeTwos, Pair afterOnes, Pair afterTwos, Pair alive) {
              const Pair aboveOnes = self.ones3 << 16 | beforeOnes >> 48;
              const Pair aboveTwos = self.twos3 << 16 | beforeTwos >> 48;
              const Pair belowOnes = self.ones3 >> 16 | afterOnes << 48;
              const Pair belowTwos = self.twos3 >> 16 | afterTwos << 48;
              const Pair ones = aboveOnes ^ self.ones2 ^ belowOnes;
              const Pair carry = (aboveOnes & self.ones2) | (belowOnes & (aboveOnes ^ self.ones2));
              // Four bits of weight two: the count is 2 or 3 where exactly one is set.
              const Pair pairA = aboveTwos ^ self.twos2;
              const Pair pairB = belowTwos ^ carry;
              const Pair atLeastTwo = (aboveTwos & self.twos2) | (belowTwos & carry) | (pairA & pairB);
              return (pairA ^ pairB) & ~atLeastTwo & (ones | alive);
          };
    const Pair none = { 0, 0 };
    const Sums e = sums(even);
    const Sums o = sums(odd);
    // The word after w1 is w2 and none follows w3; none precedes w0 and w1 precedes w2.
    const Pair nextOdd = step(o, e.ones3, e.twos3, __builtin_shufflevector(e.ones3, none, 1, 2),
        __builtin_shufflevector(e.twos3, none, 1, 2), odd);
    even = step(e, __builtin_shufflevector(none, o.ones3, 0, 2), __builtin_shufflevector(none, o.twos3, 0, 2), o.ones3,
        o.twos3, even);
    odd = nextOdd;
}

Word conwayLeafStep(Word nw, Word ne, Word sw, Word se, int generations)
{
    const Rows16 rows(nw, ne, sw, se);
    Pair even = { rows.words[0], rows.words[2] };
    Pair odd = { rows.words[1], rows.words[3] };
    for (int i = 0; i < generations; ++i)
        conwayGeneration(even, odd);
    return middleLeaf(odd[0], even[1]);
}

// A 32 x 32 square of sixteen leaves as sixteen words of two 32-cell rows,
// the upper row in the low half. Each generation steps only the rows whose
// cells can still come out right; the middle 16 x 16 stays right for eight.
class Block32
{
public:
    // `leaves` row by row.
    explicit Block32(const Word (&leaves)[4][4])
    {
        // Two 16-cell rows of a word of four (see Rows16) at bits 0 and 32.
        const auto twoRows = [](Word rows) { return (rows & 0xFFFF) | (rows & 0xFFFF0000) << 16; };
        for (int by = 0; by < 4; ++by) {
            for (int half = 0; half < 2; ++half) {
                const Word *row = leaves[by];
                const int shift = 32 * half;
                const Word west = spreadRows(row[0] >> shift) | spreadRows(row[1] >> shift) << 8;
                const Word east = spreadRows(row[2] >> shift) | spreadRows(row[3] >> shift) << 8;
                words[4 * by + 2 * half] = twoRows(west) | twoRows(east) << 16;
                words[4 * by + 2 * half + 1] = twoRows(west >> 32) | twoRows(east >> 32) << 16;
            }
        }
    }

    // 1..8 generations: the middle 16 x 16 stays right for eight. Odd
    // generations (the first, third, ...) under `even`, the others under `odd`.
    template <typename Decision> void step(int generations, const Decision &even, const Decision &odd)
    {
        using Sums = LifeBits::RowSums;
        for (int i = 1; i <= generations; ++i) {
            const Decision &decide = i % 2 == 1 ? even : odd;
            // Rows i..31 - i are the ones still right after this generation.
            const int first = i / 2;
            const int last = (31 - i) / 2;
            Sums sums[18] = {};
            for (int k = std::max(first - 1, 0); k <= std::min(last + 1, 15); ++k)
                sums[k + 1] = LifeBits::rowSums(words[k] << 1, words[k], words[k] >> 1);
            Word next[16];
            for (int k = first; k <= last; ++k) {
                const Sums &before = sums[k];
                const Sums &self = sums[k + 1];
                const Sums &after = sums[k + 2];
                Sums above = self;
                Sums below = self;
                above.ones3 = self.ones3 << 32 | before.ones3 >> 32;
                above.twos3 = self.twos3 << 32 | before.twos3 >> 32;
                below.ones3 = self.ones3 >> 32 | after.ones3 << 32;
                below.twos3 = self.twos3 >> 32 | after.twos3 << 32;
                next[k] = decide(LifeBits::addRows(above, self, below), words[k]);
            }
            std::copy(next + first, next + last + 1, words + first);
        }
    }

    // step() under Conway's rule, two words per operation as in conwayGeneration().
    void conwayStep(int generations)
    {
        Pair pairs[8];
        for (int m = 0; m < 8; ++m)
            pairs[m] = Pair { words[2 * m], words[2 * m + 1] };
        const Pair none = { 0, 0 };
        for (int i = 1; i <= generations; ++i) {
            // Rows i..31 - i, in pairs first..last, are the ones still right after this generation.
            const int first = i / 4;
            const int last = (31 - i) / 4;
            // Pair m's sums at m + 1, with none before the first and after the last.
            Pair ones3[10];
            Pair twos3[10];
            Pair ones2[8];
            Pair twos2[8];
            ones3[0] = twos3[0] = ones3[9] = twos3[9] = none;
#pragma GCC unroll 8
            for (int m = 0; m < 8; ++m) {
                const Pair w = pairs[m];
                const Pair west = w << 1;
                const Pair east = w >> 1;
                const Pair sides = west ^ east;
                ones3[m + 1] = sides ^ w;
                twos3[m + 1] = (west & east) | (w & sides);
                ones2[m] = sides;
                twos2[m] = west & east;
            }
            // The sums of the words before pair m's: its second word's and pair m's first.
#pragma GCC unroll 8
            for (int m = 0; m < 8; ++m) {
                if (m < first || m > last)
                    continue;
                const Pair beforeOnes = __builtin_shufflevector(ones3[m], ones3[m + 1], 1, 2);
                const Pair beforeTwos = __builtin_shufflevector(twos3[m], twos3[m + 1], 1, 2);
                const Pair afterOnes = __builtin_shufflevector(ones3[m + 1], ones3[m + 2], 1, 2);
                const Pair afterTwos = __builtin_shufflevector(twos3[m + 1], twos3[m + 2], 1, 2);
                const Pair aboveOnes = ones3[m + 1] << 32 | beforeOnes >> 32;
                const Pair aboveTwos = twos3[m + 1] << 32 | beforeTwos >> 32;
                const Pair belowOnes = ones3[m + 1] >> 32 | afterOnes << 32;
                const Pair belowTwos = twos3[m + 1] >> 32 | afterTwos << 32;
                const Pair ones = aboveOnes ^ ones2[m] ^ belowOnes;
                const Pair carry = (aboveOnes & ones2[m]) | (belowOnes & (aboveOnes ^ ones2[m]));
                // Four bits of weight two: the count is 2 or 3 where exactly one is set.
                const Pair pairA = aboveTwos ^ twos2[m];
                const Pair pairB = belowTwos ^ carry;
                const Pair atLeastTwo = (aboveTwos & twos2[m]) | (belowTwos & carry) | (pairA & pairB);
                pairs[m] = (pairA ^ pairB) & ~atLeastTwo & (ones | pairs[m]);
            }
        }
        for (int m = 0; m < 8; ++m) {
            words[2 * m] = pairs[m][0];
            words[2 * m + 1] = pairs[m][1];
        }
    }

    // The leaf at x, y (0..1) of the middle 16 x 16.
    Word middleLeaf(int x, int y) const
    {
        Word bits = 0;
        for (int j = 0; j < 4; ++j) {
            const Word pair = words[4 + 4 * y + j] >> (8 + 8 * x);
            bits |= ((pair & 0xFF) | ((pair >> 32) & 0xFF) << 8) << (16 * j);
        }
        return bits;
    }

private:
    Word words[16];
};

} // namespace

Word SquareStep::middleOfFour(Word nw, Word ne, Word sw, Word se, int generations, const LifeBits::RuleDecision *decide,
    const LifeBits::RuleDecision *odd)
{
    if (!decide)
        return conwayLeafStep(nw, ne, sw, se, generations);
    return leafStep(nw, ne, sw, se, generations, *decide, odd ? *odd : *decide);
}

void SquareStep::middleOfSixteen(const Word (&leaves)[4][4], int generations, const LifeBits::RuleDecision *decide,
    Word (&middle)[2][2], const LifeBits::RuleDecision *odd)
{
    Block32 block(leaves);
    if (decide)
        block.step(generations, *decide, odd ? *odd : *decide);
    else
        block.conwayStep(generations);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 2; ++x)
            middle[y][x] = block.middleLeaf(x, y);
    }
}
