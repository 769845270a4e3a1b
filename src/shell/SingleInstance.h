#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>

// One running copy per user: a lock file beside the user's settings, and a local
// socket through which a second start asks the running copy to show itself.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(const QString &name = QStringLiteral("KORVeldra12"), QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when this process is now the running copy. False when another copy runs;
    // that copy has then been asked to restore and raise itself.
    bool claim();
    void release();

    // A second start may come while this copy still starts up (its modal message boxes
    // run the event loop, so the request is read then). It is held until the program has
    // a window to show; from this call on every request is signalled at once.
    void deliverRequests();

Q_SIGNALS:
    void activationRequested();

private:
    bool askRunningCopy();
    void requestArrived();

    QString m_serverName;
    QLockFile m_lock;
    QLocalServer m_server;
    bool m_delivering = false;
    bool m_requestHeld = false;
};
