#include "SubRecordList.h"

#include "FlatButton.h"
#include "PublicFunctions.h"
#include "RecordRowList.h"
#include "SectionPanel.h"
#include "UDataMod.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>

SubRecordList::SubRecordList(const Definition &definition, SectionPanel *section, const bool &windowReady, QObject *parent)
    : QObject(parent)
    , m_definition(definition)
    , m_windowReady(windowReady)
    , m_section(section)
{
    m_query = new Dataset(&DataMod->database(), QString(), this);
    m_query->setObjectName(QString::fromLatin1(definition.queryName));
    m_query->setSqlLines(definition.sqlLines);
    m_query->setUpdateTable(QString::fromLatin1(definition.table));
    connect(m_query, &Dataset::postError, this, [this](const DatabaseError &, Dataset::PostErrorAction *action) { postError(action); });

    QWidget *data = section->data();
    auto *layout = new QVBoxLayout(data);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    m_buttons = new QHBoxLayout;
    m_buttons->addStretch();
    layout->addLayout(m_buttons);
    m_list = new RecordRowList(m_query, [this](QWidget *row, DatasetBinder *binder) { buildRow(row, binder); }, data);
    m_list->setObjectName(QString::fromLatin1(definition.queryName) + QStringLiteral("List"));
    m_list->setRowsPerHeight(definition.pixelsPerRow, definition.minimumRows);
    layout->addWidget(m_list, 1);
    connect(m_list, &RecordRowList::doubleClicked, this, [this] { doubleClicked(); });
    connect(m_list, &RecordRowList::entered, this, &SubRecordList::refreshLookup);
    // Where the list is hidden, the section itself answers a double click.
    data->installEventFilter(this);
    m_list->setVisible(!definition.hiddenWhenEmpty);
}

FlatButton *SubRecordList::addButton(const char *name, const QString &caption, const QString &hint)
{
    auto *button = new FlatButton(caption, m_section->data());
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    button->setStatusTip(hint);
    button->setColours(FlatButton::schemeColours());
    m_buttons->addWidget(button);
    return button;
}

void SubRecordList::load(const QVariant &personId)
{
    m_query->checkBrowseMode();
    m_query->setParameter(QStringLiteral("IDOsebe"), personId);
    {
        const FrozenDisplay frozen{m_query};
        m_query->isOpen() ? m_query->requery() : m_query->open();
        afterOpen();
        m_query->first();
    }
}

void SubRecordList::save()
{
    m_query->checkBrowseMode();
}

QVariant SubRecordList::personId() const
{
    return m_query->parameter(QStringLiteral("IDOsebe"));
}

void SubRecordList::afterOpen()
{
    if (m_definition.hiddenWhenEmpty)
        m_list->setVisible(m_query->recordCount() > 0);
}

void SubRecordList::requeryAt(const QVariant &id)
{
    {
        const FrozenDisplay frozen{m_query};
        m_query->requery();
        afterOpen();
        m_query->locate(QStringLiteral("ID"), id);
    }
}

void SubRecordList::refreshLookup()
{
    if (m_definition.lookupTable)
        DataMod->RefreshIfChanged(QStringLiteral("FVeldra"), m_query, QStringLiteral("ID"), m_windowReady,
                                  QString::fromLatin1(m_definition.lookupTable));
}

void SubRecordList::deleteCurrent()
{
    if (!m_query->isOpen() || m_query->isEmpty())
        return;
    if (ShowMessageBox(tr("Ali resnično želite izbrisati vnos?"), 4) != 6)
        return;
    const QVariant id = m_query->value(QStringLiteral("ID"));
    if (id.isNull())
        return;
    m_query->checkBrowseMode();
    DataMod->ExecuteWork(QStringLiteral("DELETE * FROM %1 WHERE (ID=%2);").arg(QString::fromLatin1(m_definition.table)).arg(id.toLongLong()));
    {
        const FrozenDisplay frozen{m_query};
        m_query->requery();
        afterOpen();
        m_query->first();
    }
}

void SubRecordList::postError(Dataset::PostErrorAction *action)
{
    // An empty text the database refuses is tried again as null, one field at a time.
    for (const QString &field : std::as_const(m_definition.nullable)) {
        const QVariant value = m_query->value(field);
        if (!value.isNull() && value.typeId() == QMetaType::QString && value.toString().isEmpty()) {
            m_query->setValue(field, QVariant());
            *action = Dataset::PostErrorAction::Retry;
            return;
        }
    }
}

bool SubRecordList::eventFilter(QObject *watched, QEvent *event)
{
    // The event's type first: the filter also sees the events of the section's own
    // destruction, when it is no longer a SectionPanel to ask.
    if (event->type() == QEvent::MouseButtonDblClick && watched == m_section->data()) {
        doubleClicked();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
