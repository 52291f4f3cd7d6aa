#ifndef GAMEFIELD_H
#define GAMEFIELD_H

#include <cstdint>

#include "model/engine/rule.h"

// The cell model of the simulator: the visible 120 x 120 field together with
// three further copies of it (saved state, evolution target, reader snapshot),
// and every operation on cells. It knows nothing of widgets, timers or counters,
// which is why it lives in a library of its own without any Qt dependency.
//
// Each buffer is 122 x 122 cells held as an array of row pointers, one separate
// allocation per row. Rows and columns 0 and 121 form a border that is dead at
// all times, so the evolution step can sum neighbours without bounds checks and
// the field behaves as if everything beyond its edge were dead.
class GameField
{
public:
    // A cell holds 1 (alive) or 0 (dead); only the value 1 counts as alive.
    using Cell = std::int32_t;

    static constexpr int FieldSize = 120; // visible rows and columns, numbered 1..120 in a buffer
    static constexpr int BufferSize = FieldSize + 2; // rows and columns of a buffer, border included
    static constexpr int CellCount = FieldSize * FieldSize; // visible cells: 14400
    static constexpr int QuadrantSplit = FieldSize / 2; // rows and columns 1..60 form the top and left halves

    // Seeds the process-wide rand() generator from the current time, then takes
    // all memory the field will ever use, with all four buffers dead. Throws
    // std::bad_alloc when memory runs out, after freeing what it had taken.
    GameField();
    ~GameField();

    // A copy would share, and later free twice, the same buffers.
    GameField(const GameField &) = delete;
    GameField &operator=(const GameField &) = delete;

    // Refreshes the snapshot buffer from the current one and hands it out: an
    // array of BufferSize row pointers, each to BufferSize cells. Callers may
    // read it and write interior cells; writes reach the field only through
    // commitSnapshot(). Valid for the lifetime of the field.
    Cell **snapshot();
    // Makes the snapshot buffer, as the caller left it, the current field.
    void commitSnapshot();

    // A cell of the current field, row and column 0..BufferSize-1; the border reads 0.
    Cell cell(int row, int column) const { return currentBuffer[row][column]; }
    // Sets a cell of the current field, row and column 1..FieldSize, to 1 (alive) or 0.
    void setCell(int row, int column, Cell value) { currentBuffer[row][column] = value; }

    // Keeps the current field as the saved state.
    void saveState();
    // Brings the saved state back as the current field; empty if nothing was saved.
    void restoreState();
    // Kills every cell of the current field; the saved state stays.
    void clear();
    // Number of interior cells equal to 1: 0..CellCount.
    int liveCellCount() const;

    // Fills the interior anew from rand(): four draws choose a density of 1/3..1/9
    // for each quadrant, then one draw per cell, row by row, decides the cell.
    void randomize();
    // Advances the field by one generation of its rule.
    void nextGeneration();

    // The rule nextGeneration() follows; Conway's Life (B3/S23) until set.
    // Under a rule with birth on 0 neighbours the outside still stays dead.
    const Rule &rule() const { return currentRule; }
    void setRule(const Rule &rule);

private:
    static Cell **allocateBuffer();
    static void freeBuffer(Cell **buffer);
    static void zeroBuffer(Cell **buffer);
    static void copyBuffer(Cell **destination, Cell *const *source);

    Cell **currentBuffer = nullptr; // the field as shown, evolved and counted
    Cell **savedBuffer = nullptr; // what Save state keeps and Stop brings back
    Cell **nextBuffer = nullptr; // target of one evolution step
    Cell **snapshotBuffer = nullptr; // copy handed to readers, staging area of an import
    Rule currentRule;
};

#endif // GAMEFIELD_H
