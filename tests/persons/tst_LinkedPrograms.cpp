#include "PersonWindowWorld.h"

#include "Database.h"
#include "LinkedPrograms.h"
#include "ModalAnswer.h"
#include "ModuleHost.h"
#include "PersonRecordForm.h"
#include "SectionPanel.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QStackedWidget>
#include <QTabWidget>

namespace {

const QString LinkModule = QStringLiteral(LINK_MODULE);

// A link module in the installation's "Moduli", under the file name given; its INI (the
// replies it is to give, the texts it is to tell) as lines, and its log of commands.
struct InstalledModule
{
    QString file;

    QString sibling(const QString &suffix) const
    {
        const QFileInfo info(file);
        return info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + suffix;
    }
    void configure(const QStringList &lines) const
    {
        QFile ini(sibling(QStringLiteral(".ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write(lines.join(QLatin1Char('\n')).toUtf8() + '\n');
    }
    QStringList commands() const
    {
        QFile log(sibling(QStringLiteral(".log")));
        if (!log.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    void forgetCommands() const { QFile::remove(sibling(QStringLiteral(".log"))); }
};

InstalledModule installModule(const TestInstallation &installation, const QString &name, const QStringList &ini = {})
{
    const QString folder = installation.programFolder() + QStringLiteral("Moduli/");
    QDir().mkpath(folder);
    InstalledModule module{folder + name};
    QFile::copy(LinkModule, module.file);
    for (int icon = 0; icon <= 2; ++icon)
        QFile::copy(LinkModule + QStringLiteral(".%1.png").arg(icon), module.file + QStringLiteral(".%1.png").arg(icon));
    if (!ini.isEmpty())
        module.configure(ini);
    return module;
}

// The modules are read and the program's connection lent to them, as at start.
void startModules(World &world)
{
    ScanModules(world.installation.programFolder() + QStringLiteral("Moduli/"), false);
    qApp->setProperty(DatabaseConnectionProperty, world.dataMod->database().connection().connectionName());
}

}

class TestLinkedPrograms : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { CloseModules(); }

    void listsLinkModulesAndTheirSearches();
    void tickingLinksAndUntickingUnlinks_data();
    void tickingLinksAndUntickingUnlinks();
    void refusedLinks_data();
    void refusedLinks();
    void refusedUnlinkKeepsTheTick();
    void savingTellsEachLinkedModule();
    void pendingUpdatesAreRetriedAtStart();
    void tabShowsTheModuleForThePerson();
    void linksMadeElsewhereAreTicked();
    void moduleSearchListsEachKeyword_data();
    void moduleSearchListsEachKeyword();
    void moduleSearchRefused();
};

void TestLinkedPrograms::listsLinkModulesAndTheirSearches()
{
    InstalledModule module;
    World world(true, SqlDialect::Sqlite, {}, [&module](World &w) {
        module = installModule(w.installation, QStringLiteral("libveldra_primer_povezava.so"));
        // A copy told to be no link module is listed nowhere here.
        installModule(w.installation, QStringLiteral("libmeni.so"), {"[Podatki]", "Name=DRUGI"});
        startModules(w);
    });
    auto *list = world.child<QListWidget>("CheckListBoxOtherPrograms");
    QCOMPARE(list->count(), 1);
    QCOMPARE(list->item(0)->text(), QStringLiteral("Primer povezave"));
    QVERIFY(!list->item(0)->icon().isNull());
    auto *selector = world.child<QComboBox>("ComboBox1");
    QStringList items;
    for (int i = 11; i < selector->count(); ++i)
        items << selector->itemData(i).toString();
    QCOMPARE(items, (QStringList{"Primer povezave;-1;7;1", "Naziv;11;8;2", "Opomba;12;9;2"}));
    // The module's window waits behind the blank panel.
    auto *panel = world.child<QStackedWidget>("Panel28");
    QCOMPARE(panel->currentWidget()->objectName(), QStringLiteral("Panel29"));
    QVERIFY(panel->findChild<QWidget *>(QStringLiteral("PrimerPovezava")));
    QVERIFY(module.commands().contains(QStringLiteral("CREATECHILD")));
}

void TestLinkedPrograms::tickingLinksAndUntickingUnlinks_data()
{
    addDialectRows(QStringLiteral("link"));
}

void TestLinkedPrograms::tickingLinksAndUntickingUnlinks()
{
    InstalledModule module;
    const auto withModule = [&module](World &w) {
        module = installModule(w.installation, QStringLiteral("libveldra_primer_povezava.so"));
        startModules(w);
    };
    VELDRA_FETCH_WORLD(world, QString(), withModule);
    world.window->QOsebe->locate(QStringLiteral("ID"), 1);
    module.forgetCommands();
    auto *list = world.child<QListWidget>("CheckListBoxOtherPrograms");
    list->item(0)->setCheckState(Qt::Checked);

    const QString linked = QStringLiteral("SELECT InProgIDOsebe FROM TSharingProgs WHERE IDOsebe = 1 AND ProgID = 'PR'");
    const int record = world.stored(linked).toInt();
    QVERIFY(record >= 1);
    QCOMPARE(world.stored(QStringLiteral("SELECT WasNotRefreshed FROM TSharingProgs WHERE IDOsebe = 1")).toBool(), false);
    QCOMPARE(world.stored(QStringLiteral("SELECT Naziv FROM TPrimerPovezava WHERE ID = %1").arg(record)).toString(),
             QStringLiteral("Ana Novak"));
    QCOMPARE(module.commands(), (QStringList{"APPEND;1", QStringLiteral("REFRESH;1;%1").arg(record)}));
    auto *panel = world.child<QStackedWidget>("Panel28");
    QCOMPARE(panel->currentWidget()->objectName(), QStringLiteral("PrimerPovezava"));

    // Another person: not linked, the item unticked.
    world.window->QOsebe->locate(QStringLiteral("ID"), 4);
    QCOMPARE(list->item(0)->checkState(), Qt::Unchecked);
    world.window->QOsebe->locate(QStringLiteral("ID"), 1);
    QCOMPARE(list->item(0)->checkState(), Qt::Checked);

    module.forgetCommands();
    list->item(0)->setCheckState(Qt::Unchecked);
    QCOMPARE(module.commands(), (QStringList{QStringLiteral("DELETE;1;%1").arg(record), QStringLiteral("REFRESH;1;0")}));
    QVERIFY(world.stored(linked).isNull());
}

void TestLinkedPrograms::refusedLinks_data()
{
    QTest::addColumn<QString>("reply");
    QTest::newRow("zero") << QStringLiteral("APPEND=0");
    QTest::newRow("no number") << QStringLiteral("APPEND=abc");
    QTest::newRow("empty") << QStringLiteral("APPEND=");
    QTest::newRow("below one") << QStringLiteral("APPEND=-4");
}

void TestLinkedPrograms::refusedLinks()
{
    QFETCH(QString, reply);
    World world(true, SqlDialect::Sqlite, {}, [reply](World &w) {
        installModule(w.installation, QStringLiteral("libveldra_primer_povezava.so"), {"[Odgovori]", reply});
        startModules(w);
    });
    world.window->QOsebe->locate(QStringLiteral("ID"), 1);
    auto *list = world.child<QListWidget>("CheckListBoxOtherPrograms");
    list->item(0)->setCheckState(Qt::Checked);
    QCOMPARE(list->item(0)->checkState(), Qt::Unchecked);
    QCOMPARE(world.stored(QStringLiteral("SELECT Count(*) FROM TSharingProgs WHERE IDOsebe = 1")).toInt(), 0);
}

void TestLinkedPrograms::refusedUnlinkKeepsTheTick()
{
    InstalledModule module;
    World world(true, SqlDialect::Sqlite, {}, [&module](World &w) {
        module = installModule(w.installation, QStringLiteral("libveldra_primer_povezava.so"), {"[Odgovori]", "APPEND=17"});
        startModules(w);
    });
    world.window->QOsebe->locate(QStringLiteral("ID"), 1);
    auto *list = world.child<QListWidget>("CheckListBoxOtherPrograms");
    list->item(0)->setCheckState(Qt::Checked);
    QCOMPARE(world.stored(QStringLiteral("SELECT InProgIDOsebe FROM TSharingProgs WHERE IDOsebe = 1")).toInt(), 17);

    module.configure({"[Odgovori]", "DELETE=Račun je že plačan"});
    const auto seen = ModalAnswer::press(QStringLiteral("V redu"));
    list->item(0)->setCheckState(Qt::Unchecked);
    QVERIFY(seen->shown);
    QCOMPARE(seen->text, QStringLiteral("Povezave na osebo ni bilo mogoče izbrisati!\nRačun je že plačan"));
    QCOMPARE(list->item(0)->checkState(), Qt::Checked);
    QCOMPARE(world.stored(QStringLiteral("SELECT InProgIDOsebe FROM TSharingProgs WHERE IDOsebe = 1")).toInt(), 17);
}

// Two linked modules, one of which does not confirm the update: only its link stays marked.
void TestLinkedPrograms::savingTellsEachLinkedModule()
{
    InstalledModule first, second;
    World world(true, SqlDialect::Sqlite, {}, [&](World &w) {
        first = installModule(w.installation, QStringLiteral("libveldra_primer_povezava.so"));
        second = installModule(w.installation, QStringLiteral("libdrugi.so"),
                               {"[Podatki]", "Name=VELDRAPOVEZAVA_DRUGI", "OtherData=P2;Drugi program;0"});
        startModules(w);
    });
    world.window->QOsebe->locate(QStringLiteral("ID"), 1);
    auto *list = world.child<QListWidget>("CheckListBoxOtherPrograms");
    QCOMPARE(list->count(), 2);
    list->item(0)->setCheckState(Qt::Checked);
    list->item(1)->setCheckState(Qt::Checked);
    second.configure({"[Podatki]", "Name=VELDRAPOVEZAVA_DRUGI", "OtherData=P2;Drugi program;0", "[Odgovori]", "UPDATE=NE"});
    first.forgetCommands();

    world.window->QOsebe->edit();
    world.window->QOsebe->setValue(QStringLiteral("Ime"), QStringLiteral("Anja"));
    world.window->QOsebe->post();

    QCOMPARE(world.stored(QStringLiteral("SELECT WasNotRefreshed FROM TSharingProgs WHERE IDOsebe = 1 AND ProgID = 'PR'")).toBool(),
             false);
    QCOMPARE(world.stored(QStringLiteral("SELECT WasNotRefreshed FROM TSharingProgs WHERE IDOsebe = 1 AND ProgID = 'P2'")).toBool(),
             true);
    QVERIFY(first.commands().first().startsWith(QStringLiteral("UPDATE;1;")));
    QVERIFY(second.commands().last().startsWith(QStringLiteral("UPDATE;1;")));
    // The first module took the new name over.
    QCOMPARE(world.stored(QStringLiteral("SELECT Naziv FROM TPrimerPovezava WHERE IDOsebe = 1")).toString(),
             world.current("CelotnoIme"));
}

// At start the marked links go to their modules again; a link of a module no longer
// installed (the fixture's "AB") stays marked and goes to no other module.
void TestLinkedPrograms::pendingUpdatesAreRetriedAtStart()
{
    InstalledModule module;
    World world(true, SqlDialect::Sqlite, {}, [&module](World &w) {
        module = installModule(w.installation, QStringLiteral("libveldra_primer_povezava.so"), {"[Odgovori]", "UPDATE=OK"});
        w.dataMod->database().run(QStringLiteral(
            "INSERT INTO TSharingProgs (IDOsebe, ProgID, InProgIDOsebe, WasNotRefreshed) VALUES (4, \"PR\", 9, True)"));
        startModules(w);
    });
    QVERIFY(module.commands().contains(QStringLiteral("UPDATE;4;9")));
    QCOMPARE(module.commands().filter(QStringLiteral("UPDATE;")).size(), 1);
    QCOMPARE(world.stored(QStringLiteral("SELECT WasNotRefreshed FROM TSharingProgs WHERE ProgID = 'PR'")).toBool(), false);
    QCOMPARE(world.stored(QStringLiteral("SELECT WasNotRefreshed FROM TSharingProgs WHERE ProgID = 'AB'")).toBool(), true);
}

void TestLinkedPrograms::tabShowsTheModuleForThePerson()
{
    InstalledModule module;
    World world(true, SqlDialect::Sqlite, {}, [&module](World &w) {
        module = installModule(w.installation, QStringLiteral("libveldra_primer_povezava.so"));
        startModules(w);
    });
    world.window->QOsebe->locate(QStringLiteral("ID"), 2);
    auto *list = world.child<QListWidget>("CheckListBoxOtherPrograms");
    list->setCurrentRow(0);
    module.forgetCommands();
    auto *tabs = world.child<QTabWidget>("PageControl1");
    const int page = tabs->indexOf(world.window->findChild<QWidget *>(QStringLiteral("PDrugiProgramiTab")));
    QVERIFY(page > 0);
    tabs->setCurrentIndex(page);
    QCOMPARE(module.commands(), QStringList{"REFRESH;2;0"});
    QCOMPARE(world.child<QStackedWidget>("Panel28")->currentWidget()->objectName(), QStringLiteral("PrimerPovezava"));
    // The person changes while the tab is shown: the module shows the new one.
    world.window->QOsebe->locate(QStringLiteral("ID"), 4);
    QCOMPARE(module.commands().last(), QStringLiteral("REFRESH;4;0"));
}

void TestLinkedPrograms::linksMadeElsewhereAreTicked()
{
    World world(true, SqlDialect::Sqlite, {}, [](World &w) {
        installModule(w.installation, QStringLiteral("libveldra_primer_povezava.so"));
        startModules(w);
    });
    world.window->QOsebe->locate(QStringLiteral("ID"), 4);
    auto *list = world.child<QListWidget>("CheckListBoxOtherPrograms");
    QCOMPARE(list->item(0)->checkState(), Qt::Unchecked);
    // Another workstation links the person.
    world.dataMod->ExecuteWork(QStringLiteral(
        "INSERT INTO TSharingProgs (IDOsebe, ProgID, InProgIDOsebe, WasNotRefreshed) VALUES (4, \"PR\", 5, False)"));
    world.dataMod->MarkTableChanged(QStringLiteral("TSharingProgs"));
    world.window->FormActivate();
    QCOMPARE(list->item(0)->checkState(), Qt::Checked);
}

void TestLinkedPrograms::moduleSearchListsEachKeyword_data()
{
    addDialectRows(QStringLiteral("search"));
}

// Two persons linked, one of them in two categories: each keyword row once.
void TestLinkedPrograms::moduleSearchListsEachKeyword()
{
    InstalledModule module;
    const auto withModule = [&module](World &w) {
        module = installModule(w.installation, QStringLiteral("libveldra_primer_povezava.so"));
        startModules(w);
    };
    VELDRA_FETCH_WORLD(world, QString(), withModule);
    auto *list = world.child<QListWidget>("CheckListBoxOtherPrograms");
    for (int person : {1, 2}) {
        world.window->QOsebe->locate(QStringLiteral("ID"), person);
        list->item(0)->setCheckState(Qt::Checked);
    }
    module.forgetCommands();
    world.chooseSearch(12); // "Naziv", below the module's heading
    QCOMPARE(module.commands(), QStringList{"FILLSEARCHQUERY;NAZIV"});
    QCOMPARE(world.browseColumn(0), (QStringList{"Ana Novak", "Bojan Čeh"}));
    QCOMPARE(world.browseColumn(1), (QStringList{"Ana Novak", "Bojan Čeh"}));
    world.search(QStringLiteral("boj"));
    QCOMPARE(world.browseColumn(0), QStringList{"Bojan Čeh"});
}

void TestLinkedPrograms::moduleSearchRefused()
{
    World world(true, SqlDialect::Sqlite, {}, [](World &w) {
        installModule(w.installation, QStringLiteral("libveldra_primer_povezava.so"), {"[Odgovori]", "FILLSEARCHQUERY=ok"});
        startModules(w);
    });
    world.chooseSearch(12);
    QVERIFY(world.child<QTableView>("DBGrid1")->isHidden());
}

QTEST_MAIN(TestLinkedPrograms)
#include "tst_LinkedPrograms.moc"
