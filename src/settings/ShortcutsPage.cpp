#include "ShortcutsPage.h"

#include "HotKeyEdit.h"
#include "MenuShortcuts.h"

#include <QAction>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTreeWidget>

namespace {

constexpr int NodeRole = Qt::UserRole;

// Separators and the entries the program and module menus add are no commands to bind.
bool isCommand(const QAction *item)
{
    return !item->isSeparator() && item->text() != QLatin1String("-") && MenuTag(item) < 1000;
}

}

ShortcutsPage::ShortcutsPage(QMenuBar *mainMenu, QWidget *parent)
    : QWidget(parent)
    , m_mainMenu(mainMenu)
{
    setObjectName(QStringLiteral("TabSheet1"));
    TreeView1 = new QTreeWidget(this);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setToolTip(tr("Možni ukazi"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setToolTip(tr("Ime ukaza"));
    Label1->setTextFormat(Qt::PlainText);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);

    HotKey1 = new HotKeyEdit(this);
    HotKey1->setObjectName(QStringLiteral("HotKey1"));
    HotKey1->setToolTip(tr("Bližnjica, ki sproži ukaz"));
    HotKey1->setClearButtonEnabled(true);
    HotKey1->setEnabled(false);
    auto *caption = new QLabel(tr("Bližnjica:"), this);
    caption->setBuddy(HotKey1);

    auto *layout = new QGridLayout(this);
    layout->addWidget(TreeView1, 0, 0, 1, 2);
    layout->addWidget(Label1, 1, 0, 1, 2);
    layout->addWidget(caption, 2, 0);
    layout->addWidget(HotKey1, 2, 1);
    layout->setColumnStretch(1, 1);

    fill();
    TreeView1->expandAll();
    connect(TreeView1, &QTreeWidget::currentItemChanged, this, &ShortcutsPage::showSelected);
    connect(HotKey1, &QKeySequenceEdit::keySequenceChanged, this, &ShortcutsPage::takeShortcut);
}

void ShortcutsPage::fill()
{
    const QList<QAction *> topLevel = m_mainMenu->actions();
    for (int i = 0; i < topLevel.size(); ++i) {
        if (!isCommand(topLevel[i]))
            continue;
        QTreeWidgetItem *root = addNode(nullptr, topLevel[i], i, -1);
        if (!topLevel[i]->menu())
            continue;
        const QList<QAction *> entries = topLevel[i]->menu()->actions();
        for (int j = 0; j < entries.size(); ++j)
            if (isCommand(entries[j]))
                addNode(root, entries[j], i, j);
    }
}

QTreeWidgetItem *ShortcutsPage::addNode(QTreeWidgetItem *parent, QAction *item, int i, int j)
{
    m_nodes.append({ShortcutToCode(item->shortcut()), i, j, item->text(), item});
    auto *node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(TreeView1);
    node->setText(0, WithoutAccelerators(item->text()));
    node->setIcon(0, item->icon());
    node->setData(0, NodeRole, int(m_nodes.size() - 1));
    return node;
}

ShortcutsPage::Node *ShortcutsPage::selectedNode()
{
    const QTreeWidgetItem *current = TreeView1->currentItem();
    return current ? &m_nodes[current->data(0, NodeRole).toInt()] : nullptr;
}

void ShortcutsPage::showSelected()
{
    const Node *node = selectedNode();
    Label1->setText(node ? WithoutAccelerators(node->caption) : QString());
    const bool subItem = node && node->j >= 0;
    // The field shows the node's shortcut without handing it back as a change.
    const QSignalBlocker quiet(HotKey1);
    HotKey1->setKeySequence(subItem ? CodeToShortcut(node->shortcut) : QKeySequence());
    HotKey1->setEnabled(subItem);
}

void ShortcutsPage::takeShortcut()
{
    if (Node *node = selectedNode(); node && node->j >= 0)
        node->shortcut = ShortcutToCode(HotKey1->keySequence());
}

void ShortcutsPage::store()
{
    for (const Node &node : std::as_const(m_nodes))
        if (node.j >= 0 && node.item)
            node.item->setShortcut(CodeToShortcut(node.shortcut));
    SaveMenuShortcuts(m_mainMenu);
}
