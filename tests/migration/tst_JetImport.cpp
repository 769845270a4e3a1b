#include "Database.h"
#include "DatabaseError.h"
#include "DatabaseImport.h"
#include "JetImport.h"
#include "TableSource.h"
#include "TestDatabase.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlQuery>
#include <QTest>

namespace {

using Content = TestDatabase::Content;
using DatabaseImport::Mapping;

QString sample(const char *name)
{
    return QStringLiteral(SAMPLES) + QLatin1String(name);
}

QByteArray fingerprint(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex() + ' '
        + QByteArray::number(QFileInfo(path).lastModified().toMSecsSinceEpoch());
}

// Rows as the database holds them, their values joined by "|".
QString rowOf(const Database &database, const QString &sql)
{
    QStringList values;
    qsizetype columns = 0;
    database.read(sql, {}, [&](const QStringList &names) { columns = names.size(); }, [&](const QVariant *stored) {
        for (qsizetype i = 0; i < columns; ++i)
            values << (stored[i].isNull() ? QStringLiteral("NULL") : stored[i].toString());
    });
    return values.join(QLatin1Char('|'));
}

qlonglong nextKey(const Database &database, const QString &table, const QString &key)
{
    QSqlQuery inserted = database.runNative(QStringLiteral("INSERT INTO %1 DEFAULT VALUES RETURNING %2").arg(table, key));
    return inserted.next() ? inserted.value(0).toLongLong() : -1;
}

bool hasTables(const TestDatabase &database)
{
    if (database.location().dialect == SqlDialect::Sqlite && !QFileInfo::exists(database.location().file))
        return false;
    return !Database(database.location(), Database::Purpose::Install).connection().tables().isEmpty();
}

// The sample's first table onto three of ours, with every type of value.
Mapping everyTypeMapping()
{
    return {
        {QStringLiteral("Table1"), QStringLiteral("TOsnovniPod"),
         {{"A", "Ime"}, {"B", "Priimek"}, {"G", "DatumRojstva"}, {"I", "PravnaOseba"}, {"I", "Podjetje"}}},
        {QStringLiteral("table1"), QStringLiteral("tmaticnipodaci"), {{"E", "IDFirma"}, {"A", "Naziv"}, {"H", "OsnovniKapital"}}},
        {QStringLiteral("Table1"), QStringLiteral("TOsnovniPodVezaAlarmi"),
         {{"C", "AlertDaysBefore"}, {"G", "DatumCas"}, {"B", "Value"}, {"E", "IDOsebe"}, {"D", "IDAlarm"}}},
    };
}

// Tables of another database kept in memory.
class MemoryTables : public TableSource
{
public:
    struct Table
    {
        QString name;
        QStringList columns;
        QList<QVariantList> rows;
    };
    explicit MemoryTables(QList<Table> tables)
        : m_tables(std::move(tables))
    {
    }

    QString describe() const override { return QStringLiteral("memory"); }
    QStringList tables() const override
    {
        QStringList names;
        for (const Table &table : m_tables)
            names << table.name;
        return names;
    }
    QStringList columns(const QString &table) const override { return find(table).columns; }
    qint64 rowCount(const QString &table) const override { return find(table).rows.size(); }
    void read(const QString &table, const QStringList &columns, const std::function<void(const QVariant *)> &row) const override
    {
        const Table &found = find(table);
        for (const QVariantList &stored : found.rows) {
            QVariantList values;
            for (const QString &column : columns)
                values << stored.value(found.columns.indexOf(column));
            row(values.constData());
        }
    }

private:
    const Table &find(const QString &name) const
    {
        for (const Table &table : m_tables)
            if (table.name.compare(name, Qt::CaseInsensitive) == 0)
                return table;
        throw DatabaseError(QStringLiteral("no table %1").arg(name));
    }

    QList<Table> m_tables;
};

}

class TestJetImport : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void importsMappedTables_data();
    void importsMappedTables();
    void tablesAndColumnsOfTheSameNames_data();
    void tablesAndColumnsOfTheSameNames();
    void failureLeavesNothing_data();
    void failureLeavesNothing();
    void targetsThatHoldData_data();
    void targetsThatHoldData();
    void commandLine();
};

void TestJetImport::importsMappedTables_data()
{
    addDialectRows(QStringLiteral("new database"));
}

void TestJetImport::importsMappedTables()
{
    QFETCH(int, dialect);
    TestDatabase target(SqlDialect(dialect), Content::Empty);
    if (!target.isAvailable())
        QSKIP("VELDRA_TEST_PG names no PostgreSQL server");
    const QString jet = sample("testV2003.mdb");
    const QByteArray before = fingerprint(jet);
    QList<std::pair<qint64, qint64>> progress;
    const DatabaseImport::Report report =
        JetImport::run(jet, target.location(), everyTypeMapping(), [&](qint64 done, qint64 total) { progress.append({done, total}); });
    // The Jet file is only read.
    QCOMPARE(fingerprint(jet), before);
    QCOMPARE(progress.last(), (std::pair<qint64, qint64>(6, 6)));
    QCOMPARE(report.skippedTables, (QStringList{"Table2", "Table3", "Table4"}));
    QCOMPARE(report.tables.size(), 3);
    QCOMPARE(report.tables[0].rows, 2);
    QCOMPARE(report.tables[0].skippedColumns, (QStringList{"C", "D", "E", "F", "H"}));
    QCOMPARE(JetImport::summary(report).first(), QStringLiteral("TOsnovniPod (from Table1): 2 rows"));
    QVERIFY(JetImport::summary(report).contains(QStringLiteral("skipped table Table4")));

    const auto database = target.connect();
    // Yes/No as the person table keeps its company flag, dates as the wall clock showed them.
    QCOMPARE(rowOf(*database, QStringLiteral("SELECT Ime, Priimek, DatumRojstva, PravnaOseba, Podjetje FROM TOsnovniPod ORDER BY Ime")),
             QStringLiteral("a|b|1981-12-12T00:00:00.000|%1|False|abcdefg|hijklmnop|1974-09-21T00:00:00.000|%2|True")
                 .arg(dialect == int(SqlDialect::Sqlite) ? "0" : "false", dialect == int(SqlDialect::Sqlite) ? "1" : "true"));
    // The own company's first row gave way to the file's rows; currency is a number.
    QCOMPARE(rowOf(*database, QStringLiteral("SELECT IDFirma, Naziv, OsnovniKapital FROM TMaticniPodaci ORDER BY IDFirma")),
             QStringLiteral("0|a|0|333333333|abcdefg|3.5"));
    QCOMPARE(rowOf(*database, QStringLiteral("SELECT IDOsebe, IDAlarm, AlertDaysBefore, Value FROM TOsnovniPodVezaAlarmi ORDER BY IDOsebe")),
             QStringLiteral("0|0|0|b|333333333|222|2|hijklmnop"));
    // Tables the file does not fill keep an installation's first rows.
    QCOMPARE(stored(*database, QStringLiteral("SELECT count(*) FROM TKraj")).toInt(), 15);
    // A person who is gone still has alarms under key 333333333: no new person takes it.
    QCOMPARE(nextKey(*database, QStringLiteral("TOsnovniPod"), QStringLiteral("ID")), 333333334);
    QCOMPARE(nextKey(*database, QStringLiteral("TEventAlarms"), QStringLiteral("ID")), 223);
    QCOMPARE(nextKey(*database, QStringLiteral("TKraj"), QStringLiteral("IDKRAJ")), 16);
    QCOMPARE(nextKey(*database, QStringLiteral("TOsnovniPodVezaAlarmi"), QStringLiteral("ID")), 3);
}

void TestJetImport::tablesAndColumnsOfTheSameNames_data()
{
    addDialectRows(QStringLiteral("new database"));
}

void TestJetImport::tablesAndColumnsOfTheSameNames()
{
    QFETCH(int, dialect);
    TestDatabase target(SqlDialect(dialect), Content::Empty);
    if (!target.isAvailable())
        QSKIP("VELDRA_TEST_PG names no PostgreSQL server");
    const MemoryTables source({{QStringLiteral("tosnovnipod"), {"id", "IME", "priimek", "Barva"}, {{qint64(7), "Ana", "Novak", "modra"}}},
                               {QStringLiteral("TOSNOVNIPODVEZAOPOMBE"), {"ID", "IDOSEBE", "VALUE"}, {{qint64(3), qint64(7), "Kliče v petek"}}},
                               {QStringLiteral("Narocila"), {"ID"}, {{qint64(1)}}}});
    const Mapping mapping = DatabaseImport::sameNames(source);
    QCOMPARE(mapping.size(), 2);
    QCOMPARE(mapping[0].target, QStringLiteral("TOsnovniPod"));
    Database database(target.location(), Database::Purpose::Install);
    const DatabaseImport::Report report = DatabaseImport::run(source, mapping, database);
    QCOMPARE(report.skippedTables, QStringList{QStringLiteral("Narocila")});
    QCOMPARE(report.tables[0].skippedColumns, QStringList{QStringLiteral("Barva")});
    // Columns the source lacks get their defaults.
    QCOMPARE(rowOf(database, QStringLiteral("SELECT ID, Ime, Priimek, CelotnoIme, PravnaOseba FROM TOsnovniPod")),
             QStringLiteral("7|Ana|Novak|NULL|%1").arg(dialect == int(SqlDialect::Sqlite) ? "0" : "false"));
    QCOMPARE(rowOf(database, QStringLiteral("SELECT ID, IDOsebe, Value, Datum FROM TOsnovniPodVezaOpombe")), QStringLiteral("3|7|Kliče v petek|NULL"));
    QCOMPARE(nextKey(database, QStringLiteral("TOsnovniPod"), QStringLiteral("ID")), 8);
}

void TestJetImport::failureLeavesNothing_data()
{
    addDialectColumn();
    QTest::addColumn<QString>("file");
    QTest::addColumn<Mapping>("mapping");
    QTest::addColumn<QString>("message");
    for (const SqlDialect dialect : allDialects()) {
        // The notes are written when the persons' long text is refused.
        newDialectRow(QStringLiteral("a text too long"), dialect)
            << QStringLiteral("testUnicodeCompV2003.mdb")
            << Mapping{{QStringLiteral("Table"), QStringLiteral("TOsnovniPodVezaOpombe"), {{"ID", "ID"}, {"ID", "IDOsebe"}, {"Unicode", "Value"}}},
                       {QStringLiteral("Table"), QStringLiteral("TOsnovniPod"), {{"ID", "ID"}, {"Unicode", "Naziv"}}}}
            << QStringLiteral("refused a row of TOsnovniPod among ID 1 to 8");
        newDialectRow(QStringLiteral("a word for a number"), dialect)
            << QStringLiteral("testV2003.mdb")
            << Mapping{{QStringLiteral("Table1"), QStringLiteral("TKraj"), {{"B", "Naziv"}}},
                       {QStringLiteral("Table1"), QStringLiteral("TOsnovniPod"), {{"E", "ID"}, {"A", "IDKRAJ"}}}}
            << QStringLiteral("holds \"abcdefg\" in A");
        newDialectRow(QStringLiteral("a column the file lacks"), dialect)
            << QStringLiteral("testV2003.mdb") << Mapping{{QStringLiteral("Table1"), QStringLiteral("TKraj"), {{"Z", "Naziv"}}}}
            << QStringLiteral("has no column Z");
    }
}

void TestJetImport::failureLeavesNothing()
{
    QFETCH(int, dialect);
    QFETCH(QString, file);
    QFETCH(Mapping, mapping);
    QFETCH(QString, message);
    TestDatabase target(SqlDialect(dialect), Content::Empty);
    if (!target.isAvailable())
        QSKIP("VELDRA_TEST_PG names no PostgreSQL server");
    try {
        JetImport::run(sample(file.toLatin1().constData()), target.location(), mapping);
        QFAIL("the import was made");
    } catch (const DatabaseError &error) {
        QVERIFY2(error.message().contains(message), qPrintable(error.message()));
    }
    // Not even the tables: a new file is gone again, a server database as it was.
    QVERIFY(!hasTables(target));
    QVERIFY(dialect != int(SqlDialect::Sqlite) || !QFileInfo::exists(target.location().file));
}

void TestJetImport::targetsThatHoldData_data()
{
    addDialectColumn();
    QTest::addColumn<bool>("withPerson");
    QTest::addColumn<QString>("message");
    newDialectRow(QStringLiteral("an existing file"), SqlDialect::Sqlite) << false << QStringLiteral("exists");
    newDialectRow(QStringLiteral("a prepared server database"), SqlDialect::Postgres) << false << QString();
    newDialectRow(QStringLiteral("a server database with persons"), SqlDialect::Postgres) << true << QStringLiteral("holds persons already");
}

void TestJetImport::targetsThatHoldData()
{
    VELDRA_FETCH_TEST_DATABASE(target);
    QFETCH(bool, withPerson);
    QFETCH(QString, message);
    if (withPerson)
        target.connect()->runNative(QStringLiteral("INSERT INTO TOsnovniPod (Priimek) VALUES ('Novak')"));
    const Mapping mapping{{QStringLiteral("Table1"), QStringLiteral("TMaticniPodaci"), {{"E", "IDFirma"}, {"A", "Naziv"}}}};
    try {
        JetImport::run(sample("testV2003.mdb"), target.location(), mapping);
        QVERIFY2(message.isEmpty(), "the import was made");
    } catch (const DatabaseError &error) {
        QVERIFY2(!message.isEmpty() && error.message().contains(message), qPrintable(error.message()));
    }
    // Refused, the database is as it was; taken, the file's rows are in place of the first ones.
    const auto database = target.connect();
    QCOMPARE(rowOf(*database, QStringLiteral("SELECT IDFirma FROM TMaticniPodaci ORDER BY IDFirma")),
             message.isEmpty() ? QStringLiteral("0|333333333") : QStringLiteral("1"));
    QCOMPARE(stored(*database, QStringLiteral("SELECT count(*) FROM TOsnovniPod")).toInt(), withPerson ? 1 : 0);
}

void TestJetImport::commandLine()
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("Veldra_be.mdb"));
    QByteArray output;
    const auto dbtool = [&output](const QStringList &arguments) {
        QProcess process;
        process.start(QStringLiteral(VELDRA_DBTOOL), QStringList{QStringLiteral("import-jet")} + arguments);
        process.waitForFinished();
        output = process.readAllStandardOutput() + process.readAllStandardError();
        return process.exitCode();
    };
    QCOMPARE(dbtool({target}), 2);
    // A file without a table of ours is not the Windows program's, and leaves nothing behind.
    QCOMPARE(dbtool({target, sample("testUnicodeCompV2003.mdb")}), 1);
    QVERIFY2(output.contains("holds no table of Veldra") && output.contains("nothing was imported"), output.constData());
    QVERIFY(!QFileInfo::exists(target));
    QCOMPARE(dbtool({target, sample("README.md")}), 1);
    QVERIFY2(output.contains("Microsoft Access"), output.constData());
    QVERIFY(!QFileInfo::exists(target));
}

QTEST_GUILESS_MAIN(TestJetImport)
#include "tst_JetImport.moc"
