#pragma once

#include "AutomationTarget.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>

#include <deque>

class AutomationClients;

// The automation object PVeldra.IKor_Veldra: lets other programs bring the program to
// the front, start adding a person and position the person list on a person, over the
// session bus (object /IKor_Veldra, interface PVeldra.IIKor_Veldra; the description is
// PVeldra.IIKor_Veldra.xml).
//
// It is a virtual object rather than an adaptor because Qt answers a property write as
// soon as the write function returns, and assigning New must wait for the user like the
// other calls that show something: those are answered when the user is done, while the
// event loop runs on. Messages of the object are shown one at a time, and the
// add-person dialog opens only when none of them is showing.
class TIKor_Veldra : public QDBusVirtualObject
{
    Q_OBJECT
public:
    static constexpr auto ServiceName = "PVeldra.IKor_Veldra";
    static constexpr auto ObjectPath = "/IKor_Veldra";
    static constexpr auto InterfaceName = "PVeldra.IIKor_Veldra";
    static constexpr auto BusyError = "PVeldra.Error.Busy";

    explicit TIKor_Veldra(AutomationTarget target, QObject *parent = nullptr);
    ~TIKor_Veldra() override;

    // Puts the object and then the service name on the bus. False, without a word, when
    // there is no bus or the name belongs to another process; the program goes on
    // without automation then.
    bool registerOnBus(QDBusConnection bus = QDBusConnection::sessionBus());
    void unregisterFromBus();

    // Whether a client that has called the object is still on the bus.
    bool hasClients() const;

    // The interface's introspection data, made from the same table the calls are
    // dispatched by.
    static QString interfaceXml();

    QString introspect(const QString &path) const override;
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override;

Q_SIGNALS:
    // The last client has left the bus, or the bus itself has gone (and every client
    // with it): a program the bus started ends then.
    void lastClientGone();

private Q_SLOTS:
    void busDisconnected();

private:
    struct UserStep
    {
        enum Kind { Message, AddPerson } kind;
        QString text;          // the message to show
        QDBusMessage call;     // the call to answer when the step is done
        QDBusMessage reply;    // the answer after a message
        QDBusConnection bus;
    };

    enum class Handling { NotOurs, Answered, Later };

    Handling dispatch(const QDBusMessage &call, const QDBusConnection &connection, QDBusMessage &answer);
    Handling properties(const QDBusMessage &call, const QDBusConnection &connection, QDBusMessage &answer);
    Handling Locate(const QDBusMessage &call, const QString &param, const QDBusConnection &connection, QDBusMessage &answer);
    void New(const QDBusMessage &call, const QDBusConnection &connection);

    void queue(UserStep step);
    void finish(const UserStep &step, const QDBusMessage &answer);
    void schedule();
    void runSteps();
    QDBusMessage run(const UserStep &step);
    bool canStart(const UserStep &step) const;

    AutomationTarget m_target;
    AutomationClients *m_clients = nullptr;
    QDBusConnection m_bus{QString()};
    bool m_registered = false;
    std::deque<UserStep> m_steps;
    bool m_messageShowing = false;
    bool m_dialogOpen = false;
    bool m_runScheduled = false;
};
