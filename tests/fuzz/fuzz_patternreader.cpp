// Any bytes as a pattern file, through PatternReader::read, the one entry that
// Open, a drop, the command line and the examples all go through, so every
// format is reached. Beyond not crashing, the reader must keep its promise:
// refuse with a one-line message and leave the pattern alone, or hand out a
// pattern that fits the field; and what it read, saved as RLE or Life 1.06,
// must open as the same cells in the same places, and saved as RLE or
// plaintext, keep its name and comments from one save to the next.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "model/engine/gamefield.h"
#include "model/files/pattern.h"
#include "model/files/patternreader.h"
#include "model/files/patternwriter.h"

namespace
{

constexpr int N = GameField::FieldSize;

// Ends the run as a crash, so that libFuzzer keeps the input.
void require(bool condition, const char *promise)
{
    if (condition)
        return;
    std::fprintf(stderr, "broken: %s\n", promise);
    std::abort();
}

// The pattern's box, row-major, 1 for a live cell; checks that the box fits
// the field and that each cell lies in it, once.
std::vector<char> boxOf(const Pattern &pattern)
{
    require(pattern.width >= 0 && pattern.width <= N && pattern.height >= 0 && pattern.height <= N,
        "the box fits the field");
    std::vector<char> box(static_cast<std::size_t>(pattern.width) * pattern.height, 0);
    for (const PatternCell &cell : pattern.cells) {
        require(cell.row >= 0 && cell.row < pattern.height && cell.column >= 0 && cell.column < pattern.width,
            "every cell lies in the box");
        char &alive = box[static_cast<std::size_t>(cell.row) * pattern.width + cell.column];
        require(alive == 0, "no cell comes twice");
        alive = 1;
    }
    return box;
}

// Checks that `read`, placed on the field as the window places it, has
// exactly the live cells of the snapshot buffer `cells`.
void requireSamePlace(const Pattern &read, GameField::Cell *const *cells, const char *promise)
{
    boxOf(read);
    // A second field, also made once.
    static GameField field;
    GameField::Cell **placed = field.snapshot();
    read.placeCentred(placed);
    for (int row = 1; row <= N; ++row) {
        for (int column = 1; column <= N; ++column)
            require(placed[row][column] == cells[row][column], promise);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Pattern pattern;
    pattern.name = "untouched";
    std::string error;
    if (!PatternReader::read(std::string_view(reinterpret_cast<const char *>(data), size), pattern, error)) {
        require(!error.empty() && error.find_first_of("\r\n") == std::string::npos, "a refusal says why, on one line");
        require(pattern.name == "untouched" && pattern.cells.empty(), "a refused file leaves the pattern alone");
        return 0;
    }
    boxOf(pattern);

    // Made once: a field costs hundreds of allocations.
    static GameField field;
    GameField::Cell **buffer = field.snapshot();
    pattern.placeCentred(buffer);
    const std::string rle = PatternWriter::writeRle(buffer, 1, Rule(), pattern.name, pattern.comments);
    Pattern again;
    require(PatternReader::read(rle, again, error), "the written RLE is read");
    require(again.width == N && again.height == N, "the written RLE covers the field");
    requireSamePlace(again, buffer, "the written RLE reads back as the same cells");
    require(PatternWriter::writeRle(buffer, 1, Rule(), again.name, again.comments) == rle,
        "saving what a saved RLE file says writes it again");

    const std::string plaintext = PatternWriter::writePlaintext(buffer, pattern.name, Rule(), pattern.comments);
    require(PatternReader::read(plaintext, again, error), "the written plaintext is read");
    require(PatternWriter::writePlaintext(buffer, again.name, Rule(), again.comments) == plaintext,
        "saving what a saved plaintext file says writes it again");

    require(PatternReader::read(PatternWriter::writeLife106(buffer), again, error), "the written Life 1.06 is read");
    requireSamePlace(again, buffer, "the written Life 1.06 puts back the same cells");
    return 0;
}
