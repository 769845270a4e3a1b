#include "BenchSupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>

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

}
