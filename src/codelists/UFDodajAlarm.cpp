#include "UFDodajAlarm.h"

#include "ColourComboBox.h"
#include "LookupComboBox.h"
#include "PublicFunctions.h"
#include "UDataMod.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>

TFDodajAlarm *FDodajAlarm = nullptr;

TFDodajAlarm::TFDodajAlarm(QWidget *parent)
    : EntryDialog(QStringLiteral("FDodajAlarm"), tr("Dodaj alarm"), parent)
    , m_instance(FDodajAlarm, this)
{
    Edit1 = addNameField(tr("Naziv alarma:"), tr("Naziv alarma"));
    DBLookupComboBox1 = new LookupComboBox(this);
    DBLookupComboBox1->setObjectName(QStringLiteral("DBLookupComboBox1"));
    DBLookupComboBox1->setLookup(DataMod->TMemAlertTypes, QStringLiteral("ID"), {QStringLiteral("Name")});
    addRow(tr("Ponovitev:"), {DBLookupComboBox1});
    SpinEdit1 = new QSpinBox(this);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setToolTip(tr("Opozori n dni pred"));
    SpinEdit1->setRange(0, 255);
    addRow(tr("Opozori dni pred:"), {SpinEdit1});
    ColorBox1 = new ColourComboBox(this);
    ColorBox1->setObjectName(QStringLiteral("ColorBox1"));
    ColorBox1->setToolTip(tr("Barva ozadja"));
    addRow(tr("Barva ozadja:"), {ColorBox1});
    ColorBox2 = new ColourComboBox(this);
    ColorBox2->setObjectName(QStringLiteral("ColorBox2"));
    ColorBox2->setToolTip(tr("Barva teksta"));
    addRow(tr("teksta:"), {ColorBox2});
    CheckBox1 = new QCheckBox(tr("Alarm je utripajoc"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setToolTip(tr("Alarm je utripajoc"));
    addRow(QString(), {CheckBox1});
}

int TFDodajAlarm::repetition() const
{
    return VariantToInt(DBLookupComboBox1->currentKey());
}

bool TFDodajAlarm::canConfirm() const
{
    // A type without repetition ("brez") is not added here; it can be set later in the alarm types.
    return repetition() >= 1 && EntryDialog::canConfirm();
}
