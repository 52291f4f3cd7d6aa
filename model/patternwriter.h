#ifndef PATTERNWRITER_H
#define PATTERNWRITER_H

#include <string>

#include "model/gamefield.h"
#include "model/rule.h"

// Writes a field as a pattern file that PatternReader reads back to the same
// cells: the whole field, whose box is the full field so that centring it on
// reading moves nothing, or only the box around its live cells, as patterns
// are passed around.
class PatternWriter
{
public:
    PatternWriter() = delete;

    // RLE: a "#C Generation <generation>" line, the 120 x 120 header with
    // `rule`, and the cells in lines of at most 70 characters. cells: a
    // GameField::BufferSize x GameField::BufferSize row-pointer buffer as
    // GameField::snapshot() returns; only interior cells equal to 1 count as alive.
    static std::string writeRle(GameField::Cell *const *cells, int generation, const Rule &rule = Rule());

    // RLE of the smallest box holding every live cell: the header with the
    // box's size and `rule`, then its cells, in lines of at most 70
    // characters. cells as for writeRle(). A field without live cells gives
    // a 0 x 0 box.
    static std::string writeRleBox(GameField::Cell *const *cells, const Rule &rule = Rule());

    // Plaintext: a "!Name: <name>" line, a "!Rule: <rule>" line unless the
    // rule is Conway's (the format has no place for a rule; this program reads
    // that comment back), then all 120 rows in full ('.' dead, 'O' alive).
    // cells as for writeRle(); name: UTF-8, whose line breaks and other
    // control characters are written as spaces to keep it on its line.
    static std::string writePlaintext(
        GameField::Cell *const *cells, const std::string &name, const Rule &rule = Rule());
};

#endif // PATTERNWRITER_H
