#pragma once

#include "CodeEntryDialog.h"
#include "SoleInstance.h"

// "Dodaj kraj".
class TFDodajKraj : public CodeEntryDialog
{
    Q_OBJECT
public:
    explicit TFDodajKraj(QWidget *parent = nullptr);

private:
    SoleInstance<TFDodajKraj> m_instance;
};

extern TFDodajKraj *FDodajKraj;
