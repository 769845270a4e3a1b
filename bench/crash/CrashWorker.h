#pragma once

#include <QStringList>

#include <optional>

// The process a kill run starts and kills: the program's own code without its windows,
// in a world of its own (CrashWorld). It starts as the program does (start-up with the
// daily backup, LastVer.ini and the settings store, then the data module), writes
// "ready" on its output, and then, until it is killed, saves persons, contacts and
// notes through the data module's datasets, renames persons, makes backups and writes
// the program INI, LastVer.ini and the settings store, journalling each step
// (CrashJournal). A message box or an error ends it with a "fail" line.
namespace CrashWorker {

// The arguments that start an executable as a worker.
QStringList arguments(const QString &worldFolder, int run, quint32 seed);
// Runs the worker when the process was started with those arguments (its exit code),
// nothing otherwise. Executables that start themselves as workers call it first.
std::optional<int> runIfAsked(int argc, char *argv[]);

}
