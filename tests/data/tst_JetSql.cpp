#include "Database.h"
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
    void sharingProgsUpdateTiesKeywordsToPersons_data();
    void sharingProgsUpdateTiesKeywordsToPersons();
    void deletingAPersonKeepsAlarms_data();
    void deletingAPersonKeepsAlarms();
    void orderingIsSlovenian_data();
    void orderingIsSlovenian();
};

void TestJetSql::translation_data()
{
    QTest::addColumn<QString>("jet");
    QTest::addColumn<QString>("sqlite");
    QTest::addColumn<QString>("postgres");

    QTest::newRow("literals and names") << "SELECT [TDrzave].[Naziv] FROM TDrzave WHERE Naziv = \"Ko\"\"per\" OR Naziv = 'x'"
                                        << "SELECT TDrzave.Naziv FROM TDrzave WHERE Naziv = 'Ko\"per' OR Naziv = 'x'"
                                        << "SELECT TDrzave.Naziv FROM TDrzave WHERE Naziv = 'Ko\"per' OR Naziv = 'x'";
    QTest::newRow("quote inside a literal") << "SELECT * FROM TKraj WHERE Naziv=\"Sv. Ana's\""
                                            << "SELECT * FROM TKraj WHERE Naziv='Sv. Ana''s'"
                                            << "SELECT * FROM TKraj WHERE Naziv='Sv. Ana''s'";
    QTest::newRow("name with a blank") << "SELECT [Moje polje] FROM TKraj" << "SELECT \"Moje polje\" FROM TKraj"
                                       << "SELECT \"Moje polje\" FROM TKraj";
    QTest::newRow("delete all columns") << "DELETE * FROM TOsnovniPodVezaKontakt WHERE (ID=5);"
                                        << "DELETE FROM TOsnovniPodVezaKontakt WHERE (ID=5);"
                                        << "DELETE FROM TOsnovniPodVezaKontakt WHERE (ID=5);";
    QTest::newRow("Like with wildcards") << "SELECT * FROM TKraj WHERE Naziv Like \"Lj*a?a\""
                                         << "SELECT * FROM TKraj WHERE Naziv Like 'Lj%a_a'"
                                         << "SELECT * FROM TKraj WHERE Naziv ILIKE 'Lj%a_a'";
    QTest::newRow("yes and no") << "SELECT * FROM TSharingProgs WHERE (((TSharingProgs.WasNotRefreshed)=True))"
                                << "SELECT * FROM TSharingProgs WHERE (((TSharingProgs.WasNotRefreshed)=1))"
                                << "SELECT * FROM TSharingProgs WHERE (((TSharingProgs.WasNotRefreshed)=TRUE))";
    QTest::newRow("texts joined, numbers added") << "SELECT Naslov+\" \"+[TKraj].[Zip], IDKRAJ+1 FROM TKraj"
                                                 << "SELECT Naslov||' '||TKraj.Zip, IDKRAJ+1 FROM TKraj"
                                                 << "SELECT Naslov||' '||TKraj.Zip, IDKRAJ+1 FROM TKraj";
    QTest::newRow("ordering") << "SELECT * FROM TKraj ORDER BY Naziv, Zip DESC;"
                              << "SELECT * FROM TKraj ORDER BY Naziv COLLATE VELDRA, Zip COLLATE VELDRA DESC;"
                              << "SELECT * FROM TKraj ORDER BY Naziv NULLS FIRST, Zip DESC NULLS LAST;";
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
    QTest::newRow("update with a join")
        << "UPDATE A1 INNER JOIN TSharingProgs ON A1.X = TSharingProgs.X SET A1.IDOsebe = [TSharingProgs].[IDOsebe] WHERE (A1.Y Like :P);"
        << "UPDATE A1 SET IDOsebe = TSharingProgs.IDOsebe FROM TSharingProgs WHERE (A1.X = TSharingProgs.X) AND ((A1.Y Like :P));"
        << "UPDATE A1 SET IDOsebe = TSharingProgs.IDOsebe FROM TSharingProgs WHERE (A1.X = TSharingProgs.X) AND ((A1.Y ILIKE :P));";
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

QTEST_GUILESS_MAIN(TestJetSql)
#include "tst_JetSql.moc"
