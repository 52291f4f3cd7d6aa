#include "document/patternfile.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

#include <string_view>
#include <utility>

#include "model/engine/classicuniverse.h"
#include "model/engine/rule.h"
#include "model/files/gzip.h"
#include "model/files/pattern.h"
#include "model/files/patternreader.h"
#include "model/files/patternwriter.h"

namespace
{

// Reads at most `limit` bytes of the file at `path` into `pattern`, its cells stored as `store` says.
QString readFile(
    const QString &path, Pattern &pattern, qint64 limit, PatternReader::Store store = PatternReader::Store::Quadtree)
{
    const auto tooLarge = [limit](qint64 size) {
        if (limit == PatternFile::MaxFileSize)
            return QCoreApplication::translate(
                "MainWindow", "The file is larger than 1 MiB (%1 bytes); pattern files are far smaller.")
                .arg(size);
        return QCoreApplication::translate("MainWindow", "The file is larger than %1 MiB (%2 bytes).")
            .arg(limit >> 20)
            .arg(size);
    };
    const QFileInfo info(path);
    if (info.isDir())
        return QCoreApplication::translate("MainWindow", "It is a folder.");
    // A pipe or a device could keep the window waiting for ever.
    if (info.exists() && !info.isFile())
        return QCoreApplication::translate("MainWindow", "It is not an ordinary file.");
    // Checked before reading, so that a huge file costs nothing.
    if (info.exists() && info.size() > limit)
        return tooLarge(info.size());
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    // One byte more than allowed tells a file that grew since its size was read.
    const QByteArray bytes = file.read(limit + 1);
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    if (bytes.size() > limit)
        return tooLarge(bytes.size());
    std::string error;
    PatternReader::Limits limits;
    limits.store = store;
    if (!PatternReader::read(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), pattern, error, limits))
        return QString::fromStdString(error);
    return QString();
}

} // namespace

QString PatternFile::read(const QString &path, Pattern &pattern)
{
    Pattern read;
    const QString problem = readFile(path, read, MaxFileSize);
    if (!problem.isEmpty())
        return problem;
    if (!read.fits(Topology::classic()))
        return QString::fromStdString(read.misfit(Topology::classic()));
    pattern = std::move(read);
    return QString();
}

QString PatternFile::readAny(const QString &path, Pattern &pattern, PatternReader::Store store)
{
    Pattern read;
    const QString problem = readFile(path, read, MaxAnyFileSize, store);
    if (!problem.isEmpty())
        return problem;
    pattern = std::move(read);
    return QString();
}

QString PatternFile::write(const QString &path, const std::string &text)
{
    const std::string bytes = path.endsWith(QLatin1String(".gz"), Qt::CaseInsensitive) ? Gzip::deflate(text) : text;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()))
        return file.errorString();
    if (!file.commit())
        return file.errorString();
    return QString();
}

std::optional<PatternFile::Format> PatternFile::formatOf(const QString &path)
{
    QString name = QFileInfo(path).fileName().toLower();
    if (name.endsWith(QLatin1String(".gz")))
        name.chop(3);
    const QString suffix = QFileInfo(name).suffix();
    if (suffix == QLatin1String("rle"))
        return Format::Rle;
    if (suffix == QLatin1String("cells"))
        return Format::Plaintext;
    if (suffix == QLatin1String("lif") || suffix == QLatin1String("life"))
        return Format::Life106;
    if (suffix == QLatin1String("mc"))
        return Format::Macrocell;
    return std::nullopt;
}

QString PatternFile::extension(Format format)
{
    switch (format) {
    case Format::Plaintext:
        return QStringLiteral("cells");
    case Format::Life106:
        return QStringLiteral("lif");
    case Format::Macrocell:
        return QStringLiteral("mc");
    case Format::Rle:
        break;
    }
    return QStringLiteral("rle");
}

std::string PatternFile::text(Format format, GameField::Cell *const *cells, int generation, const Rule &rule,
    const std::string &name, const std::vector<std::string> &comments, const std::string &author)
{
    switch (format) {
    case Format::Plaintext:
        return PatternWriter::writePlaintext(cells, name, rule, comments);
    case Format::Life106:
        return PatternWriter::writeLife106(cells);
    case Format::Macrocell: {
        ClassicUniverse universe(PackedField::fromBuffer(cells), rule);
        std::string written;
        QString error;
        text(format, universe, generation, name, comments, written, error);
        return written;
    }
    case Format::Rle:
        break;
    }
    return PatternWriter::writeRle(cells, generation, rule, name, comments, author);
}

bool PatternFile::text(Format format, const Universe &universe, std::int64_t generation, const std::string &name,
    const std::vector<std::string> &comments, std::string &text, QString &error, const std::string &author)
{
    std::string problem;
    bool written = true;
    if (universe.backgroundAlive()) {
        error = QCoreApplication::translate("MainWindow",
            "Every cell of the unbounded plane is alive but %1, and a pattern file holds only finitely many live "
            "cells.")
                    .arg(QLocale().toString(static_cast<qulonglong>(universe.population())));
        return false;
    }
    switch (format) {
    case Format::Plaintext:
        written = PatternWriter::writePlaintext(universe, name, comments, text, problem);
        break;
    case Format::Life106:
        written = PatternWriter::writeLife106(universe, text, problem);
        break;
    case Format::Macrocell:
        written = PatternWriter::writeMacrocell(universe, generation, name, comments, text, problem);
        break;
    case Format::Rle:
        text = PatternWriter::writeRle(universe, generation, name, comments, author);
        break;
    }
    error = QString::fromStdString(problem);
    return written;
}
