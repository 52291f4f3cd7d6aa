#include "document/appsettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QSettings>
#include <QSize>
#include <QVariant>

#include <cstdio>
#include <string>

namespace
{

const QString SpeedKey = QStringLiteral("speed");
const QString ColorKey = QStringLiteral("colour");
const QString RuleKey = QStringLiteral("rule");
const QString PasteModeKey = QStringLiteral("pasteMode");
const QString PauseKey = QStringLiteral("pauseWhenSettled");
const QString LimitKey = QStringLiteral("generationLimit");
const QString FolderKey = QStringLiteral("patternFolder");
const QString PositionKey = QStringLiteral("windowPosition");
const QString RecentKey = QStringLiteral("recentFiles");
const QString UniverseKey = QStringLiteral("universe");
const QString MemoryKey = QStringLiteral("memory");
const QString GridKey = QStringLiteral("grid");
const QString FollowKey = QStringLiteral("followPattern");
const QString DockFolderKey = QStringLiteral("patternsDockFolder");

// The part of the window's frame that must be on a screen for the window to be
// grabbed and moved back: the left end of its title bar. In pixels.
const QSize GrabbableCorner(100, 30);

// An integer in first..last, stored as a number or as digits; else `fallback`.
int intInRange(const QVariant &value, int first, int last, int fallback)
{
    bool ok = false;
    const int number = value.toInt(&ok);
    return ok && number >= first && number <= last ? number : fallback;
}

// The user's settings file. Without an organisation, which QSettings needs to
// read or write anything at all, the application's name stands for it.
QSettings *userSettings()
{
    const QString application = QCoreApplication::applicationName();
    const QString organisation = QCoreApplication::organizationName();
    return new QSettings(organisation.isEmpty() ? application : organisation, application);
}

} // namespace

AppSettings::AppSettings(const QString &fileName)
    : settings(fileName.isEmpty() ? userSettings() : new QSettings(fileName, QSettings::IniFormat))
{
    const QString shown = QDir::toNativeSeparators(settings->fileName());
    if (settings->status() == QSettings::AccessError)
        report(QStringLiteral("could not read the settings file %1; starting with the defaults").arg(shown));
    else if (settings->status() == QSettings::FormatError)
        report(QStringLiteral("the settings file %1 is damaged; what cannot be read is set to its default").arg(shown));
}

AppSettings::~AppSettings() { delete settings; }

QString AppSettings::fileName() const { return settings->fileName(); }

int AppSettings::speed() const { return intInRange(settings->value(SpeedKey), MinSpeed, MaxSpeed, DefaultSpeed); }

void AppSettings::setSpeed(int generationsPerSecond) { write(SpeedKey, generationsPerSecond); }

int AppSettings::colorIndex() const
{
    return intInRange(settings->value(ColorKey), 0, ColorCount - 1, DefaultColorIndex);
}

void AppSettings::setColorIndex(int index) { write(ColorKey, index); }

int AppSettings::pasteMode() const { return intInRange(settings->value(PasteModeKey), 0, 2, 0); }

void AppSettings::setPasteMode(int mode) { write(PasteModeKey, mode); }

Rule AppSettings::rule() const
{
    const QVariant value = settings->value(RuleKey);
    Rule rule;
    std::string error;
    if (value.type() == QVariant::String && !Rule::read(value.toString().toStdString(), rule, error))
        return Rule();
    return rule;
}

void AppSettings::setRule(const Rule &rule) { write(RuleKey, QString::fromStdString(rule.toString())); }

int AppSettings::generationLimit() const
{
    return intInRange(settings->value(LimitKey), 1, MaxGenerationLimit, MaxGenerationLimit);
}

void AppSettings::setGenerationLimit(int generations) { write(LimitKey, generations); }

bool AppSettings::pauseWhenSettled() const
{
    // Only the words QSettings itself writes; anything else is the default.
    const QString value = settings->value(PauseKey).toString();
    return value == QLatin1String("true");
}

void AppSettings::setPauseWhenSettled(bool pause) { write(PauseKey, pause); }

bool AppSettings::gridShown() const { return settings->value(GridKey).toString() == QLatin1String("true"); }

void AppSettings::setGridShown(bool shown) { write(GridKey, shown); }

bool AppSettings::followPattern() const { return settings->value(FollowKey).toString() != QLatin1String("false"); }

void AppSettings::setFollowPattern(bool follow) { write(FollowKey, follow); }

QString AppSettings::patternsDockFolder() const { return settings->value(DockFolderKey).toString(); }

void AppSettings::setPatternsDockFolder(const QString &folder) { write(DockFolderKey, folder); }

std::optional<Topology> AppSettings::startUniverse() const
{
    // "unbounded", "plane" or "torus" with the width and height: "torus 500 300", or "surface" and a rule's
    // suffix: "surface K40*,20".
    const QStringList words = settings->value(UniverseKey).toString().split(QLatin1Char(' '));
    if (words == QStringList { QStringLiteral("unbounded") })
        return Topology::unbounded();
    if (words.size() == 2 && words[0] == QLatin1String("surface")) {
        std::string unused;
        return Topology::readSuffix(words[1].toStdString(), unused);
    }
    if (words.size() != 3)
        return std::nullopt;
    bool wide = false;
    bool high = false;
    const qlonglong width = words[1].toLongLong(&wide);
    const qlonglong height = words[2].toLongLong(&high);
    if (!wide || !high)
        return std::nullopt;
    const Topology topology = words[0] == QLatin1String("plane") ? Topology::plane(width, height)
        : words[0] == QLatin1String("torus")                     ? Topology::torus(width, height)
                                                                 : Topology();
    if (topology == Topology::classic() || !topology.isValid())
        return std::nullopt;
    return topology;
}

void AppSettings::setStartUniverse(const std::optional<Topology> &topology)
{
    QString value;
    if (topology && topology->kind() == Topology::Kind::Unbounded)
        value = QStringLiteral("unbounded");
    else if (topology
        && (topology->kind() == Topology::Kind::Plane
            || (topology->kind() == Topology::Kind::Torus && topology->shift() == 0)))
        value = QStringLiteral("%1 %2 %3")
                    .arg(topology->kind() == Topology::Kind::Plane ? QStringLiteral("plane") : QStringLiteral("torus"))
                    .arg(topology->width())
                    .arg(topology->height());
    else if (topology && topology->kind() != Topology::Kind::Classic)
        value = QStringLiteral("surface ") + QString::fromStdString(topology->suffix().substr(1));
    write(UniverseKey, value);
}

int AppSettings::memoryLimit() const
{
    const int limit = intInRange(settings->value(MemoryKey), MinMemory, MaxMemory, 0);
    return limit;
}

void AppSettings::setMemoryLimit(int mebibytes) { write(MemoryKey, mebibytes); }

QString AppSettings::patternFolder() const
{
    const QVariant value = settings->value(FolderKey);
    if (value.type() != QVariant::String)
        return QString();
    const QFileInfo folder(value.toString());
    return folder.isAbsolute() && folder.isDir() ? folder.absoluteFilePath() : QString();
}

void AppSettings::setPatternFolder(const QString &folder) { write(FolderKey, folder); }

std::optional<QPoint> AppSettings::windowPosition() const
{
    const QVariant value = settings->value(PositionKey);
    if (value.type() != QVariant::Point)
        return std::nullopt;
    const QRect corner(value.toPoint(), GrabbableCorner);
    for (const QScreen *screen : QGuiApplication::screens()) {
        if (screen->geometry().contains(corner))
            return value.toPoint();
    }
    return std::nullopt;
}

void AppSettings::setWindowPosition(const QPoint &position) { write(PositionKey, position); }

QStringList AppSettings::recentFiles() const
{
    const QVariant value = settings->value(RecentKey);
    QStringList paths;
    if (value.type() != QVariant::StringList && value.type() != QVariant::String)
        return paths;
    for (const QString &path : value.toStringList()) {
        if (paths.size() == MaxRecentFiles)
            break;
        if (QDir::isAbsolutePath(path) && !paths.contains(path))
            paths.append(path);
    }
    return paths;
}

void AppSettings::setRecentFiles(const QStringList &paths) { write(RecentKey, paths); }

void AppSettings::write(const QString &key, const QVariant &value)
{
    if (settings->contains(key) && settings->value(key) == value)
        return;
    settings->setValue(key, value);
    settings->sync();
    if (settings->status() == QSettings::AccessError) {
        report(QStringLiteral("could not save the settings to %1; changes last only until the program ends")
                   .arg(QDir::toNativeSeparators(settings->fileName())));
    }
}

void AppSettings::report(const QString &problem)
{
    if (reported)
        return;
    reported = true;
    // A warning only: the program works on with the values it holds.
    std::fprintf(stderr, "gameoflife: %s\n", qPrintable(problem));
}
