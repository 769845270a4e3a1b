#pragma once

#include <QString>

// Where the program file lives, and the files named after it.
namespace ProgramPaths {

// Full path of the program file. Tests point it at an installation of their own.
QString programFile();
void setProgramFile(const QString &path);

// The program file's folder, ending in "/".
QString programFolder();

// The program file's path with its extension replaced (appended when it has none).
QString withExtension(const QString &extension);

// The program INI: the program file's path with the extension ".ini".
QString iniFile();

}
