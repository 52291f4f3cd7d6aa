#ifndef MACROCELL_H
#define MACROCELL_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/engine/hashlife.h"
#include "model/engine/rule.h"
#include "model/engine/statehashlife.h"
#include "model/engine/topology.h"

// What a macrocell file holds.
struct MacrocellContent {
    // The cells not dead, under the file's rule if it names one; under a
    // two-state rule with birth on 0, the live cells on a dead background,
    // under BackgroundUniverse::steppedRule() of it.
    HashLife universe;
    // The cells with their states, for a file of state numbers; `universe`
    // then holds the same cells, all alive.
    std::optional<StateHashLife> states;
    std::string name; // from #N; may be empty
    std::vector<std::string> comments; // the #C lines in order, without their marks
    std::optional<Rule> rule; // from #R
    std::optional<Topology> topology; // from the suffix of #R's rule, if it has one
    // From #G, 0..MaxGeneration: the generations computed since the pattern
    // was first drawn, which is generation 0.
    std::optional<std::int64_t> generation;
};

// The macrocell format, in which huge patterns are shared: the quadtree of
// the unbounded plane written out node by node, every distinct square once,
// so that a regular pattern of 2^40 x 2^40 cells stays a few lines long.
//
// After a first line starting with [M2] and optional #R, #G, #N and #C lines,
// each line is one node, numbered from 1: an 8 x 8 leaf as rows of '.' and
// '*', each ended by '$' (trailing dead cells and rows left out), or
// "level nw ne sw se" with the numbers of earlier nodes of the level below, 0
// for an empty quarter. The last node is the pattern, its top-left cell at
// -2^(level-1), -2^(level-1). Every other node is a quarter of a later one:
// one that is not tells a file cut short. Under rules of more states the
// smallest nodes are "1 nw ne sw se", the states (0..255) of 2 x 2 cells,
// and the nodes of levels 2 and up list the numbers of earlier ones.
class Macrocell
{
public:
    Macrocell() = delete;

    static constexpr std::size_t MaxFileSize = std::size_t(256) << 20; // bytes; larger input is refused unread
    static constexpr std::size_t MaxNodes = std::size_t(1) << 25; // node lines; more are refused
    static constexpr int MaxLevel = 61; // 2^61 cells a side: the largest square within CoordinateLimit
    // The largest #G read, as RLE's Gen= is bounded: far enough below
    // INT64_MAX that counting on from it cannot overflow.
    static constexpr std::int64_t MaxGeneration = 999999999999999999;

    // Returns true and replaces `content`, or false and sets `error` to a
    // one-line message naming the line and the problem; `content` is then
    // left as it was. Never throws; any input at all ends in one of the two.
    static bool read(std::string_view bytes, MacrocellContent &content, std::string &error);
    // The file for `universe` at `generation` (0..) under `rule`, with its
    // name and comments; line breaks within them are written as spaces. The
    // rule carries the suffix of `topology` when that is bounded but not the classic field,
    // `universe` then holding its cells counted from its centre.
    static std::string write(const HashLife &universe, const Rule &rule, std::int64_t generation,
        const std::string &name, const std::vector<std::string> &comments,
        const Topology &topology = Topology::unbounded());
    // The same with the cells' states, in nodes of state numbers.
    static std::string write(const StateHashLife &universe, const Rule &rule, std::int64_t generation,
        const std::string &name, const std::vector<std::string> &comments,
        const Topology &topology = Topology::unbounded());
};

#endif // MACROCELL_H
