#pragma once

#include <QWidget>

#include <functional>

class Dataset;
class FlatButton;
class LookupComboBox;

// The choice of a sub-record's type in its dialog: the list of the types, read again
// when the types changed elsewhere (when the dialog is made, comes to the front or the
// list is entered), and "Nov" beside it, which adds a type and chooses it.
class TypeLookup : public QWidget
{
    Q_OBJECT
public:
    struct Definition
    {
        const char *comboName;
        const char *buttonName;
        QString windowName; // whose reading of the types is remembered
        Dataset *types;
        QString keyField;
        QString nameField;
        QString table;
        std::function<int()> add; // the quick-add dialog: the new type's key, or 0
    };

    TypeLookup(const Definition &definition, QWidget *parent = nullptr);

    LookupComboBox *combo() const { return m_combo; }
    // The chosen type's key, 0 for none.
    int chosenType() const;
    void choose(const QVariant &type);
    // Reads the types again when they changed; reopen false only notes the reading.
    void refresh(bool reopen);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

Q_SIGNALS:
    // The user chose a type, from the list or by adding one.
    void chosen();

private:
    void addType();

    Definition m_definition;
    LookupComboBox *m_combo;
};
