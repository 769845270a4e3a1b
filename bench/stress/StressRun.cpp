#include "StressRun.h"

#include "StressJournal.h"
#include "StressWorkstation.h"

#include "Database.h"
#include "DatabaseError.h"
#include "Dataset.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace Stress {

namespace {

// The program INI of the workstations' installation names the database.
bool writeInstallation(const QString &folder, const DatabaseLocation &location)
{
    QFile ini(folder + QStringLiteral("/veldra.ini"));
    if (!ini.open(QIODevice::WriteOnly))
        return false;
    QByteArray text = "[Glavno]\nMaticniPodatki=1\n";
    if (location.dialect == SqlDialect::Sqlite)
        text += "PathPodatki=" + QFileInfo(location.file).absolutePath().toUtf8() + "/\n";
    else
        text += "PathPodatki=" + folder.toUtf8() + "/\nBaza=" + location.server.toString().toUtf8() + '\n';
    return ini.write(text) == text.size();
}

// The shared persons, added as the program adds them and noted as saved changes.
void addSharedPersons(const DatabaseLocation &location, int count, Journal &journal)
{
    Database database(location);
    Dataset persons(&database, QStringLiteral("SELECT * FROM TOsnovniPod"));
    persons.open();
    for (int i = 1; i <= count; ++i) {
        Change change(Change::Kind::Insert, QStringLiteral("TOsnovniPod"));
        change.fields = {{QStringLiteral("Ime"), QStringLiteral("s-%1").arg(i)}, {QStringLiteral("CelotnoIme"), QStringLiteral("s-%1 skupna").arg(i)}};
        change.start = now();
        persons.append();
        for (auto it = change.fields.cbegin(); it != change.fields.cend(); ++it)
            persons.setValue(it.key(), it.value());
        persons.post();
        change.key = persons.value(QStringLiteral("ID")).toLongLong();
        change.end = now();
        journal.write(change);
    }
}

}

Verdict run(const QString &program, const DatabaseLocation &location, const RunSettings &settings)
{
    Verdict failed;
    QTemporaryDir folder;
    if (!folder.isValid() || !writeInstallation(folder.path(), location)
        || (location.dialect == SqlDialect::Sqlite && QFileInfo(location.file).fileName() != QLatin1String("Veldra_be.mdb"))) {
        failed.problems << QStringLiteral("the workstations' installation cannot be made");
        return failed;
    }
    QList<QString> journals{folder.filePath(QStringLiteral("journal-0"))};
    {
        Journal setup(journals.first());
        addSharedPersons(location, settings.sharedPersons, setup);
    }

    std::vector<std::unique_ptr<QProcess>> workstations;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_STATE_HOME"), folder.filePath(QStringLiteral("state")));
    for (int number = 1; number <= settings.workstations; ++number) {
        const WorkstationOrder order{folder.path(), number, settings.seed * 7919u + quint32(number), settings.durationMs,
                                     settings.busyTimeoutMs, folder.filePath(QStringLiteral("journal-%1").arg(number))};
        journals << order.journal;
        auto &process = workstations.emplace_back(std::make_unique<QProcess>());
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(program, QStringList{QString::fromLatin1(WorkerSwitch)} + order.arguments());
    }
    QStringList ended;
    for (size_t i = 0; i < workstations.size(); ++i) {
        QProcess &process = *workstations[i];
        if (!process.waitForFinished(settings.durationMs + 120000)) {
            process.kill();
            process.waitForFinished();
        }
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
            ended << QStringLiteral("workstation %1 did not end normally: %2").arg(i + 1).arg(process.errorString());
    }

    QList<Change> changes;
    for (const QString &journal : std::as_const(journals))
        changes += readJournal(journal);
    Verdict verdict;
    try {
        const Database database(location);
        verdict = check(database, changes);
    } catch (const DatabaseError &error) {
        verdict.problems << QStringLiteral("the database cannot be checked: ") + QString::fromStdString(error.what());
    }
    // A workstation that did not finish may have lost what it was doing.
    verdict.lost += int(ended.size());
    verdict.problems += ended;
    if (!verdict.passed()) {
        folder.setAutoRemove(false);
        verdict.problems << QStringLiteral("The journals are kept in %1.").arg(folder.path());
    }
    return verdict;
}

}
