#include "SystemTrayIcon.h"

#include <QCursor>
#include <QSystemTrayIcon>

SystemTrayIcon::SystemTrayIcon(QObject* parent)
    : TrayIcon(parent), m_icon(new QSystemTrayIcon(this))
{
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::DoubleClick)
                    emit doubleClicked();
                else if (reason == QSystemTrayIcon::Context)
                    emit contextRequested(QCursor::pos());
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
