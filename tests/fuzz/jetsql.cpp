// The translator of the program's SQL on any statement, for both engines: a translation
// or a DatabaseError naming what it cannot translate; the parameters each named once.

#include "DatabaseError.h"
#include "FuzzSupport.h"
#include "JetSql.h"

#include <QSet>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString jet = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const SqlDialect dialect : {SqlDialect::Sqlite, SqlDialect::Postgres}) {
        try {
            JetSql::translate(jet, dialect);
        } catch (const DatabaseError &error) {
            Fuzz::check(!error.message().isEmpty(), "a refusal says why");
        }
    }
    if (const auto ordering = JetSql::resultOrdering(jet)) {
        for (const auto &[column, descending] : ordering->columns)
            Fuzz::check(column >= 0, "an ordering column is a position", jet);
        try {
            JetSql::translate(ordering->unordered, SqlDialect::Sqlite);
        } catch (const DatabaseError &) {
        }
    }
    const QStringList parameters = JetSql::parameters(jet);
    Fuzz::check(QSet<QString>(parameters.cbegin(), parameters.cend()).size() == parameters.size(),
                "each parameter once", jet);
    return 0;
}
