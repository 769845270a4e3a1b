#pragma once

#include <QComboBox>

class Dataset;
class LookupListModel;

// A list of the rows of a lookup dataset: each entry shows some fields of a row (joined by
// a blank) and stands for the row's key. With an empty text the list begins with an
// entry for none. When the lookup is read again the list follows, keeping its choice.
// The entries are read from the lookup as the list shows them, so that a list of many
// thousand companies costs no copy of them.
class LookupComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit LookupComboBox(QWidget *parent = nullptr);

    void setLookup(Dataset *lookup, const QString &keyField, const QStringList &displayFields, const QString &emptyText = QString());
    Dataset *lookup() const;

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
    LookupListModel *m_model;
    // Kept apart from the entries: while the lookup is read again they are gone.
    QVariant m_key;
};
