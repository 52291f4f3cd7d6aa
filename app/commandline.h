#ifndef COMMANDLINE_H
#define COMMANDLINE_H

#include <QString>
#include <QStringList>

#include <optional>

#include "model/engine/rule.h"

class QCommandLineParser;

// The program's own options. Questions that are answered in text (help,
// version, where patterns settle, a field some generations on) are answered
// here, before any window exists, so that they work on a terminal without a
// display; everything else starts the window.
class CommandLine
{
public:
    // What the arguments ask for. Parsing touches no file and prints nothing.
    struct Request {
        enum class Mode { Window, Help, Version, Settle, Generations, Export, Error };
        Mode mode = Mode::Window;
        QString error; // Mode::Error: what is wrong, for standard error
        QString warning; // Mode::Window: what the window ignores, for standard error
        int errorStatus = 2; // Mode::Error: the exit status
        QStringList files; // pattern files, in the order given
        std::optional<Rule> rule; // --rule: overrides the rule files name
        int generations = 0; // --generations, 0..MaxGenerations
        QString output; // --output, or --export's picture or animation
        int scale = 2; // --scale of an export, 1..8
        int speed = 20; // --speed of an animation, generations per second, 1..30
    };

    static constexpr int MaxGenerations = 1000000000;

    CommandLine() = delete;

    // Whether the raw arguments ask a question answered in text; decided
    // before any application object exists, since the window system must not
    // be contacted for these.
    static bool asksInText(int argc, char *argv[]);
    // The arguments, the program's name first. Options that are not the
    // program's own (the toolkit's, once it has taken its own) make an error
    // only for a question answered in text; a window starts regardless.
    static Request parse(const QStringList &arguments);
    // The options, as --help lists them.
    static QString helpText();
    // The rule of a --rule option in the raw arguments, checked before the
    // window starts. Returns false and sets `error` if it does not read.
    static bool ruleOption(int argc, char *argv[], std::optional<Rule> &rule, QString &error);

private:
    static void describe(QCommandLineParser &parser);
};

#endif // COMMANDLINE_H
