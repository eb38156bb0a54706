#include "SystemTrayIcon.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QSystemTrayIcon>

SystemTrayIcon::SystemTrayIcon(QObject* parent)
    : TrayIcon(parent), m_icon(new QSystemTrayIcon(this))
{
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                // An X11 icon answers a double-click; a StatusNotifierItem host sends one
                // activation for its click, which would bring nothing back otherwise.
                if (reason == QSystemTrayIcon::DoubleClick ||
                    (reason == QSystemTrayIcon::Trigger && hasStatusNotifierHost()))
                    emit activated();
            });
}

SystemTrayIcon::~SystemTrayIcon() = default;

bool SystemTrayIcon::isSystemTrayAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void SystemTrayIcon::show(const QIcon& icon, const QString& toolTip)
{
    m_icon->setIcon(icon);
    m_icon->setToolTip(toolTip);
    m_icon->show();
}

void SystemTrayIcon::hide()
{
    m_icon->hide();
}

bool SystemTrayIcon::isVisible() const
{
    return m_icon->isVisible();
}

void SystemTrayIcon::setMenu(QMenu* menu)
{
    m_icon->setContextMenu(menu);
}

bool SystemTrayIcon::hasStatusNotifierHost()
{
    const QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    return bus && bus->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher")).value();
}
