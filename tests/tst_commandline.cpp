#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "app/commandline.h"
#include "app/textanswer.h"
#include "model/engine/rule.h"
#include "model/engine/universe.h"
#include "model/files/pattern.h"
#include "model/files/patternreader.h"
#include "ruletext.h"
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
    void settlesAtTheLimit_data();
    void settlesAtTheLimit();
    void settlesEveryFamily_data();
    void settlesEveryFamily();
    void analysesOtherRules_data();
    void analysesOtherRules();
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
    QTest::newRow("fit") << "--export x.gif a.rle --fit 800x16384" << Mode::Export;
    QTest::newRow("fit beyond") << "--export x.png a.rle --fit 800x16385" << Mode::Error;
    QTest::newRow("fit of one side") << "--export x.png a.rle --fit 800" << Mode::Error;
    QTest::newRow("fit and scale") << "--export x.png a.rle --fit 8x8 --scale 2" << Mode::Error;
    QTest::newRow("fit without export") << "--fit 8x8 a.rle" << Mode::Error;
    QTest::newRow("highest limit") << "--settle --max-generations 1000000 a.rle" << Mode::Settle;
    QTest::newRow("klein bottle") << "--settle --universe K40*,20 a.rle" << Mode::Settle;
    QTest::newRow("sphere with colon") << "--settle --universe :s30 a.rle" << Mode::Settle;
    QTest::newRow("as the rule's suffix")
        << "--settle --universe T30+7,20 --rule B3/S23:T30+37,20 a.rle" << Mode::Settle;
    QTest::newRow("other twist than the rule's")
        << "--settle --universe K40*,20 --rule B3/S23:K40,20* a.rle" << Mode::Error;
    QTest::newRow("endless strip") << "--settle --universe T0,68 a.rle" << Mode::Settle;
    QTest::newRow("shifted strip") << "--settle --universe T0+1,68 a.rle" << Mode::Error;
    QTest::newRow("census in a strip") << "--census --universe P0,68 a.rle" << Mode::Error;
    QTest::newRow("birth on 0, unbounded")
        << "--generations 5 --output b.rle --universe unbounded --rule B0/S8 a.rle" << Mode::Generations;
    QTest::newRow("settle birth on 0, unbounded") << "--settle --universe unbounded --rule B0/S8 a.rle" << Mode::Settle;
    QTest::newRow("census of a hexagonal rule") << "--census --rule B2/S34H a.rle" << Mode::Census;
    QTest::newRow("Generations rule in a strip") << "--settle --universe T0,68 --rule B2/S/C3 a.rle" << Mode::Settle;
    QTest::newRow("sphere not square") << "--settle --universe S30,20 a.rle" << Mode::Error;
    QTest::newRow("limit beyond") << "--settle --max-generations 1000001 a.rle" << Mode::Error;
    QTest::newRow("highest census limit") << "--census --max-generations 1000000000000 a.rle" << Mode::Census;
    QTest::newRow("census limit beyond") << "--census --max-generations 1000000000001 a.rle" << Mode::Error;
    // The unbounded plane runs every family, and the census counts in each.
    QTest::newRow("Star Wars unbounded") << "--settle --rule 345/2/4 --universe unbounded a.rle" << Mode::Settle;
    QTest::newRow("census of Brian's Brain") << "--census --rule B2/S/C3 a.rle" << Mode::Census;
    QTest::newRow("census of LifeHistory") << "--census --rule LifeHistory a.rle" << Mode::Census;
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
    // Brian's Brain's domino with its dying trail flies west a cell a
    // generation, in the unbounded plane, the classic field taking Life-like rules only.
    const QByteArray domino("#CXRLE Gen=9\nx = 2, y = 2, rule = B2/S/C3\nAB$AB!\n");
    QTest::newRow("states, rle") << domino << "out.rle"
                                 << "Pos=-4,-1 Gen=12|AB$AB!";
    QTest::newRow("states, macrocell") << domino << "out.mc"
                                       << "#G 12|1 0 0 1 2|1 1 2 0 0";
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

void TestCommandLine::settlesAtTheLimit_data()
{
    QTest::addColumn<bool>("census");
    QTest::addColumn<bool>("unbounded");
    QTest::addColumn<int>("limit"); // --max-generations
    QTest::addColumn<QString>("answer");

    // The diehard is empty from generation 131 on.
    const std::pair<const char *, bool> universes[] = { { "classic", false }, { "unbounded", true } };
    for (const auto &[universe, unbounded] : universes) {
        QTest::addRow("settle, %s, at N - 1", universe) << false << unbounded << 132 << "died out at generation 131";
        QTest::addRow("settle, %s, at N", universe) << false << unbounded << 131 << "died out at generation 131";
        QTest::addRow("settle, %s, at N + 1", universe)
            << false << unbounded << 130 << "not settled after 130 generations";
    }
    QTest::newRow("census, at N - 1") << true << true << 132 << "dies out, lifespan 130";
    QTest::newRow("census, at N") << true << true << 131 << "dies out, lifespan 130";
    QTest::newRow("census, at N + 1") << true << true << 130 << "not stable after 130 generations";
}

void TestCommandLine::settlesAtTheLimit()
{
    QFETCH(bool, census);
    QFETCH(bool, unbounded);
    QFETCH(int, limit);
    QFETCH(QString, answer);

    Pattern diehard;
    std::string error;
    QVERIFY(PatternReader::read("x = 8, y = 3\n6bo$2o$bo3b3o!", diehard, error));
    const std::unique_ptr<Universe> universe
        = Universe::create(unbounded ? Topology::unbounded() : Topology::classic(), Rule());
    diehard.placeInto(*universe);
    const QString said = census ? QString::fromStdString(TextAnswer::censusLines(*universe, limit).front())
                                : TextAnswer::settleLine(*universe, limit);
    QCOMPARE(said, answer);
}

void TestCommandLine::settlesEveryFamily_data()
{
    QTest::addColumn<QString>("rule"); // with the universe's suffix; none for the unbounded plane
    QTest::addColumn<QString>("picture"); // rows split at '|' from (5, 5): 'O' or 'A' state 1, 'B' state 2
    QTest::addColumn<int>("limit"); // --max-generations
    QTest::addColumn<QString>("answer");
    const auto row = [](const char *name, const char *rule, const char *picture, int limit, const char *answer) {
        QTest::newRow(name) << QString(rule) << QString(picture) << limit << QString(answer);
    };

    // Worked out by hand. Every cell born and none dying, from one cell: the
    // (2t + 1)^2 square after t generations, 16641 at the look after 64,
    // 66049 at the one after 128, past the census's 65536 cells and about
    // four times as many over a doubling.
    row("quadratic grower", "B12345678/S012345678", "O", 1000000,
        "grows quadratically, 66049 cells after 128 generations");
    row("quadratic grower, too soon to tell", "B12345678/S012345678", "O", 127, "not settled after 127 generations");
    row("Generations square", "B12345678/S012345678/C5", "A", 1000000,
        "grows quadratically, 66049 cells after 128 generations");
    // The diamond of 2t^2 + 2t + 1 cells: 33025 at 128, 131585 at 256.
    row("von Neumann diamond", "B1234/S01234V", "O", 1000000,
        "grows quadratically, 131585 cells after 256 generations");
    // Never past 65536 cells before the limit, 200: 80401 cells then, 8321
    // at the look after 64, the last at most halfway: (200 / 64)^2 as many.
    row("von Neumann diamond at the limit", "B1234/S01234V", "O", 200,
        "grows quadratically, 80401 cells after 200 generations");
    // The hexagon of 3t^2 + 3t + 1 cells: 49537 at 128, 197377 at 256.
    row("hexagonal hexagon", "B123456/S0123456H", "O", 1000000,
        "grows quadratically, 197377 cells after 256 generations");
    // The Gosper gun, a glider every 30 generations.
    row("Gosper gun", "B3/S23",
        "........................O|......................O.O|............OO......OO...."
        "........OO|...........O...O....OO............OO|OO........O.....O...OO|OO........"
        "O...O.OO....O.O|..........O.....O.......O|...........O...O|............OO",
        1000000, "grows as a gun of period 30, found after 1024 generations");
    // Dying states count: a lone cell of B/S/C4 is dying at generations 2 and
    // 3, and the universe empty from 4 on, on every surface.
    for (const char *surface : { "", ":T20,20", ":K20*,20", ":C20,20", ":S20", ":T0,20" })
        QTest::addRow("dying cell%s", surface)
            << QString("B/S/C4") + surface << "A" << 100 << "died out at generation 4";
    // LifeHistory's blinker leaves its other phase's cells marked: generation
    // 3 is not generation 1 again, though its live cells are.
    for (const char *surface : { "", ":T20,20", ":K20*,20", ":T20+7,20", ":P0,20" })
        QTest::addRow("LifeHistory blinker%s", surface)
            << QString("LifeHistory") + surface << "AAA" << 100 << "period 2 since generation 2, 5 cells";
    // Brian's Brain: two live cells with two dying ones behind move a cell a
    // generation, round a torus of 20 in 20 generations.
    row("Brian's Brain ship", "B2/S/C3", "AB|AB", 100, "moves (-1, 0) every generation since generation 1, 4 cells");
    row("glider", "B3/S23", ".O|..O|OOO", 100, "moves (1, 1) every 4 generations since generation 1, 5 cells");
    row("Brian's Brain ship on a torus", "B2/S/C3:T20,20", "AB|AB", 100, "period 20 since generation 1, 4 cells");
}

void TestCommandLine::settlesEveryFamily()
{
    QFETCH(QString, rule);
    QFETCH(QString, picture);
    QFETCH(int, limit);
    Rule stepRule;
    std::optional<Topology> surface;
    std::string error;
    QVERIFY2(Rule::read(rule.toStdString(), stepRule, surface, error), error.c_str());
    const std::unique_ptr<Universe> universe = Universe::create(surface.value_or(Topology::unbounded()), stepRule);
    const QStringList rows = picture.split('|');
    for (int y = 0; y < rows.size(); ++y) {
        for (int x = 0; x < rows[y].size(); ++x) {
            if (rows[y][x] != '.')
                universe->setState(x + 5, y + 5, rows[y][x] == QLatin1Char('B') ? 2 : 1);
        }
    }
    QTEST(TextAnswer::settleLine(*universe, limit), "answer");
}

void TestCommandLine::analysesOtherRules_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("picture"); // rows split at '|', 'O' alive
    QTest::addColumn<QString>("settle");
    QTest::addColumn<QString>("census"); // lines split at '|'
    const auto row
        = [](const char *name, const char *rule, const char *picture, const char *settle, const char *census) {
              QTest::newRow(name) << QString(rule) << QString(picture) << QString(settle) << QString(census);
          };

    // Worked out by hand, generation 1 on a dead background. B0/S: all but
    // the cells next to the pattern are born, and the next generation only
    // those with no live neighbour are, the pattern's own where it is
    // surrounded by its dead box: it comes back every other generation.
    row("B0/S cell", "B0/S", "O", "period 2 since generation 1, 1 cell, on a background that blinks",
        "lifespan 0, 1 cell, period 2, on a background that blinks|  1 period 2 oscillator "
        "of 1 cell");
    row("B0/S blinker", "B0/S", "OOO", "period 2 since generation 1, 3 cells, on a background that blinks",
        "lifespan 0, 3 cells, period 2, on a background that blinks|  1 period 2 "
        "oscillator of 3 cells");
    row("B0/S empty", "B0/S", "", "period 2 since generation 1, 0 cells, on a background that blinks",
        "lifespan 0, 0 cells, period 2, on a background that blinks");
    // Everything survives: the 8 neighbours of the cell stay dead for ever,
    // each on its own, in a plane alive from generation 2.
    row("B0/S012345678 cell", "B0/S012345678", "O", "still since generation 2, every cell alive but 8",
        "lifespan 1, every cell alive but 8, period 1|  8 still lifes of 1 cell");
    row("B0/S8 empty", "B0/S8", "", "still since generation 2, every cell alive",
        "lifespan 1, every cell alive, period 1");
    // Hexagonal neighbours leave out NE and SW: three cells each next to the
    // other two, where the Moore count would give birth to a fourth.
    row("hexagonal triangle", "B3/S2H", "OO|.O", "still since generation 1, 3 cells",
        "lifespan 0, 3 cells, period 1|  1 still life of 3 cells");
    // Von Neumann: two dominoes that touch at a corner are no neighbours.
    row("von Neumann dominoes", "B3/S1V", "OO..|..OO", "still since generation 1, 4 cells",
        "lifespan 0, 4 cells, period 1|  2 still lifes of 2 cells");
    // Von Neumann: the cell between two is born, alone, then nothing.
    row("von Neumann pair", "B2/SV", "O.O", "died out at generation 3", "dies out, lifespan 2");
    // A block's cells see the shape 3a, which S23-a leaves out.
    row("non-totalistic block", "B3/S23-a", "OO|OO", "died out at generation 2", "dies out, lifespan 1");
    row("non-totalistic blinker", "B3/S23-a", "OOO", "period 2 since generation 1, 3 cells",
        "lifespan 0, 3 cells, period 2|  1 period 2 oscillator of 3 cells");
}

void TestCommandLine::analysesOtherRules()
{
    QFETCH(QString, rule);
    QFETCH(QString, picture);
    QFETCH(QString, settle);
    QFETCH(QString, census);
    const std::unique_ptr<Universe> universe = Universe::create(Topology::unbounded(), ruleFrom(rule));
    const QStringList rows = picture.split('|');
    for (int y = 0; y < rows.size(); ++y) {
        for (int x = 0; x < rows[y].size(); ++x)
            universe->setCell(x, y, rows[y][x] == 'O');
    }
    constexpr int Limit = 100;
    const std::unique_ptr<Universe> copy = universe->clone();
    QCOMPARE(TextAnswer::settleLine(*copy, Limit), settle);
    std::string lines;
    for (const std::string &line : TextAnswer::censusLines(*universe, Limit))
        lines += (lines.empty() ? "" : "|") + line;
    QCOMPARE(QString::fromStdString(lines), census);
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
