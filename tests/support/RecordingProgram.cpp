#include "RecordingProgram.h"

#include <QFile>
#include <QTest>

RecordingProgram::RecordingProgram(const QString &name)
    : m_name(name)
{
}

void RecordingProgram::install(const QByteArray &then)
{
    QFile script(m_bin.filePath(m_name));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done > '" + QFile::encodeName(argumentsFile()) + "'\n"
                 + then + '\n');
    script.close();
    QVERIFY(script.setPermissions(script.permissions() | QFile::ExeOwner));
}

bool RecordingProgram::ran() const
{
    return QFile::exists(argumentsFile());
}

QStringList RecordingProgram::arguments() const
{
    QFile file(argumentsFile());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList arguments = QString::fromUtf8(file.readAll()).split(QChar(0));
    arguments.removeLast(); // after the last NUL
    return arguments;
}
