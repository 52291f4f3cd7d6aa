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

} // namespace BitMix

#endif // BITMIX_H
