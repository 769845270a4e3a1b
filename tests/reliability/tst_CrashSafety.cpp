#include "CrashCheck.h"
#include "CrashJournal.h"
#include "CrashWorker.h"
#include "CrashWorld.h"
#include "KillLoop.h"
#include "TestDatabase.h"

#include <QApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

class TestCrashSafety : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void killsLeaveEveryFileWhole_data();
    void killsLeaveEveryFileWhole();
    void checkFindsFaults_data();
    void checkFindsFaults();
};

void TestCrashSafety::killsLeaveEveryFileWhole_data()
{
    addDialectRows(QStringLiteral("kills"));
}

void TestCrashSafety::killsLeaveEveryFileWhole()
{
    VELDRA_FETCH_TEST_DATABASE(testDatabase);
    const bool onServer = testDatabase.location().dialect == SqlDialect::Postgres;
    QTemporaryDir dir;
    KillLoop loop(CrashWorld(dir.filePath(QStringLiteral("world")), onServer ? testDatabase.location().server.toString() : QString()),
                  QCoreApplication::applicationFilePath());
    const quint32 seed = QRandomGenerator::global()->generate();
    qInfo("seed %u", seed);
    const KillLoop::Figures figures = loop.run(20, 150, seed);
    for (const QStringList *faults : {&figures.failures, &figures.lost, &figures.corrupt})
        QVERIFY2(faults->isEmpty(), qPrintable(faults->join(QLatin1Char('\n'))));
    QCOMPARE(figures.kills, 20);
    QVERIFY(figures.commits > 0);
    QVERIFY(onServer || figures.backups > 0);
}

void TestCrashSafety::checkFindsFaults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("lost");
    QTest::addColumn<int>("corrupt");
    QTest::newRow("none") << QString() << 0 << 0;
    QTest::newRow("row not there") << QStringLiteral("row") << 1 << 0;
    QTest::newRow("transaction in part") << QStringLiteral("transaction") << 1 << 0;
    QTest::newRow("value not written") << QStringLiteral("value") << 1 << 0;
    QTest::newRow("ini line lost") << QStringLiteral("line") << 0 << 1;
    QTest::newRow("half a backup") << QStringLiteral("backup") << 0 << 1;
    QTest::newRow("database not whole") << QStringLiteral("database") << 0 << 1;
}

// Each check on a world that has the one fault, and nothing else wrong.
void TestCrashSafety::checkFindsFaults()
{
    QFETCH(QString, fault);
    QFETCH(int, lost);
    QFETCH(int, corrupt);
    QTemporaryDir dir;
    const CrashWorld world(dir.filePath(QStringLiteral("world")));
    world.create();
    CrashJournal::Writer journal(world.journalFile());
    {
        const Database database(DatabaseLocation::sqliteFile(world.databaseFile()));
        database.runNative(QStringLiteral("INSERT INTO TOsnovniPod (Sifra) VALUES ('P0-1')"));
        journal.done(QString::fromLatin1(CrashJournal::Person), stored(database, QStringLiteral("SELECT Max(ID) FROM TOsnovniPod")).toString(),
                     QStringLiteral("P0-1"));
        if (fault == QLatin1String("transaction"))
            database.runNative(QStringLiteral("INSERT INTO TOsnovniPod (Sifra) VALUES ('G0-2')"));
    }
    QFile database(world.databaseFile());
    if (fault == QLatin1String("row")) {
        journal.done(QString::fromLatin1(CrashJournal::Note), QStringLiteral("7"), QStringLiteral("P0-1"));
    } else if (fault == QLatin1String("value")) {
        journal.done(QString::fromLatin1(CrashJournal::ProgramIni), QStringLiteral("Zadnje|Stevec1"), QStringLiteral("I0-3"));
    } else if (fault == QLatin1String("line")) {
        QFile ini(world.iniFile());
        QVERIFY(ini.open(QIODevice::ReadWrite));
        const QByteArray text = ini.readAll().replace("ImagePath=\\Slike\n", "");
        ini.resize(0);
        ini.write(text);
    } else if (fault == QLatin1String("backup")) {
        QVERIFY(database.copy(world.backupFolder() + QStringLiteral("B001 Podatki.mdb")));
        QFile backup(world.backupFolder() + QStringLiteral("B001 Podatki.mdb"));
        QVERIFY(backup.resize(backup.size() / 2));
    } else if (fault == QLatin1String("database")) {
        QVERIFY(database.open(QIODevice::ReadWrite));
        QVERIFY(database.seek(database.size() / 2));
        database.write(QByteArray(4096, 'x'));
        database.close();
    }
    CrashJournal::Reader reader(world.journalFile());
    reader.readOn();
    const CrashFindings findings = CrashCheck::check(world, reader);
    QCOMPARE(findings.lost.size(), lost);
    QCOMPARE(findings.corrupt.size() > 0 ? 1 : 0, corrupt);
}

int main(int argc, char *argv[])
{
    if (const std::optional<int> code = CrashWorker::runIfAsked(argc, argv))
        return *code;
    QApplication app(argc, argv);
    TestCrashSafety test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_CrashSafety.moc"
