#include "DatabaseCopy.h"

#include "ChangeStamps.h"
#include "Database.h"
#include "DatabaseError.h"
#include "Schema.h"
#include "SchemaInstaller.h"

#include <QDateTime>
#include <QSqlQuery>

#include <algorithm>
#include <memory>

namespace DatabaseCopy {

namespace {

// Below what either engine takes in one statement, and enough to spare a server most of
// its round trips.
constexpr int ParametersPerStatement = 2000;
constexpr int RowsPerStatement = 250;

QString nameOf(const Schema::Table &table)
{
    return QString::fromLatin1(table.name);
}

QString columnList(const Schema::Table &table)
{
    QStringList names;
    for (const Schema::Column &column : table.columns)
        names << QString::fromLatin1(column.name);
    return names.join(QStringLiteral(", "));
}

qint64 rowCount(const Database &database, const Schema::Table &table)
{
    QSqlQuery count = database.runNative(QStringLiteral("SELECT count(*) FROM %1").arg(nameOf(table)));
    return count.next() ? count.value(0).toLongLong() : 0;
}

bool isAutoNumbered(const Schema::Table &table)
{
    return table.column(QString::fromLatin1(table.key))->type == Schema::Type::AutoNumber;
}

// A value the program cannot read as its column's type (a date or a number another tool
// wrote in a form of its own) would arrive as nothing: it stops the copy instead.
bool isReadable(const Schema::Column &column, const QVariant &value)
{
    if (value.isNull())
        return true;
    bool ok = true;
    switch (column.type) {
    case Schema::Type::DateTime:
        return value.toDateTime().isValid();
    case Schema::Type::AutoNumber:
    case Schema::Type::Long:
    case Schema::Type::Byte:
        value.toLongLong(&ok);
        return ok || value.toString().trimmed().isEmpty();
    case Schema::Type::Double:
        value.toDouble(&ok);
        return ok;
    default:
        return true;
    }
}

void requireEveryTable(const Database &source)
{
    const QStringList present = source.connection().tables();
    for (int i = 0; i < Schema::tableCount(); ++i) {
        const QString name = nameOf(Schema::tableAt(i));
        if (!present.contains(name, Qt::CaseInsensitive))
            throw DatabaseError(QStringLiteral("%1 has no table %2: it is not a database of Veldra.").arg(source.location().describe(), name));
    }
}

// Rows written many to a statement. A refused row is told by the keys of its statement.
class RowWriter
{
public:
    RowWriter(const Database &target, const Schema::Table &table)
        : m_target(target)
        , m_table(table)
        , m_rowsPerStatement(std::clamp(ParametersPerStatement / int(table.columns.size()), 1, RowsPerStatement))
    {
    }

    void write(const QVariantList &row, const QVariant &key)
    {
        if (m_rows == 0)
            m_firstKey = key;
        m_lastKey = key;
        m_values += row;
        if (++m_rows == m_rowsPerStatement)
            flush();
    }

    void finish()
    {
        if (m_rows > 0)
            flush();
    }

private:
    void flush()
    {
        try {
            if (m_rows < m_rowsPerStatement) {
                RepeatedStatement(m_target, insertStatement(m_rows)).run(m_values);
            } else {
                if (!m_full)
                    m_full = std::make_unique<RepeatedStatement>(m_target, insertStatement(m_rows));
                m_full->run(m_values);
            }
        } catch (const DatabaseError &error) {
            throw DatabaseError(QStringLiteral("%1 refused a row of %2 among %3 %4 to %5.")
                                    .arg(m_target.location().describe(), nameOf(m_table), QString::fromLatin1(m_table.key),
                                         m_firstKey.toString(), m_lastKey.toString()),
                                error.sql(), error.driverText());
        }
        m_values.clear();
        m_rows = 0;
    }

    QString insertStatement(int rows) const
    {
        QStringList marks(qsizetype(m_table.columns.size()), QStringLiteral("?"));
        const QString row = QLatin1Char('(') + marks.join(QStringLiteral(", ")) + QLatin1Char(')');
        return QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
            .arg(nameOf(m_table), columnList(m_table), QStringList(rows, row).join(QStringLiteral(", ")));
    }

    const Database &m_target;
    const Schema::Table &m_table;
    const int m_rowsPerStatement;
    std::unique_ptr<RepeatedStatement> m_full;
    QVariantList m_values;
    int m_rows = 0;
    QVariant m_firstKey;
    QVariant m_lastKey;
};

qint64 copyRows(const Database &source, const Database &target, const Schema::Table &table)
{
    const auto keyIndex = table.column(QString::fromLatin1(table.key)) - table.columns.data();
    RowWriter writer(target, table);
    qint64 rows = 0;
    QVariantList row;
    source.read(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3").arg(columnList(table), nameOf(table), QString::fromLatin1(table.key)),
                {}, [](const QStringList &) {}, [&](const QVariant *stored) {
                    row.clear();
                    for (size_t i = 0; i < table.columns.size(); ++i) {
                        const Schema::Column &column = table.columns[i];
                        const QVariant value = source.fromDatabase(&column, stored[i]);
                        if (!isReadable(column, value))
                            throw DatabaseError(QStringLiteral("%1 %2 of %3 holds \"%4\" in %5, which is not a value of its type; "
                                                               "correct it at the source.")
                                                    .arg(QString::fromLatin1(table.key), stored[keyIndex].toString(), nameOf(table),
                                                         stored[i].toString(), QString::fromLatin1(column.name)));
                        row << target.toDatabase(column, value);
                    }
                    writer.write(row, stored[keyIndex]);
                    ++rows;
                });
    writer.finish();
    return rows;
}

// Workstations compare each table's stamp with the one they read last.
void stampTables(const Database &database)
{
    QStringList names;
    database.read(QStringLiteral("SELECT TableName FROM TRequery"), {}, [](const QStringList &) {}, [&names](const QVariant *values) {
        if (!values[0].isNull())
            names << values[0].toString();
    });
    for (const QString &name : names)
        StampTableChange(database, name);
}

}

void run(Database &source, Database &target, const TableCopied &copied)
{
    requireEveryTable(source);
    source.snapshot([&] {
        target.transaction([&] {
            if (!target.connection().tables().isEmpty())
                throw DatabaseError(QStringLiteral("%1 is not empty: a copy goes only into a new file or an empty server database.")
                                        .arg(target.location().describe()));
            SchemaInstaller::installTables(target);
            for (int i = 0; i < Schema::tableCount(); ++i) {
                const Schema::Table &table = Schema::tableAt(i);
                const qint64 rows = copyRows(source, target, table);
                if (isAutoNumbered(table))
                    target.raiseKeyCounter(table, source.keyCounter(table));
                if (copied)
                    copied(nameOf(table), rows);
            }
            stampTables(target);
            for (int i = 0; i < Schema::tableCount(); ++i) {
                const Schema::Table &table = Schema::tableAt(i);
                const qint64 expected = rowCount(source, table);
                const qint64 arrived = rowCount(target, table);
                if (arrived != expected)
                    throw DatabaseError(QStringLiteral("%1 has %2 rows of %3 where %4 has %5.")
                                            .arg(target.location().describe())
                                            .arg(arrived)
                                            .arg(nameOf(table), source.location().describe())
                                            .arg(expected));
            }
        });
    });
}

}
