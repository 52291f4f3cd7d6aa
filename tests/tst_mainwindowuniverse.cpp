#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "document/document.h"
#include "mainwindow/mainwindow.h"
#include "mainwindowtestcase.h"
#include "modalrunner.h"
#include "model/engine/gamefield.h"
#include "view/widgetpaintarea.h"

Q_DECLARE_METATYPE(Topology)

// The window beyond the classic field: choosing the universe, the step of a
// tick, and files too large for the classic field.
class TestMainWindowUniverse : public MainWindowTestCase
{
    Q_OBJECT

private slots:
    void changeThatLosesCellsAsksFirst();
    void changeKeepsThePatternCentred_data();
    void changeKeepsThePatternCentred();
    void stepAdvancesByExactlyItsGenerations_data();
    void stepAdvancesByExactlyItsGenerations();
    void wideFileOpensInTheUnboundedPlaneFitted();
    void statesRunInTheUnboundedPlane();
    void ruleOfFewerStatesCountsAnew_data();
    void ruleOfFewerStatesCountsAnew();

private:
    QString label(const char *name) const { return probe.find<QLabel>(name)->text(); }
    QAction *action(const char *name) const { return probe.find<QAction>(name); }
    // Chooses `topology` in the universe dialog and presses OK; answers the
    // question about lost cells with `answer`, then, if the dialog stays,
    // cancels it. Returns whether the question was asked; `note` gets what
    // the dialog said the choice costs.
    bool chooseUniverse(const Topology &topology, QMessageBox::StandardButton answer, QString *note = nullptr);
    bool chooseTorus(int side, QMessageBox::StandardButton answer)
    {
        return chooseUniverse(Topology::torus(side, side), answer);
    }
};

bool TestMainWindowUniverse::chooseUniverse(const Topology &topology, QMessageBox::StandardButton answer, QString *note)
{
    static const char *const choices[] = { "Classic field, 120 × 120", "Bounded plane", "Torus", "Klein bottle",
        "Cross-surface", "Sphere", "Unbounded plane" };
    const QString wanted = QString::fromUtf8(choices[static_cast<int>(topology.kind())]);
    bool asked = false;
    ModalRunner::run([this] { action("Action_Simulation_Universe")->trigger(); },
        [&](QWidget *dialog) {
            const QList<QRadioButton *> buttons = dialog->findChildren<QRadioButton *>();
            const auto choice = std::find_if(buttons.begin(), buttons.end(),
                [&wanted](QRadioButton *button) { return button->text().remove('&') == wanted; });
            QVERIFY(choice != buttons.end());
            // On its mark: the button is as wide as the dialog, its text is not.
            QTest::mouseClick(*choice, Qt::LeftButton, Qt::NoModifier, QPoint(8, (*choice)->height() / 2));
            for (QSpinBox *size : dialog->findChildren<QSpinBox *>()) {
                const bool width = size->accessibleName() == QStringLiteral("Width");
                if ((topology.isBounded() || topology.isStrip())
                    && (width || size->accessibleName() == QStringLiteral("Height")) && size->isEnabled()) {
                    size->selectAll();
                    QTest::keyClicks(size, QString::number(width ? topology.width() : topology.height()));
                }
                if (size->accessibleName() == QStringLiteral("Shift") && size->isEnabled()) {
                    size->selectAll();
                    QTest::keyClicks(size, QString::number(topology.shift()));
                }
            }
            auto *edges = dialog->findChild<QComboBox *>();
            if (edges->isEnabled())
                edges->setCurrentIndex(topology.joinedEdges() == Topology::Edges::LeftRight ? 1 : 0);
            if (note) {
                const QList<QLabel *> labels = dialog->findChildren<QLabel *>();
                const auto said = std::find_if(labels.begin(), labels.end(),
                    [](QLabel *label) { return label->wordWrap() && label->isVisible(); });
                *note = said != labels.end() ? (*said)->text() : QString();
            }
            QPushButton *ok = dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
            // The question comes from within the dialog's OK: answered from a timer.
            QTimer answerer;
            QObject::connect(&answerer, &QTimer::timeout, [&] {
                if (auto *question = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                    answerer.stop();
                    asked = question->text().contains(QStringLiteral("will be lost"));
                    QTest::mouseClick(question->button(answer), Qt::LeftButton);
                }
            });
            answerer.start(20);
            QTest::mouseClick(ok, Qt::LeftButton);
            if (dialog->isVisible())
                static_cast<QDialog *>(dialog)->reject();
        });
    // As a window manager does once the dialog is gone.
    QApplication::setActiveWindow(window);
    return asked;
}

void TestMainWindowUniverse::changeThatLosesCellsAsksFirst()
{
    QTest::mouseClick(probe.button("PushButton_Random"), Qt::LeftButton);
    const MainWindowProbe::CellGrid before = probe.shownCells();
    const int cells = probe.cellCount();

    // No: nothing changes.
    QVERIFY(chooseTorus(50, QMessageBox::No));
    QCOMPARE(label("Label_FieldSize"), QStringLiteral("Field size: 120 * 120"));
    QCOMPARE(probe.cellCount(), cells);

    // Yes: the cells within 50 x 50 about the centre stay, the others are lost.
    QVERIFY(chooseTorus(50, QMessageBox::Yes));
    QCOMPARE(label("Label_FieldSize"), QStringLiteral("Field size: 50 * 50, torus"));
    int kept = 0;
    for (int row = 35; row < 85; ++row) {
        for (int column = 35; column < 85; ++column)
            kept += before[static_cast<std::size_t>(row * GameField::FieldSize + column)];
    }
    QCOMPARE(probe.cellCount(), kept);
    QVERIFY(!probe.button("PushButton_Edit")->isEnabled());

    // Undo brings every cell back, in the classic field as it was shown.
    QTest::keySequence(window, QKeySequence::Undo);
    QCOMPARE(label("Label_FieldSize"), QStringLiteral("Field size: 120 * 120"));
    QCOMPARE(probe.cellCount(), cells);
    QCOMPARE(probe.shownCells(), before);
    QVERIFY(probe.button("PushButton_Edit")->isEnabled());
}

void TestMainWindowUniverse::changeKeepsThePatternCentred_data()
{
    QTest::addColumn<Topology>("from");
    QTest::addColumn<Topology>("to");
    QTest::addColumn<QByteArray>("pattern");
    QTest::addColumn<int>("lost");

    const QByteArray gun = "x = 36, y = 9\n24bo$22bobo$12b2o6b2o12b2o$11bo3bo4b2o12b2o$2o8bo5bo3b2o$"
                           "2o8bo3bob2o4bobo$10bo5bo7bo$11bo3bo$12b2o!";
    QTest::newRow("gun, classic to 40 x 40 torus") << Topology::classic() << Topology::torus(40, 40) << gun << 0;
    QTest::newRow("gun, classic to 100 x 100 torus") << Topology::classic() << Topology::torus(100, 100) << gun << 0;
    QTest::newRow("gun, unbounded to 37 x 9 plane") << Topology::unbounded() << Topology::plane(37, 9) << gun << 0;
    QTest::newRow("gun, 41 x 41 torus to unbounded") << Topology::torus(41, 41) << Topology::unbounded() << gun << 0;
    // Its two blocks at the ends lie outside a plane 30 cells wide.
    QTest::newRow("gun, classic to Klein bottle twisted at the sides")
        << Topology::classic() << Topology::kleinBottle(60, 40, Topology::Edges::LeftRight) << gun << 0;
    QTest::newRow("gun, unbounded to torus shifted at the top")
        << Topology::unbounded() << Topology::shiftedTorus(50, 45, Topology::Edges::TopBottom, -7) << gun << 0;
    QTest::newRow("gun, classic to cross-surface") << Topology::classic() << Topology::crossSurface(41, 40) << gun << 0;
    QTest::newRow("gun, classic to sphere") << Topology::classic() << Topology::sphere(45) << gun << 0;
    QTest::newRow("gun, classic to 30 x 30 plane") << Topology::classic() << Topology::plane(30, 30) << gun << 8;
    QTest::newRow("gun, unbounded to tube") << Topology::unbounded() << Topology::torus(0, 40) << gun << 0;
    QTest::newRow("gun, tube to unbounded") << Topology::torus(0, 40) << Topology::unbounded() << gun << 0;
    QTest::newRow("gun, classic to upright strip") << Topology::classic() << Topology::plane(60, 0) << gun << 0;
    QTest::newRow("one cell of two, classic to 1 x 1 plane")
        << Topology::classic() << Topology::plane(1, 1) << QByteArray("x = 2, y = 2\n$2o!") << 1;
    QTest::newRow("one cell of two, unbounded to 1 x 1 plane")
        << Topology::unbounded() << Topology::plane(1, 1) << QByteArray("x = 2, y = 1\n2o!") << 1;
}

void TestMainWindowUniverse::changeKeepsThePatternCentred()
{
    QFETCH(Topology, from);
    QFETCH(Topology, to);
    QFETCH(QByteArray, pattern);
    QFETCH(int, lost);

    QVERIFY(window->openPatternFile(writeFile("pattern.rle", pattern), std::nullopt, from));
    const Document *document = window->findChild<Document *>();
    const std::unique_ptr<Universe> before = document->universe().clone();
    const std::optional<CellRect> box = before->boundingBox();
    QVERIFY(box && document->topology() == from);
    const int cells = probe.cellCount();

    QString note;
    QCOMPARE(chooseUniverse(to, QMessageBox::Yes, &note), lost > 0);
    QCOMPARE(document->topology(), to);
    QCOMPARE(probe.cellCount(), cells - lost);
    QCOMPARE(note, lost > 0 ? QStringLiteral("%1 live cells would be lost.").arg(lost) : QString());
    if (lost == 0) {
        const CellPoint a = from.centre();
        const CellPoint b = to.centre();
        const CellRect moved { box->left - a.x + b.x, box->top - a.y + b.y, box->right - a.x + b.x,
            box->bottom - a.y + b.y };
        QCOMPARE(document->universe().boundingBox(), std::optional<CellRect>(moved));
        QVERIFY(probe.find<WidgetPaintArea>("WidgetPaintArea_GraphicScene")->visibleCells().contains(moved));
    }

    QTest::keySequence(window, QKeySequence::Undo);
    QCOMPARE(document->topology(), from);
    QVERIFY(document->universe().equals(*before));
}

void TestMainWindowUniverse::stepAdvancesByExactlyItsGenerations_data()
{
    QTest::addColumn<int>("exponent");
    QTest::newRow("1") << 0;
    QTest::newRow("2^3") << 3;
    QTest::newRow("2^6") << 6;
    // More than the classic field allows: it stops at its most.
    QTest::newRow("2^30, at most 2^12") << 30;
}

void TestMainWindowUniverse::stepAdvancesByExactlyItsGenerations()
{
    QFETCH(int, exponent);
    // An R-pentomino near the top left and a glider: both still busy after 4,096 generations.
    const std::vector<std::pair<int, int>> alive = { { 20, 21 }, { 20, 22 }, { 21, 20 }, { 21, 21 }, { 22, 21 },
        { 80, 81 }, { 81, 82 }, { 82, 80 }, { 82, 81 }, { 82, 82 } };
    GameField expected;
    QWidget *view = probe.find<WidgetPaintArea>("WidgetPaintArea_GraphicScene");
    for (const auto &[row, column] : alive) {
        expected.setCell(row, column, 1);
        QTest::mouseClick(
            view, Qt::LeftButton, Qt::NoModifier, QPoint(6 * column + 1, 6 * row + 1)); // the middle of the cell
    }
    QCOMPARE(probe.shownCells(), MainWindowProbe::cellsOf(expected));

    for (int i = 0; i < exponent; ++i)
        QTest::keyClick(view, Qt::Key_BracketRight);
    const int step = 1 << std::min(exponent, 12);
    QCOMPARE(label("Label_Step"),
        QStringLiteral("Step: %1 gen./tick").arg(step <= 1024 ? QString::number(step) : QStringLiteral("2^12")));
    QTest::keyClick(window, Qt::Key_F8);
    for (int i = 0; i < step; ++i)
        expected.nextGeneration();
    QCOMPARE(probe.generation(), 1 + step);
    QCOMPARE(probe.shownCells(), MainWindowProbe::cellsOf(expected));
}

void TestMainWindowUniverse::wideFileOpensInTheUnboundedPlaneFitted()
{
    QTest::mouseClick(probe.button("PushButton_Random"), Qt::LeftButton);
    const MainWindowProbe::CellGrid before = probe.shownCells();

    // A row of 75 blocks, one every 4 cells: 298 cells wide.
    const QByteArray row = QByteArray("2o2b").repeated(74) + "2o";
    QVERIFY(window->openPatternFile(writeFile("wide.rle", "x = 298, y = 2\n" + row + "$" + row + "!\n")));
    QCOMPARE(label("Label_FieldSize"), QStringLiteral("Field size: unbounded"));
    QCOMPARE(probe.cellCount(), 300);

    // Fitted: both ends in view, every block drawn.
    auto *view = probe.find<WidgetPaintArea>("WidgetPaintArea_GraphicScene");
    const CellRect shown = view->visibleCells();
    QVERIFY(shown.contains(-149, -1) && shown.contains(148, 0));
    QVERIFY(view->viewport().cellSize() >= 2);
    const QImage picture = view->grab().toImage();
    const QRect last = view->viewport().pixelsOf({ 148, 0 });
    QVERIFY(picture.pixelColor(last.center()) != QColor(Qt::white));

    // Undo: the classic field and its cells come back.
    QTest::keySequence(window, QKeySequence::Undo);
    QCOMPARE(label("Label_FieldSize"), QStringLiteral("Field size: 120 * 120"));
    QCOMPARE(probe.shownCells(), before);
}

// A rule the classic field cannot run opens in the unbounded plane, and
// steps there with every state: Brian's Brain's domino flies west a cell a
// generation, its trail of dying cells behind it.
void TestMainWindowUniverse::statesRunInTheUnboundedPlane()
{
    QVERIFY(window->openPatternFile(writeFile("domino.rle", "x = 2, y = 2, rule = B2/S/C3\nAB$AB!\n")));
    QCOMPARE(label("Label_FieldSize"), QStringLiteral("Field size: unbounded"));
    const Document *document = window->findChild<Document *>();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(window, Qt::Key_F8);
    QCOMPARE(probe.generation(), 4);
    for (const std::int64_t y : { -1, 0 }) {
        QCOMPARE(document->universe().state(-4, y), std::uint8_t(1));
        QCOMPARE(document->universe().state(-3, y), std::uint8_t(2));
    }
    QCOMPARE(document->universe().population(), std::uint64_t(4));
}

void TestMainWindowUniverse::ruleOfFewerStatesCountsAnew_data()
{
    QTest::addColumn<QString>("surface"); // the rule's suffix
    QTest::newRow("unbounded plane") << QString();
    QTest::newRow("torus") << QStringLiteral(":T40,30");
}

// Life, chosen from the list of rules, takes Brian's Brain's dying cells
// away: the count shown is of those left; undo brings them back.
void TestMainWindowUniverse::ruleOfFewerStatesCountsAnew()
{
    QFETCH(QString, surface);
    QVERIFY(window->openPatternFile(
        writeFile("domino.rle", "x = 3, y = 2, rule = B2/S/C3" + surface.toUtf8() + "\nABA$AB!\n")));
    QCOMPARE(probe.cellCount(), 5);
    auto *box = probe.find<QComboBox>("ComboBox_Rule");
    box->showPopup();
    QAbstractItemView *list = box->view();
    QTRY_VERIFY(list->isVisible());
    list->setCurrentIndex(list->model()->index(box->findData(QStringLiteral("B3/S23")), 0));
    QTest::keyClick(list, Qt::Key_Return);
    QTRY_COMPARE(probe.cellCount(), 3);
    const Document *document = window->findChild<Document *>();
    QCOMPARE(document->universe().population(), std::uint64_t(3));

    QTest::keySequence(window, QKeySequence::Undo);
    QCOMPARE(probe.cellCount(), 5);
    QCOMPARE(document->universe().population(), std::uint64_t(5));
}

QTEST_MAIN(TestMainWindowUniverse)
#include "tst_mainwindowuniverse.moc"
