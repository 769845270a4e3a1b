#pragma once

#include "SqlDialect.h"

#include <QStringList>

#include <optional>
#include <utility>

// The program's SQL texts keep the form of the original engine (Jet): double-quoted
// literals, [bracketed] names, DISTINCTROW, DELETE *, Like with Jet's patterns and
// without regard to case, + and & between texts, True and False (or -1 and 0 beside a
// yes/no column), UPDATE with a join. This translates one such statement into the
// dialect of the engine in use. Nothing else in the program rewrites SQL.
namespace JetSql {

// The collation that SQLite connections register for ordering as a Slovenian reader
// expects; the translator adds it to every ORDER BY term for SQLite.
inline constexpr auto SqliteCollation = "VELDRA";

// Throws DatabaseError, naming the construct, for what only Jet knows: #date#
// literals, TOP n, its own functions, pattern character lists and # (any digit).
QString translate(const QString &jet, SqlDialect dialect);
// A SELECT whose ORDER BY names only columns of its result: the statement without its
// ORDER BY, and for each term the column's position and whether it is descending, so
// that the rows can be put in order once they are read.
struct Ordering
{
    QString unordered;
    QList<std::pair<int, bool>> columns;
};
std::optional<Ordering> resultOrdering(const QString &jet);

// The parameters a statement names, as written (":ID"), each once; text in quotes or
// brackets names none.
QStringList parameters(const QString &jet);

}
