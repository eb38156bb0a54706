#include "SystemTrayIcon.h"

#include "messenger/SessionBus.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QSystemTrayIcon>

namespace {

const QString HostName = QStringLiteral("org.kde.StatusNotifierWatcher");

} // namespace

SystemTrayIcon::SystemTrayIcon(QObject* parent) : TrayIcon(parent)
{
    SessionBus::whenReady(this, [this](const QDBusConnection& bus) { followHost(bus); });
}

void SystemTrayIcon::followHost(const QDBusConnection& bus)
{
    if (!bus.isConnected())
        return;
    auto* watcher =
        new QDBusServiceWatcher(HostName, bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& owner) {
                m_hostKnown = true;
                m_statusNotifierHost = !owner.isEmpty();
            });
    QDBusMessage ask = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
    ask << HostName;
    auto* answer = new QDBusPendingCallWatcher(bus.asyncCall(ask), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this, [this, answer] {
        answer->deleteLater();
        const QDBusPendingReply<bool> owned = *answer;
        // A change heard meanwhile is newer than this answer.
        if (!std::exchange(m_hostKnown, true))
            m_statusNotifierHost = owned.isValid() && owned.value();
    });
}

QSystemTrayIcon* SystemTrayIcon::icon()
{
    // Made the first time it is needed: making it asks the session bus about the desktop's
    // notification area, and most starts never hide the window there.
    if (m_icon)
        return m_icon;
    m_icon = new QSystemTrayIcon(this);
    m_icon->setContextMenu(m_menu);
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                // An X11 icon answers a double-click; a StatusNotifierItem host sends one
                // activation for its click, which would bring nothing back otherwise.
                if (reason == QSystemTrayIcon::DoubleClick ||
                    (reason == QSystemTrayIcon::Trigger && m_statusNotifierHost))
                    emit activated();
            });
    return m_icon;
}

SystemTrayIcon::~SystemTrayIcon() = default;

bool SystemTrayIcon::isSystemTrayAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void SystemTrayIcon::show(const QIcon& icon, const QString& toolTip)
{
    QSystemTrayIcon* shown = this->icon();
    shown->setIcon(icon);
    shown->setToolTip(toolTip);
    shown->show();
}

void SystemTrayIcon::hide()
{
    if (m_icon)
        m_icon->hide();
}

bool SystemTrayIcon::isVisible() const
{
    return m_icon && m_icon->isVisible();
}

void SystemTrayIcon::setMenu(QMenu* menu)
{
    m_menu = menu;
    if (m_icon)
        m_icon->setContextMenu(menu);
}
