#pragma once

#include <QStringList>

#include <cstddef>

class QDir;

// Libraries of others that the program loads (plug-in modules, the upgrade library): the
// files to look for, their texts copied at once, and calls whose exceptions stay on the
// library's side of the boundary.

// The folder's libraries (the platform's suffix) by name, the order Windows gives them.
QStringList LibraryFiles(const QDir &folder);

// The library's zero-terminated UTF-8 text, copied; nothing for a null pointer, and at most
// longest bytes of a text that seems to have no end.
QString CopyLibraryText(const char *text, std::size_t longest);

// Runs a call into a library's code; false when it threw.
template<typename Call>
bool CallGuarded(Call &&call)
{
    try {
        call();
        return true;
    } catch (...) {
        return false;
    }
}
