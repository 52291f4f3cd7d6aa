#ifndef PATTERNWRITER_H
#define PATTERNWRITER_H

#include <cstdint>
#include <string>
#include <vector>

#include "model/engine/gamefield.h"
#include "model/engine/rule.h"
#include "model/engine/universe.h"

// Writes the live cells of a universe as a pattern file that PatternReader
// reads back to the same cells, which Pattern puts back in the same places:
// only the box around the live cells is written, with its position counted
// from the universe's centre, so that a huge sparse universe makes a small file.
//
// Text from outside (name, comments: UTF-8) is written with its line breaks
// and other control characters as spaces, to keep each on its line.
class PatternWriter
{
public:
    PatternWriter() = delete;

    // The most plaintext and Life 1.06 take: they list cells one by one, so
    // a larger pattern belongs in RLE or a macrocell.
    static constexpr std::uint64_t MaxListedCells = 10000000; // live cells
    static constexpr std::uint64_t MaxListedBox = 100000000; // cells of the box around them

    // The generation given to the writers is this program's, 1 for the
    // pattern as first drawn; files count from 0 (Pattern::generation).
    //
    // RLE: a "#N <name>" line unless the name is empty, a "#O <author>" line
    // unless the author is, a "#C <comment>" line
    // for each comment, a "#C Generation <generation>" line (in place of any
    // such comment, which an earlier save wrote), a "#CXRLE Pos=<x>,<y>
    // Gen=<generation - 1>" line with the box's top-left cell counted from
    // Topology::centre() (Pos= only with live cells, Gen= only past
    // generation 1), the header with the box's size and the universe's
    // rule with the suffix of a bounded universe, and the cells in lines of at
    // most 70 characters. A universe without live cells gives a 0 x 0 box.
    static std::string writeRle(const Universe &universe, std::int64_t generation,
        const std::string &name = std::string(), const std::vector<std::string> &comments = {},
        const std::string &author = std::string());
    // RLE of the box alone, as patterns are passed around: the header and the
    // cells, without a position, so that the pattern lands where it is put.
    static std::string writeRleBox(const Universe &universe);
    // Plaintext: a "!Name: <name>" line, a "!Rule: <rule>" line unless the
    // rule is Conway's in the classic field or the unbounded plane (the
    // format has no place for a rule; this program reads that comment back),
    // a "! <comment>" line for each comment, a "!Position: <x>,<y>" line as
    // RLE's, then the box's rows ('.' dead, 'O' alive). Returns false and sets
    // `error`, naming the formats that take it, for more than MaxListedCells
    // live cells or a box of more than MaxListedBox cells, and for a rule of
    // more than two states.
    static bool writePlaintext(const Universe &universe, const std::string &name,
        const std::vector<std::string> &comments, std::string &text, std::string &error);
    // Life 1.06: "#Life 1.06", then an "<x> <y>" line for each live cell, row
    // by row, counted from Topology::centre(). The format holds no rule, name
    // or comments. Refuses as writePlaintext() does.
    static bool writeLife106(const Universe &universe, std::string &text, std::string &error);
    // A macrocell (see Macrocell::write) of the cells counted from
    // Topology::centre(), with the rule's suffix of a bounded universe, its
    // #G one less than `generation`; in nodes of state numbers under a rule of
    // more than two states. Throws UniverseError when memory runs out.
    static std::string writeMacrocell(const Universe &universe, std::int64_t generation, const std::string &name,
        const std::vector<std::string> &comments);
    // The same, or false and `error` when memory runs out.
    static bool writeMacrocell(const Universe &universe, std::int64_t generation, const std::string &name,
        const std::vector<std::string> &comments, std::string &text, std::string &error);

    // The same for the classic field of a GameField::BufferSize x BufferSize
    // row-pointer buffer, as GameField::snapshot() returns it, whose interior
    // cells equal to 1 are alive, run under `rule`.
    static std::string writeRle(GameField::Cell *const *cells, int generation, const Rule &rule = Rule(),
        const std::string &name = std::string(), const std::vector<std::string> &comments = {},
        const std::string &author = std::string());
    static std::string writeRleBox(GameField::Cell *const *cells, const Rule &rule = Rule());
    static std::string writePlaintext(GameField::Cell *const *cells, const std::string &name, const Rule &rule = Rule(),
        const std::vector<std::string> &comments = {});
    static std::string writeLife106(GameField::Cell *const *cells);
};

#endif // PATTERNWRITER_H
