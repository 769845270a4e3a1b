// Prepares databases for Veldra: the template SQLite file that installations copy, and
// an empty PostgreSQL database for offices that use a server.
//
//   veldra-dbtool template FILE          writes a new template database
//   veldra-dbtool postgres URL           creates the tables and first rows on a server, or adds
//                                        what a server database of an earlier version lacks
//   veldra-dbtool ddl sqlite|postgres    prints the table definitions
//   veldra-dbtool copy SOURCE TARGET     copies a whole database into a new SQLite file or an
//                                        empty server database, keys and key counters kept
//   veldra-dbtool import DATABASE FILE... [--on-duplicate skip|update|add]
//                                        takes vCard and CSV files into a database
//   veldra-dbtool export DATABASE FILE [--format vcard3|vcard4|csv]
//                                        writes every person to a file
//   veldra-dbtool import-jet DATABASE SOURCE.mdb
//                                        takes the database of the Windows program into a new
//                                        file or a server database without persons

#include "Database.h"
#include "DatabaseCopy.h"
#include "DatabaseError.h"
#include "ExchangeCommands.h"
#include "JetImport.h"
#include "Schema.h"
#include "SchemaInstaller.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>
#include <ctime>

namespace {

int copyDatabase(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    if (arguments.size() != 2) {
        err << "usage: veldra-dbtool copy SOURCE TARGET\n";
        return 2;
    }
    // Dates pass through the program's local times. In a zone without summer time no time
    // of day is missing (that of the night the clocks go forward), so each arrives as written.
    qputenv("TZ", "UTC");
    tzset();
    QString newFile;
    try {
        const DatabaseLocation targetLocation = DatabaseLocation::named(arguments[1]);
        if (targetLocation.dialect == SqlDialect::Sqlite && !QFileInfo::exists(targetLocation.file))
            newFile = targetLocation.file;
        Database source(DatabaseLocation::named(arguments[0]));
        Database target(targetLocation, Database::Purpose::Install);
        qint64 rows = 0;
        int tables = 0;
        DatabaseCopy::run(source, target, [&](const QString &table, qint64 count) {
            out << table << ": " << count << " rows" << Qt::endl;
            rows += count;
            ++tables;
        });
        out << "copied " << rows << " rows in " << tables << " tables\n";
        return 0;
    } catch (const DatabaseError &error) {
        err << error.message() << "\n";
        if (!error.driverText().isEmpty())
            err << error.driverText() << "\n";
        err << "nothing was copied\n";
        // A file made for the copy is not left behind empty.
        if (!newFile.isEmpty())
            QFile::remove(newFile);
        return 1;
    }
}

}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QTextStream err(stderr);
    if (!args.isEmpty() && args[0] == QLatin1String("import")) {
        QTextStream out(stdout);
        return RunImportCommand(args.mid(1), out, err);
    }
    if (!args.isEmpty() && args[0] == QLatin1String("export")) {
        QTextStream out(stdout);
        return RunExportCommand(args.mid(1), out, err);
    }
    if (!args.isEmpty() && args[0] == QLatin1String("import-jet")) {
        QTextStream out(stdout);
        return JetImport::RunCommand(args.mid(1), out, err);
    }
    if (!args.isEmpty() && args[0] == QLatin1String("copy")) {
        QTextStream out(stdout);
        return copyDatabase(args.mid(1), out, err);
    }
    if (args.size() != 2) {
        err << "usage: veldra-dbtool template FILE | postgres URL | ddl sqlite|postgres | copy SOURCE TARGET | import DATABASE FILE... "
               "| export DATABASE FILE | import-jet DATABASE SOURCE.mdb\n";
        return 2;
    }
    try {
        const QString &command = args[0];
        if (command == QLatin1String("ddl")) {
            const SqlDialect dialect = args[1] == QLatin1String("postgres") ? SqlDialect::Postgres : SqlDialect::Sqlite;
            QTextStream out(stdout);
            for (const QString &statement : Schema::createStatements(dialect) + Schema::changeTrackingStatements(dialect))
                out << statement << ";\n";
            return 0;
        }
        if (command == QLatin1String("template")) {
            // Written beside the target and renamed, so a failed run leaves no half template.
            const QString temporary = args[1] + QStringLiteral(".new");
            QFile::remove(temporary);
            {
                Database database(DatabaseLocation::sqliteFile(temporary), Database::Purpose::Install);
                SchemaInstaller::install(database);
            }
            QFile::remove(args[1]);
            if (!QFile::rename(temporary, args[1])) {
                err << "cannot write " << args[1] << "\n";
                return 1;
            }
            return 0;
        }
        if (command == QLatin1String("postgres")) {
            Database database(DatabaseLocation::postgresServer(args[1]), Database::Purpose::Install);
            SchemaInstaller::install(database);
            return 0;
        }
        err << "unknown command " << command << "\n";
        return 2;
    } catch (const DatabaseError &error) {
        err << error.what() << "\n";
        return 1;
    }
}
