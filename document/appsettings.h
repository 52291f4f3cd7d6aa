#ifndef APPSETTINGS_H
#define APPSETTINGS_H

#include <QPoint>
#include <QString>
#include <QStringList>

#include <optional>

#include "model/analysis/runhistory.h"
#include "model/engine/rule.h"
#include "model/engine/topology.h"

class QSettings;
class QVariant;

// What the program remembers between runs, each value with its key, its
// default and its valid range in this one place. The settings file is the
// user's to edit or break: every getter checks what it reads and answers the
// default for anything missing, unreadable or out of range, so no other code
// reads the file itself. Every setter writes the file at once, so that a
// crash loses nothing; a file that cannot be written leaves the values held
// for this run and is reported once on standard error.
class AppSettings
{
public:
    static constexpr int MinSpeed = 1; // generations per second
    static constexpr int MaxSpeed = 30;
    static constexpr int DefaultSpeed = 20;
    static constexpr int DefaultColorIndex = 1; // the colour box's index: 0 red, 1 green, 2 blue
    static constexpr int ColorCount = 3;
    static constexpr int MaxRecentFiles = 10;
    static constexpr int MaxGenerationLimit = RunHistory::GenerationLimit;
    static constexpr int MinMemory = 16; // MiB for the unbounded plane's quadtree
    static constexpr int MaxMemory = 1 << 20;

    // The user's settings, in the file that the application's organisation
    // and name locate; or, with a `fileName`, in that file (same format).
    explicit AppSettings(const QString &fileName = QString());
    ~AppSettings();
    AppSettings(const AppSettings &) = delete;
    AppSettings &operator=(const AppSettings &) = delete;

    QString fileName() const;

    // 1..30; default 20.
    int speed() const;
    void setSpeed(int generationsPerSecond);
    // 0..2; default 1 (green).
    int colorIndex() const;
    void setColorIndex(int index);
    // The Edit menu's paste mode: 0 Or, 1 Copy, 2 Xor; default 0.
    int pasteMode() const;
    void setPasteMode(int mode);
    // Default Conway's Life.
    Rule rule() const;
    void setRule(const Rule &rule);
    // The generations Run until settled looks at, 1..MaxGenerationLimit; default MaxGenerationLimit.
    int generationLimit() const;
    void setGenerationLimit(int generations);
    // Default off.
    bool pauseWhenSettled() const;
    void setPauseWhenSettled(bool pause);
    // View > Grid; default off.
    bool gridShown() const;
    void setGridShown(bool shown);
    // View > Follow pattern, as the user last chose it; default on.
    bool followPattern() const;
    void setFollowPattern(bool follow);
    // The folder the Patterns dock shows; empty until the user chooses one.
    QString patternsDockFolder() const;
    void setPatternsDockFolder(const QString &folder);
    // The universe to start in, if the user asked for one to be remembered;
    // none (the classic field) by default. A valid topology.
    std::optional<Topology> startUniverse() const;
    void setStartUniverse(const std::optional<Topology> &topology);
    // MiB the unbounded plane may take, MinMemory..MaxMemory; 0 (the default)
    // keeps HashLife's own limit.
    int memoryLimit() const;
    void setMemoryLimit(int mebibytes);
    // An existing folder, or an empty string (none yet, or it is gone).
    QString patternFolder() const;
    void setPatternFolder(const QString &folder);
    // The top-left corner of the window's frame, in desktop coordinates, if one
    // was stored and some screen still shows the window's top-left corner.
    std::optional<QPoint> windowPosition() const;
    void setWindowPosition(const QPoint &position);
    // Absolute paths, newest first, no path twice, at most MaxRecentFiles.
    QStringList recentFiles() const;
    void setRecentFiles(const QStringList &paths);

private:
    // Stores `value` under `key` unless it is stored already, and writes the file.
    void write(const QString &key, const QVariant &value);
    // Writes `problem` to standard error, unless a problem was reported already.
    void report(const QString &problem);

    QSettings *settings; // owned
    bool reported = false;
};

#endif // APPSETTINGS_H
