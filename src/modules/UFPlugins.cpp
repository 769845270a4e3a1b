#include "UFPlugins.h"

#include "ButtonStrip.h"
#include "ColourScheme.h"
#include "FlatButton.h"
#include "ModuleFiles.h"
#include "ProgramPaths.h"
#include "Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

QString sharedModuleFolder()
{
    return GetDataFolder() + QStringLiteral("Moduli/");
}

QString ownModuleFolder()
{
    return ProgramPaths::programFolder() + QStringLiteral("Moduli/");
}

// New: no module in use has both its name and its version, letter case aside. So an
// older version counts as new too, and so does a module that was renamed.
bool isNew(const TPluginSpec &shared)
{
    const QList<TPluginSpec> &inUse = ModuleList();
    return std::none_of(inUse.cbegin(), inUse.cend(), [&](const TPluginSpec &module) {
        return module.Name.compare(shared.Name, Qt::CaseInsensitive) == 0
            && module.Version.compare(shared.Version, Qt::CaseInsensitive) == 0;
    });
}

void paint(QWidget *widget, QPalette::ColorRole role, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

}

TFPlugins::TFPlugins(QMainWindow *mainWindow, ClickHandler onClick)
    : QDialog(mainWindow, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint)
    , m_mainWindow(mainWindow)
    , m_onClick(std::move(onClick))
{
    setObjectName(QStringLiteral("FPlugins"));
    setWindowTitle(tr("Moduli"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto *body = new QWidget(this);
    body->setObjectName(QStringLiteral("Panel2"));
    body->setAutoFillBackground(true);
    paint(body, QPalette::Window, ColourScheme.CT_WBack);
    auto *bodyLayout = new QVBoxLayout(body);
    bodyLayout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(body);

    Label1 = new QLabel(tr("Na mreži so novejši oz. novi moduli. Moduli se bodo nadgradili."), body);
    Label1->setObjectName(QStringLiteral("Label1"));
    bodyLayout->addWidget(Label1);

    ListView1 = new QTableWidget(0, 3, body);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setHorizontalHeaderLabels({tr("Ime"), tr("Opis"), tr("Verzija")});
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setShowGrid(true);
    ListView1->setWordWrap(false);
    ListView1->setSortingEnabled(false);
    ListView1->verticalHeader()->hide();
    ListView1->horizontalHeader()->setSectionsClickable(false);
    ListView1->horizontalHeader()->setHighlightSections(false);
    ListView1->setColumnWidth(0, 80);
    ListView1->setColumnWidth(1, 200);
    ListView1->setColumnWidth(2, 70);
    ListView1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The three columns side by side, with room for the scroll bar.
    ListView1->setFixedSize(80 + 200 + 70 + 2 * ListView1->frameWidth() + ListView1->verticalScrollBar()->sizeHint().width(),
                            160);
    paint(ListView1, QPalette::Base, ColourScheme.CT_WBack);
    bodyLayout->addWidget(ListView1);

    auto *strip = new ButtonStrip(this);
    paint(strip, QPalette::Window, ColourScheme.CT_WDetailBack);
    RxSpeedButton3 = strip->addButton("RxSpeedButton3", tr("Naloži module"), 1);
    layout->addWidget(strip);
    connect(RxSpeedButton3, &FlatButton::clicked, this, &TFPlugins::RxSpeedButton3Click);

    FormCreate();
}

void TFPlugins::CheckAtStart(QMainWindow *mainWindow, ClickHandler onClick)
{
    QPointer<TFPlugins> window = new TFPlugins(mainWindow, std::move(onClick));
    if (window->hasNewModules())
        window->exec();
    delete window;
}

void TFPlugins::FormCreate()
{
    ListView1->setRowCount(0);
    m_newModules.clear();
    // The module list in use stays as it is: only the probe list learns the shared modules.
    ScanModules(sharedModuleFolder(), true);
    for (const TPluginSpec &shared : std::as_const(ProbeList())) {
        if (!isNew(shared))
            continue;
        m_newModules.append(shared);
        const int row = ListView1->rowCount();
        ListView1->insertRow(row);
        const QString texts[] = {shared.Name, shared.Description, shared.Version};
        for (int column = 0; column < 3; ++column) {
            auto *item = new QTableWidgetItem(texts[column]);
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            ListView1->setItem(row, column, item);
        }
    }
}

void TFPlugins::RxSpeedButton3Click()
{
    const QString own = ownModuleFolder();
    for (const TPluginSpec &module : std::as_const(m_newModules)) {
        QDir().mkpath(own);
        const QFileInfo library(module.FileName);
        // A failed copy is not reported: the scan below finds the old library again.
        ReplaceFile(module.FileName, own + library.fileName());
        // Its pictures go with it: the menus and lists take them from beside the library.
        const QDir folder(library.absolutePath());
        for (const QString &icon : folder.entryList({library.fileName() + QStringLiteral(".*.png")}, QDir::Files))
            ReplaceFile(folder.filePath(icon), own + icon);
        const QString settings = library.completeBaseName();
        const QString shared = library.absolutePath() + QLatin1Char('/') + settings;
        MergeModuleSettings(shared + QStringLiteral(".ini"), own + settings + QStringLiteral(".ini"),
                            shared + QStringLiteral("_upgrade.ini"));
    }
    ScanModules(own, false);
    QMenuBar *menu = m_mainWindow->menuBar();
    RemoveModuleMenus(menu);
    BuildModuleMenus(menu, m_onClick);
    accept();
}

void TFPlugins::showEvent(QShowEvent *event)
{
    // The main window is not on the screen yet during the start: then the screen's middle,
    // where it is going to be.
    const QRect around = m_mainWindow->isVisible() ? m_mainWindow->frameGeometry()
                                                   : m_mainWindow->screen()->availableGeometry();
    move(around.center() - QPoint(width() / 2, height() / 2));
    QDialog::showEvent(event);
}
