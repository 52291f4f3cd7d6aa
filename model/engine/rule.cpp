#include "model/engine/rule.h"

#include <algorithm>
#include <cctype>
#include <utility>
#include <vector>

#include "model/engine/messagetext.h"

const Rule::Named Rule::namedRules[Rule::NamedRuleCount] = {
    { "Conway's Life", "B3/S23" },
    { "HighLife", "B36/S23" },
    { "Day & Night", "B3678/S34678" },
    { "Seeds", "B2/S" },
    { "Life without Death", "B3/S012345678" },
    { "Maze", "B3/S12345" },
    { "Replicator", "B1357/S1357" },
    { "2×2", "B36/S125" },
    { "Diamoeba", "B35678/S5678" },
    { "Morley", "B368/S245" },
};

namespace
{

constexpr int MaxNeighbours = 8;

struct Refusal {
    std::string message;
};

bool isBlank(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; }

std::string_view trim(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char lower(char ch) { return static_cast<char>(std::tolower(static_cast<unsigned char>(ch))); }

// A name as people spell it, reduced to what tells names apart: "Day & Night",
// "DayAndNight" and "day_and_night" all become "dayandnight".
std::string nameKey(std::string_view text)
{
    std::string key;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch == '&') {
            key += "and";
        } else if (text.substr(i, 2) == "\xC3\x97") { // the multiplication sign of "2×2"
            key += 'x';
            ++i;
        } else if (std::isalnum(static_cast<unsigned char>(ch))) {
            key += lower(ch);
        }
    }
    return key;
}

// The names files and people use, each with the index of its rule in namedRules.
const std::pair<const char *, int> NameKeys[] = {
    { "conwayslife", 0 },
    { "life", 0 },
    { "conway", 0 },
    { "conwaysgameoflife", 0 },
    { "gameoflife", 0 },
    { "highlife", 1 },
    { "dayandnight", 2 },
    { "daynight", 2 },
    { "seeds", 3 },
    { "lifewithoutdeath", 4 },
    { "maze", 5 },
    { "replicator", 6 },
    { "2x2", 7 },
    { "diamoeba", 8 },
    { "morley", 9 },
    { "move", 9 },
};

// Neighbour counts as digits, each 0..8, into a bit set.
std::uint16_t readCounts(std::string_view digits, std::string_view whole)
{
    std::uint16_t counts = 0;
    for (const char ch : digits) {
        if (ch == '9')
            throw Refusal { "rule " + MessageText::quoted(whole) + ": a cell has only " + std::to_string(MaxNeighbours)
                + " neighbours, so 9 cannot be a count" };
        counts = static_cast<std::uint16_t>(counts | (1U << (ch - '0')));
    }
    return counts;
}

bool allDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
}

[[noreturn]] void refuseNotation(std::string_view whole)
{
    throw Refusal { "rule " + MessageText::quoted(whole)
        + " is neither B/S notation (such as B3/S23) nor a rule name this "
          "program knows" };
}

// Reads "b36/s23", "s23/b36", "b36s23" or "23/36" (already in lower case).
std::pair<std::uint16_t, std::uint16_t> readNotation(std::string_view text, std::string_view whole)
{
    for (const char ch : text) {
        if (ch == 'h')
            throw Refusal { "rule " + MessageText::quoted(whole)
                + ": the H suffix means a hexagonal neighbourhood; this program runs only the eight neighbours of "
                  "the square grid" };
        if (ch == 'v')
            throw Refusal { "rule " + MessageText::quoted(whole)
                + ": the V suffix means the von Neumann neighbourhood; this program runs only the eight neighbours "
                  "of the square grid" };
    }
    if (std::count(text.begin(), text.end(), '/') > 1)
        throw Refusal { "rule " + MessageText::quoted(whole)
            + ": a third part (a count of states) makes a Generations rule, which is not Life-like" };

    const std::size_t slash = text.find('/');
    if (slash != std::string_view::npos && allDigits(text.substr(0, slash)) && allDigits(text.substr(slash + 1))) {
        // Digits only: survival first, then birth.
        const std::uint16_t survival = readCounts(text.substr(0, slash), whole);
        return { readCounts(text.substr(slash + 1), whole), survival };
    }

    // Letter-led parts, with or without a slash between them.
    std::string_view parts[2];
    int partCount = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const bool end = i == text.size();
        const bool letter = !end && (text[i] == 'b' || text[i] == 's');
        if (i > start && (end || letter || text[i] == '/')) {
            if (partCount == 2)
                refuseNotation(whole);
            parts[partCount++] = text.substr(start, i - start);
            start = (end || letter) ? i : i + 1;
        } else if (!end && text[i] == '/') {
            start = i + 1;
        }
    }
    // One part alone leaves the other empty: "B234" is B234/S, "S23" is B/S23.
    const bool lettered = std::all_of(parts, parts + partCount,
        [](std::string_view part) { return !part.empty() && (part.front() == 'b' || part.front() == 's'); });
    if (partCount == 0 || !lettered || (partCount == 2 && parts[0].front() == parts[1].front()))
        refuseNotation(whole);

    std::uint16_t birth = 0;
    std::uint16_t survival = 0;
    for (int i = 0; i < partCount; ++i) {
        const std::string_view part = parts[i];
        const std::string_view counts = part.substr(1);
        const auto other = std::find_if(counts.begin(), counts.end(), [](char ch) { return ch < '0' || ch > '9'; });
        if (other != counts.end()) {
            if (std::isalpha(static_cast<unsigned char>(*other)))
                throw Refusal { "rule " + MessageText::quoted(whole) + ": letters after the counts (\""
                    + std::string(1, *other) + "\") make a non-totalistic rule, which is not Life-like" };
            refuseNotation(whole);
        }
        (part.front() == 'b' ? birth : survival) = readCounts(counts, whole);
    }
    return { birth, survival };
}

// The universe a suffix names: `suffix` is the text after the rule's ':'.
Topology readSuffix(std::string_view suffix, std::string_view whole)
{
    std::string problem;
    const std::optional<Topology> topology = Topology::readSuffix(suffix, problem);
    if (!topology)
        throw Refusal { "rule " + MessageText::quoted(whole) + ": " + problem };
    return *topology;
}

} // namespace

bool Rule::read(std::string_view text, Rule &rule, std::string &error)
{
    std::optional<Topology> unused;
    return read(text, rule, unused, error);
}

bool Rule::read(std::string_view text, Rule &rule, std::optional<Topology> &topology, std::string &error)
{
    const std::string_view whole = trim(text);
    const std::size_t colon = whole.find(':');
    const std::string_view spelled = trim(whole.substr(0, colon));
    try {
        if (spelled.empty())
            throw Refusal { whole.empty() ? std::string("no rule given")
                                          : "rule " + MessageText::quoted(whole) + " is empty" };

        const std::optional<Topology> suffix = colon == std::string_view::npos
            ? std::nullopt
            : std::optional<Topology>(readSuffix(whole.substr(colon + 1), whole));
        const std::string key = nameKey(spelled);
        for (const auto &[name, index] : NameKeys) {
            if (key == name) {
                Rule named;
                std::string unused;
                read(namedRules[index].notation, named, unused);
                rule = named;
                topology = suffix;
                return true;
            }
        }

        std::string lowered(spelled);
        std::transform(lowered.begin(), lowered.end(), lowered.begin(), lower);
        lowered.erase(std::remove_if(lowered.begin(), lowered.end(), isBlank), lowered.end());
        // Notation has counts, or is all letters B and S ("B/S", nothing ever lives);
        // anything else is meant as a name.
        const bool hasDigit
            = std::any_of(lowered.begin(), lowered.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
        if (!hasDigit && lowered.find_first_not_of("bs/") != std::string::npos)
            throw Refusal { "rule " + MessageText::quoted(whole) + " is not a rule name this program knows" };
        const auto [birth, survival] = readNotation(lowered, whole);
        rule = Rule(birth, survival);
        topology = suffix;
        return true;
    } catch (const Refusal &refusal) {
        error = refusal.message;
    } catch (const std::bad_alloc &) {
        error = "not enough memory to read the rule";
    }
    return false;
}

std::string Rule::toString() const
{
    std::string text = "B";
    for (int n = 0; n <= MaxNeighbours; ++n) {
        if ((birth >> n) & 1U)
            text += static_cast<char>('0' + n);
    }
    text += "/S";
    for (int n = 0; n <= MaxNeighbours; ++n) {
        if ((survival >> n) & 1U)
            text += static_cast<char>('0' + n);
    }
    return text;
}

std::string Rule::toString(const Topology &topology) const { return toString() + topology.suffix(); }

std::string Rule::name() const
{
    const std::string notation = toString();
    for (const Named &named : namedRules) {
        if (notation == named.notation)
            return named.name;
    }
    return std::string();
}
