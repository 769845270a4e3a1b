#pragma once

#include "ExpectedFailure.h"

#include <QString>

#include <stdexcept>

// A failure of the database: a connection that cannot be made, a statement that fails,
// a value the database refuses. The text is meant for the user.
class DatabaseError : public std::runtime_error
{
public:
    explicit DatabaseError(const QString &message, const QString &sql = QString(), const QString &driverText = QString());

    QString message() const { return m_message; }
    QString sql() const { return m_sql; }
    QString driverText() const { return m_driverText; }

private:
    QString m_message;
    QString m_sql;
    QString m_driverText;
};

// The row being saved was changed or removed by another workstation since it was read.
// Nothing was written; the edit stays for the user to save again or to cancel.
class RecordChangedError : public DatabaseError, public ExpectedFailure
{
public:
    using DatabaseError::DatabaseError;
};

// Another workstation held the database (the file's write lock, a row or table on the
// server) for longer than the busy timeout. Nothing was written; the edit stays for the
// user to save again in a moment.
class DatabaseBusyError : public DatabaseError, public ExpectedFailure
{
public:
    using DatabaseError::DatabaseError;
};
