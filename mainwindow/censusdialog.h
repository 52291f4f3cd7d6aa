#ifndef CENSUSDIALOG_H
#define CENSUSDIALOG_H

#include <QDialog>
#include <QPixmap>

#include <vector>

#include "model/analysis/growth.h"
#include "model/engine/universe.h"

class Document;
class QLabel;
class QPushButton;
class QTableWidget;

// The "Census" window: what the pattern in the unbounded plane leaves behind
// once it is stable apart from the spaceships flying away, or how it grows, as the document's
// stability watch finds it: the lifespan line, then a row per kind of object
// with its count, name and picture. It follows the watch, which answers
// between the run's ticks, so it costs nothing while the pattern evolves.
// Copy puts the census on the clipboard as `gameoflife --census` prints it.
// Outside the unbounded plane it tells that the census is taken there.
class CensusDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int PictureSize = 40; // pixels, the longer side of an object's picture at most

    // `document`, not owned, must outlive the dialog; `parent`, if any, owns it.
    explicit CensusDialog(const Document &document, QWidget *parent = nullptr);

    // The census as text, one line each, as the command line prints it after
    // the file's name; empty while the pattern is not known to be stable or
    // not to be.
    QString text() const;

    // The pictured phase of `entry` (in its box, top-left corner at 0, 0)
    // drawn on white, live cells black and the other states in the colours
    // the view gives them under `rule`, each cell a square of whole pixels as
    // large as PictureSize allows.
    static QPixmap picture(const CensusEntry &entry, const Rule &rule);

private:
    void refresh();
    // Tells how the pattern grows; false when the rows of its ships are to follow.
    bool showGrowth(const Growth::Report &growth);
    void copy();

    const Document &document; // not owned
    QLabel *summary; // a child, as are the widgets below
    QTableWidget *table;
    QPushButton *copyButton;
};

#endif // CENSUSDIALOG_H
