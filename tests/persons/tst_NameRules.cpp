#include "Dataset.h"
#include "IncrementalSearch.h"
#include "NameRules.h"
#include "TextCollation.h"

#include <QTest>

class TestNameRules : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void capitaliseName_data();
    void capitaliseName();
    void composeFullName_data();
    void composeFullName();
    void checkAccountNumber_data();
    void checkAccountNumber();
    void incrementalSearch_data();
    void incrementalSearch();
    void typedTextNarrows_data();
    void typedTextNarrows();
    void rangeHoldsEveryMatch_data();
    void rangeHoldsEveryMatch();
};

void TestNameRules::capitaliseName_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::newRow("mixed case") << "mARIJA" << "Marija";
    QTest::newRow("two words") << "Ana Marija" << "Ana marija";
    QTest::newRow("Slovenian letters") << "čRTOMIR" << "Črtomir";
    QTest::newRow("trailing blank after a right name stays") << "Janez " << "Janez ";
    QTest::newRow("trailing blank after a wrong name goes") << "janez " << "Janez";
    QTest::newRow("empty") << "" << "";
}

void TestNameRules::capitaliseName()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QCOMPARE(CapitaliseName(typed), written);
}

void TestNameRules::composeFullName_data()
{
    QTest::addColumn<QStringList>("parts"); // title, first, middle, surname
    QTest::addColumn<QString>("fullName");
    QTest::newRow("title, first and surname") << QStringList{"Dr.", "Janez", "", "Novak"} << "Dr. Janez Novak";
    QTest::newRow("first and surname") << QStringList{"", "Janez", "", "Novak"} << "Janez Novak";
    QTest::newRow("all four") << QStringList{"mag.", "Ana", "Marija", "Kos"} << "mag. Ana Marija Kos";
    QTest::newRow("two empty parts leave two blanks") << QStringList{"Dr.", "", "", "Novak"} << "Dr.  Novak";
    QTest::newRow("blanks inside parts") << QStringList{"", "Ana  ", "", "Kos"} << "Ana  Kos";
    QTest::newRow("nothing") << QStringList{"", "", "", ""} << "";
}

void TestNameRules::composeFullName()
{
    QFETCH(QStringList, parts);
    QFETCH(QString, fullName);
    QCOMPARE(ComposeFullName(parts[0], parts[1], parts[2], parts[3]), fullName);
}

void TestNameRules::checkAccountNumber_data()
{
    QTest::addColumn<QString>("account");
    QTest::addColumn<bool>("valid");
    QTest::newRow("valid") << "05100-1000000036" << true;
    QTest::newRow("wrong check digits") << "05100-1000000037" << false;
    QTest::newRow("blanks and dashes ignored") << "05100 10000000-36" << true;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("only the mask's separator") << "-" << true;
    QTest::newRow("the empty mask") << "     -          " << true;
    QTest::newRow("too short") << "05100-100000003" << false;
    QTest::newRow("letters") << "05100-10000000AB" << false;
}

void TestNameRules::checkAccountNumber()
{
    QFETCH(QString, account);
    QFETCH(bool, valid);
    QCOMPARE(CheckAccountNumber(account), valid);
}

void TestNameRules::incrementalSearch_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("shown");
    QTest::newRow("beginning, any case") << "Novak Ana" << "NOV" << true;
    QTest::newRow("not the beginning") << "Ana Novak" << "NOV" << false;
    QTest::newRow("Slovenian letters, any case") << "Čeh Bojan" << "čE" << true;
    QTest::newRow("C is not Č") << "Čeh Bojan" << "CE" << false;
    QTest::newRow("asterisk alone: everything") << "Ana" << "*" << true;
    QTest::newRow("asterisk and letters: anywhere") << "Ana Novak" << "*OVA" << true;
    QTest::newRow("asterisk and letters not there") << "Ana Novak" << "*KOS" << false;
    QTest::newRow("blank text: everything") << "Ana" << "  " << true;
    QTest::newRow("empty value") << "" << "A" << false;
    QTest::newRow("blank typed after the name") << "Ana Novak" << "ANA " << true;
    QTest::newRow("longer than the value") << "Ana" << "ANAS" << false;
}

void TestNameRules::incrementalSearch()
{
    QFETCH(QString, value);
    QFETCH(QString, typed);
    QFETCH(bool, shown);
    QCOMPARE(IncrementalSearch::matches(value, typed), shown);
}

void TestNameRules::typedTextNarrows_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("narrows");
    QTest::newRow("a letter more") << "AN" << "ANA" << true;
    QTest::newRow("first letter") << "" << "A" << true;
    QTest::newRow("from the asterisk") << "*" << "*OV" << true;
    QTest::newRow("a letter more, anywhere") << "*OV" << "*OVA" << true;
    QTest::newRow("anywhere, letters around") << "*OV" << "*NOVA" << true;
    QTest::newRow("a letter less") << "ANA" << "AN" << false;
    QTest::newRow("another letter") << "AN" << "AB" << false;
    QTest::newRow("beginning to anywhere") << "A" << "*A" << false;
    QTest::newRow("anywhere to beginning") << "*A" << "AB" << false;
    QTest::newRow("to everything") << "AN" << "" << false;
    QTest::newRow("everything stays") << "" << "*" << true;
}

void TestNameRules::typedTextNarrows()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(bool, narrows);
    IncrementalSearch search;
    search.setText(before);
    QCOMPARE(search.setText(after), narrows);
}

void TestNameRules::rangeHoldsEveryMatch_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<bool>("inOrder");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("candidates"); // -1: every row
    const QStringList names{"Mulder", "Mullins", "Müller", "MULLER", "mule", "Mu", "", "Novak", "Novák", "Čampa", "Campa",
                            "Ćosić", "Zupan", "Žagar", "Šola", "Sola", "1. maj", "Ana-Marija", "Ana Marija", "ab"};
    QTest::newRow("accent between") << names << true << "MUL" << 5;
    QTest::newRow("accent typed") << names << true << "MÜL" << 5;
    QTest::newRow("own letter") << names << true << "Č" << 1;
    QTest::newRow("base letter") << names << true << "C" << 1;
    QTest::newRow("last letter") << names << true << "Ž" << 1;
    QTest::newRow("digit") << names << true << "1" << 1;
    QTest::newRow("blank and dash") << names << true << "ANA " << 1;
    QTest::newRow("all of a name") << names << true << "MULDER" << 1;
    QTest::newRow("longer than any") << names << true << "MULDERSSON" << 0;
    QTest::newRow("before all") << names << true << "!" << 0;
    QTest::newRow("after all") << names << true << "ŽŽ" << 0;
    QTest::newRow("anywhere") << names << true << "*UL" << -1;
    QTest::newRow("not in order") << names << false << "MUL" << -1;
    // Folding gives this sign the weight of another letter: the rows are not in the order of their folded texts.
    QTest::newRow("Kelvin sign") << (names + QStringList{QStringLiteral("\u212Aelvin"), "Kos"}) << true << "K" << -1;
    QTest::newRow("outside Latin") << QStringList{"Дмитрий", "дмитрий", "Άννα", "ἀλφα"} << true << "Д" << -1;
    QTest::newRow("surrogates") << QStringList{"a", QStringLiteral("\U0001D49Cb"), QStringLiteral("\U0001D49Cc"), "z"} << true
                                << QStringLiteral("\U0001D49C") << 2;
}

void TestNameRules::rangeHoldsEveryMatch()
{
    QFETCH(QStringList, names);
    QFETCH(bool, inOrder);
    QFETCH(QString, typed);
    QFETCH(int, candidates);
    if (inOrder)
        std::stable_sort(names.begin(), names.end(), [](const QString &a, const QString &b) { return TextCollation::compare(a, b) < 0; });
    Dataset rows;
    rows.setMemoryFields({QStringLiteral("Ime")});
    rows.open();
    for (const QString &name : names) {
        rows.append();
        rows.setValue(0, name.isEmpty() ? QVariant() : QVariant(name));
        rows.post();
    }
    IncrementalSearch search;
    search.setRows(rows, QStringLiteral("Ime"));
    search.setText(typed);
    const auto [first, last] = search.candidates();
    QCOMPARE(last - first, candidates < 0 ? int(names.size()) : candidates);
    for (int row = 0; row < int(names.size()); ++row)
        if (search.accepts(row))
            QVERIFY2(row >= first && row < last, qPrintable(names[row]));
}

QTEST_GUILESS_MAIN(TestNameRules)
#include "tst_NameRules.moc"
