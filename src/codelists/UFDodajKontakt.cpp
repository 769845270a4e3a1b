#include "UFDodajKontakt.h"

#include "ContactKindComboBox.h"

TFDodajKontakt *FDodajKontakt = nullptr;

TFDodajKontakt::TFDodajKontakt(QWidget *parent)
    : EntryDialog(QStringLiteral("FDodajKontakt"), tr("Dodaj kontakt"), parent)
    , m_instance(FDodajKontakt, this)
{
    Edit1 = addNameField(tr("Naziv:"), tr("Naziv kontakta"));
    ComboBox1 = new ContactKindComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    addRow(tr("Vrsta:"), {ComboBox1});
}
