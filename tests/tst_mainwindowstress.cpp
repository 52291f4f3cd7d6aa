#include <QAbstractButton>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <utility>
#include <vector>

#include "editor/formfieldeditor.h"
#include "mainwindow/mainwindow.h"
#include "mainwindowprobe.h"
#include "modalrunner.h"
#include "model/engine/gamefield.h"
#include "toplevelguard.h"
#include "warningguard.h"

namespace
{

constexpr unsigned Seed = 20261207;
constexpr int Actions = 3000;
constexpr int N = GameField::FieldSize;

const char *const Buttons[] = { "PushButton_Play", "PushButton_Pause", "PushButton_Stop", "PushButton_Next",
    "PushButton_Clear", "PushButton_Random", "PushButton_Edit", "PushButton_SaveState" };

// What the window should hold after every action, kept by replaying each
// action on a field of our own with the controller's rules.
struct Expected {
    GameField field;
    bool running = false;
    int generation = 1;
    int cellCount = 0;
};

} // namespace

// Thousands of random user actions on one window, from a fixed seed: clicks on
// every button whether enabled or not, speed and colour changes, timer ticks,
// and edits confirmed or abandoned. After each one the window must agree with
// the rules of the controller.
class TestMainWindowStress : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void randomActionsKeepInvariants();

private:
    void clickButton(int which);
    void tick();
    void letTimePass();
    void editRandomly();
    void checkInvariants(int action, bool comparePicture);

    MainWindow *window = nullptr; // owned; deleted by cleanup()
    MainWindowProbe probe;
    Expected expected;
    std::mt19937 random { Seed };
    int realTicks = 0; // generations the window's own timer computed between actions
};

void TestMainWindowStress::initTestCase() { WarningGuard::install(); }

void TestMainWindowStress::cleanup()
{
    delete window;
    window = nullptr;
    TopLevelGuard::closeLeftovers();
}

void TestMainWindowStress::clickButton(int which)
{
    QPushButton *button = probe.find<QPushButton>(Buttons[which]);
    const bool idle = !expected.running;
    const unsigned randomSeed = random();
    std::srand(randomSeed);
    QTest::mouseClick(button, Qt::LeftButton);

    switch (which) {
    case 0:
        expected.running = true;
        break;
    case 1:
        expected.running = false;
        break;
    case 2:
        expected.running = false;
        expected.field.restoreState();
        expected.generation = 1;
        expected.cellCount = expected.field.liveCellCount();
        break;
    case 3:
        if (idle) {
            expected.field.nextGeneration();
            ++expected.generation;
            expected.cellCount = expected.field.liveCellCount();
        }
        break;
    case 4:
        if (idle) {
            expected.field.clear();
            expected.generation = 1;
            expected.cellCount = 0;
        }
        break;
    case 5:
        if (idle) {
            std::srand(randomSeed);
            expected.field.randomize();
            expected.generation = 1;
            expected.cellCount = expected.field.liveCellCount();
        }
        break;
    case 7:
        if (idle) {
            expected.field.saveState();
            expected.generation = 1;
        }
        break;
    default:
        break;
    }
}

void TestMainWindowStress::tick()
{
    // A timeout of the window's own timer, as the event loop would deliver it.
    if (probe.simulationTimer()->isActive())
        QVERIFY(QMetaObject::invokeMethod(probe.simulationTimer(), "timeout"));
}

void TestMainWindowStress::letTimePass()
{
    // Real ticks, as many as the speed allows in the time.
    QTest::qWait(40);
}

void TestMainWindowStress::editRandomly()
{
    if (expected.running) {
        // Disabled: the click must not open anything.
        clickButton(6);
        return;
    }

    const int ending = int(random() % 3); // 0 OK, 1 Cancel, 2 close
    const int strokes = 1 + int(random() % 3);
    std::vector<std::pair<int, std::vector<int>>> plan; // tool 0 None, 1 On, 2 Off; cell indexes
    for (int s = 0; s < strokes; ++s) {
        std::vector<int> cells;
        const int count = 1 + int(random() % 4);
        for (int i = 0; i < count; ++i)
            cells.push_back(int(random() % (N * N)));
        plan.emplace_back(int(random() % 3), cells);
    }

    const ModalRunner::Outcome outcome = ModalRunner::run(
        [this] { QTest::mouseClick(probe.find<QPushButton>("PushButton_Edit"), Qt::LeftButton); },
        [&](QWidget *editor) {
            static const char *const Tools[] = { "RadioButton_ToolNone", "RadioButton_ToolOn", "RadioButton_ToolOff" };
            auto *table = editor->findChild<QTableWidget *>(QStringLiteral("TableWidget_Field"));
            for (const auto &stroke : plan) {
                QTest::mouseClick(
                    editor->findChild<QAbstractButton *>(QLatin1String(Tools[stroke.first])), Qt::LeftButton);
                for (int index : stroke.second) {
                    QTableWidgetItem *item = table->item(index / N, index % N);
                    table->scrollToItem(item);
                    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualItemRect(item).center());
                }
            }
            if (ending == 0)
                QTest::mouseClick(
                    editor->findChild<QAbstractButton *>(QStringLiteral("PushButton_Ok")), Qt::LeftButton);
            else if (ending == 1)
                QTest::mouseClick(
                    editor->findChild<QAbstractButton *>(QStringLiteral("PushButton_Cancel")), Qt::LeftButton);
            else
                editor->close();
        });
    QVERIFY2(outcome.opened, "the editor did not open");
    QVERIFY2(!outcome.forced, "the editor had to be closed by force");

    if (ending != 0)
        return;
    GameField::Cell **cells = expected.field.snapshot();
    for (const auto &stroke : plan) {
        if (stroke.first == 0)
            continue;
        for (int index : stroke.second)
            cells[index / N + 1][index % N + 1] = stroke.first == 1 ? 1 : 0;
    }
    expected.field.commitSnapshot();
    expected.cellCount = expected.field.liveCellCount();
}

void TestMainWindowStress::checkInvariants(int action, bool comparePicture)
{
    const QByteArray where = "after action " + QByteArray::number(action);

    // Ticks of the real timer between actions: the label says how many.
    const int shownGeneration = probe.generation();
    if (expected.running) {
        QVERIFY2(shownGeneration >= expected.generation, where.constData());
        for (; expected.generation < shownGeneration; ++expected.generation, ++realTicks)
            expected.field.nextGeneration();
        expected.cellCount = expected.field.liveCellCount();
    }
    QVERIFY2(shownGeneration == expected.generation, where.constData());
    QVERIFY2(probe.cellCount() == expected.cellCount, where.constData());
    QVERIFY2(expected.cellCount == expected.field.liveCellCount(), where.constData());

    const bool running = expected.running;
    QVERIFY2(probe.simulationTimer()->isActive() == running, where.constData());
    QVERIFY2(running ? probe.showsRunning() : probe.showsIdle(), where.constData());

    // Our own field replays the window's: its border stays dead and its cells binary.
    GameField::Cell **cells = expected.field.snapshot();
    for (int r = 0; r <= N + 1; ++r) {
        for (int c = 0; c <= N + 1; ++c) {
            const bool border = r == 0 || c == 0 || r == N + 1 || c == N + 1;
            QVERIFY2(cells[r][c] == 0 || (!border && cells[r][c] == 1), where.constData());
        }
    }

    // And the window shows exactly that field: any stray cell, on the border
    // included, would have shown by now as a difference in the evolution.
    if (!comparePicture)
        return;
    const MainWindowProbe::CellGrid shown = probe.shownCells();
    const MainWindowProbe::CellGrid replayed = MainWindowProbe::cellsOf(expected.field);
    const auto difference = std::mismatch(shown.begin(), shown.end(), replayed.begin()).first - shown.begin();
    if (difference != N * N)
        QFAIL(qPrintable(QString("%1: cell (%2, %3) differs")
                             .arg(where.constData())
                             .arg(difference / N + 1)
                             .arg(difference % N + 1)));
}

void TestMainWindowStress::randomActionsKeepInvariants()
{
    qInfo("random seed %u", Seed);
    window = new MainWindow;
    probe = MainWindowProbe(window);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QSpinBox *speed = probe.find<QSpinBox>("SpinBox_IPS");
    QComboBox *colour = probe.find<QComboBox>("ComboBox_CellColor");

    for (int action = 1; action <= Actions; ++action) {
        const int kind = int(random() % 16);
        if (kind < 8) {
            clickButton(kind == 6 ? 0 : kind);
        } else if (kind == 8) {
            editRandomly();
        } else if (kind == 9) {
            speed->setFocus();
            QTest::keyClick(speed, random() % 2 ? Qt::Key_Up : Qt::Key_Down);
        } else if (kind == 10) {
            speed->setValue(1 + int(random() % 30));
        } else if (kind == 11) {
            colour->setCurrentIndex(int(random() % 3));
        } else if (kind == 12) {
            letTimePass();
        } else {
            tick();
        }
        if (QTest::currentTestFailed())
            return;
        checkInvariants(action, action % 10 == 0);
        if (QTest::currentTestFailed())
            return;
    }
    QVERIFY(speed->value() >= 1 && speed->value() <= 30);
    qInfo("%d generations came from the running timer itself", realTicks);
}

QTEST_MAIN(TestMainWindowStress)
#include "tst_mainwindowstress.moc"
