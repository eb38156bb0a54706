#include "SysTray.h"

#include "platform/TrayIcon.h"

SysTray::SysTray(TrayIcon& icon) : m_icon(icon) {}

void SysTray::AddTrayIcon(const QIcon& icon, const QString& tip)
{
    m_added = true;
    m_shown = icon;
    // The tip holds 64 characters with its terminator.
    m_tip = tip.left(TipLength - 1);
    // Adding an icon that is already shown changes nothing: there is only ever one.
    if (!m_icon.isVisible())
        m_icon.show(m_shown, m_tip);
}

void SysTray::RemoveTrayIcon()
{
    if (m_added)
        m_icon.hide();
}

void SysTray::update(const QIcon& icon, const QString& tip)
{
    if (!m_added)
        return;
    m_shown = icon;
    m_tip = tip.left(TipLength - 1);
    if (m_icon.isVisible())
        m_icon.show(m_shown, m_tip);
}
