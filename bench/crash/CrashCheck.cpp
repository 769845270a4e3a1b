#include "CrashCheck.h"

#include "CrashJournal.h"
#include "CrashWorld.h"

#include "Database.h"
#include "IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlQuery>

#include <sqlite3.h>

#include <algorithm>
#include <memory>

namespace CrashCheck {

namespace {

// The program keeps the ten newest; a kill between the copy and the pruning leaves one more.
constexpr int MostBackups = 11;

const QRegularExpression &backupName()
{
    static const QRegularExpression name(QStringLiteral("^B\\d{3,}"), QRegularExpression::CaseInsensitiveOption);
    return name;
}

QHash<qlonglong, QString> columnByKey(const Database &database, const QString &table, const QString &column)
{
    QHash<qlonglong, QString> values;
    QSqlQuery query = database.runNative(QStringLiteral("SELECT ID, %1 FROM %2").arg(column, table));
    while (query.next())
        values.insert(query.value(0).toLongLong(), query.value(1).toString());
    return values;
}

bool holdsOneOf(const QString &stored, const CrashJournal::SetValue &set)
{
    return (set.hasDone && stored == set.done) || set.begun.contains(stored);
}

void checkRows(const Database &database, const CrashJournal::Reader &journal, CrashFindings &findings)
{
    const std::pair<const char *, std::pair<const char *, const char *>> tables[] = {
        {CrashJournal::Person, {"TOsnovniPod", "Sifra"}},
        {CrashJournal::Contact, {"TOsnovniPodVezaKontakt", "Value"}},
        {CrashJournal::Note, {"TOsnovniPodVezaOpombe", "Value"}},
    };
    for (const auto &[activity, place] : tables) {
        const QString table = QString::fromLatin1(place.first);
        const QHash<qlonglong, QString> stored = columnByKey(database, table, QString::fromLatin1(place.second));
        const QHash<qlonglong, QString> committed = journal.rows().value(QString::fromLatin1(activity));
        for (auto it = committed.cbegin(); it != committed.cend(); ++it) {
            if (stored.value(it.key()) != it.value())
                findings.lost << QStringLiteral("%1 %2 (%3) is not there").arg(table).arg(it.key()).arg(it.value());
        }
    }
    const QHash<qlonglong, QString> surnames = columnByKey(database, QStringLiteral("TOsnovniPod"), QStringLiteral("Priimek"));
    const QMap<QString, CrashJournal::SetValue> renames = journal.values().value(QString::fromLatin1(CrashJournal::Rename));
    for (auto it = renames.cbegin(); it != renames.cend(); ++it) {
        const QString stored = surnames.value(it.key().toLongLong());
        if (it->hasDone && !holdsOneOf(stored, *it))
            findings.lost << QStringLiteral("TOsnovniPod %1 holds %2, not %3").arg(it.key(), stored, it->done);
    }
    // A person saved in one transaction with its contact and note: all three or none.
    const QString grouped = QStringLiteral("substr(%1, 1, 1) = 'G'");
    const QStringList partial = {
        QStringLiteral("SELECT p.Sifra FROM TOsnovniPod p WHERE %1 AND ((SELECT COUNT(*) FROM TOsnovniPodVezaKontakt k WHERE "
                       "k.IDOsebe = p.ID AND k.Value = p.Sifra) <> 1 OR (SELECT COUNT(*) FROM TOsnovniPodVezaOpombe n WHERE "
                       "n.IDOsebe = p.ID AND n.Value = p.Sifra) <> 1)")
            .arg(grouped.arg(QStringLiteral("p.Sifra"))),
        QStringLiteral("SELECT k.Value FROM TOsnovniPodVezaKontakt k WHERE %1 AND NOT EXISTS (SELECT 1 FROM TOsnovniPod p WHERE "
                       "p.ID = k.IDOsebe)")
            .arg(grouped.arg(QStringLiteral("k.Value"))),
        QStringLiteral("SELECT n.Value FROM TOsnovniPodVezaOpombe n WHERE %1 AND NOT EXISTS (SELECT 1 FROM TOsnovniPod p WHERE "
                       "p.ID = n.IDOsebe)")
            .arg(grouped.arg(QStringLiteral("n.Value"))),
    };
    for (const QString &sql : partial) {
        QSqlQuery query = database.runNative(sql);
        while (query.next())
            findings.lost << QStringLiteral("the transaction of %1 is kept in part").arg(query.value(0).toString());
    }
}

void checkDatabase(const CrashWorld &world, const CrashJournal::Reader &journal, CrashFindings &findings)
{
    try {
        const bool onServer = !world.server().isEmpty();
        // Opening it rolls back what a killed workstation left half-written.
        const Database database(onServer ? DatabaseLocation::postgresServer(world.server())
                                         : DatabaseLocation::sqliteFile(world.databaseFile()));
        if (!onServer) {
            QSqlQuery integrity = database.runNative(QStringLiteral("PRAGMA integrity_check"));
            while (integrity.next()) {
                if (integrity.value(0).toString() != QLatin1String("ok"))
                    findings.corrupt << QStringLiteral("Veldra_be.mdb: ") + integrity.value(0).toString();
            }
        }
        checkRows(database, journal, findings);
    } catch (const std::exception &error) {
        findings.corrupt << QStringLiteral("Veldra_be.mdb: it cannot be used: ") + QString::fromUtf8(error.what()).simplified();
    }
}

void checkBackups(const CrashWorld &world, CrashFindings &findings)
{
    int backups = 0;
    const QFileInfoList entries = QDir(world.backupFolder()).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &entry : entries) {
        if (!backupName().match(entry.fileName()).hasMatch()) {
            ++findings.leftovers;
            continue;
        }
        ++backups;
        if (const QString fault = wholeCopyFault(entry.filePath()); !fault.isEmpty())
            findings.corrupt << entry.fileName() + QStringLiteral(": ") + fault;
    }
    if (backups > MostBackups)
        findings.corrupt << QStringLiteral("Backup: %1 backups are kept").arg(backups);
}

struct IniLines
{
    QStringList kept; // every line but blank ones and the worker's own
    QHash<QString, int> workerKeys; // "section|key" -> lines
};

IniLines readIniLines(const QString &text, const CrashWorld::IniFileSeed &seed)
{
    IniLines lines;
    QString section;
    static const QRegularExpression lineBreak(QStringLiteral("\r?\n"));
    for (const QString &line : text.split(lineBreak)) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty())
            continue;
        if (trimmed.startsWith(QLatin1Char('['))) {
            section = trimmed.mid(1, trimmed.indexOf(QLatin1Char(']')) - 1).trimmed();
            if (!seed.workerSections.contains(section, Qt::CaseInsensitive))
                lines.kept << line;
            continue;
        }
        const qsizetype equals = trimmed.indexOf(QLatin1Char('='));
        const QString key = trimmed.left(equals).trimmed();
        const auto isWorkerKey = [&key](const QString &start) { return key.startsWith(start, Qt::CaseInsensitive); };
        if (equals > 0 && std::any_of(seed.workerKeys.cbegin(), seed.workerKeys.cend(), isWorkerKey))
            ++lines.workerKeys[section + QLatin1Char('|') + key];
        else
            lines.kept << line;
    }
    return lines;
}

void checkIniFile(const CrashWorld::IniFileSeed &seed, const CrashJournal::Reader &journal, CrashFindings &findings)
{
    const QString fileName = QFileInfo(seed.path).fileName();
    QFile file(seed.path);
    if (!file.open(QIODevice::ReadOnly)) {
        findings.corrupt << fileName + QStringLiteral(": the file is gone");
        return;
    }
    const IniLines lines = readIniLines(QString::fromUtf8(file.readAll()), seed);
    QStringList seeded = seed.lines;
    seeded.removeIf([](const QString &line) { return line.trimmed().isEmpty(); });
    if (lines.kept != seeded)
        findings.corrupt << fileName + QStringLiteral(": its lines are now \"%1\"").arg(lines.kept.join(QStringLiteral("\" \"")));
    for (auto it = lines.workerKeys.cbegin(); it != lines.workerKeys.cend(); ++it) {
        if (it.value() > 1)
            findings.corrupt << fileName + QStringLiteral(": %1 is there %2 times").arg(it.key()).arg(it.value());
    }
    const IniFile ini(seed.path);
    const QMap<QString, CrashJournal::SetValue> written = journal.values().value(seed.name);
    for (auto it = written.cbegin(); it != written.cend(); ++it) {
        const QString section = it.key().section(QLatin1Char('|'), 0, 0), key = it.key().section(QLatin1Char('|'), 1);
        const QString stored = ini.readString(section, key);
        if (it->hasDone && !holdsOneOf(stored, *it))
            findings.lost << fileName + QStringLiteral(" %1 holds \"%2\", not \"%3\"").arg(it.key(), stored, it->done);
    }
}

}

QString wholeCopyFault(const QString &path)
{
    sqlite3 *handle = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &handle, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(handle);
        return QStringLiteral("does not open");
    }
    const std::unique_ptr<sqlite3, int (*)(sqlite3 *)> database(handle, sqlite3_close);
    QStringList results;
    const auto collect = [](void *list, int, char **values, char **) {
        static_cast<QStringList *>(list)->append(QString::fromUtf8(values[0] ? values[0] : ""));
        return 0;
    };
    const char *sql = "PRAGMA integrity_check; PRAGMA page_count; PRAGMA page_size; "
                      "SELECT COUNT(*) FROM sqlite_master WHERE name = 'TOsnovniPod'";
    if (sqlite3_exec(handle, sql, collect, &results, nullptr) != SQLITE_OK || results.size() != 4)
        return QStringLiteral("cannot be read: ") + QString::fromUtf8(sqlite3_errmsg(handle));
    if (results[0] != QLatin1String("ok"))
        return results[0];
    if (results[1].toLongLong() * results[2].toLongLong() != QFileInfo(path).size())
        return QStringLiteral("its size is not that of its pages");
    if (results[3] != QLatin1String("1"))
        return QStringLiteral("holds no persons table");
    return QString();
}

CrashFindings check(const CrashWorld &world, const CrashJournal::Reader &journal)
{
    CrashFindings findings;
    checkDatabase(world, journal, findings);
    checkBackups(world, findings);
    for (const CrashWorld::IniFileSeed &seed : world.iniFiles())
        checkIniFile(seed, journal, findings);
    return findings;
}

}
