#include "UFNastavitve.h"

#include "ButtonStrip.h"
#include "ColourScheme.h"
#include "FlatButton.h"
#include "MenuShortcuts.h"
#include "ProgramsPage.h"
#include "ShortcutsPage.h"
#include "ThemePage.h"
#include "UFMain.h"

#include <QMenuBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

TNastavitve *FNastavitve = nullptr;

TNastavitve::TNastavitve(TFMain *mainWindow, const UpgradeCheckLink &upgradeCheck)
    : QDialog(mainWindow)
    , m_mainMenu(mainWindow->menuBar())
    , m_instance(FNastavitve, this)
{
    setObjectName(QStringLiteral("Nastavitve"));
    setWindowTitle(tr("Nastavitve"));
    setModal(true);
    setAutoFillBackground(true);
    QPalette body = palette();
    body.setColor(QPalette::Window, ColourScheme.CT_WBack);
    setPalette(body);

    Shortcuts = new ShortcutsPage(m_mainMenu);
    Programs = new ProgramsPage(m_mainMenu);
    Theme = new ThemePage(mainWindow);
    General = new GeneralPage(upgradeCheck);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setTabPosition(QTabWidget::West);
    PageControl1->setIconSize(QSize(24, 24));
    PageControl1->tabBar()->setAttribute(Qt::WA_Hover);
    const QStyle *look = style();
    PageControl1->addTab(Shortcuts, look->standardIcon(QStyle::SP_FileDialogDetailedView), tr("Bližnjice"));
    PageControl1->addTab(Programs, look->standardIcon(QStyle::SP_ComputerIcon), tr("Programi"));
    PageControl1->addTab(Theme, look->standardIcon(QStyle::SP_DesktopIcon), tr("Tema"));
    PageControl1->addTab(General, look->standardIcon(QStyle::SP_FileDialogInfoView), tr("Splošno"));
    PageControl1->setCurrentIndex(0);

    auto *bar = new ButtonStrip(this);
    bar->addStretch();
    BitBtn2 = bar->addButton("BitBtn2", tr("&Prekliči"));
    BitBtn1 = bar->addButton("BitBtn1", tr("Pot&rdi"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(PageControl1, 1);
    layout->addWidget(bar);
    resize(640, 560);

    connect(BitBtn1, &FlatButton::clicked, this, &TNastavitve::accept);
    connect(BitBtn2, &FlatButton::clicked, this, &TNastavitve::reject);
}

void TNastavitve::accept()
{
    Shortcuts->store();
    Programs->store();
    // A program menu added or removed moves the menus after it, and shortcuts are stored
    // by position: stored again, they are found where the next start puts their items.
    SaveMenuShortcuts(m_mainMenu);
    Theme->storeBackground();
    Theme->storeColours();
    General->storeBehaviour();
    General->storeDesign();
    General->storeServices();
    QDialog::accept();
}
