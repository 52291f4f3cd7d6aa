#ifndef RULE_H
#define RULE_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/engine/topology.h"

// A Life-like rule: a dead cell is born when its count of live neighbours
// (0..8) is in the birth set, a live cell survives when its count is in the
// survival set. Conway's Life, B3/S23, is the default. The rule is a value
// apart from the field so that the model, the pattern files, the window and
// the command line all read and print it the same way.
class Rule
{
public:
    // Conway's Life, B3/S23.
    Rule() = default;

    // Reads a rule as files and people write it, in any letter case:
    // "B36/S23", "B36S23", "S23/B36", one part alone ("B234" is B234/S,
    // "S23" is B/S23), the digits-only "23/36" (survival, then
    // birth), or a name ("Life", "HighLife", "Day & Night", ...), optionally
    // followed by the universe it runs in, as Topology::readSuffix() reads
    // it (":P72,48", ":T30+7,20", ":K40*,20", ...). Returns true and sets
    // `rule`, or false and sets `error` to a one-line message naming the text
    // and why it is not a Life-like rule or a universe this program runs (an
    // endless strip, ...); `rule` then stays as it was. Never throws.
    static bool read(std::string_view text, Rule &rule, std::string &error);
    // As above, and sets `topology` to the universe the suffix names, or to
    // none without a suffix; on a refusal `topology` too stays as it was.
    static bool read(std::string_view text, Rule &rule, std::optional<Topology> &topology, std::string &error);

    // "B36/S23": digits ascending.
    std::string toString() const;
    // The notation with the suffix of a bounded universe, "B3/S23:T72,48"
    // (Topology::suffix()); the classic field and the unbounded plane have none.
    std::string toString(const Topology &topology) const;
    // The name a named rule goes by ("HighLife"), or an empty string.
    std::string name() const;

    // Whether a cell with `neighbours` live neighbours (0..8) is alive next;
    // `alive` is its own state now.
    bool nextState(bool alive, int neighbours) const { return (((alive ? survival : birth) >> neighbours) & 1U) != 0; }

    // Bit n set: a count of n neighbours gives birth or survival; bits 0..8.
    std::uint16_t birthCounts() const { return birth; }
    std::uint16_t survivalCounts() const { return survival; }

    bool operator==(const Rule &other) const { return birth == other.birth && survival == other.survival; }
    bool operator!=(const Rule &other) const { return !(*this == other); }

    // A named rule, for the lists that offer them; index 0..NamedRuleCount - 1.
    struct Named {
        const char *name;
        const char *notation;
    };
    static constexpr int NamedRuleCount = 10;
    static const Named namedRules[NamedRuleCount];

private:
    Rule(std::uint16_t birth, std::uint16_t survival)
        : birth(birth)
        , survival(survival)
    {
    }

    std::uint16_t birth = 1U << 3;
    std::uint16_t survival = (1U << 2) | (1U << 3);
};

#endif // RULE_H
