#pragma once

#include "EntryDialog.h"
#include "SoleInstance.h"

class ContactKindComboBox;
class QLineEdit;

// "Dodaj kontakt": the name and kind of a new contact type.
class TFDodajKontakt : public EntryDialog
{
    Q_OBJECT
public:
    explicit TFDodajKontakt(QWidget *parent = nullptr);

    QLineEdit *Edit1;
    ContactKindComboBox *ComboBox1;

private:
    SoleInstance<TFDodajKontakt> m_instance;
};

extern TFDodajKontakt *FDodajKontakt;
