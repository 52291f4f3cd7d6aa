#include "model/files/patternreader.h"

#include <algorithm>
#include <cctype>
#include <new>
#include <utility>
#include <vector>

#include "model/engine/messagetext.h"

namespace
{

constexpr int FieldSize = GameField::FieldSize;
// Positions and run counts beyond this are refused: no pattern that fits the
// field needs them, and every sum of them stays far from overflowing.
constexpr long long NumberLimit = 1000000000;
// Where reading a decimal stops adding digits, so that no digit run overflows.
constexpr long long Saturated = 1000000000000000000;

const char *const NotAPatternFile = "not a pattern file: expected RLE, plaintext, Life 1.05 or Life 1.06";

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

bool isBlank(char ch) { return ch == ' ' || ch == '\t' || ch == '\r'; }

bool isDigit(char ch) { return ch >= '0' && ch <= '9'; }

std::string_view trim(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

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

std::string numberText(long long value)
{
    return value >= Saturated ? "over " + std::to_string(Saturated - 1) : std::to_string(value);
}

[[noreturn]] void failTooLarge(int lineNumber, long long width, long long height)
{
    std::string message = "the pattern is " + numberText(width) + " x " + numberText(height)
        + " cells, larger than the field's " + std::to_string(FieldSize) + " x " + std::to_string(FieldSize);
    if (lineNumber > 0)
        message = atLine(lineNumber, message);
    fail(message);
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
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

// Reads unsigned decimal digits at pos, moving pos past them; the value stays
// at Saturated once it gets there.
bool readDigits(std::string_view text, std::size_t &pos, long long &value)
{
    const std::size_t start = pos;
    value = 0;
    for (; pos < text.size() && isDigit(text[pos]); ++pos)
        value = value >= Saturated / 10 ? Saturated : value * 10 + (text[pos] - '0');
    return pos > start;
}

// Reads an optionally negative decimal at pos; false if there is none.
bool readInteger(std::string_view text, std::size_t &pos, long long &value)
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

void checkCoordinate(long long value, int lineNumber)
{
    if (value > NumberLimit || value < -NumberLimit)
        failAt(lineNumber, "coordinate " + numberText(value < 0 ? -value : value) + " is beyond ±1,000,000,000");
}

// Reads a rule a file names; the reader of rules says why one is refused.
Rule readRule(std::string_view text, int lineNumber)
{
    Rule rule;
    std::string error;
    if (!Rule::read(text, rule, error))
        failAt(lineNumber, error);
    return rule;
}

// Live cells at arbitrary positions (Life 1.05 and 1.06), kept within a box
// that fits the field from the first cell that would not.
class CellCollector
{
public:
    void add(long long x, long long y, int lineNumber)
    {
        checkCoordinate(x, lineNumber);
        checkCoordinate(y, lineNumber);
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
        if (maxX - minX >= FieldSize || maxY - minY >= FieldSize)
            failTooLarge(lineNumber, maxX - minX + 1, maxY - minY + 1);
        cells.emplace_back(x, y);
    }

    // The bounding box of the cells, shifted to start at 0, 0; each cell once,
    // row by row. With `aroundOrigin`, and if the cells fit the field with
    // position 0, 0 on its centre cell (column and row FieldSize / 2, counted
    // from 0), the box is widened to be centred there instead, so that placing
    // the box in the middle of the field puts each cell where its position says.
    void finish(Pattern &pattern, bool aroundOrigin = false) const
    {
        if (cells.empty())
            return;
        long long left = minX;
        long long top = minY;
        pattern.width = static_cast<int>(maxX - minX + 1);
        pattern.height = static_cast<int>(maxY - minY + 1);
        constexpr long long Half = FieldSize / 2;
        if (aroundOrigin && minX >= -Half && maxX < Half && minY >= -Half && maxY < Half) {
            left = -std::max(-minX, maxX + 1);
            top = -std::max(-minY, maxY + 1);
            pattern.width = static_cast<int>(-2 * left);
            pattern.height = static_cast<int>(-2 * top);
        }
        std::vector<char> alive(static_cast<std::size_t>(pattern.width) * pattern.height, 0);
        for (const auto &[x, y] : cells)
            alive[static_cast<std::size_t>((y - top) * pattern.width + (x - left))] = 1;
        for (int row = 0; row < pattern.height; ++row) {
            for (int column = 0; column < pattern.width; ++column) {
                if (alive[static_cast<std::size_t>(row) * pattern.width + column])
                    pattern.cells.push_back({ row, column });
            }
        }
    }

private:
    std::vector<std::pair<long long, long long>> cells;
    long long minX = NumberLimit * 2;
    long long maxX = -NumberLimit * 2;
    long long minY = NumberLimit * 2;
    long long maxY = -NumberLimit * 2;
};

// Reads "x = W, y = H[, rule = R]" into width, height and the pattern's rule.
void readRleHeader(std::string_view line, int lineNumber, long long &width, long long &height, Pattern &pattern)
{
    std::size_t pos = 0;
    const auto accept = [&](std::string_view word) {
        skipBlanks(line, pos);
        if (!startsWith(line.substr(pos), word))
            return false;
        pos += word.size();
        return true;
    };
    const auto number = [&](long long &value) {
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
    skipBlanks(line, pos);
    if (pos == line.size())
        return;
    if (!accept(",") || !accept("rule") || !accept("="))
        malformed();
    const std::string_view rule = trim(line.substr(pos));
    if (rule.empty())
        malformed();
    pattern.rule = readRule(rule, lineNumber);
}

// RLE items from line index on, up to "!" or the end of the file. Stores the
// live cells and widens the declared box (width x height) where they lie beyond it.
void readRleItems(const std::vector<std::string_view> &lines, std::size_t index, long long &width, long long &height,
    Pattern &pattern)
{
    long long x = 0;
    long long y = 0;
    long long count = 0;
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
                if (count > NumberLimit)
                    failAt(lineNumber, "run count " + numberText(count) + " is too large");
                counted = true;
                continue;
            }
            if (tag == '!' && !counted)
                return;
            const long long run = counted ? count : 1;
            counted = false;
            if (tag == 'b' || tag == '.') {
                x += run;
            } else if (tag == 'o' || tag == 'A') {
                // Checked before any cell is stored, so that a huge run costs nothing.
                if (x + run > FieldSize || y >= FieldSize)
                    failTooLarge(lineNumber, std::max(width, x + run), std::max(height, y + 1));
                for (long long i = 0; i < run; ++i)
                    pattern.cells.push_back({ static_cast<int>(y), static_cast<int>(x + i) });
                x += run;
                width = std::max(width, x);
                height = std::max(height, y + 1);
            } else if (tag == '$') {
                y += run;
                x = 0;
            } else if (tag == '!') {
                failAt(lineNumber, "run count " + std::to_string(run) + " before '!' belongs to no cell");
            } else if (std::isalpha(static_cast<unsigned char>(tag))) {
                failAt(lineNumber, "'" + std::string(1, tag) + "' is a cell state Life-like rules do not have");
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
void readRle(const std::vector<std::string_view> &lines, std::size_t first, Pattern &pattern)
{
    std::size_t index = first;
    for (; index < lines.size(); ++index) {
        const std::string_view line = trim(lines[index]);
        if (startsWith(line, "#N"))
            pattern.name = trim(line.substr(2));
        else if (startsWith(line, "#C") || startsWith(line, "#c"))
            pattern.comments.emplace_back(trim(line.substr(2)));
        else if (startsWith(line, "#r"))
            pattern.rule = readRule(line.substr(2), static_cast<int>(index) + 1);
        else if (!line.empty() && line.front() != '#')
            break;
    }

    long long width = 0;
    long long height = 0;
    readRleHeader(lines[index], static_cast<int>(index) + 1, width, height, pattern);
    if (width > FieldSize || height > FieldSize)
        failTooLarge(static_cast<int>(index) + 1, width, height);
    readRleItems(lines, index + 1, width, height, pattern);
    pattern.width = static_cast<int>(width);
    pattern.height = static_cast<int>(height);
}

// Plaintext: "!" comment lines and rows of '.' (dead) and 'O' or '*' (alive);
// a "!Rule:" comment names the rule, as this program's own files do.
// An empty line among the rows is a dead row; empty lines before the first
// row and after the last are no part of the pattern, such as the blank line
// an editor leaves at the end of a file.
void readPlaintext(const std::vector<std::string_view> &lines, Pattern &pattern)
{
    std::size_t firstRow = lines.size();
    std::size_t lastRow = 0;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        if (!lines[index].empty() && !startsWith(lines[index], "!")) {
            firstRow = std::min(firstRow, index);
            lastRow = index;
        }
    }
    std::size_t width = 0;
    int height = 0;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const std::string_view line = lines[index];
        if (startsWith(line, "!")) {
            if (startsWith(line, "!Name:"))
                pattern.name = trim(line.substr(6));
            else if (startsWith(line, "!Rule:"))
                pattern.rule = readRule(line.substr(6), static_cast<int>(index) + 1);
            else
                pattern.comments.emplace_back(trim(line.substr(1)));
            continue;
        }
        if (index < firstRow || index > lastRow)
            continue;
        for (std::size_t column = 0; column < line.size(); ++column) {
            const char ch = line[column];
            if (ch == 'O' || ch == '*') {
                // Cells past the field are not kept; the size check below refuses them.
                if (height < FieldSize && column < FieldSize)
                    pattern.cells.push_back({ height, static_cast<int>(column) });
            } else if (ch != '.') {
                failAt(static_cast<int>(index) + 1,
                    "column " + std::to_string(columnOf(line, column)) + ": " + describeCharacter(line, column)
                        + " is not a plaintext cell ('.' dead, 'O' or '*' alive)");
            }
        }
        width = std::max(width, line.size());
        ++height;
    }
    if (width > FieldSize || height > FieldSize)
        failTooLarge(0, static_cast<long long>(width), height);
    pattern.width = static_cast<int>(width);
    pattern.height = height;
}

// Life 1.05: "#P x y" starts a block of rows of '.' and '*' at column x, row y;
// "#P" alone, at column 0, row 0.
void readLife105(const std::vector<std::string_view> &lines, std::size_t first, Pattern &pattern)
{
    CellCollector collector;
    long long blockX = 0;
    long long blockY = 0;
    long long row = 0;
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
            pattern.rule = readRule(line.substr(2), lineNumber);
        } else if (startsWith(line, "#C") || startsWith(line, "#D")) {
            pattern.comments.emplace_back(trim(line.substr(2)));
        } else if (!startsWith(line, "#")) {
            for (std::size_t column = 0; column < line.size(); ++column) {
                if (line[column] == '*')
                    collector.add(blockX + static_cast<long long>(column), blockY + row, lineNumber);
                else if (line[column] != '.')
                    failAt(lineNumber,
                        "column " + std::to_string(columnOf(line, column)) + ": " + describeCharacter(line, column)
                            + " is not a Life 1.05 cell ('.' dead, '*' alive)");
            }
            ++row;
        }
    }
    collector.finish(pattern);
}

// Life 1.06: one live cell per line as "x y", 0 0 being the field's centre
// where the cells fit around it.
void readLife106(const std::vector<std::string_view> &lines, std::size_t first, Pattern &pattern)
{
    CellCollector collector;
    for (std::size_t index = first + 1; index < lines.size(); ++index) {
        const std::string_view line = trim(lines[index]);
        const int lineNumber = static_cast<int>(index) + 1;
        if (line.empty() || line.front() == '#')
            continue;
        std::size_t pos = 0;
        long long x = 0;
        long long y = 0;
        bool valid = readInteger(line, pos, x);
        const std::size_t gap = pos;
        skipBlanks(line, pos);
        valid = valid && pos > gap && readInteger(line, pos, y) && pos == line.size();
        if (!valid)
            failAt(lineNumber, "expected a cell as two whole numbers \"<x> <y>\", found " + MessageText::quoted(line));
        collector.add(x, y, lineNumber);
    }
    collector.finish(pattern, true);
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

void readAny(std::string_view bytes, Pattern &pattern)
{
    if (bytes.size() > PatternReader::MaxFileSize)
        fail("the file has " + std::to_string(bytes.size()) + " bytes, more than the "
            + std::to_string(PatternReader::MaxFileSize) + " a pattern file may have");
    if (startsWith(bytes, "\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    checkText(bytes);

    const std::vector<std::string_view> lines = splitLines(bytes);
    const auto firstLine
        = std::find_if(lines.begin(), lines.end(), [](std::string_view line) { return !trim(line).empty(); });
    if (firstLine == lines.end())
        fail(NotAPatternFile);
    const std::size_t first = static_cast<std::size_t>(firstLine - lines.begin());
    const std::string_view line = trim(*firstLine);

    if (line == "#Life 1.05") {
        readLife105(lines, first, pattern);
    } else if (line == "#Life 1.06") {
        readLife106(lines, first, pattern);
    } else if (line.front() == '#') {
        // Metadata lines lead into an RLE header; without one this is no known format.
        const auto header = std::find_if(firstLine, lines.end(), [](std::string_view candidate) {
            const std::string_view trimmed = trim(candidate);
            return !trimmed.empty() && trimmed.front() != '#';
        });
        if (header == lines.end() || !isRleHeader(*header))
            fail(NotAPatternFile);
        readRle(lines, first, pattern);
    } else if (isRleHeader(line)) {
        readRle(lines, first, pattern);
    } else if (line.front() == '!' || isPlaintextRow(line)) {
        readPlaintext(lines, pattern);
    } else {
        fail(NotAPatternFile);
    }
}

} // namespace

bool PatternReader::read(std::string_view bytes, Pattern &pattern, std::string &error)
{
    try {
        Pattern result;
        readAny(bytes, result);
        pattern = std::move(result);
        return true;
    } catch (const FormatError &problem) {
        error = problem.message;
    } catch (const std::bad_alloc &) {
        error = "not enough memory to read the pattern";
    }
    return false;
}
