#include "Database.h"
#include "PersonsFixture.h"
#include "SearchDefinition.h"
#include "TestDatabase.h"

#include <QSqlRecord>
#include <QTest>

// The built-in searches of the person window, run on each engine over the persons of the fixture.
class TestPersonSearches : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void searches_data();
    void searches();
    void statementsFitTheirDefinitions();
};

void TestPersonSearches::searches_data()
{
    addDialectColumn();
    QTest::addColumn<int>("search");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("expected");

    const QString kindPersons = QStringLiteral("(Not PravnaOseba)");
    const QString companies = QStringLiteral("((PravnaOseba) AND (Podjetje=\"True\"))");
    const QString category2 = QStringLiteral("((IDkat=2))");
    const QString not2 = QStringLiteral("((IDkat Is Null) OR (NOT ((IDkat=2))))");
    const QString in1Not2 = QStringLiteral("((IDkat=1)) AND ((IDkat Is Null) OR (NOT ((IDkat=2))))");
    struct Case { const char *name; int search; QString filter; const char *column; const char *expected; };
    const Case cases[] = {
        {"full name: everyone once, Č after C", 0, {}, "ID", "5,1,2,4,3"},
        {"full name: category ticked, each once", 0, category2, "ID", "1,2"},
        {"full name: category grey", 0, not2, "ID", "5,1,2,4,3"},
        {"full name: ticked and grey", 0, in1Not2, "ID", "1,3"},
        {"full name: natural persons", 0, kindPersons, "ID", "1,2,4"},
        {"full name: legal persons that are companies", 0, companies, "ID", "5,3"},
        {"surname: Č after C", 1, kindPersons, "ID", "2,1,4"},
        {"surname: none comes first", 1, QStringLiteral("((IDkat=1))"), "ID", "3,1"},
        {"first name", 2, category2, "Ime", "Ana,Bojan"},
        {"code", 3, {}, "Sifra", "A1"},
        {"address", 4, {}, "NaslovFull", "Cesta 3 Maribor 2000,Slovenska 1 Ljubljana 1000"},
        {"employer", 5, {}, "ZasposlenVPod", "Alfa d.o.o.,Čebelica d.o.o."},
        {"employer: persons only", 5, QStringLiteral("(Not TOsnovniPod.PravnaOseba)"), "ID", "2,1"},
        {"contact: a row per contact, none for no contact", 6, {}, "ID", "1,1,1,2,5,5,3"},
        {"contact: of category 1", 6, QStringLiteral("((IDkat=1))"), "Value",
         "01 123 45 67,041 111 222,ana@example.si,info@cebelica.si"},
        {"tax number", 7, {}, "ID", "1,3"},
        {"bank account", 8, {}, "TRR", "05100-1000000036"},
        {"notes", 9, {}, "Value", "Dogovor o ceni,Klic v ponedeljek,Poslati ponudbo"},
        {"extra data", 10, {}, "Value", "Kolesarjenje"},
    };
    for (const SqlDialect dialect : allDialects())
        for (const Case &c : cases)
            newDialectRow(QString::fromUtf8(c.name), dialect)
                << c.search << c.filter << QString::fromLatin1(c.column) << QString::fromUtf8(c.expected);
}

void TestPersonSearches::searches()
{
    VELDRA_FETCH_TEST_DATABASE(testDatabase);
    QFETCH(int, search);
    QFETCH(QString, filter);
    QFETCH(QString, column);
    QFETCH(QString, expected);
    const auto database = testDatabase.connect();
    insertPersonsFixture(*database);
    QSqlQuery query = database->run(WithFilter(BuiltInSearches().at(search).SQL, filter));
    QStringList values;
    while (query.next())
        values << query.value(query.record().indexOf(column)).toString();
    QCOMPARE(values.join(QLatin1Char(',')), expected);
}

void TestPersonSearches::statementsFitTheirDefinitions()
{
    const QList<SearchDefinition> searches = BuiltInSearches();
    const QStringList items = BuiltInSearchItems();
    QCOMPARE(searches.size(), 11);
    QCOMPARE(items.size(), 11);
    for (int i = 0; i < 11; ++i) {
        QCOMPARE(searches[i].ID, i);
        QCOMPARE(items[i].section(QLatin1Char(';'), 1, 1).toInt(), i);
        QVERIFY(searches[i].SQL.contains(QLatin1String("//UsedFilter//")));
        QVERIFY(searches[i].SQL.startsWith(QLatin1String("SELECT DISTINCTROW TOsnovniPod.ID, TOsnovniPod.CelotnoIme, ")));
        QCOMPARE(searches[i].FromPluginIndex, -1);
    }
    QVERIFY(!searches[0].Col2_Visible);
    QCOMPARE(WithFilter(QStringLiteral("WHERE (x//usedfilter//)"), QStringLiteral("(IDkat=3)")), QStringLiteral("WHERE (x And ((IDkat=3)))"));
    QCOMPARE(WithFilter(QStringLiteral("WHERE (x//UsedFilter//)"), QStringLiteral("  ")), QStringLiteral("WHERE (x)"));
}

QTEST_GUILESS_MAIN(TestPersonSearches)
#include "tst_PersonSearches.moc"
