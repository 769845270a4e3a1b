#pragma once

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

// What a start-up step tells the start: go on, or end this copy now (an upgrade that
// takes over the program).
enum class StepResult { GoOn, EndNow };

// Steps of the start that later parts of the program plug in.
struct StartupSteps
{
    std::function<StepResult()> checkForUpgrade;
    std::function<void()> scanModules;
    // Makes the data folder's database file ready before anything uses it (a file of the
    // Windows program converted); false ends the start, and the user has been told.
    std::function<bool(const QString &databaseFile)> prepareDatabaseFile;
};

// Runs the start-up initialisation. Returns nothing to go on, or the exit code to end
// with: 1 when the database or the program INI is missing or the database file could not
// be made ready (the user has been told), 0 when a step ends the program; the steps after
// it are not run.
std::optional<int> RunStartupInitialisation(const StartupSteps &steps);

// The line a workstation keeps in LastVer.ini: "2.310 LastAccessed=09.12.2026 (01:15)",
// with the user's date and time separators.
QString LastAccessText(const QDateTime &moment);
// Nothing is recorded for a computer without a name: its line could never be found again.
void RecordLastAccess(const QDateTime &moment, const QString &computer);

// Clean-up at process end: the cached settings are forgotten.
void FinaliseProcess();
