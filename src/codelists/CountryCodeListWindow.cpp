#include "CountryCodeListWindow.h"

#include "DatasetBinder.h"
#include "LookupComboBox.h"
#include "UDataMod.h"


CountryCodeListWindow::CountryCodeListWindow(const Definition &definition, const QString &countryHint, QWidget *parent)
    : CodeListWindow(definition, parent)
{
    DBLookupComboBox1 = new LookupComboBox(editArea());
    DBLookupComboBox1->setObjectName(QStringLiteral("DBLookupComboBox1"));
    DBLookupComboBox1->setToolTip(countryHint);
    DBLookupComboBox1->setStatusTip(countryHint);
    DBLookupComboBox1->setLookup(DataMod->QDrzaveLookup, QStringLiteral("IDDRZAVE"), {QStringLiteral("Naziv")});
    binder()->bind(DBLookupComboBox1, QStringLiteral("IDDRZAVA"));
    connect(DBLookupComboBox1, &LookupComboBox::entered, this, [this] { refreshCountries(true); });
    addEditRow(tr("Država:"), DBLookupComboBox1);
    refreshCountries(false);
}

void CountryCodeListWindow::refreshCountries(bool reopen)
{
    DataMod->RefreshIfChanged(objectName(), DataMod->QDrzaveLookup, QString(), reopen, QStringLiteral("TDrzave"));
}

void CountryCodeListWindow::FormActivate()
{
    refreshCountries(true);
}

