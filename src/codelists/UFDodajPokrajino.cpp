#include "UFDodajPokrajino.h"

TFDodajPokrajino *FDodajPokrajino = nullptr;

TFDodajPokrajino::TFDodajPokrajino(QWidget *parent)
    : CodeEntryDialog(QStringLiteral("FDodajPokrajino"),
                      {tr("Dodaj pokrajino"), tr("Naziv oz. ime pokrajine"), tr("Skrajšano:"), tr("Skrajsano"), tr("Država v kateri se nahaja pokrajina")},
                      parent)
    , m_instance(FDodajPokrajino, this)
{
}
