#pragma once

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QSet>

// The clients of the automation object: the unique bus names that have called it, for
// as long as they stay on the bus.
class AutomationClients : public QObject
{
    Q_OBJECT
public:
    explicit AutomationClients(QObject *parent = nullptr);

    void add(const QDBusConnection &connection, const QString &uniqueName);
    bool hasClients() const { return !m_names.isEmpty(); }

Q_SIGNALS:
    void lastClientGone();

private:
    void gone(const QString &uniqueName);

    QSet<QString> m_names;
    QDBusServiceWatcher *m_watcher = nullptr;
};
