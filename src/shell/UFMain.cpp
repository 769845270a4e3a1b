#include "UFMain.h"

#include "ColourScheme.h"
#include "FlatButton.h"
#include "HintStyle.h"
#include "MenuShortcuts.h"
#include "NoticeStrip.h"
#include "PersonWindowLink.h"
#include "PublicFunctions.h"
#include "Settings.h"
#include "TextBlock.h"
#include "WindowPlacement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QSystemTrayIcon>
#include <QToolBar>
#include <QVBoxLayout>

TFMain *FMain = nullptr;

namespace {

QString nastavitve()
{
    return QString::fromLatin1(KeyNastavitve);
}

bool isInputEvent(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

QString componentName(const QMdiSubWindow *child)
{
    return child && child->widget() ? child->widget()->objectName() : QString();
}

}

TFMain::TFMain(MainWindowServices services, QWidget *parent)
    : QMainWindow(parent)
    , m_services(std::move(services))
    , m_instance(FMain, this)
{
    setObjectName(QStringLiteral("FMain"));
    FormCreate();
}

TFMain::~TFMain()
{
    qApp->removeEventFilter(this);
}

QString TFMain::BuiltInBackground()
{
    return QStringLiteral(":/images/background.png");
}

QString TFMain::ChooseBackgroundPicture(const QString &setting)
{
    if (!setting.isEmpty() && QFileInfo(setting).isFile())
        return setting;
    return setting == QLatin1String("/") ? QString() : BuiltInBackground();
}

void TFMain::FormCreate()
{
    createLauncherShortcutsWhenWanted();

    WriteRegString(nastavitve(), QStringLiteral("stato"),
                   QString::number(qMax(0, ReadRegInt(nastavitve(), QStringLiteral("stato"), 0)) + 1));

    createCentralArea();
    createMenus();
    createToolBar();
    createStatusBar();
    createTrayIcon();
    applyColours();

    ShowBackgroundImage(ReadRegString(nastavitve(), QStringLiteral("BackgroundImage")));

    setWindowTitle(QString::fromLatin1(ApplicationTitle) + QStringLiteral(" [") + GetProgramVersion()
                   + QLatin1Char(']'));
    setWindowIcon(QIcon(QStringLiteral(":/images/veldra.png")));

    m_notice->setText(ReadTextBlock(GetDataFolder() + QStringLiteral("LastVer.ini"), QStringLiteral("Obvestilo"))
                          .replace(QStringLiteral("\r\n"), QStringLiteral(" ")));

    if (m_services.buildExternalProgramsMenu)
        m_services.buildExternalProgramsMenu(menuBar());
    LoadMenuShortcuts(menuBar());
    if (m_services.buildPluginMenus)
        m_services.buildPluginMenus(menuBar());

    m_notice->play();

    m_usage.start(QDateTime::currentMSecsSinceEpoch(), ReadRegDouble(nastavitve(), QStringLiteral("statoh"), 0),
                  ReadRegDouble(nastavitve(), QStringLiteral("statoha"), 0));

    if (m_services.fillWebPanel) {
        m_webPanel->show();
        m_services.fillWebPanel(m_webContent, true);
    }

    qApp->installEventFilter(this);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive)
            AppEvents1Activate();
        else if (state == Qt::ApplicationInactive)
            AppEvents1Deactivate();
    });
    m_timer.setObjectName(QStringLiteral("Timer1"));
    m_timer.setInterval(5000);
    connect(&m_timer, &QTimer::timeout, this, &TFMain::Timer1Timer);
    m_timer.start();
    Timer1Timer();
}

void TFMain::ShowBackgroundImage(const QString &setting)
{
    m_mdiArea->setBackground(ColourScheme.CT_WBack);
    // A picture that cannot be read must not stop the start: the built-in one stands in.
    m_backgroundPicture = ChooseBackgroundPicture(setting);
    QPixmap picture(m_backgroundPicture);
    if (!m_backgroundPicture.isEmpty() && picture.isNull()) {
        m_backgroundPicture = BuiltInBackground();
        picture = QPixmap(m_backgroundPicture);
    }
    if (!picture.isNull())
        m_mdiArea->setBackground(QBrush(picture));
}

void TFMain::createCentralArea()
{
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto *splitter = new QSplitter(Qt::Horizontal, central);
    splitter->setObjectName(QStringLiteral("Splitter1"));
    m_mdiArea = new QMdiArea(splitter);
    m_mdiArea->setObjectName(QStringLiteral("MDIClient"));
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    // The web information panel and its progress bar; shown once something fills it.
    m_webPanel = new QWidget(splitter);
    m_webPanel->setObjectName(QStringLiteral("PanelWeb"));
    m_webPanel->setMinimumWidth(150);
    auto *webLayout = new QVBoxLayout(m_webPanel);
    webLayout->setContentsMargins(0, 0, 0, 0);
    m_webContent = new QWidget(m_webPanel);
    m_webContent->setObjectName(QStringLiteral("WebPanel"));
    m_webContent->setContextMenuPolicy(Qt::PreventContextMenu);
    webLayout->addWidget(m_webContent, 1);
    auto *progress = new QProgressBar(m_webPanel);
    progress->setObjectName(QStringLiteral("ProgressBar1"));
    progress->setTextVisible(false);
    progress->setMaximumHeight(12);
    webLayout->addWidget(progress);
    m_webPanel->hide();
    splitter->setStretchFactor(0, 1);
    splitter->setSizes({1000, 150});
    layout->addWidget(splitter, 1);

    m_notice = new NoticeStrip(central);
    m_notice->setObjectName(QStringLiteral("SecretPanel1"));
    layout->addWidget(m_notice);
    setCentralWidget(central);
}

QAction *TFMain::addMenuEntry(QMenu *menu, const char *name, const QString &caption, const QString &hint)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setStatusTip(hint);
    return action;
}

void TFMain::createMenus()
{
    const auto open = [this](const char *window) {
        return [this, window] { OpenChildWindow(QString::fromLatin1(window)); };
    };
    const auto topLevel = [this](const char *name, const QString &caption, const QString &hint) {
        QMenu *menu = menuBar()->addMenu(caption);
        menu->setObjectName(QString::fromLatin1(name));
        menu->menuAction()->setObjectName(QString::fromLatin1(name));
        menu->menuAction()->setStatusTip(hint);
        return menu;
    };

    QMenu *glavno = topLevel("Glavno1", tr("&Glavno"), tr("Glavno"));
    QMenu *settings = glavno->addMenu(tr("Nastavitve"));
    settings->setObjectName(QStringLiteral("Nastavitve1"));
    settings->menuAction()->setObjectName(QStringLiteral("Nastavitve1"));
    settings->menuAction()->setStatusTip(tr("Nastavitve"));
    connect(addMenuEntry(settings, "Podjetje1", tr("Uporabnik"), tr("Uporabnik")), &QAction::triggered, this,
            open("FPodjetje"));
    settings->addSeparator();
    connect(addMenuEntry(settings, "Splono1", tr("Splošno"), tr("Nastavitve programa")), &QAction::triggered, this,
            &TFMain::Splono1Click);
    glavno->addSeparator();
    QAction *exit = addMenuEntry(glavno, "Izhod1", tr("&Izhod"), tr("Izhod iz programa"));
    SetDefaultShortcut(exit, QKeySequence(Qt::CTRL | Qt::Key_X));
    connect(exit, &QAction::triggered, this, &TFMain::close);
    // After the exit, so that no entry above moves and every stored shortcut keeps its entry.
    glavno->addSeparator();
    connect(addMenuEntry(glavno, "Uvoz1", tr("Uvoz ..."), tr("Uvoz oseb iz datotek vCard in CSV")), &QAction::triggered, this, [this] {
        if (m_services.importPersons)
            m_services.importPersons();
    });
    connect(addMenuEntry(glavno, "Izvoz1", tr("Izvoz ..."), tr("Izvoz oseb v datoteko vCard ali CSV")), &QAction::triggered, this, [this] {
        if (m_services.exportPersons)
            m_services.exportPersons();
    });

    QMenu *codeLists = topLevel("ifranti1", tr("&Šifranti"), tr("Šifranti"));
    const auto codeList = [&](const char *name, const QString &caption, const QString &hint, const char *window,
                              const char *icon) {
        QAction *action = addMenuEntry(codeLists, name, caption, hint);
        if (icon)
            action->setIcon(QIcon(QString::fromLatin1(icon)));
        connect(action, &QAction::triggered, this, open(window));
        return action;
    };
    SetDefaultShortcut(codeList("Kraji1", tr("&Kraji"), tr("Urejanje krajev"), "FKraji", ":/images/kraji.png"),
                       Qt::Key_F5);
    codeList("Pokrajine1", tr("&Pokrajine"), tr("Urejanje pokrajin"), "FPokrajine", ":/images/pokrajine.png");
    codeList("Drvae1", tr("&Države"), tr("Urejanje držav"), "FDrzave", ":/images/drzave.png");
    codeLists->addSeparator();
    codeList("Kategorije1", tr("Kategorije"), tr("Urejanje kategorij"), "FKategorije", ":/images/kategorije.png");
    codeLists->addSeparator();
    codeList("Kontakti1", tr("Kontakti"), tr("Urejanje kontaktov"), "FKontakti", ":/images/kontakti.png");
    codeList("Alarmi1", tr("Alarmi"), tr("Urejanje alarmov"), "FAlarmi", ":/images/alarmi.png");

    QMenu *help = topLevel("Pomoc1", tr("&Pomoc"), tr("Pomoc"));
    connect(addMenuEntry(help, "Vizitka1", tr("Vizitka"), tr("Vizitka")), &QAction::triggered, this,
            &TFMain::Vizitka1Click);
}

void TFMain::createToolBar()
{
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setFixedHeight(28);
    m_toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    m_toolBar->layout()->setSpacing(2);
    m_toolBar->layout()->setContentsMargins(2, 2, 2, 2);
    addToolBar(Qt::TopToolBarArea, m_toolBar);

    // The tool bar keeps colours of its own, whatever the scheme says.
    const FlatButton::Colours colours{ColourFromRef(13395456), ColourFromRef(16744448), ColourFromRef(16758122),
                                      ColourFromRef(3939584), QColor(Qt::white)};
    struct Button { const char *caption; const char *hint; const char *window; const char *icon; };
    const Button buttons[] = {
        {QT_TR_NOOP("Kraji"), QT_TR_NOOP("Odpri okno za urejanje krajev"), "FKraji", ":/images/kraji.png"},
        {QT_TR_NOOP("Pokrajine"), QT_TR_NOOP("Odpri okno za urejanje pokrajin"), "FPokrajine", ":/images/pokrajine.png"},
        {QT_TR_NOOP("Države"), QT_TR_NOOP("Odpri okno za urejanje držav"), "FDrzave", ":/images/drzave.png"},
        {QT_TR_NOOP("Kategorije"), QT_TR_NOOP("Odpri okno za urejanje kategorij"), "FKategorije", ":/images/kategorije.png"},
        {QT_TR_NOOP("Alarmi"), QT_TR_NOOP("Odpri okno za urejanje alarmov"), "FAlarmi", ":/images/alarmi.png"},
    };
    int number = 1;
    for (const Button &definition : buttons) {
        auto *button = new FlatButton(tr(definition.caption), m_toolBar);
        button->setObjectName(QStringLiteral("FlatButton%1").arg(number++));
        button->setToolTip(tr(definition.hint));
        button->setStatusTip(tr(definition.hint));
        button->setIcon(QIcon(QString::fromLatin1(definition.icon)));
        button->setIconSize(QSize(16, 16));
        button->setColours(colours);
        button->setFixedHeight(24);
        const QString window = QString::fromLatin1(definition.window);
        connect(button, &FlatButton::clicked, this, [this, window] { OpenChildWindow(window); });
        m_toolBar->addWidget(button);
    }
}

void TFMain::createStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    // The side panels are 100 wide, or as wide as their text needs in the user's font.
    const auto panel = [bar](const char *name, const QString &widest, Qt::Alignment alignment) {
        auto *label = new QLabel(bar);
        label->setObjectName(QString::fromLatin1(name));
        label->setAlignment(alignment | Qt::AlignVCenter);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (!widest.isEmpty())
            label->setFixedWidth(qMax(100, label->fontMetrics().horizontalAdvance(widest) + 12));
        return label;
    };
    m_clockPanel = panel("Panel0", QStringLiteral("00.00.0000  00:00"), Qt::AlignHCenter);
    m_hintPanel = panel("Panel1", QString(), Qt::AlignLeft);
    m_windowListPanel = panel("Panel2", tr("Prikazi okno"), Qt::AlignHCenter);
    m_windowListPanel->setText(tr("Prikazi okno"));
    m_windowListPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    bar->addWidget(m_clockPanel);
    bar->addWidget(m_hintPanel, 1);
    bar->addPermanentWidget(m_windowListPanel);
}

void TFMain::createTrayIcon()
{
    m_tray = new QSystemTrayIcon(QIcon(QStringLiteral(":/images/veldra.png")), this);
    m_tray->setObjectName(QStringLiteral("RxTrayIcon1"));
    m_tray->setToolTip(QString::fromLatin1(ApplicationTitle));
    auto *menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("PopupMenu1"));
    QAction *closeProgram = addMenuEntry(menu, "Zapriveldra1", tr("&Zapri program veldra"), tr("Zapri program veldra"));
    connect(closeProgram, &QAction::triggered, this, &TFMain::close);
    m_tray->setContextMenu(menu);
    connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
            RxTrayIcon1Click();
    });
    if (QSystemTrayIcon::isSystemTrayAvailable())
        m_tray->show();
}

void TFMain::applyColours()
{
    QPalette window = palette();
    window.setColor(QPalette::Window, ColourScheme.CT_WBack);
    setPalette(window);
    m_mdiArea->setBackground(ColourScheme.CT_WBack);

    QPalette bar = m_toolBar->palette();
    bar.setColor(QPalette::Window, ColourScheme.CT_WTitleBack);
    m_toolBar->setPalette(bar);
    m_toolBar->setAutoFillBackground(true);
    m_toolBar->setStyleSheet(QStringLiteral("QToolBar { background: %1; border: none; }").arg(ColourScheme.CT_WTitleBack.name()));

    QPalette status = statusBar()->palette();
    status.setColor(QPalette::Window, ColourScheme.CT_WDetailBack);
    statusBar()->setPalette(status);
    statusBar()->setAutoFillBackground(true);

    ApplyHintColours(ColourScheme.CT_WTitleBack, ColourScheme.CT_WTitleFont);
}

void TFMain::showPlaced()
{
    WindowPlacement::restore(this, QString::fromLatin1(KeyGlavnoOkno), true);
}

void TFMain::setPersonWindow(PersonWindowLink *person)
{
    m_person = person;
}

QMdiSubWindow *TFMain::addChildWindow(QWidget *window)
{
    QMdiSubWindow *child = m_mdiArea->addSubWindow(window);
    child->setAttribute(Qt::WA_DeleteOnClose);
    child->setWindowIcon(window->windowIcon().isNull() ? windowIcon() : window->windowIcon());
    return child;
}

int TFMain::FindMdiChild(const QString &name) const
{
    QMdiSubWindow *child = childNamed(name);
    return child ? int(m_mdiArea->subWindowList().indexOf(child)) : -1;
}

QMdiSubWindow *TFMain::childNamed(const QString &name) const
{
    const QList<QMdiSubWindow *> children = m_mdiArea->subWindowList();
    for (qsizetype i = children.size() - 1; i >= 0; --i)
        if (componentName(children[i]) == name)
            return children[i];
    return nullptr;
}

int TFMain::ShowOrCreateMdiChild(const MainWindowServices::WindowFactory &factory, const QString &name)
{
    if (QMdiSubWindow *child = childNamed(name)) {
        if (child->isMinimized())
            child->showNormal();
        child->show();
        m_mdiArea->setActiveSubWindow(child);
        return 1;
    }
    QWidget *window = factory();
    if (window) {
        if (window->objectName().isEmpty())
            window->setObjectName(name);
        QMdiSubWindow *child = addChildWindow(window);
        child->show();
        m_mdiArea->setActiveSubWindow(child);
    }
    return 0;
}

int TFMain::OpenChildWindow(const QString &name)
{
    for (const auto &[windowName, factory] : m_services.childWindows) {
        if (windowName.compare(name, Qt::CaseInsensitive) == 0 && factory) {
            ShowOrCreateMdiChild(factory, windowName);
            return 1;
        }
    }
    return 0;
}

void TFMain::restoreAndRaise()
{
    // Whoever brings the program back is using it: auto-hide must not take it away at once.
    m_usage.noteActivity(QDateTime::currentMSecsSinceEpoch());
    if (isMinimized() || !isVisible()) {
        if (windowState() & Qt::WindowMaximized)
            showMaximized();
        else
            showNormal();
    }
    raise();
    activateWindow();
}

void TFMain::Timer1Timer()
{
    timerTick(QDateTime::currentMSecsSinceEpoch());
}

void TFMain::timerTick(qint64 now)
{
    const QString clock = QDateTime::fromMSecsSinceEpoch(now).toString(QStringLiteral("dd.MM.yyyy  hh:mm"));
    if (m_clockPanel->text() != clock)
        m_clockPanel->setText(clock);

    if (m_usage.tick(now)) {
        writeUsageFigures();
        if (m_services.fillWebPanel)
            m_services.fillWebPanel(m_webContent, false);
    }
    if (m_usage.idleFor(now, GetAutoHideSeconds()))
        hideApplication();
}

void TFMain::writeUsageFigures()
{
    WriteRegDouble(nastavitve(), QStringLiteral("statoh"), m_usage.totalDays());
    WriteRegDouble(nastavitve(), QStringLiteral("statoha"), m_usage.activeDays());
}

// Without a tray icon a hidden program could not be reached again: it is only minimised.
void TFMain::hideApplication()
{
    if (m_tray->isVisible())
        hide();
    else if (!isMinimized())
        showMinimized();
}

void TFMain::AppEvents1Minimize()
{
    if (m_tray->isVisible())
        QTimer::singleShot(0, this, &QWidget::hide);
}

void TFMain::RxTrayIcon1Click()
{
    restoreAndRaise();
}

void TFMain::AppEvents1Deactivate()
{
    m_childBeforeDeactivation = componentName(m_mdiArea->currentSubWindow());
    if (m_person) {
        activatePersonFrame();
        m_person->saveOnDeactivate();
    }
}

void TFMain::AppEvents1Activate()
{
    m_usage.noteActivity(QDateTime::currentMSecsSinceEpoch());
    // Coming back to the foreground must never fail: errors here are passed over.
    try {
        if (m_person) {
            m_person->refreshKeepingPosition();
            activatePersonFrame();
            m_person->activate();
        }
        if (QMdiSubWindow *previous = m_childBeforeDeactivation.isEmpty() ? nullptr : childNamed(m_childBeforeDeactivation))
            m_mdiArea->setActiveSubWindow(previous);
    } catch (...) {
    }
}

void TFMain::activatePersonFrame()
{
    if (auto *frame = qobject_cast<QMdiSubWindow *>(m_person->widget()->parentWidget()))
        m_mdiArea->setActiveSubWindow(frame);
}

void TFMain::createLauncherShortcutsWhenWanted()
{
    if (ReadRegBool(nastavitve(), QStringLiteral("Trellan"), true) && m_services.createLauncherShortcuts)
        m_services.createLauncherShortcuts();
}

void TFMain::StatusBar1MouseDown()
{
    const QList<QMdiSubWindow *> children = m_mdiArea->subWindowList();
    if (children.isEmpty())
        return;
    QMenu list(this);
    list.setObjectName(QStringLiteral("WindowList"));
    for (qsizetype i = 0; i < children.size(); ++i) {
        QAction *entry = list.addAction(children[i]->windowIcon(), children[i]->windowTitle());
        entry->setData(int(i));
    }
    m_windowListPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    const QPoint corner = statusBar()->mapToGlobal(QPoint(statusBar()->width() - list.sizeHint().width(),
                                                          -list.sizeHint().height()));
    QAction *chosen = list.exec(corner);
    m_windowListPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    if (!chosen)
        return;
    const QList<QMdiSubWindow *> now = m_mdiArea->subWindowList();
    const int index = chosen->data().toInt();
    if (index < now.size() && now[index] == children[index]) {
        now[index]->showNormal();
        m_mdiArea->setActiveSubWindow(now[index]);
    }
}

void TFMain::Splono1Click()
{
    if (!m_services.showSettingsWindow)
        return;
    m_services.showSettingsWindow();
    createLauncherShortcutsWhenWanted();
}

void TFMain::Vizitka1Click()
{
    if (m_services.showAboutWindow)
        m_services.showAboutWindow();
}

bool TFMain::event(QEvent *event)
{
    // Hints go to the status bar's hint panel rather than over the clock.
    if (event->type() == QEvent::StatusTip) {
        m_hintPanel->setText(static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

bool TFMain::eventFilter(QObject *watched, QEvent *event)
{
    if (isInputEvent(event->type()))
        m_usage.noteActivity(QDateTime::currentMSecsSinceEpoch());
    if (watched == m_windowListPanel && event->type() == QEvent::MouseButtonPress) {
        StatusBar1MouseDown();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFMain::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowStateChange && isMinimized())
        AppEvents1Minimize();
    QMainWindow::changeEvent(event);
}

bool TFMain::FormCloseQuery()
{
    if (m_closingUnasked)
        return true;
    restoreAndRaise();
    if (m_services.mayClose && !m_services.mayClose())
        return false;
    return ShowMessageBox(tr("Ali resnično želite zapreti program veldra?"), 4) == 6;
}

void TFMain::closeWithoutQuestion()
{
    m_closingUnasked = true;
    if (!close())
        m_closingUnasked = false;
}

void TFMain::FormClose()
{
    m_timer.stop();
    // The pending edit is saved before anything else touches the database.
    if (m_person)
        m_person->leave();
    writeUsageFigures();
    writePersonCount();
    if (m_services.destroyPluginChildWindows)
        m_services.destroyPluginChildWindows();
    WindowPlacement::save(this, QString::fromLatin1(KeyGlavnoOkno));
}

// The count is only a usage figure: a database that fails here must not keep the program open.
void TFMain::writePersonCount()
{
    if (!m_services.countPersons)
        return;
    try {
        if (const std::optional<int> persons = m_services.countPersons())
            WriteRegString(nastavitve(), QStringLiteral("statr"), QString::number(*persons));
    } catch (...) {
    }
}

void TFMain::closeEvent(QCloseEvent *event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
    // Closing the main window ends the program, whatever other windows are open.
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}
