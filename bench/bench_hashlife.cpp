#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "benchfields.h"
#include "model/engine/cellcopy.h"
#include "model/engine/hashlife.h"
#include "model/engine/nodestore.h"
#include "model/engine/tilelife.h"
#include "model/engine/tilestep.h"
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

// The Gosper gun turned by `orientation` (bit 2 transposes, bit 0 mirrors
// left-right, bit 1 top-bottom) with its corner at x, y.
void addGun(std::vector<CellPoint> &cells, int orientation, std::int64_t x, std::int64_t y)
{
    for (std::int64_t row = 0; row < 9; ++row) {
        for (std::int64_t column = 0; BenchFields::GosperGunRows[row][column] != '\0'; ++column) {
            if (BenchFields::GosperGunRows[row][column] != 'O')
                continue;
            const std::int64_t across = (orientation & 4) != 0 ? row : column;
            const std::int64_t down = (orientation & 4) != 0 ? column : row;
            cells.push_back(
                { x + ((orientation & 1) != 0 ? -across : across), y + ((orientation & 2) != 0 ? -down : down) });
        }
    }
}

// Jumps from an empty store, counting what the store did meanwhile: the
// nodes it made per second, how often a step was answered from what it had
// computed, and its collections.
class ColdJumps
{
public:
    HashLife jump(benchmark::State &state, const std::vector<CellPoint> &cells, int exponent)
    {
        state.PauseTiming();
        forgetNodes();
        const NodeStore::Statistics before = NodeStore::instance().statistics();
        state.ResumeTiming();
        HashLife plane;
        plane.setCells(cells);
        plane.advance(std::uint64_t(1) << exponent);
        const NodeStore::Statistics &after = NodeStore::instance().statistics();
        made += after.nodesMade - before.nodesMade;
        reused += after.resultsReused - before.resultsReused;
        computed += after.resultsComputed - before.resultsComputed;
        collections += after.collections - before.collections;
        return plane;
    }

    void report(benchmark::State &state) const
    {
        const double runs = static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
        state.counters["nodes/s"] = benchmark::Counter(static_cast<double>(made), benchmark::Counter::kIsRate);
        state.counters["hit rate"]
            = static_cast<double>(reused) / std::max(1.0, static_cast<double>(reused + computed));
        state.counters["collections"] = static_cast<double>(collections) / runs;
        state.counters["store MiB"] = static_cast<double>(HashLife::memoryUsed()) / (1024 * 1024);
    }

private:
    std::uint64_t made = 0;
    std::uint64_t reused = 0;
    std::uint64_t computed = 0;
    std::uint64_t collections = 0;
};

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
    ColdJumps jumps;
    for (auto _ : state) {
        const HashLife plane = jumps.jump(state, cells, 20);
        const std::string file = Macrocell::write(plane, plane.rule(), std::int64_t(1) << 20, "soup", {});
        MacrocellContent content;
        std::string error;
        if (!Macrocell::read(file, content, error) || !content.universe.equals(plane))
            state.SkipWithError(error.c_str());
        bytes = file.size();
    }
    jumps.report(state);
    state.counters["peak MiB"] = peakResidentMiB();
    state.counters["file KiB"] = static_cast<double>(bytes) / 1024;
}

// The Gosper glider gun, typed from its picture, 2^30 generations ahead.
void BM_GosperGun2To30(benchmark::State &state)
{
    std::vector<CellPoint> cells;
    addGun(cells, 0, 0, 0);
    ColdJumps jumps;
    for (auto _ : state)
        benchmark::DoNotOptimize(jumps.jump(state, cells, 30).population());
    jumps.report(state);
}

// Forty Gosper guns turned at random over 10^4 x 10^4 cells, like the parts
// of a counter: their streams meet far from the guns, break one another, and
// what the collisions leave is hit again by later gliders, so that few
// squares repeat. Jumped 2^range(0) generations, with range(1) MiB for the
// store. The peak resident memory is the process's: run one row alone.
void BM_GunField(benchmark::State &state)
{
    std::mt19937 random(11);
    std::vector<CellPoint> cells;
    for (int k = 0; k < 40; ++k) {
        const int orientation = static_cast<int>(random() % 8);
        const std::int64_t x = random() % 10000;
        addGun(cells, orientation, x, random() % 10000);
    }
    const std::size_t defaultLimit = HashLife::memoryLimit();
    HashLife::setMemoryLimit(static_cast<std::size_t>(state.range(1)) << 20);
    ColdJumps jumps;
    for (auto _ : state)
        benchmark::DoNotOptimize(jumps.jump(state, cells, static_cast<int>(state.range(0))).population());
    jumps.report(state);
    state.counters["peak MiB"] = peakResidentMiB();
    HashLife::setMemoryLimit(defaultLimit);
}

// A chaotic soup stepped one generation at a time, cells set included, by
// each of the tiles' steps the processor has (0 portable, 1 wide, 2 widest).
void BM_Soup1000For4000Steps(benchmark::State &state)
{
    const auto path = static_cast<TileStep::Path>(state.range(0));
    const std::vector<TileStep::Path> paths = TileStep::available();
    if (std::find(paths.begin(), paths.end(), path) == paths.end()) {
        state.SkipWithError("this processor lacks the instructions");
        return;
    }
    const TileStep::Path before = TileStep::path();
    TileStep::use(path);
    const std::vector<CellPoint> cells = soup(1000, 35, 1);
    for (auto _ : state) {
        TileLife plane;
        plane.setCells(cells);
        for (int i = 0; i < 4000; ++i)
            plane.advance(1);
        benchmark::DoNotOptimize(plane.population());
    }
    TileStep::use(before);
}

// A soup too large for the tiles stepped one generation at a time in
// HashLife, counted after each, as a run records it: the count is worked out
// from the squares that changed.
void BM_LargeSoupStepsCounted(benchmark::State &state)
{
    HashLife start;
    start.setCells(soup(1500, 40, 6));
    std::uint64_t cells = 0;
    for (auto _ : state) {
        state.PauseTiming();
        forgetNodes();
        state.ResumeTiming();
        HashLife plane(start);
        for (int i = 0; i < 8; ++i) {
            plane.advance(1);
            cells = plane.population();
        }
    }
    state.counters["cells"] = static_cast<double>(cells);
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

// The live cells of `source` set in `target` cell by cell, 2^16 at a time,
// as the engines moved them before they moved whole blocks.
template <typename Target> void cellByCell(const Universe &source, Target &target)
{
    std::vector<CellPoint> batch;
    source.forEachLiveCell(*source.boundingBox(), [&](std::int64_t x, std::int64_t y) {
        batch.push_back({ x, y });
        if (batch.size() == (std::size_t(1) << 16))
            target.setCells(std::exchange(batch, {}));
    });
    target.setCells(std::move(batch));
}

// The same million cells moved from the tiles into HashLife, as a race
// does: 0 cell by cell, in batches, 1 a tile's block at a time.
void BM_TilesIntoHashLife(benchmark::State &state)
{
    TileLife tiles;
    tiles.setCells(soup(1582, 40, 4));
    for (auto _ : state) {
        state.PauseTiming();
        forgetNodes();
        state.ResumeTiming();
        HashLife plane;
        if (state.range(0) == 0)
            cellByCell(tiles, plane);
        else
            CellCopy::into(tiles, plane);
        benchmark::DoNotOptimize(plane.rootNode());
    }
}

// And back from HashLife into the tiles, as a race from HashLife's cells
// does: 0 cell by cell, in batches, 1 a block at a time.
void BM_HashLifeIntoTiles(benchmark::State &state)
{
    HashLife plane;
    plane.setCells(soup(1582, 40, 4));
    for (auto _ : state) {
        TileLife tiles;
        if (state.range(0) == 0)
            cellByCell(plane, tiles);
        else
            CellCopy::into(plane, tiles);
        benchmark::DoNotOptimize(tiles.population());
    }
}

} // namespace

BENCHMARK(BM_Soup256For2To20WithMacrocell)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GosperGun2To30)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GunField)->ArgsProduct({ { 20, 22, 24 }, { 256, 1024, 4000 } })->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_Soup1000For4000Steps)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LargeSoupStepsCounted)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Render10MillionCells)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetCellsOneMillion)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TilesIntoHashLife)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HashLifeIntoTiles)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
