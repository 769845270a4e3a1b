// The composition root: start-up, then every window of the program in its fixed order.

#include "ComServer.h"
#include "ConverterProcess.h"
#include "ExternalPrograms.h"
#include "JetConversion.h"
#include "LauncherBar.h"
#include "MenuShortcuts.h"
#include "Messagebox.h"
#include "ModuleHost.h"
#include "ProgramPaths.h"
#include "Settings.h"
#include "SingleInstance.h"
#include "Startup.h"
#include "UDataMod.h"
#include "UFAlarm.h"
#include "UFAlarmi.h"
#include "UFDodajAlarm.h"
#include "UFDodajDrzavo.h"
#include "UFDodajKategorijo.h"
#include "UFDodajKontakt.h"
#include "UFDodajKraj.h"
#include "UFDodajOsebo.h"
#include "UFDodajPokrajino.h"
#include "UFDrzave.h"
#include "UFDUAlarm.h"
#include "UFDUKontakt.h"
#include "UFDUOpomba.h"
#include "UFKategorije.h"
#include "UFKontakti.h"
#include "UFKraji.h"
#include "UFMain.h"
#include "UFNastavitve.h"
#include "UFPlugins.h"
#include "UFPodjetje.h"
#include "UFPokrajine.h"
#include "UFPregledAlarmov.h"
#include "UFVeldra.h"
#include "ContactExchange.h"
#include "UFVizitka.h"
#include "UIKor_Veldra.h"
#include "UpgradeCheck.h"
#include "VeldraApplication.h"
#include "WebPanel.h"
#include "WebView.h"
#include "WindowPlacement.h"

#include <QMdiSubWindow>
#include <QTextStream>

#include <exception>
#include <stdexcept>

namespace {

// The automation object other programs reach over the session bus.
TIKor_Veldra *Automation = nullptr;
// Import and export of persons, made with the person window.
ContactExchange *Exchange = nullptr;

// A click on a module's menu item: the module hears of it with the current person.
void PluginClick(QAction *item)
{
    SendMenuCommand(MenuTag(item), item->text(), FVeldra ? FVeldra->currentPersonId() : QString(), FMain);
}

// What the layers above the shell add to the main window.
MainWindowServices mainWindowServices()
{
    MainWindowServices services;
    services.childWindows = {
        {QStringLiteral("FDrzave"), [] { return new TFDrzave; }},
        {QStringLiteral("FKraji"), [] { return new TFKraji; }},
        {QStringLiteral("FPokrajine"), [] { return new TFPokrajine; }},
        {QStringLiteral("FKategorije"), [] { return new TFKategorije; }},
        {QStringLiteral("FKontakti"), [] { return new TFKontakti; }},
        {QStringLiteral("FAlarmi"), [] { return new TFAlarmi; }},
        {QStringLiteral("FPodjetje"), [] { return new TFPodjetje; }},
    };
    services.createLauncherShortcuts = AddToLauncherBar;
    services.showAboutWindow = [] { FVizitka->exec(); };
    services.importPersons = [] { Exchange->importChosenFiles(); };
    services.exportPersons = [] { Exchange->exportPersons(); };
    services.buildExternalProgramsMenu = [](QMenuBar *menu) {
        BuildProgramMenus(QStringLiteral("Moduli.ini"), menu, ZunanjiProgramiClick);
    };
    services.showSettingsWindow = [] { FNastavitve->exec(); };
    services.buildPluginMenus = [](QMenuBar *menu) { BuildModuleMenus(menu, PluginClick); };
    services.destroyPluginChildWindows = [] {
        if (FVeldra)
            FVeldra->destroyModuleWindows();
    };
    services.mayClose = [] { return !Automation || !Automation->hasClients() || ConfirmCloseWithClients(FMain); };
    services.countPersons = []() -> std::optional<int> {
        if (!DataMod)
            return std::nullopt;
        return DataMod->CountPersons();
    };
    services.fillWebPanel = [countPersons = services.countPersons](QWidget *panel, bool firstTime) {
        FillWebPanel(panel, firstTime, countPersons);
    };
    return services;
}

// The start steps of later layers: the upgrade check, then the module scan.
StartupSteps startupSteps()
{
    StartupSteps steps;
    steps.prepareDatabaseFile = [](const QString &file) { return JetConversion::OfferAtStart(file); };
    steps.checkForUpgrade = CheckForUpgradeAtStart;
    steps.scanModules = [] { ScanModules(ProgramPaths::programFolder() + QStringLiteral("Moduli/"), false); };
    return steps;
}

void StartAutomation(StartMode startMode)
{
    AutomationTarget target;
    target.activate = [] { FMain->restoreAndRaise(); };
    target.addDialogShowing = [] { return FDodajOsebo && FDodajOsebo->isVisible(); };
    target.addPerson = [] { FVeldra->AddPerson(); };
    target.locate = [](const QString &id) { return FVeldra->LocatePerson(id); };
    Automation = new TIKor_Veldra(target, FMain);
    // Without a bus the program goes on without automation.
    Automation->registerOnBus();
    // A program the bus started for its clients ends when the last of them has gone.
    if (startMode == StartMode::ByBus)
        QObject::connect(Automation, &TIKor_Veldra::lastClientGone, FMain, &TFMain::closeWithoutQuestion);
}

// The windows and the data module are created in this order; each later one may rely
// on the earlier ones.
void CreateWindows(SingleInstance &instance, StartMode startMode)
{
    new TFMain(mainWindowServices());
    // Newer modules in the shared data folder are offered before anything else goes on.
    TFPlugins::CheckAtStart(FMain, PluginClick);
    // The database opens only after the main window exists.
    new TDataMod(qApp);
    qApp->setProperty(DatabaseConnectionProperty, DataMod->database().connection().connectionName());
    TFMessageBox *messageBox = TFMessageBox::instance();
    messageBox->setParent(FMain, messageBox->windowFlags());
    new TFVizitka(GetLatestVersion(), FMain);
    new TNastavitve(FMain, {UpgradeOffersInternetCheck, CheckForUpgradeNow});
    new TFDodajPokrajino(FMain);
    new TFDodajKategorijo(FMain);
    new TFDodajKraj(FMain);
    new TFDodajOsebo(FMain);
    new TFDodajAlarm(FMain);
    new TFDodajDrzavo(FMain);
    // The person window, which lives for the whole run.
    auto *persons = new TFVeldra;
    QMdiSubWindow *frame = FMain->addChildWindow(persons);
    frame->setAttribute(Qt::WA_DeleteOnClose, false);
    frame->setWindowFlags(frame->windowFlags() & ~Qt::WindowMinimizeButtonHint);
    FMain->setPersonWindow(persons);
    Exchange = new ContactExchange({[]() -> Database & { return DataMod->database(); }, [] { return FVeldra->listedPersonIds(); },
                                    []() -> std::optional<qint64> {
                                        const QVariant id = FVeldra->currentPerson();
                                        return id.isNull() ? std::nullopt : std::optional(id.toLongLong());
                                    },
                                    [](const QStringList &tables) {
                                        for (const QString &table : tables)
                                            DataMod->MarkTableChanged(table);
                                        FVeldra->refreshKeepingPosition();
                                    }},
                                   FMain);
    Exchange->acceptDrops(persons);
    // Then the edit dialogs of the person's alarms and contacts, the alarm window, the
    // note dialog, and last the alarm review.
    new TFDUAlarm(FMain);
    new TFDUKontakt(FMain);
    new TFDodajKontakt(FMain);
    new TFAlarm(FMain);
    new TFDUOpomba(FMain);
    FMain->showPlaced();
    WindowPlacement::restore(frame, QStringLiteral("Software\\Veldra\\FVeldra"), true);
    WriteRegString(QString::fromLatin1(KeyNastavitve), QStringLiteral("Handle"), QString::number(FMain->winId()));
    // A second start brings this copy to the front from here on, and one that came
    // during the start-up does so now.
    QObject::connect(&instance, &SingleInstance::activationRequested, FMain, &TFMain::restoreAndRaise);
    instance.deliverRequests();
    // Clients are served from here on, before the alarm review waits for the user.
    StartAutomation(startMode);
    // Last, the alarms due since the last start, before the user's first input.
    auto *review = new TFPregledAlarmov(FMain);
    if (review->hasDueAlarms())
        review->exec();
}

}

int main(int argc, char *argv[])
{
    // Started by itself to convert a file of the Windows program, apart from the program.
    if (argc > 1 && qstrcmp(argv[1], ConverterProcess::Switch) == 0) {
        QCoreApplication converter(argc, argv);
        QTextStream out(stdout);
        QTextStream err(stderr);
        return ConverterProcess::runConverter(QCoreApplication::arguments().mid(2), out, err);
    }
    PrepareWebViews();
    VeldraApplication app(argc, argv);

    // Every start registers the automation service again; the switches only register or
    // unregister it, without a window.
    const StartMode startMode = ParseStartMode(QCoreApplication::arguments());
    if (startMode == StartMode::Unregister)
        return UnregisterServer() ? 0 : 1;
    const bool registered = RegisterServer(QCoreApplication::applicationFilePath());
    if (startMode == StartMode::Register) {
        if (registered)
            return 0;
        VeldraApplication::reportError(std::runtime_error(QStringLiteral("Ni mogoče zapisati datoteke %1.")
                                                               .arg(ActivationFilePath())
                                                               .toStdString()),
                                       QStringLiteral("REGSERVER"));
        return 1;
    }

    SingleInstance instance;
    if (!instance.claim())
        return 0;
    ClearAutoHideSeconds();
    GetAutoHideSeconds();

    if (const std::optional<int> exitCode = RunStartupInitialisation(startupSteps()))
        return *exitCode;

    app.setErrorReportingActive(true);
    try {
        CreateWindows(instance, startMode);
    } catch (const std::exception &error) {
        // The windows could not be made (the database cannot be used, say): tell why and end.
        VeldraApplication::reportError(error, QStringLiteral("CreateWindows"));
        return 2;
    }

    const int result = app.exec();
    delete FMain;
    CloseModules();
    FinaliseProcess();
    return result;
}
