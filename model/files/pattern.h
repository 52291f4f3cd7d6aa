#ifndef PATTERN_H
#define PATTERN_H

#include <optional>
#include <string>
#include <vector>

#include "model/engine/gamefield.h"
#include "model/engine/packedfield.h"
#include "model/engine/rule.h"

// One live cell of a pattern, counted from 0 at the top-left corner of the
// pattern's box: row 0..height-1, column 0..width-1.
struct PatternCell {
    int row;
    int column;
};

// A pattern as read from a file, independent of where it will sit on the
// field: the file formats give positions relative to the pattern, and the
// field always shows it centred.
class Pattern
{
public:
    int width = 0; // columns of the box, 0..GameField::FieldSize once read
    int height = 0; // rows of the box, 0..GameField::FieldSize once read
    std::vector<PatternCell> cells; // live cells, each inside the box, none twice
    std::string name; // from #N (RLE, Life 1.05) or !Name: (plaintext); may be empty
    // The file's comment lines in order, without their marks: #C and #c (RLE),
    // #C and #D (Life 1.05), or '!' lines other than the name and the rule
    // (plaintext). UTF-8, each on one line.
    std::vector<std::string> comments;
    std::optional<Rule> rule; // the rule the file names, if it names one

    // Kills every interior cell of a snapshot buffer (a BufferSize x BufferSize
    // row-pointer array as GameField::snapshot() returns) and writes the pattern
    // with its box's top-left corner on field row (FieldSize - height) / 2 and
    // column (FieldSize - width) / 2, counted from 0 and rounded down; the
    // border stays as it was. Precondition: width and height are at most
    // FieldSize and every cell lies inside the box.
    void placeCentred(GameField::Cell **buffer) const;
    // The pattern alone on a field, placed as placeCentred() places it.
    PackedField centred() const;
};

#endif // PATTERN_H
