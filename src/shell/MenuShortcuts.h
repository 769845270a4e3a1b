#pragma once

#include <QKeySequence>
#include <QString>

class QAction;
class QMenuBar;

// Shortcuts are stored as the numeric codes of the original platform: the key's
// virtual-key code plus 8192 for Shift, 16384 for Ctrl and 32768 for Alt
// (Ctrl+X is 16472, F5 is 116). A key without such a code gives 0.
int ShortcutToCode(const QKeySequence &shortcut);
QKeySequence CodeToShortcut(int code);

// Menu entries added by the external-programs menu and the plug-in menus carry tags
// of 1000 and more; their shortcuts are stored under the tag, the others under "i;j",
// where i does not count the top-level menus made for modules (tags 2000-2999).
int MenuTag(const QAction *action);
// A menu caption as it reads, without its "&" marks.
QString WithoutAccelerators(QString caption);
void SetMenuTag(QAction *action, int tag);

// Gives an entry the shortcut it has when nothing is stored for it; a removed default
// shortcut is then stored too, so that it does not come back at the next start.
void SetDefaultShortcut(QAction *action, const QKeySequence &shortcut);

void SaveMenuShortcuts(QMenuBar *menu);
void LoadMenuShortcuts(QMenuBar *menu);
