// Any bytes as the program's arguments (split at NUL bytes, the program's name
// first), through CommandLine::parse, which decides what every start of the
// program does before the window system is contacted. It touches no file.
// Beyond not crashing, a request must be one the answers can carry out: an
// error says what is wrong on one line, a count of generations lies in its
// range with one file and an output to write, a question about settling or a
// census names its files and a limit in range, a census never a bounded
// universe, and the window opens one file at most.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "app/commandline.h"
#include "tests/fuzz/fuzzrequire.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // At most this many arguments: a shell passes far fewer, and more only slows the search.
    constexpr int MaxArguments = 16;
    std::vector<QByteArray> raw { QByteArrayLiteral("gameoflife") };
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<int>(size));
    for (const QByteArray &argument : bytes.split('\0')) {
        if (static_cast<int>(raw.size()) > MaxArguments)
            break;
        raw.push_back(argument);
    }
    QStringList arguments;
    for (const QByteArray &argument : raw)
        arguments.append(QString::fromLocal8Bit(argument));

    using Mode = CommandLine::Request::Mode;
    const CommandLine::Request request = CommandLine::parse(arguments);
    switch (request.mode) {
    case Mode::Error:
        require(!request.error.isEmpty() && !request.error.contains(QLatin1Char('\n')),
            "an error says what is wrong, on one line");
        break;
    case Mode::Generations:
        require(request.generations >= 0 && request.generations <= CommandLine::MaxGenerations,
            "the generations lie in their range");
        require(request.files.size() == 1 && !request.output.isEmpty(), "one file to read and an output to write");
        break;
    case Mode::Export:
        require(request.scale >= 1 && request.scale <= 8 && request.speed >= 1 && request.speed <= 30,
            "the scale and the speed lie in their ranges");
        require(request.files.size() == 1 && !request.output.isEmpty(), "one file to read and a picture to write");
        require(!request.fit
                || (request.fit->width() >= 1 && request.fit->width() <= 16384 && request.fit->height() >= 1
                    && request.fit->height() <= 16384),
            "a size to fit lies in its range");
        break;
    case Mode::Settle:
    case Mode::Census:
        require(!request.files.isEmpty(), "--settle and --census have files");
        require(request.maxGenerations >= 1
                && request.maxGenerations <= (request.mode == Mode::Settle ? CommandLine::MaxSettleGenerations
                                                                           : CommandLine::MaxCensusGenerations),
            "the limit of --settle and --census lies in its range");
        require(request.mode == Mode::Settle || !request.universe || *request.universe == Topology::unbounded(),
            "--census runs in the unbounded plane");
        break;
    case Mode::Window:
        require(request.files.size() <= 1, "the window opens one file at most");
        break;
    case Mode::Help:
    case Mode::Version:
        break;
    }
    return 0;
}
