#include <benchmark/benchmark.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "model/analysis/census.h"
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

} // namespace

BENCHMARK_CAPTURE(BM_StabiliseAndCensus, RPentomino, &rPentomino)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StabiliseAndCensus, Acorn, &acorn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CensusOfStableField)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
