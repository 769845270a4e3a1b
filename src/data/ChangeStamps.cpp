#include "ChangeStamps.h"

#include "Database.h"
#include "Schema.h"

#include <QDateTime>

void StampTableChange(const Database &database, const QString &tableName)
{
    const Schema::Column &stampColumn = *Schema::table(u"TRequery")->column(u"LastModified");
    QVariant row;
    QDateTime previous;
    database.read(QStringLiteral("SELECT ID, TableName, LastModified FROM TRequery ORDER BY ID"), {}, [](const QStringList &) {},
                  [&](const QVariant *v) {
                      if (row.isNull() && v[1].toString().compare(tableName, Qt::CaseInsensitive) == 0) {
                          row = v[0];
                          previous = database.fromDatabase(&stampColumn, v[2]).toDateTime();
                      }
                  });
    QDateTime stamp = QDateTime::currentDateTime();
    if (previous.isValid() && stamp <= previous)
        stamp = previous.addMSecs(1);
    const QVariant stored = database.toDatabase(stampColumn, stamp);
    if (row.isNull())
        database.runNative(QStringLiteral("INSERT INTO TRequery (TableName, LastModified) VALUES (?, ?)"), {tableName, stored});
    else
        database.runNative(QStringLiteral("UPDATE TRequery SET LastModified = ? WHERE ID = ?"), {stored, row});
}
