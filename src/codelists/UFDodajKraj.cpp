#include "UFDodajKraj.h"

TFDodajKraj *FDodajKraj = nullptr;

TFDodajKraj::TFDodajKraj(QWidget *parent)
    : CodeEntryDialog(QStringLiteral("FDodajKraj"),
                      {tr("Dodaj kraj"), tr("Naziv oz. ime kraja"), tr("Poštna št.:"), tr("Poštna številka kraja"), tr("Država v kateri se nahaja kraj")},
                      parent)
    , m_instance(FDodajKraj, this)
{
}
