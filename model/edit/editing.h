#ifndef EDITING_H
#define EDITING_H

#include <cstdint>
#include <string>

#include "model/edit/clip.h"
#include "model/engine/orientation.h"
#include "model/engine/topology.h"
#include "model/engine/universe.h"

// What the Edit menu does to a rectangle of cells, in every universe: copy
// it as text, cut it, clear inside or outside it, fill it at random, turn or
// flip it about its centre, and paste a Clip with its top-left cell where the
// user points. Each does all it says, or refuses with a reason and leaves the
// universe exactly as it was. In the unbounded plane they work on HashLife's
// squares rather than on cells, so that a million cells are copied, turned
// or pasted in a fraction of a second.
//
// A rectangle (a selection) may reach past the universe: only its part
// inside extent() counts. All of them return false and set `error` to one
// line when they refuse, true when done.
class Editing
{
public:
    Editing() = delete;

    // The most cells of a rectangle filled at random in the unbounded plane.
    static constexpr std::uint64_t MaxFillCells = std::uint64_t(1) << 28;

    // The live cells of `area` as RLE, the box trimmed to them, with the
    // universe's rule (and the suffix of a bounded universe) and without a
    // position, so that it lands where it is pasted. Refuses more live cells,
    // or more text, than PatternReader reads back.
    static bool copy(const Universe &universe, const CellRect &area, std::string &text, std::string &error);
    // copy(), then clear().
    static bool cut(Universe &universe, const CellRect &area, std::string &text, std::string &error);
    // Kills every cell inside `area`, or every one outside it.
    static bool clear(Universe &universe, const CellRect &area, std::string &error);
    static bool clearOutside(Universe &universe, const CellRect &area, std::string &error);
    // Makes each cell of `area` alive with a probability of `percent` / 100,
    // independently of the others, from the random cells `seed` gives (see
    // RandomBits). Refuses a percentage outside 0..100 and, in the unbounded
    // plane, a rectangle of more than MaxFillCells cells.
    static bool fillRandom(
        Universe &universe, const CellRect &area, double percent, std::uint64_t seed, std::string &error);

    // The rectangle that turning `area` about its centre by `orientation`
    // gives. A rectangle of w x h cells from left, top has its centre at
    // left + (w - 1) / 2, top + (h - 1) / 2: on the middle cell of an odd
    // side, between the two middle cells of an even one. A flip, or a half
    // turn, keeps the rectangle: for an odd width the middle column stays,
    // for an even one the two middle columns trade places, and so for rows.
    // A quarter turn makes it h x w cells about the same centre when w and h
    // are both odd or both even. When one is odd and the other even no such
    // rectangle has that centre; the turned one lies half a cell from it,
    // left and down for a wide rectangle (w > h), right and up for a tall
    // one, so that turning back gives the rectangle back, and four quarter
    // turns one way give every cell back its place.
    static CellRect turnedArea(const CellRect &area, const Orientation &orientation);
    // Turns the cells of `area` about its centre: they die there, and their
    // turned copies are added to turnedArea(area), where cells of the old
    // rectangle's surroundings stay alive. `area` becomes the turned
    // rectangle. Refuses a turned rectangle that would leave extent().
    static bool turn(Universe &universe, CellRect &area, const Orientation &orientation, std::string &error);

    // Puts the cells of `clip` turned by `orientation` into `universe` with
    // the top-left cell of the turned box on `topLeft`: Or adds them, Copy
    // makes the box's cells inside the universe as in the clip, Xor changes
    // the state of the cells alive in the clip. The rule stays as it is.
    // Refuses when a live cell would land outside extent().
    static bool paste(Universe &universe, const Clip &clip, const Orientation &orientation, CellPoint topLeft,
        Universe::Combination how, std::string &error);
};

#endif // EDITING_H
