// Any bytes as a small experiment in the unbounded plane: a rule, small
// objects placed near tile edges and corners (now and then near the edge of
// the plane), then single steps, short jumps and edits of single cells in
// any order. Every engine must hold exactly the cells a plain count of
// neighbours gives, at every point, HashLife of byte states among them; see
// EngineComparison.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/engine/rule.h"
#include "tests/enginecomparison.h"
#include "tests/fuzz/fuzzrequire.h"

namespace
{

// The bytes read one at a time, zeros once they run out.
class Bytes
{
public:
    Bytes(const std::uint8_t *data, std::size_t size)
        : data(data)
        , size(size)
    {
    }
    bool atEnd() const { return at >= size; }
    unsigned next() { return at < size ? data[at++] : 0U; }
    // -range..range - 1
    std::int64_t centred(unsigned range) { return static_cast<std::int64_t>(next() % (2 * range)) - range; }

private:
    const std::uint8_t *data;
    std::size_t size;
    std::size_t at = 0;
};

const char *const Rules[]
    = { "B3/S23", "B36/S23", "B3/S2378", "B2/S", "B1/S12", "B35678/S5678", "B34/S34", "B3/S012345678" };
constexpr std::int64_t Tile = 64;
constexpr std::int64_t MaxCells = 400;
constexpr std::uint64_t MaxGenerations = 120;
constexpr std::uint64_t PlaneCells = std::uint64_t(1) << 16;
// Past this many live cells a run says little more, slowly.
constexpr std::size_t MaxPopulation = 1000;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Bytes bytes(data, size);
    Rule rule;
    std::string error;
    require(Rule::read(Rules[bytes.next() % (sizeof Rules / sizeof *Rules)], rule, error), "the rules read");

    // Objects of up to 4 x 4 cells from their bits, each near a tile corner
    // or edge; all of them near the far corner of the plane now and then.
    const bool far = bytes.next() % 8 == 0;
    const std::int64_t originX = far ? Universe::CoordinateLimit - 8 * Tile : 0;
    const std::int64_t originY = far ? 8 * Tile - Universe::CoordinateLimit : 0;
    std::vector<CellPoint> start;
    const unsigned objects = 1 + bytes.next() % 12;
    for (unsigned k = 0; k < objects && static_cast<std::int64_t>(start.size()) < MaxCells; ++k) {
        const std::int64_t x = originX + Tile * bytes.centred(4) + bytes.centred(8);
        const std::int64_t y = originY + Tile * bytes.centred(4) + bytes.centred(8);
        const unsigned bits = bytes.next() | bytes.next() << 8;
        for (int cell = 0; cell < 16; ++cell) {
            if ((bits >> cell) & 1)
                start.push_back({ x + cell % 4, y + cell / 4 });
        }
    }
    // A small bounded plane, so that the instrumented build runs many inputs a second.
    EngineComparison engines(start, rule, MaxGenerations, PlaneCells, true);
    require(engines.mismatch().empty(), engines.mismatch().c_str());

    std::uint64_t generations = 0;
    while (
        !bytes.atEnd() && generations < MaxGenerations && !engines.ended() && engines.population() <= MaxPopulation) {
        const unsigned action = bytes.next();
        if (action % 4 == 3) {
            const CellPoint &near = start.empty() ? CellPoint { originX, originY } : start[bytes.next() % start.size()];
            engines.edit(near.x + bytes.centred(4), near.y + bytes.centred(4), (action & 4) != 0);
        } else {
            const std::uint64_t step = action % 4 == 0 ? 1 + bytes.next() % 16 : 1 + action / 4 % 4;
            engines.advance(step);
            generations += step;
        }
        require(engines.mismatch().empty(), engines.mismatch().c_str());
    }
    return 0;
}
