#pragma once

#include <QIcon>
#include <QString>

class TrayIcon;
class QWidget;

// The record describing the notification-area icon, kept for the life of the process; the
// removal reuses the values of the last addition.
struct TrayIconData
{
    quint32 cbSize = 0;
    QWidget* hWnd = nullptr;
    quint32 uID = 0;
    quint32 uFlags = 0;
    quint32 uCallbackMessage = 0;
    QIcon hIcon;
    QString szTip;
};

// The notification-area module: one icon, added and removed through the TrayIcon seam.
class SysTray
{
public:
    static constexpr quint32 RecordSize = 88;
    static constexpr quint32 IconId = 1;
    // Callback message, icon and tip are valid.
    static constexpr quint32 Flags = 7;
    static constexpr quint32 CallbackMessage = 0x200;
    static constexpr int TipLength = 64;

    explicit SysTray(TrayIcon* icon);

    void AddTrayIcon(const QIcon& icon, QWidget* window, const QString& tip);
    void RemoveTrayIcon();
    // A new icon and tip for the icon once added; shown at once when it is in the notification
    // area.
    void update(const QIcon& icon, const QString& tip);

    const TrayIconData& data() const { return m_data; }
    TrayIcon* icon() const { return m_icon; }

private:
    TrayIcon* m_icon;
    TrayIconData m_data;
};
