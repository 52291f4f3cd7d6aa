#include <QStringList>
#include <QTest>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "model/edit/editing.h"
#include "model/engine/gamefield.h"
#include "model/engine/griduniverse.h"
#include "model/engine/unboundeduniverse.h"
#include "model/files/gzip.h"
#include "model/files/pattern.h"
#include "model/files/patternreader.h"
#include "model/files/patternwriter.h"
#include "warningguard.h"

namespace
{

constexpr int N = GameField::FieldSize;
constexpr int FileLimit = 1024 * 1024; // bytes of a file refuses() reads
const QString NotAPattern = "not a pattern file: expected RLE, plaintext, Life 1.05, Life 1.06 or macrocell";

// The box's rows joined by '/' ('.' dead, 'O' alive), after "@x,y:" for a
// positioned pattern, or what does not fit: a cell outside the box, or a box
// too large to draw.
QString picture(const Pattern &pattern)
{
    const std::optional<CellRect> cells = pattern.cells.boundingBox();
    if (cells
        && (cells->left < pattern.left || cells->top < pattern.top || cells->right - pattern.left >= pattern.width
            || cells->bottom - pattern.top >= pattern.height))
        return "misfit: a cell outside the box";
    if (pattern.width < 0 || pattern.width > N || pattern.height < 0 || pattern.height > N)
        return QString("large: box %1 x %2").arg(pattern.width).arg(pattern.height);
    QStringList rows;
    for (int r = 0; r < pattern.height; ++r)
        rows << QString(static_cast<int>(pattern.width), '.');
    if (cells) {
        pattern.cells.forEachLiveCell(
            *cells, [&](std::int64_t x, std::int64_t y) { rows[int(y - pattern.top)][int(x - pattern.left)] = 'O'; });
    }
    const QString position = QString("@%1,%2:").arg(pattern.left).arg(pattern.top);
    return (pattern.positioned ? position : QString()) + rows.join('/');
}

// Whether nothing changes converting bytes to UTF-16 and back; the '.' in
// front keeps Qt from dropping a byte order mark.
bool isUtf8(const std::string &bytes) { return QString::fromStdString("." + bytes).toStdString() == "." + bytes; }

void fillRandomly(GameField::Cell **buffer, std::mt19937 &generator, double density)
{
    std::bernoulli_distribution alive(density);
    for (int r = 1; r <= N; ++r) {
        for (int c = 1; c <= N; ++c)
            buffer[r][c] = alive(generator) ? 1 : 0;
    }
}

// A square of `side` x `side` cells from (left, top), each alive with
// probability 1/2, and `extra` cells besides.
std::vector<CellPoint> soup(std::int64_t left, std::int64_t top, std::int64_t side, std::vector<CellPoint> extra = {})
{
    std::mt19937 generator(static_cast<std::mt19937::result_type>(side));
    std::bernoulli_distribution alive(0.5);
    for (std::int64_t y = 0; y < side; ++y) {
        for (std::int64_t x = 0; x < side; ++x) {
            if (alive(generator))
                extra.push_back({ left + x, top + y });
        }
    }
    return extra;
}

// `cells` as RLE, at their places (#CXRLE Pos=) or, without `positioned`, as a box alone.
QByteArray rleOf(const std::vector<CellPoint> &cells, bool positioned)
{
    HashLife plane;
    plane.setCells(cells);
    return QByteArray::fromStdString(
        positioned ? PatternWriter::writeRle(plane, 1) : PatternWriter::writeRleBox(plane));
}

QByteArray life106Of(const std::vector<CellPoint> &cells)
{
    QByteArray file("#Life 1.06\n");
    for (const CellPoint &cell : cells)
        file += QByteArray::number(static_cast<qlonglong>(cell.x)) + ' '
            + QByteArray::number(static_cast<qlonglong>(cell.y)) + '\n';
    return file;
}

} // namespace

Q_DECLARE_METATYPE(Topology)

// Reading every format with its quirks, refusing every kind of bad file with a
// message that says what is wrong, and reading back what the writer wrote.
class TestPatternReader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { WarningGuard::install(); }
    void reads_data();
    void reads();
    void refuses_data();
    void refuses();
    void readsBackWhatWasWritten_data();
    void readsBackWhatWasWritten();
    void writesTheBoxOfTheLiveCells();
    void readsStatesBack_data();
    void readsStatesBack();
    void keepsPlacesInTheUnboundedPlane_data();
    void keepsPlacesInTheUnboundedPlane();
    void keepsTheUniverse_data();
    void keepsTheUniverse();
    void listsTheCellsOfTheQuadtree_data();
    void listsTheCellsOfTheQuadtree();
    void survivesMutatedFiles();
};

void TestPatternReader::reads_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("notes"); // the name, then each comment after a '|'
    QTest::addColumn<QString>("cells"); // as picture() draws them
    QTest::addColumn<QString>("rule"); // as the file names it, or empty

    QTest::newRow("rle, metadata, text after !")
        << QByteArray("#N Glider\n#C c\n#O o\n#P 1 2\nx = 3, y = 3, rule = B3/S23\nbo$2bo$3o!zz 0 q\n#?")
        << QString("Glider|c") << ".O./..O/OOO"
        << "B3/S23";
    QTest::newRow("rle, no spaces, rule spellings")
        << QByteArray("#r 23/3\nx=3,y=2,rule=s23/B36:T120,120\n3o$o!") << QString() << "OOO/O.."
        << "B36/S23:T120,120";
    // Two gzip members, the first with a position and a generation.
    QTest::newRow("rle, gzip, #CXRLE") << QByteArray(
        "\x1F\x8B\x08\x00\x00\x00\x00\x00\x00\x03\x53\x76\x8E\x08\xF2\x71\x55\x08\xC8\x2F\xB6\xD5\x35"
        "\xD5\xD1\x35\x57\x70\x4F\xCD\xB3\x35\x34\xE2\xAA\x50\xB0\x55\x30\xD4\x51\xA8\x04\x51\x5C\x00"
        "\xC8\x55\x77\xF5\x25\x00\x00\x00\x1F\x8B\x08\x00\x00\x00\x00\x00\x00\x03\xCB\x57\xE4\x02\x00"
        "\xF2\xA9\x80\xD0\x03\x00\x00\x00",
        77) << QString("|Gen=12") << "@-5,-7:O"
                                       << QString();
    QTest::newRow("rle, rule by name") << QByteArray("x = 1, y = 1, rule = Life\no!") << QString() << "O"
                                       << "B3/S23";
    QTest::newRow("rle, counts across breaks, . A, no !")
        << QByteArray("x = 5, y = 4\n A . 2\nA 2$\n3.A") << QString() << "O.OO./...../...O./....." << QString();
    QTest::newRow("rle, widened") << QByteArray("x = 1, y = 1\n3o$bo2$o!") << QString() << "OOO/.O./.../O.."
                                  << QString();
    // Blank lines among the rows are dead rows; before and after them, nothing.
    QTest::newRow("plaintext") << QByteArray("\n!Name: Boat\n!Rule: b2/s\n! by hand\n!\nOO.\nO.*\n\n.O\n\n\n")
                               << QString("Boat|by hand|") << "OO./O.O/.../.O."
                               << "B2/S";
    QTest::newRow("plaintext, BOM, CRLF")
        << QByteArray("\xEF\xBB\xBF.O.\r\n..O\r\nOOO\r\n") << QString() << ".O./..O/OOO" << QString();
    QTest::newRow("life 1.05, after blank lines")
        << QByteArray("\n \n#Life 1.05\n#N Two\n#D Blocks\n#R 23/36\n#P -3 -1\n**\n.*\n#P 2 4\n*\n")
        << QString("Two|Blocks") << "OO..../.O..../....../....../....../.....O"
        << "B36/S23";
    // As files in the wild have it: a bare #P is 0 0.
    QTest::newRow("life 1.05, bare #P") << QByteArray("#Life 1.05\n#P\n.*\n*.\n#P 3 0\n*\n") << QString() << ".O.O/O..."
                                        << QString();
    // The nw quarter of a 16 x 16 square centred on 0 0.
    QTest::newRow("macrocell") << QByteArray("[M2] (gameoflife)\n#R B36/S23\n#G 5\n#N Glider\n.*$..*$***$\n4 1 0 0 0\n")
                               << QString("Glider|Gen=5") << "@-8,-8:.O./..O/OOO"
                               << "B36/S23";
    // At the file's own coordinates.
    QTest::newRow("life 1.06") << QByteArray("#Life 1.06\n0 -1\n1 0\n-1 1\n0 1\n1 1\n1 1\n") << QString()
                               << "@-1,-1:.O./..O/OOO" << QString();
    QTest::newRow("life 1.06, beyond the centre's reach")
        << QByteArray("#Life 1.06\n70 0\n71 1\n") << QString() << "@70,0:O./.O" << QString();
}

void TestPatternReader::reads()
{
    QFETCH(QByteArray, file);
    Pattern pattern;
    std::string error;
    QVERIFY2(PatternReader::read(file.toStdString(), pattern, error), error.c_str());
    QStringList notes { QString::fromStdString(pattern.name) };
    for (const std::string &comment : pattern.comments)
        notes << QString::fromStdString(comment);
    if (pattern.generation)
        notes << QString("Gen=%1").arg(*pattern.generation);
    QTEST(notes.join('|'), "notes");
    QTEST(picture(pattern), "cells");
    QTEST(pattern.rule ? QString::fromStdString(pattern.rule->toString(pattern.topology.value_or(Topology())))
                       : QString(),
        "rule");
}

void TestPatternReader::refuses_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message"); // parts it must contain, split at '|'

    // Read, but refused by the classic field.
    QTest::newRow("box too large") << QByteArray("x = 121, y = 3\n!") << "121 x 3|120 x 120";
    QTest::newRow("too many cells") << QByteArray("x = 3, y = 1\n2o$o$1000o!") << "line 2|more than 1000 live cells";
    QTest::newRow("gzip bomb") << QByteArray::fromStdString(Gzip::deflate(std::string(2 << 20, 'o')))
                               << "more than 1 MiB";
    QTest::newRow("cut gzip") << QByteArray("\x1F\x8B\x08\x00\x00\x00\x00\x00\x00\x03\xCB\x57", 12) << "cut short";
    const QByteArray glider = QByteArray::fromStdString(Gzip::deflate("x = 3, y = 3\nbo$2bo$3o!\n"));
    QTest::newRow("gzip cut in its trailer") << glider.chopped(3) << "cut short";
    QTest::newRow("refused suffix") << QByteArray("x = 1, y = 1, rule = B3/S23:S0\no!") << "line 1|\":S0\"|no size";
    QTest::newRow("position") << QByteArray("#CXRLE Pos=3\nx = 1, y = 1\no!") << "line 1|\"Pos=3\"";
    QTest::newRow("empty") << QByteArray() << NotAPattern;
    QTest::newRow("unrecognised") << QByteArray("Hello, world\n") << NotAPattern;
    QTest::newRow("malformed header") << QByteArray("x = 3 y = 3\no!") << "line 1|header|\"x = 3 y = 3\"";
    QTest::newRow("run count 0") << QByteArray("x = 3, y = 1\n0o!") << "line 2|run count 0";
    QTest::newRow("run count overflow") << QByteArray("x = 3, y = 1\n99999999999999999999999b o!")
                                        << "run count over 999999999999999999|too large";
    QTest::newRow("coordinate too far") << QByteArray(
        "#Life 1.06\n0 0\n-999999999999999999 5\n0 -1000000000000000000\n")
                                        << "line 4|over 999999999999999999|±999999999999999999";
    QTest::newRow("coordinate too far in a block") << QByteArray("#Life 1.05\n#P 999999999999999998 0\n..*\n")
                                                   << "line 3|over 999999999999999999|±999999999999999999";
    QTest::newRow("row beyond the limit") << QByteArray("#CXRLE Pos=999999999999999990,0\nx = 1, y = 1\n9b2o!")
                                          << "line 3|over 999999999999999999|±999999999999999999";
    QTest::newRow("state beyond a generations rule in #r")
        << QByteArray("#r 34/3/5\nx = 1, y = 1\nE!") << "line 3|cell state 5|'E'|5 states|B3/S34/C5";
    QTest::newRow("state letter missing")
        << QByteArray("x = 2, y = 1, rule = B2/S/C30\npo!") << "line 2|'p' begins a cell state";
    QTest::newRow("file too large") << QByteArray(FileLimit + 1, '.') << "1048577 bytes|1048576";
    QTest::newRow("not text") << QByteArray("!Name: Gleiter \xC3\xA4\n.O") + '\0' << "line 2|not a text file|0x00";
    QTest::newRow("cell state") << QByteArray("x = 3, y = 1\nobC!") << "line 2|'C'|cell state";
    QTest::newRow("no such shape") << QByteArray("x = 1, y = 1, rule = B2x/S12\no!")
                                   << "line 1|\"B2x/S12\"|non-totalistic";
    QTest::newRow("life 1.06 without a gap") << QByteArray("#Life 1.06\n1-2\n") << "line 2|\"1-2\"";
    QTest::newRow("plaintext character") << QByteArray("!Name: x\n.O.\n..X\n") << "line 3|column 3|'X'";
}

void TestPatternReader::refuses()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, message);

    Pattern pattern;
    pattern.name = "untouched";
    std::string error;
    PatternReader::Limits limits;
    limits.fileSize = FileLimit;
    limits.cells = 1000;
    if (PatternReader::read(std::string(file.constData(), file.size()), pattern, error, limits)) {
        error = pattern.misfit(Topology::classic());
        QVERIFY2(!error.empty(), "read, and it fits the field");
    } else {
        QCOMPARE(pattern.name, std::string("untouched"));
        QCOMPARE(pattern.cells.population(), std::uint64_t(0));
    }
    const QString text = QString::fromStdString(error);
    for (const QString &part : message.split('|'))
        QVERIFY2(text.contains(part), qPrintable(text));
    if (message == NotAPattern)
        QCOMPARE(text, NotAPattern);
}

void TestPatternReader::readsBackWhatWasWritten_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<double>("density");
    for (const char *format : { "rle", "plaintext", "life 1.06" }) {
        for (const double density : { 0.0, 0.005, 0.3, 0.7, 1.0 })
            QTest::newRow(qPrintable(QString("%1, density %2").arg(format).arg(density))) << QString(format) << density;
    }
}

void TestPatternReader::readsBackWhatWasWritten()
{
    QFETCH(QString, format);
    QFETCH(double, density);
    const bool rle = format == "rle";

    std::mt19937 generator(static_cast<unsigned>(density * 1000) + 17);
    GameField field;
    GameField::Cell **original = field.snapshot();
    fillRandomly(original, generator, density);
    Rule highLife;
    std::string unused;
    Rule::read("HighLife", highLife, unused);
    // A comment that looks like a rule, an empty one, an indented one, and an earlier save's generation.
    const std::vector<std::string> comments { "Rule: by hand", "", "  indented", "Generation 3" };
    const std::string file = rle
        ? PatternWriter::writeRle(original, 4711, highLife, "Two\nlines", comments, "A. N. Author")
        : format == "plaintext" ? PatternWriter::writePlaintext(original, "Two\nlines", highLife, comments)
                                : PatternWriter::writeLife106(original);
    if (rle) {
        QVERIFY(QByteArray::fromStdString(file).endsWith("!\n"));
        for (const QByteArray &line : QByteArray::fromStdString(file).split('\n'))
            QVERIFY2(line.size() <= 70, line.constData());
    }

    Pattern pattern;
    std::string error;
    QVERIFY2(PatternReader::read(file, pattern, error), error.c_str());
    const bool life106 = format == "life 1.06";
    QCOMPARE(pattern.positioned, life106 || density > 0);
    QCOMPARE(pattern.name, std::string(life106 ? "" : "Two lines"));
    QCOMPARE(pattern.author, std::string(rle ? "A. N. Author" : ""));
    QVERIFY(pattern.rule == (life106 ? std::nullopt : std::optional(highLife)));
    QVERIFY(life106 ? pattern.comments.empty()
                    : pattern.comments
                == std::vector<std::string>(
                    { "Rule: by hand", "", "  indented", rle ? "Generation 4711" : "Generation 3" }));
    GameField target;
    target.randomize();
    GameField::Cell **placed = target.snapshot();
    pattern.placeCentred(placed);
    for (int r = 1; r <= N; ++r)
        QVERIFY2(std::equal(placed[r] + 1, placed[r] + 1 + N, original[r] + 1), qPrintable(QString("row %1").arg(r)));
}

void TestPatternReader::writesTheBoxOfTheLiveCells()
{
    GameField field;
    GameField::Cell **cells = field.snapshot();
    cells[1][1] = cells[N][N] = 1;
    QCOMPARE(
        QString::fromStdString(PatternWriter::writeRleBox(cells)), "x = 120, y = 120, rule = B3/S23\no119$119bo!\n");
}

void TestPatternReader::readsStatesBack_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QByteArray>("file"); // a file to read first, or empty for random states

    QTest::newRow("Generations") << "B2/S/C3" << QByteArray();
    QTest::newRow("two-letter states") << "B2/S345/C256" << QByteArray();
    QTest::newRow("LifeHistory") << "LifeHistory" << QByteArray();
    QTest::newRow("letters of every kind")
        << "B2/S/C256" << QByteArray("x = 6, y = 2, rule = B2/S/C256\n2A.pAyO$bo3X!");
}

void TestPatternReader::readsStatesBack()
{
    QFETCH(QString, rule);
    QFETCH(QByteArray, file);

    Rule stepping;
    std::string error;
    QVERIFY(Rule::read(rule.toStdString(), stepping, error));
    const Topology torus = Topology::torus(77, 13);
    GridUniverse universe(torus, stepping);
    if (file.isEmpty()) {
        std::mt19937 random(3);
        std::uniform_int_distribution<int> state(0, stepping.stateCount() - 1);
        for (std::int64_t y = 2; y < 11; ++y) {
            for (std::int64_t x = 1; x < 75; ++x)
                universe.setState(x, y, static_cast<std::uint8_t>(random() % 3 == 0 ? state(random) : 0));
        }
    } else {
        Pattern pattern;
        QVERIFY2(PatternReader::read(file.toStdString(), pattern, error), error.c_str());
        pattern.placeInto(universe);
        QCOMPARE(universe.state(36, 5), std::uint8_t(1));
        QCOMPARE(universe.state(38, 5), std::uint8_t(25));
        QCOMPARE(universe.state(39, 5), std::uint8_t(255));
        QCOMPARE(universe.state(39, 6), std::uint8_t(24));
    }

    const std::string text = PatternWriter::writeRle(universe, 1);
    Pattern pattern;
    QVERIFY2(PatternReader::read(text, pattern, error), error.c_str());
    QVERIFY(pattern.rule == stepping);
    // The classic field runs Life-like rules alone: without the suffix, the unbounded plane.
    QCOMPARE(pattern.universeFor(Topology::classic()), torus);
    pattern.topology.reset();
    QCOMPARE(pattern.universeFor(Topology::classic()), Topology::unbounded());
    QCOMPARE(pattern.universeFor(Topology::unbounded()), Topology::unbounded());
    QCOMPARE(pattern.universeFor(torus), torus);
    GridUniverse again(torus, stepping);
    pattern.placeInto(again);
    QVERIFY2(again.equals(universe), text.c_str());

    // The formats of two states refuse, naming the one that takes them.
    std::string unused;
    QVERIFY(!PatternWriter::writePlaintext(universe, "", {}, unused, error) && error.find(".rle") != std::string::npos);
    QVERIFY(!PatternWriter::writeLife106(universe, unused, error) && error.find(".rle") != std::string::npos);
    // A macrocell keeps every state, on the torus and in the unbounded plane.
    for (const Topology &shape : { torus, Topology::unbounded() }) {
        const std::unique_ptr<Universe> placed = Universe::create(shape, stepping);
        pattern.placeInto(*placed);
        QVERIFY2(PatternWriter::writeMacrocell(*placed, 1, "", {}, unused, error), error.c_str());
        Pattern read;
        QVERIFY2(PatternReader::read(unused, read, error), error.c_str());
        QVERIFY(read.rule == stepping);
        const std::unique_ptr<Universe> back = Universe::create(shape, stepping);
        read.placeInto(*back);
        QCOMPARE(back->population(), universe.population());
        QVERIFY2(back->equals(*placed), unused.c_str());
    }
}

void TestPatternReader::keepsPlacesInTheUnboundedPlane_data()
{
    QTest::addColumn<QString>("format");
    for (const char *format : { "rle", "plaintext", "life 1.06" })
        QTest::newRow(format) << QString(format);
}

// A soup larger than the field, far up and left of the centre, written and
// read back: every cell where it was, and too large to list once it spreads.
void TestPatternReader::keepsPlacesInTheUnboundedPlane()
{
    QFETCH(QString, format);
    std::mt19937 generator(300);
    std::bernoulli_distribution alive(0.3);
    std::vector<CellPoint> cells;
    for (std::int64_t y = 0; y < 300; ++y) {
        for (std::int64_t x = 0; x < 300; ++x) {
            if (alive(generator))
                cells.push_back({ x - 1000, y - 2000 });
        }
    }
    HashLife soup;
    soup.setCells(cells);
    std::string file;
    std::string error;
    const auto write = [&] {
        if (format == "rle")
            return file = PatternWriter::writeRle(soup, 1), true;
        return format == "plaintext" ? PatternWriter::writePlaintext(soup, "Soup", {}, file, error)
                                     : PatternWriter::writeLife106(soup, file, error);
    };
    QVERIFY2(write(), error.c_str());

    Pattern pattern;
    QVERIFY2(PatternReader::read(file, pattern, error), error.c_str());
    QVERIFY(pattern.positioned && pattern.cells.equals(soup));
    QCOMPARE(pattern.fits(Topology::classic()), false);
    HashLife placed;
    placed.setCell(5, 5, true);
    pattern.placeInto(placed);
    QVERIFY(placed.equals(soup));

    soup.setCell(20000, 20000, true);
    QCOMPARE(write(), format == "rle");
    QVERIFY2(format == "rle" || QString::fromStdString(error).contains(".rle or .mc"), error.c_str());
}

void TestPatternReader::keepsTheUniverse_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<Topology>("topology");
    for (const char *format : { "rle", "plaintext", "macrocell", "copy" }) {
        for (const Topology &topology :
            { Topology::classic(), Topology::plane(500, 300), Topology::torus(500, 300), Topology::torus(64, 64),
                Topology::unbounded(), Topology::shiftedTorus(400, 300, Topology::Edges::LeftRight, -7),
                Topology::kleinBottle(500, 300, Topology::Edges::TopBottom), Topology::crossSurface(500, 300),
                Topology::sphere(300) })
            QTest::newRow(qPrintable(QString("%1, %2").arg(format, topology.extentText().c_str())))
                << QString(format) << topology;
    }
}

// Cells off the centre, on the left and the bottom edge, written, read back
// and placed into the same universe: the same universe and rule, every cell
// where it was. A copy has no position: its cells keep their places in their box.
void TestPatternReader::keepsTheUniverse()
{
    QFETCH(QString, format);
    QFETCH(Topology, topology);
    Rule highLife;
    std::string error;
    Rule::read("HighLife", highLife, error);
    const std::unique_ptr<Universe> universe = Universe::create(topology, highLife);
    const std::int64_t width = topology.isBounded() ? topology.width() : 3000;
    const std::int64_t height = topology.isBounded() ? topology.height() : 2000;
    for (const auto &[x, y] : { std::pair { 0, height / 5 }, { width / 3, height / 8 }, { width / 3 + 1, height / 8 },
             { width / 4, height - 1 } })
        universe->setCell(topology.isBounded() ? x : x - width, y, true);

    std::string text;
    if (format == "plaintext" || format == "copy")
        QVERIFY2(format == "copy" ? Editing::copy(*universe, *universe->boundingBox(), text, error)
                                  : PatternWriter::writePlaintext(*universe, "", {}, text, error),
            error.c_str());
    else
        text = format == "rle" ? PatternWriter::writeRle(*universe, 1)
                               : PatternWriter::writeMacrocell(*universe, 1, "", {});
    Pattern pattern;
    QVERIFY2(PatternReader::read(text, pattern, error), error.c_str());
    QCOMPARE(
        pattern.rule.value_or(Rule()).toString(pattern.universeFor(Topology::classic())), highLife.toString(topology));
    const CellRect box = *universe->boundingBox();
    const std::unique_ptr<Universe> placed = Universe::create(topology, highLife);
    pattern.placeInto(*placed);
    QVERIFY2(format == "copy" ? universe->equalsShifted(pattern.cells, -box.left, -box.top) : placed->equals(*universe),
        text.c_str());
}

// Random damage to valid files of every format: whatever the reader makes of
// it, it must either refuse with a message or return a pattern that fits.
// Read into a list, as the command line reads a pattern it places once,
// every file gives the cells it gives read into HashLife, wherever they lie
// and however many: in the unbounded plane (in the tiles for a dense
// pattern), stepping on from there as HashLife does, and on the classic field.
void TestPatternReader::listsTheCellsOfTheQuadtree_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<qulonglong>("listLimit");
    QTest::addColumn<qulonglong>("population"); // counted by hand or from the generated cells

    constexpr std::int64_t L = 999999999999999999; // the farthest coordinate a file may give
    // Filling its tiles to their edges, and a blinker on the edge of another,
    // so that the first generation is born in tiles that do not exist yet.
    const std::vector<CellPoint> edges = soup(-64, -64, 128, { { 127, 299 }, { 127, 300 }, { 127, 301 } });
    const std::vector<CellPoint> spread = soup(-35, -35, 70);
    const qulonglong square = soup(0, 0, 100).size();
    QTest::newRow("empty rle") << QByteArray("x = 0, y = 0\n!") << 100ull << 0ull;
    QTest::newRow("one cell") << QByteArray("x = 1, y = 1\no!") << 100ull << 1ull;
    QTest::newRow("plaintext, dead rows") << QByteArray("!Name: x\nO.O\n\n.O\n") << 100ull << 3ull;
    QTest::newRow("life 1.05, two blocks")
        << QByteArray("#Life 1.05\n#P -70 -3\n**\n#P 60 4\n.*\n*.\n") << 100ull << 4ull;
    QTest::newRow("life 1.06, far corners, a repeat")
        << life106Of({ { -L, -L }, { L, L }, { -L, L }, { L, -L }, { 0, 0 }, { 0, 0 } }) << 100ull << 5ull;
    QTest::newRow("soup across tile edges") << rleOf(edges, true) << 100000ull << qulonglong(edges.size());
    QTest::newRow("soup, centred") << rleOf(edges, false) << 100000ull << qulonglong(edges.size());
    QTest::newRow("soup at the far right") << rleOf(soup(L - 99, L - 99, 100), true) << 100000ull << square;
    QTest::newRow("soup at the far left") << rleOf(soup(-L, -L, 100), true) << 100000ull << square;
    QTest::newRow("beyond the list") << rleOf(spread, false) << 1000ull << qulonglong(spread.size());
}

void TestPatternReader::listsTheCellsOfTheQuadtree()
{
    QFETCH(QByteArray, file);
    QFETCH(qulonglong, listLimit);
    QFETCH(qulonglong, population);
    const std::string bytes = file.toStdString();
    std::string error;
    Pattern quadtree;
    QVERIFY2(PatternReader::read(bytes, quadtree, error), error.c_str());
    PatternReader::Limits limits;
    limits.store = PatternReader::Store::List;
    limits.listed = listLimit;
    Pattern listed;
    QVERIFY2(PatternReader::read(bytes, listed, error, limits), error.c_str());
    const bool inList = population <= listLimit;
    QCOMPARE(listed.listed.empty(), !inList || population == 0);
    QCOMPARE(listed.cells.population(), inList ? 0 : population);
    QCOMPARE(quadtree.cells.population(), population);
    QCOMPARE(listed.fits(Topology::classic()), quadtree.fits(Topology::classic()));

    // HashLife steps apart from the tiles.
    HashLife fromQuadtree;
    UnboundedUniverse fromList;
    quadtree.placeInto(fromQuadtree);
    listed.placeInto(fromList);
    QCOMPARE(fromList.population(), population);
    QVERIFY(fromList.equals(fromQuadtree));
    if (population > 1000 && std::abs(fromList.boundingBox()->left) < 1000) {
        fromList.advance(3);
        fromQuadtree.advance(3);
        QVERIFY(fromList.equals(fromQuadtree));
    }
    if (quadtree.fits(Topology::classic()))
        QVERIFY(listed.centred() == quadtree.centred());
}

void TestPatternReader::survivesMutatedFiles()
{
    const QByteArray seedVariable = qgetenv("GAMEOFLIFE_FUZZ_SEED");
    const unsigned seed = seedVariable.isEmpty() ? std::random_device()() : seedVariable.toUInt();
    qInfo("seed %u; GAMEOFLIFE_FUZZ_SEED=%u replays this run", seed, seed);
    std::mt19937 generator(seed);

    GameField field;
    GameField::Cell **cells = field.snapshot();
    fillRandomly(cells, generator, 0.1);
    const std::vector<std::string> valid = { PatternWriter::writeRle(cells, 3),
        PatternWriter::writePlaintext(cells, "x"), "#N G\nx = 3, y = 3, rule = B3/S23\nbo$2bo$3o!\n",
        "x = 120, y = 2\n118b2o$3.A!", "!Name: B\nOO.\nO.*\n\n.O\n",
        "#Life 1.05\n#R 23/3\n#P -3 -1\n**\n.*\n#P 50 4\n*\n", "#Life 1.06\n0 -1\n1 0\n-1 1\n0 1\n1 1\n" };
    const std::vector<std::string> tokens
        = { "$", "!", "\n", "o", "b", "#P ", "-", "x = ", "999999999", "\xEF\xBB\xBF", "\r\n", "\xC3", " ", "119" };

    int accepted = 0;
    for (int i = 0; i < 20000; ++i) {
        std::string file = valid[generator() % valid.size()];
        for (int m = 1 + generator() % 4; m > 0; --m) {
            const std::size_t at = generator() % (file.size() + 1);
            const unsigned kind = generator() % 6;
            if (kind < 2) // a few bytes, or all to the end
                file.erase(at, kind == 0 ? std::string::npos : generator() % 8);
            else if (kind == 2)
                file.insert(at, 1 + generator() % 24, static_cast<char>('0' + generator() % 10));
            else if (kind == 3)
                file.insert(at, tokens[generator() % tokens.size()]);
            else // a random byte, in place of the one there or before it
                file.replace(at, kind == 4 && at < file.size() ? 1 : 0, 1, static_cast<char>(generator()));
        }

        Pattern pattern;
        std::string error;
        PatternReader::Limits limits;
        limits.cells = 100000;
        const bool read = PatternReader::read(file, pattern, error, limits);
        accepted += read;
        const QString outcome = read ? picture(pattern) : QString::fromStdString(error);
        // Read: UTF-8 text whose pattern fits; refused: a one-line message.
        QVERIFY2(read ? isUtf8(file) && !outcome.startsWith("misfit") : !outcome.isEmpty() && !outcome.contains('\n'),
            qPrintable(QString("file %1: %2").arg(i).arg(outcome)));
    }
    qInfo("%d of the damaged files were still read", accepted);
    // Both outcomes must be common, or the damage is too light or too heavy to test anything.
    QVERIFY(accepted > 1000 && accepted < 19000);
}

QTEST_GUILESS_MAIN(TestPatternReader)
#include "tst_patternreader.moc"
