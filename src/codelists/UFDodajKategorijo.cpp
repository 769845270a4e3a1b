#include "UFDodajKategorijo.h"

#include <QLineEdit>

TFDodajKategorijo *FDodajKategorijo = nullptr;

TFDodajKategorijo::TFDodajKategorijo(QWidget *parent)
    : EntryDialog(QStringLiteral("FDodajKategorijo"), tr("Dodaj kategorijo"), parent)
    , m_instance(FDodajKategorijo, this)
{
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setToolTip(tr("Naziv kategorije"));
    Edit1->setMinimumWidth(220);
    addRow(tr("Naziv:"), {Edit1});
    setFirstField(Edit1);
}

bool TFDodajKategorijo::canConfirm() const
{
    return !Edit1->text().trimmed().isEmpty();
}
