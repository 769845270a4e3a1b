#pragma once

#include "CodeListWindow.h"

// "Države": the countries.
class TFDrzave : public CodeListWindow
{
    Q_OBJECT
public:
    explicit TFDrzave(QWidget *parent = nullptr);
};
