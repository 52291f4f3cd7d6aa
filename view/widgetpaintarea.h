#ifndef WIDGETPAINTAREA_H
#define WIDGETPAINTAREA_H

#include <QPoint>
#include <QWidget>

#include "model/engine/gamefield.h"
#include "view/fieldimage.h"

class QFocusEvent;
class QKeyEvent;
class QMouseEvent;
class QPaintEvent;

// Shows the field as FieldImage composes it. It only reads the field, anew at
// every paint, and never asks for a repaint itself; whoever changes the field or
// the colour calls update().
//
// The user draws on it with the left mouse button: a click toggles a cell, a
// drag gives every cell it passes the state the first one got. From the
// keyboard, while it has the focus, a cell cursor moves with the arrow keys
// (ten cells with Ctrl) and Space toggles the cell under it, as a click does.
// The view only reports what was drawn; whoever owns the field changes it and
// repaints. Its accessible description tells a screen reader the field's size,
// its live cells and the cursor's cell.
class WidgetPaintArea : public QWidget
{
    Q_OBJECT

public:
    explicit WidgetPaintArea(QWidget *parent = nullptr);
    ~WidgetPaintArea() override;

    // The field to draw; null draws the empty area. Not owned; must outlive
    // every paint. Does not repaint.
    void setField(GameField *field);
    // 1 red, 2 green, 3 blue; any other value draws live cells unfilled.
    // Does not repaint.
    void setColorMode(int mode);
    // Whether the mouse draws (the default); turning it off ends a stroke.
    void setDrawingEnabled(bool enabled);
    // Ends the stroke in progress, if any, as releasing the button would; for
    // whoever is about to change the field by other means.
    void endStroke();

signals:
    // The user drew over cell (row, column), both 1..120, which should now be
    // alive or dead. Cells follow each other without gaps along the pointer's path.
    void cellDrawn(int row, int column, bool alive);
    // The stroke that the cellDrawn() signals since the last one belong to is over.
    void strokeFinished();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // The cell under a widget point as (column, row); outside 1..120 for the
    // frame, the margin and beyond.
    QPoint cellAt(const QPoint &position) const;
    // Whether a cell of cellAt() is one of the 120 x 120, not the frame or the margin.
    static bool isOnField(const QPoint &cell);
    // Draws every cell on the line from the last cell of the stroke to `cell`,
    // that one excluded.
    void drawTo(const QPoint &cell);
    // Moves the keyboard's cell cursor by the given cells, stopping at the edges.
    void moveCursor(int columns, int rows);
    // Sets the accessible description from `liveCells` and the cursor, telling
    // assistive tools when it changes.
    void describe(int liveCells);

    GameField *gameField; // not owned
    int colorMode;
    FieldImage fieldImage; // the last picture, kept so that a paint redraws only what changed
    bool drawingEnabled = true;
    bool stroking = false; // the left button went down on a cell and is still held
    bool strokeAlive = false; // the state the stroke gives its cells
    QPoint strokeCell; // the last cell of the stroke, (column, row)
    QPoint cursorCell { GameField::FieldSize / 2, GameField::FieldSize / 2 }; // (column, row), 1..120
    int describedCells = -1; // the live cells the description gives, -1 before the first paint
};

#endif // WIDGETPAINTAREA_H
