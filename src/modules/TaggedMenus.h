#pragma once

#include <QString>

class QMenu;
class QMenuBar;

// The entries that the external programs and the modules hang into the main menu carry
// tags from ranges of their own (1000-1999 and 2000-2999), so that each can take out
// what it added and build it again.

// The top-level menu with that caption, "&" and letter case aside; made with the tag,
// just before the last top-level menu, when there is none.
QMenu *FindOrAddTopLevelMenu(QMenuBar *bar, const QString &caption, int tagWhenMade);

// Takes out the items directly below top-level menus tagged within the range, and the
// top-level menus so tagged. A tagged top-level menu that still holds entries of others
// stays, so that those are not lost with it.
void RemoveTaggedEntries(QMenuBar *bar, int firstTag, int lastTag);
