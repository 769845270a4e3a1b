#pragma once

#include "CodeEntryDialog.h"
#include "SoleInstance.h"

// "Dodaj državo".
class TFDodajDrzavo : public CodeEntryDialog
{
    Q_OBJECT
public:
    explicit TFDodajDrzavo(QWidget *parent = nullptr);

private:
    SoleInstance<TFDodajDrzavo> m_instance;
};

extern TFDodajDrzavo *FDodajDrzavo;
