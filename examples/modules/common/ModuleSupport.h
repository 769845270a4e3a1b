// What both example modules need around the exports: where the library lies, the small
// INI beside it (replies and texts a test sets), the command log, and reply storage.
//
// Copyright (c) the Veldra developers. MIT licence, see LICENSE.
#pragma once

#include <QString>

#include <optional>

namespace veldra_example {

// The absolute path of this library file, as the program loaded it.
QString LibraryPath();
// "<folder>/<library base name><suffix>": the INI, the log.
QString SiblingFile(const QString &suffix);

// A value of the INI "<library base name>.ini" beside the library, read anew at every call
// so that a test can change it between two commands. Sections and keys without regard to
// case, the first of duplicate keys wins; nothing when the file or the key is missing.
std::optional<QString> IniValue(const QString &section, const QString &key);

// Appends one line to "<library base name>.log" beside the library. With [Dnevnik]
// Objekti=1 in the INI, a command line carries the owner form's and the parent
// control's objectName after tabs ("-" for a null pointer).
void LogCommand(const QString &command, void *ownerForm = nullptr, void *parentControl = nullptr,
                bool withObjects = false);

// Keeps the text until the next reply and hands out its UTF-8 form. The configured value
// "<null>" stands for no reply at all.
const char *Reply(const QString &text);
// The reply [Odgovori] sets for the command's keyword, when it sets one: the module then
// answers with it instead of doing the work.
std::optional<QString> ConfiguredReply(const QString &keyword);
// An information text: [Podatki] <key> when set, else the built-in one (static storage).
const char *InfoText(const char *key, const char *builtIn);

// Keeps the library mapped until the process ends. Called once the module has made
// objects (windows, connections) whose code lives here: the program may unload a module
// before it destroys the child window it took over.
void PinLibrary();

// Releases the reply and text storage (Close).
void ReleaseTexts();

} // namespace veldra_example
