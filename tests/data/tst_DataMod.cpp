#include "Database.h"
#include "Dataset.h"
#include "DatabaseError.h"
#include "ModalAnswer.h"
#include "PersonsFixture.h"
#include "Schema.h"
#include "SchemaInstaller.h"
#include "Settings.h"
#include "TestDatabase.h"
#include "TestInstallation.h"
#include "UDataMod.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// A workstation's data module on a database of its own making.
struct Workstation
{
    explicit Workstation(const TestDatabase &database)
    {
        database.useIn(installation);
    }
    TestInstallation installation;
};

QStringList column(Dataset *dataset, const char *field)
{
    QStringList values;
    const int f = dataset->fieldIndex(QString::fromLatin1(field));
    for (int recNo = 1; recNo <= dataset->recordCount(); ++recNo)
        values << dataset->valueAt(recNo, f).toString();
    return values;
}

QDateTime stampOf(TDataMod &dataMod, const QString &table)
{
    dataMod.TRequery->requery();
    if (!dataMod.TRequery->locate(QStringLiteral("TableName"), table, Dataset::CaseInsensitive))
        return {};
    return dataMod.TRequery->value(QStringLiteral("LastModified")).toDateTime();
}

}

class TestDataMod : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void creation_data();
    void creation();
    void missingUserRowIsMadeAgain();
    void startFailures_data();
    void startFailures();
    void connectionText();
    void markTableChanged_data();
    void markTableChanged();
    void stampRefusedByABusyDatabase_data();
    void stampRefusedByABusyDatabase();
    void refreshIfChanged_data();
    void refreshIfChanged();
    void refreshReopensOnTheSameRow();
    void canDeleteRecord_data();
    void canDeleteRecord();
    void getMaxValue_data();
    void getMaxValue();
    void twoWorkstations_data();
    void twoWorkstations();
    void serverPreparedByAnEarlierVersion();
};

void TestDataMod::creation_data()
{
    addDialectRows(QStringLiteral("create"));
}

void TestDataMod::creation()
{
    VELDRA_FETCH_TEST_DATABASE(testDatabase);
    Workstation workstation(testDatabase);
    const QDateTime before = QDateTime::currentDateTime().addMSecs(-1);
    TDataMod dataMod;
    QCOMPARE(DataMod, &dataMod);
    QCOMPARE(column(dataMod.TMemAlertTypes, "ID"), (QStringList{"0", "1", "2"}));
    QCOMPARE(column(dataMod.TMemAlertTypes, "Name"), (QStringList{"brez", "na mesec", "na leto"}));
    QVERIFY(dataMod.TUsers->locate(QStringLiteral("IDUser"), 1));
    QVERIFY(dataMod.TUsers->value(QStringLiteral("LastOpenedDate")).toDateTime() >= before);
    QCOMPARE(dataMod.QPodjetje->value(QStringLiteral("Naziv")).toString(), QStringLiteral("Moje podjetje d.o.o."));
    QCOMPARE(column(dataMod.QDrzaveLookup, "Naziv").first(), QStringLiteral("Avstrija"));
    QCOMPARE(column(dataMod.QKontaktiLookup, "Sort"), (QStringList{"1", "2", "3", "4", "5", "6", "7", "8"}));
    QVERIFY(dataMod.QDrzaveLookup->isReadOnly());
    QCOMPARE(dataMod.CountPersons(), 0);
    insertPersonsFixture(dataMod.database());
    QCOMPARE(dataMod.CountPersons(), 5);
    dataMod.QPodjetja->requery();
    QCOMPARE(column(dataMod.QPodjetja, "CelotnoIme"), (QStringList{"Alfa d.o.o.", "Čebelica d.o.o."}));
}

void TestDataMod::missingUserRowIsMadeAgain()
{
    TestDatabase testDatabase(SqlDialect::Sqlite);
    testDatabase.connect()->run(QStringLiteral("DELETE * FROM TUsers"));
    Workstation workstation(testDatabase);
    TDataMod dataMod;
    QVERIFY(dataMod.TUsers->locate(QStringLiteral("IDUser"), 1));
    QVERIFY(dataMod.TUsers->value(QStringLiteral("LastOpenedDate")).toDateTime().isValid());
}

void TestDataMod::startFailures_data()
{
    QTest::addColumn<QString>("maticniPodatki");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("error");
    QTest::newRow("company number not a number") << "prvo" << QByteArray() << "ConversionError";
    QTest::newRow("Access database") << "1" << QByteArray("\0\1\0\0Standard Jet DB\0\0\0", 22) << "DatabaseError";
}

void TestDataMod::startFailures()
{
    QFETCH(QString, maticniPodatki);
    QFETCH(QByteArray, file);
    QFETCH(QString, error);
    TestDatabase testDatabase(SqlDialect::Sqlite);
    Workstation workstation(testDatabase);
    workstation.installation.writeIni({{QStringLiteral("MaticniPodatki"), maticniPodatki}});
    if (!file.isEmpty())
        workstation.installation.createDatabase(file);
    try {
        TDataMod dataMod;
        QFAIL("the data module was made");
    } catch (const ConversionError &) {
        QCOMPARE(error, QStringLiteral("ConversionError"));
    } catch (const DatabaseError &) {
        QCOMPARE(error, QStringLiteral("DatabaseError"));
    }
    QCOMPARE(DataMod, nullptr);
}

void TestDataMod::connectionText()
{
    TestDatabase testDatabase(SqlDialect::Sqlite);
    Workstation workstation(testDatabase);
    TDataMod dataMod;
    QCOMPARE(dataMod.connectionText(),
             QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Password=\"\";User ID=Admin;Data Source=")
                 + workstation.installation.dataFolder()
                 + QStringLiteral("VELDRA_BE.MDB;Mode=Share Deny None;Extended Properties=\"\";Jet OLEDB:System database=\"\";"
                                  "Jet OLEDB:Registry Path=\"\";Jet OLEDB:Database Password=\"\";Jet OLEDB:Engine Type=5;"
                                  "Jet OLEDB:Database Locking Mode=0;Jet OLEDB:Global Partial Bulk Ops=2;"
                                  "Jet OLEDB:Global Bulk Transactions=1;Jet OLEDB:New Database Password=\"\";"
                                  "Jet OLEDB:Create System Database=False;Jet OLEDB:Encrypt Database=False;"
                                  "Jet OLEDB:Don't Copy Locale on Compact=False;Jet OLEDB:Compact Without Replica Repair=False;"
                                  "Jet OLEDB:SFP=False"));
}

void TestDataMod::markTableChanged_data()
{
    addDialectRows(QStringLiteral("stamps"));
}

void TestDataMod::markTableChanged()
{
    VELDRA_FETCH_TEST_DATABASE(testDatabase);
    Workstation workstation(testDatabase);
    TDataMod dataMod;
    QVERIFY(!stampOf(dataMod, QStringLiteral("TKraj")).isValid());
    dataMod.MarkTableChanged(QStringLiteral("TKraj"));
    const QDateTime first = stampOf(dataMod, QStringLiteral("TKraj"));
    QVERIFY(first.isValid());
    // Marks in quick succession still give new stamps; the name is matched without regard to case.
    QDateTime previous = first;
    for (int i = 0; i < 5; ++i) {
        dataMod.MarkTableChanged(QStringLiteral("tkraj"));
        const QDateTime next = stampOf(dataMod, QStringLiteral("TKraj"));
        QVERIFY(next > previous);
        previous = next;
    }
    dataMod.TRequery->requery();
    QCOMPARE(dataMod.TRequery->recordCount(), 1);

    // Changes through the shared tables mark their table.
    dataMod.TDrzave->append();
    dataMod.TDrzave->setValue(QStringLiteral("Naziv"), QStringLiteral("Srbija"));
    dataMod.TDrzave->post();
    QVERIFY(stampOf(dataMod, QStringLiteral("TDrzave")).isValid());
}

void TestDataMod::stampRefusedByABusyDatabase_data()
{
    addDialectRows(QStringLiteral("held"));
}

void TestDataMod::stampRefusedByABusyDatabase()
{
    VELDRA_FETCH_TEST_DATABASE(testDatabase);
    Workstation workstation(testDatabase);
    TDataMod dataMod;
    dataMod.database().setBusyTimeout(200);
    dataMod.MarkTableChanged(QStringLiteral("TKraj"));
    const QDateTime before = stampOf(dataMod, QStringLiteral("TKraj"));
    {
        // Another workstation holds the file's write lock, or on a server the stamps' table.
        const bool sqlite = testDatabase.location().dialect == SqlDialect::Sqlite;
        Database other(dataMod.database().location());
        other.runNative(sqlite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
        if (!sqlite)
            other.runNative(QStringLiteral("LOCK TABLE TRequery IN SHARE MODE"));
        // The change it stamps is saved by then: no failure to tell.
        dataMod.MarkTableChanged(QStringLiteral("TKraj"));
        other.runNative(QStringLiteral("ROLLBACK"));
    }
    QCOMPARE(stampOf(dataMod, QStringLiteral("TKraj")), before);
    // It is written with the next stamp.
    dataMod.MarkTableChanged(QStringLiteral("TDrzave"));
    QVERIFY(stampOf(dataMod, QStringLiteral("TKraj")) > before);
    QVERIFY(stampOf(dataMod, QStringLiteral("TDrzave")).isValid());
}

void TestDataMod::refreshIfChanged_data()
{
    addDialectRows(QStringLiteral("refresh"));
}

void TestDataMod::refreshIfChanged()
{
    VELDRA_FETCH_TEST_DATABASE(testDatabase);
    Workstation workstation(testDatabase);
    TDataMod dataMod;
    Dataset *places = dataMod.QKrajLookup;
    QSignalSpy reopened(places, &Dataset::afterOpen);

    // The first question of a window and dataset: true, and the table gets its stamp.
    QVERIFY(dataMod.RefreshIfChanged(QStringLiteral("FKraji"), places, QString(), true, QStringLiteral("TKraj")));
    QCOMPARE(reopened.count(), 1);
    QVERIFY(stampOf(dataMod, QStringLiteral("TKraj")).isValid());
    QVERIFY(!dataMod.RefreshIfChanged(QStringLiteral("FKraji"), places, QString(), true, QStringLiteral("TKraj")));
    QVERIFY(dataMod.RefreshIfChanged(QStringLiteral("FVeldra"), places, QString(), false, QStringLiteral("TKraj")));
    QCOMPARE(reopened.count(), 1); // asked not to reopen
    QCOMPARE(dataMod.TMemSmartRequery.size(), 2);

    // After a change each pair hears of it exactly once.
    dataMod.MarkTableChanged(QStringLiteral("TKraj"));
    QVERIFY(dataMod.RefreshIfChanged(QStringLiteral("fkraji"), places, QString(), false, QStringLiteral("TKraj")));
    QVERIFY(dataMod.RefreshIfChanged(QStringLiteral("FVeldra"), places, QString(), false, QStringLiteral("tkraj")));
    QVERIFY(!dataMod.RefreshIfChanged(QStringLiteral("FKraji"), places, QString(), false, QStringLiteral("TKraj")));
    QVERIFY(!dataMod.RefreshIfChanged(QStringLiteral("FVeldra"), places, QString(), false, QStringLiteral("TKraj")));
}

void TestDataMod::refreshReopensOnTheSameRow()
{
    TestDatabase testDatabase(SqlDialect::Sqlite);
    Workstation workstation(testDatabase);
    TDataMod dataMod;
    Dataset *places = dataMod.QKrajLookup;
    QVERIFY(places->locate(QStringLiteral("Naziv"), QStringLiteral("Ptuj")));
    // Another workstation adds a place.
    Database other(DatabaseLocation::sqliteFile(workstation.installation.databaseFile()));
    other.run(QStringLiteral("INSERT INTO TKraj (Naziv, Zip) VALUES (\"Ajdovščina\", \"5270\")"));
    dataMod.MarkTableChanged(QStringLiteral("TKraj"));
    QVERIFY(dataMod.RefreshIfChanged(QStringLiteral("FKraji"), places, QStringLiteral("IDKRAJ"), true, QStringLiteral("TKraj")));
    QCOMPARE(places->value(QStringLiteral("Naziv")).toString(), QStringLiteral("Ptuj"));
    QCOMPARE(column(places, "Naziv").first(), QStringLiteral("Ajdovščina"));
}

void TestDataMod::canDeleteRecord_data()
{
    addDialectColumn();
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("answer");   // the button pressed on the question; empty: no question
    QTest::addColumn<bool>("allowed");
    QTest::addColumn<QString>("refusal"); // second line of the refusal, empty for none
    for (const SqlDialect dialect : allDialects()) {
        newDialectRow(QStringLiteral("no rows, no question"), dialect)
            << "TKraj" << "SELECT * FROM TKraj WHERE IDKRAJ = 0" << "" << false << "";
        newDialectRow(QStringLiteral("answered no"), dialect) << "TKategorije" << "SELECT * FROM TKategorije WHERE IDkat = 4"
                                                              << "Ne" << false << "";
        newDialectRow(QStringLiteral("no reference"), dialect) << "TKategorije" << "SELECT * FROM TKategorije WHERE IDkat = 4"
                                                               << "Da" << true << "";
        newDialectRow(QStringLiteral("a category in use"), dialect) << "TKategorije" << "SELECT * FROM TKategorije WHERE IDkat = 2"
                                                                    << "Da" << false << "Kategorija je dodeljena osebam.";
        newDialectRow(QStringLiteral("a country in use by places"), dialect)
            << "TDrzave" << "SELECT * FROM TDrzave WHERE IDDRZAVE = 1" << "Da" << false << "Država je navedena pri krajih.";
        newDialectRow(QStringLiteral("a company with employees"), dialect)
            << "TOsnovniPod" << "SELECT * FROM TOsnovniPod WHERE ID = 3" << "Da" << false << "V podjetju so zaposlene osebe.";
        newDialectRow(QStringLiteral("a person"), dialect) << "TOsnovniPod" << "SELECT * FROM TOsnovniPod WHERE ID = 4" << "Da" << true << "";
        newDialectRow(QStringLiteral("a table without rules"), dialect)
            << "TSifreBank" << "SELECT * FROM TSifreBank WHERE ID = 1" << "Da" << true << "";
        newDialectRow(QStringLiteral("no key value"), dialect)
            << "TKraj" << "SELECT Naziv, NULL AS IDKRAJ FROM TKraj" << "Da" << false << "";
    }
}

void TestDataMod::canDeleteRecord()
{
    VELDRA_FETCH_TEST_DATABASE(testDatabase);
    QFETCH(QString, table);
    QFETCH(QString, query);
    QFETCH(QString, answer);
    QFETCH(bool, allowed);
    QFETCH(QString, refusal);
    Workstation workstation(testDatabase);
    TDataMod dataMod;
    insertPersonsFixture(dataMod.database());
    Dataset rows(&dataMod.database(), query);
    rows.open();

    std::shared_ptr<ModalAnswer::Seen> question, message;
    if (!answer.isEmpty()) {
        question = ModalAnswer::press(answer);
        if (!refusal.isEmpty())
            ModalAnswer::whenShown([&message](QWidget *) { message = ModalAnswer::press(QStringLiteral("V redu")); }, 5000);
    }
    QCOMPARE(dataMod.CanDeleteRecord(table, &rows), allowed);
    if (question) {
        QCOMPARE(question->text, QStringLiteral("Ali resnično želite izbrisati vnos?"));
        QCOMPARE(question->buttons, (QStringList{"Ne", "Da"}));
    }
    if (!refusal.isEmpty()) {
        QTRY_VERIFY(message && message->shown);
        QCOMPARE(message->text, QStringLiteral("Vnosa ni mogoče izbrisati, ker se navezuje na druge tabele!\r\n") + refusal);
    }
}

void TestDataMod::getMaxValue_data()
{
    addDialectRows(QStringLiteral("max"));
}

void TestDataMod::getMaxValue()
{
    VELDRA_FETCH_TEST_DATABASE(testDatabase);
    Workstation workstation(testDatabase);
    TDataMod dataMod;
    QCOMPARE(dataMod.GetMaxValue(QStringLiteral("TOsnovniPodVezaOpombe"), QStringLiteral("Sort")), 0);
    for (int sort : {1, 5, 3})
        dataMod.database().run(QStringLiteral("INSERT INTO TOsnovniPodVezaOpombe (IDOsebe, Sort) VALUES (1, %1)").arg(sort));
    dataMod.database().run(QStringLiteral("INSERT INTO TOsnovniPodVezaOpombe (IDOsebe) VALUES (1)"));
    QCOMPARE(dataMod.GetMaxValue(QStringLiteral("TOsnovniPodVezaOpombe"), QStringLiteral("Sort")), 5);
    QCOMPARE(dataMod.GetMaxValue(QStringLiteral("TKontakti"), QStringLiteral("Sort")), 8);
}

void TestDataMod::twoWorkstations_data()
{
    addDialectRows(QStringLiteral("two"));
}

void TestDataMod::twoWorkstations()
{
    VELDRA_FETCH_TEST_DATABASE(testDatabase);
    Workstation workstation(testDatabase);
    TDataMod first;
    TDataMod second;
    // The second workstation's places window looks at its list.
    QVERIFY(second.RefreshIfChanged(QStringLiteral("FKraji"), second.QKrajLookup, QStringLiteral("IDKRAJ"), true, QStringLiteral("TKraj")));
    QVERIFY(!second.RefreshIfChanged(QStringLiteral("FKraji"), second.QKrajLookup, QStringLiteral("IDKRAJ"), true, QStringLiteral("TKraj")));

    first.TKraj->append();
    first.TKraj->setValue(QStringLiteral("Naziv"), QStringLiteral("Bovec"));
    first.TKraj->setValue(QStringLiteral("Zip"), QStringLiteral("5230"));
    first.TKraj->post();

    QVERIFY(second.RefreshIfChanged(QStringLiteral("FKraji"), second.QKrajLookup, QStringLiteral("IDKRAJ"), true, QStringLiteral("TKraj")));
    QVERIFY(column(second.QKrajLookup, "Naziv").contains(QStringLiteral("Bovec")));
    QVERIFY(!second.RefreshIfChanged(QStringLiteral("FKraji"), second.QKrajLookup, QStringLiteral("IDKRAJ"), true, QStringLiteral("TKraj")));
}

void TestDataMod::serverPreparedByAnEarlierVersion()
{
    TestDatabase testDatabase(SqlDialect::Postgres);
    if (!testDatabase.isAvailable())
        QSKIP("VELDRA_TEST_PG names no PostgreSQL server");
    const auto server = testDatabase.connect();
    server->runNative(QStringLiteral("DROP FUNCTION %1() CASCADE").arg(QString::fromLatin1(Schema::ChangeTokenFunction)));
    server->runNative(QStringLiteral("DROP FUNCTION veldra_note_change() CASCADE"));
    Workstation workstation(testDatabase);
    {
        // The user is told, and every look counts as a change: none is missed.
        auto told = ModalAnswer::press(QStringLiteral("V redu"));
        TDataMod dataMod;
        QVERIFY(told->shown);
        QVERIFY(told->text.contains(QLatin1String("veldra-dbtool postgres")));
        QVERIFY(dataMod.database().changeToken() != dataMod.database().changeToken());
    }
    // Preparing the database again adds what it lacks, and only that.
    SchemaInstaller::install(*server);
    QCOMPARE(stored(*server, QStringLiteral("SELECT Count(*) FROM TKontakti")).toInt(), 8);
    auto told = ModalAnswer::press(QStringLiteral("V redu"), 300);
    TDataMod dataMod;
    QTest::qWait(400); // until the answer gives up waiting
    QVERIFY(!told->shown);
    QCOMPARE(dataMod.database().changeToken(), dataMod.database().changeToken());
}

QTEST_MAIN(TestDataMod)
#include "tst_DataMod.moc"
