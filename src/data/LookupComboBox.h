#pragma once

#include <QComboBox>
#include <QHash>

class Dataset;

// A list of the rows of a lookup dataset: each entry shows some fields of a row (joined by
// a blank) and stands for the row's key. With an empty text the list begins with an
// entry for none. When the lookup is read again the list follows, keeping its choice
// (while the lookup is closed the list stays as it was).
class LookupComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit LookupComboBox(QWidget *parent = nullptr);

    void setLookup(Dataset *lookup, const QString &keyField, const QStringList &displayFields, const QString &emptyText = QString());
    Dataset *lookup() const { return m_lookup; }

    // The chosen row's key; null when none is chosen.
    QVariant currentKey() const;
    // Chooses the row with that key; a null or unknown key chooses none.
    void setCurrentKey(const QVariant &key);

Q_SIGNALS:
    // The list got the focus: the moment to read its lookup again when it changed.
    void entered();

protected:
    void focusInEvent(QFocusEvent *event) override;

private:
    void fill();

    Dataset *m_lookup = nullptr;
    QString m_keyField;
    QStringList m_displayFields;
    QString m_emptyText;
    QHash<qint64, int> m_positions; // a list can hold thousands of companies
};
