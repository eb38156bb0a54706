#include "SysTray.h"

#include "platform/TrayIcon.h"

SysTray::SysTray(TrayIcon* icon) : m_icon(icon) {}

void SysTray::AddTrayIcon(const QIcon& icon, QWidget* window, const QString& tip)
{
    m_data.cbSize = RecordSize;
    m_data.hWnd = window;
    m_data.uID = IconId;
    m_data.uFlags = Flags;
    m_data.uCallbackMessage = CallbackMessage;
    m_data.hIcon = icon;
    // The tip field holds 64 characters with its terminator.
    m_data.szTip = tip.left(TipLength - 1);
    // Adding an icon that is already shown changes nothing: there is only ever one.
    if (m_icon && !m_icon->isVisible())
        m_icon->show(m_data.hIcon, m_data.szTip);
}

void SysTray::RemoveTrayIcon()
{
    if (m_icon && m_data.cbSize != 0)
        m_icon->hide();
}

void SysTray::update(const QIcon& icon, const QString& tip)
{
    if (m_data.cbSize == 0)
        return;
    m_data.hIcon = icon;
    m_data.szTip = tip.left(TipLength - 1);
    if (m_icon && m_icon->isVisible())
        m_icon->show(m_data.hIcon, m_data.szTip);
}
