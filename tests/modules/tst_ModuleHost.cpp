#include "MenuShortcuts.h"
#include "ModuleHost.h"
#include "TestInstallation.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLibrary>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QWidget>

#include <memory>

namespace {

// The modules as the build made them: the two examples and the misbehaving ones of
// hostmodule/.
QString built(const QString &module)
{
    static const QMap<QString, QString> libraries = {
        {QStringLiteral("povezava"), QStringLiteral(LINK_MODULE)},
        {QStringLiteral("meni"), QStringLiteral(MENU_MODULE)},
        {QStringLiteral("vrzi"), QStringLiteral(THROWING_MODULE)},
        {QStringLiteral("null"), QStringLiteral(NULL_MODULE)},
        {QStringLiteral("samoime"), QStringLiteral(NAME_ONLY_MODULE)},
    };
    return libraries.value(module);
}

const QString LinkName = QStringLiteral("VELDRAPOVEZAVA_PRIMER");
const QString MenuName = QStringLiteral("VELDRA_PRIMER_MENI");
const QString Default = QStringLiteral("privzeto");

void writeFile(const QString &path, const QByteArray &text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

// "<folder>/<library base name><suffix>": where an example module keeps its INI and log.
QString sibling(const QString &library, const QString &suffix)
{
    const QFileInfo file(library);
    return file.absoluteDir().filePath(file.completeBaseName() + suffix);
}

// The commands the example module wrote down, one a line.
QStringList logOf(const QString &library)
{
    QFile file(sibling(library, QStringLiteral(".log")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList names(const QList<TPluginSpec> &modules)
{
    QStringList list;
    for (const TPluginSpec &module : modules)
        list.append(module.Name);
    return list;
}

// The main window's menu bar in small: the last menu is the one new menus go before.
std::unique_ptr<QMenuBar> mainMenu()
{
    auto bar = std::make_unique<QMenuBar>();
    bar->addMenu(QStringLiteral("&Glavno"))->addAction(QStringLiteral("&Izhod"));
    bar->addMenu(QStringLiteral("&Šifranti"))->addAction(QStringLiteral("&Kraji"));
    bar->addMenu(QStringLiteral("&Pomoc"))->addAction(QStringLiteral("Vizitka"));
    return bar;
}

QString plainMenu()
{
    return QStringLiteral("&Glavno: &Izhod | &Šifranti: &Kraji | &Pomoc: Vizitka");
}

QString tagged(const QAction *action)
{
    const int tag = MenuTag(action);
    return action->text() + (tag ? QStringLiteral("[%1]").arg(tag) : QString());
}

QString itemsOf(const QMenu *menu)
{
    QStringList items;
    for (const QAction *item : menu->actions())
        items.append(tagged(item) + (item->menu() ? QLatin1Char('(') + itemsOf(item->menu()) + QLatin1Char(')') : QString()));
    return items.join(QStringLiteral(", "));
}

// "menu[tag]: item[tag](sub-item[tag], ...), item[tag] | next menu ..."
QString describe(const QMenuBar *bar)
{
    QStringList menus;
    for (const QAction *top : bar->actions())
        menus.append(tagged(top) + QStringLiteral(": ") + itemsOf(top->menu()));
    return menus.join(QStringLiteral(" | "));
}

QAction *entry(const QMenu *menu, const QString &text)
{
    for (QAction *action : menu->actions())
        if (action->text() == text)
            return action;
    return nullptr;
}

QMenu *topMenu(const QMenuBar *bar, const QString &text)
{
    QAction *action = nullptr;
    for (QAction *top : bar->actions())
        if (top->text() == text)
            action = top;
    return action ? action->menu() : nullptr;
}

QImage pictureOf(const QIcon &icon)
{
    return icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage pictureOf(const QString &png)
{
    return pictureOf(QIcon(png));
}

}

class tst_ModuleHost : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestInstallation> m_installation;

    QString moduli() const { return m_installation->programFolder() + QStringLiteral("Moduli/"); }

    // Copies a built module into the Moduli folder, under the file name given, with the
    // icons beside it renamed to go with it.
    QString install(const QString &module, const QString &file, const QByteArray &ini = QByteArray())
    {
        const QString source = built(module);
        const QString target = moduli() + file;
        if (!QFile::copy(source, target))
            qFatal("cannot copy %s", qPrintable(source));
        for (int n = 0; QFileInfo::exists(source + QStringLiteral(".%1.png").arg(n)); ++n)
            QFile::copy(source + QStringLiteral(".%1.png").arg(n), target + QStringLiteral(".%1.png").arg(n));
        if (!ini.isEmpty())
            writeFile(sibling(target, QStringLiteral(".ini")), ini);
        return target;
    }

    void scan() { ScanModules(moduli(), false); }

    // The misbehaving modules and the two examples, in this order.
    void installAllKinds(const QByteArray &linkIni = QByteArray())
    {
        install(QStringLiteral("vrzi"), QStringLiteral("a_vrzi.so"));
        install(QStringLiteral("povezava"), QStringLiteral("b_povezava.so"), linkIni);
        install(QStringLiteral("meni"), QStringLiteral("c_meni.so"));
        install(QStringLiteral("null"), QStringLiteral("d_null.so"));
        install(QStringLiteral("samoime"), QStringLiteral("e_samoime.so"));
        scan();
    }

private Q_SLOTS:
    void init()
    {
        m_installation = std::make_unique<TestInstallation>();
        QVERIFY(QDir().mkpath(moduli()));
    }

    void cleanup()
    {
        CloseModules();
        m_installation.reset();
    }

    void scanTakesWhatLoadsAndLeavesItUnloaded()
    {
        writeFile(moduli() + QStringLiteral("a_pokvarjen.so"), "not a library\n");
        install(QStringLiteral("vrzi"), QStringLiteral("b_vrzi.so"));
        install(QStringLiteral("povezava"), QStringLiteral("c_povezava.so"),
                "[Podatki]\nMainMeni=glavni\nSubMeni=pod/a,b,1\nDescription=opis\nName=ime\nVersion=2.5\n"
                "OtherData=PR;Naslov;0\n");
        install(QStringLiteral("null"), QStringLiteral("d_null.so"));
        install(QStringLiteral("samoime"), QStringLiteral("e_samoime.so"));
        QVERIFY(QDir().mkpath(moduli() + QStringLiteral("f_mapa.so")));
        install(QStringLiteral("meni"), QStringLiteral("g_meni.so.bak"));
        scan();

        QStringList found;
        for (const TPluginSpec &module : std::as_const(ModuleList())) {
            found.append(QStringList{QFileInfo(module.FileName).fileName(), module.Name, module.Description,
                                     module.Version, module.MainMenu, module.SubMenu, module.OtherData,
                                     QString::number(module.MenuTag)}
                             .join(QLatin1Char('|')));
            QCOMPARE(module.FileName, moduli() + QFileInfo(module.FileName).fileName());
            QVERIFY(!module.Handle);
            QVERIFY2(!QLibrary(module.FileName).isLoaded(), qPrintable(module.FileName));
        }
        // An export that throws gives an empty text, as one that is missing does.
        QCOMPARE(found, (QStringList{
                            "b_vrzi.so|VRZI|Modul, ki vrze izjeme|1.0||Vrzi||0",
                            "c_povezava.so|ime|opis|2.5|glavni|pod/a,b,1|PR;Naslov;0|0",
                            "d_null.so|||||||0",
                            "e_samoime.so|SAMO_IME||||||0",
                        }));
        QCOMPARE(names(ProbeList()), names(ModuleList()));
    }

    void probeOnlyScanLeavesModulesInUse()
    {
        const QString link = install(QStringLiteral("povezava"), QStringLiteral("povezava.so"),
                                     "[Odgovori]\nEDIT=OK\n");
        const QString shared = m_installation->root() + QStringLiteral("shared/");
        QVERIFY(QDir().mkpath(shared));
        QVERIFY(QFile::copy(built(QStringLiteral("meni")), shared + QStringLiteral("meni.so")));
        const QString missing = m_installation->root() + QStringLiteral("missing/");

        scan();
        QCOMPARE(ExecuteModuleCommand(nullptr, nullptr, LinkName, QStringLiteral("EDIT;1;2")), QStringLiteral("OK"));
        const std::shared_ptr<QLibrary> handle = ModuleList().value(0).Handle;
        QVERIFY(handle && handle->isLoaded());

        ScanModules(shared, true);
        QCOMPARE(names(ProbeList()), QStringList{MenuName});
        QCOMPARE(names(ModuleList()), QStringList{LinkName});
        QCOMPARE(ModuleList().value(0).Handle, handle);
        ScanModules(missing, true);
        QVERIFY(ProbeList().isEmpty());
        QCOMPARE(names(ModuleList()), QStringList{LinkName});

        // A rescan in earnest replaces the list: the handle is not carried over, and the
        // module is loaded again when next used.
        scan();
        QCOMPARE(names(ModuleList()), QStringList{LinkName});
        QVERIFY(!ModuleList().value(0).Handle);
        QCOMPARE(ExecuteModuleCommand(nullptr, nullptr, LinkName, QStringLiteral("EDIT;3;4")), QStringLiteral("OK"));
        QCOMPARE(logOf(link), (QStringList{"EDIT;1;2", "EDIT;3;4"}));

        ScanModules(missing, false);
        QVERIFY(ModuleList().isEmpty());
        QVERIFY(ProbeList().isEmpty());
    }

    void findModule_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index");

        QTest::newRow("as written") << "DVOJNIK" << 0;
        QTest::newRow("other letter case: the first of equal names") << "dvojnik" << 0;
        QTest::newRow("later in the list") << "veldra_primer_meni" << 2;
        QTest::newRow("a part of the name") << "DVOJNI" << -1;
        QTest::newRow("with a space") << "dvojnik " << -1;
        QTest::newRow("empty, no module without a name") << "" << -1;
    }

    void findModule()
    {
        QFETCH(QString, name);
        QFETCH(int, index);
        install(QStringLiteral("povezava"), QStringLiteral("a.so"), "[Podatki]\nName=Dvojnik\n");
        install(QStringLiteral("povezava"), QStringLiteral("b.so"), "[Podatki]\nName=DVOJNIK\n");
        install(QStringLiteral("meni"), QStringLiteral("c.so"));
        scan();
        QCOMPARE(FindModule(name), index);
    }

    void firstOfEqualNamesReceivesCommands()
    {
        const QString first = install(QStringLiteral("povezava"), QStringLiteral("a.so"),
                                      "[Podatki]\nName=Dvojnik\n[Odgovori]\nEDIT=prvi\n");
        const QString second = install(QStringLiteral("povezava"), QStringLiteral("b.so"),
                                       "[Podatki]\nName=DVOJNIK\n[Odgovori]\nEDIT=drugi\n");
        scan();
        QCOMPARE(ExecuteModuleCommand(nullptr, nullptr, QStringLiteral("dvojnik"), QStringLiteral("EDIT;1;2")),
                 QStringLiteral("prvi"));
        QWidget panel;
        QWidget *child = nullptr;
        QVERIFY(GetModuleChild(&panel, &panel, QStringLiteral("DVOJNIK"), &child));
        QVERIFY(RefreshModuleChild(QStringLiteral("DvojniK"), QStringLiteral("REFRESH;1;0")));
        QCOMPARE(logOf(first), (QStringList{"EDIT;1;2", "CREATECHILD", "REFRESH;1;0"}));
        QVERIFY(logOf(second).isEmpty());
        QVERIFY(!ModuleList().value(1).Handle);
    }

    void isLinkModule_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("otherData");
        QTest::addColumn<bool>("link");

        QTest::newRow("link module") << "VELDRAPOVEZAVA_RACUNI" << "RA;Računi;0" << true;
        QTest::newRow("name in small letters") << "veldrapovezava" << "RA;Računi;0" << true;
        QTest::newRow("blank other data") << "VELDRAPOVEZAVA_RACUNI" << " \t" << false;
        QTest::newRow("name not at the start") << "X_VELDRAPOVEZAVA" << "RA;Računi;0" << false;
    }

    void isLinkModule()
    {
        QFETCH(QString, name);
        QFETCH(QString, otherData);
        TPluginSpec module;
        module.Name = name;
        module.OtherData = otherData;
        QTEST(IsLinkModule(module), "link");
    }

    void buildsMenus_data()
    {
        QTest::addColumn<QStringList>("modules"); // "<main menu>|<sub menu>" of each
        QTest::addColumn<QString>("menu");

        QTest::newRow("a new menu before the last, shared whatever its case and &")
            << QStringList{"Orodja|Prvi", "&orodja|Drugi", "ORO&DJA|"}
            << "&Glavno: &Izhod | &Šifranti: &Kraji | Orodja[2000]: Prvi[2100], Drugi[2101] | &Pomoc: Vizitka";
        QTest::newRow("a menu of the program's own")
            << QStringList{"šifranti|Prvi", "POMOC|Drugi"}
            << "&Glavno: &Izhod | &Šifranti: &Kraji, Prvi[2100] | &Pomoc: Vizitka, Drugi[2101]";
        QTest::newRow("each new menu in turn before the last")
            << QStringList{"A|x", "B|y"}
            << "&Glavno: &Izhod | &Šifranti: &Kraji | A[2000]: x[2100] | B[2001]: y[2101] | &Pomoc: Vizitka";
        QTest::newRow("no main menu: nothing, its sub menu ignored")
            << QStringList{"|Prvi", "Nov|Drugi"}
            << "&Glavno: &Izhod | &Šifranti: &Kraji | Nov[2001]: Drugi[2101] | &Pomoc: Vizitka";
        QTest::newRow("no sub menu: the menu alone")
            << QStringList{"Prazen|"} << "&Glavno: &Izhod | &Šifranti: &Kraji | Prazen[2000]:  | &Pomoc: Vizitka";
        QTest::newRow("sub-items, all with the module's tag")
            << QStringList{"Orodja|Prvi", "Orodja|Meni/Ena,Prva,1;Dva,Druga,-1"}
            << "&Glavno: &Izhod | &Šifranti: &Kraji | Orodja[2000]: Prvi[2100], Meni[2101](Ena[2101], Dva[2101]) | "
               "&Pomoc: Vizitka";
        QTest::newRow("an empty entry ends the sub-items")
            << QStringList{"Orodja|Meni/a,b,1;;c,d,2"}
            << "&Glavno: &Izhod | &Šifranti: &Kraji | Orodja[2000]: Meni[2100](a[2100]) | &Pomoc: Vizitka";
        QTest::newRow("nothing after the slash: the item alone")
            << QStringList{"Orodja|Meni/"}
            << "&Glavno: &Izhod | &Šifranti: &Kraji | Orodja[2000]: Meni[2100] | &Pomoc: Vizitka";
        QTest::newRow("the caption ends at the first slash")
            << QStringList{"Orodja|Meni/Ena/Dva,h,1"}
            << "&Glavno: &Izhod | &Šifranti: &Kraji | Orodja[2000]: Meni[2100](Ena/Dva[2100]) | &Pomoc: Vizitka";
    }

    void buildsMenus()
    {
        QFETCH(QStringList, modules);
        QFETCH(QString, menu);
        for (int i = 0; i < modules.size(); ++i) {
            const QString main = modules[i].section(QLatin1Char('|'), 0, 0);
            const QString sub = modules[i].section(QLatin1Char('|'), 1);
            install(QStringLiteral("meni"), QStringLiteral("m%1.so").arg(i),
                    ("[Podatki]\nMainMeni=" + main + "\nSubMeni=" + sub + "\n").toUtf8());
        }
        scan();
        auto bar = mainMenu();
        BuildModuleMenus(bar.get(), {});
        QCOMPARE(describe(bar.get()), menu);
    }

    void menuItemsCarryHintsIconsAndClicks()
    {
        const QString menuModule = install(QStringLiteral("meni"), QStringLiteral("a.so"),
                                           "[Podatki]\nDescription=Opis menija\n"
                                           "SubMeni=Meni/Slika,Namig slike,1;Brez,,-1;Crka,,x;Manjka,,7\n");
        const QString linkModule = install(QStringLiteral("povezava"), QStringLiteral("b.so"));
        scan();
        auto bar = mainMenu();
        QList<QAction *> clicked;
        BuildModuleMenus(bar.get(), [&clicked](QAction *item) { clicked.append(item); });

        QAction *item = entry(topMenu(bar.get(), QStringLiteral("Orodja")), QStringLiteral("Meni"));
        QVERIFY(item && item->menu());
        QCOMPARE(item->statusTip(), QStringLiteral("Opis menija"));
        QCOMPARE(pictureOf(item->icon()), pictureOf(menuModule + QStringLiteral(".0.png")));
        QAction *picture = entry(item->menu(), QStringLiteral("Slika"));
        QCOMPARE(picture->statusTip(), QStringLiteral("Namig slike"));
        QCOMPARE(pictureOf(picture->icon()), pictureOf(menuModule + QStringLiteral(".1.png")));
        QVERIFY(entry(item->menu(), QStringLiteral("Brez"))->icon().isNull());
        QVERIFY(entry(item->menu(), QStringLiteral("Crka"))->icon().isNull());
        // An icon the library has no picture for: the file icon lookup's stand-in.
        const QIcon standIn = entry(item->menu(), QStringLiteral("Manjka"))->icon();
        QVERIFY(!standIn.isNull());
        QVERIFY(pictureOf(standIn) != pictureOf(menuModule + QStringLiteral(".1.png")));

        QAction *linkItem = entry(topMenu(bar.get(), QStringLiteral("&Šifranti")), QStringLiteral("Primer povezave"));
        QVERIFY(linkItem && !linkItem->menu());
        QCOMPARE(linkItem->statusTip(), ModuleList().value(1).Description);
        QCOMPARE(pictureOf(linkItem->icon()), pictureOf(linkModule + QStringLiteral(".0.png")));
        QCOMPARE(ModuleList().value(0).MenuTag, 2100);
        QCOMPARE(ModuleList().value(1).MenuTag, 2101);

        // With sub-items only they act; without, the item itself does.
        item->trigger();
        QVERIFY(clicked.isEmpty());
        picture->trigger();
        linkItem->trigger();
        QCOMPARE(clicked, (QList<QAction *>{picture, linkItem}));
    }

    void rebuildingLeavesNoDuplicates()
    {
        install(QStringLiteral("meni"), QStringLiteral("a.so"));
        install(QStringLiteral("povezava"), QStringLiteral("b.so"));
        install(QStringLiteral("meni"), QStringLiteral("c.so"), "[Podatki]\nMainMeni=Prazen\nSubMeni=\n");
        install(QStringLiteral("meni"), QStringLiteral("d.so"), "[Podatki]\nMainMeni=orodja\nSubMeni=Drugi\n");
        scan();
        auto bar = mainMenu();
        BuildModuleMenus(bar.get(), {});
        const QString once = describe(bar.get());
        QCOMPARE(once, QStringLiteral("&Glavno: &Izhod | &Šifranti: &Kraji, Primer povezave[2101] | "
                                      "Orodja[2000]: Primer menija[2100](Pozdrav[2100], Brez slike[2100]), "
                                      "Drugi[2103] | Prazen[2002]:  | &Pomoc: Vizitka"));
        for (int round = 0; round < 2; ++round) {
            RemoveModuleMenus(bar.get());
            QCOMPARE(describe(bar.get()), plainMenu());
            BuildModuleMenus(bar.get(), {});
            QCOMPARE(describe(bar.get()), once);
        }
    }

    void menuCommands_data()
    {
        QTest::addColumn<int>("tag");
        QTest::addColumn<QString>("reply"); // configured; null: the module answers itself
        QTest::addColumn<QString>("personId");
        QTest::addColumn<bool>("handled");
        QTest::addColumn<QString>("sent");

        QTest::newRow("handled") << 2100 << QString() << "12" << true << "FROMMENI;Pozdrav;12\tFMain\tFMain";
        QTest::newRow("no person: the last field empty")
            << 2100 << QString() << "" << true << "FROMMENI;Pozdrav;\tFMain\tFMain";
        QTest::newRow("OK") << 2100 << "OK" << "12" << true << "FROMMENI;Pozdrav;12\tFMain\tFMain";
        QTest::newRow("ok is not success") << 2100 << "ok" << "12" << false << "FROMMENI;Pozdrav;12\tFMain\tFMain";
        QTest::newRow("empty reply") << 2100 << "" << "12" << false << "FROMMENI;Pozdrav;12\tFMain\tFMain";
        QTest::newRow("no reply") << 2100 << "<null>" << "12" << false << "FROMMENI;Pozdrav;12\tFMain\tFMain";
        QTest::newRow("a top-level menu's tag") << 2000 << "OK" << "12" << false << "";
        QTest::newRow("no module item has the tag") << 2101 << "OK" << "12" << false << "";
    }

    void menuCommands()
    {
        QFETCH(int, tag);
        QFETCH(QString, reply);
        QFETCH(QString, personId);
        QFETCH(QString, sent);
        QByteArray ini = "[Dnevnik]\nObjekti=1\n";
        if (!reply.isNull())
            ini += "[Odgovori]\nFROMMENI=" + reply.toUtf8() + "\n";
        const QString library = install(QStringLiteral("meni"), QStringLiteral("a.so"), ini);
        scan();
        auto bar = mainMenu();
        BuildModuleMenus(bar.get(), {});
        QWidget main;
        main.setObjectName(QStringLiteral("FMain"));

        QTEST(SendMenuCommand(tag, QStringLiteral("Pozdrav"), personId, &main), "handled");
        QCOMPARE(logOf(library), sent.isEmpty() ? QStringList() : QStringList{sent});
    }

    void commandReplies_data()
    {
        QTest::addColumn<QString>("module");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("reply");

        QTest::newRow("the module's reply") << LinkName << "APPEND;5" << "17";
        QTest::newRow("name in other letter case") << "VeldraPovezava_Primer" << "APPEND;5" << "17";
        QTest::newRow("an empty reply is a reply") << LinkName << "EDIT;5;17" << "";
        QTest::newRow("no reply at all") << LinkName << "DELETE;5;17" << Default;
        QTest::newRow("not in the list") << "NI_GA" << "APPEND;5" << Default;
        QTest::newRow("without ExecuteAdvanced") << "SAMO_IME" << "APPEND;5" << Default;
        QTest::newRow("a module that throws") << "VRZI" << "APPEND;5" << Default;
        QTest::newRow("its file gone") << "IZGINIL" << "APPEND;5" << Default;
    }

    void commandReplies()
    {
        QFETCH(QString, module);
        QFETCH(QString, command);
        installAllKinds("[Odgovori]\nAPPEND=17\nEDIT=\nDELETE=<null>\n");
        const QString gone = install(QStringLiteral("meni"), QStringLiteral("f_izginil.so"),
                                     "[Podatki]\nName=IZGINIL\n");
        scan();
        QVERIFY(QFile::remove(gone));
        QTEST(ExecuteModuleCommand(nullptr, nullptr, module, command, Default), "reply");
    }

    void commandsLoadTheModuleOnceAndCarryTheirWindows()
    {
        const QString library = install(QStringLiteral("povezava"), QStringLiteral("a.so"),
                                        "[Dnevnik]\nObjekti=1\n[Odgovori]\nEDIT=OK\n");
        install(QStringLiteral("meni"), QStringLiteral("b.so"));
        scan();
        QWidget owner;
        owner.setObjectName(QStringLiteral("FOsebe"));
        QWidget panel(&owner);
        panel.setObjectName(QStringLiteral("Panel28"));

        QCOMPARE(ExecuteModuleCommand(&owner, &panel, LinkName, QStringLiteral("EDIT;5;17")), QStringLiteral("OK"));
        const std::shared_ptr<QLibrary> handle = ModuleList().value(0).Handle;
        QVERIFY(handle && handle->isLoaded());
        QVERIFY(!ModuleList().value(1).Handle);
        QCOMPARE(ExecuteModuleCommand(nullptr, nullptr, LinkName, QStringLiteral("EDIT;6;18")), QStringLiteral("OK"));
        QCOMPARE(ModuleList().value(0).Handle, handle);
        QCOMPARE(logOf(library), (QStringList{"EDIT;5;17\tFOsebe\tPanel28", "EDIT;6;18\t-\t-"}));
    }

    void childWindowIsMadeOnFirstUse()
    {
        const QString library = install(QStringLiteral("povezava"), QStringLiteral("a.so"), "[Dnevnik]\nObjekti=1\n");
        scan();
        QWidget owner;
        owner.setObjectName(QStringLiteral("FOsebe"));
        QWidget panel(&owner);
        panel.setObjectName(QStringLiteral("Panel28"));

        QWidget *child = nullptr;
        QVERIFY(GetModuleChild(&owner, &panel, LinkName, &child));
        QVERIFY(child);
        QCOMPARE(child->objectName(), QStringLiteral("PrimerPovezava"));
        QCOMPARE(child->parentWidget(), &panel);
        QWidget *again = nullptr;
        QVERIFY(GetModuleChild(&owner, &panel, LinkName, &again));
        QCOMPARE(again, child);
        QCOMPARE(logOf(library), QStringList{"CREATECHILD\tFOsebe\tPanel28"});
    }

    void noChildWindow_data()
    {
        QTest::addColumn<QString>("module");
        QTest::addColumn<QString>("logged"); // the file whose log to read
        QTest::addColumn<QStringList>("sent");

        QTest::newRow("GetChild says no after CREATECHILD") << LinkName << "b_povezava.so" << QStringList{"CREATECHILD"};
        QTest::newRow("without GetChild nothing is sent") << MenuName << "c_meni.so" << QStringList();
        QTest::newRow("not in the list") << "NI_GA" << "" << QStringList();
        QTest::newRow("GetChild says yes but gives none") << "" << "" << QStringList();
        QTest::newRow("GetChild throws") << "VRZI" << "" << QStringList();
    }

    void noChildWindow()
    {
        QFETCH(QString, module);
        QFETCH(QString, logged);
        installAllKinds("[Odgovori]\nGetChild=0\n");
        QWidget panel;
        QWidget *child = nullptr;
        QVERIFY(!GetModuleChild(&panel, &panel, module, &child));
        QVERIFY(!child);
        if (!logged.isEmpty())
            QTEST(logOf(moduli() + logged), "sent");
    }

    void refreshChild_data()
    {
        QTest::addColumn<QString>("module");
        QTest::addColumn<bool>("refreshed");

        QTest::newRow("link module") << LinkName << true;
        QTest::newRow("without RefreshChild") << MenuName << false;
        QTest::newRow("not in the list") << "NI_GA" << false;
        QTest::newRow("RefreshChild throws") << "VRZI" << true;
    }

    void refreshChild()
    {
        QFETCH(QString, module);
        installAllKinds();
        QTEST(RefreshModuleChild(module, QStringLiteral("REFRESH;5;0")), "refreshed");
        QCOMPARE(logOf(moduli() + QStringLiteral("b_povezava.so")),
                 module == LinkName ? QStringList{"REFRESH;5;0"} : QStringList());
        QVERIFY(logOf(moduli() + QStringLiteral("c_meni.so")).isEmpty());
    }

    void closeModulesClosesTheLoadedOnes()
    {
        installAllKinds("[Odgovori]\nEDIT=OK\n");
        const QString unused = install(QStringLiteral("meni"), QStringLiteral("f_meni.so"), "[Podatki]\nName=DRUGI\n");
        scan();
        const QString link = moduli() + QStringLiteral("b_povezava.so");
        const QString menu = moduli() + QStringLiteral("c_meni.so");
        // The module that throws is loaded, and closed, before the others.
        QCOMPARE(ExecuteModuleCommand(nullptr, nullptr, QStringLiteral("VRZI"), QStringLiteral("EDIT;1;2"), Default),
                 Default);
        QCOMPARE(ExecuteModuleCommand(nullptr, nullptr, LinkName, QStringLiteral("EDIT;1;2")), QStringLiteral("OK"));
        QCOMPARE(ExecuteModuleCommand(nullptr, nullptr, MenuName, QStringLiteral("FROMMENI;a;")), QStringLiteral("OK"));

        CloseModules();
        QCOMPARE(logOf(link), (QStringList{"EDIT;1;2", "Close"}));
        QCOMPARE(logOf(menu), (QStringList{"FROMMENI;a;", "Close"}));
        QVERIFY(logOf(unused).isEmpty());
        QVERIFY(ModuleList().isEmpty());
        QVERIFY(ProbeList().isEmpty());
        QCOMPARE(ExecuteModuleCommand(nullptr, nullptr, LinkName, QStringLiteral("EDIT;1;2"), Default), Default);
        QCOMPARE(logOf(link).size(), 2);
    }
};

QTEST_MAIN(tst_ModuleHost)
#include "tst_ModuleHost.moc"
