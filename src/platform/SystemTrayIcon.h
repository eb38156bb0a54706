#pragma once

#include "platform/TrayIcon.h"

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
    // The desktop shows its notification area through StatusNotifierItem hosts (KDE, GNOME's
    // AppIndicator extension, Wayland panels) rather than X11 icons.
    static bool hasStatusNotifierHost();
    QSystemTrayIcon* icon();

    QSystemTrayIcon* m_icon = nullptr;
    QPointer<QMenu> m_menu;
};
