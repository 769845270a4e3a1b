#include "ModuleHost.h"

#include "FileIcon.h"
#include "LibraryCalls.h"
#include "MenuShortcuts.h"
#include "PublicFunctions.h"
#include "TaggedMenus.h"

#include <veldra/module.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLibrary>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QWidget>

namespace {

constexpr int MenuTags = 2000;
constexpr int ItemTags = 2100;
// A reply longer than this is no reply a module means to give.
constexpr std::size_t LongestText = 1 << 20;

QString informationText(QLibrary &library, const char *exportName)
{
    const auto function = reinterpret_cast<VeldraTextFunction>(library.resolve(exportName));
    QString text;
    if (function)
        CallGuarded([&] { text = CopyLibraryText(function(), LongestText); });
    return text;
}

// The module's library, loaded on first use and kept loaded.
QLibrary *loadedLibrary(const QString &moduleName)
{
    const int index = FindModule(moduleName);
    if (index < 0)
        return nullptr;
    TPluginSpec &module = ModuleList()[index];
    if (!module.Handle) {
        auto library = std::make_shared<QLibrary>(module.FileName);
        if (!library->load())
            return nullptr;
        module.Handle = std::move(library);
    }
    return module.Handle.get();
}

template<typename Function>
Function moduleExport(const QString &moduleName, const char *exportName)
{
    QLibrary *library = loadedLibrary(moduleName);
    return library ? reinterpret_cast<Function>(library->resolve(exportName)) : nullptr;
}

bool childOf(const QString &moduleName, QWidget **child)
{
    const auto getChild = moduleExport<VeldraGetChildFunction>(moduleName, "GetChild");
    if (!getChild)
        return false;
    void *window = nullptr;
    int given = 0;
    if (!CallGuarded([&] { given = getChild(&window); }) || !given || !window)
        return false;
    *child = static_cast<QWidget *>(window);
    return true;
}

// "<caption>,<hint>,<icon number>": an icon for a whole number of 0 or more.
QIcon subItemIcon(const TPluginSpec &module, const QString &number)
{
    bool ok = false;
    const int icon = number.trimmed().toInt(&ok);
    return ok && icon >= 0 ? GetFileIcon(module.FileName, icon) : QIcon();
}

void addModuleMenu(QMenuBar *mainMenu, int i, const std::function<void(QAction *)> &onClick)
{
    TPluginSpec &module = ModuleList()[i];
    if (module.MainMenu.isEmpty())
        return;
    QMenu *top = FindOrAddTopLevelMenu(mainMenu, module.MainMenu, MenuTags + i);
    if (module.SubMenu.isEmpty())
        return;
    const qsizetype slash = module.SubMenu.indexOf(QLatin1Char('/'));
    const QString caption = slash < 0 ? module.SubMenu : module.SubMenu.left(slash);
    const QString subItems = slash < 0 ? QString() : module.SubMenu.mid(slash + 1);
    const int tag = ItemTags + i;
    module.MenuTag = tag;
    const auto connectClick = [&onClick](QAction *item) {
        if (onClick)
            QObject::connect(item, &QAction::triggered, item, [item, onClick] { onClick(item); });
    };

    QList<QAction *> entries;
    for (int k = 1;; ++k) {
        const QString entry = GetToken(subItems, QStringLiteral(";"), k);
        if (entry.isEmpty())
            break;
        auto *item = new QAction(GetToken(entry, QStringLiteral(","), 1));
        item->setStatusTip(GetToken(entry, QStringLiteral(","), 2));
        item->setIcon(subItemIcon(module, GetToken(entry, QStringLiteral(","), 3)));
        SetMenuTag(item, tag);
        connectClick(item);
        entries.append(item);
    }

    QAction *moduleItem = nullptr;
    if (entries.isEmpty()) {
        moduleItem = new QAction(caption, top);
        connectClick(moduleItem);
        top->addAction(moduleItem);
    } else {
        // With sub-items the module's item only opens them.
        auto *own = new QMenu(caption, top);
        for (QAction *entry : std::as_const(entries)) {
            entry->setParent(own);
            own->addAction(entry);
        }
        moduleItem = top->addMenu(own);
    }
    moduleItem->setStatusTip(module.Description);
    moduleItem->setIcon(GetFileIcon(module.FileName, 0));
    SetMenuTag(moduleItem, tag);
}

}

QList<TPluginSpec> &ModuleList()
{
    static QList<TPluginSpec> modules;
    return modules;
}

QList<TPluginSpec> &ProbeList()
{
    static QList<TPluginSpec> probes;
    return probes;
}

void ScanModules(const QString &folder, bool probeOnly)
{
    QList<TPluginSpec> &probes = ProbeList();
    probes.clear();
    const QDir directory(folder);
    const QStringList files = LibraryFiles(directory);
    for (const QString &file : files) {
        QLibrary library(directory.filePath(file));
        if (!library.load())
            continue;
        TPluginSpec module;
        module.FileName = directory.filePath(file);
        module.MainMenu = informationText(library, "GetMainMeni");
        module.SubMenu = informationText(library, "GetSubMeni");
        module.Description = informationText(library, "GetDescription");
        module.Name = informationText(library, "GetName");
        module.Version = informationText(library, "GetVersion");
        module.OtherData = informationText(library, "GetOtherData");
        module.MenuTag = 0;
        library.unload();
        probes.append(module);
    }
    if (!probeOnly)
        ModuleList() = probes;
}

int FindModule(const QString &name)
{
    const QList<TPluginSpec> &modules = ModuleList();
    for (int i = 0; i < modules.size(); ++i)
        if (modules[i].Name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool IsLinkModule(const TPluginSpec &module)
{
    return module.Name.startsWith(QLatin1String("VELDRAPOVEZAVA"), Qt::CaseInsensitive)
        && !module.OtherData.trimmed().isEmpty();
}

QString ExecuteModuleCommand(QWidget *ownerForm, QWidget *parentControl, const QString &moduleName,
                             const QString &command, const QString &defaultReply)
{
    const auto execute = moduleExport<VeldraExecuteAdvancedFunction>(moduleName, "ExecuteAdvanced");
    if (!execute)
        return defaultReply;
    QScreen *screen = ownerForm ? ownerForm->screen() : QGuiApplication::primaryScreen();
    const QByteArray text = command.toUtf8();
    const char *reply = nullptr;
    if (!CallGuarded([&] { reply = execute(qApp, screen, ownerForm, parentControl, text.constData()); }))
        return defaultReply;
    // A null pointer is the module giving no reply, not an empty one.
    return reply ? CopyLibraryText(reply, LongestText) : defaultReply;
}

bool GetModuleChild(QWidget *ownerForm, QWidget *parentControl, const QString &moduleName, QWidget **child)
{
    if (childOf(moduleName, child))
        return true;
    if (!moduleExport<VeldraGetChildFunction>(moduleName, "GetChild"))
        return false;
    ExecuteModuleCommand(ownerForm, parentControl, moduleName, QStringLiteral("CREATECHILD"));
    return childOf(moduleName, child);
}

bool RefreshModuleChild(const QString &moduleName, const QString &command)
{
    const auto refresh = moduleExport<VeldraRefreshChildFunction>(moduleName, "RefreshChild");
    if (!refresh)
        return false;
    const QByteArray text = command.toUtf8();
    CallGuarded([&] { refresh(text.constData()); });
    return true;
}

void BuildModuleMenus(QMenuBar *mainMenu, const std::function<void(QAction *)> &onClick)
{
    for (int i = 0; i < ModuleList().size(); ++i)
        addModuleMenu(mainMenu, i, onClick);
}

void RemoveModuleMenus(QMenuBar *mainMenu)
{
    RemoveTaggedEntries(mainMenu, MenuTags, MenuTags + 999);
}

bool SendMenuCommand(int tag, const QString &caption, const QString &personId, QWidget *mainWindow)
{
    for (const TPluginSpec &module : std::as_const(ModuleList())) {
        if (module.MenuTag != tag)
            continue;
        const QString command = QStringLiteral("FROMMENI;") + caption + QLatin1Char(';') + personId;
        return ExecuteModuleCommand(mainWindow, mainWindow, module.Name, command) == QLatin1String("OK");
    }
    return false;
}

void CloseModules()
{
    for (TPluginSpec &module : ModuleList()) {
        if (!module.Handle || !module.Handle->isLoaded())
            continue;
        if (const auto close = reinterpret_cast<VeldraCloseFunction>(module.Handle->resolve("Close")))
            CallGuarded(close);
        // The code stays mapped to the end of the process: objects the module made may
        // still be deleted by Qt after this.
        module.Handle.reset();
    }
    ModuleList().clear();
    ProbeList().clear();
}
