#include "BenchSupport.h"

#include "DataGenerator.h"
#include "Database.h"
#include "SchemaInstaller.h"

#include <QDir>
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

void generatedDatabase(const QString &file, int persons)
{
    const QString cache = qEnvironmentVariable("VELDRA_BENCH_CACHE");
    const QString kept = cache.isEmpty() ? QString() : QDir(cache).filePath(QStringLiteral("persons-%1.mdb").arg(persons));
    if (!kept.isEmpty() && QFile::exists(kept)) {
        QFile::copy(kept, file);
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
        return;
    }
    copyTemplateDatabase(file);
    {
        Database database(DatabaseLocation::sqliteFile(file));
        print("generate", persons, elapsedMs([&] { DataGenerator::addPersons(database, persons); }), "ms");
    }
    if (!kept.isEmpty() && QDir().mkpath(cache))
        QFile::copy(file, kept);
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

ServerDatabase::ServerDatabase(const QString &server, const QString &name, Content content)
    : m_server(server)
    , m_name(name)
{
    {
        Database admin(DatabaseLocation::postgresServer(server));
        admin.runNative(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(name));
        admin.runNative(QStringLiteral("CREATE DATABASE %1").arg(name));
    }
    QUrl target(server);
    target.setPath(QLatin1Char('/') + name);
    m_location = DatabaseLocation::postgresServer(target.toString());
    if (content == Content::Tables) {
        Database database(m_location, Database::Purpose::Install);
        SchemaInstaller::install(database);
    }
}

ServerDatabase::~ServerDatabase()
{
    try {
        Database admin(DatabaseLocation::postgresServer(m_server));
        admin.runNative(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_name));
    } catch (const std::exception &error) {
        std::fprintf(stderr, "The database %s is left on the server: %s\n", qPrintable(m_name), error.what());
    }
}

}
