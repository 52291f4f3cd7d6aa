#include "model/files/patternwriter.h"

#include <algorithm>
#include <cstddef>

namespace
{

constexpr int FieldSize = GameField::FieldSize;
// Other programs read RLE lines of this length at most.
constexpr std::size_t RleLineLength = 70;

// Appends one run-length item, starting a new line first if the item would
// not fit on the current one; lineStart is where the current line begins.
void appendItem(std::string &text, std::size_t &lineStart, int count, char tag)
{
    std::string item = count > 1 ? std::to_string(count) : std::string();
    item += tag;
    if (text.size() - lineStart + item.size() > RleLineLength) {
        text += '\n';
        lineStart = text.size();
    }
    text += item;
}

// Appends the cells of rows top..bottom, columns left..right (all 1..FieldSize)
// and the closing '!'. Row ends are held back until a row with live cells
// follows, so that runs of empty rows merge into one item and trailing ones
// are left out; so are each row's trailing dead cells.
void appendRleCells(std::string &text, GameField::Cell *const *cells, int top, int bottom, int left, int right)
{
    std::size_t lineStart = text.size();
    int pendingRowEnds = 0;
    for (int r = top; r <= bottom; ++r) {
        const GameField::Cell *row = cells[r];
        int last = right;
        while (last >= left && row[last] != 1)
            --last;
        if (last >= left) {
            if (pendingRowEnds > 0)
                appendItem(text, lineStart, pendingRowEnds, '$');
            pendingRowEnds = 0;
            for (int c = left; c <= last;) {
                const bool alive = row[c] == 1;
                const int start = c;
                while (c <= last && (row[c] == 1) == alive)
                    ++c;
                appendItem(text, lineStart, c - start, alive ? 'o' : 'b');
            }
        }
        ++pendingRowEnds;
    }
    appendItem(text, lineStart, 1, '!');
    text += '\n';
}

std::string rleHeader(int width, int height, const Rule &rule)
{
    return "x = " + std::to_string(width) + ", y = " + std::to_string(height) + ", rule = " + rule.toString() + "\n";
}

// Text from a file for one line of another: control characters as spaces.
std::string oneLine(const std::string &text)
{
    std::string line = text;
    for (char &ch : line) {
        if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F)
            ch = ' ';
    }
    return line;
}

// "Generation 12", as writeRle() marks the generation a file was saved at.
bool isGenerationComment(const std::string &comment)
{
    const std::string prefix = "Generation ";
    return comment.size() > prefix.size() && comment.compare(0, prefix.size(), prefix) == 0
        && comment.find_first_not_of("0123456789", prefix.size()) == std::string::npos;
}

} // namespace

std::string PatternWriter::writeRle(GameField::Cell *const *cells, int generation, const Rule &rule,
    const std::string &name, const std::vector<std::string> &comments)
{
    std::string text;
    if (!name.empty())
        text += "#N " + oneLine(name) + "\n";
    for (const std::string &comment : comments) {
        if (!isGenerationComment(comment))
            text += (comment.empty() ? "#C" : "#C " + oneLine(comment)) + "\n";
    }
    text += "#C Generation " + std::to_string(generation) + "\n" + rleHeader(FieldSize, FieldSize, rule);
    appendRleCells(text, cells, 1, FieldSize, 1, FieldSize);
    return text;
}

std::string PatternWriter::writeRleBox(GameField::Cell *const *cells, const Rule &rule)
{
    int top = FieldSize + 1;
    int bottom = 0;
    int left = FieldSize + 1;
    int right = 0;
    for (int r = 1; r <= FieldSize; ++r) {
        for (int c = 1; c <= FieldSize; ++c) {
            if (cells[r][c] != 1)
                continue;
            top = std::min(top, r);
            bottom = std::max(bottom, r);
            left = std::min(left, c);
            right = std::max(right, c);
        }
    }
    if (bottom == 0)
        return rleHeader(0, 0, rule) + "!\n";
    std::string text = rleHeader(right - left + 1, bottom - top + 1, rule);
    appendRleCells(text, cells, top, bottom, left, right);
    return text;
}

std::string PatternWriter::writePlaintext(
    GameField::Cell *const *cells, const std::string &name, const Rule &rule, const std::vector<std::string> &comments)
{
    std::string text = "!Name: " + oneLine(name) + "\n";
    if (rule != Rule())
        text += "!Rule: " + rule.toString() + "\n";
    // After a space, so that a comment such as "Rule: by hand" is not read back as the rule.
    for (const std::string &comment : comments)
        text += (comment.empty() ? "!" : "! " + oneLine(comment)) + "\n";
    text.reserve(text.size() + static_cast<std::size_t>(FieldSize) * (FieldSize + 1));
    for (int r = 1; r <= FieldSize; ++r) {
        for (int c = 1; c <= FieldSize; ++c)
            text += cells[r][c] == 1 ? 'O' : '.';
        text += '\n';
    }
    return text;
}

std::string PatternWriter::writeLife106(GameField::Cell *const *cells)
{
    constexpr int Centre = FieldSize / 2 + 1;
    std::string text = "#Life 1.06\n";
    for (int r = 1; r <= FieldSize; ++r) {
        for (int c = 1; c <= FieldSize; ++c) {
            if (cells[r][c] == 1)
                text += std::to_string(c - Centre) + ' ' + std::to_string(r - Centre) + '\n';
        }
    }
    return text;
}
