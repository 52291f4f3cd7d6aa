#ifndef LIFEBITS_H
#define LIFEBITS_H

#include <cstdint>

#include "model/engine/rule.h"

// The step of a Life-like rule on 64 cells at a time, one bit per cell: the
// classic field and the leaves of the unbounded plane count neighbours and
// decide with the same bit planes, so that their results cannot differ.
// Conway's rule alone has a paired step of its own in the leaves, for speed,
// which the engines' differential tests hold to this one.
class LifeBits
{
public:
    using Word = std::uint64_t;

    // One bit plane of neighbour counts per weight: a count n (0..8) sits in a
    // cell's bit as n = ones + 2 twos + 4 fours + 8 eights.
    struct Counts {
        Word ones, twos, fours, eights;
    };

    // Sums of three horizontal neighbours (west, self, east) of one row, as two
    // bit planes, and of two (west and east) for the row whose cells are counted.
    struct RowSums {
        Word ones3, twos3, ones2, twos2;
    };

    LifeBits() = delete;

    static RowSums rowSums(Word west, Word self, Word east)
    {
        const Word sides = west ^ east;
        return { sides ^ self, (west & east) | (self & sides), sides, west & east };
    }

    static Counts addRows(const RowSums &above, const RowSums &middle, const RowSums &below)
    {
        const Word ones = above.ones3 ^ middle.ones2 ^ below.ones3;
        const Word carry = (above.ones3 & middle.ones2) | (below.ones3 & (above.ones3 ^ middle.ones2));
        // Four bits of weight two; at most one of the two pairs can carry twice.
        const Word pairA = above.twos3 ^ middle.twos2;
        const Word bothA = above.twos3 & middle.twos2;
        const Word pairB = below.twos3 ^ carry;
        const Word bothB = below.twos3 & carry;
        const Word twos = pairA ^ pairB;
        const Word carryTwos = pairA & pairB;
        return { ones, twos, bothA ^ bothB ^ carryTwos, bothA & bothB };
    }

    // Conway's Life, written out: born on 3, survives on 2 or 3.
    struct ConwayDecision {
        Word operator()(const Counts &counts, Word alive) const
        {
            return counts.twos & ~counts.fours & ~counts.eights & (counts.ones | alive);
        }
    };

    // Any Life-like rule, as a tree of selections on the planes of a count 0..7
    // and the cell's own state (a count of 8 is told apart by the eights plane).
    // Every leaf is all zeros or all ones, so each selection is a mask and a XOR;
    // no branch depends on the cells.
    class RuleDecision
    {
    public:
        explicit RuleDecision(const Rule &rule)
        {
            const auto outcome
                = [&rule](int alive, int count) { return rule.nextState(alive != 0, count) ? ~Word(0) : Word(0); };
            for (int alive = 0; alive < 2; ++alive) {
                for (int pair = 0; pair < 4; ++pair) {
                    const Word even = outcome(alive, 2 * pair);
                    const Word odd = outcome(alive, 2 * pair + 1);
                    onesBase[alive * 4 + pair] = even;
                    onesFlip[alive * 4 + pair] = even ^ odd;
                }
                eightBase[alive] = outcome(alive, 8);
            }
        }

        Word operator()(const Counts &counts, Word alive) const
        {
            Word byOnes[8];
            for (int i = 0; i < 8; ++i)
                byOnes[i] = (counts.ones & onesFlip[i]) ^ onesBase[i];
            Word byTwos[4];
            for (int i = 0; i < 4; ++i)
                byTwos[i] = byOnes[2 * i] ^ (counts.twos & (byOnes[2 * i] ^ byOnes[2 * i + 1]));
            const Word dead = byTwos[0] ^ (counts.fours & (byTwos[0] ^ byTwos[1]));
            const Word living = byTwos[2] ^ (counts.fours & (byTwos[2] ^ byTwos[3]));
            const Word belowEight = dead ^ (alive & (dead ^ living));
            const Word atEight = eightBase[0] ^ (alive & (eightBase[0] ^ eightBase[1]));
            return (belowEight & ~counts.eights) | (atEight & counts.eights);
        }

    private:
        Word onesBase[8]; // index alive * 4 + count / 2: the outcome for the even count
        Word onesFlip[8]; // all ones where the odd count's outcome differs
        Word eightBase[2];
    };
};

#endif // LIFEBITS_H
