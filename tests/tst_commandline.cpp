#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "app/commandline.h"
#include "app/textanswer.h"
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
    void countsGenerationsOn_data();
    void countsGenerationsOn();
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

void TestCommandLine::countsGenerationsOn_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("expected"); // ends of lines the output holds, split at '|'
    // Files count from generation 0, this program from 1: a blinker three generations on.
    QTest::newRow("rle") << QByteArray("#CXRLE Gen=9\nx = 3, y = 1\n3o!\n") << "out.rle"
                         << "#C Generation 13| Gen=12";
    QTest::newRow("macrocell") << QByteArray("[M2]\n#G 9\n***$\n4 1 0 0 0\n") << "out.mc"
                               << "#G 12";
}

// --generations 3 from a file that gives its generation.
void TestCommandLine::countsGenerationsOn()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, output);
    QTemporaryDir folder;
    QFile input(folder.filePath("in"));
    QVERIFY(input.open(QIODevice::WriteOnly) && input.write(file) == file.size());
    input.close();
    const CommandLine::Request request = CommandLine::parse(
        { "gameoflife", "--generations", "3", input.fileName(), "--output", folder.filePath(output) });
    QCOMPARE(TextAnswer::answer(request), 0);
    QFile written(folder.filePath(output));
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(written.readAll());
    QFETCH(QString, expected);
    for (const QString &line : expected.split('|'))
        QVERIFY2(text.contains(line + '\n'), qPrintable(text));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
