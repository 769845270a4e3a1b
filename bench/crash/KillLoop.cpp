#include "KillLoop.h"

#include "CrashCheck.h"
#include "CrashJournal.h"
#include "CrashWorker.h"

#include "Database.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QSqlQuery>
#include <QThread>

#include <csignal>

namespace {

void addOnce(QStringList &faults, const QStringList &found)
{
    for (const QString &fault : found) {
        if (!faults.contains(fault))
            faults << fault;
    }
}

qsizetype personsIn(const CrashWorld &world)
{
    try {
        const Database database(world.server().isEmpty() ? DatabaseLocation::sqliteFile(world.databaseFile())
                                                         : DatabaseLocation::postgresServer(world.server()));
        QSqlQuery count = database.runNative(QStringLiteral("SELECT COUNT(*) FROM TOsnovniPod"));
        return count.next() ? count.value(0).toLongLong() : 0;
    } catch (const std::exception &) {
        return 0;
    }
}

}

int KillLoop::Figures::corruptFiles() const
{
    QSet<QString> files;
    for (const QString &fault : corrupt)
        files.insert(fault.section(QStringLiteral(": "), 0, 0));
    return int(files.size());
}

KillLoop::KillLoop(CrashWorld world, QString program)
    : m_world(std::move(world))
    , m_program(std::move(program))
{
}

KillLoop::Figures KillLoop::run(int kills, int windowMs, quint32 seed)
{
    m_world.create();
    CrashJournal::Reader journal(m_world.journalFile());
    QRandomGenerator random(seed);
    Figures figures;
    // How long a worker takes to be ready, as last seen; a first guess before the first run.
    qint64 readyMs = 300;
    for (int run = 1; run <= kills; ++run) {
        QProcess worker;
        worker.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        worker.start(m_program, CrashWorker::arguments(m_world.folder(), run, random.generate()));
        QElapsedTimer clock;
        clock.start();
        if (!worker.waitForStarted()) {
            figures.failures << QStringLiteral("the worker does not start: ") + worker.errorString();
            break;
        }
        const qint64 killAt = random.bounded(int(readyMs) + windowMs + 1);
        bool ready = false;
        while (worker.state() == QProcess::Running && clock.elapsed() < killAt) {
            const int left = int(killAt - clock.elapsed());
            if (ready) {
                QThread::msleep(left);
            } else if (worker.waitForReadyRead(left) && worker.readAllStandardOutput().contains("ready")) {
                ready = true;
                readyMs = clock.elapsed();
            }
        }
        const bool endedByItself = worker.state() != QProcess::Running;
        if (!endedByItself)
            ::kill(pid_t(worker.processId()), SIGKILL);
        worker.waitForFinished(-1);
        journal.readOn();
        const QStringList failures = journal.takeFailures();
        if (endedByItself || !failures.isEmpty())
            figures.failures << QStringLiteral("run %1 ended with code %2: %3").arg(run).arg(worker.exitCode()).arg(failures.join(QLatin1String("; ")));
        ++figures.kills;
        ++figures.killsDuring[journal.lastActivity()];
        const CrashFindings findings = CrashCheck::check(m_world, journal);
        addOnce(figures.lost, findings.lost);
        addOnce(figures.corrupt, findings.corrupt);
        figures.mostLeftovers = std::max(figures.mostLeftovers, findings.leftovers);
    }
    figures.commits = journal.commits();
    figures.backups = journal.backups();
    figures.persons = personsIn(m_world);
    return figures;
}
