#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "benchfields.h"
#include "model/engine/gamefield.h"
#include "model/engine/hashlife.h"
#include "model/engine/unboundeduniverse.h"
#include "model/files/pattern.h"
#include "model/files/patternreader.h"
#include "model/files/patternwriter.h"

namespace
{

// The RLE file of the shared random field: 120 x 120 cells, about 4800 alive.
std::string randomFieldRle()
{
    GameField field;
    BenchFields::fillRandomly(field);
    return PatternWriter::writeRle(field.snapshot(), 0);
}

// What opening a file costs: reading it and putting it on the field.
void BM_ReadAndPlaceRle(benchmark::State &state)
{
    const std::string file = randomFieldRle();
    GameField field;
    GameField::Cell **buffer = field.snapshot();
    std::string error;
    for (auto _ : state) {
        Pattern pattern;
        if (!PatternReader::read(file, pattern, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        pattern.placeCentred(buffer);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}

void BM_WriteRle(benchmark::State &state)
{
    GameField field;
    BenchFields::fillRandomly(field);
    GameField::Cell **buffer = field.snapshot();
    for (auto _ : state)
        benchmark::DoNotOptimize(PatternWriter::writeRle(buffer, 0));
}

// An RLE file of a million live cells: a 2000 x 2000 soup, a quarter alive.
std::string millionCellRle()
{
    std::mt19937 generator(1000000);
    std::bernoulli_distribution alive(0.25);
    std::vector<CellPoint> cells;
    for (std::int64_t y = 0; y < 2000; ++y) {
        for (std::int64_t x = 0; x < 2000; ++x) {
            if (alive(generator))
                cells.push_back({ x, y });
        }
    }
    HashLife soup;
    soup.setCells(cells);
    return PatternWriter::writeRle(soup, 0);
}

// Reading a large file whole, up to the pattern's cells in its HashLife.
void BM_ReadMillionCellRle(benchmark::State &state)
{
    const std::string file = millionCellRle();
    std::string error;
    for (auto _ : state) {
        Pattern pattern;
        if (!PatternReader::read(file, pattern, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        benchmark::DoNotOptimize(pattern);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}

// The command line's soup: 1000 x 1000 cells, half of them alive, without a
// position, as such files are made: the reader centres it.
std::string soupRle()
{
    std::mt19937 generator(1000);
    std::bernoulli_distribution alive(0.5);
    std::vector<CellPoint> cells;
    for (std::int64_t y = 0; y < 1000; ++y) {
        for (std::int64_t x = 0; x < 1000; ++x) {
            if (alive(generator))
                cells.push_back({ x, y });
        }
    }
    HashLife soup;
    soup.setCells(cells);
    return PatternWriter::writeRleBox(soup);
}

// What the command line does before its first generation (argument 1, its
// cells read into a list) or the window (0, into HashLife): reading the soup
// and placing it, centred, in the unbounded plane.
void BM_ReadSoupIntoPlane(benchmark::State &state)
{
    const std::string file = soupRle();
    std::string error;
    PatternReader::Limits limits;
    limits.store = state.range(0) == 1 ? PatternReader::Store::List : PatternReader::Store::Quadtree;
    for (auto _ : state) {
        Pattern pattern;
        if (!PatternReader::read(file, pattern, error, limits)) {
            state.SkipWithError(error.c_str());
            break;
        }
        UnboundedUniverse plane;
        pattern.placeInto(plane);
        benchmark::DoNotOptimize(plane.population());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}

} // namespace

BENCHMARK(BM_ReadAndPlaceRle);
BENCHMARK(BM_WriteRle);
BENCHMARK(BM_ReadMillionCellRle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadSoupIntoPlane)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
