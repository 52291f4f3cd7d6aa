#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

#include "model/edit/clip.h"
#include "model/edit/editing.h"
#include "model/engine/tilelife.h"
#include "model/engine/unboundeduniverse.h"
#include "model/files/patternreader.h"

namespace
{

// How the million cells lie and which engine holds them.
enum Layout {
    Dense, // about a cell in four alive over 2,000 x 2,000, in the unbounded plane as HashLife holds it
    Sparse, // about a cell in 4,096 over 64,000 x 64,000, as HashLife holds it: many squares of one cell
    Tiles, // the dense soup on TileLife's tiles, where every edit goes cell by cell
};

std::unique_ptr<Universe> million(int layout)
{
    const int side = layout == Sparse ? 64000 : 2000;
    std::mt19937_64 random(1);
    std::unordered_set<std::uint64_t> taken;
    std::vector<CellPoint> cells;
    while (cells.size() < 1000000) {
        const std::uint64_t x = random() % side;
        const std::uint64_t y = random() % side;
        if (taken.insert(y * side + x).second)
            cells.push_back({ static_cast<std::int64_t>(x) - side / 2, static_cast<std::int64_t>(y) - side / 2 });
    }
    if (layout == Tiles) {
        auto tiles = std::make_unique<TileLife>();
        tiles->setCells(cells);
        return tiles;
    }
    auto plane = std::make_unique<UnboundedUniverse>();
    plane->setCells(cells);
    return plane;
}

// Forgets every node no universe holds, so that each run makes its squares afresh.
void forgetNodes()
{
    const std::size_t limit = HashLife::memoryLimit();
    HashLife::setMemoryLimit(1);
    HashLife::setMemoryLimit(limit);
}

const char *layoutName(int layout) { return layout == Dense ? "dense" : layout == Sparse ? "sparse" : "tiles"; }

void BM_SelectAll(benchmark::State &state)
{
    const std::unique_ptr<Universe> universe = million(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(universe->boundingBox());
    state.SetLabel(layoutName(static_cast<int>(state.range(0))));
}

void BM_Copy(benchmark::State &state)
{
    const std::unique_ptr<Universe> universe = million(static_cast<int>(state.range(0)));
    const CellRect box = *universe->boundingBox();
    std::string text;
    std::string error;
    for (auto _ : state) {
        if (!Editing::copy(*universe, box, text, error))
            state.SkipWithError(error.c_str());
    }
    state.SetLabel(layoutName(static_cast<int>(state.range(0))));
    state.counters["RLE MiB"] = static_cast<double>(text.size()) / (1024 * 1024);
}

// The million cells copied and pasted back half over themselves, half beside them.
void BM_Paste(benchmark::State &state)
{
    const int layout = static_cast<int>(state.range(0));
    const auto how = static_cast<Universe::Combination>(state.range(1));
    const std::unique_ptr<Universe> universe = million(layout);
    const CellRect box = *universe->boundingBox();
    std::string text;
    std::string error;
    Pattern pattern;
    if (!Editing::copy(*universe, box, text, error) || !PatternReader::read(text, pattern, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    const Clip clip(pattern);
    const CellPoint topLeft { box.left + (box.right - box.left) / 2, box.top };
    for (auto _ : state) {
        state.PauseTiming();
        const std::unique_ptr<Universe> target = universe->clone();
        forgetNodes();
        state.ResumeTiming();
        if (!Editing::paste(*target, clip, Orientation(), topLeft, how, error))
            state.SkipWithError(error.c_str());
    }
    const char *const modes[] = { "or", "copy", "xor" };
    state.SetLabel(std::string(layoutName(layout)) + ", " + modes[state.range(1)]);
}

void BM_RotateClockwise(benchmark::State &state)
{
    const std::unique_ptr<Universe> universe = million(static_cast<int>(state.range(0)));
    const CellRect box = *universe->boundingBox();
    std::string error;
    for (auto _ : state) {
        state.PauseTiming();
        const std::unique_ptr<Universe> target = universe->clone();
        CellRect selection = box;
        forgetNodes();
        state.ResumeTiming();
        if (!Editing::turn(*target, selection, Orientation().clockwise(), error))
            state.SkipWithError(error.c_str());
    }
    state.SetLabel(layoutName(static_cast<int>(state.range(0))));
}

// The outline under the pointer: 10,000 cells turned once, then drawn cell
// for pixel into a 1,000 x 1,000 picture, as a frame of the window would.
void BM_OutlineFrame(benchmark::State &state)
{
    std::mt19937_64 random(2);
    HashLife cells;
    std::vector<CellPoint> points;
    while (points.size() < 10000)
        points.push_back({ static_cast<std::int64_t>(random() % 200), static_cast<std::int64_t>(random() % 200) });
    cells.setCells(points);
    Pattern pattern;
    pattern.cells = cells;
    pattern.width = 200;
    pattern.height = 200;
    const Clip clip(pattern);
    std::vector<std::uint8_t> pixels(1000 * 1000);
    for (auto _ : state) {
        const HashLife &outline = clip.cells(Orientation().clockwise());
        outline.render({ -400, -400, 599, 599 }, 0, pixels.data(), 1000, 1000, 1000);
        benchmark::DoNotOptimize(pixels.data());
    }
}

} // namespace

BENCHMARK(BM_SelectAll)->Arg(Dense)->Arg(Sparse)->Arg(Tiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Copy)->Arg(Dense)->Arg(Sparse)->Arg(Tiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paste)->ArgsProduct({ { Dense, Sparse, Tiles }, { 0, 1, 2 } })->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RotateClockwise)->Arg(Dense)->Arg(Sparse)->Arg(Tiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OutlineFrame)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
