#ifndef PATTERNREADER_H
#define PATTERNREADER_H

#include <cstddef>
#include <string>
#include <string_view>

#include "model/files/pattern.h"

// Turns the bytes of a pattern file into a Pattern. Files come from anywhere,
// so every input is checked in full before anything of it is handed out: a
// file is either read whole or refused with a reason a person can act on.
//
// Formats: RLE, plaintext (.cells), Life 1.05 and Life 1.06, told apart by
// their content rather than by a file name. Every pattern is placed by its box
// in the middle of the field; a Life 1.06 box is centred on position 0 0 when
// the cells fit around it, so that 0 0 is the field's centre cell.
class PatternReader
{
public:
    PatternReader() = delete;

    static constexpr std::size_t MaxFileSize = 1024 * 1024; // bytes; larger input is refused unread

    // Detects the format and reads the pattern. Returns true and replaces
    // pattern (its box at most GameField::FieldSize in each direction, every
    // cell inside the box), or false and sets error to a one-line message
    // naming the problem and, where it helps, its line; pattern is then left
    // as it was. Never throws; any input at all ends in one of the two.
    static bool read(std::string_view bytes, Pattern &pattern, std::string &error);
};

#endif // PATTERNREADER_H
