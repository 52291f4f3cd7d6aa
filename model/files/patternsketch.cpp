#include "model/files/patternsketch.h"

#include <algorithm>
#include <cctype>
#include <new>
#include <string>

#include "model/engine/topology.h"
#include "model/files/gzip.h"
#include "model/files/linetext.h"

namespace
{

using LineText::isDigit;
using LineText::trim;

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// Coordinates beyond which a file's cells are not drawn: far enough for any
// readable pattern, near enough that no box overflows.
constexpr std::int64_t Far = std::int64_t(1) << 60;

// The live cells read so far, at most PatternSketch::MaxCells.
class Cells
{
public:
    void add(std::int64_t x, std::int64_t y, std::int64_t run = 1)
    {
        for (std::int64_t i = 0; i < run && points.size() < PatternSketch::MaxCells; ++i) {
            if (x + i > -Far && x + i < Far && y > -Far && y < Far)
                points.push_back({ x + i, y });
        }
    }
    bool full() const { return points.size() >= PatternSketch::MaxCells; }

    std::vector<CellPoint> points;
};

// A whole number at `pos`, moved past; false without digits or past Far.
bool readNumber(std::string_view text, std::size_t &pos, std::int64_t &value)
{
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+'))
        negative = text[pos++] == '-';
    const std::size_t start = pos;
    value = 0;
    while (pos < text.size() && isDigit(text[pos])) {
        const int digit = text[pos++] - '0';
        if (value > (Far - 1 - digit) / 10)
            return false;
        value = value * 10 + digit;
    }
    value = negative ? -value : value;
    return pos > start;
}

void readRle(const std::vector<std::string_view> &lines, std::size_t body, Cells &cells)
{
    std::int64_t x = 0;
    std::int64_t y = 0;
    for (std::size_t index = body; index < lines.size() && !cells.full(); ++index) {
        const std::string_view line = lines[index];
        std::size_t pos = 0;
        while (pos < line.size()) {
            std::int64_t run = 1;
            if (isDigit(line[pos]) && !readNumber(line, pos, run))
                return;
            if (pos >= line.size())
                break;
            const char tag = line[pos++];
            if (tag == '!')
                return;
            if (tag == '$') {
                y += run;
                x = 0;
            } else if (tag == 'b' || tag == '.') {
                x += run;
            } else if (std::isalpha(static_cast<unsigned char>(tag))) {
                cells.add(x, y, run);
                x += run;
            }
            if (x >= Far || y >= Far)
                return;
        }
    }
}

void readLife105(const std::vector<std::string_view> &lines, Cells &cells)
{
    std::int64_t left = 0;
    std::int64_t row = 0;
    for (const std::string_view raw : lines) {
        const std::string_view line = trim(raw);
        if (startsWith(line, "#P")) {
            std::size_t pos = 2;
            std::int64_t top = 0;
            while (pos < line.size() && LineText::isBlank(line[pos]))
                ++pos;
            readNumber(line, pos, left);
            while (pos < line.size() && LineText::isBlank(line[pos]))
                ++pos;
            readNumber(line, pos, top);
            row = top;
        } else if (!startsWith(line, "#")) {
            for (std::size_t column = 0; column < line.size(); ++column) {
                if (line[column] == '*')
                    cells.add(left + static_cast<std::int64_t>(column), row);
            }
            ++row;
        }
    }
}

void readLife106(const std::vector<std::string_view> &lines, Cells &cells)
{
    for (const std::string_view raw : lines) {
        const std::string_view line = trim(raw);
        std::size_t pos = 0;
        std::int64_t x = 0;
        std::int64_t y = 0;
        if (line.empty() || line.front() == '#' || !readNumber(line, pos, x))
            continue;
        while (pos < line.size() && LineText::isBlank(line[pos]))
            ++pos;
        if (readNumber(line, pos, y))
            cells.add(x, y);
    }
}

void readPlaintext(const std::vector<std::string_view> &lines, Cells &cells)
{
    std::int64_t row = 0;
    for (const std::string_view line : lines) {
        if (startsWith(line, "!"))
            continue;
        for (std::size_t column = 0; column < line.size(); ++column) {
            if (line[column] == 'O' || line[column] == '*')
                cells.add(static_cast<std::int64_t>(column), row);
        }
        ++row;
    }
}

bool readCells(std::string_view bytes, Cells &cells)
{
    if (bytes.size() > PatternSketch::MaxFileSize)
        return false;
    std::string inflated;
    if (Gzip::isCompressed(bytes)) {
        std::string error;
        if (!Gzip::inflate(bytes, inflated, error, PatternSketch::MaxFileSize))
            return false;
        bytes = inflated;
    }
    if (startsWith(bytes, "\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    if (startsWith(bytes, "[M2]"))
        return false;
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
        lines.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    const auto first
        = std::find_if(lines.begin(), lines.end(), [](std::string_view line) { return !trim(line).empty(); });
    if (first == lines.end())
        return false;
    if (trim(*first) == "#Life 1.05") {
        readLife105(lines, cells);
    } else if (trim(*first) == "#Life 1.06") {
        readLife106(lines, cells);
    } else {
        const auto header = std::find_if(first, lines.end(), [](std::string_view line) {
            const std::string_view text = trim(line);
            return !text.empty() && text.front() != '#';
        });
        if (header != lines.end() && startsWith(trim(*header), "x") && header->find('=') != std::string_view::npos)
            readRle(lines, static_cast<std::size_t>(header - lines.begin()) + 1, cells);
        else if (trim(*first).front() != '#')
            readPlaintext(lines, cells);
    }
    return !cells.points.empty();
}

} // namespace

bool PatternSketch::draw(std::string_view bytes, int side, PatternSketch &sketch)
{
    sketch = PatternSketch();
    if (side < 1 || side > MaxSide)
        return false;
    try {
        Cells cells;
        if (!readCells(bytes, cells))
            return false;
        CellPoint low = cells.points.front();
        CellPoint high = low;
        for (const CellPoint &cell : cells.points) {
            low = { std::min(low.x, cell.x), std::min(low.y, cell.y) };
            high = { std::max(high.x, cell.x), std::max(high.y, cell.y) };
        }
        // Within +-Far each way, so that these cannot overflow.
        const std::uint64_t columns = static_cast<std::uint64_t>(high.x - low.x) + 1;
        const std::uint64_t rows = static_cast<std::uint64_t>(high.y - low.y) + 1;
        const std::uint64_t longer = std::max(columns, rows);
        const auto pixelsPerSide = static_cast<std::uint64_t>(side);
        // Pixels per cell when cells are large, else cells per pixel.
        const std::uint64_t zoom = longer <= pixelsPerSide ? pixelsPerSide / longer : 1;
        const std::uint64_t squeeze = longer <= pixelsPerSide ? 1 : (longer + pixelsPerSide - 1) / pixelsPerSide;
        sketch.width = static_cast<int>((columns + squeeze - 1) / squeeze * zoom);
        sketch.height = static_cast<int>((rows + squeeze - 1) / squeeze * zoom);
        sketch.pixels.assign(static_cast<std::size_t>(sketch.width) * static_cast<std::size_t>(sketch.height), 0);
        for (const CellPoint &cell : cells.points) {
            const auto x = static_cast<std::size_t>(static_cast<std::uint64_t>(cell.x - low.x) / squeeze * zoom);
            const auto y = static_cast<std::size_t>(static_cast<std::uint64_t>(cell.y - low.y) / squeeze * zoom);
            for (std::uint64_t dy = 0; dy < zoom; ++dy)
                std::fill_n(sketch.pixels.begin()
                        + static_cast<std::ptrdiff_t>((y + dy) * static_cast<std::size_t>(sketch.width) + x),
                    zoom, std::uint8_t(1));
        }
        return true;
    } catch (const std::bad_alloc &) {
        sketch = PatternSketch();
        return false;
    }
}
