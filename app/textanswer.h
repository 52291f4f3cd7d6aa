#ifndef TEXTANSWER_H
#define TEXTANSWER_H

#include <QString>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/commandline.h"
#include "model/analysis/censussearch.h"

class RunHistory;
class Universe;

// The answers the command line gives on a terminal: help, version, where
// patterns settle, what they leave behind, a field some generations on, a
// picture or an animation.
// Apart from the parsing, which needs none of what these use, so that the
// parsing can be fuzzed on its own.
class TextAnswer
{
public:
    TextAnswer() = delete;

    // Answers a request that is not Mode::Window on standard output and
    // standard error. Returns the exit status: 0, 1 when a file could not be
    // read or written (or an export cannot be made), 2 for a command line that
    // cannot be used.
    static int answer(const CommandLine::Request &request);

    // Runs `universe`, as generation `first`, until it settles or `maxGenerations`
    // generations after the first have been looked at, and says where it went
    // as fateLine() does. `progress`, if given, sees the history after each
    // record. May throw UniverseError.
    static QString settleLine(Universe &universe, std::int64_t maxGenerations, std::int64_t first = 1,
        const std::function<void(const RunHistory &)> &progress = nullptr);
    // What --census prints of `universe`, of the unbounded plane, looked at
    // for at most `maxGenerations` generations after the first: see
    // Stabilisation::Result::lines() and CensusSearch. `progress`, if given,
    // sees the generation reached now and then. May throw UniverseError.
    static std::vector<std::string> censusLines(
        const Universe &universe, std::int64_t maxGenerations, const CensusSearch::Progress &progress = nullptr);
    // Where `history` says its run is going, as --settle prints it: "died
    // out at generation 131", "period 2 since generation 1104, 124 cells",
    // "moves (1, 1) every 4 generations since generation 1, 5 cells", ...,
    // "grows as a gun of period 30, found after 1024 generations".
    static QString fateLine(const RunHistory &history, std::int64_t maxGenerations);

private:
    // "grows quadratically, 66049 cells after 128 generations": how a pattern
    // grows, found `generations` after the first, with `cells` then.
    static QString growthLine(const Growth::Report &growth, std::int64_t generations, const QString &cells);
    static int settle(const CommandLine::Request &request);
    static int census(const CommandLine::Request &request);
    static int writeGenerations(const CommandLine::Request &request);
    static int writeExport(const CommandLine::Request &request);
    // The classic field as the window shows it, and any other universe as
    // the view draws it at the scale's zoom; generation 1 + generations, or an
    // animation of generations 1 to 1 + generations.
    static bool writeClassicExport(
        const CommandLine::Request &request, Universe &universe, bool animation, int colorMode, QString &error);
    static bool writeUniverseExport(
        const CommandLine::Request &request, Universe &universe, bool animation, int colorMode, QString &error);
};

#endif // TEXTANSWER_H
