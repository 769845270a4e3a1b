#include "ColourScheme.h"
#include "FlatButton.h"
#include "ModalAnswer.h"
#include "NoticeStrip.h"
#include "PersonWindowLink.h"
#include "Settings.h"
#include "TestInstallation.h"
#include "UFMain.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <memory>
#include <stdexcept>

namespace {

QString nastavitve()
{
    return QString::fromLatin1(KeyNastavitve);
}

QStringList entryCaptions(const QMenu *menu)
{
    QStringList captions;
    for (const QAction *action : menu->actions())
        captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return captions;
}

QMenu *topMenu(TFMain &window, int index)
{
    return window.menuBar()->actions().at(index)->menu();
}

QLabel *panel(TFMain &window, const char *name)
{
    return window.statusBar()->findChild<QLabel *>(QString::fromLatin1(name));
}

// Stands in for the person window, which lives in a layer above the shell.
class FakePerson : public PersonWindowLink
{
public:
    // The calls are recorded in log, which others may share to show the order of events.
    explicit FakePerson(TFMain &main, const std::shared_ptr<QStringList> &log = std::make_shared<QStringList>())
        : calls(*log)
        , m_log(log)
        , m_window(new QWidget)
    {
        m_window->setObjectName(QStringLiteral("FVeldra"));
        m_window->setWindowTitle(QStringLiteral("Osebe"));
        main.addChildWindow(m_window)->show();
    }
    QWidget *widget() override { return m_window; }
    void saveOnDeactivate() override { calls << QStringLiteral("save"); }
    void refreshKeepingPosition() override
    {
        calls << QStringLiteral("refresh");
        if (failRefresh)
            throw std::runtime_error("database gone");
    }
    void activate() override { calls << QStringLiteral("activate"); }
    void leave() override { calls << QStringLiteral("leave"); }

    QStringList &calls;
    bool failRefresh = false;

private:
    std::shared_ptr<QStringList> m_log;
    QWidget *m_window;
};

// A check that no pop-up menu opens must not hang in the menu's exec(): after the time,
// a pop-up that is open is noted and closed.
struct PopupWatch
{
    bool checked = false;
    bool shown = false;
};

std::shared_ptr<PopupWatch> closePopupAfter(int ms)
{
    auto watch = std::make_shared<PopupWatch>();
    QTimer::singleShot(ms, [watch] {
        if (QWidget *popup = QApplication::activePopupWidget()) {
            watch->shown = true;
            popup->close();
        }
        watch->checked = true;
    });
    return watch;
}

struct Opened
{
    int created = 0;
};

MainWindowServices withCodeListWindows(const std::shared_ptr<Opened> &opened)
{
    MainWindowServices services;
    for (const char *name : {"FKraji", "FDrzave"}) {
        const QString windowName = QString::fromLatin1(name);
        services.childWindows[windowName] = [opened, windowName] {
            ++opened->created;
            auto *window = new QWidget;
            window->setWindowTitle(windowName.mid(1));
            return window;
        };
    }
    return services;
}

}

class TestMainWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void menusAndToolBar();
    void captionColoursAndStartCount();
    void clockAndHints();
    void storedShortcutsApplied();
    void backgroundChoice_data();
    void backgroundChoice();
    void unreadablePictureFallsBackToBuiltIn();
    void noticeStrip();
    void childWindowsOneOfEach();
    void windowList();
    void autoHideWithoutTrayOnlyMinimises();
    void activationRefreshesThePersonWindow();
    void inputCountsAsActivity();
    void trayMenuClosesTheProgram();
    void closeAsksAndWritesUsage();
    void closeSavesFirstAndFinishes_data();
    void closeSavesFirstAndFinishes();
    void placementIsRestored();
    void otherProgramsCanHoldTheCloseBack();
    void settingsThenLauncherShortcuts_data();
    void settingsThenLauncherShortcuts();
};

void TestMainWindow::menusAndToolBar()
{
    TestInstallation installation;
    TFMain window({});
    QCOMPARE(window.menuBar()->actions().size(), 3);
    QCOMPARE(window.menuBar()->actions().at(0)->text(), QStringLiteral("&Glavno"));
    QCOMPARE(window.menuBar()->actions().at(1)->text(), QStringLiteral("&Šifranti"));
    QCOMPARE(window.menuBar()->actions().at(2)->text(), QStringLiteral("&Pomoc"));
    QCOMPARE(entryCaptions(topMenu(window, 0)), (QStringList{"Nastavitve", "-", "&Izhod", "-", "Uvoz ...", "Izvoz ..."}));
    QCOMPARE(entryCaptions(topMenu(window, 0)->actions().at(0)->menu()), (QStringList{"Uporabnik", "-", "Splošno"}));
    QCOMPARE(entryCaptions(topMenu(window, 1)),
             (QStringList{"&Kraji", "&Pokrajine", "&Države", "-", "Kategorije", "-", "Kontakti", "Alarmi"}));
    QCOMPARE(entryCaptions(topMenu(window, 2)), QStringList{"Vizitka"});

    QCOMPARE(topMenu(window, 0)->actions().at(2)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_X));
    QCOMPARE(topMenu(window, 1)->actions().at(0)->shortcut(), QKeySequence(Qt::Key_F5));
    QCOMPARE(topMenu(window, 1)->actions().at(2)->statusTip(), QStringLiteral("Urejanje držav"));
    QCOMPARE(topMenu(window, 0)->actions().at(0)->menu()->actions().at(2)->statusTip(), QStringLiteral("Nastavitve programa"));

    const QToolBar *toolBar = window.findChild<QToolBar *>(QStringLiteral("ToolBar1"));
    QCOMPARE(toolBar->height(), 28);
    QStringList captions, hints;
    for (const FlatButton *button : toolBar->findChildren<FlatButton *>()) {
        captions << button->text();
        hints << button->toolTip();
        QCOMPARE(button->colours().face, ColourFromRef(13395456));
        QVERIFY(!button->icon().isNull());
    }
    QCOMPARE(captions, (QStringList{"Kraji", "Pokrajine", "Države", "Kategorije", "Alarmi"}));
    QCOMPARE(hints.at(2), QStringLiteral("Odpri okno za urejanje držav"));
    QCOMPARE(panel(window, "Panel2")->text(), QStringLiteral("Prikazi okno"));
}

void TestMainWindow::captionColoursAndStartCount()
{
    TestInstallation installation;
    WriteRegString(nastavitve(), QStringLiteral("stato"), QStringLiteral("kaj"));
    {
        TFMain window({});
        QCOMPARE(window.windowTitle(), QStringLiteral("Veldra [2.310]"));
        QCOMPARE(window.statusBar()->palette().color(QPalette::Window), ColourScheme.CT_WDetailBack);
        QCOMPARE(window.findChild<QToolBar *>()->palette().color(QPalette::Window), ColourScheme.CT_WTitleBack);
    }
    QCOMPARE(ReadRegString(nastavitve(), QStringLiteral("stato")), QStringLiteral("1"));
    TFMain again({});
    QCOMPARE(ReadRegString(nastavitve(), QStringLiteral("stato")), QStringLiteral("2"));
}

void TestMainWindow::clockAndHints()
{
    TestInstallation installation;
    TFMain window({});
    window.timerTick(QDateTime(QDate(2026, 12, 9), QTime(7, 5, 30)).toMSecsSinceEpoch());
    QCOMPARE(panel(window, "Panel0")->text(), QStringLiteral("09.12.2026  07:05"));
    QStatusTipEvent hint(QStringLiteral("Urejanje krajev"));
    QApplication::sendEvent(&window, &hint);
    QCOMPARE(panel(window, "Panel1")->text(), QStringLiteral("Urejanje krajev"));
    QCOMPARE(panel(window, "Panel0")->text(), QStringLiteral("09.12.2026  07:05"));
}

void TestMainWindow::storedShortcutsApplied()
{
    TestInstallation installation;
    WriteRegString(QString::fromLatin1(KeyMenuShortCuts), QStringLiteral("DEF"), QStringLiteral("DEF"));
    WriteRegString(QString::fromLatin1(KeyMenuShortCuts), QStringLiteral("1;0"), QStringLiteral("117"));
    WriteRegString(QString::fromLatin1(KeyMenuShortCuts), QStringLiteral("0;2"), QStringLiteral("nič"));
    TFMain window({});
    QCOMPARE(topMenu(window, 1)->actions().at(0)->shortcut(), QKeySequence(Qt::Key_F6));
    QCOMPARE(topMenu(window, 0)->actions().at(2)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_X));
}

void TestMainWindow::backgroundChoice_data()
{
    QTest::addColumn<QString>("setting"); // "<file>" stands for an existing picture
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty: built-in") << "" << TFMain::BuiltInBackground();
    QTest::newRow("slash: none") << "/" << "";
    QTest::newRow("missing file: built-in") << "/no/such/picture.bmp" << TFMain::BuiltInBackground();
    QTest::newRow("existing file") << "<file>" << "<file>";
}

void TestMainWindow::backgroundChoice()
{
    QFETCH(QString, setting);
    QFETCH(QString, expected);
    TestInstallation installation;
    const QString picture = installation.root() + QStringLiteral("ozadje.png");
    QImage(8, 8, QImage::Format_RGB32).save(picture);
    setting.replace(QStringLiteral("<file>"), picture);
    expected.replace(QStringLiteral("<file>"), picture);
    QCOMPARE(TFMain::ChooseBackgroundPicture(setting), expected);

    WriteRegString(nastavitve(), QStringLiteral("BackgroundImage"), setting);
    TFMain window({});
    QCOMPARE(window.backgroundPicture(), expected);
    QCOMPARE(window.mdiArea()->background().style(), expected.isEmpty() ? Qt::SolidPattern : Qt::TexturePattern);
}

void TestMainWindow::unreadablePictureFallsBackToBuiltIn()
{
    TestInstallation installation;
    const QString broken = installation.root() + QStringLiteral("ozadje.bmp");
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
    file.close();
    WriteRegString(nastavitve(), QStringLiteral("BackgroundImage"), broken);
    TFMain window({});
    QCOMPARE(window.backgroundPicture(), TFMain::BuiltInBackground());
    QCOMPARE(window.mdiArea()->background().style(), Qt::TexturePattern);
}

void TestMainWindow::noticeStrip()
{
    TestInstallation installation;
    QFile lastVer(installation.dataFolder() + QStringLiteral("LastVer.ini"));
    QVERIFY(lastVer.open(QIODevice::WriteOnly));
    lastVer.write("[Uporabniki]\nPC=2.310\n[Obvestilo]\nNova verzija\nje na voljo.\n[END]\n");
    lastVer.close();
    {
        TFMain window({});
        window.show();
        auto *strip = window.findChild<NoticeStrip *>(QStringLiteral("SecretPanel1"));
        QCOMPARE(strip->text(), QStringLiteral("Nova verzija je na voljo. "));
        QVERIFY(strip->isVisible());
        QVERIFY(strip->isPlaying());
        QCOMPARE(strip->height(), 27);
        QCOMPARE(strip->font().pointSize(), 10);
        QSignalSpy finished(strip, &NoticeStrip::finished);
        strip->setSpeed(100000);
        QVERIFY(finished.wait(2000));
        QVERIFY(!strip->isVisible());
    }
    QVERIFY(lastVer.open(QIODevice::WriteOnly | QIODevice::Truncate));
    lastVer.write("[Obvestilo]\n  \n[END]\n");
    lastVer.close();
    TFMain window({});
    window.show();
    auto *strip = window.findChild<NoticeStrip *>(QStringLiteral("SecretPanel1"));
    QVERIFY(!strip->isVisible());
    QVERIFY(!strip->isPlaying());
}

void TestMainWindow::childWindowsOneOfEach()
{
    TestInstallation installation;
    auto opened = std::make_shared<Opened>();
    TFMain window(withCodeListWindows(opened));
    QCOMPARE(window.FindMdiChild(QStringLiteral("FKraji")), -1);
    QCOMPARE(window.OpenChildWindow(QStringLiteral("FKraji")), 1);
    QCOMPARE(window.OpenChildWindow(QStringLiteral("fkraji")), 1);
    QCOMPARE(opened->created, 1);
    QCOMPARE(window.mdiArea()->subWindowList().size(), 1);
    QCOMPARE(window.FindMdiChild(QStringLiteral("FKraji")), 0);

    // The menu and the tool bar open the same window.
    topMenu(window, 1)->actions().at(2)->trigger();
    window.findChild<QToolBar *>()->findChildren<FlatButton *>().at(2)->click();
    QCOMPARE(opened->created, 2);
    QCOMPARE(window.FindMdiChild(QStringLiteral("FDrzave")), 1);
    QCOMPARE(window.mdiArea()->activeSubWindow()->widget()->objectName(), QStringLiteral("FDrzave"));

    QCOMPARE(window.OpenChildWindow(QStringLiteral("FNeznano")), 0);
    QCOMPARE(window.OpenChildWindow(QStringLiteral("FPokrajine")), 0); // not yet part of the program
    QCOMPARE(window.mdiArea()->subWindowList().size(), 2);

    // A closed window is freed; opening it again makes a new one.
    window.mdiArea()->subWindowList().at(0)->close();
    QTRY_COMPARE(window.FindMdiChild(QStringLiteral("FKraji")), -1);
    QCOMPARE(window.OpenChildWindow(QStringLiteral("FKraji")), 1);
    QCOMPARE(opened->created, 3);
}

void TestMainWindow::windowList()
{
    TestInstallation installation;
    auto opened = std::make_shared<Opened>();
    TFMain window(withCodeListWindows(opened));
    window.show();
    const auto popup = closePopupAfter(200);
    window.StatusBar1MouseDown();
    QTRY_VERIFY(popup->checked);
    QVERIFY(!popup->shown); // no child window: no list

    window.OpenChildWindow(QStringLiteral("FKraji"));
    window.OpenChildWindow(QStringLiteral("FDrzave"));
    QStringList listed;
    QTimer::singleShot(100, [&listed] {
        auto *list = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(list);
        for (const QAction *entry : list->actions())
            listed << entry->text();
        QTest::mouseClick(list, Qt::LeftButton, {}, list->actionGeometry(list->actions().at(0)).center());
    });
    QTest::mouseClick(panel(window, "Panel2"), Qt::LeftButton);
    QCOMPARE(listed, (QStringList{"Kraji", "Drzave"}));
    QCOMPARE(window.mdiArea()->activeSubWindow()->widget()->objectName(), QStringLiteral("FKraji"));
    QCOMPARE(panel(window, "Panel2")->frameShadow(), QFrame::Raised);
}

void TestMainWindow::autoHideWithoutTrayOnlyMinimises()
{
    TestInstallation installation;
    WriteRegString(nastavitve(), QStringLiteral("SkrijAuto"), QStringLiteral("-1"));
    WriteRegString(nastavitve(), QStringLiteral("SkrijPo"), QStringLiteral("60"));
    ClearAutoHideSeconds();
    TFMain window({});
    window.show();
    const qint64 now = QDateTime::currentMSecsSinceEpoch();

    window.timerTick(now + 3600 * 1000); // no input since the start: stays
    QVERIFY(!window.isMinimized());

    window.usage().noteActivity(now);
    window.timerTick(now + 55 * 1000);
    QVERIFY(!window.isMinimized());
    window.timerTick(now + 60 * 1000);
    QTRY_VERIFY(window.isMinimized());
    // There is no tray here: a hidden program could not be reached again.
    QVERIFY(window.isVisible());

    // Being brought back (from the tray, by a second start) counts as activity, so the
    // program does not hide again at the next tick.
    window.usage().noteActivity(now - 3600 * 1000);
    window.restoreAndRaise();
    QTRY_VERIFY(!window.isMinimized());
    QVERIFY(!window.usage().idleFor(QDateTime::currentMSecsSinceEpoch() + 5000, 60));
}

void TestMainWindow::activationRefreshesThePersonWindow()
{
    TestInstallation installation;
    auto opened = std::make_shared<Opened>();
    TFMain window(withCodeListWindows(opened));
    window.show();
    FakePerson person(window);
    window.setPersonWindow(&person);
    window.OpenChildWindow(QStringLiteral("FKraji"));

    window.AppEvents1Deactivate();
    QCOMPARE(person.calls, QStringList{QStringLiteral("save")});
    QCOMPARE(window.mdiArea()->currentSubWindow()->widget(), person.widget());

    window.AppEvents1Activate();
    QCOMPARE(person.calls, (QStringList{"save", "refresh", "activate"}));
    QCOMPARE(window.mdiArea()->currentSubWindow()->widget()->objectName(), QStringLiteral("FKraji"));
    QVERIFY(window.usage().lastActivity() > 0);

    // A failure while coming back is passed over.
    person.failRefresh = true;
    window.AppEvents1Activate();
    QCOMPARE(person.calls.last(), QStringLiteral("refresh"));
}

void TestMainWindow::inputCountsAsActivity()
{
    TestInstallation installation;
    TFMain window({});
    window.show();
    QCOMPARE(window.usage().lastActivity(), 0);
    QTest::keyClick(window.menuBar(), Qt::Key_Shift);
    QVERIFY(window.usage().lastActivity() > 0);
}

void TestMainWindow::trayMenuClosesTheProgram()
{
    TestInstallation installation;
    TFMain window({});
    window.show();
    auto *tray = window.findChild<QSystemTrayIcon *>(QStringLiteral("RxTrayIcon1"));
    QCOMPARE(tray->toolTip(), QStringLiteral("Veldra"));
    const QList<QAction *> entries = tray->contextMenu()->actions();
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries.first()->text(), QStringLiteral("&Zapri program veldra"));
    auto seen = ModalAnswer::press(QStringLiteral("Ne"));
    entries.first()->trigger();
    QCOMPARE(seen->text, QStringLiteral("Ali resnično želite zapreti program veldra?"));
    QVERIFY(window.isVisible());
}

void TestMainWindow::closeAsksAndWritesUsage()
{
    TestInstallation installation;
    MainWindowServices services;
    services.countPersons = [] { return std::optional<int>(42); };
    TFMain window(services);
    window.show();
    // The program's activation comes before the person window is there to record it.
    QVERIFY(QTest::qWaitForWindowActive(&window));
    FakePerson person(window);
    window.setPersonWindow(&person);

    auto seen = ModalAnswer::press(QStringLiteral("Ne"));
    QVERIFY(!window.close());
    QCOMPARE(seen->text, QStringLiteral("Ali resnično želite zapreti program veldra?"));
    QCOMPARE(seen->buttons, (QStringList{"Ne", "Da"}));
    QVERIFY(window.isVisible());
    QCOMPARE(ReadRegString(nastavitve(), QStringLiteral("statr")), QString());

    window.usage().tick(QDateTime::currentMSecsSinceEpoch() + 3600 * 1000);
    ModalAnswer::press(QStringLiteral("Da"));
    QVERIFY(window.close());
    QCOMPARE(ReadRegString(nastavitve(), QStringLiteral("statr")), QStringLiteral("42"));
    QVERIFY(ReadRegDouble(nastavitve(), QStringLiteral("statoh"), 0) > 0.04);
    QVERIFY(!ReadRegString(QString::fromLatin1(KeyGlavnoOkno), QStringLiteral("NormPos")).isEmpty());
    QCOMPARE(person.calls, QStringList{QStringLiteral("leave")});
}

void TestMainWindow::closeSavesFirstAndFinishes_data()
{
    QTest::addColumn<bool>("countFails");
    QTest::addColumn<QString>("statr");
    QTest::newRow("count succeeds") << false << "42";
    QTest::newRow("count fails") << true << "";
}

void TestMainWindow::closeSavesFirstAndFinishes()
{
    QFETCH(bool, countFails);
    QFETCH(QString, statr);
    TestInstallation installation;
    auto log = std::make_shared<QStringList>();
    MainWindowServices services;
    services.countPersons = [log, countFails]() -> std::optional<int> {
        *log << QStringLiteral("count");
        if (countFails)
            throw std::runtime_error("database gone");
        return 42;
    };
    services.destroyPluginChildWindows = [log] { *log << QStringLiteral("plugins"); };
    TFMain window(services);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    FakePerson person(window, log);
    window.setPersonWindow(&person);

    ModalAnswer::press(QStringLiteral("Da"));
    QVERIFY(window.close());
    QCOMPARE(*log, (QStringList{"leave", "count", "plugins"}));
    QCOMPARE(ReadRegString(nastavitve(), QStringLiteral("statr")), statr);
    QVERIFY(!ReadRegString(QString::fromLatin1(KeyGlavnoOkno), QStringLiteral("NormPos")).isEmpty());
}

void TestMainWindow::placementIsRestored()
{
    TestInstallation installation;
    {
        TFMain first({});
        first.showPlaced();
        QTRY_VERIFY(first.isMaximized()); // the first time
    }
    const QString key = QString::fromLatin1(KeyGlavnoOkno);
    WriteRegString(key, QStringLiteral("ShowCmd"), QStringLiteral("1"));
    WriteRegString(key, QStringLiteral("NormPos"), QStringLiteral("100,80,740,560"));
    TFMain window({});
    window.showPlaced();
    QVERIFY(!window.isMaximized());
    QCOMPARE(window.geometry(), QRect(100, 80, 640, 480));
}

// Programs still using this one are asked about first; a "no" there keeps the window
// without the usual question, and an end asked for by them needs no question at all.
void TestMainWindow::otherProgramsCanHoldTheCloseBack()
{
    TestInstallation installation;
    bool mayClose = false;
    int asked = 0;
    MainWindowServices services;
    services.mayClose = [&] {
        ++asked;
        return mayClose;
    };
    TFMain window(services);
    window.show();
    auto seen = ModalAnswer::press(QStringLiteral("Da"), 500);
    QVERIFY(!window.close());
    QCOMPARE(asked, 1);
    QTest::qWait(600);
    QVERIFY(!seen->shown);
    QVERIFY(window.isVisible());

    mayClose = true;
    seen = ModalAnswer::press(QStringLiteral("Da"));
    QVERIFY(window.close());
    QCOMPARE(asked, 2);
    QVERIFY(seen->shown);

    TFMain ended(services);
    ended.show();
    seen = ModalAnswer::press(QStringLiteral("Ne"), 500);
    ended.closeWithoutQuestion();
    QVERIFY(!ended.isVisible());
    QCOMPARE(asked, 2);
    QTest::qWait(600);
    QVERIFY(!seen->shown);
}

// The launcher-bar shortcuts are made at creation and after the settings window, each
// time only while "Trellan" is set, as the settings window may just have changed it.
void TestMainWindow::settingsThenLauncherShortcuts_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("calls");
    QTest::newRow("kept on") << QString() << QStringLiteral("-1") << 2;
    QTest::newRow("switched off") << QString() << QStringLiteral("0") << 1;
    QTest::newRow("switched on") << QStringLiteral("0") << QStringLiteral("-1") << 1;
    QTest::newRow("kept off") << QStringLiteral("0") << QStringLiteral("0") << 0;
}

void TestMainWindow::settingsThenLauncherShortcuts()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(int, calls);
    TestInstallation installation;
    if (!before.isEmpty())
        WriteRegString(nastavitve(), QStringLiteral("Trellan"), before);
    int made = 0;
    int shown = 0;
    MainWindowServices services;
    services.createLauncherShortcuts = [&made] { ++made; };
    services.showSettingsWindow = [&shown, after] {
        ++shown;
        WriteRegString(nastavitve(), QStringLiteral("Trellan"), after);
    };
    TFMain window(services);
    QAction *splosno = topMenu(window, 0)->actions().at(0)->menu()->actions().at(2);
    QCOMPARE(splosno->text(), QStringLiteral("Splošno"));
    splosno->trigger();
    QCOMPARE(shown, 1);
    QCOMPARE(made, calls);
}

QTEST_MAIN(TestMainWindow)
#include "tst_MainWindow.moc"
