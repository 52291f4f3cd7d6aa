#ifndef UNIVERSECHANGE_H
#define UNIVERSECHANGE_H

#include <cstdint>
#include <optional>

#include "model/engine/topology.h"
#include "model/engine/universe.h"

// Moving the cells of one universe into another of another shape. Each cell
// keeps its place relative to the centres (Topology::centre()), so that a
// pattern in the middle of the classic field lies in the middle of a torus
// of any size, and one at the origin of the unbounded plane lands in the
// middle of a bounded one. Cells that land outside the new universe are
// lost; lostCells() and copy() agree on which.
class UniverseChange
{
public:
    UniverseChange(const Topology &from, const Topology &to);

    // Live cells of `universe`, of the old topology, that copy() leaves out;
    // UINT64_MAX for infinitely many, under a live background
    // (Universe::backgroundAlive()). Throws UniverseError if they do not fit in 64 bits.
    std::uint64_t lostCells(const Universe &universe) const;
    // Sets the live cells of `from`, of the old topology, that the new one
    // holds in `to`, of the new topology, moved. Throws UniverseError as
    // `to` does when it runs out of memory.
    void copy(const Universe &from, Universe &to) const;

private:
    CellPoint moved(CellPoint cell) const { return { cell.x + shift.x, cell.y + shift.y }; }

    CellPoint shift; // from a cell of the old universe to its place in the new one
    std::optional<CellRect> keptArea; // the old universe's cells that land inside the new one
};

#endif // UNIVERSECHANGE_H
