#pragma once

#include <QString>

#include <functional>

// What the automation object drives in the running program; the composition root fills
// it from the main window and the person window.
struct AutomationTarget
{
    // Restores the application window when it is minimised and brings it to the front.
    std::function<void()> activate;
    // Whether the add-person dialog is showing.
    std::function<bool()> addDialogShowing;
    // Adds a person as the person window's "Dodaj" button does (opens the dialog modally).
    std::function<void()> addPerson;
    // Makes the person with this ID (the decimal text of TOsnovniPod.ID) the browse list's
    // current row; false when there is no such person.
    std::function<bool(const QString &id)> locate;
};
