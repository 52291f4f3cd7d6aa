#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRect>
#include <QScreen>
#include <QSettings>
#include <QSpinBox>
#include <QTest>

#include <cstdlib>

#include "document/appsettings.h"
#include "mainwindow/mainwindow.h"
#include "mainwindowtestcase.h"
#include "modalrunner.h"

// The window among other programs: what it remembers between runs, and patterns through the clipboard.
class TestMainWindowDesktop : public MainWindowTestCase
{
    Q_OBJECT

private slots:
    void remembersAcrossRuns();
    void badSettingsFallBackToDefaults_data();
    void badSettingsFallBackToDefaults();
    void copyThenPasteGivesBackTheCells();
    void refusesTextThatIsNoPattern_data();
    void refusesTextThatIsNoPattern();
    void pasteTooLargeOffersTheUnboundedPlane();
    void firstRunFitsTheScreen();

private:
    // Pastes `text` from the clipboard with its top-left cell on `cell` (x, y) of the field, if given.
    void paste(const QString &text, const QPoint &cell = QPoint());
};

void TestMainWindowDesktop::paste(const QString &text, const QPoint &cell)
{
    QApplication::clipboard()->setText(text);
    QTest::keySequence(window, QKeySequence::Paste);
    if (!cell.isNull())
        QTest::mouseClick(probe.find<QWidget>("WidgetPaintArea_GraphicScene"), Qt::LeftButton, Qt::NoModifier,
            QPoint(7 + 6 * cell.x(), 7 + 6 * cell.y()));
}

void TestMainWindowDesktop::remembersAcrossRuns()
{
    for (int i = 0; i < 12; ++i)
        QVERIFY(window->openPatternFile(writeFile(QString("%1.rle").arg(i), "x = 1, y = 3, rule = B36/S23\no$o$o!\n")));
    QVERIFY(window->openPatternFile(config.filePath("5.rle")));
    // Ten at most, in the menu (with its separator and Clear) and in the file itself.
    QCOMPARE(probe.find<QMenu>("Menu_RecentFiles")->actions().size(), 12);
    QCOMPARE(QSettings(AppSettings().fileName(), QSettings::IniFormat).value("recentFiles").toStringList().size(), 10);
    probe.find<QSpinBox>("SpinBox_IPS")->setValue(7);
    probe.find<QComboBox>("ComboBox_CellColor")->setCurrentIndex(2);
    QTest::mouseClick(probe.find<QCheckBox>("CheckBox_PauseWhenSettled"), Qt::LeftButton);
    QTest::keyClick(window, Qt::Key_G);
    window->move(13, 17);
    delete window;
    window = new MainWindow;
    probe = MainWindowProbe(window);
    QCOMPARE(probe.find<QSpinBox>("SpinBox_IPS")->value(), 7);
    QVERIFY(probe.find<QCheckBox>("CheckBox_PauseWhenSettled")->isChecked());
    QVERIFY(probe.find<QAction>("Action_View_Grid")->isChecked());
    // The grid's line left of the first column, and no line in its cells.
    const QImage grid = probe.picture();
    QVERIFY(grid.pixelColor(4, 101) != Qt::white && grid.pixelColor(7, 101) == Qt::white);
    QCOMPARE(probe.find<QComboBox>("ComboBox_Rule")->currentData().toString(), QStringLiteral("B36/S23"));
    QCOMPARE(window->pos(), QPoint(13, 17));
    QStringList recent { "5", "11", "10", "9", "8", "7", "6", "4", "3", "2" };
    for (QString &name : recent)
        name = config.filePath(name + ".rle");
    QCOMPARE(AppSettings().recentFiles(), recent);
    // A listed file that is gone shows why it cannot be opened, and leaves the list.
    QMenu *menu = probe.find<QMenu>("Menu_RecentFiles");
    QVERIFY(QFile::remove(recent.takeAt(1)));
    QString title;
    ModalRunner::run(
        [&] { menu->actions().at(1)->trigger(); }, [&](QWidget *box) { title = box->windowTitle(), box->close(); });
    QCOMPARE(title, QStringLiteral("Open pattern"));
    QCOMPARE(AppSettings().recentFiles(), recent);
    // Drawn in blue at once, not only after a change in the colour box.
    menu->actions().at(0)->trigger();
    QCOMPARE(MainWindowProbe::cellColor(probe.picture(), 60, 60), QColor(100, 150, 250));
    menu->findChild<QAction *>("Action_File_ClearRecent")->trigger();
    QVERIFY(AppSettings().recentFiles().isEmpty());
}

void TestMainWindowDesktop::badSettingsFallBackToDefaults_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::newRow("binary") << QByteArray("\xff\xfe\x00[Gen\x01\x02=\"", 10);
    QTest::newRow("out of range") << QByteArray("[General]\nspeed=99\ncolour=7\nrule=B9/Sx\n"
                                                "windowPosition=@Point(-40000 -40000)\npatternFolder=/no/such\n");
    QTest::newRow("wrong kinds") << QByteArray("[General]\nspeed=abc\ncolour=-1\nrule=B3, S23\npauseWhenSettled=maybe\n"
                                               "windowPosition=@Point(10\nrecentFiles=glider.rle\n");
    QTest::newRow("unwritable") << QByteArray(); // a file where the folder should be: kept for this run only
}

void TestMainWindowDesktop::badSettingsFallBackToDefaults()
{
    QFETCH(QByteArray, contents);
    const QString path = writeFile(QTest::currentDataTag(), contents);
    AppSettings settings(contents.isEmpty() ? path + "/gameoflife.conf" : path);
    QVERIFY(settings.speed() == 20 && settings.colorIndex() == 1 && settings.rule() == Rule()
        && !settings.pauseWhenSettled());
    QVERIFY(settings.patternFolder().isEmpty() && !settings.windowPosition() && settings.recentFiles().isEmpty());
    settings.setSpeed(5);
    QCOMPARE(settings.speed(), 5);
}

void TestMainWindowDesktop::copyThenPasteGivesBackTheCells()
{
    QAction *copy = probe.find<QAction>("Action_Edit_CopyPattern");
    QVERIFY(!copy->isEnabled());
    // A blinker under HighLife: it stands upright in even generations.
    paste("x = 3, y = 1, rule = B36/S23\n3o!\n", QPoint(59, 60));
    QTest::mouseClick(probe.button("PushButton_Next"), Qt::LeftButton);
    const MainWindowProbe::CellGrid upright = probe.shownCells();
    QTest::keySequence(window, QKeySequence::Copy);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("x = 1, y = 3, rule = B36/S23\no$o$o!\n"));
    QTest::mouseClick(probe.button("PushButton_Clear"), Qt::LeftButton);
    paste(QApplication::clipboard()->text(), QPoint(60, 59));
    QCOMPARE(probe.shownCells(), upright);
    // Over the lying blinker of the next generation: a cross, as one step, in the same generation.
    QTest::mouseClick(probe.button("PushButton_Next"), Qt::LeftButton);
    const MainWindowProbe::CellGrid lying = probe.shownCells();
    paste(QApplication::clipboard()->text(), QPoint(60, 59));
    QVERIFY(probe.cellCount() == 5 && probe.generation() == 2);
    QTest::keySequence(window, QKeySequence::Undo);
    QCOMPARE(probe.shownCells(), lying);
    QTest::mouseClick(probe.button("PushButton_Play"), Qt::LeftButton);
    QVERIFY(!copy->isEnabled() && !probe.find<QAction>("Action_Edit_PastePattern")->isEnabled());
}

void TestMainWindowDesktop::refusesTextThatIsNoPattern_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("prose") << "Dear Sir,\nplease find the glider attached.";
    QTest::newRow("beyond the field") << "x = 121, y = 1\n121o!\n";
    // Open's limits: at most 10^8 live cells.
    QTest::newRow("over 10^8 cells") << "x = 100000001, y = 1\n100000001o!\n";
}

void TestMainWindowDesktop::refusesTextThatIsNoPattern()
{
    QFETCH(QString, text);
    QTest::mouseClick(probe.button("PushButton_Random"), Qt::LeftButton);
    const MainWindowProbe::CellGrid before = probe.shownCells();
    QString title;
    ModalRunner::run([&] { paste(text); }, [&](QWidget *box) { title = box->windowTitle(), box->close(); });
    QCOMPARE(title, QStringLiteral("Paste pattern"));
    QCOMPARE(probe.shownCells(), before);
}

void TestMainWindowDesktop::pasteTooLargeOffersTheUnboundedPlane()
{
    // 126 x 97 cells: a row of 126 and one more cell 96 rows below.
    QApplication::clipboard()->setText("x = 126, y = 97\n126o96$o!\n");
    QString question;
    ModalRunner::run([&] { QTest::keySequence(window, QKeySequence::Paste); },
        [&](QWidget *box) {
            auto *message = qobject_cast<QMessageBox *>(box);
            question = message->text();
            if (QAbstractButton *yes = message->button(QMessageBox::Yes))
                yes->click();
        });
    QVERIFY2(question.contains("126 x 97"), qPrintable(question));
    auto *size = probe.find<QLabel>("Label_FieldSize");
    QCOMPARE(size->text(), QStringLiteral("Field size: unbounded"));
    QTest::keyClick(probe.find<QWidget>("WidgetPaintArea_GraphicScene"), Qt::Key_Return);
    QCOMPARE(probe.cellCount(), 127);
    // One step: the switch and the paste.
    QCOMPARE(probe.find<QAction>("Action_Edit_Undo")->text(), QStringLiteral("&Undo Paste"));
    probe.find<QAction>("Action_Edit_Undo")->trigger();
    QCOMPARE(size->text(), QStringLiteral("Field size: 120 * 120"));
    QVERIFY(probe.cellCount() == 0 && !probe.find<QAction>("Action_Edit_Undo")->isEnabled());
}

void TestMainWindowDesktop::firstRunFitsTheScreen()
{
    delete window;
    QFile::remove(AppSettings().fileName());
    window = new MainWindow;
    probe = MainWindowProbe(window);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QRect available = window->screen()->availableGeometry();
    const QRect frame = window->frameGeometry();
    QVERIFY2(available.contains(frame),
        qPrintable(QString("%1, %2 %3 x %4 on a screen of %5 x %6")
                       .arg(frame.x())
                       .arg(frame.y())
                       .arg(frame.width())
                       .arg(frame.height())
                       .arg(available.width())
                       .arg(available.height())));
    // As much room left and right as above and below, give or take the frame.
    QVERIFY(std::abs(frame.left() - available.left() - (available.right() - frame.right())) <= 16);
    QVERIFY(std::abs(frame.top() - available.top() - (available.bottom() - frame.bottom())) <= 40);
}

QTEST_MAIN(TestMainWindowDesktop)
#include "tst_mainwindowdesktop.moc"
