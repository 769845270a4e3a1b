#include "Settings.h"
#include "TestDatabase.h"
#include "TestInstallation.h"

#include <QDir>
#include <QFile>
#include <QHostInfo>
#include <QProcess>
#include <QTest>

namespace {

QString nastavitve()
{
    return QString::fromLatin1(KeyNastavitve);
}

// Starts the installed program as a user would, on the offscreen platform.
class Program
{
public:
    explicit Program(const TestInstallation &installation)
    {
        m_process.setProgram(installation.programFile());
        m_process.setWorkingDirectory(installation.root());
        m_process.start();
    }
    ~Program()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }
    QProcess &process() { return m_process; }

private:
    QProcess m_process;
};

}

class TestEndToEnd : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void startsAndHandsOverToTheRunningCopy();
    void missingDatabaseStopsTheStart();
    void accessDatabaseIsRefused();
};

void TestEndToEnd::startsAndHandsOverToTheRunningCopy()
{
    TestInstallation installation;
    TestDatabase database(SqlDialect::Sqlite);
    database.useIn(installation);
    installation.installProgram(QStringLiteral(VELDRA_BINARY));
    installation.writeLatestVersion();
    Program first(installation);
    // The running copy records its window once every window exists.
    QTRY_VERIFY_WITH_TIMEOUT(!ReadRegString(nastavitve(), QStringLiteral("Handle")).isEmpty(), 30000);
    QCOMPARE(first.process().state(), QProcess::Running);

    QCOMPARE(ReadRegString(nastavitve(), QStringLiteral("stato")), QStringLiteral("1"));
    QCOMPARE(ReadRegString(nastavitve(), QStringLiteral("Location")), installation.programFile());
    QVERIFY(ReadIniString(installation.dataFolder() + QStringLiteral("LastVer.ini"), QStringLiteral("Uporabniki"),
                          QHostInfo::localHostName())
                .startsWith(QLatin1String("2.310 LastAccessed=")));
    QCOMPARE(QDir(installation.dataFolder() + QStringLiteral("Backup")).entryList(QDir::Files).size(), 1);

    Program second(installation);
    QVERIFY(second.process().waitForFinished(20000));
    QCOMPARE(second.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.process().exitCode(), 0);
    QCOMPARE(ReadRegString(nastavitve(), QStringLiteral("stato")), QStringLiteral("1"));
    QCOMPARE(first.process().state(), QProcess::Running);
}

void TestEndToEnd::missingDatabaseStopsTheStart()
{
    TestInstallation installation(TestInstallation::WithoutDatabase);
    installation.installProgram(QStringLiteral(VELDRA_BINARY));
    Program program(installation);
    // The platform's error dialog waits for the user; the text also goes to the error output.
    QByteArray errors;
    QTRY_VERIFY_WITH_TIMEOUT((errors += program.process().readAllStandardError()).contains("Ni mogoče najti podatkov!"),
                             30000);
    QVERIFY(!QFile::exists(installation.dataFolder() + QStringLiteral("LastVer.ini")));
    QCOMPARE(ReadRegString(nastavitve(), QStringLiteral("stato")), QString());
}

void TestEndToEnd::accessDatabaseIsRefused()
{
    TestInstallation installation;
    installation.createDatabase(QByteArray("\0\1\0\0Standard Jet DB\0", 20) + QByteArray(4096, '\0'));
    installation.installProgram(QStringLiteral(VELDRA_BINARY));
    Program program(installation);
    QByteArray errors;
    QTRY_VERIFY_WITH_TIMEOUT((errors += program.process().readAllStandardError()).contains("Microsoft Access"), 30000);
    QFile log(installation.programFolder() + QStringLiteral("_errors_log.txt"));
    QVERIFY(log.open(QIODevice::ReadOnly));
    QVERIFY(log.readAll().contains("Exception class= DatabaseError"));
    QVERIFY(ReadRegString(nastavitve(), QStringLiteral("Handle")).isEmpty());
}

QTEST_MAIN(TestEndToEnd)
#include "tst_EndToEnd.moc"
