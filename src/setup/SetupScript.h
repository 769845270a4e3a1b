#pragma once

#include <QList>
#include <QString>

// The installation script Setup.ini in the installer's own folder, read with the INI
// rules of the whole product (names without regard to case, the first of duplicate keys,
// missing as empty). Paths may be written with "\" or "/"; the installer works with "/".

// A line of the sections DLL, Folders and Datoteke: the source made absolute, and the
// target text as written, its option still on it ("%ProgramFolder%a;LEAVE").
struct ScriptLine
{
    QString Source;
    QString Target;
};

struct SetupScript
{
    QString Ime;
    QString Slika; // absolute
    QString Verzija;
    QString Memo; // absolute
    QString Info;
    QString ProgramFolder;
    QString MrezaFolder;
    QString ChangePathInIni;
    QList<ScriptLine> Dll;
    QList<ScriptLine> Folders;
    QList<ScriptLine> Datoteke;
};

// The per-file option after the first ";" of a Datoteke target; text after a second ";"
// is no part of it.
enum class FileOption { None, Leave, Shortcut, DbCheckVer };

// The two folders chosen in the options window, each ending with "/".
struct ChosenFolders
{
    QString Program;
    QString Database;
};

// Setup.ini of installerFolder; a missing script reads as an empty one.
SetupScript ReadSetupScript(const QString &installerFolder);

// A source path trimmed and made absolute: "C:..." (second character ":"), an absolute
// path of this system and a text shorter than two characters stay; anything else,
// "\Baza\x" too, lies in the installer's folder.
QString AbsoluteSourcePath(const QString &path, const QString &installerFolder);

FileOption OptionOf(const QString &target);

// The target before the first ";", trimmed, with %ProgramFolder%, %MrezaFolder% and
// %System% replaced wherever they stand, without regard to case.
QString ExpandTarget(const QString &target, const ChosenFolders &folders);

// What %System% stands for: the user's own library folder, ~/.local/lib/, since the
// system's folders are not the user's to write.
QString SystemFolder();

// A folder as typed: trimmed, "~" at the start for the home folder, "\" as "/", ending
// with "/". Empty stays empty.
QString FolderWithSeparator(const QString &text);

// Baza/Verzija of an INI file; empty when the file or the key is missing.
QString DatabaseVersion(const QString &versionFile);

// Whether the database already in the chosen folder has the version of the new one
// (the last DBCHECKVER line decides; without one it has). Only asked when the database
// folder exists.
bool DatabaseVersionMatches(const SetupScript &script, const ChosenFolders &folders);

// The sources of Datoteke and DLL that exist, and their size together.
struct SourceFiles
{
    int Count = 0;
    qint64 Bytes = 0;
};
SourceFiles CountSourceFiles(const SetupScript &script);
// "<count> (<size> KB)", or MB past 1024 KB, with two decimals in the user's format.
QString FormatSourceFiles(const SourceFiles &files);
