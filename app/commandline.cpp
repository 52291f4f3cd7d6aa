#include "app/commandline.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFileInfo>

#include <cstring>
#include <string>

#include "export/fieldexport.h"

namespace
{

const char *const TextOptions[] = { "-h", "-?", "--help", "--help-all", "-v", "--version", "--settle", "--generations",
    "--output", "--export", "--scale", "--speed" };
constexpr int DefaultAnimationGenerations = 100;
constexpr int MaxSpeed = 30; // generations per second, as the window's speed box

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

QString CommandLine::helpText()
{
    QCommandLineParser parser;
    describe(parser);
    return parser.helpText();
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
    parser.addOption(QCommandLineOption(QStringLiteral("export"),
        QStringLiteral("Write FILE as a picture (OUT ending in .png: the field at generation 1 + N, N 0 unless "
                       "--generations says) or an animation (.gif: generations 1 to 1 + N, N 100 unless "
                       "--generations says, up to 10000)."),
        QStringLiteral("OUT")));
    parser.addOption(QCommandLineOption(QStringLiteral("scale"),
        QStringLiteral("With --export: pixels of the picture per pixel of the window's field, 1 to 8 (2)."),
        QStringLiteral("S")));
    parser.addOption(QCommandLineOption(QStringLiteral("speed"),
        QStringLiteral("With --export to a .gif: generations per second, 1 to 30 (20)."), QStringLiteral("G")));
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
    const bool exporting = parser.isSet(QStringLiteral("export"));
    const bool exportOptions = parser.isSet(QStringLiteral("scale")) || parser.isSet(QStringLiteral("speed"));
    if (!settle && !generations && !output && !exporting && !exportOptions) {
        if (!parsed)
            request.warning = parser.errorText();
        return request;
    }
    if (!parsed)
        return fail(parser.errorText());
    const auto readNumber = [&parser](const char *option, int low, int high, int fallback, int &value) {
        const QString text = parser.value(QString::fromLatin1(option));
        if (!parser.isSet(QString::fromLatin1(option))) {
            value = fallback;
            return QString();
        }
        bool valid = false;
        value = text.toInt(&valid);
        if (valid && value >= low && value <= high)
            return QString();
        return QStringLiteral("--%1 needs a whole number from %2 to %3, not \"%4\"")
            .arg(QString::fromLatin1(option))
            .arg(low)
            .arg(high)
            .arg(text);
    };
    if (exporting || exportOptions) {
        // Everything about an export is its own error, status 1; only a bad rule is 2.
        request.errorStatus = 1;
        if (!parsed)
            return fail(parser.errorText());
        if (!exporting)
            return fail(QStringLiteral("--scale and --speed go with --export"));
        if (settle || output)
            return fail(QStringLiteral("--export cannot be combined with --settle or --output"));
        request.output = parser.value(QStringLiteral("export"));
        const QString suffix = QFileInfo(request.output).suffix().toLower();
        if (suffix != QLatin1String("png") && suffix != QLatin1String("gif"))
            return fail(
                QStringLiteral("--export writes a .png picture or a .gif animation, not \"%1\"").arg(request.output));
        const bool animation = suffix == QLatin1String("gif");
        QString problem = readNumber("generations", animation ? FieldExport::MinGenerations : 0,
            animation ? FieldExport::MaxGenerations : MaxGenerations, animation ? DefaultAnimationGenerations : 0,
            request.generations);
        if (problem.isEmpty())
            problem = readNumber(
                "scale", FieldExport::MinScale, FieldExport::MaxScale, FieldExport::DefaultScale, request.scale);
        if (problem.isEmpty())
            problem = readNumber("speed", 1, MaxSpeed, request.speed, request.speed);
        if (!problem.isEmpty())
            return fail(problem);
        if (request.files.size() != 1)
            return fail(QStringLiteral("--export needs exactly one pattern file"));
        request.mode = Request::Mode::Export;
        return request;
    }
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
    const QString problem = readNumber("generations", 0, MaxGenerations, 0, request.generations);
    if (!problem.isEmpty())
        return fail(problem);
    if (request.files.size() != 1)
        return fail(QStringLiteral("--generations needs exactly one pattern file"));
    request.output = parser.value(QStringLiteral("output"));
    if (request.output.isEmpty())
        return fail(QStringLiteral("--output needs a file name"));
    request.mode = Request::Mode::Generations;
    return request;
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
