#include "mainwindow/patterndialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>

#include <optional>

namespace
{

QString translated(const char *source) { return QCoreApplication::translate("MainWindow", source); }

const char *const PatternFilters
    = QT_TRANSLATE_NOOP("MainWindow", "Patterns (*.rle *.cells *.lif *.life *.txt *.mc *.gz);;All files (*)");

// What Save writes, one filter per format, the first offered first.
struct SaveFilter {
    const char *filter;
    PatternFile::Format format;
};
const SaveFilter SaveFilters[] = {
    { QT_TRANSLATE_NOOP("MainWindow", "RLE (*.rle)"), PatternFile::Format::Rle },
    { QT_TRANSLATE_NOOP("MainWindow", "Plaintext (*.cells)"), PatternFile::Format::Plaintext },
    { QT_TRANSLATE_NOOP("MainWindow", "Life 1.06 (*.lif *.life)"), PatternFile::Format::Life106 },
    { QT_TRANSLATE_NOOP("MainWindow", "Macrocell (*.mc)"), PatternFile::Format::Macrocell },
};

PatternFile::Format formatOfFilter(const QString &filter)
{
    for (const SaveFilter &entry : SaveFilters) {
        if (filter == translated(entry.filter))
            return entry.format;
    }
    return PatternFile::Format::Rle;
}

// The one file chosen in `dialog` after running it, or an empty string.
QString chosen(QFileDialog &dialog)
{
    dialog.exec();
    if (dialog.result() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

} // namespace

QString PatternDialogs::openPath(QWidget *parent, const QString &folder)
{
    QFileDialog dialog(
        parent, translated(QT_TRANSLATE_NOOP("MainWindow", "Open pattern")), folder, translated(PatternFilters));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return chosen(dialog);
}

QString PatternDialogs::savePath(QWidget *parent, const QString &folder, PatternFile::Format &format)
{
    const QString title = translated(QT_TRANSLATE_NOOP("MainWindow", "Save pattern"));
    QStringList filters;
    for (const SaveFilter &entry : SaveFilters)
        filters << translated(entry.filter);
    QFileDialog dialog(parent, title, folder);
    dialog.setNameFilters(filters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The dialog gives a name without an extension the chosen format's, and
    // asks before it replaces a file of that name.
    dialog.setDefaultSuffix(PatternFile::extension(SaveFilters[0].format));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog](const QString &filter) { dialog.setDefaultSuffix(PatternFile::extension(formatOfFilter(filter))); });
    QString path = chosen(dialog);
    if (path.isEmpty())
        return path;
    // An extension of one of the formats decides, whatever filter is chosen:
    // a .cells file holds plaintext. Any other gets the chosen format's added.
    const std::optional<PatternFile::Format> named = PatternFile::formatOf(path);
    if (named) {
        format = *named;
        return path;
    }
    format = formatOfFilter(dialog.selectedNameFilter());
    path += QLatin1Char('.') + PatternFile::extension(format);
    if (QFileInfo::exists(path)
        && QMessageBox::question(parent, title,
               translated(QT_TRANSLATE_NOOP("MainWindow", "\"%1\" exists already. Replace it?")).arg(shownPath(path)),
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            != QMessageBox::Yes)
        return QString();
    return path;
}

QString PatternDialogs::exportPath(
    QWidget *parent, const QString &folder, const QString &title, const QString &filter, const QString &suffix)
{
    QFileDialog dialog(parent, title, folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(suffix);
    return chosen(dialog);
}

QString PatternDialogs::shownPath(const QString &path)
{
    constexpr int Longest = 100; // characters
    const QString native = QDir::toNativeSeparators(path);
    if (native.size() <= Longest)
        return native;
    return native.left(Longest - 40) + QStringLiteral("…") + native.right(39);
}
