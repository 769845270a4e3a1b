#include "LauncherBar.h"

#include "IniFile.h"
#include "ProgramPaths.h"
#include "PublicFunctions.h"
#include "Registry.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>

namespace {

const QString Settings = QStringLiteral("SETTINGS");

// The path with the extension of its file name replaced, or appended when it has none.
QString withIniExtension(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix();
    return (suffix.isEmpty() ? path : path.chopped(suffix.size() + 1)) + QStringLiteral(".ini");
}

// Trellan's shortcuts file; empty when Trellan or its files are missing.
QString shortcutsFile()
{
    const QString location = Registry::readString(QStringLiteral("Software\\Korvan\\Trellan\\Nastavitve"), QStringLiteral("Location"));
    if (location.isEmpty())
        return {};
    const QFileInfo ini(withIniExtension(location));
    if (!ini.isFile())
        return {};
    QString shortcuts = IniFile(ini.filePath()).readString(Settings, QStringLiteral("Shortcuts"));
    if (shortcuts.startsWith(QLatin1Char('\\')))
        shortcuts = ini.absolutePath() + QLatin1Char('/') + shortcuts.mid(1).replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (shortcuts.isEmpty() || !QFileInfo(shortcuts).isFile())
        return {};
    return shortcuts;
}

// A whole number as the launcher bar writes them; anything else counts as 0. Kept to the
// range of its numbers, so that adding one cannot overflow.
qint64 wholeNumber(const QString &text)
{
    bool ok = false;
    const int number = text.trimmed().toInt(&ok);
    return ok ? number : 0;
}

bool pointsTo(const QString &value, const QString &program)
{
    const auto same = [&program](QStringView path) { return path.compare(program, Qt::CaseInsensitive) == 0; };
    if (same(GetToken(value, QStringLiteral(";"), 4)))
        return true;
    // A path with a ";" of its own runs on to the end of the line: without this its
    // button would be added again at every start.
    qsizetype at = -1;
    for (int field = 1; field < 4; ++field) {
        at = value.indexOf(QLatin1Char(';'), at + 1);
        if (at < 0)
            return false;
    }
    return same(QStringView(value).mid(at + 1));
}

}

void AddToLauncherBar()
{
    const QString file = shortcutsFile();
    if (file.isEmpty())
        return;
    IniFile shortcuts(file);
    QString user = GetUserNameText();
    if (user.isEmpty())
        user = QStringLiteral("USER");
    const QString program = ProgramPaths::programFile();

    QStringList lines;
    shortcuts.readSectionValues(user, &lines);
    qint64 lastNumber = 0;
    qint64 lastOrder = 0;
    for (const QString &line : std::as_const(lines)) {
        const qsizetype at = line.indexOf(QLatin1Char('='));
        const QString key = line.left(at);
        const QString value = at < 0 ? QString() : line.mid(at + 1);
        if (pointsTo(value, program))
            return;
        lastNumber = std::max(lastNumber, wholeNumber(key));
        lastOrder = std::max(lastOrder, wholeNumber(GetToken(value, QStringLiteral(";"), 1)));
    }

    try {
        shortcuts.writeString(user, QString::number(lastNumber + 1),
                              QString::number(lastOrder + 1) + QStringLiteral(";Veldra;Dizedud;") + program);
        shortcuts.deleteKey(user, QStringLiteral("Empty"));
        shortcuts.writeString(Settings, QStringLiteral("Refresh"), QString::number(QRandomGenerator::global()->bounded(10000, 20000)));
    } catch (const IniWriteError &) {
        // The bar is a convenience: a file that cannot be written is left as it is.
    }
}
