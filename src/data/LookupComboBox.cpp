#include "LookupComboBox.h"

#include "Dataset.h"

#include <QAbstractListModel>
#include <QListView>
#include <QSignalBlocker>

// The entries of the list: the optional entry for none, then the lookup's rows. The count
// is taken when the rows are read, so that the list never sees rows come and go unannounced.
class LookupListModel : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    Dataset *lookup = nullptr;
    QString keyField;
    QStringList displayFields;
    QString emptyText;

    void reread()
    {
        beginResetModel();
        m_key = lookup ? lookup->fieldIndex(keyField) : -1;
        m_display.clear();
        for (const QString &name : std::as_const(displayFields))
            m_display << (lookup ? lookup->fieldIndex(name) : -1);
        m_rows = lookup && lookup->isOpen() ? lookup->recordCount() : 0;
        endResetModel();
    }

    int firstRow() const { return emptyText.isEmpty() ? 0 : 1; }

    // The position of the entry with that key, or -1.
    int rowOf(qint64 key) const
    {
        const int recNo = lookup && m_rows > 0 ? lookup->recNoOf(keyField, key) : 0;
        return recNo > 0 && recNo <= m_rows ? firstRow() + recNo - 1 : -1;
    }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : firstRow() + m_rows;
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        const int recNo = index.row() - firstRow() + 1;
        if (recNo < 1)
            return role == Qt::DisplayRole || role == Qt::EditRole ? QVariant(emptyText) : QVariant();
        if (!lookup || !lookup->isOpen() || recNo > lookup->recordCount())
            return {};
        if (role == Qt::UserRole)
            return lookup->valueAt(recNo, m_key);
        if (role != Qt::DisplayRole && role != Qt::EditRole)
            return {};
        QStringList parts;
        for (const int field : m_display)
            parts << lookup->valueAt(recNo, field).toString();
        return parts.join(QLatin1Char(' ')).trimmed();
    }

private:
    int m_key = -1;
    QList<int> m_display;
    int m_rows = 0;
};

LookupComboBox::LookupComboBox(QWidget *parent)
    : QComboBox(parent)
    , m_model(new LookupListModel(this))
{
    setMaxVisibleItems(16);
    // Measuring every entry for the width would read them all.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setModel(m_model);
    if (auto *list = qobject_cast<QListView *>(view()))
        list->setUniformItemSizes(true);
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) { m_key = itemData(index); });
}

Dataset *LookupComboBox::lookup() const
{
    return m_model->lookup;
}

void LookupComboBox::setLookup(Dataset *lookup, const QString &keyField, const QStringList &displayFields, const QString &emptyText)
{
    if (m_model->lookup)
        disconnect(m_model->lookup, nullptr, this, nullptr);
    m_model->lookup = lookup;
    m_model->keyField = keyField;
    m_model->displayFields = displayFields;
    m_model->emptyText = emptyText;
    {
        const QSignalBlocker blocker(this);
        m_model->reread();
    }
    setCurrentKey(QVariant());
    connect(lookup, &Dataset::rowsReset, this, [this] {
        // Read again means closed, then opened: the list waits for the rows, keeping its choice.
        if (!m_model->lookup->isOpen())
            return;
        {
            const QSignalBlocker blocker(this);
            m_model->reread();
        }
        setCurrentKey(m_key);
    });
}

QVariant LookupComboBox::currentKey() const
{
    return m_key;
}

void LookupComboBox::setCurrentKey(const QVariant &key)
{
    const QSignalBlocker blocker(this);
    if (key.isNull())
        setCurrentIndex(m_model->emptyText.isEmpty() ? -1 : 0);
    else
        setCurrentIndex(m_model->rowOf(key.toLongLong()));
    m_key = itemData(currentIndex());
}

void LookupComboBox::focusInEvent(QFocusEvent *event)
{
    Q_EMIT entered();
    QComboBox::focusInEvent(event);
}
