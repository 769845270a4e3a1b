#include "IniFile.h"

#include "TextCodec.h"

#include <QFile>
#include <QLockFile>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>

struct IniFile::Content
{
    QStringList lines;
    QString lineEnd = QStringLiteral("\n");
    TextCodec::Encoding encoding = TextCodec::Encoding::Utf8;
};

namespace {

constexpr int LockWaitMs = 10000;
constexpr int StaleLockMs = 5000;

bool isSectionHeader(const QString &line, QString *name)
{
    const QString text = line.trimmed();
    if (!text.startsWith(QLatin1Char('[')))
        return false;
    const qsizetype close = text.indexOf(QLatin1Char(']'));
    *name = text.mid(1, close < 0 ? -1 : close - 1).trimmed();
    return true;
}

bool isKeyLine(const QString &line, QString *key, QString *value)
{
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0 || line.trimmed().startsWith(QLatin1Char(';')))
        return false;
    *key = line.left(equals).trimmed();
    *value = line.mid(equals + 1).trimmed();
    return true;
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Where a section and a key of it stand; only the first section of a name counts.
struct Place
{
    qsizetype header = -1;
    qsizetype lastLine = -1; // last non-blank line of the section (the header when it has none)
    qsizetype keyLine = -1;
    QString key;
    QString value;
};

Place find(const QStringList &lines, const QString &section, const QString &key)
{
    Place place;
    bool inside = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString name, lineKey, value;
        if (isSectionHeader(lines[i], &name)) {
            if (inside)
                break;
            inside = place.header < 0 && sameName(name, section);
            if (inside)
                place.header = place.lastLine = i;
            continue;
        }
        if (!inside)
            continue;
        if (!lines[i].trimmed().isEmpty())
            place.lastLine = i;
        if (place.keyLine < 0 && !key.isEmpty() && isKeyLine(lines[i], &lineKey, &value)
            && sameName(lineKey, key)) {
            place.keyLine = i;
            place.key = lineKey;
            place.value = value;
        }
    }
    return place;
}

QString singleLine(QString text)
{
    static const QRegularExpression lineBreaks(QStringLiteral("[\r\n]+"));
    return text.replace(lineBreaks, QStringLiteral(" "));
}

}

IniFile::IniFile(QString path)
    : m_path(std::move(path))
{
}

IniFile::Content IniFile::load() const
{
    Content content;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return content;
    const QString text = TextCodec::decode(file.readAll(), &content.encoding);
    if (text.contains(QLatin1String("\r\n")))
        content.lineEnd = QStringLiteral("\r\n");
    static const QRegularExpression lineBreak(QStringLiteral("\r?\n"));
    content.lines = text.split(lineBreak);
    if (!content.lines.isEmpty() && content.lines.last().isEmpty())
        content.lines.removeLast();
    return content;
}

void IniFile::save(const Content &content) const
{
    QString text;
    for (const QString &line : content.lines)
        text += line + content.lineEnd;
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(TextCodec::encode(text, content.encoding)) < 0
        || !file.commit()) {
        throw IniWriteError(QStringLiteral("Cannot write %1: %2").arg(m_path, file.errorString()).toStdString());
    }
}

template<typename Change> void IniFile::modify(Change change)
{
    // Workstations sharing a data folder write the same files: read, change and
    // replace the file as one step under the lock.
    QLockFile lock(m_path + QStringLiteral(".lock"));
    // A write holds the lock for a moment. A lock that does not name a live process of
    // this computer (a writer killed before it wrote its name, one on another computer)
    // is taken over once it is older than any write, well before this one gives up.
    lock.setStaleLockTime(StaleLockMs);
    if (!lock.tryLock(LockWaitMs))
        throw IniWriteError(QStringLiteral("Cannot lock %1").arg(m_path).toStdString());
    Content content = load();
    if (content.encoding == TextCodec::Encoding::Undecodable)
        throw IniWriteError(QStringLiteral("Cannot rewrite %1: its text cannot be read here").arg(m_path).toStdString());
    if (change(content))
        save(content);
}

QString IniFile::readRaw(const QString &section, const QString &key) const
{
    return find(load().lines, section, key).value;
}

QString IniFile::readString(const QString &section, const QString &key) const
{
    QString value = readRaw(section, key);
    if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\''))
        && value.back() == value.front()) {
        value = value.mid(1, value.size() - 2);
    }
    return value;
}

bool IniFile::readSectionValues(const QString &section, QStringList *lines) const
{
    const QStringList all = load().lines;
    const Place place = find(all, section, QString());
    if (place.header < 0)
        return false;
    QStringList result;
    QStringList seen;
    for (qsizetype i = place.header + 1; i <= place.lastLine; ++i) {
        QString key, value;
        if (!isKeyLine(all[i], &key, &value)
            || std::any_of(seen.cbegin(), seen.cend(), [&](const QString &s) { return sameName(s, key); }))
            continue;
        seen.append(key);
        result.append(key + QLatin1Char('=') + value);
    }
    *lines = result;
    return true;
}

QList<std::pair<QString, QString>> IniFile::readEveryKey(const QString &section) const
{
    const QStringList all = load().lines;
    const Place place = find(all, section, QString());
    QList<std::pair<QString, QString>> result;
    for (qsizetype i = place.header + 1; place.header >= 0 && i <= place.lastLine; ++i) {
        QString key, value;
        if (isKeyLine(all[i], &key, &value) && !key.isEmpty())
            result.append({key, value});
    }
    return result;
}

QStringList IniFile::sectionNames() const
{
    QStringList names;
    for (const QString &line : load().lines) {
        QString name;
        if (isSectionHeader(line, &name)
            && std::none_of(names.cbegin(), names.cend(), [&](const QString &known) { return sameName(known, name); }))
            names.append(name);
    }
    return names;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    const QString line = key + QLatin1Char('=') + singleLine(value);
    modify([&](Content &content) {
        const Place place = find(content.lines, section, key);
        if (place.keyLine >= 0) {
            content.lines[place.keyLine] = place.key + QLatin1Char('=') + singleLine(value);
        } else if (place.header >= 0) {
            content.lines.insert(place.lastLine + 1, line);
        } else {
            if (!content.lines.isEmpty() && !content.lines.last().trimmed().isEmpty())
                content.lines.append(QString());
            content.lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
            content.lines.append(line);
        }
        return true;
    });
}

void IniFile::deleteKey(const QString &section, const QString &key)
{
    if (find(load().lines, section, key).keyLine < 0)
        return;
    // Every line of the key goes, so that no later duplicate comes to light.
    modify([&](Content &content) {
        bool changed = false;
        for (Place place = find(content.lines, section, key); place.keyLine >= 0;
             place = find(content.lines, section, key)) {
            content.lines.removeAt(place.keyLine);
            changed = true;
        }
        return changed;
    });
}
