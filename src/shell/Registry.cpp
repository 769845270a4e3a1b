#include "Registry.h"

#include "IniFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString normalisedKey(QString keyPath)
{
    keyPath.replace(QLatin1Char('/'), QLatin1Char('\\'));
    while (keyPath.startsWith(QLatin1Char('\\')))
        keyPath.remove(0, 1);
    while (keyPath.endsWith(QLatin1Char('\\')))
        keyPath.chop(1);
    return keyPath;
}

// The store trims values like any profile file; values that would not survive that
// (edge blanks, line breaks, a leading quote) are written quoted with escapes.
QString encodeValue(const QString &value)
{
    const bool plain = value.trimmed() == value && !value.startsWith(QLatin1Char('"'))
        && !value.contains(QLatin1Char('\n')) && !value.contains(QLatin1Char('\r'));
    if (plain)
        return value;
    QString escaped;
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '\\': escaped += QLatin1String("\\\\"); break;
        case '"': escaped += QLatin1String("\\\""); break;
        case '\n': escaped += QLatin1String("\\n"); break;
        case '\r': escaped += QLatin1String("\\r"); break;
        default: escaped += c;
        }
    }
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QString decodeValue(const QString &stored)
{
    if (stored.size() < 2 || !stored.startsWith(QLatin1Char('"')) || !stored.endsWith(QLatin1Char('"')))
        return stored;
    QString value;
    for (qsizetype i = 1; i < stored.size() - 1; ++i) {
        QChar c = stored[i];
        if (c == QLatin1Char('\\') && i + 1 < stored.size() - 1) {
            const QChar next = stored[++i];
            c = next == QLatin1Char('n') ? QChar('\n') : next == QLatin1Char('r') ? QChar('\r') : next;
        }
        value += c;
    }
    return value;
}

}

namespace Registry {

QString storePath()
{
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                           + QStringLiteral("/Veldra/registry.ini"));
}

QString readString(const QString &keyPath, const QString &name)
{
    return decodeValue(IniFile(storePath()).readRaw(normalisedKey(keyPath), name));
}

void writeString(const QString &keyPath, const QString &name, const QString &value)
{
    const QString path = storePath();
    try {
        QDir().mkpath(QFileInfo(path).absolutePath());
        IniFile(path).writeString(normalisedKey(keyPath), name, encodeValue(value));
    } catch (const IniWriteError &) {
        // Like a registry key that cannot be opened for writing: nothing is written.
    }
}

}
