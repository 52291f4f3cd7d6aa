#ifndef STATECENSUS_H
#define STATECENSUS_H

#include <map>
#include <string>
#include <vector>

#include "model/analysis/census.h"
#include "model/analysis/statedcelllist.h"

// What a pattern under a Generations rule is made of. Its dying cells shape
// what happens next, so an object is a group of touching cells in any state
// but dead, pieces that change each other are one object, and two phases
// are the same only with the same states at the same places. Objects are
// named by kind and size: "period 2 spaceship of 4 live and 4 dying cells";
// a still life has no dying cells, since a dying cell always changes.
class StateCensus
{
public:
    using Cells = StatedCellList::Cells;

    // Precondition: `rule` has more than two states and no birth on 0.
    explicit StateCensus(const Rule &rule);

    // Adds the objects of `cells` (row by row), a pattern that on its own
    // comes back to its cells, moved or not, after `generations` (1..)
    // generations, as Census::add() does. Throws UniverseError as
    // StateHashLife does.
    void add(const Cells &cells, int generations, bool escaping);
    // As Census::entries(); the cells of an entry are the places of the pictured phase.
    std::vector<CensusEntry> entries() const;

private:
    using Phases = StatedCellList::Phases;

    // The smallest pieces of `cells` that alone evolve as within the whole, each with its phases.
    std::vector<Phases> split(const Cells &cells, int generations) const;
    void count(const Phases &piece, bool escaping);

    Rule rule;
    std::map<std::string, CensusEntry> kinds; // by canonical key of the pictured phase, kind and escaping
};

#endif // STATECENSUS_H
