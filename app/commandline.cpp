#include "app/commandline.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>
#include <QRegularExpressionMatch>

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

bool readRule(const QString &text, std::optional<Rule> &rule, std::optional<Topology> &universe, QString &error)
{
    Rule read;
    std::string problem;
    if (!Rule::read(text.toStdString(), read, universe, problem)) {
        error = QStringLiteral("--rule: %1").arg(QString::fromStdString(problem));
        return false;
    }
    rule = read;
    return true;
}

// "classic", "unbounded", "plane:WxH", "torus:WxH", or a rule's suffix with or without its colon
// ("K40*,20", ":S30"), in any letter case.
bool readUniverse(const QString &text, std::optional<Topology> &universe, QString &error)
{
    const QString spelled = text.trimmed().toLower();
    if (spelled == QLatin1String("classic")) {
        universe = Topology::classic();
        return true;
    }
    if (spelled == QLatin1String("unbounded")) {
        universe = Topology::unbounded();
        return true;
    }
    const QRegularExpressionMatch match
        = QRegularExpression(QStringLiteral("^(plane|torus):(\\d{1,10})x(\\d{1,10})$")).match(spelled);
    if (match.hasMatch()) {
        const std::int64_t width = match.captured(2).toLongLong();
        const std::int64_t height = match.captured(3).toLongLong();
        const Topology topology = match.captured(1) == QLatin1String("plane") ? Topology::plane(width, height)
                                                                              : Topology::torus(width, height);
        if (topology.isValid()) {
            universe = topology;
            return true;
        }
        error = QStringLiteral("--universe %1: a plane or torus has 1 to %2 cells, at least one each way, or is an "
                               "endless strip of 0 by 1 to %3")
                    .arg(text)
                    .arg(Topology::MaxBoundedCells)
                    .arg(Topology::MaxStripSide);
        return false;
    }
    if (QRegularExpression(QStringLiteral("^:?[ptkcs][-+*,0-9 ]*$")).match(spelled).hasMatch()) {
        std::string problem;
        const QString typed = text.trimmed();
        const std::string suffix = typed.mid(typed.startsWith(QLatin1Char(':')) ? 1 : 0).toStdString();
        if (const std::optional<Topology> topology = Topology::readSuffix(suffix, problem)) {
            universe = topology;
            return true;
        }
        error = QStringLiteral("--universe %1: %2").arg(text, QString::fromStdString(problem));
        return false;
    }
    error = QStringLiteral("--universe takes classic, unbounded, plane:WxH, torus:WxH or a rule's suffix such as "
                           "T30+7,20, K40*,20, C40,20, S30 or T0,68 (an endless tube), not \"%1\"")
                .arg(text);
    return false;
}

// A universe as --universe names it.
QString universeName(const Topology &topology)
{
    switch (topology.kind()) {
    case Topology::Kind::Classic:
        return QStringLiteral("classic");
    case Topology::Kind::Plane:
        return QStringLiteral("plane:%1x%2").arg(topology.width()).arg(topology.height());
    case Topology::Kind::Torus:
        if (topology.shift() == 0)
            return QStringLiteral("torus:%1x%2").arg(topology.width()).arg(topology.height());
        break;
    case Topology::Kind::Unbounded:
        return QStringLiteral("unbounded");
    case Topology::Kind::KleinBottle:
    case Topology::Kind::CrossSurface:
    case Topology::Kind::Sphere:
        break;
    }
    return QString::fromStdString(topology.suffix().substr(1));
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
    parser.setApplicationDescription(
        QStringLiteral("Conway's Game of Life on the classic 120 x 120 field, a bounded plane, torus, Klein bottle, "
                       "cross-surface or sphere of any size, an endless strip or tube, or the "
                       "unbounded plane."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(QCommandLineOption(QStringLiteral("rule"),
        QStringLiteral(
            "Rule for the window, --settle, --census and --generations, such as B36/S23 or HighLife, or of the "
            "families that run outside the classic field: B2-a/S12 (non-totalistic), "
            "B2/S/C3 (Generations), B2/S34H (hexagonal), B1/S1V (von Neumann) or LifeHistory; overrides the "
            "rule a "
            "file names. A suffix "
            "chooses a bounded universe of w x h cells, as --universe does: :Pw,h a plane, :Tw,h a torus (:Tw+s,h "
            "or :Tw,h+s shifts one pair of edges by s cells, s may be negative), :Kw*,h or :Kw,h* a Klein bottle "
            "(the starred size's edges join twisted), :Cw,h a cross-surface, :Sw a sphere of w x w cells; a size "
            "of 0 makes an endless strip (:P0,h) or tube (:T0,h, :Tw,0). Birth on 0 neighbours runs in the "
            "unbounded plane too, whose background then comes alive: --settle and --census follow the cells "
            "that differ from it, and under a background that blinks every period is even."),
        QStringLiteral("R")));
    parser.addOption(QCommandLineOption(QStringLiteral("universe"),
        QStringLiteral("The universe to run in: classic (120 x 120, dead outside), plane:WxH (dead outside), "
                       "torus:WxH (the edges wrap), a rule's suffix such as T30+7,20, K40*,20, C40,20 or S30 (see "
                       "--rule), or unbounded; overrides the one a file chooses. Without it a "
                       "file opens in the universe its rule's suffix names, else in the classic field if it "
                       "fits there, else in the unbounded plane."),
        QStringLiteral("U")));
    parser.addOption(QCommandLineOption(QStringLiteral("memory"),
        QStringLiteral("MiB the unbounded plane may use, %1 to %2 (1024).")
            .arg(CommandLine::MinMemory)
            .arg(CommandLine::MaxMemory),
        QStringLiteral("MIB")));
    parser.addOption(QCommandLineOption(QStringLiteral("settle"),
        QStringLiteral("For each FILE, print whether and when its pattern dies out, becomes still or starts "
                       "to oscillate, and with what period; under a live background, how many cells are dead; "
                       "outside a bounded universe, how it grows if it does.")));
    parser.addOption(QCommandLineOption(QStringLiteral("census"),
        QStringLiteral("For each FILE, in the unbounded plane: its lifespan, and once it is stable, apart from "
                       "spaceships flying away, its cells, its period and the objects it leaves behind, counted "
                       "by kind. Under a Generations rule an object is a group of cells alive or dying; under "
                       "LifeHistory the live cells are counted as Life's.")));
    parser.addOption(QCommandLineOption(QStringLiteral("max-generations"),
        QStringLiteral("With --settle or --census: the generations to look at before giving up, 1 to %1 (%1) "
                       "with --settle, 1 to %2 with --census.")
            .arg(MaxSettleGenerations)
            .arg(MaxCensusGenerations),
        QStringLiteral("N")));
    parser.addOption(QCommandLineOption(QStringLiteral("generations"),
        QStringLiteral("With --output: the generations to compute from FILE on (generation 1, or one more than "
                       "the generation the file gives), 0 to %1 in the unbounded plane, to %2 in any other universe.")
            .arg(MaxGenerations)
            .arg(MaxBoundedGenerations),
        QStringLiteral("N")));
    parser.addOption(QCommandLineOption(QStringLiteral("output"),
        QStringLiteral("With --generations: where to write the universe after N generations, as RLE, or as "
                       "plaintext for a name ending in .cells, as Life 1.06 for .lif and .life, as macrocell for "
                       ".mc; compressed with gzip when the name ends in .gz."),
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
    parser.addOption(QCommandLineOption(QStringLiteral("fit"),
        QStringLiteral("With --export, in place of --scale: the finest zoom at which the live cells fit W x H "
                       "pixels, zoomed out to a pixel for many cells if need be; W and H 1 to %1.")
            .arg(FieldExport::MaxPictureSide),
        QStringLiteral("WxH")));
    parser.addOption(QCommandLineOption(QStringLiteral("speed"),
        QStringLiteral("With --export to a .gif: generations per second, 1 to %1 (20).").arg(MaxSpeed),
        QStringLiteral("G")));
    parser.addPositionalArgument(QStringLiteral("pattern"),
        QStringLiteral("A pattern file to open: RLE, plaintext, Life 1.05, Life 1.06 or macrocell, gzip-compressed "
                       "or not (several with --settle and --census)."),
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
    std::optional<Topology> suffix;
    if (parser.isSet(QStringLiteral("rule"))
        && !readRule(parser.value(QStringLiteral("rule")), request.rule, suffix, error))
        return fail(error);
    if (parser.isSet(QStringLiteral("universe"))
        && !readUniverse(parser.value(QStringLiteral("universe")), request.universe, error))
        return fail(error);
    if (suffix && request.universe && *suffix != *request.universe)
        return fail(QStringLiteral("--universe %1 and the rule's suffix (%2) name different universes")
                        .arg(universeName(*request.universe), universeName(*suffix)));
    if (suffix)
        request.universe = suffix;

    const auto isSet = [&parser](const char *option) { return parser.isSet(QString::fromLatin1(option)); };
    const auto readNumber = [&parser](const char *option, auto low, auto high, auto &value) {
        if (!parser.isSet(QString::fromLatin1(option)))
            return QString();
        const QString text = parser.value(QString::fromLatin1(option));
        bool valid = false;
        const qlonglong number = text.toLongLong(&valid);
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
    if (const QString problem = readNumber("memory", MinMemory, MaxMemory, request.memory); !problem.isEmpty())
        return fail(problem);
    const bool settle = isSet("settle");
    const bool census = isSet("census");
    const bool generations = isSet("generations");
    const bool output = isSet("output");
    const bool exporting = isSet("export");
    if (isSet("max-generations") && !settle && !census)
        return fail(QStringLiteral("--max-generations goes with --settle or --census"));
    if ((isSet("scale") || isSet("speed") || isSet("fit")) && !exporting)
        return fail(QStringLiteral("--scale, --fit and --speed go with --export"));
    if (isSet("scale") && isSet("fit"))
        return fail(QStringLiteral("--scale and --fit each choose the zoom: use one of them"));
    if (settle + census + exporting + output > 1)
        return fail(
            QStringLiteral("--settle, --census, --export and --output each answer on their own: use one of them"));

    if (exporting) {
        request.output = parser.value(QStringLiteral("export"));
        const QString suffix = QFileInfo(request.output).suffix().toLower();
        if (suffix != QLatin1String("png") && suffix != QLatin1String("gif"))
            return fail(
                QStringLiteral("--export writes a .png picture or a .gif animation, not \"%1\"").arg(request.output));
        const bool animation = suffix == QLatin1String("gif");
        request.generations = animation ? DefaultAnimationGenerations : 0;
        QString problem = readNumber("generations", std::int64_t(animation ? FieldExport::MinGenerations : 0),
            animation ? std::int64_t(FieldExport::MaxGenerations) : MaxGenerations, request.generations);
        if (problem.isEmpty())
            problem = readNumber("scale", FieldExport::MinScale, FieldExport::MaxScale, request.scale);
        if (problem.isEmpty())
            problem = readNumber("speed", 1, MaxSpeed, request.speed);
        if (problem.isEmpty() && isSet("fit")) {
            static const QRegularExpression size(QStringLiteral("^\\s*(\\d{1,9})\\s*[xX×]\\s*(\\d{1,9})\\s*$"));
            const QRegularExpressionMatch match = size.match(parser.value(QStringLiteral("fit")));
            const int width = match.hasMatch() ? match.captured(1).toInt() : 0;
            const int height = match.hasMatch() ? match.captured(2).toInt() : 0;
            if (width < 1 || height < 1 || width > FieldExport::MaxPictureSide || height > FieldExport::MaxPictureSide)
                problem = QStringLiteral("--fit needs a size WxH, each from 1 to %1, not \"%2\"")
                              .arg(FieldExport::MaxPictureSide)
                              .arg(parser.value(QStringLiteral("fit")));
            request.fit = QSize(width, height);
        }
        request.scaleGiven = isSet("scale");
        if (!problem.isEmpty())
            return fail(problem);
        if (request.files.size() != 1)
            return fail(QStringLiteral("--export needs exactly one pattern file"));
        request.mode = Request::Mode::Export;
        return request;
    }
    if (settle || census) {
        const QString name = settle ? QStringLiteral("--settle") : QStringLiteral("--census");
        if (generations)
            return fail(QStringLiteral("%1 cannot be combined with --generations").arg(name));
        if (census && request.universe && *request.universe != Topology::unbounded())
            return fail(QStringLiteral("--census works in the unbounded plane, not in %1")
                            .arg(universeName(*request.universe)));
        const QString problem = readNumber("max-generations", std::int64_t(1),
            settle ? std::int64_t(MaxSettleGenerations) : MaxCensusGenerations, request.maxGenerations);
        if (!problem.isEmpty())
            return fail(problem);
        if (request.files.isEmpty())
            return fail(QStringLiteral("%1 needs at least one pattern file").arg(name));
        request.mode = settle ? Request::Mode::Settle : Request::Mode::Census;
        return request;
    }
    if (generations || output) {
        if (!generations || !output)
            return fail(QStringLiteral("--generations and --output go together"));
        const QString problem = readNumber("generations", std::int64_t(0), MaxGenerations, request.generations);
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
