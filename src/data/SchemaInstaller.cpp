#include "SchemaInstaller.h"

#include "Database.h"
#include "DatabaseError.h"
#include "Schema.h"

#include <QFile>

namespace SchemaInstaller {

namespace {

// Statements of the seed file end with ";" at the end of a line; "--" lines are comments.
QStringList seedStatements()
{
    QFile file(QStringLiteral(":/schema/seed.sql"));
    if (!file.open(QIODevice::ReadOnly))
        throw DatabaseError(QStringLiteral("The seed rows are missing from the program."));
    QStringList statements;
    QString current;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        if (line.trimmed().startsWith(QLatin1String("--")))
            continue;
        current += line + QLatin1Char('\n');
        if (line.trimmed().endsWith(QLatin1Char(';'))) {
            statements << current.trimmed();
            current.clear();
        }
    }
    return statements;
}

void addChangeTracking(const Database &database)
{
    for (const QString &statement : Schema::changeTrackingStatements(database.dialect()))
        database.runNative(statement);
}

}

void installTables(const Database &database)
{
    for (const QString &statement : Schema::createStatements(database.dialect()))
        database.runNative(statement);
    addChangeTracking(database);
}

void install(Database &database)
{
    // A database prepared by an earlier version keeps its tables and rows and gets what is new.
    const bool prepared = database.connection().tables().contains(QStringLiteral("TOsnovniPod"), Qt::CaseInsensitive);
    database.transaction([&] {
        if (prepared) {
            addChangeTracking(database);
            return;
        }
        installTables(database);
        for (const QString &statement : seedStatements())
            database.run(statement);
    });
}

}
