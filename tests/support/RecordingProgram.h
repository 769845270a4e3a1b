#pragma once

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>

// A program of the desktop (xdg-email, say) stood in for by a script that writes down its
// arguments, each ended by a NUL (values may hold line breaks), and then runs the given
// shell lines. The script lies in a folder of its own, for the test's PATH.
class RecordingProgram
{
public:
    explicit RecordingProgram(const QString &name);

    void install(const QByteArray &then = "exit 0");
    QString folder() const { return m_bin.path(); }
    bool ran() const;
    QStringList arguments() const;

private:
    QString argumentsFile() const { return m_records.filePath(QStringLiteral("arguments")); }

    QString m_name;
    QTemporaryDir m_bin;
    QTemporaryDir m_records;
};
