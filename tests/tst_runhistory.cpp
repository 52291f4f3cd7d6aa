#include <QTest>

#include <string>
#include <vector>

#include "model/analysis/runhistory.h"
#include "model/engine/packedfield.h"
#include "model/engine/rule.h"
#include "model/files/pattern.h"
#include "model/files/patternreader.h"
#include "warningguard.h"

Q_DECLARE_METATYPE(RunHistory::Fate)

namespace
{

// Fields of equal population collide, as they often do within a run: only
// the comparison of the fields themselves can tell a cycle from a false match.
std::uint64_t population(const PackedField &field) { return static_cast<std::uint64_t>(field.population()); }

} // namespace

// Where patterns go: fates known from the patterns themselves, and the first
// repeat found by comparing every field with every earlier one.
class TestRunHistory : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { WarningGuard::install(); }
    void settles_data();
    void settles();
};

void TestRunHistory::settles_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<RunHistory::Fate>("fate"); // Evolving: the first repeat tells
    QTest::addColumn<int>("start"); // G, with the file as generation 57; -1: the first repeat tells
    QTest::addColumn<int>("period"); // P

    using Fate = RunHistory::Fate;
    QTest::newRow("blinker") << QByteArray("x = 3, y = 1\n3o!") << Fate::Oscillating << 57 << 2;
    QTest::newRow("block") << QByteArray("x = 2, y = 2\n2o$2o!") << Fate::Still << 57 << 1;
    QTest::newRow("pentadecathlon") << QByteArray("x = 10, y = 3\n2bo4bo$2ob4ob2o$2bo4bo!") << Fate::Oscillating << 57
                                    << 15;
    QTest::newRow("diehard: empty at 130 on")
        << QByteArray("x = 8, y = 3\n6bo$2o$bo3b3o!") << Fate::DiedOut << 57 + 130 << 1;
    QTest::newRow("glider into a corner") << QByteArray("x = 3, y = 3\nbo$2bo$3o!") << Fate::Still << -1 << 1;
    QTest::newRow("r-pentomino") << QByteArray("x = 3, y = 3\nb2o$2o$bo!") << Fate::Oscillating << -1 << -1;
    QTest::newRow("seeds") << QByteArray("x = 2, y = 1, rule = B2/S\n2o!") << Fate::Evolving << -1 << -1;
    QTest::newRow("birth on 0") << QByteArray("x = 1, y = 1, rule = B0/S\no!") << Fate::Evolving << -1 << -1;
}

void TestRunHistory::settles()
{
    QFETCH(QByteArray, file);
    QFETCH(RunHistory::Fate, fate);
    QFETCH(int, start);
    QFETCH(int, period);

    Pattern pattern;
    std::string error;
    QVERIFY2(PatternReader::read(file.toStdString(), pattern, error), error.c_str());
    const Rule rule = pattern.rule.value_or(Rule());

    // Every field until the first that equals an earlier one.
    std::vector<PackedField> fields { pattern.centred() };
    int repeatOf = -1;
    while (repeatOf < 0) {
        fields.push_back(fields.back().next(rule));
        for (std::size_t i = 0; i + 1 < fields.size() && repeatOf < 0; ++i) {
            if (fields[i] == fields.back())
                repeatOf = static_cast<int>(i);
        }
    }
    const int firstRepeat = static_cast<int>(fields.size()) - 1;
    if (start < 0) {
        start = 57 + repeatOf;
        period = firstRepeat - repeatOf;
    }
    if (fate == RunHistory::Fate::Evolving) {
        const bool dead = fields[static_cast<std::size_t>(repeatOf)].population() == 0;
        fate = period > 1 ? RunHistory::Fate::Oscillating : dead ? RunHistory::Fate::DiedOut : RunHistory::Fate::Still;
    }

    for (const RunHistory::HashFunction hash : { RunHistory::HashFunction(nullptr), &population }) {
        // Each false match costs a recomputation: the long runs only with the real hash.
        if (hash && firstRepeat > 150)
            continue;
        RunHistory history(hash);
        history.reset(fields[0], 57, rule);
        for (int i = 1; i <= firstRepeat; ++i) {
            // Not a generation too early, nor too late.
            QCOMPARE(history.isSettled(), false);
            history.append(fields[static_cast<std::size_t>(i)]);
        }
        QCOMPARE(history.fate(), fate);
        QCOMPARE(history.cycleStart(), start);
        QCOMPARE(history.period(), period);
        QCOMPARE(history.lastGeneration(), 57 + firstRepeat);
        QCOMPARE(history.population(start), fields[static_cast<std::size_t>(start - 57)].population());
    }
}

QTEST_GUILESS_MAIN(TestRunHistory)
#include "tst_runhistory.moc"
