#include "JetImport.h"

#include "DatabaseError.h"
#include "JetFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace JetImport {

DatabaseImport::Report run(const QString &jetFile, const DatabaseLocation &target, const std::optional<DatabaseImport::Mapping> &mapping,
                           const DatabaseImport::Progress &progress)
{
    const JetFile source(jetFile);
    const bool newFile = target.dialect == SqlDialect::Sqlite && !QFileInfo::exists(target.file);
    if (target.dialect == SqlDialect::Sqlite && !newFile)
        throw DatabaseError(QStringLiteral("%1 exists: an import goes only into a new file.").arg(target.file));
    try {
        Database database(target, Database::Purpose::Install);
        return DatabaseImport::run(source, mapping ? *mapping : DatabaseImport::sameNames(source), database, progress);
    } catch (...) {
        if (newFile)
            QFile::remove(target.file);
        throw;
    }
}

QStringList summary(const DatabaseImport::Report &report)
{
    QStringList lines;
    for (const DatabaseImport::TableReport &table : report.tables) {
        const QString from = table.source.compare(table.target, Qt::CaseInsensitive) == 0 ? QString() : QStringLiteral(" (from %1)").arg(table.source);
        lines << QStringLiteral("%1%2: %3 rows").arg(table.target, from).arg(table.rows);
        for (const QString &column : table.skippedColumns)
            lines << QStringLiteral("skipped column %1.%2").arg(table.source, column);
    }
    for (const QString &table : report.skippedTables)
        lines << QStringLiteral("skipped table %1").arg(table);
    return lines;
}

int RunCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    if (arguments.size() != 2) {
        err << "usage: veldra-dbtool import-jet DATABASE SOURCE.mdb\n";
        return 2;
    }
    try {
        const DatabaseImport::Report report = run(arguments[1], DatabaseLocation::named(arguments[0]));
        qint64 rows = 0;
        for (const DatabaseImport::TableReport &table : report.tables)
            rows += table.rows;
        for (const QString &line : summary(report))
            out << line << "\n";
        out << "imported " << rows << " rows in " << report.tables.size() << " tables\n";
        return 0;
    } catch (const DatabaseError &error) {
        err << error.message() << "\n";
        if (!error.driverText().isEmpty())
            err << error.driverText() << "\n";
        err << "nothing was imported\n";
        return 1;
    }
}

}
