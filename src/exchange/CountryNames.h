#pragma once

#include <QString>
#include <QStringList>

// The names a country goes by in address books: ISO 3166 codes, the abbreviations of the
// program's own country list ("SLO"), and its names in Slovenian and English, so that an
// address written "SI", "Slovenia" or "Slovenija" finds the same country.
struct CountryNames
{
    QString Slovenian; // the name the country list gives it
    QString Abbreviation; // the country list's abbreviation
    QStringList Others;   // ISO codes and other names, any case
};

// The country an address names, or nullptr when the table does not know it.
const CountryNames *FindCountryNames(const QString &text);
