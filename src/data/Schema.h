#pragma once

#include "SqlDialect.h"

#include <QStringList>

#include <vector>

// The tables and columns of the database, as the program knows them. The DDL of both
// engines is written from this description, and the SQL translator and the datasets
// take column types and keys from it.
namespace Schema {

enum class Type { AutoNumber, Long, Byte, Double, DateTime, YesNo, Text };

struct Column
{
    const char *name;
    Type type;
    int size = 0; // characters of a Text column; 0 for no limit
};

struct Index
{
    const char *name;
    const char *columns; // comma-separated
};

struct Table
{
    const char *name;
    const char *key; // the primary key column
    std::vector<Column> columns;
    std::vector<Index> indexes;

    const Column *column(QStringView name) const;
};

// Names are compared without regard to case, as the original engine did.
const Table *table(QStringView name);
// The type of a column of that name in any table (columns of one name share a type).
const Column *anyColumn(QStringView name);

// CREATE TABLE and CREATE INDEX statements for an empty database.
QStringList createStatements(SqlDialect dialect);

// What a server needs so that a workstation can tell cheaply whether anything changed
// since it last looked (SQLite has that built in). The statements may run again on a
// database that has them already.
QStringList changeTrackingStatements(SqlDialect dialect);
// Returns the server's change token; it exists once the statements above have run.
inline constexpr auto ChangeTokenFunction = "veldra_change_token";
// A column that holds the key of another table's row. The database does not enforce it:
// rows stay when the row they name is deleted (a deleted person's alarms, say).
struct Reference
{
    const char *table;
    const char *column;
    const char *refersTo; // the table whose key the column holds
};
const std::vector<Reference> &references();

int tableCount();
// The tables in the order of their definitions, 0 to tableCount() - 1.
const Table &tableAt(int index);

}
