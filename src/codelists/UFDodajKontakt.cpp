#include "UFDodajKontakt.h"

#include "ContactKindComboBox.h"

#include <QLineEdit>

TFDodajKontakt *FDodajKontakt = nullptr;

TFDodajKontakt::TFDodajKontakt(QWidget *parent)
    : EntryDialog(QStringLiteral("FDodajKontakt"), tr("Dodaj kontakt"), parent)
    , m_instance(FDodajKontakt, this)
{
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setToolTip(tr("Naziv kontakta"));
    Edit1->setMinimumWidth(220);
    addRow(tr("Naziv:"), {Edit1});
    ComboBox1 = new ContactKindComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    addRow(tr("Vrsta:"), {ComboBox1});
    setFirstField(Edit1);
}

bool TFDodajKontakt::canConfirm() const
{
    return !Edit1->text().trimmed().isEmpty();
}
