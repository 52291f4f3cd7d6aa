#include "model/engine/rule.h"

#include <algorithm>
#include <cctype>
#include <cstring>
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

const Rule::Named Rule::familyExamples[Rule::FamilyExampleCount] = {
    { "Brian's Brain", "B2/S/C3" },
    { "Star Wars", "B2/S345/C4" },
    { "LifeHistory", "LifeHistory" },
    { "", "B2/S34H" },
    { "", "B1/S1V" },
};

namespace
{

using Neighbourhood = NeighbourShapes::Neighbourhood;
using Shapes = Rule::Shapes;

constexpr int MaxStates = 256;
// NameKeys' indexes from here on are familyExamples'.
constexpr int FamilyIndex = 100;

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
    { "briansbrain", FamilyIndex + 0 },
    { "starwars", FamilyIndex + 1 },
};

bool isDigit(char ch) { return ch >= '0' && ch <= '9'; }
bool isLetter(char ch) { return ch >= 'a' && ch <= 'z'; }

bool allDigits(std::string_view text) { return std::all_of(text.begin(), text.end(), isDigit); }

[[noreturn]] void refuseNotation(std::string_view whole)
{
    throw Refusal { "rule " + MessageText::quoted(whole)
        + " is neither B/S notation (such as B3/S23) nor a rule name this "
          "program knows" };
}

// Every neighbourhood of `count` neighbours whose shape's letter is in
// `letters`, or all of them for a null `letters`.
Shapes shapesOf(Neighbourhood neighbourhood, int count, const char *letters)
{
    Shapes shapes;
    for (unsigned bits = 0; bits < 256; ++bits) {
        if (NeighbourShapes::count(neighbourhood, bits) == count
            && (letters == nullptr || std::strchr(letters, NeighbourShapes::letter(neighbourhood, bits)) != nullptr))
            shapes.set(bits);
    }
    return shapes;
}

// Counts, each with the letters of its shapes if it does not take them all:
// "2-a3ai", "23".
Shapes readCounts(std::string_view text, Neighbourhood neighbourhood, std::string_view whole)
{
    const int size = NeighbourShapes::size(neighbourhood);
    Shapes shapes;
    std::size_t i = 0;
    while (i < text.size()) {
        if (!isDigit(text[i])) {
            if (isLetter(text[i]))
                throw Refusal { "rule " + MessageText::quoted(whole) + ": the letter \"" + std::string(1, text[i])
                    + "\" follows no count of neighbours" };
            refuseNotation(whole);
        }
        const int count = text[i++] - '0';
        if (count > size)
            throw Refusal { "rule " + MessageText::quoted(whole) + ": a cell has only " + std::to_string(size)
                + " neighbours, so " + std::to_string(count) + " cannot be a count" };
        const bool without = i < text.size() && text[i] == '-';
        if (without)
            ++i;
        std::string letters;
        for (; i < text.size() && isLetter(text[i]); ++i)
            letters += text[i];
        const char *const known = NeighbourShapes::letters(neighbourhood, count);
        for (const char letter : letters) {
            if (std::strchr(known, letter) == nullptr)
                throw Refusal { "rule " + MessageText::quoted(whole) + ": \"" + std::string(1, letter)
                    + "\" names no non-totalistic shape of " + std::to_string(count)
                    + (count == 1 ? " neighbour" : " neighbours")
                    + (*known == '\0' ? std::string(" in this neighbourhood") : " (" + std::string(known) + ")") };
        }
        if (without && letters.empty())
            refuseNotation(whole);
        if (letters.empty()) {
            shapes |= shapesOf(neighbourhood, count, nullptr);
        } else if (without) {
            std::string kept;
            for (const char *letter = known; *letter != '\0'; ++letter) {
                if (letters.find(*letter) == std::string::npos)
                    kept += *letter;
            }
            shapes |= shapesOf(neighbourhood, count, kept.c_str());
        } else {
            shapes |= shapesOf(neighbourhood, count, letters.c_str());
        }
    }
    return shapes;
}

int readStates(std::string_view digits, std::string_view whole)
{
    int states = 0;
    if (allDigits(digits)) {
        for (const char ch : digits)
            states = std::min(states * 10 + (ch - '0'), MaxStates + 1);
    }
    if (states < 2 || states > MaxStates)
        throw Refusal { "rule " + MessageText::quoted(whole) + ": a Generations rule has 2 to "
            + std::to_string(MaxStates) + " states" };
    return states;
}

struct Notation {
    Shapes born;
    Shapes survives;
    Neighbourhood neighbourhood = Neighbourhood::Moore;
    int states = 2;
};

// Reads "b36/s23", "s23/b36", "b36s23", "b3_s23", "23/36", "b2/s/c3",
// "345/2/4", each with a last h or v (already in lower case, no blanks).
Notation readNotation(std::string_view text, std::string_view whole)
{
    Notation notation;
    if (!text.empty() && (text.back() == 'h' || text.back() == 'v')) {
        notation.neighbourhood = text.back() == 'h' ? Neighbourhood::Hexagonal : Neighbourhood::VonNeumann;
        text.remove_suffix(1);
    }

    // The parts, split at each '/' or '_', or else before each b and s.
    std::vector<std::string_view> parts;
    const bool slashed = text.find_first_of("/_") != std::string_view::npos;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size()
            || (slashed ? text[i] == '/' || text[i] == '_' : i > start && (text[i] == 'b' || text[i] == 's'))) {
            parts.push_back(text.substr(start, i - start));
            start = slashed ? i + 1 : i;
        }
    }
    if (parts.size() > 3)
        refuseNotation(whole);

    const auto lettered = [](std::string_view part) {
        return !part.empty()
            && (part.front() == 'b' || part.front() == 's' || part.front() == 'c' || part.front() == 'g');
    };
    std::optional<std::string_view> births;
    std::optional<std::string_view> survivals;
    std::optional<std::string_view> states;
    if (std::none_of(parts.begin(), parts.end(), lettered)) {
        // Digits only: survival, then birth, then states.
        if (parts.size() < 2)
            refuseNotation(whole);
        survivals = parts[0];
        births = parts[1];
        if (parts.size() == 3)
            states = parts[2];
    } else {
        for (std::size_t i = 0; i < parts.size(); ++i) {
            std::optional<std::string_view> *slot = nullptr;
            std::string_view part = parts[i];
            if (!lettered(part)) {
                // "B2/S/3": a bare third part counts the states.
                if (i != 2 || !allDigits(part) || part.empty())
                    refuseNotation(whole);
                slot = &states;
            } else {
                slot = part.front() == 'b' ? &births : part.front() == 's' ? &survivals : &states;
                part.remove_prefix(1);
            }
            if (slot->has_value())
                refuseNotation(whole);
            *slot = part;
        }
    }
    if (births)
        notation.born = readCounts(*births, notation.neighbourhood, whole);
    if (survivals)
        notation.survives = readCounts(*survivals, notation.neighbourhood, whole);
    if (states)
        notation.states = readStates(*states, whole);
    return notation;
}

// Counts and letters as readCounts() reads them, the shorter way.
std::string writeCounts(const Shapes &shapes, Neighbourhood neighbourhood)
{
    std::string text;
    for (int count = 0; count <= NeighbourShapes::size(neighbourhood); ++count) {
        const char *const known = NeighbourShapes::letters(neighbourhood, count);
        const Shapes all = shapesOf(neighbourhood, count, nullptr);
        if ((shapes & all).none())
            continue;
        text += static_cast<char>('0' + count);
        if ((shapes & all) == all)
            continue;
        std::string in;
        std::string out;
        for (const char *letter = known; *letter != '\0'; ++letter) {
            const char one[2] = { *letter, '\0' };
            ((shapes & shapesOf(neighbourhood, count, one)).any() ? in : out) += *letter;
        }
        text += in.size() <= out.size() ? in : "-" + out;
    }
    return text;
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
        if (key == "lifehistory") {
            const Rule life;
            rule = Rule(life.born, life.survives, Neighbourhood::Moore, 7, true);
            topology = suffix;
            return true;
        }
        for (const auto &[name, index] : NameKeys) {
            if (key == name) {
                Rule named;
                std::string unused;
                read(index >= FamilyIndex ? familyExamples[index - FamilyIndex].notation : namedRules[index].notation,
                    named, unused);
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
        // A last H or V names the neighbourhood even of "B/SV".
        const std::string_view unsuffixed = std::string_view(lowered).substr(
            0, lowered.size() - (!lowered.empty() && (lowered.back() == 'h' || lowered.back() == 'v') ? 1 : 0));
        if (!hasDigit && (unsuffixed.empty() || unsuffixed.find_first_not_of("bs/") != std::string::npos))
            throw Refusal { "rule " + MessageText::quoted(whole) + " is not a rule name this program knows" };
        const Notation notation = readNotation(lowered, whole);
        rule = Rule(notation.born, notation.survives, notation.neighbourhood, notation.states, false);
        topology = suffix;
        return true;
    } catch (const Refusal &refusal) {
        error = refusal.message;
    } catch (const std::bad_alloc &) {
        error = "not enough memory to read the rule";
    }
    return false;
}

Rule::Rule()
    : Rule(conway())
{
}

const Rule &Rule::conway()
{
    static const Rule life(shapesOf(Neighbourhood::Moore, 3, nullptr),
        shapesOf(Neighbourhood::Moore, 2, nullptr) | shapesOf(Neighbourhood::Moore, 3, nullptr), Neighbourhood::Moore,
        2, false);
    return life;
}

Rule::Rule(const Shapes &born, const Shapes &survives, Neighbourhood neighbours, int states, bool history)
    : born(born)
    , survives(survives)
    , neighbours(neighbours)
    , states(states)
    , history(history)
{
    birth = 0;
    survival = 0;
    for (int count = 0; count <= NeighbourShapes::size(neighbours); ++count) {
        const Shapes all = shapesOf(neighbours, count, nullptr);
        for (const auto &[shapes, counts] : { std::pair(born, &birth), std::pair(survives, &survival) }) {
            const Shapes chosen = shapes & all;
            if (chosen == all)
                *counts = static_cast<std::uint16_t>(*counts | (1U << count));
            else if (chosen.any())
                totalistic = false;
        }
    }
}

Rule Rule::twoState(const Shapes &born, const Shapes &survives, Neighbourhood neighbourhood)
{
    return Rule(born, survives, neighbourhood, 2, false);
}

std::uint8_t Rule::next(std::uint8_t state, unsigned liveNeighbours) const
{
    const unsigned around = liveNeighbours & 0xFFU;
    if (history) {
        // 1, 3 and 5 live (3 marked), 0 and 2 dead (2 once alive), 4 marked
        // and dead, 6 a dead boundary that nothing crosses.
        if (state == 6)
            return 6;
        if ((state & 1U) != 0)
            return survives[around] ? state : state == 3 ? 4 : 2;
        if (!born[around])
            return state;
        return state == 4 ? 3 : 1;
    }
    if (state == 0)
        return born[around] ? 1 : 0;
    if (state == 1 && survives[around])
        return 1;
    return state + 1 < states ? static_cast<std::uint8_t>(state + 1) : 0;
}

std::string Rule::toString() const
{
    if (history)
        return "LifeHistory";
    std::string text = "B" + writeCounts(born, neighbours) + "/S" + writeCounts(survives, neighbours);
    if (states > 2)
        text += "/C" + std::to_string(states);
    if (neighbours == Neighbourhood::Hexagonal)
        text += 'H';
    else if (neighbours == Neighbourhood::VonNeumann)
        text += 'V';
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
    for (const Named &named : familyExamples) {
        if (notation == named.notation)
            return named.name;
    }
    return std::string();
}

std::string Rule::family() const
{
    if (history)
        return "LifeHistory rule";
    std::string text = neighbours == Neighbourhood::Hexagonal ? "hexagonal "
        : neighbours == Neighbourhood::VonNeumann             ? "von Neumann "
                                                              : "";
    if (!totalistic)
        text += "non-totalistic ";
    if (states > 2)
        text += "Generations ";
    return text.empty() ? "Life-like rule" : text + "rule";
}
