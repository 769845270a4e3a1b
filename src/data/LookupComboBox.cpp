#include "LookupComboBox.h"

#include "Dataset.h"

#include <QSignalBlocker>

LookupComboBox::LookupComboBox(QWidget *parent)
    : QComboBox(parent)
{
    setMaxVisibleItems(16);
}

void LookupComboBox::setLookup(Dataset *lookup, const QString &keyField, const QStringList &displayFields, const QString &emptyText)
{
    if (m_lookup)
        disconnect(m_lookup, nullptr, this, nullptr);
    m_lookup = lookup;
    m_keyField = keyField;
    m_displayFields = displayFields;
    m_emptyText = emptyText;
    fill();
    connect(lookup, &Dataset::rowsReset, this, [this] {
        // Read again means closed, then opened: the list waits for the rows, keeping its choice.
        if (!m_lookup->isOpen())
            return;
        const QVariant chosen = currentKey();
        fill();
        setCurrentKey(chosen);
    });
}

void LookupComboBox::fill()
{
    const QSignalBlocker blocker(this);
    clear();
    m_positions.clear();
    if (!m_emptyText.isEmpty())
        addItem(m_emptyText, QVariant());
    if (!m_lookup || !m_lookup->isOpen())
        return;
    const int key = m_lookup->fieldIndex(m_keyField);
    QList<int> display;
    for (const QString &name : std::as_const(m_displayFields))
        display << m_lookup->fieldIndex(name);
    QStringList texts;
    for (int recNo = 1; recNo <= m_lookup->recordCount(); ++recNo) {
        QStringList parts;
        for (int f : std::as_const(display))
            parts << m_lookup->valueAt(recNo, f).toString();
        texts << parts.join(QLatin1Char(' ')).trimmed();
    }
    const int first = count();
    addItems(texts);
    for (int recNo = 1; recNo <= m_lookup->recordCount(); ++recNo) {
        const QVariant value = m_lookup->valueAt(recNo, key);
        setItemData(first + recNo - 1, value);
        m_positions.insert(value.toLongLong(), first + recNo - 1);
    }
}

QVariant LookupComboBox::currentKey() const
{
    return currentIndex() < 0 ? QVariant() : itemData(currentIndex());
}

void LookupComboBox::setCurrentKey(const QVariant &key)
{
    const QSignalBlocker blocker(this);
    if (key.isNull())
        setCurrentIndex(m_emptyText.isEmpty() ? -1 : 0);
    else
        setCurrentIndex(m_positions.value(key.toLongLong(), -1));
}

void LookupComboBox::focusInEvent(QFocusEvent *event)
{
    Q_EMIT entered();
    QComboBox::focusInEvent(event);
}
