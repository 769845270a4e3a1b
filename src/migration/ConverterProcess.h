#pragma once

#include "DatabaseImport.h"

#include <optional>

class QTextStream;

// The conversion of the Windows program's file, run in a process of its own: mdbtools,
// which reads the file, may loop or crash on a damaged one, and must not take the
// program with it. The program starts itself as the converter ("-JETIMPORT") and
// watches it: the converter tells its progress on a line each; one that tells nothing
// for a while is stopped, as is one the user cancels.
namespace ConverterProcess {

// The program's switch that makes it the converter.
inline constexpr auto Switch = "-JETIMPORT";

// The converter's side: "check SOURCE" reads the file's tables and whether any is the
// program's; "convert TARGET SOURCE" imports it into a new file. Either may end with
// "--mapping JSON". Returns the exit code.
int runConverter(const QStringList &arguments, QTextStream &out, QTextStream &err);

// The program's side; converter is the program file. Both throw DatabaseError with the
// converter's reason, or when it stopped or stalled.
void check(const QString &converter, const QString &source, const std::optional<DatabaseImport::Mapping> &mapping);
DatabaseImport::Report convert(const QString &converter, const QString &target, const QString &source,
                               const std::optional<DatabaseImport::Mapping> &mapping, const DatabaseImport::Progress &progress);

}
