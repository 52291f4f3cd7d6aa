#ifndef PATTERNWRITER_H
#define PATTERNWRITER_H

#include <string>
#include <vector>

#include "model/engine/gamefield.h"
#include "model/engine/rule.h"

// Writes a field as a pattern file that PatternReader reads back to the same
// cells: the whole field, whose box is the full field so that centring it on
// reading moves nothing, or only the box around its live cells, as patterns
// are passed around.
class PatternWriter
{
public:
    PatternWriter() = delete;

    // RLE: a "#N <name>" line unless the name is empty, a "#C <comment>" line
    // for each comment, a "#C Generation <generation>" line (in place of any
    // such comment, which an earlier save wrote), the 120 x 120 header with
    // `rule`, and the cells in lines of at most 70 characters. cells: a
    // GameField::BufferSize x GameField::BufferSize row-pointer buffer as
    // GameField::snapshot() returns; only interior cells equal to 1 count as
    // alive. name, comments: UTF-8, whose line breaks and other control
    // characters are written as spaces to keep each on its line.
    static std::string writeRle(GameField::Cell *const *cells, int generation, const Rule &rule = Rule(),
        const std::string &name = std::string(), const std::vector<std::string> &comments = {});

    // RLE of the smallest box holding every live cell: the header with the
    // box's size and `rule`, then its cells, in lines of at most 70
    // characters. cells as for writeRle(). A field without live cells gives
    // a 0 x 0 box.
    static std::string writeRleBox(GameField::Cell *const *cells, const Rule &rule = Rule());

    // Plaintext: a "!Name: <name>" line, a "!Rule: <rule>" line unless the
    // rule is Conway's (the format has no place for a rule; this program reads
    // that comment back), a "! <comment>" line for each comment, then all 120
    // rows in full ('.' dead, 'O' alive). cells, name and comments as for writeRle().
    static std::string writePlaintext(GameField::Cell *const *cells, const std::string &name, const Rule &rule = Rule(),
        const std::vector<std::string> &comments = {});

    // Life 1.06: "#Life 1.06", then an "<x> <y>" line for each live cell, row
    // by row, counted from the field's centre cell (column and row 61, counted
    // from 1), which is where PatternReader puts position 0 0 back. The format
    // holds no rule, name or comments. cells as for writeRle().
    static std::string writeLife106(GameField::Cell *const *cells);
};

#endif // PATTERNWRITER_H
