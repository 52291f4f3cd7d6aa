#include <QAbstractItemView>
#include <QApplication>
#include <QBrush>
#include <QCloseEvent>
#include <QColor>
#include <QDialog>
#include <QFrame>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStringList>
#include <QTableWidget>
#include <QTest>
#include <QWindow>

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "editor/formfieldeditor.h"
#include "editor/formfieldeditorui.h"
#include "modalrunner.h"
#include "model/engine/gamefield.h"
#include "toplevelguard.h"
#include "warningguard.h"

namespace
{

constexpr int N = GameField::FieldSize;

using Buffer = std::vector<int32_t>;

int32_t &at(Buffer &buffer, int row, int column) { return buffer[static_cast<std::size_t>(row * N + column)]; }

QTableWidget *tableOf(QDialog &dialog) { return dialog.findChild<QTableWidget *>(QStringLiteral("TableWidget_Field")); }

template <typename T> T *child(QDialog &dialog, const char *name)
{
    return dialog.findChild<T *>(QString::fromLatin1(name));
}

QBrush cellBrush(QTableWidget *table, int row, int column)
{
    return table->item(row, column)->data(Qt::BackgroundRole).value<QBrush>();
}

bool showsLive(QTableWidget *table, int row, int column)
{
    return cellBrush(table, row, column) == QBrush(Qt::darkGreen, Qt::SolidPattern);
}

bool showsDead(QTableWidget *table, int row, int column)
{
    return cellBrush(table, row, column) == QBrush(Qt::white, Qt::SolidPattern);
}

QPoint cellCentre(QTableWidget *table, int row, int column)
{
    table->scrollToItem(table->item(row, column));
    return table->visualRect(table->model()->index(row, column)).center();
}

void clickCell(QTableWidget *table, int row, int column)
{
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cellCentre(table, row, column));
}

void chooseTool(QDialog &dialog, const char *name)
{
    QTest::mouseClick(child<QRadioButton>(dialog, name), Qt::LeftButton);
}

// Shows `dialog`, active and ready for input.
bool showEditor(QDialog &dialog)
{
    dialog.show();
    dialog.activateWindow();
    return QTest::qWaitForWindowExposed(&dialog) && QTest::qWaitForWindowActive(&dialog);
}

// A buffer with live cells, a 2 and a -1: values the editor must show as dead
// and leave alone unless they are painted.
Buffer mixedBuffer()
{
    Buffer buffer(GameField::CellCount, 0);
    at(buffer, 0, 0) = 1;
    at(buffer, 3, 4) = 1;
    at(buffer, 119, 119) = 1;
    at(buffer, 60, 7) = 2;
    at(buffer, 7, 60) = -1;
    return buffer;
}

} // namespace

// The editor dialog under real clicks and keys: what it shows, what each tool
// writes into the caller's buffer, and how each way of leaving it is reported.
class TestFormFieldEditor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void opensWithBufferColours();
    void opensScrolledToTheLiveCells();
    void toolNoneChangesNothing();
    void toolPaints_data();
    void toolPaints();
    void toolChangeRepaintsCurrentCell();
    void arrowKeysPaint();
    void dragPaints();
    void outOfRangeCellIsIgnored_data();
    void outOfRangeCellIsIgnored();
    void outcome_data();
    void outcome();

    void dialogName();
    void resizeOnlyResizesTable();
    void tabOrder();
    void noInPlaceEditor_data();
    void noInPlaceEditor();
};

void TestFormFieldEditor::initTestCase() { WarningGuard::install(); }

void TestFormFieldEditor::cleanup() { TopLevelGuard::closeLeftovers(); }

void TestFormFieldEditor::opensWithBufferColours()
{
    Buffer buffer = mixedBuffer();
    const Buffer original = buffer;
    FormFieldEditor dialog(&buffer);
    QVERIFY(showEditor(dialog));
    QTableWidget *table = tableOf(dialog);

    QCOMPARE(table->rowCount(), N);
    QCOMPARE(table->columnCount(), N);
    for (int row = 0; row < N; ++row) {
        for (int column = 0; column < N; ++column) {
            const bool live = at(buffer, row, column) == 1;
            if (live ? !showsLive(table, row, column) : !showsDead(table, row, column))
                QFAIL(qPrintable(QStringLiteral("wrong colour at %1, %2").arg(row).arg(column)));
        }
    }
    QVERIFY(!table->currentIndex().isValid());
    QVERIFY(table->selectedItems().isEmpty());
    QVERIFY(buffer == original);
    QVERIFY(!dialog.getResult());
}

void TestFormFieldEditor::opensScrolledToTheLiveCells()
{
    // Two live cells near the middle, then none: the middle of the field.
    for (const bool live : { true, false }) {
        Buffer buffer(GameField::CellCount, 0);
        at(buffer, 58, 61) = at(buffer, 60, 60) = live ? 1 : 0;
        FormFieldEditor dialog(&buffer);
        QVERIFY(showEditor(dialog));
        QTableWidget *table = tableOf(dialog);
        QVERIFY(table->viewport()->rect().contains(table->visualRect(table->model()->index(60, 60))));
    }
}

void TestFormFieldEditor::toolNoneChangesNothing()
{
    Buffer buffer = mixedBuffer();
    const Buffer original = buffer;
    FormFieldEditor dialog(&buffer);
    QVERIFY(showEditor(dialog));
    QTableWidget *table = tableOf(dialog);

    chooseTool(dialog, "RadioButton_ToolOn");
    chooseTool(dialog, "RadioButton_ToolNone");
    for (auto [row, column] : { std::pair(0, 0), std::pair(1, 1), std::pair(60, 7), std::pair(119, 119) })
        clickCell(table, row, column);

    QCOMPARE(table->currentRow(), 119);
    QVERIFY(buffer == original);
    QVERIFY(showsLive(table, 0, 0));
    QVERIFY(showsDead(table, 1, 1));
}

void TestFormFieldEditor::toolPaints_data()
{
    QTest::addColumn<QByteArray>("tool");
    QTest::addColumn<int32_t>("before");
    QTest::addColumn<int32_t>("after");

    QTest::newRow("on dead") << QByteArray("RadioButton_ToolOn") << 0 << 1;
    QTest::newRow("on live") << QByteArray("RadioButton_ToolOn") << 1 << 1;
    QTest::newRow("on 2") << QByteArray("RadioButton_ToolOn") << 2 << 1;
    QTest::newRow("off live") << QByteArray("RadioButton_ToolOff") << 1 << 0;
    QTest::newRow("off dead") << QByteArray("RadioButton_ToolOff") << 0 << 0;
    QTest::newRow("off -1") << QByteArray("RadioButton_ToolOff") << -1 << 0;
}

void TestFormFieldEditor::toolPaints()
{
    QFETCH(QByteArray, tool);
    QFETCH(int32_t, before);
    QFETCH(int32_t, after);

    Buffer buffer = mixedBuffer();
    at(buffer, 90, 100) = before;
    Buffer expected = buffer;
    at(expected, 90, 100) = after;
    FormFieldEditor dialog(&buffer);
    QVERIFY(showEditor(dialog));
    QTableWidget *table = tableOf(dialog);

    chooseTool(dialog, tool.constData());
    clickCell(table, 90, 100);

    QVERIFY(buffer == expected);
    QVERIFY(after == 1 ? showsLive(table, 90, 100) : showsDead(table, 90, 100));
    QVERIFY(showsLive(table, 3, 4));
}

void TestFormFieldEditor::toolChangeRepaintsCurrentCell()
{
    Buffer buffer(GameField::CellCount, 0);
    FormFieldEditor dialog(&buffer);
    QVERIFY(showEditor(dialog));
    QTableWidget *table = tableOf(dialog);

    chooseTool(dialog, "RadioButton_ToolOn");
    clickCell(table, 5, 6);
    QCOMPARE(at(buffer, 5, 6), 1);

    // The same cell again, no tool change: the current cell stays, nothing is written.
    at(buffer, 5, 6) = 0;
    clickCell(table, 5, 6);
    QCOMPARE(at(buffer, 5, 6), 0);

    chooseTool(dialog, "RadioButton_ToolOff");
    at(buffer, 5, 6) = 1;
    clickCell(table, 5, 6);
    QCOMPARE(at(buffer, 5, 6), 0);
    QVERIFY(showsDead(table, 5, 6));

    // Choosing the tool that is already checked counts as a change too.
    chooseTool(dialog, "RadioButton_ToolOff");
    at(buffer, 5, 6) = 1;
    clickCell(table, 5, 6);
    QCOMPARE(at(buffer, 5, 6), 0);
    QCOMPARE(buffer.size(), std::size_t(GameField::CellCount));
}

void TestFormFieldEditor::arrowKeysPaint()
{
    Buffer buffer(GameField::CellCount, 0);
    FormFieldEditor dialog(&buffer);
    QVERIFY(showEditor(dialog));
    QTableWidget *table = tableOf(dialog);

    chooseTool(dialog, "RadioButton_ToolOn");
    clickCell(table, 10, 10);
    for (Qt::Key key : { Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Down, Qt::Key_Left })
        QTest::keyClick(table, key);

    Buffer expected(GameField::CellCount, 0);
    for (auto [row, column] : { std::pair(10, 10), { 10, 11 }, { 10, 12 }, { 11, 12 }, { 12, 12 }, { 12, 11 } }) {
        at(expected, row, column) = 1;
        QVERIFY(showsLive(table, row, column));
    }
    QVERIFY(buffer == expected);
}

void TestFormFieldEditor::dragPaints()
{
    Buffer buffer(GameField::CellCount, 1);
    FormFieldEditor dialog(&buffer);
    QVERIFY(showEditor(dialog));
    QTableWidget *table = tableOf(dialog);
    QWidget *viewport = table->viewport();

    chooseTool(dialog, "RadioButton_ToolOff");
    const std::pair<int, int> path[] = { { 2, 2 }, { 2, 3 }, { 2, 4 }, { 3, 4 }, { 4, 4 } };
    QTest::mousePress(viewport, Qt::LeftButton, {}, cellCentre(table, 2, 2));
    for (auto [row, column] : path) {
        QMouseEvent move(
            QEvent::MouseMove, cellCentre(table, row, column), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
    }
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, cellCentre(table, 4, 4));

    Buffer expected(GameField::CellCount, 1);
    for (auto [row, column] : path) {
        at(expected, row, column) = 0;
        QVERIFY(showsDead(table, row, column));
    }
    QVERIFY(buffer == expected);
    QVERIFY(showsLive(table, 3, 3));
}

void TestFormFieldEditor::outOfRangeCellIsIgnored_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");

    QTest::newRow("row -1") << -1 << 5;
    QTest::newRow("column -1") << 5 << -1;
    QTest::newRow("both -1") << -1 << -1;
    QTest::newRow("row 120") << 120 << 0;
    QTest::newRow("column 120") << 0 << 120;
    QTest::newRow("far out") << 100000 << 100000;
}

void TestFormFieldEditor::outOfRangeCellIsIgnored()
{
    QFETCH(int, row);
    QFETCH(int, column);

    Buffer buffer = mixedBuffer();
    const Buffer original = buffer;
    FormFieldEditor dialog(&buffer);
    QVERIFY(showEditor(dialog));

    for (const char *tool : { "RadioButton_ToolOn", "RadioButton_ToolOff" }) {
        chooseTool(dialog, tool);
        QVERIFY(QMetaObject::invokeMethod(&dialog, "Slot_TableWidget_Field", Q_ARG(int, row), Q_ARG(int, column)));
        QVERIFY(buffer == original);
    }
}

void TestFormFieldEditor::outcome_data()
{
    QTest::addColumn<QString>("ending");
    QTest::addColumn<bool>("result");

    QTest::newRow("OK") << QStringLiteral("ok") << true;
    QTest::newRow("Cancel") << QStringLiteral("cancel") << false;
    QTest::newRow("close") << QStringLiteral("close") << false;
    QTest::newRow("window close") << QStringLiteral("window close") << false;
    QTest::newRow("Escape") << QStringLiteral("escape") << false;
}

void TestFormFieldEditor::outcome()
{
    QFETCH(QString, ending);
    QFETCH(bool, result);

    Buffer buffer(GameField::CellCount, 0);
    FormFieldEditor dialog(&buffer);
    dialog.setWindowFlags(Qt::Window | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);

    const ModalRunner::Outcome run = ModalRunner::run([&dialog] { dialog.exec(); },
        [&](QWidget *) {
            if (!showEditor(dialog))
                return;
            chooseTool(dialog, "RadioButton_ToolOn");
            clickCell(tableOf(dialog), 8, 9);
            if (ending == QLatin1String("ok")) {
                QTest::mouseClick(child<QPushButton>(dialog, "PushButton_Ok"), Qt::LeftButton);
            } else if (ending == QLatin1String("cancel")) {
                QTest::mouseClick(child<QPushButton>(dialog, "PushButton_Cancel"), Qt::LeftButton);
            } else if (ending == QLatin1String("close")) {
                dialog.close();
            } else if (ending == QLatin1String("window close")) {
                // What the window system sends when its close button is pressed.
                QCloseEvent close;
                QApplication::sendEvent(dialog.windowHandle(), &close);
            } else {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            }
        });

    QVERIFY(run.opened);
    QVERIFY2(!run.forced, "the dialog stayed open");
    QCOMPARE(dialog.getResult(), result);
    // Painting is never rolled back: whether it counts is the caller's business.
    QCOMPARE(at(buffer, 8, 9), 1);
    QCOMPARE(buffer.size(), std::size_t(GameField::CellCount));
}

void TestFormFieldEditor::dialogName()
{
    Buffer buffer(GameField::CellCount, 0);
    FormFieldEditor editor(&buffer);
    QCOMPARE(editor.objectName(), QStringLiteral("FormFieldEditor"));

    QDialog named;
    named.setObjectName(QStringLiteral("SecondEditor"));
    FormFieldEditorUi ui;
    ui.setupUi(&named);
    QCOMPARE(named.objectName(), QStringLiteral("SecondEditor"));
    // Before the dialog fills it in, the table is empty and the harmless tool is chosen.
    QCOMPARE(ui.TableWidget_Field->rowCount(), 0);
    QCOMPARE(ui.TableWidget_Field->columnCount(), 0);
    QVERIFY(ui.RadioButton_ToolNone->isChecked());
}

void TestFormFieldEditor::resizeOnlyResizesTable()
{
    Buffer buffer(GameField::CellCount, 0);
    FormFieldEditor dialog(&buffer);
    QVERIFY(showEditor(dialog));
    QTableWidget *table = tableOf(dialog);
    auto *tools = child<QFrame>(dialog, "Frame_Tools");
    auto *ok = child<QPushButton>(dialog, "PushButton_Ok");
    auto *cancel = child<QPushButton>(dialog, "PushButton_Cancel");

    // Small square cells, whatever minimum section size the style would impose.
    for (int i : { 0, 60, 119 }) {
        QCOMPARE(table->columnWidth(i), 15);
        QCOMPARE(table->rowHeight(i), 15);
    }

    for (QSize size : { QSize(1300, 1000), QSize(700, 450), QSize(300, 200) }) {
        dialog.resize(size);
        const QSize expected = size.expandedTo(QSize(500, 400));
        QTRY_COMPARE(dialog.size(), expected);
        QTRY_COMPARE(table->size(), expected - QSize(20, 20 + 30 + 10));
        QCOMPARE(tools->size(), QSize(200, 30));
        QCOMPARE(ok->size(), QSize(70, 30));
        QCOMPARE(cancel->size(), QSize(70, 30));
        QCOMPARE(tools->geometry().topLeft(), QPoint(10, expected.height() - 40));
        QCOMPARE(cancel->geometry().topRight(), QPoint(expected.width() - 11, expected.height() - 40));
        QCOMPARE(ok->geometry().right() + 11, cancel->geometry().left());
        QCOMPARE(table->verticalScrollBar()->isVisible(), true);
        QCOMPARE(table->horizontalScrollBar()->isVisible(), true);
    }
}

void TestFormFieldEditor::tabOrder()
{
    Buffer buffer(GameField::CellCount, 0);
    FormFieldEditor dialog(&buffer);
    QVERIFY(showEditor(dialog));
    QTableWidget *table = tableOf(dialog);

    QStringList chain;
    QWidget *widget = table;
    do {
        if (widget->focusPolicy() & Qt::TabFocus)
            chain << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != table);
    QCOMPARE(chain,
        QStringList({ "TableWidget_Field", "RadioButton_ToolNone", "RadioButton_ToolOn", "RadioButton_ToolOff",
            "PushButton_Ok", "PushButton_Cancel" }));

    // Qt's Tab stops only at the checked one of a set of exclusive tools; the
    // arrow keys move between them and choose the tool on the way.
    const auto pressOn = [](Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        return QApplication::focusWidget()->objectName();
    };
    table->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), table);
    QCOMPARE(pressOn(Qt::Key_Tab), QStringLiteral("RadioButton_ToolNone"));
    QCOMPARE(pressOn(Qt::Key_Right), QStringLiteral("RadioButton_ToolOn"));
    QVERIFY(child<QRadioButton>(dialog, "RadioButton_ToolOn")->isChecked());
    QCOMPARE(pressOn(Qt::Key_Tab), QStringLiteral("PushButton_Ok"));
    QCOMPARE(pressOn(Qt::Key_Tab), QStringLiteral("PushButton_Cancel"));
    QCOMPARE(pressOn(Qt::Key_Backtab, Qt::ShiftModifier), QStringLiteral("PushButton_Ok"));
    QCOMPARE(pressOn(Qt::Key_Backtab, Qt::ShiftModifier), QStringLiteral("RadioButton_ToolOn"));
    QCOMPARE(pressOn(Qt::Key_Backtab, Qt::ShiftModifier), QStringLiteral("TableWidget_Field"));

    // The tool chosen by keyboard paints, and Tab inside the table leaves it.
    clickCell(table, 40, 41);
    QCOMPARE(at(buffer, 40, 41), 1);
    QCOMPARE(pressOn(Qt::Key_Tab), QStringLiteral("RadioButton_ToolOn"));
    QCOMPARE(table->currentRow(), 40);
    QCOMPARE(table->currentColumn(), 41);
}

void TestFormFieldEditor::noInPlaceEditor_data()
{
    QTest::addColumn<QString>("gesture");

    QTest::newRow("double click") << QStringLiteral("double click");
    QTest::newRow("F2") << QStringLiteral("F2");
    QTest::newRow("typing") << QStringLiteral("typing");
}

void TestFormFieldEditor::noInPlaceEditor()
{
    QFETCH(QString, gesture);

    Buffer buffer = mixedBuffer();
    const Buffer original = buffer;
    FormFieldEditor dialog(&buffer);
    QVERIFY(showEditor(dialog));
    QTableWidget *table = tableOf(dialog);

    clickCell(table, 3, 4);
    if (gesture == QLatin1String("double click"))
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cellCentre(table, 3, 4));
    else if (gesture == QLatin1String("F2"))
        QTest::keyClick(table, Qt::Key_F2);
    else
        QTest::keyClicks(table, QStringLiteral("x"));

    QCOMPARE(QApplication::focusWidget(), table);
    QVERIFY(table->viewport()->findChildren<QWidget *>().isEmpty());
    QVERIFY(table->item(3, 4)->text().isEmpty());
    QVERIFY(buffer == original);
}

QTEST_MAIN(TestFormFieldEditor)

#include "tst_formfieldeditor.moc"
