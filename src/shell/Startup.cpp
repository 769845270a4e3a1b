#include "Startup.h"

#include "ColourScheme.h"
#include "DatabaseBackup.h"
#include "IniFile.h"
#include "Language.h"
#include "ProgramPaths.h"
#include "PublicFunctions.h"
#include "Settings.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QRegularExpression>

#include <cstdio>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("Startup", text);
}

// Before any window exists the platform's own error dialog tells the user.
void reportStartFailure(const QString &text)
{
    std::fprintf(stderr, "veldra: %s\n", qPrintable(text));
    QMessageBox::critical(nullptr, QString::fromLatin1(ApplicationTitle), text, QMessageBox::Ok);
}

// The text between the first two fields of a locale format: "." in "d. MM. yy", ":" in "HH:mm".
QString separatorOf(const QString &format, const QString &fallback)
{
    static const QRegularExpression between(QStringLiteral("[A-Za-z]+([^A-Za-z]+)[A-Za-z]"));
    const QString separator = between.match(format).captured(1);
    if (separator.isEmpty())
        return fallback;
    return separator.trimmed().isEmpty() ? separator : separator.trimmed();
}

}

std::optional<int> RunStartupInitialisation(const StartupSteps &steps)
{
    bool ok = false;
    const int languageId = ReadRegString(QString::fromLatin1(KeyNastavitve), QStringLiteral("LangID")).trimmed().toInt(&ok);
    SetLanguage(ok ? languageId : 36);
    // Before any message: the message box takes the scheme's colours when it is made.
    LoadColours(QString::fromLatin1(KeyBarve));

    // The database check comes first: without an INI the data folder is the program folder.
    // A database on a server is checked when the connection is made.
    const bool onServer = !GetDatabaseServer().isEmpty();
    if (!onServer && !QFileInfo::exists(GetDataFolder() + QString::fromLatin1(DatabaseFileName))) {
        reportStartFailure(tr("Ni mogoče najti podatkov!"));
        return 1;
    }
    if (!QFileInfo::exists(ProgramPaths::iniFile())) {
        reportStartFailure(tr("Ni mogoče najti datoteke") + QLatin1Char(' ') + ProgramPaths::iniFile());
        return 1;
    }

    if (!onServer && steps.prepareDatabaseFile && !steps.prepareDatabaseFile(GetDataFolder() + QString::fromLatin1(DatabaseFileName)))
        return 1;

    // A server keeps its own backups; there is no file here to copy.
    if (!onServer && BackupNeeded())
        MakeBackup();
    RecordLastAccess(QDateTime::currentDateTime(), GetComputerNameText());
    WriteRegString(QString::fromLatin1(KeyNastavitve), QStringLiteral("Location"), ProgramPaths::programFile());

    // A copy that an upgrade takes over ends before it makes anything more.
    if (steps.checkForUpgrade && steps.checkForUpgrade() == StepResult::EndNow)
        return 0;
    if (steps.scanModules)
        steps.scanModules();

    ReadAutoShift();
    return std::nullopt;
}

QString LastAccessText(const QDateTime &moment)
{
    const QLocale locale;
    const QString date = separatorOf(locale.dateFormat(QLocale::ShortFormat), QStringLiteral("."));
    const QString time = separatorOf(locale.timeFormat(QLocale::ShortFormat), QStringLiteral(":"));
    return GetProgramVersion() + QStringLiteral(" LastAccessed=")
        + moment.toString(QStringLiteral("dd'%1'MM'%1'yyyy '('hh'%2'mm')'").arg(date, time));
}

void RecordLastAccess(const QDateTime &moment, const QString &computer)
{
    if (computer.trimmed().isEmpty())
        return;
    try {
        WriteIniString(GetDataFolder() + QStringLiteral("LastVer.ini"), QStringLiteral("Uporabniki"), computer,
                       LastAccessText(moment));
    } catch (const IniWriteError &) {
        // A read-only data folder does not stop the start.
    }
}

void FinaliseProcess()
{
    ClearSettingsCache();
}
