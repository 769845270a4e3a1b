#pragma once

#include "Database.h"
#include "DatabaseImport.h"

#include <optional>

class QTextStream;

// The database file of the Windows program brought into one of ours: a new SQLite file,
// or a server database without persons (see DatabaseImport::run). The Jet file is only
// read.
namespace JetImport {

// Our tables are filled from the file's of the same names unless a mapping says
// otherwise. A new file that the import began is removed again when it fails. Throws
// DatabaseError.
DatabaseImport::Report run(const QString &jetFile, const DatabaseLocation &target,
                           const std::optional<DatabaseImport::Mapping> &mapping = std::nullopt,
                           const DatabaseImport::Progress &progress = {});

// What an import brought, a line each: "TOsnovniPod: 1234 rows", then what it left out.
QStringList summary(const DatabaseImport::Report &report);

// veldra-dbtool import-jet DATABASE SOURCE.mdb: prints a line per table and what was
// left out, and returns the exit code (0 done, 1 failed and nothing written, 2 a wrong call).
int RunCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);

}
