#include "TypeLookup.h"

#include "FlatButton.h"
#include "LookupComboBox.h"
#include "PublicFunctions.h"
#include "UDataMod.h"

#include <QEvent>
#include <QHBoxLayout>

TypeLookup::TypeLookup(const Definition &definition, QWidget *parent)
    : QWidget(parent)
    , m_definition(definition)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_combo = new LookupComboBox(this);
    m_combo->setObjectName(QString::fromLatin1(definition.comboName));
    m_combo->setMinimumWidth(180);
    m_combo->setLookup(definition.types, definition.keyField, {definition.nameField});
    auto *addButton = new FlatButton(tr("Nov"), this);
    addButton->setObjectName(QString::fromLatin1(definition.buttonName));
    addButton->setToolTip(tr("Dodaj/kreiraj nov vnos"));
    StyleButtons(this);
    layout->addWidget(m_combo, 1);
    layout->addWidget(addButton);
    setFocusProxy(m_combo);
    connect(m_combo, &LookupComboBox::entered, this, [this] { refresh(true); });
    connect(m_combo, &QComboBox::activated, this, &TypeLookup::chosen);
    connect(addButton, &FlatButton::clicked, this, &TypeLookup::addType);
    refresh(false);
    // The dialog coming to the front reads the types again too.
    if (parent)
        parent->window()->installEventFilter(this);
}

bool TypeLookup::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::WindowActivate && watched == window())
        refresh(true);
    return QWidget::eventFilter(watched, event);
}

int TypeLookup::chosenType() const
{
    return VariantToInt(m_combo->currentKey());
}

void TypeLookup::choose(const QVariant &type)
{
    m_combo->setCurrentKey(type);
}

void TypeLookup::refresh(bool reopen)
{
    DataMod->RefreshIfChanged(m_definition.windowName, m_definition.types, QString(), reopen, m_definition.table);
}

void TypeLookup::addType()
{
    const int id = m_definition.add();
    if (id <= 0)
        return;
    // Twice: the first reading may only note the change the quick-add made.
    refresh(true);
    refresh(true);
    m_combo->setCurrentKey(id);
    Q_EMIT chosen();
}
