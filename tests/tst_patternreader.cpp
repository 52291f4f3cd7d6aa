#include <QStringList>
#include <QTest>

#include <random>
#include <string>
#include <vector>

#include "model/gamefield.h"
#include "model/pattern.h"
#include "model/patternreader.h"
#include "model/patternwriter.h"
#include "warningguard.h"

namespace
{

constexpr int N = GameField::FieldSize;
const QString NotAPattern = "not a pattern file: expected RLE, plaintext, Life 1.05 or Life 1.06";

// The box's rows joined by '/', each without its dead end, or which cell lies
// outside the box or twice in it. Precondition: width and height 0..120.
QString picture(const Pattern &pattern)
{
    std::vector<QString> rows(pattern.height, QString(pattern.width, '.'));
    for (const PatternCell &cell : pattern.cells) {
        if (cell.row < 0 || cell.row >= pattern.height || cell.column < 0 || cell.column >= pattern.width
            || rows[cell.row][cell.column] == 'O')
            return "cell (" + QString::number(cell.row) + ", " + QString::number(cell.column) + ") out of place";
        rows[cell.row][cell.column] = 'O';
    }
    QStringList trimmed;
    for (QString &row : rows) {
        while (row.endsWith('.'))
            row.chop(1);
        trimmed << row;
    }
    return trimmed.join('/');
}

void fillRandomly(GameField::Cell **buffer, std::mt19937 &generator, double density)
{
    std::bernoulli_distribution alive(density);
    for (int r = 1; r <= N; ++r) {
        for (int c = 1; c <= N; ++c)
            buffer[r][c] = alive(generator) ? 1 : 0;
    }
}

} // namespace

// Reading every format with its quirks, refusing every kind of bad file with a
// message that says what is wrong, and reading back what the writer wrote.
class TestPatternReader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void reads_data();
    void reads();
    void refuses_data();
    void refuses();
    void placesCentred_data();
    void placesCentred();
    void readsBackWhatWasWritten_data();
    void readsBackWhatWasWritten();
    void survivesMutatedFiles();
};

void TestPatternReader::initTestCase() { WarningGuard::install(); }

void TestPatternReader::reads_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("cells");

    QTest::newRow("rle, metadata") << QByteArray(
        "#N Glider\n#C c\n#O o\n#P 1 2\nx = 3, y = 3, rule = B3/S23\nbo$2bo$3o!\n")
                                   << "Glider" << 3 << 3 << ".O/..O/OOO";
    QTest::newRow("rle, no spaces") << QByteArray("x=3,y=2,rule=b3/s23\n3o$o!") << "" << 3 << 2 << "OOO/O";
    QTest::newRow("rle, S/B with suffix")
        << QByteArray("x = 2, y = 1, rule = S23/B3:T120,120\n2o!") << "" << 2 << 1 << "OO";
    QTest::newRow("rle, #r 23/3") << QByteArray("#r 23/3\nx = 1, y = 1\no!") << "" << 1 << 1 << "O";
    QTest::newRow("rle, . A and breaks between items")
        << QByteArray("x = 4, y = 2\n A . 2\nA $\n3.A\n!") << "" << 4 << 2 << "O.OO/...O";
    QTest::newRow("rle, row ends, no !") << QByteArray("x = 3, y = 4\no$2$2bo") << "" << 3 << 4 << "O///..O";
    QTest::newRow("rle, text after !") << QByteArray("x = 2, y = 1\n2o!zz 0 q\n#?") << "" << 2 << 1 << "OO";
    QTest::newRow("rle, widened") << QByteArray("x = 1, y = 1\n3o$bo2$o!") << "" << 3 << 4 << "OOO/.O//O";
    QTest::newRow("rle, declared box") << QByteArray("x = 10, y = 5\nbo!") << "" << 10 << 5 << ".O////";
    QTest::newRow("rle, empty box") << QByteArray("x = 0, y = 0\n!") << "" << 0 << 0 << "";
    QTest::newRow("rle, field size") << QByteArray("x = 120, y = 1\n120o!") << "" << 120 << 1 << QString(120, 'O');
    QTest::newRow("rle, BOM and CRLF") << QByteArray("\xEF\xBB\xBF#N Crlf\r\nx = 2, y = 2\r\no$bo!\r\n") << "Crlf" << 2
                                       << 2 << "O/.O";
    QTest::newRow("rle, blank lines, UTF-8")
        << QByteArray("\n \n#N Gleiter \xC3\xA4\nx = 1, y = 1\no!") << "Gleiter ä" << 1 << 1 << "O";
    QTest::newRow("plaintext") << QByteArray("!Name: Boat\n!other\nOO.\nO.*\n\n.O\n") << "Boat" << 3 << 4
                               << "OO/O.O//.O";
    QTest::newRow("plaintext, bare, CRLF") << QByteArray(".O.\r\n..O\r\nOOO\r\n") << "" << 3 << 3 << ".O/..O/OOO";
    QTest::newRow("life 1.05, blocks") << QByteArray("#Life 1.05\n#D two\n#N\n#P -3 -1\n**\n.*\n#P 2 4\n*\n") << "" << 6
                                       << 6 << "OO/.O////.....O";
    QTest::newRow("life 1.05, name, rule")
        << QByteArray("#Life 1.05\n#N Tiny\n#R 23/3\n#P 5 5\n.*\n") << "Tiny" << 1 << 1 << "O";
    QTest::newRow("life 1.06") << QByteArray("#Life 1.06\n0 -1\n1 0\n-1 1\n0 1\n1 1\n1 1\n") << "" << 3 << 3
                               << ".O/..O/OOO";
    QTest::newRow("life 1.06, empty") << QByteArray("#Life 1.06\n") << "" << 0 << 0 << "";
}

void TestPatternReader::reads()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, name);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QString, cells);

    Pattern pattern;
    std::string error;
    QVERIFY2(PatternReader::read(file.toStdString(), pattern, error), error.c_str());
    QCOMPARE(QString::fromStdString(pattern.name), name);
    QCOMPARE(pattern.width, width);
    QCOMPARE(pattern.height, height);
    QCOMPARE(picture(pattern), cells);
}

void TestPatternReader::refuses_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("message"); // parts the message must contain

    QTest::newRow("empty") << QByteArray() << QStringList { NotAPattern };
    QTest::newRow("blank") << QByteArray(" \n\t\r\n\n") << QStringList { NotAPattern };
    QTest::newRow("prose") << QByteArray("Hello, world\n") << QStringList { NotAPattern };
    QTest::newRow("no rle header") << QByteArray("#N Glider\nbo$2bo$3o!\n") << QStringList { NotAPattern };
    QTest::newRow("unknown Life version") << QByteArray("#Life 1.07\n0 0\n") << QStringList { NotAPattern };
    QTest::newRow("rle too wide") << QByteArray("x = 121, y = 3\n!") << QStringList { "121 x 3", "120 x 120" };
    QTest::newRow("rle enormous") << QByteArray("x = 99999999999999999999, y = 1\n")
                                  << QStringList { "over 999999999999999999 x 1" };
    QTest::newRow("rle widened too far") << QByteArray("x = 3, y = 3\n119b2o!") << QStringList { "line 2", "121 x 3" };
    QTest::newRow("rle huge live run") << QByteArray("x = 3, y = 3\n1000000000o!") << QStringList { "1000000000 x 3" };
    QTest::newRow("rle too tall") << QByteArray("x = 1, y = 1\n120$o!") << QStringList { "1 x 121", "120 x 120" };
    QTest::newRow("rle count 0") << QByteArray("x = 3, y = 1\n0o!") << QStringList { "line 2", "run count 0" };
    QTest::newRow("rle count overflow") << QByteArray("x = 3, y = 1\n99999999999999999999999b o!")
                                        << QStringList { "run count over 999999999999999999", "too large" };
    QTest::newRow("rle count before !") << QByteArray("x = 1, y = 1\no3!") << QStringList { "run count 3", "'!'" };
    QTest::newRow("rle count at end") << QByteArray("x = 1, y = 1\no\n3\n") << QStringList { "line 3", "run count 3" };
    QTest::newRow("rle other state") << QByteArray("x = 3, y = 1\nobC!")
                                     << QStringList { "line 2", "'C'", "cell state" };
    QTest::newRow("rle multi-state") << QByteArray("x = 3, y = 1\n\no2pA!") << QStringList { "line 3", "'p'" };
    QTest::newRow("rle stray") << QByteArray("x = 3, y = 1\no,o!") << QStringList { "line 2", "column 2", "','" };
    QTest::newRow("header, no comma") << QByteArray("x = 3 y = 3\no!")
                                      << QStringList { "line 1", "header", "\"x = 3 y = 3\"" };
    QTest::newRow("header, no width") << QByteArray("#C\nx = , y = 3\no!") << QStringList { "line 2", "header" };
    QTest::newRow("header, bare rule") << QByteArray("x = 3, y = 3, rule\no!") << QStringList { "header" };
    QTest::newRow("header, empty rule") << QByteArray("x = 3, y = 3, rule = \no!") << QStringList { "header" };
    QTest::newRow("header, negative") << QByteArray("x = -3, y = 3\no!") << QStringList { "header" };
    QTest::newRow("header, junk") << QByteArray("x = 3, y = 3 z\no!") << QStringList { "header" };
    const QString conwayOnly = "this program runs only Conway's Life (B3/S23)";
    QTest::newRow("rule in header") << QByteArray("x = 1, y = 1, rule = B36/S23\no!")
                                    << QStringList { "line 1", "\"B36/S23\"", conwayOnly };
    QTest::newRow("rule #r") << QByteArray("#r B3/S12\nx = 1, y = 1\no!")
                             << QStringList { "line 1", "B3/S12", conwayOnly };
    QTest::newRow("rule #R") << QByteArray("#Life 1.05\n#R 23/36\n") << QStringList { "line 2", "23/36", conwayOnly };
    QTest::newRow("plaintext letter") << QByteArray("!Name: x\n.O.\n..X\n")
                                      << QStringList { "line 3", "column 3", "'X'" };
    QTest::newRow("plaintext space") << QByteArray(".O.\nO O\n") << QStringList { "line 2", "column 2", "a space" };
    QTest::newRow("plaintext UTF-8") << QByteArray("!\n.\xC3\xA4\xC3\xA4\n")
                                     << QStringList { "line 2", "column 2", "'ä'" };
    QTest::newRow("plaintext too tall") << QByteArray("O\n").repeated(121) << QStringList { "1 x 121", "120 x 120" };
    QTest::newRow("plaintext too wide") << QByteArray(121, '.') << QStringList { "121 x 1", "120 x 120" };
    QTest::newRow("1.05 letter") << QByteArray("#Life 1.05\n#P 0 0\n.O\n")
                                 << QStringList { "line 3", "column 2", "'O'" };
    QTest::newRow("1.05 #P") << QByteArray("#Life 1.05\n#P 1\n") << QStringList { "line 2", "#P" };
    QTest::newRow("1.05 far") << QByteArray("#Life 1.05\n#P 1000000001 0\n*\n")
                              << QStringList { "line 2", "1000000001", "±1,000,000,000" };
    QTest::newRow("1.05 too wide") << QByteArray("#Life 1.05\n#P -60 0\n*\n#P 60 9\n*") << QStringList { "121 x 10" };
    QTest::newRow("1.06 three numbers") << QByteArray("#Life 1.06\n0 0\n1 2 3\n")
                                        << QStringList { "line 3", "\"1 2 3\"" };
    QTest::newRow("1.06 words") << QByteArray("#Life 1.06\nx y\n") << QStringList { "line 2", "\"x y\"" };
    QTest::newRow("1.06 far") << QByteArray("#Life 1.06\n0 0\n-1000000001 5\n")
                              << QStringList { "line 3", "1000000001" };
    QTest::newRow("1.06 too wide") << QByteArray("#Life 1.06\n0 0\n120 0\n") << QStringList { "line 3", "121 x 1" };
    QTest::newRow("NUL") << QByteArray("x = 1, y = 1\no\0!", 16) << QStringList { "line 2", "not a text file", "0x00" };
    QTest::newRow("control byte") << QByteArray("#N a\x07 b\n") << QStringList { "line 1", "0x07" };
    QTest::newRow("latin-1") << QByteArray("!Name: M\xFC\n") << QStringList { "line 1", "invalid UTF-8" };
    QTest::newRow("overlong UTF-8") << QByteArray("\n!\xC0\xAF\n") << QStringList { "line 2", "invalid UTF-8" };
    QTest::newRow("surrogate") << QByteArray("!\xED\xA0\x80\n") << QStringList { "invalid UTF-8" };
    QTest::newRow("cut UTF-8") << QByteArray("O\xE2\x82") << QStringList { "invalid UTF-8" };
    QTest::newRow("too large") << QByteArray(static_cast<int>(PatternReader::MaxFileSize) + 1, '.')
                               << QStringList { "1048577 bytes", "1048576" };
}

void TestPatternReader::refuses()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, message);

    Pattern pattern;
    pattern.name = "untouched";
    std::string error;
    QVERIFY(!PatternReader::read(std::string(file.constData(), file.size()), pattern, error));
    const QString text = QString::fromStdString(error);
    for (const QString &part : message)
        QVERIFY2(text.contains(part), qPrintable(text));
    if (message.first() == NotAPattern)
        QCOMPARE(text, NotAPattern);
    QVERIFY(!text.contains('\n'));
    QCOMPARE(pattern.name, std::string("untouched"));
    QVERIFY(pattern.cells.empty());
}

void TestPatternReader::placesCentred_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("row"); // of the one live cell, in the box
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("bufferRow"); // where it must land
    QTest::addColumn<int>("bufferColumn");

    QTest::newRow("1 x 1") << 1 << 1 << 0 << 0 << 60 << 60;
    QTest::newRow("3 x 3, odd margin") << 3 << 3 << 2 << 1 << 61 << 60;
    QTest::newRow("2 x 5") << 2 << 5 << 4 << 1 << 62 << 61;
    QTest::newRow("whole field") << 120 << 120 << 119 << 0 << 120 << 1;
}

void TestPatternReader::placesCentred()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, bufferRow);
    QFETCH(int, bufferColumn);

    GameField field;
    field.randomize();
    GameField::Cell **buffer = field.snapshot();
    Pattern pattern;
    pattern.width = width;
    pattern.height = height;
    pattern.cells = { { row, column } };
    pattern.placeCentred(buffer);
    for (int r = 0; r < GameField::BufferSize; ++r) {
        for (int c = 0; c < GameField::BufferSize; ++c)
            QCOMPARE(buffer[r][c], r == bufferRow && c == bufferColumn ? 1 : 0);
    }
}

void TestPatternReader::readsBackWhatWasWritten_data()
{
    QTest::addColumn<bool>("rle");
    QTest::addColumn<double>("density");

    for (const bool rle : { true, false }) {
        const char *format = rle ? "rle" : "plaintext";
        for (const double density : { 0.0, 0.005, 0.3, 0.7, 1.0 })
            QTest::addRow("%s, density %g", format, density) << rle << density;
    }
}

void TestPatternReader::readsBackWhatWasWritten()
{
    QFETCH(bool, rle);
    QFETCH(double, density);

    std::mt19937 generator(static_cast<unsigned>(density * 1000) + 17);
    GameField field;
    GameField::Cell **original = field.snapshot();
    fillRandomly(original, generator, density);
    const std::string file
        = rle ? PatternWriter::writeRle(original, 4711) : PatternWriter::writePlaintext(original, "Two\nlines");

    if (rle) {
        QVERIFY(file.rfind("#C Generation 4711\n", 0) == 0);
        QVERIFY(file.size() >= 2 && file.compare(file.size() - 2, 2, "!\n") == 0);
        for (std::size_t start = 0, end; (end = file.find('\n', start)) != std::string::npos; start = end + 1)
            QVERIFY2(end - start <= 70, file.substr(start, end - start).c_str());
    }

    Pattern pattern;
    std::string error;
    QVERIFY2(PatternReader::read(file, pattern, error), error.c_str());
    QCOMPARE(pattern.width, N);
    QCOMPARE(pattern.height, N);
    QCOMPARE(pattern.name, std::string(rle ? "" : "Two lines"));

    GameField target;
    target.randomize();
    GameField::Cell **placed = target.snapshot();
    pattern.placeCentred(placed);
    for (int r = 1; r <= N; ++r) {
        for (int c = 1; c <= N; ++c) {
            if (placed[r][c] != original[r][c])
                QFAIL(qPrintable(QString("cell (%1, %2) differs").arg(r).arg(c)));
        }
    }
}

// Random damage to valid files of every format: whatever the reader makes of
// it, it must either refuse with a message or return a pattern that fits.
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
            switch (generator() % 6) {
            case 0:
                if (at < file.size())
                    file[at] = static_cast<char>(generator());
                break;
            case 1:
                file.insert(at, 1, static_cast<char>(generator()));
                break;
            case 2:
                file.erase(at, generator() % 8);
                break;
            case 3:
                file.insert(at, 1 + generator() % 24, static_cast<char>('0' + generator() % 10));
                break;
            case 4:
                file.resize(at);
                break;
            default:
                file.insert(at, tokens[generator() % tokens.size()]);
                break;
            }
        }

        Pattern pattern;
        std::string error;
        if (PatternReader::read(file, pattern, error)) {
            ++accepted;
            QVERIFY2(pattern.width >= 0 && pattern.width <= N && pattern.height >= 0 && pattern.height <= N,
                qPrintable(QString("file %1: %2 x %3").arg(i).arg(pattern.width).arg(pattern.height)));
            const QString shape = picture(pattern);
            QVERIFY2(!shape.contains("out of place"), qPrintable(QString("file %1: %2").arg(i).arg(shape)));
        } else {
            QVERIFY2(!error.empty() && error.find('\n') == std::string::npos, qPrintable(QString("file %1").arg(i)));
        }
    }
    qInfo("%d of the damaged files were still read", accepted);
    // Both outcomes must be common, or the damage is too light or too heavy to test anything.
    QVERIFY(accepted > 1000 && accepted < 19000);
}

QTEST_GUILESS_MAIN(TestPatternReader)
#include "tst_patternreader.moc"
