#include "model/files/patternreader.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <new>
#include <utility>
#include <vector>

#include "model/engine/messagetext.h"
#include "model/files/gzip.h"
#include "model/files/linetext.h"
#include "model/files/macrocell.h"

namespace
{

// Where reading a decimal stops adding digits, so that no digit run overflows.
constexpr std::int64_t Saturated = 1000000000000000000;
// The largest |x| and |y| of a cell or a position: every number read stays
// below Saturated, and every cell lies where the unbounded plane can hold it.
constexpr std::int64_t CoordinateLimit = Saturated - 1;
static_assert(CoordinateLimit <= Universe::CoordinateLimit, "every cell read fits the unbounded plane");
// Cells handed to HashLife::setCells at once.
constexpr std::size_t Batch = std::size_t(1) << 16;

const char *const NotAPatternFile = "not a pattern file: expected RLE, plaintext, Life 1.05, Life 1.06 or macrocell";

// Thrown by the format readers and turned into the error message by read(),
// so that each reader can stop at the first problem from any depth.
struct FormatError {
    std::string message;
};

std::string atLine(int lineNumber, const std::string &message)
{
    return "line " + std::to_string(lineNumber) + ": " + message;
}

[[noreturn]] void fail(std::string message) { throw FormatError { std::move(message) }; }

[[noreturn]] void failAt(int lineNumber, const std::string &message) { fail(atLine(lineNumber, message)); }

using LineText::commentText;
using LineText::isBlank;
using LineText::isDigit;
using LineText::trim;

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

bool isUtf8Continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The character starting at byte index of a line that has passed checkText().
std::string describeCharacter(std::string_view line, std::size_t index)
{
    const unsigned char byte = static_cast<unsigned char>(line[index]);
    if (byte == ' ')
        return "a space";
    if (byte == '\t')
        return "a tab";
    if (byte == '\r')
        return "a carriage return";
    const std::size_t length = byte < 0x80 ? 1 : byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
    return "'" + std::string(line.substr(index, length)) + "'";
}

// 1-based column of the character at byte index, counting characters, not bytes.
int columnOf(std::string_view line, std::size_t index)
{
    const auto characters = std::count_if(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(index),
        [](char ch) { return !isUtf8Continuation(static_cast<unsigned char>(ch)); });
    return static_cast<int>(characters) + 1;
}

std::string numberText(std::int64_t value)
{
    return value >= Saturated ? "over " + std::to_string(Saturated - 1) : std::to_string(value);
}

// Bytes of a valid UTF-8 sequence starting at index, or 0 if there is none:
// overlong forms, surrogates and code points past U+10FFFF are not text.
std::size_t utf8SequenceLength(std::string_view bytes, std::size_t index)
{
    const unsigned char lead = static_cast<unsigned char>(bytes[index]);
    std::size_t length = 0;
    unsigned char secondLow = 0x80;
    unsigned char secondHigh = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        secondLow = lead == 0xE0 ? 0xA0 : 0x80;
        secondHigh = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        secondLow = lead == 0xF0 ? 0x90 : 0x80;
        secondHigh = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (bytes.size() - index < length)
        return 0;
    const unsigned char second = static_cast<unsigned char>(bytes[index + 1]);
    if (second < secondLow || second > secondHigh)
        return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (!isUtf8Continuation(static_cast<unsigned char>(bytes[index + i])))
            return 0;
    }
    return length;
}

// Refuses anything but UTF-8 text with tab, CR and LF as its only control bytes.
void checkText(std::string_view bytes)
{
    int lineNumber = 1;
    for (std::size_t i = 0; i < bytes.size();) {
        const unsigned char byte = static_cast<unsigned char>(bytes[i]);
        if (byte == '\n')
            ++lineNumber;
        if (byte < 0x80) {
            if ((byte < 0x20 && byte != '\t' && byte != '\r' && byte != '\n') || byte == 0x7F) {
                static const char hex[] = "0123456789ABCDEF";
                failAt(lineNumber,
                    std::string("not a text file (control byte 0x") + hex[byte >> 4] + hex[byte & 0xF] + ")");
            }
            ++i;
            continue;
        }
        const std::size_t length = utf8SequenceLength(bytes, i);
        if (length == 0)
            failAt(lineNumber, "not a text file (invalid UTF-8)");
        i += length;
    }
}

// Lines without their line break; a break at the very end starts no new line.
std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    for (std::size_t start = 0, end = 0; start < text.size(); start = end + 1) {
        end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
    }
    return lines;
}

// Reads unsigned decimal digits at pos, moving pos past them; the value stays
// at Saturated once it gets there.
bool readDigits(std::string_view text, std::size_t &pos, std::int64_t &value)
{
    const std::size_t start = pos;
    value = 0;
    for (; pos < text.size() && isDigit(text[pos]); ++pos)
        value = value >= Saturated / 10 ? Saturated : value * 10 + (text[pos] - '0');
    return pos > start;
}

// Reads an optionally negative decimal at pos; false if there is none.
bool readInteger(std::string_view text, std::size_t &pos, std::int64_t &value)
{
    const bool negative = pos < text.size() && text[pos] == '-';
    if (negative)
        ++pos;
    if (!readDigits(text, pos, value))
        return false;
    if (negative)
        value = -value;
    return true;
}

void skipBlanks(std::string_view text, std::size_t &pos)
{
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
}

[[noreturn]] void failCoordinate(std::int64_t value, int lineNumber)
{
    failAt(lineNumber,
        "coordinate " + numberText(value < 0 ? -value : value) + " is beyond ±" + std::to_string(CoordinateLimit));
}

// Checked for every run of cells: the refusal apart, so that the check is inlined.
void checkCoordinate(std::int64_t value, int lineNumber)
{
    if (value > CoordinateLimit || value < -CoordinateLimit)
        failCoordinate(value, lineNumber);
}

// Checks that cells from `start` on for `count` cells (0..Saturated) end
// within the coordinate limit. Precondition: |start| <= CoordinateLimit.
void checkSpan(std::int64_t start, std::int64_t count, int lineNumber)
{
    if (count > 0)
        checkCoordinate(start + count - 1, lineNumber);
}

// Reads a rule a file names, with the universe of its suffix; the reader of
// rules says why one is refused.
void readRule(std::string_view text, int lineNumber, Pattern &pattern)
{
    Rule rule;
    std::optional<Topology> topology;
    std::string error;
    if (!Rule::read(text, rule, topology, error))
        failAt(lineNumber, error);
    pattern.rule = rule;
    pattern.topology = topology;
}

// Reads "<x>,<y>" (blanks allowed around the comma) that makes up all of `text`; false if it is not that.
bool readPosition(std::string_view text, std::int64_t &x, std::int64_t &y)
{
    std::size_t pos = 0;
    skipBlanks(text, pos);
    if (!readInteger(text, pos, x))
        return false;
    skipBlanks(text, pos);
    if (pos == text.size() || text[pos] != ',')
        return false;
    ++pos;
    skipBlanks(text, pos);
    if (!readInteger(text, pos, y))
        return false;
    skipBlanks(text, pos);
    return pos == text.size();
}

// Live cells as a reader finds them, handed to the pattern's HashLife in
// batches: neither a list of every cell nor a call per cell; or kept in its
// list, where the caller asked for one. Keeps the box around them and
// refuses more than the limit allows.
class CellSink
{
public:
    // pattern: where they go, or none to only measure the box. Not owned; it
    // outlives the sink. shift: added to every cell's place.
    CellSink(Pattern *pattern, const PatternReader::Limits &limits, CellPoint shift = {})
        : pattern(pattern)
        , limit(limits.cells)
        , shift(shift)
        , listLimit(limits.listed)
        , listing(pattern != nullptr && limits.store == PatternReader::Store::List)
    {
        if (pattern != nullptr && !listing)
            batch.reserve(Batch);
    }

    // `run` (1..) live cells from (x, y) to the right; each coordinate already checked.
    void add(std::int64_t x, std::int64_t y, std::int64_t run, int lineNumber)
    {
        if (static_cast<std::uint64_t>(run) > limit - count)
            failAt(lineNumber,
                "the pattern has more than " + std::to_string(limit)
                    + " live cells, more than a pattern file may have");
        count += static_cast<std::uint64_t>(run);
        x += shift.x;
        y += shift.y;
        box.left = std::min(box.left, x);
        box.right = std::max(box.right, x + run - 1);
        box.top = std::min(box.top, y);
        box.bottom = std::max(box.bottom, y);
        if (pattern == nullptr)
            return;
        if (listing && count > listLimit) {
            // More than the list takes: the quadtree holds them all, in less memory.
            listing = false;
            pattern->cells.setCells({ pattern->listed.begin(), pattern->listed.end() });
            pattern->listed.clear();
            pattern->listed.shrink_to_fit();
            batch.reserve(Batch);
        }
        if (listing) {
            for (std::int64_t i = 0; i < run; ++i)
                pattern->listed.push_back({ x + i, y });
            return;
        }
        for (std::int64_t i = 0; i < run; ++i) {
            batch.push_back({ x + i, y });
            if (batch.size() == Batch)
                flush();
        }
    }

    // Hands the last cells over; the box around every cell, none without any.
    std::optional<CellRect> finish()
    {
        flush();
        if (count == 0)
            return std::nullopt;
        return box;
    }

private:
    void flush()
    {
        if (pattern != nullptr && !batch.empty())
            pattern->cells.setCells(std::move(batch));
        batch.clear();
        batch.reserve(Batch);
    }

    Pattern *pattern;
    std::uint64_t limit;
    CellPoint shift;
    std::uint64_t listLimit;
    bool listing; // the cells go to pattern->listed rather than in batches to pattern->cells
    std::uint64_t count = 0;
    CellRect box { Saturated, Saturated, -Saturated, -Saturated };
    std::vector<CellPoint> batch;
};

// Reads "x = W, y = H[, rule = R]" into width, height and the pattern's rule.
void readRleHeader(std::string_view line, int lineNumber, std::int64_t &width, std::int64_t &height, Pattern &pattern)
{
    std::size_t pos = 0;
    const auto accept = [&](std::string_view word) {
        skipBlanks(line, pos);
        if (!startsWith(line.substr(pos), word))
            return false;
        pos += word.size();
        return true;
    };
    const auto number = [&](std::int64_t &value) {
        skipBlanks(line, pos);
        return readDigits(line, pos, value);
    };
    const auto malformed = [&] {
        failAt(lineNumber,
            "malformed RLE header " + MessageText::quoted(trim(line)) + ": expected \"x = <width>, y = <height>\"");
    };

    if (!accept("x") || !accept("=") || !number(width) || !accept(",") || !accept("y") || !accept("=")
        || !number(height))
        malformed();
    checkSpan(pattern.left, width, lineNumber);
    checkSpan(pattern.top, height, lineNumber);
    skipBlanks(line, pos);
    if (pos == line.size())
        return;
    if (!accept(",") || !accept("rule") || !accept("="))
        malformed();
    const std::string_view rule = trim(line.substr(pos));
    if (rule.empty())
        malformed();
    readRule(rule, lineNumber, pattern);
}

// "#CXRLE Pos=<x>,<y> Gen=<generation>": where the box's top-left cell is,
// and the generation; other words are for other programs.
void readExtendedRle(std::string_view text, int lineNumber, Pattern &pattern)
{
    // Each word moves `pos` past the blank after it, so that the loop ends whatever the text.
    for (std::size_t pos = 0, end = 0; pos < text.size(); pos = end + 1) {
        skipBlanks(text, pos);
        end = std::min(text.find_first_of(" \t\r", pos), text.size());
        const std::string_view word = text.substr(pos, end - pos);
        if (startsWith(word, "Pos=")) {
            std::int64_t x = 0;
            std::int64_t y = 0;
            if (!readPosition(word.substr(4), x, y))
                failAt(lineNumber, "expected \"Pos=<x>,<y>\", found " + MessageText::quoted(word));
            checkCoordinate(x, lineNumber);
            checkCoordinate(y, lineNumber);
            pattern.left = x;
            pattern.top = y;
            pattern.positioned = true;
        } else if (startsWith(word, "Gen=")) {
            std::size_t digits = 4;
            std::int64_t generation = 0;
            if (!readDigits(word, digits, generation) || digits != word.size())
                failAt(lineNumber, "expected \"Gen=<generation>\", found " + MessageText::quoted(word));
            if (generation >= Saturated)
                failAt(lineNumber, "generation " + numberText(generation) + " is too large");
            pattern.generation = generation;
        }
    }
}

// RLE items from line index on, up to "!" or the end of the file. Stores the
// live cells and widens the declared box (width x height) where they lie beyond it.
void readRleItems(const std::vector<std::string_view> &lines, std::size_t index, std::int64_t &width,
    std::int64_t &height, Pattern &pattern, CellSink &sink)
{
    std::int64_t x = 0;
    std::int64_t y = 0;
    std::int64_t count = 0;
    bool counted = false;
    int lineNumber = static_cast<int>(index);
    for (; index < lines.size(); ++index) {
        const std::string_view line = lines[index];
        lineNumber = static_cast<int>(index) + 1;
        for (std::size_t pos = 0; pos < line.size(); ++pos) {
            const char tag = line[pos];
            if (isBlank(tag))
                continue;
            if (isDigit(tag)) {
                readDigits(line, pos, count);
                --pos;
                if (count == 0)
                    failAt(lineNumber, "run count 0: a run has at least one cell");
                if (count >= Saturated)
                    failAt(lineNumber, "run count " + numberText(count) + " is too large");
                counted = true;
                continue;
            }
            if (tag == '!' && !counted)
                return;
            const std::int64_t run = counted ? count : 1;
            counted = false;
            // States above 1: 'A'..'X' are 1..24, 'p'..'y' before one of them adds 24 for each letter from 'p' on.
            int state = tag == 'o' ? 1 : tag >= 'A' && tag <= 'X' ? tag - 'A' + 1 : 0;
            const std::size_t tagStart = pos;
            if (tag >= 'p' && tag <= 'y') {
                const char next = pos + 1 < line.size() ? line[pos + 1] : '\0';
                if (next < 'A' || next > 'X')
                    failAt(lineNumber,
                        "'" + std::string(1, tag) + "' begins a cell state, and a letter A to X must follow it");
                state = (tag - 'p' + 1) * 24 + (next - 'A' + 1);
                ++pos;
            }
            const int stateCount = pattern.rule ? pattern.rule->stateCount() : 2;
            if (state >= stateCount)
                failAt(lineNumber,
                    "cell state " + std::to_string(state) + " ('"
                        + std::string(line.substr(tagStart, pos + 1 - tagStart)) + "') is beyond the "
                        + std::to_string(stateCount) + " states of the rule "
                        + (pattern.rule ? *pattern.rule : Rule()).toString());
            if (tag == 'b' || tag == '.') {
                x += run;
                checkSpan(pattern.left, x, lineNumber);
            } else if (state > 0) {
                // Checked before any cell is stored, so that a huge run costs nothing.
                checkSpan(pattern.left, x + run, lineNumber);
                checkSpan(pattern.top, y + 1, lineNumber);
                sink.add(pattern.left + x, pattern.top + y, run, lineNumber);
                for (std::int64_t i = 0; state > 1 && i < run; ++i)
                    pattern.states.push_back(
                        { pattern.left + x + i, pattern.top + y, static_cast<std::uint8_t>(state) });
                x += run;
                width = std::max(width, x);
                height = std::max(height, y + 1);
            } else if (tag == '$') {
                y += run;
                x = 0;
                checkSpan(pattern.top, y, lineNumber);
            } else if (tag == '!') {
                failAt(lineNumber, "run count " + std::to_string(run) + " before '!' belongs to no cell");
            } else {
                failAt(lineNumber,
                    "column " + std::to_string(columnOf(line, pos)) + ": " + describeCharacter(line, pos)
                        + " does not belong in an RLE pattern");
            }
        }
    }
    if (counted)
        failAt(lineNumber, "run count " + std::to_string(count) + " at the end belongs to no cell");
}

// RLE: "#" metadata lines, the header, then the items.
void readRle(const std::vector<std::string_view> &lines, std::size_t first, Pattern &pattern, CellSink &sink)
{
    std::size_t index = first;
    for (; index < lines.size(); ++index) {
        const std::string_view line = trim(lines[index]);
        if (startsWith(line, "#N"))
            pattern.name = trim(line.substr(2));
        else if (startsWith(line, "#O"))
            pattern.author = trim(line.substr(2));
        else if (startsWith(line, "#CXRLE"))
            readExtendedRle(line.substr(6), static_cast<int>(index) + 1, pattern);
        else if (startsWith(line, "#C") || startsWith(line, "#c"))
            pattern.comments.emplace_back(commentText(line.substr(2)));
        else if (startsWith(line, "#r"))
            readRule(line.substr(2), static_cast<int>(index) + 1, pattern);
        else if (!line.empty() && line.front() != '#')
            break;
    }

    std::int64_t width = 0;
    std::int64_t height = 0;
    readRleHeader(lines[index], static_cast<int>(index) + 1, width, height, pattern);
    readRleItems(lines, index + 1, width, height, pattern, sink);
    sink.finish();
    pattern.width = width;
    pattern.height = height;
}

// Plaintext: "!" comment lines and rows of '.' (dead) and 'O' or '*' (alive);
// a "!Rule:" comment names the rule and "!Position: x,y" where the top-left
// cell is, as this program's own files do. An empty line among the rows is a
// dead row; empty lines before the first row and after the last are no part
// of the pattern, such as the blank line an editor leaves at the end of a file.
void readPlaintext(const std::vector<std::string_view> &lines, Pattern &pattern, CellSink &sink)
{
    std::size_t firstRow = lines.size();
    std::size_t lastRow = 0;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const std::string_view line = lines[index];
        const int lineNumber = static_cast<int>(index) + 1;
        if (startsWith(line, "!Position:")) {
            std::int64_t x = 0;
            std::int64_t y = 0;
            if (!readPosition(line.substr(10), x, y))
                failAt(lineNumber, "expected \"!Position: <x>,<y>\", found " + MessageText::quoted(trim(line)));
            checkCoordinate(x, lineNumber);
            checkCoordinate(y, lineNumber);
            pattern.left = x;
            pattern.top = y;
            pattern.positioned = true;
        } else if (!line.empty() && !startsWith(line, "!")) {
            firstRow = std::min(firstRow, index);
            lastRow = index;
        }
    }
    std::int64_t width = 0;
    std::int64_t height = 0;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const std::string_view line = lines[index];
        const int lineNumber = static_cast<int>(index) + 1;
        if (startsWith(line, "!")) {
            if (startsWith(line, "!Name:"))
                pattern.name = trim(line.substr(6));
            else if (startsWith(line, "!Rule:"))
                readRule(line.substr(6), lineNumber, pattern);
            else if (!startsWith(line, "!Position:"))
                pattern.comments.emplace_back(commentText(line.substr(1)));
            continue;
        }
        if (index < firstRow || index > lastRow)
            continue;
        checkSpan(pattern.top, height + 1, lineNumber);
        checkSpan(pattern.left, static_cast<std::int64_t>(line.size()), lineNumber);
        for (std::size_t column = 0; column < line.size(); ++column) {
            const char ch = line[column];
            if (ch == 'O' || ch == '*') {
                sink.add(pattern.left + static_cast<std::int64_t>(column), pattern.top + height, 1, lineNumber);
            } else if (ch != '.') {
                failAt(lineNumber,
                    "column " + std::to_string(columnOf(line, column)) + ": " + describeCharacter(line, column)
                        + " is not a plaintext cell ('.' dead, 'O' or '*' alive)");
            }
        }
        width = std::max(width, static_cast<std::int64_t>(line.size()));
        ++height;
    }
    sink.finish();
    pattern.width = width;
    pattern.height = height;
}

// Life 1.05: "#P x y" starts a block of rows of '.' and '*' at column x, row y;
// "#P" alone, at column 0, row 0. The cells go to `sink` at those places.
void readLife105Blocks(const std::vector<std::string_view> &lines, std::size_t first, Pattern &pattern, CellSink &sink)
{
    std::int64_t blockX = 0;
    std::int64_t blockY = 0;
    std::int64_t row = 0;
    for (std::size_t index = first + 1; index < lines.size(); ++index) {
        const std::string_view line = lines[index];
        const int lineNumber = static_cast<int>(index) + 1;
        if (startsWith(line, "#P")) {
            blockX = 0;
            blockY = 0;
            std::size_t pos = 2;
            skipBlanks(line, pos);
            // Many files in the wild start their only block with a bare "#P": at 0 0.
            if (pos < line.size()) {
                bool valid = readInteger(line, pos, blockX);
                skipBlanks(line, pos);
                valid = valid && readInteger(line, pos, blockY);
                skipBlanks(line, pos);
                if (!valid || pos != line.size())
                    failAt(lineNumber, "expected \"#P <x> <y>\", found " + MessageText::quoted(trim(line)));
                checkCoordinate(blockX, lineNumber);
                checkCoordinate(blockY, lineNumber);
            }
            row = 0;
        } else if (startsWith(line, "#N")) {
            // A bare #N states Conway's rule; anything after it is taken as the name.
            if (!trim(line.substr(2)).empty())
                pattern.name = trim(line.substr(2));
            else
                pattern.rule = Rule();
        } else if (startsWith(line, "#R")) {
            // Survival, then birth: "#R 23/3"; the reader of rules takes digits that way.
            readRule(line.substr(2), lineNumber, pattern);
        } else if (startsWith(line, "#C") || startsWith(line, "#D")) {
            pattern.comments.emplace_back(commentText(line.substr(2)));
        } else if (!startsWith(line, "#")) {
            checkCoordinate(blockY + row, lineNumber);
            for (std::size_t column = 0; column < line.size(); ++column) {
                if (line[column] == '*') {
                    checkCoordinate(blockX + static_cast<std::int64_t>(column), lineNumber);
                    sink.add(blockX + static_cast<std::int64_t>(column), blockY + row, 1, lineNumber);
                } else if (line[column] != '.') {
                    failAt(lineNumber,
                        "column " + std::to_string(columnOf(line, column)) + ": " + describeCharacter(line, column)
                            + " is not a Life 1.05 cell ('.' dead, '*' alive)");
                }
            }
            ++row;
        }
    }
}

// Life 1.05, its box's top-left cell moved to 0 0: a first pass finds the
// box, a second hands over the cells moved, so no cell is held twice.
void readLife105(const std::vector<std::string_view> &lines, std::size_t first, Pattern &pattern,
    const PatternReader::Limits &limits)
{
    Pattern measured;
    CellSink measure(nullptr, limits);
    readLife105Blocks(lines, first, measured, measure);
    const std::optional<CellRect> box = measure.finish();
    if (!box)
        return readLife105Blocks(lines, first, pattern, measure);
    if (box->right - box->left > CoordinateLimit || box->bottom - box->top > CoordinateLimit)
        fail("the blocks span more than " + std::to_string(CoordinateLimit) + " cells, beyond what a pattern may span");
    CellSink sink(&pattern, limits, { -box->left, -box->top });
    readLife105Blocks(lines, first, pattern, sink);
    sink.finish();
    pattern.width = box->right - box->left + 1;
    pattern.height = box->bottom - box->top + 1;
}

// Life 1.06: one live cell per line as "x y", 0 0 being the universe's centre.
void readLife106(const std::vector<std::string_view> &lines, std::size_t first, Pattern &pattern, CellSink &sink)
{
    for (std::size_t index = first + 1; index < lines.size(); ++index) {
        const std::string_view line = trim(lines[index]);
        const int lineNumber = static_cast<int>(index) + 1;
        if (line.empty() || line.front() == '#')
            continue;
        std::size_t pos = 0;
        std::int64_t x = 0;
        std::int64_t y = 0;
        bool valid = readInteger(line, pos, x);
        const std::size_t gap = pos;
        skipBlanks(line, pos);
        valid = valid && pos > gap && readInteger(line, pos, y) && pos == line.size();
        if (!valid)
            failAt(lineNumber, "expected a cell as two whole numbers \"<x> <y>\", found " + MessageText::quoted(line));
        checkCoordinate(x, lineNumber);
        checkCoordinate(y, lineNumber);
        sink.add(x, y, 1, lineNumber);
    }
    pattern.positioned = true;
    if (const std::optional<CellRect> box = sink.finish()) {
        pattern.left = box->left;
        pattern.top = box->top;
        pattern.width = box->right - box->left + 1;
        pattern.height = box->bottom - box->top + 1;
    }
}

// A macrocell, read by Macrocell: its cells centred on 0 0.
void readMacrocell(std::string_view bytes, Pattern &pattern)
{
    MacrocellContent content;
    std::string error;
    if (!Macrocell::read(bytes, content, error))
        fail(error);
    pattern.cells = content.universe;
    if (content.states) {
        content.states->forEachCell(
            Universe::extent(Topology::unbounded()), [&pattern](std::int64_t x, std::int64_t y, std::uint8_t state) {
                if (state > 1)
                    pattern.states.push_back({ x, y, state });
            });
    }
    pattern.name = std::move(content.name);
    pattern.comments = std::move(content.comments);
    pattern.rule = content.rule;
    pattern.topology = content.topology;
    pattern.generation = content.generation;
    pattern.positioned = true;
    if (const std::optional<CellRect> box = pattern.cells.boundingBox()) {
        pattern.left = box->left;
        pattern.top = box->top;
        pattern.width = box->right - box->left + 1;
        pattern.height = box->bottom - box->top + 1;
    }
}

bool isPlaintextRow(std::string_view line)
{
    return !line.empty() && line.find_first_not_of(".O*") == std::string_view::npos;
}

// "x" and "=" open the header; what follows is checked when it is read.
bool isRleHeader(std::string_view line)
{
    std::size_t pos = 0;
    skipBlanks(line, pos);
    if (pos == line.size() || line[pos] != 'x')
        return false;
    ++pos;
    skipBlanks(line, pos);
    return pos < line.size() && line[pos] == '=';
}

void readAny(std::string_view bytes, Pattern &pattern, const PatternReader::Limits &limits)
{
    if (bytes.size() > limits.fileSize)
        fail("the file has " + std::to_string(bytes.size()) + " bytes, more than the " + std::to_string(limits.fileSize)
            + " a pattern file may have");
    std::string inflated;
    if (Gzip::isCompressed(bytes)) {
        std::string error;
        if (!Gzip::inflate(bytes, inflated, error, limits.fileSize))
            fail(error);
        bytes = inflated;
    }
    if (startsWith(bytes, "\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    if (startsWith(bytes, "[M2]"))
        return readMacrocell(bytes, pattern);
    checkText(bytes);

    const std::vector<std::string_view> lines = splitLines(bytes);
    const auto firstLine
        = std::find_if(lines.begin(), lines.end(), [](std::string_view line) { return !trim(line).empty(); });
    if (firstLine == lines.end())
        fail(NotAPatternFile);
    const std::size_t first = static_cast<std::size_t>(firstLine - lines.begin());
    const std::string_view line = trim(*firstLine);

    CellSink sink(&pattern, limits);
    if (limits.store == PatternReader::Store::List) {
        // Every run of cells takes a byte of the file or more: room for a
        // cell a byte is rarely outgrown, and room left empty is never touched.
        pattern.listed.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(bytes.size(), limits.listed)));
    }
    if (line == "#Life 1.05") {
        readLife105(lines, first, pattern, limits);
    } else if (line == "#Life 1.06") {
        readLife106(lines, first, pattern, sink);
    } else if (line.front() == '#') {
        // Metadata lines lead into an RLE header; without one this is no known format.
        const auto header = std::find_if(firstLine, lines.end(), [](std::string_view candidate) {
            const std::string_view trimmed = trim(candidate);
            return !trimmed.empty() && trimmed.front() != '#';
        });
        if (header == lines.end() || !isRleHeader(*header))
            fail(NotAPatternFile);
        readRle(lines, first, pattern, sink);
    } else if (isRleHeader(line)) {
        readRle(lines, first, pattern, sink);
    } else if (line.front() == '!' || isPlaintextRow(line)) {
        readPlaintext(lines, pattern, sink);
    } else {
        fail(NotAPatternFile);
    }
}

} // namespace

bool PatternReader::read(std::string_view bytes, Pattern &pattern, std::string &error)
{
    return read(bytes, pattern, error, Limits());
}

bool PatternReader::read(std::string_view bytes, Pattern &pattern, std::string &error, const Limits &limits)
{
    try {
        Pattern result;
        readAny(bytes, result, limits);
        pattern = std::move(result);
        return true;
    } catch (const FormatError &problem) {
        error = problem.message;
    } catch (const UniverseError &problem) {
        error = problem.what();
    } catch (const std::bad_alloc &) {
        error = "not enough memory to read the pattern";
    }
    return false;
}
