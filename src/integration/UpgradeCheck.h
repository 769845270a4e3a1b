#pragma once

#include "Startup.h"

#include <QString>

// The upgrade check: the upgrade library that the program INI names (SETTINGS/UpgradeProg,
// the C interface of include/veldra/upgrade.h) is asked for the latest version, and a
// newer one is handed to it to install while the program ends.

// The library's path: UpgradeProg, a leading "\" standing for the program folder and a
// relative path taken below it; when no file is there, the first library (platform
// suffix) of that folder; empty when there is none or UpgradeProg is empty.
QString FindUpgradeLibrary();

// Whether the library checks over the internet (its InternetUpgrade); false without one.
bool UpgradeOffersInternetCheck();

struct UpgradeCheckResult
{
    // The library's reply to GetLastVersion, copied; empty when it was not asked.
    QString Reply;
    // The reply named another version and the library took the upgrade over: the
    // program is to end now.
    bool HandedOver = false;
};

// One check; forced asks whatever the user's interval (CheckNewVer) says.
UpgradeCheckResult CheckForUpgrade(bool forced);

// The start-up step: ends the start when an upgrade took over.
StepResult CheckForUpgradeAtStart();

// "Preveri zdaj": a forced check, then a message about its reply, or, when the upgrade
// took over, the application told to exit (it ends when control is back in its loop).
void CheckForUpgradeNow();

// "ZadnjaVerzija" of LastVer.ini in the data folder, trimmed; "ERROR" with a message when
// there is none.
QString GetLatestVersion();
