#include "StressJournal.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <chrono>

namespace Stress {

namespace {

const QStringList kindNames{QStringLiteral("insert"), QStringLiteral("update"), QStringLiteral("delete"), QStringLiteral("read")};
const QStringList outcomeNames{QStringLiteral("saved"), QStringLiteral("conflict"), QStringLiteral("busy"), QStringLiteral("failed")};

}

qint64 now()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

Journal::Journal(const QString &path)
    : m_file(path)
{
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append))
        qFatal("The journal %s cannot be written", qPrintable(path));
}

void Journal::write(const Change &change)
{
    const auto object = [](const QMap<QString, QString> &values) {
        QJsonObject json;
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            json.insert(it.key(), it.value().isNull() ? QJsonValue() : QJsonValue(it.value()));
        return json;
    };
    const QJsonObject line{{QStringLiteral("w"), change.workstation},
                           {QStringLiteral("kind"), kindNames[int(change.kind)]},
                           {QStringLiteral("outcome"), outcomeNames[int(change.outcome)]},
                           {QStringLiteral("table"), change.table},
                           {QStringLiteral("key"), change.key},
                           {QStringLiteral("person"), change.person},
                           {QStringLiteral("fields"), object(change.fields)},
                           {QStringLiteral("bases"), object(change.bases)},
                           {QStringLiteral("start"), change.start},
                           {QStringLiteral("end"), change.end},
                           {QStringLiteral("message"), change.message}};
    m_file.write(QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n');
    m_file.flush();
}

QList<Change> readJournal(const QString &path)
{
    QList<Change> changes;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return changes;
    while (!file.atEnd()) {
        const QJsonObject line = QJsonDocument::fromJson(file.readLine()).object();
        if (line.isEmpty())
            continue;
        Change change;
        change.workstation = line.value(QStringLiteral("w")).toInt();
        change.kind = Change::Kind(qMax(0, kindNames.indexOf(line.value(QStringLiteral("kind")).toString())));
        change.outcome = Change::Outcome(qMax(0, outcomeNames.indexOf(line.value(QStringLiteral("outcome")).toString())));
        change.table = line.value(QStringLiteral("table")).toString();
        change.key = line.value(QStringLiteral("key")).toInteger();
        change.person = line.value(QStringLiteral("person")).toInteger();
        for (const auto &[name, values] : {std::pair{"fields", &change.fields}, std::pair{"bases", &change.bases}}) {
            const QJsonObject json = line.value(QLatin1String(name)).toObject();
            for (auto it = json.constBegin(); it != json.constEnd(); ++it)
                values->insert(it.key(), it.value().isNull() ? QString() : it.value().toString());
        }
        change.start = line.value(QStringLiteral("start")).toInteger();
        change.end = line.value(QStringLiteral("end")).toInteger();
        change.message = line.value(QStringLiteral("message")).toString();
        changes.append(change);
    }
    return changes;
}

}
