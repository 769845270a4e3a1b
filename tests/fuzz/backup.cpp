// The backup template "BackUpFolder" in any form: the folder and the expanded name, and a
// backup written today under that name is found again, so that no start makes a second one.

#include "DatabaseBackup.h"
#include "FuzzSupport.h"
#include "Settings.h"

#include <QDir>
#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Fuzz::startApplication();
    const QString value = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QDateTime now(QDate(2026, 12, 9), QTime(8, 15, 30));

    ClearSettingsCache();
    WriteIniString(Fuzz::folder() + QStringLiteral("veldra.ini"), QString::fromLatin1(IniGlavno), QStringLiteral("BackUpFolder"), value);
    GetBackupFolder();
    ExpandBackupName(true, now);
    ExpandBackupName(false, now);

    // The same name part below a folder of the run's own.
    QString namePart = value;
    namePart.remove(QLatin1Char('\\'));
    const QString folder = Fuzz::folder() + QStringLiteral("backup/");
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    ClearSettingsCache();
    WriteIniString(Fuzz::folder() + QStringLiteral("veldra.ini"), QString::fromLatin1(IniGlavno), QStringLiteral("BackUpFolder"),
                   folder + QLatin1Char('\\') + namePart);
    const QString name = ExpandBackupName(false, now);
    QFile backup(folder + QStringLiteral("B001 ") + name);
    // Only a name the file system takes as one plain file in that folder.
    if (name.contains(QLatin1Char('/')) || name.contains(QChar(0)) || !backup.open(QIODevice::WriteOnly))
        return 0;
    backup.close();
    Fuzz::check(!BackupNeeded(now), "today's backup is found", name);
    return 0;
}
