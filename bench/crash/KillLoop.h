#pragma once

#include "CrashWorld.h"

#include <QMap>
#include <QStringList>

// Starts a worker (CrashWorker) on a world, kills it with SIGKILL after a random delay,
// checks the world (CrashCheck) and starts the next worker on the same files, so that
// what each kill leaves behind meets the next run.
class KillLoop
{
public:
    struct Figures
    {
        int kills = 0;
        qsizetype commits = 0;
        qsizetype backups = 0;
        qsizetype persons = 0;
        // Each fault once, however many checks see it again.
        QStringList lost;
        QStringList corrupt;
        int corruptFiles() const;
        // Workers that failed (a message box, an error) or ended before they were killed.
        QStringList failures;
        int mostLeftovers = 0;
        // What the workers were doing when they were killed ("start": before they were ready).
        QMap<QString, int> killsDuring;
    };

    // program: an executable that runs CrashWorker::runIfAsked first.
    KillLoop(CrashWorld world, QString program);

    // Kills at a moment drawn from the start of the worker up to windowMs after it is
    // usually ready. A new world is made first.
    Figures run(int kills, int windowMs, quint32 seed);

private:
    CrashWorld m_world;
    QString m_program;
};
