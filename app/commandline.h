#ifndef COMMANDLINE_H
#define COMMANDLINE_H

#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

#include "model/analysis/runhistory.h"
#include "model/engine/rule.h"
#include "model/engine/topology.h"

class QCommandLineParser;

// The program's own options, read whole before any window or display is
// needed: a command line that cannot be used is refused on the terminal, and
// questions answered in text (help, version, where patterns settle, what
// they leave behind, a field some generations on, a picture) never contact
// the window system.
class CommandLine
{
public:
    // What the arguments ask for. Parsing touches no file and prints nothing.
    struct Request {
        enum class Mode { Window, Help, Version, Settle, Census, Generations, Export, Error };
        Mode mode = Mode::Window;
        QString error; // Mode::Error: what is wrong, one line for standard error
        QStringList files; // pattern files, in the order given; at most one for the window
        std::optional<Rule> rule; // --rule: overrides the rule files name
        // --universe, or the suffix of --rule: overrides the universe files
        // choose; valid, and able to run `rule`.
        std::optional<Topology> universe;
        int memory = 0; // --memory in MiB, MinMemory..MaxMemory; 0 keeps the default
        // --generations, 0..MaxGenerations (1..10000 for an animation); more
        // than MaxBoundedGenerations only in the unbounded plane.
        std::int64_t generations = 0;
        // --max-generations of --settle, 1..MaxSettleGenerations, or of
        // --census, 1..MaxCensusGenerations
        std::int64_t maxGenerations = MaxSettleGenerations;
        QString output; // --output, or --export's picture or animation
        int scale = 2; // --scale of an export, 1..8
        bool scaleGiven = false; // whether --scale was given, rather than taken by default
        // --fit of an export: the pixels each way, 1..FieldExport::MaxPictureSide, the live cells fit in
        std::optional<QSize> fit;
        int speed = 20; // --speed of an animation, generations per second, 1..30
    };

    static constexpr std::int64_t MaxGenerations = 1000000000000000000; // in the unbounded plane
    static constexpr std::int64_t MaxBoundedGenerations = 1000000000; // in any other universe
    static constexpr int MinMemory = 16; // MiB of --memory
    static constexpr int MaxMemory = 1 << 20;
    // The most generations --settle and --census look at: as far as a run history reaches.
    static constexpr int MaxSettleGenerations = RunHistory::GenerationLimit;
    // The most generations --census looks at, jumping ahead in the unbounded plane.
    static constexpr std::int64_t MaxCensusGenerations = 1000000000000;
    // The exit status of a command line that cannot be used.
    static constexpr int UsageStatus = 2;

    CommandLine() = delete;

    // The raw arguments, the program's name first, before the toolkit has
    // seen them. Its own options (-style, -platform, ...) are let through for
    // the window; any other option that is not the program's own is an error.
    static Request parse(const QStringList &arguments);
    // The options, as --help lists them.
    static QString helpText();

private:
    static void describe(QCommandLineParser &parser);
};

#endif // COMMANDLINE_H
