#include "UFDodajKategorijo.h"

TFDodajKategorijo *FDodajKategorijo = nullptr;

TFDodajKategorijo::TFDodajKategorijo(QWidget *parent)
    : EntryDialog(QStringLiteral("FDodajKategorijo"), tr("Dodaj kategorijo"), parent)
    , m_instance(FDodajKategorijo, this)
{
    Edit1 = addNameField(tr("Naziv:"), tr("Naziv kategorije"));
}
