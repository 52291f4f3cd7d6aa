#include <QApplication>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPixmap>
#include <QRect>
#include <QScreen>
#include <QTest>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

#include "model/engine/gamefield.h"
#include "toplevelguard.h"
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

} // namespace

Q_DECLARE_METATYPE(CellList)

// The field view read back pixel by pixel: frame, cell positions, outlines
// and fills of each colour mode.
class TestWidgetPaintArea : public QObject
{
    Q_OBJECT

private slots:
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

QTEST_MAIN(TestWidgetPaintArea)

#include "tst_widgetpaintarea.moc"
