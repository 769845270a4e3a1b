#include "AutomationClients.h"

#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

AutomationClients::AutomationClients(QObject *parent)
    : QObject(parent)
{
}

void AutomationClients::add(const QDBusConnection &connection, const QString &uniqueName)
{
    if (uniqueName.isEmpty() || m_names.contains(uniqueName))
        return;
    if (!m_watcher) {
        m_watcher = new QDBusServiceWatcher(QString(), connection, QDBusServiceWatcher::WatchForUnregistration, this);
        connect(m_watcher, &QDBusServiceWatcher::serviceUnregistered, this, &AutomationClients::gone);
    }
    m_names.insert(uniqueName);
    m_watcher->addWatchedService(uniqueName);

    // A client may have left before the watch reached the bus; the bus answers this
    // question after it has the watch, so one of the two always tells.
    if (!connection.interface())
        return;
    auto *pending = new QDBusPendingCallWatcher(connection.interface()->asyncCall(QStringLiteral("NameHasOwner"), uniqueName), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this, uniqueName](QDBusPendingCallWatcher *call) {
        call->deleteLater();
        const QDBusPendingReply<bool> reply = *call;
        if (reply.isValid() && !reply.value())
            gone(uniqueName);
    });
}

void AutomationClients::gone(const QString &uniqueName)
{
    if (!m_names.remove(uniqueName))
        return;
    m_watcher->removeWatchedService(uniqueName);
    if (m_names.isEmpty())
        Q_EMIT lastClientGone();
}
