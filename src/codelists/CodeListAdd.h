#pragma once

#include <QString>

// Adding an entry to a code list through its small dialog, from anywhere in the program.
// Each shows the dialog with the presets and returns the new row's key, or 0 when the
// user cancelled. Texts are stored as typed; a blank one is stored as null.

int AddCountry(const QString &name = QString(), const QString &abbreviation = QString());
int AddRegion(const QString &name = QString(), const QString &abbreviation = QString(), int country = 0);
int AddPlace(const QString &name = QString(), const QString &zip = QString(), int country = 0);
int AddCategory(const QString &name = QString());
int AddContactType(const QString &name = QString());
int AddAlarmType(const QString &name = QString(), qint64 backColour = 0xFFFFFF, qint64 fontColour = 0, bool flashing = false,
                 int repetition = 0);
