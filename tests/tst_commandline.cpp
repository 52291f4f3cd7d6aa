#include <QTest>

#include "app/commandline.h"
#include "warningguard.h"

Q_DECLARE_METATYPE(CommandLine::Request::Mode)

// What a command line asks for, read before any window exists: the edges of
// the numbers' ranges and what cannot be used.
class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { WarningGuard::install(); }
    void parses_data();
    void parses();
};

void TestCommandLine::parses_data()
{
    using Mode = CommandLine::Request::Mode;
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<Mode>("mode");
    QTest::newRow("highest scale") << "--export x.png a.rle --scale 8" << Mode::Export;
    QTest::newRow("scale beyond") << "--export x.png a.rle --scale 9" << Mode::Error;
    QTest::newRow("highest speed") << "--export x.gif a.rle --speed 30" << Mode::Export;
    QTest::newRow("speed 0") << "--export x.gif a.rle --speed 0" << Mode::Error;
    QTest::newRow("longest animation") << "--export x.gif a.rle --generations 10000" << Mode::Export;
    QTest::newRow("animation beyond") << "--export x.gif a.rle --generations 100000000" << Mode::Error;
    QTest::newRow("settle and export") << "--settle --export x.png a.rle" << Mode::Error;
    QTest::newRow("scale without export") << "--scale 2 a.rle" << Mode::Error;
    QTest::newRow("highest limit") << "--settle --max-generations 1000000 a.rle" << Mode::Settle;
}

void TestCommandLine::parses()
{
    QFETCH(QString, arguments);
    QFETCH(CommandLine::Request::Mode, mode);
    const CommandLine::Request request
        = CommandLine::parse(QStringList(QStringLiteral("gameoflife")) + arguments.split(QLatin1Char(' ')));
    QVERIFY2(request.mode == mode, qPrintable(request.error));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
