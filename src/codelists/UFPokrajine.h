#pragma once

#include "CountryCodeListWindow.h"

// "Pokrajine": the regions, each in a country.
class TFPokrajine : public CountryCodeListWindow
{
    Q_OBJECT
public:
    explicit TFPokrajine(QWidget *parent = nullptr);
};
