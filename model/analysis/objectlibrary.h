#ifndef OBJECTLIBRARY_H
#define OBJECTLIBRARY_H

#include <string>
#include <unordered_map>
#include <vector>

#include "model/engine/universe.h"

// What an object does on its own.
enum class ObjectKind {
    StillLife, // the same cells every generation
    Oscillator, // back to its cells, in the same place, after its period of 2 or more
    Spaceship, // back to its cells moved elsewhere after its period
};

// The common objects of Conway's Life by name, so that a census can say
// "loaf" rather than "still life of 7 cells". Each object is typed in once,
// in one phase and orientation; every phase is computed by running it, and
// every rotation and reflection of each phase is recognised.
class ObjectLibrary
{
public:
    struct Object {
        std::string singular; // "loaf"
        std::string plural; // "loaves"
        ObjectKind kind;
        int period; // 1 for still lifes
        std::vector<CellPoint> cells; // the phase as typed, its box's top-left corner at 0, 0, row by row
    };

    // The library of Conway's Life, B3/S23; built on first use.
    static const ObjectLibrary &conway();

    const std::vector<Object> &objects() const { return table; }
    // The index in objects() of the object that has `cells`, anywhere, as one
    // of its phases in one of its orientations; -1 when none has.
    int find(const std::vector<CellPoint> &cells) const;

    // `cells` moved so that their box's top-left corner is 0, 0, sorted row by row.
    static std::vector<CellPoint> normalised(std::vector<CellPoint> cells);
    // Orientation 0..7 of `cells`: 0 as they are, 1..3 turned by quarter turns,
    // 4..7 those mirrored left to right; normalised.
    static std::vector<CellPoint> oriented(const std::vector<CellPoint> &cells, int orientation);
    // The same value for all 8 orientations of the same cells, anywhere.
    static std::string canonicalKey(const std::vector<CellPoint> &cells);
    // The same value for the same cells anywhere, in one orientation only.
    static std::string shapeKey(const std::vector<CellPoint> &normalisedCells);

private:
    ObjectLibrary();
    void add(const char *singular, const char *plural, const std::vector<const char *> &picture);

    std::vector<Object> table;
    std::unordered_map<std::string, int> phaseIndex; // canonicalKey of every phase -> index in table
};

#endif // OBJECTLIBRARY_H
