// Crash safety under SIGKILL, the long run:
//   veldra-crash [KILLS] [WINDOW_MS]     (default 1000 kills, 400 ms)
// A worker saves, backs up and writes the INI files, LastVer.ini and the settings store
// until it is killed; after each kill the files are checked and the next worker goes on
// with them. The figures' person count is that of the database at the end; every fault
// found is written on the error output. crash_lost and crash_corrupt_files must be 0.

#include "BenchSupport.h"
#include "CrashWorker.h"
#include "KillLoop.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (const std::optional<int> code = CrashWorker::runIfAsked(argc, argv))
        return *code;
    QCoreApplication app(argc, argv);
    const int kills = argc > 1 ? QByteArray(argv[1]).toInt() : 1000;
    const int windowMs = argc > 2 ? QByteArray(argv[2]).toInt() : 400;
    QTemporaryDir dir;
    KillLoop loop(CrashWorld(dir.filePath(QStringLiteral("world"))), QCoreApplication::applicationFilePath());
    const quint32 seed = QRandomGenerator::global()->generate();
    std::fprintf(stderr, "seed %u\n", seed);
    const KillLoop::Figures figures = loop.run(kills, windowMs, seed);

    const int persons = int(figures.persons);
    Bench::print("crash_kills", persons, figures.kills, "kills");
    Bench::print("crash_commits", persons, double(figures.commits), "commits");
    Bench::print("crash_backups", persons, double(figures.backups), "backups");
    Bench::print("crash_lost", persons, double(figures.lost.size()), "rows");
    Bench::print("crash_corrupt_files", persons, figures.corruptFiles(), "files");
    Bench::print("crash_worker_failures", persons, double(figures.failures.size()), "runs");
    Bench::print("crash_leftovers_most", persons, figures.mostLeftovers, "files");
    for (auto it = figures.killsDuring.cbegin(); it != figures.killsDuring.cend(); ++it)
        Bench::print(qPrintable(QStringLiteral("crash_kills_during_") + it.key()), persons, it.value(), "kills");
    for (const QStringList *faults : {&figures.lost, &figures.corrupt, &figures.failures}) {
        for (const QString &fault : *faults)
            std::fprintf(stderr, "%s\n", qPrintable(fault));
    }
    return figures.lost.isEmpty() && figures.corrupt.isEmpty() && figures.failures.isEmpty() ? 0 : 1;
}
