#include "DatabaseError.h"

namespace {
QString fullText(const QString &message, const QString &driverText)
{
    return driverText.isEmpty() ? message : message + QStringLiteral("\r\n") + driverText;
}
}

DatabaseError::DatabaseError(const QString &message, const QString &sql, const QString &driverText)
    : std::runtime_error(fullText(message, driverText).toStdString())
    , m_message(message)
    , m_sql(sql)
    , m_driverText(driverText)
{
}
