#include <QApplication>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPixmap>
#include <QRect>
#include <QScreen>
#include <QTest>
#include <QWheelEvent>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <utility>
#include <vector>

#include "model/engine/gamefield.h"
#include "model/engine/griduniverse.h"
#include "model/engine/hashlife.h"
#include "model/engine/stripuniverse.h"
#include "toplevelguard.h"
#include "view/universeimage.h"
#include "view/widgetpaintarea.h"
#include "warningguard.h"

namespace
{

constexpr int ViewSize = 730; // pixels, as in the main window
constexpr int CellPitch = 6; // pixels from one cell to the next
constexpr int FirstCell = 4; // pixels from the widget's edge to cell (1, 1)

const QColor White(255, 255, 255);
const QColor Black(0, 0, 0);
const QColor Grey(50, 50, 50);

using CellList = std::vector<std::pair<int, int>>; // (row, column), 1..120

void setCells(GameField &field, const CellList &cells, GameField::Cell value = 1)
{
    field.clear();
    GameField::Cell **buffer = field.snapshot();
    for (const auto &cell : cells)
        buffer[cell.first][cell.second] = value;
    field.commitSnapshot();
}

QImage render(QWidget &view) { return view.grab().toImage().convertToFormat(QImage::Format_RGB32); }

// What the window system currently shows of a shown top-level widget, without
// making it paint again.
QImage onScreen(QWidget &view)
{
    return view.screen()->grabWindow(view.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

QByteArray describe(const QImage &image, int x, int y)
{
    const QColor c = image.pixelColor(x, y);
    return "pixel (" + QByteArray::number(x) + ", " + QByteArray::number(y) + ") is (" + QByteArray::number(c.red())
        + ", " + QByteArray::number(c.green()) + ", " + QByteArray::number(c.blue()) + ")";
}

// The white area inside the black one-pixel frame, apart from the pixels in skip.
bool isBlankApartFrom(const QImage &image, const QRect &skip, QByteArray *problem)
{
    const QRect inner = image.rect().adjusted(1, 1, -1, -1);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (skip.contains(x, y))
                continue;
            const QColor expected = inner.contains(x, y) ? White : Black;
            if (image.pixelColor(x, y) != expected) {
                *problem = describe(image, x, y);
                return false;
            }
        }
    }
    return true;
}

// A live cell as the user sees it: a grey outline of 7 x 7 pixels, shared with
// its neighbours, around 5 x 5 pixels of fill.
bool showsCell(const QImage &image, int row, int column, const QColor &fill, QByteArray *problem)
{
    const int left = FirstCell + (column - 1) * CellPitch;
    const int top = FirstCell + (row - 1) * CellPitch;
    for (int y = top; y <= top + CellPitch; ++y) {
        for (int x = left; x <= left + CellPitch; ++x) {
            const bool outline = x == left || y == top || x == left + CellPitch || y == top + CellPitch;
            if (image.pixelColor(x, y) != (outline ? Grey : fill)) {
                *problem = describe(image, x, y);
                return false;
            }
        }
    }
    return true;
}

QRect cellOutline(int row, int column)
{
    return QRect(FirstCell + (column - 1) * CellPitch, FirstCell + (row - 1) * CellPitch, CellPitch + 1, CellPitch + 1);
}

// The picture drawn the plain way, one painter rectangle per live cell, to hold
// the view's own pixel writes against.
QImage referencePicture(GameField &field, const QSize &size, int mode)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setPen(QPen(QBrush(Black), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter.setBrush(White);
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    painter.setPen(QPen(QBrush(Grey), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    const QColor fills[] = { QColor(240, 120, 120), QColor(50, 200, 50), QColor(100, 150, 250) };
    if (mode >= 1 && mode <= 3)
        painter.setBrush(fills[mode - 1]);
    else
        painter.setBrush(Qt::NoBrush);
    GameField::Cell **cells = field.snapshot();
    for (int r = 1; r <= GameField::FieldSize; ++r) {
        for (int c = 1; c <= GameField::FieldSize; ++c) {
            if (cells[r][c] == 1)
                painter.drawRect(
                    FirstCell + (c - 1) * CellPitch, FirstCell + (r - 1) * CellPitch, CellPitch, CellPitch);
        }
    }
    return image;
}

// Counts the paint events, so that the tests can tell when the view asks for one.
class CountingView : public WidgetPaintArea
{
public:
    explicit CountingView(QWidget *parent = nullptr)
        : WidgetPaintArea(parent)
    {
    }

    int paints = 0;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        ++paints;
        WidgetPaintArea::paintEvent(event);
    }
};

constexpr int CellSizes[] = { 32, 24, 16, 12, 8, 6, 4, 3, 2, 1 }; // pixels a cell at zoom steps 0..9

// Whether the picture shows a live cell at `pixel`: its fill or its outline.
bool showsLife(const QImage &image, const QPoint &pixel)
{
    const QColor color = image.pixelColor(pixel);
    return color == QColor(50, 200, 50) || color == Grey;
}

// A view of 400 x 300 pixels on the screen, showing `universe` at `zoomStep`
// with cell `corner` at its top-left pixel.
void showAt(WidgetPaintArea &view, const Universe &universe, int zoomStep, const CellPoint &corner)
{
    view.setFixedSize(400, 300);
    // Without the focus, no cursor covers a cell.
    view.setFocusPolicy(Qt::NoFocus);
    view.setUniverse(&universe);
    Viewport place;
    place.place(zoomStep, corner, QPoint(0, 0));
    view.setViewport(place);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
}

} // namespace

Q_DECLARE_METATYPE(CellList)
Q_DECLARE_METATYPE(CellRect)
Q_DECLARE_METATYPE(CellPoint)
Q_DECLARE_METATYPE(Topology)

// The field view read back pixel by pixel: frame, cell positions, outlines
// and fills of each colour mode.
class TestWidgetPaintArea : public QObject
{
    Q_OBJECT

private slots:
    void statesHaveColoursOfTheirOwn();
    void initTestCase();
    void cleanup();

    void blankView_data();
    void blankView();

    void colourModes_data();
    void colourModes();
    void cellsLandWhereTheyBelong_data();
    void cellsLandWhereTheyBelong();
    void firstAndLastCellCorners();
    void onlyTheValueOneIsDrawn_data();
    void onlyTheValueOneIsDrawn();
    void everyPaintReadsTheFieldAnew();
    void matchesRectanglePainting_data();
    void matchesRectanglePainting();

    void changesWaitForARepaint();

    void wheelZoomKeepsTheCellUnderThePointer_data();
    void wheelZoomKeepsTheCellUnderThePointer();
    void fitShowsEveryLiveCell_data();
    void fitShowsEveryLiveCell();
    void clickDrawsTheCellUnderThePointer_data();
    void clickDrawsTheCellUnderThePointer();
    void gridLines_data();
    void gridLines();
    void seamsShowHowEdgesJoin_data();
    void seamsShowHowEdgesJoin();
    void tubesShowTheirOneSeam();
};

void TestWidgetPaintArea::initTestCase() { WarningGuard::install(); }

void TestWidgetPaintArea::cleanup() { TopLevelGuard::closeLeftovers(); }

void TestWidgetPaintArea::blankView_data()
{
    QTest::addColumn<bool>("withField");
    QTest::addColumn<QSize>("size");

    QTest::newRow("no field") << false << QSize(ViewSize, ViewSize);
    QTest::newRow("empty field") << true << QSize(ViewSize, ViewSize);
    QTest::newRow("no field, other size") << false << QSize(200, 90);
}

void TestWidgetPaintArea::blankView()
{
    QFETCH(bool, withField);
    QFETCH(QSize, size);

    GameField field;
    WidgetPaintArea view;
    view.setFixedSize(size);
    if (withField)
        view.setField(&field);

    const QImage image = render(view);
    QCOMPARE(image.size(), size);
    QByteArray problem;
    QVERIFY2(isBlankApartFrom(image, QRect(), &problem), problem);
}

void TestWidgetPaintArea::colourModes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QColor>("fill");

    QTest::newRow("1 red") << 1 << QColor(240, 120, 120);
    QTest::newRow("2 green") << 2 << QColor(50, 200, 50);
    QTest::newRow("3 blue") << 3 << QColor(100, 150, 250);
    QTest::newRow("0 unfilled") << 0 << White;
    QTest::newRow("4 unfilled") << 4 << White;
    QTest::newRow("-1 unfilled") << -1 << White;
}

void TestWidgetPaintArea::colourModes()
{
    QFETCH(int, mode);
    QFETCH(QColor, fill);

    GameField field;
    setCells(field, { { 1, 1 } });
    WidgetPaintArea view;
    view.setFixedSize(ViewSize, ViewSize);
    view.setField(&field);
    view.setColorMode(mode);

    const QImage image = render(view);
    QByteArray problem;
    QVERIFY2(showsCell(image, 1, 1, fill, &problem), problem);
    QVERIFY2(isBlankApartFrom(image, cellOutline(1, 1), &problem), problem);
}

void TestWidgetPaintArea::cellsLandWhereTheyBelong_data()
{
    QTest::addColumn<CellList>("cells");

    QTest::newRow("top left") << CellList { { 1, 1 } };
    QTest::newRow("bottom right") << CellList { { 120, 120 } };
    QTest::newRow("top right") << CellList { { 1, 120 } };
    QTest::newRow("bottom left") << CellList { { 120, 1 } };
    QTest::newRow("row 2, column 7") << CellList { { 2, 7 } };
    QTest::newRow("apart") << CellList { { 10, 20 }, { 60, 61 }, { 119, 3 } };
}

void TestWidgetPaintArea::cellsLandWhereTheyBelong()
{
    QFETCH(CellList, cells);

    GameField field;
    setCells(field, cells);
    WidgetPaintArea view;
    view.setFixedSize(ViewSize, ViewSize);
    view.setField(&field);

    const QImage image = render(view);
    QByteArray problem;
    for (const auto &cell : cells)
        QVERIFY2(showsCell(image, cell.first, cell.second, QColor(50, 200, 50), &problem), problem);

    // Nothing else is drawn: the area outside the cells stays white.
    setCells(field, {});
    QImage expected = render(view);
    for (const auto &cell : cells) {
        const QRect outline = cellOutline(cell.first, cell.second);
        for (int y = outline.top(); y <= outline.bottom(); ++y) {
            for (int x = outline.left(); x <= outline.right(); ++x)
                expected.setPixelColor(x, y, image.pixelColor(x, y));
        }
    }
    QCOMPARE(image, expected);
}

void TestWidgetPaintArea::firstAndLastCellCorners()
{
    GameField field;
    setCells(field, { { 1, 1 }, { 120, 120 } });
    WidgetPaintArea view;
    view.setFixedSize(ViewSize, ViewSize);
    view.setField(&field);
    const QImage image = render(view);

    QCOMPARE(image.pixelColor(3, 3), White);
    QCOMPARE(image.pixelColor(4, 4), Grey);
    QCOMPARE(image.pixelColor(5, 5), QColor(50, 200, 50));
    QCOMPARE(image.pixelColor(9, 9), QColor(50, 200, 50));
    QCOMPARE(image.pixelColor(10, 10), Grey);
    QCOMPARE(image.pixelColor(11, 11), White);

    QCOMPARE(image.pixelColor(717, 717), White);
    QCOMPARE(image.pixelColor(718, 718), Grey);
    QCOMPARE(image.pixelColor(719, 719), QColor(50, 200, 50));
    QCOMPARE(image.pixelColor(724, 724), Grey);
    // The last cell keeps clear of the frame.
    for (int i = 725; i < ViewSize - 1; ++i) {
        QCOMPARE(image.pixelColor(i, 720), White);
        QCOMPARE(image.pixelColor(720, i), White);
    }
    QCOMPARE(image.pixelColor(ViewSize - 1, 720), Black);
    QCOMPARE(image.pixelColor(720, ViewSize - 1), Black);
}

void TestWidgetPaintArea::onlyTheValueOneIsDrawn_data()
{
    QTest::addColumn<int>("value");

    QTest::newRow("2") << 2;
    QTest::newRow("-1") << -1;
    QTest::newRow("0") << 0;
}

void TestWidgetPaintArea::onlyTheValueOneIsDrawn()
{
    QFETCH(int, value);

    GameField field;
    setCells(field, { { 1, 1 }, { 50, 50 }, { 120, 120 } }, value);
    WidgetPaintArea view;
    view.setFixedSize(ViewSize, ViewSize);
    view.setField(&field);

    QByteArray problem;
    QVERIFY2(isBlankApartFrom(render(view), QRect(), &problem), problem);
}

void TestWidgetPaintArea::everyPaintReadsTheFieldAnew()
{
    GameField field;
    WidgetPaintArea view;
    view.setFixedSize(ViewSize, ViewSize);
    view.setField(&field);

    setCells(field, { { 30, 40 } });
    QByteArray problem;
    QVERIFY2(showsCell(render(view), 30, 40, QColor(50, 200, 50), &problem), problem);

    // A field fully alive: the grey outlines form a grid, green inside each cell.
    setCells(field, {});
    GameField::Cell **cells = field.snapshot();
    for (int r = 1; r <= GameField::FieldSize; ++r) {
        for (int c = 1; c <= GameField::FieldSize; ++c)
            cells[r][c] = 1;
    }
    field.commitSnapshot();
    const QImage full = render(view);
    for (int r = 1; r <= GameField::FieldSize; r += 17) {
        for (int c = 1; c <= GameField::FieldSize; c += 13)
            QVERIFY2(showsCell(full, r, c, QColor(50, 200, 50), &problem), problem);
    }
    QVERIFY2(showsCell(full, 120, 120, QColor(50, 200, 50), &problem), problem);

    field.clear();
    QVERIFY2(isBlankApartFrom(render(view), QRect(), &problem), problem);
}

void TestWidgetPaintArea::matchesRectanglePainting_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("density"); // one cell in `density` alive; 0 none, 1 all
    QTest::addColumn<QSize>("size");

    for (int mode : { 0, 1, 2, 3, 4 }) {
        for (int density : { 0, 1, 2, 3, 7 }) {
            const QByteArray name = "mode " + QByteArray::number(mode) + ", 1 in " + QByteArray::number(density);
            QTest::newRow(name.constData()) << mode << density << QSize(ViewSize, ViewSize);
        }
    }
    // Cells reaching the frame and beyond the edge of a smaller widget.
    QTest::newRow("small, filled") << 2 << 2 << QSize(203, 91);
    QTest::newRow("small, unfilled") << 0 << 2 << QSize(203, 91);
}

void TestWidgetPaintArea::matchesRectanglePainting()
{
    QFETCH(int, mode);
    QFETCH(int, density);
    QFETCH(QSize, size);

    GameField field;
    WidgetPaintArea view;
    view.setFixedSize(size);
    view.setField(&field);
    view.setColorMode(mode);
    // A full field first: the image kept from that paint must not show through.
    GameField::Cell **cells = field.snapshot();
    for (int r = 1; r <= GameField::FieldSize; ++r)
        std::fill(cells[r] + 1, cells[r] + 1 + GameField::FieldSize, 1);
    field.commitSnapshot();
    render(view);

    std::mt19937 random(static_cast<unsigned>(mode * 100 + density));
    cells = field.snapshot();
    for (int r = 1; r <= GameField::FieldSize; ++r) {
        for (int c = 1; c <= GameField::FieldSize; ++c)
            cells[r][c] = density > 0 && random() % density == 0 ? 1 : 0;
    }
    field.commitSnapshot();
    QCOMPARE(render(view), referencePicture(field, size, mode));

    // One cell changed: only the lines around it are drawn anew.
    cells = field.snapshot();
    cells[60][61] = 1 - cells[60][61];
    field.commitSnapshot();
    QCOMPARE(render(view), referencePicture(field, size, mode));
}

void TestWidgetPaintArea::changesWaitForARepaint()
{
    GameField field;
    setCells(field, { { 1, 1 } });
    CountingView view;
    view.setFixedSize(ViewSize, ViewSize);
    view.setField(&field);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QTRY_VERIFY(view.paints > 0);

    QByteArray problem;
    QVERIFY2(showsCell(onScreen(view), 1, 1, QColor(50, 200, 50), &problem), problem);

    const int paintsBefore = view.paints;
    view.setColorMode(1);
    view.setField(nullptr);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCOMPARE(view.paints, paintsBefore);
    QVERIFY2(showsCell(onScreen(view), 1, 1, QColor(50, 200, 50), &problem), problem);

    view.setField(&field);
    view.update();
    QTRY_VERIFY(view.paints > paintsBefore);
    QTRY_VERIFY2(showsCell(onScreen(view), 1, 1, QColor(240, 120, 120), &problem), problem);
}

void TestWidgetPaintArea::wheelZoomKeepsTheCellUnderThePointer_data()
{
    QTest::addColumn<int>("zoomStep"); // at the start, 0..4 for 32..8 pixels a cell
    QTest::addColumn<CellPoint>("corner"); // the cell at the top-left pixel at the start
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<int>("notches"); // wheel steps, positive away from the user: in

    constexpr std::int64_t far = std::int64_t(1) << 59;
    QTest::newRow("8 in 2 at the centre") << 4 << CellPoint { -25, -19 } << QPoint(200, 150) << 2;
    QTest::newRow("16 in 5, past the ladder") << 2 << CellPoint { 0, 0 } << QPoint(17, 290) << 5;
    QTest::newRow("32 out 3") << 0 << CellPoint { 3, -7 } << QPoint(398, 1) << -3;
    QTest::newRow("12 out 12 to 8 cells a pixel") << 3 << CellPoint { 100, 200 } << QPoint(123, 77) << -12;
    QTest::newRow("8 out 40, far away") << 4 << CellPoint { far, -far } << QPoint(250, 40) << -40;
    QTest::newRow("8 out 55, to 2^50 cells a pixel") << 4 << CellPoint { -far, 5 } << QPoint(3, 298) << -55;
}

void TestWidgetPaintArea::wheelZoomKeepsTheCellUnderThePointer()
{
    QFETCH(int, zoomStep);
    QFETCH(CellPoint, corner);
    QFETCH(QPoint, pointer);
    QFETCH(int, notches);

    const int size = CellSizes[zoomStep];
    const CellPoint under { corner.x + pointer.x() / size, corner.y + pointer.y() / size };
    HashLife plane;
    plane.setCell(under.x, under.y, true);
    WidgetPaintArea view;
    showAt(view, plane, zoomStep, corner);
    QVERIFY(showsLife(render(view), pointer));

    for (int notch = 0; notch < std::abs(notches); ++notch) {
        QWheelEvent wheel(pointer, view.mapToGlobal(pointer), QPoint(), QPoint(0, notches > 0 ? 120 : -120),
            Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&view, &wheel);
        // The only live cell lights the pixel under the pointer, and no more than one cell's worth.
        const QImage image = render(view);
        QVERIFY2(showsLife(image, pointer), qPrintable(QString("after %1 notches").arg(notch + 1)));
        int lit = 0;
        for (int y = 1; y < image.height() - 1; ++y) {
            for (int x = 1; x < image.width() - 1; ++x)
                lit += showsLife(image, QPoint(x, y));
        }
        QVERIFY(lit >= 1 && lit <= 33 * 33);
    }
    QCOMPARE(view.viewport().zoomStep(), std::clamp(zoomStep - notches, 0, Viewport::zoomStepCount() - 1));
}

void TestWidgetPaintArea::fitShowsEveryLiveCell_data()
{
    QTest::addColumn<CellRect>("box"); // its four corners alive

    constexpr std::int64_t limit = Universe::CoordinateLimit;
    QTest::newRow("around the origin") << CellRect { -3, -2, 5, 7 };
    QTest::newRow("one cell") << CellRect { 9, -9, 9, -9 };
    QTest::newRow("a long line") << CellRect { -1000000, 4, 1000000, 4 };
    QTest::newRow("far away") << CellRect { 1000000007, -5000000000, 1000000100, -4999999000 };
    QTest::newRow("the whole plane") << CellRect { -limit, -limit, limit, limit };
    QTest::newRow("at the corner") << CellRect { limit - 70, -limit, limit, -limit + 3 };
}

void TestWidgetPaintArea::fitShowsEveryLiveCell()
{
    QFETCH(CellRect, box);

    HashLife plane;
    const std::vector<CellPoint> corners
        = { { box.left, box.top }, { box.right, box.top }, { box.left, box.bottom }, { box.right, box.bottom } };
    for (const CellPoint &corner : corners)
        plane.setCell(corner.x, corner.y, true);
    WidgetPaintArea view;
    showAt(view, plane, 0, CellPoint());
    view.fitPattern();

    const QImage image = render(view);
    const QRect inside = view.rect().adjusted(1, 1, -1, -1);
    for (const CellPoint &corner : corners) {
        const QRect pixels = view.viewport().pixelsOf(corner);
        QVERIFY(inside.contains(pixels));
        QVERIFY(showsLife(image, pixels.topLeft()) || showsLife(image, pixels.center()));
    }
    // The finest zoom that shows them all: one step in loses one of them.
    view.zoomIn();
    if (view.viewport().zoomStep() > 0) {
        const bool allShown = std::all_of(corners.begin(), corners.end(),
            [&](const CellPoint &corner) { return inside.contains(view.viewport().pixelsOf(corner)); });
        QVERIFY(!allShown);
    }
}

void TestWidgetPaintArea::clickDrawsTheCellUnderThePointer_data()
{
    QTest::addColumn<bool>("torus"); // else the unbounded plane
    QTest::addColumn<int>("zoomStep");
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("draws");

    QTest::newRow("32 pixels, last pixel") << false << 0 << QPoint(95, 63) << Qt::KeyboardModifiers() << true;
    QTest::newRow("on an outline") << false << 1 << QPoint(240, 48) << Qt::KeyboardModifiers() << true;
    QTest::newRow("3 pixels") << false << 7 << QPoint(301, 202) << Qt::KeyboardModifiers() << true;
    QTest::newRow("1 pixel") << false << 9 << QPoint(17, 298) << Qt::KeyboardModifiers() << true;
    QTest::newRow("torus, 4 pixels") << true << 6 << QPoint(99, 43) << Qt::KeyboardModifiers() << true;
    QTest::newRow("torus, outside") << true << 6 << QPoint(150, 43) << Qt::KeyboardModifiers() << false;
    QTest::newRow("2 cells a pixel") << false << 10 << QPoint(50, 50) << Qt::KeyboardModifiers() << false;
    QTest::newRow("with Shift") << false << 0 << QPoint(50, 50) << Qt::KeyboardModifiers(Qt::ShiftModifier) << false;
}

void TestWidgetPaintArea::clickDrawsTheCellUnderThePointer()
{
    QFETCH(bool, torus);
    QFETCH(int, zoomStep);
    QFETCH(QPoint, pointer);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, draws);

    HashLife plane;
    GridUniverse ring(Topology::torus(25, 30));
    Universe &universe = torus ? static_cast<Universe &>(ring) : plane;
    WidgetPaintArea view;
    const CellPoint corner = torus ? CellPoint { -2, 7 } : CellPoint { -12345678901, 987654321 };
    showAt(view, universe, zoomStep, corner);
    QObject::connect(&view, &WidgetPaintArea::universeCellDrawn,
        [&](qint64 x, qint64 y, int state) { universe.setCell(x, y, state != 0); });
    QTest::mouseClick(&view, Qt::LeftButton, modifiers, pointer);

    QCOMPARE(universe.population(), draws ? 1U : 0U);
    if (draws) {
        // A pixel on the outline between two cells belongs to the one right of or below it.
        const int size = CellSizes[zoomStep];
        QVERIFY(universe.cell(corner.x + pointer.x() / size, corner.y + pointer.y() / size));
    }
    QCOMPARE(showsLife(render(view), pointer), draws);
}

void TestWidgetPaintArea::gridLines_data()
{
    QTest::addColumn<int>("zoomStep");

    QTest::newRow("8 pixels") << 4;
    QTest::newRow("4 pixels") << 6;
    QTest::newRow("3 pixels: none") << 7;
    QTest::newRow("1 pixel: none") << 9;
}

void TestWidgetPaintArea::gridLines()
{
    QFETCH(int, zoomStep);

    HashLife plane;
    plane.setCell(1, 1, true);
    WidgetPaintArea view;
    view.setGridShown(true);
    showAt(view, plane, zoomStep, CellPoint { -13, -7 });
    const QImage image = render(view);
    const int size = CellSizes[zoomStep];
    const bool lined = size >= 4;
    // Along the dead row of cells -4, from column -12 on: the line left of each cell, then its inside.
    const int y = 3 * size + size / 2;
    const QColor tenth = image.pixelColor(3 * size, y);
    const QColor plain = image.pixelColor(size, y);
    if (lined)
        QVERIFY(qGray(tenth.rgb()) < qGray(plain.rgb()) && qGray(plain.rgb()) < 255);
    for (int x = -12; (x + 14) * size < view.width() - 1; ++x) {
        const int left = (x + 13) * size;
        const QColor line = !lined ? White : x % 10 == 0 ? tenth : plain;
        QVERIFY2(image.pixelColor(left, y) == line, describe(image, left, y));
        for (int inside = left + 1; inside < left + size; ++inside)
            QVERIFY2(image.pixelColor(inside, y) == White, describe(image, inside, y));
    }
    // Across, above row 0; the live cell keeps its own outline.
    QCOMPARE(image.pixelColor(size + size / 2, 7 * size), lined ? tenth : White);
    QVERIFY(showsLife(image, view.viewport().pixelsOf({ 1, 1 }).topLeft()));
}

void TestWidgetPaintArea::seamsShowHowEdgesJoin_data()
{
    QTest::addColumn<Topology>("topology");
    QTest::addColumn<int>("bottomArrow"); // the column the bottom edge's arrow points out, -1 for none
    QTest::addColumn<bool>("forward"); // it points right, as the top edge's does
    QTest::addColumn<bool>("leftAsTop"); // the left edge joins the top one, and has its colour

    QTest::newRow("plane") << Topology::plane(20, 10) << -1 << true << false;
    QTest::newRow("torus") << Topology::torus(20, 10) << 10 << true << false;
    QTest::newRow("torus shifted by 3") << Topology::shiftedTorus(20, 10, Topology::Edges::TopBottom, 3) << 7 << true
                                        << false;
    QTest::newRow("klein bottle twisted at the top")
        << Topology::kleinBottle(20, 10, Topology::Edges::TopBottom) << 9 << false << false;
    QTest::newRow("klein bottle twisted at the sides")
        << Topology::kleinBottle(20, 10, Topology::Edges::LeftRight) << 10 << true << false;
    QTest::newRow("cross-surface") << Topology::crossSurface(20, 10) << 9 << false << false;
    QTest::newRow("sphere") << Topology::sphere(10) << 5 << true << true;
}

// A tube's seam runs along it; its ends, endless, and a strip's dead edges have none.
void TestWidgetPaintArea::tubesShowTheirOneSeam()
{
    const int size = CellSizes[2];
    for (const Topology &topology : { Topology::torus(0, 10), Topology::torus(10, 0), Topology::plane(0, 10) }) {
        StripUniverse universe(topology);
        WidgetPaintArea view;
        showAt(view, universe, 2, CellPoint { -2, -2 });
        const QImage image = render(view);
        const auto seam = [&image](int x, int y) {
            const QColor colour = image.pixelColor(x, y);
            return std::abs(colour.red() - colour.green()) > 60 || std::abs(colour.red() - colour.blue()) > 60;
        };
        const bool tube = topology.kind() == Topology::Kind::Torus;
        // Along the top edge a third of the way across the view, and down the left edge a third of the way.
        QCOMPARE(seam(image.width() / 3, 2 * size), tube && topology.width() == 0);
        QCOMPARE(seam(2 * size, image.height() / 3), tube && topology.height() == 0);
    }
}

// The arrow on the bottom edge marks the cell that meets the top edge's
// middle one: where the twist or shift puts it.
void TestWidgetPaintArea::seamsShowHowEdgesJoin()
{
    QFETCH(Topology, topology);
    QFETCH(int, bottomArrow);
    QFETCH(bool, forward);
    QFETCH(bool, leftAsTop);

    GridUniverse universe(topology);
    WidgetPaintArea view;
    showAt(view, universe, 2, CellPoint { -2, -2 });
    const QImage image = render(view);
    const int size = CellSizes[2];
    const auto pair = [&image](int x, int y) {
        const QColor colour = image.pixelColor(x, y);
        return colour.green() > colour.red() + 60 && colour.blue() > colour.red() + 60 ? 0
            : colour.red() > colour.blue() + 120 && colour.red() > colour.green() + 60 ? 1
                                                                                       : -1;
    };
    // The edges' lines, a third of the way along, away from the arrows.
    const int top = 2 * size;
    const int left = 2 * size;
    const int bottom = (2 + static_cast<int>(topology.height())) * size - 1;
    QCOMPARE(pair(left + static_cast<int>(topology.width()) * size / 3, top), bottomArrow < 0 ? -1 : 0);
    QCOMPARE(pair(left, top + static_cast<int>(topology.height()) * size / 3),
        bottomArrow < 0 ? -1
            : leftAsTop ? 0
                        : 1);
    // The arrow past the bottom line: wide at its base, narrow at its tip.
    int first = image.width();
    int last = -1;
    int count = 0;
    int sum = 0;
    for (int y = bottom + 2; y <= bottom + 5; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (pair(x, y) >= 0) {
                first = std::min(first, x);
                last = std::max(last, x);
                count += y >= bottom + 4 ? 1 : 0;
                sum += y >= bottom + 4 ? x : 0;
            }
        }
    }
    if (bottomArrow < 0) {
        QCOMPARE(last, -1);
        return;
    }
    QVERIFY(count > 0);
    const bool pointsRight = sum / count < (first + last) / 2;
    QCOMPARE(pointsRight, forward);
    const int tip = pointsRight ? last : first;
    // Its tip lies within the cell, the rows below the line a few pixels short of it.
    QVERIFY2(std::abs(tip - ((2 + bottomArrow) * size + size / 2)) <= 6, qPrintable(QString::number(tip)));
}

QTEST_MAIN(TestWidgetPaintArea)

void TestWidgetPaintArea::statesHaveColoursOfTheirOwn()
{
    // At 32 pixels a cell and zoomed out to one, filled and in outlines: each
    // state its own colour, the live one as under Life, none the dead one.
    for (const char *spelled : { "B2/S/C4", "LifeHistory" }) {
        Rule rule;
        std::string error;
        QVERIFY(Rule::read(spelled, rule, error));
        GridUniverse universe(Topology::plane(8, 1), rule);
        GridUniverse life(Topology::plane(8, 1));
        for (int state = 1; state < std::min(rule.stateCount(), 8); ++state)
            universe.setState(state, 0, static_cast<std::uint8_t>(state));
        life.setCell(1, 0, true);
        for (const int colorMode : { 0, 2 }) {
            for (const int zoomStep : { 0, 9 }) {
                const QImage picture = UniverseImage::picture(universe, CellRect { 0, 0, 7, 0 }, zoomStep, colorMode);
                const QImage lifePicture = UniverseImage::picture(life, CellRect { 0, 0, 7, 0 }, zoomStep, colorMode);
                const int cell = picture.width() / 8;
                const auto colourOf
                    = [&](const QImage &image, int x) { return image.pixel(x * cell + cell / 2, cell / 2); };
                QCOMPARE(colourOf(picture, 1), colourOf(lifePicture, 1));
                std::vector<QRgb> seen { colourOf(picture, 0) };
                // Outlined, a live cell shows the dead colour inside; the other states are filled.
                const int first = colorMode == 0 && zoomStep == 0 ? 2 : 1;
                for (int state = first; state < std::min(rule.stateCount(), 7); ++state) {
                    const QRgb colour = colourOf(picture, state);
                    QVERIFY2(std::find(seen.begin(), seen.end(), colour) == seen.end(),
                        qPrintable(QStringLiteral("%1, state %2, mode %3, step %4")
                                       .arg(spelled)
                                       .arg(state)
                                       .arg(colorMode)
                                       .arg(zoomStep)));
                    seen.push_back(colour);
                }
            }
        }
    }
}

#include "tst_widgetpaintarea.moc"
