#ifndef PATTERNREADER_H
#define PATTERNREADER_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/files/pattern.h"

// Turns the bytes of a pattern file into a Pattern. Files come from anywhere,
// so every input is checked in full before anything of it is handed out: a
// file is either read whole or refused with a reason a person can act on.
//
// Formats: RLE (with the extended "#CXRLE" line), plaintext (.cells), Life
// 1.05, Life 1.06 and macrocell (read by Macrocell), told apart by their
// content rather than by a file name, each of them also gzip-compressed.
// Patterns of any size are read, up to the limits below; where they go is
// Pattern's business.
class PatternReader
{
public:
    PatternReader() = delete;

    static constexpr std::size_t MaxFileSize = std::size_t(256) << 20; // bytes, before and after inflating
    static constexpr std::uint64_t MaxCells = 100000000; // live cells

    // Where the live cells of the formats that list them go: into
    // Pattern::cells, or into Pattern::listed for a pattern placed once, as
    // long as there are at most Limits::listed of them (more all go into
    // `cells`, where they take less memory). A macrocell's always go into `cells`.
    enum class Store { Quadtree, List };
    // Live cells kept in a list at most: more stay in HashLife when placed in the unbounded plane anyway.
    static constexpr std::uint64_t ListLimit = std::uint64_t(1) << 21;

    // What a file may hold; a caller with less memory to spare, a fuzzer say, sets less.
    struct Limits {
        std::size_t fileSize = MaxFileSize; // bytes, before and after inflating
        // Live cells of the formats that list them; a macrocell, whose
        // squares are shared, is bounded by Macrocell's count of nodes instead.
        std::uint64_t cells = MaxCells;
        Store store = Store::Quadtree;
        std::uint64_t listed = ListLimit; // live cells of Store::List held in the list, at most
    };

    // Detects the format and reads the pattern. Returns true and replaces
    // `pattern`, or false and sets `error` to a one-line message naming the
    // problem and, where it helps, its line; `pattern` is then left as it was.
    // Never throws; any input at all ends in one of the two.
    static bool read(std::string_view bytes, Pattern &pattern, std::string &error);
    static bool read(std::string_view bytes, Pattern &pattern, std::string &error, const Limits &limits);
};

#endif // PATTERNREADER_H
