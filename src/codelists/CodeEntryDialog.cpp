#include "CodeEntryDialog.h"

#include "Dataset.h"
#include "LookupComboBox.h"
#include "PublicFunctions.h"
#include "UDataMod.h"

#include <QLineEdit>

CodeEntryDialog::CodeEntryDialog(const QString &objectName, const Texts &texts, QWidget *parent)
    : EntryDialog(objectName, texts.caption, parent)
{
    Edit1 = addNameField(tr("Naziv:"), texts.nameHint);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setToolTip(texts.secondHint);
    addRow(texts.secondLabel, {Edit2});
    if (!texts.countryHint.isEmpty()) {
        DBLookupComboBox1 = new LookupComboBox(this);
        DBLookupComboBox1->setObjectName(QStringLiteral("DBLookupComboBox1"));
        DBLookupComboBox1->setToolTip(texts.countryHint);
        DBLookupComboBox1->setLookup(DataMod->QDrzaveLookup, QStringLiteral("IDDRZAVE"), {QStringLiteral("Naziv")});
        connect(DBLookupComboBox1, &LookupComboBox::entered, this, [this] { refreshCountries(true); });
        addRow(tr("Država:"), {DBLookupComboBox1});
        // Registered now; read again when the dialog shows and countries changed meanwhile.
        refreshCountries(false);
    }
}

void CodeEntryDialog::refreshCountries(bool reopen)
{
    DataMod->RefreshIfChanged(objectName(), DataMod->QDrzaveLookup, QString(), reopen, QStringLiteral("TDrzave"));
}

void CodeEntryDialog::preset(const QString &name, const QString &second, int country)
{
    Edit1->setText(name);
    Edit2->setText(second);
    if (DBLookupComboBox1)
        DBLookupComboBox1->setCurrentKey(country > 0 ? QVariant(country) : QVariant());
}

QString CodeEntryDialog::name() const
{
    return Edit1->text();
}

QString CodeEntryDialog::second() const
{
    return Edit2->text();
}

int CodeEntryDialog::country() const
{
    return DBLookupComboBox1 ? VariantToInt(DBLookupComboBox1->currentKey()) : 0;
}

bool CodeEntryDialog::canConfirm() const
{
    return EntryDialog::canConfirm() && (!DBLookupComboBox1 || country() >= 1);
}

void CodeEntryDialog::showEvent(QShowEvent *event)
{
    if (DBLookupComboBox1)
        refreshCountries(true);
    EntryDialog::showEvent(event);
}

