#include "UFAlarmi.h"

#include "CodeListAdd.h"
#include "ColourComboBox.h"
#include "ColourScheme.h"
#include "Dataset.h"
#include "DatasetBinder.h"
#include "FlatButton.h"
#include "LookupComboBox.h"
#include "PictureLink.h"
#include "PublicFunctions.h"
#include "UDataMod.h"
#include "UFAlarm.h"
#include "UFMain.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QSpinBox>

TFAlarmi::TFAlarmi(QWidget *parent)
    : CodeListWindow({"FAlarmi",
                      tr("Alarmi"),
                      "TEventAlarms",
                      "ID",
                      {QStringLiteral("SELECT *"), QStringLiteral("FROM TEventAlarms"), QStringLiteral("ORDER BY NazivAlarma")},
                      {{QStringLiteral("NazivAlarma"), tr("Naziv alarma")}},
                      {},
                      20,
                      330,
                      [] { return AddAlarmType(QString(), 0xFFFFFF, 0, false, 0); },
                      true,
                      153},
                     parent)
{
    DBEdit1 = addTextField("DBEdit1", tr("Naziv alarma:"), "NazivAlarma", tr("Naziv alarma"));

    DBLookupComboBox1 = new LookupComboBox(editArea());
    DBLookupComboBox1->setObjectName(QStringLiteral("DBLookupComboBox1"));
    DBLookupComboBox1->setLookup(DataMod->TMemAlertTypes, QStringLiteral("ID"), {QStringLiteral("Name")});
    binder()->bind(DBLookupComboBox1, QStringLiteral("AlertType"));
    addEditRow(tr("Ponovitev:"), DBLookupComboBox1);

    RxSpinEdit1 = new QSpinBox(editArea());
    RxSpinEdit1->setObjectName(QStringLiteral("RxSpinEdit1"));
    RxSpinEdit1->setRange(0, 255); // the column holds a byte
    RxSpinEdit1->setToolTip(tr("Opozori n dni pred"));
    RxSpinEdit1->setStatusTip(tr("Opozori n dni pred"));
    addFieldRow(tr("Opozori dni pred:"), {RxSpinEdit1});

    const auto colourBox = [this](const char *name, const QString &hint) {
        auto *box = new ColourComboBox(editArea());
        box->setObjectName(QString::fromLatin1(name));
        box->setToolTip(hint);
        box->setStatusTip(hint);
        return box;
    };
    ColorComboBox1 = colourBox("ColorComboBox1", tr("Barva ozadja"));
    ColorComboBox2 = colourBox("ColorComboBox2", tr("Barva teksta"));
    auto *textLabel = new QLabel(tr("teksta:"), editArea());
    textLabel->setBuddy(ColorComboBox2);
    DBCheckBox1 = new QCheckBox(editArea());
    DBCheckBox1->setObjectName(QStringLiteral("DBCheckBox1"));
    DBCheckBox1->setToolTip(tr("Alarm je utripajoc"));
    DBCheckBox1->setStatusTip(tr("Alarm je utripajoc"));
    binder()->bind(DBCheckBox1, QStringLiteral("Flashing"));
    addFieldRow(tr("Barva ozadja:"), {ColorComboBox1, textLabel, ColorComboBox2, DBCheckBox1});

    m_picture = new PictureLink(ADOQuery1, QStringLiteral("Ikona"), PictureLink::rowPictures(QStringLiteral("Alarmi"), tr("Slika alarm")),
                                editArea());
    addEditRow(QString(), m_picture);

    FlatButton1 = addStripButton(tr("Primer"), "FlatButton1", 5548032, 10346242, 15138764);

    connect(ColorComboBox1, &ColourComboBox::colourChosen, this, &TFAlarmi::ColorComboBox1Change);
    connect(ColorComboBox2, &ColourComboBox::colourChosen, this, &TFAlarmi::ColorComboBox2Change);
    connect(RxSpinEdit1, &QSpinBox::valueChanged, this, &TFAlarmi::RxSpinEdit1Change);
    connect(ADOQuery1, &Dataset::afterScroll, this, &TFAlarmi::ADOQuery1AfterScroll);
    connect(FlatButton1, &FlatButton::clicked, this, &TFAlarmi::FlatButton1Click);
    // The rows were read before the handlers were there.
    ADOQuery1AfterScroll();
}

void TFAlarmi::ADOQuery1AfterScroll()
{
    const QScopedValueRollback loading(m_loading, true);
    ColorComboBox2->setColourRef(VariantToInt(ADOQuery1->value(QStringLiteral("FontColor"))));
    ColorComboBox1->setColourRef(VariantToInt(ADOQuery1->value(QStringLiteral("BackColor"))));
    RxSpinEdit1->setValue(VariantToInt(ADOQuery1->value(QStringLiteral("AlertNDaysBefore"))));
    // Without a row there is nothing to save them to.
    for (QWidget *control : std::initializer_list<QWidget *>{ColorComboBox1, ColorComboBox2, RxSpinEdit1})
        control->setEnabled(!ADOQuery1->isEmpty());
}

void TFAlarmi::ColorComboBox1Change()
{
    saveAtOnce(QStringLiteral("BackColor"), ColorComboBox1->colourRef());
}

void TFAlarmi::ColorComboBox2Change()
{
    saveAtOnce(QStringLiteral("FontColor"), ColorComboBox2->colourRef());
}

void TFAlarmi::RxSpinEdit1Change()
{
    saveAtOnce(QStringLiteral("AlertNDaysBefore"), RxSpinEdit1->value());
}

// The whole row is posted, with whatever else the user changed in it.
void TFAlarmi::saveAtOnce(const QString &field, const QVariant &value)
{
    if (m_loading || ADOQuery1->isEmpty())
        return;
    ADOQuery1->edit();
    ADOQuery1->setValue(field, value);
    ADOQuery1->post();
}

void TFAlarmi::FlatButton1Click()
{
    if (ADOQuery1->isEmpty())
        return;
    const QString name = ADOQuery1->value(QStringLiteral("NazivAlarma")).toString();
    TFAlarm *alarm = FAlarm ? FAlarm : new TFAlarm(FMain);
    alarm->showAlarm(name, name, DBCheckBox1->isChecked(), ColourFromRef(ColorComboBox2->colourRef()),
                     ColourFromRef(ColorComboBox1->colourRef()),
                     m_picture->folder() + ADOQuery1->value(QStringLiteral("Ikona")).toString().trimmed());
}
