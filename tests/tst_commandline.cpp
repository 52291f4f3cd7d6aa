#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include "app/commandline.h"
#include "app/textanswer.h"
#include "warningguard.h"

Q_DECLARE_METATYPE(CommandLine::Request::Mode)

// What each command line asks for, read before any window exists: the edges
// of every number's range and the combinations that cannot be used; and which
// generation the answers written to files start from.
class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { WarningGuard::install(); }
    void parses_data();
    void parses();
    void answersCountFromThePatternAsOpened();

private:
    // Parses `arguments` (separated by blanks; %1 stands for the folder) and answers them.
    int answer(const QString &arguments) const;

    QTemporaryDir folder;
};

int TestCommandLine::answer(const QString &arguments) const
{
    const QStringList parts = arguments.arg(folder.path()).split(QLatin1Char(' '));
    return TextAnswer::answer(CommandLine::parse(QStringList(QStringLiteral("gameoflife")) + parts));
}

void TestCommandLine::parses_data()
{
    using Mode = CommandLine::Request::Mode;
    QTest::addColumn<QString>("arguments"); // separated by blanks
    QTest::addColumn<Mode>("mode");

    QTest::newRow("highest scale") << "--export x.png a.rle --scale 8" << Mode::Export;
    QTest::newRow("scale beyond") << "--export x.png a.rle --scale 9" << Mode::Error;
    QTest::newRow("highest speed") << "--export x.gif a.rle --speed 30" << Mode::Export;
    QTest::newRow("speed 0") << "--export x.gif a.rle --speed 0" << Mode::Error;
    QTest::newRow("longest animation") << "--export x.gif a.rle --generations 10000" << Mode::Export;
    QTest::newRow("animation beyond") << "--export x.gif a.rle --generations 100000000" << Mode::Error;
    QTest::newRow("picture far ahead") << "--export x.png a.rle --generations 1000000000" << Mode::Export;
    QTest::newRow("neither picture nor animation") << "--export x.bmp a.rle" << Mode::Error;
    QTest::newRow("settle and export") << "--settle --export x.png a.rle" << Mode::Error;
    QTest::newRow("scale without export") << "--scale 2 a.rle" << Mode::Error;
    QTest::newRow("highest limit") << "--settle --max-generations 1000000 a.rle" << Mode::Settle;
    QTest::newRow("limit beyond") << "--settle --max-generations 1000001 a.rle" << Mode::Error;
    QTest::newRow("limit without settle") << "--max-generations 5 a.rle" << Mode::Error;
    QTest::newRow("unknown option") << "--bogus" << Mode::Error;
    QTest::newRow("two files for the window") << "a.rle b.rle" << Mode::Error;
    QTest::newRow("toolkit's options") << "-style fusion --platform offscreen -reverse -style=x a.rle" << Mode::Window;
}

void TestCommandLine::parses()
{
    QFETCH(QString, arguments);
    QFETCH(CommandLine::Request::Mode, mode);
    const CommandLine::Request request
        = CommandLine::parse(QStringList(QStringLiteral("gameoflife")) + arguments.split(QLatin1Char(' ')));
    QVERIFY2(request.mode == mode, qPrintable(request.error));
}

void TestCommandLine::answersCountFromThePatternAsOpened()
{
    // An R-pentomino: no two of its first generations look alike.
    QFile pattern(folder.filePath(QStringLiteral("r.rle")));
    QVERIFY(pattern.open(QIODevice::WriteOnly) && pattern.write("x = 3, y = 3\nb2o$2o$bo!\n") > 0);
    pattern.close();

    QCOMPARE(answer(QStringLiteral("--generations 100 %1/r.rle --output %1/later.rle")), 0);
    QFile later(folder.filePath(QStringLiteral("later.rle")));
    QVERIFY(later.open(QIODevice::ReadOnly));
    QVERIFY(later.readAll().contains("#C Generation 101\n"));

    QCOMPARE(answer(QStringLiteral("--export %1/first.png %1/r.rle")), 0);
    QCOMPARE(answer(QStringLiteral("--export %1/run.gif %1/r.rle --generations 3")), 0);
    QImageReader animation(folder.filePath(QStringLiteral("run.gif")));
    QCOMPARE(animation.read().convertToFormat(QImage::Format_RGB32),
        QImage(folder.filePath(QStringLiteral("first.png"))).convertToFormat(QImage::Format_RGB32));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
