#ifndef TOPOLOGY_H
#define TOPOLOGY_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// One cell's place: x grows to the right, y downwards.
struct CellPoint {
    std::int64_t x = 0;
    std::int64_t y = 0;

    bool operator==(const CellPoint &other) const { return x == other.x && y == other.y; }
    bool operator!=(const CellPoint &other) const { return !(*this == other); }
};

// The shape of the world cells live in: the classic 120 x 120 field, a
// bounded rectangle whose edges are joined in one of the ways below, or the
// unbounded plane. A value apart from the engines, so that files, the
// command line and the window name a universe the same way before any of
// them makes one.
//
// How the edges of a width x height rectangle join, as the cell a neighbour
// past an edge stands for (wrap() computes it):
// - plane: none, everything past an edge is dead;
// - torus: (x, -1) is (x, height - 1) and (-1, y) is (width - 1, y), and so
//   on. A shift s on the top and bottom edges makes (x, height) the cell
//   (x + s, 0): what leaves over the bottom comes back over the top s cells
//   further right. A shift on the left and right edges makes (width, y) the
//   cell (0, y + s). Columns and rows count modulo width and height;
// - Klein bottle: one pair of edges joins as in a torus, the other with a
//   twist: twisted top and bottom make (x, -1) the cell (width - 1 - x,
//   height - 1); twisted left and right make (-1, y) the cell (width - 1,
//   height - 1 - y);
// - cross-surface (the projective plane): both pairs join with a twist;
// - sphere (square): the top edge joins the left one, the bottom edge the
//   right one, each running from the corner they share: (x, -1) is (0, x),
//   (-1, y) is (y, 0), (x, side) is (side - 1, x), (side, y) is (y, side - 1).
// A neighbour past a corner is what is reached by crossing one edge and then
// the other, in either order: on a torus or a Klein bottle this is the cell
// of the repeated plane the surface unrolls into; on a cross-surface or a
// sphere, whose corners join fewer than four cells, a corner cell is its own
// neighbour there. The sphere's top-left and bottom-right cells are their own
// neighbours across their two edges as well, since those edges join each other.
class Topology
{
public:
    enum class Kind {
        Classic, // 120 x 120, dead outside, run by GameField
        Plane, // width x height, dead outside
        Torus, // width x height, each edge joins the opposite one, maybe shifted
        KleinBottle, // width x height, one pair of edges joined with a twist
        CrossSurface, // width x height, both pairs joined with a twist
        Sphere, // width x width, top joined to left and bottom to right
        Unbounded, // the whole plane, run by HashLife
    };
    // A pair of opposite edges: the shifted pair of a torus, the twisted pair of a Klein bottle.
    enum class Edges {
        TopBottom, // each as long as the width
        LeftRight, // each as long as the height
    };

    static constexpr std::int64_t ClassicSize = 120;
    static constexpr std::int64_t MaxBoundedCells = std::int64_t(1) << 30; // width * height of a bounded universe
    static constexpr std::int64_t MaxStripSide = std::int64_t(1) << 20; // the size across of a strip

    // The classic field.
    Topology() = default;
    static Topology classic() { return Topology(); }
    // width, height 1.. with width * height <= MaxBoundedCells, or one of
    // them 0 and the other 1..MaxStripSide for a strip; checked by isValid().
    static Topology plane(std::int64_t width, std::int64_t height) { return Topology(Kind::Plane, width, height); }
    static Topology torus(std::int64_t width, std::int64_t height) { return Topology(Kind::Torus, width, height); }
    // A torus whose `shifted` edges join `shift` cells apart: any value, kept modulo the edges' length in
    // the range shift() gives; a shift of 0 makes the plain torus. Precondition: width, height >= 1.
    static Topology shiftedTorus(std::int64_t width, std::int64_t height, Edges shifted, std::int64_t shift);
    static Topology kleinBottle(std::int64_t width, std::int64_t height, Edges twisted)
    {
        return Topology(Kind::KleinBottle, width, height, twisted);
    }
    static Topology crossSurface(std::int64_t width, std::int64_t height)
    {
        return Topology(Kind::CrossSurface, width, height);
    }
    static Topology sphere(std::int64_t side) { return Topology(Kind::Sphere, side, side); }
    static Topology unbounded() { return Topology(Kind::Unbounded, 0, 0); }

    Kind kind() const { return shape; }
    // Whether the universe has a size both ways: neither the unbounded plane nor a strip.
    bool isBounded() const { return shape != Kind::Unbounded && !isStrip(); }
    // An endless strip: a plane or a plain torus with one size 0, unbounded
    // that way (x, or y, anywhere within Universe::CoordinateLimit) and of
    // the other size the other way, dead past a plane's edges, joined round
    // into a tube by a torus's.
    bool isStrip() const { return (shape == Kind::Plane || shape == Kind::Torus) && ((columns == 0) != (rows == 0)); }
    // The size of a strip across, the one that is not 0.
    std::int64_t across() const { return columns == 0 ? rows : columns; }
    // Columns and rows of a bounded universe; 0 for the unbounded plane and the unbounded way of a strip.
    std::int64_t width() const { return columns; }
    std::int64_t height() const { return rows; }
    // The shifted pair of a torus, the twisted pair of a Klein bottle; TopBottom otherwise.
    Edges joinedEdges() const { return pair; }
    // A torus's shift, -(length - 1) / 2 .. length / 2 for the length of the shifted edges; 0 otherwise.
    std::int64_t shift() const { return offset; }
    // Whether the sizes are usable: 1.. each, at most MaxBoundedCells cells, a sphere square; a strip as above.
    bool isValid() const;
    // The cell that pattern files' position (0, 0) stands for: (60, 60) in
    // the classic field, (width / 2, height / 2) in a bounded universe, (0, 0)
    // in the unbounded plane, the middle across at 0 lengthwise in a strip.
    CellPoint centre() const;
    // Its extent for messages: "the field's 120 x 120 cells", "the torus's 500 x 300 cells", or "the
    // unbounded plane, N cells from the origin each way".
    std::string extentText() const;

    // The cell inside that place (x, y) stands for, as the edges join (see
    // above); (x, y) itself inside, none past a plane's edge. Precondition: a
    // valid bounded topology; on a cross-surface or a sphere (x, y) lies at
    // most one cell past the edges (-1..width, -1..height). A strip joins
    // or ends only across.
    std::optional<CellPoint> wrap(std::int64_t x, std::int64_t y) const;

    // The suffix a rule carries for this universe: ":P72,48", ":T30+7,20",
    // ":K40*,20", ":C40,20", ":S30", a strip ":T0,68"; empty for the classic
    // field and the unbounded plane.
    std::string suffix() const;
    // Reads the text after a rule's ':', in any letter case and with blanks
    // anywhere: P (plane), T (torus, "+s" or "-s" after one size shifts the
    // edges as long as it), K (Klein bottle, "*" after the size of the twisted
    // edges), C (cross-surface) with "<width>,<height>", or S<side> (sphere);
    // a plane or a torus without a shift may have one size 0, a strip.
    // Returns the universe, or none and sets `error` to the reason, one line
    // starting "the suffix \":...\"". Never throws but std::bad_alloc.
    static std::optional<Topology> readSuffix(std::string_view text, std::string &error);

    bool operator==(const Topology &other) const
    {
        return shape == other.shape && columns == other.columns && rows == other.rows && pair == other.pair
            && offset == other.offset;
    }
    bool operator!=(const Topology &other) const { return !(*this == other); }

private:
    Topology(Kind kind, std::int64_t width, std::int64_t height, Edges edges = Edges::TopBottom, std::int64_t shift = 0)
        : shape(kind)
        , columns(width)
        , rows(height)
        , pair(edges)
        , offset(shift)
    {
    }

    Kind shape = Kind::Classic;
    std::int64_t columns = ClassicSize;
    std::int64_t rows = ClassicSize;
    Edges pair = Edges::TopBottom;
    std::int64_t offset = 0;
};

#endif // TOPOLOGY_H
