#pragma once

#include <QString>

// The current user's settings store: an INI file at $XDG_CONFIG_HOME/Veldra/registry.ini
// with one section per key path ([Software\Veldra\Nastavitve]). Key paths and value
// names are compared without regard to case; values are text, kept exactly.
namespace Registry {

QString storePath();

// Empty when the key or the value does not exist.
QString readString(const QString &keyPath, const QString &name);
// Creates the key as needed; a store that cannot be written is skipped silently.
void writeString(const QString &keyPath, const QString &name, const QString &value);

}
