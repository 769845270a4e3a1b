#include "SetupScript.h"

#include "IniFile.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace {

const QString Glavno = QStringLiteral("Glavno");

QString withSlashes(QString path)
{
    return path.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

// The lines of a section with their sources made absolute. A repeated key reads the
// first line's value, as every reader of these files does.
QList<ScriptLine> readLines(const IniFile &script, const QString &section, const QString &installerFolder)
{
    QList<ScriptLine> lines;
    for (const auto &[key, value] : script.readEveryKey(section)) {
        Q_UNUSED(value);
        lines.append({AbsoluteSourcePath(key, installerFolder), script.readString(section, key)});
    }
    return lines;
}

QString untilFirstSemicolon(const QString &target)
{
    return target.section(QLatin1Char(';'), 0, 0).trimmed();
}

void replaceMacro(QString &text, const QString &macro, const QString &folder)
{
    text.replace(macro, folder, Qt::CaseInsensitive);
}

}

SetupScript ReadSetupScript(const QString &installerFolder)
{
    const IniFile script(QDir(installerFolder).filePath(QStringLiteral("Setup.ini")));
    const auto value = [&script](const char *key) { return script.readString(Glavno, QString::fromLatin1(key)); };
    SetupScript result;
    result.Ime = value("Ime");
    result.Slika = AbsoluteSourcePath(value("Slika"), installerFolder);
    result.Verzija = value("Verzija");
    result.Memo = AbsoluteSourcePath(value("Memo"), installerFolder);
    result.Info = value("Info");
    result.ProgramFolder = value("ProgramFolder");
    result.MrezaFolder = value("MrezaFolder");
    result.ChangePathInIni = value("ChangePathInIni");
    result.Dll = readLines(script, QStringLiteral("DLL"), installerFolder);
    result.Folders = readLines(script, QStringLiteral("Folders"), installerFolder);
    result.Datoteke = readLines(script, QStringLiteral("Datoteke"), installerFolder);
    return result;
}

QString AbsoluteSourcePath(const QString &path, const QString &installerFolder)
{
    const QString trimmed = path.trimmed();
    if (trimmed.size() < 2 || trimmed.at(1) == QLatin1Char(':') || trimmed.startsWith(QLatin1Char('/')))
        return withSlashes(trimmed).trimmed();
    return QDir::cleanPath(withSlashes(FolderWithSeparator(installerFolder) + trimmed)).trimmed();
}

FileOption OptionOf(const QString &target)
{
    const QString option = target.section(QLatin1Char(';'), 1, 1).trimmed();
    if (option.compare(QLatin1String("LEAVE"), Qt::CaseInsensitive) == 0)
        return FileOption::Leave;
    if (option.compare(QLatin1String("SHORTCUT"), Qt::CaseInsensitive) == 0)
        return FileOption::Shortcut;
    if (option.compare(QLatin1String("DBCHECKVER"), Qt::CaseInsensitive) == 0)
        return FileOption::DbCheckVer;
    return FileOption::None;
}

QString ExpandTarget(const QString &target, const ChosenFolders &folders)
{
    QString text = untilFirstSemicolon(target);
    replaceMacro(text, QStringLiteral("%ProgramFolder%"), folders.Program);
    replaceMacro(text, QStringLiteral("%MrezaFolder%"), folders.Database);
    replaceMacro(text, QStringLiteral("%System%"), SystemFolder());
    return withSlashes(text);
}

QString SystemFolder()
{
    return QDir::homePath() + QStringLiteral("/.local/lib/");
}

QString FolderWithSeparator(const QString &text)
{
    QString folder = withSlashes(text.trimmed());
    if (folder.isEmpty())
        return folder;
    if (folder == QLatin1String("~") || folder.startsWith(QLatin1String("~/")))
        folder = QDir::homePath() + folder.mid(1);
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QString DatabaseVersion(const QString &versionFile)
{
    return IniFile(versionFile).readString(QStringLiteral("Baza"), QStringLiteral("Verzija"));
}

bool DatabaseVersionMatches(const SetupScript &script, const ChosenFolders &folders)
{
    const ScriptLine *check = nullptr;
    for (const ScriptLine &line : script.Datoteke) {
        if (OptionOf(line.Target) == FileOption::DbCheckVer)
            check = &line;
    }
    if (!check)
        return true;
    return DatabaseVersion(ExpandTarget(check->Target, folders)) == DatabaseVersion(check->Source);
}

SourceFiles CountSourceFiles(const SetupScript &script)
{
    SourceFiles files;
    for (const QList<ScriptLine> *section : {&script.Datoteke, &script.Dll}) {
        for (const ScriptLine &line : *section) {
            const QFileInfo source(line.Source);
            if (!source.isFile())
                continue;
            ++files.Count;
            files.Bytes += source.size();
        }
    }
    return files;
}

QString FormatSourceFiles(const SourceFiles &files)
{
    double size = double(files.Bytes) / 1024;
    QString unit = QStringLiteral("KB");
    if (size > 1024) {
        size /= 1024;
        unit = QStringLiteral("MB");
    }
    return QStringLiteral("%1 (%2 %3)").arg(files.Count).arg(QLocale().toString(size, 'f', 2), unit);
}
