#include "ConverterProcess.h"

#include "DatabaseError.h"
#include "JetFile.h"
#include "JetImport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTextStream>

#include <unistd.h>

namespace ConverterProcess {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ConverterProcess", text);
}

// A converter that tells nothing for this long has stalled: it tells its progress every
// thousand rows and at every table.
constexpr int StallMs = 20000;
// Far more than a converter needs, which streams the rows: mdbtools lost in a damaged
// file takes gigabytes a second.
constexpr qint64 MemoryLimit = qint64(2) << 30;

// The memory a process holds, as the system counts it.
qint64 residentBytes(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/statm").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    return status.readAll().split(' ').value(1).toLongLong() * qint64(sysconf(_SC_PAGESIZE));
}

QStringList namesOf(const QJsonValue &value)
{
    QStringList names;
    for (const QJsonValue &name : value.toArray())
        names << name.toString();
    return names;
}

QString mappingToJson(const DatabaseImport::Mapping &mapping)
{
    QJsonArray tables;
    for (const DatabaseImport::TableMapping &table : mapping) {
        QJsonArray columns;
        for (const auto &[from, to] : table.columns)
            columns.append(QJsonArray{from, to});
        tables.append(QJsonObject{{"source", table.source}, {"target", table.target}, {"columns", columns}});
    }
    return QString::fromUtf8(QJsonDocument(tables).toJson(QJsonDocument::Compact));
}

DatabaseImport::Mapping mappingFromJson(const QString &json)
{
    DatabaseImport::Mapping mapping;
    for (const QJsonValue &value : QJsonDocument::fromJson(json.toUtf8()).array()) {
        const QJsonObject table = value.toObject();
        DatabaseImport::TableMapping each{table["source"].toString(), table["target"].toString(), {}};
        for (const QJsonValue &pair : table["columns"].toArray())
            each.columns.append({pair.toArray().at(0).toString(), pair.toArray().at(1).toString()});
        mapping.append(each);
    }
    return mapping;
}

QByteArray reportToJson(const DatabaseImport::Report &report)
{
    QJsonArray tables;
    for (const DatabaseImport::TableReport &table : report.tables)
        tables.append(QJsonObject{{"source", table.source},
                                  {"target", table.target},
                                  {"rows", double(table.rows)},
                                  {"skippedColumns", QJsonArray::fromStringList(table.skippedColumns)}});
    return QJsonDocument(QJsonObject{{"tables", tables}, {"skippedTables", QJsonArray::fromStringList(report.skippedTables)}}).toJson(QJsonDocument::Compact);
}

DatabaseImport::Report reportFromJson(const QByteArray &json)
{
    const QJsonObject object = QJsonDocument::fromJson(json).object();
    DatabaseImport::Report report;
    for (const QJsonValue &value : object["tables"].toArray()) {
        const QJsonObject table = value.toObject();
        report.tables.append(
            {table["source"].toString(), table["target"].toString(), qint64(table["rows"].toDouble()), namesOf(table["skippedColumns"])});
    }
    report.skippedTables = namesOf(object["skippedTables"]);
    return report;
}

QStringList mappingArguments(const std::optional<DatabaseImport::Mapping> &mapping)
{
    return mapping ? QStringList{QStringLiteral("--mapping"), mappingToJson(*mapping)} : QStringList();
}

// Runs the converter, gives each line it writes to line, and lets waiting run while it
// works (it may throw: the converter is then stopped).
void runWatched(const QString &converter, const QString &source, const QStringList &arguments,
                const std::function<void(const QByteArray &)> &line, const std::function<void()> &waiting)
{
    QProcess child;
    child.setProgram(converter);
    child.setArguments(QStringList{QString::fromLatin1(Switch)} + arguments);
    child.start();
    if (!child.waitForStarted())
        throw DatabaseError(tr("Pretvorbe ni mogoče začeti: %1").arg(child.errorString()));
    QByteArray pending;
    const auto takeLines = [&] {
        pending += child.readAllStandardOutput();
        for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
            line(pending.left(end));
            pending.remove(0, end + 1);
        }
    };
    QElapsedTimer quiet;
    quiet.start();
    while (child.state() != QProcess::NotRunning) {
        if (child.waitForReadyRead(100))
            quiet.restart();
        takeLines();
        if (quiet.elapsed() > StallMs || residentBytes(child.processId()) > MemoryLimit) {
            child.kill();
            child.waitForFinished();
            throw DatabaseError(tr("Branje datoteke %1 se je ustavilo; datoteka je najbrž poškodovana.").arg(source));
        }
        if (waiting)
            waiting();
    }
    takeLines();
    if (child.exitStatus() == QProcess::CrashExit)
        throw DatabaseError(tr("Branje datoteke %1 se je končalo z napako; datoteka je najbrž poškodovana.").arg(source));
    if (child.exitCode() != 0) {
        const QString reason = QString::fromUtf8(child.readAllStandardError()).trimmed();
        throw DatabaseError(reason.isEmpty() ? tr("Branje datoteke %1 ni uspelo.").arg(source) : reason);
    }
}

}

int runConverter(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QStringList words = arguments;
    std::optional<DatabaseImport::Mapping> mapping;
    if (const qsizetype at = words.indexOf(QStringLiteral("--mapping")); at >= 0 && at + 1 < words.size()) {
        mapping = mappingFromJson(words[at + 1]);
        words.remove(at, 2);
    }
    try {
        if (words.size() == 2 && words[0] == QLatin1String("check")) {
            const JetFile file(words[1]);
            const DatabaseImport::Mapping tables = mapping ? *mapping : DatabaseImport::sameNames(file);
            if (tables.isEmpty())
                throw DatabaseError(tr("Datoteka %1 nima nobene tabele programa Veldra.").arg(words[1]));
            for (const DatabaseImport::TableMapping &table : tables)
                file.rowCount(table.source);
            return 0;
        }
        if (words.size() == 3 && words[0] == QLatin1String("convert")) {
            const DatabaseImport::Report report =
                JetImport::run(words[2], DatabaseLocation::sqliteFile(words[1]), mapping,
                               [&out](qint64 done, qint64 total) { out << "progress " << done << ' ' << total << Qt::endl; });
            out << "report " << reportToJson(report) << Qt::endl;
            return 0;
        }
        err << "usage: " << Switch << " check SOURCE | convert TARGET SOURCE [--mapping JSON]\n";
        return 2;
    } catch (const DatabaseError &error) {
        err << error.message() << Qt::endl;
        return 1;
    }
}

void check(const QString &converter, const QString &source, const std::optional<DatabaseImport::Mapping> &mapping)
{
    runWatched(converter, source, QStringList{QStringLiteral("check"), source} + mappingArguments(mapping), [](const QByteArray &) {}, {});
}

DatabaseImport::Report convert(const QString &converter, const QString &target, const QString &source,
                               const std::optional<DatabaseImport::Mapping> &mapping, const DatabaseImport::Progress &progress)
{
    std::optional<DatabaseImport::Report> report;
    qint64 done = 0;
    qint64 total = 0;
    runWatched(
        converter, source, QStringList{QStringLiteral("convert"), target, source} + mappingArguments(mapping),
        [&](const QByteArray &line) {
            const QList<QByteArray> words = line.split(' ');
            if (words.value(0) == "progress" && words.size() == 3) {
                done = words[1].toLongLong();
                total = words[2].toLongLong();
            } else if (line.startsWith("report ")) {
                report = reportFromJson(line.mid(7));
            }
        },
        [&] {
            if (progress)
                progress(done, total);
        });
    if (!report)
        throw DatabaseError(tr("Pretvorba datoteke %1 ni povedala, kaj je prenesla.").arg(source));
    return *report;
}

}
