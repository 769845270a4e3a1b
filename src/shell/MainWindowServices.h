#pragma once

#include <QString>

#include <functional>
#include <map>
#include <optional>

class QMenuBar;
class QWidget;

// What later layers add to the main window; the composition root fills it in.
// An empty entry does nothing.
struct MainWindowServices
{
    using WindowFactory = std::function<QWidget *()>;

    std::function<void()> createLauncherShortcuts;
    std::function<void(QMenuBar *)> buildExternalProgramsMenu;
    std::function<void(QMenuBar *)> buildPluginMenus;
    std::function<void()> destroyPluginChildWindows;
    // Fills the web information panel; firstTime is false for the periodic refresh.
    std::function<void(QWidget *panel, bool firstTime)> fillWebPanel;
    std::function<void()> showSettingsWindow;
    // Asked first when the user closes the program: false keeps it open (other programs
    // still using it, say).
    std::function<bool()> mayClose;
    std::function<void()> showAboutWindow;
    // "Uvoz ..." and "Izvoz ...": persons from and to the files of other address books.
    std::function<void()> importPersons;
    std::function<void()> exportPersons;
    // The number of persons after a fresh read, for the usage figures.
    std::function<std::optional<int>()> countPersons;
    // Child windows opened by name ("FKraji", ...); names are compared without regard to case.
    std::map<QString, WindowFactory> childWindows;
};
