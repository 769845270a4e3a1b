#include "StressCheck.h"

#include "Database.h"
#include "DatabaseError.h"

#include <QHash>
#include <QSet>
#include <QSqlQuery>

#include <limits>

namespace Stress {

const QList<CheckedTable> checkedTables{
    {"TOsnovniPod", "ID", false},
    {"TOsnovniPodVezaKontakt", "ID", true},
    {"TOsnovniPodVezaOpombe", "ID", true},
    {"TOsnovniPodVezaKategorje", "ID", true},
    {"TKategorije", "IDkat", false},
};

namespace {

using Row = QHash<QString, QVariant>;
using Rows = QHash<qint64, Row>;

QString describe(const Change &change)
{
    return QStringLiteral("workstation %1, %2 %3").arg(change.workstation).arg(change.table).arg(change.key);
}

// The rows as they stand, by key; field names in lower case, as every engine may give them.
Rows readRows(const Database &database, const CheckedTable &table)
{
    Rows rows;
    QStringList names;
    int key = -1;
    database.read(QStringLiteral("SELECT * FROM %1").arg(QString::fromLatin1(table.name)), {},
                  [&](const QStringList &columns) {
                      for (const QString &column : columns)
                          names << column.toLower();
                      key = int(names.indexOf(QString::fromLatin1(table.key).toLower()));
                  },
                  [&](const QVariant *values) {
                      Row row;
                      for (int i = 0; i < names.size(); ++i)
                          row.insert(names[i], values[i]);
                      rows.insert(values[key].toLongLong(), row);
                  });
    return rows;
}

bool holds(const Row &row, const QString &field, const QString &value)
{
    const QVariant stored = row.value(field.toLower());
    return !stored.isNull() && stored.toString() == value;
}

class Checker
{
public:
    Checker(const Database &database, const QList<Change> &changes, Verdict &verdict)
        : m_changes(changes)
        , m_verdict(verdict)
    {
        for (const CheckedTable &table : checkedTables)
            m_rows.insert(QString::fromLatin1(table.name), readRows(database, table));
    }

    void run()
    {
        countOutcomes();
        checkKeys();
        checkRows();
        checkFields();
        checkRefusedInserts();
    }

private:
    void problem(int &count, const QString &text)
    {
        ++count;
        m_verdict.problems << text;
    }

    void countOutcomes()
    {
        for (const Change &change : m_changes) {
            switch (change.outcome) {
            case Change::Outcome::Saved:
                if (change.kind != Change::Kind::Read)
                    ++m_verdict.commits;
                break;
            case Change::Outcome::Conflict:
                ++m_verdict.conflictsReported;
                break;
            case Change::Outcome::Busy:
                ++m_verdict.busyReported;
                break;
            case Change::Outcome::Failed:
                problem(m_verdict.lost, describe(change) + QStringLiteral(": failed unexpectedly: ") + change.message);
                break;
            }
        }
    }

    // Every new row got a key of its own, never one given before.
    void checkKeys()
    {
        QHash<QString, QHash<qint64, const Change *>> given;
        for (const Change &change : m_changes) {
            if (change.kind != Change::Kind::Insert || change.outcome != Change::Outcome::Saved)
                continue;
            const Change *&earlier = given[change.table][change.key];
            if (change.key <= 0 || earlier)
                problem(m_verdict.keysReused, describe(change) + QStringLiteral(": key given twice or not at all"));
            earlier = &change;
        }
    }

    // A saved delete that may have come after the change: of the row itself, or of its person.
    bool removedAfter(const Change &change) const
    {
        const CheckedTable *table = checkedTable(change.table);
        for (const Change &other : m_changes) {
            if (other.kind != Change::Kind::Delete || other.outcome != Change::Outcome::Saved || other.end < change.start)
                continue;
            if (other.table == change.table && other.key == change.key)
                return true;
            if (table && table->belongsToPerson && other.table == QLatin1String("TOsnovniPod") && other.key == change.person)
                return true;
        }
        return false;
    }

    static const CheckedTable *checkedTable(const QString &name)
    {
        for (const CheckedTable &table : checkedTables)
            if (name == QLatin1String(table.name))
                return &table;
        return nullptr;
    }

    // Every row told added is there, unless a delete told saved may have removed it.
    void checkRows()
    {
        for (const Change &change : m_changes) {
            if (change.kind != Change::Kind::Insert || change.outcome != Change::Outcome::Saved)
                continue;
            if (!m_rows.value(change.table).contains(change.key) && !removedAfter(change))
                problem(m_verdict.lost, describe(change) + QStringLiteral(": told added, and missing"));
        }
    }

    // Each field of a row that is there holds the value of the last change told saved:
    // one that no later saved change (begun after it ended) replaced.
    void checkFields()
    {
        QHash<QString, QList<const Change *>> written; // by table, key and field
        for (const Change &change : m_changes)
            if (change.kind == Change::Kind::Insert || change.kind == Change::Kind::Update)
                for (auto it = change.fields.cbegin(); it != change.fields.cend(); ++it)
                    written[QStringLiteral("%1/%2/%3").arg(change.table).arg(change.key).arg(it.key())].append(&change);
        for (auto it = written.cbegin(); it != written.cend(); ++it) {
            const QStringList place = it.key().split(QLatin1Char('/'));
            const auto row = m_rows.value(place[0]).constFind(place[1].toLongLong());
            if (row == m_rows.value(place[0]).constEnd())
                continue;
            checkField(*row, place[2], it.value());
        }
    }

    void checkField(const Row &row, const QString &field, const QList<const Change *> &changes)
    {
        const Change *held = nullptr;
        bool refusedHeld = false;
        for (const Change *change : changes) {
            if (!holds(row, field, change->fields.value(field)))
                continue;
            if (change->outcome == Change::Outcome::Saved) {
                if (!held || change->end > held->end)
                    held = change;
            } else {
                refusedHeld = true;
            }
        }
        const Change &any = *changes.first();
        const QString place = QStringLiteral("%1 %2 %3 = \"%4\"").arg(any.table).arg(any.key).arg(field, row.value(field.toLower()).toString());
        if (!held && refusedHeld) {
            problem(m_verdict.refusedLanded, place + QStringLiteral(": written by a change told refused"));
            return;
        }
        const qint64 heldEnd = held ? held->end : std::numeric_limits<qint64>::min();
        for (const Change *change : changes)
            if (change->outcome == Change::Outcome::Saved && change->start > heldEnd)
                problem(m_verdict.lost, place + QStringLiteral(": the later saved \"%1\" of workstation %2 is missing")
                                            .arg(change->fields.value(field)).arg(change->workstation));
        checkUnreadOverwrites(field, changes, place);
    }

    // A saved edit wrote over no saved change it had not read: one begun after the change
    // whose value it read had ended, and ended before the edit began.
    void checkUnreadOverwrites(const QString &field, const QList<const Change *> &changes, const QString &place)
    {
        for (const Change *edit : changes) {
            if (edit->outcome != Change::Outcome::Saved || !edit->bases.contains(field))
                continue;
            const QString base = edit->bases.value(field);
            qint64 readEnd = std::numeric_limits<qint64>::min();
            for (const Change *change : changes)
                if (change->outcome == Change::Outcome::Saved && !base.isNull() && change->fields.value(field) == base)
                    readEnd = qMax(readEnd, change->end);
            for (const Change *other : changes)
                if (other != edit && other->outcome == Change::Outcome::Saved && other->fields.value(field) != base
                    && other->start > readEnd && other->end < edit->start)
                    problem(m_verdict.lost, place + QStringLiteral(": \"%1\" of workstation %2 was written over \"%3\" of workstation %4 unread")
                                                .arg(edit->fields.value(field)).arg(edit->workstation)
                                                .arg(other->fields.value(field)).arg(other->workstation));
        }
    }

    // A new row told refused is not there: no row that no saved change added holds its values.
    void checkRefusedInserts()
    {
        QHash<QString, QSet<qint64>> added;
        for (const Change &change : m_changes)
            if (change.kind == Change::Kind::Insert && change.outcome == Change::Outcome::Saved)
                added[change.table].insert(change.key);
        for (const Change &change : m_changes) {
            if (change.kind != Change::Kind::Insert || change.outcome == Change::Outcome::Saved)
                continue;
            const CheckedTable *table = checkedTable(change.table);
            const Rows rows = m_rows.value(change.table);
            for (auto row = rows.cbegin(); row != rows.cend(); ++row) {
                if (added.value(change.table).contains(row.key()))
                    continue;
                bool same = !table || !table->belongsToPerson || holds(*row, QStringLiteral("IDOsebe"), QString::number(change.person));
                for (auto field = change.fields.cbegin(); same && field != change.fields.cend(); ++field)
                    same = holds(*row, field.key(), field.value());
                if (same)
                    problem(m_verdict.refusedLanded, describe(change) + QStringLiteral(": told refused, and added as %1").arg(row.key()));
            }
        }
    }

    const QList<Change> &m_changes;
    Verdict &m_verdict;
    QHash<QString, Rows> m_rows;
};

// The engine's own check of its file; on the server, its check of the indexes where it
// has one for us, and the tables read whole find no key twice.
bool integrityHolds(const Database &database, QStringList &problems)
{
    try {
        if (database.dialect() == SqlDialect::Sqlite) {
            QSqlQuery result = database.runNative(QStringLiteral("PRAGMA integrity_check"));
            const QString verdict = result.next() ? result.value(0).toString() : QString();
            if (verdict != QLatin1String("ok"))
                problems << QStringLiteral("integrity check: ") + verdict;
            return verdict == QLatin1String("ok");
        }
        QSqlQuery amcheck = database.runNative(QStringLiteral("SELECT count(*) FROM pg_extension WHERE extname = 'amcheck'"));
        if (amcheck.next() && amcheck.value(0).toInt() > 0)
            database.runNative(QStringLiteral("SELECT bt_index_check(c.oid) FROM pg_index i JOIN pg_class c ON c.oid = i.indexrelid "
                                              "JOIN pg_am a ON a.oid = c.relam WHERE a.amname = 'btree' "
                                              "AND c.relnamespace = 'public'::regnamespace"));
        database.runNative(QStringLiteral("SET enable_indexscan = off"));
        database.runNative(QStringLiteral("SET enable_indexonlyscan = off"));
        database.runNative(QStringLiteral("SET enable_bitmapscan = off"));
        bool whole = true;
        for (const CheckedTable &table : checkedTables) {
            QSqlQuery twice = database.runNative(QStringLiteral("SELECT count(*) FROM (SELECT %2 FROM %1 GROUP BY %2 HAVING count(*) > 1) d")
                                                     .arg(QString::fromLatin1(table.name), QString::fromLatin1(table.key)));
            if (twice.next() && twice.value(0).toInt() > 0) {
                problems << QStringLiteral("%1 holds a key twice").arg(QString::fromLatin1(table.name));
                whole = false;
            }
        }
        return whole;
    } catch (const DatabaseError &error) {
        problems << QStringLiteral("integrity check: ") + QString::fromStdString(error.what());
        return false;
    }
}

}

Verdict check(const Database &database, const QList<Change> &changes)
{
    Verdict verdict;
    verdict.integrityHolds = integrityHolds(database, verdict.problems);
    Checker(database, changes, verdict).run();
    return verdict;
}

}
