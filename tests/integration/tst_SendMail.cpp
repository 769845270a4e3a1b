#include "MailSending.h"
#include "ModalAnswer.h"
#include "RecordingProgram.h"
#include "TestInstallation.h"

#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <csignal>
#include <memory>

// Takes the mailto: addresses the desktop is asked to open.
class MailtoReceiver : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl &url) { urls.append(url); }
};

// A world whose PATH holds only what the test puts there, so that no real mail program
// or browser can start, and where mailto: addresses come to the test, unless told not to.
class MailWorld
{
public:
    enum Desktop { MailtoComesToTest, NothingOpensMailto };

    explicit MailWorld(Desktop desktop = MailtoComesToTest)
        : m_oldPath(qgetenv("PATH"))
        , m_sleep(QStandardPaths::findExecutable(QStringLiteral("sleep")))
        , m_desktop(desktop)
    {
        qputenv("PATH", QFile::encodeName(m_xdgEmail.folder()));
        qunsetenv("BROWSER");
        qunsetenv("DEFAULT_BROWSER");
        if (m_desktop == MailtoComesToTest)
            QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &mailto, "open");
    }

    ~MailWorld()
    {
        if (m_desktop == MailtoComesToTest)
            QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
        qputenv("PATH", m_oldPath);
    }

    void installXdgEmail(const QByteArray &then = "exit 0") { m_xdgEmail.install(then); }
    bool xdgEmailRan() const { return m_xdgEmail.ran(); }
    QStringList xdgEmailArguments() const { return m_xdgEmail.arguments(); }

    // Sends as the program would, with a timer ready to answer the message box.
    int send(const QStringList &fields)
    {
        told = ModalAnswer::press(QStringLiteral("V redu"), 300);
        const int result = SendMail(nullptr, fields);
        QTest::qWait(400); // until the answer gives up waiting
        return result;
    }

    QString sleepProgram() const { return m_sleep; }
    QString folder() const { return m_xdgEmail.folder() + QLatin1Char('/'); }

    MailtoReceiver mailto;
    std::shared_ptr<ModalAnswer::Seen> told;

private:
    TestInstallation m_installation;
    RecordingProgram m_xdgEmail{QStringLiteral("xdg-email")};
    QByteArray m_oldPath;
    QString m_sleep;
    Desktop m_desktop;
};

class TestSendMail : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void givesFieldsToXdgEmail_data();
    void givesFieldsToXdgEmail();
    void fallsBackToMailto_data();
    void fallsBackToMailto();
    void mailtoAddress_data();
    void mailtoAddress();
    void toldWhenNothingTakesTheMessage_data();
    void toldWhenNothingTakesTheMessage();
    void mailProgramThatStaysOpenIsLeftRunning();
};

void TestSendMail::givesFieldsToXdgEmail_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("only the address") << QStringList{"to=ana@example.si"} << QStringList{"ana@example.si"};
    QTest::newRow("subject, body, address in that order")
        << QStringList{"to=ana@example.si", "body=Pridite ob osmih.", "subject=Vabilo"}
        << QStringList{"--subject", "Vabilo", "--body", "Pridite ob osmih.", "ana@example.si"};
    QTest::newRow("attachments by number, not by line")
        << QStringList{"attachment1=/home/ana/b.pdf", "to=ana@example.si", "attachment0=/home/ana/a b.pdf"}
        << QStringList{"--attach", "/home/ana/a b.pdf", "--attach", "/home/ana/b.pdf", "ana@example.si"};
    QTest::newRow("a missing number ends the attachments")
        << QStringList{"attachment0=/home/ana/a.pdf", "attachment2=/home/ana/c.pdf", "to=ana@example.si"}
        << QStringList{"--attach", "/home/ana/a.pdf", "ana@example.si"};
    QTest::newRow("empty values are not given")
        << QStringList{"to=", "subject=", "body=Besedilo", "attachment0=", "attachment1=/home/ana/b.pdf"}
        << QStringList{"--body", "Besedilo"};
    QTest::newRow("no fields: an empty message") << QStringList{} << QStringList{};
    QTest::newRow("values keep their '='") << QStringList{"subject=a=b", "body==x==", "to=ana@example.si"}
                                           << QStringList{"--subject", "a=b", "--body", "=x==", "ana@example.si"};
    QTest::newRow("names in any case") << QStringList{"To=ana@example.si", "SUBJECT=Vabilo"}
                                       << QStringList{"--subject", "Vabilo", "ana@example.si"};
    QTest::newRow("the first of a repeated name") << QStringList{"to=ana@example.si", "to=bor@example.si"}
                                                  << QStringList{"ana@example.si"};
    QTest::newRow("lines, letters and shell characters as they are")
        << QStringList{"subject=Čestitka \"$HOME\" `id` $(id); | & 'x'", "body=Draga Špela,\r\nvse najboljše!\n"}
        << QStringList{"--subject", "Čestitka \"$HOME\" `id` $(id); | & 'x'", "--body", "Draga Špela,\r\nvse najboljše!\n"};
}

void TestSendMail::givesFieldsToXdgEmail()
{
    QFETCH(QStringList, fields);
    QFETCH(QStringList, arguments);
    MailWorld world;
    world.installXdgEmail();
    QCOMPARE(world.send(fields), 0);
    QVERIFY(world.xdgEmailRan());
    QCOMPARE(world.xdgEmailArguments(), arguments);
    QCOMPARE(world.mailto.urls, QList<QUrl>());
    QVERIFY(!world.told->shown);
}

void TestSendMail::fallsBackToMailto_data()
{
    QTest::addColumn<QByteArray>("xdgEmail"); // its shell lines; none: not on PATH

    QTest::newRow("no xdg-email") << QByteArray();
    QTest::newRow("xdg-email fails") << QByteArray("exit 3");
}

void TestSendMail::fallsBackToMailto()
{
    QFETCH(QByteArray, xdgEmail);
    MailWorld world;
    if (!xdgEmail.isNull())
        world.installXdgEmail(xdgEmail);
    const QStringList fields{"to=ana@example.si", "subject=Vabilo", "attachment0=/home/ana/a.pdf"};
    QCOMPARE(world.send(fields), 0);
    QCOMPARE(world.xdgEmailRan(), !xdgEmail.isNull());
    QCOMPARE(world.mailto.urls.size(), 1);
    // The attachment is dropped: mailto cannot carry it.
    QCOMPARE(world.mailto.urls[0].toString(QUrl::FullyEncoded), QStringLiteral("mailto:ana@example.si?subject=Vabilo"));
    QVERIFY(!world.told->shown);
}

void TestSendMail::mailtoAddress_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("url");

    QTest::newRow("address only") << QStringList{"to=ana@example.si"} << "mailto:ana@example.si";
    QTest::newRow("delimiters and letters encoded")
        << QStringList{"to=ana+novak@example.si", "subject=Račun št. 5 & 6 = 11 + 50% #1?", "body=Lep pozdrav, Ana"}
        << "mailto:ana%2Bnovak@example.si?subject=Ra%C4%8Dun%20%C5%A1t.%205%20%26%206%20%3D%2011%20%2B%2050%25%20%231%3F"
           "&body=Lep%20pozdrav%2C%20Ana";
    QTest::newRow("body lines end in CR LF") << QStringList{"to=ana@example.si", "body=Prva\nDruga\r\nTretja"}
                                             << "mailto:ana@example.si?body=Prva%0D%0ADruga%0D%0ATretja";
    QTest::newRow("no recipient") << QStringList{"to=", "subject=a=b"} << "mailto:?subject=a%3Db";
}

void TestSendMail::mailtoAddress()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, url);
    MailWorld world;
    QCOMPARE(world.send(fields), 0);
    QCOMPARE(world.mailto.urls.size(), 1);
    QCOMPARE(world.mailto.urls[0].toString(QUrl::FullyEncoded), url);
}

void TestSendMail::toldWhenNothingTakesTheMessage_data()
{
    fallsBackToMailto_data();
}

void TestSendMail::toldWhenNothingTakesTheMessage()
{
    QFETCH(QByteArray, xdgEmail);
    // Offscreen, the desktop opens no addresses; elsewhere its opener would be looked
    // for on PATH, which holds none here.
    MailWorld world(MailWorld::NothingOpensMailto);
    if (!xdgEmail.isNull())
        world.installXdgEmail(xdgEmail);
    QVERIFY(world.send({"to=ana@example.si", "subject=Vabilo"}) != 0);
    QVERIFY(world.told->shown);
    QCOMPARE(world.told->text, QStringLiteral("Prislo je do napake pri posiljanju email-a!"));
    QCOMPARE(world.told->buttons, QStringList{"V redu"});
}

void TestSendMail::mailProgramThatStaysOpenIsLeftRunning()
{
    MailWorld world;
    QVERIFY(!world.sleepProgram().isEmpty());
    const QString pidFile = world.folder() + QStringLiteral("pid");
    world.installXdgEmail("echo $$ > '" + QFile::encodeName(pidFile) + "'\nexec '" + QFile::encodeName(world.sleepProgram())
                          + "' 60");
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(world.send({"to=ana@example.si"}), 0);
    QVERIFY2(clock.elapsed() < 20000, "waited for the mail program to be closed");

    QFile file(pidFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const pid_t pid = file.readAll().trimmed().toInt();
    QVERIFY(pid > 0);
    const auto stop = qScopeGuard([pid] { ::kill(pid, SIGTERM); });
    QVERIFY2(::kill(pid, 0) == 0, "the mail program was stopped");
    QCOMPARE(world.mailto.urls, QList<QUrl>());
    QVERIFY(!world.told->shown);
}

QTEST_MAIN(TestSendMail)
#include "tst_SendMail.moc"
