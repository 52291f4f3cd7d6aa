#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include "mainwindow/appsettings.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/recentfiles.h"
#include "mainwindowprobe.h"
#include "modalrunner.h"
#include "toplevelguard.h"
#include "warningguard.h"

// What the program remembers between runs: values that survive a restart of
// the window, a settings file that is damaged or cannot be written, and the
// list of recent files.
class TestAppSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup() { TopLevelGuard::closeLeftovers(); }

    void windowStartsAsItWasLeft();
    void badValuesFallBackToDefaults_data();
    void badValuesFallBackToDefaults();
    void unwritableSettingsKeepWorking();
    void recentFilesKeepOrderAndCap();
    void vanishedRecentFileLeavesTheList();

private:
    QString writeFile(const QString &name, const QByteArray &contents);

    QTemporaryDir folder; // the tests' own configuration home, and their files
};

void TestAppSettings::initTestCase()
{
    WarningGuard::install();
    // Before the first settings are read: Qt takes the location from it once.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.filePath("config")));
}

QString TestAppSettings::writeFile(const QString &name, const QByteArray &contents)
{
    QFile file(folder.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        qFatal("cannot write %s", qPrintable(file.fileName()));
    return file.fileName();
}

void TestAppSettings::windowStartsAsItWasLeft()
{
    const QString pattern = writeFile("glider.rle", "x = 3, y = 3, rule = B36/S23\nbo$2bo$3o!\n");
    auto window = std::make_unique<MainWindow>();
    MainWindowProbe probe(window.get());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(probe.find<QSpinBox>("SpinBox_IPS")->value(), AppSettings::DefaultSpeed);
    QVERIFY(window->openPatternFile(pattern));
    probe.find<QSpinBox>("SpinBox_IPS")->setValue(7);
    probe.find<QComboBox>("ComboBox_CellColor")->setCurrentIndex(2);
    QTest::mouseClick(probe.find<QCheckBox>("CheckBox_PauseWhenSettled"), Qt::LeftButton);
    window->move(window->pos() + QPoint(13, 17));
    const QPoint position = window->pos();

    window = std::make_unique<MainWindow>();
    probe = MainWindowProbe(window.get());
    QCOMPARE(probe.find<QSpinBox>("SpinBox_IPS")->value(), 7);
    QCOMPARE(probe.find<QComboBox>("ComboBox_CellColor")->currentIndex(), 2);
    QVERIFY(probe.find<QCheckBox>("CheckBox_PauseWhenSettled")->isChecked());
    QCOMPARE(probe.find<QComboBox>("ComboBox_Rule")->currentData().toString(), QStringLiteral("B36/S23"));
    QCOMPARE(window->pos(), position);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    // Drawn in blue from the start, not only after the colour box changes.
    const QImage picture = probe.picture();
    probe.find<QComboBox>("ComboBox_CellColor")->setCurrentIndex(0);
    probe.find<QComboBox>("ComboBox_CellColor")->setCurrentIndex(2);
    QCOMPARE(probe.picture(), picture);
    QCOMPARE(probe.find<QMenu>("Menu_RecentFiles")->actions().first()->data().toString(), pattern);
}

void TestAppSettings::badValuesFallBackToDefaults_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("binary") << QByteArray("\xff\xfe\x00[Gen\x01\x02=\"", 10);
    QTest::newRow("truncated") << QByteArray("[General]\nspe");
    QTest::newRow("too fast") << QByteArray("[General]\nspeed=99\n");
    QTest::newRow("too slow") << QByteArray("[General]\nspeed=0\n");
    QTest::newRow("speed not a number") << QByteArray("[General]\nspeed=abc\n");
    QTest::newRow("colour 7") << QByteArray("[General]\ncolour=7\n");
    QTest::newRow("colour -1") << QByteArray("[General]\ncolour=-1\n");
    QTest::newRow("rule does not read") << QByteArray("[General]\nrule=B9/Sx\n");
    QTest::newRow("rule a list") << QByteArray("[General]\nrule=B3, S23\n");
    QTest::newRow("pause not a truth") << QByteArray("[General]\npauseWhenSettled=maybe\n");
    QTest::newRow("folder gone") << QByteArray("[General]\npatternFolder=/no/such/folder\n");
    QTest::newRow("folder relative") << QByteArray("[General]\npatternFolder=.\n");
    QTest::newRow("position off every screen") << QByteArray("[General]\nwindowPosition=@Point(-40000 -40000)\n");
    QTest::newRow("position cut short") << QByteArray("[General]\nwindowPosition=@Point(10\n");
    QTest::newRow("recent file relative") << QByteArray("[General]\nrecentFiles=glider.rle\n");
}

void TestAppSettings::badValuesFallBackToDefaults()
{
    QFETCH(QByteArray, contents);
    const AppSettings settings(writeFile(QTest::currentDataTag() + QStringLiteral(".conf"), contents));
    QCOMPARE(settings.speed(), AppSettings::DefaultSpeed);
    QCOMPARE(settings.colorIndex(), AppSettings::DefaultColorIndex);
    QVERIFY(settings.rule() == Rule());
    QVERIFY(!settings.pauseWhenSettled());
    QCOMPARE(settings.patternFolder(), QString());
    QVERIFY(!settings.windowPosition());
    QVERIFY(settings.recentFiles().isEmpty());
}

void TestAppSettings::unwritableSettingsKeepWorking()
{
    // A file where the folder should be: not even root can write there.
    const QString blocked = writeFile("blocked", "a file") + QStringLiteral("/gameoflife.conf");
    AppSettings settings(blocked);
    settings.setSpeed(5);
    settings.setRule(Rule());
    QCOMPARE(settings.speed(), 5);
}

void TestAppSettings::recentFilesKeepOrderAndCap()
{
    AppSettings settings(folder.filePath("recent.conf"));
    QMenu menu;
    RecentFiles recent(&menu, &settings);
    for (int i = 0; i < 12; ++i)
        recent.add(folder.filePath(QString("%1.rle").arg(i)));
    recent.add(folder.filePath("5.rle"));
    QStringList expected { "5", "11", "10", "9", "8", "7", "6", "4", "3", "2" };
    for (QString &name : expected)
        name = folder.filePath(name + ".rle");
    QCOMPARE(recent.files(), expected);
    QCOMPARE(AppSettings(settings.fileName()).recentFiles(), expected);

    QSignalSpy chosen(&recent, SIGNAL(fileChosen(QString)));
    menu.actions().at(1)->trigger();
    QCOMPARE(chosen.value(0).value(0).toString(), expected.at(1));
    menu.findChild<QAction *>("Action_File_ClearRecent")->trigger();
    QVERIFY(AppSettings(settings.fileName()).recentFiles().isEmpty());
    QCOMPARE(menu.actions().size(), 2); // the separator and Clear list, disabled
    QVERIFY(!menu.actions().last()->isEnabled());
}

void TestAppSettings::vanishedRecentFileLeavesTheList()
{
    const QString path = writeFile("gone.rle", "x = 1, y = 1\no!\n");
    MainWindow window;
    MainWindowProbe probe(&window);
    QVERIFY(window.openPatternFile(path));
    QVERIFY(QFile::remove(path));
    QMenu *menu = probe.find<QMenu>("Menu_RecentFiles");
    QCOMPARE(menu->actions().first()->data().toString(), path);
    QString title;
    const ModalRunner::Outcome outcome = ModalRunner::run([&] { menu->actions().first()->trigger(); },
        [&](QWidget *box) {
            title = box->windowTitle();
            box->close();
        });
    QVERIFY(outcome.opened && !outcome.forced);
    QCOMPARE(title, QStringLiteral("Open pattern"));
    QVERIFY(!menu->actions().first()->data().toString().endsWith("gone.rle"));
}

QTEST_MAIN(TestAppSettings)
#include "tst_appsettings.moc"
