#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "benchfields.h"
#include "model/engine/hashlife.h"
#include "model/engine/tilelife.h"
#include "model/files/macrocell.h"

namespace
{

// A square soup with `percent` of its cells alive, the same on every call.
std::vector<CellPoint> soup(int side, int percent, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<CellPoint> cells;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            if (static_cast<int>(random() % 100) < percent)
                cells.push_back({ x - side / 2, y - side / 2 });
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
}

double peakResidentMiB()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024;
}

// Chaos for a million generations, saved and read back as macrocell; run
// first, so that the peak resident memory is its own.
void BM_Soup256For2To20WithMacrocell(benchmark::State &state)
{
    const std::vector<CellPoint> cells = soup(256, 40, 2);
    std::size_t bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        forgetNodes();
        state.ResumeTiming();
        HashLife plane;
        plane.setCells(cells);
        plane.advance(std::uint64_t(1) << 20);
        const std::string file = Macrocell::write(plane, plane.rule(), std::int64_t(1) << 20, "soup", {});
        MacrocellContent content;
        std::string error;
        if (!Macrocell::read(file, content, error) || !content.universe.equals(plane))
            state.SkipWithError(error.c_str());
        bytes = file.size();
    }
    state.counters["peak MiB"] = peakResidentMiB();
    state.counters["file KiB"] = static_cast<double>(bytes) / 1024;
    state.counters["store MiB"] = static_cast<double>(HashLife::memoryUsed()) / (1024 * 1024);
}

// The Gosper glider gun, typed from its picture, 2^30 generations ahead.
void BM_GosperGun2To30(benchmark::State &state)
{
    const char *const *gun = BenchFields::GosperGunRows;
    std::vector<CellPoint> cells;
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; gun[y][x] != '\0'; ++x) {
            if (gun[y][x] == 'O')
                cells.push_back({ x, y });
        }
    }
    for (auto _ : state) {
        state.PauseTiming();
        forgetNodes();
        state.ResumeTiming();
        HashLife plane;
        plane.setCells(cells);
        plane.advance(std::uint64_t(1) << 30);
        benchmark::DoNotOptimize(plane.population());
    }
}

// A chaotic soup stepped one generation at a time, cells set included.
void BM_Soup1000For4000Steps(benchmark::State &state)
{
    const std::vector<CellPoint> cells = soup(1000, 35, 1);
    for (auto _ : state) {
        TileLife plane;
        plane.setCells(cells);
        for (int i = 0; i < 4000; ++i)
            plane.advance(1);
        benchmark::DoNotOptimize(plane.population());
    }
}

// A zoomed-out frame of ten million live cells: 625 x 625 pixels of 8 x 8 cells.
void BM_Render10MillionCells(benchmark::State &state)
{
    HashLife plane;
    plane.setCells(soup(5000, 40, 3));
    const CellRect area = *plane.boundingBox();
    const CellRect aligned { area.left & ~std::int64_t(7), area.top & ~std::int64_t(7), area.right, area.bottom };
    const int columns = static_cast<int>((aligned.right - aligned.left) / 8 + 1);
    const int rows = static_cast<int>((aligned.bottom - aligned.top) / 8 + 1);
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows));
    for (auto _ : state)
        plane.render(aligned, 3, pixels.data(), columns, rows, columns);
    state.counters["cells"] = static_cast<double>(plane.population());
}

// A million cells in random order, as a pattern reader hands them over.
void BM_SetCellsOneMillion(benchmark::State &state)
{
    std::vector<CellPoint> cells = soup(1582, 40, 4);
    std::shuffle(cells.begin(), cells.end(), std::mt19937(5));
    for (auto _ : state) {
        state.PauseTiming();
        forgetNodes();
        state.ResumeTiming();
        HashLife plane;
        plane.setCells(cells);
        benchmark::DoNotOptimize(plane.rootNode());
    }
    state.counters["cells"] = static_cast<double>(cells.size());
}

} // namespace

BENCHMARK(BM_Soup256For2To20WithMacrocell)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GosperGun2To30)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Soup1000For4000Steps)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Render10MillionCells)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetCellsOneMillion)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
