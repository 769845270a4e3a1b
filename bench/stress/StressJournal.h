#pragma once

#include <QFile>
#include <QList>
#include <QMap>
#include <QString>

namespace Stress {

// One change a workstation asked for, and what the program told it: saved, refused
// because another workstation changed or removed the row meanwhile (a conflict), refused
// because the database was busy, or failed otherwise (an error the program did not
// expect). Times are the system's monotonic clock in nanoseconds, the same for every
// process: the change was made between start and end.
struct Change
{
    enum class Kind { Insert, Update, Delete, Read };
    enum class Outcome { Saved, Conflict, Busy, Failed };

    Change() = default;
    Change(Kind kind, const QString &table, qint64 key = 0, qint64 person = 0)
        : kind(kind)
        , table(table)
        , key(key)
        , person(person)
    {
    }

    int workstation = 0;
    Kind kind = Kind::Update;
    Outcome outcome = Outcome::Saved;
    QString table;
    qint64 key = 0;
    // The person a sub-record belongs to; its removal takes the sub-record with it.
    qint64 person = 0;
    QMap<QString, QString> fields;
    // For an edit: what the workstation had read of each field it changed (null for none).
    QMap<QString, QString> bases;
    qint64 start = 0;
    qint64 end = 0;
    QString message;
};

qint64 now();

// A workstation's changes, one line each, written as they are told: a line once
// written stays whatever happens to the process afterwards.
class Journal
{
public:
    explicit Journal(const QString &path);
    void write(const Change &change);

private:
    QFile m_file;
};

QList<Change> readJournal(const QString &path);

}
