#pragma once

#include <QIcon>
#include <QString>

class TrayIcon;

// The notification-area module: one icon, added and removed through the TrayIcon seam. The icon
// and tip of the last addition are kept for the updates that follow it.
class SysTray
{
public:
    static constexpr int TipLength = 64;

    explicit SysTray(TrayIcon& icon);

    void AddTrayIcon(const QIcon& icon, const QString& tip);
    void RemoveTrayIcon();
    // A new icon and tip for the icon once added; shown at once when it is in the notification
    // area.
    void update(const QIcon& icon, const QString& tip);

private:
    TrayIcon& m_icon;
    bool m_added = false;
    QIcon m_shown;
    QString m_tip;
};
