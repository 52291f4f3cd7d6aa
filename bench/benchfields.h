#ifndef BENCHFIELDS_H
#define BENCHFIELDS_H

#include <cstdlib>

#include "model/engine/gamefield.h"

// The fields the benchmarks measure on, the same in every benchmark program so
// that their figures can be set side by side.
namespace BenchFields
{

// The Gosper glider gun, typed in cell by cell: 9 rows of 36 cells, 'O' alive.
inline const char *const GosperGunRows[9] = {
    "........................O...........",
    "......................O.O...........",
    "............OO......OO............OO",
    "...........O...O....OO............OO",
    "OO........O.....O...OO..............",
    "OO........O...O.OO....O.O...........",
    "..........O.....O.......O...........",
    "...........O...O....................",
    "............OO......................",
};

// Every visible cell alive: the most work for counting and drawing.
inline void fillCompletely(GameField &field)
{
    GameField::Cell **cells = field.snapshot();
    for (int r = 1; r <= GameField::FieldSize; ++r) {
        for (int c = 1; c <= GameField::FieldSize; ++c)
            cells[r][c] = 1;
    }
    field.commitSnapshot();
}

// One live cell in three, like the densest quadrant of a random fill; the
// same cells on every call.
inline void fillRandomly(GameField &field)
{
    std::srand(1);
    GameField::Cell **cells = field.snapshot();
    for (int r = 1; r <= GameField::FieldSize; ++r) {
        for (int c = 1; c <= GameField::FieldSize; ++c)
            cells[r][c] = std::rand() % 3 == 0 ? 1 : 0;
    }
    field.commitSnapshot();
}

} // namespace BenchFields

#endif // BENCHFIELDS_H
