#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

class Database;
class TableSource;

// Rows of another database brought into ours: the file of the Windows program, or a
// whole database of ours copied. Keys come with the rows, so that every reference
// between them stays right.
namespace DatabaseImport {

// Which of the source's tables fills which of ours, and from which of its columns.
struct TableMapping
{
    QString source;
    QString target;
    // Pairs of a source column and a column of ours; none: every column of the source
    // that our table has, by name without regard to case.
    QList<std::pair<QString, QString>> columns;
};
using Mapping = QList<TableMapping>;

// Each of our tables from the source's table of the same name, without regard to case.
Mapping sameNames(const TableSource &source);

// What an import brought, and what of the source it left out.
struct TableReport
{
    QString source;
    QString target;
    qint64 rows = 0;
    QStringList skippedColumns;
};
struct Report
{
    QList<TableReport> tables;
    QStringList skippedTables;
};

// Told the rows written so far and the rows there are in all.
using Progress = std::function<void(qint64 done, qint64 total)>;

// Fills a database for the program from the source, in one transaction. The target is
// a new file (opened for installing) or a server database, either without tables or
// prepared with them but holding no persons; it gets the tables and first rows where it
// has none. The rows of each table the mapping fills take the place of that table's
// first rows; each key counter is set past its table's greatest key and past every key
// that a column of ours refers to, so that no new row takes the key of one that is gone;
// the tables' stamps move on. Throws DatabaseError, and the target then holds nothing of
// the import.
Report run(const TableSource &source, const Mapping &mapping, Database &target, const Progress &progress = {});

// The rows of the mapping's source table written into its table of ours, which holds
// none, in the caller's transaction. rowsWritten is told the rows of this table written
// so far, now and then. Throws DatabaseError.
TableReport writeRows(const TableSource &source, const TableMapping &mapping, const Database &target,
                      const std::function<void(qint64 rowsWritten)> &rowsWritten = {});

// Sets each key counter past its table's greatest key and every key a column of ours
// refers to, in the caller's transaction.
void raiseKeyCounters(const Database &database);

// Moves the stamp of every table named in TRequery on, so that workstations read them again.
void stampTables(const Database &database);

}
