#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "benchfields.h"
#include "model/engine/gamefield.h"
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

} // namespace

BENCHMARK(BM_ReadAndPlaceRle);
BENCHMARK(BM_WriteRle);

BENCHMARK_MAIN();
