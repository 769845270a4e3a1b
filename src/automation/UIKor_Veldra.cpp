#include "UIKor_Veldra.h"

#include "AutomationClients.h"
#include "Messagebox.h"
#include "PublicFunctions.h"

#include <QDBusConnectionInterface>
#include <QDBusVariant>
#include <QScopeGuard>
#include <QTimer>

#include <exception>
#include <utility>

namespace {

// The members in the order of the interface's slots, with their dispatch ids (which do
// not follow that order) and D-Bus types. Calls are dispatched by this table and the
// introspection data is made from it.
struct Member
{
    const char *name;
    int dispatchId;
    bool property;
    const char *argument;     // the name of the one in-argument, or empty
    const char *resultType;   // the out-argument's type, or empty
    const char *fixedText;    // what the GetAll... members return
};

constexpr Member Members[] = {
    {"Activate", 201, false, "", "", nullptr},
    {"New", 203, true, "", "", nullptr},
    {"Locate", 202, false, "Param", "i", nullptr},
    {"GetListOfAllVeldras", 204, false, "Filter", "v", "test1"},
    {"GetAllNazivi", 205, false, "", "v", "test4"},
    {"GetAllImena", 206, false, "", "v", "test"},
    {"GetAllPriimki", 207, false, "", "v", "test5"},
    {"GetAllMidImena", 208, false, "", "v", "test3"},
    {"GetAllKraji", 209, false, "", "v", "test2"},
};

// What the type library of a Windows build is generated from.
constexpr std::pair<const char *, const char *> TypeLibrary[] = {
    {"Library.Name", "PVeldra"},
    {"Library.HelpString", "PVeldra Library"},
    {"Library.Guid", "{8B6ADE90-5D92-490B-A403-EFF592A7D433}"},
    {"Library.Version", "1.0"},
    {"Library.Lcid", "1033"},
    {"Library.TargetSystem", "win32"},
    {"Library.ImportLib", "stdole2.tlb"},
    {"Interface.Name", "IIKor_Veldra"},
    {"Interface.Guid", "{36265431-CC14-42FA-9727-1CB1FF8F2197}"},
    {"Interface.Version", "1.0"},
    {"Interface.HelpString", "Dispatch interface for IKor_Veldra Object"},
    {"Interface.Flags", "dual oleautomation dispatchable"},
    {"Class.Name", "IKor_Veldra"},
    {"Class.Guid", "{0F0D45ED-66E3-478D-B21C-05DD0EEE7CA1}"},
    {"Class.Version", "1.0"},
    {"Class.HelpString", "IKor_Veldra Object"},
    {"Class.ProgId", "PVeldra.IKor_Veldra"},
};

constexpr auto AnnotationPrefix = "com.veldra.TypeLib.";
const QString PropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

const Member *findMember(const QString &name)
{
    for (const Member &member : Members)
        if (name == QLatin1String(member.name))
            return &member;
    return nullptr;
}

QString annotation(const QString &indent, const QString &name, const QString &value)
{
    return indent + QStringLiteral("<annotation name=\"") + QLatin1String(AnnotationPrefix) + name
        + QStringLiteral("\" value=\"") + value.toHtmlEscaped() + QStringLiteral("\"/>\n");
}

QString argument(const char *name, const char *type, const char *direction)
{
    return QStringLiteral("      <arg name=\"%1\" type=\"%2\" direction=\"%3\"/>\n")
        .arg(QLatin1String(name), QLatin1String(type), QLatin1String(direction));
}

}

TIKor_Veldra::TIKor_Veldra(AutomationTarget target, QObject *parent)
    : QDBusVirtualObject(parent)
    , m_target(std::move(target))
    , m_clients(new AutomationClients(this))
{
    connect(m_clients, &AutomationClients::lastClientGone, this, &TIKor_Veldra::lastClientGone);
}

TIKor_Veldra::~TIKor_Veldra()
{
    unregisterFromBus();
}

bool TIKor_Veldra::registerOnBus(QDBusConnection bus)
{
    if (m_registered || !bus.isConnected() || !bus.interface())
        return false;
    // The object first, so that a call queued by the bus for the name finds it.
    if (!bus.registerVirtualObject(QLatin1String(ObjectPath), this))
        return false;
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = bus.interface()->registerService(
        QLatin1String(ServiceName), QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        bus.unregisterObject(QLatin1String(ObjectPath));
        return false;
    }
    m_bus = bus;
    m_registered = true;
    bus.connect(QString(), QStringLiteral("/org/freedesktop/DBus/Local"), QStringLiteral("org.freedesktop.DBus.Local"),
                QStringLiteral("Disconnected"), this, SLOT(busDisconnected()));
    return true;
}

void TIKor_Veldra::busDisconnected()
{
    m_registered = false;
    Q_EMIT lastClientGone();
}

void TIKor_Veldra::unregisterFromBus()
{
    if (!m_registered)
        return;
    m_registered = false;
    m_bus.unregisterObject(QLatin1String(ObjectPath));
    if (m_bus.interface())
        m_bus.interface()->unregisterService(QLatin1String(ServiceName));
}

bool TIKor_Veldra::hasClients() const
{
    return m_clients->hasClients();
}

QString TIKor_Veldra::interfaceXml()
{
    QString xml = QStringLiteral("  <interface name=\"%1\">\n").arg(QLatin1String(InterfaceName));
    for (const auto &[name, value] : TypeLibrary)
        xml += annotation(QStringLiteral("    "), QLatin1String(name), QLatin1String(value));
    for (const Member &member : Members) {
        const QString dispatchId = annotation(QStringLiteral("      "), QStringLiteral("DispatchId"), QString::number(member.dispatchId));
        if (member.property) {
            xml += QStringLiteral("    <property name=\"%1\" type=\"s\" access=\"write\">\n").arg(QLatin1String(member.name))
                + dispatchId + QStringLiteral("    </property>\n");
            continue;
        }
        xml += QStringLiteral("    <method name=\"%1\">\n").arg(QLatin1String(member.name)) + dispatchId;
        if (*member.argument)
            xml += argument(member.argument, "s", "in");
        if (*member.resultType)
            xml += argument("Result", member.resultType, "out");
        xml += QStringLiteral("    </method>\n");
    }
    return xml + QStringLiteral("  </interface>\n");
}

QString TIKor_Veldra::introspect(const QString &path) const
{
    return path == QLatin1String(ObjectPath) ? interfaceXml() : QString();
}

bool TIKor_Veldra::handleMessage(const QDBusMessage &message, const QDBusConnection &connection)
{
    if (message.type() != QDBusMessage::MethodCallMessage)
        return false;
    m_clients->add(connection, message.service());

    // Whatever goes wrong inside a call is the caller's failed call, not the program's error.
    QDBusMessage answer;
    Handling handling;
    try {
        handling = dispatch(message, connection, answer);
    } catch (const std::exception &error) {
        handling = Handling::Answered;
        answer = message.createErrorReply(QDBusError::Failed, QString::fromUtf8(error.what()));
    } catch (...) {
        handling = Handling::Answered;
        answer = message.createErrorReply(QDBusError::Failed, QStringLiteral("Unknown error"));
    }
    if (handling == Handling::NotOurs)
        return false;
    if (handling == Handling::Answered && message.isReplyRequired())
        connection.send(answer);
    return true;
}

TIKor_Veldra::Handling TIKor_Veldra::dispatch(const QDBusMessage &call, const QDBusConnection &connection, QDBusMessage &answer)
{
    const QString interface = call.interface();
    if (interface == PropertiesInterface)
        return properties(call, connection, answer);
    // Introspection and whatever else the bus defines are Qt's.
    const Member *member = findMember(call.member());
    if ((!interface.isEmpty() && interface != QLatin1String(InterfaceName)) || (interface.isEmpty() && !member))
        return Handling::NotOurs;

    if (!member || member->property) {
        answer = call.createErrorReply(QDBusError::UnknownMethod,
                                       QStringLiteral("No method %1 in %2").arg(call.member(), QLatin1String(InterfaceName)));
        return Handling::Answered;
    }
    const QString signature = QLatin1String(*member->argument ? "s" : "");
    if (call.signature() != signature) {
        answer = call.createErrorReply(QDBusError::InvalidArgs, QStringLiteral("%1 takes the arguments \"%2\", not \"%3\"")
                                                                    .arg(call.member(), signature, call.signature()));
        return Handling::Answered;
    }

    if (member->fixedText) {
        answer = call.createReply(QVariant::fromValue(QDBusVariant(QString::fromLatin1(member->fixedText))));
        return Handling::Answered;
    }
    if (member->dispatchId == 201) {
        if (m_target.activate)
            m_target.activate();
        answer = call.createReply();
        return Handling::Answered;
    }
    return Locate(call, call.arguments().value(0).toString(), connection, answer);
}

TIKor_Veldra::Handling TIKor_Veldra::properties(const QDBusMessage &call, const QDBusConnection &connection, QDBusMessage &answer)
{
    const QVariantList arguments = call.arguments();
    const QString member = call.member();
    const bool known = (member == QLatin1String("Set") && call.signature() == QLatin1String("ssv"))
        || (member == QLatin1String("Get") && call.signature() == QLatin1String("ss"))
        || (member == QLatin1String("GetAll") && call.signature() == QLatin1String("s"));
    if (!known) {
        answer = call.createErrorReply(QDBusError::UnknownMethod, QStringLiteral("No method %1 (%2) in %3")
                                                                      .arg(member, call.signature(), PropertiesInterface));
        return Handling::Answered;
    }
    const QString interface = arguments.value(0).toString();
    if (!interface.isEmpty() && interface != QLatin1String(InterfaceName)) {
        answer = call.createErrorReply(QDBusError::UnknownInterface,
                                       QStringLiteral("No interface %1 at %2").arg(interface, QLatin1String(ObjectPath)));
        return Handling::Answered;
    }
    if (member == QLatin1String("GetAll")) {
        // New is the only property, and it cannot be read.
        answer = call.createReply(QVariant::fromValue(QVariantMap()));
        return Handling::Answered;
    }
    const QString property = arguments.value(1).toString();
    if (property != QLatin1String("New")) {
        answer = call.createErrorReply(QDBusError::UnknownProperty, QStringLiteral("No property %1").arg(property));
        return Handling::Answered;
    }
    if (member == QLatin1String("Get")) {
        answer = call.createErrorReply(QDBusError::InvalidArgs, QStringLiteral("The property New can only be assigned"));
        return Handling::Answered;
    }
    if (qvariant_cast<QDBusVariant>(arguments.value(2)).variant().metaType() != QMetaType::fromType<QString>()) {
        answer = call.createErrorReply(QDBusError::InvalidArgs, QStringLiteral("The property New takes a text (\"s\")"));
        return Handling::Answered;
    }
    New(call, connection);
    return Handling::Later;
}

TIKor_Veldra::Handling TIKor_Veldra::Locate(const QDBusMessage &call, const QString &param, const QDBusConnection &connection,
                                            QDBusMessage &answer)
{
    if (m_target.addDialogShowing && m_target.addDialogShowing()) {
        // Answering as if the person had been found would mislead the caller.
        queue({UserStep::Message, tr("Dodajate novo osebo!"), call,
               call.createErrorReply(QLatin1String(BusyError), tr("Dodajate novo osebo!")), connection});
        return Handling::Later;
    }
    if (m_target.locate && m_target.locate(param)) {
        answer = call.createReply(0);
        return Handling::Answered;
    }
    queue({UserStep::Message, tr("Oseba ni najdena!"), call, call.createReply(-1), connection});
    return Handling::Later;
}

void TIKor_Veldra::New(const QDBusMessage &call, const QDBusConnection &connection)
{
    // The assigned text is not used.
    if (m_target.addDialogShowing && m_target.addDialogShowing())
        queue({UserStep::Message, tr("Dodajate novo osebo!"), call, call.createReply(), connection});
    else
        queue({UserStep::AddPerson, QString(), call, call.createReply(), connection});
}

void TIKor_Veldra::queue(UserStep step)
{
    m_steps.push_back(std::move(step));
    schedule();
}

void TIKor_Veldra::schedule()
{
    if (m_runScheduled)
        return;
    m_runScheduled = true;
    // From the event loop, not from inside the bus's delivery of the call.
    QTimer::singleShot(0, this, [this] {
        m_runScheduled = false;
        runSteps();
    });
}

bool TIKor_Veldra::canStart(const UserStep &step) const
{
    // The program's message box is one window: a message waits while it shows anything.
    if (m_messageShowing || (FMessageBox && FMessageBox->isVisible()))
        return false;
    return step.kind == UserStep::Message || !m_dialogOpen;
}

void TIKor_Veldra::runSteps()
{
    // Runs again inside the dialogs' event loops, so a message can come up over the
    // add-person dialog; a step that cannot start yet is started when the one in its
    // way ends.
    while (!m_steps.empty()) {
        if (!canStart(m_steps.front())) {
            if (!m_messageShowing && FMessageBox && FMessageBox->isVisible())
                QTimer::singleShot(100, this, &TIKor_Veldra::runSteps); // the program's own question
            return;
        }
        const UserStep step = std::move(m_steps.front());
        m_steps.pop_front();
        finish(step, run(step));
    }
}

QDBusMessage TIKor_Veldra::run(const UserStep &step)
{
    try {
        const bool dialog = step.kind == UserStep::AddPerson && !(m_target.addDialogShowing && m_target.addDialogShowing());
        bool &flag = dialog ? m_dialogOpen : m_messageShowing;
        flag = true;
        const auto lower = qScopeGuard([&flag] { flag = false; });
        if (dialog) {
            if (!m_steps.empty())
                schedule();
            if (m_target.addPerson)
                m_target.addPerson();
        } else {
            ShowMessageBox(step.kind == UserStep::Message ? step.text : tr("Dodajate novo osebo!"), 0);
        }
        return step.reply;
    } catch (const std::exception &error) {
        return step.call.createErrorReply(QDBusError::Failed, QString::fromUtf8(error.what()));
    } catch (...) {
        return step.call.createErrorReply(QDBusError::Failed, QStringLiteral("Unknown error"));
    }
}

void TIKor_Veldra::finish(const UserStep &step, const QDBusMessage &answer)
{
    if (step.call.isReplyRequired())
        step.bus.send(answer);
}
