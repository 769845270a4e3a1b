#pragma once

#include <QList>
#include <QString>

#include <functional>

class QAction;
class QMenuBar;

// The programs and documents the user hangs into the main menu, kept in the section
// "Zunanji programi" of an INI file in the program's folder (always "Moduli.ini"),
// one line "<key>=<program path>;<group>;<caption>" each, in menu order.
struct ExternalProgram
{
    QString key;
    QString path;
    QString group;   // the top-level menu; "Programi" when empty
    QString caption; // the key when empty

    bool operator==(const ExternalProgram &) const = default;
};

// Every key line of the section in file order, duplicate keys included: each line is a
// menu item of its own, and its position gives the item's tag.
QList<ExternalProgram> ReadExternalPrograms(const QString &iniName);

// Rewrites the section with these entries in this order. A blank key or one already
// used (letter case aside) gets a key of its own, so that no entry hides another; a
// renamed entry without a caption keeps its old key as caption. Returns what was written.
// Throws IniWriteError when the file cannot be written.
QList<ExternalProgram> WriteExternalPrograms(const QString &iniName, const QList<ExternalProgram> &entries);

// Adds an item per line: tag 1100 + line, hint and icon from the program path, under
// the top-level menu of its group (found without regard to "&" and case, else made
// with tag 1000 + line, just before the last top-level menu).
void BuildProgramMenus(const QString &iniName, QMenuBar *menu, const std::function<void(QAction *)> &onClick);
// Removes the items directly below top-level menus tagged 1000-1999, and the top-level
// menus so tagged unless entries of others (a module's) are still in them.
void RemoveProgramMenus(QMenuBar *menu);

// Starts the program of the item with that tag (1100-1199), reading the section again;
// false, without a word, when there is no such line or its file does not exist.
bool StartExternalProgram(const QString &iniName, int tag);

// The main window's handler for a click on an external-program item, for
// BuildProgramMenus from "Moduli.ini" (at the window's creation and after the settings).
void ZunanjiProgramiClick(QAction *item);
