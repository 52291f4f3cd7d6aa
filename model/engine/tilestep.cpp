#include "model/engine/tilestep.h"

#include <atomic>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace
{

using Word = TileStep::Word;
using Outcome = TileStep::Outcome;
constexpr int Side = TileStep::Side;

// A tile's worth of dead cells, for missing neighbours.
const Word deadRows[Side] = {};

const Word *rowsOf(const Word *tile) { return tile ? tile : deadRows; }

// Plain loops over arrays, so that the compiler computes several rows at once
// in whatever instructions it is allowed.
template <typename Decision>
inline __attribute__((always_inline)) Outcome nextTileOf(
    const Word *__restrict rows, const Word *const (&neighbours)[8], Word *__restrict result, const Decision &decide)
{
    const Word *const east = rowsOf(neighbours[2]);
    const Word *const west = rowsOf(neighbours[6]);
    // Sums of rows -1..64 with the columns to their west and east.
    Word ones3[Side + 2];
    Word twos3[Side + 2];
    Word ones2[Side + 2];
    Word twos2[Side + 2];
    const auto sum = [&](int at, Word self, Word westRow, Word eastRow) {
        const LifeBits::RowSums sums
            = LifeBits::rowSums((self << 1) | (westRow >> 63), self, (self >> 1) | (eastRow << 63));
        ones3[at] = sums.ones3;
        twos3[at] = sums.twos3;
        ones2[at] = sums.ones2;
        twos2[at] = sums.twos2;
    };
    sum(0, rowsOf(neighbours[0])[Side - 1], rowsOf(neighbours[7])[Side - 1], rowsOf(neighbours[1])[Side - 1]);
    for (int r = 0; r < Side; ++r)
        sum(r + 1, rows[r], west[r], east[r]);
    sum(Side + 1, rowsOf(neighbours[4])[0], rowsOf(neighbours[5])[0], rowsOf(neighbours[3])[0]);

    Word fromCurrent = 0;
    Word fromPrevious = 0;
    Word columns = 0;
    for (int r = 0; r < Side; ++r) {
        const LifeBits::RowSums above { ones3[r], twos3[r], 0, 0 };
        const LifeBits::RowSums self { 0, 0, ones2[r + 1], twos2[r + 1] };
        const LifeBits::RowSums below { ones3[r + 2], twos3[r + 2], 0, 0 };
        const Word next = decide(LifeBits::addRows(above, self, below), rows[r]);
        fromCurrent |= next ^ rows[r];
        fromPrevious |= next ^ result[r];
        columns |= next;
        result[r] = next;
    }
    return { fromCurrent, fromPrevious, columns, result[0] ^ rows[0], result[Side - 1] ^ rows[Side - 1] };
}

template <typename Decision>
Outcome nextTile(const Word *rows, const Word *const (&neighbours)[8], Word *result, const Decision &decide)
{
    return nextTileOf(rows, neighbours, result, decide);
}

#if defined(__x86_64__)
template <typename Decision>
__attribute__((target("avx2"))) Outcome nextTileWide(
    const Word *rows, const Word *const (&neighbours)[8], Word *result, const Decision &decide)
{
    return nextTileOf(rows, neighbours, result, decide);
}

// Three-input logic operations, named by their truth tables (bit 4a + 2b + c).
constexpr int Parity = 0x96; // a ^ b ^ c
constexpr int Majority = 0xE8; // at least two of a, b, c
constexpr int NotAAndBXorC = 0x06; // ~a & (b ^ c)
constexpr int AAndBOrC = 0xE0; // a & (b | c)
constexpr int AOrBXorC = 0xF6; // a | (b ^ c)

// Every lane selected. The masked forms of the shifts leave no lane undefined,
// which the unmasked ones of some compilers' headers warn about.
constexpr __mmask8 AllLanes = 0xFF;

__attribute__((target("avx512f"), always_inline)) inline Word orLanes(__m512i lanes)
{
    alignas(64) Word words[8];
    _mm512_store_si512(words, lanes);
    return words[0] | words[1] | words[2] | words[3] | words[4] | words[5] | words[6] | words[7];
}

// The sums of a row with its west and east neighbours, in every lane.
__attribute__((target("avx512f"), always_inline)) inline void edgeRow(
    Word self, Word westRow, Word eastRow, __m512i &ones, __m512i &twos)
{
    const Word left = (self << 1) | (westRow >> 63);
    const Word right = (self >> 1) | (eastRow << 63);
    ones = _mm512_set1_epi64(static_cast<long long>(left ^ self ^ right));
    twos = _mm512_set1_epi64(static_cast<long long>((left & right) | (self & (left ^ right))));
}

// The sums of rows first .. first + 7 with their west and east neighbours:
// ones3 and twos3 with the centre, ones2 and twos2 without.
struct BlockSums {
    __m512i self, ones3, twos3, ones2, twos2;
};

__attribute__((target("avx512f"), always_inline)) inline void blockSums(
    const Word *rows, const Word *west, const Word *east, int first, BlockSums &sums)
{
    sums.self = _mm512_loadu_si512(rows + first);
    const __m512i westRows = _mm512_loadu_si512(west + first);
    const __m512i eastRows = _mm512_loadu_si512(east + first);
    const __m512i left = _mm512_or_si512(
        _mm512_maskz_slli_epi64(AllLanes, sums.self, 1), _mm512_maskz_srli_epi64(AllLanes, westRows, 63));
    const __m512i right = _mm512_or_si512(
        _mm512_maskz_srli_epi64(AllLanes, sums.self, 1), _mm512_maskz_slli_epi64(AllLanes, eastRows, 63));
    sums.ones3 = _mm512_ternarylogic_epi64(left, sums.self, right, Parity);
    sums.twos3 = _mm512_ternarylogic_epi64(left, sums.self, right, Majority);
    sums.ones2 = _mm512_xor_si512(left, right);
    sums.twos2 = _mm512_and_si512(left, right);
}

// Conway's rule eight rows at a time. A cell's count is the sum of three
// horizontal sums (the rows above and below, with their centres) and two (its
// own row, without it), each two bits; it lives next when the twos among them
// number exactly one, and then on a carry into the ones or its being alive.
// The blocks of rows above, at and below the one computed roll down the tile
// in registers.
__attribute__((target("avx512f"))) Outcome nextTileWidest(
    const Word *rows, const Word *const (&neighbours)[8], Word *result)
{
    constexpr int Blocks = Side / 8;
    const Word *const east = rowsOf(neighbours[2]);
    const Word *const west = rowsOf(neighbours[6]);
    // The row above the tile in the last lane of `above`, the row below it in the first of `southOnes`.
    BlockSums above {};
    edgeRow(rowsOf(neighbours[0])[Side - 1], rowsOf(neighbours[7])[Side - 1], rowsOf(neighbours[1])[Side - 1],
        above.ones3, above.twos3);
    __m512i southOnes;
    __m512i southTwos;
    edgeRow(rowsOf(neighbours[4])[0], rowsOf(neighbours[5])[0], rowsOf(neighbours[3])[0], southOnes, southTwos);
    BlockSums here;
    blockSums(rows, west, east, 0, here);

    __m512i fromCurrent = _mm512_setzero_si512();
    __m512i fromPrevious = _mm512_setzero_si512();
    __m512i columns = _mm512_setzero_si512();
#pragma GCC unroll 8
    for (int b = 0; b < Blocks; ++b) {
        BlockSums below {};
        if (b + 1 < Blocks) {
            blockSums(rows, west, east, 8 * (b + 1), below);
        } else {
            below.ones3 = southOnes;
            below.twos3 = southTwos;
        }
        // Lane i of the sums above is row 8 b + i - 1, of those below row 8 b + i + 1.
        const __m512i onesAbove = _mm512_maskz_alignr_epi64(AllLanes, here.ones3, above.ones3, 7);
        const __m512i twosAbove = _mm512_maskz_alignr_epi64(AllLanes, here.twos3, above.twos3, 7);
        const __m512i onesBelow = _mm512_maskz_alignr_epi64(AllLanes, below.ones3, here.ones3, 1);
        const __m512i twosBelow = _mm512_maskz_alignr_epi64(AllLanes, below.twos3, here.twos3, 1);
        const __m512i ones = _mm512_ternarylogic_epi64(onesAbove, here.ones2, onesBelow, Parity);
        const __m512i carry = _mm512_ternarylogic_epi64(onesAbove, here.ones2, onesBelow, Majority);
        const __m512i twosOdd = _mm512_ternarylogic_epi64(twosAbove, here.twos2, twosBelow, Parity);
        const __m512i twosMany = _mm512_ternarylogic_epi64(twosAbove, here.twos2, twosBelow, Majority);
        const __m512i oneTwo = _mm512_ternarylogic_epi64(twosMany, twosOdd, carry, NotAAndBXorC);
        const __m512i next = _mm512_ternarylogic_epi64(oneTwo, ones, here.self, AAndBOrC);
        const __m512i previous = _mm512_loadu_si512(result + 8 * b);
        fromCurrent = _mm512_ternarylogic_epi64(fromCurrent, next, here.self, AOrBXorC);
        fromPrevious = _mm512_ternarylogic_epi64(fromPrevious, next, previous, AOrBXorC);
        columns = _mm512_or_si512(columns, next);
        _mm512_storeu_si512(result + 8 * b, next);
        above = here;
        here = below;
    }
    return { orLanes(fromCurrent), orLanes(fromPrevious), orLanes(columns), result[0] ^ rows[0],
        result[Side - 1] ^ rows[Side - 1] };
}

TileStep::Path fastestPath()
{
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f"))
        return TileStep::Path::Widest;
    if (__builtin_cpu_supports("avx2"))
        return TileStep::Path::Wide;
    return TileStep::Path::Portable;
}
#else
TileStep::Path fastestPath() { return TileStep::Path::Portable; }
#endif

std::atomic<TileStep::Path> chosen { fastestPath() };

} // namespace

std::vector<TileStep::Path> TileStep::available()
{
    std::vector<Path> paths { Path::Portable };
    const Path fastest = fastestPath();
    if (fastest != Path::Portable)
        paths.push_back(Path::Wide);
    if (fastest == Path::Widest)
        paths.push_back(Path::Widest);
    return paths;
}

TileStep::Path TileStep::path() { return chosen.load(std::memory_order_relaxed); }

void TileStep::use(Path path) { chosen.store(path, std::memory_order_relaxed); }

TileStep::Outcome TileStep::conway(const Word *rows, const Word *const (&neighbours)[8], Word *result)
{
    switch (chosen.load(std::memory_order_relaxed)) {
#if defined(__x86_64__)
    case Path::Widest:
        return nextTileWidest(rows, neighbours, result);
    case Path::Wide:
        return nextTileWide(rows, neighbours, result, LifeBits::ConwayDecision());
#endif
    default:
        return nextTile(rows, neighbours, result, LifeBits::ConwayDecision());
    }
}

TileStep::Outcome TileStep::anyRule(
    const LifeBits::RuleDecision &decide, const Word *rows, const Word *const (&neighbours)[8], Word *result)
{
#if defined(__x86_64__)
    // The widest path knows Conway's rule only; the wide one decides any.
    if (chosen.load(std::memory_order_relaxed) != Path::Portable)
        return nextTileWide(rows, neighbours, result, decide);
#endif
    return nextTile(rows, neighbours, result, decide);
}
