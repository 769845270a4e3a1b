#pragma once

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
