#include "Settings.h"
#include "TestDatabase.h"
#include "TestInstallation.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

// The real program on a session bus of the test's own, with gdbus as the client.
namespace {

const QString Service = QStringLiteral("PVeldra.IKor_Veldra");

QString nastavitve()
{
    return QString::fromLatin1(KeyNastavitve);
}

bool nameOnBus()
{
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(Service);
}

// gdbus's answer to a call of the interface, or its error text.
QString call(const QString &method, const QStringList &arguments = {})
{
    QProcess client;
    client.start(QStringLiteral("gdbus"), QStringList{"call", "--session", "--timeout", "60", "--dest", Service,
                                                      "--object-path", "/IKor_Veldra", "--method",
                                                      QStringLiteral("PVeldra.IIKor_Veldra.") + method}
                                              + arguments);
    if (!client.waitForFinished(90000))
        return QStringLiteral("no answer");
    return QString::fromUtf8(client.readAllStandardOutput() + client.readAllStandardError()).trimmed();
}

// An installation with one person whose program is installed; the program is started
// with the given switches and the environment of the installation.
struct Installed
{
    Installed()
        : database(SqlDialect::Sqlite)
    {
        database.connect()->run(QStringLiteral("INSERT INTO TOsnovniPod (ID, CelotnoIme, Podjetje) VALUES (7, \"Ana Novak\", \"False\")"));
        database.useIn(installation);
        installation.installProgram(QStringLiteral(VELDRA_BINARY));
        installation.writeLatestVersion();
    }
    ~Installed()
    {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished();
        }
    }
    QString activationFile(const QString &dataHome) const
    {
        return dataHome + QStringLiteral("/dbus-1/services/PVeldra.IKor_Veldra.service");
    }
    void start(const QStringList &arguments = {}, const QString &dataHome = QString())
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (!dataHome.isEmpty())
            environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(installation.root());
        program.start(installation.programFile(), arguments);
    }

    TestInstallation installation;
    TestDatabase database;
    QProcess program;
};

}

class TestAutomationEndToEnd : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void switchesRegisterWithoutAWindow_data();
    void switchesRegisterWithoutAWindow();
    void runningProgramAnswers();
    void busStartsTheProgramForItsClient();

private:
    // The bus's folder of activation files (each installation points the variable at its own).
    QString m_busData;
};

void TestAutomationEndToEnd::initTestCase()
{
    QVERIFY2(QDBusConnection::sessionBus().isConnected(), "the test runs inside dbus-run-session");
    qDBusRegisterMetaType<QMap<QString, QString>>();
    m_busData = qEnvironmentVariable("XDG_DATA_HOME");
    QVERIFY2(!m_busData.isEmpty(), "XDG_DATA_HOME names the bus's folder of activation files");
}

void TestAutomationEndToEnd::switchesRegisterWithoutAWindow_data()
{
    QTest::addColumn<QString>("switch_");
    QTest::addColumn<bool>("registered");
    QTest::newRow("-REGSERVER") << QStringLiteral("-REGSERVER") << true;
    QTest::newRow("/regserver") << QStringLiteral("/regserver") << true;
    QTest::newRow("-UnRegServer") << QStringLiteral("-UnRegServer") << false;
}

void TestAutomationEndToEnd::switchesRegisterWithoutAWindow()
{
    QFETCH(QString, switch_);
    QFETCH(bool, registered);
    Installed installed;
    const QString file = installed.activationFile(installed.installation.dataHome());
    // Unregistering is seen only where there was something to remove.
    QVERIFY(QDir().mkpath(QFileInfo(file).absolutePath()));
    QFile stale(file);
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.close();

    installed.start({switch_});
    QVERIFY(installed.program.waitForFinished(30000));
    QCOMPARE(installed.program.exitCode(), 0);
    QCOMPARE(QFile::exists(file), registered);
    if (registered) {
        QFile written(file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(written.readAll());
        QVERIFY(text.contains(QStringLiteral("Name=PVeldra.IKor_Veldra")));
        QVERIFY(text.contains(installed.installation.programFile()));
    }
    // No window was made: the program records its window only once it has one.
    QVERIFY(ReadRegString(nastavitve(), QStringLiteral("Handle")).isEmpty());
}

void TestAutomationEndToEnd::runningProgramAnswers()
{
    Installed installed;
    installed.start();
    QTRY_VERIFY_WITH_TIMEOUT(nameOnBus(), 30000);
    // An ordinary start registers the service too.
    QVERIFY(QFile::exists(installed.activationFile(installed.installation.dataHome())));
    QCOMPARE(call(QStringLiteral("Activate")), QStringLiteral("()"));
    QCOMPARE(call(QStringLiteral("Locate"), {QStringLiteral("7")}), QStringLiteral("(0,)"));
    QCOMPARE(call(QStringLiteral("GetAllKraji")), QStringLiteral("(<'test2'>,)"));
    // Started by the user, the program stays when its clients have gone.
    QTest::qWait(500);
    QCOMPARE(installed.program.state(), QProcess::Running);
}

// The bus starts the registered program for a client when none runs, and the program
// ends when the client has gone.
void TestAutomationEndToEnd::busStartsTheProgramForItsClient()
{
    const QString busData = m_busData;
    Installed installed;
    installed.start({QStringLiteral("-REGSERVER")}, busData);
    QVERIFY(installed.program.waitForFinished(30000));
    QVERIFY(QFile::exists(installed.activationFile(busData)));
    // What the bus gives the program it starts: this installation's settings.
    QDBusMessage environment = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"), QStringLiteral("org.freedesktop.DBus"),
        QStringLiteral("UpdateActivationEnvironment"));
    QMap<QString, QString> values{{QStringLiteral("XDG_CONFIG_HOME"), installed.installation.configFolder()},
                                  {QStringLiteral("XDG_STATE_HOME"), installed.installation.root() + QStringLiteral("state")},
                                  {QStringLiteral("XDG_DATA_HOME"), busData},
                                  {QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen")}};
    environment << QVariant::fromValue(values);
    QCOMPARE(QDBusConnection::sessionBus().call(environment).type(), QDBusMessage::ReplyMessage);

    QVERIFY(!nameOnBus());
    QCOMPARE(call(QStringLiteral("GetAllImena")), QStringLiteral("(<'test'>,)"));
    QVERIFY(!ReadRegString(nastavitve(), QStringLiteral("Handle")).isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(!nameOnBus(), 30000);
    QFile::remove(installed.activationFile(busData));
}

QTEST_MAIN(TestAutomationEndToEnd)
#include "tst_AutomationEndToEnd.moc"
