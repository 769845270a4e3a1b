#pragma once

#include "StressCheck.h"

struct DatabaseLocation;

namespace Stress {

struct RunSettings
{
    int workstations = 2;
    int durationMs = 3000;
    // Short, so that the workstations do meet a busy database now and then.
    int busyTimeoutMs = 100;
    quint32 seed = 1;
    // Persons set up before the workstations start, which most of their changes meet on.
    int sharedPersons = 4;
};

// The switch that makes the program a workstation of a run, followed by its order.
inline constexpr char WorkerSwitch[] = "--workstation";

// Sets up the database (a prepared one: an SQLite file named Veldra_be.mdb, or a
// server's database), starts the workstations as processes of program (with the
// worker switch), waits for them and checks the database against their journals.
// When the check finds problems, the journals are kept (the last problem says where).
Verdict run(const QString &program, const DatabaseLocation &location, const RunSettings &settings);

}
