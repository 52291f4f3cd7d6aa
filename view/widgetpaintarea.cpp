#include "view/widgetpaintarea.h"

#include <QPaintEvent>
#include <QPainter>

#include "model/gamefield.h"

WidgetPaintArea::WidgetPaintArea(QWidget *parent)
    : QWidget(parent)
    , gameField(nullptr)
    , colorBlack(0, 0, 0, 255)
    , colorWhite(255, 255, 255, 255)
    , colorGrey(50, 50, 50, 255)
    , colorRed(240, 120, 120, 255)
    , colorGreen(50, 200, 50, 255)
    , colorBlue(100, 150, 250, 255)
    , penFrame(QBrush(colorBlack, Qt::SolidPattern), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin)
    , penCell(QBrush(colorGrey, Qt::SolidPattern), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin)
    , brushBackground(colorWhite, Qt::SolidPattern)
    , brushRed(colorRed, Qt::SolidPattern)
    , brushGreen(colorGreen, Qt::SolidPattern)
    , brushBlue(colorBlue, Qt::SolidPattern)
    , cellWidth(6)
    , cellHeight(6)
    , fieldOffset(4)
    , colorMode(2)
{
}

WidgetPaintArea::~WidgetPaintArea()
{
    // The field may already be gone when the window tears its children down.
    gameField = nullptr;
}

void WidgetPaintArea::setField(GameField *field) { gameField = field; }

void WidgetPaintArea::setColorMode(int mode) { colorMode = mode; }

void WidgetPaintArea::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(penFrame);
    painter.setBrush(brushBackground);
    painter.drawRect(0, 0, width() - 1, height() - 1);

    if (!gameField)
        return;

    GameField::Cell *const *cells = gameField->snapshot();

    painter.setPen(penCell);
    switch (colorMode) {
    case 1:
        painter.setBrush(brushRed);
        break;
    case 2:
        painter.setBrush(brushGreen);
        break;
    case 3:
        painter.setBrush(brushBlue);
        break;
    default:
        painter.setBrush(Qt::NoBrush);
        break;
    }

    for (int r = 1; r <= GameField::FieldSize; ++r) {
        for (int c = 1; c <= GameField::FieldSize; ++c) {
            if (cells[r][c] == 1)
                painter.drawRect(
                    fieldOffset + (c - 1) * cellWidth, fieldOffset + (r - 1) * cellHeight, cellWidth, cellHeight);
        }
    }
}
