#ifndef CELLCOPY_H
#define CELLCOPY_H

class HashLife;
class StateHashLife;
class TileLife;
class Universe;

// Moves the live cells of one engine of the unbounded plane into another, a
// batch at a time, so that a move never holds more than a few MiB of cell
// coordinates: the plane hands its cells between its engines this way
// whenever it switches, and the engine race builds each racer so.
class CellCopy
{
public:
    // Sets every live cell of `source` alive in `target`; the other cells of
    // `target` stay as they are. Throws UniverseError as the target's
    // setCells() does, when memory runs out or a cell lies beyond its limit.
    static void into(const Universe &source, HashLife &target);
    static void into(const Universe &source, TileLife &target);
    static void into(const Universe &source, StateHashLife &target);
};

#endif // CELLCOPY_H
