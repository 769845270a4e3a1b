#include "DesktopEntries.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QXmlStreamWriter>

namespace {

// A value of type string or localestring: the escapes the format knows.
QString escapedValue(QString value)
{
    value.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    value.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    value.replace(QLatin1Char('\t'), QLatin1String("\\t"));
    value.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    return value;
}

// The program as one quoted argument of Exec: inside the quotes ", `, $ and \ take a
// backslash, % is doubled, and then the whole is escaped as any string value.
QString execArgument(QString program)
{
    QString quoted;
    for (const QChar c : program) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    quoted.replace(QLatin1Char('%'), QLatin1String("%%"));
    return escapedValue(QLatin1Char('"') + quoted + QLatin1Char('"'));
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(content);
    return file.commit();
}

QString withSeparator(const QString &folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// A group's name as a file name: everything but the folder separator may stand.
QString groupFileBase(const QString &groupName)
{
    return QString(groupName).replace(QLatin1Char('/'), QLatin1Char('-'));
}

QString dataHome()
{
    return withSeparator(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

QString configHome()
{
    return withSeparator(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

QByteArray menuFile(const QString &groupName, const QString &directoryFile, const QString &desktopFileId)
{
    QByteArray xml;
    QXmlStreamWriter writer(&xml);
    writer.setAutoFormatting(true);
    // Desktops read a merged menu by its elements; no document type is needed for it.
    writer.writeStartDocument();
    writer.writeStartElement(QStringLiteral("Menu"));
    writer.writeTextElement(QStringLiteral("Name"), QStringLiteral("Applications"));
    writer.writeStartElement(QStringLiteral("Menu"));
    writer.writeTextElement(QStringLiteral("Name"), groupName);
    writer.writeTextElement(QStringLiteral("Directory"), directoryFile);
    writer.writeStartElement(QStringLiteral("Include"));
    writer.writeTextElement(QStringLiteral("Filename"), desktopFileId);
    writer.writeEndElement();
    writer.writeEndElement();
    writer.writeEndElement();
    writer.writeEndDocument();
    return xml;
}

}

QString ShortcutFileName(const QString &productName)
{
    return QStringLiteral("Korvan ") + productName + QStringLiteral(".desktop");
}

bool WriteShortcut(const QString &file, const Shortcut &shortcut)
{
    QString entry = QStringLiteral("[Desktop Entry]\nType=Application\nVersion=1.0\n");
    entry += QStringLiteral("Name=") + escapedValue(QFileInfo(file).completeBaseName()) + QLatin1Char('\n');
    if (!shortcut.Description.isEmpty())
        entry += QStringLiteral("Comment=") + escapedValue(shortcut.Description) + QLatin1Char('\n');
    entry += QStringLiteral("Exec=") + execArgument(shortcut.Program) + QLatin1Char('\n');
    entry += QStringLiteral("Path=") + escapedValue(shortcut.WorkingFolder) + QLatin1Char('\n');
    // The program's own picture beside it stands for the icon a program file carries.
    const QFileInfo program(shortcut.Program);
    const QString icon = program.absolutePath() + QLatin1Char('/') + program.completeBaseName() + QStringLiteral(".png");
    if (QFileInfo(icon).isFile())
        entry += QStringLiteral("Icon=") + escapedValue(icon) + QLatin1Char('\n');
    entry += QStringLiteral("Terminal=false\n");

    QFile::remove(file);
    if (!writeFile(file, entry.toUtf8()))
        return false;
    // Desktops start only launchers that may be executed.
    QFile written(file);
    return written.setPermissions(written.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}

QString DesktopFolder()
{
    return withSeparator(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
}

QString CreateMenuGroup(const QString &groupName, const QString &shortcutFileName)
{
    const QString base = groupFileBase(groupName);
    const QString folder = dataHome() + QStringLiteral("applications/") + base + QLatin1Char('/');
    if (!QDir().mkpath(folder))
        return {};
    const QString directoryFile = base + QStringLiteral(".directory");
    const QString directory = QStringLiteral("[Desktop Entry]\nType=Directory\nVersion=1.0\nName=")
                              + escapedValue(groupName) + QLatin1Char('\n');
    // A desktop file in a folder below applications/ is known by the folder and its
    // name joined with "-".
    const QString desktopFileId = base + QLatin1Char('-') + shortcutFileName;
    if (!writeFile(dataHome() + QStringLiteral("desktop-directories/") + directoryFile, directory.toUtf8())
        || !writeFile(configHome() + QStringLiteral("menus/applications-merged/") + base + QStringLiteral(".menu"),
                      menuFile(groupName, directoryFile, desktopFileId)))
        return {};
    return folder;
}
