#include <QAction>
#include <QApplication>
#include <QChartView>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFont>
#include <QImageReader>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QValueAxis>

#include <cmath>

#include "mainwindow/censusdialog.h"
#include "mainwindow/mainwindow.h"
#include "mainwindowtestcase.h"
#include "modalrunner.h"
#include "ruletext.h"
#include "view/populationchart.h"
#include "view/universeimage.h"

// Where a pattern goes, seen from the window: the state line, pausing when
// settled, running ahead as one undo step, Cancel, the rule box, the graph
// and the census.
class TestMainWindowSimulation : public MainWindowTestCase
{
    Q_OBJECT

private slots:
    void pausesWhenSettled();
    void runUntilSettledIsOneUndoStep();
    void runsAheadUnderTheRuleShown();
    void cancelLeavesEverythingAsItWas();
    void ruleBoxRefusesWhatDoesNotRead();
    void fileRuleIsHonoured();
    void birthOnZeroFillsTheUnboundedPlane();
    void graphFollowsTheRun();
    void censusOfTheRPentomino();
    void censusOfAGun();
    void censusPicturesDyingCells();
    void runUntilSettledStopsAtGrowth();
    void animationExportLeavesTheFieldAlone();
    void countsKeepTheirFont();

private:
    QString state() const { return probe.find<QLabel>("Label_State")->text(); }
    // The rule box's name and notation, as the first line of its tool tip gives them.
    QString rule() const { return probe.find<QComboBox>("ComboBox_Rule")->toolTip().section('\n', 0, 0); }
    QAction *action(const char *name) const { return probe.find<QAction>(name); }
    void click(const char *name) { QTest::mouseClick(probe.button(name), Qt::LeftButton); }
    // Run until settled and Go to generation compute on the run's thread: whether it came back.
    bool idle()
    {
        return QTest::qWaitFor(
            [this] {
                return probe.button("PushButton_Play")->isEnabled() && !probe.button("PushButton_Pause")->isEnabled();
            },
            30000);
    }
    void openFile(const QByteArray &contents, const QString &name = QStringLiteral("pattern.rle"),
        const std::optional<Topology> &topology = std::nullopt);
    // Types `generation` into Go to generation's dialog and accepts it.
    void goTo(const QString &generation);
    void typeRule(const QString &text);
    // Triggers the action `name` and answers the number dialog it opens with `value`.
    void answerNumber(const char *name, int value);

    QTemporaryDir folder;
};

void TestMainWindowSimulation::openFile(
    const QByteArray &contents, const QString &name, const std::optional<Topology> &topology)
{
    QVERIFY(window->openPatternFile(writeFile(name, contents), std::nullopt, topology));
}

void TestMainWindowSimulation::goTo(const QString &generation)
{
    ModalRunner::run([this] { action("Action_Simulation_GoToGeneration")->trigger(); },
        [generation](QWidget *modal) {
            qobject_cast<QInputDialog *>(modal)->setTextValue(generation);
            static_cast<QDialog *>(modal)->accept();
        });
}

void TestMainWindowSimulation::typeRule(const QString &text)
{
    QLineEdit *edit = probe.find<QComboBox>("ComboBox_Rule")->lineEdit();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

void TestMainWindowSimulation::answerNumber(const char *name, int value)
{
    ModalRunner::run([this, name] { action(name)->trigger(); },
        [value](QWidget *modal) {
            qobject_cast<QInputDialog *>(modal)->setIntValue(value), static_cast<QDialog *>(modal)->accept();
        });
}

void TestMainWindowSimulation::pausesWhenSettled()
{
    // A pulsar repeats itself first at generation 4.
    openFile("x = 13, y = 13\n2b3o3b3o2$o4bobo4bo$o4bobo4bo$o4bobo4bo$2b3o3b3o2$2b3o3b3o$o4bobo4bo$o4bobo4bo$"
             "o4bobo4bo2$2b3o3b3o!");
    QCOMPARE(state(), QStringLiteral("State: evolving"));
    QTest::mouseClick(probe.find<QCheckBox>("CheckBox_PauseWhenSettled"), Qt::LeftButton);
    probe.find<QSpinBox>("SpinBox_IPS")->setValue(30);
    click("PushButton_Play");
    // Generation 4 comes within a few ticks; a run that goes past it fails here, saying where it got.
    QVERIFY2(QTest::qWaitFor([this] { return probe.showsIdle(); }, 5000),
        qPrintable(QStringLiteral("generation %1, %2").arg(probe.generation()).arg(state())));
    QCOMPARE(probe.generation(), 4);
    QCOMPARE(state(), QStringLiteral("State: period 3 since generation 1"));
    QCOMPARE(action("Action_Edit_Undo")->text().remove('&'), QStringLiteral("Undo Run"));
}

void TestMainWindowSimulation::runUntilSettledIsOneUndoStep()
{
    // A run that never settles stops here, not a million generations on.
    answerNumber("Action_Simulation_GenerationLimit", 1000);
    openFile("x = 8, y = 3\n6bo$2o$bo3b3o!"); // diehard: empty 130 generations on
    const MainWindowProbe::CellGrid start = probe.shownCells();
    action("Action_Simulation_RunUntilSettled")->trigger();
    QVERIFY(idle());
    QCOMPARE(probe.generation(), 132);
    QCOMPARE(probe.cellCount(), 0);
    QCOMPARE(state(), QStringLiteral("State: died out at generation 131"));
    QCOMPARE(action("Action_Edit_Undo")->text().remove('&'), QStringLiteral("Undo Run until settled"));
    action("Action_Edit_Undo")->trigger();
    QCOMPARE(probe.generation(), 1);
    QCOMPARE(probe.shownCells(), start);
    QCOMPARE(state(), QStringLiteral("State: evolving"));
}

void TestMainWindowSimulation::runsAheadUnderTheRuleShown()
{
    answerNumber("Action_Simulation_GenerationLimit", 50);
    openFile("x = 3, y = 1\n3o!"); // a blinker, of period 2 under Conway's rule
    typeRule(QStringLiteral("B3/S")); // nothing survives: two cells at generation 2, then none
    answerNumber("Action_Simulation_GoToGeneration", 2);
    QVERIFY(idle());
    QVERIFY(probe.generation() == 2 && probe.cellCount() == 2);
    action("Action_Simulation_RunUntilSettled")->trigger();
    QVERIFY(idle());
    QCOMPARE(state(), QStringLiteral("State: died out at generation 3"));
    // The R-pentomino, busy for a thousand generations, looked at for 50.
    openFile("x = 3, y = 3, rule = B3/S23\nb2o$2o$bo!");
    action("Action_Simulation_RunUntilSettled")->trigger();
    QVERIFY(idle());
    QCOMPARE(state(), QStringLiteral("State: not settled after 50 generations"));
}

void TestMainWindowSimulation::cancelLeavesEverythingAsItWas()
{
    click("PushButton_Random");
    click("PushButton_Next");
    const MainWindowProbe::CellGrid cells = probe.shownCells();
    const QString undo = action("Action_Edit_Undo")->text().remove('&');

    // Cancel in the progress dialog as soon as it shows.
    QTimer cancel;
    connect(&cancel, &QTimer::timeout, [this, &cancel] {
        auto *progress = window->findChild<QProgressDialog *>();
        if (progress && progress->isVisible()) {
            cancel.stop();
            QTest::mouseClick(progress->findChild<QPushButton *>(), Qt::LeftButton);
        }
    });
    cancel.start(20);
    const ModalRunner::Outcome outcome
        = ModalRunner::run([this] { action("Action_Simulation_GoToGeneration")->trigger(); },
            [](QWidget *modal) {
                auto *dialog = qobject_cast<QInputDialog *>(modal);
                QVERIFY(dialog);
                dialog->setIntValue(dialog->intMaximum());
                dialog->accept();
            },
            10000);
    QVERIFY(outcome.opened && !outcome.forced);
    QTRY_VERIFY_WITH_TIMEOUT(!cancel.isActive(), 30000);
    QVERIFY(idle());
    QCOMPARE(probe.generation(), 2);
    QCOMPARE(probe.shownCells(), cells);
    QCOMPARE(state(), QStringLiteral("State: evolving"));
    QCOMPARE(action("Action_Edit_Undo")->text().remove('&'), undo);
}

void TestMainWindowSimulation::ruleBoxRefusesWhatDoesNotRead()
{
    QComboBox *box = probe.find<QComboBox>("ComboBox_Rule");
    QCOMPARE(rule(), QStringLiteral("Conway's Life (B3/S23)"));
    typeRule(QStringLiteral("B2a/S12"));
    QVERIFY2(box->toolTip().contains(QStringLiteral("non-totalistic")), qPrintable(box->toolTip()));
    QVERIFY(!action("Action_Edit_Undo")->isEnabled());

    typeRule(QStringLiteral("highlife"));
    QCOMPARE(rule(), QStringLiteral("HighLife (B36/S23)"));
    QCOMPARE(action("Action_Edit_Undo")->text().remove('&'), QStringLiteral("Undo Rule"));
    typeRule(QStringLiteral("b36/s125"));
    QCOMPARE(rule(), QStringLiteral("2×2 (B36/S125)"));
    action("Action_Edit_Undo")->trigger();
    action("Action_Edit_Undo")->trigger();
    QCOMPARE(rule(), QStringLiteral("Conway's Life (B3/S23)"));

    click("PushButton_Play");
    QVERIFY(!box->isEnabled());
    click("PushButton_Pause");
}

void TestMainWindowSimulation::birthOnZeroFillsTheUnboundedPlane()
{
    openFile("x = 1, y = 1\no!", QStringLiteral("one.rle"), Topology::unbounded());
    const auto cells = [this] { return probe.find<QLabel>("Label_CellCount")->text(); };
    // The background comes alive at once under B0, and stays so under S8; the one cell dies.
    typeRule(QStringLiteral("B0/S8"));
    QCOMPARE(rule(), QStringLiteral("B0/S8"));
    click("PushButton_Next");
    QCOMPARE(cells(), QStringLiteral("Cells: infinitely many"));
    // Life then kills every live cell, each with 5 or more live neighbours, and of the dead 3 x 3
    // square gives birth to the middles of its sides, with 3.
    typeRule(QStringLiteral("B3/S23"));
    click("PushButton_Next");
    QCOMPARE(cells(), QStringLiteral("Cells: 4"));
    // Back to the start under a blinking background.
    typeRule(QStringLiteral("B01/S"));
    click("PushButton_Stop");
    QCOMPARE(probe.generation(), 1);
    QCOMPARE(cells(), QStringLiteral("Cells: 1"));
    click("PushButton_Next");
    QCOMPARE(cells(), QStringLiteral("Cells: infinitely many"));
    // Without survival every live cell dies, and the one dead cell has 8 live neighbours.
    click("PushButton_Next");
    QCOMPARE(cells(), QStringLiteral("Cells: 0"));
}

void TestMainWindowSimulation::fileRuleIsHonoured()
{
    openFile("x = 3, y = 1, rule = B3678/S34678\n3o!");
    QCOMPARE(rule(), QStringLiteral("Day & Night (B3678/S34678)"));
    // A file that names no rule leaves it as it is; opening is one step with the rule.
    openFile("x = 2, y = 1\n2o!");
    QCOMPARE(rule(), QStringLiteral("Day & Night (B3678/S34678)"));
    action("Action_Edit_Undo")->trigger();
    action("Action_Edit_Undo")->trigger();
    QCOMPARE(rule(), QStringLiteral("Conway's Life (B3/S23)"));
}

void TestMainWindowSimulation::graphFollowsTheRun()
{
    click("PushButton_Random");
    action("Action_Simulation_PopulationGraph")->trigger();
    auto *chart = window->findChild<PopulationChart *>();
    QVERIFY(chart && chart->isVisible());
    QCOMPARE(chart->windowTitle(), QStringLiteral("Population"));
    QTRY_COMPARE(chart->pointCount(), 1);
    click("PushButton_Next");
    click("PushButton_Next");
    QTRY_COMPARE(chart->pointCount(), 3);
    for (QtCharts::QAbstractAxis *axis : chart->findChild<QtCharts::QChartView *>()->chart()->axes()) {
        const auto *values = qobject_cast<QtCharts::QValueAxis *>(axis); // every tick on a whole number
        QVERIFY(
            std::fmod(values->max() - values->min(), values->tickCount() - 1) == 0 && std::fmod(values->min(), 1) == 0);
    }
    // A long run draws as bands, however long it is.
    answerNumber("Action_Simulation_GenerationLimit", 2 * PopulationChart::MaxPoints);
    action("Action_Simulation_RunUntilSettled")->trigger();
    QTRY_VERIFY(chart->pointCount() > 3 && chart->pointCount() <= PopulationChart::MaxPoints);
}

void TestMainWindowSimulation::censusOfTheRPentomino()
{
    openFile("x = 3, y = 3\nb2o$2o$bo!\n", QStringLiteral("r.rle"), Topology::unbounded());
    goTo(QStringLiteral("1200"));
    QVERIFY(idle());
    QCOMPARE(probe.generation(), 1200);
    // Its gliders never let the whole repeat: the census follows the run between ticks.
    const QString stable = QStringLiteral("State: stable since generation 1,104, 6 gliders escaping");
    QVERIFY2(QTest::qWaitFor([&] { return state() == stable; }, 10000), qPrintable(state()));

    action("Action_Simulation_Census")->trigger();
    auto *dialog = window->findChild<CensusDialog *>();
    QVERIFY(dialog && dialog->isVisible());
    auto *table = dialog->findChild<QTableWidget *>();
    QCOMPARE(table->rowCount(), 7);
    QCOMPARE(table->item(1, 0)->text() + ' ' + table->item(1, 1)->text(), QStringLiteral("6 glider (escaping)"));
    QVERIFY(!table->item(1, 1)->icon().isNull());
    QTest::mouseClick(dialog->findChild<QPushButton *>("PushButton_CensusCopy"), Qt::LeftButton);
    QCOMPARE(QApplication::clipboard()->text(),
        QStringLiteral("lifespan 1103, 116 cells, period 2\n  8 blocks\n  6 gliders (escaping)\n  4 beehives\n"
                       "  4 blinkers\n  1 boat\n  1 ship\n  1 loaf\n"));
}

void TestMainWindowSimulation::censusOfAGun()
{
    openFile("x = 36, y = 9\n24bo$22bobo$12b2o6b2o12b2o$11bo3bo4b2o12b2o$2o8bo5bo3b2o$"
             "2o8bo3bob2o4bobo$10bo5bo7bo$11bo3bo$12b2o!\n",
        QStringLiteral("gun.rle"), Topology::unbounded());
    goTo(QStringLiteral("1100"));
    QVERIFY(idle());
    const QString gun = QStringLiteral("State: a gun of period 30");
    QVERIFY2(QTest::qWaitFor([&] { return state() == gun; }, 10000), qPrintable(state()));

    action("Action_Simulation_Census")->trigger();
    auto *dialog = window->findChild<CensusDialog *>();
    QVERIFY(dialog && dialog->isVisible());
    auto *table = dialog->findChild<QTableWidget *>();
    // The run's history tells the gun from its jumps; the census follows between ticks.
    QTRY_COMPARE_WITH_TIMEOUT(table->rowCount(), 1, 10000);
    QCOMPARE(table->item(0, 0)->text() + ' ' + table->item(0, 1)->text(),
        QStringLiteral("1 glider (escaping) every 30 generations"));
    QCOMPARE(dialog->text(), QStringLiteral("gun, period 30\n  1 glider (escaping) every 30 generations\n"));
}

// Brian's Brain's smallest ship, two live cells pulling two dying ones: its
// picture shows both states, in the view's colours.
void TestMainWindowSimulation::censusPicturesDyingCells()
{
    openFile("x = 2, y = 2, rule = B2/S/C3\nAB$AB!\n", QStringLiteral("ship.rle"), Topology::unbounded());
    goTo(QStringLiteral("100"));
    QVERIFY(idle());
    action("Action_Simulation_Census")->trigger();
    auto *dialog = window->findChild<CensusDialog *>();
    QVERIFY(dialog && dialog->isVisible());
    auto *table = dialog->findChild<QTableWidget *>();
    QTRY_COMPARE_WITH_TIMEOUT(table->rowCount(), 1, 10000);
    const QImage icon = table->item(0, 1)->icon().pixmap(CensusDialog::PictureSize).toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x)
            colours.insert(icon.pixel(x, y) | 0xFF000000u);
    }
    const QRgb dying = UniverseImage::stateColors(ruleFrom("B2/S/C3"), qRgb(0, 0, 0), qRgb(255, 255, 255))[2];
    QCOMPARE(colours, (QSet<QRgb> { qRgb(255, 255, 255), qRgb(0, 0, 0), dying }));
}

// Every cell born and none dying: (2t + 1)^2 cells t generations on, past
// 65536 at the look after 128, four times as many as at 64.
void TestMainWindowSimulation::runUntilSettledStopsAtGrowth()
{
    openFile("x = 1, y = 1, rule = B12345678/S012345678\no!\n", QStringLiteral("square.rle"), Topology::unbounded());
    action("Action_Simulation_RunUntilSettled")->trigger();
    QVERIFY(idle());
    QCOMPARE(probe.generation(), 129);
    QCOMPARE(state(), QStringLiteral("State: grows quadratically"));
}

void TestMainWindowSimulation::animationExportLeavesTheFieldAlone()
{
    click("PushButton_Random");
    click("PushButton_Next");
    const MainWindowProbe::CellGrid cells = probe.shownCells();
    const QString state = this->state();
    const QString path = folder.filePath(QStringLiteral("soup.gif"));
    exportTo(action("Action_File_ExportAnimation"), path,
        [](QWidget *options) { options->findChildren<QSpinBox *>().last()->setValue(5); });
    QImageReader gif(path);
    QCOMPARE(gif.imageCount(), 6);
    QCOMPARE(probe.generation(), 2);
    QCOMPARE(probe.shownCells(), cells);
    QCOMPARE(this->state(), state);
    QCOMPARE(action("Action_Edit_Undo")->text().remove('&'), QStringLiteral("Undo Next"));
}

void TestMainWindowSimulation::countsKeepTheirFont()
{
    const QLocale before;
    const auto restore = qScopeGuard([&] { QLocale::setDefault(before); });
    QLocale::setDefault(QLocale(QLocale::German));
    // The size of a desktop's usual font, where the short form fits.
    window->setFont(QFont(window->font().family(), 9));
    auto *generation = probe.find<QLabel>("Label_GenerationNumber");
    auto *cells = probe.find<QLabel>("Label_CellCount");
    const QFont font = generation->font();
    // Thousands of cells at random in the classic field.
    click("PushButton_Random");
    QVERIFY2(
        cells->text().contains(QRegularExpression(QStringLiteral("^Cells: \\d\\.\\d{3}$"))), qPrintable(cells->text()));
    openFile("x = 3, y = 3\nbo$2bo$3o!\n", QStringLiteral("glider.rle"), Topology::unbounded());
    goTo(QStringLiteral("1000000000000000000"));
    QVERIFY(idle());
    QCOMPARE(generation->font(), font);
    QCOMPARE(generation->text(), QStringLiteral("Generation: 1,00 × 10¹⁸"));
    QCOMPARE(generation->toolTip(), QStringLiteral("Generation: 1.000.000.000.000.000.000"));
    QCOMPARE(cells->text(), QStringLiteral("Cells: 5"));
}

QTEST_MAIN(TestMainWindowSimulation)
#include "tst_mainwindowsimulation.moc"
