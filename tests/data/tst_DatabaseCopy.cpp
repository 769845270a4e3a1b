#include "Database.h"
#include "DatabaseCopy.h"
#include "DatabaseError.h"
#include "Schema.h"
#include "TestDatabase.h"

#include <QDateTime>
#include <QFileInfo>
#include <QProcess>
#include <QSqlQuery>
#include <QTest>

namespace {

using Content = TestDatabase::Content;

bool isAutoNumbered(const Schema::Table &table)
{
    return table.column(QString::fromLatin1(table.key))->type == Schema::Type::AutoNumber;
}

// A value of each column's type: texts with č, š and ž, a long memo, a date with
// milliseconds; the second row of each table holds nulls wherever a column takes them.
QVariant sampleValue(const Schema::Column &column, int row)
{
    if (row == 1 && column.type != Schema::Type::YesNo)
        return {};
    switch (column.type) {
    case Schema::Type::Text:
        if (column.size == 0)
            return QString(QString(100000, QChar(u'č')) + QStringLiteral(" konec"));
        return QStringLiteral("Čšž %1 %2").arg(QString::fromLatin1(column.name)).arg(row).left(column.size);
    case Schema::Type::DateTime:
        return QDateTime(QDate(2026, 12, 9 + row), QTime(14, 3, 59, 123));
    case Schema::Type::YesNo:
        return row == 0;
    case Schema::Type::Byte:
        return 200 + row;
    case Schema::Type::Double:
        return 7500.25 + row;
    default:
        return 1000 + row;
    }
}

// Rows in every table; of each AutoNumber table's rows the newest is deleted again, so
// that its counter stands above its greatest key.
void fillEveryTable(const Database &database)
{
    for (int i = 0; i < Schema::tableCount(); ++i) {
        const Schema::Table &table = Schema::tableAt(i);
        const bool numbered = isAutoNumbered(table);
        QStringList names;
        QStringList marks;
        for (const Schema::Column &column : table.columns) {
            if (numbered && column.type == Schema::Type::AutoNumber)
                continue;
            names << QString::fromLatin1(column.name);
            marks << QStringLiteral("?");
        }
        for (int row = 0; row < 3; ++row) {
            QVariantList values;
            for (const Schema::Column &column : table.columns) {
                if (numbered && column.type == Schema::Type::AutoNumber)
                    continue;
                // The own company's row of the installation has key 1.
                values << database.toDatabase(column, qstrcmp(column.name, table.key) == 0 ? QVariant(2 + row) : sampleValue(column, row));
            }
            database.runNative(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                   .arg(QString::fromLatin1(table.name), names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
                               values);
        }
        if (numbered)
            database.runNative(QStringLiteral("DELETE FROM %1 WHERE %2 = (SELECT max(%2) FROM %1)")
                                   .arg(QString::fromLatin1(table.name), QString::fromLatin1(table.key)));
    }
}

// Every row of a table as the program reads it, in the order of the keys.
QStringList rowsOf(const Database &database, const Schema::Table &table, const QStringList &leftOut = {})
{
    QStringList names;
    for (const Schema::Column &column : table.columns)
        if (!leftOut.contains(QString::fromLatin1(column.name)))
            names << QString::fromLatin1(column.name);
    QStringList rows;
    database.read(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3").arg(names.join(QLatin1Char(',')), QString::fromLatin1(table.name),
                                                                         QString::fromLatin1(table.key)),
                  {}, [](const QStringList &) {}, [&](const QVariant *values) {
                      QStringList row;
                      for (qsizetype i = 0; i < names.size(); ++i) {
                          const Schema::Column *column = table.column(names[i]);
                          const QVariant value = database.fromDatabase(column, values[i]);
                          row << (value.isNull()                                  ? QStringLiteral("NULL")
                                      : column->type == Schema::Type::DateTime ? value.toDateTime().toString(Qt::ISODateWithMs)
                                                                               : value.toString());
                      }
                      rows << row.join(QLatin1Char('|'));
                  });
    return rows;
}

qlonglong nextKey(const Database &database, const Schema::Table &table)
{
    QSqlQuery inserted = database.runNative(
        QStringLiteral("INSERT INTO %1 DEFAULT VALUES RETURNING %2").arg(QString::fromLatin1(table.name), QString::fromLatin1(table.key)));
    return inserted.next() ? inserted.value(0).toLongLong() : -1;
}

// The source and target rows of the tests: every pair of engines.
void addEnginePairs()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    for (const SqlDialect from : allDialects())
        for (const SqlDialect to : allDialects())
            QTest::addRow("%s to %s", from == SqlDialect::Sqlite ? "sqlite" : "postgres", to == SqlDialect::Sqlite ? "sqlite" : "postgres")
                << int(from) << int(to);
}

bool hasTables(const TestDatabase &database)
{
    if (database.location().dialect == SqlDialect::Sqlite && !QFileInfo::exists(database.location().file))
        return false;
    return !Database(database.location(), Database::Purpose::Install).connection().tables().isEmpty();
}

}

class TestDatabaseCopy : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void copiesEveryRowAndCounter_data();
    void copiesEveryRowAndCounter();
    void failureLeavesNoHalfCopy_data();
    void failureLeavesNoHalfCopy();
    void refusesTargetWithData_data();
    void refusesTargetWithData();
    void commandLine();
};

void TestDatabaseCopy::copiesEveryRowAndCounter_data()
{
    addEnginePairs();
}

void TestDatabaseCopy::copiesEveryRowAndCounter()
{
    QFETCH(int, from);
    QFETCH(int, to);
    TestDatabase sourceDatabase{SqlDialect(from)};
    TestDatabase targetDatabase{SqlDialect(to), Content::Empty};
    if (!sourceDatabase.isAvailable() || !targetDatabase.isAvailable())
        QSKIP("VELDRA_TEST_PG names no PostgreSQL server");
    const auto source = sourceDatabase.connect();
    fillEveryTable(*source);
    const QStringList sourceStamps = rowsOf(*source, *Schema::table(u"TRequery"));
    QStringList told;
    {
        Database target(targetDatabase.location(), Database::Purpose::Install);
        DatabaseCopy::run(*source, target, [&told](const QString &table, qint64 rows) {
            told << table + QLatin1Char(' ') + QString::number(rows);
        });
    }
    QCOMPARE(told.size(), Schema::tableCount());
    QCOMPARE(told.first(), QStringLiteral("TOsnovniPod 2"));

    const auto target = targetDatabase.connect();
    QVERIFY(target->hasChangeTracking());
    for (int i = 0; i < Schema::tableCount(); ++i) {
        const Schema::Table &table = Schema::tableAt(i);
        // The stamps are moved on, the rest is as it was.
        const QStringList stamp = table.name == QLatin1String("TRequery") ? QStringList{QStringLiteral("LastModified")} : QStringList();
        QCOMPARE(rowsOf(*target, table, stamp), rowsOf(*source, table, stamp));
        if (!isAutoNumbered(table))
            continue;
        const qlonglong counter = source->keyCounter(table);
        QCOMPARE(target->keyCounter(table), counter);
        // A deleted key is not given again: the next one is the source's.
        QCOMPARE(nextKey(*target, table), counter + 1);
        QCOMPARE(nextKey(*source, table), counter + 1);
        // Never moved back, also where the newest key is deleted again.
        target->runNative(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(QString::fromLatin1(table.name), QString::fromLatin1(table.key)),
                          {counter + 1});
        target->raiseKeyCounter(table, 1);
        QCOMPARE(nextKey(*target, table), counter + 2);
    }
    // Workstations that read a table before see a new stamp; a stamp without a table name is left.
    const QStringList stamps = rowsOf(*target, *Schema::table(u"TRequery"));
    QCOMPARE(stamps.size(), 3); // two copied, one given by nextKey
    const auto stampOf = [](const QString &row) { return row.section(QLatin1Char('|'), 2); };
    QVERIFY2(stampOf(stamps[0]) > stampOf(sourceStamps[0]), qPrintable(stamps[0]));
    QCOMPARE(stamps[1], sourceStamps[1]);
}

void TestDatabaseCopy::failureLeavesNoHalfCopy_data()
{
    addDialectColumn();
    QTest::addColumn<QString>("update");
    QTest::addColumn<QString>("message");
    for (const SqlDialect dialect : allDialects()) {
        // An older tool wrote past the column's size; the target refuses the text.
        newDialectRow(QStringLiteral("a text too long"), dialect)
            << QStringLiteral("UPDATE TMaticniPodaci SET TRR = '05100-1000000036199'") << QStringLiteral("TMaticniPodaci among IDFirma 1 to 4");
        // Written in a form of some other program, the date would arrive as nothing.
        newDialectRow(QStringLiteral("a date not readable"), dialect)
            << QStringLiteral("UPDATE TUsers SET LastOpenedDate = '31.12.2025 (08:15)'")
            << QStringLiteral("\"31.12.2025 (08:15)\" in LastOpenedDate");
    }
}

void TestDatabaseCopy::failureLeavesNoHalfCopy()
{
    QFETCH(int, dialect);
    QFETCH(QString, update);
    QFETCH(QString, message);
    TestDatabase sourceDatabase(SqlDialect::Sqlite);
    TestDatabase targetDatabase(SqlDialect(dialect), Content::Empty);
    if (!targetDatabase.isAvailable())
        QSKIP("VELDRA_TEST_PG names no PostgreSQL server");
    const auto source = sourceDatabase.connect();
    fillEveryTable(*source);
    source->runNative(QStringLiteral("PRAGMA ignore_check_constraints = ON"));
    source->runNative(update);
    {
        Database target(targetDatabase.location(), Database::Purpose::Install);
        try {
            DatabaseCopy::run(*source, target);
            QFAIL("the copy was made");
        } catch (const DatabaseError &error) {
            QVERIFY2(error.message().contains(message), qPrintable(error.message()));
        }
    }
    // The persons went first, and none of them stayed; the target takes a copy again.
    QVERIFY(!hasTables(targetDatabase));
    source->runNative(QStringLiteral("UPDATE TMaticniPodaci SET TRR = NULL"));
    source->runNative(QStringLiteral("UPDATE TUsers SET LastOpenedDate = NULL"));
    Database target(targetDatabase.location(), Database::Purpose::Install);
    DatabaseCopy::run(*source, target);
    QCOMPARE(stored(target, QStringLiteral("SELECT count(*) FROM TOsnovniPod")).toInt(), 2);
}

void TestDatabaseCopy::refusesTargetWithData_data()
{
    addDialectRows(QStringLiteral("installed"));
}

void TestDatabaseCopy::refusesTargetWithData()
{
    VELDRA_FETCH_TEST_DATABASE(targetDatabase);
    TestDatabase sourceDatabase(SqlDialect::Sqlite);
    const auto source = sourceDatabase.connect();
    fillEveryTable(*source);
    const auto target = targetDatabase.connect();
    const QStringList before = rowsOf(*target, *Schema::table(u"TKontakti"));
    try {
        DatabaseCopy::run(*source, *target);
        QFAIL("the copy was made");
    } catch (const DatabaseError &error) {
        QVERIFY2(error.message().contains(QLatin1String("is not empty")), qPrintable(error.message()));
    }
    QCOMPARE(rowsOf(*target, *Schema::table(u"TKontakti")), before);
    QCOMPARE(stored(*target, QStringLiteral("SELECT count(*) FROM TOsnovniPod")).toInt(), 0);
}

void TestDatabaseCopy::commandLine()
{
    TestDatabase sourceDatabase(SqlDialect::Sqlite);
    const auto source = sourceDatabase.connect();
    fillEveryTable(*source);
    TestDatabase targetDatabase(SqlDialect::Sqlite, Content::Empty);
    const QString target = targetDatabase.location().file;
    const QStringList files{sourceDatabase.location().file, target};
    QByteArray output;
    const auto dbtool = [&output](const QStringList &arguments) {
        QProcess process;
        // Where the clocks go forward: a time of that night's missing hour must arrive too.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TZ"), QStringLiteral("Europe/Ljubljana"));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(VELDRA_DBTOOL), QStringList{QStringLiteral("copy")} + arguments);
        process.waitForFinished();
        output = process.readAllStandardOutput() + process.readAllStandardError();
        return process.exitCode();
    };
    QCOMPARE(dbtool({files[0]}), 2);
    // Failed half-way, the copy leaves no file of its own behind.
    source->runNative(QStringLiteral("UPDATE TUsers SET LastOpenedDate = 'včeraj'"));
    QCOMPARE(dbtool(files), 1);
    QVERIFY2(output.contains("nothing was copied"), output.constData());
    QVERIFY(!QFileInfo::exists(target));
    source->runNative(QStringLiteral("UPDATE TUsers SET LastOpenedDate = '2026-03-29T02:30:59.123'"));
    QCOMPARE(dbtool(files), 0);
    QVERIFY2(output.startsWith("TOsnovniPod: 2 rows\n"), output.constData());
    QVERIFY2(output.contains("\ncopied "), output.constData());
    const Database copy(DatabaseLocation::sqliteFile(target));
    QCOMPARE(stored(copy, QStringLiteral("SELECT count(*) FROM TOsnovniPodVezaKontakt")).toInt(), 2);
    QCOMPARE(stored(copy, QStringLiteral("SELECT DISTINCT LastOpenedDate FROM TUsers")).toString(), QStringLiteral("2026-03-29T02:30:59.123"));
    // Once copied, the target is no longer empty, and stays as it is.
    QCOMPARE(dbtool(files), 1);
    QVERIFY2(output.contains("is not empty"), output.constData());
    QVERIFY(QFileInfo::exists(target));
}

QTEST_GUILESS_MAIN(TestDatabaseCopy)
#include "tst_DatabaseCopy.moc"
