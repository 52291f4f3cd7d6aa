#include "model/gamefield.h"

#include <cstdlib>
#include <ctime>

namespace
{

// Each quadrant's density is one live cell in m, with m drawn from 3..9.
constexpr int MinimumDensityModulus = 3;
constexpr int DensityModulusRange = 7;

int densityModulus(int draw) { return draw % DensityModulusRange + MinimumDensityModulus; }

} // namespace

GameField::GameField()
{
    setRule(Rule());
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
    for (int r = 1; r <= FieldSize; ++r) {
        const Cell *above = currentBuffer[r - 1];
        const Cell *row = currentBuffer[r];
        const Cell *below = currentBuffer[r + 1];
        Cell *target = nextBuffer[r];
        for (int c = 1; c <= FieldSize; ++c) {
            const int neighbours = above[c - 1] + above[c] + above[c + 1] + row[c - 1] + row[c + 1] + below[c - 1]
                + below[c] + below[c + 1];
            // Cells hold 0 or 1, so the shift is 0..17; the mask only keeps a
            // broken invariant from becoming undefined behaviour.
            const unsigned shift = static_cast<unsigned>(neighbours + (row[c] != 0 ? 9 : 0)) & 31U;
            target[c] = static_cast<Cell>((transitions >> shift) & 1U);
        }
    }
    copyBuffer(currentBuffer, nextBuffer);
}

void GameField::setRule(const Rule &rule)
{
    currentRule = rule;
    transitions = rule.birthCounts() | (static_cast<std::uint32_t>(rule.survivalCounts()) << 9);
}

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
