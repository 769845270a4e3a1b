#include "CodeListAdd.h"

#include "ColourComboBox.h"
#include "ContactKindComboBox.h"
#include "Dataset.h"
#include "LookupComboBox.h"
#include "PublicFunctions.h"
#include "UDataMod.h"
#include "UFDodajAlarm.h"
#include "UFDodajDrzavo.h"
#include "UFDodajKategorijo.h"
#include "UFDodajKontakt.h"
#include "UFDodajKraj.h"
#include "UFDodajPokrajino.h"
#include "UFMain.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>

namespace {

// The dialogs are made at start; should one be missing, it is made now.
template<typename Dialog> Dialog &dialog(Dialog *instance)
{
    return instance ? *instance : *new Dialog(FMain);
}

// Appends a row to a code list table of the data module; a key the database does not
// make itself is the greatest so far + 1. Returns the posted row's key.
int appendRow(Dataset *table, const char *key, const std::function<void(Dataset *)> &fill)
{
    const QString tableName = table->objectName();
    const QString keyColumn = QString::fromLatin1(key);
    if (!table->isOpen())
        table->open();
    table->append();
    if (!DataMod->database().isGeneratedKey(tableName, keyColumn))
        table->setValue(keyColumn, DataMod->GetMaxValue(tableName, keyColumn) + 1);
    fill(table);
    // A refused row is reported, not left half added.
    table->postOrCancel();
    return VariantToInt(table->value(keyColumn));
}

}

int AddCountry(const QString &name, const QString &abbreviation)
{
    TFDodajDrzavo &form = dialog(FDodajDrzavo);
    form.preset(name, abbreviation, 0);
    if (form.exec() != QDialog::Accepted)
        return 0;
    return appendRow(DataMod->TDrzave, "IDDRZAVE", [&form](Dataset *row) {
        row->setValue(QStringLiteral("Naziv"), TextToVariant(form.name()));
        row->setValue(QStringLiteral("Skrajsano"), TextToVariant(form.second()));
    });
}

int AddRegion(const QString &name, const QString &abbreviation, int country)
{
    TFDodajPokrajino &form = dialog(FDodajPokrajino);
    form.preset(name, abbreviation, country);
    if (form.exec() != QDialog::Accepted)
        return 0;
    return appendRow(DataMod->TPokrajina, "IDPOK", [&form](Dataset *row) {
        row->setValue(QStringLiteral("Naziv"), TextToVariant(form.name()));
        row->setValue(QStringLiteral("Skrasano"), TextToVariant(form.second()));
        row->setValue(QStringLiteral("IDDRZAVA"), form.country());
    });
}

int AddPlace(const QString &name, const QString &zip, int country)
{
    TFDodajKraj &form = dialog(FDodajKraj);
    form.preset(name, zip, country);
    if (form.exec() != QDialog::Accepted)
        return 0;
    return appendRow(DataMod->TKraj, "IDKRAJ", [&form](Dataset *row) {
        row->setValue(QStringLiteral("Naziv"), TextToVariant(form.name()));
        row->setValue(QStringLiteral("Zip"), TextToVariant(form.second()));
        row->setValue(QStringLiteral("IDDRZAVA"), form.country());
    });
}

int AddCategory(const QString &name)
{
    TFDodajKategorijo &form = dialog(FDodajKategorijo);
    form.Edit1->setText(name);
    if (form.exec() != QDialog::Accepted)
        return 0;
    return appendRow(DataMod->TKategorije, "IDkat", [&form](Dataset *row) {
        row->setValue(QStringLiteral("Naziv"), TextToVariant(form.Edit1->text()));
    });
}

int AddContactType(const QString &name)
{
    TFDodajKontakt &form = dialog(FDodajKontakt);
    form.Edit1->setText(name);
    form.ComboBox1->setCurrentIndex(0);
    if (form.exec() != QDialog::Accepted)
        return 0;
    const int sort = DataMod->GetMaxValue(QStringLiteral("TKontakti"), QStringLiteral("Sort")) + 1;
    return appendRow(DataMod->TKontakti, "ID", [&form, sort](Dataset *row) {
        row->setValue(QStringLiteral("Naziv"), TextToVariant(form.Edit1->text()));
        row->setValue(QStringLiteral("StVrstic"), 0);
        row->setValue(QStringLiteral("Sort"), sort);
        row->setValue(QStringLiteral("IsNaslov"), false);
        row->setValue(QStringLiteral("IkonaPath"), QVariant());
        row->setValue(QStringLiteral("Vrsta"), form.ComboBox1->kind());
    });
}

int AddAlarmType(const QString &name, qint64 backColour, qint64 fontColour, bool flashing, int repetition)
{
    TFDodajAlarm &form = dialog(FDodajAlarm);
    form.Edit1->setText(name);
    form.ColorBox1->setColourRef(backColour);
    form.ColorBox2->setColourRef(fontColour);
    form.CheckBox1->setChecked(flashing);
    form.DBLookupComboBox1->setCurrentKey(repetition > 0 ? QVariant(repetition) : QVariant());
    form.SpinEdit1->setValue(0);
    if (form.exec() != QDialog::Accepted)
        return 0;
    return appendRow(DataMod->TEventAlarms, "ID", [&form](Dataset *row) {
        row->setValue(QStringLiteral("NazivAlarma"), TextToVariant(form.Edit1->text()));
        row->setValue(QStringLiteral("BackColor"), form.ColorBox1->colourRef());
        row->setValue(QStringLiteral("FontColor"), form.ColorBox2->colourRef());
        row->setValue(QStringLiteral("Flashing"), form.CheckBox1->isChecked());
        row->setValue(QStringLiteral("AlertNDaysBefore"), form.SpinEdit1->value());
        row->setValue(QStringLiteral("AlertType"), form.repetition());
        row->setValue(QStringLiteral("Ikona"), QVariant());
    });
}
