#include "model/files/pattern.h"

void Pattern::placeCentred(GameField::Cell **buffer) const { centred().toBuffer(buffer); }

PackedField Pattern::centred() const
{
    PackedField field;
    // The +1 makes field rows and columns count from 1.
    const int top = (GameField::FieldSize - height) / 2 + 1;
    const int left = (GameField::FieldSize - width) / 2 + 1;
    for (const PatternCell &cell : cells)
        field.setAlive(top + cell.row, left + cell.column, true);
    return field;
}
