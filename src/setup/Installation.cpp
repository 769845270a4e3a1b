#include "Installation.h"

#include "DesktopEntries.h"
#include "IniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cmath>
#include <cstdio>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("Installation", text);
}

QString fileNameOf(const QString &path)
{
    return QFileInfo(path).fileName();
}

bool sameFile(const QString &source, const QString &target)
{
    const QString canonical = QFileInfo(source).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(target).canonicalFilePath();
}

// A copy the user owns and may change, like a file that carries the archive mark alone;
// a program stays executable.
void copyOver(const QString &source, const QString &target)
{
    // Only files: reading a named pipe or a device would never end.
    if (!QFileInfo(source).isFile())
        return;
    QDir().mkpath(QFileInfo(target).absolutePath());
    if (!QFile::copy(source, target))
        return;
    QFile copy(target);
    copy.setPermissions(copy.permissions() | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

}

Installation::Installation(const SetupScript &script, InstallChoices choices, InstallationProgress &progress)
    : m_script(script)
    , m_choices(std::move(choices))
    , m_progress(progress)
{
}

InstallResult Installation::run()
{
    m_progress.showStep(tr("Pripravljanje na namestitev"));
    m_progress.showItem(QString());
    m_progress.showProgress(0);
    createFolders();
    copySystemLibraries();
    if (!copyFiles())
        return InstallResult::ReplaceFailed;
    m_progress.showProgress(100);
    recordDatabaseFolder();
    if (m_choices.DesktopShortcut)
        createDesktopShortcuts();
    if (!m_choices.Group.isEmpty())
        createMenuGroup();
    if (m_choices.StartAfter)
        startPrograms();
    return InstallResult::Done;
}

void Installation::createFolders()
{
    m_progress.showStep(tr("Kreiram mape"));
    QStringList folders{m_choices.Folders.Program, m_choices.Folders.Database};
    for (const ScriptLine &line : m_script.Folders)
        folders << ExpandTarget(line.Target, m_choices.Folders);
    for (const QString &folder : std::as_const(folders)) {
        m_progress.showItem(folder);
        if (!folder.isEmpty())
            QDir().mkpath(folder);
    }
}

void Installation::copySystemLibraries()
{
    m_progress.showStep(tr("Kopiram in registriram sistemske knjižnice"));
    for (const ScriptLine &line : m_script.Dll) {
        const QString target = ExpandTarget(line.Target, m_choices.Folders);
        m_progress.showItem(fileNameOf(target));
        if (sameFile(line.Source, target))
            continue;
        QFile::remove(target);
        copyOver(line.Source, target);
        // Libraries here need no registration: the loader finds them by their path.
        std::fprintf(stderr, "setup: %s needs no registration here\n", qPrintable(target));
    }
}

bool Installation::copyFiles()
{
    m_progress.showStep(tr("Kopiram datoteke"));
    m_progress.showProgress(0);
    const qsizetype count = m_script.Datoteke.size();
    for (qsizetype i = 0; i < count; ++i) {
        const ScriptLine &line = m_script.Datoteke[i];
        m_progress.showProgress(count > 1 ? int(std::lround(double(i) / double(count - 1) * 100)) : 0);
        const QString target = ExpandTarget(line.Target, m_choices.Folders);
        m_progress.showItem(fileNameOf(target));
        const FileOption option = OptionOf(line.Target);
        const bool kept = option == FileOption::Leave && QFileInfo::exists(target);
        // Installing from the folder installed into: the file is already where it goes,
        // and removing the target would remove the source.
        if (!kept && !sameFile(line.Source, target)) {
            if (QFileInfo::exists(target) && !QFile::remove(target))
                return false;
            copyOver(line.Source, target);
        }
        if (option == FileOption::Shortcut)
            m_shortcutPrograms << target;
    }
    return true;
}

void Installation::recordDatabaseFolder()
{
    const QString ini = ExpandTarget(m_script.ChangePathInIni, m_choices.Folders);
    if (ini.isEmpty())
        return;
    try {
        IniFile(ini).writeString(QStringLiteral("Glavno"), QStringLiteral("PathPodatki"), m_choices.Folders.Database);
    } catch (const IniWriteError &error) {
        std::fprintf(stderr, "setup: %s\n", error.what());
    }
}

void Installation::createDesktopShortcuts()
{
    m_progress.showStep(tr("Kreiram ikono na namizje"));
    const QString link = DesktopFolder() + ShortcutFileName(m_script.Ime);
    for (const QString &program : std::as_const(m_shortcutPrograms)) {
        m_progress.showItem(fileNameOf(program));
        WriteShortcut(link, {program, m_script.Ime, m_choices.Folders.Program});
    }
}

void Installation::createMenuGroup()
{
    const QString name = ShortcutFileName(m_script.Ime);
    const QString folder = CreateMenuGroup(m_choices.Group, name);
    m_progress.showStep(tr("Kreiram grupo v start meni"));
    if (folder.isEmpty())
        return;
    for (const QString &program : std::as_const(m_shortcutPrograms)) {
        m_progress.showItem(fileNameOf(program));
        WriteShortcut(folder + name, {program, m_script.Ime, m_choices.Folders.Program});
    }
}

void Installation::startPrograms()
{
    for (const QString &program : std::as_const(m_shortcutPrograms))
        QProcess::startDetached(program, {}, QFileInfo(program).absolutePath());
}
