#include "ExternalPrograms.h"

#include "FileIcon.h"
#include "IniFile.h"
#include "MenuShortcuts.h"
#include "ProgramPaths.h"
#include "TaggedMenus.h"
#include "PublicFunctions.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>
#include <utility>

namespace {

const QString Section = QStringLiteral("Zunanji programi");
constexpr int GroupTags = 1000;
constexpr int ItemTags = 1100;

QString iniPath(const QString &iniName)
{
    return ProgramPaths::programFolder() + iniName;
}

// A relative path is taken from the program's folder, not from wherever the program
// happened to be started.
QString resolvedPath(const QString &path)
{
    if (path.isEmpty() || QDir::isAbsolutePath(path))
        return path;
    return QDir(ProgramPaths::programFolder()).absoluteFilePath(path);
}

bool sameKey(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

ExternalProgram parseLine(const QString &key, const QString &value)
{
    ExternalProgram program;
    program.key = key;
    const QStringList fields = value.split(QLatin1Char(';'));
    program.path = fields.value(0).trimmed();
    program.group = fields.value(1).trimmed();
    // A caption may hold ";" itself: it is the rest of the line.
    program.caption = fields.mid(2).join(QLatin1Char(';')).trimmed();
    return program;
}

}

QList<ExternalProgram> ReadExternalPrograms(const QString &iniName)
{
    // Every line, not every key: two lines may share a key, and both are shown.
    QList<ExternalProgram> programs;
    for (const auto &[key, value] : IniFile(iniPath(iniName)).readEveryKey(Section))
        programs.append(parseLine(key, value));
    return programs;
}

QList<ExternalProgram> WriteExternalPrograms(const QString &iniName, const QList<ExternalProgram> &entries)
{
    QList<ExternalProgram> written;
    const auto taken = [&](const QString &key) {
        return std::any_of(written.cbegin(), written.cend(), [&](const ExternalProgram &p) { return sameKey(p.key, key); });
    };
    for (ExternalProgram entry : entries) {
        // "=" would end the key early and a leading ";" or "[" would hide the line.
        QString key = entry.key;
        key.remove(QLatin1Char('=')).remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
        key = key.trimmed();
        while (key.startsWith(QLatin1Char(';')) || key.startsWith(QLatin1Char('[')))
            key = key.mid(1).trimmed();
        if (key.isEmpty())
            key = QFileInfo(entry.path).completeBaseName();
        if (key.isEmpty())
            key = QStringLiteral("Program");
        if (taken(key)) {
            const QString base = key;
            int number = 2;
            do
                key = base + QLatin1Char(' ') + QString::number(number++);
            while (taken(key));
        }
        if (entry.caption.isEmpty() && key != entry.key)
            entry.caption = entry.key.trimmed();
        entry.key = key;
        written.append(entry);
    }

    IniFile ini(iniPath(iniName));
    for (const ExternalProgram &old : ReadExternalPrograms(iniName))
        ini.deleteKey(Section, old.key);
    for (const ExternalProgram &entry : std::as_const(written))
        ini.writeString(Section, entry.key, entry.path + QLatin1Char(';') + entry.group + QLatin1Char(';') + entry.caption);
    return written;
}

void BuildProgramMenus(const QString &iniName, QMenuBar *menu, const std::function<void(QAction *)> &onClick)
{
    const QList<ExternalProgram> programs = ReadExternalPrograms(iniName);
    for (int line = 0; line < programs.size(); ++line) {
        const ExternalProgram &program = programs[line];
        QMenu *group = FindOrAddTopLevelMenu(menu, program.group.isEmpty() ? QStringLiteral("Programi") : program.group,
                                             GroupTags + line);
        auto *item = new QAction(program.caption.isEmpty() ? program.key : program.caption, group);
        item->setStatusTip(program.path);
        item->setIcon(GetFileIcon(resolvedPath(program.path), 0));
        SetMenuTag(item, ItemTags + line);
        if (onClick)
            QObject::connect(item, &QAction::triggered, item, [item, onClick] { onClick(item); });
        group->addAction(item);
    }
}

void RemoveProgramMenus(QMenuBar *menu)
{
    RemoveTaggedEntries(menu, GroupTags, GroupTags + 999);
}

bool StartExternalProgram(const QString &iniName, int tag)
{
    if (tag < ItemTags || tag > ItemTags + 99)
        return false;
    const QList<ExternalProgram> programs = ReadExternalPrograms(iniName);
    const int line = tag - ItemTags;
    if (line >= programs.size())
        return false;
    const QString path = resolvedPath(programs[line].path);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    return OpenDocumentInFolder(path);
}

void ZunanjiProgramiClick(QAction *item)
{
    if (item)
        StartExternalProgram(QStringLiteral("Moduli.ini"), MenuTag(item));
}
