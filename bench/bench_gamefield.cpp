#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "benchfields.h"
#include "benchrule.h"
#include "model/engine/gamefield.h"
#include "model/engine/rule.h"

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

// The same under other rules, for the ratio to Conway's.
void BM_NextGenerationRandomRule(benchmark::State &state, const char *text)
{
    GameField field;
    field.setRule(benchRule(text));
    BenchFields::fillRandomly(field);
    field.saveState();
    for (auto _ : state) {
        state.PauseTiming();
        field.restoreState();
        state.ResumeTiming();
        field.nextGeneration();
    }
}

// The step as it was before rules, Conway's written out, on buffers laid out as
// the field's own, from the same random field: the yardstick for the step above.
void BM_NextGenerationRandomConwayOnly(benchmark::State &state)
{
    constexpr int B = GameField::BufferSize;
    GameField source;
    BenchFields::fillRandomly(source);
    std::vector<std::vector<GameField::Cell>> rows(B, std::vector<GameField::Cell>(B, 0));
    std::vector<std::vector<GameField::Cell>> next = rows;
    GameField::Cell **cells = source.snapshot();
    for (int r = 0; r < B; ++r)
        std::copy(cells[r], cells[r] + B, rows[r].begin());
    const std::vector<std::vector<GameField::Cell>> saved = rows;
    for (auto _ : state) {
        state.PauseTiming();
        rows = saved;
        state.ResumeTiming();
        for (int r = 1; r <= GameField::FieldSize; ++r) {
            const GameField::Cell *above = rows[r - 1].data();
            const GameField::Cell *row = rows[r].data();
            const GameField::Cell *below = rows[r + 1].data();
            GameField::Cell *target = next[r].data();
            for (int c = 1; c <= GameField::FieldSize; ++c) {
                const int neighbours = above[c - 1] + above[c] + above[c + 1] + row[c - 1] + row[c + 1] + below[c - 1]
                    + below[c] + below[c + 1];
                if (row[c] == 0)
                    target[c] = (neighbours == 3) ? 1 : 0;
                else
                    target[c] = (neighbours == 2 || neighbours == 3) ? 1 : 0;
            }
        }
        for (int r = 0; r < B; ++r) {
            for (int c = 0; c < B; ++c)
                rows[r][c] = next[r][c];
        }
        benchmark::ClobberMemory();
    }
}

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
BENCHMARK(BM_NextGenerationRandomConwayOnly);
BENCHMARK_CAPTURE(BM_NextGenerationRandomRule, HighLife, "B36/S23");
BENCHMARK_CAPTURE(BM_NextGenerationRandomRule, DayAndNight, "B3678/S34678");
BENCHMARK(BM_NextGenerationRandomSettling);
BENCHMARK(BM_NextGenerationFull);
BENCHMARK(BM_LiveCellCount);
BENCHMARK(BM_Snapshot);
BENCHMARK(BM_Randomize);

BENCHMARK_MAIN();
