#include "ExchangeCommands.h"
#include "ExchangeFiles.h"
#include "TestDatabase.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

namespace {

struct Run
{
    int exitCode = 0;
    QString out;
    QString err;
};

Run run(int (*command)(const QStringList &, QTextStream &, QTextStream &), const QStringList &arguments)
{
    Run result;
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    result.exitCode = command(arguments, out, err);
    out.flush();
    err.flush();
    return result;
}

// The cards of a written file, read as an import reads it.
ReadCards readBack(const QString &path)
{
    CardFile file(path);
    ReadCards read;
    file.feed()([&read](const ContactCard &card) { read.Cards.append(card); });
    read.Problems = file.problems();
    return read;
}

QString sample(const char *name)
{
    return QStringLiteral(SAMPLES) + QLatin1String(name);
}

}

// The command line's import and export, on a database file as a script would use them.
class TestExchangeCommands : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void importReportsWhatItDid();
    void refusedCardGivesExitOne();
    void exportWritesEveryPerson_data();
    void exportWritesEveryPerson();
    void wrongCalls_data();
    void wrongCalls();
};

void TestExchangeCommands::importReportsWhatItDid()
{
    TestDatabase db(SqlDialect::Sqlite);
    const QString file = db.location().file;
    const Run first = run(RunImportCommand, {file, sample("iphone-3.0.vcf"), sample("thunderbird.csv")});
    QCOMPARE(first.exitCode, 0);
    // Running workstations hear of the new persons and of the code lists the import added to.
    const auto database = db.connect();
    for (const char *table : {"TOsnovniPod", "TKontakti", "TKraj"})
        QVERIFY2(!stored(*database, QStringLiteral("SELECT LastModified FROM TRequery WHERE TableName = '%1'").arg(QLatin1String(table))).isNull(),
                 table);
    QVERIFY2(first.out.contains(QRegularExpression(QStringLiteral("^imported [1-9][0-9]* persons, [1-9][0-9]* contacts, skipped 0\\n$"),
                                                   QRegularExpression::MultilineOption)),
             qPrintable(first.out));
    // The same files again: every card is there already.
    const Run second = run(RunImportCommand, {file, sample("iphone-3.0.vcf"), QStringLiteral("--on-duplicate"), QStringLiteral("skip")});
    QCOMPARE(second.exitCode, 0);
    QVERIFY2(second.out.contains(QStringLiteral("imported 0 persons, 0 contacts, skipped ")), qPrintable(second.out));
    QVERIFY2(second.out.contains(QStringLiteral("je že v imeniku")), qPrintable(second.out));
}

void TestExchangeCommands::refusedCardGivesExitOne()
{
    TestDatabase db(SqlDialect::Sqlite);
    const Run result = run(RunImportCommand, {db.location().file, sample("malformed-missing-end.vcf")});
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.out.contains(sample("malformed-missing-end.vcf") + QLatin1Char(':')), qPrintable(result.out));
    // The cards before and after the broken one are taken, the broken one is not.
    QVERIFY2(result.out.contains(QStringLiteral("imported 2 persons")), qPrintable(result.out));
}

void TestExchangeCommands::exportWritesEveryPerson_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("format");
    QTest::newRow("vcard 3 by its name") << QStringLiteral("osebe.vcf") << QString();
    QTest::newRow("vcard 4") << QStringLiteral("osebe.vcf") << QStringLiteral("vcard4");
    QTest::newRow("csv by its name") << QStringLiteral("osebe.csv") << QString();
}

void TestExchangeCommands::exportWritesEveryPerson()
{
    QFETCH(QString, name);
    QFETCH(QString, format);
    TestDatabase db(SqlDialect::Sqlite);
    QCOMPARE(run(RunImportCommand, {db.location().file, sample("gmail-3.0.vcf")}).exitCode, 0);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QStringList arguments{db.location().file, path};
    if (!format.isEmpty())
        arguments << QStringLiteral("--format") << format;
    const Run result = run(RunExportCommand, arguments);
    QCOMPARE(result.exitCode, 0);
    const ReadCards back = readBack(path);
    QVERIFY(back.Problems.isEmpty());
    QCOMPARE(result.out, QStringLiteral("exported %1 persons\n").arg(back.Cards.size()));
    QVERIFY(!back.Cards.isEmpty());
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray start = written.read(64);
    QCOMPARE(start.contains("VERSION:4.0"), format == QLatin1String("vcard4"));
}

void TestExchangeCommands::wrongCalls_data()
{
    QTest::addColumn<bool>("import");
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("import without a file") << true << QStringList{QStringLiteral("baza.mdb")};
    QTest::newRow("unknown duplicate answer") << true << QStringList{QStringLiteral("baza.mdb"), QStringLiteral("a.vcf"), QStringLiteral("--on-duplicate"), QStringLiteral("merge")};
    QTest::newRow("duplicate answer missing") << true << QStringList{QStringLiteral("baza.mdb"), QStringLiteral("a.vcf"), QStringLiteral("--on-duplicate")};
    QTest::newRow("export to two files") << false << QStringList{QStringLiteral("baza.mdb"), QStringLiteral("a.vcf"), QStringLiteral("b.vcf")};
    QTest::newRow("unknown format") << false << QStringList{QStringLiteral("baza.mdb"), QStringLiteral("a.vcf"), QStringLiteral("--format"), QStringLiteral("ldif")};
}

void TestExchangeCommands::wrongCalls()
{
    QFETCH(bool, import);
    QFETCH(QStringList, arguments);
    const Run result = run(import ? RunImportCommand : RunExportCommand, arguments);
    QCOMPARE(result.exitCode, 2);
    QVERIFY(result.err.startsWith(QStringLiteral("usage: veldra-dbtool ")));
}

QTEST_GUILESS_MAIN(TestExchangeCommands)
#include "tst_ExchangeCommands.moc"
