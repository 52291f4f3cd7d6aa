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

    QTest::newRow("standard") << "B3/S23"
                              << "B3/S23";
    QTest::newRow("any case, no slash, unordered") << "b63s32"
                                                   << "B36/S23";
    QTest::newRow("survival first") << "S23/B36"
                                    << "B36/S23";
    QTest::newRow("digits only: survival, then birth") << "23/36"
                                                       << "B36/S23";
    QTest::newRow("torus suffix, blanks") << " B3 / S23:T120,120 "
                                          << "B3/S23:T120,120";
    QTest::newRow("plane suffix, lower case, name") << "highlife:p72, 48"
                                                    << "B36/S23:P72,48";
    QTest::newRow("largest plane") << "B3/S23:P32768,32768"
                                   << "B3/S23:P32768,32768";
    QTest::newRow("empty survival") << "B2/S"
                                    << "B2/S";
    QTest::newRow("birth only") << "B234"
                                << "B234/S";
    QTest::newRow("survival only") << "s23"
                                   << "B/S23";
    QTest::newRow("birth on 0") << "B0/S8"
                                << "B0/S8";
    QTest::newRow("name") << "Life"
                          << "B3/S23";
    QTest::newRow("name, other spelling") << "dayandnight"
                                          << "B3678/S34678";
    QTest::newRow("name with sign") << "2×2"
                                    << "B36/S125";
    QTest::newRow("name, another") << "Move"
                                   << "B368/S245";
    QTest::newRow("nine") << "B39/S23"
                          << "\"B39/S23\"|9";
    QTest::newRow("non-totalistic, letters kept") << "B37/S2-i34q"
                                                  << "B37/S2-i34q";
    QTest::newRow("non-totalistic, shorter way out, letters ordered") << "B2-ac3ai/S1c2-n3-aky4a"
                                                                      << "B2-ca3ai/S1c2-n3-kay4a";
    QTest::newRow("non-totalistic, underscore, no slash") << "b3_s23-a4ei6"
                                                          << "B3/S23-a4ei6";
    QTest::newRow("every letter is the count") << "B2cekain/S"
                                               << "B2/S";
    QTest::newRow("more letters out than in") << "B3cekainy/S23"
                                              << "B3-qjr/S23";
    QTest::newRow("letter of no shape") << "B3/S2x"
                                        << "\"B3/S2x\"|\"x\"|2";
    QTest::newRow("letter after 8") << "B3/S8c"
                                    << "\"c\"|8";
    QTest::newRow("minus alone") << "B3-/S23"
                                 << "\"B3-/S23\"|B/S notation";
    QTest::newRow("letter first") << "Ba3/S23"
                                  << "follows no count";
    QTest::newRow("generations, letters") << "B2/S/3"
                                          << "B2/S/C3";
    QTest::newRow("generations, digits") << "345/2/4"
                                         << "B2/S345/C4";
    QTest::newRow("generations, two states") << "B3/S23/C2:T8,8"
                                             << "B3/S23:T8,8";
    QTest::newRow("generations, most states") << "B2/S/C256"
                                              << "B2/S/C256";
    QTest::newRow("generations, too many") << "B2/S/C257"
                                           << "2 to 256 states";
    QTest::newRow("generations, too few") << "B2/S/C1"
                                          << "2 to 256 states";
    QTest::newRow("name of generations") << "Brian's Brain"
                                         << "B2/S/C3";
    QTest::newRow("hexagonal") << "B2/S34H"
                               << "B2/S34H";
    QTest::newRow("hexagonal, shapes") << "B2o/S2-p34mh"
                                       << "B2o/S2-p34mH";
    QTest::newRow("hexagonal generations") << "B2/S34/C5H:P20,20"
                                           << "B2/S34/C5H:P20,20";
    QTest::newRow("hexagonal, 7") << "B7/S34H"
                                  << "only 6 neighbours";
    QTest::newRow("hexagonal, Moore letter") << "B2a/S34H"
                                             << "\"a\"|(omp)";
    QTest::newRow("von neumann") << "B1/S1V"
                                 << "B1/S1V";
    QTest::newRow("von neumann, 5") << "B5/S1V"
                                    << "only 4 neighbours";
    QTest::newRow("von neumann, letters") << "B2c/S1V"
                                          << "in this neighbourhood";
    QTest::newRow("unknown name") << "Bosco"
                                  << "\"Bosco\"|not a rule name";
    QTest::newRow("two births") << "B3/B23"
                                << "\"B3/B23\"|B/S notation";
    QTest::newRow("empty") << ":T10"
                           << "empty";
    QTest::newRow("line break, one line") << "B3\nx/S23"
                                          << "\"B3 x/S23\"|non-totalistic";
    QTest::newRow("history") << "lifehistory:T30,20"
                             << "LifeHistory:T30,20";
    QTest::newRow("klein bottle") << "B3/S23:K10,10"
                                  << "\":K10,10\"|Klein bottle";
    QTest::newRow("cross-surface") << "B3/S23:c10,10"
                                   << "B3/S23:C10,10";
    QTest::newRow("sphere, both sizes") << "B3/S23:S10,10"
                                        << "B3/S23:S10";
    QTest::newRow("sphere") << "life:s 30"
                            << "B3/S23:S30";
    QTest::newRow("shifted torus") << "B3/S23:T10+2,10"
                                   << "B3/S23:T10+2,10";
    QTest::newRow("torus shifted at the sides") << "B3/S23:T30,20-3"
                                                << "B3/S23:T30,20-3";
    QTest::newRow("shift past the length") << "B3/S23:T30+37,20"
                                           << "B3/S23:T30+7,20";
    QTest::newRow("shift the shorter way") << "B3/S23:T30+23,20"
                                           << "B3/S23:T30-7,20";
    QTest::newRow("shift by half") << "B3/S23:T10-5,10"
                                   << "B3/S23:T10+5,10";
    QTest::newRow("shift all the way round") << "B3/S23:T10,3+6"
                                             << "B3/S23:T10,3";
    QTest::newRow("klein bottle, twisted top and bottom") << "B3/S23:K40*,20"
                                                          << "B3/S23:K40*,20";
    QTest::newRow("klein bottle, twisted sides") << "B3/S23:k40,20*"
                                                 << "B3/S23:K40,20*";
    QTest::newRow("klein bottle, both twisted") << "B3/S23:K40*,20*"
                                                << "one pair";
    QTest::newRow("klein bottle, shifted") << "B3/S23:K40+1,20"
                                           << "one pair";
    QTest::newRow("sphere, not square") << "B3/S23:S30,20"
                                        << "\":S30,20\"|square";
    QTest::newRow("torus shifted twice") << "B3/S23:T30+1,20+1"
                                         << "not both";
    QTest::newRow("cross-surface, starred") << "B3/S23:C40*,20"
                                            << "cross-surface";
    QTest::newRow("plane, shifted") << "B3/S23:P10+1,5"
                                    << "neither shifted nor twisted";
    QTest::newRow("shift without digits") << "B3/S23:T10+,5"
                                          << "malformed";
    QTest::newRow("twisted torus") << "B3/S23:T10,10*"
                                   << "\":T10,10*\"|twisted";
    QTest::newRow("negative width") << "B3/S23:T-5,10"
                                    << "\":T-5,10\"|negative size";
    QTest::newRow("negative height, shifted") << "B3/S23:P10+1,-5"
                                              << "\":P10+1,-5\"|negative size";
    QTest::newRow("tube") << "B3/S23:t 0,68"
                          << "B3/S23:T0,68";
    QTest::newRow("upright tube") << "B3/S23:T68,0"
                                  << "B3/S23:T68,0";
    QTest::newRow("strip") << "B3/S23:P0,40"
                           << "B3/S23:P0,40";
    QTest::newRow("shifted tube") << "B3/S23:T0+3,10"
                                  << "\":T0+3,10\"|strip";
    QTest::newRow("endless klein bottle") << "B3/S23:K0*,10"
                                          << "\":K0*,10\"|strip";
    QTest::newRow("no size") << "B3/S23:T0,0"
                             << "\":T0,0\"|no size";
    QTest::newRow("strip too wide") << "B3/S23:P0,1048577"
                                    << "\":P0,1048577\"|1048576 cells";
    QTest::newRow("one size") << "B3/S23:T10"
                              << "\":T10\"|malformed";
    QTest::newRow("no universe") << "B3/S23:"
                                 << "\":\"|no universe";
    QTest::newRow("plane too large") << "B3/S23:P32768,32769"
                                     << "\":P32768,32769\"|1073741824 cells";
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
