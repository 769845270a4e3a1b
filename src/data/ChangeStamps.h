#pragma once

#include <QString>

class Database;

// The stamp in TRequery that tells every workstation a table has changed: set to now,
// and past the stamp before when that is not older (windows compare stamps for
// equality, so a change within the same millisecond must still give a new one). Names
// are compared without regard to case.
void StampTableChange(const Database &database, const QString &tableName);
