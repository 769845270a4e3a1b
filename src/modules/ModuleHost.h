#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <memory>

class QAction;
class QLibrary;
class QMenuBar;
class QWidget;

// One plug-in module as a scan found it. The texts are the module's own answers,
// copied; an export the library lacks leaves its text empty.
struct TPluginSpec
{
    QString FileName;
    QString Name;
    QString Description;
    QString Version;
    QString MainMenu;
    QString SubMenu;
    QString OtherData;
    int MenuTag = 0;
    // The loaded library, shared by the copies of an entry; none while not loaded.
    std::shared_ptr<QLibrary> Handle;
};

// The modules in use (menus, commands and the person window work with these) and the
// result of the latest scan of any folder (the module manager looks at the shared one).
QList<TPluginSpec> &ModuleList();
QList<TPluginSpec> &ProbeList();

// Scans the folder's libraries (the platform's suffix) into the probe list, and, unless
// probeOnly, makes the module list a copy of it. A file that does not load is skipped;
// no module stays loaded.
void ScanModules(const QString &folder, bool probeOnly);
// The first module of the list with that name, letter case aside, or -1.
int FindModule(const QString &name);

// A link module: its name begins with "VELDRAPOVEZAVA" and it has other data.
bool IsLinkModule(const TPluginSpec &module);

// Sends the command to the module, loading it on first use, and returns its reply;
// defaultReply when there is no such module, it cannot take commands, it gives no reply
// (a null pointer) or it throws.
QString ExecuteModuleCommand(QWidget *ownerForm, QWidget *parentControl, const QString &moduleName,
                             const QString &command, const QString &defaultReply = QString());
// The module's child window, made through "CREATECHILD" when it has none yet.
bool GetModuleChild(QWidget *ownerForm, QWidget *parentControl, const QString &moduleName, QWidget **child);
// Hands the command to the module's child window; false when it has no way to take it.
bool RefreshModuleChild(const QString &moduleName, const QString &command);

// Adds every module's menu to the main menu: tags 2000 + i for a top-level menu made for
// module i, 2100 + i for its item and sub-items, which call onClick.
void BuildModuleMenus(QMenuBar *mainMenu, const std::function<void(QAction *)> &onClick);
// Takes out what BuildModuleMenus added.
void RemoveModuleMenus(QMenuBar *mainMenu);
// Sends "FROMMENI;<caption>;<person ID>" to the module whose item carries the tag; true
// when it answered "OK".
bool SendMenuCommand(int tag, const QString &caption, const QString &personId, QWidget *mainWindow);

// At the end of the run: each loaded module's "Close", then unloading; a module that
// fails here is passed over. Both lists are emptied.
void CloseModules();

// The application property under which a module finds the name of the program's database
// connection (QSqlDatabase::database(name)).
inline constexpr auto DatabaseConnectionProperty = "veldraDatabaseConnection";
