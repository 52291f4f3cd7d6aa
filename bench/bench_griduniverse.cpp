#include <benchmark/benchmark.h>

#include <optional>
#include <random>
#include <string>

#include "benchfields.h"
#include "benchrule.h"
#include "model/engine/gamefield.h"
#include "model/engine/griduniverse.h"
#include "model/engine/packedfield.h"
#include "model/engine/rule.h"

namespace
{

// One generation of a 1000 x 1000 torus of random cells, half of them alive
// at first; the soup stays busy far longer than any run of this benchmark.
void BM_Torus1000Generation(benchmark::State &state, const char *rule)
{
    GridUniverse torus(Topology::torus(1000, 1000), benchRule(rule));
    std::mt19937 generator(1);
    for (std::int64_t y = 0; y < 1000; ++y) {
        for (std::int64_t x = 0; x < 1000; ++x)
            torus.setCell(x, y, (generator() & 1U) != 0);
    }
    for (auto _ : state)
        torus.advance(1);
    state.counters["cells/s"] = benchmark::Counter(1e6, benchmark::Counter::kIsIterationInvariantRate);
}

// As above on a surface whose edges join otherwise, named by a rule's suffix:
// gathering the rows past the edges must cost little beside the step.
void BM_Surface1000Generation(benchmark::State &state, const char *rule)
{
    Rule read;
    std::optional<Topology> shape;
    std::string error;
    Rule::read(rule, read, shape, error);
    GridUniverse surface(*shape, read);
    std::mt19937 generator(1);
    for (std::int64_t y = 0; y < 1000; ++y) {
        for (std::int64_t x = 0; x < 1000; ++x)
            surface.setCell(x, y, (generator() & 1U) != 0);
    }
    for (auto _ : state)
        surface.advance(1);
    state.counters["cells/s"] = benchmark::Counter(1e6, benchmark::Counter::kIsIterationInvariantRate);
}

// The classic field's cells as a 120 x 120 plane, beside PackedField::next()
// on the same cells: the plane must not be much slower. The plane starts
// again from the random cells every 64 generations, before they settle.
void BM_Plane120Generation(benchmark::State &state)
{
    GameField field;
    BenchFields::fillRandomly(field);
    const PackedField start = PackedField::fromBuffer(field.snapshot());
    GridUniverse first(Topology::plane(120, 120));
    for (int r = 1; r <= GameField::FieldSize; ++r) {
        for (int c = 1; c <= GameField::FieldSize; ++c)
            first.setCell(c - 1, r - 1, start.isAlive(r, c));
    }
    std::unique_ptr<Universe> plane = first.clone();
    int generation = 0;
    for (auto _ : state) {
        if (++generation == 64) {
            state.PauseTiming();
            plane = first.clone();
            generation = 0;
            state.ResumeTiming();
        }
        plane->advance(1);
    }
}

// A torus of 16,384 x 16,384 cells under a rule of many states, a byte a
// cell (256 MiB), a third of it alive, given Life: what Stop costs when the
// run's thread has not yet converted the saved cells to the run's rule.
void BM_ManyStatesToLife16384(benchmark::State &state, const char *rule)
{
    constexpr std::int64_t side = std::int64_t(1) << 14;
    GridUniverse torus(Topology::torus(side, side), benchRule(rule));
    torus.fillRandom(CellRect { 0, 0, side - 1, side - 1 }, 0.3, 1);
    const Rule life = benchRule("B3/S23");
    for (auto _ : state) {
        std::unique_ptr<Universe> converted = torus.clone();
        converted->setRule(life);
        benchmark::DoNotOptimize(converted.get());
        state.PauseTiming();
        converted.reset();
        state.ResumeTiming();
    }
}

void BM_PackedFieldNext(benchmark::State &state)
{
    GameField field;
    BenchFields::fillRandomly(field);
    const PackedField start = PackedField::fromBuffer(field.snapshot());
    for (auto _ : state)
        benchmark::DoNotOptimize(start.next(Rule()));
}

} // namespace

BENCHMARK_CAPTURE(BM_Torus1000Generation, Conway, "B3/S23")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Torus1000Generation, HighLife, "B36/S23")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Surface1000Generation, KleinBottle, "B3/S23:K1000*,1000")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Surface1000Generation, Sphere, "B3/S23:S1000")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Surface1000Generation, ShiftedTorus, "B3/S23:T1000,1000+7")->Unit(benchmark::kMicrosecond);
// The families run a byte a cell.
BENCHMARK_CAPTURE(BM_Torus1000Generation, BriansBrain, "B2/S/C3")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Torus1000Generation, NonTotalistic, "B37/S2-i34q")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Torus1000Generation, Hexagonal, "B2/S34H")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Torus1000Generation, LifeHistory, "LifeHistory")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ManyStatesToLife16384, BriansBrain, "B2/S/C3")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ManyStatesToLife16384, LifeHistory, "LifeHistory")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Plane120Generation);
BENCHMARK(BM_PackedFieldNext);

BENCHMARK_MAIN();
