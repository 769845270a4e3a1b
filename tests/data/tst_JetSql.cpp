#include "Database.h"
#include "DatabaseError.h"
#include "JetSql.h"
#include "PersonsFixture.h"
#include "TestDatabase.h"

#include <QSqlRecord>
#include <QTest>

namespace {

QString withFilter(const QString &statement, const QString &filter)
{
    return QString(statement).replace(QStringLiteral("//UsedFilter//"), filter.isEmpty() ? QString() : QStringLiteral(" And (") + filter + QLatin1Char(')'));
}

QString moduleSearch(const QString &command, const QString &progId)
{
    return QStringLiteral("SELECT TOsnovniPod.ID, TOsnovniPod.CelotnoIme, TSharingProgsQuery.SearchKWS "
                          "FROM (TSharingProgsQuery RIGHT JOIN TOsnovniPod ON TSharingProgsQuery.IDOsebe = TOsnovniPod.ID) LEFT JOIN TOsnovniPodVezaKategorje ON TOsnovniPod.ID = TOsnovniPodVezaKategorje.IDOsebe "
                          "WHERE (((TSharingProgsQuery.SearchKWS) Is Not Null) AND ((TSharingProgsQuery.ProgIDQueryCom) Like \"%1\") AND ((TSharingProgsQuery.ProgID) Like \"%2\")//UsedFilter//) "
                          "ORDER BY TSharingProgsQuery.SearchKWS;")
        .arg(command, progId);
}

const QString sharingProgsUpdate = QStringLiteral(
    "UPDATE TSharingProgsQuery INNER JOIN TSharingProgs ON TSharingProgsQuery.InProgIDOsebe = TSharingProgs.InProgIDOsebe SET TSharingProgsQuery.IDOsebe = [TSharingProgs].[IDOsebe]\n"
    "WHERE (((TSharingProgsQuery.ProgID) Like :ProgID1 ) AND ((TSharingProgs.ProgID) Like :ProgID2 ) AND ((TSharingProgsQuery.ProgIDQueryCom) Like :ProgIDQueryCom ));");

QString lines(std::initializer_list<const char *> parts)
{
    QStringList result;
    for (const char *part : parts)
        result << QString::fromUtf8(part);
    return result.join(QLatin1Char('\n'));
}

// The values of one column of every row, joined by ",".
QString column(QSqlQuery &query, const QString &name)
{
    QStringList values;
    while (query.next()) {
        const QVariant value = query.value(query.record().indexOf(name));
        values << (value.isNull() ? QString() : value.toString());
    }
    return values.join(QLatin1Char(','));
}

}

class TestJetSql : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void translation_data();
    void translation();
    void statements_data();
    void statements();
    void likeMatchesWhatJetMatches_data();
    void likeMatchesWhatJetMatches();
    void truthIsStoredAsJetWritesIt_data();
    void truthIsStoredAsJetWritesIt();
    void refusesWhatItCannotTranslate_data();
    void refusesWhatItCannotTranslate();
    void sharingProgsUpdateTiesKeywordsToPersons_data();
    void sharingProgsUpdateTiesKeywordsToPersons();
    void deletingAPersonKeepsAlarms_data();
    void deletingAPersonKeepsAlarms();
    void orderingIsSlovenian_data();
    void orderingIsSlovenian();
    void orderByResultColumns_data();
    void orderByResultColumns();
};

void TestJetSql::translation_data()
{
    QTest::addColumn<QString>("jet");
    QTest::addColumn<QString>("sqlite");
    QTest::addColumn<QString>("postgres");

    QTest::newRow("& joins each operand whole")
        << "SELECT [TKraj].[Naziv] & \", \" & Trim(Zip) & :P AS Kraj FROM TKraj WHERE (IDDRZAVA) & IDKRAJ * 2 = \"12\""
        << "SELECT COALESCE(CAST(TKraj.Naziv AS TEXT), '') || ', ' || COALESCE(CAST(Trim(Zip) AS TEXT), '') || COALESCE(CAST(:P AS TEXT), '') "
           "AS Kraj FROM TKraj WHERE COALESCE(CAST((IDDRZAVA) AS TEXT), '') || COALESCE(CAST(IDKRAJ * 2 AS TEXT), '') = '12'"
        << "SELECT COALESCE(CAST(TKraj.Naziv AS TEXT), '') || ', ' || COALESCE(CAST(Trim(Zip) AS TEXT), '') || COALESCE(CAST(:P AS TEXT), '') "
           "AS Kraj FROM TKraj WHERE COALESCE(CAST((IDDRZAVA) AS TEXT), '') || COALESCE(CAST(IDKRAJ * 2 AS TEXT), '') = '12'";
    QTest::newRow("DISTINCTROW keeps rows of the selected tables apart")
        << "SELECT DISTINCTROW TOsnovniPod.ID, TOsnovniPodVezaKontakt.Value FROM (TOsnovniPod LEFT JOIN TOsnovniPodVezaKategorje ON "
           "TOsnovniPod.ID = TOsnovniPodVezaKategorje.IDOsebe) LEFT JOIN TOsnovniPodVezaKontakt ON TOsnovniPod.ID = "
           "TOsnovniPodVezaKontakt.IDOsebe WHERE (Value Is Not Null And (IDkat=2)) ORDER BY TOsnovniPodVezaKontakt.Value;"
        << "SELECT TOsnovniPod.ID, TOsnovniPodVezaKontakt.Value FROM (TOsnovniPod LEFT JOIN TOsnovniPodVezaKategorje ON "
           "TOsnovniPod.ID = TOsnovniPodVezaKategorje.IDOsebe) LEFT JOIN TOsnovniPodVezaKontakt ON TOsnovniPod.ID = "
           "TOsnovniPodVezaKontakt.IDOsebe WHERE (Value Is Not Null And (IDkat=2)) GROUP BY TOsnovniPod.ID, TOsnovniPodVezaKontakt.ID "
           "ORDER BY TOsnovniPodVezaKontakt.Value COLLATE VELDRA;"
        << "SELECT TOsnovniPod.ID, TOsnovniPodVezaKontakt.Value FROM (TOsnovniPod LEFT JOIN TOsnovniPodVezaKategorje ON "
           "TOsnovniPod.ID = TOsnovniPodVezaKategorje.IDOsebe) LEFT JOIN TOsnovniPodVezaKontakt ON TOsnovniPod.ID = "
           "TOsnovniPodVezaKontakt.IDOsebe WHERE (Value Is Not Null And (IDkat=2)) GROUP BY TOsnovniPod.ID, TOsnovniPodVezaKontakt.ID "
           "ORDER BY TOsnovniPodVezaKontakt.Value NULLS FIRST;";
    QTest::newRow("DISTINCTROW leaves out a join that could only repeat rows")
        << "SELECT DISTINCTROW TOsnovniPod.ID, TOsnovniPodVezaKontakt.Value FROM (TOsnovniPod LEFT JOIN TOsnovniPodVezaKategorje ON "
           "TOsnovniPod.ID = TOsnovniPodVezaKategorje.IDOsebe) LEFT JOIN TOsnovniPodVezaKontakt ON TOsnovniPod.ID = "
           "TOsnovniPodVezaKontakt.IDOsebe WHERE (Value Is Not Null) ORDER BY TOsnovniPodVezaKontakt.Value;"
        << "SELECT TOsnovniPod.ID, TOsnovniPodVezaKontakt.Value FROM TOsnovniPod LEFT JOIN TOsnovniPodVezaKontakt ON TOsnovniPod.ID = "
           "TOsnovniPodVezaKontakt.IDOsebe WHERE (Value Is Not Null) ORDER BY TOsnovniPodVezaKontakt.Value COLLATE VELDRA;"
        << "SELECT TOsnovniPod.ID, TOsnovniPodVezaKontakt.Value FROM TOsnovniPod LEFT JOIN TOsnovniPodVezaKontakt ON TOsnovniPod.ID = "
           "TOsnovniPodVezaKontakt.IDOsebe WHERE (Value Is Not Null) ORDER BY TOsnovniPodVezaKontakt.Value NULLS FIRST;";
    QTest::newRow("DISTINCTROW over every joined table changes nothing")
        << "SELECT DISTINCTROW TKraj.Naziv FROM TKraj" << "SELECT TKraj.Naziv FROM TKraj" << "SELECT TKraj.Naziv FROM TKraj";
    QTest::newRow("DELETE * with nothing after it") << "DELETE *" << "DELETE " << "DELETE ";
    QTest::newRow("update with a join")
        << "UPDATE A1 INNER JOIN TSharingProgs ON A1.X = TSharingProgs.X SET A1.IDOsebe = [TSharingProgs].[IDOsebe] WHERE (A1.Y = :P);"
        << "UPDATE A1 SET IDOsebe = TSharingProgs.IDOsebe FROM TSharingProgs WHERE (A1.X = TSharingProgs.X) AND ((A1.Y = :P));"
        << "UPDATE A1 SET IDOsebe = TSharingProgs.IDOsebe FROM TSharingProgs WHERE (A1.X = TSharingProgs.X) AND ((A1.Y = :P));";
}

void TestJetSql::translation()
{
    QFETCH(QString, jet);
    QFETCH(QString, sqlite);
    QFETCH(QString, postgres);
    QCOMPARE(JetSql::translate(jet, SqlDialect::Sqlite), sqlite);
    QCOMPARE(JetSql::translate(jet, SqlDialect::Postgres), postgres);
}

void TestJetSql::statements_data()
{
    addDialectColumn();
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QVariantMap>("parameters");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("expected");

    const QVariantMap none;
    const QVariantMap ana{{QStringLiteral("IDOsebe"), 1}};
    const QVariantMap bojan{{QStringLiteral("IDOsebe"), 2}};

    struct Case { const char *name; QString statement; QVariantMap parameters; const char *column; const char *expected; };
    const Case cases[] = {
        {"module search before the keywords are tied", withFilter(moduleSearch(QStringLiteral("Q1"), QStringLiteral("AB")), {}), none, "ID", ""},
        {"person query", lines({"SELECT *", "FROM TOsnovniPod", "ORDER BY (CelotnoIme);"}), none, "CelotnoIme",
         "Alfa d.o.o.,Ana Novak,Bojan Čeh,Cvetka Zupan,Čebelica d.o.o."},
        {"contacts of a person",
         lines({"SELECT TOsnovniPodVezaKontakt.ID, TOsnovniPodVezaKontakt.IDOsebe, TOsnovniPodVezaKontakt.IDKontat, TOsnovniPodVezaKontakt.Value, TKontakti.Sort, TKontakti.Naziv, TKontakti.IkonaPath, TKontakti.Vrsta",
                "FROM TOsnovniPodVezaKontakt INNER JOIN TKontakti ON TOsnovniPodVezaKontakt.IDKontat = TKontakti.ID",
                "WHERE (((TOsnovniPodVezaKontakt.IDOsebe)=:IDOsebe ))", "ORDER BY TKontakti.Sort;"}),
         ana, "Naziv", "Telefon,Mobilni telefon,Elektronska pošta"},
        {"notes of a person",
         lines({"SELECT TOsnovniPodVezaOpombe.*", "FROM TOsnovniPodVezaOpombe", "WHERE (((TOsnovniPodVezaOpombe.IDOsebe)=:IDOsebe ))",
                "ORDER BY TOsnovniPodVezaOpombe.Sort;"}),
         bojan, "Value", "Dogovor o ceni,Poslati ponudbo"},
        {"extra data of a person",
         lines({"SELECT TOsnovniPodDodatno.*", "FROM TOsnovniPodDodatno", "WHERE (((TOsnovniPodDodatno.IDOsebe)=:IDOsebe ))",
                "ORDER BY TOsnovniPodDodatno.Sort;"}),
         ana, "Polje", "Hobi"},
        {"categories of a person",
         lines({"SELECT TOsnovniPodVezaKategorje.*, TKategorije.Naziv, TKategorije.IkonaPath",
                "FROM TKategorije INNER JOIN TOsnovniPodVezaKategorje ON TKategorije.IDkat = TOsnovniPodVezaKategorje.IDkat",
                "WHERE (((TOsnovniPodVezaKategorje.IDOsebe)=:IDOsebe ))", "ORDER BY TKategorije.Naziv;"}),
         ana, "Naziv", "Dobavitelji,Stranke"},
        {"alarms of a person",
         lines({"SELECT TOsnovniPodVezaAlarmi.*, TEventAlarms.NazivAlarma, TEventAlarms.Ikona, TEventAlarms.AlertType",
                "FROM TOsnovniPodVezaAlarmi INNER JOIN TEventAlarms ON TOsnovniPodVezaAlarmi.IDAlarm = TEventAlarms.ID",
                "WHERE (((TOsnovniPodVezaAlarmi.IDOsebe)=:IDOsebe ))", "ORDER BY TOsnovniPodVezaAlarmi.DatumCas;"}),
         ana, "NazivAlarma", "Rojstni dan"},
        {"links of a person", lines({"SELECT *", "FROM TSharingProgs", "WHERE ((IDOsebe=:IDOsebe ))", "ORDER BY ProgID;"}), bojan,
         "InProgIDOsebe", "77"},
        {"links waiting for an update",
         QStringLiteral("SELECT TSharingProgs.* FROM TSharingProgs WHERE (((TSharingProgs.WasNotRefreshed)=True)) ORDER BY TSharingProgs.ProgID;"),
         none, "IDOsebe", "2"},
        {"alarm review",
         lines({"SELECT TOsnovniPod.CelotnoIme, TOsnovniPodVezaAlarmi.*, TEventAlarms.NazivAlarma, TEventAlarms.Ikona, TEventAlarms.BackColor, TEventAlarms.FontColor, TEventAlarms.Flashing, TEventAlarms.AlertType",
                "FROM (TOsnovniPodVezaAlarmi INNER JOIN TOsnovniPod ON TOsnovniPodVezaAlarmi.IDOsebe = TOsnovniPod.ID) INNER JOIN TEventAlarms ON TOsnovniPodVezaAlarmi.IDAlarm = TEventAlarms.ID;"}),
         none, "CelotnoIme", "Ana Novak"},
        {"delete guard probe", QStringLiteral("SELECT TKraj.IDDRZAVA FROM TKraj WHERE (((TKraj.IDDRZAVA)=1));"), none, "IDDRZAVA",
         "1,1,1,1,1,1,1,1,1,1,1,1,1,1,1"},
        {"greatest value", QStringLiteral("SELECT TKontakti.Sort From TKontakti WHERE (((TKontakti.Sort) Is Not Null)) ORDER BY TKontakti.Sort;"),
         none, "Sort", "1,2,3,4,5,6,7,8"},
        {"countries of the code list", lines({"SELECT [TDrzave].[IDDRZAVE], [TDrzave].[Naziv], [TDrzave].[Skrajsano]", "FROM TDrzave",
                                               "ORDER BY [TDrzave].[Naziv];"}),
         none, "Skrajsano", "AUT,HRV,ITA,HUN,DEU,SLO"},
        {"places of the code list", lines({"SELECT [TKraj].[IDKRAJ], [TKraj].[IDDRZAVA], [TKraj].[Naziv], [TKraj].[Zip]", "FROM TKraj",
                                            "ORDER BY [TKraj].[Zip];"}),
         none, "Zip", "1000,2000,2250,2380,3000,3230,3310,3320,4000,4220,5000,6000,8000,8340,9000"},
        {"alarm types of the code list", lines({"SELECT *", "FROM TEventAlarms", "ORDER BY NazivAlarma"}), none, "NazivAlarma",
         "Mesečni opomnik,Obletnica,Rojstni dan,Rok,Sestanek"},
        {"contact types lookup", lines({"SELECT *", "FROM TKontakti", "Where (TKontakti.Naziv is Not Null)", "ORDER BY TKontakti.Sort;"}),
         none, "Sort", "1,2,3,4,5,6,7,8"},
        {"alarm types lookup", lines({"SELECT *", "FROM TEventAlarms", "Where (TEventAlarms.NazivAlarma is Not Null)",
                                       "ORDER BY TEventAlarms.NazivAlarma ;"}),
         none, "AlertType", "1,2,2,0,0"},
        {"own company", lines({"Select *", "From TMaticniPodaci", "Where (IDFirma=:IDPodjetja)"}),
         QVariantMap{{QStringLiteral("IDPodjetja"), 1}}, "Naziv", "Moje podjetje d.o.o."},
        {"literals keep their quotes, names their blanks",
         QStringLiteral("SELECT \"Ana's \"\"x\"\"\" AS [Moje polje] FROM TDrzave WHERE IDDRZAVE = 1"), none, "Moje polje", "Ana's \"x\""},
        {"+ joins texts and adds numbers",
         QStringLiteral("SELECT [TKraj].[Naziv]+\" \"+[TKraj].[Zip] AS Kraj FROM TKraj WHERE IDKRAJ+1 = 3"), none, "Kraj", "Maribor 2000"},
        {"ascending order puts empty values first", QStringLiteral("SELECT CelotnoIme FROM TOsnovniPod ORDER BY Ime, CelotnoIme DESC"),
         none, "CelotnoIme", "Čebelica d.o.o.,Alfa d.o.o.,Ana Novak,Bojan Čeh,Cvetka Zupan"},
        {"descending order puts them last", QStringLiteral("SELECT Priimek FROM TOsnovniPod ORDER BY Priimek DESC"), none, "Priimek",
         "Zupan,Novak,Čeh,,"},
        {"& joins Null as empty text, numbers as their digits, after arithmetic",
         QStringLiteral("SELECT Ime & (\" \" & Priimek) & \"/\" & IDKRAJ - 1 AS Polno FROM TOsnovniPod ORDER BY ID"), none, "Polno",
         "Ana Novak/0,Bojan Čeh/, /1,Cvetka Zupan/, /"},
        {"& binds more strongly than a comparison",
         QStringLiteral("SELECT CelotnoIme FROM TOsnovniPod WHERE Ime & Priimek = \"\" ORDER BY CelotnoIme"), none, "CelotnoIme",
         "Alfa d.o.o.,Čebelica d.o.o."},
        {"-1 beside a yes/no column is True",
         QStringLiteral("SELECT TSharingProgs.* FROM TSharingProgs WHERE (((TSharingProgs.WasNotRefreshed)=-1));"), none, "IDOsebe", "2"},
        {"0 beside a yes/no column is False, on either side",
         QStringLiteral("SELECT CelotnoIme FROM TOsnovniPod WHERE 0 <> [PravnaOseba] ORDER BY CelotnoIme"), none, "CelotnoIme",
         "Alfa d.o.o.,Čebelica d.o.o."},
    };
    for (const SqlDialect dialect : allDialects())
        for (const Case &c : cases)
            newDialectRow(QString::fromUtf8(c.name), dialect)
                << c.statement << c.parameters << QString::fromLatin1(c.column) << QString::fromUtf8(c.expected);
}

void TestJetSql::statements()
{
    VELDRA_FETCH_TEST_DATABASE(testDatabase);
    QFETCH(QString, statement);
    QFETCH(QVariantMap, parameters);
    QFETCH(QString, column);
    QFETCH(QString, expected);
    const auto database = testDatabase.connect();
    insertPersonsFixture(*database);
    QSqlQuery query = database->run(statement, parameters);
    QCOMPARE(::column(query, column), expected);
}

void TestJetSql::likeMatchesWhatJetMatches_data()
{
    addDialectColumn();
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QVariantMap>("parameters");
    QTest::addColumn<QString>("expected");

    struct Case { const char *name; const char *pattern; QVariantMap parameters; const char *expected; };
    const Case cases[] = {
        {"* and ? are wildcards", R"("a?b*")", {}, "a_b,axb"},
        {"% is a character", R"("50%*")", {}, "50% popust"},
        {"_ is a character", R"("a_b")", {}, "a_b"},
        {"a backslash is a character", R"("C:\*")", {}, R"(C:\mapa)"},
        {"[c] is the character c", R"("*[*]*")", {}, "2*3"},
        {"a parameter holds a Jet pattern", ":Vzorec", {{QStringLiteral("Vzorec"), QStringLiteral("?_b")}}, "a_b"},
        {"a joined pattern", R"("*" & :Del & "*")", {{QStringLiteral("Del"), QStringLiteral("%")}}, "50% popust"},
    };
    for (const SqlDialect dialect : allDialects())
        for (const Case &c : cases)
            newDialectRow(QString::fromUtf8(c.name), dialect) << QString::fromUtf8(c.pattern) << c.parameters << QString::fromUtf8(c.expected);
}

void TestJetSql::likeMatchesWhatJetMatches()
{
    VELDRA_FETCH_TEST_DATABASE(testDatabase);
    QFETCH(QString, pattern);
    QFETCH(QVariantMap, parameters);
    QFETCH(QString, expected);
    const auto database = testDatabase.connect();
    for (const char *name : {"50% popust", "500 let", "a_b", "axb", "C:\\mapa", "C:mapa", "2*3", "23"})
        database->run(QStringLiteral("INSERT INTO TKategorije (Naziv) VALUES (:N)"), {{QStringLiteral("N"), QString::fromUtf8(name)}});
    QSqlQuery found = database->run(QStringLiteral("SELECT Naziv FROM TKategorije WHERE IDkat > 6 AND Naziv Like %1 ORDER BY Naziv").arg(pattern),
                                    parameters);
    QCOMPARE(column(found, QStringLiteral("Naziv")), expected);
}

void TestJetSql::truthIsStoredAsJetWritesIt_data()
{
    addDialectRows(QStringLiteral("truth"));
}

void TestJetSql::truthIsStoredAsJetWritesIt()
{
    VELDRA_FETCH_TEST_DATABASE(testDatabase);
    const auto database = testDatabase.connect();
    insertPersonsFixture(*database);
    database->run(QStringLiteral("INSERT INTO TSharingProgs (IDOsebe, ProgID, InProgIDOsebe, WasNotRefreshed) VALUES (1, \"CD\", 5, -1)"));
    database->run(QStringLiteral("INSERT INTO TSharingProgs (IDOsebe, ProgID, InProgIDOsebe, WasNotRefreshed) VALUES (3, \"EF\", 6, 0)"));
    database->run(QStringLiteral("UPDATE TSharingProgs SET WasNotRefreshed = -1 WHERE ProgID = \"EF\""));
    database->run(QStringLiteral("UPDATE TSharingProgs SET WasNotRefreshed = 0 WHERE IDOsebe = 2"));
    QSqlQuery pending = database->run(QStringLiteral("SELECT IDOsebe FROM TSharingProgs WHERE WasNotRefreshed = True ORDER BY IDOsebe"));
    QCOMPARE(column(pending, QStringLiteral("IDOsebe")), QStringLiteral("1,3"));
}

void TestJetSql::refusesWhatItCannotTranslate_data()
{
    QTest::addColumn<QString>("jet");
    QTest::addColumn<QString>("named"); // what the message names

    QTest::newRow("date literal") << "SELECT * FROM TOsnovniPodVezaAlarmi WHERE DatumCas > #1/31/2026#" << "#1/31/2026#";
    QTest::newRow("TOP") << "SELECT DISTINCT TOP 5 Naziv FROM TKraj" << "TOP 5";
    QTest::newRow("IIf") << "SELECT IIf(PravnaOseba, \"P\", \"F\") AS Vrsta FROM TOsnovniPod" << "IIf()";
    QTest::newRow("Nz in a condition") << "SELECT * FROM TOsnovniPod WHERE Nz(Ime, \"\") = \"\"" << "Nz()";
    QTest::newRow("Mid inside a known function") << "SELECT Trim(Mid(Naziv, 2)) FROM TKraj" << "Mid()";
    QTest::newRow("Left, a word of joins too") << "SELECT Left (Naziv, 2) FROM TKraj" << "Left()";
    QTest::newRow("UCase (upper case differs on SQLite)") << "SELECT UCase(Naziv) FROM TKraj" << "UCase()";
    QTest::newRow("list of characters") << "SELECT * FROM TKraj WHERE Naziv Like \"[a-c]*\"" << "Like \"[a-c]*\"";
    QTest::newRow("# for a digit") << "SELECT * FROM TKraj WHERE Zip Like \"1###\"" << "Like \"1###\"";
    QTest::newRow("[c] in a joined pattern") << "SELECT * FROM TKraj WHERE Naziv Like \"[*]\" & :P" << "Like \"[*]\"";
    QTest::newRow("& without an operand") << "SELECT Naziv & FROM TKraj" << "&";
    QTest::newRow("Mod") << "SELECT ID Mod 2 AS Parity FROM TKraj" << "Mod";
    QTest::newRow("integer division") << "SELECT ID \\ 2 FROM TKraj" << "\\";
    QTest::newRow("Xor") << "SELECT * FROM TOsnovniPod WHERE PravnaOseba Xor (Podjetje = \"True\")" << "Xor";
    QTest::newRow("Eqv") << "SELECT * FROM TOsnovniPod WHERE PravnaOseba Eqv True" << "Eqv";
    QTest::newRow("Imp") << "SELECT * FROM TOsnovniPod WHERE PravnaOseba Imp True" << "Imp";
}

void TestJetSql::refusesWhatItCannotTranslate()
{
    QFETCH(QString, jet);
    QFETCH(QString, named);
    for (const SqlDialect dialect : allDialects()) {
        try {
            JetSql::translate(jet, dialect);
            QFAIL("translated");
        } catch (const DatabaseError &error) {
            QVERIFY2(error.message().contains(named), qPrintable(error.message()));
            QCOMPARE(error.sql(), jet);
        }
    }
}

void TestJetSql::sharingProgsUpdateTiesKeywordsToPersons_data()
{
    addDialectRows(QStringLiteral("update"));
}

void TestJetSql::sharingProgsUpdateTiesKeywordsToPersons()
{
    VELDRA_FETCH_TEST_DATABASE(testDatabase);
    const auto database = testDatabase.connect();
    insertPersonsFixture(*database);
    database->run(sharingProgsUpdate, {{QStringLiteral("ProgID1"), QStringLiteral("AB")},
                                       {QStringLiteral("ProgID2"), QStringLiteral("AB")},
                                       {QStringLiteral("ProgIDQueryCom"), QStringLiteral("Q1")}});
    QSqlQuery tied = database->run(QStringLiteral("SELECT * FROM TSharingProgsQuery ORDER BY ProgIDQueryCom"));
    QCOMPARE(column(tied, QStringLiteral("IDOsebe")), QStringLiteral("2,")); // only the entries of Q1
    // Without DISTINCTROW the module search lists Bojan once per category.
    QSqlQuery found = database->run(withFilter(moduleSearch(QStringLiteral("q1"), QStringLiteral("AB")), {}));
    QCOMPARE(column(found, QStringLiteral("SearchKWS")), QStringLiteral("Račun 2026/1,Račun 2026/1"));
    QSqlQuery filtered = database->run(withFilter(moduleSearch(QStringLiteral("Q*"), QStringLiteral("A?")), QStringLiteral("((IDkat=3))")));
    QCOMPARE(column(filtered, QStringLiteral("ID")), QStringLiteral("2"));
}

void TestJetSql::deletingAPersonKeepsAlarms_data()
{
    addDialectRows(QStringLiteral("delete"));
}

void TestJetSql::deletingAPersonKeepsAlarms()
{
    VELDRA_FETCH_TEST_DATABASE(testDatabase);
    const auto database = testDatabase.connect();
    insertPersonsFixture(*database);
    for (const char *table : {"TOsnovniPodVezaOpombe", "TOsnovniPodVezaKontakt", "TOsnovniPodVezaKategorje", "TOsnovniPodDodatno"})
        database->run(QStringLiteral("DELETE * FROM %1 WHERE (((IDOsebe)=1));").arg(QString::fromLatin1(table)));
    database->run(QStringLiteral("DELETE * FROM TOsnovniPod WHERE (((ID)=1));"));
    database->run(QStringLiteral("DELETE * FROM TOsnovniPodVezaKontakt WHERE (ID=4);"));
    database->run(QStringLiteral("DELETE * FROM TOsnovniPodVezaOpombe WHERE (ID=2);"));

    for (const char *table : {"TOsnovniPodVezaOpombe", "TOsnovniPodVezaKontakt", "TOsnovniPodVezaKategorje", "TOsnovniPodDodatno"}) {
        QSqlQuery left = database->run(QStringLiteral("SELECT Count(*) AS N FROM %1 WHERE IDOsebe=1").arg(QString::fromLatin1(table)));
        QCOMPARE(column(left, QStringLiteral("N")), QStringLiteral("0"));
    }
    QSqlQuery alarms = database->run(QStringLiteral("SELECT IDOsebe FROM TOsnovniPodVezaAlarmi"));
    QCOMPARE(column(alarms, QStringLiteral("IDOsebe")), QStringLiteral("1"));
    QSqlQuery bojan = database->run(QStringLiteral("SELECT Value FROM TOsnovniPodVezaOpombe WHERE IDOsebe=2"));
    QCOMPARE(column(bojan, QStringLiteral("Value")), QStringLiteral("Dogovor o ceni"));
    QSqlQuery contacts = database->run(QStringLiteral("SELECT Count(*) AS N FROM TOsnovniPodVezaKontakt"));
    QCOMPARE(column(contacts, QStringLiteral("N")), QStringLiteral("3"));
}

void TestJetSql::orderingIsSlovenian_data()
{
    addDialectRows(QStringLiteral("order"));
}

void TestJetSql::orderingIsSlovenian()
{
    VELDRA_FETCH_TEST_DATABASE(testDatabase);
    const auto database = testDatabase.connect();
    for (const char *name : {"žaba", "Zala", "šola", "Sever", "Ćiril", "čas", "Cvet", "cilj", "Dan", "Đuro", "Emil", "ana", "Ana", "Ahac", "Ärger"})
        database->run(QStringLiteral("INSERT INTO TKategorije (Naziv) VALUES (:N)"), {{QStringLiteral("N"), QString::fromUtf8(name)}});
    QSqlQuery ordered = database->run(QStringLiteral("SELECT Naziv FROM TKategorije WHERE IDkat > 6 ORDER BY Naziv"));
    QCOMPARE(column(ordered, QStringLiteral("Naziv")),
             QStringLiteral("Ahac,ana,Ana,Ärger,cilj,Cvet,čas,Ćiril,Dan,Đuro,Emil,Sever,šola,Zala,žaba"));
    // Like ignores the case of every letter.
    QSqlQuery like = database->run(QStringLiteral("SELECT Naziv FROM TKategorije WHERE Naziv Like \"Č*\" OR Naziv Like \"ŽAB?\" ORDER BY Naziv"));
    QCOMPARE(column(like, QStringLiteral("Naziv")), QStringLiteral("čas,žaba"));
}

void TestJetSql::orderByResultColumns_data()
{
    QTest::addColumn<QString>("jet");
    QTest::addColumn<QString>("unordered"); // empty: the order is left to the engine
    QTest::addColumn<QString>("columns");
    QTest::newRow("a selected column, after DISTINCTROW")
        << "SELECT DISTINCTROW T.ID, T.CelotnoIme FROM TOsnovniPod AS T WHERE (T.ID > 1) ORDER BY T.CelotnoIme;"
        << "SELECT DISTINCTROW T.ID, T.CelotnoIme FROM TOsnovniPod AS T WHERE (T.ID > 1) ;" << "1";
    QTest::newRow("an expression, in its own words")
        << "SELECT ID, Trim([Naslov]+\" \"+[Zip]) AS NaslovFull FROM TOsnovniPod ORDER BY Trim([Naslov] + \" \" + [Zip])"
        << "SELECT ID, Trim([Naslov]+\" \"+[Zip]) AS NaslovFull FROM TOsnovniPod " << "1";
    QTest::newRow("an alias, a number, descending")
        << "SELECT ID, Naziv AS Ime FROM TKraj ORDER BY (Ime) DESC, 1" << "SELECT ID, Naziv AS Ime FROM TKraj " << "1 desc,0";
    QTest::newRow("a column not selected") << "SELECT ID FROM TOsnovniPod ORDER BY (CelotnoIme);" << "" << "";
    QTest::newRow("named otherwise than selected") << "SELECT CelotnoIme FROM TOsnovniPod ORDER BY TOsnovniPod.CelotnoIme" << "" << "";
    QTest::newRow("every column") << "SELECT * FROM TKraj ORDER BY 1" << "" << "";
    QTest::newRow("after a table's every column")
        << "SELECT TOsnovniPodVezaKategorje.*, TKategorije.Naziv FROM TKategorije INNER JOIN TOsnovniPodVezaKategorje ON "
           "TKategorije.IDkat = TOsnovniPodVezaKategorje.IDkat ORDER BY TKategorije.Naziv;"
        << "" << "";
}

void TestJetSql::orderByResultColumns()
{
    QFETCH(QString, jet);
    QFETCH(QString, unordered);
    QFETCH(QString, columns);
    const std::optional<JetSql::Ordering> ordering = JetSql::resultOrdering(jet);
    QCOMPARE(ordering.has_value(), !unordered.isEmpty());
    if (!ordering)
        return;
    QCOMPARE(ordering->unordered, unordered);
    QStringList terms;
    for (const auto &[column, descending] : ordering->columns)
        terms << QString::number(column) + (descending ? QStringLiteral(" desc") : QString());
    QCOMPARE(terms.join(QLatin1Char(',')), columns);
}

QTEST_GUILESS_MAIN(TestJetSql)
#include "tst_JetSql.moc"
