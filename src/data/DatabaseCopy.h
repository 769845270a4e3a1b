#pragma once

#include <QString>

#include <functional>

class Database;

// A whole database copied into a new one: between an SQLite file and a PostgreSQL server
// in either direction, or into another file. The target gets the tables the program's
// installer makes, every row with its key and its values as the program reads them, and
// the key counters, so that a key deleted at the source is not given again there. The
// source is read in one state and the target written in one transaction, and the rows of
// every table are counted on both at the end. The stamps of the tables are moved on, so
// that workstations read them again.
namespace DatabaseCopy {

// Told each table's name and rows as it is written.
using TableCopied = std::function<void(const QString &table, qint64 rows)>;

// Throws DatabaseError, and the target then holds nothing of the copy. A target that
// holds any table is refused: a copy is never mixed with other data.
void run(Database &source, Database &target, const TableCopied &copied = {});

}
