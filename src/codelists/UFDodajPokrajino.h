#pragma once

#include "CodeEntryDialog.h"
#include "SoleInstance.h"

// "Dodaj pokrajino".
class TFDodajPokrajino : public CodeEntryDialog
{
    Q_OBJECT
public:
    explicit TFDodajPokrajino(QWidget *parent = nullptr);

private:
    SoleInstance<TFDodajPokrajino> m_instance;
};

extern TFDodajPokrajino *FDodajPokrajino;
