#include <benchmark/benchmark.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "benchrule.h"
#include "model/analysis/census.h"
#include "model/analysis/censussearch.h"
#include "model/analysis/objectlibrary.h"
#include "model/analysis/stabilisation.h"

namespace
{

// The R-pentomino and the acorn, typed in here.
const std::vector<CellPoint> rPentomino { { 1, 0 }, { 2, 0 }, { 0, 1 }, { 1, 1 }, { 1, 2 } };
const std::vector<CellPoint> acorn { { 1, 0 }, { 3, 1 }, { 0, 2 }, { 1, 2 }, { 4, 2 }, { 5, 2 }, { 6, 2 } };

// Lifespan, population and census from the pattern as opened, as `--census` asks for them.
void BM_StabiliseAndCensus(benchmark::State &state, const std::vector<CellPoint> *cells)
{
    std::size_t objects = 0;
    for (auto _ : state) {
        Stabilisation stabilisation { *cells, Rule() };
        const Stabilisation::Result &result = stabilisation.run(100000);
        objects = 0;
        for (const CensusEntry &entry : result.census)
            objects += entry.count;
        benchmark::DoNotOptimize(result.stableSince);
    }
    state.counters["objects"] = static_cast<double>(objects);
}

// A settled field of about 100,000 cells: still lifes and period 2
// oscillators of the library, one in every 8 x 8 square, in turn.
std::vector<CellPoint> stableField()
{
    const char *names[] = { "block", "beehive", "loaf", "boat", "blinker", "toad", "ship", "pond", "beacon" };
    std::vector<const ObjectLibrary::Object *> objects;
    for (const ObjectLibrary::Object &object : ObjectLibrary::conway().objects()) {
        if (std::any_of(
                std::begin(names), std::end(names), [&object](const char *name) { return object.singular == name; }))
            objects.push_back(&object);
    }
    std::vector<CellPoint> field;
    for (std::int64_t i = 0; field.size() < 100000; ++i) {
        for (const CellPoint &cell : objects[static_cast<std::size_t>(i) % objects.size()]->cells)
            field.push_back({ cell.x + (i % 128) * 8, cell.y + (i / 128) * 8 });
    }
    return field;
}

void BM_CensusOfStableField(benchmark::State &state)
{
    const std::vector<CellPoint> field = stableField();
    for (auto _ : state) {
        Census census((Rule()));
        census.add(field, 2, false);
        benchmark::DoNotOptimize(census.objectCount());
    }
    state.counters["cells"] = static_cast<double>(field.size());
}

// A glider heading down to the right for an eater 1 `distance` cells down
// its diagonal, 38 + 4 * distance generations of life, beside 2,500 blocks:
// a population of 10,007 once the eater has had the glider.
std::vector<CellPoint> gliderToEater(std::int64_t distance)
{
    std::vector<CellPoint> cells { { 1, 0 }, { 2, 1 }, { 0, 2 }, { 1, 2 }, { 2, 2 } };
    for (const CellPoint &cell :
        std::vector<CellPoint> { { 0, 0 }, { 1, 0 }, { 0, 1 }, { 2, 1 }, { 2, 2 }, { 2, 3 }, { 3, 3 } })
        cells.push_back({ cell.x + 12 + distance, cell.y + 12 + distance });
    for (std::int64_t i = 0; i < 2500; ++i) {
        for (const CellPoint &cell : std::vector<CellPoint> { { 0, 0 }, { 1, 0 }, { 0, 1 }, { 1, 1 } })
            cells.push_back({ cell.x - 400 + (i % 50) * 4, cell.y + 20 + (i / 50) * 4 });
    }
    return cells;
}

// The Gosper glider gun, typed in.
const std::vector<CellPoint> gosperGun { { 24, 0 }, { 22, 1 }, { 24, 1 }, { 12, 2 }, { 13, 2 }, { 20, 2 }, { 21, 2 },
    { 34, 2 }, { 35, 2 }, { 11, 3 }, { 15, 3 }, { 20, 3 }, { 21, 3 }, { 34, 3 }, { 35, 3 }, { 0, 4 }, { 1, 4 },
    { 10, 4 }, { 16, 4 }, { 20, 4 }, { 21, 4 }, { 0, 5 }, { 1, 5 }, { 10, 5 }, { 14, 5 }, { 16, 5 }, { 17, 5 },
    { 22, 5 }, { 24, 5 }, { 10, 6 }, { 16, 6 }, { 24, 6 }, { 11, 7 }, { 15, 7 }, { 12, 8 }, { 13, 8 } };

// The census as `--census` takes it now, jumping ahead with HashLife, for a
// life of state.range(0) generations about.
void BM_CensusSearch(benchmark::State &state)
{
    const std::vector<CellPoint> cells = gliderToEater((state.range(0) - 38) / 4);
    std::int64_t lifespan = 0;
    for (auto _ : state)
        lifespan = CensusSearch::run(cells, Rule(), 1000000000000).lifespan();
    state.counters["lifespan"] = static_cast<double>(lifespan);
}

// The same census as it was taken before, one generation at a time.
void BM_CensusStepByStep(benchmark::State &state)
{
    const std::vector<CellPoint> cells = gliderToEater((state.range(0) - 38) / 4);
    std::int64_t lifespan = 0;
    for (auto _ : state) {
        Stabilisation stabilisation { cells, Rule() };
        lifespan = stabilisation.run(1000000000000).lifespan();
    }
    state.counters["lifespan"] = static_cast<double>(lifespan);
}

// A gun, told as one: before, it ran to the limit of a million generations.
void BM_CensusOfAGun(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(CensusSearch::run(gosperGun, Rule(), 1000000).outcome);
}

// A cell under B12345678/S012345678, filling a square ever larger: before,
// it was stepped a generation at a time to the first jump, minutes for ten
// million cells.
void BM_CensusOfQuadraticGrowth(benchmark::State &state)
{
    const Rule rule = benchRule("B12345678/S012345678");
    for (auto _ : state)
        benchmark::DoNotOptimize(CensusSearch::run({ { 0, 0 } }, rule, 100000).outcome);
}

} // namespace

BENCHMARK(BM_CensusSearch)->Arg(10000)->Arg(100000)->Arg(1000002)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CensusStepByStep)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_CensusOfAGun)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CensusOfQuadraticGrowth)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StabiliseAndCensus, RPentomino, &rPentomino)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StabiliseAndCensus, Acorn, &acorn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CensusOfStableField)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
