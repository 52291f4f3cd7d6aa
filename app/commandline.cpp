#include "app/commandline.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFileInfo>

#include <string>

#include "export/fieldexport.h"

namespace
{

constexpr int DefaultAnimationGenerations = 100;
constexpr int MaxSpeed = 30; // generations per second, as the window's speed box

// The options QApplication and its X11 platform take for themselves, with one
// dash or two: these take the next argument as their value...
const char *const ToolkitOptionsWithValue[]
    = { "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "geometry", "qwindowicon",
          "icon", "qwindowtitle", "title", "session", "style", "stylesheet", "display", "name" };
// ...these take none...
const char *const ToolkitSwitches[] = { "reverse", "widgetcount", "sync", "nograb", "dograb", "testability" };
// ...and these take theirs after '='.
const char *const ToolkitOptionsWithEquals[] = { "style=", "stylesheet=", "qmljsdebugger=" };

// The toolkit's option name of `argument` without its dashes, or an empty
// string for any other argument.
QString toolkitName(const QString &argument)
{
    if (!argument.startsWith(QLatin1Char('-')) || argument.startsWith(QLatin1String("---")))
        return QString();
    return argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
}

// Leaves out of `arguments` the toolkit's own options and their values, which
// the window's application takes; sets `error` for one that lacks its value.
QStringList withoutToolkitOptions(const QStringList &arguments, QString &error)
{
    QStringList own;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString name = i == 0 ? QString() : toolkitName(arguments[i]);
        bool toolkit = false;
        for (const char *option : ToolkitOptionsWithValue) {
            if (name == QLatin1String(option)) {
                if (i + 1 == arguments.size()) {
                    error = QStringLiteral("%1 needs a value").arg(arguments[i]);
                    return own;
                }
                toolkit = true;
                ++i;
            }
        }
        for (const char *option : ToolkitSwitches)
            toolkit = toolkit || name == QLatin1String(option);
        for (const char *prefix : ToolkitOptionsWithEquals)
            toolkit = toolkit || name.startsWith(QLatin1String(prefix));
        if (!toolkit)
            own.append(arguments[i]);
    }
    return own;
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
    parser.addOption(QCommandLineOption(QStringLiteral("max-generations"),
        QStringLiteral("With --settle: the generations to look at before giving up, 1 to %1 (%1).")
            .arg(MaxSettleGenerations),
        QStringLiteral("N")));
    parser.addOption(QCommandLineOption(QStringLiteral("generations"),
        QStringLiteral("With --output: the generations to compute from FILE (generation 1) on, 0 to %1.")
            .arg(MaxGenerations),
        QStringLiteral("N")));
    parser.addOption(QCommandLineOption(QStringLiteral("output"),
        QStringLiteral("With --generations: where to write the field after N generations, as RLE, or as "
                       "plaintext for a name ending in .cells, or as Life 1.06 for .lif and .life."),
        QStringLiteral("OUT")));
    parser.addOption(QCommandLineOption(QStringLiteral("export"),
        QStringLiteral("Write FILE as a picture (OUT ending in .png: the field at generation 1 + N, N 0 unless "
                       "--generations says) or an animation (.gif: generations 1 to 1 + N, N 100 unless "
                       "--generations says, 1 to %1).")
            .arg(FieldExport::MaxGenerations),
        QStringLiteral("OUT")));
    parser.addOption(QCommandLineOption(QStringLiteral("scale"),
        QStringLiteral("With --export: pixels of the picture per pixel of the window's field, %1 to %2 (%3).")
            .arg(FieldExport::MinScale)
            .arg(FieldExport::MaxScale)
            .arg(FieldExport::DefaultScale),
        QStringLiteral("S")));
    parser.addOption(QCommandLineOption(QStringLiteral("speed"),
        QStringLiteral("With --export to a .gif: generations per second, 1 to %1 (20).").arg(MaxSpeed),
        QStringLiteral("G")));
    parser.addPositionalArgument(QStringLiteral("pattern"),
        QStringLiteral("A pattern file to open: RLE, plaintext, Life 1.05 or Life 1.06 (several with --settle)."),
        QStringLiteral("[PATTERN]"));
}

CommandLine::Request CommandLine::parse(const QStringList &arguments)
{
    Request request;
    const auto fail = [&request](const QString &error) {
        request.mode = Request::Mode::Error;
        // One line, whatever the arguments quoted in it hold.
        request.error = error.simplified();
        return request;
    };
    // "-?" is the toolkit's help option only on Windows; people type it everywhere.
    if (arguments.mid(1).contains(QStringLiteral("-?"))) {
        request.mode = Request::Mode::Help;
        return request;
    }
    QString error;
    const QStringList own = withoutToolkitOptions(arguments, error);
    if (!error.isEmpty())
        return fail(error);
    QCommandLineParser parser;
    describe(parser);
    const bool parsed = parser.parse(own);
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        request.mode = Request::Mode::Help;
        return request;
    }
    if (!parsed)
        return fail(parser.errorText());
    if (parser.isSet(QStringLiteral("version"))) {
        request.mode = Request::Mode::Version;
        return request;
    }
    request.files = parser.positionalArguments();
    if (parser.isSet(QStringLiteral("rule")) && !readRule(parser.value(QStringLiteral("rule")), request.rule, error))
        return fail(error);

    const auto isSet = [&parser](const char *option) { return parser.isSet(QString::fromLatin1(option)); };
    const auto readNumber = [&parser](const char *option, int low, int high, int &value) {
        if (!parser.isSet(QString::fromLatin1(option)))
            return QString();
        const QString text = parser.value(QString::fromLatin1(option));
        bool valid = false;
        const int number = text.toInt(&valid);
        if (valid && number >= low && number <= high) {
            value = number;
            return QString();
        }
        return QStringLiteral("--%1 needs a whole number from %2 to %3, not \"%4\"")
            .arg(QString::fromLatin1(option))
            .arg(low)
            .arg(high)
            .arg(text);
    };
    const bool settle = isSet("settle");
    const bool generations = isSet("generations");
    const bool output = isSet("output");
    const bool exporting = isSet("export");
    if (isSet("max-generations") && !settle)
        return fail(QStringLiteral("--max-generations goes with --settle"));
    if ((isSet("scale") || isSet("speed")) && !exporting)
        return fail(QStringLiteral("--scale and --speed go with --export"));
    if (settle + exporting + output > 1)
        return fail(QStringLiteral("--settle, --export and --output each answer on their own: use one of them"));

    if (exporting) {
        request.output = parser.value(QStringLiteral("export"));
        const QString suffix = QFileInfo(request.output).suffix().toLower();
        if (suffix != QLatin1String("png") && suffix != QLatin1String("gif"))
            return fail(
                QStringLiteral("--export writes a .png picture or a .gif animation, not \"%1\"").arg(request.output));
        const bool animation = suffix == QLatin1String("gif");
        request.generations = animation ? DefaultAnimationGenerations : 0;
        QString problem = readNumber("generations", animation ? FieldExport::MinGenerations : 0,
            animation ? FieldExport::MaxGenerations : MaxGenerations, request.generations);
        if (problem.isEmpty())
            problem = readNumber("scale", FieldExport::MinScale, FieldExport::MaxScale, request.scale);
        if (problem.isEmpty())
            problem = readNumber("speed", 1, MaxSpeed, request.speed);
        if (!problem.isEmpty())
            return fail(problem);
        if (request.files.size() != 1)
            return fail(QStringLiteral("--export needs exactly one pattern file"));
        request.mode = Request::Mode::Export;
        return request;
    }
    if (settle) {
        if (generations)
            return fail(QStringLiteral("--settle cannot be combined with --generations"));
        const QString problem = readNumber("max-generations", 1, MaxSettleGenerations, request.maxGenerations);
        if (!problem.isEmpty())
            return fail(problem);
        if (request.files.isEmpty())
            return fail(QStringLiteral("--settle needs at least one pattern file"));
        request.mode = Request::Mode::Settle;
        return request;
    }
    if (generations || output) {
        if (!generations || !output)
            return fail(QStringLiteral("--generations and --output go together"));
        const QString problem = readNumber("generations", 0, MaxGenerations, request.generations);
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
    if (request.files.size() > 1)
        return fail(QStringLiteral("the window opens one pattern file, not %1").arg(request.files.size()));
    return request;
}
