#include "SetupScript.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

namespace {

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

const ChosenFolders Folders{QStringLiteral("/opt/prog/"), QStringLiteral("/srv/baza/")};

}

class TestSetupScript : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Slovenian, QLocale::Slovenia)); }

    void sourcePaths_data();
    void sourcePaths();
    void options_data();
    void options();
    void targets_data();
    void targets();
    void folders_data();
    void folders();
    void readsTheScript();
    void missingScriptIsEmpty();
    void databaseVersion_data();
    void databaseVersion();
    void fileCount_data();
    void fileCount();
};

void TestSetupScript::sourcePaths_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("absolute"); // "@" stands for the installer's folder

    QTest::newRow("drive letter") << QStringLiteral("C:\\Files\\a.dll") << QStringLiteral("C:/Files/a.dll");
    QTest::newRow("relative") << QStringLiteral("Baza\\Veldra_be.mdb") << QStringLiteral("@Baza/Veldra_be.mdb");
    QTest::newRow("leading backslash") << QStringLiteral("\\Baza\\x") << QStringLiteral("@Baza/x");
    QTest::newRow("absolute here") << QStringLiteral("/usr/share/pic.png") << QStringLiteral("/usr/share/pic.png");
    QTest::newRow("trimmed") << QStringLiteral("  pic.bmp  ") << QStringLiteral("@pic.bmp");
    QTest::newRow("one character") << QStringLiteral("a") << QStringLiteral("a");
    QTest::newRow("empty") << QString() << QString();
}

void TestSetupScript::sourcePaths()
{
    QFETCH(QString, path);
    QFETCH(QString, absolute);
    QCOMPARE(AbsoluteSourcePath(path, QStringLiteral("/media/cd")), absolute.replace(QLatin1Char('@'), QStringLiteral("/media/cd/")));
}

void TestSetupScript::options_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<FileOption>("option");

    QTest::newRow("none") << QStringLiteral("%ProgramFolder%a") << FileOption::None;
    QTest::newRow("shortcut in small letters") << QStringLiteral("%programfolder%a.exe;shortcut") << FileOption::Shortcut;
    QTest::newRow("leave, more after it") << QStringLiteral("%ProgramFolder%x;LEAVE;more") << FileOption::Leave;
    QTest::newRow("blanks around") << QStringLiteral("%MrezaFolder%v.ini; DbCheckVer ") << FileOption::DbCheckVer;
    QTest::newRow("unknown") << QStringLiteral("%ProgramFolder%x;COPY") << FileOption::None;
    QTest::newRow("option only after a second semicolon") << QStringLiteral("%ProgramFolder%x;;LEAVE") << FileOption::None;
}

void TestSetupScript::options()
{
    QFETCH(QString, target);
    QFETCH(FileOption, option);
    QCOMPARE(OptionOf(target), option);
}

void TestSetupScript::targets_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("expanded");

    QTest::newRow("program folder, any case") << QStringLiteral("%programfolder%a.exe;shortcut") << QStringLiteral("/opt/prog/a.exe");
    QTest::newRow("database folder, option cut") << QStringLiteral(" %MrezaFolder%x;LEAVE;more") << QStringLiteral("/srv/baza/x");
    QTest::newRow("system folder") << QStringLiteral("%SYSTEM%libx.so") << QDir::homePath() + QStringLiteral("/.local/lib/libx.so");
    QTest::newRow("backslashes, every occurrence")
        << QStringLiteral("%ProgramFolder%Moduli\\%MrezaFolder%") << QStringLiteral("/opt/prog/Moduli//srv/baza/");
    QTest::newRow("folder with a suffix") << QStringLiteral("%ProgramFolder%Slike ; ignored") << QStringLiteral("/opt/prog/Slike");
    QTest::newRow("no macro") << QStringLiteral("/tmp/a") << QStringLiteral("/tmp/a");
}

void TestSetupScript::targets()
{
    QFETCH(QString, target);
    QFETCH(QString, expanded);
    QCOMPARE(ExpandTarget(target, Folders), expanded);
}

void TestSetupScript::folders_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("folder");

    QTest::newRow("separator added") << QStringLiteral(" /opt/veldra ") << QStringLiteral("/opt/veldra/");
    QTest::newRow("separator kept") << QStringLiteral("/opt/veldra/") << QStringLiteral("/opt/veldra/");
    QTest::newRow("home") << QStringLiteral("~/Veldra") << QDir::homePath() + QStringLiteral("/Veldra/");
    QTest::newRow("backslashes") << QStringLiteral("C:\\Korvan\\Veldra") << QStringLiteral("C:/Korvan/Veldra/");
    QTest::newRow("tilde inside a name stays") << QStringLiteral("/opt/~x") << QStringLiteral("/opt/~x/");
    QTest::newRow("empty") << QStringLiteral("  ") << QString();
}

void TestSetupScript::folders()
{
    QFETCH(QString, typed);
    QFETCH(QString, folder);
    QCOMPARE(FolderWithSeparator(typed), folder);
}

// Names without regard to case, the first of repeated keys for both lines, sources
// absolute, targets as written.
void TestSetupScript::readsTheScript()
{
    QTemporaryDir installer;
    writeFile(installer.filePath(QStringLiteral("Setup.ini")),
              "[GLAVNO]\nime=Veldra\nSLIKA=slika.png\nVerzija=2.310\nMemo=C:\\memo.txt\nInfo=  Vse pravice pridr\xc5\xbe"
              "ane  \nProgramFolder=~/Veldra\nChangePathInIni=%ProgramFolder%veldra.ini\n"
              "[dll]\nlibs\\libx.so=%System%libx.so\n"
              "[Folders]\nslike=%MrezaFolder%Slike;x\n"
              "[Datoteke]\nveldra=%ProgramFolder%veldra;SHORTCUT\nBaza\\Veldra_be.mdb=%MrezaFolder%Veldra_be.mdb;LEAVE\n"
              "veldra=%ProgramFolder%druga\n");
    const QString folder = installer.path() + QLatin1Char('/');
    const SetupScript script = ReadSetupScript(installer.path());

    QCOMPARE(script.Ime, QStringLiteral("Veldra"));
    QCOMPARE(script.Slika, folder + QStringLiteral("slika.png"));
    QCOMPARE(script.Verzija, QStringLiteral("2.310"));
    QCOMPARE(script.Memo, QStringLiteral("C:/memo.txt"));
    QCOMPARE(script.Info, QStringLiteral("Vse pravice pridržane"));
    QCOMPARE(script.ProgramFolder, QStringLiteral("~/Veldra"));
    QVERIFY(script.MrezaFolder.isEmpty());
    QCOMPARE(script.ChangePathInIni, QStringLiteral("%ProgramFolder%veldra.ini"));
    QCOMPARE(script.Dll.size(), 1);
    QCOMPARE(script.Dll[0].Source, folder + QStringLiteral("libs/libx.so"));
    QCOMPARE(script.Folders[0].Target, QStringLiteral("%MrezaFolder%Slike;x"));
    QCOMPARE(script.Datoteke.size(), 3);
    QCOMPARE(script.Datoteke[1].Source, folder + QStringLiteral("Baza/Veldra_be.mdb"));
    QCOMPARE(script.Datoteke[1].Target, QStringLiteral("%MrezaFolder%Veldra_be.mdb;LEAVE"));
    QCOMPARE(script.Datoteke[2].Source, folder + QStringLiteral("veldra"));
    QCOMPARE(script.Datoteke[2].Target, QStringLiteral("%ProgramFolder%veldra;SHORTCUT"));
}

void TestSetupScript::missingScriptIsEmpty()
{
    QTemporaryDir installer;
    const SetupScript script = ReadSetupScript(installer.path());
    QVERIFY(script.Ime.isEmpty());
    QVERIFY(script.Slika.isEmpty());
    QVERIFY(script.Dll.isEmpty() && script.Folders.isEmpty() && script.Datoteke.isEmpty());
}

void TestSetupScript::databaseVersion_data()
{
    QTest::addColumn<QByteArray>("lines");     // Datoteke
    QTest::addColumn<QByteArray>("installed"); // the version file in the database folder; empty: none
    QTest::addColumn<bool>("matches");

    const QByteArray checked = "nova.ini=%MrezaFolder%Verzija.ini;DBCHECKVER\n";
    QTest::newRow("same version") << checked << QByteArray("[Baza]\nVerzija=1.2\n") << true;
    QTest::newRow("other version") << checked << QByteArray("[Baza]\nVerzija=1.3\n") << false;
    QTest::newRow("no version file") << checked << QByteArray() << false;
    QTest::newRow("case counts") << checked << QByteArray("[baza]\nverzija=1.2A\n") << false;
    QTest::newRow("no line to check") << QByteArray("nova.ini=%MrezaFolder%Verzija.ini\n") << QByteArray() << true;
    QTest::newRow("the last line decides")
        << QByteArray("nova.ini=%MrezaFolder%Verzija.ini;DBCHECKVER\nstara.ini=%MrezaFolder%Stara.ini;dbcheckver\n")
        << QByteArray("[Baza]\nVerzija=1.2\n") << false;
}

void TestSetupScript::databaseVersion()
{
    QFETCH(QByteArray, lines);
    QFETCH(QByteArray, installed);
    QFETCH(bool, matches);
    QTemporaryDir installer;
    QTemporaryDir database;
    writeFile(installer.filePath(QStringLiteral("Setup.ini")), "[Datoteke]\n" + lines);
    writeFile(installer.filePath(QStringLiteral("nova.ini")), "[Baza]\nVerzija=1.2\n");
    writeFile(installer.filePath(QStringLiteral("stara.ini")), "[Baza]\nVerzija=1.1\n");
    if (!installed.isEmpty())
        writeFile(database.filePath(QStringLiteral("Verzija.ini")), installed);
    const ChosenFolders folders{QStringLiteral("/opt/prog/"), database.path() + QLatin1Char('/')};
    QCOMPARE(DatabaseVersionMatches(ReadSetupScript(installer.path()), folders), matches);
}

void TestSetupScript::fileCount_data()
{
    QTest::addColumn<QList<int>>("sizes"); // -1: a source that does not exist
    QTest::addColumn<QString>("shown");

    QTest::newRow("kilobytes") << QList<int>{1024, 512, -1} << QStringLiteral("2 (1,50 KB)");
    QTest::newRow("exactly 1024 KB") << QList<int>{1024 * 1024} << QStringLiteral("1 (1.024,00 KB)");
    QTest::newRow("megabytes") << QList<int>{3 * 1024 * 1024, 1024 * 1024 / 2} << QStringLiteral("2 (3,50 MB)");
    QTest::newRow("nothing there") << QList<int>{-1} << QStringLiteral("0 (0,00 KB)");
}

void TestSetupScript::fileCount()
{
    QFETCH(QList<int>, sizes);
    QFETCH(QString, shown);
    QTemporaryDir installer;
    QByteArray dll = "[DLL]\n";
    QByteArray files = "[Datoteke]\n";
    for (int i = 0; i < sizes.size(); ++i) {
        const QByteArray name = "f" + QByteArray::number(i);
        if (sizes[i] >= 0)
            writeFile(installer.filePath(QString::fromLatin1(name)), QByteArray(sizes[i], 'x'));
        // The first file is a system library, the others program files: both count.
        (i == 0 ? dll : files) += name + "=%ProgramFolder%" + name + "\n";
    }
    writeFile(installer.filePath(QStringLiteral("Setup.ini")), dll + files);
    QCOMPARE(FormatSourceFiles(CountSourceFiles(ReadSetupScript(installer.path()))), shown);
}

QTEST_GUILESS_MAIN(TestSetupScript)
#include "tst_SetupScript.moc"
