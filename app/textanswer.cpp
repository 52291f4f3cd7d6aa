#include "app/textanswer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QString>

#include <cstdio>
#include <string>

#include <unistd.h>

#include "export/fieldexport.h"
#include "mainwindow/patternfile.h"
#include "model/analysis/runhistory.h"
#include "model/engine/gamefield.h"
#include "model/engine/packedfield.h"
#include "model/files/pattern.h"
#include "model/files/patternwriter.h"

namespace
{

void printError(const QString &text) { std::fprintf(stderr, "gameoflife: %s\n", qPrintable(text)); }

// Reads a pattern file as the window opens it; says on standard error why it cannot.
bool readPattern(const QString &file, Pattern &pattern)
{
    const QString problem = PatternFile::read(file, pattern);
    if (problem.isEmpty())
        return true;
    printError(QStringLiteral("%1: %2").arg(file, problem));
    return false;
}

// The rule a request runs a file under: the command line's, else the file's, else Conway's.
Rule ruleFor(const CommandLine::Request &request, const Pattern &pattern)
{
    return request.rule.value_or(pattern.rule.value_or(Rule()));
}

// The line on a terminal's standard error that tells how far a long run has
// got, rewritten in place now and then and wiped before the answer is printed.
// Nothing is written when standard error is not a terminal.
class ProgressLine
{
public:
    explicit ProgressLine(const QString &file)
        : file(file)
        , terminal(isatty(fileno(stderr)) != 0)
    {
        clock.start();
    }

    // Called after every generation; `generation` counts from 1.
    void show(int generation, const RunHistory &history)
    {
        constexpr int GenerationsBetweenClockReadings = 4096;
        constexpr qint64 Interval = 200; // milliseconds between rewrites
        if (!terminal || generation % GenerationsBetweenClockReadings != 0 || clock.elapsed() < shownAt + Interval)
            return;
        shownAt = clock.elapsed();
        std::fprintf(stderr, "\r\033[K%s: generation %lld, %llu cells", qPrintable(file),
            static_cast<long long>(history.lastGeneration()),
            static_cast<unsigned long long>(history.population(history.lastGeneration())));
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
    bool shown = false;
    QElapsedTimer clock;
    qint64 shownAt = 0;
};

} // namespace

int TextAnswer::answer(const CommandLine::Request &request)
{
    using Mode = CommandLine::Request::Mode;
    switch (request.mode) {
    case Mode::Help:
        std::fputs(qPrintable(CommandLine::helpText()), stdout);
        return 0;
    case Mode::Version:
        std::printf("gameoflife %s\n", qPrintable(QCoreApplication::applicationVersion()));
        return 0;
    case Mode::Settle:
        return settle(request);
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
        Pattern pattern;
        if (!readPattern(file, pattern)) {
            status = 1;
            continue;
        }
        const Rule rule = ruleFor(request, pattern);
        PackedField field = pattern.centred();
        RunHistory history;
        history.reset(field, 1, rule);
        ProgressLine progress(file);
        for (int generation = 1; history.fate() == RunHistory::Fate::Evolving && generation <= request.maxGenerations;
             ++generation) {
            field = field.next(rule);
            history.append(field);
            progress.show(generation, history);
        }
        progress.clear();
        const int start = history.cycleStart();
        QString line;
        switch (history.fate()) {
        case RunHistory::Fate::DiedOut:
            line = QStringLiteral("died out at generation %1").arg(start);
            break;
        case RunHistory::Fate::Still:
            line = QStringLiteral("still since generation %1, %2 cells").arg(start).arg(history.population(start));
            break;
        case RunHistory::Fate::Oscillating:
            line = QStringLiteral("period %1 since generation %2, %3 cells")
                       .arg(history.period())
                       .arg(start)
                       .arg(history.population(start));
            break;
        default:
            line = QStringLiteral("not settled after %1 generations").arg(request.maxGenerations);
            break;
        }
        std::printf("%s: %s\n", qPrintable(file), qPrintable(line));
        std::fflush(stdout);
    }
    return status;
}

int TextAnswer::writeGenerations(const CommandLine::Request &request)
{
    const QString &file = request.files.first();
    Pattern pattern;
    if (!readPattern(file, pattern))
        return 1;
    const Rule rule = ruleFor(request, pattern);
    PackedField field = pattern.centred();
    for (int i = 0; i < request.generations; ++i)
        field = field.next(rule);

    GameField buffer;
    GameField::Cell **cells = buffer.snapshot();
    field.toBuffer(cells);
    const std::string text = PatternFile::text(PatternFile::formatOf(request.output).value_or(PatternFile::Format::Rle),
        cells, 1 + request.generations, rule, pattern.name, pattern.comments);
    const QString failure = PatternFile::write(request.output, text);
    if (!failure.isEmpty()) {
        printError(QStringLiteral("%1: %2").arg(request.output, failure));
        return 1;
    }
    return 0;
}

int TextAnswer::writeExport(const CommandLine::Request &request)
{
    const QString &file = request.files.first();
    Pattern pattern;
    if (!readPattern(file, pattern))
        return 1;
    const Rule rule = ruleFor(request, pattern);
    PackedField field = pattern.centred();
    // The window's start colour: green.
    constexpr int ColorMode = 2;
    QString error;
    bool written = false;
    if (QFileInfo(request.output).suffix().compare(QLatin1String("gif"), Qt::CaseInsensitive) == 0) {
        const auto frames = [&field, &rule](int frame, GameField::Cell **cells) {
            if (frame > 0)
                field = field.next(rule);
            field.toBuffer(cells);
        };
        written = FieldExport::writeGif(request.output, request.generations, frames, ColorMode, request.scale,
                      FieldExport::frameDelay(request.speed), FieldExport::Progress(), &error)
            == FieldExport::Outcome::Written;
    } else {
        for (int i = 0; i < request.generations; ++i)
            field = field.next(rule);
        GameField buffer;
        GameField::Cell **cells = buffer.snapshot();
        field.toBuffer(cells);
        written = FieldExport::writePng(request.output, cells, ColorMode, request.scale, &error);
    }
    if (!written) {
        printError(QStringLiteral("%1: %2").arg(request.output, error));
        return 1;
    }
    return 0;
}
