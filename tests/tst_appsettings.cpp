#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QMenu>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "mainwindow/appsettings.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/recentfiles.h"
#include "mainwindowprobe.h"
#include "modalrunner.h"
#include "toplevelguard.h"
#include "warningguard.h"

// What the program remembers between runs: values that survive a restart of
// the window, settings files that are damaged or cannot be written, and the
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

private:
    QString writeFile(const QString &name, const QByteArray &contents);

    QTemporaryDir folder; // the test case's configuration home, and its files
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
    QVERIFY(window->openPatternFile(pattern));
    probe.find<QSpinBox>("SpinBox_IPS")->setValue(7);
    probe.find<QComboBox>("ComboBox_CellColor")->setCurrentIndex(2);
    QTest::mouseClick(probe.find<QCheckBox>("CheckBox_PauseWhenSettled"), Qt::LeftButton);
    window->move(window->pos() + QPoint(13, 17));
    const QPoint position = window->pos();

    window = std::make_unique<MainWindow>();
    probe = MainWindowProbe(window.get());
    QCOMPARE(probe.find<QSpinBox>("SpinBox_IPS")->value(), 7);
    QVERIFY(probe.find<QCheckBox>("CheckBox_PauseWhenSettled")->isChecked());
    QCOMPARE(probe.find<QComboBox>("ComboBox_Rule")->currentData().toString(), QStringLiteral("B36/S23"));
    QCOMPARE(window->pos(), position);
    QCOMPARE(probe.find<QMenu>("Menu_RecentFiles")->actions().first()->data().toString(), pattern);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QVERIFY(window->openPatternFile(pattern));
    // Drawn in blue from the start, not only once the colour box changes.
    const QImage picture = probe.picture();
    probe.find<QComboBox>("ComboBox_CellColor")->setCurrentIndex(0);
    probe.find<QComboBox>("ComboBox_CellColor")->setCurrentIndex(2);
    QCOMPARE(probe.picture(), picture);
}

void TestAppSettings::badValuesFallBackToDefaults_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("binary") << QByteArray("\xff\xfe\x00[Gen\x01\x02=\"", 10);
    QTest::newRow("truncated") << QByteArray("[General]\nspe");
    QTest::newRow("out of range") << QByteArray(
        "[General]\nspeed=99\ncolour=7\nwindowPosition=@Point(-40000 -40000)\n");
    QTest::newRow("below range") << QByteArray("[General]\nspeed=0\ncolour=-1\n");
    QTest::newRow("wrong kinds") << QByteArray("[General]\nspeed=abc\nrule=B3, S23\npauseWhenSettled=maybe\n"
                                               "windowPosition=@Point(10\nrecentFiles=glider.rle\n");
    QTest::newRow("no such rule or folder") << QByteArray("[General]\nrule=B9/Sx\npatternFolder=/no/such/folder\n");
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
    AppSettings settings(writeFile("blocked", "a file") + QStringLiteral("/gameoflife.conf"));
    settings.setSpeed(5);
    QCOMPARE(settings.speed(), 5);
}

void TestAppSettings::recentFilesKeepOrderAndCap()
{
    auto window = std::make_unique<MainWindow>();
    QMenu *menu = MainWindowProbe(window.get()).find<QMenu>("Menu_RecentFiles");
    auto *recent = window->findChild<RecentFiles *>();
    for (int i = 0; i < 12; ++i)
        QVERIFY(window->openPatternFile(writeFile(QString("%1.rle").arg(i), "x = 1, y = 1\no!\n")));
    QVERIFY(window->openPatternFile(folder.filePath("5.rle")));
    QStringList expected { "5", "11", "10", "9", "8", "7", "6", "4", "3", "2" };
    for (QString &name : expected)
        name = folder.filePath(name + ".rle");
    QCOMPARE(recent->files(), expected);

    // A file that is gone shows why it cannot be opened, and leaves the list.
    QVERIFY(QFile::remove(expected.at(1)));
    QString title;
    const ModalRunner::Outcome outcome = ModalRunner::run([&] { menu->actions().at(1)->trigger(); },
        [&](QWidget *box) {
            title = box->windowTitle();
            box->close();
        });
    QVERIFY(outcome.opened && !outcome.forced);
    QCOMPARE(title, QStringLiteral("Open pattern"));
    expected.removeAt(1);
    QCOMPARE(AppSettings().recentFiles(), expected);

    menu->findChild<QAction *>("Action_File_ClearRecent")->trigger();
    window = std::make_unique<MainWindow>();
    QVERIFY(window->findChild<RecentFiles *>()->files().isEmpty());
}

QTEST_MAIN(TestAppSettings)
#include "tst_appsettings.moc"
