#include "model/engine/topology.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "model/engine/messagetext.h"
#include "model/engine/universe.h"

namespace
{

std::int64_t floorDiv(std::int64_t value, std::int64_t divisor)
{
    return value / divisor - ((value % divisor != 0 && value < 0) ? 1 : 0);
}

std::int64_t floorMod(std::int64_t value, std::int64_t divisor) { return value - floorDiv(value, divisor) * divisor; }

// A shift kept within -(length - 1) / 2 .. length / 2, the same join.
std::int64_t normalShift(std::int64_t shift, std::int64_t length)
{
    if (length <= 0)
        return shift;
    const std::int64_t reduced = floorMod(shift, length);
    return reduced > length / 2 ? reduced - length : reduced;
}

// One side of a suffix's sizes: "40", "40*", "30+7", "20-3".
struct Side {
    std::int64_t size = 0;
    char mark = 0; // '*', '+', '-' or 0
    std::int64_t shift = 0;
};

bool allDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
}

// A whole number of digits only, saturating far beyond any size a universe may have.
std::int64_t readNumber(std::string_view digits)
{
    constexpr std::int64_t Saturated = std::int64_t(1) << 62;
    std::int64_t value = 0;
    for (const char ch : digits)
        value = value >= Saturated / 10 ? Saturated : value * 10 + (ch - '0');
    return value;
}

std::optional<Side> readSide(std::string_view text)
{
    const std::size_t end = text.find_first_not_of("0123456789");
    Side side;
    if (end == 0)
        return std::nullopt;
    side.size = readNumber(text.substr(0, end));
    if (end == std::string_view::npos)
        return side;
    side.mark = text[end];
    const std::string_view rest = text.substr(end + 1);
    if (side.mark == '*' && rest.empty())
        return side;
    if ((side.mark == '+' || side.mark == '-') && allDigits(rest)) {
        side.shift = side.mark == '-' ? -readNumber(rest) : readNumber(rest);
        return side;
    }
    return std::nullopt;
}

} // namespace

Topology Topology::shiftedTorus(std::int64_t width, std::int64_t height, Edges shifted, std::int64_t shift)
{
    const std::int64_t reduced = normalShift(shift, shifted == Edges::TopBottom ? width : height);
    return Topology(Kind::Torus, width, height, reduced == 0 ? Edges::TopBottom : shifted, reduced);
}

bool Topology::isValid() const
{
    switch (shape) {
    case Kind::Classic:
        return columns == ClassicSize && rows == ClassicSize;
    case Kind::Unbounded:
        return columns == 0 && rows == 0;
    case Kind::Sphere:
        if (columns != rows)
            return false;
        break;
    case Kind::Plane:
    case Kind::Torus:
        if (isStrip())
            return offset == 0 && across() >= 1 && across() <= MaxStripSide;
        break;
    case Kind::KleinBottle:
    case Kind::CrossSurface:
        break;
    }
    // Divided rather than multiplied, so that no size can overflow.
    return columns >= 1 && rows >= 1 && columns <= MaxBoundedCells && rows <= MaxBoundedCells / columns
        && offset == normalShift(offset, pair == Edges::TopBottom ? columns : rows);
}

CellPoint Topology::centre() const
{
    if (shape == Kind::Unbounded)
        return CellPoint {};
    return CellPoint { columns / 2, rows / 2 };
}

std::string Topology::extentText() const
{
    if (isStrip())
        return std::string(shape == Kind::Plane ? "the strip's " : "the tube's ") + std::to_string(across())
            + " cells across";
    const std::string size = std::to_string(columns) + " x " + std::to_string(rows) + " cells";
    switch (shape) {
    case Kind::Classic:
        return "the field's " + size;
    case Kind::Plane:
        return "the plane's " + size;
    case Kind::Torus:
        return "the torus's " + size;
    case Kind::KleinBottle:
        return "the Klein bottle's " + size;
    case Kind::CrossSurface:
        return "the cross-surface's " + size;
    case Kind::Sphere:
        return "the sphere's " + size;
    case Kind::Unbounded:
        break;
    }
    return "the unbounded plane, " + std::to_string(Universe::CoordinateLimit) + " cells from the origin each way";
}

std::optional<CellPoint> Topology::wrap(std::int64_t x, std::int64_t y) const
{
    const auto inside = [this](std::int64_t column, std::int64_t row) {
        return column >= 0 && row >= 0 && column < columns && row < rows;
    };
    if (isStrip()) {
        std::int64_t &side = columns == 0 ? y : x;
        if (shape == Kind::Torus)
            side = floorMod(side, across());
        else if (side < 0 || side >= across())
            return std::nullopt;
        return CellPoint { x, y };
    }
    switch (shape) {
    case Kind::Classic:
    case Kind::Plane:
        return inside(x, y) ? std::optional<CellPoint>(CellPoint { x, y }) : std::nullopt;
    case Kind::Unbounded:
        return CellPoint { x, y };
    case Kind::Torus:
        if (pair == Edges::TopBottom) {
            // Each time round from bottom to top moves `offset` to the right.
            const std::int64_t turns = floorDiv(y, rows);
            return CellPoint { floorMod(x + floorMod(turns, columns) * offset, columns), y - turns * rows };
        } else {
            const std::int64_t turns = floorDiv(x, columns);
            return CellPoint { x - turns * columns, floorMod(y + floorMod(turns, rows) * offset, rows) };
        }
    case Kind::KleinBottle:
        if (pair == Edges::TopBottom) {
            const std::int64_t turns = floorDiv(y, rows);
            const std::int64_t column = turns % 2 != 0 ? columns - 1 - floorMod(x, columns) : floorMod(x, columns);
            return CellPoint { column, y - turns * rows };
        } else {
            const std::int64_t turns = floorDiv(x, columns);
            const std::int64_t row = turns % 2 != 0 ? rows - 1 - floorMod(y, rows) : floorMod(y, rows);
            return CellPoint { x - turns * columns, row };
        }
    case Kind::CrossSurface:
        // Crossing the top or bottom edge mirrors the column, crossing a side the row; each keeps the other inside.
        if (y < 0 || y >= rows) {
            const std::int64_t turns = floorDiv(y, rows);
            x = turns % 2 != 0 ? columns - 1 - x : x;
            y -= turns * rows;
        }
        if (x < 0 || x >= columns) {
            const std::int64_t turns = floorDiv(x, columns);
            y = turns % 2 != 0 ? rows - 1 - y : y;
            x -= turns * columns;
        }
        return CellPoint { x, y };
    case Kind::Sphere:
        // Each edge is turned a quarter about the corner it shares with its partner; past a corner two turns
        // may be needed.
        for (int turn = 0; turn < 4 && !inside(x, y); ++turn) {
            const std::int64_t oldX = x;
            if (y < 0) {
                x = -y - 1;
                y = oldX;
            } else if (y >= rows) {
                x = 2 * rows - y - 1;
                y = oldX;
            } else if (x < 0) {
                x = y;
                y = -oldX - 1;
            } else {
                x = y;
                y = 2 * columns - oldX - 1;
            }
        }
        return CellPoint { x, y };
    }
    return std::nullopt;
}

std::string Topology::suffix() const
{
    const std::string sizes = std::to_string(columns) + "," + std::to_string(rows);
    const auto marked = [this](const char *mark) {
        return pair == Edges::TopBottom ? std::to_string(columns) + mark + "," + std::to_string(rows)
                                        : std::to_string(columns) + "," + std::to_string(rows) + mark;
    };
    switch (shape) {
    case Kind::Classic:
    case Kind::Unbounded:
        break;
    case Kind::Plane:
        return ":P" + sizes;
    case Kind::Torus:
        if (offset == 0)
            return ":T" + sizes;
        return ":T" + marked(((offset > 0 ? "+" : "-") + std::to_string(offset > 0 ? offset : -offset)).c_str());
    case Kind::KleinBottle:
        return ":K" + marked("*");
    case Kind::CrossSurface:
        return ":C" + sizes;
    case Kind::Sphere:
        return ":S" + std::to_string(columns);
    }
    return std::string();
}

std::optional<Topology> Topology::readSuffix(std::string_view suffix, std::string &error)
{
    std::string text;
    for (const char ch : suffix) {
        if (ch != ' ' && ch != '\t' && ch != '\r' && ch != '\n')
            text += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    }
    const std::size_t first = suffix.find_first_not_of(" \t\r\n");
    const std::size_t last = suffix.find_last_not_of(" \t\r\n");
    const std::string refused = "the suffix "
        + MessageText::quoted(":"
            + std::string(
                first == std::string_view::npos ? std::string_view() : suffix.substr(first, last - first + 1)));
    const std::string expected = "; expected :P<width>,<height> (a bounded plane), :T<width>,<height> (a torus, "
                                 "+<shift> or -<shift> after one size shifts those edges), :K<width>*,<height> or "
                                 ":K<width>,<height>* (a Klein bottle twisting the starred size's edges), "
                                 ":C<width>,<height> (a cross-surface) or :S<side> (a sphere)";
    const auto refuse = [&error](std::string message) {
        error = std::move(message);
        return std::nullopt;
    };
    if (text.empty())
        return refuse(refused + " names no universe" + expected);
    const char kind = text.front();
    if (std::string_view("ptkcs").find(kind) == std::string_view::npos)
        return refuse(refused + " is no universe this program knows" + expected);
    const std::string_view sizes = std::string_view(text).substr(1);
    const std::size_t comma = sizes.find(',');
    if ((!sizes.empty() && sizes.front() == '-')
        || (comma != std::string_view::npos && sizes.substr(comma + 1, 1) == "-"))
        return refuse(refused + " has a negative size, which no universe has" + expected);

    Side across;
    Side down;
    const std::optional<Side> one = readSide(sizes.substr(0, comma));
    const std::optional<Side> other = comma == std::string_view::npos ? one : readSide(sizes.substr(comma + 1));
    if (!one || !other || (comma == std::string_view::npos && kind != 's'))
        return refuse(refused + " is malformed" + expected);
    across = *one;
    down = *other;
    if (across.size == 0 && down.size == 0)
        return refuse(refused + " has no size at all; the unbounded plane has no suffix");
    if ((across.size == 0 || down.size == 0) && (across.mark != 0 || down.mark != 0 || (kind != 'p' && kind != 't')))
        return refuse(refused
            + " has a size of 0, an endless strip, which is a plane or a torus without a shift: :P0,<height>, "
              ":P<width>,0, :T0,<height> or :T<width>,0");
    if ((across.size == 0 || down.size == 0) && std::max(across.size, down.size) > MaxStripSide)
        return refuse(
            refused + " is wider than the " + std::to_string(MaxStripSide) + " cells a strip may have across");
    const bool marked = across.mark != 0 || down.mark != 0;
    const bool twisted = across.mark == '*' || down.mark == '*';
    std::optional<Topology> topology;
    switch (kind) {
    case 'p':
        if (marked)
            return refuse(refused + ": a plane's edges do not join, so they are neither shifted nor twisted");
        topology = plane(across.size, down.size);
        break;
    case 't':
        if (twisted)
            return refuse(refused + ": a torus's edges join without a twist; twisted edges make a Klein bottle, :K");
        if (across.mark != 0 && down.mark != 0)
            return refuse(refused + ": a torus may shift one pair of edges, not both");
        topology = across.mark != 0 ? shiftedTorus(across.size, down.size, Edges::TopBottom, across.shift)
                                    : shiftedTorus(across.size, down.size, Edges::LeftRight, down.shift);
        break;
    case 'k':
        if (!((across.mark == '*' && down.mark == 0) || (across.mark == 0 && down.mark == '*')))
            return refuse(refused
                + ": a Klein bottle twists one pair of edges, marked by a * after one size, and "
                  "shifts none"
                + expected);
        topology = kleinBottle(across.size, down.size, across.mark == '*' ? Edges::TopBottom : Edges::LeftRight);
        break;
    case 'c':
        if (marked)
            return refuse(refused + ": a cross-surface twists both pairs of edges and shifts none" + expected);
        topology = crossSurface(across.size, down.size);
        break;
    default:
        if (marked)
            return refuse(refused + ": a sphere's edges are neither shifted nor twisted" + expected);
        if (across.size != down.size)
            return refuse(refused + ": a sphere is square, its width equal to its height");
        topology = sphere(across.size);
        break;
    }
    if (!topology->isValid())
        return refuse(
            refused + " is larger than the " + std::to_string(MaxBoundedCells) + " cells a bounded universe may have");
    return topology;
}
