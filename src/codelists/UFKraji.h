#pragma once

#include "CountryCodeListWindow.h"

// "Kraji": the places with their postal codes, each in a country.
class TFKraji : public CountryCodeListWindow
{
    Q_OBJECT
public:
    explicit TFKraji(QWidget *parent = nullptr);
};
