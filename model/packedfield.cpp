#include "model/packedfield.h"

PackedField PackedField::fromBuffer(GameField::Cell *const *buffer)
{
    PackedField field;
    std::size_t index = 0;
    for (int r = 1; r <= GameField::FieldSize; ++r) {
        for (int c = 1; c <= GameField::FieldSize; ++c, ++index) {
            if (buffer[r][c] == 1)
                field.bits.set(index);
        }
    }
    return field;
}

void PackedField::toBuffer(GameField::Cell **buffer) const
{
    std::size_t index = 0;
    for (int r = 1; r <= GameField::FieldSize; ++r) {
        for (int c = 1; c <= GameField::FieldSize; ++c, ++index)
            buffer[r][c] = bits.test(index) ? 1 : 0;
    }
}
