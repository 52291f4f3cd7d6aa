#include <QTest>

#include <optional>
#include <string>

#include "model/engine/rule.h"
#include "warningguard.h"

// Rules as files and people spell them, and what is not a Life-like rule.
class TestRule : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { WarningGuard::install(); }
    void reads_data();
    void reads();
    void namedRulesReadAsTheirNotation();
};

void TestRule::reads_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("result"); // the rule printed, or parts of the refusal split at '|'
    const auto row = [](const char *name, const char *text, const char *result) {
        QTest::newRow(name) << QString(text) << QString(result);
    };

    row("standard", "B3/S23", "B3/S23");
    row("any case, no slash, unordered", "b63s32", "B36/S23");
    row("survival first", "S23/B36", "B36/S23");
    row("digits only: survival, then birth", "23/36", "B36/S23");
    row("torus suffix, blanks", " B3 / S23:T120,120 ", "B3/S23:T120,120");
    row("plane suffix, lower case, name", "highlife:p72, 48", "B36/S23:P72,48");
    row("largest plane", "B3/S23:P32768,32768", "B3/S23:P32768,32768");
    row("empty survival", "B2/S", "B2/S");
    row("birth only", "B234", "B234/S");
    row("survival only", "s23", "B/S23");
    row("birth on 0", "B0/S8", "B0/S8");
    row("name", "Life", "B3/S23");
    row("name, other spelling", "dayandnight", "B3678/S34678");
    row("name with sign", "2×2", "B36/S125");
    row("name, another", "Move", "B368/S245");
    row("nine", "B39/S23", "\"B39/S23\"|9");
    row("non-totalistic, letters kept", "B37/S2-i34q", "B37/S2-i34q");
    row("non-totalistic, shorter way out, letters ordered", "B2-ac3ai/S1c2-n3-aky4a", "B2-ca3ai/S1c2-n3-kay4a");
    row("non-totalistic, underscore, no slash", "b3_s23-a4ei6", "B3/S23-a4ei6");
    row("every letter is the count", "B2cekain/S", "B2/S");
    row("more letters out than in", "B3cekainy/S23", "B3-qjr/S23");
    row("letter of no shape", "B3/S2x", "\"B3/S2x\"|\"x\"|2");
    row("letter after 8", "B3/S8c", "\"c\"|8");
    row("minus alone", "B3-/S23", "\"B3-/S23\"|B/S notation");
    row("letter first", "Ba3/S23", "follows no count");
    row("generations, letters", "B2/S/3", "B2/S/C3");
    row("generations, digits", "345/2/4", "B2/S345/C4");
    row("generations, two states", "B3/S23/C2:T8,8", "B3/S23:T8,8");
    row("generations, most states", "B2/S/C256", "B2/S/C256");
    row("generations, too many", "B2/S/C257", "2 to 256 states");
    row("generations, too few", "B2/S/C1", "2 to 256 states");
    row("name of generations", "Brian's Brain", "B2/S/C3");
    row("hexagonal", "B2/S34H", "B2/S34H");
    row("hexagonal, shapes", "B2o/S2-p34mh", "B2o/S2-p34mH");
    row("hexagonal generations", "B2/S34/C5H:P20,20", "B2/S34/C5H:P20,20");
    row("hexagonal, 7", "B7/S34H", "only 6 neighbours");
    row("hexagonal, Moore letter", "B2a/S34H", "\"a\"|(omp)");
    row("von neumann", "B1/S1V", "B1/S1V");
    row("von neumann, 5", "B5/S1V", "only 4 neighbours");
    row("von neumann, letters", "B2c/S1V", "in this neighbourhood");
    row("unknown name", "Bosco", "\"Bosco\"|not a rule name");
    row("two births", "B3/B23", "\"B3/B23\"|B/S notation");
    row("empty", ":T10", "empty");
    row("line break, one line", "B3\nx/S23", "\"B3 x/S23\"|non-totalistic");
    row("history", "lifehistory:T30,20", "LifeHistory:T30,20");
    row("klein bottle", "B3/S23:K10,10", "\":K10,10\"|Klein bottle");
    row("cross-surface", "B3/S23:c10,10", "B3/S23:C10,10");
    row("sphere, both sizes", "B3/S23:S10,10", "B3/S23:S10");
    row("sphere", "life:s 30", "B3/S23:S30");
    row("shifted torus", "B3/S23:T10+2,10", "B3/S23:T10+2,10");
    row("torus shifted at the sides", "B3/S23:T30,20-3", "B3/S23:T30,20-3");
    row("shift past the length", "B3/S23:T30+37,20", "B3/S23:T30+7,20");
    row("shift the shorter way", "B3/S23:T30+23,20", "B3/S23:T30-7,20");
    row("shift by half", "B3/S23:T10-5,10", "B3/S23:T10+5,10");
    row("shift all the way round", "B3/S23:T10,3+6", "B3/S23:T10,3");
    row("klein bottle, twisted top and bottom", "B3/S23:K40*,20", "B3/S23:K40*,20");
    row("klein bottle, twisted sides", "B3/S23:k40,20*", "B3/S23:K40,20*");
    row("klein bottle, both twisted", "B3/S23:K40*,20*", "one pair");
    row("klein bottle, shifted", "B3/S23:K40+1,20", "one pair");
    row("sphere, not square", "B3/S23:S30,20", "\":S30,20\"|square");
    row("torus shifted twice", "B3/S23:T30+1,20+1", "not both");
    row("cross-surface, starred", "B3/S23:C40*,20", "cross-surface");
    row("plane, shifted", "B3/S23:P10+1,5", "neither shifted nor twisted");
    row("shift without digits", "B3/S23:T10+,5", "malformed");
    row("twisted torus", "B3/S23:T10,10*", "\":T10,10*\"|twisted");
    row("negative width", "B3/S23:T-5,10", "\":T-5,10\"|negative size");
    row("negative height, shifted", "B3/S23:P10+1,-5", "\":P10+1,-5\"|negative size");
    row("tube", "B3/S23:t 0,68", "B3/S23:T0,68");
    row("upright tube", "B3/S23:T68,0", "B3/S23:T68,0");
    row("strip", "B3/S23:P0,40", "B3/S23:P0,40");
    row("shifted tube", "B3/S23:T0+3,10", "\":T0+3,10\"|strip");
    row("endless klein bottle", "B3/S23:K0*,10", "\":K0*,10\"|strip");
    row("no size", "B3/S23:T0,0", "\":T0,0\"|no size");
    row("strip too wide", "B3/S23:P0,1048577", "\":P0,1048577\"|1048576 cells");
    row("one size", "B3/S23:T10", "\":T10\"|malformed");
    row("no universe", "B3/S23:", "\":\"|no universe");
    row("plane too large", "B3/S23:P32768,32769", "\":P32768,32769\"|1073741824 cells");
}

void TestRule::reads()
{
    QFETCH(QString, text);
    QFETCH(QString, result);

    Rule rule;
    std::string unused;
    Rule::read("B36/S125", rule, unused);
    const Rule before = rule;
    const std::optional<Topology> earlier = Topology::torus(5, 5);
    std::optional<Topology> topology = earlier;
    std::string error;
    const bool read = Rule::read(text.toStdString(), rule, topology, error);
    if (!result.contains('|') && (result.startsWith('B') || result.startsWith("Life"))) {
        QVERIFY2(read, error.c_str());
        QCOMPARE(QString::fromStdString(topology ? rule.toString(*topology) : rule.toString()), result);
        return;
    }
    QVERIFY(!read);
    QVERIFY(rule == before && topology == earlier);
    for (const QString &part : result.split('|'))
        QVERIFY2(QString::fromStdString(error).contains(part), error.c_str());
}

void TestRule::namedRulesReadAsTheirNotation()
{
    for (const Rule::Named &named : Rule::namedRules) {
        Rule byName;
        Rule byNotation;
        std::string error;
        QVERIFY2(Rule::read(named.name, byName, error), named.name);
        QVERIFY2(Rule::read(named.notation, byNotation, error), named.notation);
        QVERIFY(byName == byNotation);
        QCOMPARE(byNotation.toString(), std::string(named.notation));
        QCOMPARE(byName.name(), std::string(named.name));
    }
}

QTEST_GUILESS_MAIN(TestRule)
#include "tst_rule.moc"
