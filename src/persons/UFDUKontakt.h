#pragma once

#include "EntryDialog.h"
#include "SoleInstance.h"

class LookupComboBox;
class QLineEdit;
class TypeLookup;

// "Dodaj / uredi kontakt": a person's contact, its type and its value. Confirming waits
// for both; "Nov" adds a contact type and chooses it.
class TFDUKontakt : public EntryDialog
{
    Q_OBJECT
public:
    explicit TFDUKontakt(QWidget *parent = nullptr);

    // Shows the dialog with the caption and presets; true when the user confirmed.
    bool ask(const QString &caption, const QVariant &type, const QString &value);
    // The chosen type's key, 0 for none.
    int contactType() const;
    QString value() const;

    LookupComboBox *DBLookupComboBox1;
    QLineEdit *Edit1;

protected:
    bool canConfirm() const override;

private:
    TypeLookup *m_types;
    SoleInstance<TFDUKontakt> m_instance;
};

extern TFDUKontakt *FDUKontakt;
