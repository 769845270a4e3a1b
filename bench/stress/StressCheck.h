#pragma once

#include "StressJournal.h"

#include <QStringList>

class Database;

namespace Stress {

// The database after the workstations, against what each was told.
struct Verdict
{
    int commits = 0;             // changes told saved
    int conflictsReported = 0;   // changes refused: another workstation's change came first
    int busyReported = 0;        // changes refused: the database was busy
    int lost = 0;                // changes told saved that the database lacks, and failures told as no expected one
    int refusedLanded = 0;       // changes told refused that the database holds
    int keysReused = 0;          // keys the database gave to two new rows
    bool integrityHolds = false;
    QStringList problems;        // each of the faults above, in words

    bool passed() const { return integrityHolds && lost == 0 && refusedLanded == 0 && keysReused == 0; }
};

// The tables the workstations write, with their keys.
struct CheckedTable
{
    const char *name;
    const char *key;
    bool belongsToPerson;
};
extern const QList<CheckedTable> checkedTables;

// Checks the database against the changes of all workstations (and those that set it up).
Verdict check(const Database &database, const QList<Change> &changes);

}
