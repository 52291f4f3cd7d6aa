#include <benchmark/benchmark.h>

#include <cstdlib>

#include "benchfields.h"
#include "model/gamefield.h"

namespace
{

// One step from the same start every time: restoring keeps the field busy
// instead of letting it settle (a buffer copy, measured on its own by BM_Snapshot).
void stepFrom(benchmark::State &state, void (*fill)(GameField &))
{
    GameField field;
    fill(field);
    field.saveState();
    for (auto _ : state) {
        state.PauseTiming();
        field.restoreState();
        state.ResumeTiming();
        field.nextGeneration();
    }
}

void BM_NextGenerationRandom(benchmark::State &state) { stepFrom(state, BenchFields::fillRandomly); }

void BM_NextGenerationFull(benchmark::State &state) { stepFrom(state, BenchFields::fillCompletely); }

// Steps on and on, as the running program does, while the soup settles.
void BM_NextGenerationRandomSettling(benchmark::State &state)
{
    GameField field;
    BenchFields::fillRandomly(field);
    for (auto _ : state)
        field.nextGeneration();
}

void BM_LiveCellCount(benchmark::State &state)
{
    GameField field;
    BenchFields::fillRandomly(field);
    for (auto _ : state)
        benchmark::DoNotOptimize(field.liveCellCount());
}

void BM_Snapshot(benchmark::State &state)
{
    GameField field;
    BenchFields::fillRandomly(field);
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
