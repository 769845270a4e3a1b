// The INI reader on any file: every section and key the file shows reads back as listed,
// and a written key reads back while every other value stays as it was.

#include "FuzzSupport.h"
#include "IniFile.h"

#include <QFile>

namespace {

using Values = QList<std::pair<QString, QStringList>>;

// Every section with its key=value lines, as the program's readers see them.
Values everyValue(const IniFile &ini)
{
    Values values;
    for (const QString &section : ini.sectionNames()) {
        QStringList lines;
        Fuzz::check(ini.readSectionValues(section, &lines), "a listed section is there", section);
        for (const QString &line : std::as_const(lines)) {
            const qsizetype equals = line.indexOf(QLatin1Char('='));
            const QString key = line.left(equals);
            if (!key.isEmpty())
                Fuzz::check(ini.readRaw(section, key) == line.mid(equals + 1), "a listed key reads as listed", line);
        }
        ini.readEveryKey(section);
        values.append({section, lines});
    }
    return values;
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Fuzz::startApplication();
    const QString path = Fuzz::writeFile(QStringLiteral("fuzz.ini"), QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    IniFile ini(path);
    const Values before = everyValue(ini);

    const QString section = before.isEmpty() ? QStringLiteral("Glavno") : before.first().first;
    const QString key = QStringLiteral("FuzzKey");
    const QString value = QStringLiteral("written value");
    try {
        ini.writeString(section, key, value);
    } catch (const IniWriteError &) {
        return 0; // a file that cannot be read faithfully is not rewritten
    }
    Fuzz::check(ini.readString(section, key) == value, "a written key reads back", section);
    Values after = everyValue(ini);
    for (auto &[name, lines] : after)
        if (name == section)
            lines.removeIf([&](const QString &line) { return line.startsWith(key + QLatin1Char('='), Qt::CaseInsensitive); });
    Values expected = before;
    for (auto &[name, lines] : expected)
        if (name == section)
            lines.removeIf([&](const QString &line) { return line.startsWith(key + QLatin1Char('='), Qt::CaseInsensitive); });
    if (before.isEmpty())
        expected.append({section, {}});
    Fuzz::check(after == expected, "a write keeps every other value");
    return 0;
}
