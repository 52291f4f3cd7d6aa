#include "model/engine/gamefield.h"

#include <cstdlib>
#include <ctime>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace
{

// Each quadrant's density is one live cell in m, with m drawn from 3..9.
constexpr int MinimumDensityModulus = 3;
constexpr int DensityModulusRange = 7;

int densityModulus(int draw) { return draw % DensityModulusRange + MinimumDensityModulus; }

} // namespace

GameField::GameField()
{
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    try {
        currentBuffer = allocateBuffer();
        savedBuffer = allocateBuffer();
        nextBuffer = allocateBuffer();
        snapshotBuffer = allocateBuffer();
    } catch (...) {
        // The destructor does not run for a half-built object.
        freeBuffer(currentBuffer);
        freeBuffer(savedBuffer);
        freeBuffer(nextBuffer);
        freeBuffer(snapshotBuffer);
        throw;
    }

    zeroBuffer(currentBuffer);
    zeroBuffer(savedBuffer);
    zeroBuffer(nextBuffer);
    zeroBuffer(snapshotBuffer);
}

GameField::~GameField()
{
    freeBuffer(currentBuffer);
    freeBuffer(savedBuffer);
    freeBuffer(nextBuffer);
    freeBuffer(snapshotBuffer);
}

GameField::Cell **GameField::snapshot()
{
    copyBuffer(snapshotBuffer, currentBuffer);
    return snapshotBuffer;
}

void GameField::commitSnapshot() { copyBuffer(currentBuffer, snapshotBuffer); }

void GameField::saveState() { copyBuffer(savedBuffer, currentBuffer); }

void GameField::restoreState() { copyBuffer(currentBuffer, savedBuffer); }

void GameField::clear() { zeroBuffer(currentBuffer); }

int GameField::liveCellCount() const
{
    int count = 0;
    for (int r = 1; r <= FieldSize; ++r) {
        for (int c = 1; c <= FieldSize; ++c) {
            if (currentBuffer[r][c] == 1)
                ++count;
        }
    }
    return count;
}

void GameField::randomize()
{
    const int bottomRight = densityModulus(std::rand());
    const int bottomLeft = densityModulus(std::rand());
    const int topLeft = densityModulus(std::rand());
    const int topRight = densityModulus(std::rand());

    for (int r = 1; r <= FieldSize; ++r) {
        const bool bottom = r > QuadrantSplit;
        for (int c = 1; c <= FieldSize; ++c) {
            const bool right = c > QuadrantSplit;
            const int modulus = bottom ? (right ? bottomRight : bottomLeft) : (right ? topRight : topLeft);
            currentBuffer[r][c] = (std::rand() % modulus == 0) ? 1 : 0;
        }
    }
}

void GameField::nextGeneration()
{
    // Bits 0..8: born with that many neighbours; bits 9..17: survives with
    // that many less 9. One shift and mask per cell decides it. A local, so
    // that the cells written below cannot make it be read again for every cell.
    const std::uint32_t rule
        = currentRule.birthCounts() | (static_cast<std::uint32_t>(currentRule.survivalCounts()) << 9);
    for (int r = 1; r <= FieldSize; ++r) {
        const Cell *above = currentBuffer[r - 1];
        const Cell *row = currentBuffer[r];
        const Cell *below = currentBuffer[r + 1];
        Cell *target = nextBuffer[r];
#if defined(__SSE2__)
        // Four cells at a time. A rule is a bit per (neighbours, alive), and
        // picking a bit by a count needs a shift by a different amount in
        // each lane, which SSE2 lacks: 2 to the power of the bit's index is
        // made as a float instead, its exponent being the index.
        static_assert(FieldSize % 4 == 0, "rows are stepped four cells at a time");
        const auto load = [](const Cell *cells) { return _mm_loadu_si128(reinterpret_cast<const __m128i *>(cells)); };
        const __m128i ruleBits = _mm_set1_epi32(static_cast<int>(rule));
        const __m128i floatBias = _mm_set1_epi32(127);
        const __m128i one = _mm_set1_epi32(1);
        const __m128i zero = _mm_setzero_si128();
        for (int c = 1; c <= FieldSize; c += 4) {
            const __m128i neighbours = _mm_add_epi32(_mm_add_epi32(_mm_add_epi32(load(above + c - 1), load(above + c)),
                                                         _mm_add_epi32(load(above + c + 1), load(row + c - 1))),
                _mm_add_epi32(_mm_add_epi32(load(row + c + 1), load(below + c - 1)),
                    _mm_add_epi32(load(below + c), load(below + c + 1))));
            const __m128i alive = _mm_andnot_si128(_mm_cmpeq_epi32(load(row + c), zero), one);
            const __m128i index = _mm_add_epi32(neighbours, _mm_add_epi32(_mm_slli_epi32(alive, 3), alive));
            // An index outside 0..17 (a broken invariant) makes a power the rule has no bit for: dead.
            const __m128i power
                = _mm_cvttps_epi32(_mm_castsi128_ps(_mm_slli_epi32(_mm_add_epi32(index, floatBias), 23)));
            const __m128i dead = _mm_cmpeq_epi32(_mm_and_si128(power, ruleBits), zero);
            _mm_storeu_si128(reinterpret_cast<__m128i *>(target + c), _mm_andnot_si128(dead, one));
        }
#else
        for (int c = 1; c <= FieldSize; ++c) {
            const int neighbours = above[c - 1] + above[c] + above[c + 1] + row[c - 1] + row[c + 1] + below[c - 1]
                + below[c] + below[c + 1];
            // Cells hold 0 or 1, so the shift is 0..17; the mask only keeps a
            // broken invariant from becoming undefined behaviour.
            const unsigned shift = static_cast<unsigned>(neighbours + (row[c] != 0 ? 9 : 0)) & 31U;
            target[c] = static_cast<Cell>((rule >> shift) & 1U);
        }
#endif
    }
    copyBuffer(currentBuffer, nextBuffer);
}

void GameField::setRule(const Rule &rule) { currentRule = rule; }

GameField::Cell **GameField::allocateBuffer()
{
    // Value-initialised, so that freeBuffer() can tell the rows already taken
    // if one of the later allocations fails.
    Cell **buffer = new Cell *[BufferSize]();
    try {
        for (int r = 0; r < BufferSize; ++r)
            buffer[r] = new Cell[BufferSize];
    } catch (...) {
        freeBuffer(buffer);
        throw;
    }
    return buffer;
}

void GameField::freeBuffer(Cell **buffer)
{
    if (!buffer)
        return;
    for (int r = 0; r < BufferSize; ++r)
        delete[] buffer[r];
    delete[] buffer;
}

void GameField::zeroBuffer(Cell **buffer)
{
    for (int r = 0; r < BufferSize; ++r) {
        for (int c = 0; c < BufferSize; ++c)
            buffer[r][c] = 0;
    }
}

void GameField::copyBuffer(Cell **destination, Cell *const *source)
{
    for (int r = 0; r < BufferSize; ++r) {
        for (int c = 0; c < BufferSize; ++c)
            destination[r][c] = source[r][c];
    }
}
