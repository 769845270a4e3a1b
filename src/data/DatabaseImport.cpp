#include "DatabaseImport.h"

#include "ChangeStamps.h"
#include "ColumnValue.h"
#include "Database.h"
#include "DatabaseError.h"
#include "Schema.h"
#include "SchemaInstaller.h"
#include "TableSource.h"

#include <QSqlQuery>

#include <algorithm>
#include <memory>

namespace DatabaseImport {

namespace {

// Below what either engine takes in one statement, and enough to spare a server most of
// its round trips.
constexpr int ParametersPerStatement = 2000;
constexpr int RowsPerStatement = 250;
// How often a long table tells its progress.
constexpr qint64 RowsPerReport = 1000;

QString nameOf(const Schema::Table &table)
{
    return QString::fromLatin1(table.name);
}

QString nameOf(const Schema::Column &column)
{
    return QString::fromLatin1(column.name);
}

const Schema::Table &ourTable(const QString &name)
{
    const Schema::Table *table = Schema::table(name);
    if (!table)
        throw DatabaseError(QStringLiteral("%1 is not a table of Veldra.").arg(name));
    return *table;
}

// The source's own spelling of a column, or nothing.
QString sourceColumn(const QStringList &columns, const QString &name)
{
    for (const QString &column : columns)
        if (column.compare(name, Qt::CaseInsensitive) == 0)
            return column;
    return {};
}

// The columns a mapping writes: the source's names and ours.
struct Columns
{
    QStringList source;
    std::vector<const Schema::Column *> target;
    QStringList skipped;
};

Columns resolve(const TableSource &source, const TableMapping &mapping, const Schema::Table &table)
{
    const QStringList present = source.columns(mapping.source);
    Columns columns;
    const auto add = [&](const QString &from, const Schema::Column *to) {
        if (std::find(columns.target.begin(), columns.target.end(), to) != columns.target.end())
            throw DatabaseError(QStringLiteral("Two columns of %1 would fill %2 of %3.").arg(mapping.source, nameOf(*to), nameOf(table)));
        columns.source << from;
        columns.target.push_back(to);
    };
    if (mapping.columns.isEmpty()) {
        for (const QString &name : present) {
            if (const Schema::Column *column = table.column(name))
                add(name, column);
            else
                columns.skipped << name;
        }
        return columns;
    }
    for (const auto &[from, to] : mapping.columns) {
        const QString spelled = sourceColumn(present, from);
        if (spelled.isEmpty())
            throw DatabaseError(QStringLiteral("%1 has no column %2 in %3.").arg(source.describe(), from, mapping.source));
        const Schema::Column *column = table.column(to);
        if (!column)
            throw DatabaseError(QStringLiteral("%1 has no column %2.").arg(nameOf(table), to));
        add(spelled, column);
    }
    for (const QString &name : present)
        if (!columns.source.contains(name, Qt::CaseInsensitive))
            columns.skipped << name;
    return columns;
}

// Rows written many to a statement. A refused row is told by the keys of its statement.
class RowWriter
{
public:
    RowWriter(const Database &target, const Schema::Table &table, const std::vector<const Schema::Column *> &columns, const QString &keyName)
        : m_target(target)
        , m_table(table)
        , m_columns(columns)
        , m_keyName(keyName)
        , m_rowsPerStatement(std::clamp(ParametersPerStatement / int(columns.size()), 1, RowsPerStatement))
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
                                    .arg(m_target.location().describe(), nameOf(m_table), m_keyName, m_firstKey.toString(), m_lastKey.toString()),
                                error.sql(), error.driverText());
        }
        m_values.clear();
        m_rows = 0;
    }

    QString insertStatement(int rows) const
    {
        QStringList names;
        for (const Schema::Column *column : m_columns)
            names << nameOf(*column);
        const QStringList marks(qsizetype(m_columns.size()), QStringLiteral("?"));
        const QString row = QLatin1Char('(') + marks.join(QStringLiteral(", ")) + QLatin1Char(')');
        return QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
            .arg(nameOf(m_table), names.join(QStringLiteral(", ")), QStringList(rows, row).join(QStringLiteral(", ")));
    }

    const Database &m_target;
    const Schema::Table &m_table;
    const std::vector<const Schema::Column *> m_columns;
    const QString m_keyName;
    const int m_rowsPerStatement;
    std::unique_ptr<RepeatedStatement> m_full;
    QVariantList m_values;
    int m_rows = 0;
    QVariant m_firstKey;
    QVariant m_lastKey;
};

QString shown(const QVariant &value)
{
    if (value.typeId() == QMetaType::QByteArray)
        return QStringLiteral("%1 bytes").arg(value.toByteArray().size());
    return QLatin1Char('"') + value.toString() + QLatin1Char('"');
}

qint64 greatest(const Database &database, const QString &table, const QString &column)
{
    QSqlQuery query = database.runNative(QStringLiteral("SELECT max(%1) FROM %2").arg(column, table));
    return query.next() ? query.value(0).toLongLong() : 0;
}

// Tables whose rows belong to persons: a database that has any is an office's data.
bool holdsPersons(const Database &database)
{
    QStringList tables{QStringLiteral("TOsnovniPod")};
    for (const Schema::Reference &reference : Schema::references())
        if (qstrcmp(reference.refersTo, "TOsnovniPod") == 0)
            tables << QString::fromLatin1(reference.table);
    tables.removeDuplicates();
    for (const QString &table : tables) {
        QSqlQuery any = database.runNative(QStringLiteral("SELECT 1 FROM %1 LIMIT 1").arg(table));
        if (any.next())
            return true;
    }
    return false;
}

void prepare(Database &target)
{
    const QStringList present = target.connection().tables();
    if (present.isEmpty()) {
        SchemaInstaller::install(target);
        return;
    }
    if (!present.contains(QStringLiteral("TOsnovniPod"), Qt::CaseInsensitive))
        throw DatabaseError(QStringLiteral("%1 holds tables of another program.").arg(target.location().describe()));
    if (holdsPersons(target))
        throw DatabaseError(QStringLiteral("%1 holds persons already: an import goes only into a new file or a server database without persons.")
                                .arg(target.location().describe()));
    // Brings a database of an earlier version up to date.
    SchemaInstaller::install(target);
}

}

Mapping sameNames(const TableSource &source)
{
    Mapping mapping;
    for (const QString &name : source.tables())
        if (const Schema::Table *table = Schema::table(name))
            mapping.append({name, nameOf(*table), {}});
    return mapping;
}

TableReport writeRows(const TableSource &source, const TableMapping &mapping, const Database &target,
                      const std::function<void(qint64 rowsWritten)> &rowsWritten)
{
    const Schema::Table &table = ourTable(mapping.target);
    if (!source.tables().contains(mapping.source, Qt::CaseInsensitive))
        throw DatabaseError(QStringLiteral("%1 has no table %2.").arg(source.describe(), mapping.source));
    const Columns columns = resolve(source, mapping, table);
    TableReport report{mapping.source, nameOf(table), 0, columns.skipped};
    if (columns.target.empty())
        return report;
    const auto key = std::find_if(columns.target.begin(), columns.target.end(),
                                  [&](const Schema::Column *column) { return qstrcmp(column->name, table.key) == 0; });
    const qsizetype keyIndex = key == columns.target.end() ? -1 : key - columns.target.begin();
    RowWriter writer(target, table, columns.target, keyIndex < 0 ? QStringLiteral("rows") : QString::fromLatin1(table.key));
    QVariantList row;
    source.read(mapping.source, columns.source, [&](const QVariant *values) {
        const QVariant place = keyIndex < 0 ? QVariant(report.rows + 1) : values[keyIndex];
        row.clear();
        for (size_t i = 0; i < columns.target.size(); ++i) {
            const Schema::Column &column = *columns.target[i];
            const std::optional<QVariant> value = ColumnValue::convert(column, values[i]);
            if (!value)
                throw DatabaseError(QStringLiteral("%1 %2 of %3 holds %4 in %5, which is not a value of its type; correct it at the source.")
                                        .arg(keyIndex < 0 ? QStringLiteral("Row") : QString::fromLatin1(table.key), place.toString(),
                                             mapping.source, shown(values[i]), columns.source[qsizetype(i)]));
            row << target.toDatabase(column, *value);
        }
        writer.write(row, place);
        if (++report.rows % RowsPerReport == 0 && rowsWritten)
            rowsWritten(report.rows);
    });
    writer.finish();
    if (rowsWritten)
        rowsWritten(report.rows);
    return report;
}

void raiseKeyCounters(const Database &database)
{
    for (int i = 0; i < Schema::tableCount(); ++i) {
        const Schema::Table &table = Schema::tableAt(i);
        if (table.column(QString::fromLatin1(table.key))->type != Schema::Type::AutoNumber)
            continue;
        qint64 counter = greatest(database, nameOf(table), QString::fromLatin1(table.key));
        for (const Schema::Reference &reference : Schema::references())
            if (qstrcmp(reference.refersTo, table.name) == 0)
                counter = std::max(counter, greatest(database, QString::fromLatin1(reference.table), QString::fromLatin1(reference.column)));
        database.raiseKeyCounter(table, counter);
    }
}

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

Report run(const TableSource &source, const Mapping &mapping, Database &target, const Progress &progress)
{
    if (mapping.isEmpty())
        throw DatabaseError(QStringLiteral("%1 holds no table of Veldra.").arg(source.describe()));
    Report report;
    for (const QString &table : source.tables()) {
        const bool mapped = std::any_of(mapping.begin(), mapping.end(),
                                        [&](const TableMapping &each) { return each.source.compare(table, Qt::CaseInsensitive) == 0; });
        if (!mapped)
            report.skippedTables << table;
    }
    qint64 total = 0;
    for (const TableMapping &each : mapping)
        total += source.rowCount(each.source);
    target.transaction([&] {
        prepare(target);
        QStringList emptied;
        qint64 done = 0;
        if (progress)
            progress(0, total);
        for (const TableMapping &each : mapping) {
            const QString table = nameOf(ourTable(each.target));
            // The first rows of an installation give way to the source's.
            if (!emptied.contains(table)) {
                target.runNative(QStringLiteral("DELETE FROM %1").arg(table));
                emptied << table;
            }
            report.tables << writeRows(source, each, target, [&](qint64 rows) {
                if (progress)
                    progress(done + rows, total);
            });
            done += report.tables.last().rows;
        }
        raiseKeyCounters(target);
        stampTables(target);
    });
    return report;
}

}
