#include "ColourScheme.h"
#include "FlatButton.h"
#include "MenuShortcuts.h"
#include "ModalAnswer.h"
#include "ModuleFiles.h"
#include "ModuleHost.h"
#include "TestInstallation.h"
#include "UFPlugins.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLibrary>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// The test modules as the build made them (see testmodule/CMakeLists.txt).
QString built(const QString &module)
{
    static const QMap<QString, QString> libraries = {
        {QStringLiteral("racuni-v1"), QStringLiteral(RACUNI_V1)},
        {QStringLiteral("racuni-v2"), QStringLiteral(RACUNI_V2)},
        {QStringLiteral("dokumenti"), QStringLiteral(DOKUMENTI)},
        {QStringLiteral("navodila"), QStringLiteral(NAVODILA)},
    };
    return libraries.value(module);
}

QString fileName(const QString &module)
{
    return QFileInfo(built(module)).fileName();
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

// "Name:Version" of each entry.
QStringList namesAndVersions(const QList<TPluginSpec> &modules)
{
    QStringList list;
    for (const TPluginSpec &module : modules)
        list.append(module.Name + QLatin1Char(':') + module.Version);
    return list;
}

QStringList rows(const QTableWidget *list)
{
    QStringList texts;
    for (int row = 0; row < list->rowCount(); ++row)
        texts.append(list->item(row, 0)->text() + QLatin1Char('|') + list->item(row, 1)->text() + QLatin1Char('|')
                     + list->item(row, 2)->text());
    return texts;
}

// "menu: item, item | next menu ...", the module menus among the program's own.
QString describe(const QMenuBar *bar)
{
    QStringList menus;
    for (const QAction *top : bar->actions()) {
        QStringList items;
        for (const QAction *item : top->menu()->actions())
            items.append(item->text());
        menus.append(top->text() + QStringLiteral(": ") + items.join(QStringLiteral(", ")));
    }
    return menus.join(QStringLiteral(" | "));
}

QAction *itemCalled(const QMenuBar *bar, const QString &caption)
{
    for (const QAction *top : bar->actions())
        for (QAction *item : top->menu()->actions())
            if (item->text() == caption)
                return item;
    return nullptr;
}

// An installation whose data folder is shared, and a main window with the program's
// menus in small.
struct PluginWorld
{
    PluginWorld()
    {
        QMenuBar *bar = window.menuBar();
        bar->addMenu(QStringLiteral("&Glavno"))->addAction(QStringLiteral("&Izhod"));
        bar->addMenu(QStringLiteral("&Šifranti"))->addAction(QStringLiteral("&Kraji"));
        bar->addMenu(QStringLiteral("&Pomoc"))->addAction(QStringLiteral("Vizitka"));
    }

    QString shared() const { return installation.dataFolder() + QStringLiteral("Moduli/"); }
    QString own() const { return installation.programFolder() + QStringLiteral("Moduli/"); }

    void share(const QStringList &modules)
    {
        QDir().mkpath(shared());
        for (const QString &module : modules)
            QVERIFY(QFile::copy(built(module), shared() + fileName(module)));
    }

    // The modules in use, with their menus, as the start makes them.
    void install(const QStringList &modules)
    {
        QDir().mkpath(own());
        for (const QString &module : modules)
            QVERIFY(QFile::copy(built(module), own() + fileName(module)));
        ScanModules(own(), false);
        BuildModuleMenus(window.menuBar(), onClick());
    }

    TFPlugins::ClickHandler onClick()
    {
        return [this](QAction *item) { clicked.append(item->text()); };
    }

    TestInstallation installation;
    QMainWindow window;
    QStringList clicked;
};

// Whether any modal window showed while the check ran; one that does is closed at once.
struct ModalWatch
{
    ModalWatch()
    {
        QObject::connect(&poll, &QTimer::timeout, [this] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                seen = true;
                modal->close();
            }
        });
        poll.start(10);
    }

    QTimer poll;
    bool seen = false;
};

const QByteArray missing = "<missing>";

}

class tst_Plugins : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void offersModulesNotInUse_data();
    void offersModulesNotInUse();
    void windowLooksAsDesigned();
    void notShownWithoutNewModules_data();
    void notShownWithoutNewModules();
    void closingInstallsNothing();
    void loadingInstallsRescansAndRebuildsMenus_data();
    void loadingInstallsRescansAndRebuildsMenus();
    void replacingALoadedLibraryLeavesItsCodeWhole();

    void mergeModuleSettings_data();
    void mergeModuleSettings();
};

void tst_Plugins::init()
{
    ModuleList().clear();
    ProbeList().clear();
}

void tst_Plugins::cleanup()
{
    ModuleList().clear();
    ProbeList().clear();
}

void tst_Plugins::offersModulesNotInUse_data()
{
    QTest::addColumn<QStringList>("inUse");
    QTest::addColumn<QStringList>("shared");
    QTest::addColumn<QStringList>("offered");

    const QString racuniA = QStringLiteral("Racuni|Izdani racuni|1.0a");
    QTest::newRow("same name and version, letter case aside") << QStringList{"RACUNI:1.0A"} << QStringList{"racuni-v1"}
                                                              << QStringList{};
    QTest::newRow("older version") << QStringList{"Racuni:1.0b"} << QStringList{"racuni-v1"} << QStringList{racuniA};
    QTest::newRow("newer version") << QStringList{"Racuni:1.0a"} << QStringList{"racuni-v2"}
                                   << QStringList{"Racuni|Izdani racuni|1.0b"};
    QTest::newRow("renamed module") << QStringList{"Fakture:1.0a"} << QStringList{"racuni-v1"} << QStringList{racuniA};
    QTest::newRow("version of another module") << QStringList{"Dokumenti:1.0a", "Racuni:3.1"} << QStringList{"racuni-v1"}
                                               << QStringList{racuniA};
    QTest::newRow("some in use") << QStringList{"Racuni:1.0a", "Navodila:1.0"}
                                 << QStringList{"racuni-v1", "dokumenti", "navodila"}
                                 << QStringList{"Dokumenti|Dokumenti osebe|3.1"};
    QTest::newRow("none in use") << QStringList{} << QStringList{"racuni-v1", "dokumenti", "navodila"}
                                 << QStringList{"Dokumenti|Dokumenti osebe|3.1", "Navodila|Navodila za delo|1.0", racuniA};
}

void tst_Plugins::offersModulesNotInUse()
{
    QFETCH(QStringList, inUse);
    QFETCH(QStringList, shared);
    QFETCH(QStringList, offered);

    PluginWorld world;
    world.share(shared);
    for (const QString &module : std::as_const(inUse)) {
        TPluginSpec inUseModule;
        inUseModule.Name = module.section(QLatin1Char(':'), 0, 0);
        inUseModule.Version = module.section(QLatin1Char(':'), 1);
        ModuleList().append(inUseModule);
    }

    TFPlugins window(&world.window, world.onClick());
    // In the order the scan found them.
    QStringList scanOrder = namesAndVersions(ProbeList());
    std::sort(offered.begin(), offered.end(), [&](const QString &a, const QString &b) {
        const auto position = [&](const QString &row) {
            return scanOrder.indexOf(row.section(QLatin1Char('|'), 0, 0) + QLatin1Char(':') + row.section(QLatin1Char('|'), 2));
        };
        return position(a) < position(b);
    });
    QCOMPARE(rows(window.ListView1), offered);
    QCOMPARE(window.hasNewModules(), !offered.isEmpty());
    // The shared folder was only looked at.
    QCOMPARE(namesAndVersions(ModuleList()), inUse);
    QVERIFY(!QDir(world.own()).exists());
}

void tst_Plugins::windowLooksAsDesigned()
{
    const TColourScheme before = ColourScheme;
    ColourScheme.CT_WBack = QColor(10, 200, 30);
    ColourScheme.CT_WDetailBack = QColor(200, 20, 110);
    PluginWorld world;
    world.share({"racuni-v1", "dokumenti"});
    world.window.setGeometry(140, 120, 900, 700);
    world.window.show();
    TFPlugins window(&world.window, world.onClick());
    ColourScheme = before;

    QCOMPARE(window.windowTitle(), QStringLiteral("Moduli"));
    QCOMPARE(window.Label1->text(), QStringLiteral("Na mreži so novejši oz. novi moduli. Moduli se bodo nadgradili."));
    QCOMPARE(window.RxSpeedButton3->text(), QStringLiteral("Naloži module"));
    QHeaderView *header = window.ListView1->horizontalHeader();
    QStringList captions;
    QList<int> widths;
    for (int column = 0; column < window.ListView1->columnCount(); ++column) {
        captions.append(window.ListView1->horizontalHeaderItem(column)->text());
        widths.append(header->sectionSize(column));
    }
    QCOMPARE(captions, (QStringList{"Ime", "Opis", "Verzija"}));
    QCOMPARE(widths, (QList<int>{80, 200, 70}));
    QCOMPARE(window.ListView1->palette().color(QPalette::Base), QColor(10, 200, 30));
    QCOMPARE(window.RxSpeedButton3->parentWidget()->palette().color(QPalette::Window), QColor(200, 20, 110));

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.windowFlags().testFlag(Qt::Tool));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QVERIFY((window.frameGeometry().center() - world.window.frameGeometry().center()).manhattanLength() <= 2);

    // Clicking a column sorts nothing (by version Racuni would come first) and selects
    // nothing; a cell takes no edit.
    const QStringList listed = rows(window.ListView1);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionPosition(2) + 30, header->height() / 2));
    QCOMPARE(rows(window.ListView1), listed);
    QVERIFY(window.ListView1->selectionModel()->selectedIndexes().isEmpty());
    const QRect cell = window.ListView1->visualRect(window.ListView1->model()->index(1, 1));
    QTest::mouseDClick(window.ListView1->viewport(), Qt::LeftButton, {}, cell.center());
    window.ListView1->edit(window.ListView1->currentIndex());
    QVERIFY(window.ListView1->findChildren<QLineEdit *>().isEmpty());
    // A click anywhere in a row takes the whole row.
    QCOMPARE(window.ListView1->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(window.ListView1->selectionModel()->selectedIndexes().size(), 3);
}

void tst_Plugins::notShownWithoutNewModules_data()
{
    QTest::addColumn<QString>("sharedFolder");

    QTest::newRow("no shared folder") << QString();
    QTest::newRow("folder without libraries") << QStringLiteral("no libraries");
    QTest::newRow("only modules in use") << QStringLiteral("in use");
}

void tst_Plugins::notShownWithoutNewModules()
{
    QFETCH(QString, sharedFolder);

    PluginWorld world;
    world.install({"racuni-v1", "navodila"});
    const QString menus = describe(world.window.menuBar());
    if (sharedFolder == QLatin1String("no libraries")) {
        world.share({});
        writeFile(world.shared() + QStringLiteral("Racuni.ini"), "[Glavno]\nPot=x\n");
        writeFile(world.shared() + QStringLiteral("Pokvarjen.so"), "not a library");
    } else if (sharedFolder == QLatin1String("in use")) {
        world.share({"racuni-v1", "navodila"});
    }

    ModalWatch watch;
    TFPlugins::CheckAtStart(&world.window, world.onClick());
    QVERIFY(!watch.seen);
    QVERIFY(world.window.findChildren<TFPlugins *>().isEmpty());
    QCOMPARE(namesAndVersions(ModuleList()), (QStringList{"Navodila:1.0", "Racuni:1.0a"}));
    QCOMPARE(describe(world.window.menuBar()), menus);
}

void tst_Plugins::closingInstallsNothing()
{
    PluginWorld world;
    world.install({"racuni-v1"});
    world.share({"racuni-v2"});

    // Shared, not referenced: an answer that never came must not outlive the test.
    auto offered = std::make_shared<QStringList>();
    auto shown = std::make_shared<QPointer<QWidget>>();
    ModalAnswer::whenShown([offered, shown](QWidget *dialog) {
        *shown = dialog;
        if (auto *window = qobject_cast<TFPlugins *>(dialog))
            *offered = rows(window->ListView1);
        dialog->close();
    });
    TFPlugins::CheckAtStart(&world.window, world.onClick());

    QCOMPARE(*offered, (QStringList{"Racuni|Izdani racuni|1.0b"}));
    QVERIFY(shown->isNull());
    QCOMPARE(contents(world.own() + QStringLiteral("Racuni.so")), contents(built("racuni-v1")));
    QCOMPARE(namesAndVersions(ModuleList()), (QStringList{"Racuni:1.0a"}));
}

void tst_Plugins::loadingInstallsRescansAndRebuildsMenus_data()
{
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QStringList>("shared");
    QTest::addColumn<QString>("menus");
    QTest::addColumn<QStringList>("inUse");

    // Dokumenti and Racuni share one top-level menu; Navodila hangs under the program's own "&Pomoc".
    QTest::newRow("upgrade among modules in use")
        << QStringList{"racuni-v1", "dokumenti", "navodila"} << QStringList{"racuni-v2", "dokumenti", "navodila"}
        << QStringLiteral("&Glavno: &Izhod | &Šifranti: &Kraji | &moduli: Dokumenti, Racuni | &Pomoc: Vizitka, Navodila")
        << QStringList{"Dokumenti:3.1", "Navodila:1.0", "Racuni:1.0b"};
    QTest::newRow("older version replaces the one in use")
        << QStringList{"racuni-v2", "navodila"} << QStringList{"racuni-v1"}
        << QStringLiteral("&Glavno: &Izhod | &Šifranti: &Kraji | Moduli: Racuni | &Pomoc: Vizitka, Navodila")
        << QStringList{"Navodila:1.0", "Racuni:1.0a"};
    QTest::newRow("first module, no folder of the program's yet")
        << QStringList{} << QStringList{"dokumenti"}
        << QStringLiteral("&Glavno: &Izhod | &Šifranti: &Kraji | &moduli: Dokumenti | &Pomoc: Vizitka")
        << QStringList{"Dokumenti:3.1"};
}

void tst_Plugins::loadingInstallsRescansAndRebuildsMenus()
{
    QFETCH(QStringList, installed);
    QFETCH(QStringList, shared);
    QFETCH(QString, menus);
    QFETCH(QStringList, inUse);

    PluginWorld world;
    if (!installed.isEmpty())
        world.install(installed);
    world.share(shared);
    writeFile(world.shared() + fileName(shared.first()).replace(QStringLiteral(".so"), QStringLiteral(".ini")),
              "[Glavno]\nPot=x\n");
    writeFile(world.shared() + fileName(shared.first()) + QStringLiteral(".0.png"), "picture");

    auto pressed = std::make_shared<bool>(false);
    ModalAnswer::whenShown([pressed](QWidget *dialog) {
        auto *window = qobject_cast<TFPlugins *>(dialog);
        QVERIFY(window);
        *pressed = true;
        QTest::mouseClick(window->RxSpeedButton3, Qt::LeftButton);
    });
    TFPlugins::CheckAtStart(&world.window, world.onClick());
    QVERIFY(*pressed);
    QVERIFY(world.window.findChildren<TFPlugins *>().isEmpty());

    for (const QString &module : std::as_const(shared))
        QCOMPARE(contents(world.own() + fileName(module)), contents(built(module)));
    // The settings came along with their library.
    QCOMPARE(contents(world.own() + fileName(shared.first()).replace(QStringLiteral(".so"), QStringLiteral(".ini"))),
             QByteArray("[Glavno]\nPot=x\n"));
    QCOMPARE(contents(world.own() + fileName(shared.first()) + QStringLiteral(".0.png")), QByteArray("picture"));
    QCOMPARE(namesAndVersions(ModuleList()), inUse);
    QCOMPARE(describe(world.window.menuBar()), menus);
    // The items call the main window's handler.
    QAction *item = itemCalled(world.window.menuBar(), QStringLiteral("Racuni"));
    if (!item)
        item = itemCalled(world.window.menuBar(), QStringLiteral("Dokumenti"));
    QVERIFY(item);
    item->trigger();
    QCOMPARE(world.clicked, QStringList{item->text()});
    QVERIFY(MenuTag(item) >= 2100);
}

void tst_Plugins::replacingALoadedLibraryLeavesItsCodeWhole()
{
    PluginWorld world;
    world.install({"racuni-v1"});
    world.share({"racuni-v2"});
    // The program holds the module in use loaded (under another name, so that the scans
    // load the files afresh).
    const QString loadedName = world.installation.root() + QStringLiteral("loaded.so");
    QVERIFY(QFile::link(world.own() + QStringLiteral("Racuni.so"), loadedName));
    QLibrary loaded(loadedName);
    QVERIFY2(loaded.load(), qPrintable(loaded.errorString()));
    const auto version = reinterpret_cast<const char *(*)()>(loaded.resolve("GetVersion"));
    QVERIFY(version);
    const char *text = version();
    QCOMPARE(QByteArray(text), QByteArray("1.0a"));

    ModalAnswer::whenShown([](QWidget *dialog) {
        if (auto *window = qobject_cast<TFPlugins *>(dialog))
            window->RxSpeedButton3Click();
    });
    TFPlugins::CheckAtStart(&world.window, world.onClick());

    QCOMPARE(namesAndVersions(ModuleList()), QStringList{"Racuni:1.0b"});
    // The old code and texts, still in use, are as they were.
    QCOMPARE(QByteArray(text), QByteArray("1.0a"));
    QCOMPARE(QByteArray(version()), QByteArray("1.0a"));
    QVERIFY(QFileInfo(world.own() + QStringLiteral("Racuni.so")).permissions().testFlag(QFile::ReadOwner));
    QCOMPARE(QDir(world.own()).entryList(QDir::Files), QStringList{"Racuni.so"});
}

void tst_Plugins::mergeModuleSettings_data()
{
    QTest::addColumn<QByteArray>("shared");
    QTest::addColumn<QByteArray>("own");
    QTest::addColumn<QByteArray>("upgrade");
    QTest::addColumn<QByteArray>("merged");

    QTest::newRow("Glavno=Pot overwrites, the others stay")
        << QByteArray("[Glavno]\nPot=\\\\streznik\\racuni\nJezik=SLO\n")
        << QByteArray("; delovna postaja\n[Glavno]\nPot=C:\\Racuni\nJezik=ENG\nTiskalnik=HP\n")
        << QByteArray("[Owerwrite]\nGlavno=Pot\n")
        << QByteArray("; delovna postaja\n[Glavno]\nPot=\\\\streznik\\racuni\nJezik=ENG\nTiskalnik=HP\n");
    QTest::newRow("missing keys and sections added, letter case aside")
        << QByteArray("[Glavno]\nPot=X\nNovi=1\n[Barve]\nOzadje=5\n")
        << QByteArray("[glavno]\npot=C:\nTiskalnik=HP\n")
        << QByteArray("[Owerwrite]\n")
        << QByteArray("[glavno]\npot=C:\nTiskalnik=HP\nNovi=1\n\n[Barve]\nOzadje=5\n");
    QTest::newRow("every Owerwrite line, a key the shared file lacks emptied")
        << QByteArray("[Glavno]\nPot=X\nBaza=\"Y y\"\n")
        << QByteArray("[Glavno]\nPot=A\nBaza=B\nGeslo=C\n")
        << QByteArray("[OWERWRITE]\nGlavno=Pot\nGlavno=Baza\nglavno=Geslo\n")
        << QByteArray("[Glavno]\nPot=X\nBaza=\"Y y\"\nGeslo=\n");
    QTest::newRow("no upgrade file: unchanged")
        << QByteArray("[Glavno]\nPot=X\nNovi=1\n")
        << QByteArray("[Glavno]\nPot=A\n")
        << missing
        << QByteArray("[Glavno]\nPot=A\n");
    QTest::newRow("no workstation file: copied")
        << QByteArray("; nastavitve\n[Glavno]\r\nPot=X\r\n")
        << missing
        << QByteArray("[Owerwrite]\nGlavno=Pot\n")
        << QByteArray("; nastavitve\n[Glavno]\r\nPot=X\r\n");
    QTest::newRow("no shared file: nothing")
        << missing
        << QByteArray("[Glavno]\nPot=A\n")
        << QByteArray("[Owerwrite]\nGlavno=Pot\n")
        << QByteArray("[Glavno]\nPot=A\n");
    QTest::newRow("no file at all") << missing << missing << missing << missing;
}

void tst_Plugins::mergeModuleSettings()
{
    QFETCH(QByteArray, shared);
    QFETCH(QByteArray, own);
    QFETCH(QByteArray, upgrade);
    QFETCH(QByteArray, merged);

    QTemporaryDir folder;
    const QString source = folder.filePath(QStringLiteral("shared/Racuni.ini"));
    const QString target = folder.filePath(QStringLiteral("own/Racuni.ini"));
    const QString instructions = folder.filePath(QStringLiteral("shared/Racuni_upgrade.ini"));
    QDir(folder.path()).mkpath(QStringLiteral("shared"));
    QDir(folder.path()).mkpath(QStringLiteral("own"));
    const auto write = [](const QString &path, const QByteArray &text) {
        if (text != missing)
            writeFile(path, text);
    };
    write(source, shared);
    write(target, own);
    write(instructions, upgrade);

    QVERIFY(MergeModuleSettings(source, target, instructions));
    QCOMPARE(QFile::exists(target) ? contents(target) : missing, merged);
    QCOMPARE(contents(source), shared == missing ? QByteArray() : shared);
}

QTEST_MAIN(tst_Plugins)
#include "tst_Plugins.moc"
