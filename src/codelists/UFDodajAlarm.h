#pragma once

#include "EntryDialog.h"
#include "SoleInstance.h"

class ColourComboBox;
class LookupComboBox;
class QCheckBox;
class QLineEdit;
class QSpinBox;

// "Dodaj alarm": a new alarm type, with its repetition, warning days, colours and flashing.
class TFDodajAlarm : public EntryDialog
{
    Q_OBJECT
public:
    explicit TFDodajAlarm(QWidget *parent = nullptr);

    QLineEdit *Edit1;
    LookupComboBox *DBLookupComboBox1;
    QSpinBox *SpinEdit1;
    ColourComboBox *ColorBox1;
    ColourComboBox *ColorBox2;
    QCheckBox *CheckBox1;

    // The chosen repetition, 0 for none.
    int repetition() const;

protected:
    bool canConfirm() const override;

private:
    SoleInstance<TFDodajAlarm> m_instance;
};

extern TFDodajAlarm *FDodajAlarm;
