#pragma once

#include <QString>

// Shortcuts as the desktop knows them (freedesktop desktop entries): a .desktop file on
// the desktop, and one in a group of the applications menu, the group made with a
// .directory file and a .menu file merged into the user's applications menu.

struct Shortcut
{
    QString Program;       // the program it starts
    QString Description;   // the product name
    QString WorkingFolder; // the chosen program folder
};

// The shortcut file's name for a product: "Korvan <name>.desktop".
QString ShortcutFileName(const QString &productName);

// Writes (or replaces) the shortcut file; false when it cannot be written.
bool WriteShortcut(const QString &file, const Shortcut &shortcut);

// The user's desktop folder, ending with "/".
QString DesktopFolder();

// Makes the group in the user's applications menu (its folder below
// $XDG_DATA_HOME/applications, its .directory and its .menu) and returns the group's
// folder, ending with "/", for the shortcut file; the .menu includes that file by its
// desktop-file id. Empty when the group cannot be made.
QString CreateMenuGroup(const QString &groupName, const QString &shortcutFileName);
