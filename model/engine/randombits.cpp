#include "model/engine/randombits.h"

#include <cmath>

RandomBits::RandomBits(double density, std::uint64_t seed)
    : state(seed)
    , threshold(static_cast<std::uint64_t>(std::llround(std::fmin(std::fmax(density, 0.0), 1.0) * double(Full))))
{
}

std::uint64_t RandomBits::draw()
{
    // SplitMix64: a 64-bit counter through a finaliser.
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

std::uint64_t RandomBits::next()
{
    if (threshold == 0 || threshold == Full)
        return threshold == 0 ? 0 : ~std::uint64_t(0);
    // From the lowest digit up, each digit halves the probability so far and
    // adds a half if it is 1: the result is threshold / 2^32.
    std::uint64_t cells = 0;
    for (int digit = __builtin_ctzll(threshold); digit < 32; ++digit)
        cells = ((threshold >> digit) & 1U) != 0 ? cells | draw() : cells & draw();
    return cells;
}
