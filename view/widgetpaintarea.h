#ifndef WIDGETPAINTAREA_H
#define WIDGETPAINTAREA_H

#include <QPoint>
#include <QWidget>

#include <cstdint>
#include <optional>
#include <vector>

#include "model/edit/clip.h"
#include "model/engine/classicuniverse.h"
#include "model/engine/gamefield.h"
#include "model/engine/orientation.h"
#include "model/engine/universe.h"
#include "view/fieldimage.h"
#include "view/universeimage.h"
#include "view/viewport.h"

class QFocusEvent;
class QKeyEvent;
class QMouseEvent;
class QPainter;
class QPaintEvent;
class QWheelEvent;

// Shows a universe, or the classic field, zoomed and panned as the user
// likes. It only reads the cells, anew at every paint, and repaints by itself
// only when the zoom, the place or the cursor change; whoever changes the
// cells or the colour calls update(). In the classic field at its first zoom
// and place the picture is FieldImage's, as it always was; everywhere else
// it is UniverseImage's, composed from the cells in view only.
//
// The mouse: the left button draws wherever a cell is a pixel or more (a
// click moves a cell on to its next state, 0 → 1 → … → the last → 0, which
// under a two-state rule toggles it; a drag gives every cell it passes the
// state the first one got; with Shift it selects a rectangle of cells instead); the wheel
// zooms around the cell under the pointer; the middle or right button drags
// the picture. The keyboard, while the view has the focus: a cell cursor
// moves with the arrow keys (ten cells with Ctrl; zoomed out, a pixel's cells
// at a time), with Shift stretching a selection from where it started,
// Space moves the cell under it on, as a click does, and Alt+arrows move the
// picture by a quarter of the view. The selection shows as a translucent
// rectangle, with its size while it is being made.
//
// While a paste is placed, the pattern to paste follows the pointer, or the
// cursor when that moves, as a translucent outline; a click or Return asks
// for it to be pasted there, and nothing is drawn. The cursor keeps
// itself in view: the view follows it, and it follows the view. The view
// only reports what was drawn; whoever owns the cells changes them and
// repaints. Its accessible description tells a screen reader the universe,
// its live cells and the cursor's cell: anew at every paint in the classic
// field, and outside it while assistive tools are active or when the cursor moves.
class WidgetPaintArea : public QWidget
{
    Q_OBJECT

public:
    explicit WidgetPaintArea(QWidget *parent = nullptr);
    ~WidgetPaintArea() override;

    // The classic field to draw, in place of any universe; null draws the
    // empty area. Not owned; must outlive every paint. Does not repaint.
    void setField(GameField *field);
    // The universe to draw, in place of any field, only read; null draws the
    // empty area. Not owned; must outlive every paint. The zoom and place
    // stay; the cursor moves into the universe if it was outside. Does not repaint.
    void setUniverse(const Universe *universe);
    // 1 red, 2 green, 3 blue; any other value draws live cells unfilled.
    // Does not repaint.
    void setColorMode(int mode);
    // Whether lines show between the cells, a heavier one every 10 cells, at
    // zooms of 4 pixels per cell or more; off by default. Repaints.
    void setGridShown(bool shown);
    // Whether the mouse and Space draw (the default); turning it off ends a stroke.
    void setDrawingEnabled(bool enabled);
    // Ends the stroke in progress, if any, as releasing the button would; for
    // whoever is about to change the cells by other means.
    void endStroke();
    // Whether the left button is drawing a stroke now.
    bool isStroking() const { return stroking; }

    const Viewport &viewport() const { return view; }
    // Shows the cells as `viewport` places them; repaints.
    void setViewport(const Viewport &viewport);
    // The cells at least partly in view; those of the universe among them are
    // what an export of the view or a random fill of it covers.
    CellRect visibleCells() const { return view.visibleCells(size()); }
    // The keyboard's cell cursor.
    CellPoint cursorCell() const { return cursor; }

    // The selected cells, within the universe; none by default.
    const std::optional<CellRect> &selection() const { return selected; }
    // Selects `cells`, cut to the universe, or nothing; repaints.
    void setSelection(const std::optional<CellRect> &cells);

    // Shows `clip` turned by `orientation` as the outline of a paste with its
    // top-left cell under the pointer, if the pointer is over the view, else
    // on the cursor. Not owned; must outlive endPaste(). Repaints.
    void startPaste(const Clip *clip, const Orientation &orientation);
    void setPasteOrientation(const Orientation &orientation);
    // Takes the outline away; repaints.
    void endPaste();
    bool isPasting() const { return pasteClip != nullptr; }
    // Where the outline's top-left cell is.
    CellPoint pasteCell() const { return pasteAt; }

public slots:
    // One step of the zoom ladder in or out, around the middle of the view.
    void zoomIn();
    void zoomOut();
    // The finest zoom at which every live cell is in view, centred; with no
    // live cell, the whole of a bounded universe, or the plane around cell (0, 0).
    void fitPattern();
    // The classic field's first zoom and place.
    void resetView();

signals:
    // The user drew over cell (x, y) of the universe, which should now be in
    // `state`, 0..the rule's state count - 1. Cells follow each other without
    // gaps along the pointer's path.
    void universeCellDrawn(qint64 x, qint64 y, int state);
    // The same, in the classic field only, as (row, column), both 1..120.
    void cellDrawn(int row, int column, bool alive);
    // The stroke that the drawing signals since the last one belong to is over.
    void strokeFinished();
    // The zoom or the place changed, by the user or by a slot.
    void viewportChanged();
    // The user changed the selection, or took it away.
    void selectionChanged();
    // The user asked for the outline to be pasted with its top-left cell on (x, y).
    void pasteRequested(qint64 x, qint64 y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    static constexpr int WheelStep = 120; // wheel angle, in eighths of a degree, of one zoom step

    // The cells shown: the universe, or the field packed into `scratch`;
    // null when there are none.
    const Universe *shownUniverse(std::optional<ClassicUniverse> &scratch) const;
    Topology shownTopology() const;
    // The state a click gives `cell`: the one after its own, back to 0 after the last.
    int nextState(const CellPoint &cell) const;
    // Whether the picture is FieldImage's: the classic field at its first zoom and place.
    bool showsClassicPicture() const;
    // The cells of a classic universe as a cell buffer for FieldImage, in `classicCells`.
    const GameField::Cell *const *classicBuffer(const Universe &universe);
    // The cell under a widget point; the outline right of and below the
    // universe's last cells still belongs to them.
    CellPoint cellUnder(const QPoint &position) const;
    bool isInUniverse(const CellPoint &cell) const;
    void drawCell(const CellPoint &cell);
    // Draws every cell on the line from the last cell of the stroke to `cell`,
    // that one excluded.
    void drawTo(const CellPoint &cell);
    // Moves the keyboard's cell cursor by the given cells, stopping at the
    // universe's edges, and the view after it.
    void moveCursor(std::int64_t columns, std::int64_t rows);
    // The view changed: moves the cursor into it if it left, repaints, tells.
    void viewChanged();
    // Where the cursor's cell must be for the whole of its mark to show.
    QRect cursorArea() const;
    // Sets the accessible description from the cells and the cursor, telling
    // assistive tools when it changes.
    void describe();
    // The rectangle from cell `from` to cell `to`, both included, zoomed out
    // the whole of their pixels, cut to the universe.
    CellRect spanned(const CellPoint &from, const CellPoint &to) const;
    // The pixels of the cells of `cells`, reaching past the view by a cell
    // where they go on; empty when none shows.
    QRect pixelsOfArea(const CellRect &cells) const;
    // The rectangle a painter's one-pixel pen draws to frame `pixels`, the pixels of some cells.
    QRect frameAround(const QRect &pixels) const;
    void paintGrid(QPainter &painter) const;
    // Marks how a surface's edges join; nothing for a plane.
    void paintSeams(QPainter &painter) const;
    void paintSelection(QPainter &painter) const;
    void paintOutline(QPainter &painter);

    GameField *gameField = nullptr; // not owned
    const Universe *universe = nullptr; // not owned
    int colorMode = 2;
    bool gridShown = false;
    Viewport view;
    FieldImage fieldImage; // the last classic picture, kept so that a paint redraws only what changed
    UniverseImage universeImage; // the last picture of any other view, kept for its memory
    std::vector<GameField::Cell> classicCells; // a classic universe's cells as a BufferSize x BufferSize buffer
    std::vector<GameField::Cell *> classicRows; // the rows of classicCells
    bool drawingEnabled = true;
    bool stroking = false; // the left button went down on a cell and is still held
    int strokeState = 0; // the state the stroke gives its cells
    CellPoint strokeCell; // the last cell of the stroke
    bool panning = false; // the middle or right button went down and is still held
    QPoint panPoint; // where the pointer was at the last step of the pan
    int wheelAngle = 0; // wheel angle not yet turned into zoom steps
    CellPoint cursor { GameField::FieldSize / 2 - 1, GameField::FieldSize / 2 - 1 };
    std::optional<CellRect> selected;
    bool selecting = false; // Shift and the left button went down and it is still held
    CellPoint selectionStart; // where the selection being made started, by the mouse or the keyboard
    bool keySelecting = false; // Shift+arrows are stretching the selection from selectionStart
    const Clip *pasteClip = nullptr; // not owned; the pattern being placed, while one is
    Orientation pasteOrientation;
    CellPoint pasteAt; // the outline's top-left cell
    std::vector<std::uint8_t> outlineCells; // the outline's cells in view, as Universe::render gives them
    QImage outlineImage; // the same as translucent pixels
};

#endif // WIDGETPAINTAREA_H
