#pragma once

#include <QStringList>

class QTextStream;

// The command line's import and export, for scripts:
//   import DATABASE FILE... [--on-duplicate skip|update|add]
//   export DATABASE FILE [--format vcard3|vcard4|csv]
// DATABASE is an SQLite file or a postgresql:// address. Both print a summary line and a
// line for each card or row not taken; they return the exit code (0 when every card was
// read, 1 when one was refused or the work failed, 2 for a wrong call).
int RunImportCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);
int RunExportCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);
