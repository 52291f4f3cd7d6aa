#include <benchmark/benchmark.h>

#include <random>

#include "benchrule.h"
#include "model/engine/backgrounduniverse.h"

// Rules with birth on 0 in the unbounded plane: B0/S, whose background
// blinks, so that the generations step under two rules in turn, against
// B0123478/S34678, whose background stays alive and jumps at HashLife's speed, and
// Life on the same soup for scale. Per generation, for jumps of 2^k (the
// steady rule's soup grows without end, and past 2^12 takes minutes), and
// for 2^k single generations one after another, as a window playing one
// generation a tick asks for them.

namespace
{

void run(benchmark::State &state, const char *notation, bool oneByOne = false)
{
    const Rule rule = benchRule(notation);
    const std::int64_t generations = std::int64_t(1) << state.range(0);
    std::mt19937 generator(5);
    std::bernoulli_distribution live(0.3);
    for (auto _ : state) {
        state.PauseTiming();
        BackgroundUniverse plane(rule);
        for (std::int64_t y = 0; y < 128; ++y) {
            for (std::int64_t x = 0; x < 128; ++x)
                plane.setCell(x, y, live(generator));
        }
        state.ResumeTiming();
        if (oneByOne) {
            for (std::int64_t generation = 0; generation < generations; ++generation)
                plane.advance(1);
        } else {
            plane.advance(static_cast<std::uint64_t>(generations));
        }
        benchmark::DoNotOptimize(plane.population());
    }
    state.counters["generations/s"]
        = benchmark::Counter(static_cast<double>(generations), benchmark::Counter::kIsIterationInvariantRate);
}

void blinking(benchmark::State &state) { run(state, "B0/S"); }
void steady(benchmark::State &state) { run(state, "B0123478/S34678"); }
void life(benchmark::State &state) { run(state, "B3/S23"); }
// Blinking backgrounds of the families that step a byte a cell.
void nonTotalistic(benchmark::State &state) { run(state, "B02a/S1"); }
void hexagonal(benchmark::State &state) { run(state, "B02/S1H"); }
void vonNeumann(benchmark::State &state) { run(state, "B0/S1V"); }
void nonTotalisticByOne(benchmark::State &state) { run(state, "B02a/S1", true); }
void hexagonalByOne(benchmark::State &state) { run(state, "B02/S1H", true); }

} // namespace

BENCHMARK(blinking)->DenseRange(10, 16, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(steady)->DenseRange(4, 12, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(life)->DenseRange(10, 16, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(nonTotalistic)->DenseRange(4, 12, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(hexagonal)->DenseRange(4, 12, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(vonNeumann)->DenseRange(4, 12, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(nonTotalisticByOne)->DenseRange(4, 10, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(hexagonalByOne)->DenseRange(4, 10, 2)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
