#include "ModuleFiles.h"

#include "IniFile.h"
#include "TextCodec.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>
#include <utility>

namespace {

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QStringList fileLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression lineBreak(QStringLiteral("\r?\n"));
    return TextCodec::decode(file.readAll()).split(lineBreak);
}

// Section headers and key lines read as IniFile reads them.
bool sectionHeader(const QString &line, QString *name)
{
    const QString text = line.trimmed();
    if (!text.startsWith(QLatin1Char('[')))
        return false;
    const qsizetype close = text.indexOf(QLatin1Char(']'));
    *name = text.mid(1, close < 0 ? -1 : close - 1).trimmed();
    return true;
}

bool keyLine(const QString &line, QString *key, QString *value)
{
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0 || line.trimmed().startsWith(QLatin1Char(';')))
        return false;
    *key = line.left(equals).trimmed();
    *value = line.mid(equals + 1).trimmed();
    return true;
}

// Every section of the file once, in file order.
QStringList sectionNames(const QString &path)
{
    QStringList names;
    for (const QString &line : fileLines(path)) {
        QString name;
        if (sectionHeader(line, &name)
            && std::none_of(names.cbegin(), names.cend(), [&](const QString &known) { return sameName(known, name); }))
            names.append(name);
    }
    return names;
}

// Every key line of the first section of that name, repeated keys too: each
// "Glavno=..." line of "Owerwrite" names a setting of its own.
QList<std::pair<QString, QString>> everyLineOf(const QString &path, const QString &section)
{
    QList<std::pair<QString, QString>> lines;
    bool inside = false;
    for (const QString &line : fileLines(path)) {
        QString name, key, value;
        if (sectionHeader(line, &name)) {
            if (inside)
                break;
            inside = sameName(name, section);
        } else if (inside && keyLine(line, &key, &value)) {
            lines.append({key, value});
        }
    }
    return lines;
}

// "key=value" lines as IniFile::readSectionValues gives them.
QString keyOf(const QString &line)
{
    return line.left(line.indexOf(QLatin1Char('='))).trimmed();
}

bool hasKey(const QStringList &lines, const QString &key)
{
    return std::any_of(lines.cbegin(), lines.cend(), [&](const QString &line) { return sameName(keyOf(line), key); });
}

}

bool ReplaceFile(const QString &source, const QString &target)
{
    const QFileInfo from(source);
    const QFileInfo to(target);
    if (to.exists() && from.canonicalFilePath() == to.canonicalFilePath())
        return true;
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QSaveFile out(target);
    // Never written in place, even where the folder would not allow the new file.
    out.setDirectWriteFallback(false);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    for (;;) {
        const qint64 read = in.read(buffer.data(), buffer.size());
        if (read < 0 || out.write(buffer.constData(), read) != read) {
            out.cancelWriting();
            return false;
        }
        if (read == 0)
            break;
    }
    if (!out.commit())
        return false;
    QFile::setPermissions(target, in.permissions());
    return true;
}

bool MergeModuleSettings(const QString &source, const QString &target, const QString &upgrade)
{
    if (!QFileInfo(source).isFile())
        return true;
    if (!QFileInfo::exists(target))
        return ReplaceFile(source, target);
    if (!QFileInfo(upgrade).isFile())
        return true;

    const IniFile shared(source);
    IniFile workstation(target);
    try {
        for (const QString &section : sectionNames(source)) {
            QStringList sharedLines, ownLines;
            shared.readSectionValues(section, &sharedLines);
            workstation.readSectionValues(section, &ownLines);
            for (const QString &line : std::as_const(sharedLines)) {
                const QString key = keyOf(line);
                if (!key.isEmpty() && !hasKey(ownLines, key))
                    workstation.writeString(section, key, line.mid(line.indexOf(QLatin1Char('=')) + 1));
            }
        }
        for (const auto &[section, key] : everyLineOf(upgrade, QStringLiteral("Owerwrite"))) {
            if (section.isEmpty() || key.isEmpty())
                continue;
            // Raw, so that a quoted value arrives as the administrator wrote it.
            workstation.writeString(section, key, shared.readRaw(section, key));
        }
    } catch (const IniWriteError &) {
        return false;
    }
    return true;
}
