#include "BenchSupport.h"

#include "Database.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QUrl>

#include <cstdio>

namespace Bench {

void print(const char *figure, int persons, double value, const char *unit)
{
    std::printf("%s %d %.*f %s\n", figure, persons, value < 10 ? 2 : value < 100 ? 1 : 0, value, unit);
    std::fflush(stdout);
}

double residentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    static const QRegularExpression rss(QStringLiteral("VmRSS:\\s*(\\d+) kB"));
    return rss.match(QString::fromLatin1(status.readAll())).captured(1).toDouble() / 1024.0;
}

double elapsedMs(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

QList<int> personCounts(int argc, char *argv[], const QList<int> &defaults)
{
    if (argc < 2)
        return defaults;
    QList<int> counts;
    for (const QString &count : QString::fromLocal8Bit(argv[1]).split(QLatin1Char(',')))
        counts << count.toInt();
    return counts;
}

void copyTemplateDatabase(const QString &file)
{
    QFile::copy(QStringLiteral(VELDRA_TEMPLATE_DB), file);
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
}

double medianMs(int runs, const std::function<void()> &work, const std::function<void()> &between)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (between)
            between();
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

ServerDatabase::ServerDatabase(const QString &server, const QString &name)
    : m_server(server)
    , m_name(name)
{
    drop();
    Database(DatabaseLocation::postgresServer(m_server)).runNative(QStringLiteral("CREATE DATABASE %1").arg(m_name));
}

ServerDatabase::~ServerDatabase()
{
    drop();
}

QString ServerDatabase::url() const
{
    QUrl url(m_server);
    url.setPath(QLatin1Char('/') + m_name);
    return url.toString();
}

void ServerDatabase::drop() const
{
    Database(DatabaseLocation::postgresServer(m_server)).runNative(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_name));
}

}
