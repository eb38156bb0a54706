#pragma once

#include "platform/TrayIcon.h"

#include <QDBusConnection>
#include <QMenu>
#include <QPointer>

class QSystemTrayIcon;

// The desktop's notification area through QSystemTrayIcon.
class SystemTrayIcon : public TrayIcon
{
    Q_OBJECT
public:
    explicit SystemTrayIcon(QObject* parent = nullptr);
    ~SystemTrayIcon() override;

    bool isSystemTrayAvailable() const override;
    void show(const QIcon& icon, const QString& toolTip) override;
    void hide() override;
    bool isVisible() const override;
    void setMenu(QMenu* menu) override;

private:
    // Follows whether the desktop shows its notification area through a StatusNotifierItem host
    // (KDE, GNOME's AppIndicator extension, Wayland panels) rather than X11 icons.
    void followHost(const QDBusConnection& bus);
    QSystemTrayIcon* icon();

    QSystemTrayIcon* m_icon = nullptr;
    QPointer<QMenu> m_menu;
    bool m_statusNotifierHost = false;
    bool m_hostKnown = false;
};
