#include "app/commandline.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <cstring>
#include <string>

#include "mainwindow/patternfile.h"
#include "model/gamefield.h"
#include "model/packedfield.h"
#include "model/pattern.h"
#include "model/runhistory.h"

namespace
{

const char *const TextOptions[]
    = { "-h", "-?", "--help", "--help-all", "-v", "--version", "--settle", "--generations", "--output" };

void printError(const QString &text) { std::fprintf(stderr, "gameoflife: %s\n", qPrintable(text)); }

// The rule a request runs a file under: the command line's, else the file's, else Conway's.
Rule ruleFor(const CommandLine::Request &request, const Pattern &pattern)
{
    return request.rule.value_or(pattern.rule.value_or(Rule()));
}

bool readRule(const QString &text, std::optional<Rule> &rule, QString &error)
{
    Rule read;
    std::string problem;
    if (!Rule::read(text.toStdString(), read, problem)) {
        error = QStringLiteral("--rule: %1").arg(QString::fromStdString(problem));
        return false;
    }
    rule = read;
    return true;
}

} // namespace

bool CommandLine::asksInText(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        for (const char *option : TextOptions) {
            const std::size_t length = std::strlen(option);
            // "--generations=5" as well as "--generations 5".
            if (std::strncmp(argv[i], option, length) == 0 && (argv[i][length] == '\0' || argv[i][length] == '='))
                return true;
        }
    }
    return false;
}

void CommandLine::describe(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral("Conway's Game of Life on a 120 x 120 field."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(QCommandLineOption(QStringLiteral("rule"),
        QStringLiteral("Life-like rule for the window, --settle and --generations, such as B36/S23 or HighLife; "
                       "overrides the rule a file names."),
        QStringLiteral("R")));
    parser.addOption(QCommandLineOption(QStringLiteral("settle"),
        QStringLiteral("For each FILE, print whether and when its pattern dies out, becomes still or starts "
                       "to oscillate, and with what period.")));
    parser.addOption(QCommandLineOption(QStringLiteral("generations"),
        QStringLiteral("With --output: the generations to compute from FILE (generation 1) on."), QStringLiteral("N")));
    parser.addOption(QCommandLineOption(QStringLiteral("output"),
        QStringLiteral("With --generations: where to write the field after N generations, as RLE, or as "
                       "plaintext for a name ending in .cells, or as Life 1.06 for .lif and .life."),
        QStringLiteral("OUT")));
    parser.addPositionalArgument(QStringLiteral("pattern"),
        QStringLiteral("A pattern file to open: RLE, plaintext, Life 1.05 or Life 1.06 (several with --settle)."),
        QStringLiteral("[PATTERN]"));
}

CommandLine::Request CommandLine::parse(const QStringList &arguments)
{
    Request request;
    QCommandLineParser parser;
    describe(parser);
    const auto fail = [&request](const QString &error) {
        request.mode = Request::Mode::Error;
        request.error = error;
        return request;
    };

    const bool parsed = parser.parse(arguments);
    // "-?" is the toolkit's help option only on Windows; people type it everywhere.
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))
        || arguments.contains(QStringLiteral("-?"))) {
        request.mode = Request::Mode::Help;
        return request;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        request.mode = Request::Mode::Version;
        return request;
    }
    request.files = parser.positionalArguments();
    if (parser.isSet(QStringLiteral("rule"))) {
        QString error;
        if (!readRule(parser.value(QStringLiteral("rule")), request.rule, error))
            return fail(error);
    }

    const bool settle = parser.isSet(QStringLiteral("settle"));
    const bool generations = parser.isSet(QStringLiteral("generations"));
    const bool output = parser.isSet(QStringLiteral("output"));
    if (!settle && !generations && !output) {
        if (!parsed)
            request.warning = parser.errorText();
        return request;
    }
    if (!parsed)
        return fail(parser.errorText());
    if (settle) {
        if (generations || output)
            return fail(QStringLiteral("--settle cannot be combined with --generations or --output"));
        if (request.files.isEmpty())
            return fail(QStringLiteral("--settle needs at least one pattern file"));
        request.mode = Request::Mode::Settle;
        return request;
    }
    if (!generations || !output)
        return fail(QStringLiteral("--generations and --output go together"));
    bool number = false;
    const QString count = parser.value(QStringLiteral("generations"));
    request.generations = count.toInt(&number);
    if (!number || request.generations < 0 || request.generations > MaxGenerations)
        return fail(QStringLiteral("--generations needs a whole number from 0 to %1, not \"%2\"")
                        .arg(MaxGenerations)
                        .arg(count));
    if (request.files.size() != 1)
        return fail(QStringLiteral("--generations needs exactly one pattern file"));
    request.output = parser.value(QStringLiteral("output"));
    if (request.output.isEmpty())
        return fail(QStringLiteral("--output needs a file name"));
    request.mode = Request::Mode::Generations;
    return request;
}

int CommandLine::answer(const Request &request)
{
    switch (request.mode) {
    case Request::Mode::Help: {
        QCommandLineParser parser;
        describe(parser);
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    case Request::Mode::Version:
        std::printf("gameoflife %s\n", qPrintable(QCoreApplication::applicationVersion()));
        return 0;
    case Request::Mode::Settle:
        return settle(request);
    case Request::Mode::Generations:
        return writeGenerations(request);
    case Request::Mode::Error:
        printError(request.error);
        return request.errorStatus;
    case Request::Mode::Window:
        break;
    }
    return 0;
}

bool CommandLine::ruleOption(int argc, char *argv[], std::optional<Rule> &rule, QString &error)
{
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        QString value;
        if (argument == QLatin1String("--rule")) {
            if (i + 1 == argc) {
                error = QStringLiteral("--rule needs a rule, such as B3/S23");
                return false;
            }
            value = QString::fromLocal8Bit(argv[++i]);
        } else if (argument.startsWith(QLatin1String("--rule="))) {
            value = argument.mid(7);
        } else {
            continue;
        }
        if (!readRule(value, rule, error))
            return false;
    }
    return true;
}

int CommandLine::settle(const Request &request)
{
    int status = 0;
    for (const QString &file : request.files) {
        Pattern pattern;
        const QString problem = PatternFile::read(file, pattern);
        if (!problem.isEmpty()) {
            printError(QStringLiteral("%1: %2").arg(file, problem));
            status = 1;
            continue;
        }
        const Rule rule = ruleFor(request, pattern);
        PackedField field = pattern.centred();
        RunHistory history;
        history.reset(field, 1, rule);
        while (history.fate() == RunHistory::Fate::Evolving) {
            field = field.next(rule);
            history.append(field);
        }
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
            line = QStringLiteral("not settled after %1 generations").arg(RunHistory::GenerationLimit);
            break;
        }
        std::printf("%s: %s\n", qPrintable(file), qPrintable(line));
        std::fflush(stdout);
    }
    return status;
}

int CommandLine::writeGenerations(const Request &request)
{
    const QString &file = request.files.first();
    Pattern pattern;
    const QString problem = PatternFile::read(file, pattern);
    if (!problem.isEmpty()) {
        printError(QStringLiteral("%1: %2").arg(file, problem));
        return 1;
    }
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
