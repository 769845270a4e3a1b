#pragma once

#include <QPointer>
#include <QWidget>

class QAction;
class HotKeyEdit;
class QLabel;
class QMenuBar;
class QTreeWidget;
class QTreeWidgetItem;

// The settings page "Bližnjice": the main menu's commands as a tree, and the shortcut
// of the one selected. Shortcuts change in the page's nodes and reach the menu on store().
class ShortcutsPage : public QWidget
{
    Q_OBJECT
public:
    ShortcutsPage(QMenuBar *mainMenu, QWidget *parent = nullptr);

    // Gives the menu's sub-items the nodes' shortcuts and stores them for the next start.
    void store();

    QTreeWidget *TreeView1;
    QLabel *Label1;
    HotKeyEdit *HotKey1;

private:
    // One command of the menu; index j is -1 for a top-level item.
    struct Node
    {
        int shortcut = 0;
        int i = -1;
        int j = -1;
        QString caption;
        // The item itself: program and module menus may move it to other indexes later.
        QPointer<QAction> item;
    };

    void fill();
    QTreeWidgetItem *addNode(QTreeWidgetItem *parent, QAction *item, int i, int j);
    Node *selectedNode();
    void showSelected();
    void takeShortcut();

    QMenuBar *m_mainMenu;
    QList<Node> m_nodes;
};
