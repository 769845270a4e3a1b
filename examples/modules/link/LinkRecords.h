// The link module's own records: one per linked person, in the module's own table
// TPrimerPovezava of the program's database (ID, IDOsebe, Naziv, Opomba).
//
// Copyright (c) the Veldra developers. MIT licence, see LICENSE.
#pragma once

#include <QSqlDatabase>
#include <QString>

#include <optional>
#include <stdexcept>

// A failure whose text is the module's reply; every export turns it into that reply.
class ModuleError : public std::runtime_error
{
public:
    explicit ModuleError(const QString &text) : std::runtime_error(text.toStdString()), m_text(text) {}
    const QString &Text() const { return m_text; }

private:
    QString m_text;
};

struct LinkRecord
{
    int Id = 0;
    int PersonId = 0;
    QString Name;
    QString Note;
};

namespace LinkRecords {

// The program's open connection, found through the application property the program
// sets; the table is made on first use.
QSqlDatabase Database();

QString PersonName(const QSqlDatabase &db, int personId);
// The new record's number (1 or more).
int Add(const QSqlDatabase &db, int personId, const QString &name);
std::optional<LinkRecord> Find(const QSqlDatabase &db, int id);
void Remove(const QSqlDatabase &db, int id);
void SetName(const QSqlDatabase &db, int id, const QString &name);
void SetNote(const QSqlDatabase &db, int id, const QString &note);

// Replaces the module's search rows for the query command: one row per record whose
// field (Naziv or Opomba) is not empty. IDOsebe stays empty: the program ties the rows
// to persons through its link rows.
void FillSearchRows(const QSqlDatabase &db, const QString &progId, const QString &queryCommand,
                    const QString &field);

} // namespace LinkRecords
