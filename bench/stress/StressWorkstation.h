#pragma once

#include <QString>

namespace Stress {

// What one workstation process is given: the installation whose program INI names
// the database, its number, the seed of its choices, how long it works and how long it
// waits for another workstation's lock.
struct WorkstationOrder
{
    QString installation;
    int number = 0;
    quint32 seed = 0;
    int durationMs = 0;
    int busyTimeoutMs = 0;
    QString journal;

    QStringList arguments() const;
    // From the arguments after the worker switch; false when they are not complete.
    static bool fromArguments(const QStringList &arguments, WorkstationOrder &order);
};

// Works as a user at a workstation does, through the program's data module and
// datasets: persons edited, added and deleted, their contacts, notes and categories
// added, edited and removed, categories renamed, the lists read again. Each change and
// what the program told of it goes to the journal. Returns the process's exit code.
int runWorkstation(const WorkstationOrder &order);

}
