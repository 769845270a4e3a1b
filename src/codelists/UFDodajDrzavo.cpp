#include "UFDodajDrzavo.h"

TFDodajDrzavo *FDodajDrzavo = nullptr;

TFDodajDrzavo::TFDodajDrzavo(QWidget *parent)
    : CodeEntryDialog(QStringLiteral("FDodajDrzavo"),
                      {tr("Dodaj državo"), tr("Naziv oz. ime države"), tr("Skrajšano:"), tr("Okrajšava za državo"), QString()},
                      parent)
    , m_instance(FDodajDrzavo, this)
{
}
