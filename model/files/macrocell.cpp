#include "model/files/macrocell.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "model/engine/backgrounduniverse.h"
#include "model/engine/messagetext.h"
#include "model/engine/nodestore.h"
#include "model/files/linetext.h"

namespace
{

// Thrown by the reader's helpers and turned into the error message by read().
struct FormatError {
    std::string message;
};

[[noreturn]] void failAt(std::size_t lineNumber, const std::string &message)
{
    throw FormatError { "line " + std::to_string(lineNumber) + ": " + message };
}

using LineText::isBlank;
using LineText::isDigit;
using LineText::trim;

// Whether `text` is UTF-8 without control characters other than tabs.
bool isText(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            if ((lead < 0x20 && lead != '\t') || lead == 0x7F)
                return false;
            ++i;
            continue;
        }
        const std::size_t length = lead >= 0xC2 && lead <= 0xDF ? 2
            : lead >= 0xE0 && lead <= 0xEF                      ? 3
            : lead >= 0xF0 && lead <= 0xF4                      ? 4
                                                                : 0;
        if (length == 0 || text.size() - i < length)
            return false;
        const unsigned char second = static_cast<unsigned char>(text[i + 1]);
        const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
        if (second < low || second > high)
            return false;
        for (std::size_t k = 2; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        }
        i += length;
    }
    return true;
}

// The text of a # line after its two-character mark, checked.
std::string textAfterMark(std::string_view line, std::size_t lineNumber)
{
    const std::string_view text = trim(line.substr(2));
    if (!isText(text))
        failAt(lineNumber, "not a text line (invalid UTF-8 or a control character)");
    return std::string(text);
}

// An unsigned decimal at pos, moving past it; values past `limit` are refused.
std::uint64_t readNumber(
    std::string_view line, std::size_t &pos, std::uint64_t limit, std::size_t lineNumber, const char *what)
{
    while (pos < line.size() && isBlank(line[pos]))
        ++pos;
    if (pos >= line.size() || !isDigit(line[pos]))
        failAt(lineNumber, std::string("expected ") + what + " as a number");
    std::uint64_t value = 0;
    for (; pos < line.size() && isDigit(line[pos]); ++pos) {
        value = value * 10 + static_cast<std::uint64_t>(line[pos] - '0');
        if (value > limit)
            failAt(lineNumber, std::string(what) + " is larger than " + std::to_string(limit));
    }
    return value;
}

std::uint64_t readLeaf(std::string_view line, std::size_t lineNumber)
{
    std::uint64_t bits = 0;
    int x = 0;
    int y = 0;
    for (const char ch : line) {
        if (ch == '$') {
            x = 0;
            if (++y > 8)
                failAt(lineNumber, "a leaf has more than 8 rows");
            continue;
        }
        if (ch != '.' && ch != '*')
            failAt(
                lineNumber, "a leaf holds " + MessageText::quoted(std::string_view(&ch, 1)) + ", not '.', '*' or '$'");
        if (y >= 8)
            failAt(lineNumber, "a leaf has more than 8 rows");
        if (x >= 8)
            failAt(lineNumber, "a leaf row is longer than 8 cells");
        if (ch == '*')
            bits |= std::uint64_t(1) << (y * 8 + x);
        ++x;
    }
    return bits;
}

// The nodes of a file of state numbers, by number from 1: 2 x 2 cells for
// level 1 (their states packed a byte each, nw lowest), else squares of the
// StateNodeStore, protected until the caller releases them.
class StateNodes
{
public:
    // A node "level nw ne sw se" from the numbers of its quarters, each
    // checked; `line` is past the level.
    void add(int level, std::string_view line, std::size_t pos, std::size_t lineNumber, const Rule &rule,
        std::vector<bool> &used, std::size_t &unused)
    {
        std::uint32_t quarters[4];
        for (std::uint32_t &quarter : quarters) {
            if (level == 1) {
                quarter = static_cast<std::uint32_t>(readNumber(line, pos, 255, lineNumber, "a state"));
                if (quarter > highest) {
                    highest = quarter;
                    highestLine = lineNumber;
                }
                check(rule);
                continue;
            }
            const std::uint64_t number = readNumber(line, pos, Macrocell::MaxNodes, lineNumber, "a quarter's node");
            if (number > levels.size())
                failAt(lineNumber, "node " + std::to_string(number) + " is not an earlier node");
            if (number > 0 && levels[number - 1] != level - 1)
                failAt(lineNumber,
                    "node " + std::to_string(number) + " is of level " + std::to_string(levels[number - 1]) + ", not "
                        + std::to_string(level - 1));
            if (number > 0 && !used[number - 1]) {
                used[number - 1] = true;
                --unused;
            }
            quarter = number == 0 ? (level == 2 ? 0 : nodes.empty(level - 1)) : values[number - 1];
        }
        if (!trim(line.substr(pos)).empty())
            failAt(lineNumber, "more than a level and four node numbers");
        std::uint32_t value = 0;
        if (level == 1) {
            value = quarters[0] | quarters[1] << 8 | quarters[2] << 16 | quarters[3] << 24;
        } else if (level == 2) {
            value = nodes.leaf(leafOf(quarters));
            nodes.protect(value);
        } else {
            value = nodes.node(quarters[0], quarters[1], quarters[2], quarters[3]);
            nodes.protect(value);
        }
        levels.push_back(level);
        values.push_back(value);
    }

    // Fails unless every state read so far is one of `rule`'s.
    void check(const Rule &rule) const
    {
        if (highest >= static_cast<std::uint32_t>(rule.stateCount()))
            failAt(highestLine,
                "state " + std::to_string(highest) + " is not one of the " + std::to_string(rule.stateCount())
                    + " states of the rule " + rule.toString());
    }

    // The last node as a square of the store; None when there is none.
    StateNodeId root()
    {
        if (levels.empty())
            return StateNodeStore::None;
        if (levels.back() > 1)
            return values.back();
        // The 2 x 2 cells in the middle of a leaf, a cell in each of its quarters.
        const std::uint32_t cells = values.back();
        const std::uint32_t quarters[4]
            = { (cells & 0xFF) << 24, ((cells >> 8) & 0xFF) << 16, ((cells >> 16) & 0xFF) << 8, cells >> 24 };
        const StateNodeId leaf = nodes.leaf(leafOf(quarters));
        nodes.protect(leaf);
        return leaf;
    }

private:
    // The 4 x 4 cells of four 2 x 2 ones.
    static StateNodeStore::LeafCells leafOf(const std::uint32_t (&quarters)[4])
    {
        StateNodeStore::LeafCells cells {};
        for (int q = 0; q < 4; ++q) {
            for (int i = 0; i < 4; ++i)
                cells[static_cast<std::size_t>(((q / 2) * 2 + i / 2) * 4 + (q % 2) * 2 + i % 2)]
                    = static_cast<std::uint8_t>(quarters[q] >> (8 * i));
        }
        return cells;
    }

    StateNodeStore &nodes = StateNodeStore::instance();
    std::vector<int> levels;
    std::vector<std::uint32_t> values;
    std::uint32_t highest = 0; // the highest state read, on line highestLine
    std::size_t highestLine = 0;
};

// Reads the lines after the first into `content`; the nodes stay protected
// in the stores until the caller releases them.
void readLines(std::string_view bytes, MacrocellContent &content)
{
    NodeStore &nodes = NodeStore::instance();
    const std::size_t first = nodes.protectionMark();
    // Known at the first node: whether the file lists leaves of '.' and '*'
    // or the states of nodes of level 1.
    enum class Kind { Unknown, Bits, States } kind = Kind::Unknown;
    StateNodes stated;
    std::size_t nodeCount = 0;
    // Whether each node is a quarter of a later one, as every node but the
    // last of a whole file is; the count of those that are not.
    std::vector<bool> used;
    std::size_t unused = 0;
    std::size_t lineNumber = 1;
    std::size_t ruleLine = 0;
    bool afterHeader = false;
    // Every line moves `start` on past its break, so that the loop ends whatever the bytes.
    for (std::size_t start = 0, end = 0; start < bytes.size(); start = end + 1) {
        end = std::min(bytes.find('\n', start), bytes.size());
        const std::string_view line = trim(bytes.substr(start, end - start));
        if (!afterHeader) {
            afterHeader = true;
            continue;
        }
        ++lineNumber;
        if (line.empty())
            continue;
        if (line[0] == '#') {
            const std::string_view mark = line.substr(0, 2);
            if (mark == "#R") {
                Rule rule;
                std::optional<Topology> topology;
                std::string problem;
                if (!Rule::read(textAfterMark(line, lineNumber), rule, topology, problem))
                    failAt(lineNumber, problem);
                content.rule = rule;
                content.topology = topology;
                ruleLine = lineNumber;
            } else if (mark == "#G") {
                std::size_t pos = 2;
                const std::uint64_t generation = readNumber(
                    line, pos, static_cast<std::uint64_t>(Macrocell::MaxGeneration), lineNumber, "the generation");
                if (!trim(line.substr(pos)).empty())
                    failAt(lineNumber, "the generation is not a whole number of 0 or more");
                content.generation = static_cast<std::int64_t>(generation);
            } else if (mark == "#N") {
                content.name = textAfterMark(line, lineNumber);
            } else if (mark == "#C") {
                content.comments.push_back(textAfterMark(line, lineNumber));
            }
            continue;
        }
        if (nodeCount == Macrocell::MaxNodes)
            failAt(lineNumber, "more than " + std::to_string(Macrocell::MaxNodes) + " nodes");
        if (line[0] == '.' || line[0] == '*' || line[0] == '$') {
            if (kind == Kind::States)
                failAt(lineNumber, "a leaf of '.', '*' and '$' among nodes of state numbers");
            kind = Kind::Bits;
            nodes.protect(nodes.leaf(readLeaf(line, lineNumber)));
            ++nodeCount;
            used.push_back(false);
            ++unused;
            continue;
        }
        if (!isDigit(line[0]))
            failAt(lineNumber, "expected a node: a leaf of '.', '*' and '$', or a level and four node numbers");
        std::size_t pos = 0;
        const int level = static_cast<int>(readNumber(line, pos, Macrocell::MaxLevel, lineNumber, "the level"));
        if (level == 0)
            failAt(lineNumber, "a node of level 0");
        if (kind == Kind::Unknown)
            kind = level <= NodeStore::LeafLevel ? Kind::States : Kind::Bits;
        if (kind == Kind::States) {
            stated.add(level, line, pos, lineNumber, content.rule.value_or(Rule()), used, unused);
            ++nodeCount;
            used.push_back(false);
            ++unused;
            continue;
        }
        if (level <= NodeStore::LeafLevel)
            failAt(lineNumber, "a node of level " + std::to_string(level) + ": levels 1 to 3 are written as leaves");
        NodeId quarters[4];
        for (NodeId &quarter : quarters) {
            const std::uint64_t number = readNumber(line, pos, Macrocell::MaxNodes, lineNumber, "a quarter's node");
            if (number > nodeCount)
                failAt(lineNumber, "node " + std::to_string(number) + " is not an earlier node");
            if (number > 0 && !used[number - 1]) {
                used[number - 1] = true;
                --unused;
            }
            quarter = number == 0 ? nodes.empty(level - 1) : nodes.protectedAt(first + number - 1);
            if (nodes.level(quarter) != level - 1) {
                failAt(lineNumber,
                    "node " + std::to_string(number) + " is of level " + std::to_string(nodes.level(quarter)) + ", not "
                        + std::to_string(level - 1));
            }
        }
        if (!trim(line.substr(pos)).empty())
            failAt(lineNumber, "more than a level and four node numbers");
        nodes.protect(nodes.node(quarters[0], quarters[1], quarters[2], quarters[3]));
        ++nodeCount;
        used.push_back(false);
        ++unused;
    }
    if (unused > 1) {
        const auto lost = std::find(used.begin(), used.end(), false) - used.begin();
        throw FormatError { "the file ends early: node " + std::to_string(lost + 1)
            + " is a quarter of no later node, as in a file cut short" };
    }
    const Rule rule = content.rule.value_or(Rule());
    // Under birth on 0 of two states a file holds the cells of a dead
    // background, the one the background returns to, held under the rule
    // that steps them from there.
    const Rule held = (rule.birthCounts() & 1U) != 0 && rule.stateCount() == 2
        ? BackgroundUniverse::steppedRule(rule, false)
        : rule;
    try {
        if (kind == Kind::States) {
            // A rule named after the nodes counts too.
            stated.check(rule);
            const StateNodeId root = stated.root();
            content.states.emplace(
                root == StateNodeStore::None ? StateNodeStore::instance().empty(StateNodeStore::LeafLevel) : root,
                held);
            content.universe = content.states->liveCells();
            content.universe.setRule(held);
        } else {
            content.universe
                = nodeCount == 0 ? HashLife(held) : HashLife(nodes.protectedAt(first + nodeCount - 1), held);
        }
    } catch (const UniverseError &problem) {
        if (ruleLine > 0 && (rule.birthCounts() & 1U) != 0)
            failAt(ruleLine, problem.what());
        throw FormatError { problem.what() };
    }
}

// Writes a node's line after those of its quarters; returns its number, 0 for an empty square.
class NodeWriter
{
public:
    explicit NodeWriter(std::string &out)
        : out(out)
    {
    }

    std::uint64_t operator()(NodeId square)
    {
        const NodeStore &nodes = NodeStore::instance();
        if (nodes.isEmpty(square))
            return 0;
        const auto known = numbers.find(square);
        if (known != numbers.end())
            return known->second;
        if (nodes.level(square) == NodeStore::LeafLevel) {
            const std::uint64_t bits = nodes.bits(square);
            const int lastRow = (63 - __builtin_clzll(bits)) / 8;
            for (int y = 0; y <= lastRow; ++y) {
                const unsigned row = static_cast<unsigned>(bits >> (8 * y)) & 0xFF;
                for (int x = 0; row >> x != 0; ++x)
                    out += (row >> x) & 1 ? '*' : '.';
                out += '$';
            }
        } else {
            std::uint64_t quarters[4];
            for (int q = 0; q < 4; ++q)
                quarters[q] = (*this)(nodes.quarter(square, q));
            out += std::to_string(nodes.level(square));
            for (const std::uint64_t quarter : quarters)
                out += ' ' + std::to_string(quarter);
        }
        out += '\n';
        numbers.emplace(square, ++count);
        return count;
    }

private:
    std::string &out;
    std::unordered_map<NodeId, std::uint64_t> numbers;
    std::uint64_t count = 0;
};

// As NodeWriter, for squares of states: each leaf's four quarters are
// written as nodes of level 1, "1 nw ne sw se" with the states of 2 x 2 cells.
class StateNodeWriter
{
public:
    explicit StateNodeWriter(std::string &out)
        : out(out)
    {
    }

    std::uint64_t operator()(StateNodeId square)
    {
        const StateNodeStore &nodes = StateNodeStore::instance();
        if (nodes.isEmpty(square))
            return 0;
        const auto known = numbers.find(square);
        if (known != numbers.end())
            return known->second;
        std::uint64_t quarters[4];
        if (nodes.level(square) == StateNodeStore::LeafLevel) {
            const StateNodeStore::LeafCells cells = nodes.cells(square);
            for (int q = 0; q < 4; ++q) {
                std::uint32_t packed = 0;
                for (int i = 0; i < 4; ++i)
                    packed |= std::uint32_t(
                                  cells[static_cast<std::size_t>(((q / 2) * 2 + i / 2) * 4 + (q % 2) * 2 + i % 2)])
                        << (8 * i);
                quarters[q] = smallest(packed);
            }
        } else {
            for (int q = 0; q < 4; ++q)
                quarters[q] = (*this)(nodes.quarter(square, q));
        }
        line(nodes.level(square), quarters);
        numbers.emplace(square, count);
        return count;
    }

private:
    // The number of the node of level 1 with these states, a byte each.
    std::uint64_t smallest(std::uint32_t packed)
    {
        if (packed == 0)
            return 0;
        const auto known = small.find(packed);
        if (known != small.end())
            return known->second;
        const std::uint64_t states[4] = { packed & 0xFF, (packed >> 8) & 0xFF, (packed >> 16) & 0xFF, packed >> 24 };
        line(1, states);
        small.emplace(packed, count);
        return count;
    }

    void line(int level, const std::uint64_t (&items)[4])
    {
        out += std::to_string(level);
        for (const std::uint64_t item : items)
            out += ' ' + std::to_string(item);
        out += '\n';
        ++count;
    }

    std::string &out;
    std::unordered_map<StateNodeId, std::uint64_t> numbers;
    std::unordered_map<std::uint32_t, std::uint64_t> small;
    std::uint64_t count = 0;
};

// `text` on one line: line breaks become spaces.
std::string oneLine(std::string text)
{
    for (char &ch : text) {
        if (ch == '\n' || ch == '\r')
            ch = ' ';
    }
    return text;
}

} // namespace

bool Macrocell::read(std::string_view bytes, MacrocellContent &content, std::string &error)
{
    if (bytes.size() > MaxFileSize) {
        error = "the file is larger than " + std::to_string(MaxFileSize >> 20) + " MiB";
        return false;
    }
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    if (bytes.substr(0, 4) != "[M2]") {
        error = "line 1: not a macrocell file: expected [M2]";
        return false;
    }
    NodeStore &nodes = NodeStore::instance();
    StateNodeStore &stateNodes = StateNodeStore::instance();
    const std::size_t mark = nodes.protectionMark();
    const std::size_t stateMark = stateNodes.protectionMark();
    try {
        MacrocellContent read;
        readLines(bytes, read);
        nodes.release(mark);
        stateNodes.release(stateMark);
        content = std::move(read);
        return true;
    } catch (const FormatError &problem) {
        error = problem.message;
    } catch (const NodeStore::Exhausted &) {
        error = "the pattern needs more memory than the limit of " + std::to_string(nodes.memoryLimit() >> 20) + " MiB";
    } catch (const StateNodeStore::Exhausted &) {
        error = "the pattern needs more memory than the limit of " + std::to_string(stateNodes.memoryLimit() >> 20)
            + " MiB";
    } catch (const std::bad_alloc &) {
        error = "the pattern needs more memory than there is";
    }
    nodes.release(mark);
    stateNodes.release(stateMark);
    return false;
}

namespace
{

// The lines before the nodes.
std::string header(const Rule &rule, std::int64_t generation, const std::string &name,
    const std::vector<std::string> &comments, const Topology &topology)
{
    std::string out = "[M2] (gameoflife)\n#R " + rule.toString(topology) + "\n";
    if (generation != 0)
        out += "#G " + std::to_string(generation) + "\n";
    if (!name.empty())
        out += "#N " + oneLine(name) + "\n";
    for (const std::string &comment : comments)
        out += "#C " + oneLine(comment) + "\n";
    return out;
}

} // namespace

std::string Macrocell::write(const HashLife &universe, const Rule &rule, std::int64_t generation,
    const std::string &name, const std::vector<std::string> &comments, const Topology &topology)
{
    std::string out = header(rule, generation, name, comments, topology);
    NodeWriter writer(out);
    writer(universe.rootNode());
    return out;
}

std::string Macrocell::write(const StateHashLife &universe, const Rule &rule, std::int64_t generation,
    const std::string &name, const std::vector<std::string> &comments, const Topology &topology)
{
    std::string out = header(rule, generation, name, comments, topology);
    StateNodeWriter writer(out);
    // An empty pattern is one node of dead cells, so that it reads back as states.
    if (writer(universe.rootNode()) == 0)
        out += "1 0 0 0 0\n";
    return out;
}
