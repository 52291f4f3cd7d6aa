#include "model/engine/neighbourshapes.h"

#include <array>
#include <initializer_list>

namespace
{

constexpr unsigned NW = 1U << 0;
constexpr unsigned N = 1U << 1;
constexpr unsigned NE = 1U << 2;
constexpr unsigned W = 1U << 3;
constexpr unsigned E = 1U << 4;
constexpr unsigned SW = 1U << 5;
constexpr unsigned S = 1U << 6;
constexpr unsigned SE = 1U << 7;

constexpr unsigned HexagonalMask = NW | N | W | E | S | SE;
constexpr unsigned VonNeumannMask = N | W | E | S;

// One shape of each letter of 1..4 Moore neighbours; 5..7 neighbours are
// the shapes of 3..1 turned inside out, under the same letters.
struct Shape {
    char letter;
    unsigned bits;
};
const std::initializer_list<Shape> MooreShapes[5] = {
    {},
    { { 'c', NW }, { 'e', N } },
    { { 'c', NW | NE }, { 'e', N | E }, { 'k', N | SW }, { 'a', NW | N }, { 'i', N | S }, { 'n', NW | SE } },
    { { 'c', NW | NE | SE }, { 'e', N | E | W }, { 'k', N | E | SW }, { 'a', NW | N | W }, { 'i', NW | W | SW },
        { 'n', NW | N | SE }, { 'y', NW | NE | S }, { 'q', NW | N | E }, { 'j', N | S | SW }, { 'r', NW | NE | E } },
    { { 'c', NW | NE | SW | SE }, { 'e', N | W | E | S }, { 'k', N | E | S | NW }, { 'a', NW | NE | N | E },
        { 'i', NW | NE | W | E }, { 'n', NW | SE | N | W }, { 'y', NW | NE | SE | W }, { 'q', NW | NE | SE | N },
        { 'j', NW | NE | S | E }, { 'r', N | E | S | NE }, { 't', NW | NE | N | S }, { 'w', NW | SE | N | E },
        { 'z', NW | SE | N | S } },
};
const char *const MooreLetters[9]
    = { "", "ce", "cekain", "cekainyqjr", "cekainyqjrtwz", "cekainyqjr", "cekain", "ce", "" };

// The six hexagonal neighbours in order around the cell.
constexpr unsigned HexagonalRing[6] = { NW, N, E, SE, S, W };
// One shape of each letter of 2 and 3 neighbours, as places on the ring:
// side by side (o), one apart (m), opposite (p); 4 neighbours are the
// shapes of 2 turned inside out.
const std::initializer_list<std::initializer_list<int>> HexagonalShapes[2]
    = { { { 0, 1 }, { 0, 2 }, { 0, 3 } }, { { 0, 1, 2 }, { 0, 1, 3 }, { 0, 2, 4 } } };
const char *const HexagonalLetters[7] = { "", "", "omp", "omp", "omp", "", "" };

unsigned bitAt(int dx, int dy) { return 1U << ((dy + 1) * 3 + (dx + 1) - (dy > 0 || (dy == 0 && dx > 0) ? 1 : 0)); }

// `bits` turned a quarter `turns` times, then mirrored left to right if `mirror`.
unsigned transformed(unsigned bits, int turns, bool mirror)
{
    unsigned result = 0;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if ((dx == 0 && dy == 0) || (bits & bitAt(dx, dy)) == 0)
                continue;
            int x = dx;
            int y = dy;
            for (int t = 0; t < turns; ++t) {
                const int turned = -y;
                y = x;
                x = turned;
            }
            result |= bitAt(mirror ? -x : x, y);
        }
    }
    return result;
}

unsigned onRing(unsigned places)
{
    unsigned bits = 0;
    for (int i = 0; i < 6; ++i) {
        if ((places >> i) & 1U)
            bits |= HexagonalRing[i];
    }
    return bits;
}

struct Tables {
    std::array<char, 256> moore {};
    std::array<char, 256> hexagonal {};

    Tables()
    {
        for (int count = 1; count <= 7; ++count) {
            const bool inverted = count > 4;
            for (const Shape &shape : MooreShapes[inverted ? 8 - count : count]) {
                const unsigned bits = inverted ? ~shape.bits & 0xFFU : shape.bits;
                for (int turns = 0; turns < 4; ++turns) {
                    moore[transformed(bits, turns, false)] = shape.letter;
                    moore[transformed(bits, turns, true)] = shape.letter;
                }
            }
        }
        for (int count = 2; count <= 4; ++count) {
            const bool inverted = count == 4;
            int index = 0;
            for (const auto &places : HexagonalShapes[inverted ? 0 : count - 2]) {
                unsigned ring = 0;
                for (const int place : places)
                    ring |= 1U << place;
                if (inverted)
                    ring = ~ring & 0x3FU;
                for (int turn = 0; turn < 6; ++turn) {
                    const unsigned turned = ((ring << turn) | (ring >> (6 - turn))) & 0x3FU;
                    unsigned mirrored = 0;
                    for (int i = 0; i < 6; ++i)
                        mirrored |= ((turned >> i) & 1U) << ((6 - i) % 6);
                    hexagonal[onRing(turned)] = HexagonalLetters[count][index];
                    hexagonal[onRing(mirrored)] = HexagonalLetters[count][index];
                }
                ++index;
            }
        }
    }
};

const Tables &tables()
{
    static const Tables built;
    return built;
}

} // namespace

unsigned NeighbourShapes::mask(Neighbourhood neighbourhood)
{
    switch (neighbourhood) {
    case Neighbourhood::Hexagonal:
        return HexagonalMask;
    case Neighbourhood::VonNeumann:
        return VonNeumannMask;
    case Neighbourhood::Moore:
        break;
    }
    return 0xFFU;
}

int NeighbourShapes::size(Neighbourhood neighbourhood) { return __builtin_popcount(mask(neighbourhood)); }

const char *NeighbourShapes::letters(Neighbourhood neighbourhood, int count)
{
    if (count < 0 || count > size(neighbourhood))
        return "";
    switch (neighbourhood) {
    case Neighbourhood::Hexagonal:
        return HexagonalLetters[count];
    case Neighbourhood::VonNeumann:
        return "";
    case Neighbourhood::Moore:
        break;
    }
    return MooreLetters[count];
}

char NeighbourShapes::letter(Neighbourhood neighbourhood, unsigned neighbours)
{
    const unsigned bits = neighbours & mask(neighbourhood);
    switch (neighbourhood) {
    case Neighbourhood::Hexagonal:
        return tables().hexagonal[bits];
    case Neighbourhood::VonNeumann:
        return 0;
    case Neighbourhood::Moore:
        break;
    }
    return tables().moore[bits];
}
