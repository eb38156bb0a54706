#include "SystemTrayIcon.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QSystemTrayIcon>

SystemTrayIcon::SystemTrayIcon(QObject* parent) : TrayIcon(parent) {}

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
                    (reason == QSystemTrayIcon::Trigger && hasStatusNotifierHost()))
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

bool SystemTrayIcon::hasStatusNotifierHost()
{
    const QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    return bus && bus->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher")).value();
}
