#pragma once

#include "DatabaseImport.h"

#include <optional>

// A data folder whose database is still the Windows program's Jet file, met at start:
// the user is told so and asked whether to convert it. The converted database is written
// beside it under a passing name; then the Jet file is kept in the same folder under a
// name of its own ("Veldra_be (Access).mdb"), never deleted or overwritten, and the
// converted file takes its place, so that the start goes on with it.
namespace JetConversion {

// Whether the start goes on: yes for a file that is not a Jet one, and once it is
// converted (the user has seen what came over); no when the user declined or the
// conversion failed (the user has been told why), and the file is then as it was. The
// file is read by a converter process (see ConverterProcess), the program itself unless
// another program file is named.
bool OfferAtStart(const QString &databaseFile, const std::optional<DatabaseImport::Mapping> &mapping = std::nullopt,
                  const QString &converter = QString());

// "Veldra_be (Access).mdb" beside the file, or "Veldra_be (Access 2).mdb" and on where
// that name is taken.
QString keptAsideName(const QString &databaseFile);

}
