#include "model/pattern.h"

#include <algorithm>

void Pattern::placeCentred(GameField::Cell **buffer) const
{
    for (int r = 1; r <= GameField::FieldSize; ++r)
        std::fill(buffer[r] + 1, buffer[r] + 1 + GameField::FieldSize, 0);

    // The +1 steps over the dead border row and column of the buffer.
    const int top = (GameField::FieldSize - height) / 2 + 1;
    const int left = (GameField::FieldSize - width) / 2 + 1;
    for (const PatternCell &cell : cells)
        buffer[top + cell.row][left + cell.column] = 1;
}
