#include "Settings.h"

#include "IniFile.h"
#include "ProgramPaths.h"
#include "Registry.h"

#include <QCoreApplication>
#include <QLocale>
#include <QRegularExpression>

bool AutoShiftNames = true;

namespace {

struct Cache
{
    QString dataFolder;
    int companyId = 0;
    int autoHideSeconds = 0;
    bool autoHide = false;
};

Cache &cache()
{
    static Cache values;
    return values;
}

QString withSlashes(QString path)
{
    return path.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

QString withTrailingSlash(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

// A value with a leading "\" names a place below the data folder.
QString belowDataFolder(const QString &value)
{
    if (value.startsWith(QLatin1Char('\\')))
        return GetDataFolder() + withSlashes(value.mid(1, 250));
    return withSlashes(value);
}

// Where the file-name part of a backup template begins (see BackupTemplate).
qsizetype backupNameStart(const QString &value)
{
    const qsizetype backslash = value.lastIndexOf(QLatin1Char('\\'));
    if (backslash >= 0)
        return backslash + 1;
    static const QRegularExpression macro(QStringLiteral("/(DATE|NOW|TIME)/"), QRegularExpression::CaseInsensitiveOption);
    QString masked = value;
    for (auto it = macro.globalMatch(value); it.hasNext();) {
        const auto match = it.next();
        masked.replace(match.capturedStart(), match.capturedLength(), QString(match.capturedLength(), QLatin1Char('_')));
    }
    return masked.lastIndexOf(QLatin1Char('/')) + 1;
}

QString iniGlavno(const char *key)
{
    return ReadIniString(ProgramPaths::iniFile(), QString::fromLatin1(IniGlavno), QString::fromLatin1(key));
}

}

QString ReadRegString(const QString &keyPath, const QString &name)
{
    return Registry::readString(keyPath, name);
}

void WriteRegString(const QString &keyPath, const QString &name, const QString &value)
{
    Registry::writeString(keyPath, name, value);
}

bool TextToBool(const QString &text, bool defaultValue)
{
    const QString value = text.trimmed();
    if (value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (value.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const qlonglong number = value.toLongLong(&ok);
    return ok ? number != 0 : defaultValue;
}

QString BoolToText(bool value)
{
    return value ? QStringLiteral("-1") : QStringLiteral("0");
}

bool ReadRegBool(const QString &keyPath, const QString &name, bool defaultValue)
{
    return TextToBool(ReadRegString(keyPath, name), defaultValue);
}

int ReadRegInt(const QString &keyPath, const QString &name, int defaultValue)
{
    bool ok = false;
    const int value = ReadRegString(keyPath, name).trimmed().toInt(&ok);
    return ok ? value : defaultValue;
}

double ReadRegDouble(const QString &keyPath, const QString &name, double defaultValue)
{
    const QString text = ReadRegString(keyPath, name).trimmed();
    bool ok = false;
    double value = QLocale().toDouble(text, &ok);
    if (!ok)
        value = QLocale::c().toDouble(text, &ok);
    return ok ? value : defaultValue;
}

void WriteRegDouble(const QString &keyPath, const QString &name, double value)
{
    QLocale locale = QLocale();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    WriteRegString(keyPath, name, locale.toString(value, 'g', 15));
}

QString ReadIniString(const QString &file, const QString &section, const QString &key)
{
    return IniFile(file).readString(section, key);
}

void WriteIniString(const QString &file, const QString &section, const QString &key, const QString &value)
{
    IniFile(file).writeString(section, key, value);
}

bool ReadIniSectionValues(const QString &file, const QString &section, QStringList *lines)
{
    return IniFile(file).readSectionValues(section, lines);
}

void DeleteIniKey(const QString &file, const QString &section, const QString &key)
{
    IniFile(file).deleteKey(section, key);
}

QString GetDataFolder()
{
    QString &folder = cache().dataFolder;
    if (!folder.trimmed().isEmpty())
        return folder;
    const QString value = iniGlavno("PathPodatki");
    folder = withTrailingSlash(value.trimmed().isEmpty() ? ProgramPaths::programFolder() : withSlashes(value));
    return folder;
}

QString GetImageFolder()
{
    return withTrailingSlash(belowDataFolder(iniGlavno("ImagePath")));
}

int GetCompanyId()
{
    int &id = cache().companyId;
    if (id > 0)
        return id;
    const QString value = iniGlavno("MaticniPodatki");
    bool ok = false;
    id = value.trimmed().toInt(&ok);
    if (!ok) {
        id = 0;
        throw ConversionError(
            QCoreApplication::translate("Settings", "\"%1\" ni veljavno celo število (MaticniPodatki v %2).")
                .arg(value, ProgramPaths::iniFile())
                .toStdString());
    }
    return id;
}

BackupTemplate GetBackupTemplate()
{
    const QString value = iniGlavno("BackUpFolder");
    const qsizetype nameStart = backupNameStart(value);
    return {belowDataFolder(value.left(nameStart)), value.mid(nameStart)};
}

QString GetDatabaseServer()
{
    return iniGlavno("Baza").trimmed();
}

bool ReadAutoShift()
{
    AutoShiftNames = ReadRegBool(QString::fromLatin1(KeyNastavitve), QStringLiteral("AutoShift"), true);
    return AutoShiftNames;
}

int GetAutoHideSeconds()
{
    Cache &values = cache();
    if (values.autoHideSeconds == 0) {
        values.autoHideSeconds = ReadRegInt(QString::fromLatin1(KeyNastavitve), QStringLiteral("SkrijPo"), 120);
        values.autoHide = ReadRegBool(QString::fromLatin1(KeyNastavitve), QStringLiteral("SkrijAuto"), false);
    }
    return values.autoHide ? values.autoHideSeconds : 0;
}

void ClearAutoHideSeconds()
{
    cache().autoHideSeconds = 0;
}

void ClearSettingsCache()
{
    cache() = Cache();
    AutoShiftNames = true;
}
