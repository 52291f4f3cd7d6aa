#ifndef CLIP_H
#define CLIP_H

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "model/engine/hashlife.h"
#include "model/engine/orientation.h"
#include "model/engine/rule.h"
#include "model/engine/universe.h"
#include "model/files/pattern.h"

// A pattern held to be pasted, from the clipboard say: its cells with the
// top-left cell of its box at (0, 0), in each of the eight orientations,
// each made when first asked for and then kept. The outline that follows the
// pointer is these cells, drawn as any universe is drawn, and turning the
// outline back and forth makes nothing anew.
class Clip
{
public:
    // The cells of `pattern` and its box: the one its file gives, grown to
    // hold every live cell; none for a file with neither a size nor cells.
    // Throws UniverseError when memory runs out, or when the live cells span
    // more than CoordinateLimit + 1 cells, beyond what the plane can place.
    explicit Clip(const Pattern &pattern);

    // The rule the file names, if it names one.
    const std::optional<Rule> &rule() const { return fileRule; }
    // Whether the box is empty: then there is nothing to paste.
    bool isEmpty() const { return columns == 0; }
    // The box turned by `orientation`, its top-left cell at (0, 0): columns x
    // rows of the file, or rows x columns if it swaps sides; each 0..2 *
    // CoordinateLimit + 1. Precondition: !isEmpty().
    CellRect box(const Orientation &orientation) const;
    // The live cells turned by `orientation` within the box, its top-left cell
    // at (0, 0), valid as long as the clip. Throws UniverseError when memory
    // runs out. Precondition: !isEmpty().
    const HashLife &cells(const Orientation &orientation) const;
    // Calls `visit` for each of those cells in a state above 1, turned as
    // cells() turns them, with its state.
    void forEachStatedCell(
        const Orientation &orientation, const std::function<void(CellPoint cell, std::uint8_t state)> &visit) const;

private:
    std::int64_t columns = 0;
    std::int64_t rows = 0;
    std::optional<Rule> fileRule;
    std::vector<Pattern::StatedCell> states; // as Pattern's, counted from the box's top-left cell
    mutable std::array<std::optional<HashLife>, Orientation::Count> turned; // by Orientation::index()
};

#endif // CLIP_H
