#include "ProgramPaths.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {
QString &overriddenProgramFile()
{
    static QString path;
    return path;
}
}

namespace ProgramPaths {

QString programFile()
{
    const QString &path = overriddenProgramFile();
    return path.isEmpty() ? QCoreApplication::applicationFilePath() : path;
}

void setProgramFile(const QString &path)
{
    overriddenProgramFile() = path;
}

QString programFolder()
{
    return QFileInfo(programFile()).absolutePath() + QLatin1Char('/');
}

QString withExtension(const QString &extension)
{
    const QFileInfo file(programFile());
    QString base = file.absoluteFilePath();
    if (!file.suffix().isEmpty())
        base.chop(file.suffix().size() + 1);
    return base + QLatin1Char('.') + extension;
}

QString iniFile()
{
    return withExtension(QStringLiteral("ini"));
}

}
