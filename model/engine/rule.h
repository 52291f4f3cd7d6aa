#ifndef RULE_H
#define RULE_H

#include <bitset>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/engine/neighbourshapes.h"
#include "model/engine/topology.h"

// A rule of a cellular automaton on the square grid. Life-like rules: a
// dead cell is born when its count of live neighbours (0..8) is in the birth
// set, a live cell survives when its count is in the survival set; Conway's
// Life, B3/S23, is the default. The families beyond them: non-totalistic
// rules, whose sets hold shapes of neighbours rather than counts
// (B2-a/S12); hexagonal and von Neumann neighbourhoods (B2/S34H, B1/S1V);
// Generations rules, in which a live cell that does not survive passes
// through dying states that neither count as live nor can give birth
// (B2/S/C3); and LifeHistory, Life with states that remember where cells
// have been. The rule is a value apart from the field so that the model, the
// pattern files, the window and the command line all read and print it the
// same way.
class Rule
{
public:
    // Conway's Life, B3/S23.
    Rule();

    using Neighbourhood = NeighbourShapes::Neighbourhood;

    // Reads a rule as files and people write it, in any letter case:
    // "B36/S23", "B36S23", "S23/B36", "B3_S23", one part alone ("B234" is
    // B234/S, "S23" is B/S23), the digits-only "23/36" (survival, then
    // birth); counts followed by the letters of their shapes, or by '-' and
    // the letters of the shapes left out ("B2-a3ai/S12"); a third part with
    // the count of states, 2..256 ("B2/S/C3", "345/2/4"); a last letter H
    // (hexagonal) or V (von Neumann); "LifeHistory"; or a name ("Life",
    // "HighLife", "Day & Night", ...), optionally followed by the universe it
    // runs in, as Topology::readSuffix() reads it (":P72,48", ":T30+7,20",
    // ":K40*,20", ...). Returns true and sets `rule`, or false and sets
    // `error` to a one-line message naming the text and why it is not a rule
    // or a universe this program runs (an endless strip, ...); `rule` then
    // stays as it was. Never throws.
    static bool read(std::string_view text, Rule &rule, std::string &error);
    // As above, and sets `topology` to the universe the suffix names, or to
    // none without a suffix; on a refusal `topology` too stays as it was.
    static bool read(std::string_view text, Rule &rule, std::optional<Topology> &topology, std::string &error);

    // "B36/S23": digits ascending, letters in the notation's order, the
    // shorter of the shapes in and the shapes out ("B2-a/S12"), then "/C<n>"
    // for more than two states and H or V; "LifeHistory".
    std::string toString() const;
    // The notation with the suffix of a bounded universe, "B3/S23:T72,48"
    // (Topology::suffix()); the classic field and the unbounded plane have none.
    std::string toString(const Topology &topology) const;
    // The name a named rule goes by ("HighLife"), or an empty string.
    std::string name() const;
    // What kind of rule it is, for messages: "Life-like rule", "non-totalistic
    // rule", "hexagonal Generations rule", "LifeHistory rule", ...
    std::string family() const;

    // Two states, the eight neighbours, counts alone: what every engine runs.
    bool isLifeLike() const { return states == 2 && !history && neighbours == Neighbourhood::Moore && totalistic; }
    Neighbourhood neighbourhood() const { return neighbours; }
    // Whether only counts matter, not the shapes neighbours make.
    bool isTotalistic() const { return totalistic; }
    // The states a cell may be in: 0 dead, 1 alive, the rest as the family
    // says; 2..256.
    int stateCount() const { return states; }
    bool isHistory() const { return history; }

    // Whether a cell with `neighbours` live neighbours (0..8) is alive next;
    // `alive` is its own state now. Precondition: isTotalistic().
    bool nextState(bool alive, int neighbours) const { return (((alive ? survival : birth) >> neighbours) & 1U) != 0; }

    // Bit n set: every shape of n neighbours gives birth or survival; bits
    // 0..8, 0..6 hexagonal, 0..4 von Neumann.
    std::uint16_t birthCounts() const { return birth; }
    std::uint16_t survivalCounts() const { return survival; }

    // Whether a cell in `state` counts as a live neighbour: state 1, and in
    // LifeHistory the odd states.
    bool isLive(std::uint8_t state) const { return history ? (state & 1U) != 0 : state == 1; }
    // The state a cell in `state` (0..stateCount() - 1) takes next, when
    // `liveNeighbours` has a bit set for each live neighbour, in
    // NeighbourShapes' order; neighbours outside neighbourhood() are ignored.
    std::uint8_t next(std::uint8_t state, unsigned liveNeighbours) const;

    bool operator==(const Rule &other) const
    {
        return born == other.born && survives == other.survives && neighbours == other.neighbours
            && states == other.states && history == other.history;
    }
    bool operator!=(const Rule &other) const { return !(*this == other); }

    // A named rule, for the lists that offer them; index 0..NamedRuleCount - 1.
    struct Named {
        const char *name;
        const char *notation;
    };
    static constexpr int NamedRuleCount = 10;
    static const Named namedRules[NamedRuleCount];
    // Named rules of the other families, one or more of each.
    static constexpr int FamilyExampleCount = 5;
    static const Named familyExamples[FamilyExampleCount];

    // The shapes of neighbours that give birth or survival: bit n for the
    // neighbours n has set, in NeighbourShapes' order.
    using Shapes = std::bitset<256>;
    const Shapes &birthShapes() const { return born; }
    const Shapes &survivalShapes() const { return survives; }
    // The two-state rule of `neighbourhood` that gives birth on the shapes
    // of `born` and survival on those of `survives`. Precondition: neither
    // set tells apart bit patterns that differ only outside the
    // neighbourhood's mask.
    static Rule twoState(const Shapes &born, const Shapes &survives, Neighbourhood neighbourhood);

private:
    // Built once, for the default constructor.
    static const Rule &conway();
    Rule(const Shapes &born, const Shapes &survives, Neighbourhood neighbours, int states, bool history);

    Shapes born;
    Shapes survives;
    Neighbourhood neighbours = Neighbourhood::Moore;
    int states = 2;
    bool history = false;
    // Derived from the above.
    bool totalistic = true;
    std::uint16_t birth = 1U << 3;
    std::uint16_t survival = (1U << 2) | (1U << 3);
};

#endif // RULE_H
