#ifndef RANDOMBITS_H
#define RANDOMBITS_H

#include <cstdint>

// Random cells 64 at a time, each alive with the same probability and
// independently of all others: filling a rectangle at random draws a word
// of cells rather than a number per cell. A probability p is built from its
// 32 binary digits, each a random word that either sets or clears half of
// what is left, so that p = 1/2 costs one draw per word and no p more than 32.
// The same seed gives the same cells on every machine.
class RandomBits
{
public:
    // Precondition: density 0..1, the probability of a cell being alive,
    // taken to the nearest multiple of 2^-32.
    RandomBits(double density, std::uint64_t seed);

    // Whether every cell comes out dead, or every one alive.
    bool none() const { return threshold == 0; }
    bool all() const { return threshold == Full; }
    // The next 64 cells: bit i set for a live cell.
    std::uint64_t next();

private:
    static constexpr std::uint64_t Full = std::uint64_t(1) << 32;

    std::uint64_t draw();

    std::uint64_t state;
    std::uint64_t threshold; // density * 2^32, 0..Full
};

#endif // RANDOMBITS_H
