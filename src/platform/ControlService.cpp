#include "ControlService.h"

#include "core/rotation/Rotation.h"
#include "platform/ControlAdaptor.h"
#include "platform/ControlBus.h"

#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {

const QString BusDaemon = QStringLiteral("org.freedesktop.DBus");
const QString DaemonPath = QStringLiteral("/org/freedesktop/DBus");
// RequestName's answer when another connection holds the name and this one waits for it.
constexpr uint InQueue = 2;

} // namespace

const QString ControlService::RefusedError =
    QStringLiteral("example.dorvane.Dorvane.Error.Refused");

ControlService::ControlService(Rotation& rotation, QObject* parent)
    : QObject(parent), m_rotation(rotation), m_bus(QString())
{
    qDBusRegisterMetaType<DestinationStates>();
    new ControlAdaptor(this);
    connect(&m_rotation, &Rotation::pictureSent, this, &ControlService::PictureChanged);
    for (auto changed : {&Rotation::stateChanged, &Rotation::listingChanged})
        connect(&m_rotation, changed, this, &ControlService::announceChanges);
    connect(&m_rotation, &Rotation::folderChanged, this, &ControlService::announceChanges);
    m_announced = properties();
}

bool ControlService::publish(const QDBusConnection& bus)
{
    if (!bus.isConnected())
        return false;
    m_bus = bus;
    m_announced = properties();
    if (!m_bus.registerObject(ControlBus::ObjectPath, this))
        return false;
    // Heard before the name is asked for, so that the moment it comes is never missed.
    m_bus.connect(BusDaemon, DaemonPath, BusDaemon, QStringLiteral("NameAcquired"), this,
                  SLOT(nameAcquired(QString)));
    // In the queue behind whoever holds the name now, never in its place: the bus hands the name
    // over when that program lets it go. Nothing waits for the answer.
    QDBusMessage ask =
        QDBusMessage::createMethodCall(BusDaemon, DaemonPath, BusDaemon, "RequestName");
    ask << ControlBus::ServiceName << 0u;
    auto* answer = new QDBusPendingCallWatcher(m_bus.asyncCall(ask), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this, [this, answer] {
        answer->deleteLater();
        const QDBusPendingReply<uint> reply = *answer;
        if (reply.isError())
            qWarning("Dorvane: its name on the session bus was refused: %s",
                     qPrintable(reply.error().message()));
        else if (reply.value() == InQueue)
            nameHeldElsewhere();
    });
    return true;
}

void ControlService::nameHeldElsewhere()
{
    m_queued = true;
    QDBusMessage ask = QDBusMessage::createMethodCall(BusDaemon, DaemonPath, BusDaemon,
                                                      "GetConnectionUnixProcessID");
    ask << ControlBus::ServiceName;
    auto* answer = new QDBusPendingCallWatcher(m_bus.asyncCall(ask), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this, [answer] {
        answer->deleteLater();
        const QDBusPendingReply<uint> pid = *answer;
        const QString who =
            pid.isValid() ? QStringLiteral(" (process %1)").arg(pid.value()) : QString();
        qWarning("Dorvane: another program holds Dorvane's name on the session bus%s; Dorvane "
                 "takes it when that program lets it go.",
                 qPrintable(who));
    });
}

void ControlService::nameAcquired(const QString& name)
{
    if (name == ControlBus::ServiceName && std::exchange(m_queued, false))
        qWarning("Dorvane: Dorvane's name on the session bus is now its own.");
}

QString ControlService::currentPicture() const
{
    return m_rotation.currentPicture();
}

QString ControlService::folder() const
{
    return m_rotation.folder();
}

bool ControlService::paused() const
{
    return m_rotation.isPaused();
}

QString ControlService::client() const
{
    return m_rotation.client();
}

DestinationStates ControlService::destinations() const
{
    DestinationStates states;
    for (const Destinations::Status& each : m_rotation.destinations())
        states.insert(each.name, each.failure);
    return states;
}

QString ControlService::lastError() const
{
    return m_rotation.lastError();
}

QString ControlService::state() const
{
    switch (m_rotation.state()) {
    case Rotation::State::Running:
        return QStringLiteral("running");
    case Rotation::State::Paused:
        return QStringLiteral("paused");
    case Rotation::State::Stopped:
        break;
    }
    return QStringLiteral("stopped");
}

QString ControlService::stateReason() const
{
    return m_rotation.stateReason();
}

void ControlService::Next()
{
    m_rotation.next();
}

void ControlService::Previous()
{
    refuseIfFailed(m_rotation.previous().error());
}

void ControlService::Pause()
{
    refuseIfFailed(m_rotation.pause().error());
}

void ControlService::Resume()
{
    refuseIfFailed(m_rotation.resume().error());
}

void ControlService::Show()
{
    emit showRequested();
}

void ControlService::refuseIfFailed(const QString& why)
{
    if (!why.isEmpty() && calledFromDBus())
        sendErrorReply(RefusedError, why);
}

QVariantMap ControlService::properties() const
{
    return {{QStringLiteral("CurrentPicture"), currentPicture()},
            {QStringLiteral("Folder"), folder()},
            {QStringLiteral("Paused"), paused()},
            {QStringLiteral("Client"), client()},
            {QStringLiteral("Destinations"), QVariant::fromValue(destinations())},
            {QStringLiteral("LastError"), lastError()},
            {QStringLiteral("State"), state()},
            {QStringLiteral("StateReason"), stateReason()}};
}

void ControlService::announceChanges()
{
    const QVariantMap now = properties();
    QVariantMap changed;
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        if (m_announced.value(it.key()) != it.value())
            changed.insert(it.key(), it.value());
    }
    m_announced = now;
    if (changed.isEmpty() || !m_bus.isConnected())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(
        ControlBus::ObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"));
    signal << ControlBus::InterfaceName << changed << QStringList();
    m_bus.send(signal);
}
