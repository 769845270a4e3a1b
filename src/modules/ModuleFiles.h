#pragma once

#include <QString>

// The files of a module as the module manager installs them on a workstation.

// Copies source over target by way of a new file beside it that is renamed into place:
// a library the program has loaded keeps its old file mapped whole (writing into it
// would pull the code from under the program), and a crash never leaves half a file.
// False when the copy failed; target is then as it was.
bool ReplaceFile(const QString &source, const QString &target);

// Merges a shared module's settings (source) into the workstation's (target) as the
// upgrade instructions say. Without a source nothing happens; without a target the
// source is copied. Otherwise, only when the instructions exist: keys the target lacks
// are added with the source's values, and every "<section>=<key>" line of the
// instructions' section "Owerwrite" writes the source's value (empty when it has none)
// over the target's. False when the target could not be written.
bool MergeModuleSettings(const QString &source, const QString &target, const QString &upgrade);
