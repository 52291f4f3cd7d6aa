#ifndef WINDOWEXPORT_H
#define WINDOWEXPORT_H

#include <QString>

#include "export/fieldexport.h"
#include "model/engine/gamefield.h"

class QWidget;
class Universe;
struct CellRect;

// Exporting the field from the window: the options asked, the file chosen,
// the picture or the animation written (an animation with progress and
// Cancel), and a failure shown. The window only learns where a file went.
class WindowExport
{
public:
    WindowExport() = delete;

    // `parent` (not owned) is the window the dialogs are modal to; `folder`
    // where the file dialog opens; `colorMode` as the view takes it. Each
    // returns the path written, or an empty string if the user cancelled or
    // the file could not be written, which it has then said.
    static QString image(QWidget *parent, const QString &folder, const GameField::Cell *const *cells, int colorMode);
    // `frames` as FieldExport::writeGif() takes them; 1..30 generations per second.
    static QString animation(QWidget *parent, const QString &folder, const FieldExport::FrameSource &frames,
        int colorMode, int generationsPerSecond);
    // Any universe, of which `view` are the cells the view shows at zoom step
    // `zoomStep` (see Viewport); the user chooses those, drawn as the view
    // draws them with each pixel scale x scale pixels, or the live cells' box
    // at the scale's own zoom, or zoomed out when too large for that.
    static QString image(QWidget *parent, const QString &folder, const Universe &universe, const CellRect &view,
        int zoomStep, int colorMode);
    // An animation of the same cells, drawn the same way.
    static QString animation(QWidget *parent, const QString &folder, const Universe &universe, const CellRect &view,
        int zoomStep, int colorMode, int generationsPerSecond);
};

#endif // WINDOWEXPORT_H
