#include "UpgradeCheck.h"

#include "ModalAnswer.h"
#include "ProgramPaths.h"
#include "Settings.h"
#include "TestInstallation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QTimer>

namespace {

void writeFile(const QString &path, const QByteArray &text)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

QString clean(const QString &path)
{
    return path.isEmpty() ? path : QDir::cleanPath(path);
}

// An installation with an upgrade library of the build at program/Upgrade/up.so, named
// by the INI as a path below the program folder.
class UpgradeWorld
{
public:
    explicit UpgradeWorld(const QString &built = QStringLiteral(UPGRADE_LIBRARY))
    {
        if (!built.isEmpty()) {
            QVERIFY(QDir().mkpath(m_installation.programFolder() + QStringLiteral("Upgrade")));
            QVERIFY(QFile::copy(built, library()));
        }
        setUpgradeProg(QStringLiteral("\\Upgrade\\up.so"));
    }

    TestInstallation &installation() { return m_installation; }
    QString library() const { return m_installation.programFolder() + QStringLiteral("Upgrade/up.so"); }

    void setUpgradeProg(const QString &value)
    {
        WriteIniString(m_installation.iniFile(), QStringLiteral("SETTINGS"), QStringLiteral("UpgradeProg"), value);
    }
    void setInterval(const QString &days)
    {
        if (!days.isEmpty())
            WriteRegString(QString::fromLatin1(KeyNastavitve), QStringLiteral("CheckNewVer"), days);
    }
    // The example library's own INI: its replies.
    void configure(const QByteArray &ini) { writeFile(sibling(QStringLiteral(".ini")), ini); }

    // The library's calls, "<program>" and "<library>" standing for the two paths.
    QStringList calls() const
    {
        QFile file(sibling(QStringLiteral(".log")));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll())
            .replace(m_installation.programFile(), QStringLiteral("<program>"))
            .replace(library(), QStringLiteral("<library>"))
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

private:
    QString sibling(const QString &suffix) const
    {
        return m_installation.programFolder() + QStringLiteral("Upgrade/up") + suffix;
    }

    TestInstallation m_installation;
};

// Whether the file is mapped into this process.
bool isMapped(const QString &library)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return false;
    return maps.readAll().contains(QFile::encodeName(library));
}

const QString Init = QStringLiteral("Init\t<library>");
const QString Internet = QStringLiteral("InternetUpgrade");
const QString ForcedCall = QStringLiteral("GetLastVersion\t<program>\t1\t1");
const QString HandOver = QStringLiteral("ExecuteUpgrade\t0\t\"Veldra\" \"2.310\" \"<program>\"");

}

class TestUpgradeCheck : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void findsLibrary_data();
    void findsLibrary();
    void replies_data();
    void replies();
    void unloadsAfterCheck();
    void libraryWithoutExports_data();
    void libraryWithoutExports();
    void offersInternetCheck();
    void checkNowTells_data();
    void checkNowTells();
    void checkNowEndsAfterHandingOver();
    void latestVersion_data();
    void latestVersion();
};

void TestUpgradeCheck::findsLibrary_data()
{
    QTest::addColumn<QString>("upgradeProg");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("expected");

    // Paths below the test's root; "<root>" in the setting stands for it.
    QTest::newRow("below the program folder") << "\\Upgrade\\up.so"
                                              << QStringList{"program/Upgrade/a.so", "program/Upgrade/up.so"}
                                              << "program/Upgrade/up.so";
    QTest::newRow("missing file: the first library of its folder")
        << "\\Upgrade\\up.so" << QStringList{"program/Upgrade/c.so", "program/Upgrade/b.so", "program/Upgrade/a.txt"}
        << "program/Upgrade/b.so";
    QTest::newRow("no library in the folder") << "\\Upgrade\\up.so" << QStringList{"program/Upgrade/a.txt"} << "";
    QTest::newRow("no folder") << "\\Nadgradnja\\up.so" << QStringList{"program/Upgrade/up.so"} << "";
    QTest::newRow("absolute path") << "<root>drugje/up.so" << QStringList{"drugje/up.so"} << "drugje/up.so";
    QTest::newRow("relative path: below the program folder, not the working folder")
        << "Upgrade/up.so" << QStringList{"delo/Upgrade/up.so", "program/Upgrade/up.so"} << "program/Upgrade/up.so";
    QTest::newRow("no setting: nothing of the program or the working folder")
        << "" << QStringList{"delo/a.so", "program/a.so"} << "";
}

void TestUpgradeCheck::findsLibrary()
{
    QFETCH(QString, upgradeProg);
    QFETCH(QStringList, files);
    QFETCH(QString, expected);
    UpgradeWorld world{QString()};
    const QString root = world.installation().root();
    for (const QString &file : files)
        writeFile(root + file, "");
    world.setUpgradeProg(upgradeProg.replace(QStringLiteral("<root>"), root));
    QVERIFY(QDir().mkpath(root + QStringLiteral("delo")));
    const QString working = QDir::currentPath();
    QDir::setCurrent(root + QStringLiteral("delo"));
    const QString found = FindUpgradeLibrary();
    QDir::setCurrent(working);
    QCOMPARE(clean(found), clean(expected.isEmpty() ? expected : root + expected));
}

void TestUpgradeCheck::replies_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("interval");
    QTest::addColumn<bool>("forced");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QStringList>("calls");

    const QByteArray own = "[Odgovori]\nGetLastVersion=2.310\n";
    QTest::newRow("forced: one day, forced") << own << "30" << true << "2.310" << QStringList{Init, Internet, ForcedCall};
    QTest::newRow("automatic: the default interval")
        << own << "" << false << "2.310" << QStringList{Init, Internet, "GetLastVersion\t<program>\t14\t0"};
    QTest::newRow("automatic: the user's interval")
        << own << "30" << false << "2.310" << QStringList{Init, Internet, "GetLastVersion\t<program>\t30\t0"};
    QTest::newRow("interval 0: no automatic check") << own << "0" << false << "" << QStringList{Init, Internet};
    QTest::newRow("negative interval: no automatic check") << own << "-3" << false << "" << QStringList{Init, Internet};
    QTest::newRow("interval 0: a forced check still asks")
        << own << "0" << true << "2.310" << QStringList{Init, Internet, ForcedCall};
    QTest::newRow("no internet check: forced at every start, whatever the interval")
        << QByteArray("[Odgovori]\nInternetUpgrade=0\nGetLastVersion=2.310\n") << "0" << false << "2.310"
        << QStringList{Init, Internet, ForcedCall};
    QTest::newRow("error") << QByteArray("[Odgovori]\nGetLastVersion=//ERROR//\n") << "" << true << "//ERROR//"
                           << QStringList{Init, Internet, ForcedCall};
    QTest::newRow("check expired") << QByteArray("[Odgovori]\nGetLastVersion=//CHECKDAY//\n") << "" << true
                                   << "//CHECKDAY//" << QStringList{Init, Internet, ForcedCall};
    QTest::newRow("empty reply") << QByteArray("[Odgovori]\nGetLastVersion=\n") << "" << true << ""
                                 << QStringList{Init, Internet, ForcedCall};
    QTest::newRow("null reply") << QByteArray("[Odgovori]\nGetLastVersion=<null>\n") << "" << true << ""
                                << QStringList{Init, Internet, ForcedCall};
    QTest::newRow("newer version: handed over") << QByteArray("[Odgovori]\nGetLastVersion=2.400\n") << "" << false
                                                << "2.400"
                                                << QStringList{Init, Internet, "GetLastVersion\t<program>\t14\t0", HandOver};
    QTest::newRow("own version and a blank is another version")
        << QByteArray("[Odgovori]\nGetLastVersion=\"2.310 \"\n") << "" << true << "2.310 "
        << QStringList{Init, Internet, ForcedCall, HandOver};
}

void TestUpgradeCheck::replies()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, interval);
    QFETCH(bool, forced);
    QFETCH(QString, reply);
    QFETCH(QStringList, calls);
    UpgradeWorld world;
    world.configure(ini);
    world.setInterval(interval);

    const UpgradeCheckResult result = CheckForUpgrade(forced);
    QCOMPARE(result.Reply, reply);
    QCOMPARE(world.calls(), calls);
    QCOMPARE(result.HandedOver, calls.contains(HandOver));
    // The start goes on unless the upgrade took over.
    if (!forced)
        QCOMPARE(CheckForUpgradeAtStart(), result.HandedOver ? StepResult::EndNow : StepResult::GoOn);
}

void TestUpgradeCheck::unloadsAfterCheck()
{
    // An upgrade may replace the file: nothing of it stays mapped, handed over or not.
    for (const QByteArray &reply : {QByteArray("2.310"), QByteArray("2.400")}) {
        UpgradeWorld world;
        world.configure("[Odgovori]\nGetLastVersion=" + reply + '\n');
        QCOMPARE(CheckForUpgrade(true).Reply, QString::fromLatin1(reply));
        QVERIFY(!world.calls().isEmpty());
        QVERIFY2(!isMapped(world.library()), reply.constData());
        QVERIFY(UpgradeOffersInternetCheck());
        QVERIFY2(!isMapped(world.library()), reply.constData());
    }
}

void TestUpgradeCheck::libraryWithoutExports_data()
{
    QTest::addColumn<QString>("built");
    QTest::addColumn<QByteArray>("content");

    QTest::newRow("none of the exports") << QStringLiteral(NO_UPGRADE_EXPORTS) << QByteArray();
    QTest::newRow("no library at all") << QString() << QByteArray("kar nekaj");
}

void TestUpgradeCheck::libraryWithoutExports()
{
    QFETCH(QString, built);
    QFETCH(QByteArray, content);
    UpgradeWorld world(built);
    if (built.isEmpty())
        writeFile(world.library(), content);
    const UpgradeCheckResult result = CheckForUpgrade(true);
    QCOMPARE(result.Reply, QString());
    QVERIFY(!result.HandedOver);
    QVERIFY(!UpgradeOffersInternetCheck());
}

void TestUpgradeCheck::offersInternetCheck()
{
    UpgradeWorld world;
    QVERIFY(UpgradeOffersInternetCheck());
    world.configure("[Odgovori]\nInternetUpgrade=0\n");
    QVERIFY(!UpgradeOffersInternetCheck());
    QCOMPARE(world.calls(), (QStringList{Init, Internet, Init, Internet}));
    world.setUpgradeProg(QStringLiteral("\\Drugje\\up.so"));
    QVERIFY(!UpgradeOffersInternetCheck());
}

void TestUpgradeCheck::checkNowTells_data()
{
    QTest::addColumn<QString>("built");
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("message");

    const QString example = QStringLiteral(UPGRADE_LIBRARY);
    const QString notFound = QStringLiteral("Napaka! Programa za nadgradnjo\nali nekaj od nastavitev ni mogoče najti!");
    QTest::newRow("no library") << QString() << QByteArray() << notFound;
    QTest::newRow("empty reply") << example << QByteArray("[Odgovori]\nGetLastVersion=\n") << notFound;
    QTest::newRow("error") << example << QByteArray("[Odgovori]\nGetLastVersion=//ERROR//\n")
                           << "Napaka! Nastavitev nadgradnje ni mogoce najti!";
    QTest::newRow("check expired") << example << QByteArray("[Odgovori]\nGetLastVersion=//CHECKDAY//\n")
                                   << "Napaka! Preverjanje verzije je poteklo!";
    QTest::newRow("own version") << example << QByteArray("[Odgovori]\nGetLastVersion=2.310\n")
                                 << "Imate zadnjo verzijo programa!\nNadgradnja verzije ni potrebna!";
    // A newer version that nobody installs must not pass in silence.
    QTest::newRow("newer version, library cannot install it")
        << QStringLiteral(REPORT_ONLY_LIBRARY) << QByteArray("[Odgovori]\nGetLastVersion=2.400\n") << notFound;
}

void TestUpgradeCheck::checkNowTells()
{
    QFETCH(QString, built);
    QFETCH(QByteArray, ini);
    QFETCH(QString, message);
    UpgradeWorld world(built);
    world.configure(ini);
    // An interval of 0 does not keep the button from checking.
    world.setInterval(QStringLiteral("0"));

    const auto told = ModalAnswer::press(QStringLiteral("V redu"));
    CheckForUpgradeNow();
    QVERIFY(told->shown);
    QCOMPARE(told->text, message);
    if (!built.isEmpty())
        QCOMPARE(world.calls().value(2), ForcedCall);
}

void TestUpgradeCheck::checkNowEndsAfterHandingOver()
{
    UpgradeWorld world;
    world.configure("[Odgovori]\nGetLastVersion=2.400\n");
    const auto told = ModalAnswer::press(QStringLiteral("V redu"), 300);
    // In the program's loop, as from the settings window; the second timer only keeps a
    // failing test from hanging.
    QTimer::singleShot(0, [] { CheckForUpgradeNow(); });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(3); });
    QCOMPARE(QCoreApplication::exec(), 0);
    QTest::qWait(400); // until the answer gives up waiting
    QVERIFY(!told->shown);
    QCOMPARE(world.calls().value(3), HandOver);
}

void TestUpgradeCheck::latestVersion_data()
{
    QTest::addColumn<QByteArray>("lastVer");
    QTest::addColumn<QString>("version");

    QTest::newRow("trimmed") << QByteArray("[Uporabniki]\nPC=2.310\n[Program]\nZadnjaVerzija= 2.400 \n") << "2.400";
    QTest::newRow("no version") << QByteArray("[Program]\nZadnjaVerzija=\n") << "ERROR";
    QTest::newRow("no file") << QByteArray() << "ERROR";
}

void TestUpgradeCheck::latestVersion()
{
    QFETCH(QByteArray, lastVer);
    QFETCH(QString, version);
    TestInstallation installation;
    if (!lastVer.isEmpty())
        writeFile(installation.dataFolder() + QStringLiteral("LastVer.ini"), lastVer);
    const auto told = ModalAnswer::press(QStringLiteral("V redu"), 300);
    QCOMPARE(GetLatestVersion(), version);
    QTest::qWait(400);
    QCOMPARE(told->shown, version == QStringLiteral("ERROR"));
    if (told->shown)
        QCOMPARE(told->text, QStringLiteral("Ni mogoče najti podatkov o zadnji verziji programa!"));
}

QTEST_MAIN(TestUpgradeCheck)
#include "tst_UpgradeCheck.moc"
