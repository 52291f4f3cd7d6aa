#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>

#include "export/fieldexport.h"
#include "model/engine/gamefield.h"
#include "model/files/pattern.h"
#include "model/files/patternreader.h"
#include "qtbenchmarkmain.h"

namespace
{

void placeGosperGun(GameField &field)
{
    std::ifstream file(GAMEOFLIFE_PATTERN_DIR "/gosper-glider-gun.rle", std::ios::binary);
    const std::string bytes { std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>() };
    Pattern pattern;
    std::string error;
    if (!PatternReader::read(bytes, pattern, error))
        throw std::runtime_error(error);
    pattern.placeCentred(field.snapshot());
    field.commitSnapshot();
}

// Three cells in ten alive, the same ones on every call.
void fillThirtyPercent(GameField &field)
{
    std::mt19937 random(30);
    GameField::Cell **cells = field.snapshot();
    for (int r = 1; r <= GameField::FieldSize; ++r) {
        for (int c = 1; c <= GameField::FieldSize; ++c)
            cells[r][c] = random() % 10 < 3 ? 1 : 0;
    }
    field.commitSnapshot();
}

// An animation of the default 100 generations at the default scale 2, in
// green, at 10 generations per second; reports the file's size beside the time.
void exportAnimation(benchmark::State &state, void (*fill)(GameField &))
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("field.gif"));
    for (auto _ : state) {
        GameField field;
        fill(field);
        const auto source = [&field](int frame, GameField::Cell **cells) {
            if (frame > 0)
                field.nextGeneration();
            GameField::Cell *const *now = field.snapshot();
            for (int r = 0; r < GameField::BufferSize; ++r)
                std::copy(now[r], now[r] + GameField::BufferSize, cells[r]);
        };
        QString error;
        if (FieldExport::writeGif(path, FieldExport::DefaultGenerations, source, 2, FieldExport::DefaultScale,
                FieldExport::frameDelay(10), {}, &error)
            != FieldExport::Outcome::Written) {
            state.SkipWithError(error.toUtf8().constData());
            break;
        }
    }
    state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
}

void BM_GifGosperGun(benchmark::State &state) { exportAnimation(state, placeGosperGun); }

void BM_GifRandomField(benchmark::State &state) { exportAnimation(state, fillThirtyPercent); }

void BM_PngRandomField(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("field.png"));
    GameField field;
    fillThirtyPercent(field);
    const auto scale = static_cast<int>(state.range(0));
    for (auto _ : state) {
        QString error;
        if (!FieldExport::writePng(path, field.snapshot(), 2, scale, &error)) {
            state.SkipWithError(error.toUtf8().constData());
            break;
        }
    }
    state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
}

} // namespace

BENCHMARK(BM_GifGosperGun)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifRandomField)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngRandomField)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv) { return runWidgetBenchmarks(argc, argv); }
