#ifndef PATTERNTHUMBNAILS_H
#define PATTERNTHUMBNAILS_H

#include <QCache>
#include <QImage>
#include <QObject>
#include <QPixmap>
#include <QSet>
#include <QString>
#include <QThreadPool>

// Thumbnails of pattern files, drawn by PatternSketch on threads of their own
// and kept, so that a folder of many files scrolls without waiting for any:
// asked for one not drawn yet, it answers at once with nothing and tells when
// the thumbnail is ready. The latest asked is drawn first, so that the rows
// in view come before those scrolled past. A file changed since is drawn anew.
class PatternThumbnails : public QObject
{
    Q_OBJECT

public:
    static constexpr int CachePixels = 1 << 24; // pixels of the thumbnails kept, 64 MiB

    explicit PatternThumbnails(QObject *parent = nullptr);
    // Waits for the thumbnail being drawn, if any; those waiting are dropped.
    ~PatternThumbnails() override;

    // The thumbnail of the file `path` within `side` x `side` pixels
    // (1..PatternSketch::MaxSide): live cells dark on light, in the middle of
    // a transparent square of that side. Null while it is
    // being drawn, and for a file that gives none (see PatternSketch).
    QPixmap thumbnail(const QString &path, int side);
    // Thumbnails asked for and not drawn yet.
    int pending() const { return waiting.size(); }

signals:
    // The thumbnail of `path` at `side` is ready, or known to be none.
    void ready(const QString &path, int side);

private:
    // Takes a thumbnail drawn on another thread, on the window's.
    void drawn(const QString &key, const QString &path, int side, const QImage &image);

    QThreadPool pool; // runs the drawing; emptied and waited for on destruction
    QCache<QString, QPixmap> cache; // by key: path, size and the file's time and size; costs in pixels
    QSet<QString> none; // keys of files that give no thumbnail
    QSet<QString> waiting; // keys being drawn or waiting to be
    int order = 0; // grows with every thumbnail asked for: the latest is drawn first
};

#endif // PATTERNTHUMBNAILS_H
