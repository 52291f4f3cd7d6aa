#ifndef FIELDEXPORT_H
#define FIELDEXPORT_H

#include <QString>

#include <functional>

#include "model/engine/gamefield.h"
#include "model/engine/universe.h"

class PictureFrame;

// Writes the field as the view shows it to picture files: one PNG, or an
// animated GIF of the field and the generations after it. Whoever calls it
// does the stepping, on a field of its own, so the export never moves the
// field the user sees. A universe other than the classic field is drawn as
// the view draws it at a zoom, a rectangle of its cells at a time.
//
// A file is written under a temporary name in the target's folder and takes
// the target's name only once complete: a cancelled or failed export leaves no
// file behind and any file of that name as it was.
class FieldExport
{
public:
    FieldExport() = delete;

    enum class Outcome { Written, Cancelled, Failed };

    static constexpr int MinScale = 1; // image pixels per view pixel, in each direction
    static constexpr int MaxScale = 8;
    static constexpr int DefaultScale = 2; // of an animation
    static constexpr int MinGenerations = 1; // generations after the current field in an animation
    static constexpr int MaxGenerations = 10000;
    static constexpr int DefaultGenerations = 100;
    static constexpr int MaxPictureSide = 16384; // pixels each way of a universe's picture

    // Fills cells, a BufferSize x BufferSize row-pointer buffer whose border is
    // dead, with the field of frame `frame`: 0 is the current field, each
    // further one the next generation. Called once per frame, in order.
    using FrameSource = std::function<void(int frame, GameField::Cell **cells)>;
    // Hears that `done` of `total` frames are written; returning false cancels.
    using Progress = std::function<bool(int done, int total)>;

    // Writes cells (a BufferSize x BufferSize row-pointer buffer as
    // GameField::snapshot() returns) in colorMode (as the view takes it) as a
    // PNG at scale MinScale..MaxScale. Returns true once the file is complete,
    // false with the reason in *error.
    static bool writePng(
        const QString &path, const GameField::Cell *const *cells, int colorMode, int scale, QString *error);
    // Writes frames 0..generations (MinGenerations..MaxGenerations) from
    // source as an animated GIF that loops forever, each frame shown for delay
    // hundredths of a second (0..65535), at scale MinScale..MaxScale.
    // progress, if set, hears of every frame. Cancelled and Failed leave no
    // file; Failed gives the reason in *error.
    static Outcome writeGif(const QString &path, int generations, const FrameSource &source, int colorMode, int scale,
        int delay, const Progress &progress, QString *error);

    // The zoom step (see Viewport) that draws a cell `scale` pixels wide
    // (MinScale..MaxScale), or as near below as the view's zooms come: 1, 2,
    // 3, 4, 6 or 8 pixels.
    static int zoomStepForScale(int scale);
    // The cells of `universe` that `frame` shows, as it shows them, in
    // colorMode, as a PNG. Refused, with the reason in *error, when a side
    // would be more than MaxPictureSide pixels.
    static bool writePng(
        const QString &path, const Universe &universe, const PictureFrame &frame, int colorMode, QString *error);
    // `universe` and its next `generations` (MinGenerations..MaxGenerations)
    // generations, computed on a copy, as writePng() draws each.
    static Outcome writeGif(const QString &path, const Universe &universe, const PictureFrame &frame, int generations,
        int colorMode, int delay, const Progress &progress, QString *error);

    // The GIF delay of one generation at generationsPerSecond (more than 0),
    // in hundredths of a second, rounded, at most 65535.
    static int frameDelay(double generationsPerSecond);
};

#endif // FIELDEXPORT_H
