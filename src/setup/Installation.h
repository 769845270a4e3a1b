#pragma once

#include "SetupScript.h"

#include <QStringList>

// What the options window hands over when "Namesti" has passed its checks.
struct InstallChoices
{
    ChosenFolders Folders;
    QString Group; // empty: no group in the applications menu
    bool DesktopShortcut = true;
    bool StartAfter = true;
};

// The progress panel the installation reports to.
class InstallationProgress
{
public:
    virtual ~InstallationProgress() = default;
    virtual void showStep(const QString &caption) = 0;
    virtual void showItem(const QString &name) = 0;
    virtual void showProgress(int percent) = 0;
};

enum class InstallResult {
    Done,
    // An existing target of Datoteke could not be replaced: the installation stopped
    // there, leaving what was done; the installer tells the user and ends.
    ReplaceFailed,
};

// The installation the script describes, from the folders on: folders, system
// libraries, files, the database folder in the program's INI, the shortcuts and the
// start of the installed program. Reports every step to progress.
class Installation
{
public:
    Installation(const SetupScript &script, InstallChoices choices, InstallationProgress &progress);

    InstallResult run();

    // The expanded targets of the SHORTCUT lines, in script order, once run() has copied.
    const QStringList &shortcutPrograms() const { return m_shortcutPrograms; }

private:
    void createFolders();
    void copySystemLibraries();
    bool copyFiles();
    void recordDatabaseFolder();
    void createDesktopShortcuts();
    void createMenuGroup();
    void startPrograms();

    const SetupScript &m_script;
    InstallChoices m_choices;
    InstallationProgress &m_progress;
    QStringList m_shortcutPrograms;
};
