#include "DesktopEntries.h"
#include "Installation.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <memory>
#include <thread>

#include <sys/stat.h>

namespace {

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What the progress panel was told, in order.
class RecordedProgress : public InstallationProgress
{
public:
    void showStep(const QString &caption) override { steps << caption; }
    void showItem(const QString &name) override { items << name; }
    void showProgress(int percent) override { percents << percent; }

    QStringList steps;
    QStringList items;
    QList<int> percents;
};

// An installer folder with its script, target folders and a home of its own, so that
// desktop and menu entries land in the test's folders.
class InstallWorld
{
public:
    InstallWorld()
        : m_home(qgetenv("HOME"))
        , m_data(qgetenv("XDG_DATA_HOME"))
        , m_config(qgetenv("XDG_CONFIG_HOME"))
    {
        qputenv("HOME", QFile::encodeName(root.filePath(QStringLiteral("home"))));
        qputenv("XDG_DATA_HOME", QFile::encodeName(root.filePath(QStringLiteral("home/.local/share"))));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(root.filePath(QStringLiteral("home/.config"))));
        QDir().mkpath(root.filePath(QStringLiteral("home/Desktop")));
    }
    ~InstallWorld()
    {
        qputenv("HOME", m_home);
        qputenv("XDG_DATA_HOME", m_data);
        qputenv("XDG_CONFIG_HOME", m_config);
    }

    QString installer() const { return root.filePath(QStringLiteral("cd")) + QLatin1Char('/'); }
    QString home() const { return root.filePath(QStringLiteral("home")) + QLatin1Char('/'); }
    ChosenFolders folders() const
    {
        return {root.filePath(QStringLiteral("Veldra")) + QLatin1Char('/'), root.filePath(QStringLiteral("Baza")) + QLatin1Char('/')};
    }

    void writeScript(const QByteArray &text) { writeFile(installer() + QStringLiteral("Setup.ini"), text); }

    InstallResult install(const QString &group = QString(), bool desktop = true)
    {
        script = ReadSetupScript(installer());
        Installation installation(script, {folders(), group, desktop, false}, progress);
        const InstallResult result = installation.run();
        shortcutPrograms = installation.shortcutPrograms();
        return result;
    }

    QTemporaryDir root;
    SetupScript script;
    RecordedProgress progress;
    QStringList shortcutPrograms;

private:
    QByteArray m_home;
    QByteArray m_data;
    QByteArray m_config;
};

}

class TestInstallation : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void stepsAndProgress();
    void progressOfOneLine();
    void fileThatCannotBeReplacedStops();
    void installingOntoTheSourceKeepsIt();
    void namedPipeIsNoFile();
    void desktopEntry();
    void menuGroup();
    void lastShortcutProgramRemains();
};

void TestInstallation::stepsAndProgress()
{
    InstallWorld world;
    writeFile(world.installer() + QStringLiteral("a.txt"), "a");
    writeFile(world.installer() + QStringLiteral("libs/libx.so"), "lib");
    world.writeScript("[Glavno]\nIme=Veldra\nChangePathInIni=%ProgramFolder%veldra.ini\n"
                      "[DLL]\nlibs\\libx.so=%System%libx.so\n"
                      "[Folders]\nSlike=%MrezaFolder%Slike\\Kontakti;x\n"
                      "[Datoteke]\na.txt=%ProgramFolder%a\nb.txt=%ProgramFolder%sub\\b\nc.txt=%ProgramFolder%c\n");
    QCOMPARE(world.install(), InstallResult::Done);

    QCOMPARE(world.progress.steps, (QStringList{QStringLiteral("Pripravljanje na namestitev"), QStringLiteral("Kreiram mape"),
                                                 QStringLiteral("Kopiram in registriram sistemske knjižnice"),
                                                 QStringLiteral("Kopiram datoteke"), QStringLiteral("Kreiram ikono na namizje")}));
    QCOMPARE(world.progress.percents, (QList<int>{0, 0, 0, 50, 100, 100}));
    QVERIFY(QFileInfo(world.folders().Database + QStringLiteral("Slike/Kontakti")).isDir());
    QCOMPARE(readFile(world.home() + QStringLiteral(".local/lib/libx.so")), QByteArray("lib"));
    QCOMPARE(readFile(world.folders().Program + QStringLiteral("a")), QByteArray("a"));
    QVERIFY(QFileInfo(world.folders().Program + QStringLiteral("a")).isWritable());
    const QSettings ini(world.folders().Program + QStringLiteral("veldra.ini"), QSettings::IniFormat);
    QCOMPARE(ini.value(QStringLiteral("Glavno/PathPodatki")).toString(), world.folders().Database);
}

void TestInstallation::progressOfOneLine()
{
    InstallWorld world;
    world.writeScript("[Datoteke]\na.txt=%ProgramFolder%a\n");
    QCOMPARE(world.install(), InstallResult::Done);
    QCOMPARE(world.progress.percents, (QList<int>{0, 0, 0, 100}));
}

// A target that cannot be removed ends the installation there, with what came before
// it in place and nothing after it.
void TestInstallation::fileThatCannotBeReplacedStops()
{
    InstallWorld world;
    for (const char *name : {"a", "b", "c"})
        writeFile(world.installer() + QString::fromLatin1(name) + QStringLiteral(".txt"), name);
    world.writeScript("[Datoteke]\na.txt=%ProgramFolder%a\nb.txt=%ProgramFolder%b\nc.txt=%ProgramFolder%c;SHORTCUT\n");
    writeFile(world.folders().Program + QStringLiteral("b/inside"), "a folder where a file goes");
    QCOMPARE(world.install(), InstallResult::ReplaceFailed);
    QCOMPARE(readFile(world.folders().Program + QStringLiteral("a")), QByteArray("a"));
    QVERIFY(!QFileInfo::exists(world.folders().Program + QStringLiteral("c")));
    QVERIFY(world.shortcutPrograms.isEmpty());
    QVERIFY(!world.progress.steps.contains(QStringLiteral("Kreiram ikono na namizje")));
}

void TestInstallation::installingOntoTheSourceKeepsIt()
{
    InstallWorld world;
    writeFile(world.installer() + QStringLiteral("veldra"), "program");
    world.writeScript("[Datoteke]\nveldra=%ProgramFolder%veldra\n");
    world.script = ReadSetupScript(world.installer());
    const ChosenFolders intoTheInstaller{world.installer(), world.folders().Database};
    Installation installation(world.script, {intoTheInstaller, QString(), false, false}, world.progress);
    QCOMPARE(installation.run(), InstallResult::Done);
    QCOMPARE(readFile(world.installer() + QStringLiteral("veldra")), QByteArray("program"));
}

// A source that is no file is not read: a named pipe would hold the installer forever.
void TestInstallation::namedPipeIsNoFile()
{
    InstallWorld world;
    QDir().mkpath(world.installer());
    QCOMPARE(mkfifo(QFile::encodeName(world.installer() + QStringLiteral("pipe")).constData(), 0600), 0);
    world.writeScript("[Datoteke]\npipe=%ProgramFolder%pipe\n");
    world.script = ReadSetupScript(world.installer());
    auto done = std::make_shared<std::atomic_bool>(false);
    // On a thread of its own, so that a hanging copy fails the test instead of holding it.
    std::thread([&world, done, choices = InstallChoices{world.folders(), QString(), false, false}] {
        RecordedProgress progress;
        Installation(world.script, choices, progress).run();
        *done = true;
    }).detach();
    QTRY_VERIFY_WITH_TIMEOUT(*done, 5000);
    QVERIFY(!QFileInfo::exists(world.folders().Program + QStringLiteral("pipe")));
}

void TestInstallation::desktopEntry()
{
    InstallWorld world;
    writeFile(world.installer() + QStringLiteral("veldra"), "#!/bin/sh\n");
    writeFile(world.installer() + QStringLiteral("veldra.png"), "png");
    world.writeScript("[Glavno]\nIme=Veldra\n[Datoteke]\nveldra=%ProgramFolder%Moj $dom\\veldra;SHORTCUT\n"
                      "veldra.png=%ProgramFolder%Moj $dom\\veldra.png\n");
    QCOMPARE(world.install(), InstallResult::Done);

    const QString link = world.home() + QStringLiteral("Desktop/Korvan Veldra.desktop");
    QVERIFY(QFileInfo(link).isExecutable());
    const QString program = world.folders().Program + QStringLiteral("Moj $dom/veldra");
    const QString entry = QString::fromUtf8(readFile(link));
    QVERIFY2(entry.startsWith(QStringLiteral("[Desktop Entry]\nType=Application\n")), qPrintable(entry));
    QVERIFY(entry.contains(QStringLiteral("\nName=Korvan Veldra\n")));
    QVERIFY(entry.contains(QStringLiteral("\nComment=Veldra\n")));
    // Inside the quotes $ takes a backslash, and the backslash is escaped once more.
    QVERIFY2(entry.contains(QStringLiteral("\nExec=\"") + QString(program).replace(QStringLiteral("$"), QStringLiteral("\\\\$"))
                            + QStringLiteral("\"\n")),
             qPrintable(entry));
    QVERIFY(entry.contains(QStringLiteral("\nPath=") + world.folders().Program + QLatin1Char('\n')));
    QVERIFY(entry.contains(QStringLiteral("\nIcon=") + world.folders().Program + QStringLiteral("Moj $dom/veldra.png\n")));
}

void TestInstallation::menuGroup()
{
    InstallWorld world;
    writeFile(world.installer() + QStringLiteral("veldra"), "#!/bin/sh\n");
    world.writeScript("[Glavno]\nIme=Veldra\n[Datoteke]\nveldra=%ProgramFolder%veldra;SHORTCUT\n");
    QCOMPARE(world.install(QStringLiteral("Korvan & Veldra"), false), InstallResult::Done);
    QVERIFY(!QFileInfo::exists(world.home() + QStringLiteral("Desktop/Korvan Veldra.desktop")));
    QCOMPARE(world.progress.steps.last(), QStringLiteral("Kreiram grupo v start meni"));

    const QString entry = QString::fromUtf8(readFile(world.home() + QStringLiteral(".local/share/applications/Korvan & Veldra/Korvan Veldra.desktop")));
    QVERIFY2(entry.contains(QStringLiteral("\nExec=\"") + world.folders().Program + QStringLiteral("veldra\"\n")), qPrintable(entry));
    QCOMPARE(readFile(world.home() + QStringLiteral(".local/share/desktop-directories/Korvan & Veldra.directory")),
             QByteArray("[Desktop Entry]\nType=Directory\nVersion=1.0\nName=Korvan & Veldra\n"));
    const QByteArray menu = readFile(world.home() + QStringLiteral(".config/menus/applications-merged/Korvan & Veldra.menu"));
    QVERIFY2(menu.contains("<Name>Applications</Name>"), menu.constData());
    QVERIFY(menu.contains("<Name>Korvan &amp; Veldra</Name>"));
    QVERIFY(menu.contains("<Directory>Korvan &amp; Veldra.directory</Directory>"));
    QVERIFY(menu.contains("<Filename>Korvan &amp; Veldra-Korvan Veldra.desktop</Filename>"));
}

// All shortcuts of one installation share the file name: the last program keeps it.
void TestInstallation::lastShortcutProgramRemains()
{
    InstallWorld world;
    world.writeScript("[Glavno]\nIme=Veldra\n[Datoteke]\nprvi=%ProgramFolder%prvi;SHORTCUT\ndrugi=%ProgramFolder%drugi;shortcut\n");
    QCOMPARE(world.install(), InstallResult::Done);
    QCOMPARE(world.shortcutPrograms, (QStringList{world.folders().Program + QStringLiteral("prvi"),
                                                   world.folders().Program + QStringLiteral("drugi")}));
    const QString entry = QString::fromUtf8(readFile(world.home() + QStringLiteral("Desktop/Korvan Veldra.desktop")));
    QVERIFY2(entry.contains(QStringLiteral("drugi\"\n")), qPrintable(entry));
}

QTEST_GUILESS_MAIN(TestInstallation)
#include "tst_Installation.moc"
