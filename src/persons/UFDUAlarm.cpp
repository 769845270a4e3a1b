#include "UFDUAlarm.h"

#include "CodeListAdd.h"
#include "DateBox.h"
#include "Dataset.h"
#include "LookupComboBox.h"
#include "PublicFunctions.h"
#include "Schema.h"
#include "TypeLookup.h"
#include "UDataMod.h"

#include <QLineEdit>
#include <QSpinBox>

TFDUAlarm *FDUAlarm = nullptr;

TFDUAlarm::TFDUAlarm(QWidget *parent)
    : EntryDialog(QStringLiteral("FDUAlarm"), tr("Dodaj / uredi alarm"), parent)
    , m_instance(FDUAlarm, this)
{
    m_types = new TypeLookup({"RxDBLookupCombo1", "SpeedButton2", objectName(), DataMod->QEventAlarmsLookup, QStringLiteral("ID"),
                              QStringLiteral("NazivAlarma"), QStringLiteral("TEventAlarms"), [] { return AddAlarmType(); }},
                             this);
    RxDBLookupCombo1 = m_types->combo();
    addRow(tr("Alarm:"), {m_types});
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setToolTip(tr("Pri alarmu prikaži tekst:"));
    Edit1->setMinimumWidth(260);
    Edit1->setMaxLength(Schema::table(u"TOsnovniPodVezaAlarmi")->column(QStringLiteral("Value"))->size);
    addRow(tr("Pri alarmu prikaži tekst:"), {Edit1});
    DateEdit1 = new DateBox("DateEdit1", tr("Datum alarma"), this);
    addRow(tr("Datum:"), {DateEdit1});
    RxSpinEdit1 = new QSpinBox(this);
    RxSpinEdit1->setObjectName(QStringLiteral("RxSpinEdit1"));
    RxSpinEdit1->setRange(0, 250);
    RxSpinEdit1->setToolTip(tr("Opozori n dni pred"));
    addRow(tr("Opozori dni pred:"), {RxSpinEdit1});
    connect(m_types, &TypeLookup::chosen, this, &TFDUAlarm::RxDBLookupCombo1Change);
}

bool TFDUAlarm::ask(const QString &caption, const QVariant &type, const QString &text, const QDate &date, int daysBefore)
{
    setWindowTitle(caption);
    m_types->choose(type);
    Edit1->setText(text);
    DateEdit1->choose(date);
    RxSpinEdit1->setValue(daysBefore);
    return exec() == QDialog::Accepted;
}

int TFDUAlarm::alarmType() const
{
    return m_types->chosenType();
}

QString TFDUAlarm::text() const
{
    return Edit1->text();
}

QDate TFDUAlarm::date() const
{
    return DateEdit1->chosenDate();
}

int TFDUAlarm::daysBefore() const
{
    return RxSpinEdit1->value();
}

void TFDUAlarm::RxDBLookupCombo1Change()
{
    const int type = alarmType();
    if (type <= 0)
        return;
    // The type's own warning is the alarm's first guess.
    Dataset *types = DataMod->QEventAlarmsLookup;
    const int recNo = types->recNoOf(QStringLiteral("ID"), type);
    RxSpinEdit1->setValue(recNo > 0 ? VariantToInt(types->valueAt(recNo, types->fieldIndex(QStringLiteral("AlertNDaysBefore")))) : 0);
}

void TFDUAlarm::showEvent(QShowEvent *event)
{
    DateEdit1->todayWhenEmpty();
    setFirstField(alarmType() > 0 ? static_cast<QWidget *>(Edit1) : RxDBLookupCombo1);
    EntryDialog::showEvent(event);
}

void TFDUAlarm::accept()
{
    DateEdit1->todayWhenEmpty();
    EntryDialog::accept();
}

bool TFDUAlarm::canConfirm() const
{
    return alarmType() > 0;
}
