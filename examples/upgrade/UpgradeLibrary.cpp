// An example upgrade library. Where a real one would ask a server, this one reads what
// is "published" from the INI beside it, "<library base name>.ini":
//
//   [Objava]
//   Verzija=2.400                      the latest version; "//ERROR//" without it
//   Namestitev=/opt/veldra/namesti     started with the three parameters on an upgrade
//
//   [Odgovori]                         set by tests, each overrides the work above
//   InternetUpgrade=0                  the answer of InternetUpgrade (default 1)
//   GetLastVersion="2.310 "            the reply as it stands: quotes keep blanks,
//                                      <null> gives a null pointer
//
// Every call is appended to "<library base name>.log", one line each, its arguments
// after tabs.
//
// Copyright (c) the Veldra developers. MIT licence, see LICENSE.
#include <veldra/upgrade.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>

#include <optional>

namespace {

QString &libraryPath()
{
    static QString path;
    return path;
}

QString siblingFile(const QString &suffix)
{
    const QFileInfo library(libraryPath());
    return library.absoluteDir().filePath(library.completeBaseName() + suffix);
}

// Read anew at every call, so a test can change it between two checks. Sections and
// keys without regard to case, the first of duplicate keys wins.
std::optional<QString> iniValue(const QString &section, const QString &key)
{
    if (libraryPath().isEmpty())
        return std::nullopt;
    QFile file(siblingFile(QStringLiteral(".ini")));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    bool inSection = false;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            inSection = line.mid(1, line.size() - 2).trimmed().compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inSection || equals <= 0 || line.left(equals).trimmed().compare(key, Qt::CaseInsensitive) != 0)
            continue;
        QString value = line.mid(equals + 1).trimmed();
        if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
            value = value.mid(1, value.size() - 2);
        return value;
    }
    return std::nullopt;
}

void logCall(const QStringList &fields)
{
    if (libraryPath().isEmpty())
        return;
    QFile file(siblingFile(QStringLiteral(".log")));
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
        file.write((fields.join(QLatin1Char('\t')) + QLatin1Char('\n')).toUtf8());
}

// Lives until the next reply; the program copies it at once.
const char *reply(const QString &text)
{
    static QByteArray store;
    store = text.toUtf8();
    return store.constData();
}

} // namespace

extern "C" {

VELDRA_UPGRADE_EXPORT void Init(const char *path)
{
    libraryPath() = path ? QString::fromUtf8(path) : QString();
    logCall({QStringLiteral("Init"), libraryPath()});
}

VELDRA_UPGRADE_EXPORT int InternetUpgrade(void)
{
    logCall({QStringLiteral("InternetUpgrade")});
    return iniValue(QStringLiteral("Odgovori"), QStringLiteral("InternetUpgrade")).value_or(QStringLiteral("1"))
        != QStringLiteral("0");
}

VELDRA_UPGRADE_EXPORT const char *GetLastVersion(const char *programPath, int days, int forced)
{
    logCall({QStringLiteral("GetLastVersion"), QString::fromUtf8(programPath ? programPath : ""),
             QString::number(days), QString::number(forced)});
    if (const std::optional<QString> configured = iniValue(QStringLiteral("Odgovori"), QStringLiteral("GetLastVersion"))) {
        if (*configured == QStringLiteral("<null>"))
            return nullptr;
        return reply(*configured);
    }
    // How often to look is the library's own business; this one looks every time.
    const QString published = iniValue(QStringLiteral("Objava"), QStringLiteral("Verzija")).value_or(QString());
    return reply(published.isEmpty() ? QStringLiteral(VELDRA_UPGRADE_REPLY_ERROR) : published);
}

// Built with VELDRA_UPGRADE_REPORT_ONLY, the library only reports versions and leaves
// installing them to the user.
#ifndef VELDRA_UPGRADE_REPORT_ONLY
VELDRA_UPGRADE_EXPORT void ExecuteUpgrade(int reserved, const char *parameters)
{
    const QString text = QString::fromUtf8(parameters ? parameters : "");
    logCall({QStringLiteral("ExecuteUpgrade"), QString::number(reserved), text});
    // The program ends when this returns: the installer runs on in a process of its own.
    const QString installer = iniValue(QStringLiteral("Objava"), QStringLiteral("Namestitev")).value_or(QString());
    if (!installer.isEmpty())
        QProcess::startDetached(installer, QProcess::splitCommand(text));
}
#endif

} // extern "C"
