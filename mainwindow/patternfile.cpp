#include "mainwindow/patternfile.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <string_view>
#include <utility>

#include "model/engine/rule.h"
#include "model/files/gzip.h"
#include "model/files/pattern.h"
#include "model/files/patternreader.h"
#include "model/files/patternwriter.h"

QString PatternFile::read(const QString &path, Pattern &pattern)
{
    const QFileInfo info(path);
    if (info.isDir())
        return QCoreApplication::translate("MainWindow", "It is a folder.");
    // A pipe or a device could keep the window waiting for ever.
    if (info.exists() && !info.isFile())
        return QCoreApplication::translate("MainWindow", "It is not an ordinary file.");
    // Checked before reading, so that a huge file costs nothing.
    if (info.exists() && info.size() > MaxFileSize)
        return QCoreApplication::translate(
            "MainWindow", "The file is larger than 1 MiB (%1 bytes); pattern files are far smaller.")
            .arg(info.size());
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    // One byte more than allowed tells a file that grew since its size was read.
    const QByteArray bytes = file.read(MaxFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    std::string error;
    Pattern read;
    if (!PatternReader::read(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), read, error))
        return QString::fromStdString(error);
    if (!read.fits(Topology::classic()))
        return QString::fromStdString(read.misfit(Topology::classic()));
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
    return std::nullopt;
}

QString PatternFile::extension(Format format)
{
    switch (format) {
    case Format::Plaintext:
        return QStringLiteral("cells");
    case Format::Life106:
        return QStringLiteral("lif");
    case Format::Rle:
        break;
    }
    return QStringLiteral("rle");
}

std::string PatternFile::text(Format format, GameField::Cell *const *cells, int generation, const Rule &rule,
    const std::string &name, const std::vector<std::string> &comments)
{
    switch (format) {
    case Format::Plaintext:
        return PatternWriter::writePlaintext(cells, name, rule, comments);
    case Format::Life106:
        return PatternWriter::writeLife106(cells);
    case Format::Rle:
        break;
    }
    return PatternWriter::writeRle(cells, generation, rule, name, comments);
}
