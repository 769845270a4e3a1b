#include "FuzzSupport.h"

#include "ProgramPaths.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace Fuzz {

namespace {

QTemporaryDir &temporaryFolder()
{
    static QTemporaryDir dir;
    return dir;
}

}

void startApplication(bool widgets)
{
    if (QCoreApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Nothing of the user's is read or written.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder() + QStringLiteral("config")));
    static int argc = 1;
    static char name[] = "veldra-fuzz";
    static char *argv[] = {name, nullptr};
    // Never destroyed: the fuzzer ends the process from exit(), when Qt's own statics may
    // already be gone.
    if (widgets)
        new QApplication(argc, argv);
    else
        new QCoreApplication(argc, argv);
    QDir().mkpath(folder() + QStringLiteral("config/Veldra"));
    ProgramPaths::setProgramFile(folder() + QStringLiteral("veldra"));
}

QString folder()
{
    return temporaryFolder().path() + QLatin1Char('/');
}

QString writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = folder() + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::abort();
    }
    return path;
}

QList<QByteArray> parts(const std::uint8_t *data, std::size_t size, int count)
{
    QList<QByteArray> result = QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)).split('\0');
    if (result.size() > count) {
        const QByteArray last = result.mid(count - 1).join('\0');
        result.resize(count - 1);
        result.append(last);
    }
    while (result.size() < count)
        result.append(QByteArray());
    return result;
}

void check(bool holds, const char *what, const QString &detail)
{
    if (holds)
        return;
    std::fprintf(stderr, "broken: %s %s\n", what, qPrintable(detail));
    std::abort();
}

}
