#pragma once

#include <QDateTime>
#include <QString>

// The daily copy of the database. The INI value "BackUpFolder" is a template: a folder
// and a file-name part that may hold the macros /DATE/, /NOW/ and /TIME/. Backups are
// named "B" + sequence number (three digits at least) + " " + the expanded name part;
// the ten newest are kept.

inline constexpr auto DatabaseFileName = "Veldra_be.mdb";

// The folder part of the expanded template, ending in "/" (empty when it has none).
QString GetBackupFolder();
// The file-name part with its macros replaced; the wildcard form matches any time of today.
QString ExpandBackupName(bool wildcard, const QDateTime &now = QDateTime::currentDateTime());
// True when no backup of today exists.
bool BackupNeeded(const QDateTime &now = QDateTime::currentDateTime());
// True when a new backup was written; failures are told in the message box.
bool MakeBackup(const QDateTime &now = QDateTime::currentDateTime());
