#pragma once

#include <QHash>
#include <QMap>
#include <QString>
#include <QStringList>

// What a worker was told succeeded, one line per step, written as the step begins and
// again once it has returned: "begin" or "done", the activity, its target and its value,
// separated by tabs. A line is written whole and at once, so a kill leaves at most the
// last line unfinished.
namespace CrashJournal {

// Activities whose "done" names a committed row: the target is its key, the value the
// marker it was saved with.
inline constexpr auto Person = "person";   // TOsnovniPod.Sifra
inline constexpr auto Contact = "contact"; // TOsnovniPodVezaKontakt.Value
inline constexpr auto Note = "note";       // TOsnovniPodVezaOpombe.Value
// A person with a contact and a note in one transaction, all three with the same marker.
inline constexpr auto Group = "group";
// Activities that set a value: the target names it, the value is what was written.
inline constexpr auto Rename = "rename"; // TOsnovniPod.Priimek of the person the target names
// Writes of the INI files: the target is "section|key".
inline constexpr auto ProgramIni = "ini";
inline constexpr auto LastVer = "lastver";
inline constexpr auto SettingsStore = "registry";
// The program's start-up and a backup, done or not.
inline constexpr auto Start = "start";
inline constexpr auto Backup = "backup";

class Writer
{
public:
    explicit Writer(const QString &path);
    ~Writer();
    Writer(const Writer &) = delete;
    Writer &operator=(const Writer &) = delete;

    void begin(const QString &activity, const QString &target = QString(), const QString &value = QString());
    void done(const QString &activity, const QString &target = QString(), const QString &value = QString());
    void line(const QString &text);

private:
    int m_fd = -1;
};

// A value the worker set: the last one it was told was written, and those it began to
// write after that (each killed before it was told); the file or the row must hold one of them.
struct SetValue
{
    QString done;
    bool hasDone = false;
    QStringList begun;
};

// All that the journal tells, read on as the journal grows.
class Reader
{
public:
    explicit Reader(QString path);

    // Reads the lines written since the last call. An unfinished last line (a kill in
    // the middle of it) is cut off the file, so that the next worker starts a new one.
    void readOn();

    // Committed rows by activity (Person, Contact, Note): key -> marker.
    const QHash<QString, QHash<qlonglong, QString>> &rows() const { return m_rows; }
    // Set values by activity and target.
    const QMap<QString, QMap<QString, SetValue>> &values() const { return m_values; }
    qsizetype commits() const { return m_commits; }
    qsizetype backups() const { return m_backups; }
    // What the worker of the lines last read was doing at its last one: the activity
    // begun and not done, "between" when it had finished one, "launch" before its first.
    QString lastActivity() const { return m_lastActivity; }
    // What the last worker reported as a failure of its own ("fail" lines), since the last call.
    QStringList takeFailures();

private:
    void apply(const QStringList &fields);

    QString m_path;
    qint64 m_offset = 0;
    QHash<QString, QHash<qlonglong, QString>> m_rows;
    QMap<QString, QMap<QString, SetValue>> m_values;
    qsizetype m_commits = 0;
    qsizetype m_backups = 0;
    QString m_lastActivity;
    QStringList m_failures;
};

}
