#include "ErrorLog.h"

#include "ProgramPaths.h"
#include "PublicFunctions.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>
#include <QSysInfo>
#include <QTextStream>

namespace {

// "Key:   value kB" lines of a /proc file, in bytes.
qint64 procValue(const QString &file, const QString &key)
{
    QFile proc(file);
    if (!proc.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    const QRegularExpression line(QStringLiteral("^%1:\\s*(\\d+)\\s*kB").arg(QRegularExpression::escape(key)),
                                  QRegularExpression::MultilineOption);
    const auto match = line.match(QString::fromLatin1(proc.readAll()));
    return match.hasMatch() ? match.captured(1).toLongLong() * 1024 : -1;
}

QString cpuName()
{
    QFile info(QStringLiteral("/proc/cpuinfo"));
    if (!info.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    static const QRegularExpression model(QStringLiteral("^model name\\s*:\\s*(.*)$"), QRegularExpression::MultilineOption);
    return model.match(QString::fromLatin1(info.readAll())).captured(1).trimmed();
}

QString number(qint64 value)
{
    return value < 0 ? QString() : QString::number(value);
}

QString candidatePath(const QString &folder)
{
    return QDir(folder).filePath(ErrorLog::fileName());
}

QString stateFolder()
{
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/Veldra");
}

bool appendText(const QString &path, const QString &text)
{
    QFile file(path);
    const bool isNew = !file.exists();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    // One write per entry, so that entries of two processes do not interleave.
    const QByteArray bytes = ((isNew ? ErrorLog::headerBlock() : QString()) + text).toUtf8();
    return file.write(bytes) == bytes.size();
}

}

namespace ErrorLog {

QString fileName()
{
    return QStringLiteral("_errors_log.txt");
}

QString headerBlock()
{
    const QScreen *screen = qobject_cast<QGuiApplication *>(QCoreApplication::instance())
        ? QGuiApplication::primaryScreen()
        : nullptr;
    const qint64 totalVirtual = QSysInfo::WordSize == 64 ? (qint64(1) << 47) : (qint64(1) << 32);
    const qint64 usedVirtual = procValue(QStringLiteral("/proc/self/status"), QStringLiteral("VmSize"));
    QString text;
    QTextStream out(&text);
    out << "##################### exception log header\n"
        << "ExeModule= " << ProgramPaths::programFile() << '\n'
        << "OSPlatform= " << QSysInfo::prettyProductName() << " (" << QSysInfo::kernelType() << ' '
        << QSysInfo::kernelVersion() << ")\n"
        << "CPUKind= " << QSysInfo::currentCpuArchitecture() << '\n'
        << "CPUName= " << cpuName() << '\n'
        << "TotalPhys= " << number(procValue(QStringLiteral("/proc/meminfo"), QStringLiteral("MemTotal"))) << '\n'
        << "AvailPhys= " << number(procValue(QStringLiteral("/proc/meminfo"), QStringLiteral("MemAvailable"))) << '\n'
        << "TotalPageFile= " << number(procValue(QStringLiteral("/proc/meminfo"), QStringLiteral("SwapTotal"))) << '\n'
        << "AvailPageFile= " << number(procValue(QStringLiteral("/proc/meminfo"), QStringLiteral("SwapFree"))) << '\n'
        << "TotalVirtual= " << totalVirtual << '\n'
        << "AvailVirtual= " << (usedVirtual < 0 ? QString() : QString::number(totalVirtual - usedVirtual)) << '\n'
        << "ColorDepth= " << (screen ? QString::number(screen->depth()) : QString()) << '\n'
        << "SystemFont= " << (screen ? QGuiApplication::font().family() + QLatin1Char(' ')
                                           + QString::number(QGuiApplication::font().pointSizeF())
                                     : QString()) << '\n'
        << "VRefreshRate= " << (screen ? QString::number(screen->refreshRate()) : QString()) << '\n'
        << "GraphicResolution= " << (screen ? QStringLiteral("%1x%2").arg(screen->size().width()).arg(screen->size().height())
                                            : QString()) << '\n'
        << "##################### exception log header end\n";
    return text;
}

QString append(const Entry &entry)
{
    QString text;
    QTextStream out(&text);
    out << '\n'
        << "Exception class= " << entry.exceptionClass << '\n'
        << "ExceptAddr= " << entry.place << '\n'
        << "Computer= " << GetComputerNameText() << '\n'
        << "User= " << GetUserNameText() << '\n'
        << "Datetime= " << QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy  hh:mm:ss")) << '\n'
        << "ExceptionMessage= " << entry.message << '\n'
        << "Message= " << entry.userMessage << '\n';
    const QString programFolderLog = candidatePath(ProgramPaths::programFolder());
    if (appendText(programFolderLog, text))
        return programFolderLog;
    QDir().mkpath(stateFolder());
    const QString stateLog = candidatePath(stateFolder());
    return appendText(stateLog, text) ? stateLog : QString();
}

}
