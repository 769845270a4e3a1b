#include "Database.h"
#include "DatabaseError.h"
#include "Dataset.h"
#include "PersonsFixture.h"
#include "TestDatabase.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <thread>

#include <sqlite3.h>

Q_DECLARE_METATYPE(Dataset::ChangeReason)

namespace {

// What a dataset told, in order.
class EventLog : public QObject
{
public:
    explicit EventLog(Dataset &dataset)
    {
        const auto note = [this](const char *event) { return [this, event] { events << QString::fromLatin1(event); }; };
        connect(&dataset, &Dataset::afterOpen, this, note("open"));
        connect(&dataset, &Dataset::afterScroll, this, note("scroll"));
        connect(&dataset, &Dataset::afterInsert, this, note("insert"));
        connect(&dataset, &Dataset::beforePost, this, note("beforePost"));
        connect(&dataset, &Dataset::afterPost, this, note("post"));
        connect(&dataset, &Dataset::afterCancel, this, note("cancel"));
        connect(&dataset, &Dataset::afterDelete, this, note("delete"));
        connect(&dataset, &Dataset::recordChangeComplete, this, [this](Dataset::ChangeReason reason) {
            events << (reason == Dataset::ChangeReason::Update ? QStringLiteral("complete:update")
                       : reason == Dataset::ChangeReason::AddNew ? QStringLiteral("complete:addnew")
                                                                 : QStringLiteral("complete:delete"));
        });
    }
    QStringList take()
    {
        QStringList taken = events;
        events.clear();
        return taken;
    }
    QStringList events;
};

QString names(const Dataset &dataset, const char *field = "CelotnoIme")
{
    QStringList values;
    const int f = dataset.fieldIndex(QString::fromLatin1(field));
    for (int recNo = 1; recNo <= dataset.recordCount(); ++recNo)
        values << dataset.valueAt(recNo, f).toString();
    return values.join(QLatin1Char(','));
}

}

class TestDataset : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void browsing();
    void locate_data();
    void locate();
    void editingWritesTheTable_data();
    void editingWritesTheTable();
    void appendGetsKeyAndDefaults_data();
    void appendGetsKeyAndDefaults();
    void cancelAndDelete();
    void postErrorRetryWithNull();
    void postErrorFailKeepsTheEdit();
    void rowDeletedByAnotherWorkstation();
    void changedByAnotherWorkstation_data();
    void changedByAnotherWorkstation();
    void joinedQueryWritesItsTable_data();
    void joinedQueryWritesItsTable();
    void rowFilter();
    void frozenDisplay();
    void calculatedFields();
    void parametersAndRequery();
    void memoryDataset();
    void waitsForAnotherWorkstationsWrite();
    void busyDatabaseKeepsTheEdit_data();
    void busyDatabaseKeepsTheEdit();
    void newRowNotCommittedIsTold();
    void rowsReadByKey();
    void orderedAsTheEngineOrders_data();
    void orderedAsTheEngineOrders();
    void requeryOnlyWhenChanged_data();
    void requeryOnlyWhenChanged();
    void readAgainInOrder_data();
    void readAgainInOrder();
    void serverWritesDoNotWaitForEachOther();
};

void TestDataset::browsing()
{
    TestDatabase testDatabase(SqlDialect::Sqlite);
    const auto database = testDatabase.connect();
    insertPersonsFixture(*database);
    Dataset persons(database.get(), QStringLiteral("SELECT *\nFROM TOsnovniPod\nORDER BY (CelotnoIme);"));
    EventLog log(persons);
    QVERIFY(!persons.isOpen());
    QCOMPARE(persons.recNo(), 0);
    QVERIFY(persons.value(QStringLiteral("ID")).isNull());

    persons.open();
    QCOMPARE(log.take(), (QStringList{"open", "scroll"}));
    QCOMPARE(persons.recordCount(), 5);
    QCOMPARE(persons.recNo(), 1);
    QVERIFY(persons.bof());
    QCOMPARE(persons.value(QStringLiteral("celotnoime")).toString(), QStringLiteral("Alfa d.o.o."));
    QCOMPARE(persons.fieldName(persons.fieldIndex(QStringLiteral("CELOTNOIME"))), QStringLiteral("CelotnoIme"));
    QCOMPARE(persons.updateTable(), QStringLiteral("TOsnovniPod"));

    persons.next();
    persons.next();
    QCOMPARE(persons.value(QStringLiteral("CelotnoIme")).toString(), QStringLiteral("Bojan Čeh"));
    persons.last();
    QVERIFY(persons.eof());
    QCOMPARE(persons.recNo(), 5);
    persons.next(); // past the end stays on the last row
    QCOMPARE(persons.recNo(), 5);
    persons.prior();
    QCOMPARE(persons.recNo(), 4);
    persons.first();
    QCOMPARE(persons.recNo(), 1);
    QVERIFY(!persons.moveTo(9));
    QCOMPARE(log.take().count(QStringLiteral("scroll")), 6);

    persons.close();
    QVERIFY(!persons.isOpen());
    QCOMPARE(persons.recordCount(), 0);
}

void TestDataset::locate_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("options");
    QTest::addColumn<QString>("found"); // empty: not found
    QTest::newRow("by key") << "ID" << QVariant(4) << 0 << "Cvetka Zupan";
    QTest::newRow("key given as text") << "ID" << QVariant(QStringLiteral("3")) << 0 << "Čebelica d.o.o.";
    QTest::newRow("exact text") << "Priimek" << QVariant(QStringLiteral("Čeh")) << 0 << "Bojan Čeh";
    QTest::newRow("case matters by default") << "Priimek" << QVariant(QStringLiteral("čeh")) << 0 << "";
    QTest::newRow("without regard to case") << "Priimek" << QVariant(QStringLiteral("ČEH")) << int(Dataset::CaseInsensitive) << "Bojan Čeh";
    QTest::newRow("beginning of the text") << "CelotnoIme" << QVariant(QStringLiteral("cvet"))
                                           << int(Dataset::CaseInsensitive | Dataset::PartialKey) << "Cvetka Zupan";
    QTest::newRow("missing") << "ID" << QVariant(42) << 0 << "";
}

void TestDataset::locate()
{
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    QFETCH(int, options);
    QFETCH(QString, found);
    TestDatabase testDatabase(SqlDialect::Sqlite);
    const auto database = testDatabase.connect();
    insertPersonsFixture(*database);
    Dataset persons(database.get(), QStringLiteral("SELECT * FROM TOsnovniPod ORDER BY CelotnoIme"));
    persons.open();
    persons.last();
    if (value.typeId() == QMetaType::Int) {
        // Finding a key's record number leaves the current row where it is.
        const int recNo = persons.recNoOf(field, value.toInt());
        QCOMPARE(recNo > 0 ? persons.valueAt(recNo, persons.fieldIndex(QStringLiteral("CelotnoIme"))).toString() : QString(), found);
        QCOMPARE(persons.recNo(), 5);
    }
    QCOMPARE(persons.locate(field, value, Dataset::LocateOptions(options)), !found.isEmpty());
    if (!found.isEmpty())
        QCOMPARE(persons.value(QStringLiteral("CelotnoIme")).toString(), found);
    else
        QCOMPARE(persons.recNo(), 5); // stays where it was
}

void TestDataset::editingWritesTheTable_data()
{
    addDialectRows(QStringLiteral("edit"));
}

void TestDataset::editingWritesTheTable()
{
    VELDRA_FETCH_TEST_DATABASE(testDatabase);
    const auto database = testDatabase.connect();
    insertPersonsFixture(*database);
    Dataset persons(database.get(), QStringLiteral("SELECT * FROM TOsnovniPod ORDER BY CelotnoIme"));
    persons.open();
    EventLog log(persons);
    QVERIFY(persons.locate(QStringLiteral("ID"), 4));
    log.take();

    persons.edit();
    QCOMPARE(persons.state(), Dataset::State::Edit);
    persons.setValue(QStringLiteral("Naslov"), QStringLiteral("Zelena pot 7\nDrugo nadstropje"));
    QCOMPARE(persons.value(QStringLiteral("Naslov")).toString(), QStringLiteral("Zelena pot 7\nDrugo nadstropje"));
    // Moving on saves the row, as in the windows.
    persons.first();
    QCOMPARE(persons.state(), Dataset::State::Browse);
    QCOMPARE(log.take(), (QStringList{"beforePost", "post", "complete:update", "scroll"}));
    QCOMPARE(stored(*database, QStringLiteral("SELECT Naslov FROM TOsnovniPod WHERE ID=4")).toString(),
             QStringLiteral("Zelena pot 7\nDrugo nadstropje"));

    // An edit that changed nothing writes nothing.
    persons.edit();
    persons.post();
    QCOMPARE(log.take(), (QStringList{"beforePost", "post", "complete:update"}));

    // A cleared text is no value: "Is Not Null" passes it over.
    QVERIFY(persons.locate(QStringLiteral("ID"), 1));
    persons.setValue(QStringLiteral("Sifra"), QString(""));
    persons.post();
    QVERIFY(persons.value(QStringLiteral("Sifra")).isNull());
    QCOMPARE(stored(*database, QStringLiteral("SELECT Count(*) FROM TOsnovniPod WHERE Sifra Is Not Null")).toInt(), 0);

    // A date on the earliest day, as older files hold for "none", can be changed.
    database->run(QStringLiteral("UPDATE TOsnovniPod SET DatumRojstva = :D WHERE ID=2"),
                  {{QStringLiteral("D"), QStringLiteral("1899-12-31T00:00:00.000")}});
    persons.requery();
    QVERIFY(persons.locate(QStringLiteral("ID"), 2));
    persons.setValue(QStringLiteral("DatumRojstva"), QDateTime(QDate(1980, 4, 2), QTime(0, 0)));
    persons.post();
    QCOMPARE(stored(*database, QStringLiteral("SELECT DatumRojstva FROM TOsnovniPod WHERE ID=2")).toDate(), QDate(1980, 4, 2));
}

void TestDataset::appendGetsKeyAndDefaults_data()
{
    addDialectRows(QStringLiteral("append"));
}

void TestDataset::appendGetsKeyAndDefaults()
{
    VELDRA_FETCH_TEST_DATABASE(testDatabase);
    const auto database = testDatabase.connect();
    Dataset contactTypes(database.get(), QStringLiteral("SELECT * FROM TKontakti ORDER BY Sort"));
    contactTypes.open();
    EventLog log(contactTypes);
    connect(&contactTypes, &Dataset::afterInsert, this, [&contactTypes] {
        contactTypes.setValue(QStringLiteral("Sort"), 9);
    });
    contactTypes.append();
    QCOMPARE(contactTypes.state(), Dataset::State::Insert);
    QCOMPARE(contactTypes.recNo(), 9);
    QCOMPARE(contactTypes.value(QStringLiteral("Sort")).toInt(), 9);
    contactTypes.setValue(QStringLiteral("Naziv"), QStringLiteral("Telegram"));
    contactTypes.post();
    QCOMPARE(log.take(), (QStringList{"insert", "scroll", "beforePost", "post", "complete:addnew"}));
    QCOMPARE(contactTypes.value(QStringLiteral("ID")).toInt(), 9);
    QCOMPARE(contactTypes.value(QStringLiteral("IsNaslov")).toBool(), false);
    QCOMPARE(stored(*database, QStringLiteral("SELECT Naziv FROM TKontakti WHERE ID=9")).toString(), QStringLiteral("Telegram"));
}

void TestDataset::cancelAndDelete()
{
    TestDatabase testDatabase(SqlDialect::Sqlite);
    const auto database = testDatabase.connect();
    insertPersonsFixture(*database);
    Dataset persons(database.get(), QStringLiteral("SELECT * FROM TOsnovniPod ORDER BY CelotnoIme"));
    persons.open();
    EventLog log(persons);

    persons.append();
    persons.setValue(QStringLiteral("CelotnoIme"), QStringLiteral("Nikoli shranjen"));
    persons.cancel();
    QCOMPARE(persons.recordCount(), 5);
    QCOMPARE(persons.state(), Dataset::State::Browse);

    persons.setValue(QStringLiteral("CelotnoIme"), QStringLiteral("Preklicano")); // begins an edit
    persons.cancel();
    QCOMPARE(persons.value(QStringLiteral("CelotnoIme")).toString(), QStringLiteral("Alfa d.o.o."));
    log.take();

    persons.last();
    persons.deleteRecord(); // the last row: the one before it becomes current
    QCOMPARE(log.take(), (QStringList{"scroll", "complete:delete", "delete", "scroll"}));
    QCOMPARE(names(persons), QStringLiteral("Alfa d.o.o.,Ana Novak,Bojan Čeh,Cvetka Zupan"));
    QCOMPARE(persons.value(QStringLiteral("CelotnoIme")).toString(), QStringLiteral("Cvetka Zupan"));
    persons.first();
    persons.deleteRecord(); // the first row: the next one becomes current
    QCOMPARE(persons.value(QStringLiteral("CelotnoIme")).toString(), QStringLiteral("Ana Novak"));
    QCOMPARE(stored(*database, QStringLiteral("SELECT Count(*) FROM TOsnovniPod")).toInt(), 3);
}

void TestDataset::postErrorRetryWithNull()
{
    TestDatabase testDatabase(SqlDialect::Sqlite);
    const auto database = testDatabase.connect();
    Dataset persons(database.get(), QStringLiteral("SELECT * FROM TOsnovniPod"));
    persons.open();
    int errors = 0;
    // The person window's way: empty the value the database refused and try again.
    connect(&persons, &Dataset::postError, this, [&](const DatabaseError &, Dataset::PostErrorAction *action) {
        ++errors;
        persons.setValue(QStringLiteral("Sifra"), QVariant());
        *action = Dataset::PostErrorAction::Retry;
    });
    persons.append();
    persons.setValue(QStringLiteral("CelotnoIme"), QStringLiteral("Ana"));
    persons.setValue(QStringLiteral("Sifra"), QString(30, QLatin1Char('9')));
    persons.post();
    QCOMPARE(errors, 1);
    QCOMPARE(persons.state(), Dataset::State::Browse);
    QCOMPARE(stored(*database, QStringLiteral("SELECT CelotnoIme FROM TOsnovniPod")).toString(), QStringLiteral("Ana"));
}

void TestDataset::postErrorFailKeepsTheEdit()
{
    TestDatabase testDatabase(SqlDialect::Sqlite);
    const auto database = testDatabase.connect();
    Dataset persons(database.get(), QStringLiteral("SELECT * FROM TOsnovniPod"));
    persons.open();
    int errors = 0;
    // A handler that keeps asking for a retry without changing anything cannot loop for ever.
    connect(&persons, &Dataset::postError, this, [&](const DatabaseError &, Dataset::PostErrorAction *action) {
        ++errors;
        *action = Dataset::PostErrorAction::Retry;
    });
    persons.append();
    persons.setValue(QStringLiteral("CelotnoIme"), QStringLiteral("Ana"));
    persons.setValue(QStringLiteral("TRR"), QStringLiteral("05100-1000000036 in še nekaj"));
    QVERIFY_THROWS_EXCEPTION(DatabaseError, persons.post());
    QVERIFY(errors > 1 && errors <= 11);
    QCOMPARE(persons.state(), Dataset::State::Insert);
    QCOMPARE(persons.value(QStringLiteral("TRR")).toString(), QStringLiteral("05100-1000000036 in še nekaj"));
    persons.setValue(QStringLiteral("TRR"), QStringLiteral("05100-1000000036"));
    disconnect(&persons, &Dataset::postError, this, nullptr);
    persons.post();
    QCOMPARE(stored(*database, QStringLiteral("SELECT TRR FROM TOsnovniPod")).toString(), QStringLiteral("05100-1000000036"));
}

void TestDataset::rowDeletedByAnotherWorkstation()
{
    TestDatabase testDatabase(SqlDialect::Sqlite);
    const auto mine = testDatabase.connect();
    const auto theirs = testDatabase.connect();
    insertPersonsFixture(*mine);
    Dataset persons(mine.get(), QStringLiteral("SELECT * FROM TOsnovniPod WHERE ID=4"));
    persons.open();
    theirs->run(QStringLiteral("DELETE * FROM TOsnovniPod WHERE ID=4"));
    persons.setValue(QStringLiteral("Ime"), QStringLiteral("Cveta"));
    try {
        persons.post();
        QFAIL("the post of a row that is gone succeeded");
    } catch (const RecordChangedError &error) {
        QCOMPARE(error.message(), QStringLiteral("Vnosa ni mogoče shraniti, ker ga je medtem izbrisal drug uporabnik."));
    }
    QCOMPARE(persons.value(QStringLiteral("Ime")).toString(), QStringLiteral("Cveta"));
}

void TestDataset::changedByAnotherWorkstation_data()
{
    addDialectRows(QStringLiteral("lost update"));
}

void TestDataset::changedByAnotherWorkstation()
{
    VELDRA_FETCH_TEST_DATABASE(testDatabase);
    const auto mine = testDatabase.connect();
    const auto theirs = testDatabase.connect();
    insertPersonsFixture(*mine);
    const QString cvetka = QStringLiteral("SELECT * FROM TOsnovniPod WHERE ID = 4");
    Dataset persons(mine.get(), cvetka);
    Dataset others(theirs.get(), cvetka);
    persons.open();
    others.open();
    const auto storedValue = [&mine](const char *field) {
        return stored(*mine, QStringLiteral("SELECT %1 FROM TOsnovniPod WHERE ID = 4").arg(QString::fromLatin1(field)));
    };

    // Changes of different fields both stay.
    others.setValue(QStringLiteral("Davcna"), QStringLiteral("11111111"));
    others.post();
    persons.setValue(QStringLiteral("Ime"), QStringLiteral("Cveta"));
    persons.post();
    QCOMPARE(storedValue("Davcna").toString(), QStringLiteral("11111111"));
    QCOMPARE(storedValue("Ime").toString(), QStringLiteral("Cveta"));

    // The same field: the later save is refused, and the edit stays; saving again is a choice.
    others.setValue(QStringLiteral("Naslov"), QStringLiteral("Njihova 1"));
    others.post();
    persons.setValue(QStringLiteral("Naslov"), QStringLiteral("Moja 2"));
    QVERIFY_THROWS_EXCEPTION(RecordChangedError, persons.post());
    QCOMPARE(persons.state(), Dataset::State::Edit);
    QCOMPARE(persons.value(QStringLiteral("Naslov")).toString(), QStringLiteral("Moja 2"));
    QCOMPARE(storedValue("Naslov").toString(), QStringLiteral("Njihova 1"));
    persons.post();
    QCOMPARE(storedValue("Naslov").toString(), QStringLiteral("Moja 2"));

    // A value both read as null, a date and a yes/no; cancelling shows the other's value.
    struct Both { const char *field; QVariant theirs; QVariant mine; };
    const Both changes[] = {{"SrednjeIme", QStringLiteral("Ana"), QStringLiteral("Maja")},
                            {"DatumRojstva", QDate(1990, 1, 1).startOfDay(), QDate(1991, 1, 1).startOfDay()},
                            {"PravnaOseba", true, false}};
    for (const Both &change : changes) {
        const QString field = QString::fromLatin1(change.field);
        others.setValue(field, change.theirs);
        others.post();
        persons.setValue(field, change.mine);
        QVERIFY_THROWS_EXCEPTION(RecordChangedError, persons.post());
        persons.cancel();
        QCOMPARE(persons.value(field), change.theirs);
    }

    // Written by another tool in another form, the values read are still the values held.
    if (testDatabase.location().dialect == SqlDialect::Sqlite) {
        theirs->runNative(QStringLiteral("UPDATE TOsnovniPod SET DatumRojstva = '1990-01-01 00:00:00', PravnaOseba = -1 WHERE ID = 4"));
        persons.requery();
    }
    persons.setValue(QStringLiteral("DatumRojstva"), QDate(1992, 2, 2));
    persons.setValue(QStringLiteral("PravnaOseba"), false);
    persons.post();
    QCOMPARE(storedValue("DatumRojstva").toString().left(10), QStringLiteral("1992-02-02"));
}

void TestDataset::joinedQueryWritesItsTable_data()
{
    addDialectRows(QStringLiteral("contacts"));
}

void TestDataset::joinedQueryWritesItsTable()
{
    VELDRA_FETCH_TEST_DATABASE(testDatabase);
    const auto database = testDatabase.connect();
    insertPersonsFixture(*database);
    Dataset contacts(database.get(),
                     QStringLiteral("SELECT TOsnovniPodVezaKontakt.ID, TOsnovniPodVezaKontakt.IDOsebe, TOsnovniPodVezaKontakt.IDKontat, "
                                    "TOsnovniPodVezaKontakt.Value, TKontakti.Sort, TKontakti.Naziv\n"
                                    "FROM TOsnovniPodVezaKontakt INNER JOIN TKontakti ON TOsnovniPodVezaKontakt.IDKontat = TKontakti.ID\n"
                                    "WHERE (((TOsnovniPodVezaKontakt.IDOsebe)=:IDOsebe ))\nORDER BY TKontakti.Sort;"));
    QVERIFY(contacts.updateTable().isEmpty());
    contacts.setUpdateTable(QStringLiteral("TOsnovniPodVezaKontakt"));
    contacts.setParameter(QStringLiteral("IDOsebe"), 1);
    contacts.open();
    QCOMPARE(names(contacts, "Naziv"), QStringLiteral("Telefon,Mobilni telefon,Elektronska pošta"));
    contacts.setValue(QStringLiteral("Value"), QStringLiteral("01 999 99 99"));
    contacts.setValue(QStringLiteral("Naziv"), QStringLiteral("shown only")); // a column of the joined table
    contacts.post();
    QCOMPARE(stored(*database, QStringLiteral("SELECT Value FROM TOsnovniPodVezaKontakt WHERE ID=1")).toString(),
             QStringLiteral("01 999 99 99"));
    QCOMPARE(stored(*database, QStringLiteral("SELECT Naziv FROM TKontakti WHERE ID=1")).toString(), QStringLiteral("Telefon"));

    contacts.append();
    contacts.setValue(QStringLiteral("IDOsebe"), 1);
    contacts.setValue(QStringLiteral("IDKontat"), 4);
    contacts.setValue(QStringLiteral("Value"), QStringLiteral("www.novak.si"));
    contacts.post();
    contacts.requery();
    QCOMPARE(names(contacts, "Value"), QStringLiteral("01 999 99 99,041 111 222,ana@example.si,www.novak.si"));
}

void TestDataset::rowFilter()
{
    TestDatabase testDatabase(SqlDialect::Sqlite);
    const auto database = testDatabase.connect();
    insertPersonsFixture(*database);
    Dataset persons(database.get(), QStringLiteral("SELECT * FROM TOsnovniPod ORDER BY CelotnoIme"));
    QString wanted = QStringLiteral("c");
    persons.setRowFilter([&wanted](const Dataset &dataset, int row) {
        return dataset.rawValue(row, dataset.fieldIndex(QStringLiteral("CelotnoIme"))).toString().startsWith(wanted, Qt::CaseInsensitive);
    });
    persons.open();
    QCOMPARE(persons.recordCount(), 5); // the filter is off until switched on
    QSignalSpy scrolled(&persons, &Dataset::afterScroll);
    persons.setFiltered(true);
    QCOMPARE(names(persons), QStringLiteral("Cvetka Zupan"));
    QCOMPARE(scrolled.count(), 1);
    wanted = QStringLiteral("a");
    persons.refilter();
    QCOMPARE(names(persons), QStringLiteral("Alfa d.o.o.,Ana Novak"));
    wanted = QStringLiteral("x");
    persons.refilter();
    QCOMPARE(persons.recordCount(), 0);
    QCOMPARE(persons.recNo(), 0);
    persons.setFiltered(false);
    QCOMPARE(persons.recordCount(), 5);
}

void TestDataset::frozenDisplay()
{
    TestDatabase testDatabase(SqlDialect::Sqlite);
    const auto database = testDatabase.connect();
    insertPersonsFixture(*database);
    Dataset persons(database.get(), QStringLiteral("SELECT * FROM TOsnovniPod ORDER BY CelotnoIme"));
    persons.open();
    QSignalSpy resets(&persons, &Dataset::rowsReset);
    QSignalSpy moves(&persons, &Dataset::currentChanged);
    QSignalSpy scrolls(&persons, &Dataset::afterScroll);

    persons.disableControls();
    persons.requery();
    persons.locate(QStringLiteral("ID"), 3);
    persons.setValue(QStringLiteral("Ime"), QStringLiteral("Medo"));
    persons.post();
    QCOMPARE(resets.count(), 0);
    QCOMPARE(moves.count(), 0);
    QCOMPARE(scrolls.count(), 2); // the events still come
    persons.enableControls();
    QCOMPARE(resets.count(), 1);
    QCOMPARE(moves.count(), 1);
}

void TestDataset::calculatedFields()
{
    TestDatabase testDatabase(SqlDialect::Sqlite);
    const auto database = testDatabase.connect();
    insertPersonsFixture(*database);
    Dataset persons(database.get(), QStringLiteral("SELECT * FROM TOsnovniPod ORDER BY CelotnoIme"));
    persons.addCalculatedField(QStringLiteral("Dolzina"), [](const Dataset &dataset, int row) {
        return dataset.rawValue(row, dataset.fieldIndex(QStringLiteral("CelotnoIme"))).toString().size();
    });
    persons.open();
    QCOMPARE(persons.value(QStringLiteral("Dolzina")).toInt(), 11); // Alfa d.o.o.
    persons.setValue(QStringLiteral("CelotnoIme"), QStringLiteral("Alfa"));
    persons.post();
    QCOMPARE(persons.value(QStringLiteral("Dolzina")).toInt(), 4);
}

void TestDataset::parametersAndRequery()
{
    TestDatabase testDatabase(SqlDialect::Sqlite);
    const auto database = testDatabase.connect();
    const auto other = testDatabase.connect();
    insertPersonsFixture(*database);
    Dataset notes(database.get(), QStringLiteral("SELECT TOsnovniPodVezaOpombe.*\nFROM TOsnovniPodVezaOpombe\n"
                                                 "WHERE (((TOsnovniPodVezaOpombe.IDOsebe)=:IDOsebe ))\nORDER BY TOsnovniPodVezaOpombe.Sort;"));
    notes.setParameter(QStringLiteral("IDOsebe"), 2);
    notes.open();
    QCOMPARE(names(notes, "Value"), QStringLiteral("Dogovor o ceni,Poslati ponudbo"));
    notes.setParameter(QStringLiteral("IDOsebe"), 1);
    notes.requery();
    QCOMPARE(names(notes, "Value"), QStringLiteral("Klic v ponedeljek"));
    // Another workstation's rows appear when the dataset is read again.
    other->run(QStringLiteral("INSERT INTO TOsnovniPodVezaOpombe (IDOsebe, Value, Sort) VALUES (1, \"Nova\", 2)"));
    QCOMPARE(notes.recordCount(), 1);
    notes.requery();
    QCOMPARE(names(notes, "Value"), QStringLiteral("Klic v ponedeljek,Nova"));
}

void TestDataset::memoryDataset()
{
    Dataset kinds;
    kinds.setMemoryFields({QStringLiteral("ID"), QStringLiteral("Name")});
    kinds.open();
    for (const auto &[id, name] : {std::pair{0, "brez"}, std::pair{1, "na mesec"}}) {
        kinds.append();
        kinds.setValue(QStringLiteral("ID"), id);
        kinds.setValue(QStringLiteral("Name"), QString::fromLatin1(name));
        kinds.post();
    }
    QCOMPARE(names(kinds, "Name"), QStringLiteral("brez,na mesec"));
    QVERIFY(kinds.locate(QStringLiteral("ID"), 1));
    kinds.deleteRecord();
    QCOMPARE(names(kinds, "Name"), QStringLiteral("brez"));
}

void TestDataset::waitsForAnotherWorkstationsWrite()
{
    TestDatabase testDatabase(SqlDialect::Sqlite);
    const auto database = testDatabase.connect();
    Dataset places(database.get(), QStringLiteral("SELECT * FROM TKraj"));
    places.open();
    // Another workstation holds the write lock for a moment.
    std::atomic<bool> locked{false};
    std::thread other([&] {
        sqlite3 *handle = nullptr;
        sqlite3_open(testDatabase.location().file.toUtf8().constData(), &handle);
        sqlite3_exec(handle, "BEGIN IMMEDIATE; INSERT INTO TKraj (Naziv) VALUES ('Bled');", nullptr, nullptr, nullptr);
        locked = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        sqlite3_exec(handle, "COMMIT;", nullptr, nullptr, nullptr);
        sqlite3_close(handle);
    });
    while (!locked)
        std::this_thread::yield();
    places.append();
    places.setValue(QStringLiteral("Naziv"), QStringLiteral("Bohinj"));
    places.post();
    other.join();
    QCOMPARE(stored(*database, QStringLiteral("SELECT Count(*) FROM TKraj WHERE Naziv IN (\"Bled\", \"Bohinj\")")).toInt(), 2);
}

void TestDataset::busyDatabaseKeepsTheEdit_data()
{
    addDialectRows(QStringLiteral("held past the timeout"));
}

void TestDataset::busyDatabaseKeepsTheEdit()
{
    VELDRA_FETCH_TEST_DATABASE(testDatabase);
    const auto mine = testDatabase.connect();
    const auto theirs = testDatabase.connect();
    insertPersonsFixture(*mine);
    mine->setBusyTimeout(200);
    Dataset persons(mine.get(), QStringLiteral("SELECT * FROM TOsnovniPod WHERE ID = 4"));
    persons.open();
    int handled = 0;
    connect(&persons, &Dataset::postError, this, [&handled](const DatabaseError &, Dataset::PostErrorAction *) { ++handled; });
    // Another workstation's write transaction holds the file's write lock, or on a server
    // the row and the places' table.
    const bool sqlite = testDatabase.location().dialect == SqlDialect::Sqlite;
    theirs->runNative(sqlite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
    theirs->runNative(QStringLiteral("UPDATE TOsnovniPod SET Davcna = '12345678' WHERE ID = 4"));
    if (!sqlite)
        theirs->runNative(QStringLiteral("LOCK TABLE TKraj IN SHARE MODE"));
    persons.setValue(QStringLiteral("Ime"), QStringLiteral("Cveta"));
    try {
        persons.post();
        QFAIL("the post succeeded while another held the database");
    } catch (const DatabaseBusyError &error) {
        QCOMPARE(error.message(), QStringLiteral("Baza je zasedena, ker z njo trenutno dela drug uporabnik. Nič ni izgubljeno: "
                                                 "poskusite znova čez nekaj trenutkov."));
    }
    QCOMPARE(handled, 0); // no change of the values mends it
    QCOMPARE(persons.state(), Dataset::State::Edit);
    QCOMPARE(persons.value(QStringLiteral("Ime")).toString(), QStringLiteral("Cveta"));

    // A new row is kept as well; once the other is done, the next try saves both.
    Dataset places(mine.get(), QStringLiteral("SELECT * FROM TKraj"));
    places.open();
    places.append();
    places.setValue(QStringLiteral("Naziv"), QStringLiteral("Bohinj"));
    QVERIFY_THROWS_EXCEPTION(DatabaseBusyError, places.post());
    QCOMPARE(places.state(), Dataset::State::Insert);
    theirs->runNative(QStringLiteral("COMMIT"));
    persons.post();
    places.post();
    QCOMPARE(stored(*mine, QStringLiteral("SELECT Ime FROM TOsnovniPod WHERE ID = 4")).toString(), QStringLiteral("Cveta"));
    QCOMPARE(stored(*mine, QStringLiteral("SELECT Davcna FROM TOsnovniPod WHERE ID = 4")).toString(), QStringLiteral("12345678"));
    QCOMPARE(stored(*mine, QStringLiteral("SELECT Count(*) FROM TKraj WHERE Naziv = \"Bohinj\"")).toInt(), 1);
}

// SQLite commits a new row whose key it returns once the statement is done; another
// workstation still reading then keeps the commit from happening.
void TestDataset::newRowNotCommittedIsTold()
{
    TestDatabase testDatabase(SqlDialect::Sqlite);
    const auto mine = testDatabase.connect();
    const auto theirs = testDatabase.connect();
    mine->setBusyTimeout(200);
    Dataset places(mine.get(), QStringLiteral("SELECT * FROM TKraj"));
    places.open();
    theirs->runNative(QStringLiteral("BEGIN"));
    theirs->runNative(QStringLiteral("SELECT Count(*) FROM TKraj"));
    places.append();
    places.setValue(QStringLiteral("Naziv"), QStringLiteral("Bohinj"));
    QVERIFY_THROWS_EXCEPTION(DatabaseBusyError, places.post());
    QCOMPARE(places.state(), Dataset::State::Insert);
    theirs->runNative(QStringLiteral("COMMIT"));
    places.post();
    QCOMPARE(stored(*mine, QStringLiteral("SELECT Count(*) FROM TKraj WHERE Naziv = \"Bohinj\"")).toInt(), 1);
    QCOMPARE(stored(*mine, QStringLiteral("SELECT Naziv FROM TKraj WHERE IDKRAJ = %1").arg(places.value(QStringLiteral("IDKRAJ")).toInt())).toString(),
             QStringLiteral("Bohinj"));
}

void TestDataset::rowsReadByKey()
{
    TestDatabase testDatabase(SqlDialect::Sqlite);
    const auto database = testDatabase.connect();
    const auto other = testDatabase.connect();
    insertPersonsFixture(*database);
    Dataset persons(database.get(), QStringLiteral("SELECT ID FROM TOsnovniPod ORDER BY (CelotnoIme);"));
    persons.setRowStatement(QStringLiteral("ID"), QStringLiteral("SELECT * FROM TOsnovniPod WHERE ID = :ID"));
    persons.setUpdateTable(QStringLiteral("TOsnovniPod"));
    persons.open();
    QCOMPARE(persons.recordCount(), 5);
    QVERIFY(persons.hasField(QStringLiteral("Davcna")));
    QCOMPARE(names(persons), QStringLiteral("Alfa d.o.o.,Ana Novak,Bojan Čeh,Cvetka Zupan,Čebelica d.o.o."));
    QVERIFY(persons.locate(QStringLiteral("ID"), 1));
    QCOMPARE(persons.value(QStringLiteral("TRR")).toString(), QStringLiteral("05100-1000000036"));

    persons.setValue(QStringLiteral("Ime"), QStringLiteral("Anja"));
    persons.post();
    QCOMPARE(persons.value(QStringLiteral("Ime")).toString(), QStringLiteral("Anja"));
    QCOMPARE(stored(*database, QStringLiteral("SELECT Ime FROM TOsnovniPod WHERE ID=1")).toString(), QStringLiteral("Anja"));

    persons.append();
    // The new row has no key to be read by yet: its values are nulls.
    QVERIFY(persons.rawValue(persons.rowOfRecord(persons.recNo()), persons.fieldIndex(QStringLiteral("CelotnoIme"))).isNull());
    persons.setValue(QStringLiteral("CelotnoIme"), QStringLiteral("Nov"));
    persons.post();
    QCOMPARE(persons.value(QStringLiteral("ID")).toInt(), 6);
    QCOMPARE(persons.recordCount(), 6);
    persons.deleteRecord();
    QCOMPARE(persons.recordCount(), 5);

    // A row another workstation removed before it was read keeps only its key.
    Dataset later(database.get(), QStringLiteral("SELECT ID FROM TOsnovniPod ORDER BY (CelotnoIme);"));
    later.setRowStatement(QStringLiteral("ID"), QStringLiteral("SELECT * FROM TOsnovniPod WHERE ID = :ID"));
    later.open();
    other->run(QStringLiteral("DELETE * FROM TOsnovniPod WHERE ID=4"));
    QVERIFY(later.locate(QStringLiteral("ID"), 4));
    QVERIFY(later.value(QStringLiteral("CelotnoIme")).isNull());
}

void TestDataset::orderedAsTheEngineOrders_data()
{
    addDialectColumn();
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");
    const QString names = QStringLiteral("SELECT IDkat, Naziv, IkonaPath FROM TKategorije WHERE IDkat > 6 ");
    for (const SqlDialect dialect : allDialects()) {
        newDialectRow(QStringLiteral("Slovenian order, empty first"), dialect)
            << names + QStringLiteral("ORDER BY Naziv;") << "Naziv"
            << ",Ahac,An,ana,Ana,Ana,Ana marija,Anamarija,Arger,ärger,Ärger,cilj,Cvet,čas,Ćiril,Dan,Đuro,Emil,Sever,šola,Zala,žaba";
        newDialectRow(QStringLiteral("descending, empty last"), dialect)
            << names + QStringLiteral("ORDER BY TKategorije.Naziv DESC;") << "Naziv"
            << "žaba,Zala,šola,Sever,Emil,Đuro,Dan,Ćiril,čas,Cvet,cilj,Ärger,ärger,Arger,Anamarija,Ana marija,Ana,Ana,ana,An,Ahac,";
        newDialectRow(QStringLiteral("a second term for equal names"), dialect)
            << names + QStringLiteral("AND Naziv Like \"Ana\" ORDER BY Naziv, IkonaPath DESC") << "IkonaPath" << ",b.ico,a.ico";
        newDialectRow(QStringLiteral("numbers as numbers"), dialect)
            << QStringLiteral("SELECT ID, Sort FROM TKontakti WHERE ID < 4 ORDER BY Sort DESC") << "Sort" << "12,9,3";
        newDialectRow(QStringLiteral("an expression named by its alias"), dialect)
            << QStringLiteral("SELECT IDkat, Trim([Naziv]+\" \"+[IkonaPath]) AS Celota FROM TKategorije WHERE Naziv = \"Ana\" ORDER BY Celota;")
            << "Celota" << "Ana a.ico,Ana b.ico";
    }
}

void TestDataset::orderedAsTheEngineOrders()
{
    VELDRA_FETCH_TEST_DATABASE(testDatabase);
    QFETCH(QString, sql);
    QFETCH(QString, field);
    QFETCH(QString, expected);
    const auto database = testDatabase.connect();
    for (const char *name : {"žaba", "Zala", "šola", "Sever", "Ćiril", "čas", "Cvet", "cilj", "Dan", "Đuro", "Emil", "ana", "Ana", "Ahac",
                             "Ärger", "An", "Ana marija", "Anamarija", "Arger", "ärger"})
        database->run(QStringLiteral("INSERT INTO TKategorije (Naziv) VALUES (:N)"), {{QStringLiteral("N"), QString::fromUtf8(name)}});
    database->run(QStringLiteral("INSERT INTO TKategorije (Naziv) VALUES (Null)"));
    database->run(QStringLiteral("INSERT INTO TKategorije (Naziv, IkonaPath) VALUES (\"Ana\", \"a.ico\")"));
    database->run(QStringLiteral("UPDATE TKategorije SET IkonaPath = \"b.ico\" WHERE Naziv = \"Ana\" AND IkonaPath Is Null"));
    database->run(QStringLiteral("UPDATE TKontakti SET Sort = 12 WHERE ID = 1"));
    database->run(QStringLiteral("UPDATE TKontakti SET Sort = 9 WHERE ID = 2"));
    Dataset ordered(database.get(), sql);
    ordered.open();
    QCOMPARE(names(ordered, qPrintable(field)), expected);
}

void TestDataset::readAgainInOrder_data()
{
    addDialectRows(QStringLiteral("read again"));
}

// A list read again after another workstation's changes is in the order of a fresh read.
void TestDataset::readAgainInOrder()
{
    VELDRA_FETCH_TEST_DATABASE(testDatabase);
    const auto database = testDatabase.connect();
    const auto other = testDatabase.connect();
    for (int i = 0; i < 60; ++i)
        database->run(QStringLiteral("INSERT INTO TOsnovniPod (CelotnoIme, Podjetje) VALUES (:N, \"False\")"),
                      {{QStringLiteral("N"), QStringLiteral("Oseba %1").arg(i * 7 % 60)}});
    const QString sql = QStringLiteral("SELECT ID, CelotnoIme FROM TOsnovniPod ORDER BY CelotnoIme");
    Dataset persons(database.get(), sql);
    persons.setTracksChanges(true);
    persons.open();
    for (const char *change : {"INSERT INTO TOsnovniPod (CelotnoIme) VALUES (\"Ana\")", "UPDATE TOsnovniPod SET CelotnoIme = \"Žan\" WHERE ID = 3",
                               "UPDATE TOsnovniPod SET CelotnoIme = \"Oseba 1\" WHERE ID = 40", "DELETE * FROM TOsnovniPod WHERE ID = 10"}) {
        other->run(QString::fromUtf8(change));
        QVERIFY(persons.requeryIfChanged());
        Dataset fresh(database.get(), sql);
        fresh.open();
        QCOMPARE(names(persons), names(fresh));
        QCOMPARE(names(persons, "ID"), names(fresh, "ID"));
    }
}

void TestDataset::requeryOnlyWhenChanged_data()
{
    addDialectRows(QStringLiteral("refresh"));
}

void TestDataset::requeryOnlyWhenChanged()
{
    VELDRA_FETCH_TEST_DATABASE(testDatabase);
    const auto database = testDatabase.connect();
    const auto other = testDatabase.connect();
    insertPersonsFixture(*database);
    Dataset persons(database.get(), QStringLiteral("SELECT * FROM TOsnovniPod ORDER BY CelotnoIme"));
    persons.setTracksChanges(true);
    persons.open();
    QVERIFY(!persons.requeryIfChanged());

    // This program's own writes count at once.
    Dataset places(database.get(), QStringLiteral("SELECT * FROM TKraj"));
    places.open();
    places.setValue(QStringLiteral("Zip"), QStringLiteral("1001"));
    places.post();
    QVERIFY(persons.requeryIfChanged());
    QVERIFY(!persons.requeryIfChanged());
    persons.requery();
    QVERIFY(!persons.requeryIfChanged());

    // Another workstation's change to a table that has no stamps, in a transaction that is
    // still open when this one looks: it is seen once it is committed.
    other->runNative(QStringLiteral("BEGIN"));
    other->run(QStringLiteral("INSERT INTO TOsnovniPodVezaOpombe (IDOsebe, Value) VALUES (1, \"Opomba\")"));
    persons.requeryIfChanged();
    QVERIFY(!persons.requeryIfChanged());
    other->runNative(QStringLiteral("COMMIT"));
    QVERIFY(persons.requeryIfChanged());
    QVERIFY(!persons.requeryIfChanged());

    other->run(QStringLiteral("INSERT INTO TOsnovniPod (CelotnoIme) VALUES (\"Drugi\")"));
    QVERIFY(persons.requeryIfChanged());
    QCOMPARE(persons.recordCount(), 6);

    // Several datasets are read again at the same time, each as it would be alone.
    Dataset companies(database.get(), QStringLiteral("SELECT ID, CelotnoIme FROM TOsnovniPod WHERE Podjetje = \"True\" ORDER BY CelotnoIme"));
    companies.setTracksChanges(true);
    companies.open();
    QCOMPARE(Dataset::requeryIfChanged({&persons, &companies}), (std::vector<bool>{false, false}));
    other->run(QStringLiteral("INSERT INTO TOsnovniPod (CelotnoIme, Podjetje) VALUES (\"Beta d.o.o.\", \"True\")"));
    QCOMPARE(Dataset::requeryIfChanged({&persons, &companies}), (std::vector<bool>{true, true}));
    QCOMPARE(persons.recordCount(), 7);
    QCOMPARE(names(companies), QStringLiteral("Alfa d.o.o.,Beta d.o.o.,Čebelica d.o.o."));
}

void TestDataset::serverWritesDoNotWaitForEachOther()
{
    TestDatabase testDatabase(SqlDialect::Postgres);
    if (!testDatabase.isAvailable())
        QSKIP("VELDRA_TEST_PG names no PostgreSQL server");
    const auto mine = testDatabase.connect();
    const auto other = testDatabase.connect();
    insertPersonsFixture(*mine);
    // A save that had to wait for the other workstation fails here instead of waiting.
    mine->runNative(QStringLiteral("SET lock_timeout = '1s'"));
    other->runNative(QStringLiteral("BEGIN"));
    other->run(QStringLiteral("UPDATE TKraj SET Zip = \"1001\" WHERE IDKRAJ = 1"));
    Dataset persons(mine.get(), QStringLiteral("SELECT * FROM TOsnovniPod WHERE ID = 2"));
    persons.open();
    persons.setValue(QStringLiteral("Davcna"), QStringLiteral("12345678"));
    QElapsedTimer saving;
    saving.start();
    persons.post();
    qInfo("a save while another workstation's transaction is open: %lld ms", saving.elapsed());
    other->runNative(QStringLiteral("COMMIT"));
    QCOMPARE(stored(*other, QStringLiteral("SELECT Davcna FROM TOsnovniPod WHERE ID = 2")).toString(), QStringLiteral("12345678"));
}

QTEST_GUILESS_MAIN(TestDataset)
#include "tst_Dataset.moc"
