#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "benchfields.h"
#include "model/engine/enginerace.h"
#include "model/engine/hashlife.h"
#include "model/engine/nodestore.h"
#include "model/engine/tilelife.h"
#include "model/engine/unboundeduniverse.h"

// Jumps of 2^k generations over patterns of every kind, by the tiles alone,
// HashLife alone and the unbounded plane's own choice between them, so that
// the choice can be held against the faster of the two for each row.
// Each run starts with an empty node store. Where a second core is idle the
// choice runs both engines side by side: its Time is what a jump takes, its
// CPU what both threads used; "turns" is the choice made on one thread, as
// on a busy machine; "paired" runs all three in each run (see paired()).
// Run as
//   bench_jumps --benchmark_filter=gun/
// for one pattern; the whole table takes about ten minutes, and
// bench/jumpbound.py checks the paired rows against the bound.

namespace
{

std::vector<CellPoint> picture(const std::vector<const char *> &rows)
{
    std::vector<CellPoint> cells;
    for (std::size_t y = 0; y < rows.size(); ++y) {
        for (std::size_t x = 0; rows[y][x] != '\0'; ++x) {
            if (rows[y][x] == 'O')
                cells.push_back({ static_cast<std::int64_t>(x), static_cast<std::int64_t>(y) });
        }
    }
    return cells;
}

// `cells` transposed (bit 2), mirrored left-right (bit 0) and top-bottom
// (bit 1) by `orientation`, then moved by dx, dy.
void place(std::vector<CellPoint> &into, const std::vector<CellPoint> &cells, int orientation, std::int64_t dx,
    std::int64_t dy)
{
    for (const CellPoint &cell : cells) {
        std::int64_t x = cell.x;
        std::int64_t y = cell.y;
        if ((orientation & 4) != 0)
            std::swap(x, y);
        into.push_back({ dx + ((orientation & 1) != 0 ? -x : x), dy + ((orientation & 2) != 0 ? -y : y) });
    }
}

const std::vector<CellPoint> &gosperGun()
{
    static const std::vector<CellPoint> gun = picture(
        std::vector<const char *>(std::begin(BenchFields::GosperGunRows), std::end(BenchFields::GosperGunRows)));
    return gun;
}

// The gun with an eater on its stream: a period-30 oscillator of 36 x 21
// cells, checked when it was placed by stepping it 10,000 generations.
std::vector<CellPoint> eatenGun()
{
    std::vector<CellPoint> cells = gosperGun();
    place(cells, picture({ "OO..", "O.O.", "..O.", "..OO" }), 0, 31, 17);
    return cells;
}

std::vector<CellPoint> gliders()
{
    std::vector<CellPoint> cells;
    place(cells, picture({ ".O.", "..O", "OOO" }), 0, 0, 0);
    place(cells, picture({ ".O.", "..O", "OOO" }), 3, -10, -10);
    return cells;
}

std::vector<CellPoint> oneGun() { return gosperGun(); }

// Twenty eaten guns turned every way at random places in 4000 x 4000 cells,
// none within 20 cells of another.
std::vector<CellPoint> eatenGuns()
{
    const std::vector<CellPoint> unit = eatenGun();
    std::mt19937 random(7);
    std::vector<CellPoint> corners;
    std::vector<CellPoint> cells;
    while (corners.size() < 20) {
        const CellPoint corner { static_cast<std::int64_t>(random() % 4000),
            static_cast<std::int64_t>(random() % 4000) };
        if (std::any_of(corners.begin(), corners.end(), [&](const CellPoint &other) {
                return std::abs(other.x - corner.x) < 80 && std::abs(other.y - corner.y) < 80;
            }))
            continue;
        corners.push_back(corner);
        place(cells, unit, static_cast<int>(random() % 8), corner.x, corner.y);
    }
    return cells;
}

std::vector<CellPoint> soup()
{
    std::mt19937 random(1);
    std::vector<CellPoint> cells;
    for (int y = 0; y < 1000; ++y) {
        for (int x = 0; x < 1000; ++x) {
            if (random() % 100 < 35)
                cells.push_back({ x, y });
        }
    }
    return cells;
}

// 10^4 blocks, beehives and blinkers, each alone in a square of 10 x 10.
std::vector<CellPoint> stillLifes()
{
    const std::vector<CellPoint> shapes[3]
        = { picture({ "OO", "OO" }), picture({ ".OO.", "O..O", ".OO." }), picture({ "OOO" }) };
    std::mt19937 random(3);
    std::vector<CellPoint> cells;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
            place(cells, shapes[random() % 3], 0, 10 * x + 1 + static_cast<int>(random() % 3),
                10 * y + 1 + static_cast<int>(random() % 3));
        }
    }
    return cells;
}

// Sixteen guns without eaters on a grid of 150 cells, turned at random: their
// streams cross, break one another and hit the other guns.
std::vector<CellPoint> streams()
{
    std::mt19937 random(5);
    std::vector<CellPoint> cells;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x)
            place(cells, gosperGun(), static_cast<int>(random() % 8), 150 * x, 150 * y);
    }
    return cells;
}

// Two heavyweight ships, one the other's mirror image, dragging an
// R-pentomino between them, found by a search over such starts: they leave
// debris and gliders behind for about 9,000 generations, then fly on alone
// with their gliders. A puffer for a while, not for ever.
std::vector<CellPoint> puffer()
{
    const std::vector<CellPoint> ship = picture({ "...OO..", ".O....O", "O......", "O.....O", "OOOOOO." });
    std::vector<CellPoint> cells;
    place(cells, ship, 0, 0, 0);
    place(cells, ship, 2, 0, 17);
    place(cells, picture({ "OO.", ".OO", ".O." }), 0, 4, 3);
    return cells;
}

// Forty guns without eaters turned at random over 10^4 x 10^4 cells, like
// the parts of a counter: their streams meet far from the guns, break one
// another, and what the collisions leave is hit again by later gliders.
std::vector<CellPoint> counter()
{
    std::mt19937 random(11);
    std::vector<CellPoint> cells;
    for (int k = 0; k < 40; ++k) {
        const int orientation = static_cast<int>(random() % 8);
        const std::int64_t x = random() % 10000;
        place(cells, gosperGun(), orientation, x, random() % 10000);
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

void tiles(const std::vector<CellPoint> &cells, int exponent, int jumps)
{
    TileLife plane;
    plane.setCells(cells);
    for (std::uint64_t left = std::uint64_t(jumps) << exponent; left > 0;) {
        const std::uint64_t step = std::min(left, TileLife::StepLimit);
        plane.advance(step);
        left -= step;
    }
    benchmark::DoNotOptimize(plane.population());
}

void tiles(benchmark::State &state, const std::vector<CellPoint> &cells, int exponent, int jumps = 1)
{
    for (auto _ : state)
        tiles(cells, exponent, jumps);
}

// `jumps` jumps of 2^exponent generations one after another, as a run plays.
template <typename Plane>
void quadtree(benchmark::State &state, const std::vector<CellPoint> &cells, int exponent, int jumps = 1)
{
    const NodeStore &store = NodeStore::instance();
    NodeStore::Statistics before;
    NodeStore::Statistics made;
    for (auto _ : state) {
        state.PauseTiming();
        forgetNodes();
        Plane plane;
        plane.setCells(cells);
        before = store.statistics();
        state.ResumeTiming();
        for (int jump = 0; jump < jumps; ++jump)
            plane.advance(std::uint64_t(1) << exponent);
        benchmark::DoNotOptimize(plane.population());
        state.PauseTiming();
        made.nodesMade += store.statistics().nodesMade - before.nodesMade;
        made.resultsReused += store.statistics().resultsReused - before.resultsReused;
        made.resultsComputed += store.statistics().resultsComputed - before.resultsComputed;
        made.collections += store.statistics().collections - before.collections;
        state.ResumeTiming();
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["nodes/s"] = benchmark::Counter(static_cast<double>(made.nodesMade), benchmark::Counter::kIsRate);
    state.counters["memo hits"] = static_cast<double>(made.resultsReused) / runs;
    state.counters["hit rate"] = static_cast<double>(made.resultsReused)
        / std::max(1.0, static_cast<double>(made.resultsReused + made.resultsComputed));
    state.counters["computed"] = static_cast<double>(made.resultsComputed) / runs;
    state.counters["collections"] = static_cast<double>(made.collections) / runs;
    state.counters["store MiB"] = static_cast<double>(HashLife::memoryUsed()) / (1024 * 1024);
}

// Seconds of wall time `run` takes.
template <typename Run> double timed(Run run)
{
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Seconds `jumps` jumps of 2^exponent generations take on a Plane set up
// first with an empty node store.
template <typename Plane> double jumpsFrom(const std::vector<CellPoint> &cells, int exponent, int jumps)
{
    forgetNodes();
    Plane plane;
    plane.setCells(cells);
    const double seconds = timed([&] {
        for (int jump = 0; jump < jumps; ++jump)
            plane.advance(std::uint64_t(1) << exponent);
    });
    benchmark::DoNotOptimize(plane.population());
    return seconds;
}

// The tiles, HashLife and the choice one after another in each run, in an
// order that turns from run to run, so that a slow spell of the machine,
// which lasts seconds, falls on all three alike: run by run in rows of
// their own, one engine's repetitions may all fall in a quick spell and
// another's in a slow one. Time is all three's; "to bound" is the median
// over the runs of the choice's time against 1.25 x the faster engine
// alone + 5 ms, above 1 where the choice was slower than that.
void paired(benchmark::State &state, const std::vector<CellPoint> &cells, int exponent, int jumps, bool withTiles)
{
    std::vector<double> ratios;
    double tilesSum = 0;
    double hashSum = 0;
    double choiceSum = 0;
    for (auto _ : state) {
        double tilesTime = std::numeric_limits<double>::infinity();
        double hashTime = 0;
        double choiceTime = 0;
        for (std::size_t engine = 0; engine < 3; ++engine) {
            switch ((ratios.size() + engine) % 3) {
            case 0:
                if (withTiles)
                    tilesTime = timed([&] { tiles(cells, exponent, jumps); });
                break;
            case 1:
                hashTime = jumpsFrom<HashLife>(cells, exponent, jumps);
                break;
            default:
                choiceTime = jumpsFrom<UnboundedUniverse>(cells, exponent, jumps);
            }
        }
        ratios.push_back(choiceTime / (1.25 * std::min(tilesTime, hashTime) + 0.005));
        tilesSum += withTiles ? tilesTime : 0;
        hashSum += hashTime;
        choiceSum += choiceTime;
        state.SetIterationTime((withTiles ? tilesTime : 0) + hashTime + choiceTime);
    }
    const auto middle = ratios.begin() + static_cast<std::ptrdiff_t>(ratios.size() / 2);
    std::nth_element(ratios.begin(), middle, ratios.end());
    const double runs = static_cast<double>(ratios.size());
    state.counters["to bound"] = *middle;
    state.counters["choice ms"] = 1e3 * choiceSum / runs;
    state.counters["hashlife ms"] = 1e3 * hashSum / runs;
    if (withTiles)
        state.counters["tiles ms"] = 1e3 * tilesSum / runs;
}

struct Row {
    const char *name;
    std::vector<CellPoint> (*cells)();
    int tilesUpTo; // the largest exponent the tiles alone run in seconds
    int hashUpTo; // the same for HashLife and the choice
};

void registerTable()
{
    static const Row rows[] = {
        { "gliders", gliders, 16, 40 },
        { "gun", oneGun, 16, 40 },
        { "eatenguns", eatenGuns, 14, 40 },
        { "soup", soup, 12, 12 },
        { "puffer", puffer, 16, 40 },
        { "stilllifes", stillLifes, 16, 40 },
        { "streams", streams, 14, 20 },
        { "counter", counter, 14, 14 },
    };
    const auto add = [](const std::string &name, std::function<void(benchmark::State &)> run) {
        return benchmark::RegisterBenchmark(name.c_str(), std::move(run))
            ->Unit(benchmark::kMillisecond)
            ->MinTime(0.1)
            ->MeasureProcessCPUTime();
    };
    // The choice made taking turns on one thread, as on a busy machine.
    const auto inTurns = [](auto run) {
        return [run](benchmark::State &state) {
            EngineRace::allowSideBySide(false);
            run(state);
            EngineRace::allowSideBySide(true);
        };
    };
    for (const Row &row : rows) {
        auto cells = std::make_shared<std::vector<CellPoint>>(row.cells());
        for (int k = 0; k <= std::max(row.tilesUpTo, row.hashUpTo); ++k) {
            const std::string prefix = std::string(row.name) + "/";
            const std::string suffix = "/" + std::to_string(k);
            if (k <= row.tilesUpTo)
                add(prefix + "tiles" + suffix, [cells, k](benchmark::State &state) { tiles(state, *cells, k); });
            if (k > row.hashUpTo)
                continue;
            const auto choice = [cells, k](benchmark::State &state) { quadtree<UnboundedUniverse>(state, *cells, k); };
            add(prefix + "hashlife" + suffix,
                [cells, k](benchmark::State &state) { quadtree<HashLife>(state, *cells, k); });
            add(prefix + "choice" + suffix, choice);
            add(prefix + "turns" + suffix, inTurns(choice));
            const bool withTiles = k <= row.tilesUpTo;
            add(prefix + "paired" + suffix, [cells, k, withTiles](benchmark::State &state) {
                paired(state, *cells, k, 1, withTiles);
            })->UseManualTime();
            // A run of equal jumps, as the window plays at one speed, by
            // each engine alone and by the choice.
            if (k == 12 || k == 16 || k == 20 || k == 30 || k == 40) {
                const auto choice8
                    = [cells, k](benchmark::State &state) { quadtree<UnboundedUniverse>(state, *cells, k, 8); };
                const bool tiles8 = k == 12 || k + 3 <= row.tilesUpTo + 1;
                add(prefix + "paired8times" + suffix, [cells, k, tiles8](benchmark::State &state) {
                    paired(state, *cells, k, 8, tiles8);
                })->UseManualTime();
                if (tiles8)
                    add(prefix + "tiles8times" + suffix,
                        [cells, k](benchmark::State &state) { tiles(state, *cells, k, 8); });
                add(prefix + "hashlife8times" + suffix,
                    [cells, k](benchmark::State &state) { quadtree<HashLife>(state, *cells, k, 8); });
                add(prefix + "choice8times" + suffix, choice8);
                add(prefix + "turns8times" + suffix, inTurns(choice8));
            }
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    registerTable();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
