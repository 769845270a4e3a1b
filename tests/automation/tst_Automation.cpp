#include "ComServer.h"
#include "Messagebox.h"
#include "ModalAnswer.h"
#include "UIKor_Veldra.h"

#include <QAbstractButton>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QPointer>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QXmlStreamReader>

#include <memory>
#include <utility>
#include <stdexcept>

namespace {

const QString Service = QStringLiteral("PVeldra.IKor_Veldra");
const QString Path = QStringLiteral("/IKor_Veldra");
const QString Interface = QStringLiteral("PVeldra.IIKor_Veldra");

// The program's side of the object, as the composition root would fill it.
struct FakeProgram
{
    int activated = 0;
    bool dialogShowing = false;
    int added = 0;
    QStringList located;
    QString failure;                  // thrown from locate and addPerson when set
    std::function<void()> duringDialog; // runs while the add-person dialog is open

    AutomationTarget target()
    {
        AutomationTarget target;
        target.activate = [this] { ++activated; };
        target.addDialogShowing = [this] { return dialogShowing; };
        target.addPerson = [this] {
            if (!failure.isEmpty())
                throw std::runtime_error(failure.toStdString());
            ++added;
            QDialog dialog;
            dialogShowing = true;
            QTimer::singleShot(0, &dialog, [this, &dialog] {
                // Once: a fault that opens a second dialog must not open them for ever.
                if (const std::function<void()> once = std::exchange(duringDialog, {}))
                    once();
                dialog.accept();
            });
            dialog.exec();
            dialogShowing = false;
        };
        target.locate = [this](const QString &id) {
            if (!failure.isEmpty())
                throw std::runtime_error(failure.toStdString());
            located.append(id);
            return id == QLatin1String("3");
        };
        return target;
    }
};

struct Outcome
{
    int exitCode = -1;
    QString output;
    QString error;
};

// A gdbus client; the test's event loop runs while it waits for its answer.
std::unique_ptr<QProcess> startClient(const QStringList &arguments)
{
    auto client = std::make_unique<QProcess>();
    client->start(QStringLiteral("gdbus"), arguments);
    client->waitForStarted();
    return client;
}

std::unique_ptr<QProcess> startCall(const QString &method, const QStringList &arguments = {})
{
    return startClient(QStringList{"call", "--session", "--timeout", "120", "--dest", Service, "--object-path", Path,
                                   "--method", method}
                       + arguments);
}

std::unique_ptr<QProcess> startSetNew(const QString &value = QStringLiteral("<'x'>"))
{
    return startCall(QStringLiteral("org.freedesktop.DBus.Properties.Set"), {Interface, QStringLiteral("New"), value});
}

Outcome finish(QProcess &client, int timeoutMs = 20000)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (client.state() != QProcess::NotRunning && !deadline.hasExpired())
        QTest::qWait(20);
    if (client.state() != QProcess::NotRunning) {
        client.kill();
        client.waitForFinished();
        return {-2, {}, QStringLiteral("no answer")};
    }
    return {client.exitCode(), QString::fromUtf8(client.readAllStandardOutput()).trimmed(),
            QString::fromUtf8(client.readAllStandardError()).trimmed()};
}

Outcome call(const QString &method, const QStringList &arguments = {})
{
    auto client = startCall(method, arguments);
    return finish(*client);
}

// Presses "V redu" in the program's message box when it shows, whatever else is modal
// under it; what it saw is kept. Gives up after the timeout.
std::shared_ptr<ModalAnswer::Seen> answerMessage(int timeoutMs = 5000, std::function<void()> whileShowing = {})
{
    auto seen = std::make_shared<ModalAnswer::Seen>();
    auto *poll = new QTimer;
    auto deadline = std::make_shared<QDeadlineTimer>(timeoutMs);
    QObject::connect(poll, &QTimer::timeout, [poll, seen, deadline, whileShowing] {
        TFMessageBox *box = FMessageBox;
        const bool showing = box && box->isVisible();
        if (!showing && !deadline->hasExpired())
            return;
        poll->stop();
        poll->deleteLater();
        if (!showing)
            return;
        *seen = ModalAnswer::describe(box);
        if (whileShowing)
            whileShowing();
        for (QAbstractButton *button : box->findChildren<QAbstractButton *>())
            if (button->isVisible() && button->text() == QLatin1String("V redu"))
                button->click();
    });
    poll->start(20);
    return seen;
}

// A check that no message comes: the answer runs its full time, so it cannot take the
// next test's message.
void waitOut(int timeoutMs)
{
    QTest::qWait(timeoutMs + 100);
}

// The interface element of an introspection document, flattened to one line per
// element with its attributes, in document order.
QStringList describeInterface(const QString &xml)
{
    QXmlStreamReader reader(xml);
    QStringList lines;
    bool inside = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            const QXmlStreamAttributes attributes = reader.attributes();
            if (reader.name() == QLatin1String("interface"))
                inside = attributes.value(QLatin1String("name")) == Interface;
            else if (inside) {
                QString line = reader.name().toString();
                for (const char *name : {"name", "type", "direction", "access", "value"})
                    if (attributes.hasAttribute(QLatin1String(name)))
                        line += QLatin1Char(' ') + QLatin1String(name) + QLatin1Char('=')
                            + attributes.value(QLatin1String(name)).toString();
                lines.append(line);
            }
        } else if (reader.isEndElement() && reader.name() == QLatin1String("interface")) {
            inside = false;
        }
    }
    return lines;
}

bool nameOnBus(const QString &name)
{
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(name).value();
}

}

class TestAutomation : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void locate_data();
    void locate();
    void locateWhileAddingAPersonIsBusy();
    void newOpensTheDialogOnceAndWaits();
    void messagesComeOneAtATime();
    void newBehindAMessageLooksAtTheDialogAgain();
    void fixedTexts_data();
    void fixedTexts();
    void activateReachesTheProgram();
    void errorsReachTheCaller_data();
    void errorsReachTheCaller();
    void badCallsAreRefused_data();
    void badCallsAreRefused();
    void introspectionMatchesTheDescription();
    void lastClientGone();
    void registeringFailsQuietly();
    void busGoneIsTheLastClientGone();
    void startMode_data();
    void startMode();
    void registerAndUnregister();
    void registerReportsFailure();
    void busStartsTheProgramWhichEndsWithItsLastClient();
    void closingWithClientsAsks_data();
    void closingWithClientsAsks();

private:
    bool ownsTheName() const
    {
        return QTest::currentTestFunction() != QByteArray("busStartsTheProgramWhichEndsWithItsLastClient");
    }

    FakeProgram m_program;
    std::unique_ptr<TIKor_Veldra> m_object;
};

void TestAutomation::initTestCase()
{
    QVERIFY2(QDBusConnection::sessionBus().isConnected(), "the test runs inside dbus-run-session");
    const QString data = qEnvironmentVariable("XDG_DATA_HOME");
    QVERIFY2(!data.isEmpty(), "XDG_DATA_HOME names the bus's folder of activation files");
    QDir(data).removeRecursively();
    QVERIFY(QDir().mkpath(data));
}

void TestAutomation::init()
{
    m_program = FakeProgram();
    if (!ownsTheName())
        return;
    m_object = std::make_unique<TIKor_Veldra>(m_program.target());
    QVERIFY(m_object->registerOnBus());
}

void TestAutomation::cleanup()
{
    m_object.reset();
    QTRY_VERIFY(!nameOnBus(Service));
}

void TestAutomation::locate_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("message");

    QTest::newRow("found: current, no message") << "3" << "(0,)" << "";
    QTest::newRow("missing") << "4" << "(-1,)" << "Oseba ni najdena!";
    QTest::newRow("not a number") << "tri" << "(-1,)" << "Oseba ni najdena!";
    QTest::newRow("empty") << "" << "(-1,)" << "Oseba ni najdena!";
}

void TestAutomation::locate()
{
    QFETCH(QString, id);
    QFETCH(QString, result);
    QFETCH(QString, message);

    auto client = startCall(QStringLiteral("PVeldra.IIKor_Veldra.Locate"), {id});
    bool callerWaited = false;
    QProcess *waiting = client.get();
    const auto seen = answerMessage(message.isEmpty() ? 1000 : 5000,
                                    [&callerWaited, waiting] { callerWaited = waiting->state() == QProcess::Running; });
    const Outcome outcome = finish(*client);
    if (message.isEmpty())
        waitOut(1000);

    QCOMPARE(outcome.error, QString());
    QCOMPARE(outcome.output, result);
    QCOMPARE(m_program.located, QStringList{id});
    QCOMPARE(seen->shown, !message.isEmpty());
    if (seen->shown) {
        QCOMPARE(seen->text, message);
        QVERIFY2(callerWaited, "the answer comes after the message");
    }
}

void TestAutomation::locateWhileAddingAPersonIsBusy()
{
    m_program.dialogShowing = true;
    const auto seen = answerMessage();
    const Outcome outcome = call(QStringLiteral("PVeldra.IIKor_Veldra.Locate"), {QStringLiteral("3")});

    QCOMPARE(seen->text, QStringLiteral("Dodajate novo osebo!"));
    QVERIFY(outcome.exitCode != 0);
    QVERIFY2(outcome.error.contains(QLatin1String("PVeldra.Error.Busy")), qPrintable(outcome.error));
    QVERIFY(outcome.error.contains(QLatin1String("Dodajate novo osebo!")));
    QVERIFY(outcome.output.isEmpty());
    QVERIFY(m_program.located.isEmpty());
}

void TestAutomation::newOpensTheDialogOnceAndWaits()
{
    std::unique_ptr<QProcess> first;
    bool firstWaited = false;
    std::shared_ptr<ModalAnswer::Seen> seen;
    Outcome second;
    m_program.duringDialog = [&] {
        firstWaited = first->state() == QProcess::Running;
        // A second assignment while the dialog is open is only told.
        seen = answerMessage();
        auto client = startSetNew(QStringLiteral("<'druga'>"));
        second = finish(*client);
    };

    first = startSetNew();
    const Outcome outcome = finish(*first);

    QCOMPARE(outcome.exitCode, 0);
    QCOMPARE(outcome.error, QString());
    QCOMPARE(m_program.added, 1);
    QVERIFY2(firstWaited, "the assignment is answered when the dialog has closed");
    QVERIFY(seen);
    QCOMPARE(seen->text, QStringLiteral("Dodajate novo osebo!"));
    QCOMPARE(second.exitCode, 0);
    QCOMPARE(second.error, QString());

    // The dialog the user opened counts the same.
    m_program.dialogShowing = true;
    const auto told = answerMessage();
    QCOMPARE(call(QStringLiteral("org.freedesktop.DBus.Properties.Set"), {Interface, "New", "<''>"}).exitCode, 0);
    QCOMPARE(told->text, QStringLiteral("Dodajate novo osebo!"));
    QCOMPARE(m_program.added, 1);
}

void TestAutomation::messagesComeOneAtATime()
{
    // The program's message box is one window: a second caller's message waits for the first.
    std::unique_ptr<QProcess> second;
    bool secondWaited = false;
    std::shared_ptr<ModalAnswer::Seen> secondSeen;
    const auto firstSeen = answerMessage(5000, [&] {
        second = startCall(QStringLiteral("PVeldra.IIKor_Veldra.Locate"), {QStringLiteral("5")});
        QTest::qWait(500);
        secondWaited = second->state() == QProcess::Running;
        secondSeen = answerMessage();
    });
    const Outcome first = finish(*startCall(QStringLiteral("PVeldra.IIKor_Veldra.Locate"), {QStringLiteral("4")}));
    QVERIFY(second);
    const Outcome secondOutcome = finish(*second);

    QCOMPARE(first.output, QStringLiteral("(-1,)"));
    QCOMPARE(secondOutcome.output, QStringLiteral("(-1,)"));
    QVERIFY(secondWaited);
    QCOMPARE(firstSeen->text, QStringLiteral("Oseba ni najdena!"));
    QVERIFY(secondSeen);
    QCOMPARE(secondSeen->text, QStringLiteral("Oseba ni najdena!"));
    QCOMPARE(m_program.located, (QStringList{"4", "5"}));
}

void TestAutomation::newBehindAMessageLooksAtTheDialogAgain()
{
    // New waits while a message shows; the user opens the dialog meanwhile.
    std::unique_ptr<QProcess> assignment;
    std::shared_ptr<ModalAnswer::Seen> told;
    const auto notFound = answerMessage(5000, [&] {
        assignment = startSetNew();
        QTest::qWait(500);
        m_program.dialogShowing = true;
        told = answerMessage();
    });
    const Outcome located = finish(*startCall(QStringLiteral("PVeldra.IIKor_Veldra.Locate"), {QStringLiteral("4")}));
    QVERIFY(assignment);
    const Outcome assigned = finish(*assignment);

    QCOMPARE(located.output, QStringLiteral("(-1,)"));
    QCOMPARE(notFound->text, QStringLiteral("Oseba ni najdena!"));
    QCOMPARE(assigned.exitCode, 0);
    QVERIFY(told);
    QCOMPARE(told->text, QStringLiteral("Dodajate novo osebo!"));
    QCOMPARE(m_program.added, 0);
}

void TestAutomation::fixedTexts_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("result");

    QTest::newRow("GetListOfAllVeldras") << "GetListOfAllVeldras" << QStringList{"kar koli"} << "(<'test1'>,)";
    QTest::newRow("GetAllNazivi") << "GetAllNazivi" << QStringList{} << "(<'test4'>,)";
    QTest::newRow("GetAllImena") << "GetAllImena" << QStringList{} << "(<'test'>,)";
    QTest::newRow("GetAllPriimki") << "GetAllPriimki" << QStringList{} << "(<'test5'>,)";
    QTest::newRow("GetAllMidImena") << "GetAllMidImena" << QStringList{} << "(<'test3'>,)";
    QTest::newRow("GetAllKraji") << "GetAllKraji" << QStringList{} << "(<'test2'>,)";
}

void TestAutomation::fixedTexts()
{
    QFETCH(QString, method);
    QFETCH(QStringList, arguments);
    QFETCH(QString, result);

    const Outcome outcome = call(Interface + QLatin1Char('.') + method, arguments);
    QCOMPARE(outcome.error, QString());
    QCOMPARE(outcome.output, result);
}

void TestAutomation::activateReachesTheProgram()
{
    const Outcome outcome = call(QStringLiteral("PVeldra.IIKor_Veldra.Activate"));
    QCOMPARE(outcome.error, QString());
    QCOMPARE(outcome.output, QStringLiteral("()"));
    QCOMPARE(m_program.activated, 1);
}

void TestAutomation::errorsReachTheCaller_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("Locate") << "PVeldra.IIKor_Veldra.Locate" << QStringList{"3"};
    QTest::newRow("New") << "org.freedesktop.DBus.Properties.Set" << QStringList{Interface, "New", "<'x'>"};
}

void TestAutomation::errorsReachTheCaller()
{
    QFETCH(QString, method);
    QFETCH(QStringList, arguments);

    m_program.failure = QStringLiteral("Baza podatkov ni dosegljiva.");
    const auto seen = answerMessage(1000);
    const Outcome outcome = call(method, arguments);
    waitOut(1000);

    QVERIFY(outcome.exitCode != 0);
    QVERIFY2(outcome.error.contains(QLatin1String("org.freedesktop.DBus.Error.Failed")), qPrintable(outcome.error));
    QVERIFY(outcome.error.contains(m_program.failure));
    QVERIFY2(!seen->shown, "the program itself says nothing");
    // The object goes on answering.
    QCOMPARE(call(QStringLiteral("PVeldra.IIKor_Veldra.GetAllImena")).output, QStringLiteral("(<'test'>,)"));
}

void TestAutomation::badCallsAreRefused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");

    const QStringList dest{"--dest", Service, "--object-path", Path};
    QTest::newRow("unknown method") << QStringList{"call", "--session"} + dest + QStringList{"--method", Interface + ".Delete"}
                                    << "UnknownMethod";
    // gdbus would make a text of the number, as the introspection asks.
    QTest::newRow("Locate with a number")
        << QStringList{"dbus-send", "--session", "--print-reply", "--dest=" + Service, Path, Interface + ".Locate", "int32:3"}
        << "InvalidArgs";
    QTest::newRow("New with a number") << QStringList{"call", "--session"} + dest
            + QStringList{"--method", "org.freedesktop.DBus.Properties.Set", Interface, "New", "<3>"}
                                       << "InvalidArgs";
    QTest::newRow("reading New") << QStringList{"call", "--session"} + dest
            + QStringList{"--method", "org.freedesktop.DBus.Properties.Get", Interface, "New"}
                                 << "InvalidArgs";
    QTest::newRow("another property") << QStringList{"call", "--session"} + dest
            + QStringList{"--method", "org.freedesktop.DBus.Properties.Set", Interface, "Old", "<'x'>"}
                                      << "UnknownProperty";
}

void TestAutomation::badCallsAreRefused()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);

    std::unique_ptr<QProcess> client;
    if (arguments.first() == QLatin1String("dbus-send")) {
        client = std::make_unique<QProcess>();
        client->start(arguments.first(), arguments.mid(1));
    } else {
        client = startClient(arguments);
    }
    const Outcome outcome = finish(*client);
    QVERIFY(outcome.exitCode != 0);
    QVERIFY2(outcome.error.contains(QLatin1String("org.freedesktop.DBus.Error.") + error), qPrintable(outcome.error));
    QCOMPARE(m_program.added, 0);
    QVERIFY(m_program.located.isEmpty());
}

void TestAutomation::introspectionMatchesTheDescription()
{
    QFile file(QStringLiteral(INTERFACE_XML));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList described = describeInterface(QString::fromUtf8(file.readAll()));
    QVERIFY(described.contains(QStringLiteral("property name=New type=s access=write")));

    auto client = startClient({"introspect", "--xml", "--session", "--dest", Service, "--object-path", Path});
    const Outcome outcome = finish(*client);
    QCOMPARE(outcome.error, QString());
    QCOMPARE(describeInterface(outcome.output), described);
}

void TestAutomation::lastClientGone()
{
    QSignalSpy gone(m_object.get(), &TIKor_Veldra::lastClientGone);
    QVERIFY(!m_object->hasClients());

    // Two clients of their own on the bus: the signal comes when the second has left.
    auto connect = [](const QString &name) {
        QDBusConnection client = QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
        QDBusMessage activate = QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("Activate"));
        QDBusPendingCall pending = client.asyncCall(activate);
        QTRY_VERIFY(pending.isFinished());
        QVERIFY(!pending.isError());
    };
    connect(QStringLiteral("first client"));
    connect(QStringLiteral("second client"));
    QCOMPARE(m_program.activated, 2);
    QVERIFY(m_object->hasClients());

    QDBusConnection::disconnectFromBus(QStringLiteral("first client"));
    QTest::qWait(300);
    QCOMPARE(gone.count(), 0);
    QVERIFY(m_object->hasClients());

    QDBusConnection::disconnectFromBus(QStringLiteral("second client"));
    QTRY_COMPARE(gone.count(), 1);
    QVERIFY(!m_object->hasClients());

    // A gdbus call is a client that is gone as soon as it has its answer.
    QCOMPARE(call(QStringLiteral("PVeldra.IIKor_Veldra.GetAllKraji")).exitCode, 0);
    QTRY_COMPARE(gone.count(), 2);
}

void TestAutomation::registeringFailsQuietly()
{
    // No bus: the program goes on without automation.
    TIKor_Veldra withoutBus(m_program.target());
    QVERIFY(!withoutBus.registerOnBus(QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"), "no bus")));

    // The name belongs to another connection: this one keeps no object either.
    QDBusConnection other = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("other"));
    TIKor_Veldra second(m_program.target());
    QVERIFY(!second.registerOnBus(other));
    QVERIFY(!other.objectRegisteredAt(Path));
    QDBusConnection::disconnectFromBus(QStringLiteral("other"));
    QCOMPARE(call(QStringLiteral("PVeldra.IIKor_Veldra.GetAllImena")).output, QStringLiteral("(<'test'>,)"));
}

void TestAutomation::busGoneIsTheLastClientGone()
{
    // A bus of its own, which goes away under the object.
    QProcess daemon;
    daemon.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address=1"});
    QVERIFY(daemon.waitForReadyRead(10000));
    const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
    QDBusConnection bus = QDBusConnection::connectToBus(address, QStringLiteral("short-lived bus"));
    TIKor_Veldra object(m_program.target());
    QVERIFY(object.registerOnBus(bus));
    QSignalSpy gone(&object, &TIKor_Veldra::lastClientGone);

    daemon.kill();
    daemon.waitForFinished();
    QTRY_COMPARE(gone.count(), 1);
    QDBusConnection::disconnectFromBus(QStringLiteral("short-lived bus"));
}

void TestAutomation::startMode_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<StartMode>("mode");

    QTest::newRow("none") << QStringList{"veldra"} << StartMode::Ordinary;
    QTest::newRow("-AUTOMATION") << QStringList{"veldra", "-AUTOMATION"} << StartMode::ByBus;
    QTest::newRow("/embedding") << QStringList{"veldra", "/embedding"} << StartMode::ByBus;
    QTest::newRow("/RegServer") << QStringList{"veldra", "/RegServer"} << StartMode::Register;
    QTest::newRow("-unregserver") << QStringList{"veldra", "-unregserver"} << StartMode::Unregister;
    QTest::newRow("among other arguments") << QStringList{"veldra", "x.txt", "-Automation"} << StartMode::ByBus;
    QTest::newRow("without a switch character") << QStringList{"veldra", "REGSERVER"} << StartMode::Ordinary;
    QTest::newRow("two switch characters") << QStringList{"veldra", "--regserver"} << StartMode::Ordinary;
    QTest::newRow("a longer word") << QStringList{"veldra", "-regservers"} << StartMode::Ordinary;
    QTest::newRow("the program's own name") << QStringList{"/regserver"} << StartMode::Ordinary;
    QTest::newRow("the bus wins") << QStringList{"veldra", "-regserver", "-embedding"} << StartMode::ByBus;
    QTest::newRow("registering wins") << QStringList{"veldra", "-unregserver", "-regserver"} << StartMode::Register;
}

void TestAutomation::startMode()
{
    QFETCH(QStringList, arguments);
    QFETCH(StartMode, mode);
    QCOMPARE(ParseStartMode(arguments), mode);
}

void TestAutomation::registerAndUnregister()
{
    const QString program = QStringLiteral("/opt/Veldra 2/veldra$\"x\"\\");
    QVERIFY(RegisterServer(program));
    const QString file = qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/dbus-1/services/PVeldra.IKor_Veldra.service");
    QCOMPARE(ActivationFilePath(), file);
    QFile written(file);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(written.readAll()),
             QStringLiteral("[D-BUS Service]\nName=PVeldra.IKor_Veldra\n")
                 + QStringLiteral(R"(Exec="/opt/Veldra 2/veldra\\$\\"x\\"\\\\" -AUTOMATION)") + QLatin1Char('\n'));
    written.close();

    QVERIFY(RegisterServer(QStringLiteral("/usr/bin/veldra")));
    QVERIFY(written.open(QIODevice::ReadOnly));
    QVERIFY(written.readAll().endsWith("\nExec=/usr/bin/veldra -AUTOMATION\n"));
    written.close();

    QVERIFY(UnregisterServer());
    QVERIFY(!QFile::exists(file));
    QVERIFY2(UnregisterServer(), "nothing to remove is no failure");
}

void TestAutomation::registerReportsFailure()
{
    // A data folder that is a file cannot hold the activation file.
    QTemporaryDir dir;
    const QString blocked = dir.filePath(QStringLiteral("file"));
    QFile block(blocked);
    QVERIFY(block.open(QIODevice::WriteOnly));
    block.close();
    const QByteArray data = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(blocked));
    const bool registered = RegisterServer(QStringLiteral("/usr/bin/veldra"));
    qputenv("XDG_DATA_HOME", data);
    QVERIFY(!registered);

    // A line break would end the Exec line early.
    QVERIFY(!RegisterServer(QStringLiteral("/opt/veldra\n-x")));
    QVERIFY(!QFile::exists(ActivationFilePath()));
}

void TestAutomation::busStartsTheProgramWhichEndsWithItsLastClient()
{
    // Installed in a folder whose name needs quoting in the activation file.
    const QString folder = qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/Moji programi ($ \\ `)/");
    QVERIFY(QDir().mkpath(folder));
    const QString program = folder + QStringLiteral("veldra");
    QFile::remove(program);
    QVERIFY(QFile::copy(QStringLiteral(SERVER_PROGRAM), program));
    QVERIFY(RegisterServer(program));
    QVERIFY(!nameOnBus(Service));

    const Outcome outcome = call(QStringLiteral("PVeldra.IIKor_Veldra.Locate"), {QStringLiteral("1")});
    QCOMPARE(outcome.error, QString());
    QCOMPARE(outcome.output, QStringLiteral("(0,)"));
    // The caller has gone, so the program the bus started ends.
    QTRY_VERIFY_WITH_TIMEOUT(!nameOnBus(Service), 10000);
    QVERIFY(UnregisterServer());
}

void TestAutomation::closingWithClientsAsks_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("close");

    QTest::newRow("Yes closes") << "Yes" << true;
    QTest::newRow("No stays") << "No" << false;
    QTest::newRow("the close box stays") << "" << false;
}

void TestAutomation::closingWithClientsAsks()
{
    QFETCH(QString, answer);
    QFETCH(bool, close);

    ModalAnswer::Seen seen;
    QString defaultButton;
    ModalAnswer::whenShown([&](QWidget *dialog) {
        seen = ModalAnswer::describe(dialog);
        auto *box = qobject_cast<QMessageBox *>(dialog);
        if (box && box->defaultButton())
            defaultButton = box->defaultButton()->text().remove(QLatin1Char('&'));
        const QList<QAbstractButton *> buttons = dialog->findChildren<QAbstractButton *>();
        for (QAbstractButton *button : buttons)
            if (!answer.isEmpty() && button->text().remove(QLatin1Char('&')) == answer)
                return button->click();
        dialog->close();
    });
    QCOMPARE(ConfirmCloseWithClients(nullptr), close);
    QCOMPARE(seen.title, QStringLiteral("COM Server Warning"));
    QCOMPARE(seen.text, ComServerWarningText().replace(QLatin1String("\r\n"), QLatin1String("\n")));
    QCOMPARE(seen.buttons, (QStringList{"Yes", "No"}));
    QCOMPARE(defaultButton, QStringLiteral("No"));
    QCOMPARE(ComServerWarningText(),
             QStringLiteral("There are still active COM objects in this application.  One or more clients may have "
                            "references to these objects, so manually closing this application may cause those client "
                            "application(s) to fail.\r\n\r\nAre you sure you want to close this application?"));
}

QTEST_MAIN(TestAutomation)
#include "tst_Automation.moc"
