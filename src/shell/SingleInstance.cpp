#include "SingleInstance.h"

#include "Registry.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>

#include <cstdio>
#include <utility>

namespace {

const QByteArray showRequest = QByteArrayLiteral("show\n");

QString lockPath(const QString &name)
{
    return QFileInfo(Registry::storePath()).absolutePath() + QLatin1Char('/') + name + QStringLiteral(".lock");
}

}

SingleInstance::SingleInstance(const QString &name, QObject *parent)
    : QObject(parent)
    , m_serverName(name + QLatin1Char('-')
                   + QString::fromLatin1(QCryptographicHash::hash(lockPath(name).toUtf8(), QCryptographicHash::Sha1).toHex().left(12)))
    , m_lock(lockPath(name))
{
    // No age makes a lock stale: only one whose copy has died (its process is gone) is taken over.
    m_lock.setStaleLockTime(0);
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains(showRequest.trimmed()))
                    requestArrived();
            });
        }
    });
}

SingleInstance::~SingleInstance()
{
    release();
}

bool SingleInstance::claim()
{
    QDir().mkpath(QFileInfo(m_lock.fileName()).absolutePath());
    if (m_lock.tryLock(0)) {
        QLocalServer::removeServer(m_serverName);
        m_server.listen(m_serverName);
        return true;
    }
    if (m_lock.error() != QLockFile::LockFailedError) {
        // The lock cannot be made at all (a settings folder without write access):
        // better to run than to refuse the start.
        std::fprintf(stderr, "%s: cannot create %s; running without the single-copy guard\n",
                     qPrintable(QCoreApplication::applicationName()), qPrintable(m_lock.fileName()));
        return true;
    }
    if (!askRunningCopy())
        std::fprintf(stderr, "%s: already running, but the running copy does not answer\n",
                     qPrintable(QCoreApplication::applicationName()));
    return false;
}

void SingleInstance::requestArrived()
{
    if (m_delivering)
        Q_EMIT activationRequested();
    else
        m_requestHeld = true;
}

void SingleInstance::deliverRequests()
{
    m_delivering = true;
    if (std::exchange(m_requestHeld, false))
        Q_EMIT activationRequested();
}

bool SingleInstance::askRunningCopy()
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(3000))
        return false;
    socket.write(showRequest);
    const bool sent = socket.waitForBytesWritten(3000);
    socket.disconnectFromServer();
    return sent;
}

void SingleInstance::release()
{
    m_server.close();
    m_lock.unlock();
}
