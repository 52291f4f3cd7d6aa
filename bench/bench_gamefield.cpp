#include <benchmark/benchmark.h>

#include <cstdlib>

#include "model/gamefield.h"

namespace
{

// One live cell in three, like the densest quadrant of a random fill.
void fillRandomly(GameField &field)
{
    std::srand(1);
    GameField::Cell **cells = field.snapshot();
    for (int r = 1; r <= GameField::FieldSize; ++r) {
        for (int c = 1; c <= GameField::FieldSize; ++c)
            cells[r][c] = std::rand() % 3 == 0 ? 1 : 0;
    }
    field.commitSnapshot();
}

void fillCompletely(GameField &field)
{
    GameField::Cell **cells = field.snapshot();
    for (int r = 1; r <= GameField::FieldSize; ++r) {
        for (int c = 1; c <= GameField::FieldSize; ++c)
            cells[r][c] = 1;
    }
    field.commitSnapshot();
}

void BM_NextGenerationRandom(benchmark::State &state)
{
    GameField field;
    fillRandomly(field);
    field.saveState();
    for (auto _ : state) {
        // Restoring keeps the field busy instead of letting it settle; it is
        // one buffer copy, measured on its own below.
        state.PauseTiming();
        field.restoreState();
        state.ResumeTiming();
        field.nextGeneration();
    }
}

void BM_NextGenerationRandomSettling(benchmark::State &state)
{
    GameField field;
    fillRandomly(field);
    for (auto _ : state)
        field.nextGeneration();
}

void BM_NextGenerationFull(benchmark::State &state)
{
    GameField field;
    fillCompletely(field);
    field.saveState();
    for (auto _ : state) {
        state.PauseTiming();
        field.restoreState();
        state.ResumeTiming();
        field.nextGeneration();
    }
}

void BM_LiveCellCount(benchmark::State &state)
{
    GameField field;
    fillRandomly(field);
    for (auto _ : state)
        benchmark::DoNotOptimize(field.liveCellCount());
}

void BM_Snapshot(benchmark::State &state)
{
    GameField field;
    fillRandomly(field);
    for (auto _ : state) {
        benchmark::DoNotOptimize(field.snapshot());
        benchmark::ClobberMemory();
    }
}

void BM_Randomize(benchmark::State &state)
{
    GameField field;
    std::srand(1);
    for (auto _ : state) {
        field.randomize();
        benchmark::ClobberMemory();
    }
}

} // namespace

BENCHMARK(BM_NextGenerationRandom);
BENCHMARK(BM_NextGenerationRandomSettling);
BENCHMARK(BM_NextGenerationFull);
BENCHMARK(BM_LiveCellCount);
BENCHMARK(BM_Snapshot);
BENCHMARK(BM_Randomize);

BENCHMARK_MAIN();
