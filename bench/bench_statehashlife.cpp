#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "benchrule.h"
#include "model/engine/hashlife.h"
#include "model/engine/statehashlife.h"

// The same soup of random cells, cold, jumped 2^10 generations: Life in the
// two-state HashLife, then Life, a Generations rule and a non-totalistic one
// in the many-state StateHashLife.

namespace
{

constexpr int Side = 128;
constexpr int Percent = 40;
constexpr std::uint64_t Generations = 1024;

std::vector<StateHashLife::StatedCell> soup()
{
    std::mt19937 random(7);
    std::vector<StateHashLife::StatedCell> cells;
    for (int y = 0; y < Side; ++y) {
        for (int x = 0; x < Side; ++x) {
            if (static_cast<int>(random() % 100) < Percent)
                cells.push_back({ x - Side / 2, y - Side / 2, 1 });
        }
    }
    return cells;
}

// Forgets every node and result the last run left, so that each run starts cold.
void forgetNodes()
{
    const std::size_t limit = HashLife::memoryLimit();
    HashLife::setMemoryLimit(1);
    HashLife::setMemoryLimit(limit);
    const std::size_t stateLimit = StateHashLife::memoryLimit();
    StateHashLife::setMemoryLimit(1);
    StateHashLife::setMemoryLimit(stateLimit);
}

void BM_LifeSoupInHashLife(benchmark::State &state)
{
    std::vector<CellPoint> cells;
    for (const StateHashLife::StatedCell &cell : soup())
        cells.push_back({ cell.x, cell.y });
    std::uint64_t population = 0;
    for (auto _ : state) {
        state.PauseTiming();
        forgetNodes();
        state.ResumeTiming();
        HashLife plane;
        plane.setCells(cells);
        plane.advance(Generations);
        population = plane.population();
    }
    state.counters["cells"] = static_cast<double>(population);
}

void BM_SoupInStateHashLife(benchmark::State &state, const char *notation)
{
    const Rule rule = benchRule(notation);
    const std::vector<StateHashLife::StatedCell> cells = soup();
    std::uint64_t population = 0;
    for (auto _ : state) {
        state.PauseTiming();
        forgetNodes();
        state.ResumeTiming();
        StateHashLife plane(rule);
        plane.setStates(cells);
        plane.advance(Generations);
        population = plane.population();
    }
    state.counters["cells"] = static_cast<double>(population);
}

} // namespace

BENCHMARK(BM_LifeSoupInHashLife)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_SoupInStateHashLife, Life, "B3/S23")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_SoupInStateHashLife, StarWars, "345/2/4")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_SoupInStateHashLife, NonTotalistic, "B2-a/S12")->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
