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

Q_SIGNALS:
    void activationRequested();

private:
    bool askRunningCopy();

    QString m_serverName;
    QLockFile m_lock;
    QLocalServer m_server;
};
