#pragma once

#include "CodeListWindow.h"

class LookupComboBox;

// A code list whose rows lie in a country (regions and places): the country is chosen
// from the data module's country list, which is read again when the window is activated
// or the list gets the focus and the countries changed meanwhile (here or elsewhere).
class CountryCodeListWindow : public CodeListWindow
{
    Q_OBJECT
public:
    CountryCodeListWindow(const Definition &definition, const QString &countryHint, QWidget *parent = nullptr);

    LookupComboBox *DBLookupComboBox1;

protected:
    void FormActivate() override;

private:
    void refreshCountries(bool reopen);
};
