#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

// Steps of the start that later parts of the program plug in.
struct StartupSteps
{
    std::function<void()> checkForUpgrade; // may ask the application to end
    std::function<void()> scanModules;
};

// Runs the start-up initialisation. Returns 0 to go on, or the exit code to end with
// (1 when the database or the program INI is missing; the user has been told).
int RunStartupInitialisation(const StartupSteps &steps);

// The line a workstation keeps in LastVer.ini: "2.310 LastAccessed=09.12.2026 (01:15)",
// with the user's date and time separators.
QString LastAccessText(const QDateTime &moment);
void RecordLastAccess(const QDateTime &moment = QDateTime::currentDateTime());

// Clean-up at process end: the cached settings are forgotten.
void FinaliseProcess();
