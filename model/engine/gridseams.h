#ifndef GRIDSEAMS_H
#define GRIDSEAMS_H

#include <cstdint>
#include <vector>

#include "model/engine/packedrows.h"
#include "model/engine/topology.h"

// The cells just past the edges of a packed grid, as its topology joins the
// edges, so that the step reads every row and its two outer neighbours the
// same way on every bounded surface. A plane reads dead cells there and a
// plain torus its own opposite rows directly; the other surfaces gather the
// rows past the top and bottom edges before each step, cell by cell through
// Topology::wrap(), and look up the two cells beside each row as they go.
class GridSeams
{
public:
    using Word = PackedRows::Word;

    // A row of the grid and the cells beside it: `westOfFirst` at bit 0 and
    // `eastOfLast` at the bit of the last column of its last word.
    struct Row {
        const Word *words; // wordsPerRow(width) words, bits past the last column 0
        Word westOfFirst;
        Word eastOfLast;
    };

    // Precondition: `topology` is a valid bounded topology other than the classic field.
    explicit GridSeams(const Topology &topology);
    // Rows refer to the seams' own words: a copy would refer to the original's.
    GridSeams(const GridSeams &) = delete;
    GridSeams &operator=(const GridSeams &) = delete;

    // Gathers the rows past the top and bottom edges from `cells` (the grid's
    // words, as PackedRows reads them); call it whenever the cells changed
    // before reading rows -1 and height.
    void prepare(const Word *cells);
    // How the rows past the edges are found.
    enum class Join {
        Dead, // a plane's: dead
        Opposite, // a plain torus's: the opposite rows
        Gathered, // any other surface's: gathered by prepare()
    };
    Join join() const { return way; }

    // The rows of one generation's cells, as the step reads them: a small
    // value that a step keeps in registers, valid while the seams and the
    // cells stay as they are.
    struct Rows {
        const GridSeams *seams;
        const Word *cells;
        const Word *dead;
        std::int64_t height;
        std::int64_t rowWords;
        int lastBit;

        // Row y, -1..height: rows -1 and height are those past the edges.
        // Precondition: `Known` is the seams' join().
        template <Join Known> Row row(std::int64_t y) const
        {
            if constexpr (Known == Join::Dead) {
                if (y < 0 || y >= height)
                    return Row { dead, 0, 0 };
                return Row { cells + y * rowWords, 0, 0 };
            } else if constexpr (Known == Join::Opposite) {
                const Word *words = cells + ((y + height) % height) * rowWords;
                return Row { words, (words[rowWords - 1] >> lastBit) & 1U, (words[0] & 1U) << lastBit };
            } else {
                if (y < 0)
                    return seams->above;
                if (y >= height)
                    return seams->below;
                return Row { cells + y * rowWords, seams->cellAt(cells, -1, y),
                    seams->cellAt(cells, seams->shape.width(), y) << lastBit };
            }
        }
    };
    // The rows of `cells`, the grid's words.
    Rows rows(const Word *cells) const { return Rows { this, cells, dead.data(), height, rowWords, lastBit }; }

private:
    // 1 if the cell that (x, y) past the edge stands for lives, else 0.
    Word cellAt(const Word *cells, std::int64_t x, std::int64_t y) const;
    // Row y (-1 or height) past the edge into `words`, with its outer cells.
    Row gather(const Word *cells, std::int64_t y, std::vector<Word> &words) const;

    Topology shape;
    Join way;
    std::int64_t height;
    std::int64_t rowWords;
    int lastBit; // of the last column in its word
    std::vector<Word> dead; // a row of dead cells
    std::vector<Word> aboveWords; // row -1 as gathered, for Join::Gathered
    std::vector<Word> belowWords; // row height
    Row above;
    Row below;
};

#endif // GRIDSEAMS_H
