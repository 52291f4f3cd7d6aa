#include "model/files/patternwriter.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <utility>

#include "model/engine/unboundeduniverse.h"
#include "model/files/macrocell.h"

namespace
{

// Other programs read RLE lines of this length at most.
constexpr std::size_t RleLineLength = 70;
constexpr int FieldSize = GameField::FieldSize;

// A cell not dead, with its state (1..255).
using Visit = std::function<void(std::int64_t x, std::int64_t y, std::uint8_t state)>;

// What the writers need of a universe, so that a snapshot buffer of the
// classic field is written by the same code as any Universe.
struct Source {
    Topology topology;
    Rule rule;
    std::optional<CellRect> box; // around every live cell; none when all are dead
    std::function<std::uint64_t()> population;
    // Visits the cells not dead of an area row by row from the top, each row from the left.
    std::function<void(const CellRect &area, const Visit &visit)> forEach;
};

Source sourceOf(const Universe &universe)
{
    return Source { universe.topology(), universe.rule(), universe.boundingBox(),
        [&universe] { return universe.population(); },
        [&universe](const CellRect &area, const Visit &visit) { universe.forEachCell(area, visit); } };
}

// The interior of a snapshot buffer; x, y = 0..FieldSize-1 are its columns and rows 1..FieldSize.
Source sourceOf(GameField::Cell *const *cells, const Rule &rule)
{
    const auto forEach = [cells](const CellRect &area, const Visit &visit) {
        for (std::int64_t y = std::max<std::int64_t>(area.top, 0);
             y <= std::min<std::int64_t>(area.bottom, FieldSize - 1); ++y) {
            for (std::int64_t x = std::max<std::int64_t>(area.left, 0);
                 x <= std::min<std::int64_t>(area.right, FieldSize - 1); ++x) {
                if (cells[y + 1][x + 1] == 1)
                    visit(x, y, 1);
            }
        }
    };
    std::optional<CellRect> box;
    std::uint64_t population = 0;
    forEach(CellRect { 0, 0, FieldSize - 1, FieldSize - 1 }, [&](std::int64_t x, std::int64_t y, std::uint8_t) {
        ++population;
        if (!box)
            box = CellRect { x, y, x, y };
        box->left = std::min(box->left, x);
        box->right = std::max(box->right, x);
        box->bottom = y;
    });
    return Source { Topology::classic(), rule, box, [population] { return population; }, forEach };
}

// Appends one run-length item, starting a new line first if the item would
// not fit on the current one; lineStart is where the current line begins.
void appendItem(std::string &text, std::size_t &lineStart, std::int64_t count, const std::string &tag)
{
    std::string item = count > 1 ? std::to_string(count) : std::string();
    item += tag;
    if (text.size() - lineStart + item.size() > RleLineLength) {
        text += '\n';
        lineStart = text.size();
    }
    text += item;
}

// Appends the cells of `box` and the closing '!'. Row ends are held back
// until a row with live cells follows, so that runs of empty rows merge into
// one item and trailing ones are left out; so are each row's trailing dead cells.
// The letters of a state under a rule of more than two states: '.' dead,
// 'A'..'X' 1..24, then 'pA'..'pX' 25..48 and so on to 'yO' for 255.
std::string stateTag(std::uint8_t state)
{
    if (state == 0)
        return ".";
    if (state <= 24)
        return std::string(1, static_cast<char>('A' + state - 1));
    return { static_cast<char>('p' + (state - 25) / 24), static_cast<char>('A' + (state - 25) % 24) };
}

void appendRleCells(std::string &text, const Source &source, const CellRect &box)
{
    const bool twoStates = source.rule.stateCount() == 2;
    const std::string dead = twoStates ? "b" : ".";
    std::size_t lineStart = text.size();
    std::int64_t row = box.top; // where the next item starts
    std::int64_t column = box.left;
    // The run not yet written: cells runStart..runEnd of row runRow, all in runState.
    std::int64_t runRow = 0;
    std::int64_t runStart = 0;
    std::int64_t runEnd = -1;
    std::uint8_t runState = 1;
    bool pending = false;
    const auto writeRun = [&] {
        if (runRow > row) {
            appendItem(text, lineStart, runRow - row, "$");
            row = runRow;
            column = box.left;
        }
        if (runStart > column)
            appendItem(text, lineStart, runStart - column, dead);
        appendItem(text, lineStart, runEnd - runStart + 1, twoStates ? std::string("o") : stateTag(runState));
        column = runEnd + 1;
    };
    source.forEach(box, [&](std::int64_t x, std::int64_t y, std::uint8_t state) {
        if (pending && y == runRow && x == runEnd + 1 && state == runState) {
            runEnd = x;
            return;
        }
        if (pending)
            writeRun();
        pending = true;
        runRow = y;
        runStart = runEnd = x;
        runState = state;
    });
    if (pending)
        writeRun();
    appendItem(text, lineStart, 1, "!");
    text += '\n';
}

std::string rleHeader(std::int64_t width, std::int64_t height, const std::string &rule)
{
    return "x = " + std::to_string(width) + ", y = " + std::to_string(height) + ", rule = " + rule + "\n";
}

std::string rleBox(const Source &source)
{
    const std::string rule = source.rule.toString(source.topology);
    if (!source.box)
        return rleHeader(0, 0, rule) + "!\n";
    const CellRect &box = *source.box;
    std::string text = rleHeader(box.right - box.left + 1, box.bottom - box.top + 1, rule);
    appendRleCells(text, source, box);
    return text;
}

// "<x>,<y>": where the box's top-left cell is, counted from the universe's centre.
std::string positionText(const Source &source)
{
    const CellPoint centre = source.topology.centre();
    return std::to_string(source.box->left - centre.x) + "," + std::to_string(source.box->top - centre.y);
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

std::string rle(const Source &source, std::int64_t generation, const std::string &name,
    const std::vector<std::string> &comments, const std::string &author)
{
    std::string text;
    if (!name.empty())
        text += "#N " + oneLine(name) + "\n";
    if (!author.empty())
        text += "#O " + oneLine(author) + "\n";
    for (const std::string &comment : comments) {
        if (!isGenerationComment(comment))
            text += (comment.empty() ? "#C" : "#C " + oneLine(comment)) + "\n";
    }
    text += "#C Generation " + std::to_string(generation) + "\n";
    std::string extended;
    if (source.box)
        extended += " Pos=" + positionText(source);
    // Counted from 0 for the pattern as first drawn, where this program counts from 1.
    if (generation > 1)
        extended += " Gen=" + std::to_string(generation - 1);
    if (!extended.empty())
        text += "#CXRLE" + extended + "\n";
    return text + rleBox(source);
}

// Why plaintext and Life 1.06 cannot take the cells, or an empty string.
std::string tooLargeToList(const Source &source, const char *format)
{
    if (source.rule.stateCount() > 2)
        return std::string(format) + " holds two states only, and the rule " + source.rule.toString() + " has "
            + std::to_string(source.rule.stateCount()) + ": save as .rle";
    if (!source.box)
        return std::string();
    std::uint64_t population = 0;
    try {
        population = source.population();
    } catch (const UniverseError &error) {
        return error.what();
    }
    const std::uint64_t width = static_cast<std::uint64_t>(source.box->right - source.box->left) + 1;
    const std::uint64_t height = static_cast<std::uint64_t>(source.box->bottom - source.box->top) + 1;
    if (population > PatternWriter::MaxListedCells)
        return std::string(format) + " lists cells one by one, and " + std::to_string(population)
            + " live cells are more than the " + std::to_string(PatternWriter::MaxListedCells)
            + " it takes: save as .rle or .mc";
    if (width > PatternWriter::MaxListedBox / height)
        return std::string(format) + " lists cells one by one, and a box of " + std::to_string(width) + " x "
            + std::to_string(height) + " cells is more than the " + std::to_string(PatternWriter::MaxListedBox)
            + " it takes: save as .rle or .mc";
    return std::string();
}

std::string plaintext(const Source &source, const std::string &name, const std::vector<std::string> &comments)
{
    std::string text = "!Name: " + oneLine(name) + "\n";
    const std::string rule = source.rule.toString(source.topology);
    if (rule != Rule().toString())
        text += "!Rule: " + rule + "\n";
    // After a space, so that a comment such as "Rule: by hand" is not read back as the rule.
    for (const std::string &comment : comments)
        text += (comment.empty() ? "!" : "! " + oneLine(comment)) + "\n";
    if (!source.box)
        return text;
    const CellRect &box = *source.box;
    text += "!Position: " + positionText(source) + "\n";
    const std::size_t width = static_cast<std::size_t>(box.right - box.left + 1);
    text.reserve(text.size() + static_cast<std::size_t>(box.bottom - box.top + 1) * (width + 1));
    std::string row(width, '.');
    std::int64_t y = box.top;
    const auto finishRowsBefore = [&](std::int64_t next) {
        for (; y < next; ++y) {
            text += row;
            text += '\n';
            row.assign(width, '.');
        }
    };
    source.forEach(box, [&](std::int64_t x, std::int64_t cellY, std::uint8_t) {
        finishRowsBefore(cellY);
        row[static_cast<std::size_t>(x - box.left)] = 'O';
    });
    finishRowsBefore(box.bottom + 1);
    return text;
}

std::string life106(const Source &source)
{
    std::string text = "#Life 1.06\n";
    if (!source.box)
        return text;
    const CellPoint centre = source.topology.centre();
    source.forEach(*source.box, [&](std::int64_t x, std::int64_t y, std::uint8_t) {
        text += std::to_string(x - centre.x);
        text += ' ';
        text += std::to_string(y - centre.y);
        text += '\n';
    });
    return text;
}

} // namespace

std::string PatternWriter::writeRle(const Universe &universe, std::int64_t generation, const std::string &name,
    const std::vector<std::string> &comments, const std::string &author)
{
    return rle(sourceOf(universe), generation, name, comments, author);
}

std::string PatternWriter::writeRleBox(const Universe &universe) { return rleBox(sourceOf(universe)); }

bool PatternWriter::writePlaintext(const Universe &universe, const std::string &name,
    const std::vector<std::string> &comments, std::string &text, std::string &error)
{
    const Source source = sourceOf(universe);
    error = tooLargeToList(source, "plaintext");
    if (!error.empty())
        return false;
    text = plaintext(source, name, comments);
    return true;
}

bool PatternWriter::writeLife106(const Universe &universe, std::string &text, std::string &error)
{
    const Source source = sourceOf(universe);
    error = tooLargeToList(source, "Life 1.06");
    if (!error.empty())
        return false;
    text = life106(source);
    return true;
}

std::string PatternWriter::writeMacrocell(const Universe &universe, std::int64_t generation, const std::string &name,
    const std::vector<std::string> &comments)
{
    const Rule &rule = universe.rule();
    if (rule.stateCount() > 2) {
        const auto *const unbounded = dynamic_cast<const UnboundedUniverse *>(&universe);
        if (unbounded && unbounded->stateCells())
            return Macrocell::write(*unbounded->stateCells(), rule, generation - 1, name, comments);
        // A rule of as many states that StateHashLife takes holds them; only `rule` is written.
        Rule holder;
        std::string unused;
        Rule::read("B/S/C" + std::to_string(rule.stateCount()), holder, unused);
        StateHashLife states(holder);
        if (const std::optional<CellRect> box = universe.boundingBox()) {
            const CellPoint centre = universe.topology().centre();
            std::vector<StateHashLife::StatedCell> moved;
            universe.forEachCell(*box, [&](std::int64_t x, std::int64_t y, std::uint8_t state) {
                moved.push_back({ x - centre.x, y - centre.y, state });
            });
            states.setStates(std::move(moved));
        }
        return Macrocell::write(states, rule, generation - 1, name, comments, universe.topology());
    }
    HashLife cells;
    if (const auto *unbounded = dynamic_cast<const UnboundedUniverse *>(&universe)) {
        cells = unbounded->quadtree();
    } else if (const std::optional<CellRect> box = universe.boundingBox()) {
        const CellPoint centre = universe.topology().centre();
        std::vector<CellPoint> moved;
        universe.forEachLiveCell(*box, [&](std::int64_t x, std::int64_t y) {
            moved.push_back({ x - centre.x, y - centre.y });
        });
        cells.setCells(std::move(moved));
    }
    return Macrocell::write(cells, universe.rule(), generation - 1, name, comments, universe.topology());
}

bool PatternWriter::writeMacrocell(const Universe &universe, std::int64_t generation, const std::string &name,
    const std::vector<std::string> &comments, std::string &text, std::string &error)
{
    try {
        text = writeMacrocell(universe, generation, name, comments);
    } catch (const UniverseError &failure) {
        error = failure.what();
        return false;
    }
    return true;
}

std::string PatternWriter::writeRle(GameField::Cell *const *cells, int generation, const Rule &rule,
    const std::string &name, const std::vector<std::string> &comments, const std::string &author)
{
    return rle(sourceOf(cells, rule), generation, name, comments, author);
}

std::string PatternWriter::writeRleBox(GameField::Cell *const *cells, const Rule &rule)
{
    return rleBox(sourceOf(cells, rule));
}

std::string PatternWriter::writePlaintext(
    GameField::Cell *const *cells, const std::string &name, const Rule &rule, const std::vector<std::string> &comments)
{
    return plaintext(sourceOf(cells, rule), name, comments);
}

std::string PatternWriter::writeLife106(GameField::Cell *const *cells) { return life106(sourceOf(cells, Rule())); }
