#include "DatabaseBackup.h"

#include "PublicFunctions.h"
#include "Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QThread>

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("DatabaseBackup", text);
}

// Whether the text matches the pattern, "?" standing for any one character and "*" for any
// run of them, without regard to case. Only the latest "*" is ever tried again, so that a
// name part full of stars takes no time (a regular expression would give up on it), and
// no letter is split the way escaping one UTF-16 unit at a time splits it.
bool matchesWildcard(QStringView text, QStringView pattern)
{
    const auto same = [](QChar a, QChar b) { return a.toCaseFolded() == b.toCaseFolded(); };
    qsizetype t = 0;
    qsizetype p = 0;
    qsizetype star = -1;
    qsizetype starText = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == QLatin1Char('*')) {
            star = p++;
            starText = t;
        } else if (p < pattern.size() && (pattern[p] == QLatin1Char('?') || same(pattern[p], text[t]))) {
            ++p;
            ++t;
        } else if (star >= 0) {
            p = star + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}

struct Backup
{
    QString name;
    qint64 number;
};

// Plain files named "B" + a number of three digits or more, oldest (lowest number) first.
// The program writes its backups as plain files; a folder or a link of such a name is
// someone else's and is neither numbered on nor pruned.
QList<Backup> numberedBackups(const QString &folder)
{
    static const QRegularExpression numbered(QStringLiteral("^B(\\d{3,})"), QRegularExpression::CaseInsensitiveOption);
    QList<Backup> backups;
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::NoSymLinks | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        const auto match = numbered.match(name);
        if (match.hasMatch())
            backups.append({name, match.captured(1).toLongLong()});
    }
    std::sort(backups.begin(), backups.end(), [](const Backup &a, const Backup &b) {
        return a.number != b.number ? a.number < b.number : a.name < b.name;
    });
    return backups;
}

// An SQLite database is copied through its backup interface, which reads a consistent
// state even while another workstation writes; any other file is copied as it is.
bool isSqliteFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(16) == QByteArray("SQLite format 3", 16);
}

bool copySqlite(const QString &source, const QString &target)
{
    sqlite3 *from = nullptr;
    sqlite3 *to = nullptr;
    bool ok = sqlite3_open_v2(source.toUtf8().constData(), &from, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK
        && sqlite3_open_v2(target.toUtf8().constData(), &to, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr)
            == SQLITE_OK;
    if (ok) {
        sqlite3_backup *backup = sqlite3_backup_init(to, "main", from, "main");
        ok = backup != nullptr;
        if (ok) {
            int rc = SQLITE_OK;
            for (int attempt = 0; attempt < 100; ++attempt) {
                rc = sqlite3_backup_step(backup, -1);
                if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED)
                    break;
                QThread::msleep(100);
            }
            ok = sqlite3_backup_finish(backup) == SQLITE_OK && rc == SQLITE_DONE;
        }
    }
    sqlite3_close(from);
    sqlite3_close(to);
    return ok;
}

// The temporary copy is named by computer and process, so that workstations sharing the
// backup folder never write into each other's.
QString temporaryPrefix()
{
    return QStringLiteral(".veldra-backup-") + GetComputerNameText() + QLatin1Char('-');
}

bool processRuns(qint64 pid)
{
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

// A copy that was killed half-way leaves its temporary files (the copy and its journal);
// this computer's are removed once their process is gone, so that they do not pile up.
void removeLeftovers(const QString &folder)
{
    const QString prefix = temporaryPrefix();
    const QStringList names = QDir(folder).entryList({prefix + QLatin1Char('*')}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        const qint64 pid = name.mid(prefix.size()).section(QLatin1Char('.'), 0, 0).toLongLong();
        if (pid > 0 && !processRuns(pid))
            QFile::remove(folder + name);
    }
}

// On the disk before it is named, so that a power cut leaves no backup's name on a half
// copy; a folder, so that the new name stays.
bool syncToDisk(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    return synced;
}

// Copies under a temporary name and renames, so that no half copy ever carries a backup's name.
bool copyAtomically(const QString &source, const QString &target)
{
    const QString folder = QFileInfo(target).absolutePath() + QLatin1Char('/');
    removeLeftovers(folder);
    const QString temporary = folder + temporaryPrefix() + QString::number(QCoreApplication::applicationPid()) + QStringLiteral(".tmp");
    QFile::remove(temporary);
    const bool copied = isSqliteFile(source) ? copySqlite(source, temporary) : QFile::copy(source, temporary);
    if (copied && syncToDisk(temporary)
        && std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(target).constData()) == 0) {
        syncToDisk(folder);
        return true;
    }
    QFile::remove(temporary);
    return false;
}
}

QString GetBackupFolder()
{
    return GetBackupTemplate().folder;
}

QString ExpandBackupName(bool wildcard, const QDateTime &now)
{
    QString name = GetBackupTemplate().namePart;
    if (name.trimmed().isEmpty()) {
        // The date in the user's short format names the day's backup; no folder separators in a file name.
        name = QLocale().toString(now.date(), QLocale::ShortFormat);
        return name.replace(QLatin1Char('/'), QLatin1Char('-')).replace(QLatin1Char('\\'), QLatin1Char('-'));
    }
    const QString date = now.toString(QStringLiteral("dd.MM.yyyy"));
    const QString time = wildcard ? QStringLiteral("??.??.??") : now.toString(QStringLiteral("hh.mm.ss"));
    const auto replace = [&name](const char *macro, const QString &value) {
        name.replace(QString::fromLatin1(macro), value, Qt::CaseInsensitive);
    };
    replace("/NOW/", date + QStringLiteral(" (") + time + QLatin1Char(')'));
    replace("/DATE/", date);
    replace("/TIME/", time);
    return name;
}

bool BackupNeeded(const QDateTime &now)
{
    const QString folder = GetBackupFolder();
    if (folder.isEmpty())
        return true;
    static const QRegularExpression numbered(QStringLiteral("^B\\d{3,} "), QRegularExpression::CaseInsensitiveOption);
    const QString today = ExpandBackupName(true, now);
    const auto isTodays = [&](const QString &name) {
        const auto match = numbered.match(name);
        return match.hasMatch() && matchesWildcard(QStringView(name).sliced(match.capturedEnd()), today);
    };
    // Only a file is a backup: a folder of that name holds no copy of the database.
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    return std::none_of(names.cbegin(), names.cend(), isTodays);
}

bool MakeBackup(const QDateTime &now)
{
    const QString folder = GetBackupFolder();
    // An empty folder part would mean the current directory: no backup goes there.
    if (folder.isEmpty() || (!QDir(folder).exists() && !QDir().mkdir(folder)) || !QDir(folder).exists()) {
        ShowMessageBox(tr("Mape za varnostno kopijo ni mogoče kreirati!"), 0);
        return false;
    }
    const QString source = GetDataFolder() + QString::fromLatin1(DatabaseFileName);
    if (!QFileInfo(source).isFile()) {
        ShowMessageBox(tr("Varnostne kopije ni mogoče kopirati!") + QStringLiteral("\r\n")
                           + tr("Izvorne datoteke ni mogoče najti!"),
                       0);
        return false;
    }
    const QList<Backup> old = numberedBackups(folder);
    const qint64 next = old.isEmpty() ? 1 : old.last().number + 1;
    const QString target = folder + QStringLiteral("B%1 ").arg(next, 3, 10, QLatin1Char('0')) + ExpandBackupName(false, now);
    if (!copyAtomically(source, target)) {
        ShowMessageBox(tr("Varnostne kopije ni mogoče kopirati!") + QStringLiteral("\r\n") + tr("Kopiranje ni mogoče!"), 0);
        return false;
    }
    // Keep the new backup and the nine newest old ones. An entry that another
    // workstation has already removed is simply passed over.
    qsizetype count = old.size();
    for (qsizetype i = 0; count + 1 > 10 && i < old.size(); ++i, --count)
        QFile::remove(folder + old[i].name);
    return true;
}
