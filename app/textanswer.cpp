#include "app/textanswer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

#include "document/patternfile.h"
#include "export/fieldexport.h"
#include "export/pictureframe.h"
#include "model/analysis/celllist.h"
#include "model/analysis/censussearch.h"
#include "model/analysis/runhistory.h"
#include "model/analysis/stabilisation.h"
#include "model/engine/gamefield.h"
#include "model/engine/hashlife.h"
#include "model/engine/packedfield.h"
#include "model/engine/statehashlife.h"
#include "model/engine/universe.h"
#include "model/files/pattern.h"
#include "model/files/patternreader.h"
#include "view/universeimage.h"

namespace
{

void printError(const QString &text) { std::fprintf(stderr, "gameoflife: %s\n", qPrintable(text)); }

// A pattern file as the command line runs it: in the universe --universe
// names, else the one the file chooses, under --rule, else the file's rule,
// else Conway's.
struct Opened {
    Pattern pattern;
    std::unique_ptr<Universe> universe;
};

// Opens `file` for `request`; says on standard error why it cannot, and
// returns the exit status that calls for: 1 for a file that cannot be read or
// run, 2 for a command line that does not suit it.
int open(const CommandLine::Request &request, const QString &file, Opened &opened)
{
    // Placed once: the cells go from the list to the universe without a quadtree between.
    const QString problem = PatternFile::readAny(file, opened.pattern, PatternReader::Store::List);
    if (!problem.isEmpty()) {
        printError(QStringLiteral("%1: %2").arg(file, problem));
        return 1;
    }
    const Pattern &pattern = opened.pattern;
    const Rule rule = request.rule.value_or(pattern.rule.value_or(Rule()));
    const Topology topology = request.universe.value_or(pattern.universeFor(Topology::classic(), rule));
    if (!pattern.fits(topology)) {
        printError(QStringLiteral("%1: %2").arg(file, QString::fromStdString(pattern.misfit(topology))));
        return 1;
    }
    if (topology != Topology::unbounded() && request.generations > CommandLine::MaxBoundedGenerations) {
        printError(QStringLiteral("--generations goes up to %1 in a bounded universe; %2 opens in one")
                       .arg(CommandLine::MaxBoundedGenerations)
                       .arg(file));
        return CommandLine::UsageStatus;
    }
    try {
        opened.universe = Universe::create(topology, rule);
        pattern.placeInto(*opened.universe);
    } catch (const UniverseError &error) {
        printError(QStringLiteral("%1: %2").arg(file, QString::fromUtf8(error.what())));
        return 1;
    }
    return 0;
}

// The generations between two records of a run's history at `generation`,
// `left` generations before the last one looked at: one at a time while the
// run is young and the pattern small, then more as either grows, so that a
// long run costs few records and its jumps go to HashLife, which a growing or
// settled pattern needs. A cycle is still found with its exact start and
// period, only some records later; towards the last generation the records
// close up again as they opened, so that a cycle the last generations show
// is found before the run gives up.
std::int64_t recordStride(const Universe &universe, std::int64_t generation, std::int64_t left)
{
    if (universe.topology().isBounded())
        return 1;
    constexpr std::uint64_t SmallPattern = 4096; // live cells
    constexpr std::int64_t YoungRun = 16; // generations per record, at least, once past them
    constexpr std::int64_t Longest = std::int64_t(1) << 20;
    const std::uint64_t population = universe.population();
    std::int64_t stride = 1;
    while (stride < Longest && stride * 2 * YoungRun <= left
        && (population / static_cast<std::uint64_t>(stride) > SmallPattern || stride * 2 * YoungRun <= generation))
        stride *= 2;
    return std::min(stride, left);
}

// The line on a terminal's standard error that tells how far a long run has
// got, rewritten in place now and then and wiped before the answer is printed.
// Nothing is written when standard error is not a terminal.
class ProgressLine
{
public:
    // The clock is read at every `callsPerReading`-th call of show() (1..),
    // so that frequent calls cost next to nothing.
    ProgressLine(const QString &file, int callsPerReading)
        : file(file)
        , terminal(isatty(fileno(stderr)) != 0)
        , callsPerReading(callsPerReading)
    {
        clock.start();
    }

    // `population` is read only when the line is rewritten.
    template <typename Population> void show(std::int64_t generation, const Population &population)
    {
        constexpr qint64 Interval = 200; // milliseconds between rewrites
        if (!terminal || ++calls % callsPerReading != 0 || clock.elapsed() < shownAt + Interval)
            return;
        shownAt = clock.elapsed();
        std::fprintf(stderr, "\r\033[K%s: generation %lld, %llu cells", qPrintable(file),
            static_cast<long long>(generation), static_cast<unsigned long long>(population()));
        std::fflush(stderr);
        shown = true;
    }

    void clear()
    {
        if (shown)
            std::fputs("\r\033[K", stderr);
        shown = false;
    }

private:
    QString file;
    bool terminal;
    int callsPerReading;
    bool shown = false;
    int calls = 0;
    QElapsedTimer clock;
    qint64 shownAt = 0;
};

} // namespace

int TextAnswer::answer(const CommandLine::Request &request)
{
    using Mode = CommandLine::Request::Mode;
    if (request.memory > 0) {
        HashLife::setMemoryLimit(static_cast<std::size_t>(request.memory) << 20);
        StateHashLife::setMemoryLimit(static_cast<std::size_t>(request.memory) << 20);
    }
    switch (request.mode) {
    case Mode::Help:
        std::fputs(qPrintable(CommandLine::helpText()), stdout);
        return 0;
    case Mode::Version:
        std::printf("gameoflife %s\n", qPrintable(QCoreApplication::applicationVersion()));
        return 0;
    case Mode::Settle:
        return settle(request);
    case Mode::Census:
        return census(request);
    case Mode::Generations:
        return writeGenerations(request);
    case Mode::Export:
        return writeExport(request);
    case Mode::Error:
        printError(request.error);
        return CommandLine::UsageStatus;
    case Mode::Window:
        break;
    }
    return 0;
}

int TextAnswer::settle(const CommandLine::Request &request)
{
    int status = 0;
    for (const QString &file : request.files) {
        Opened opened;
        if (const int problem = open(request, file, opened); problem != 0) {
            status = std::max(status, problem);
            continue;
        }
        // A record may take a microsecond.
        ProgressLine progress(file, 4096);
        QString line;
        try {
            line = settleLine(*opened.universe, request.maxGenerations, opened.pattern.firstGeneration(),
                [&progress](const RunHistory &history) {
                    const std::int64_t generation = history.lastGeneration();
                    progress.show(generation, [&history, generation] { return history.population(generation); });
                });
        } catch (const UniverseError &error) {
            progress.clear();
            printError(QStringLiteral("%1: %2").arg(file, QString::fromUtf8(error.what())));
            status = std::max(status, 1);
            continue;
        }
        progress.clear();
        std::printf("%s: %s\n", qPrintable(file), qPrintable(line));
        std::fflush(stdout);
    }
    return status;
}

QString TextAnswer::settleLine(Universe &universe, std::int64_t maxGenerations, std::int64_t first,
    const std::function<void(const RunHistory &)> &progress)
{
    RunHistory history(maxGenerations);
    history.reset(universe, first);
    for (std::int64_t generation = first;
         history.fate() == RunHistory::Fate::Evolving && generation - first < maxGenerations;) {
        // A record at each of the growth watch's looks, so that they see the generations they name.
        const std::int64_t stride
            = std::min(recordStride(universe, generation - first + 1, maxGenerations - (generation - first)),
                history.nextGrowthLook() - generation);
        universe.advance(static_cast<std::uint64_t>(stride));
        generation += stride;
        history.append(universe, generation);
        if (progress)
            progress(history);
    }
    return fateLine(history, maxGenerations);
}

int TextAnswer::census(const CommandLine::Request &request)
{
    CommandLine::Request unbounded = request;
    unbounded.universe = Topology::unbounded();
    int status = 0;
    for (const QString &file : request.files) {
        Opened opened;
        if (const int problem = open(unbounded, file, opened); problem != 0) {
            status = std::max(status, problem);
            continue;
        }
        ProgressLine progress(file, 1);
        std::vector<std::string> lines;
        try {
            lines = censusLines(*opened.universe, request.maxGenerations,
                [&progress](std::int64_t generation, std::uint64_t population) {
                    progress.show(generation, [population] { return population; });
                });
        } catch (const UniverseError &error) {
            progress.clear();
            printError(QStringLiteral("%1: %2").arg(file, QString::fromUtf8(error.what())));
            status = std::max(status, 1);
            continue;
        }
        progress.clear();
        std::printf("%s: %s\n", qPrintable(file), lines.front().c_str());
        for (std::size_t line = 1; line < lines.size(); ++line)
            std::printf("%s\n", lines[line].c_str());
        std::fflush(stdout);
    }
    return status;
}

std::vector<std::string> TextAnswer::censusLines(
    const Universe &universe, std::int64_t maxGenerations, const CensusSearch::Progress &progress)
{
    return CensusSearch::run(universe, maxGenerations, progress).lines(maxGenerations);
}

QString TextAnswer::fateLine(const RunHistory &history, std::int64_t maxGenerations)
{
    const bool growing = history.fate() == RunHistory::Fate::Growing;
    const std::int64_t start = growing ? history.growthFoundAt() : history.cycleStart();
    // Under birth on 0 neighbours the background may be alive, and may blink:
    // then the cells said are those that differ from it.
    const std::uint64_t count = history.isSettled() || growing ? history.population(start) : 0;
    QString cells = history.cycleBackgroundAlive()
        ? (count == 0 ? QStringLiteral("every cell alive") : QStringLiteral("every cell alive but %1").arg(count))
        : count == 1 ? QStringLiteral("1 cell")
                     : QStringLiteral("%1 cells").arg(count);
    if (history.backgroundBlinks())
        cells += QStringLiteral(", on a background that blinks");
    switch (history.fate()) {
    case RunHistory::Fate::DiedOut:
        return QStringLiteral("died out at generation %1").arg(start);
    case RunHistory::Fate::Still:
        return QStringLiteral("still since generation %1, %2").arg(start).arg(cells);
    case RunHistory::Fate::Oscillating:
        return QStringLiteral("period %1 since generation %2, %3").arg(history.period()).arg(start).arg(cells);
    case RunHistory::Fate::Moving:
        if (history.period() == 1) {
            return QStringLiteral("moves (%1, %2) every generation since generation %3, %4")
                .arg(history.displacement().x)
                .arg(history.displacement().y)
                .arg(start)
                .arg(cells);
        }
        return QStringLiteral("moves (%1, %2) every %3 generations since generation %4, %5")
            .arg(history.displacement().x)
            .arg(history.displacement().y)
            .arg(history.period())
            .arg(start)
            .arg(cells);
    case RunHistory::Fate::Growing:
        return growthLine(*history.growth(), start - history.firstGeneration(), cells);
    case RunHistory::Fate::Evolving:
    case RunHistory::Fate::Unsettled:
        break;
    }
    return QStringLiteral("not settled after %1 generations").arg(maxGenerations);
}

QString TextAnswer::growthLine(const Growth::Report &growth, std::int64_t generations, const QString &cells)
{
    const QString after = QStringLiteral("after %1 generations").arg(generations);
    switch (growth.kind) {
    case Growth::Kind::Gun:
        return QStringLiteral("grows as a gun of period %1, found %2").arg(growth.period).arg(after);
    case Growth::Kind::Puffer:
        return QStringLiteral("grows as a puffer of period %1 moving by (%2, %3), found %4")
            .arg(growth.period)
            .arg(growth.dx)
            .arg(growth.dy)
            .arg(after);
    case Growth::Kind::Linear:
        return QStringLiteral("grows linearly, %1 %2").arg(cells, after);
    case Growth::Kind::Quadratic:
        return QStringLiteral("grows quadratically, %1 %2").arg(cells, after);
    case Growth::Kind::Faster:
        break;
    }
    return QStringLiteral("grows faster than quadratically, %1 %2").arg(cells, after);
}

int TextAnswer::writeGenerations(const CommandLine::Request &request)
{
    const QString &file = request.files.first();
    Opened opened;
    if (const int problem = open(request, file, opened); problem != 0)
        return problem;
    try {
        opened.universe->advance(static_cast<std::uint64_t>(request.generations));
    } catch (const UniverseError &error) {
        printError(QStringLiteral("%1: %2").arg(file, QString::fromUtf8(error.what())));
        return 1;
    }
    std::string text;
    QString failure;
    if (PatternFile::text(PatternFile::formatOf(request.output).value_or(PatternFile::Format::Rle), *opened.universe,
            opened.pattern.firstGeneration() + request.generations, opened.pattern.name, opened.pattern.comments, text,
            failure, opened.pattern.author))
        failure = PatternFile::write(request.output, text);
    if (!failure.isEmpty()) {
        printError(QStringLiteral("%1: %2").arg(request.output, failure));
        return 1;
    }
    return 0;
}

int TextAnswer::writeExport(const CommandLine::Request &request)
{
    const QString &file = request.files.first();
    Opened opened;
    if (const int problem = open(request, file, opened); problem != 0)
        return problem;
    Universe &universe = *opened.universe;
    // The window's start colour: green.
    constexpr int ColorMode = 2;
    const bool animation = QFileInfo(request.output).suffix().compare(QLatin1String("gif"), Qt::CaseInsensitive) == 0;
    QString error;
    bool written = false;
    try {
        if (universe.topology().kind() == Topology::Kind::Classic && !request.fit)
            written = writeClassicExport(request, universe, animation, ColorMode, error);
        else
            written = writeUniverseExport(request, universe, animation, ColorMode, error);
    } catch (const UniverseError &problem) {
        error = QString::fromUtf8(problem.what());
    }
    if (!written) {
        printError(QStringLiteral("%1: %2").arg(request.output, error));
        return 1;
    }
    return 0;
}

bool TextAnswer::writeClassicExport(
    const CommandLine::Request &request, Universe &universe, bool animation, int colorMode, QString &error)
{
    GameField buffer;
    GameField::Cell **cells = buffer.snapshot();
    const auto toBuffer = [&universe, cells] {
        PackedField field;
        universe.forEachLiveCell(Universe::extent(universe.topology()), [&field](std::int64_t x, std::int64_t y) {
            field.setAlive(static_cast<int>(y) + 1, static_cast<int>(x) + 1, true);
        });
        field.toBuffer(cells);
    };
    if (animation) {
        const auto frames = [&](int frame, GameField::Cell **target) {
            if (frame > 0)
                universe.advance(1);
            toBuffer();
            for (int r = 0; r < GameField::BufferSize; ++r)
                std::copy(cells[r], cells[r] + GameField::BufferSize, target[r]);
        };
        return FieldExport::writeGif(request.output, static_cast<int>(request.generations), frames, colorMode,
                   request.scale, FieldExport::frameDelay(request.speed), FieldExport::Progress(), &error)
            == FieldExport::Outcome::Written;
    }
    universe.advance(static_cast<std::uint64_t>(request.generations));
    toBuffer();
    return FieldExport::writePng(request.output, cells, colorMode, request.scale, &error);
}

bool TextAnswer::writeUniverseExport(
    const CommandLine::Request &request, Universe &universe, bool animation, int colorMode, QString &error)
{
    // A bounded universe whole, unless the picture is to fit a size; else
    // the live cells, of every frame for an animation.
    std::optional<CellRect> area;
    const auto widen = [&area](const std::optional<CellRect> &box) {
        if (!box)
            return;
        area = area ? CellRect { std::min(area->left, box->left), std::min(area->top, box->top),
            std::max(area->right, box->right), std::max(area->bottom, box->bottom) }
                    : *box;
    };
    const bool whole = universe.topology().isBounded() && !request.fit;
    if (whole) {
        area = Universe::extent(universe.topology());
    } else if (animation) {
        const std::unique_ptr<Universe> ahead = universe.clone();
        widen(ahead->boundingBox());
        for (std::int64_t frame = 1; frame <= request.generations; ++frame) {
            ahead->advance(1);
            widen(ahead->boundingBox());
        }
    } else {
        universe.advance(static_cast<std::uint64_t>(request.generations));
        widen(universe.boundingBox());
    }
    if (!area && universe.topology().isBounded())
        area = Universe::extent(universe.topology());
    if (!area && universe.backgroundAlive())
        area = CellRect {};
    if (!area) {
        error = QStringLiteral("there are no live cells to draw");
        return false;
    }
    // A picture too large at the scale by default is drawn zoomed out; one asked for at a scale is refused.
    const PictureFrame frame = request.fit ? PictureFrame::fitting(*area, *request.fit)
        : request.scaleGiven               ? PictureFrame::atScale(*area, request.scale)
                                           : PictureFrame::atScaleOrSmaller(*area, request.scale);
    if (animation)
        return FieldExport::writeGif(request.output, universe, frame, static_cast<int>(request.generations), colorMode,
                   FieldExport::frameDelay(request.speed), FieldExport::Progress(), &error)
            == FieldExport::Outcome::Written;
    if (whole)
        universe.advance(static_cast<std::uint64_t>(request.generations));
    return FieldExport::writePng(request.output, universe, frame, colorMode, &error);
}
