#include "ColourScheme.h"
#include "Language.h"
#include "ModalAnswer.h"
#include "ProgramPaths.h"
#include "Settings.h"
#include "Startup.h"
#include "TestInstallation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHostInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QTest>

namespace {

QString nastavitve()
{
    return QString::fromLatin1(KeyNastavitve);
}

QString okText()
{
    return QCoreApplication::translate("TFMessageBox", "V redu");
}

// The start's outcome as text, so that a failed comparison says what happened.
QString outcome(const std::optional<int> &exitCode)
{
    return exitCode ? QStringLiteral("exit %1").arg(*exitCode) : QStringLiteral("go on");
}

void installModule(const TestInstallation &installation, const QString &extension, const QByteArray &content = {})
{
    const QString target = installation.programFolder() + QStringLiteral("veldra.") + extension;
    if (content.isEmpty())
        QVERIFY(QFile::copy(QStringLiteral(ENGLISH_MODULE), target));
    else {
        QFile file(target);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
}

}

class TestStartup : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup();
    void missingFiles_data();
    void missingFiles();
    void successfulStart();
    void upgradeThatTakesOverEndsTheStart();
    void databaseFileNotMadeReadyEndsTheStart();
    void databaseOnAServerNeedsNoFile();
    void lastAccessText_data();
    void lastAccessText();
    void namelessComputerIsNotRecorded_data();
    void namelessComputerIsNotRecorded();
    void languageModule_data();
    void languageModule();
    void languageChosenFromSettings();
};

void TestStartup::cleanup()
{
    SetLanguage(0);
    ColourScheme = TColourScheme::defaults();
}

void TestStartup::missingFiles_data()
{
    QTest::addColumn<int>("setup");
    QTest::addColumn<bool>("databaseInProgramFolder");
    QTest::addColumn<QString>("message"); // "<ini>" stands for the INI's path
    QTest::newRow("database missing") << int(TestInstallation::WithoutDatabase) << false << "Ni mogoče najti podatkov!";
    QTest::newRow("INI missing: database looked for in the program folder first")
        << int(TestInstallation::WithoutIni) << false << "Ni mogoče najti podatkov!";
    QTest::newRow("INI missing, database in the program folder")
        << int(TestInstallation::WithoutIni) << true << "Ni mogoče najti datoteke <ini>";
}

void TestStartup::missingFiles()
{
    QFETCH(int, setup);
    QFETCH(bool, databaseInProgramFolder);
    QFETCH(QString, message);
    TestInstallation installation{TestInstallation::Setup(setup)};
    if (databaseInProgramFolder)
        QVERIFY(QFile::copy(installation.databaseFile(), installation.programFolder() + QStringLiteral("Veldra_be.mdb")));

    auto seen = ModalAnswer::press(QStringLiteral("OK"));
    QCOMPARE(outcome(RunStartupInitialisation({})), QStringLiteral("exit 1"));
    QCOMPARE(seen->text, message.replace(QStringLiteral("<ini>"), installation.iniFile()));
    QCOMPARE(seen->buttons, QStringList{QStringLiteral("OK")});
    // Nothing else of the start has run.
    QVERIFY(!QFile::exists(installation.dataFolder() + QStringLiteral("LastVer.ini")));
    QVERIFY(!QDir(installation.dataFolder() + QStringLiteral("Backup")).exists());
    QCOMPARE(ReadRegString(nastavitve(), QStringLiteral("Location")), QString());
}

void TestStartup::successfulStart()
{
    TestInstallation installation;
    WriteRegString(QString::fromLatin1(KeyBarve), QStringLiteral("CT_WBack"), QStringLiteral("255"));
    WriteRegString(nastavitve(), QStringLiteral("AutoShift"), QStringLiteral("0"));
    QStringList steps;
    const StartupSteps hooks{[&steps] {
                                 steps << QStringLiteral("upgrade");
                                 return StepResult::GoOn;
                             },
                             [&steps] { steps << QStringLiteral("modules"); },
                             [&](const QString &file) {
                                 // Before the backup copies the file.
                                 steps << QStringLiteral("database %1, backups %2")
                                              .arg(file == installation.dataFolder() + QStringLiteral("Veldra_be.mdb"))
                                              .arg(QDir(installation.dataFolder() + QStringLiteral("Backup")).entryList(QDir::Files).size());
                                 return true;
                             }};

    QCOMPARE(outcome(RunStartupInitialisation(hooks)), QStringLiteral("go on"));
    QCOMPARE(steps, (QStringList{"database 1, backups 0", "upgrade", "modules"}));
    QCOMPARE(ReadRegString(nastavitve(), QStringLiteral("Location")), installation.programFile());
    QCOMPARE(QDir(installation.dataFolder() + QStringLiteral("Backup")).entryList(QDir::Files).size(), 1);
    const QString line = ReadIniString(installation.dataFolder() + QStringLiteral("LastVer.ini"),
                                       QStringLiteral("Uporabniki"), QHostInfo::localHostName());
    QVERIFY2(QRegularExpression(QStringLiteral("^2\\.310 LastAccessed=\\d\\d\\D+\\d\\d\\D+\\d{4} \\(\\d\\d\\D+\\d\\d\\)$"))
                 .match(line).hasMatch(),
             qPrintable(line));
    QCOMPARE(ColourScheme.CT_WBack, QColor(Qt::red));
    QVERIFY(!AutoShiftNames);

    // A second start the same day makes no second backup.
    installation.restart();
    QCOMPARE(outcome(RunStartupInitialisation({})), QStringLiteral("go on"));
    QCOMPARE(QDir(installation.dataFolder() + QStringLiteral("Backup")).entryList(QDir::Files).size(), 1);
}

void TestStartup::upgradeThatTakesOverEndsTheStart()
{
    TestInstallation installation;
    QStringList steps;
    const StartupSteps hooks{[&steps] {
                                 steps << QStringLiteral("upgrade");
                                 return StepResult::EndNow;
                             },
                             [&steps] { steps << QStringLiteral("modules"); },
                             {}};
    QCOMPARE(outcome(RunStartupInitialisation(hooks)), QStringLiteral("exit 0"));
    QCOMPARE(steps, QStringList{QStringLiteral("upgrade")});
}

void TestStartup::databaseFileNotMadeReadyEndsTheStart()
{
    TestInstallation installation;
    bool upgradeChecked = false;
    const StartupSteps hooks{[&] {
                                 upgradeChecked = true;
                                 return StepResult::GoOn;
                             },
                             {},
                             [](const QString &) { return false; }};
    QCOMPARE(outcome(RunStartupInitialisation(hooks)), QStringLiteral("exit 1"));
    QVERIFY(!upgradeChecked);
    QVERIFY(!QFileInfo::exists(installation.dataFolder() + QStringLiteral("Backup")));
    QVERIFY(!QFileInfo::exists(installation.dataFolder() + QStringLiteral("LastVer.ini")));
}

void TestStartup::databaseOnAServerNeedsNoFile()
{
    TestInstallation installation(TestInstallation::WithoutDatabase);
    installation.writeIni({{QStringLiteral("Baza"), QStringLiteral("postgresql://veldra@strežnik/veldra")}});
    QCOMPARE(outcome(RunStartupInitialisation({})), QStringLiteral("go on"));
    // The server keeps its own backups.
    QVERIFY(!QDir(installation.dataFolder() + QStringLiteral("Backup")).exists());
    QVERIFY(QFile::exists(installation.dataFolder() + QStringLiteral("LastVer.ini")));
}

void TestStartup::lastAccessText_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Slovenian") << QLocale(QLocale::Slovenian, QLocale::Slovenia) << "2.310 LastAccessed=09.12.2026 (01:15)";
    QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << "2.310 LastAccessed=09.12.2026 (01:15)";
    QTest::newRow("American") << QLocale(QLocale::English, QLocale::UnitedStates) << "2.310 LastAccessed=09/12/2026 (01:15)";
    QTest::newRow("Swedish") << QLocale(QLocale::Swedish, QLocale::Sweden) << "2.310 LastAccessed=09-12-2026 (01:15)";
}

void TestStartup::lastAccessText()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, expected);
    QLocale::setDefault(locale);
    QCOMPARE(LastAccessText(QDateTime(QDate(2026, 12, 9), QTime(1, 15, 42))), expected);
    QLocale::setDefault(QLocale::system());
}

void TestStartup::namelessComputerIsNotRecorded_data()
{
    QTest::addColumn<QString>("computer");
    QTest::newRow("empty") << "";
    QTest::newRow("blank") << "  ";
}

void TestStartup::namelessComputerIsNotRecorded()
{
    QFETCH(QString, computer);
    TestInstallation installation;
    const QDateTime moment(QDate(2026, 12, 9), QTime(1, 15));
    RecordLastAccess(moment, QStringLiteral("PC1"));
    QFile lastVer(installation.dataFolder() + QStringLiteral("LastVer.ini"));
    QVERIFY(lastVer.open(QIODevice::ReadOnly));
    const QByteArray before = lastVer.readAll();
    lastVer.close();
    // Such a line could never be found again: every start would add one more.
    RecordLastAccess(moment, computer);
    RecordLastAccess(moment, computer);
    QVERIFY(lastVer.open(QIODevice::ReadOnly));
    QCOMPARE(lastVer.readAll(), before);
}

void TestStartup::languageModule_data()
{
    QTest::addColumn<int>("languageId");
    QTest::addColumn<QStringList>("modules"); // "x" suffix: a file that is no language module
    QTest::addColumn<QString>("loaded");
    QTest::newRow("no module: own texts") << 36 << QStringList{} << "";
    QTest::newRow("three letters") << 36 << QStringList{"SLV", "SL"} << "SLV";
    QTest::newRow("two letters") << 36 << QStringList{"SL"} << "SL";
    QTest::newRow("broken three-letter module") << 36 << QStringList{"SLVx", "SL"} << "SL";
    QTest::newRow("English") << 1033 << QStringList{"ENU", "SLV"} << "ENU";
    QTest::newRow("unknown identifier") << 4242 << QStringList{"SLV"} << "";
}

void TestStartup::languageModule()
{
    QFETCH(int, languageId);
    QFETCH(QStringList, modules);
    QFETCH(QString, loaded);
    TestInstallation installation;
    for (const QString &module : modules) {
        if (module.endsWith(QLatin1Char('x')))
            installModule(installation, module.chopped(1), "no translations here");
        else
            installModule(installation, module);
    }
    QCOMPARE(SetLanguage(languageId), loaded.isEmpty() ? QString() : installation.programFolder() + QStringLiteral("veldra.") + loaded);
    QCOMPARE(okText(), loaded.isEmpty() ? QStringLiteral("V redu") : QStringLiteral("OK"));
}

void TestStartup::languageChosenFromSettings()
{
    TestInstallation installation;
    installModule(installation, QStringLiteral("ENU"));
    installModule(installation, QStringLiteral("SL"));
    QCOMPARE(outcome(RunStartupInitialisation({})), QStringLiteral("go on")); // LangID missing: 36, Slovenian
    QCOMPARE(okText(), QStringLiteral("OK"));  // (the test's module translates)
    QFile::remove(installation.programFolder() + QStringLiteral("veldra.SL"));
    WriteRegString(nastavitve(), QStringLiteral("LangID"), QStringLiteral("slovensko"));
    QCOMPARE(outcome(RunStartupInitialisation({})), QStringLiteral("go on")); // not a number: 36, and no module any more
    QCOMPARE(okText(), QStringLiteral("V redu"));
    WriteRegString(nastavitve(), QStringLiteral("LangID"), QStringLiteral("1033"));
    QCOMPARE(outcome(RunStartupInitialisation({})), QStringLiteral("go on"));
    QCOMPARE(okText(), QStringLiteral("OK"));
}

QTEST_MAIN(TestStartup)
#include "tst_Startup.moc"
