#include "DatabaseCopy.h"

#include "Database.h"
#include "DatabaseError.h"
#include "DatabaseImport.h"
#include "DatabaseTables.h"
#include "Schema.h"
#include "SchemaInstaller.h"

namespace DatabaseCopy {

namespace {

QString nameOf(const Schema::Table &table)
{
    return QString::fromLatin1(table.name);
}

bool isAutoNumbered(const Schema::Table &table)
{
    return table.column(QString::fromLatin1(table.key))->type == Schema::Type::AutoNumber;
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

}

void run(Database &source, Database &target, const TableCopied &copied)
{
    requireEveryTable(source);
    const DatabaseTables tables(source);
    const DatabaseTables written(target);
    source.snapshot([&] {
        target.transaction([&] {
            if (!target.connection().tables().isEmpty())
                throw DatabaseError(QStringLiteral("%1 is not empty: a copy goes only into a new file or an empty server database.")
                                        .arg(target.location().describe()));
            SchemaInstaller::installTables(target);
            for (int i = 0; i < Schema::tableCount(); ++i) {
                const Schema::Table &table = Schema::tableAt(i);
                const qint64 rows = DatabaseImport::writeRows(tables, {nameOf(table), nameOf(table), {}}, target).rows;
                if (isAutoNumbered(table))
                    target.raiseKeyCounter(table, source.keyCounter(table));
                if (copied)
                    copied(nameOf(table), rows);
            }
            DatabaseImport::stampTables(target);
            for (int i = 0; i < Schema::tableCount(); ++i) {
                const Schema::Table &table = Schema::tableAt(i);
                const qint64 expected = tables.rowCount(nameOf(table));
                const qint64 arrived = written.rowCount(nameOf(table));
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
