#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "benchfields.h"
#include "model/analysis/runhistory.h"
#include "model/engine/gamefield.h"
#include "model/engine/packedfield.h"
#include "model/engine/rule.h"

namespace
{

Rule ruleNamed(const char *text)
{
    Rule rule;
    std::string error;
    Rule::read(text, rule, error);
    return rule;
}

PackedField randomField()
{
    GameField field;
    BenchFields::fillRandomly(field);
    return PackedField::fromBuffer(field.snapshot());
}

// The bit-parallel step from the same random field, beside GameField's own
// step on it (BM_NextGenerationRandom in bench_gamefield) for the ratio.
void BM_PackedNext(benchmark::State &state, const char *rule)
{
    const Rule stepRule = ruleNamed(rule);
    const PackedField start = randomField();
    for (auto _ : state)
        benchmark::DoNotOptimize(start.next(stepRule));
}

// What the history adds to each generation: hash, population, table, checkpoints.
void BM_HistoryAppend(benchmark::State &state)
{
    const Rule replicator = ruleNamed("Replicator");
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
    const Rule replicator = ruleNamed("Replicator");
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
    const Rule replicator = ruleNamed("Replicator");
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

} // namespace

BENCHMARK_CAPTURE(BM_PackedNext, Conway, "B3/S23");
BENCHMARK_CAPTURE(BM_PackedNext, HighLife, "B36/S23");
BENCHMARK_CAPTURE(BM_PackedNext, DayAndNight, "B3678/S34678");
BENCHMARK_CAPTURE(BM_PackedNext, Seeds, "B2/S");
BENCHMARK_CAPTURE(BM_PackedNext, Everything, "B012345678/S012345678");
BENCHMARK(BM_HistoryAppend);
BENCHMARK(BM_RunAhead100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HistoryMemoryAfterOneMillion)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
