#include "TaggedMenus.h"

#include "MenuShortcuts.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

QMenu *FindOrAddTopLevelMenu(QMenuBar *bar, const QString &caption, int tagWhenMade)
{
    const QString wanted = WithoutAccelerators(caption);
    const QList<QAction *> topLevel = bar->actions();
    for (QAction *action : topLevel)
        if (action->menu() && WithoutAccelerators(action->text()).compare(wanted, Qt::CaseInsensitive) == 0)
            return action->menu();
    auto *menu = new QMenu(caption, bar);
    SetMenuTag(menu->menuAction(), tagWhenMade);
    if (topLevel.isEmpty())
        bar->addMenu(menu);
    else
        bar->insertMenu(topLevel.last(), menu);
    return menu;
}

void RemoveTaggedEntries(QMenuBar *bar, int firstTag, int lastTag)
{
    const auto tagged = [firstTag, lastTag](const QAction *action) {
        const int tag = MenuTag(action);
        return tag >= firstTag && tag <= lastTag;
    };
    const QList<QAction *> topLevel = bar->actions();
    for (QAction *action : topLevel) {
        QMenu *submenu = action->menu();
        if (submenu) {
            const QList<QAction *> entries = submenu->actions();
            for (QAction *entry : entries) {
                if (!tagged(entry))
                    continue;
                submenu->removeAction(entry);
                // An entry with items of its own is the action of a menu made for it.
                if (QMenu *own = entry->menu(); own && own->parent() == submenu)
                    own->deleteLater();
                else if (entry->parent() == submenu)
                    entry->deleteLater();
            }
        }
        if (!tagged(action) || (submenu && !submenu->actions().isEmpty()))
            continue;
        bar->removeAction(action);
        if (submenu && submenu->parent() == bar)
            submenu->deleteLater();
    }
}
