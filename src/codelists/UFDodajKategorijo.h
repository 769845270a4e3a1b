#pragma once

#include "EntryDialog.h"
#include "SoleInstance.h"

class QLineEdit;

// "Dodaj kategorijo": the name of a new category.
class TFDodajKategorijo : public EntryDialog
{
    Q_OBJECT
public:
    explicit TFDodajKategorijo(QWidget *parent = nullptr);

    QLineEdit *Edit1;

private:
    SoleInstance<TFDodajKategorijo> m_instance;
};

extern TFDodajKategorijo *FDodajKategorijo;
