#include "mainwindow/windowexport.h"

#include <QCoreApplication>
#include <QDialog>
#include <QMessageBox>

#include <functional>

#include "export/pictureframe.h"
#include "mainwindow/exportoptions.h"
#include "mainwindow/patterndialogs.h"
#include "mainwindow/slicedtask.h"
#include "model/engine/universe.h"

namespace
{

QString translated(const char *source) { return QCoreApplication::translate("MainWindow", source); }

// The cells the user chose and how they are drawn: what the view shows, as
// it shows them, each pixel scale x scale pixels; or the live cells' box at
// the scale's own zoom, zoomed out as far as a picture needs, or the view's
// cells that way when there are no live cells.
PictureFrame chosenFrame(const ExportOptions &options, const Universe &universe, const CellRect &view, int zoomStep)
{
    if (!options.livePattern())
        return PictureFrame::asViewed(view, zoomStep, options.scale());
    const std::optional<CellRect> box = universe.boundingBox();
    return PictureFrame::atScaleOrSmaller(box ? *box : view, options.scale());
}

// Asks for the options and then the file, and writes it with `write`, which
// says why when it cannot. Returns the path written, or an empty string.
QString exportImage(QWidget *parent, const QString &folder, bool area,
    const std::function<bool(const ExportOptions &, const QString &, QString *)> &write)
{
    ExportOptions options(false, parent, area);
    options.exec();
    if (options.result() != QDialog::Accepted)
        return QString();
    const QString title = translated(QT_TRANSLATE_NOOP("MainWindow", "Export image"));
    const QString path = PatternDialogs::exportPath(parent, folder, title,
        translated(QT_TRANSLATE_NOOP("MainWindow", "PNG images (*.png)")), QStringLiteral("png"));
    if (path.isEmpty())
        return path;
    QString error;
    if (write(options, path, &error))
        return path;
    QMessageBox::warning(parent, title,
        translated(QT_TRANSLATE_NOOP("MainWindow", "Could not export the image \"%1\":\n%2"))
            .arg(PatternDialogs::shownPath(path), error));
    return QString();
}

// exportImage() for an animation, written with progress and Cancel.
QString exportAnimation(QWidget *parent, const QString &folder, bool area,
    const std::function<FieldExport::Outcome(
        const ExportOptions &, const QString &, const FieldExport::Progress &, QString *)> &write)
{
    ExportOptions options(true, parent, area);
    options.exec();
    if (options.result() != QDialog::Accepted)
        return QString();
    const QString title = translated(QT_TRANSLATE_NOOP("MainWindow", "Export animation"));
    const QString path = PatternDialogs::exportPath(parent, folder, title,
        translated(QT_TRANSLATE_NOOP("MainWindow", "GIF animations (*.gif)")), QStringLiteral("gif"));
    if (path.isEmpty())
        return path;
    SlicedTask task(parent, title, translated(QT_TRANSLATE_NOOP("MainWindow", "Writing the animation…")));
    QString error;
    const FieldExport::Outcome outcome = write(
        options, path, [&task](int done, int total) { return task.keepGoing(static_cast<double>(done) / total); },
        &error);
    if (outcome == FieldExport::Outcome::Written)
        return path;
    if (outcome == FieldExport::Outcome::Failed) {
        QMessageBox::warning(parent, title,
            translated(QT_TRANSLATE_NOOP("MainWindow", "Could not export the animation \"%1\":\n%2"))
                .arg(PatternDialogs::shownPath(path), error));
    }
    return QString();
}

} // namespace

QString WindowExport::image(QWidget *parent, const QString &folder, const GameField::Cell *const *cells, int colorMode)
{
    return exportImage(parent, folder, false, [&](const ExportOptions &options, const QString &path, QString *error) {
        return FieldExport::writePng(path, cells, colorMode, options.scale(), error);
    });
}

QString WindowExport::animation(QWidget *parent, const QString &folder, const FieldExport::FrameSource &frames,
    int colorMode, int generationsPerSecond)
{
    return exportAnimation(parent, folder, false,
        [&](const ExportOptions &options, const QString &path, const FieldExport::Progress &progress, QString *error) {
            return FieldExport::writeGif(path, options.generations(), frames, colorMode, options.scale(),
                FieldExport::frameDelay(generationsPerSecond), progress, error);
        });
}

QString WindowExport::image(
    QWidget *parent, const QString &folder, const Universe &universe, const CellRect &view, int zoomStep, int colorMode)
{
    return exportImage(parent, folder, true, [&](const ExportOptions &options, const QString &path, QString *error) {
        return FieldExport::writePng(path, universe, chosenFrame(options, universe, view, zoomStep), colorMode, error);
    });
}

QString WindowExport::animation(QWidget *parent, const QString &folder, const Universe &universe, const CellRect &view,
    int zoomStep, int colorMode, int generationsPerSecond)
{
    return exportAnimation(parent, folder, true,
        [&](const ExportOptions &options, const QString &path, const FieldExport::Progress &progress, QString *error) {
            return FieldExport::writeGif(path, universe, chosenFrame(options, universe, view, zoomStep),
                options.generations(), colorMode, FieldExport::frameDelay(generationsPerSecond), progress, error);
        });
}
