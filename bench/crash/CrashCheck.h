#pragma once

#include <QStringList>

class CrashWorld;
namespace CrashJournal {
class Reader;
}

// What a look at a world after a kill finds wrong, each fault said in a line.
struct CrashFindings
{
    // Committed rows and written values that are not there, transactions kept in part.
    QStringList lost;
    // Files that are not whole, each "<file>: <fault>": the database, a file under a
    // backup's name, an INI file that lost or changed a line.
    QStringList corrupt;
    // Temporary files in the backup folder.
    int leftovers = 0;
};

namespace CrashCheck {

// The database opens and passes its integrity check, holds every row and value the
// journal names, and every transaction whole; every file under a backup's name is a
// whole copy, at most one more than the ten kept; every INI file holds its seed lines
// and the value last written or the one being written.
CrashFindings check(const CrashWorld &world, const CrashJournal::Reader &journal);

// The fault with a file under a backup's name, empty when it is a whole copy of a database.
QString wholeCopyFault(const QString &path);

}
