#ifndef PATTERNSKETCH_H
#define PATTERNSKETCH_H

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// A small picture of a pattern file for a thumbnail, read without the
// engines so that any thread may draw one while the window steps its
// universe: the live cells of an RLE, plaintext, Life 1.05 or Life 1.06 file,
// gzip-compressed or not, squeezed into a square, a pixel live if any cell
// under it is. It checks only what it needs: a file the readers would refuse
// may still give a sketch, which is all a thumbnail asks.
class PatternSketch
{
public:
    static constexpr std::size_t MaxFileSize = std::size_t(16) << 20; // bytes, before and after inflating
    static constexpr std::uint64_t MaxCells = std::uint64_t(1) << 22; // cells drawn; the rest are left out
    static constexpr int MaxSide = 1024; // pixels

    int width = 0; // pixels, 1..side, 0 when there is no sketch
    int height = 0;
    std::vector<std::uint8_t> pixels; // width x height, row by row: 1 live, 0 dead

    // Draws the file `bytes` within `side` x `side` pixels (1..MaxSide), each
    // cell as large as whole pixels allow, or a pixel for 2, 3, ... cells each
    // way. Returns false, with no sketch, for a macrocell, a file without live
    // cells and any file that is no pattern. Never throws.
    static bool draw(std::string_view bytes, int side, PatternSketch &sketch);
};

#endif // PATTERNSKETCH_H
