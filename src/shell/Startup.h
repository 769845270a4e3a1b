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
};

// Runs the start-up initialisation. Returns nothing to go on, or the exit code to end
// with: 1 when the database or the program INI is missing (the user has been told), 0
// when a step ends the program; the steps after it are not run.
std::optional<int> RunStartupInitialisation(const StartupSteps &steps);

// The line a workstation keeps in LastVer.ini: "2.310 LastAccessed=09.12.2026 (01:15)",
// with the user's date and time separators.
QString LastAccessText(const QDateTime &moment);
// Nothing is recorded for a computer without a name: its line could never be found again.
void RecordLastAccess(const QDateTime &moment, const QString &computer);

// Clean-up at process end: the cached settings are forgotten.
void FinaliseProcess();
