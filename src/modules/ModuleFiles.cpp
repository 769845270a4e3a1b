#include "ModuleFiles.h"

#include "IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <utility>

namespace {

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
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
        for (const QString &section : shared.sectionNames()) {
            QStringList sharedLines, ownLines;
            shared.readSectionValues(section, &sharedLines);
            workstation.readSectionValues(section, &ownLines);
            for (const QString &line : std::as_const(sharedLines)) {
                const QString key = keyOf(line);
                if (!key.isEmpty() && !hasKey(ownLines, key))
                    workstation.writeString(section, key, line.mid(line.indexOf(QLatin1Char('=')) + 1));
            }
        }
        // Every line counts: each "Glavno=..." names a setting of its own.
        for (const auto &[section, key] : IniFile(upgrade).readEveryKey(QStringLiteral("Owerwrite"))) {
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
