#pragma once

#include <QStringList>
#include <stdexcept>

// Per-user values live under these keys of the user's settings store (Registry);
// per-installation values in the program INI, section "Glavno".
inline constexpr auto KeyNastavitve = "Software\\Veldra\\Nastavitve";
inline constexpr auto KeyBarve = "Software\\Veldra\\Barve";
inline constexpr auto KeyMenuShortCuts = "Software\\Veldra\\MenuShortCuts";
inline constexpr auto KeyGlavnoOkno = "Software\\Veldra\\GlavnoOkno";
inline constexpr auto IniGlavno = "Glavno";

// A setting that must be a number is not one.
class ConversionError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

QString ReadRegString(const QString &keyPath, const QString &name);
void WriteRegString(const QString &keyPath, const QString &name, const QString &value);

// Settings are text: booleans are written "-1"/"0" and read as any number or true/false.
bool TextToBool(const QString &text, bool defaultValue);
QString BoolToText(bool value);
bool ReadRegBool(const QString &keyPath, const QString &name, bool defaultValue);
int ReadRegInt(const QString &keyPath, const QString &name, int defaultValue);
// Floating-point values are written in the user's locale; a value in C notation is read too.
double ReadRegDouble(const QString &keyPath, const QString &name, double defaultValue);
void WriteRegDouble(const QString &keyPath, const QString &name, double value);

QString ReadIniString(const QString &file, const QString &section, const QString &key);
// Throws IniWriteError when the file cannot be written.
void WriteIniString(const QString &file, const QString &section, const QString &key, const QString &value);
bool ReadIniSectionValues(const QString &file, const QString &section, QStringList *lines);
void DeleteIniKey(const QString &file, const QString &section, const QString &key);

// Folder rules. Paths in the INI may use "\" or "/"; a leading "\" means "below the
// data folder". Folders are returned with a trailing "/".
QString GetDataFolder();
QString GetImageFolder();
// Throws ConversionError when "MaticniPodatki" is not a whole number.
int GetCompanyId();
// The backup template "BackUpFolder", split as written: the folder part runs up to and
// including the value's last "\"; a value without one is split at its last "/" that is
// not a slash of a /DATE/, /NOW/ or /TIME/ macro. The folder follows the folder rules
// (empty when the value has none); the file-name part keeps its macros.
struct BackupTemplate
{
    QString folder;
    QString namePart;
};
BackupTemplate GetBackupTemplate();
// The PostgreSQL server the INI names in "Baza", empty when the data folder holds the database.
QString GetDatabaseServer();

// The shared flag that makes name boxes capitalise as the user types.
extern bool AutoShiftNames;
bool ReadAutoShift();

// Idle seconds before the program hides itself, 0 when it should not.
int GetAutoHideSeconds();
void ClearAutoHideSeconds();

// Forgets every cached value (at process end, and between tests).
void ClearSettingsCache();
