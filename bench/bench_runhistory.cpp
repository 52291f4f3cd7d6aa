#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "benchfields.h"
#include "benchrule.h"
#include "model/analysis/runhistory.h"
#include "model/engine/gamefield.h"
#include "model/engine/packedfield.h"
#include "model/engine/rule.h"
#include "model/engine/universe.h"

namespace
{

PackedField randomField()
{
    GameField field;
    BenchFields::fillRandomly(field);
    return PackedField::fromBuffer(field.snapshot());
}

// Oscillators of Long Life (B345/S5), one phase each, row by row ('o' alive),
// found by running small symmetric seeds; each is symmetric about its middle row.
const char *const Period16[] = {
    ".....oo.....",
    "............",
    "...oo..oo...",
    ".o.o....o.o.",
    "....oooo....",
    "..o.o..o.o..",
    "..o.oooo.o..",
    "o.o.oooo.o.o",
    "..o.oooo.o..",
    "..o.o..o.o..",
    "....oooo....",
    ".o.o....o.o.",
    "...oo..oo...",
    "............",
    ".....oo.....",
};
const char *const Period54[] = {
    "................",
    "......oooo......",
    "................",
    "....ooo..ooo....",
    "................",
    "..o.ooo..ooo.o..",
    "..o.o......o.o..",
    "oo..o.oooo.o..oo",
    "..ooo.o..o.ooo..",
    "oo....o..o....oo",
    "..ooo.o..o.ooo..",
    "oo..o.oooo.o..oo",
    "..o.o......o.o..",
    "..o.ooo..ooo.o..",
    "................",
    "....ooo..ooo....",
    "................",
    "......oooo......",
    "................",
};
const char *const Period70[] = {
    "..o......o..",
    "....oooo....",
    "oo.o....o.oo",
    "....o..o....",
    "o..o....o..o",
    "....oooo....",
    "oo.o....o.oo",
    "....oooo....",
    ".o.o....o.o.",
    "....oooo....",
    "oo.o....o.oo",
    "....oooo....",
    "o..o....o..o",
    "....o..o....",
    "oo.o....o.oo",
    "....oooo....",
    "..o......o..",
};
const char *const Period142[] = {
    ".......o.o....",
    ".....o.o.o.o..",
    ".....o.o.oo...",
    "...o.o.o..o...",
    "...o.o.o.o.o..",
    ".o...o.o.o.o..",
    ".o...o.o.o...o",
    ".o...o.o.o.o..",
    "...o.o.o.o.o..",
    "...o.o.o..o...",
    ".....o.o.oo...",
    ".....o.o.o.o..",
    ".......o.o....",
};

template <std::size_t Rows> void place(PackedField &field, int top, int left, const char *const (&rows)[Rows])
{
    for (std::size_t r = 0; r < Rows; ++r) {
        for (int c = 0; rows[r][c] != '\0'; ++c)
            field.setAlive(top + static_cast<int>(r), left + c, rows[r][c] == 'o');
    }
}

// The four oscillators stacked about row 60, their right edges at column 64,
// the top bit of a row's first word: a field symmetric about row 60 whose
// period, 1,073,520, outlasts the history's million generations, and whose
// changing cells lie where a hash that carries bits only upward hardly looks.
PackedField longLivedNearColumn64()
{
    PackedField field;
    place(field, 12, 53, Period70);
    place(field, 31, 49, Period54);
    place(field, 53, 53, Period16);
    place(field, 54, 30, Period142);
    place(field, 71, 49, Period54);
    place(field, 92, 53, Period70);
    return field;
}

// The bit-parallel step from the same random field, beside GameField's own
// step on it (BM_NextGenerationRandom in bench_gamefield) for the ratio.
void BM_PackedNext(benchmark::State &state, const char *rule)
{
    const Rule stepRule = benchRule(rule);
    const PackedField start = randomField();
    for (auto _ : state)
        benchmark::DoNotOptimize(start.next(stepRule));
}

// What the history adds to each generation: hash, population, table, checkpoints.
void BM_HistoryAppend(benchmark::State &state)
{
    const Rule replicator = benchRule("Replicator");
    // Fields that never repeat within the run, computed before timing.
    std::vector<PackedField> fields { randomField() };
    for (int i = 0; i < 4096; ++i)
        fields.push_back(fields.back().next(replicator));
    RunHistory history;
    std::size_t i = 0;
    for (auto _ : state) {
        if (i % fields.size() == 0) {
            state.PauseTiming();
            history.reset(fields[0], 1, replicator);
            i = 1;
            state.ResumeTiming();
        }
        history.append(fields[i++]);
    }
}

// "Run until settled" without the window: 100,000 generations of a field that
// does not settle, stepped and recorded. Replicator's rule keeps it busy.
void BM_RunAhead100000(benchmark::State &state)
{
    const Rule replicator = benchRule("Replicator");
    for (auto _ : state) {
        PackedField field = randomField();
        RunHistory history;
        history.reset(field, 1, replicator);
        for (int i = 0; i < 100000; ++i) {
            field = field.next(replicator);
            history.append(field);
        }
        benchmark::DoNotOptimize(history.fate());
    }
}

// Its size after a million generations that never repeated, in MiB.
void BM_HistoryMemoryAfterOneMillion(benchmark::State &state)
{
    const Rule replicator = benchRule("Replicator");
    std::size_t bytes = 0;
    for (auto _ : state) {
        PackedField field = randomField();
        RunHistory history;
        history.reset(field, 1, replicator);
        for (int i = 0; i < RunHistory::GenerationLimit - 1; ++i) {
            field = field.next(replicator);
            history.append(field);
        }
        bytes = history.memoryBytes();
    }
    state.counters["MiB"] = static_cast<double>(bytes) / (1024 * 1024);
}

// "--settle" of a pattern that never settles within the history's reach: a
// million generations stepped and recorded, every hash looked up, every
// match of hashes refuted by recomputing a field.
void BM_SettleLongLivedNearColumn64(benchmark::State &state)
{
    const Rule longLife = benchRule("B345/S5");
    int generations = 0;
    for (auto _ : state) {
        PackedField field = longLivedNearColumn64();
        RunHistory history;
        history.reset(field, 1, longLife);
        while (history.fate() == RunHistory::Fate::Evolving) {
            field = field.next(longLife);
            history.append(field);
        }
        generations = history.lastGeneration() - history.firstGeneration();
    }
    state.counters["generations"] = generations;
}

// A run history of the unbounded plane recording every 8 generations a
// pattern that grows for ever, until it tells how: from one cell, the square
// of every cell born and none dying (quadratic, past 65536 cells by 128
// generations), and the Gosper gun (told at 1024).
void BM_HistoryOfAGrower(benchmark::State &state, const char *rule, std::vector<const char *> rows)
{
    std::int64_t generations = 0;
    for (auto _ : state) {
        const std::unique_ptr<Universe> universe = Universe::create(Topology::unbounded(), benchRule(rule));
        for (std::size_t y = 0; y < rows.size(); ++y) {
            for (std::size_t x = 0; rows[y][x] != '\0'; ++x)
                universe->setCell(static_cast<std::int64_t>(x), static_cast<std::int64_t>(y), rows[y][x] == 'o');
        }
        RunHistory history;
        history.reset(*universe, 1);
        while (history.fate() == RunHistory::Fate::Evolving) {
            universe->advance(8);
            history.append(*universe, history.lastGeneration() + 8);
        }
        generations = history.lastGeneration() - history.firstGeneration();
    }
    state.counters["generations"] = static_cast<double>(generations);
}

} // namespace

BENCHMARK_CAPTURE(BM_PackedNext, Conway, "B3/S23");
BENCHMARK_CAPTURE(BM_PackedNext, HighLife, "B36/S23");
BENCHMARK_CAPTURE(BM_PackedNext, DayAndNight, "B3678/S34678");
BENCHMARK_CAPTURE(BM_PackedNext, Seeds, "B2/S");
BENCHMARK_CAPTURE(BM_PackedNext, Everything, "B012345678/S012345678");
BENCHMARK(BM_HistoryAppend);
BENCHMARK(BM_RunAhead100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HistoryMemoryAfterOneMillion)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SettleLongLivedNearColumn64)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_CAPTURE(BM_HistoryOfAGrower, Square, "B12345678/S012345678", { "o" })->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HistoryOfAGrower, GosperGun, "B3/S23",
    { "........................o", "......................o.o", "............oo......oo............oo",
        "...........o...o....oo............oo", "oo........o.....o...oo", "oo........o...o.oo....o.o",
        "..........o.....o.......o", "...........o...o", "............oo" })
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
