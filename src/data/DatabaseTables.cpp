#include "DatabaseTables.h"

#include "Database.h"
#include "DatabaseError.h"
#include "Schema.h"

#include <QDateTime>

DatabaseTables::DatabaseTables(const Database &database)
    : m_database(database)
{
}

QString DatabaseTables::describe() const
{
    return m_database.location().describe();
}

QStringList DatabaseTables::tables() const
{
    const QStringList present = m_database.connection().tables();
    QStringList names;
    for (int i = 0; i < Schema::tableCount(); ++i) {
        const QString name = QString::fromLatin1(Schema::tableAt(i).name);
        if (present.contains(name, Qt::CaseInsensitive))
            names << name;
    }
    return names;
}

QStringList DatabaseTables::columns(const QString &table) const
{
    QStringList names;
    if (const Schema::Table *known = Schema::table(table))
        for (const Schema::Column &column : known->columns)
            names << QString::fromLatin1(column.name);
    return names;
}

qint64 DatabaseTables::rowCount(const QString &table) const
{
    QSqlQuery count = m_database.runNative(QStringLiteral("SELECT count(*) FROM %1").arg(table));
    return count.next() ? count.value(0).toLongLong() : 0;
}

void DatabaseTables::read(const QString &table, const QStringList &columns, const std::function<void(const QVariant *)> &row) const
{
    const Schema::Table *known = Schema::table(table);
    if (!known)
        throw DatabaseError(QStringLiteral("%1 has no table %2.").arg(describe(), table));
    std::vector<const Schema::Column *> types;
    for (const QString &name : columns)
        types.push_back(known->column(name));
    std::vector<QVariant> values(size_t(columns.size()));
    m_database.read(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3").arg(columns.join(QStringLiteral(", ")), table, QString::fromLatin1(known->key)),
                    {}, [](const QStringList &) {}, [&](const QVariant *stored) {
                        for (size_t i = 0; i < types.size(); ++i) {
                            values[i] = m_database.fromDatabase(types[i], stored[i]);
                            if (values[i].typeId() == QMetaType::QDateTime && !values[i].toDateTime().isValid())
                                values[i] = stored[i];
                        }
                        row(values.data());
                    });
}
