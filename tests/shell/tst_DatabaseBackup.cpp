#include "DatabaseBackup.h"
#include "ModalAnswer.h"
#include "PublicFunctions.h"
#include "TestInstallation.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QTest>

#include <sqlite3.h>

namespace {

const QDateTime december9(QDate(2026, 12, 9), QTime(14, 3, 59));

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

void touch(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

}

class TestDatabaseBackup : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void oneBackupPerDay();
    void expandBackupName_data();
    void expandBackupName();
    void templateSplit_data();
    void templateSplit();
    void nowTemplateMatchesAnyTimeOfToday();
    void todaysBackupIsFoundByItsName_data();
    void todaysBackupIsFoundByItsName();
    void blankNamePartUsesTheShortDate();
    void keepsTheTenNewest();
    void numberingGoesOnAfter999();
    void sqliteDatabaseIsCopiedWhole();
    void leftoversOfKilledCopiesAreRemoved();
    void folderFailures_data();
    void folderFailures();
    void missingDatabase();
};

void TestDatabaseBackup::oneBackupPerDay()
{
    TestInstallation installation;
    installation.createDatabase("baza");
    const QString folder = installation.dataFolder() + QStringLiteral("Backup/");
    QCOMPARE(GetBackupFolder(), folder);

    // A folder named like today's backup is none.
    QVERIFY(QDir().mkpath(folder + QStringLiteral("B000 Podatki 09.12.2026.mdb")));
    QVERIFY(BackupNeeded(december9));
    QVERIFY(QDir(folder).rmdir(QStringLiteral("B000 Podatki 09.12.2026.mdb")));
    QVERIFY(MakeBackup(december9));
    QCOMPARE(entries(folder), QStringList{QStringLiteral("B001 Podatki 09.12.2026.mdb")});
    QFile copy(folder + QStringLiteral("B001 Podatki 09.12.2026.mdb"));
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), QByteArray("baza"));

    QVERIFY(!BackupNeeded(december9.addSecs(3600)));
    const QDateTime december10 = december9.addDays(1);
    QVERIFY(BackupNeeded(december10));
    QVERIFY(MakeBackup(december10));
    QCOMPARE(entries(folder), (QStringList{QStringLiteral("B001 Podatki 09.12.2026.mdb"),
                                           QStringLiteral("B002 Podatki 10.12.2026.mdb")}));
}

void TestDatabaseBackup::expandBackupName_data()
{
    QTest::addColumn<QString>("namePart");
    QTest::addColumn<QString>("exact");
    QTest::addColumn<QString>("wildcard");
    QTest::newRow("date") << "Podatki /DATE/.mdb" << "Podatki 09.12.2026.mdb" << "Podatki 09.12.2026.mdb";
    QTest::newRow("now") << "x /NOW/" << "x 09.12.2026 (14.03.59)" << "x 09.12.2026 (??.??.??)";
    QTest::newRow("time") << "/TIME/.mdb" << "14.03.59.mdb" << "??.??.??.mdb";
    QTest::newRow("any letter case, every occurrence") << "/date/-/Date/" << "09.12.2026-09.12.2026"
                                                       << "09.12.2026-09.12.2026";
    QTest::newRow("no macro") << "Podatki.mdb" << "Podatki.mdb" << "Podatki.mdb";
}

void TestDatabaseBackup::expandBackupName()
{
    QFETCH(QString, namePart);
    QFETCH(QString, exact);
    QFETCH(QString, wildcard);
    TestInstallation installation;
    installation.writeIni({{QStringLiteral("BackUpFolder"), QStringLiteral("\\Backup\\") + namePart}});
    QCOMPARE(GetBackupFolder(), installation.dataFolder() + QStringLiteral("Backup/"));
    QCOMPARE(ExpandBackupName(false, december9), exact);
    QCOMPARE(ExpandBackupName(true, december9), wildcard);
}

void TestDatabaseBackup::templateSplit_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("folder"); // "<data>" stands for the data folder
    QTest::addColumn<QString>("exact");
    QTest::newRow("folder named like a macro") << "\\Backup\\Date\\Podatki /DATE/.mdb" << "<data>Backup/Date/"
                                               << "Podatki 09.12.2026.mdb";
    QTest::newRow("absolute folder ended by a backslash") << "/srv/now\\x /NOW/" << "/srv/now/"
                                                          << "x 09.12.2026 (14.03.59)";
    QTest::newRow("only the leading backslash") << "\\/TIME/.mdb" << "<data>" << "14.03.59.mdb";
    QTest::newRow("slashes only") << "/srv/kopije/Podatki /DATE/.mdb" << "/srv/kopije/" << "Podatki 09.12.2026.mdb";
    QTest::newRow("slashes only: a folder named like a macro is the macro")
        << "/srv/now/x" << "/" << "srv09.12.2026 (14.03.59)x";
    QTest::newRow("no folder") << "Podatki /DATE/.mdb" << "" << "Podatki 09.12.2026.mdb";
}

void TestDatabaseBackup::templateSplit()
{
    QFETCH(QString, value);
    QFETCH(QString, folder);
    QFETCH(QString, exact);
    TestInstallation installation;
    installation.writeIni({{QStringLiteral("BackUpFolder"), value}});
    QCOMPARE(GetBackupFolder(), folder.replace(QStringLiteral("<data>"), installation.dataFolder()));
    QCOMPARE(ExpandBackupName(false, december9), exact);
}

void TestDatabaseBackup::nowTemplateMatchesAnyTimeOfToday()
{
    TestInstallation installation;
    installation.writeIni({{QStringLiteral("BackUpFolder"), QStringLiteral("\\Backup\\x /NOW/")}});
    QDir().mkdir(installation.dataFolder() + QStringLiteral("Backup"));
    touch(installation.dataFolder() + QStringLiteral("Backup/B003 x 09.12.2026 (08.15.00)"));
    QVERIFY(!BackupNeeded(december9));
    QVERIFY(BackupNeeded(december9.addDays(1)));
    QVERIFY(MakeBackup(december9));
    QVERIFY(QFile::exists(installation.dataFolder() + QStringLiteral("Backup/B004 x 09.12.2026 (14.03.59)")));
}

void TestDatabaseBackup::todaysBackupIsFoundByItsName_data()
{
    QTest::addColumn<QString>("namePart");
    QTest::newRow("signs of patterns") << "Podatki [1] (a+b) $^.mdb /NOW/";
    QTest::newRow("runs of stars") << "Podatki ************* kopija ************ /DATE/.mdb";
    QTest::newRow("letters beyond the first plane") << QString::fromUtf8("Podatki \xF0\x9F\x93\x81 /DATE/.mdb");
}

// Else every start would make another backup and push the older ones out.
void TestDatabaseBackup::todaysBackupIsFoundByItsName()
{
    QFETCH(QString, namePart);
    TestInstallation installation;
    installation.createDatabase("baza");
    installation.writeIni({{QStringLiteral("BackUpFolder"), QStringLiteral("\\Backup\\") + namePart}});
    QVERIFY(MakeBackup(december9));
    QVERIFY(!BackupNeeded(december9.addSecs(60)));
}

void TestDatabaseBackup::blankNamePartUsesTheShortDate()
{
    TestInstallation installation;
    installation.writeIni({{QStringLiteral("BackUpFolder"), QStringLiteral("\\Backup\\")}});
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    // The short date "12/9/26" must not turn into folders.
    QCOMPARE(ExpandBackupName(false, december9), QStringLiteral("12-9-26"));
    QVERIFY(MakeBackup(december9));
    QVERIFY(!BackupNeeded(december9));
    QCOMPARE(entries(installation.dataFolder() + QStringLiteral("Backup")), QStringList{QStringLiteral("B001 12-9-26")});
    QLocale::setDefault(QLocale::system());
}

void TestDatabaseBackup::keepsTheTenNewest()
{
    TestInstallation installation;
    const QString folder = installation.dataFolder() + QStringLiteral("Backup/");
    QDir().mkdir(folder);
    for (int i = 1; i <= 11; ++i)
        touch(folder + QStringLiteral("B%1 Podatki 0%2.11.2026.mdb").arg(i, 3, 10, QLatin1Char('0')).arg(i % 10));
    touch(folder + QStringLiteral("Backup.txt"));
    touch(folder + QStringLiteral("Bx1"));
    // A folder or a link named like a backup is not the program's: neither numbered on nor removed.
    QVERIFY(QDir(folder).mkpath(QStringLiteral("B000 mapa")));
    touch(folder + QStringLiteral("B000 mapa/pogodba.txt"));
    QVERIFY(QFile::link(folder + QStringLiteral("Backup.txt"), folder + QStringLiteral("B099 povezava")));
    QVERIFY(MakeBackup(december9));
    QStringList expected;
    for (int i = 3; i <= 11; ++i)
        expected << QStringLiteral("B%1 Podatki 0%2.11.2026.mdb").arg(i, 3, 10, QLatin1Char('0')).arg(i % 10);
    expected << QStringLiteral("B012 Podatki 09.12.2026.mdb") << QStringLiteral("B099 povezava")
             << QStringLiteral("Backup.txt") << QStringLiteral("Bx1");
    expected.prepend(QStringLiteral("B000 mapa"));
    QCOMPARE(entries(folder), expected);
    QVERIFY(QFile::exists(folder + QStringLiteral("B000 mapa/pogodba.txt")));
}

void TestDatabaseBackup::numberingGoesOnAfter999()
{
    TestInstallation installation;
    const QString folder = installation.dataFolder() + QStringLiteral("Backup/");
    QDir().mkdir(folder);
    for (int i = 990; i <= 999; ++i)
        touch(folder + QStringLiteral("B%1 Podatki 01.01.2026.mdb").arg(i));
    QVERIFY(MakeBackup(december9));
    QVERIFY(QFile::exists(folder + QStringLiteral("B1000 Podatki 09.12.2026.mdb")));
    QVERIFY(!BackupNeeded(december9));
    QVERIFY(MakeBackup(december9.addDays(1)));
    QStringList expected;
    for (int i = 992; i <= 999; ++i)
        expected << QStringLiteral("B%1 Podatki 01.01.2026.mdb").arg(i);
    expected << QStringLiteral("B1000 Podatki 09.12.2026.mdb") << QStringLiteral("B1001 Podatki 10.12.2026.mdb");
    QStringList found = entries(folder);
    std::sort(found.begin(), found.end(), [](const QString &a, const QString &b) {
        return a.mid(1, a.indexOf(QLatin1Char(' ')) - 1).toInt() < b.mid(1, b.indexOf(QLatin1Char(' ')) - 1).toInt();
    });
    QCOMPARE(found, expected);
}

void TestDatabaseBackup::sqliteDatabaseIsCopiedWhole()
{
    TestInstallation installation;
    QFile::remove(installation.databaseFile());
    sqlite3 *db = nullptr;
    QCOMPARE(sqlite3_open(installation.databaseFile().toUtf8().constData(), &db), SQLITE_OK);
    QCOMPARE(sqlite3_exec(db, "CREATE TABLE TOsnovniPod (ID INTEGER PRIMARY KEY, Ime TEXT);"
                              "INSERT INTO TOsnovniPod (Ime) VALUES ('Ana'), ('Bojan');",
                          nullptr, nullptr, nullptr),
             SQLITE_OK);
    // Another workstation holds the database open while the copy is made.
    QVERIFY(MakeBackup(december9));
    sqlite3_close(db);

    const QString copy = installation.dataFolder() + QStringLiteral("Backup/B001 Podatki 09.12.2026.mdb");
    QCOMPARE(sqlite3_open_v2(copy.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt *count = nullptr;
    QCOMPARE(sqlite3_prepare_v2(db, "SELECT count(*) FROM TOsnovniPod", -1, &count, nullptr), SQLITE_OK);
    QCOMPARE(sqlite3_step(count), SQLITE_ROW);
    QCOMPARE(sqlite3_column_int(count, 0), 2);
    sqlite3_finalize(count);
    sqlite3_close(db);
    // Nothing half-made is left behind.
    QCOMPARE(entries(installation.dataFolder() + QStringLiteral("Backup")), QStringList{QStringLiteral("B001 Podatki 09.12.2026.mdb")});
}

void TestDatabaseBackup::leftoversOfKilledCopiesAreRemoved()
{
    TestInstallation installation;
    installation.createDatabase("baza");
    const QString folder = installation.dataFolder() + QStringLiteral("Backup/");
    QVERIFY(QDir().mkpath(folder));
    QProcess ended;
    ended.start(QStringLiteral("true"));
    QVERIFY(ended.waitForStarted());
    const QString endedPid = QString::number(ended.processId());
    QVERIFY(ended.waitForFinished());
    // A copy killed half-way on this computer leaves the copy and its journal; one of a
    // copy still running here, and one of another computer, cannot be told from a live one.
    const QString here = QStringLiteral(".veldra-backup-") + GetComputerNameText() + QLatin1Char('-');
    const QStringList kept{here + QStringLiteral("1.tmp"), QStringLiteral(".veldra-backup-drugje-") + endedPid + QStringLiteral(".tmp")};
    for (const QString &name : kept + QStringList{here + endedPid + QStringLiteral(".tmp"), here + endedPid + QStringLiteral(".tmp-journal")})
        touch(folder + name);

    QVERIFY(MakeBackup(december9));
    QStringList left = entries(folder), expected = kept + QStringList{QStringLiteral("B001 Podatki 09.12.2026.mdb")};
    left.sort();
    expected.sort();
    QCOMPARE(left, expected);
}

void TestDatabaseBackup::folderFailures_data()
{
    QTest::addColumn<QString>("backUpFolder");
    QTest::newRow("two levels missing") << "\\Backup\\Deeper\\Podatki /DATE/.mdb";
    QTest::newRow("empty template") << "";
    QTest::newRow("no folder part") << "Podatki /DATE/.mdb";
}

void TestDatabaseBackup::folderFailures()
{
    QFETCH(QString, backUpFolder);
    TestInstallation installation;
    installation.writeIni({{QStringLiteral("BackUpFolder"), backUpFolder}});
    const QString before = QDir::currentPath();
    QDir::setCurrent(installation.root());
    auto seen = ModalAnswer::press(QStringLiteral("V redu"));
    QVERIFY(!MakeBackup(december9));
    QDir::setCurrent(before);
    QCOMPARE(seen->text, QStringLiteral("Mape za varnostno kopijo ni mogoče kreirati!"));
    // Nothing is written into the current folder instead.
    QCOMPARE(entries(installation.root()).filter(QStringLiteral("B0")), QStringList());
}

void TestDatabaseBackup::missingDatabase()
{
    TestInstallation installation(TestInstallation::WithoutDatabase);
    auto seen = ModalAnswer::press(QStringLiteral("V redu"));
    QVERIFY(!MakeBackup(december9));
    QCOMPARE(seen->text, QStringLiteral("Varnostne kopije ni mogoče kopirati!\r\nIzvorne datoteke ni mogoče najti!"));
    QCOMPARE(entries(installation.dataFolder() + QStringLiteral("Backup")), QStringList());
}

QTEST_MAIN(TestDatabaseBackup)
#include "tst_DatabaseBackup.moc"
