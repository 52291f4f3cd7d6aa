// Any bytes as a pattern file, through PatternReader::read, the one entry that
// Open, a drop, the command line and the examples all go through, so every
// format is reached. Beyond not crashing, the reader must keep its promise:
// refuse with a one-line message and leave the pattern alone, or hand out a
// pattern whose cells lie in its box; and what it read, saved as RLE, plaintext
// or Life 1.06, must open as the same cells in the same places, on the field
// and in the unbounded plane, and saved as RLE or plaintext, keep its name and
// comments from one save to the next. Read into a list instead, as the
// command line reads, it must be read alike and place the same cells.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "model/engine/gamefield.h"
#include "model/engine/griduniverse.h"
#include "model/engine/hashlife.h"
#include "model/engine/unboundeduniverse.h"
#include "model/files/pattern.h"
#include "model/files/patternreader.h"
#include "model/files/patternwriter.h"
#include "tests/fuzz/fuzzrequire.h"

namespace
{

constexpr int N = GameField::FieldSize;

// Limits far below the reader's own, to stay within the fuzzer's time and memory.
PatternReader::Limits limits()
{
    PatternReader::Limits small;
    small.fileSize = 1024 * 1024;
    small.cells = 1U << 16;
    return small;
}

void requireCellsInBox(const Pattern &pattern)
{
    require(pattern.width >= 0 && pattern.height >= 0, "the box has a size");
    const std::optional<CellRect> cells = pattern.cells.boundingBox();
    require(!cells
            || (cells->left >= pattern.left && cells->top >= pattern.top && cells->right - pattern.left < pattern.width
                && cells->bottom - pattern.top < pattern.height),
        "every cell lies in the box");
}

// Checks that `read`, placed on the field as the window places it, has
// exactly the live cells of the snapshot buffer `cells`.
void requireSamePlace(const Pattern &read, GameField::Cell *const *cells, const char *promise)
{
    requireCellsInBox(read);
    require(read.fits(Topology::classic()), promise);
    // A second field, also made once.
    static GameField field;
    GameField::Cell **placed = field.snapshot();
    read.placeCentred(placed);
    for (int row = 1; row <= N; ++row) {
        for (int column = 1; column <= N; ++column)
            require(placed[row][column] == cells[row][column], promise);
    }
}

// The pattern's cells, written from the unbounded plane in each format, read
// back in place; plaintext and Life 1.06 past the limits above are not read.
void requireSameCells(const Pattern &pattern)
{
    // A macrocell may hold more cells than any file that lists them.
    try {
        if (pattern.cells.population() > limits().cells)
            return;
    } catch (const UniverseError &) {
        return;
    }
    std::string error;
    Pattern again;
    PatternReader::Limits anyRle = limits();
    anyRle.fileSize = PatternReader::MaxFileSize;
    require(PatternReader::read(PatternWriter::writeRle(pattern.cells, 1), again, error, anyRle)
            && again.cells.equals(pattern.cells),
        "RLE of the unbounded plane reads back as the same cells in the same places");
    std::string text;
    if (PatternWriter::writePlaintext(pattern.cells, pattern.name, pattern.comments, text, error)
        && text.size() <= limits().fileSize)
        require(PatternReader::read(text, again, error, limits()) && again.cells.equals(pattern.cells),
            "plaintext of the unbounded plane reads back as the same cells in the same places");
    if (PatternWriter::writeLife106(pattern.cells, text, error) && text.size() <= limits().fileSize)
        require(PatternReader::read(text, again, error, limits()) && again.cells.equals(pattern.cells),
            "Life 1.06 of the unbounded plane reads back as the same cells in the same places");
}

// A pattern under a rule of more states, placed in a plane of its box,
// written as RLE and read back into another: the same states in the same places.
void requireSameStates(const Pattern &pattern)
{
    constexpr std::int64_t Largest = 256;
    const Rule rule = pattern.rule.value_or(Rule());
    if (pattern.states.empty() && rule.isLifeLike())
        return;
    if (pattern.width < 1 || pattern.height < 1 || pattern.width > Largest || pattern.height > Largest)
        return;
    const Topology plane = Topology::plane(pattern.width, pattern.height);
    GridUniverse universe(plane, rule);
    pattern.placeInto(universe);
    Pattern again;
    std::string error;
    require(PatternReader::read(PatternWriter::writeRle(universe, 1), again, error), "the written states are read");
    GridUniverse back(plane, rule);
    again.placeInto(back);
    require(back.equals(universe), "RLE of many states reads back as the same states in the same places");
}

// The file read into a list, short enough for some files to pass it: read
// alike, and the same cells placed in the unbounded plane.
void requireSameList(std::string_view bytes, const Pattern &pattern)
{
    PatternReader::Limits listing = limits();
    listing.store = PatternReader::Store::List;
    listing.listed = 1U << 10;
    Pattern listed;
    std::string error;
    require(PatternReader::read(bytes, listed, error, listing), "a file read into HashLife is read into a list");
    require(listed.width == pattern.width && listed.height == pattern.height && listed.left == pattern.left
            && listed.top == pattern.top && listed.positioned == pattern.positioned,
        "the list has the box of HashLife");
    UnboundedUniverse fromQuadtree;
    UnboundedUniverse fromList;
    try {
        pattern.placeInto(fromQuadtree);
    } catch (const UniverseError &) {
        return;
    }
    listed.placeInto(fromList);
    require(fromList.equals(fromQuadtree), "the list places the cells of HashLife");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Pattern pattern;
    pattern.name = "untouched";
    std::string error;
    if (!PatternReader::read(std::string_view(reinterpret_cast<const char *>(data), size), pattern, error, limits())) {
        require(!error.empty() && error.find_first_of("\r\n") == std::string::npos, "a refusal says why, on one line");
        require(
            pattern.name == "untouched" && pattern.cells.population() == 0, "a refused file leaves the pattern alone");
        return 0;
    }
    requireCellsInBox(pattern);
    requireSameList(std::string_view(reinterpret_cast<const char *>(data), size), pattern);
    requireSameCells(pattern);
    requireSameStates(pattern);
    if (!pattern.fits(Topology::classic()))
        return 0;

    // Made once: a field costs hundreds of allocations.
    static GameField field;
    GameField::Cell **buffer = field.snapshot();
    pattern.placeCentred(buffer);
    const std::string rle = PatternWriter::writeRle(buffer, 1, Rule(), pattern.name, pattern.comments);
    Pattern again;
    require(PatternReader::read(rle, again, error), "the written RLE is read");
    requireSamePlace(again, buffer, "the written RLE reads back as the same cells");
    require(PatternWriter::writeRle(buffer, 1, Rule(), again.name, again.comments) == rle,
        "saving what a saved RLE file says writes it again");

    const std::string plaintext = PatternWriter::writePlaintext(buffer, pattern.name, Rule(), pattern.comments);
    require(PatternReader::read(plaintext, again, error), "the written plaintext is read");
    requireSamePlace(again, buffer, "the written plaintext reads back as the same cells");
    require(PatternWriter::writePlaintext(buffer, again.name, Rule(), again.comments) == plaintext,
        "saving what a saved plaintext file says writes it again");

    require(PatternReader::read(PatternWriter::writeLife106(buffer), again, error), "the written Life 1.06 is read");
    requireSamePlace(again, buffer, "the written Life 1.06 puts back the same cells");
    return 0;
}
