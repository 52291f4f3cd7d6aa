#ifndef NEIGHBOURSHAPES_H
#define NEIGHBOURSHAPES_H

// The neighbourhoods rules count in, and the letters that tell apart the
// shapes a count of neighbours can make, so that a rule may give birth to a
// cell with two neighbours side by side and not to one with two opposite.
// Every neighbourhood is written as eight bits, one per neighbour of the
// square grid: bit 0 north-west, 1 north, 2 north-east, 3 west, 4 east,
// 5 south-west, 6 south, 7 south-east. The hexagonal neighbourhood leaves
// out north-east and south-west (a hexagonal grid drawn on the square one,
// its rows sheared), the von Neumann one keeps only the four edges.
// Two bit patterns have the same letter when a turn or a mirror image of the
// neighbourhood makes one into the other.
class NeighbourShapes
{
public:
    enum class Neighbourhood {
        Moore, // the eight neighbours
        Hexagonal, // six
        VonNeumann, // four
    };

    // The bits of the neighbours `neighbourhood` counts.
    static unsigned mask(Neighbourhood neighbourhood);
    // Neighbours counted: 8, 6 or 4.
    static int size(Neighbourhood neighbourhood);
    // The letters of the shapes of `count` neighbours (0..size()), in the
    // order the notation writes them; empty where the count has one shape only
    // and for the von Neumann neighbourhood, which has no letters.
    static const char *letters(Neighbourhood neighbourhood, int count);
    // The letter of the shape `neighbours` (bits outside mask() ignored)
    // makes, or 0 where its count has no letters.
    static char letter(Neighbourhood neighbourhood, unsigned neighbours);
    // The live neighbours among `neighbours`, bits outside mask() ignored.
    static int count(Neighbourhood neighbourhood, unsigned neighbours)
    {
        return __builtin_popcount(neighbours & mask(neighbourhood));
    }
};

#endif // NEIGHBOURSHAPES_H
