#include "IniFile.h"
#include "LauncherBar.h"
#include "ProgramPaths.h"
#include "Registry.h"
#include "TestInstallation.h"
#include "TextCodec.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTest>

namespace {

const QString TrellanKey = QStringLiteral("Software\\Korvan\\Trellan\\Nastavitve");

// An installed launcher bar: its program file's entry in the settings store, its INI file
// and its shortcuts file, all in the test's own installation, used by the user "ana".
class TrellanWorld
{
public:
    TrellanWorld()
        : m_oldUser(qgetenv("USER"))
        , m_hadUser(qEnvironmentVariableIsSet("USER"))
    {
        QDir().mkpath(folder());
        setUser("ana");
        Registry::writeString(TrellanKey, QStringLiteral("Location"), folder() + QStringLiteral("Trellan.exe"));
        writeFile(iniFile(), "[SETTINGS]\nShortcuts=\\Gumbi.ini\n");
    }

    ~TrellanWorld()
    {
        if (m_hadUser)
            qputenv("USER", m_oldUser);
        else
            qunsetenv("USER");
    }

    QString folder() const { return installation.root() + QStringLiteral("Trellan/"); }
    QString iniFile() const { return folder() + QStringLiteral("Trellan.ini"); }
    QString shortcutsFile() const { return folder() + QStringLiteral("Gumbi.ini"); }
    QString program() const { return installation.programFile(); }

    static void setUser(const QByteArray &name) { qputenv("USER", name); }

    static void writeFile(const QString &path, const QByteArray &content)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }

    static QByteArray contents(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QStringList section(const QString &name) const
    {
        QStringList lines;
        IniFile(shortcutsFile()).readSectionValues(name, &lines);
        return lines;
    }

    QString refresh() const { return IniFile(shortcutsFile()).readString(QStringLiteral("SETTINGS"), QStringLiteral("Refresh")); }

    TestInstallation installation;

private:
    QByteArray m_oldUser;
    bool m_hadUser;
};

// The button Veldra adds, with its number and order.
QString button(int number, int order, const QString &program)
{
    return QStringLiteral("%1=%2;Veldra;Dizedud;").arg(number).arg(order) + program;
}

}

class TestLauncherBar : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void addsButton_data();
    void addsButton();
    void findsShortcutsFile_data();
    void findsShortcutsFile();
    void existingButtonIsNotAddedAgain_data();
    void existingButtonIsNotAddedAgain();
    void eachUserHasOwnButtons();
    void missingItemsEndSilently_data();
    void missingItemsEndSilently();
    void fileThatCannotBeWrittenIsLeftAsItIs();
};

void TestLauncherBar::addsButton_data()
{
    QTest::addColumn<QByteArray>("before"); // the shortcuts file
    QTest::addColumn<QStringList>("buttons"); // ana's section afterwards, "%1" the program

    QTest::newRow("next number and next order")
        << QByteArray("[ana]\n1=3;Pošta;;/usr/bin/mail\n2=1;Splet;;/usr/bin/firefox\n7=5;Račun;Računalo;/usr/bin/calc\n")
        << QStringList{"1=3;Pošta;;/usr/bin/mail", "2=1;Splet;;/usr/bin/firefox", "7=5;Račun;Računalo;/usr/bin/calc",
                       "8=6;Veldra;Dizedud;%1"};
    QTest::newRow("missing section is made") << QByteArray("[SETTINGS]\nRefresh=12345\n") << QStringList{"1=1;Veldra;Dizedud;%1"};
    QTest::newRow("empty file") << QByteArray() << QStringList{"1=1;Veldra;Dizedud;%1"};
    QTest::newRow("empty marker goes") << QByteArray("[ana]\nEmpty=True\n") << QStringList{"1=1;Veldra;Dizedud;%1"};
    QTest::newRow("what is no number counts as 0")
        << QByteArray("[ana]\nprvi=x;A;;/a\n2=;B;;/b\n-4=-9;C;;/c\n99999999999=99999999999;D;;/d\n")
        << QStringList{"prvi=x;A;;/a", "2=;B;;/b", "-4=-9;C;;/c", "99999999999=99999999999;D;;/d", "3=1;Veldra;Dizedud;%1"};
    QTest::newRow("another user's buttons do not count")
        << QByteArray("[bor]\n5=9;Veldra;Dizedud;/opt/veldra/veldra\n") << QStringList{"1=1;Veldra;Dizedud;%1"};
}

void TestLauncherBar::addsButton()
{
    QFETCH(QByteArray, before);
    QFETCH(QStringList, buttons);
    TrellanWorld world;
    world.writeFile(world.shortcutsFile(), before);

    AddToLauncherBar();

    for (QString &line : buttons)
        line.replace(QLatin1String("%1"), world.program());
    QCOMPARE(world.section(QStringLiteral("ANA")), buttons);
    const int refresh = world.refresh().toInt();
    QVERIFY2(refresh >= 10000 && refresh <= 19999, qPrintable(world.refresh()));
}

void TestLauncherBar::findsShortcutsFile_data()
{
    QTest::addColumn<QString>("location"); // Trellan's program file, below its folder
    QTest::addColumn<QString>("ini"); // its INI file there
    QTest::addColumn<QString>("shortcuts"); // the INI's value; "%1" the folder
    QTest::addColumn<QString>("file"); // the shortcuts file, below the folder

    QTest::newRow("extension replaced") << "Trellan.exe" << "Trellan.ini" << "\\Gumbi.ini" << "Gumbi.ini";
    QTest::newRow("extension appended") << "trellan" << "trellan.ini" << "\\Gumbi.ini" << "Gumbi.ini";
    QTest::newRow("relative, in a subfolder") << "Trellan.exe" << "Trellan.ini" << "\\Podatki\\Gumbi.ini" << "Podatki/Gumbi.ini";
    QTest::newRow("absolute") << "Trellan.exe" << "Trellan.ini" << "%1Drugje/gumbi.ini" << "Drugje/gumbi.ini";
}

void TestLauncherBar::findsShortcutsFile()
{
    QFETCH(QString, location);
    QFETCH(QString, ini);
    QFETCH(QString, shortcuts);
    QFETCH(QString, file);
    TrellanWorld world;
    QFile::remove(world.iniFile());
    Registry::writeString(TrellanKey, QStringLiteral("Location"), world.folder() + location);
    world.writeFile(world.folder() + ini, "[Settings]\nshortcuts=" + shortcuts.replace(QLatin1String("%1"), world.folder()).toUtf8() + "\n");
    const QString path = world.folder() + file;
    QDir().mkpath(QFileInfo(path).absolutePath());
    world.writeFile(path, "[ana]\n1=1;Splet;;/usr/bin/firefox\n");

    AddToLauncherBar();

    QStringList lines;
    QVERIFY(IniFile(path).readSectionValues(QStringLiteral("ana"), &lines));
    QCOMPARE(lines, (QStringList{"1=1;Splet;;/usr/bin/firefox", button(2, 2, world.program())}));
}

void TestLauncherBar::existingButtonIsNotAddedAgain_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QByteArray>("line"); // the button there

    QTest::newRow("same path") << "/opt/Veldra/veldra" << QByteArray("4=2;Imenik;Naslovi;/opt/Veldra/veldra");
    QTest::newRow("in another letter case") << "/opt/Veldra/veldra" << QByteArray("4=2;Imenik;Naslovi;/OPT/veldra/VELDRA");
    QTest::newRow("path with a ';'") << "/opt/a;b/veldra" << QByteArray("4=2;Imenik;Naslovi;/opt/a;b/veldra");
    QTest::newRow("further fields after the path") << "/opt/Veldra/veldra" << QByteArray("4=2;Imenik;Naslovi;/opt/Veldra/veldra;0");
}

void TestLauncherBar::existingButtonIsNotAddedAgain()
{
    QFETCH(QString, program);
    QFETCH(QByteArray, line);
    TrellanWorld world;
    ProgramPaths::setProgramFile(program);
    const QByteArray before = "[SETTINGS]\nRefresh=12345\n[Ana]\nEmpty=1\n1=1;Splet;;/usr/bin/firefox\n" + line + "\n";
    world.writeFile(world.shortcutsFile(), before);

    AddToLauncherBar();

    QCOMPARE(world.contents(world.shortcutsFile()), before);
}

void TestLauncherBar::eachUserHasOwnButtons()
{
    TrellanWorld world;
    world.writeFile(world.shortcutsFile(), "[ana]\n1=1;Splet;;/usr/bin/firefox\n");
    AddToLauncherBar();
    world.setUser("bor");
    AddToLauncherBar();
    // Without a name the section is "USER".
    world.setUser("");
    AddToLauncherBar();
    AddToLauncherBar();

    QCOMPARE(world.section(QStringLiteral("ana")), (QStringList{"1=1;Splet;;/usr/bin/firefox", button(2, 2, world.program())}));
    QCOMPARE(world.section(QStringLiteral("bor")), QStringList{button(1, 1, world.program())});
    QCOMPARE(world.section(QStringLiteral("USER")), QStringList{button(1, 1, world.program())});
}

void TestLauncherBar::missingItemsEndSilently_data()
{
    QTest::addColumn<QString>("missing");

    QTest::newRow("no Trellan in the settings store") << "Location";
    QTest::newRow("no INI file") << "ini";
    QTest::newRow("no shortcuts key") << "Shortcuts";
    QTest::newRow("no shortcuts file") << "shortcuts file";
}

void TestLauncherBar::missingItemsEndSilently()
{
    QFETCH(QString, missing);
    TrellanWorld world;
    if (missing == QLatin1String("Location"))
        Registry::writeString(TrellanKey, QStringLiteral("Location"), QString());
    else if (missing == QLatin1String("ini"))
        QFile::rename(world.iniFile(), world.folder() + QStringLiteral("Trellan.exe.ini"));
    else if (missing == QLatin1String("Shortcuts"))
        world.writeFile(world.iniFile(), "[SETTINGS]\nOther=\\Gumbi.ini\n");
    // The shortcuts file is only made where it should be kept.
    if (missing != QLatin1String("shortcuts file"))
        world.writeFile(world.shortcutsFile(), "[ana]\n");
    const QStringList before = QDir(world.folder()).entryList(QDir::Files);
    const QByteArray shortcuts = world.contents(world.shortcutsFile());

    AddToLauncherBar();

    QCOMPARE(QDir(world.folder()).entryList(QDir::Files), before);
    QCOMPARE(world.contents(world.shortcutsFile()), shortcuts);
}

void TestLauncherBar::fileThatCannotBeWrittenIsLeftAsItIs()
{
    TrellanWorld world;
    // A legacy file on a platform without the legacy code page: a rewrite would lose its
    // letters, so the file refuses it.
    const QByteArray legacy = "[ana]\n1=1;\x8aola;;/usr/bin/sola\n";
    world.writeFile(world.shortcutsFile(), legacy);
    const QByteArray usual = TextCodec::setLegacyCodePage("no-such-code-page");
    const auto restore = qScopeGuard([&usual] { TextCodec::setLegacyCodePage(usual); });

    AddToLauncherBar();

    QCOMPARE(world.contents(world.shortcutsFile()), legacy);
}

QTEST_MAIN(TestLauncherBar)
#include "tst_LauncherBar.moc"
