#ifndef BITMIX_H
#define BITMIX_H

#include <cstdint>

// The engines hash cells and node numbers for their tables and for cycle detection. Each input bit must
// reach each output bit, or the cells of one column of a word collide far more often than chance.
namespace BitMix
{

// A well-known 64-bit finaliser: each input bit flips each output bit with a probability close to one half.
inline std::uint64_t finalise(std::uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

// `word` taken into `lane`, one step of a running digest: invertible in the
// lane, so that a change in one word always changes it; a multiplication
// carries bits only upward, and the shift after it brings the high half down.
inline std::uint64_t fold(std::uint64_t lane, std::uint64_t word)
{
    const std::uint64_t mixed = (lane ^ word) * 0x9E3779B97F4A7C15ULL;
    return mixed ^ (mixed >> 32);
}

} // namespace BitMix

#endif // BITMIX_H
